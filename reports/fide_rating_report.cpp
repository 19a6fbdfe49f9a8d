#include "reports/fide_rating_report.h"

#include "reports/rating_report_data.h"
#include "reports/report_file.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"
#include "tournament/standings_order.h"

#include <string>

namespace {

constexpr int CardRuleWidth = 81;

int PositionOf(const std::vector<int>& positions, int id) {
    return id >= 0 && static_cast<std::size_t>(id) < positions.size()
               ? positions[static_cast<std::size_t>(id)]
               : 0;
}

// The rating list's tournament record and one line per rating participant.
std::string FideRatingList(int players, int rounds) {
    std::string out;
    AppendFormat(out, "%8.8s,%-32.32s,0,%3.3s,%8.8s, 0.0,%2d,0000\n",
                 CommaFreeField(Settings.Arbiter).c_str(), CommaFreeField(Settings.Name).c_str(),
                 CommaFreeField(Settings.Place).c_str(), CommaFreeField(Settings.BeginDate).c_str(), rounds);
    for (int id = 1; id <= players; ++id) {
        if (!TakesPartInRating(id, rounds)) continue;
        const Player& p = Players[id];
        const RatedGames games = CountRatedGames(id, rounds);
        AppendFormat(out, "%8d,%-32.32s,%c,%3.3s,%8.8s,%4.1f,%2d,%4lld\n", p.fideId,
                     CommaFreeField(p.name).c_str(), CommaFreeLetter(p.gender),
                     CommaFreeField(p.country).c_str(), CommaFreeField(p.birthDate).c_str(), games.points,
                     games.count, AverageOf(games.fideRatingSum, games.count));
    }
    return out;
}

// One six-character cell of the cross table.
void AppendCrossCell(std::string& out, int player, int round, const std::vector<int>& positions) {
    const int opponent = OpponentTable(player, round);
    const int code = PlayerResultTable(player, round);
    if (opponent == 0) {
        switch (code) {
        case WinUnplayed:
            out += "+BYE  ";
            break;
        case LossUnplayed:
            out += "-BYE  ";
            break;
        case HalfUnplayed:
        case HalfNoGameCode:
            out += "=BYE  ";
            break;
        default:
            out += " --   ";
            break;
        }
        return;
    }
    char result = ' '; // a code no round table should hold keeps the cell's width
    if (code == WinAtBoard || code == WinUnplayed) result = '+';
    if (code == LossAtBoard || code == LossUnplayed) result = '-';
    if (code == DrawAtBoard || code == HalfUnplayed) result = '=';
    const int colour = ColorHistory(player, round);
    const char colourLetter = colour == 1 ? 'W' : (colour == -1 ? 'B' : 'N');
    AppendFormat(out, "%c%c%-3d ", result, colourLetter, PositionOf(positions, opponent));
}

std::string FideCrossTable(int players, int rounds, const std::vector<int>& order,
                           const std::vector<int>& positions) {
    std::string out;
    AppendFormat(out, "Tournament: %s\n", FieldText(Settings.Name).c_str());
    AppendFormat(out, "%s - %s,%s\n", FieldText(Settings.Place).c_str(),
                 FieldText(Settings.BeginDate).c_str(), FieldText(Settings.EndDate).c_str());
    AppendFormat(out, "\nFinal Cross Table after round %d\n\n", rounds);
    for (int i = 1; i <= players; ++i) {
        const int id = order[static_cast<std::size_t>(i - 1)];
        const Player& p = Players[id];
        const char* head = p.available ? "%3d %-20.20s %4d %3.3s %3.3s %4.1f | "
                                       : "%3d %-17.17s(W) %4d %3.3s %3.3s %4.1f | ";
        AppendFormat(out, head, i, FieldText(p.name).c_str(), p.ratingUsed, FieldText(p.title).c_str(),
                     FieldText(p.country).c_str(), PlayerScores[id].score);
        for (int r = 1; r <= rounds; ++r)
            AppendCrossCell(out, id, r, positions);
        out += '\n';
    }
    return out;
}

void AppendCard(std::string& out, int id, int rounds, const std::vector<int>& positions) {
    const Player& p = Players[id];
    AppendFormat(out, "\n\n%s, %s, %s,%s - Arbiter: %s\n", CommaFreeField(Settings.Name).c_str(),
                 CommaFreeField(Settings.Place).c_str(), CommaFreeField(Settings.BeginDate).c_str(),
                 CommaFreeField(Settings.EndDate).c_str(), CommaFreeField(Settings.Arbiter).c_str());
    AppendFormat(out, "No: %d, Name: %-20.20s, country:%3.3s,  code-FIDE: %8d,  Elo=%4d\n",
                 PositionOf(positions, id), CommaFreeField(p.name).c_str(), CommaFreeField(p.country).c_str(),
                 p.fideId, p.fideRating);
    AppendRule(out, '-', CardRuleWidth);
    out += " round  Col  IDOpp   Name Opponent         codeFIDE   Elo   res   total\n";
    AppendRule(out, '-', CardRuleWidth);
    RatedGames games;
    for (int r = 1; r <= rounds; ++r) {
        if (!IsRatedGame(id, r)) continue;
        const int opponentId = OpponentTable(id, r);
        const Player& opponent = PlayerRecord(opponentId);
        const int code = PlayerResultTable(id, r);
        ++games.count;
        games.fideRatingSum += opponent.fideRating;
        float result = 0.0f;
        if (code == WinAtBoard) games.points += 1.0f, result = Settings.ScoreSystem.win;
        if (code == DrawAtBoard) games.points += 0.5f, result = Settings.ScoreSystem.draw;
        const int colour = ColorHistory(id, r);
        const char* colourText = colour == 1 ? "W " : (colour == -1 ? " B" : "  ");
        AppendFormat(out, "  %2d    %2s   %3d     %-20.20s  %8d   %4d  %3.1f  %4.1f\n", r, colourText,
                     PositionOf(positions, opponentId), CommaFreeField(opponent.name).c_str(),
                     opponent.fideId, opponent.fideRating, result, games.points);
    }
    AppendRule(out, '-', CardRuleWidth);
    AppendFormat(out, " Average Rating Opponent: %4lld  \n", AverageOf(games.fideRatingSum, games.count));
}

std::vector<int> CrossTableOrder(int players, int byStandings) {
    std::vector<int> order;
    for (int id = 1; id <= players; ++id)
        order.push_back(id);
    SortPlayerIds(order, byStandings != 0 ? CompareStandings : ComparePairingNumberOrder);
    return order;
}

std::vector<int> PositionsInOrder(const std::vector<int>& order) {
    std::vector<int> positions(PlayerRows, 0);
    for (std::size_t i = 0; i < order.size(); ++i)
        positions[static_cast<std::size_t>(order[i])] = static_cast<int>(i) + 1;
    return positions;
}

} // namespace

