// The dispatcher past round 1: engines by system, the check of every round,
// cancelling a failed round without a trace of it, deleting rounds, the
// trace file, and whole simulated tournaments.

#include "pairing/round_check.h"
#include "pairing/round_dispatcher.h"
#include "pairing/round_trace.h"
#include "pairing/score_groups.h"
#include "pairing/trace.h"
#include "pairing/window_services.h"
#include "support/file_bytes.h"
#include "support/recording_message_box.h"
#include "support/tournament_simulator.h"
#include "support/tournament_state.h"
#include "tournament/message_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <vector>

namespace {

// What an engine does this time, for the engine tests.
int (*Behaviour)(int players, int round) = nullptr;
int CallEngine(int players, int round) {
    return Behaviour(players, round);
}

int PairedCancels = 0;
void CountCancel() {
    ++PairedCancels;
}

class Dispatcher : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetTournamentState();
        ClearScoreGroups(0);
        ClearMessageTable();
        SetMessageText(MsgNoByeReceiver, "No BYE");
        SetMessageText(MsgPairingStops, "Cannot pair");
        for (int system : {1, 3, 4, 6})
            RegisterPairingEngine(system, nullptr);
        PairedCancels = 0;
        PairingWindow.pairingCancelled = CountCancel;
        options.dataFolder = std::string(TM_TEST_OUTPUT_DIR) + "/";
    }
    void TearDown() override {
        PairingWindow = PairingWindowHooks{};
        for (int system : {1, 3, 4, 6})
            RegisterPairingEngine(system, nullptr);
        ClearScoreGroups(0);
        ResetTournamentState();
    }

    // A tournament with `rounds` rounds paired and played by the stand-in.
    void PlayRounds(int system, int players, int rounds) {
        options.system = system;
        options.players = players;
        options.rounds = 9;
        options.withdrawPerMille = 0;
        options.forfeitPercent = 0;
        SetUpSimulatedTournament(options);
        RegisterStandInEngines();
        for (int round = 1; round <= rounds; ++round) {
            ASSERT_NE(PairNextRound(PlayerCount), 0);
            PlaySimulatedRound(options, round);
            CloseSimulatedRound(options, round);
        }
    }

    // Everything a pairing attempt could touch, for "left as before".
    struct Image {
        int current, shown;
        std::vector<int> games;
        std::vector<float> scores;
        std::vector<int> states;
        std::vector<int> keys;
        bool operator==(const Image&) const = default;
    };
    Image Take(int round) {
        Image image{CurrentRound, ShownRound, {}, {}, {}, {}};
        for (int board = 0; board <= SwissMaxBoards; ++board)
            image.games.push_back(GameTable(board, round));
        for (int id = 0; id <= PlayerCount; ++id) {
            image.scores.push_back(PlayerScores[id].score);
            image.scores.push_back(PlayerScores[id].aro);
            const PairingState& s = PairingStates[id];
            image.states.insert(image.states.end(), {s.dueColor, s.colorFlexible, s.byeEligibility, s.mayFloatUp,
                                                     s.initialGroup, s.currentGroup});
            image.keys.push_back(Players[id].seedingKey);
            image.keys.push_back(static_cast<int>(Players[id].pairingKey * 10));
        }
        return image;
    }

    SimulationOptions options;
    RecordingMessageBox boxes;
};

TEST_F(Dispatcher, ASystemWithoutAnEngineRefusesAndChangesNothing) {
    PlayRounds(FideDubovSystem, 8, 1);
    RegisterPairingEngine(FideDubovSystem, nullptr);
    const Image before = Take(2);
    EXPECT_EQ(PairNextRound(PlayerCount), 0);
    EXPECT_EQ(boxes.alertTexts(), std::vector<std::string>{"Cannot pair"});
    EXPECT_EQ(Take(2), before);
    EXPECT_EQ(RegisteredPairingEngine(2), nullptr);
    RegisterPairingEngine(SingleRoundRobinSystem, PairRoundBySearch); // ignored
    EXPECT_EQ(RegisteredPairingEngine(SingleRoundRobinSystem), nullptr);
}

TEST_F(Dispatcher, EachSystemReachesItsOwnEngine) {
    static int calledWith = 0;
    for (int system : {FideDubovSystem, SwissQuonSystem, UscfSystem, FideBursteinSystem}) {
        PlayRounds(system, 8, 1);
        for (int other : {1, 3, 4, 6})
            RegisterPairingEngine(other, nullptr);
        calledWith = 0;
        Behaviour = [](int players, int round) {
            calledWith = Settings.PairingSystem * 100 + round;
            return PairRoundBySearch(players, round);
        };
        RegisterPairingEngine(system, CallEngine);
        ASSERT_NE(PairNextRound(PlayerCount), 0);
        EXPECT_EQ(calledWith, system * 100 + 2);
        EXPECT_EQ(CurrentRound, 2);
        EXPECT_EQ(ShownRound, 2);
        EXPECT_TRUE(CheckPairedRound(2, PlayerCount).ok);
    }
}

