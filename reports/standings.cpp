#include "reports/standings.h"

#include "reports/html_frame.h"
#include "reports/report_file.h"
#include "reports/standing_rows.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <cstddef>
#include <vector>

namespace {

// Whether the value of codes[k - 1] (or the score) already tells the two
// players apart; a missing neighbour is apart from everybody.
bool Apart(int id, int neighbour, int previousCode) {
    if (neighbour == 0) return true;
    if (ScoreRecord(id).score != ScoreRecord(neighbour).score) return true;
    return TieBreakComparators[previousCode](id, neighbour) != 0;
}

// The first value always, then each further value while the player is still
// tied with the one above or the one below on every value before it.
void AppendNeededTieBreaks(std::string& out, int id, int above, int below, const std::vector<int>& codes) {
    if (codes.empty()) return;
    AppendTieBreakText(out, id, codes[0]);
    bool apartAbove = false;
    bool apartBelow = false;
    for (std::size_t k = 1; k < codes.size(); ++k) {
        apartBelow = apartBelow || Apart(id, below, codes[k - 1]);
        apartAbove = apartAbove || Apart(id, above, codes[k - 1]);
        if (apartAbove && apartBelow) return;
        AppendTieBreakText(out, id, codes[k]);
    }
}

std::string TextStandings(const std::vector<int>& order, const std::vector<int>& codes) {
    std::string out;
    AppendReportHeading(out);
    AppendFormat(out, "\nPosition at round %d\n\n", CurrentRound);
    AppendRankingHeader(out, "Pos score ID  NAME                    | Rat  Prat Nat | ", codes, 59, 7);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int p = order[i];
        const Player& player = PlayerRecord(p);
        AppendFormat(out, "%3d %4.1f %3d %3.3s %s | %4d %4d %3s | ", static_cast<int>(i) + 1,
                     ScoreRecord(p).score, p, FieldText(player.title).c_str(), StandingName(p).c_str(),
                     player.ratingUsed, ShownPerformance(p), FieldText(player.country).c_str());
        const int above = i > 0 ? order[i - 1] : 0;
        const int below = i + 1 < order.size() ? order[i + 1] : 0;
        AppendNeededTieBreaks(out, p, above, below, codes);
        out += '\n';
    }
    return out;
}

std::string HtmlStandings(const std::vector<int>& order, const std::vector<int>& codes) {
    std::string out;
    AppendSummaryPageStart(out);
    AppendFormat(out, "<h3> Position at round %d </h3>\n", CurrentRound);
    out += "<table cellpadding=\"2\" cellspacing=\"3\" border=\"0\"> \n"
           "<tbody>\n"
           "<tr> <th>Pos</th> <th>Score</th> <th>ID</th> <th width=\"180\">NAME</th> <th>Rat</th>  "
           "<th>PRat</th> "
           "<th>Nat</th> ";
    for (int code : codes)
        AppendFormat(out, "<th> %s </th>", TieBreakTitle(code));
    out += "\n</tr> \n";
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int p = order[i];
        const Player& player = PlayerRecord(p);
        // The name cell is closed, which keeps the row valid.
        AppendFormat(
            out,
            "<tr> <td>%3d</td> <td>%4.1f</td> <td>%2d</td> <td> <a href=\"playercard.html#%d\"> %3s %s </a> "
            "</td> <td>%4d</td> <td bgcolor=\"#EEEEEE\">%4d</td> <td>%3s</td>",
            static_cast<int>(i) + 1, ScoreRecord(p).score, p, p, HtmlEscape(FieldText(player.title)).c_str(),
            HtmlEscape(StandingName(p)).c_str(), player.ratingUsed, ShownPerformance(p),
            HtmlEscape(FieldText(player.country)).c_str());
        for (int code : codes)
            AppendTieBreakHtml(out, p, code);
        out += "\n</tr> \n";
    }
    out += "</tbody>\n</table>\n";
    AppendSummaryPageEnd(out);
    return out;
}

} // namespace

bool WriteStandings(int players) {
    const std::vector<int> order = SortedPlayers(players, CompareStandings);
    const std::vector<int> codes = TieBreakCodes();
    bool ok = WriteReportFile(DataFolderFile("tblscore.txt"), TextStandings(order, codes));
    ok = WriteReportFile(DataFolderFile("tblscore.html"), HtmlStandings(order, codes)) && ok;
    return ok;
}

bool WriteStandingsByCategory(int players) {
    const std::vector<int> order = SortedPlayers(players, CompareStandingsByCategory);
    const std::vector<int> codes = TieBreakCodes();
    std::string out;
    AppendReportHeading(out);
    AppendFormat(out, "\nPosition at round %d sorted by category\n\n", CurrentRound);
    AppendRankingHeader(out, "Pos score ID NAME                 | Rat  Tit Nat | ", codes, 60, 7);
    int position = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int p = order[i];
        const Player& player = PlayerRecord(p);
        // A block is headed by its first player's title; titles of one rank
        // share the block.
        if (i == 0 || player.categoryRank != PlayerRecord(order[i - 1]).categoryRank) {
            AppendFormat(out, "\nRanking for category: %s\n", FieldText(player.title).c_str());
            position = 0;
        }
        AppendRankingRow(out, ++position, p);
        for (int code : codes)
            AppendTieBreakText(out, p, code);
        out += '\n';
    }
    return WriteReportFile(DataFolderFile("rankcat.txt"), out);
}
