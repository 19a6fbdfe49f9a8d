#include "pairing/round_check.h"

#include "tournament/game_code.h"
#include "tournament/players.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <algorithm>
#include <vector>

namespace {

RoundCheck Fail(std::string problem) {
    return RoundCheck{false, std::move(problem)};
}

std::string Board(int board) {
    return "board " + std::to_string(board) + ": ";
}

// The one colour a player may get: 1 white, 0 black, -1 either.
int RequiredColor(int id) {
    const PairingState& state = StateRecord(id);
    if (state.colorFlexible != 0) return -1;
    return state.dueColor == 1 || state.dueColor == 0 ? state.dueColor : -1;
}

} // namespace

bool MayReceiveBye(int id, int round) {
    if (round <= 1) return true;
    const int eligibility = StateRecord(id).byeEligibility;
    const int system = Settings.PairingSystem;
    if (system == FideDubovSystem || system == SwissQuonSystem) return eligibility != 0;
    return eligibility == 1;
}

RoundCheck CheckPairedRound(int round, int players) {
    RoundTableSet& set = SwissInstance;
    if (round < 1 || round > set.lastRound()) return Fail("round " + std::to_string(round) + " is outside the tables");
    const int last = std::clamp(players, 0, MaxPlayers);
    int available = 0;
    for (int id = 1; id <= last; ++id)
        if (Players[id].available != 0) ++available;

    const int boards = GameTable(set, 0, round);
    const int expected = (available + 1) / 2;
    if (boards != expected)
        return Fail(std::to_string(boards) + " boards for " + std::to_string(available) + " players, not " +
                    std::to_string(expected));

    std::vector<int> boardOf(PlayerRows, 0);
    int byes = 0;
    for (int board = 1; board <= boards; ++board) {
        int white, black, digit;
        DecodeGameCode(GameTable(set, board, round), white, black, digit);
        if (white == 0 && black == 0) return Fail(Board(board) + "no player");
        for (int id : {white, black}) {
            if (id == 0) continue;
            if (id > last || Players[id].available == 0)
                return Fail(Board(board) + "player " + std::to_string(id) + " is not an available player");
            if (boardOf[id] != 0)
                return Fail(Board(board) + "player " + std::to_string(id) + " is on board " +
                            std::to_string(boardOf[id]) + " too");
            boardOf[id] = board;
        }
        if (white == 0 || black == 0) {
            const int receiver = white == 0 ? black : white;
            ++byes;
            if (byes > 1) return Fail(Board(board) + "a second BYE");
            if (available % 2 == 0) return Fail(Board(board) + "a BYE with an even number of players");
            if (digit != (white == 0 ? BlackWinsForfeit : WhiteWinsForfeit))
                return Fail(Board(board) + "the BYE is not scored as a win without play");
            if (!MayReceiveBye(receiver, round))
                return Fail(Board(board) + "player " + std::to_string(receiver) + " may not receive the BYE");
            continue;
        }
        if (digit != NotPlayed) return Fail(Board(board) + "the game already has a result");
        for (int r = 1; r < round; ++r)
            if (OpponentTable(set, white, r) == black || OpponentTable(set, black, r) == white)
                return Fail(Board(board) + "players " + std::to_string(white) + " and " + std::to_string(black) +
                            " met in round " + std::to_string(r));
        if (round > 1) {
            if (RequiredColor(white) == 0)
                return Fail(Board(board) + "player " + std::to_string(white) + " must have black");
            if (RequiredColor(black) == 1)
                return Fail(Board(board) + "player " + std::to_string(black) + " must have white");
        }
    }
    for (int id = 1; id <= last; ++id)
        if (Players[id].available != 0 && boardOf[id] == 0)
            return Fail("player " + std::to_string(id) + " has no board");
    return RoundCheck{};
}