TEST_F(Dispatcher, AFailedByeChoiceCancelsTheRoundAndLeavesTheTournamentAsBefore) {
    PlayRounds(FideDubovSystem, 7, 1);
    // Nobody may receive the BYE: everybody already had a win without play.
    for (int id = 1; id <= PlayerCount; ++id) {
        PlayerResultTable(id, 1) = WinUnplayed;
        OpponentTable(id, 1) = 0;
        ColorHistory(id, 1) = 0;
    }
    ComputeScores(1, PlayerCount);
    const Image before = Take(2);
    EXPECT_EQ(PairNextRound(PlayerCount), 0);
    EXPECT_EQ(boxes.alertTexts(), std::vector<std::string>{"No BYE"});
    EXPECT_EQ(Take(2), before);
    EXPECT_EQ(PairedCancels, 1);
    EXPECT_EQ(ScoreGroupSize(1), 0) << "the failed round's groups are gone";
}

TEST_F(Dispatcher, AnEngineFailureCancelsTheRound) {
    PlayRounds(SwissQuonSystem, 8, 2);
    Behaviour = [](int players, int round) {
        PairRoundBySearch(players, round); // writes its boards, then gives up
        ShowAlert("engine gave up", "OK");
        return 0;
    };
    RegisterPairingEngine(SwissQuonSystem, CallEngine);
    const Image before = Take(3);
    EXPECT_EQ(PairNextRound(PlayerCount), 0);
    EXPECT_EQ(boxes.alertTexts(), std::vector<std::string>{"engine gave up"});
    EXPECT_EQ(Take(3), before);
    EXPECT_EQ(CurrentRound, 2);
    // The same round pairs afterwards.
    RegisterStandInEngines();
    EXPECT_NE(PairNextRound(PlayerCount), 0);
    EXPECT_EQ(CurrentRound, 3);
}

// Engines that report success on a round that breaks a rule: the dispatcher
// refuses the round.
TEST_F(Dispatcher, RoundsThatBreakARuleAreCancelled) {
    using Fault = int (*)(int, int);
    const std::vector<std::pair<const char*, Fault>> faults = {
        {"player left off", [](int p, int r) {
             PairRoundBySearch(p, r);
             GameTable(0, r) -= 1;
             return 1;
         }},
        {"player twice", [](int p, int r) {
             PairRoundBySearch(p, r);
             int w, b, d;
             DecodeGameCode(GameTable(1, r), w, b, d);
             GameTable(2, r) = EncodeGameCode(w, PlayerCount, NotPlayed);
             return 1;
         }},
        {"rematch", [](int, int r) {
             // Round 1's boards once more.
             for (int board = 0; board <= GameTable(0, 1); ++board)
                 GameTable(board, r) = board == 0 ? GameTable(0, 1) : GameTable(board, 1) / 10 * 10 + NotPlayed;
             return 1;
         }},
        {"second bye", [](int p, int r) {
             PairRoundBySearch(p, r);
             int w, b, d;
             DecodeGameCode(GameTable(1, r), w, b, d);
             GameTable(1, r) = EncodeGameCode(w, 0, WhiteWinsForfeit);
             GameTable(0, r) += 1;
             GameTable(GameTable(0, r), r) = EncodeGameCode(b, 0, WhiteWinsForfeit);
             return 1;
         }},
    };
    for (const auto& [name, fault] : faults) {
        SCOPED_TRACE(name);
        PlayRounds(FideDubovSystem, 8, 1);
        boxes.alerts.clear();
        Behaviour = fault;
        RegisterPairingEngine(FideDubovSystem, CallEngine);
        const Image before = Take(2);
        EXPECT_EQ(PairNextRound(PlayerCount), 0);
        EXPECT_EQ(boxes.alertTexts(), std::vector<std::string>{"Cannot pair"});
        EXPECT_EQ(Take(2), before);
    }
}

