// The keyboard of the main window and the dialogs as a desktop user tries
// it: Tab, Shift+Tab and Enter visit the fields in order, a focused field
// or list keeps its cursor and paging keys from the notebook, a field
// showing a full preset text ("00.00.00") is typed over, a field's key or a
// click reaches the field from any page, New and Open land in Name, and one
// selection shows at a time.
#include "support/tourman_driver.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/core/shell.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/list.h"
#include "tourman/commands/tournament_commands.h"
#include "tourman/dialogs/settings_dialog.h"
#include "tourman/dialogs/uscf_section.h"
#include "tourman/frame/window_frame.h"
#include "tourman/pages/pairing/pairing_widgets.h"
#include "tourman/pages/players/players_widgets.h"
#include "tourman/pages/results/results_widgets.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/settings.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace tmt {
namespace {

constexpr std::uint8_t kTab = 0x0F, kEnter = 0x1C, kHome = 0x47, kEnd = 0x4F, kPgDn = 0x51;
using KeyboardTest = TourmanTest;

TEST_F(KeyboardTest, TabShiftTabAndEnterVisitTheFieldsInOrder) {
    ASSERT_TRUE(Start());
    const SettingsFields& s = SettingsDialog;
    const PlayersPageWidgets& w = PlayersPage;
    // The window, opened, and its fields in order.
    using Order = std::function<std::vector<WkObject*>()>;
    const Order form = [&] {
        return std::vector<WkObject*>{w.name,       w.country,    w.birthday,       w.gender,  w.title,
                                      w.fideId,     w.fideRating, w.nationalId,     w.nationalRating,
                                      w.kFactor,    w.available,  w.addButton};
    };
    const Order settings = [&] {
        OpenSettingsDialog(NewTournamentKind);
        return std::vector<WkObject*>{s.name,          s.place,  s.beginDate,   s.endDate,    s.arbiter,
                                      s.pairingSystem, s.rounds, s.scoreSystem, s.tieBreaks[1]};
    };
    const Order section = [] {
        OpenUscfSectionDialog();
        std::vector<WkObject*> fields(std::begin(UscfSection.fields), std::end(UscfSection.fields));
        fields.push_back(UscfSection.cancelButton);
        fields.push_back(UscfSection.doneButton);
        return fields;
    };
    struct Case {
        const Order& order;
        int from; // an index into the order
        std::uint8_t key;
        std::uint32_t modifiers;
        std::vector<int> visited;
    };
    const Case cases[] = {
        {form, 0, kTab, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        {form, 11, kTab, plat::kShift, {10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}},
        {form, 0, kEnter, 0, {1, 2, 3}},
        {settings, 0, kTab, 0, {1, 2, 3, 4, 5, 6, 7, 8}},
        {settings, 8, kTab, plat::kShift, {7, 6, 5, 4, 3, 2, 1, 0}},
        {settings, 0, kEnter, 0, {1, 2, 3, 4, 5}},
        {section, 0, kTab, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0}}, // round the window
        {section, 13, kTab, plat::kShift, {12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}},
        {section, 9, kEnter, 0, {10, 11}},
    };
    for (const Case& c : cases) {
        const std::vector<WkObject*> order = c.order();
        Flush();
        WkObject* window = WkObjectGetShell(order[0]);
        WkObjectSetFocus(order[std::size_t(c.from)]);
        std::vector<int> visited;
        for (std::size_t i = 0; i < c.visited.size(); ++i) {
            Press(c.key, c.key == kTab ? 9 : 0x0D, c.modifiers);
            WkObject* holder = WkFormGetFocus(window);
            visited.push_back(int(std::find(order.begin(), order.end(), holder) - order.begin()));
        }
        EXPECT_EQ(visited, c.visited) << c.from << " " << int(c.key);
        if (window != MainWindow.window) WkShellDestroy(window);
    }
}

// Home, End and the arrows move a field's cursor, PgUp and PgDn page the
// focused list, and the notebook stays on its page.
TEST_F(KeyboardTest, CursorAndPagingKeysStayWithTheFocusedFieldOrList) {
    ASSERT_TRUE(Start());
    for (WkObject* page : {MainWindow.pages[1], MainWindow.pages[2]}) WkObjectSetSensitive(page, 1);
    for (WkObject* list : {PlayersPage.playerList, PairingPage.pairingList, ResultsPage.resultsList})
        for (int i = 0; i < 40; ++i) WkListAddItem(list, ("ROW " + std::to_string(100 + i)).c_str(), 0);
    WkEditReplaceText(PlayersPage.name, "ROSSI", 0, 0);
    WkEditReplaceText(PlayersPage.fideRating, "2400", 0, 0);
    struct Case {
        int page;
        WkObject* const* focus;
        std::vector<std::uint8_t> keys;
        int at; // a field's cursor, a list's current row
    };
    const Case cases[] = {
        {0, &PlayersPage.name, {kEnd}, 5},
        {0, &PlayersPage.name, {kEnd, 0x4B, kPgDn}, 4}, // Left
        {0, &PlayersPage.name, {kEnd, kHome}, 0},
        {0, &PlayersPage.birthday, {kEnd}, 8},
        {0, &PlayersPage.fideRating, {kEnd}, 4},
        {0, &PlayersPage.playerList, {kPgDn, kPgDn}, 24},
        {1, &PairingPage.pairingList, {kPgDn}, 18},
        {2, &ResultsPage.resultsList, {kPgDn, kHome}, 0},
        {2, &ResultsPage.resultsList, {kEnd}, 39}, // the last row
    };
    for (const Case& c : cases) {
        WkFormSetPage(MainWindow.notebook, c.page);
        Flush();
        WkObject* focus = *c.focus;
        WkObjectSetFocus(focus);
        if (focus->classCode == WK_CLASS_EDIT) WkEditSetCursor(focus, 0);
        for (std::uint8_t key : c.keys) Press(key);
        EXPECT_EQ(WkFormGetPage(MainWindow.notebook), c.page) << c.page << " " << int(c.keys[0]);
        EXPECT_EQ(WkFormGetFocus(MainWindow.window), focus);
        const bool field = focus->classCode == WK_CLASS_EDIT;
        EXPECT_EQ(field ? WkEditGetCursor(focus) : WkListRecord(focus)->current, c.at) << int(c.keys[0]);
    }
}

// A field showing a preset text that fills it (the fresh Birthday's
// "00.00.00", the dates of a tournament being modified) is typed over when
// it is reached by Tab, a click or its Ctrl key.
TEST_F(KeyboardTest, AFullPresetTextIsTypedOver) {
    ASSERT_TRUE(Start());
    std::strcpy(Settings.BeginDate, "01042026");
    std::strcpy(Settings.EndDate, "05042026");
    const PlayersPageWidgets& w = PlayersPage;
    const SettingsFields& s = SettingsDialog;
    const std::pair<std::function<WkObject*()>, const char*> cases[] = {
        {[&] { return WkObjectSetFocus(w.country), Press(kTab, 9), w.birthday; }, "12.03.85"},
        {[&] { return Click(w.birthday), w.birthday; }, "12.03.85"},
        {[&] { return Press(0x30, 0x02, plat::kCtrl, 'B'), w.birthday; }, "12.03.85"},
        {[&] {
             OpenSettingsDialog(ModifySettingsKind);
             return WkObjectSetFocus(s.place), Press(kTab, 9), s.beginDate;
         },
         "02042026"},
        {[&] { return OpenSettingsDialog(ModifySettingsKind), Flush(), Click(s.endDate), s.endDate; },
         "06042026"},
    };
    for (const auto& [reach, typed] : cases) {
        Click(w.clearButton);
        WkObject* field = reach();
        Type(typed);
        EXPECT_STREQ(WkEditGetText(field), typed);
        if (SettingsDialog.window) WkShellDestroy(SettingsDialog.window);
    }
}

// The Name field takes the accented letters and upper-cases them, typed or
// pasted, and the player is added under that name.
TEST_F(KeyboardTest, AccentedNamesAreTakenInCapitals) {
    ASSERT_TRUE(Start());
    std::strcpy(Settings.BaseName, "club");
    const struct {
        bool paste;
        const char *text, *name;
    } cases[] = {{false, "M\xFCller", "M\xDCLLER"}, {true, "J\xE4ger", "J\xC4GER"},
                 {false, "\xE9mile \x9A" "ar\xF8", "\xC9MILE \x8A" "AR\xD8"}};
    int added = 0;
    for (const auto& c : cases) {
        Click(PlayersPage.clearButton);
        Click(PlayersPage.name);
        const int beeps = display->beepCount();
        if (c.paste) {
            display->injectClipboardFromOtherProgram(c.text);
            Press(0x2F, 0x16, plat::kCtrl, 'V');
        } else {
            Type(c.text);
        }
        EXPECT_STREQ(WkEditGetText(PlayersPage.name), c.name);
        EXPECT_EQ(display->beepCount(), beeps) << c.text;
        Click(PlayersPage.addButton);
        // Stored padded, in the order of the names.
        bool stored = false;
        for (int id = 1; id <= PlayerCount; ++id)
            stored = stored || std::string(Players[id].name).find(std::string(c.name) + " ") == 0;
        EXPECT_TRUE(stored) << c.name;
        ++added;
    }
    EXPECT_EQ(PlayerCount, added);
}

// A player field's Ctrl key pressed on another page (or another tab of the
// players page) turns to the field; then, the tabs clicked again, a click
// into Name gives Name the keys: the letters go in, End and Down in the
// player list stay on the players page.
TEST_F(KeyboardTest, AFieldKeyOnAnotherPageTurnsToItAndAClickedFieldTakesTheKeys) {
    ASSERT_TRUE(Start());
    const PlayersPageWidgets& w = PlayersPage;
    const std::string players = MessageText(MsgPlayersTab);
    const struct {
        std::string tab;
        std::uint8_t scan, control;
        char letter;
        WkObject* reached;
    } cases[] = {{MessageText(MsgOutputFilesTab), 0x13, 0x12, 'R', w.fideRating},
                 {"Database", 0x1E, 0x01, 'A', w.available}}; // the last field
    for (const auto& c : cases) {
        Click(Find(c.tab));
        Press(c.scan, c.control, plat::kCtrl, std::uint16_t(c.letter));
        EXPECT_EQ(WkFormGetPage(MainWindow.notebook), 0) << c.tab;
        EXPECT_EQ(WkFormGetFocus(MainWindow.window), c.reached) << c.tab;
        for (const std::string& tab : {c.tab, players, std::string("Player list")}) Click(Find(tab));
        Fill(w.name, "abc");
        EXPECT_STREQ(WkEditGetText(w.name), "ABC") << c.tab;
        EXPECT_FALSE(Find(players)->state & WK_STATE_FOCUS) << c.tab;
        Press(kEnd);
        Click(w.playerList);
        Press(0x50); // Down
        EXPECT_EQ(WkFormGetPage(MainWindow.notebook), 0) << c.tab;
        EXPECT_EQ(WkFormGetFocus(MainWindow.window), w.playerList) << c.tab;
    }
}

// File > New and Open show the players page from every page, the focus in
// Name, so that the first name typed goes into the form.
TEST_F(KeyboardTest, NewAndOpenLandOnThePlayersPageFromEveryPage) {
    ASSERT_TRUE(Start());
    NewClubCup("cup");
    for (int k = 0; k < 8; ++k) {
        const int page = k % 4; // New from each page, then Open
        WkFormSetPage(MainWindow.notebook, page);
        WkObjectSetFocus(page == 0 ? PlayersPage.search : MainWindow.pages[page]);
        if (k < 4) {
            NewClubCup("new" + std::to_string(k));
        } else {
            if (TournamentSaved == 0) Answer(MsgLeaveOpenTournament, 1);
            ChooseFile(dataFolder + "cup.qon");
            OpenTournamentCommand();
        }
        Flush();
        EXPECT_EQ(WkFormGetPage(MainWindow.notebook), 0) << k;
        Type("rossi");
        EXPECT_STREQ(WkEditGetText(PlayersPage.name), "ROSSI") << k;
        WkEditReplaceText(PlayersPage.name, "", 0, 0);
    }
}

// After a search ("5", Enter) Tab on to Name leaves Name's the only
// selection on the screen: the number found, selected to be typed over,
// goes with the focus.
TEST_F(KeyboardTest, OneSelectionOnTheScreenAfterASearchAndTab) {
    ASSERT_TRUE(Start());
    NewClubCup("cup");
    const PlayersPageWidgets& w = PlayersPage;
    for (const char* name : {"ARGO", "BELL", "CORTI", "DANTE", "ELIA"}) {
        Fill(w.name, name);
        Click(w.addButton);
    }
    Fill(w.search, "5");
    Press(kEnter, 0x0D);
    for (int i = 0; i < 10 && WkFormGetFocus(MainWindow.window) != w.name; ++i) Press(kTab, 9);
    int from, to, nameFrom, nameTo;
    WkEditGetSelection(w.search, &from, &to);
    WkEditGetSelection(w.name, &nameFrom, &nameTo);
    EXPECT_EQ(to - from, 0);
    EXPECT_EQ(std::string(WkEditGetText(w.name)).substr(std::size_t(nameFrom), std::size_t(nameTo - nameFrom)), "ELIA");
}

} // namespace
} // namespace tmt
