// Score groups and the three BYE rules, on hand-built rounds.

#include "pairing/score_groups.h"
#include "pairing/trace.h"
#include "support/recording_message_box.h"
#include "support/tournament_state.h"
#include "tournament/game_code.h"
#include "tournament/message_table.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

class ScoreGroups : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetTournamentState();
        ClearScoreGroups(0);
        ClearMessageTable();
        SetMessageText(MsgNoByeReceiver, "No BYE");
        SetCurrentRound(3);
    }
    void TearDown() override {
        ClearScoreGroups(0);
        PairingTrace = nullptr;
        ResetTournamentState();
    }

    // A player on a score, due white or black, eligible for the BYE.
    int Add(float score, int seed, int dueColor = 1, const std::string& name = "") {
        const int id = AddTestPlayer(name.empty() ? "P" + std::to_string(PlayerCount + 1) : name, seed);
        PlayerScores[id].score = score;
        PairingStates[id].dueColor = dueColor;
        PairingStates[id].colorFlexible = 1;
        PairingStates[id].byeEligibility = 1;
        return id;
    }

    std::vector<int> Ids(const PlayerList& list) {
        std::vector<int> ids;
        for (const IdNode* n = list.head; n != nullptr; n = n->next)
            ids.push_back(n->id);
        return ids;
    }

    int ByeReceiver(int n) {
        int w, b, d;
        DecodeGameCode(GameTable((n - 1) / 2 + 1, 3), w, b, d);
        return b == 0 && d == WhiteWinsForfeit ? w : 0;
    }

    RecordingMessageBox boxes;
};

TEST_F(ScoreGroups, OneScoreMakesOneGroup) {
    Settings.PairingSystem = FideDubovSystem;
    for (int i = 0; i < 6; ++i)
        Add(1.0f, 2000 + i, i % 2);
    int groups = 0;
    EXPECT_EQ(MakeScoreGroups(PlayerCount, groups), 6);
    EXPECT_EQ(groups, 1);
    EXPECT_EQ(ScoreGroupSize(1), 6);
    EXPECT_EQ(PlayerListCount(ScoreGroupAt(1).whiteDue), 3);
    EXPECT_EQ(PlayerListCount(ScoreGroupAt(1).blackDue), 3);
    EXPECT_EQ(ScoreGroupAt(1).score, 1.0f);
    EXPECT_EQ(GameTable(3, 3), 0) << "no BYE for an even field";
}

TEST_F(ScoreGroups, GroupsFollowTheScoresDownAndSetBothGroupFields) {
    Settings.PairingSystem = SwissQuonSystem;
    const int a = Add(1.0f, 1500), b = Add(2.0f, 1500), c = Add(1.5f, 1500), d = Add(0.0f, 1500),
              e = Add(1.5f, 1500);
    Add(9.0f, 1500);
    Players[6].available = 0; // not available: in no group
    int groups = 0;
    EXPECT_EQ(MakeScoreGroups(PlayerCount, groups), 5);
    EXPECT_EQ(groups, 4);
    EXPECT_EQ(ScoreGroupSize(1) + ScoreGroupSize(2) + ScoreGroupSize(3) + ScoreGroupSize(4), 4); // one got the BYE
    EXPECT_EQ(PairingStates[b].initialGroup, 1);
    EXPECT_EQ(PairingStates[c].currentGroup, 2);
    EXPECT_EQ(PairingStates[e].initialGroup, 2);
    EXPECT_EQ(PairingStates[a].initialGroup, 3);
    EXPECT_EQ(PairingStates[d].initialGroup, 4);
    EXPECT_EQ(ByeReceiver(5), d);
    EXPECT_EQ(ScoreGroupSize(4), 0);
}

TEST_F(ScoreGroups, UnusualPointsMakeMoreGroupsThanAnyRoundCountWouldAllowAndClearingEmptiesThemAll) {
    Settings.PairingSystem = FideDubovSystem;
    Settings.ScoreSystem = {3.0f, 1.0f};
    for (int i = 0; i < 200; ++i)
        Add(static_cast<float>(i) * 0.37f, 2000);
    int groups = 0;
    EXPECT_EQ(MakeScoreGroups(PlayerCount, groups), 200);
    EXPECT_EQ(groups, 200);
    EXPECT_EQ(ScoreGroupSize(200), 1);
    ClearScoreGroups(1); // the round's number no longer limits what goes
    for (int g = 1; g <= 200; ++g)
        ASSERT_EQ(ScoreGroupSize(g), 0) << g;
    EXPECT_EQ(ScoreGroupSize(-1), 0);
    EXPECT_EQ(ScoreGroupSize(100000), 0);
}

TEST_F(ScoreGroups, SwissByeTakesTheLowestSeedThenTheHigherPairingKeyThenTheLastName) {
    Settings.PairingSystem = FideDubovSystem;
    Add(1.0f, 2000);
    Add(1.0f, 2100);
    const int x = Add(0.0f, 1500, 1, "XAVER"), y = Add(0.0f, 1500, 1, "YORK");
    Add(0.0f, 1600);
    Players[x].pairingKey = Players[y].pairingKey = 1700;
    int groups = 0;
    ASSERT_EQ(MakeScoreGroups(PlayerCount, groups), 5);
    EXPECT_EQ(ByeReceiver(5), y) << "equal keys: the name that sorts last";
    EXPECT_EQ(PlayerListFind(ScoreGroupAt(2).whiteDue, y), nullptr);

    ClearScoreGroups(3);
    GameTable(3, 3) = 0;
    Players[x].pairingKey = 1800;
    ASSERT_EQ(MakeScoreGroups(PlayerCount, groups), 5);
    EXPECT_EQ(ByeReceiver(5), x) << "the greater pairing key";
}