TEST_F(Dispatcher, TheCheckNamesWhatIsWrong) {
    PlayRounds(UscfSystem, 7, 1);
    ASSERT_NE(PairNextRound(PlayerCount), 0);
    ASSERT_TRUE(CheckPairedRound(2, PlayerCount).ok);
    int w, b, d;
    DecodeGameCode(GameTable(1, 2), w, b, d);
    // An absolute colour not given.
    PairingStates[w].colorFlexible = 0;
    PairingStates[w].dueColor = 0;
    EXPECT_NE(CheckPairedRound(2, PlayerCount).problem.find("must have black"), std::string::npos);
    PairingStates[w].colorFlexible = 1;
    // The BYE to a player who may not have it.
    const int byeBoard = GameTable(0, 2);
    int receiver, none, digit;
    DecodeGameCode(GameTable(byeBoard, 2), receiver, none, digit);
    ASSERT_EQ(none, 0);
    PairingStates[receiver].byeEligibility = 2; // USCF wants exactly 1
    EXPECT_NE(CheckPairedRound(2, PlayerCount).problem.find("may not receive the BYE"), std::string::npos);
    PairingStates[receiver].byeEligibility = 1;
    // A result already there, and a withdrawn player on a board.
    GameTable(1, 2) = EncodeGameCode(w, b, WhiteWins);
    EXPECT_FALSE(CheckPairedRound(2, PlayerCount).ok);
    GameTable(1, 2) = EncodeGameCode(w, b, NotPlayed);
    Players[w].available = 0;
    EXPECT_FALSE(CheckPairedRound(2, PlayerCount).ok);
    Players[w].available = 1;
    Players[PlayerCount + 1].available = 1; // somebody not registered
    GameTable(1, 2) = EncodeGameCode(w, PlayerCount + 1, NotPlayed);
    EXPECT_NE(CheckPairedRound(2, PlayerCount).problem.find("not an available player"), std::string::npos);
    Players[PlayerCount + 1].available = 0;
    EXPECT_FALSE(CheckPairedRound(0, PlayerCount).ok);
    EXPECT_FALSE(CheckPairedRound(99, PlayerCount).ok);
}

TEST_F(Dispatcher, DeletingTheLastRoundRecomputesOverTheRoundsThatRemain) {
    PlayRounds(FideDubovSystem, 8, 2);
    std::vector<float> afterOne;
    {
        // The scores after round 1 alone.
        ComputeScores(1, PlayerCount);
        for (int id = 1; id <= PlayerCount; ++id)
            afterOne.push_back(PlayerScores[id].score);
        ComputeScores(2, PlayerCount);
    }
    DeleteRounds(2, 2, PlayerCount);
    EXPECT_EQ(CurrentRound, 1);
    EXPECT_EQ(ShownRound, 1);
    for (int id = 1; id <= PlayerCount; ++id) {
        EXPECT_EQ(PlayerScores[id].score, afterOne[id - 1]) << id;
        EXPECT_EQ(OpponentTable(id, 2), 0);
        EXPECT_EQ(ColorHistory(id, 2), 0);
        EXPECT_EQ(PlayerResultTable(id, 2), 0);
    }
    EXPECT_EQ(GameTable(1, 2), 0);
    EXPECT_NE(GameTable(1, 1), 0);
    // Round 2 pairs again.
    EXPECT_NE(PairNextRound(PlayerCount), 0);
    EXPECT_EQ(CurrentRound, 2);
}

TEST_F(Dispatcher, DeletingAllRoundsStartsAgainFromRoundOne) {
    static int enabled = 0;
    enabled = 0;
    PairingWindow.enableRoundNumberField = [] { ++enabled; };
    PlayRounds(UscfSystem, 9, 3);
    DeleteRounds(1, CurrentRound, PlayerCount);
    EXPECT_EQ(CurrentRound, 0);
    EXPECT_EQ(enabled, 1);
    for (int id = 1; id <= PlayerCount; ++id)
        EXPECT_EQ(PlayerScores[id].score, 0.0f);
    EXPECT_NE(PairNextRound(PlayerCount), 0);
    EXPECT_EQ(CurrentRound, 1);
}

TEST_F(Dispatcher, DeletingARoundRobinRoundKeepsItsPairingsUnplayed) {
    Settings.PairingSystem = SingleRoundRobinSystem;
    for (int i = 0; i < 4; ++i)
        AddTestPlayer("RR" + std::to_string(i), 2000);
    SetTestBoard(1, 1, 1, 4, WhiteWins);
    SetTestBoard(1, 2, 2, 3, Draw);
    RebuildRoundTables(1);
    SetCurrentRound(1);
    DeleteRounds(1, 1, PlayerCount);
    EXPECT_EQ(CurrentRound, 0);
    EXPECT_EQ(GameTable(1, 1), EncodeGameCode(1, 4, NotPlayed));
    EXPECT_EQ(GameTable(2, 1), EncodeGameCode(2, 3, NotPlayed));
    EXPECT_EQ(OpponentTable(1, 1), 4) << "the schedule stays";
    EXPECT_EQ(PlayerResultTable(1, 1), 0);
    EXPECT_EQ(PairNextRound(PlayerCount), 0) << "a round robin is not paired here";
}

