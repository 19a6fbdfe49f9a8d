// Whole USCF tournaments paired by the engine through the dispatcher, every
// round checked, and the round driver's failures.

#include "pairing/round_dispatcher.h"
#include "pairing/score_groups.h"
#include "pairing/uscf_engine.h"
#include "support/recording_message_box.h"
#include "support/tournament_simulator.h"
#include "support/tournament_state.h"
#include "tournament/message_table.h"

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

INSTANTIATE_TEST_SUITE_P(Fields, UscfSimulation, ::testing::Values(9, 10, 50, 200, 999));

} // namespace