bool TakesPartInRating(int player, int rounds) {
    const int rating = PlayerRecord(player).fideRating;
    if (rating < 0) return false;
    const int games = CountRatedGames(player, rounds).count;
    return rating > 0 ? games >= 1 : games >= 3;
}

std::vector<int> CrossTablePositions(int players, int byStandings) {
    return PositionsInOrder(CrossTableOrder(ReportedPlayers(players), byStandings));
}

bool WriteFideRatingList(int players) {
    return WriteReportFile(DataFolderFile("fideelo.txt"),
                           FideRatingList(ReportedPlayers(players), ReportedRounds()));
}

bool WriteFideCrossTable(int players, int byStandings) {
    const int n = ReportedPlayers(players);
    const std::vector<int> order = CrossTableOrder(n, byStandings);
    const std::vector<int> positions = PositionsInOrder(order);
    const bool ok = WriteReportFile(DataFolderFile("fidecros.txt"),
                                    FideCrossTable(n, ReportedRounds(), order, positions));
    return WriteFideCards(n, positions) && ok;
}

bool WriteFideCards(int players, const std::vector<int>& positions) {
    const int n = ReportedPlayers(players);
    const int rounds = ReportedRounds();
    std::string out;
    for (int id = 1; id <= n; ++id)
        if (TakesPartInRating(id, rounds)) AppendCard(out, id, rounds, positions);
    return WriteReportFile(DataFolderFile("fidecard.txt"), out);
}

void FideRatingReportCommand(int players, int byStandings) {
    if (!ClosedRegistration) return;
    bool ok = WriteFideRatingList(players);
    ok = WriteFideCrossTable(players, byStandings) && ok;
    ShowAlert(ok ? "OK files FIDEELO.TXT, FIDECARD.TXT, FIDECROS.TXT"
                 : "I cannot save all of the files FIDEELO.TXT, FIDECARD.TXT, FIDECROS.TXT",
              MessageText(MsgClose));
}