TEST_F(Dispatcher, CancellingAsksWhenToldAndHonoursNo) {
    SetCurrentRound(3);
    boxes.answers = {0}; // the MsgNo button
    CancelLastPairing(0, 0, 1);
    EXPECT_EQ(CurrentRound, 3);
    boxes.answers = {1};
    CancelLastPairing(0, 0, 1);
    EXPECT_EQ(CurrentRound, 2);
    EXPECT_EQ(ShownRound, 2);
    EXPECT_EQ(PairedCancels, 1);
    SetCurrentRound(0);
    CancelLastPairing(0, 0, 0);
    EXPECT_EQ(CurrentRound, 0);
}

TEST_F(Dispatcher, TheTraceFileGetsCrLfAndClosesAfterTheEngine) {
    PlayRounds(FideDubovSystem, 7, 1);
    VerboseOption = 1;
    Behaviour = [](int players, int round) {
        OpenPairingTrace(round);
        *PairingTrace << "***** Pairing round " << round << "\n\n";
        return PairRoundBySearch(players, round); // and leaves it open
    };
    RegisterPairingEngine(FideDubovSystem, CallEngine);
    ASSERT_NE(PairNextRound(PlayerCount), 0);
    EXPECT_EQ(PairingTrace, nullptr);
    const std::string text = ReadFileBytes(PairingTracePath(2));
    EXPECT_EQ(text.rfind("***** Pairing round 2\r\n\r\n BYE awarded to player: ", 0), 0u) << text;
    EXPECT_EQ(text.find("\n\n"), std::string::npos);
    VerboseOption = 0;
    EXPECT_FALSE(OpenPairingTrace(3));
    EXPECT_EQ(PairingTrace, nullptr);
}

TEST_F(Dispatcher, SimulatedTournamentsOfEverySystemPairEveryRound) {
    RegisterStandInEngines();
    for (int system : {FideDubovSystem, SwissQuonSystem, UscfSystem, FideBursteinSystem})
        for (int players : {7, 30, 101}) {
            SCOPED_TRACE(testing::Message() << "system " << system << ", " << players << " players");
            options.system = system;
            options.players = players;
            // A small field runs out of legal opponents long before 7 rounds.
            options.rounds = players == 7 ? 4 : 7;
            options.seed = static_cast<std::uint32_t>(system * 1000 + players);
            options.withdrawPerMille = 20;
            options.acceleratedRounds = players == 30 ? 2 : 0;
            const SimulationResult result = RunSimulatedTournament(options);
            EXPECT_EQ(result.problem, "");
            EXPECT_EQ(result.roundsPaired, options.rounds);
        }
}

TEST_F(Dispatcher, ColourImprovementRunsPastRoundOneOnlyWhileTheOptionIsOn) {
    static std::vector<int> runs;
    runs.clear();
    RegisterColorImprovement([] { runs.push_back(CurrentRound); });
    options.players = 8;
    SetUpSimulatedTournament(options);
    RegisterStandInEngines();
    for (int round = 1; round <= 3; ++round) {
        ColorImprovementOption = round <= 2 ? 1 : 0; // round 1 gets none all the same
        ASSERT_NE(PairNextRound(PlayerCount), 0);
        PlaySimulatedRound(options, round);
        CloseSimulatedRound(options, round);
    }
    RegisterColorImprovement(nullptr);
    EXPECT_EQ(runs, std::vector<int>{2});
}

TEST_F(Dispatcher, AStaleColumnOfAnEarlierAttemptDoesNotCount) {
    PlayRounds(FideBursteinSystem, 8, 1);
    for (int board = 1; board <= 6; ++board)
        GameTable(board, 2) = EncodeGameCode(board, 0, WhiteWinsForfeit);
    GameTable(0, 2) = 6;
    ASSERT_NE(PairNextRound(PlayerCount), 0);
    EXPECT_EQ(GameTable(0, 2), 4);
    EXPECT_EQ(GameTable(5, 2), 0);
    EXPECT_TRUE(CheckPairedRound(2, PlayerCount).ok);
}

TEST_F(Dispatcher, TheSimulatorRepeatsItselfForOneSeed) {
    RegisterStandInEngines();
    options.players = 40;
    options.rounds = 4;
    options.seed = 77;
    ASSERT_EQ(RunSimulatedTournament(options).roundsPaired, 4);
    std::vector<int> first;
    for (int board = 1; board <= GameTable(0, 4); ++board)
        first.push_back(GameTable(board, 4));
    ASSERT_EQ(RunSimulatedTournament(options).roundsPaired, 4);
    std::vector<int> second;
    for (int board = 1; board <= GameTable(0, 4); ++board)
        second.push_back(GameTable(board, 4));
    EXPECT_EQ(first, second);
}

} // namespace
