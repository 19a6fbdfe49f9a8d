// A player-list row read back gives the same player, in either layout.
#include "tourman/player_list.h"
#include "tournament/tournament_file.h"

#include <gtest/gtest.h>

namespace {

TEST(PlayerListRowTest, RowsOfEitherLayoutReadBackIntoTheSamePlayer) {
    // Empty texts, a number wider than its column and a blank gender keep every later field in place.
    const Player cases[] = {
        {"ROSSI MARIO", "ITA", "12.03.71", 1, 'm', 0, 0, 0, 0, "IM", 812345, 2411, 51234, 2390, 10},
        {"O'NEIL ANN", "", "00.00.00", 0, 'f', 0, 0, 0, 0, "", 0, 0, 0, 1520, 30},
        {"LONGNAMEWITHTWENTYCH", "GER", "01.01.01", 1, '\0', 0, 0, 0, 0, "WGM", 123456789, 12345, 7, 0, 5},
    };
    for (const Player& c : cases)
        for (int number : {0, 7}) {
            Player back{};
            ASSERT_TRUE(ReadPlayerListRow(PlayerListRow(c, number), back));
            EXPECT_EQ(PlayerListRow(back, number), PlayerListRow(c, number));
            EXPECT_EQ(std::string(back.title) + "|" + back.country + "|" + std::to_string(back.fideId) + "|" +
                          std::to_string(back.k) + "|" + back.gender,
                      std::string(c.title) + "|" + c.country + "|" + std::to_string(c.fideId) + "|" +
                          std::to_string(c.k) + "|" + c.gender);
        }
    Player untouched{};
    EXPECT_FALSE(ReadPlayerListRow("TOO SHORT", untouched));
}

} // namespace
