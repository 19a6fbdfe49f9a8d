#include "tournament/elo_preview.h"

#include "support/tournament_state.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class EloPreviewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetTournamentState();
        std::snprintf(Settings.DataFolder, sizeof Settings.DataFolder, "%s/", TM_TEST_OUTPUT_DIR);
        std::strcpy(Settings.Name, "OPEN");
        std::strcpy(Settings.Place, "ROMA");
        const int ratings[] = {2100, 2000, 1800, 1900, 1700};
        const int ks[] = {15, 20, 0, 10, 25};
        for (int i = 0; i < 5; ++i)
            Players[AddTestPlayer(i == 0 ? "A VERY LONG NAME OF A PLAYER" : std::string(1, char('A' + i)),
                                  ratings[i])]
                .k = ks[i];
        Players[4].available = 0;
        PlayerScores[1].ratingVariation = 6.0f;
        PlayerScores[2].ratingVariation = -8.0f;
        SetTestBoard(2, 1, 1, 2, NotPlayed);
        SetTestBoard(2, 2, 3, 4, NotPlayed);
        SetTestBoard(2, 3, 5, 0, WhiteWinsForfeit);
    }
};

TEST_F(EloPreviewTest, ListsOnlyPlayersWithAGameAvailableAndWithK) {
    std::remove(EloPreviewPath().c_str());
    ASSERT_TRUE(WriteEloPreview(5, 2));
    // Player 1 expects 0.64 -> 0.6 against player 2: -9, rint(-1.5) = -2,
    // +6 on his 6. Player 2 expects 0.36 -> 0.4: -8, rint(2), +12 on -8.
    // Player 3 has K 0, player 4 is not available, player 5 has the BYE.
    const std::string expected = "OPEN - ROMA, \r\n"
                                 "\r\n"
                                 "Elo preview at round: 2\r\n"
                                 "\r\n"
                                 "  ID  NAME                   Elo    K    if -   if =   if +\r\n" +
                                 std::string(59, '-') +
                                 "\r\n"
                                 "   1  A VERY LONG NAME OF   2100   15      -3      4     12 \r\n"
                                 "   2  B                     2000   20     -16     -6      4 \r\n";
    EXPECT_EQ(ReadFile(EloPreviewPath()), expected);
}

TEST_F(EloPreviewTest, ByeOnEitherSideAndCorruptBoardsAreLeftOut) {
    GameTable(1, 2) = EncodeGameCode(0, 1, BlackWinsForfeit);
    GameTable(2, 2) = 987654321; // ids beyond the players
    GameTable(0, 2) = 9999;      // more boards than the table holds
    ASSERT_TRUE(WriteEloPreview(5, 2));
    const std::string text = ReadFile(EloPreviewPath());
    EXPECT_EQ(text.find("\r\n   1 "), std::string::npos);
    EXPECT_EQ(text.find("\r\n   2 "), std::string::npos);
    EXPECT_TRUE(WriteEloPreview(5000, 400));
}

TEST_F(EloPreviewTest, MissingFolderWritesNothing) {
    std::strcpy(Settings.DataFolder, "/nonexistent-folder-of-the-preview/");
    EXPECT_FALSE(WriteEloPreview(5, 2));
}

} // namespace
