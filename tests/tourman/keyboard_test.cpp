// The keyboard of the main window and the dialogs as a desktop user tries
// it: Tab, Shift+Tab and Enter visit the fields in order, a focused field
// or list keeps its cursor and paging keys from the notebook, and a field
// showing a full preset text ("00.00.00") is typed over.
#include "support/tourman_driver.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/core/shell.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/list.h"
#include "tourman/main_window.h"
#include "tourman/settings_dialog.h"
#include "tourman/uscf_section.h"
#include "tournament/settings.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

namespace tmt {
namespace {

constexpr std::uint8_t kTab = 0x0F, kEnter = 0x1C, kHome = 0x47, kEnd = 0x4F, kPgDn = 0x51;
using KeyboardTest = TourmanTest;

TEST_F(KeyboardTest, TabShiftTabAndEnterVisitTheFieldsInOrder) {
    ASSERT_TRUE(Start());
    const MainWindowWidgets& w = MainWindow;
    const SettingsFields& s = SettingsDialog;
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
        if (window != w.window) WkShellDestroy(window);
    }
}

// Home, End and the arrows move a field's cursor, PgUp and PgDn page the
// focused list, and the notebook stays on its page.
TEST_F(KeyboardTest, CursorAndPagingKeysStayWithTheFocusedFieldOrList) {
    ASSERT_TRUE(Start());
    MainWindowWidgets& w = MainWindow;
    for (WkObject* page : {w.pages[1], w.pages[2]}) WkObjectSetSensitive(page, 1);
    for (WkObject* list : {w.playerList, w.pairingList, w.resultsList})
        for (int i = 0; i < 40; ++i) WkListAddItem(list, ("ROW " + std::to_string(100 + i)).c_str(), 0);
    WkEditReplaceText(w.name, "ROSSI", 0, 0);
    WkEditReplaceText(w.fideRating, "2400", 0, 0);
    struct Case {
        int page;
        WkObject* MainWindowWidgets::*focus;
        std::vector<std::uint8_t> keys;
        int at; // a field's cursor, a list's current row
    };
    const Case cases[] = {
        {0, &MainWindowWidgets::name, {kEnd}, 5},
        {0, &MainWindowWidgets::name, {kEnd, 0x4B, kPgDn}, 4}, // Left
        {0, &MainWindowWidgets::name, {kEnd, kHome}, 0},
        {0, &MainWindowWidgets::birthday, {kEnd}, 8},
        {0, &MainWindowWidgets::fideRating, {kEnd}, 4},
        {0, &MainWindowWidgets::playerList, {kPgDn, kPgDn}, 24},
        {1, &MainWindowWidgets::pairingList, {kPgDn}, 18},
        {2, &MainWindowWidgets::resultsList, {kPgDn, kHome}, 0},
        {2, &MainWindowWidgets::resultsList, {kEnd}, 39}, // the last row
    };
    for (const Case& c : cases) {
        WkFormSetPage(w.notebook, c.page);
        Flush();
        WkObject* focus = w.*c.focus;
        WkObjectSetFocus(focus);
        if (focus->classCode == WK_CLASS_EDIT) WkEditSetCursor(focus, 0);
        for (std::uint8_t key : c.keys) Press(key);
        EXPECT_EQ(WkFormGetPage(w.notebook), c.page) << c.page << " " << int(c.keys[0]);
        EXPECT_EQ(WkFormGetFocus(w.window), focus);
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
    const MainWindowWidgets& w = MainWindow;
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

} // namespace
} // namespace tmt
