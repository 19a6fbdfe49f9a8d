#include "tourman/main_window/main_window.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/shell.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/menu.h"
#include "toolkit/widgets/menu_bar.h"
#include "toolkit/widgets/progress_bar.h"
#include "tourman/commands/export_tournament.h"
#include "tourman/commands/extras_commands.h"
#include "tourman/commands/save_tournament.h"
#include "tourman/commands/tournament_commands.h"
#include "tourman/dialogs/column_filter.h"
#include "tourman/frame/window_frame.h"
#include "tourman/main_window/show_tournament.h"
#include "tourman/pages/output/output_page.h"
#include "tourman/pages/output/output_widgets.h"
#include "tourman/pages/pairing/pairing_page.h"
#include "tourman/pages/pairing/pairing_widgets.h"
#include "tourman/pages/players/database_page.h"
#include "tourman/pages/players/player_database.h"
#include "tourman/pages/players/player_form.h"
#include "tourman/pages/players/players_page.h"
#include "tourman/pages/players/players_widgets.h"
#include "tourman/pages/results/results_page.h"
#include "tourman/pages/results/results_widgets.h"
#include "tournament/message_table.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

namespace {

// Fonts by slot.
constexpr WkFontSlot kFontHelvSmall = 4, kFontTimesMedium = 7;

std::string Text(int message) {
    return MessageText(message);
}

WkObject* Page(WkObject* parent) {
    WkObject* page = WkCreateVerticalForm(parent);
    WkObjectSetTransparent(page);
    WkObjectSetShadow(page, 0, 0, 0);
    return page;
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
    WkMenuAddItem(
        file, Text(MsgNewTournament).c_str(), [](WkMenuItem*, int, void*) { NewTournamentCommand(); },
        nullptr);
    WkMenuAddItem(
        file, Text(MsgOpenTournament).c_str(), [](WkMenuItem*, int, void*) { OpenTournamentCommand(); },
        nullptr);
    w.saveItem = WkMenuAddItem(
        file, Text(MsgSave).c_str(), [](WkMenuItem*, int, void*) { SaveTournamentCommand(); }, nullptr);
    WkMenuAddSeparator(file);
    WkObject* exports = WkCreateSubmenu(Item(file, "Export"));
    w.exportPlayersItem = WkMenuAddItem(
        exports, Text(MsgExportPlayersItem).c_str(), [](WkMenuItem*, int, void*) { ExportPlayersCommand(); },
        nullptr);
    WkMenuAddItem(exports, "Tournament", [](WkMenuItem*, int, void*) { ExportTournamentCommand(); }, nullptr);
    WkMenuAddItem(exports, "Selected Player", [](WkMenuItem*, int, void*) { MovePlayerToFile(); }, nullptr);
    w.databaseMenu = WkCreateSubmenu(Item(file, MsgPlayerDatabaseMenu));
    const std::pair<const char*, std::intptr_t> databases[] = {{"Quon", 1}, {"FSI (Italy)", 4}, {"Fide", 2}, {"National", 3}};
    for (int i = 0; i < 4; ++i)
        w.databaseItems[i] = WkMenuAddItem(w.databaseMenu, databases[i].first, ChoosePlayerDatabase,
                                           reinterpret_cast<void*>(databases[i].second));
    // Last, so that a filter can be set before a national list is chosen.
    w.columnFilterItem =
        WkMenuAddItem(w.databaseMenu, Text(MsgColumnFilter).c_str(), OnColumnFilterItem, nullptr);
    WkMenuAddSeparator(file);
    w.exitItem = WkMenuAddItem(file, Text(MsgExit).c_str(), OnExit, nullptr);

    WkObject* extras = WkMenuBarAddMenu(w.menuBar, "Extras  ");
    Submenu(extras, Text(MsgFideReportMenu),
            {{Text(MsgFideFilesByStandings), 0}, {Text(MsgFideFilesByRating), 2}});
    Submenu(extras, Text(MsgNationalReportsMenu), {{"FSI (Italy)", 1}, {"USCF (USA)", 15}});
    WkMenuAddSeparator(extras);
    Submenu(extras, Text(MsgPlayerListsMenu), {{Text(MsgListByName), 9}, {Text(MsgListByRating), 10}});
    Extra(extras, "Backup *.qon file", 3);
    Extra(extras, Text(MsgRatingGroupsItem), 4);
    Extra(extras, Text(MsgBirthDateGroupsItem), 12);
    Extra(extras, Text(MsgTournamentStatistics), 5);
    Extra(extras, "Select Language", 13);
    WkObject* uscf = Submenu(extras, Text(MsgToolsMenu), {});
    w.uscfConversionItem = Extra(uscf, Text(MsgConvertUscfDatabase), 7);
    Extra(uscf, Text(MsgRoundRobinTableItem), 14);
    WkMenuAddSeparator(extras);
    WkObject* tournament = WkCreateSubmenu(Item(extras, MsgTournamentMenu));
    w.loadRoundFileItem = WkMenuAddItem(
        tournament, Text(MsgLoadRoundFileItem).c_str(),
        [](WkMenuItem*, int, void*) { LoadRoundFileCommand(); }, nullptr);
    for (std::intptr_t id = 1; id <= 4; ++id)
        WkMenuAddItem(tournament, Text(MsgTournamentSettings + int(id) - 1).c_str(), OnTournamentMenuItem,
                      reinterpret_cast<void*>(id));

    WkObject* help = WkMenuBarAddMenu(w.menuBar, "Help");
    WkMenuAddItem(help, "Content", OnHelpItem, reinterpret_cast<void*>(std::intptr_t(0)));
    WkMenuAddSeparator(help);
    WkMenuAddItem(help, "About", OnHelpItem, reinterpret_cast<void*>(std::intptr_t(1)));
}

void BuildStatusBar(WkObject* window) {
    MainWindowWidgets& w = MainWindow;
    WkObject* bar = WkCreateHorizontalForm(window);
    WkObjectSetTransparent(bar);
    const int colours[2][3] = {{224, 224, 176}, {160, 192, 144}};
    WkObject** counters[2] = {&w.playerCounter, &w.availableCounter};
    for (int i = 0; i < 2; ++i) {
        std::string text = Text(MsgPlayersCounter + i) + " 0";
        WkObject* counter = WkCreateLabel(bar, text.c_str(), kFontHelvSmall);
        WkObjectSetOpaque(counter);
        WkObjectSetBackgroundRGB(counter, colours[i][0], colours[i][1], colours[i][2]);
        WkObjectSetShadow(counter, 2, 1, 0);
        WkObjectSetWidth(counter, 115);
        WkObjectSetResizable(counter, 0, 0);
        *counters[i] = counter;
    }
    w.statusLine = WkCreateProgressBar(bar, Text(MsgReady).c_str(), 100, kFontHelvSmall);
}

} // namespace

