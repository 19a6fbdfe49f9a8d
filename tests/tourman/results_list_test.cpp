// The results page's list: the rows of a round and the rounds it refuses.
#include "support/tourman_driver.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/list.h"
#include "tourman/frame/window_frame.h"
#include "tourman/pages/results/results_list.h"
#include "tourman/pages/results/results_widgets.h"
#include "tournament/game_code.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <cstdio>
#include <string>
#include <vector>

namespace tmt {
namespace {

using ResultsListTest = TourmanTest;

std::vector<std::string> Rows(WkObject* list) {
    std::vector<std::string> rows;
    for (int i = 0; i < WkListGetCount(list); ++i) rows.push_back(WkListGetItem(list, i)->text);
    return rows;
}

TEST_F(ResultsListTest, ListsARound) {
    ASSERT_TRUE(Start());
    Settings.PairingSystem = SwissQuonSystem;
    PlayerCount = 3;
    const char* names[] = {"", "ALPHA", "A VERY LONG NAME CUT OFF", "GAMMA"};
    for (int id = 1; id <= 3; ++id) std::snprintf(Players[id].name, sizeof Players[id].name, "%s", names[id]);
    ResetByePlayer();
    PlayerScores[1].score = 1.5f;
    PlayerScores[3].score = 10.0f;
    GameTable(0, 1) = 2;
    GameTable(1, 1) = EncodeGameCode(2, 1, Draw);
    GameTable(2, 1) = EncodeGameCode(3, 0, WhiteWinsForfeit);
    GameTable(0, 2) = 1;
    GameTable(1, 2) = EncodeGameCode(1, 3, NotPlayed);
    SetCurrentRound(2);

    EXPECT_TRUE(ShowRound(1));
    EXPECT_EQ(ShownRound, 1);
    EXPECT_EQ(Rows(ResultsPage.resultsList),
              (std::vector<std::string>{"  1:   2 A VERY LONG NAME CUT ( 0.0) -   1 ALPHA                ( 1.5) = [\xBD - \xBD]",
                                        "  2:   3 GAMMA                (10.0) -   0 __BYE__              ( 0.0) = [1F- 0]"}));
    EXPECT_EQ(WkListGetItem(ResultsPage.resultsList, 1)->userData, 2);
    EXPECT_FALSE(WkObjectIsSensitive(ResultsPage.repairButton));

    // Enter in the round field lists the round typed; rounds outside 1..2 are refused.
    for (const char* refused : {"0", "3", ""}) {
        Answer(MsgNoSuchRound, 0);
        EXPECT_FALSE(ShowRound(refused)) << refused;
    }
    WkObjectEnable(MainWindow.pages[2]);
    WkObjectEnable(ResultsPage.roundField); // as once round 2's results are closed: a disabled field lists nothing
    WkFormSetPage(MainWindow.notebook, 2);
    WkEditReplaceText(ResultsPage.roundField, "2", 0, 0);
    WkObjectSetFocus(ResultsPage.roundField);
    Press(0x1C, 0x0D, 0, 0x0D);
    EXPECT_EQ(ShownRound, 2);
    EXPECT_EQ(Rows(ResultsPage.resultsList),
              (std::vector<std::string>{"  1:   1 ALPHA                ( 1.5) -   3 GAMMA                (10.0) = [ ... ]"}));
    for (WkObject* button :
         {ResultsPage.repairButton, ResultsPage.colorImprovementButton, ResultsPage.loadResultsButton})
        EXPECT_TRUE(WkObjectIsSensitive(button));
    EXPECT_EQ(boxes.size(), 3u);
}

} // namespace
} // namespace tmt
