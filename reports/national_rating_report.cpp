#include "reports/national_rating_report.h"

#include "reports/rating_report_data.h"
#include "reports/report_file.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"
#include "tournament/standings_order.h"

#include <vector>

namespace {

// "%d%03d%d": played flag, opponent id, result digit. An opponent cell that
// names no player row prints as 000, so every code keeps its five digits.
void AppendRoundCode(std::string& out, int player, int round) {
    int played = 0, digit = 0;
    SplitResultForReport(PlayerResultTable(player, round), played, digit);
    int opponent = OpponentTable(player, round);
    if (!IsPlayerRow(opponent)) opponent = 0;
    AppendFormat(out, "%d%03d%d", played, opponent, digit);
}

// The variations as written: those of the leading score group (the first
// player by the standings and everyone with exactly his score) raised to 0
// when negative. A copy, indexed by id.
std::vector<float> ReportedVariations(int players) {
    std::vector<float> variation(static_cast<std::size_t>(players) + 1, 0.0f);
    std::vector<int> order;
    for (int id = 1; id <= players; ++id) {
        variation[id] = PlayerScores[id].ratingVariation;
        order.push_back(id);
    }
    SortPlayerIds(order, CompareStandings);
    const float topScore = PlayerScores[order.front()].score;
    for (int id : order) {
        if (PlayerScores[id].score != topScore) break;
        if (variation[id] < 0.0f) variation[id] = 0.0f;
    }
    return variation;
}

void AppendPlayerLine(std::string& out, int id, float variation, int rounds) {
    const Player& p = Players[id];
    AppendFormat(out, "%7d,%8d,", p.nationalId, p.fideId);
    AppendFormat(out, "%-25.25s,", CommaFreeField(p.name).c_str());
    AppendFormat(out, "%-3.3s,", CommaFreeField(p.title).c_str());
    AppendFormat(out, "%-3.3s,", CommaFreeField(p.country).c_str());
    AppendFormat(out, "%-8.8s,", CommaFreeField(p.birthDate).c_str());
    AppendFormat(out, "%4d,%2d,%4d,", p.nationalRating, p.k, p.fideRating);
    AppendFormat(out, "%4d,", TruncatedInt(variation));
    const RatedGames games = CountRatedGames(id, rounds);
    AppendFormat(out, "%2d,", games.count);
    // A rating office takes the average from a K-factor player only over
    // more than two rated opponents.
    const bool average = p.k == 0 || (p.k > 0 && games.count > 2);
    AppendFormat(out, "%4lld,", average ? AverageOf(games.ratingUsedSum, games.count) : 0LL);
    AppendFormat(out, "%4.1f,", games.points);
    out += "  ,";
    for (int r = 1; r <= rounds; ++r)
        AppendRoundCode(out, id, r);
    out += '\n';
}

std::string NationalRatingReport(int players) {
    const int rounds = ReportedRounds();
    const std::vector<float> variation = ReportedVariations(players);
    std::string out;
    AppendFormat(out, "%-30.30s\n", CommaFreeField(Settings.Name).c_str());
    AppendFormat(out, "%-30.30s\n", CommaFreeField(Settings.Place).c_str());
    AppendFormat(out, "%s,%s\n", CommaFreeField(Settings.BeginDate).c_str(),
                 CommaFreeField(Settings.EndDate).c_str());
    AppendFormat(out, "%-25.25s\n", CommaFreeField(Settings.Arbiter).c_str());
    AppendFormat(out, "%d\n", rounds);
    AppendFormat(out, "%d\n", players);
    for (int id = 1; id <= players; ++id)
        AppendPlayerLine(out, id, variation[id], rounds);
    return out;
}

} // namespace

std::string NationalRatingReportPath() {
    return DataFolderFile((FieldText(Settings.BaseName) + ".elo").c_str());
}

void SplitResultForReport(int code, int& played, int& digit) {
    switch (code) {
    case LossAtBoard:
        played = 1, digit = 2;
        break;
    case WinAtBoard:
        played = 1, digit = 1;
        break;
    case DrawAtBoard:
        played = 1, digit = 3;
        break;
    case WinUnplayed:
        played = 0, digit = 1;
        break;
    case LossUnplayed:
        played = 0, digit = 2;
        break;
    case HalfUnplayed:
    case HalfNoGameCode:
        played = 0, digit = 3;
        break;
    default:
        played = 0, digit = 2;
        break;
    }
}

bool WriteNationalRatingReport() {
    const int players = ReportedPlayers(PlayerCount);
    if (players < 1) return false;
    if (!WriteReportFile(NationalRatingReportPath(), NationalRatingReport(players))) {
        ShowAlert("I cannot save the *.ELO file", MessageText(MsgClose));
        return false;
    }
    return true;
}

void NationalRatingReportCommand() {
    if (WriteNationalRatingReport()) ShowAlert("OK file report *.ELO", MessageText(MsgClose));
}
