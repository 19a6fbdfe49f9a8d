// The FIDE Dubov and Swiss Quon round driver on small hand-made rounds: the
// trace and dump files byte for byte, the failures and their alerts, the
// merge of a failing group, and the boards it writes.

#include "pairing/dubov_engine.h"
#include "pairing/dubov_group.h"
#include "pairing/group_moves.h"
#include "pairing/round_check.h"
#include "pairing/round_dispatcher.h"
#include "pairing/score_groups.h"
#include "support/file_bytes.h"
#include "support/recording_message_box.h"
#include "support/tournament_simulator.h"
#include "support/tournament_state.h"
#include "tournament/message_table.h"
#include "tournament/run_options.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// The group routine the scripted engine drives instead of the real one.
enum class Script {
    Real,              // the real routine
    FailGroupOnce,     // the real routine, but failGroup fails the first time
    FloatDownForever,  // group 1 sends a player down, every lower group fails
    EmptyFirstGroup,   // group 1 sends everybody down and pairs nobody; group 2 fails
    Rematch,           // group 1 pairs its first two players again and again
    AbsorbSecondGroup, // group 1 takes group 2's players up, then the real routine
};
Script script = Script::Real;
int failGroup = 0;
int failures = 0;
int engineResult = -1;
int firstBoardAfterEngine = -1;

std::vector<int> ColorListPlayers(int g) {
    std::vector<int> ids = GroupListIds(ScoreGroupAt(g).whiteDue);
    const std::vector<int> black = GroupListIds(ScoreGroupAt(g).blackDue);
    ids.insert(ids.end(), black.begin() + 1, black.end());
    return ids;
}

int ScriptedGroup(int g, int round, int groupCount, std::vector<SearchPair>& pairs, int& count) {
    pairs.assign(1, SearchPair{});
    count = 0;
    switch (script) {
    case Script::Real:
        break;
    case Script::FailGroupOnce:
        if (g == failGroup && failures == 0) {
            ++failures;
            return 0;
        }
        break;
    case Script::FloatDownForever: {
        if (g > 1) return 0;
        const std::vector<int> ids = ColorListPlayers(1);
        MoveToFloaterGroup(ids.back(), 1, 2);
        return 1;
    }
    case Script::EmptyFirstGroup:
        if (g > 1) return 0;
        for (int id : ColorListPlayers(1))
            if (id != 0) MoveToFloaterGroup(id, 1, 2);
        return 1;
    case Script::AbsorbSecondGroup:
        if (g == 1) {
            for (int id : ColorListPlayers(2))
                if (id != 0) {
                    const int white = SitsInWhiteDueList(id, 2);
                    MovePlayerBetweenColorLists(id, 2, white, 1, white);
                }
        }
        break;
    case Script::Rematch: {
        const std::vector<int> ids = ColorListPlayers(g);
        for (std::size_t i = 1; i + 1 < ids.size(); i += 2)
            pairs.push_back({ids[1], ids[2]});
        count = static_cast<int>(pairs.size()) - 1;
        return 1;
    }
    }
    return PairScoreGroup(g, round, groupCount, pairs, count);
}

int ScriptedEngine(int players, int round) {
    engineResult = PairSwissRoundWith(players, round, ScriptedGroup);
    firstBoardAfterEngine = GameTable(1, round);
    return engineResult;
}

class DubovEngineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetTournamentState();
        ClearScoreGroups(0);
        RegisterDubovEngine();
        folder = std::string(TM_TEST_OUTPUT_DIR) + "/dubov_engine/";
        std::filesystem::create_directories(folder);
        for (const char* name : {"verbos2.txt", "scgr2-0.txt", "scgr2-1.txt", "scgr2-2.txt"})
            std::remove((folder + name).c_str());
    }
    void TearDown() override {
        RegisterPairingEngine(FideDubovSystem, nullptr);
        RegisterPairingEngine(SwissQuonSystem, nullptr);
        ClearScoreGroups(0);
        ResetTournamentState();
    }

    // players registered by rating, round 1 paired by the dispatcher and
    // played: White wins on every board but the first drawn ones.
    void PlayFirstRound(int system, int players, int drawnBoards = 0) {
        SimulationOptions options;
        options.system = system;
        options.players = players;
        options.rounds = 5;
        options.unratedPercent = 0;
        options.dataFolder = folder;
        SetUpSimulatedTournament(options);
        ASSERT_EQ(PairNextRound(PlayerCount), 1);
        for (int board = 1; board <= RoundBoardCount(1); ++board) {
            int white, black, digit;
            DecodeGameCode(GameTable(board, 1), white, black, digit);
            if (black != 0) GameTable(board, 1) = EncodeGameCode(white, black, board <= drawnBoards ? Draw : WhiteWins);
        }
        options.withdrawPerMille = 0;
        CloseSimulatedRound(options, 1);
    }
    std::string File(const char* name) const { return ReadFileBytes(folder + name); }

    std::string folder;
};

// Hand-made groups give every kind of row of both layouts: both sides, the
// left side alone and the right side alone, in the floater and colour tables.
TEST_F(DubovEngineTest, DumpLayoutsRowByRow) {
    struct Row {
        float aro;
        int seeding;
        int flexible;
        int up;
        float buchholz;
    };
    const Row rows[] = {{1850.5f, 2100, 1, 0, 12.5f}, {950.5f, 1900, 0, 1, 9.0f}, {0.0f, 1800, 1, 1, 0.0f},
                        {1700.0f, 1700, 0, 0, 7.5f},  {1600.5f, 1600, 1, 0, 15.0f}, {800.0f, 1500, 1, 1, 3.9f},
                        {1400.0f, 1400, 0, 1, 4.0f},  {1300.0f, 1300, 1, 1, 5.0f}, {1200.0f, 1200, 1, 0, 6.0f},
                        {1100.0f, 1100, 0, 0, 11.0f}};
    for (const Row& row : rows) {
        const int id = AddTestPlayer("P", row.seeding);
        Players[id].pairingKey = static_cast<float>(id);
        PlayerScores[id].aro = row.aro;
        PlayerScores[id].buchholzTotal = row.buchholz;
        PairingStates[id].colorFlexible = row.flexible;
        PairingStates[id].mayFloatUp = row.up;
    }
    std::snprintf(Settings.DataFolder, sizeof Settings.DataFolder, "%s", folder.c_str());
    Settings.PairingSystem = FideDubovSystem;
    CurrentRound = 2;
    ScoreGroup& first = ScoreGroupAt(1);
    first.score = 1.5f;
    IntQueuePush(first.downfloaters, 1);
    IntQueuePush(first.downfloaters, 2);
    IntQueuePush(first.opponents, 3);
    PlayerListInsert(first.whiteDue, 4, 1);
    PlayerListInsert(first.blackDue, 5, 0);
    PlayerListInsert(first.blackDue, 6, 0);
    ScoreGroup& second = ScoreGroupAt(2);
    second.score = 1.0f;
    IntQueuePush(second.opponents, 7);
    IntQueuePush(second.opponents, 8);
    PlayerListInsert(second.whiteDue, 9, 1);
    PlayerListInsert(second.whiteDue, 10, 1);
    ASSERT_EQ(GroupListIds(first.blackDue), (std::vector<int>{0, 5, 6}));
    ASSERT_EQ(GroupListIds(second.whiteDue), (std::vector<int>{0, 9, 10}));

    const std::string rule = "\r\n-----------------------------------------------\r\n";
    const std::string dashes = "-----------------------------------------------\r\n";
    WriteDubovScoreGroups(2, 1);
    EXPECT_EQ(File("scgr2-1.txt"),
              "Score groups of the round 2\r\n" + rule + " Group 1, score = 1.5\r\n" + dashes +
                  "              floaters |  opponents\r\n"
                  "  ID   ARO   Rat  c  u |   ID   ARO   Rat  c  u\r\n"
                  "  ----------------------------------------\r\n"
                  "   1 1850.5 2100 c1 u0 |    3 0000.0 1800 c1 u1\r\n"
                  "   2 0950.5 1900 c0 u1 |\r\n"
                  " - - - - - - - - - - - - - - - - - - - -\r\n"
                  "                 white |  black\r\n"
                  "  ID   ARO   Rat  c  u |   ID   ARO   Rat  c  u\r\n"
                  "  ---------------------------------------------\r\n"
                  "   4 1700.0 1700  0  0 |    5 1600.5 1600  1  0\r\n"
                  "                       |    6  800.0 1500  1  1\r\n" +
                  rule + " Group 2, score = 1\r\n" + dashes +
                  "              floaters |  opponents\r\n"
                  "  ID   ARO   Rat  c  u |   ID   ARO   Rat  c  u\r\n"
                  "  ----------------------------------------\r\n"
                  "                       |    7 1400.0 1400 c0 u1\r\n"
                  "                       |    8 1300.0 1300 c1 u1\r\n"
                  " - - - - - - - - - - - - - - - - - - - -\r\n"
                  "                 white |  black\r\n"
                  "  ID   ARO   Rat  c  u |   ID   ARO   Rat  c  u\r\n"
                  "  ---------------------------------------------\r\n"
                  "   9 1200.0 1200  1  0 |\r\n"
                  "  10 1100.0 1100  0  0 |\r\n");
    WriteOwnSwissScoreGroups(2, 0);
    EXPECT_EQ(File("scgr2-0.txt"),
              "Score groups of the round 2\r\n" + rule + " Group 1, score = 1.5\r\n" + dashes +
                  "         floaters |  opponents\r\n"
                  "  ID   Buc  c  u |   ID   Buc  c  u\r\n"
                  "  ----------------------------------------\r\n"
                  "   1   120 c1 u0 |    3     0 c1 u1\r\n"
                  "   2   90 c0 u1 |\r\n"
                  " - - - - - - - - - - - - - - - - - - - -\r\n"
                  "           white |  black\r\n"
                  "  ID   Buc  c  u |   ID   Buc  c  u\r\n"
                  "  ---------------------------------------------\r\n"
                  "   4    70  0  0 |    5   150  1  0\r\n"
                  "                 |    6    30  1  1\r\n" +
                  rule + " Group 2, score = 1\r\n" + dashes +
                  "         floaters |  opponents\r\n"
                  "  ID   Buc  c  u |   ID   Buc  c  u\r\n"
                  "  ----------------------------------------\r\n"
                  "                  |    7    40 c0 u1\r\n"
                  "                  |    8    50 c1 u1\r\n"
                  " - - - - - - - - - - - - - - - - - - - -\r\n"
                  "           white |  black\r\n"
                  "  ID   Buc  c  u |   ID   Buc  c  u\r\n"
                  "  ---------------------------------------------\r\n"
                  "   9    60  1  0 |\r\n"
                  "  10   110  0  0 |\r\n");
}

