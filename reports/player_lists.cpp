#include "reports/player_lists.h"

#include "reports/report_file.h"
#include "reports/standing_rows.h"
#include "tournament/players.h"

#include <string>
#include <vector>

namespace {

bool WritePlayerList(const char* file, const char* subtitle, int players, PlayerComparator compare) {
    std::string out;
    AppendReportHeading(out);
    AppendFormat(out, "%s\n\n", subtitle);
    out += " N  NAME                  Rat     Tit Country \n";
    AppendRule(out, '-', 44);
    int number = 0;
    for (int id : SortedPlayers(players, compare)) {
        const Player& player = PlayerRecord(id);
        AppendFormat(out, "%3d %-20.20s  %4d    %3s  %3.3s   %s\n", ++number, FieldText(player.name).c_str(),
                     player.ratingUsed, FieldText(player.title).c_str(), FieldText(player.country).c_str(),
                     " ");
    }
    return WriteReportFile(DataFolderFile(file), out);
}

} // namespace

bool WritePlayersByName(int players) {
    return WritePlayerList("playname.txt", "Players sorted by name", players, ComparePlayersByName);
}

bool WritePlayersByRating(int players) {
    return WritePlayerList("playrat.txt", "Players sorted by Rating", players, ComparePairingNumberOrder);
}
