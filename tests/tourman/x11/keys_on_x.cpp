// The player form by keyboard through the X server: a player typed field by
// field with Tab between them, as a user does, the Birthday's "00.00.00"
// typed over, and added with Enter on the focused add button.
#include "tourman/main_window/window_frame.h"
#include "tourman/pages/players/players_widgets.h"
#include "x_driver.h"

#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/list.h"
#include "tournament/players.h"

namespace xev {
namespace {

using KeysOnX = XProgramTest;

TEST_F(KeysOnX, TypesAPlayerWithTabAndAddsHim) {
    StartTourman("keys");
    Click(PlayersPage.name);
    // Name, country, birthday; gender and title passed over; FIDE id and rating.
    const char* steps[] = {"ROSSI MARIO", "ita", "12.03.85", nullptr, nullptr, "12345678", "2400"};
    for (const char* text : steps) {
        if (text) Xdo(std::string("type --delay 5 '") + text + "'");
        Key("Tab");
    }
    EXPECT_EQ(WkFormGetFocus(MainWindow.window), PlayersPage.nationalId);
    Png(MainWindow.window, "keys-player-typed.png");
    Key("Tab Tab Tab Tab"); // national rating, K, available, add
    ASSERT_EQ(WkFormGetFocus(MainWindow.window), PlayersPage.addButton);
    Key("Return");
    Pump(400);
    ASSERT_EQ(WkListGetCount(PlayersPage.playerList), 1);
    EXPECT_EQ(std::string(WkListGetItem(PlayersPage.playerList, 0)->text),
              "ROSSI MARIO                2400     0   NC  ITA  1   12.03.85   12345678         0  30  m");
    EXPECT_EQ(PlayerCount, 1);
    // The form is cleared for the next player, with the focus on Name.
    EXPECT_STREQ(WkEditGetText(PlayersPage.birthday), "00.00.00");
    EXPECT_EQ(WkFormGetFocus(MainWindow.window), PlayersPage.name);
    Png(MainWindow.window, "keys-player-added.png");
}

} // namespace
} // namespace xev
