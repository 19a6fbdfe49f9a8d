#include "tourman/main_window.h"

#include "toolkit/core/draw.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/object_config.h"
#include "toolkit/widgets/button_core.h"
#include "toolkit/widgets/combo_box.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/file_viewer.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/form_attach.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/menu.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/menu_bar.h"
#include "toolkit/widgets/message_dialog.h"
#include "toolkit/widgets/progress_bar.h"
#include "toolkit/widgets/push_button.h"
#include "toolkit/widgets/toggle.h"
#include "tourman/bye_dialog.h"
#include "tourman/color_window.h"
#include "tourman/column_filter.h"
#include "tourman/database_page.h"
#include "tourman/export_tournament.h"
#include "tourman/manual_pairing.h"
#include "tourman/extras_commands.h"
#include "tourman/player_database.h"
#include "tourman/save_tournament.h"
#include "tourman/game_dialog.h"
#include "tourman/output_page.h"
#include "tourman/player_form.h"
#include "tourman/results_list.h"
#include "tourman/result_entry.h"
#include "tourman/round_commands.h"
#include "tourman/settings_dialog.h"
#include "tourman/tournament_commands.h"
#include "tournament/message_table.h"

#include <cstdint>
#include <strings.h>
#include <initializer_list>
#include <utility>

MainWindowWidgets MainWindow;

