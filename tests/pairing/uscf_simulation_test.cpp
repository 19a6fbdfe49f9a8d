// Whole USCF tournaments paired by the engine through the dispatcher, every
// round checked, and the round driver's failures.

#include "pairing/round_dispatcher.h"
#include "pairing/score_groups.h"
#include "pairing/uscf_engine.h"
#include "support/recording_message_box.h"
#include "support/tournament_simulator.h"
#include "support/tournament_state.h"
#include "tournament/message_table.h"
#include "tournament/run_options.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

class UscfSimulation : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        ResetTournamentState();
        ClearScoreGroups(0);
        RegisterUscfEngine();
        options.system = UscfSystem;
        options.rounds = 9;
        options.dataFolder = std::string(TM_TEST_OUTPUT_DIR) + "/";
    }
    void TearDown() override {
        RegisterPairingEngine(UscfSystem, nullptr);
        ClearScoreGroups(0);
        ResetTournamentState();
    }
    SimulationOptions options;
};

TEST_P(UscfSimulation, NineRoundsPassTheCheck) {
    RecordingMessageBox boxes;
    for (std::uint32_t seed : {1u, 7u}) {
        options.players = GetParam();
        options.seed = seed;
        const SimulationResult result = RunSimulatedTournament(options);
        EXPECT_EQ(result.problem, "") << GetParam() << " players, seed " << seed;
        EXPECT_EQ(result.roundsPaired, 9) << GetParam() << " players, seed " << seed;
        EXPECT_TRUE(boxes.alerts.empty()) << boxes.alerts.size() << " alerts, first: " << (boxes.alerts.empty() ? "" : boxes.alerts[0].text);
    }
}

// With the trace on, every step writes its lines; the pairing is the same.
TEST_F(UscfSimulation, TracedTournamentPairsAsUntraced) {
    RecordingMessageBox boxes;
    options.players = 41;
    options.rounds = 7;
    const SimulationResult plain = RunSimulatedTournament(options);
    std::vector<int> boards;
    for (int round = 1; round <= 7; ++round)
        for (int b = 0; b <= GameTable(0, round); ++b)
            boards.push_back(GameTable(b, round));
    TearDown();
    SetUp();
    options.players = 41;
    options.rounds = 7;
    SetUpSimulatedTournament(options);
    const SimulationResult traced = [&] {
        ResetRunOptions();
        VerboseOption = 1;
        SimulationResult result;
        for (int round = 1; round <= 7; ++round) {
            if (PairNextRound(PlayerCount) == 0) return result;
            if (!CheckPairedRound(round, PlayerCount).ok) return result;
            result.roundsPaired = round;
            PlaySimulatedRound(options, round);
            CloseSimulatedRound(options, round);
        }
        return result;
    }();
    EXPECT_EQ(plain.roundsPaired, 7);
    EXPECT_EQ(traced.roundsPaired, 7);
    std::vector<int> tracedBoards;
    for (int round = 1; round <= 7; ++round)
        for (int b = 0; b <= GameTable(0, round); ++b)
            tracedBoards.push_back(GameTable(b, round));
    EXPECT_EQ(boards, tracedBoards);
}

INSTANTIATE_TEST_SUITE_P(Fields, UscfSimulation, ::testing::Values(9, 10, 50, 200, 999));

} // namespace