// Merging gathers the failed group's lists and queues and the queues of the
// group above into that group's colour lists, each player by colour due.
TEST_F(DubovEngineTest, MergeGathersListsAndQueues) {
    Settings.PairingSystem = FideDubovSystem;
    for (int i = 0; i < 7; ++i) {
        const int id = AddTestPlayer("P", 2000 - i);
        PairingStates[id].dueColor = PairingStates[id].workingColor = i % 2;
        PairingStates[id].mayFloatUp = 0;
    }
    // Group 1: white 2 (paired before), downfloater 3, opponent 4; group 2
    // empty; group 3: white 6, black 1, downfloater 5, opponent 7.
    PlayerListInsert(ScoreGroupAt(1).blackDue, 2, 0);
    IntQueuePush(ScoreGroupAt(1).downfloaters, 3);
    IntQueuePush(ScoreGroupAt(1).opponents, 4);
    PlayerListInsert(ScoreGroupAt(3).whiteDue, 7, 1);
    PlayerListInsert(ScoreGroupAt(3).blackDue, 1, 0);
    IntQueuePush(ScoreGroupAt(3).downfloaters, 6);
    IntQueuePush(ScoreGroupAt(3).opponents, 5);
    for (int id : {1, 5, 6, 7})
        PairingStates[id].currentGroup = 3;
    for (int id : {2, 3, 4})
        PairingStates[id].currentGroup = 1;

    EXPECT_EQ(MergeScoreGroups(3), 1);
    EXPECT_EQ(PlayersInGroupsFrom(2, 3), 0);
    EXPECT_EQ(IntQueueCount(ScoreGroupAt(1).downfloaters) + IntQueueCount(ScoreGroupAt(1).opponents), 0);
    std::vector<int> white = GroupListIds(ScoreGroupAt(1).whiteDue);
    std::vector<int> black = GroupListIds(ScoreGroupAt(1).blackDue);
    std::sort(white.begin(), white.end());
    std::sort(black.begin(), black.end());
    // Player 2 stays where he was; 7 sat in the wrong list and joins the
    // one of his colour due.
    EXPECT_EQ(white, (std::vector<int>{0, 4, 6}));
    EXPECT_EQ(black, (std::vector<int>{0, 1, 2, 3, 5, 7}));
    for (int id = 1; id <= 7; ++id) {
        EXPECT_EQ(PairingStates[id].currentGroup, 1) << id;
        if (id != 2) {
            EXPECT_EQ(PairingStates[id].workingColor, PairingStates[id].dueColor) << id;
        }
        // The players of the merged group may float up from now on; those
        // of the group above keep their flag.
        EXPECT_EQ(PairingStates[id].mayFloatUp, (id == 1 || id >= 5) ? 1 : 0) << id;
    }
    // Nothing above group 1: nothing moves.
    EXPECT_EQ(MergeScoreGroups(1), 1);
    EXPECT_EQ(PlayersInGroupsFrom(1, 3), 7);
}

