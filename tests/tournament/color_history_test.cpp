#include "tournament/color_history.h"

#include "support/recording_message_box.h"
#include "support/tournament_state.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

class ColorHistoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetTournamentState();
        Settings.PairingSystem = FideDubovSystem;
        Settings.PlannedRounds = 9;
        for (int i = 0; i < 8; ++i)
            AddTestPlayer("P" + std::to_string(i + 1), 2400 - 10 * i);
    }

    // Colours of rounds 1.. from a text: 'W' white, 'B' black, '-' none.
    static void SetColors(int id, const std::string& colors) {
        for (int r = 1; r <= SwissMaxRound; ++r)
            ColorHistory(id, r) = 0;
        for (std::size_t k = 0; k < colors.size(); ++k)
            ColorHistory(id, static_cast<int>(k) + 1) = colors[k] == 'W' ? 1 : colors[k] == 'B' ? -1 : 0;
    }
    static const PairingState& State(int id) { return PairingStates[id]; }
    // Colours of a player over rounds 1..rounds as a text.
    static std::string Colors(int id, int rounds) {
        std::string text;
        for (int r = 1; r <= rounds; ++r)
            text += ColorHistory(id, r) == 1 ? 'W' : ColorHistory(id, r) == -1 ? 'B' : '-';
        return text;
    }

    RecordingMessageBox boxes;
};

struct DueCase {
    const char* colors;
    int relaxed;
    int due;
    int flexible;
};

TEST_F(ColorHistoryTest, DueColourAndWhetherItIsAbsolute) {
    const DueCase cases[] = {
        {"WBW", 0, 0, 1},                     // difference +1: black, a preference
        {"WW", 0, 0, 0},                      // difference at the limit
        {"WW", 1, 0, 1},                      // the relaxed limit is 3
        {"WWW", 1, 0, 0},   {"WWW", 0, 0, 0}, // beyond the limit is absolute too
        {"WWBBB", 0, 1, 0},                   // a run beyond the limit with a small difference
        {"WWWBW", 0, 0, 0},                   // a difference beyond the limit with a short run
        {"B-B", 0, 1, 0},                     // a round without colour does not break the run
        {"WB", 0, 1, 1},                      // difference 0: the other colour than the last one
        {"BW--", 0, 0, 1},                    // ... skipping rounds without colour
        {"---", 0, 0, 1},                     // no colour at all
    };
    for (const DueCase& c : cases) {
        SCOPED_TRACE(std::string(c.colors) + (c.relaxed ? " relaxed" : ""));
        ClearRoundTables();
        RelaxedColorOption = c.relaxed;
        SetColors(1, c.colors);
        const int rounds = static_cast<int>(std::string(c.colors).size());
        UpdateColorHistory(rounds, PlayerCount);
        EXPECT_EQ(State(1).dueColor, c.due);
        EXPECT_EQ(State(1).workingColor, c.due);
        EXPECT_EQ(State(1).colorFlexible, c.flexible);
    }
    EXPECT_EQ(State(0).dueColor, -1);
    EXPECT_EQ(State(0).colorFlexible, 1);
}

