#include "reports/tournament_stats.h"

#include "reports/report_file.h"
#include "reports/standing_rows.h"
#include "tournament/capacities.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

const char* PairingSystemText(int system) {
    switch (system) {
    case FideDubovSystem:
        return "swiss FIDE (Dubov)";
    case SingleRoundRobinSystem:
        return "Round Robin S";
    case SwissQuonSystem:
        return "swiss quon";
    case UscfSystem:
        return "swiss USCF";
    case DoubleRoundRobinSystem:
        return "Round Robin D";
    case FideBursteinSystem:
        return "swiss FIDE (Burstein)";
    default:
        return "";
    }
}

void AppendSettings(std::string& out) {
    AppendFormat(out, " Tournament Name: %s\n", FieldText(Settings.Name).c_str());
    AppendFormat(out, "           Place: %s\n", FieldText(Settings.Place).c_str());
    AppendFormat(out, "            Date: %s,%s\n", FieldText(Settings.BeginDate).c_str(),
                 FieldText(Settings.EndDate).c_str());
    AppendFormat(out, "         Arbiter: %s\n", FieldText(Settings.Arbiter).c_str());
    AppendFormat(out, "     Play System: %s\n", PairingSystemText(Settings.PairingSystem));
    AppendFormat(out, "Number of rounds: %d\n", Settings.PlannedRounds);
    AppendFormat(out, "      Score game: 0-%g-%g\n", static_cast<double>(Settings.ScoreSystem.draw),
                 static_cast<double>(Settings.ScoreSystem.win));
    out += "       Tie break: ";
    AppendTieBreakTitles(out, TieBreakCodes());
    out += '\n';
}

void AppendPlayerNumber(std::string& out) {
    const int count = ReportPlayerCount(PlayerCount);
    AppendFormat(out, "   Player Number: %d\n", PlayerCount);
    // An unrated player has no rating to average: counted as 0 he would
    // pull the field's average down.
    long long sum = 0;
    int rated = 0;
    for (int id = 1; id <= count; ++id) {
        if (Players[id].ratingUsed <= 0) continue;
        sum += Players[id].ratingUsed;
        ++rated;
    }
    out += "  Average Rating: ";
    if (rated > 0) AppendFormat(out, "%g", static_cast<double>(static_cast<float>(sum) / static_cast<float>(rated)));
    out += '\n';
}

struct CountryTotal {
    std::string country;
    float total;
};

// A total in tenths as the list shows it; a value that is no number
// ranks last, so the order stays strict whatever the scores hold.
long long TotalTenths(float total) {
    if (!std::isfinite(total)) return -1;
    return std::llround(static_cast<double>(total) * 10.0);
}

void AppendCountryGroups(std::string& out, int players, std::vector<CountryTotal>& countries) {
    const std::vector<int> ids = SortedPlayers(players, ComparePlayersByCountry);
    float total = 0.0f;
    int size = 0;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const Player& player = PlayerRecord(ids[i]);
        const std::string country = FieldText(player.country);
        if (size == 0) {
            out += "score  ID NAME                 | Rat  Tit Nat  Date\n";
            AppendRule(out, '-', 54);
        }
        const float score = ScoreRecord(ids[i]).score;
        AppendFormat(out, " %4.1f %3d %s | %4d %3s %3s  %s\n", score, ids[i], StandingName(ids[i]).c_str(),
                     player.ratingUsed, FieldText(player.title).c_str(), country.c_str(),
                     FieldText(player.birthDate).c_str());
        total += score;
        ++size;
        const bool last = i + 1 == ids.size() || FieldText(PlayerRecord(ids[i + 1]).country) != country;
        if (!last) continue;
        AppendFormat(out, "-------------------------------\n %4.1f %3d  <= %s\n\n", total, size,
                     country.c_str());
        countries.push_back(CountryTotal{country, total});
        total = 0.0f;
        size = 0;
    }
}

void AppendCountryRanking(std::string& out, std::vector<CountryTotal>& countries) {
    std::stable_sort(countries.begin(), countries.end(), [](const CountryTotal& a, const CountryTotal& b) {
        const long long ta = TotalTenths(a.total);
        const long long tb = TotalTenths(b.total);
        if (ta != tb) return ta > tb;
        return a.country > b.country;
    });
    out += "\n\n--------------------\n Pos  Score  Country\n--------------------\n";
    int position = 0;
    for (const CountryTotal& c : countries)
        AppendFormat(out, " %3d  %4.1f   %s\n", ++position, c.total, c.country.c_str());
}

} // namespace

bool WriteTournamentStatistics(int players) {
    std::string out;
    AppendSettings(out);
    AppendPlayerNumber(out);
    AppendFormat(out, "\nPosition at round %d sorted by country\n\n", CurrentRound);
    std::vector<CountryTotal> countries;
    AppendCountryGroups(out, players, countries);
    AppendCountryRanking(out, countries);
    return WriteReportFile(DataFolderFile("tourstat.txt"), out);
}