WkObject* BuildMainWindow() {
    MainWindowWidgets& w = MainWindow;
    w = MainWindowWidgets();
    w.window = WkCreateShell(ProgramTitle, WK_SHELL_NO_CLOSE);
    WkObjectSetBackgroundImageFile(WkFormOf(w.window), "tile1.bmp", WK_IMAGE_TILED);
    WkFormSetSpacing(WkFormOf(w.window), 0);
    InstallPlayerFormKeys(w.window);
    BuildMenuBar(w.window);

    w.notebook = WkCreateTabbedVerticalForm(w.window, 4, kFontTimesMedium);
    WkObjectSetTransparency(w.notebook, 255);
    const int tabs[4] = {MsgPlayersTab, MsgPairingTab, MsgResultsTab, MsgOutputFilesTab};
    for (int i = 3; i >= 0; --i) {
        WkFormSetPage(w.notebook, i);
        w.pages[i] = Page(w.notebook);
        WkFormSetPageLabelText(w.notebook, Text(tabs[i]).c_str());
    }
    BuildPlayersPage(w.pages[0]);
    BuildPairingPage(w.pages[1]);
    BuildResultsPage(w.pages[2]);
    BuildOutputPage(w.pages[3]);
    BuildStatusBar(w.window);
    ConnectPlayersPage();
    ConnectPairingPage();
    ConnectResultsPage();
    ConnectOutputPage();
    // What may be used at start; the status line says "Ready" until a
    // tournament is there.
    ShowPlayersPageState();
    ShowPairingPageState();
    ShowResultsPageState();
    ShowWindowState();
    // From here on every transition of the tournament shows it whole.
    InstallTournamentShow();
    return w.window;
}

void ForgetMainWindow() {
    RemoveTournamentShow();
    MainWindow = MainWindowWidgets();
    PlayersPage = PlayersPageWidgets();
    PairingPage = PairingPageWidgets();
    ResultsPage = ResultsPageWidgets();
    OutputPage = OutputPageWidgets();
}
