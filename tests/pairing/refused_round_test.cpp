// Rounds the engines refuse in late rounds of small simulated events: a
// refusal is right only when no pairing (with any player who may receive the
// BYE) passes the round check, which an exhaustive search decides.

#include "pairing/burstein_engine.h"
#include "pairing/dubov_engine.h"
#include "pairing/round_check.h"
#include "pairing/uscf_engine.h"
#include "support/recording_message_box.h"
#include "support/tournament_simulator.h"
#include "tournament/color_history.h"
#include "tournament/message_table.h"

#include <gtest/gtest.h>

namespace {

int RequiredColor(int id) {
    const PairingState& s = StateRecord(id);
    return s.colorFlexible == 0 && (s.dueColor == 0 || s.dueColor == 1) ? s.dueColor : -1;
}

// Pairs left[] depth-first into boards from board on; true once a complete
// round passes the check.
bool PairRest(const std::vector<int>& left, int board, int round) {
    if (left.empty()) return CheckPairedRound(round, PlayerCount).ok;
    const int a = left[0];
    for (std::size_t i = 1; i < left.size(); ++i) {
        const int b = left[i];
        bool barred = RequiredColor(a) != -1 && RequiredColor(a) == RequiredColor(b);
        for (int r = 1; r < round; ++r)
            barred = barred || OpponentTable(a, r) == b || OpponentTable(b, r) == a;
        if (barred) continue;
        const bool bWhite = RequiredColor(a) == 0 || RequiredColor(b) == 1;
        GameTable(board, round) = bWhite ? EncodeGameCode(b, a, NotPlayed) : EncodeGameCode(a, b, NotPlayed);
        std::vector<int> rest(left.begin() + 1, left.end());
        rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(i - 1));
        if (PairRest(rest, board + 1, round)) return true;
    }
    return false;
}

// After the round following CurrentRound was refused: the players' state as
// the engine saw it, then every pairing.
bool RoundCanBePaired() {
    UpdateColorHistory(CurrentRound, PlayerCount);
    SetCurrentRound(CurrentRound + 1);
    std::vector<int> field;
    for (int id = 1; id <= PlayerCount; ++id)
        if (Players[id].available != 0) field.push_back(id);
    const int boards = GameTable(0, CurrentRound) = static_cast<int>(field.size() + 1) / 2;
    if (field.size() % 2 == 0) return PairRest(field, 1, CurrentRound);
    for (std::size_t i = 0; i < field.size(); ++i) {
        std::vector<int> rest = field;
        rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(i));
        GameTable(boards, CurrentRound) = EncodeGameCode(field[i], 0, WhiteWinsForfeit);
        if (MayReceiveBye(field[i], CurrentRound) && PairRest(rest, 1, CurrentRound)) return true;
    }
    return false;
}

SimulationOptions Event(int system, int players, std::uint32_t seed, int rounds) {
    RegisterDubovEngine();
    RegisterUscfEngine();
    RegisterBursteinEngine();
    ClearScoreGroups(0);
    SimulationOptions options;
    options.system = system;
    options.players = players;
    options.seed = seed;
    options.rounds = rounds;
    options.dataFolder = std::string(TM_TEST_OUTPUT_DIR) + "/";
    return options;
}

TEST(RefusedRound, OnlyWhenNoPairingExists) {
    RecordingMessageBox boxes;
    for (int system : {FideDubovSystem, SwissQuonSystem, UscfSystem, FideBursteinSystem})
        for (int players = 9; players <= 14; ++players)
            for (std::uint32_t seed = 1; seed <= 3; ++seed) {
                const SimulationResult result = RunSimulatedTournament(Event(system, players, seed, 9));
                if (result.roundsPaired == 9) continue;
                const std::string where = std::to_string(system) + "/" + std::to_string(players) + "/" +
                                          std::to_string(seed) + ": " + result.problem;
                ASSERT_EQ(result.problem, "round " + std::to_string(result.roundsPaired + 1) + " was not paired");
                EXPECT_FALSE(RoundCanBePaired()) << where;
            }
}

// Two rounds once refused: nine players left, where no round exists with
// the first BYE choice (the next one pairs it, without an alert), and twelve
// players, where the top group failed and the round ended at once (the
// restarts pair it).
TEST(RefusedRound, PairsNowAndPassesTheCheck) {
    struct Case {
        int system, players, seed, rounds;
        std::vector<std::string> alerts;
    };
    const std::vector<std::string> restarts{MessageText(MsgPairingAgainWithUpfloats),
                                            MessageText(MsgPairingAgainMerged)};
    for (const Case& c :
         {Case{FideBursteinSystem, 10, 5, 8, {}}, Case{SwissQuonSystem, 13, 71, 9, restarts}}) {
        RecordingMessageBox boxes;
        const SimulationResult result = RunSimulatedTournament(Event(c.system, c.players, c.seed, c.rounds));
        EXPECT_EQ(result.problem, "") << c.system;
        EXPECT_EQ(result.roundsPaired, c.rounds) << c.system;
        EXPECT_EQ(boxes.alertTexts(), c.alerts) << c.system;
    }
}

} // namespace