TEST_F(ScoreGroups, SwissBlackDuePlayerTakesAnEqualSeedOnlyWithABlackSurplus) {
    Settings.PairingSystem = SwissQuonSystem;
    Add(2.0f, 2000);
    Add(2.0f, 2000);
    const int white = Add(0.0f, 1500, 1);
    const int black = Add(0.0f, 1500, 0);
    Add(0.0f, 1900, 0);
    int groups = 0;
    ASSERT_EQ(MakeScoreGroups(PlayerCount, groups), 5);
    EXPECT_EQ(ByeReceiver(5), black);
    EXPECT_EQ(PlayerListFind(ScoreGroupAt(2).blackDue, black), nullptr);

    ClearScoreGroups(3);
    PairingStates[5].dueColor = 1; // now more white-due players
    ASSERT_EQ(MakeScoreGroups(PlayerCount, groups), 5);
    EXPECT_EQ(ByeReceiver(5), white);
}

TEST_F(ScoreGroups, SwissByeSkipsIneligiblePlayersAndMovesUpAGroup) {
    Settings.PairingSystem = FideDubovSystem;
    const int half = Add(1.0f, 2200);
    Add(1.0f, 2300);
    Add(1.0f, 2500);
    const int low1 = Add(0.0f, 1000), low2 = Add(0.0f, 1100);
    PairingStates[low1].byeEligibility = 0;
    PairingStates[low2].byeEligibility = 0;
    PairingStates[half].byeEligibility = 2; // a half point without play still may
    int groups = 0;
    ASSERT_EQ(MakeScoreGroups(PlayerCount, groups), 5);
    EXPECT_EQ(ByeReceiver(5), half);
}

TEST_F(ScoreGroups, UscfByePassesUnratedOverAndTakesOnlyFullEligibility) {
    Settings.PairingSystem = UscfSystem;
    Add(1.0f, 2000);
    Add(1.0f, 2000);
    const int unrated = Add(0.0f, 0);
    const int rated = Add(0.0f, 2200);
    const int half = Add(0.0f, 1200);
    PairingStates[half].byeEligibility = 2;
    int groups = 0;
    ASSERT_EQ(MakeScoreGroups(PlayerCount, groups), 5);
    EXPECT_EQ(groups, 2);
    EXPECT_EQ(ScoreGroupSize(2), 2) << "USCF keeps the whole group in one list";
    EXPECT_EQ(ByeReceiver(5), rated);
    (void)unrated;
}

TEST_F(ScoreGroups, BursteinByeGoesToTheUnratedFirst) {
    Settings.PairingSystem = FideBursteinSystem;
    Add(1.0f, 2000);
    Add(1.0f, 2000);
    Add(0.0f, 1200);
    const int unrated = Add(0.0f, 0);
    Add(0.0f, 1100);
    std::ostringstream trace;
    PairingTrace = &trace;
    VerboseOption = 1;
    int groups = 0;
    ASSERT_EQ(MakeScoreGroups(PlayerCount, groups), 5);
    EXPECT_EQ(ByeReceiver(5), unrated);
    EXPECT_EQ(trace.str(), " BYE awarded to player: 4 P4\n in group 2, Rating = 0\n");
}

TEST_F(ScoreGroups, TraceLinesOfTheSwissAndUscfChoosers) {
    std::ostringstream trace;
    PairingTrace = &trace;
    VerboseOption = 1;
    Settings.PairingSystem = FideDubovSystem;
    Add(0.0f, 1500, 0, "ZED");
    Players[1].pairingKey = 1612.5f;
    int groups = 0;
    ASSERT_EQ(MakeScoreGroups(PlayerCount, groups), 1);
    EXPECT_EQ(trace.str(), " BYE awarded to player: 1 ZED, group 1\n duecolor = BLACK, Rating = 1500, ARO = 1612.5\n");

    trace.str("");
    ClearScoreGroups(3);
    Settings.PairingSystem = UscfSystem;
    ASSERT_EQ(MakeScoreGroups(PlayerCount, groups), 1);
    EXPECT_EQ(trace.str(), " --- BYE awarded to player 1\n");
}

TEST_F(ScoreGroups, NobodyEligibleAlertsWritesNoByeAndFails) {
    for (int system : {FideDubovSystem, UscfSystem, FideBursteinSystem}) {
        ClearScoreGroups(3);
        ResetTournamentState();
        SetCurrentRound(3);
        boxes.alerts.clear();
        Settings.PairingSystem = system;
        for (int i = 0; i < 5; ++i)
            PairingStates[Add(static_cast<float>(i % 2), 1500 + i)].byeEligibility = 0;
        int groups = 0;
        EXPECT_EQ(MakeScoreGroups(PlayerCount, groups), -1) << system;
        EXPECT_EQ(boxes.alertTexts(), std::vector<std::string>{"No BYE"});
        EXPECT_EQ(GameTable(3, 3), 0);
        EXPECT_EQ(ScoreGroupSize(1) + ScoreGroupSize(2), 5) << "everybody stays in his group";
    }
}

} // namespace