// A round of five whose one group pairs at the first try: the trace holds
// the header, the BYE, the group's block and no banner; the dumps show the
// groups as made and as paired.
TEST_F(DubovEngineTest, SmallRoundTraceAndDumps) {
    PlayFirstRound(FideDubovSystem, 5);
    RecordingMessageBox boxes;
    VerboseOption = 1;
    ASSERT_EQ(PairNextRound(PlayerCount), 1);
    EXPECT_TRUE(boxes.alerts.empty());
    EXPECT_EQ(File("verbos2.txt"),
              "***** Pairing round 2\r\n"
                  "\r\n"
                  " BYE awarded to player: 4 SIMULATED 4, group 2\r\n"
                  " duecolor = WHITE, Rating = 1458, ARO = 2000\r\n"
                  "\r\n"
                  "================================\r\n"
                  " Pairing group 1\r\n"
                  "================================\r\n"
                  "[Ch 7.2] Group odd! 0 White e 3 Black\r\n"
                  "    ... better upfloater:1 (U=-2, D=0)\r\n"
                  "    > moving player 1 from [2 W] to [1 W]\r\n"
                  "\r\n"
                  "[Ch 7.3 7.4] Colors not equal 1 White e 3 Black\r\n"
                  "    > moving player 3 from [1 B] to [1 W]\r\n"
                  "\r\n"
                  "[Standard case] 2 White e 2 Black\r\n"
                  "  1\t - 2\r\n"
                  "  3\t - 5\r\n");
    EXPECT_EQ(File("scgr2-0.txt"),
              "Score groups of the round 2\r\n"
                  "\r\n"
                  "-----------------------------------------------\r\n"
                  " Group 1, score = 1\r\n"
                  "-----------------------------------------------\r\n"
                  "                 white |  black\r\n"
                  "  ID   ARO   Rat  c  u |   ID   ARO   Rat  c  u\r\n"
                  "  ---------------------------------------------\r\n"
                  "                       |    2 1458.0 2000  1  1\r\n"
                  "                       |    3 2467.0 1664  1  1\r\n"
                  "                       |    5    0.0 1424  1  1\r\n"
                  "\r\n"
                  "-----------------------------------------------\r\n"
                  " Group 2, score = 0\r\n"
                  "-----------------------------------------------\r\n"
                  "                 white |  black\r\n"
                  "  ID   ARO   Rat  c  u |   ID   ARO   Rat  c  u\r\n"
                  "  ---------------------------------------------\r\n"
                  "   1 1664.0 2467  1  1 |\r\n");
    EXPECT_EQ(File("scgr2-1.txt"),
              "Score groups of the round 2\r\n"
                  "\r\n"
                  "-----------------------------------------------\r\n"
                  " Group 1, score = 1\r\n"
                  "-----------------------------------------------\r\n"
                  "                 white |  black\r\n"
                  "  ID   ARO   Rat  c  u |   ID   ARO   Rat  c  u\r\n"
                  "  ---------------------------------------------\r\n"
                  "   1 1664.0 2467  1  1 |    2 1458.0 2000  1  1\r\n"
                  "   3 2467.0 1664  1  1 |    5    0.0 1424  1  1\r\n"
                  "\r\n"
                  "-----------------------------------------------\r\n"
                  " Group 2, score = 0\r\n"
                  "-----------------------------------------------\r\n");
}