namespace {

// Fonts by slot.
constexpr WkFontSlot kFontFixed = 1, kFontHelvSmall = 4, kFontHelvMedium = 5, kFontTimesMedium = 7;
constexpr int kEtchedIn = 3;

struct Accelerator {
    int key;
    WkObject* MainWindowWidgets::*field;
};

// The Ctrl keys of the player form (scan code * 256 + control character).
constexpr Accelerator kAccelerators[] = {
    {0x310E, &MainWindowWidgets::name},           {0x2E03, &MainWindowWidgets::country},
    {0x3002, &MainWindowWidgets::birthday},       {0x2207, &MainWindowWidgets::gender},
    {0x1414, &MainWindowWidgets::title},          {0x1312, &MainWindowWidgets::fideRating},
    {0x2106, &MainWindowWidgets::fideId},         {0x2004, &MainWindowWidgets::nationalId},
    {0x260C, &MainWindowWidgets::nationalRating}, {0x250B, &MainWindowWidgets::kFactor},
    {0x1E01, &MainWindowWidgets::available},
};

// The player lists' title (100 characters) and the pairing and results
// lists' titles (90 and 89).
constexpr const char* kPlayerListTitle =
    "     NAME                 RatF  RatN  Tit  NAT  AV  BIRTHDAY    ID_FIDE    ID_NAT   K SEX           ";
constexpr const char* kPairingListTitle =
    "Table WHITE PLAYER                      BLACK PLAYER                                      ";
constexpr const char* kResultsListTitle =
    "Table WHITE PLAYER                      BLACK PLAYER                                     ";

struct TitleItem {
    const char* title;
    int rank;
};
constexpr TitleItem kTitles[] = {
    {"GM", 20}, {"WGM", 18}, {"IM", 16}, {"WIM", 14}, {"FM", 12}, {"WFM", 10}, {"M", 9},
    {"CM", 8},  {"A", 6},    {"1N", 6},  {"B", 5},    {"2N", 5},  {"C", 4},    {"3N", 4},
    {"1S", 3},  {"D", 3},    {"2S", 2},  {"E", 2},    {"NC", 0},  {"--", 0},
};
constexpr const char* kFactors[] = {"50", "40", "35", "30", "25", "20", "15", "10", "5", "0"};

int CompareRows(const char* a, const char* b) {
    return strcasecmp(a, b);
}

WkObject* DropDown(WkObject* parent, const char* text, int length, int rows) {
    WkObject* combo = WkCreateComboBox(parent, text, length, length, rows, kFontFixed);
    WkEditSetReadOnly(combo);
    return combo;
}

WkObject* List(WkObject* parent, int length, int rows, const char* title, const char* name, int transparency) {
    WkObject* list = WkCreateList(parent, kFontFixed, length, rows, length);
    WkListSetTitle(list, title);
    WkObjectSetName(list, name);
    WkObjectSetTransparency(list, transparency);
    return list;
}

// The popup menu has a window of its own, which goes with the main window.
void DestroyPopupMenu(WkObject*, WkMessage*, void* menu, std::uint32_t) {
    WkShellDestroy(static_cast<WkObject*>(menu));
}

void OnAccelerator(WkObject* object, std::intptr_t key, void*) {
    FocusFieldByKey(WkObjectGetShell(object), int(key));
}

std::string Text(int message) {
    return MessageText(message);
}

WkObject* Edit(WkObject* parent, int length, int font, int filter, const char* extra = nullptr) {
    WkObject* field = WkCreateEdit(parent, "", length, font);
    WkEditSetFilter(field, filter, extra);
    return field;
}

WkObject* Heading(WkObject* table, const char* text, int red, int green, int blue) {
    WkObject* label = WkCreateLabel(table, text, kFontTimesMedium);
    WkObjectSetOpaque(label);
    WkObjectSetBackgroundRGB(label, red, green, blue);
    WkObjectSetShadow(label, 1, 1, 0);
    return label;
}

WkObject* Button(WkObject* parent, const std::string& caption, WkFontSlot font, int width, int height) {
    WkObject* button = WkCreateButton(parent, caption.c_str(), font);
    if (width > 0) WkObjectSetWidth(button, width);
    if (height > 0) WkObjectSetHeight(button, height);
    return button;
}

WkObject* Page(WkObject* parent) {
    WkObject* page = WkCreateVerticalForm(parent);
    WkObjectSetTransparent(page);
    WkObjectSetShadow(page, 0, 0, 0);
    return page;
}

WkObject* EtchedRow(WkObject* parent, bool vertical, int height) {
    WkObject* form = vertical ? WkCreateVerticalForm(parent) : WkCreateHorizontalForm(parent);
    WkObjectSetShadow(form, kEtchedIn, 1, 2);
    WkObjectSetHeight(form, height);
    WkObjectSetTransparency(form, 100);
    return form;
}

WkMenuItem* Item(WkObject* menu, int message) {
    return WkMenuAddItem(menu, Text(message).c_str(), nullptr, nullptr);
}

WkMenuItem* Item(WkObject* menu, const char* label) {
    return WkMenuAddItem(menu, label, nullptr, nullptr);
}

void OnExit(WkMenuItem*, int, void*) {
    ExitCommand();
}

// An Extras item: its id goes to ExtrasCommand.
WkMenuItem* Extra(WkObject* menu, const std::string& label, std::intptr_t id) {
    return WkMenuAddItem(menu, label.c_str(), OnExtrasItem, reinterpret_cast<void*>(id));
}

// A submenu of Extras items under a new item of the menu.
WkObject* Submenu(WkObject* menu, const std::string& title,
                  std::initializer_list<std::pair<std::string, std::intptr_t>> items) {
    WkObject* submenu = WkCreateSubmenu(WkMenuAddItem(menu, title.c_str(), nullptr, nullptr));
    for (const auto& [label, id] : items) Extra(submenu, label, id);
    return submenu;
}

void BuildMenuBar(WkObject* window) {
    MainWindowWidgets& w = MainWindow;
    w.menuBar = WkCreateMenuBar(window, 2);
    WkMenuBarSetKey(w.menuBar, 0x4400);
    WkObject* file = w.fileMenu = WkMenuBarAddMenu(w.menuBar, "File  ");
    WkMenuAddItem(file, Text(45).c_str(), [](WkMenuItem*, int, void*) { NewTournamentCommand(); }, nullptr);
    WkMenuAddItem(file, Text(46).c_str(), [](WkMenuItem*, int, void*) { OpenTournamentCommand(); }, nullptr);
    w.saveItem = WkMenuAddItem(file, Text(47).c_str(), [](WkMenuItem*, int, void*) { SaveTournament(); }, nullptr);
    WkMenuItemDisable(w.saveItem);
    WkMenuAddSeparator(file);
    WkObject* exports = WkCreateSubmenu(Item(file, "Export"));
    w.exportPlayersItem = WkMenuAddItem(exports, Text(50).c_str(), [](WkMenuItem*, int, void*) { ExportPlayersCommand(); }, nullptr);
    WkMenuAddItem(exports, "Tournament", [](WkMenuItem*, int, void*) { ExportTournamentCommand(); }, nullptr);
    WkMenuAddItem(exports, "Selected Player", [](WkMenuItem*, int, void*) { MovePlayerToFile(); }, nullptr);
    w.databaseMenu = WkCreateSubmenu(Item(file, 51));
    const std::pair<const char*, std::intptr_t> databases[] = {{"Quon", 1}, {"FSI (Italy)", 4}, {"Fide", 2}, {"National", 3}};
    for (int i = 0; i < 4; ++i)
        w.databaseItems[i] = WkMenuAddItem(w.databaseMenu, databases[i].first, ChoosePlayerDatabase,
                                           reinterpret_cast<void*>(databases[i].second));
    // Last, so that a filter can be set before a national list is chosen.
    w.columnFilterItem = WkMenuAddItem(w.databaseMenu, Text(183).c_str(), OnColumnFilterItem, nullptr);
    WkMenuAddSeparator(file);
    w.exitItem = WkMenuAddItem(file, Text(52).c_str(), OnExit, nullptr);

    WkObject* extras = WkMenuBarAddMenu(w.menuBar, "Extras  ");
    Submenu(extras, Text(56), {{Text(57), 0}, {Text(58), 2}});
    Submenu(extras, Text(219), {{"FSI (Italy)", 1}, {"USCF (USA)", 15}});
    WkMenuAddSeparator(extras);
    Submenu(extras, Text(53), {{Text(54), 9}, {Text(55), 10}});
    Extra(extras, "Backup *.qon file", 3);
    Extra(extras, Text(60), 4);
    Extra(extras, Text(210), 12);
    Extra(extras, Text(61), 5);
    Extra(extras, "Select Language", 13);
    WkObject* uscf = Submenu(extras, Text(62), {});
    w.uscfConversionItem = Extra(uscf, Text(63), 7);
    Extra(uscf, Text(211), 14);
    WkMenuAddSeparator(extras);
    WkObject* tournament = WkCreateSubmenu(Item(extras, 64));
    w.loadRoundFileItem =
        WkMenuAddItem(tournament, Text(65).c_str(), [](WkMenuItem*, int, void*) { LoadRoundFileCommand(); }, nullptr);
    WkMenuItemDisable(w.loadRoundFileItem);
    for (std::intptr_t id = 1; id <= 4; ++id)
        WkMenuAddItem(tournament, Text(65 + int(id)).c_str(), OnTournamentMenuItem, reinterpret_cast<void*>(id));

    WkObject* help = WkMenuBarAddMenu(w.menuBar, "Help");
    WkMenuAddItem(help, "Content", OnHelpItem, reinterpret_cast<void*>(std::intptr_t(0)));
    WkMenuAddSeparator(help);
    WkMenuAddItem(help, "About", OnHelpItem, reinterpret_cast<void*>(std::intptr_t(1)));
}

void BuildPlayerForm(WkObject* parent) {
    MainWindowWidgets& w = MainWindow;
    WkObject* form = WkCreateVerticalForm(parent);
    WkObjectSetWidth(form, 540);
    WkObjectSetTransparent(form);
    WkObject* first = WkCreateTableForm(form, 5);
    for (const char* heading : {"Name", "Country", "Birthday", "Gender", "Title"})
        Heading(first, heading, 180, 180, 255);
    w.name = Edit(first, 20, kFontFixed, WK_FILTER_LETTERS | WK_FILTER_SPACE | WK_FILTER_UPPER, "'");
    w.country = Edit(first, 3, kFontFixed, WK_FILTER_LETTERS | WK_FILTER_UPPER);
    w.birthday = Edit(first, 8, kFontFixed, WK_FILTER_DIGITS, ".");
    WkEditSetPlaceholder(w.birthday, "00.00.00");
    w.gender = WkCreateImageToggle3NoLabel(first, "man.bmp", "female.bmp", nullptr);
    w.title = DropDown(first, "GM", 4, 20);
    for (const TitleItem& t : kTitles) WkListAddItem(WkComboBoxGetList(w.title), t.title, t.rank);
    WkObject* second = WkCreateTableForm(form, 6);
    Heading(second, "ID FIDE", 255, 180, 180);
    Heading(second, "Rat FIDE", 255, 180, 180);
    Heading(second, "ID Nat", 180, 255, 180);
    Heading(second, "Rat Nat", 180, 255, 180);
    Heading(second, "K coeff", 180, 255, 180);
    Heading(second, "Available", 255, 255, 255);
    w.fideId = Edit(second, 8, kFontFixed, WK_FILTER_DIGITS);
    w.fideRating = Edit(second, 4, kFontFixed, WK_FILTER_DIGITS);
    w.nationalId = Edit(second, 8, kFontFixed, WK_FILTER_DIGITS);
    w.nationalRating = Edit(second, 4, kFontFixed, WK_FILTER_DIGITS);
    w.kFactor = DropDown(second, "0", 2, 10);
    for (const char* k : kFactors) WkListAddItem(WkComboBoxGetList(w.kFactor), k, 0);
    w.available = WkCreateImageToggle3NoLabel(second, "out.bmp", "in.bmp", nullptr);
    WkToggleSetOn(w.available);
}

void BuildPlayersPage(WkObject* page) {
    MainWindowWidgets& w = MainWindow;
    WkObject* upper = EtchedRow(page, false, 150);
    BuildPlayerForm(upper);
    WkObject* buttons = WkCreateVerticalForm(upper);
    WkObjectSetTransparent(buttons);
    w.addButton = Button(buttons, Text(71), kFontTimesMedium, 145, 40);
    w.changeButton = Button(buttons, Text(72), kFontTimesMedium, 145, 40);
    w.clearButton = Button(buttons, Text(73), kFontTimesMedium, 145, 40);

    WkObject* lower = EtchedRow(page, true, 320);
    WkObjectSetResizable(lower, 1, -1);
    w.playerTabs = WkCreateTabbedVerticalForm(lower, 3, kFontTimesMedium);
    const std::string tabs[3] = {Text(75), Text(76), "Database"};
    for (int i = 2; i >= 0; --i) {
        WkFormSetPage(w.playerTabs, i);
        WkFormSetPageLabelText(w.playerTabs, tabs[i].c_str());
        if (i == 2) {
            BuildDatabasePage(w.playerTabs, nullptr);
            continue;
        }
        WkObject*& list = i == 0 ? w.playerList : w.unavailableList;
        list = WkCreateList(w.playerTabs, kFontFixed, 90, 8, 90);
        WkListSetTitle(list, kPlayerListTitle);
    }
    WkListSetCompareFunction(w.playerList, CompareRows);
    WkObjectConfigure(w.playerList, "List Player", 0x46);
    w.playerListMenu = WkCreatePopupMenu(2);
    WkMenuAddItem(w.playerListMenu, "Modify the Cross Table", [](WkMenuItem*, int, void*) { EditPlayerGames(); }, w.playerList);
    WkMenuAddItem(w.playerListMenu, "Assign BYE", [](WkMenuItem*, int, void*) { AssignByeCommand(); }, w.playerList);
    WkObjectAddEventHandler(w.playerList, ShowPlayerPopup, 1u << (WK_MSG_PRESS - 1), w.playerListMenu);
    WkObject* row = WkCreateHorizontalForm(page);
    WkObjectSetHeight(row, 30);
    WkObjectSetTransparent(row);
    WkCreateLabel(row, Text(74).c_str(), kFontHelvSmall);
    w.search = Edit(row, 15, kFontHelvSmall, WK_FILTER_LETTERS | WK_FILTER_SPACE | WK_FILTER_DIGITS | WK_FILTER_UPPER, "'");
    w.deleteButton = Button(row, Text(77), kFontTimesMedium, 0, 30);
    w.closeRegistrationButton = Button(row, Text(78), kFontTimesMedium, 0, 30);
    for (WkObject* button : {w.deleteButton, w.closeRegistrationButton}) {
        WkObjectSetShadow(button, kEtchedIn, 1, 2);
        WkButtonSetHoverColorRGB(button, 255, 0, 0);
    }
    WkObjectDisable(w.closeRegistrationButton);
}

void BuildPairingPage(WkObject* page) {
    MainWindowWidgets& w = MainWindow;
    WkObject* listForm = WkCreateVerticalForm(page);
    WkObjectSetWidth(listForm, 610);
    WkObjectSetTransparent(listForm);
    w.pairingList = List(listForm, 80, 20, kPairingListTitle, "List Pairing", 100);
    WkObject* row = WkCreateTableForm(page, 4);
    WkObjectSetHeight(row, 100);
    WkObjectSetTransparent(row);
    WkObject* toggles = WkCreateVerticalForm(row);
    WkObjectSetTransparent(toggles);
    w.pairingToggles[0] = WkCreateToggle(toggles, Text(80).c_str(), kFontHelvSmall);
    w.pairingToggles[1] = WkCreateToggle(toggles, Text(81).c_str(), kFontHelvSmall);
    WkObject* columns[3];
    for (WkObject*& column : columns) {
        column = WkCreateVerticalForm(row);
        WkObjectSetTransparent(column);
    }
    w.pairButton = Button(columns[0], Text(84), kFontHelvMedium, 110, 0);
    w.manualPairingButton = Button(columns[0], Text(85), kFontHelvMedium, 110, 0);
    w.acceptButton = Button(columns[1], Text(86), kFontHelvMedium, 110, 0);
    w.cancelButton = Button(columns[1], Text(87), kFontHelvMedium, 110, 0);
    WkObjectSetForegroundRGB(w.cancelButton, 255, 10, 10);
    WkObjectDisable(w.acceptButton);
    WkObjectDisable(w.cancelButton);
    w.logsButton = Button(columns[2], Text(88), kFontHelvMedium, 110, 0);
    w.printPairingsButton = Button(columns[2], Text(89), kFontHelvMedium, 110, 0);
}

// The result buttons, in the order of their row; the digit in brackets is
// the result each one enters.
constexpr const char* kResultCaptions[] = {
    "1 - 0 [1]", "0 - 1 [0]", "\xBD - \xBD [5]", "1F- 0 [3]", "0 -1F [4]", "0F-0F [2]", "\xBD" "F-\xBD" "F [6]",
    " adj [7]", "\xBD FNB [8]",
};

void BuildResultsPage(WkObject* page) {
    MainWindowWidgets& w = MainWindow;
    WkObject* top = WkCreateHorizontalForm(page);
    WkObjectSetTransparency(top, 155);
    WkCreateLabel(top, Text(91).c_str(), kFontHelvSmall);
    w.roundField = Edit(top, 2, kFontHelvSmall, WK_FILTER_DIGITS);
    w.repairButton = WkCreateButton(top, Text(93).c_str(), kFontHelvSmall);
    w.colorImprovementButton = WkCreateButton(top, Text(92).c_str(), kFontHelvSmall);
    w.loadResultsButton = WkCreateButton(top, Text(213).c_str(), kFontHelvSmall);
    w.resultsToggle = WkCreateToggle(top, Text(206).c_str(), kFontHelvSmall);
    WkObjectSetWidth(w.resultsToggle, 140);
    WkObjectSetOpaque(w.resultsToggle);
    WkObjectSetColors(w.resultsToggle, WkAllocColor(255, 0, 0), WkWhiteColor());

    w.resultsList = List(page, 80, 15, kResultsListTitle, "List Result", 155);
    WkObjectSetHeight(w.resultsList, 345);

    WkObject* board = WkCreateHorizontalForm(page);
    WkObjectSetHeight(board, 40);
    WkObjectSetTransparency(board, 100);
    WkObject* table = WkCreateLabel(board, "Table", kFontHelvSmall);
    WkLabelSetAlignment(table, WK_ALIGN_RIGHT);
    w.boardField = Edit(board, 3, kFontHelvSmall, WK_FILTER_DIGITS);
    w.boardLabel = WkCreateLabel(board, Text(41).c_str(), kFontHelvSmall);
    WkLabelSetAlignment(w.boardLabel, WK_ALIGN_LEFT);
    WkObjectSetWidth(w.boardLabel, 500);
    WkObjectSetForegroundColor(w.boardLabel, WkBlackColor());
    w.resultKeyField = Edit(board, 2, kFontHelvSmall, WK_FILTER_DIGITS | WK_FILTER_SPACE, "x");

    WkObject* results = WkCreateHorizontalForm(page);
    WkObjectSetTransparent(results);
    int i = 0;
    for (const char* caption : kResultCaptions) {
        w.resultButtons[i++] = WkCreateButton(results, caption, kFontHelvSmall);
    }
    WkObjectSetBackgroundRGB(w.resultButtons[8], 255, 50, 50);
}

void BuildOutputPage(WkObject* page) {
    WkObject* viewer = MainWindow.fileViewer = WkCreateFileViewer(page, "", kFontFixed, 15, 40);
    WkListSetTitle(viewer, std::string(115, ' ').c_str());
    WkObjectSetName(viewer, "Window File");
    WkObjectSetTransparency(viewer, 155);
    MainWindow.outputButtons = WkCreateTableForm(page, 6);
    WkObjectSetTransparent(MainWindow.outputButtons);
}

void BuildStatusBar(WkObject* window) {
    MainWindowWidgets& w = MainWindow;
    WkObject* bar = WkCreateHorizontalForm(window);
    WkObjectSetTransparent(bar);
    const int colours[2][3] = {{224, 224, 176}, {160, 192, 144}};
    WkObject** counters[2] = {&w.playerCounter, &w.availableCounter};
    for (int i = 0; i < 2; ++i) {
        std::string text = Text(110 + i) + " 0";
        WkObject* counter = WkCreateLabel(bar, text.c_str(), kFontHelvSmall);
        WkObjectSetOpaque(counter);
        WkObjectSetBackgroundRGB(counter, colours[i][0], colours[i][1], colours[i][2]);
        WkObjectSetShadow(counter, 2, 1, 0);
        WkObjectSetWidth(counter, 115);
        WkObjectSetResizable(counter, 0, 0);
        *counters[i] = counter;
    }
    w.statusLine = WkCreateProgressBar(bar, Text(112).c_str(), 100, kFontHelvSmall);
}

} // namespace

