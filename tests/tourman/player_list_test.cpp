// The player list as the register: rows read back into players, the commit,
// the reader's hooks into the lists and the save that commits first.
#include "support/tourman_driver.h"

#include "toolkit/widgets/list.h"
#include "tourman/main_window.h"
#include "tourman/player_list.h"
#include "tourman/save_tournament.h"
#include "tournament/round_state.h"
#include "tournament/settings.h"
#include "tournament/tournament_file.h"

#include <cstring>
#include <filesystem>

namespace tmt {
namespace {

using PlayerListTest = TourmanTest;

std::vector<std::string> Rows(WkObject* list) {
    std::vector<std::string> rows;
    for (int k = 0; k < WkListGetCount(list); ++k) rows.push_back(WkListGetItem(list, k)->text);
    return rows;
}

TEST_F(PlayerListTest, RowsOfEitherLayoutReadBackIntoTheSamePlayer) {
    // Empty texts, a number wider than its column and a blank gender keep every later field in place.
    Player cases[] = {
        {"ROSSI MARIO", "ITA", "12.03.71", 1, 'm', 0, 0, 0, 0, "IM", 812345, 2411, 51234, 2390, 10},
        {"O'NEIL ANN", "", "00.00.00", 0, 'f', 0, 0, 0, 0, "", 0, 0, 0, 1520, 30},
        {"LONGNAMEWITHTWENTYCH", "GER", "01.01.01", 1, '\0', 0, 0, 0, 0, "WGM", 123456789, 12345, 7, 0, 5},
    };
    for (const Player& c : cases)
        for (int number : {0, 7}) {
            Player back{};
            ASSERT_TRUE(ReadPlayerListRow(PlayerListRow(c, number), back));
            EXPECT_EQ(PlayerListRow(back, number), PlayerListRow(c, number));
            EXPECT_STREQ(back.title, c.title);
            EXPECT_STREQ(back.country, c.country);
            EXPECT_EQ(back.fideId, c.fideId);
            EXPECT_EQ(back.k, c.k);
            EXPECT_EQ(back.gender, c.gender);
        }
    Player untouched{};
    EXPECT_FALSE(ReadPlayerListRow("TOO SHORT", untouched));
}

TEST_F(PlayerListTest, ReadFileFillsTheListsAndTheCommitTakesTheirOrder) {
    ASSERT_TRUE(Start());
    std::strcpy(Settings.BaseName, "club");
    Settings.RatingChoice = 1;
    const char* names[] = {"ZETA", "alpha", "MIKE"};
    for (int id = 1; id <= 3; ++id) {
        Player& p = Players[id];
        std::strcpy(p.name, names[id - 1]);
        std::strcpy(p.title, id == 2 ? "GM" : "NC");
        p.fideRating = id == 3 ? 0 : 2000 + id;
        p.nationalRating = 1500 + id;
        p.gender = 'm';
    }
    PlayerCount = 3;
    for (int closed : {0, 1}) {
        SCOPED_TRACE(closed);
        IsSavedRound = ClosedRegistration = closed;
        for (int id = 1; id <= 3; ++id) Players[id].available = Players[id].name[0] != 'Z';
        ASSERT_TRUE(WriteTournamentFile(0));
        ASSERT_TRUE(ReadTournamentFile(TournamentFilePath(0)));
        const std::vector<std::string> rows = Rows(MainWindow.playerList);
        ASSERT_EQ(rows.size(), 3u);
        // Open: sorted without numbers; closed: numbered in the order the open commit gave.
        EXPECT_EQ(rows[0].substr(0, closed ? 11 : 6), closed ? "  1: ALPHA " : "ALPHA ");
        ASSERT_TRUE(CommitPlayerList());
        for (int id = 1; id <= 3; ++id) {
            EXPECT_EQ(PlayerListRow(Players[id], closed ? id : 0), rows[std::size_t(id - 1)]);
            const Player& p = Players[id];
            EXPECT_EQ(p.ratingUsed, p.fideRating ? p.fideRating : p.nationalRating);
            EXPECT_EQ(p.categoryRank, std::strcmp(p.title, "GM") == 0 ? 20 : 0);
        }
        EXPECT_EQ(Rows(MainWindow.unavailableList).size(), closed ? 1u : 0u);
        EXPECT_EQ(Caption(MainWindow.availableCounter), closed ? "Available: 2" : "Available: 3");
    }
    // Closed: the list keeps file order; the save writes both files.
    std::filesystem::remove(TournamentFilePath(0));
    TournamentSaved = 0;
    EXPECT_TRUE(SaveTournament());
    EXPECT_TRUE(std::filesystem::exists(TournamentFilePath(0)));
    EXPECT_TRUE(std::filesystem::exists(dataFolder + "club.rnd"));
}

} // namespace
} // namespace tmt
