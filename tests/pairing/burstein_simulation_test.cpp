// Whole FIDE Burstein tournaments paired by the engine through the
// dispatcher, every round checked, with and without the trace.

#include "pairing/burstein_engine.h"
#include "pairing/round_dispatcher.h"
#include "pairing/score_groups.h"
#include "support/recording_message_box.h"
#include "support/tournament_simulator.h"
#include "support/tournament_state.h"
#include "tournament/run_options.h"

#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

namespace {

class BursteinSimulation : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        ResetTournamentState();
        ResetRunOptions();
        ClearScoreGroups(0);
        RegisterBursteinEngine();
        options.system = FideBursteinSystem;
        options.rounds = 11;
        options.dataFolder = std::string(TM_TEST_OUTPUT_DIR) + "/";
    }
    void TearDown() override {
        RegisterPairingEngine(FideBursteinSystem, nullptr);
        ClearScoreGroups(0);
        ResetRunOptions();
        ResetTournamentState();
    }
    // The game codes of rounds 1..rounds, board counts included.
    static std::vector<int> AllBoards(int rounds) {
        std::vector<int> boards;
        for (int round = 1; round <= rounds; ++round)
            for (int b = 0; b <= GameTable(0, round); ++b)
                boards.push_back(GameTable(b, round));
        return boards;
    }
    SimulationOptions options;
};

TEST_P(BursteinSimulation, ElevenRoundsPassTheCheck) {
    RecordingMessageBox boxes;
    for (std::uint32_t seed : {1u, 5u}) {
        options.players = GetParam();
        options.seed = seed;
        const SimulationResult result = RunSimulatedTournament(options);
        EXPECT_EQ(result.problem, "") << GetParam() << " players, seed " << seed;
        EXPECT_EQ(result.roundsPaired, 11) << GetParam() << " players, seed " << seed;
        EXPECT_EQ(StrictColorMode, 0);
        EXPECT_TRUE(boxes.alerts.empty()) << boxes.alerts.size() << " alerts, first: "
                                          << (boxes.alerts.empty() ? "" : boxes.alerts[0].text);
    }
}

// Nine players cannot meet for eleven rounds: every round paired passes
// the check, and the first that cannot be paired fails with an alert and
// without boards.
TEST_F(BursteinSimulation, NinePlayersPairUntilNoPairingIsLeft) {
    RecordingMessageBox boxes;
    for (std::uint32_t seed : {1u, 5u}) {
        options.players = 9;
        options.seed = seed;
        const SimulationResult result = RunSimulatedTournament(options);
        EXPECT_GE(result.roundsPaired, 7) << "seed " << seed;
        EXPECT_LT(result.roundsPaired, 11) << "seed " << seed;
        EXPECT_EQ(result.problem, "round " + std::to_string(result.roundsPaired + 1) + " was not paired")
            << "seed " << seed;
        EXPECT_FALSE(boxes.alerts.empty());
        EXPECT_EQ(GameTable(1, result.roundsPaired + 1), 0) << "seed " << seed;
        EXPECT_EQ(StrictColorMode, 0);
        boxes.alerts.clear();
    }
}

INSTANTIATE_TEST_SUITE_P(Fields, BursteinSimulation, ::testing::Values(50, 200, 999));

// With the trace on, the same tournament pairs the same and the dump of
// the groups is written.
TEST_F(BursteinSimulation, TracedTournamentPairsAsUntracedAndDumpsItsGroups) {
    RecordingMessageBox boxes;
    options.players = 33;
    options.rounds = 6;
    const SimulationResult plain = RunSimulatedTournament(options);
    ASSERT_EQ(plain.roundsPaired, 6) << plain.problem;
    const std::vector<int> boards = AllBoards(6);
    TearDown();
    SetUp();
    options.players = 33;
    options.rounds = 6;
    options.traced = true;
    const SimulationResult traced = RunSimulatedTournament(options);
    ASSERT_EQ(traced.roundsPaired, 6) << traced.problem;
    EXPECT_EQ(AllBoards(6), boards);

    std::ifstream dump(options.dataFolder + "scgr6-0.txt", std::ios::binary);
    ASSERT_TRUE(dump.good());
    const std::string text{std::istreambuf_iterator<char>(dump), std::istreambuf_iterator<char>()};
    EXPECT_EQ(text.rfind("Score groups of the round 6\r\n", 0), 0u);
    EXPECT_NE(text.find("   ID  dueC    EB     cd\r\n  -----------------------------------------\r\n"), std::string::npos);
    EXPECT_EQ(text.find("\n\n"), std::string::npos); // every line ends in CR LF
    std::ifstream trace(options.dataFolder + "verbos6.txt", std::ios::binary);
    ASSERT_TRUE(trace.good());
    const std::string lines{std::istreambuf_iterator<char>(trace), std::istreambuf_iterator<char>()};
    EXPECT_NE(lines.find(" Pairing group 1"), std::string::npos);
}

} // namespace
