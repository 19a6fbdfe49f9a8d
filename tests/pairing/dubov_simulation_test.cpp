// Whole FIDE Dubov and Swiss Quon tournaments paired by the engine through
// the dispatcher, every round checked.

#include "pairing/dubov_engine.h"
#include "pairing/round_dispatcher.h"
#include "pairing/score_groups.h"
#include "support/recording_message_box.h"
#include "support/tournament_simulator.h"
#include "support/tournament_state.h"

#include <string>
#include <tuple>

#include <gtest/gtest.h>

namespace {

class DubovSimulation : public ::testing::TestWithParam<std::tuple<int, int>> {
  protected:
    void SetUp() override {
        ResetTournamentState();
        ClearScoreGroups(0);
        RegisterDubovEngine();
        options.dataFolder = std::string(TM_TEST_OUTPUT_DIR) + "/";
    }
    void TearDown() override {
        RegisterPairingEngine(FideDubovSystem, nullptr);
        RegisterPairingEngine(SwissQuonSystem, nullptr);
        ClearScoreGroups(0);
        ResetTournamentState();
    }
    SimulationOptions options;
};

// As many rounds as the field allows, up to 20: a field of n players can
// play at most n - 1 rounds before everybody has met everybody, and small
// fields run out of possible pairings earlier, so they get fewer rounds.
TEST_P(DubovSimulation, EveryRoundPassesTheCheck) {
    const auto [system, players] = GetParam();
    const int rounds = players <= 9 ? 5 : players <= 20 ? 9 : 20;
    RecordingMessageBox boxes;
    for (std::uint32_t seed : {1u, 5u}) {
        options.system = system;
        options.players = players;
        options.rounds = rounds;
        options.seed = seed;
        const SimulationResult result = RunSimulatedTournament(options);
        EXPECT_EQ(result.problem, "") << "system " << system << ", " << players << " players, seed " << seed;
        EXPECT_EQ(result.roundsPaired, rounds)
            << "system " << system << ", " << players << " players, seed " << seed;
    }
    for (const auto& alert : boxes.alerts)
        ADD_FAILURE() << "alert: " << alert.text;
}

INSTANTIATE_TEST_SUITE_P(Fields, DubovSimulation,
                         ::testing::Combine(::testing::Values(FideDubovSystem, SwissQuonSystem),
                                            ::testing::Values(9, 20, 57, 200, 999)));

} // namespace
