#include "tournament/pairing_predicates.h"

#include "tournament/game_code.h"
#include "tournament/key_order.h"
#include "tournament/players.h"
#include "tournament/round_tables.h"
#include "tournament/run_options.h"
#include "tournament/settings.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// Ids outside the player table (EmptySlot among them) read as empty records.
float ScoreOf(int id) {
    return ScoreRecord(id).score;
}

bool MayNotMeetEmptySlot(int id) {
    const PairingState& state = StateRecord(id);
    return state.mayFloatUp == 1 || state.triedMark == 1;
}

// True when row's opponent cells of rounds 1..round-1 hold id.
bool HasMetBefore(int row, int id, int round) {
    for (int r = 1; r < round && r <= ActiveTables().lastRound(); ++r)
        if (OpponentTable(row, r) == id) return true;
    return false;
}

bool ColorsFit(int a, int b) {
    const PairingState& sa = StateRecord(a);
    const PairingState& sb = StateRecord(b);
    return sa.dueColor != sb.dueColor || sa.colorFlexible == 1 || sb.colorFlexible == 1;
}

} // namespace

int CanPlayersMeet(int a, int b, int round) {
    if (a < EmptySlot || b < EmptySlot || a > MaxPlayers || b > MaxPlayers) return 0;
    const bool burstein = Settings.PairingSystem == FideBursteinSystem;
    if (burstein && a == EmptySlot && MayNotMeetEmptySlot(b)) return 0;
    if (burstein && b == EmptySlot && MayNotMeetEmptySlot(a)) return 0;
    if (a == EmptySlot || b == EmptySlot) return 1;
    if (a == b) return 0;
    if (a == 0 && StateRecord(b).byeEligibility == 1) return 1;
    if (b == 0 && StateRecord(a).byeEligibility == 1) return 1;
    // The second player's row is the one searched: with the BYE first, a
    // round without an opponent (0) in that row counts as a meeting.
    if (HasMetBefore(b, a, round)) return 0;
    if (StrictColorMode == 1) return StateRecord(a).dueColor != StateRecord(b).dueColor ? 1 : 0;
    return ColorsFit(a, b) ? 1 : 0;
}

int HasPossibleOpponent(int player, const int* candidates, int count, int round) {
    for (int k = 1; k <= count; ++k) {
        int candidate = candidates[k];
        if (HasMetBefore(player, candidate, round)) continue;
        if (ColorsFit(player, candidate)) return 1;
    }
    return 0;
}

namespace {

struct BoardKeys {
    bool bye;
    float top;
    float sum;
    int topSeed;
};

BoardKeys KeysOf(int board, int round) {
    int white, black, digit;
    DecodeGameCode(GameTable(board, round), white, black, digit);
    BoardKeys keys{};
    keys.bye = white == 0 || black == 0;
    keys.top = std::max(ScoreOf(white), ScoreOf(black));
    keys.sum = ScoreOf(white) + ScoreOf(black);
    keys.topSeed = std::max(PlayerRecord(white).seedingKey, PlayerRecord(black).seedingKey);
    return keys;
}

} // namespace

int CompareBoards(int i, int j, int round) {
    const BoardKeys bi = KeysOf(i, round);
    const BoardKeys bj = KeysOf(j, round);
    if (bi.bye || bj.bye) return 0;
    if (bj.top > bi.top) return -1;
    if (bj.top < bi.top) return 1;
    if (bj.sum > bi.sum) return -1;
    if (bj.sum < bi.sum) return 1;
    return bj.topSeed > bi.topSeed ? -1 : 1;
}

void SortRoundBoards(int round) {
    const int boards = RoundBoardCount(round);
    for (int m = boards; m >= 1; --m)
        for (int i = 2; i <= m; ++i)
            if (CompareBoards(i - 1, i, round) == -1) std::swap(GameTable(i - 1, round), GameTable(i, round));
}

namespace {

// True when candidate x belongs strictly before candidate y.
bool CandidateBefore(int mode, int x, int y) {
    const PairingState& sx = StateRecord(x);
    const PairingState& sy = StateRecord(y);
    const Player& px = PlayerRecord(x);
    const Player& py = PlayerRecord(y);
    int keys[5];
    int n = 0;
    keys[n++] = Descending(sx.mayFloatUp, sy.mayFloatUp);
    if (mode == CandidatesWhiteDueFirst) keys[n++] = Descending(sx.dueColor, sy.dueColor);
    if (mode == CandidatesBlackDueFirst) keys[n++] = Ascending(sx.dueColor, sy.dueColor);
    if (mode == CandidatesWhiteDueFirst || mode == CandidatesBlackDueFirst)
        keys[n++] = Descending(px.ratingUsed, py.ratingUsed);
    else
        keys[n++] = Ascending(px.ratingUsed, py.ratingUsed);
    keys[n++] = Descending(px.pairingKey, py.pairingKey);
    keys[n++] = Ascending(std::strcmp(px.name, py.name), 0);
    for (int k = 0; k < n; ++k)
        if (keys[k] != 0) return keys[k] < 0;
    return false;
}

} // namespace

void SortCandidates(int mode, int count, int* ids) {
    for (int i = 1; i < count; ++i)
        for (int j = i + 1; j <= count; ++j)
            if (CandidateBefore(mode, ids[j], ids[i])) std::swap(ids[i], ids[j]);
}