TEST_F(ColorHistoryTest, UscfRunsAndTheLastRoundRule) {
    Settings.PairingSystem = UscfSystem;
    Settings.PlannedRounds = 5;
    SetColors(1, "WBB");
    SetColors(2, "BWW");
    SetColors(3, "---"); // a newcomer
    SetColors(4, "WBWW");

    SetCurrentRound(3); // before round 4: the two-colour runs still bind
    UpdateColorHistory(3, PlayerCount);
    EXPECT_EQ(State(1).dueColor, 1);
    EXPECT_EQ(State(1).colorFlexible, 0);
    EXPECT_EQ(State(1).colorStreak, 2);
    EXPECT_EQ(State(2).colorFlexible, 0);
    EXPECT_EQ(State(3).dueColor, -1);
    EXPECT_EQ(State(3).colorFlexible, 1);
    EXPECT_EQ(State(3).colorStreak, 0);

    SetCurrentRound(5); // pairing the last round: a run of two is only a preference
    UpdateColorHistory(3, PlayerCount);
    EXPECT_EQ(State(1).dueColor, 1);
    EXPECT_EQ(State(1).colorFlexible, 1);
    EXPECT_EQ(State(2).colorFlexible, 1);
    UpdateColorHistory(4, PlayerCount); // the run also lifts the difference rule
    EXPECT_EQ(State(4).colorDifference, 2);
    EXPECT_EQ(State(4).colorFlexible, 1);
    RelaxedColorOption = 1;
    SetColors(1, "WBBB");
    UpdateColorHistory(4, PlayerCount);
    EXPECT_EQ(State(1).colorFlexible, 0);
}

TEST_F(ColorHistoryTest, DubovFloatPermission) {
    // Player 1 floated in rounds 1, 2 and 3, player 2 in round 4 only.
    for (int r = 1; r <= 3; ++r)
        FloatHistory(1, r) = 1;
    FloatHistory(2, 4) = 1;
    UpdateColorHistory(4, PlayerCount);
    EXPECT_EQ(State(1).mayFloatUp, 0); // three floats of 9 planned rounds
    EXPECT_EQ(State(2).mayFloatUp, 0); // floated in the last round
    EXPECT_EQ(State(3).mayFloatUp, 1);

    Settings.PlannedRounds = 10;
    UpdateColorHistory(4, PlayerCount);
    EXPECT_EQ(State(1).mayFloatUp, 1); // a fourth float is allowed
    Settings.PlannedRounds = 5;        // the coming round is the last
    UpdateColorHistory(4, PlayerCount);
    EXPECT_EQ(State(2).mayFloatUp, 1);

    Settings.PairingSystem = SwissQuonSystem; // the rule is FIDE Dubov's only
    PairingStates[1].mayFloatUp = 7;
    UpdateColorHistory(4, PlayerCount);
    EXPECT_EQ(State(1).mayFloatUp, 7);
}

