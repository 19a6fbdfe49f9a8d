#include "pairing/color_improvement.h"

#include "pairing/round_check.h"
#include "pairing/round_dispatcher.h"
#include "reports/pairing_lists.h"
#include "tournament/files/host_files.h"
#include "tournament/game_code.h"
#include "tournament/pairing_predicates.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

ColorImprovementHooks ColorImprovementWindow;

namespace {

constexpr int MayNotMeet = 100000;

// The colour log of the run in progress; null when it could not be opened
// (its lines are then lost and the run goes on).
std::FILE* ColorLog = nullptr;

void LogLine(const std::string& text) {
    if (ColorLog == nullptr) return;
    // Text files end their lines with CR LF.
    for (char ch : text) {
        if (ch == '\n') std::fputc('\r', ColorLog);
        std::fputc(ch, ColorLog);
    }
}

int Rating(int id) {
    return PlayerRecord(id).ratingUsed;
}

float Score(int id) {
    return ScoreRecord(id).score;
}

// Whether x and y may form a board of the CurrentRound. The BYE goes only
// to a player who may receive it by the system's rule: its rating of 0
// would otherwise make every exchange with the BYE board look free.
bool MayMeetNow(int x, int y) {
    if (x == 0 && y == 0) return false;
    if (x == 0) return MayReceiveBye(y, CurrentRound);
    if (y == 0) return MayReceiveBye(x, CurrentRound);
    return CanPlayersMeet(x, y, CurrentRound) != 0;
}

int Due(int id) {
    if (id == 0) return 0; // the BYE has no colour due
    const int due = StateRecord(id).dueColor;
    return due == 1 ? 1 : due == 0 ? -1 : 0;
}

// Writes the board (first, second). A board that holds the BYE keeps the
// BYE's side and result digit of the board that held it before.
void WriteBoard(int board, int first, int second, int byeDigit, bool byeFirst) {
    std::int32_t& code = GameTable(board, CurrentRound);
    if (first == 0 || second == 0) {
        const int player = first == 0 ? second : first;
        code = byeFirst ? EncodeGameCode(0, player, byeDigit) : EncodeGameCode(player, 0, byeDigit);
    } else {
        code = EncodeGameCode(first, second, NotPlayed);
    }
}

struct Board {
    int first = 0, second = 0, digit = NotPlayed;
};

Board ReadBoard(int board) {
    Board b;
    DecodeGameCode(GameTable(board, CurrentRound), b.first, b.second, b.digit);
    return b;
}

} // namespace

int PairColorStatus(int x, int y) {
    const int s = Due(x) + Due(y);
    if (s > 0) return 1;
    if (s < 0) return -1;
    return Due(x) != 0 || Due(y) != 0 ? 10 : 0;
}

int TranspositionDifference(int a, int b, int c, int d) {
    if (!MayMeetNow(c, b) || !MayMeetNow(a, d)) return MayNotMeet;
    if (Rating(a) == 0 || Rating(b) == 0 || Rating(c) == 0 || Rating(d) == 0) return 0;
    return std::min(std::abs(Rating(a) - Rating(c)), std::abs(Rating(b) - Rating(d)));
}

int InterchangeDifference(int a, int b, int c, int d, int variant) {
    if (!MayMeetNow(a, c) || !MayMeetNow(b, d)) return MayNotMeet;
    const int x = variant == 1 ? a : c;
    const int y = variant == 1 ? d : b;
    if (Rating(x) == 0 || Rating(y) == 0) return 0;
    return std::abs(Rating(x) - Rating(y));
}

int ApplyExchange(int i, int j, int a, int b, int c, int d, int kind) {
    const Board oldI = ReadBoard(i), oldJ = ReadBoard(j);
    const bool byeOnI = oldI.first == 0 || oldI.second == 0;
    const Board& byeBoard = byeOnI ? oldI : oldJ;
    const int byeDigit = byeBoard.digit;
    const bool byeFirst = byeBoard.first == 0;

    int i1, i2, j1, j2;
    const char* name;
    if (kind == 1) {
        if (Score(b) != Score(c) && Score(a) != Score(d)) return 0;
        i1 = a, i2 = c, j1 = b, j2 = d;
        name = "Interchange";
    } else {
        if (Score(b) != Score(d) && Score(a) != Score(c)) return 0;
        i1 = a, i2 = d, j1 = c, j2 = b;
        name = "Transposition";
    }
    WriteBoard(i, i1, i2, byeDigit, byeFirst);
    WriteBoard(j, j1, j2, byeDigit, byeFirst);
    LogLine(std::string("Done ") + name + " between pairs " + std::to_string(i) + ", " + std::to_string(j) + "\n");
    return 1;
}

