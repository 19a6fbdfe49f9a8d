#include "tournament/round_save.h"

#include "support/recording_message_box.h"
#include "support/tournament_state.h"
#include "tournament/files/round_state_file.h"
#include "tournament/round_robin.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

std::vector<int> listed;

class RoundSaveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetTournamentState();
        std::snprintf(Settings.DataFolder, sizeof Settings.DataFolder, "%s/", TM_TEST_OUTPUT_DIR);
        std::strcpy(Settings.BaseName, "save");
        for (int i = 0; i < 4; ++i)
            AddTestPlayer("P" + std::to_string(i + 1), 2000 - i);
        ClosedRegistration = 1;
        listed.clear();
        ResultListsWriter = [](int round) {
            listed.push_back(round);
            return true;
        };
    }
    void TearDown() override { ResultListsWriter = nullptr; }
};

TEST_F(RoundSaveTest, RebuildsWritesTheSnapshotAndTheResultLists) {
    SetTestBoard(1, 1, 1, 3, WhiteWins);
    SetTestBoard(1, 2, 4, 2, Draw);
    SetCurrentRound(1);
    std::remove(RoundSnapshotPath(1).c_str());
    ASSERT_TRUE(SaveRound(1));
    EXPECT_EQ(PlayerResultTable(1, 1), WinAtBoard);
    EXPECT_EQ(OpponentTable(2, 1), 4);
    EXPECT_EQ(listed, std::vector<int>{1});

    // The snapshot holds the rebuilt cells: reading it back restores them.
    ClearRoundTables();
    ASSERT_TRUE(ReadSwissState(RoundSnapshotPath(1)));
    EXPECT_EQ(PlayerResultTable(1, 1), WinAtBoard);
    EXPECT_EQ(ColorHistory(3, 1), -1);
    EXPECT_EQ(PlayerResultTable(4, 1), DrawAtBoard);
}

TEST_F(RoundSaveTest, RoundRobinSnapshotHasItsOwnLayout) {
    Settings.PairingSystem = SingleRoundRobinSystem;
    BuildRoundRobinPairings(4); // round 1: 1-4, 2-3
    SetTestBoard(1, 1, 1, 4, BlackWins);
    SetTestBoard(1, 2, 2, 3, WhiteWinsForfeit);
    SetCurrentRound(1);
    ASSERT_TRUE(SaveRound(1));
    ClearRoundTables();
    ASSERT_TRUE(ReadRoundRobinState(RoundSnapshotPath(1)));
    EXPECT_EQ(PlayerResultTable(4, 1), WinAtBoard);
    EXPECT_EQ(OpponentTable(2, 1), 3); // a round robin records forfeits too
}

TEST_F(RoundSaveTest, RoundOutsideTheTablesDoesNothing) {
    EXPECT_FALSE(SaveRound(0));
    EXPECT_FALSE(SaveRound(SwissMaxRound + 1));
    EXPECT_TRUE(listed.empty());
}

TEST_F(RoundSaveTest, UnwritableSnapshotAlertsButStillListsTheResults) {
    RecordingMessageBox boxes;
    std::strcpy(Settings.DataFolder, "/nonexistent-folder-of-the-snapshot/");
    SetTestBoard(1, 1, 1, 3, WhiteWins);
    SetCurrentRound(1);
    EXPECT_FALSE(SaveRound(1));
    EXPECT_EQ(boxes.alerts.size(), 1u);
    EXPECT_EQ(PlayerResultTable(1, 1), WinAtBoard);
    EXPECT_EQ(listed, std::vector<int>{1});
}

} // namespace