TEST_F(ColorHistoryTest, ScoresByeEligibilityAndKeys) {
    // Round 1: 1-2 1-0, 3-4 draw, 5 BYE. Round 2: 3-1 0-1, 2 half-point bye, 4-5 forfeit.
    SetTestBoard(1, 1, 1, 2, WhiteWins);
    SetTestBoard(1, 2, 3, 4, Draw);
    SetTestBoard(1, 3, 5, 0, WhiteWinsForfeit);
    RebuildRoundTables(1);
    SetTestBoard(2, 1, 3, 1, BlackWins);
    SetTestBoard(2, 2, 2, 0, HalfNoGame);
    SetTestBoard(2, 3, 4, 5, WhiteWinsForfeit);
    RebuildRoundTables(2);
    for (int id = 6; id <= 8; ++id)
        Players[id].available = 0;
    SetCurrentRound(2);

    UpdateColorHistory(2, 5);
    EXPECT_FLOAT_EQ(PlayerScores[1].score, 2.0f);
    EXPECT_FLOAT_EQ(PlayerScores[2].score, 0.5f);
    EXPECT_FLOAT_EQ(PlayerScores[3].score, 0.5f);
    EXPECT_FLOAT_EQ(PlayerScores[4].score, 1.5f);
    EXPECT_FLOAT_EQ(PlayerScores[5].score, 1.0f);
    EXPECT_EQ(State(1).byeEligibility, 1);
    EXPECT_EQ(State(2).byeEligibility, 2);
    EXPECT_EQ(State(4).byeEligibility, 0);
    EXPECT_EQ(State(5).byeEligibility, 0);
    // Opponents' average of the seeding keys; unplayed rounds do not count.
    EXPECT_FLOAT_EQ(Players[1].pairingKey, (2390.0f + 2380.0f) / 2);
    EXPECT_FLOAT_EQ(PlayerScores[4].aro, 2380.0f);
    EXPECT_FLOAT_EQ(Players[5].pairingKey, 0.0f);
    EXPECT_EQ(Players[1].seedingKey, Players[1].ratingUsed);
    EXPECT_EQ(State(1).triedMark, 0);

    // Own system: opposition score, own score for rounds won or lost
    // without play (not for a half point without a game), times ten.
    Settings.PairingSystem = SwissQuonSystem;
    UpdateColorHistory(2, 5);
    EXPECT_EQ(Players[1].seedingKey, 10); // 0.5 (P2) + 0.5 (P3)
    EXPECT_FLOAT_EQ(Players[2].pairingKey, 20.0f);
    EXPECT_FLOAT_EQ(Players[5].pairingKey, 20.0f); // 1.0 + 1.0, his own score twice

    Settings.PairingSystem = FideBursteinSystem;
    UpdateColorHistory(2, 5);
    EXPECT_FLOAT_EQ(Players[1].pairingKey, 1.0f + 2.0f);
    EXPECT_EQ(Players[1].seedingKey, Players[1].ratingUsed);

    // Accelerated pairing: the upper half by pairing number scores a win more
    // while the round is below the number of accelerated rounds.
    Settings.PairingSystem = FideDubovSystem;
    Settings.AcceleratedRounds = 2;
    SetCurrentRound(1);
    UpdateColorHistory(1, 4);
    EXPECT_FLOAT_EQ(PlayerScores[2].score, 1.0f);
    EXPECT_FLOAT_EQ(PlayerScores[3].score, 0.5f);
    SetCurrentRound(2);
    UpdateColorHistory(1, 4);
    EXPECT_FLOAT_EQ(PlayerScores[2].score, 0.0f);
}

TEST_F(ColorHistoryTest, PairDecisions) {
    // Same due colour and difference: the latest round that differs decides.
    // Rounds 4 and 3 are alike; in round 2 player 1 had black.
    SetColors(1, "WBWB");
    SetColors(2, "BWWB");
    UpdateColorHistory(4, 3);
    ASSERT_EQ(State(1).dueColor, 1);
    ASSERT_EQ(State(2).dueColor, 1);
    EXPECT_EQ(DecidePairColors(1, 2, 4), 1);
    EXPECT_EQ(DecidePairColors(2, 1, 4), -1);

    // An absolute colour wins over a preference; a larger difference wins.
    SetColors(1, "WBB");
    SetColors(2, "WB-");
    UpdateColorHistory(3, 3);
    EXPECT_EQ(DecidePairColors(1, 2, 3), 1);
    EXPECT_EQ(DecidePairColors(2, 1, 3), -1);
    SetColors(1, "BWBB");
    SetColors(2, "WBB-");
    RelaxedColorOption = 1;
    UpdateColorHistory(4, 3);
    ASSERT_EQ(State(1).colorFlexible + State(2).colorFlexible, 2);
    EXPECT_EQ(DecidePairColors(2, 1, 4), -1);
    EXPECT_EQ(DecidePairColors(1, 2, 4), 1);
    RelaxedColorOption = 0;

    // Different dues: each his own. The BYE keeps its code.
    SetColors(1, "W");
    SetColors(2, "B");
    UpdateColorHistory(1, 3);
    EXPECT_EQ(DecidePairColors(1, 2, 2), 0);
    EXPECT_EQ(DecidePairColors(4, 0, 2), EncodeGameCode(4, 0, WhiteWinsForfeit));
    EXPECT_EQ(DecidePairColorsBurstein(0, 4, 2), EncodeGameCode(0, 4, BlackWinsForfeit));

    // Identical histories: the higher pairing key, else the lower seeding
    // key, else the name; Burstein takes the higher seeding key.
    SetColors(1, "W");
    SetColors(2, "W");
    UpdateColorHistory(1, 3);
    Players[1].pairingKey = 5;
    Players[2].pairingKey = 6;
    EXPECT_EQ(DecidePairColors(1, 2, 2), EncodeGameCode(2, 1, NotPlayed));
    Players[1].pairingKey = 6;
    EXPECT_EQ(DecidePairColors(1, 2, 2), EncodeGameCode(2, 1, NotPlayed)); // 2390 below 2400
    EXPECT_EQ(DecidePairColorsBurstein(1, 2, 2), EncodeGameCode(1, 2, NotPlayed));
    Players[2].seedingKey = Players[1].seedingKey;
    EXPECT_EQ(DecidePairColors(2, 1, 2), EncodeGameCode(1, 2, NotPlayed)); // "P1" first
    std::strcpy(Players[2].name, Players[1].name);
    EXPECT_EQ(DecidePairColors(2, 1, 2), 0);

    // USCF: the higher score is white, then the higher seeding key.
    Settings.PairingSystem = UscfSystem;
    UpdateColorHistory(1, 3);
    PlayerScores[1].score = 0;
    PlayerScores[2].score = 1;
    EXPECT_EQ(DecidePairColors(1, 2, 2), EncodeGameCode(2, 1, NotPlayed));
    PlayerScores[2].score = 0;
    Players[2].seedingKey = 2500;
    EXPECT_EQ(DecidePairColors(1, 2, 2), EncodeGameCode(2, 1, NotPlayed));
    EXPECT_TRUE(boxes.alerts.empty());
}