// Without the trace, only the dump of the groups as made is written.
TEST_F(DubovEngineTest, UntracedRoundWritesThePassZeroDumpOnly) {
    for (int system : {FideDubovSystem, SwissQuonSystem}) {
        PlayFirstRound(system, 9);
        RecordingMessageBox boxes;
        ASSERT_EQ(PairNextRound(PlayerCount), 1) << system;
        EXPECT_NE(File("scgr2-0.txt"), "") << system;
        EXPECT_EQ(File("scgr2-1.txt"), "") << system;
        EXPECT_EQ(File("verbos2.txt"), "") << system;
        std::remove((folder + "scgr2-0.txt").c_str());
    }
}

// Nine players: four boards of pairs and the BYE on board 5.
TEST_F(DubovEngineTest, OddFieldGetsTheByeOnTheLastBoard) {
    PlayFirstRound(FideDubovSystem, 9);
    RecordingMessageBox boxes;
    ASSERT_EQ(PairNextRound(PlayerCount), 1);
    EXPECT_EQ(GameTable(0, 2), 5);
    std::vector<int> seen(10, 0);
    for (int board = 1; board <= 5; ++board) {
        int white, black, digit;
        DecodeGameCode(GameTable(board, 2), white, black, digit);
        EXPECT_EQ(black == 0, board == 5) << board;
        ++seen[white];
        ++seen[black];
    }
    for (int id = 1; id <= 9; ++id)
        EXPECT_EQ(seen[id], 1) << id;
}

// Two players who met have nobody else: the first group fails at once.
// The first group has nobody above to merge into: both restarts come at
// once, then the round fails.
TEST_F(DubovEngineTest, FirstGroupFailingRestartsThenEndsTheRound) {
    PlayFirstRound(FideDubovSystem, 2);
    RecordingMessageBox boxes;
    EXPECT_EQ(PairNextRound(PlayerCount), 0);
    EXPECT_EQ(boxes.alertTexts(), (std::vector<std::string>{MessageText(MsgPairingAgainWithUpfloats),
                                                            MessageText(MsgPairingAgainMerged),
                                                            MessageText(MsgTopGroupCannotBePaired)}));
    EXPECT_EQ(boxes.alerts[0].caption, MessageText(MsgClose));
    EXPECT_EQ(CurrentRound, 1);
}

class ScriptedDubovTest : public DubovEngineTest {
  protected:
    void SetUp() override {
        DubovEngineTest::SetUp();
        RegisterPairingEngine(FideDubovSystem, ScriptedEngine);
        script = Script::Real;
        failGroup = failures = 0;
        engineResult = firstBoardAfterEngine = -1;
    }
};

// A failing lower group is merged into the one above, which is paired again
// from its own place: its first pairs are replaced, not doubled.
TEST_F(ScriptedDubovTest, FailingGroupIsMergedAndPairedAgain) {
    PlayFirstRound(FideDubovSystem, 8, 1);
    script = Script::FailGroupOnce;
    failGroup = 3;
    VerboseOption = 1;
    RecordingMessageBox boxes;
    ASSERT_EQ(PairNextRound(PlayerCount), 1);
    EXPECT_TRUE(boxes.alerts.empty());
    EXPECT_EQ(failures, 1);
    EXPECT_NE(File("verbos2.txt").find("   >>> I am going to merge group 3 with group 2\r\n"), std::string::npos);
    const RoundCheck check = CheckPairedRound(2, PlayerCount);
    EXPECT_TRUE(check.ok) << check.problem;
    EXPECT_EQ(GameTable(0, 2), 4);
}