WkObject* BuildMainWindow() {
    MainWindowWidgets& w = MainWindow;
    w = MainWindowWidgets();
    w.window = WkCreateShell(ProgramTitle, WK_SHELL_NO_CLOSE);
    WkObjectSetBackgroundImageFile(WkFormOf(w.window), "tile1.bmp", WK_IMAGE_TILED);
    WkFormSetSpacing(WkFormOf(w.window), 0);
    for (const Accelerator& a : kAccelerators) WkAddAccelerator(w.window, a.key, OnAccelerator, nullptr);
    BuildMenuBar(w.window);

    w.notebook = WkCreateTabbedVerticalForm(w.window, 4, kFontTimesMedium);
    WkObjectSetTransparency(w.notebook, 255);
    const int tabs[4] = {70, 79, 90, 94};
    for (int i = 3; i >= 0; --i) {
        WkFormSetPage(w.notebook, i);
        w.pages[i] = Page(w.notebook);
        WkFormSetPageLabelText(w.notebook, Text(tabs[i]).c_str());
    }
    BuildPlayersPage(w.pages[0]);
    BuildPairingPage(w.pages[1]);
    BuildResultsPage(w.pages[2]);
    BuildOutputPage(w.pages[3]);
    WkObjectDisable(w.pages[1]);
    WkObjectDisable(w.pages[2]);
    BuildStatusBar(w.window);
    WkObjectAddDestroyHandler(w.window, DestroyPopupMenu, w.playerListMenu);
    ConnectResultsList();
    ConnectResultEntry();
    ConnectRoundCommands();
    ConnectPlayerForm();
    ConnectColorImprovement();
    ConnectManualPairing();
    ConnectTournamentCommands();
    ConnectOutputPage();
    ConnectExtrasCommands();
    return w.window;
}

int AskYesNo(const char* title, const char* text) {
    return WkMessageDialog(title, text, Text(1).c_str(), Text(0).c_str(), nullptr) == 1 ? 1 : 0;
}

int FocusFieldByKey(WkObject*, int key) {
    for (const Accelerator& a : kAccelerators) {
        if (a.key != key) continue;
        if (WkObject* field = MainWindow.*a.field) WkObjectSetFocus(field);
        return 0;
    }
    return key;
}