TEST_F(ColorHistoryTest, AllocationGivesEveryBoardItsColours) {
    SetColors(1, "W");
    SetColors(2, "B");
    SetColors(3, "B");
    SetColors(4, "W");
    UpdateColorHistory(1, 5);
    SetTestBoard(2, 1, 1, 2, NotPlayed); // 1 due black, 2 due white
    SetTestBoard(2, 2, 3, 4, NotPlayed); // 3 due white, 4 due black
    SetTestBoard(2, 3, 5, 0, NotPlayed);
    AllocateColors(2);
    EXPECT_EQ(GameTable(1, 2), EncodeGameCode(2, 1, NotPlayed));
    EXPECT_EQ(GameTable(2, 2), EncodeGameCode(3, 4, NotPlayed));
    EXPECT_EQ(GameTable(3, 2), EncodeGameCode(5, 0, WhiteWinsForfeit));

    Settings.PairingSystem = FideBursteinSystem;
    SetTestBoard(2, 3, 0, 5, NotPlayed);
    AllocateColors(2);
    EXPECT_EQ(GameTable(3, 2), EncodeGameCode(0, 5, BlackWinsForfeit));
}

TEST_F(ColorHistoryTest, UscfNewcomerNeverPushesHisOpponentPastTheLimits) {
    Settings.PairingSystem = UscfSystem;
    Settings.PlannedRounds = 6;
    SetColors(1, "WBB"); // white absolute
    SetColors(2, "BWW"); // black absolute
    SetColors(3, "---"); // no colour yet
    SetColors(4, "---");
    SetCurrentRound(3);
    UpdateColorHistory(3, 4);
    ASSERT_EQ(State(3).dueColor, -1);
    for (int first : {1, 3}) {
        SCOPED_TRACE(first);
        SetTestBoard(4, 1, first, first == 1 ? 3 : 1, NotPlayed);
        SetTestBoard(4, 2, first == 1 ? 2 : 4, first == 1 ? 4 : 2, NotPlayed);
        AllocateColors(4);
        EXPECT_EQ(GameTable(1, 4), EncodeGameCode(1, 3, NotPlayed));
        EXPECT_EQ(GameTable(2, 4), EncodeGameCode(4, 2, NotPlayed));
    }
}