// A group whose players all went up is passed over with its block in the
// trace, and the groups below it are paired as usual.
TEST_F(ScriptedDubovTest, EmptyGroupIsPassedOver) {
    PlayFirstRound(FideDubovSystem, 8, 1);
    script = Script::AbsorbSecondGroup;
    VerboseOption = 1;
    RecordingMessageBox boxes;
    ASSERT_EQ(PairNextRound(PlayerCount), 1);
    EXPECT_TRUE(boxes.alerts.empty());
    EXPECT_NE(File("verbos2.txt").find("\r\n================================\r\nGroup 2 without players\r\n"
                                       "================================\r\n\r\n"),
              std::string::npos);
    const RoundCheck check = CheckPairedRound(2, PlayerCount);
    EXPECT_TRUE(check.ok) << check.problem;
    EXPECT_EQ(GameTable(0, 2), 4);
}

// Groups that keep failing: the upfloater restart when the budget is spent,
// the merge restart when it is spent again, then the round fails.
TEST_F(ScriptedDubovTest, SpentBudgetRestartsTwiceThenFails) {
    PlayFirstRound(FideDubovSystem, 4);
    script = Script::FloatDownForever;
    VerboseOption = 1;
    RecordingMessageBox boxes;
    EXPECT_EQ(PairNextRound(PlayerCount), 0);
    EXPECT_EQ(engineResult, 0);
    ASSERT_EQ(boxes.alerts.size(), 3u);
    EXPECT_EQ(boxes.alerts[0].text, MessageText(MsgPairingAgainWithUpfloats));
    EXPECT_EQ(boxes.alerts[1].text, MessageText(MsgPairingAgainMerged));
    EXPECT_EQ(boxes.alerts[2].text, MessageText(MsgPairingStops));
    const std::string trace = File("verbos2.txt");
    const std::size_t upfloat = trace.find("I can't do pairing!\r\n Trying to set all upfloater ON and restart\r\n");
    const std::size_t merge = trace.find("  I can't do pairing!\r\n  Trying to merge all the group and restart\r\n");
    ASSERT_NE(upfloat, std::string::npos);
    ASSERT_NE(merge, std::string::npos);
    EXPECT_LT(upfloat, merge);
    EXPECT_NE(File("scgr2-2.txt"), "");
    EXPECT_EQ(MergedMode, 0);
    EXPECT_EQ(firstBoardAfterEngine, 0);
}

// A group that fails with nobody left above it is not paired again with the
// queues of its failed attempt: the round restarts at once, and fails when
// both restarts are spent.
TEST_F(ScriptedDubovTest, FailingGroupWithNobodyAboveRestartsThenEndsTheRound) {
    PlayFirstRound(FideDubovSystem, 6);
    script = Script::EmptyFirstGroup;
    RecordingMessageBox boxes;
    EXPECT_EQ(PairNextRound(PlayerCount), 0);
    EXPECT_EQ(engineResult, 0);
    EXPECT_EQ(boxes.alertTexts(), (std::vector<std::string>{MessageText(MsgPairingAgainWithUpfloats),
                                                            MessageText(MsgPairingAgainMerged),
                                                            MessageText(MsgTopGroupCannotBePaired)}));
}

// Pairs that would repeat a game or leave players without a board never
// reach the game table.
TEST_F(ScriptedDubovTest, BrokenPairsAreNotWritten) {
    PlayFirstRound(FideDubovSystem, 6);
    script = Script::Rematch;
    RecordingMessageBox boxes;
    EXPECT_EQ(PairNextRound(PlayerCount), 0);
    EXPECT_EQ(engineResult, 0);
    EXPECT_EQ(firstBoardAfterEngine, 0);
    ASSERT_EQ(boxes.alerts.size(), 1u);
    EXPECT_EQ(boxes.alerts[0].text, MessageText(MsgPairingStops));
}

} // namespace