std::string PairingBoardLine(int board) {
    const Board b = ReadBoard(board);
    char line[160];
    std::snprintf(line, sizeof line, "%3d: %3d %-20.20s (%4.1f) - %3d %-20.20s (%4.1f) = [ ... ]", board, b.first,
                  PlayerRecord(b.first).name, static_cast<double>(Score(b.first)), b.second,
                  PlayerRecord(b.second).name, static_cast<double>(Score(b.second)));
    return line;
}

namespace {

struct Rung {
    int number = 0; // 0: next j
    int kind = 0;   // 1 interchange, 0 transposition
};

// The ladder for one pair of boards, given the rules' flags and the
// differences.
Rung ClimbLadder(int r80, int r200, int dTrans, int dInter1, int dInter0) {
    const bool transposition = (r80 == 1 && dTrans <= 80) || (r200 == 1 && dTrans <= 200);
    bool interchange = true;
    int d = 0;
    if ((r200 == 1 && dInter1 <= 200) || (r80 == 1 && dInter1 <= 80))
        d = dInter1;
    else if ((r200 == 1 && dInter0 <= 200) || (r80 == 1 && dInter0 <= 80))
        d = dInter0;
    else
        interchange = false;

    if (!transposition && !interchange) return {};
    if (transposition && dTrans <= 80) return {1, 0};
    if (transposition && !interchange && r200 == 1) return {2, 0};
    if (transposition && interchange && r200 == 1 && dTrans < d) return {3, 0};
    if (transposition && interchange && r200 == 1 && dTrans > d) return {4, 1};
    if (!transposition && interchange) return {6, 1};
    return {};
}

} // namespace

void AutoColorImprovement(void* object, int /*value*/, void* userData) {
    const int round = CurrentRound;
    const std::string path = std::string(Settings.DataFolder) + "colorlog" + std::to_string(round) + ".txt";
    ColorLog = OpenHostFile(path, "wb");

    const int boards = RoundBoardCount(round);
    for (int i = 1; i < boards; ++i) {
        const Board first = ReadBoard(i);
        const int a = first.first, b = first.second;
        const int statusI = PairColorStatus(a, b);
        if (statusI == 10) continue;
        for (int j = i + 1; j <= boards; ++j) {
            const Board second = ReadBoard(j);
            const int c = second.first, d = second.second;
            const int statusJ = PairColorStatus(c, d);
            if (statusJ == 10 || statusJ == statusI) continue;

            const int diffA = StateRecord(a).colorDifference, diffB = StateRecord(b).colorDifference;
            const int diffC = StateRecord(c).colorDifference, diffD = StateRecord(d).colorDifference;
            const int r80 = diffA + diffB == 0 && diffC + diffD == 0 ? 1 : 0;
            const int r200 = diffA * diffB > 0 || diffC * diffD > 0 ? 1 : 0;
            const int dTrans = TranspositionDifference(a, b, c, d);
            const int dInter1 = InterchangeDifference(a, b, c, d, 1);
            const int dInter0 = InterchangeDifference(a, b, c, d, 0);
            const Rung rung = ClimbLadder(r80, r200, dTrans, dInter1, dInter0);
            if (rung.number == 0) continue;

            if (ApplyExchange(i, j, a, b, c, d, rung.kind) == 1)
                LogLine("[" + std::to_string(rung.number) + "] R80 = " + std::to_string(r80) +
                        ", R200 = " + std::to_string(r200) + ": D_trans = " + std::to_string(dTrans) +
                        ", D_inter_1 = " + std::to_string(dInter1) + ", D_inter_0 = " + std::to_string(dInter0) +
                        "\n\n");
            break; // at most one exchange attempt for board i
        }
    }
    if (ColorLog != nullptr) std::fclose(ColorLog);
    ColorLog = nullptr;

    if (ColorImprovementWindow.clearBoardList != nullptr) ColorImprovementWindow.clearBoardList();
    if (ColorImprovementWindow.addBoardLine != nullptr)
        for (int k = 1; k <= boards; ++k)
            ColorImprovementWindow.addBoardLine(PairingBoardLine(k).c_str());
    WritePairingLists(round);
    if (userData != nullptr && ColorImprovementWindow.closeDialog != nullptr) ColorImprovementWindow.closeDialog(object);
}

void RegisterColorImprovementPass() {
    RegisterColorImprovement([] { AutoColorImprovement(nullptr, 0, nullptr); });
}