// A small USCF event over several rounds, one player joining late: after
// every round no player has three games of one colour in a row or a colour
// difference beyond the limit. The newcomer's first game, in the first slot,
// is against a player who has had black twice.
TEST_F(ColorHistoryTest, SeveralUscfRoundsKeepEveryoneInsideTheLimits) {
    Settings.PairingSystem = UscfSystem;
    Settings.PlannedRounds = 6;
    // Boards of each round (first slot, second slot); player 8 has
    // half-point byes in rounds 1 to 3.
    const int pairings[4][4][2] = {
        {{1, 2}, {3, 4}, {5, 6}, {7, 0}},
        {{2, 3}, {4, 1}, {6, 7}, {5, 0}},
        {{1, 3}, {2, 4}, {6, 5}, {7, 0}},
        {{8, 3}, {1, 2}, {4, 6}, {5, 7}},
    };
    for (int round = 1; round <= 4; ++round) {
        SCOPED_TRACE(round);
        UpdateColorHistory(round - 1, PlayerCount);
        SetCurrentRound(round);
        int boards = 0;
        for (const auto& pair : pairings[round - 1])
            SetTestBoard(round, ++boards, pair[0], pair[1], NotPlayed);
        AllocateColors(round);
        if (round <= 3) SetTestBoard(round, ++boards, 8, 0, HalfNoGame);
        for (int board = 1; board <= boards; ++board) {
            int white, black, digit;
            DecodeGameCode(GameTable(board, round), white, black, digit);
            if (digit == NotPlayed) GameTable(board, round) = EncodeGameCode(white, black, Draw);
        }
        RebuildRoundTables(round);
        for (int id = 1; id <= PlayerCount; ++id) {
            const std::string colors = Colors(id, round);
            SCOPED_TRACE(std::to_string(id) + " " + colors);
            EXPECT_EQ(colors.find("WWW"), std::string::npos);
            EXPECT_EQ(colors.find("BBB"), std::string::npos);
            int difference = 0;
            for (char c : colors)
                difference += c == 'W' ? 1 : c == 'B' ? -1 : 0;
            EXPECT_LE(std::abs(difference), ColorLimit());
        }
        if (round == 3) {
            EXPECT_EQ(Colors(3, 3), "WBB");
            UpdateColorHistory(3, PlayerCount);
            EXPECT_EQ(State(8).dueColor, -1);
        }
    }
    EXPECT_EQ(Colors(8, 4), "---B");
    EXPECT_EQ(Colors(3, 4), "WBBW");
    EXPECT_TRUE(boxes.alerts.empty());
}

TEST_F(ColorHistoryTest, FloatersOfAnAcceptedRound) {
    SetTestBoard(2, 1, 1, 2, NotPlayed);
    SetTestBoard(2, 2, 3, 4, NotPlayed);
    SetTestBoard(2, 3, 5, 0, WhiteWinsForfeit);
    PlayerScores[1].score = 1;
    PlayerScores[2].score = 0;
    PlayerScores[3].score = 1;
    PlayerScores[4].score = 1;
    PlayerScores[5].score = 1;
    FloatHistory(3, 2) = 1; // an old mark of the round goes
    MarkRoundFloaters(2);
    EXPECT_EQ(FloatHistory(2, 2), 1);
    EXPECT_EQ(FloatHistory(1, 2), 0);
    EXPECT_EQ(FloatHistory(3, 2), 0);
    EXPECT_EQ(FloatHistory(5, 2), 0); // the BYE's row may get the mark instead

    // Round 1 of a FIDE Dubov tournament marks nothing; other systems clear.
    SetTestBoard(1, 1, 1, 2, NotPlayed);
    FloatHistory(2, 1) = 1;
    MarkRoundFloaters(1);
    EXPECT_EQ(FloatHistory(2, 1), 1);
    Settings.PairingSystem = SwissQuonSystem;
    MarkRoundFloaters(2);
    EXPECT_EQ(FloatHistory(2, 2), 0);
}

} // namespace
