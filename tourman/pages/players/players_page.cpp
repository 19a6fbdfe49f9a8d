#include "tourman/pages/players/players_page.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_config.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/shell.h"
#include "toolkit/widgets/button_core.h"
#include "toolkit/widgets/combo_box.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/form_attach.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/menu.h"
#include "toolkit/widgets/push_button.h"
#include "toolkit/widgets/toggle.h"
#include "tourman/commands/tournament_commands.h"
#include "tourman/dialogs/bye_dialog.h"
#include "tourman/dialogs/game_dialog.h"
#include "tourman/frame/window_frame.h"
#include "tourman/pages/page_parts.h"
#include "tourman/pages/players/database_page.h"
#include "tourman/pages/players/player_form.h"
#include "tourman/pages/players/players_widgets.h"
#include "tournament/files/player_list_row.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/name_order.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"

#include <cstdint>
#include <string>

namespace {

struct Accelerator {
    int key;
    WkObject* PlayersPageWidgets::*field;
};

// The Ctrl keys of the player form (scan code * 256 + control character).
constexpr Accelerator kAccelerators[] = {
    {0x310E, &PlayersPageWidgets::name},           {0x2E03, &PlayersPageWidgets::country},
    {0x3002, &PlayersPageWidgets::birthday},       {0x2207, &PlayersPageWidgets::gender},
    {0x1414, &PlayersPageWidgets::title},          {0x1312, &PlayersPageWidgets::fideRating},
    {0x2106, &PlayersPageWidgets::fideId},         {0x2004, &PlayersPageWidgets::nationalId},
    {0x260C, &PlayersPageWidgets::nationalRating}, {0x250B, &PlayersPageWidgets::kFactor},
    {0x1E01, &PlayersPageWidgets::available},
};

// The player lists' title (100 characters).
constexpr const char* kPlayerListTitle =
    "     NAME                 RatF  RatN  Tit  NAT  AV  BIRTHDAY    ID_FIDE    ID_NAT   K SEX           ";

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

WkObject* DropDown(WkObject* parent, const char* text, int length, int rows) {
    WkObject* combo = WkCreateComboBox(parent, text, length, length, rows, PageFontFixed);
    WkEditSetReadOnly(combo);
    return combo;
}

// The popup menu has a window of its own, which goes with the main window.
// The player of the list's selected row, 0 when none is.
int SelectedPlayer() {
    const WkListItem* item = PlayersPage.playerList ? WkListGetSelectedItem(PlayersPage.playerList) : nullptr;
    return item ? item->position + 1 : 0;
}

// What the BYE dialog took: the player must be registered and available;
// he is put into the form, his cells of the next round get the BYE, and the
// form's change stores him as unavailable (saved as every change is). A
// refusal changes nothing.
bool AssignBye(int player, int resultCode) {
    const PlayersPageWidgets& w = PlayersPage;
    WkListItem* row = w.playerList && IsRegisteredId(player) ? WkListGetItem(w.playerList, player - 1) : nullptr;
    Player listed{};
    const char* refusal = nullptr;
    if (!row) refusal = ByeInvalidIdText;
    else if (!ReadPlayerListRow(row->text, player, listed) || !listed.available) refusal = ByeUnavailableText;
    if (refusal) {
        ShowAlert(refusal, MessageText(MsgClose));
        return false;
    }
    // The typed player, not whichever row was selected, goes into the form:
    // the availability change below is his.
    WkListSelectItem(w.playerList, player - 1);
    RowToForm(WkListGetItem(w.playerList, player - 1));
    if (!w.available) return false;
    const int round = CurrentRound + 1;
    OpponentTable(player, round) = 0;
    PlayerResultTable(player, round) = std::uint16_t(resultCode);
    ColorHistory(player, round) = 0;
    WkToggleSetState(w.available, 0);
    AddOrModifyPlayer(1);
    return true;
}

void DestroyPopupMenu(WkObject*, WkMessage*, void* menu, std::uint32_t) {
    WkShellDestroy(static_cast<WkObject*>(menu));
}

void OnAccelerator(WkObject* object, std::intptr_t key, void*) {
    FocusFieldByKey(WkObjectGetShell(object), int(key));
}

WkObject* Heading(WkObject* table, const char* text, int red, int green, int blue) {
    WkObject* label = WkCreateLabel(table, text, PageFontTimesMedium);
    WkObjectSetOpaque(label);
    WkObjectSetBackgroundRGB(label, red, green, blue);
    WkObjectSetShadow(label, 1, 1, 0);
    return label;
}

WkObject* EtchedRow(WkObject* parent, bool vertical, int height) {
    WkObject* form = vertical ? WkCreateVerticalForm(parent) : WkCreateHorizontalForm(parent);
    WkObjectSetShadow(form, PageEtchedIn, 1, 2);
    WkObjectSetHeight(form, height);
    WkObjectSetTransparency(form, 100);
    return form;
}

void BuildPlayerForm(WkObject* parent) {
    PlayersPageWidgets& w = PlayersPage;
    WkObject* form = WkCreateVerticalForm(parent);
    WkObjectSetWidth(form, 540);
    WkObjectSetTransparent(form);
    WkObject* first = WkCreateTableForm(form, 5);
    for (const char* heading : {"Name", "Country", "Birthday", "Gender", "Title"})
        Heading(first, heading, 180, 180, 255);
    w.name = PageEdit(first, 20, PageFontFixed, WK_FILTER_LETTERS | WK_FILTER_SPACE | WK_FILTER_UPPER, "'");
    w.country = PageEdit(first, 3, PageFontFixed, WK_FILTER_LETTERS | WK_FILTER_UPPER);
    w.birthday = PageEdit(first, 8, PageFontFixed, WK_FILTER_DIGITS, ".");
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
    w.fideId = PageEdit(second, 8, PageFontFixed, WK_FILTER_DIGITS);
    w.fideRating = PageEdit(second, 4, PageFontFixed, WK_FILTER_DIGITS);
    w.nationalId = PageEdit(second, 8, PageFontFixed, WK_FILTER_DIGITS);
    w.nationalRating = PageEdit(second, 4, PageFontFixed, WK_FILTER_DIGITS);
    w.kFactor = DropDown(second, "0", 2, 10);
    for (const char* k : kFactors) WkListAddItem(WkComboBoxGetList(w.kFactor), k, 0);
    w.available = WkCreateImageToggle3NoLabel(second, "out.bmp", "in.bmp", nullptr);
    WkToggleSetOn(w.available);
}

} // namespace

void BuildPlayersPage(WkObject* page) {
    PlayersPageWidgets& w = PlayersPage;
    w = PlayersPageWidgets();
    WkObject* upper = EtchedRow(page, false, 150);
    BuildPlayerForm(upper);
    WkObject* buttons = WkCreateVerticalForm(upper);
    WkObjectSetTransparent(buttons);
    w.addButton = PageButton(buttons, MessageText(MsgAddPlayer), PageFontTimesMedium, 145, 40);
    w.changeButton = PageButton(buttons, MessageText(MsgChangePlayer), PageFontTimesMedium, 145, 40);
    w.clearButton = PageButton(buttons, MessageText(MsgClearForm), PageFontTimesMedium, 145, 40);

    WkObject* lower = EtchedRow(page, true, 320);
    WkObjectSetResizable(lower, 1, -1);
    w.playerTabs = WkCreateTabbedVerticalForm(lower, 3, PageFontTimesMedium);
    const std::string tabs[3] = {MessageText(MsgPlayerListTab), MessageText(MsgNotAvailableTab), "Database"};
    for (int i = 2; i >= 0; --i) {
        WkFormSetPage(w.playerTabs, i);
        WkFormSetPageLabelText(w.playerTabs, tabs[i].c_str());
        if (i == 2) {
            BuildDatabasePage(w.playerTabs, nullptr);
            continue;
        }
        WkObject*& list = i == 0 ? w.playerList : w.unavailableList;
        list = WkCreateList(w.playerTabs, PageFontFixed, 90, 8, 90);
        WkListSetTitle(list, kPlayerListTitle);
    }
    WkListSetCompareFunction(w.playerList, CompareNames);
    WkObjectConfigure(w.playerList, "List Player", 0x46);
    w.playerListMenu = WkCreatePopupMenu(2);
    WkMenuAddItem(
        w.playerListMenu, "Modify the Cross Table", [](WkMenuItem*, int, void*) { EditPlayerGames(SelectedPlayer()); },
        w.playerList);
    WkMenuAddItem(
        w.playerListMenu, "Assign BYE", [](WkMenuItem*, int, void*) { AssignByeCommand(SelectedPlayer(), AssignBye); },
        w.playerList);
    WkObjectAddEventHandler(w.playerList, ShowPlayerPopup, 1u << (WK_MSG_PRESS - 1), w.playerListMenu);
    WkObject* row = WkCreateHorizontalForm(page);
    WkObjectSetHeight(row, 30);
    WkObjectSetTransparent(row);
    WkCreateLabel(row, MessageText(MsgSearch).c_str(), PageFontHelvSmall);
    w.search = PageEdit(row, 15, PageFontHelvSmall,
                        WK_FILTER_LETTERS | WK_FILTER_SPACE | WK_FILTER_DIGITS | WK_FILTER_UPPER, "'");
    // Enter finds; the next Enter finds again and never reaches the
    // buttons beside the field, the first of which deletes.
    WkEditSetEnterStays(w.search, 1);
    w.deleteButton = PageButton(row, MessageText(MsgDeletePlayer), PageFontTimesMedium, 0, 30);
    w.closeRegistrationButton =
        PageButton(row, MessageText(MsgCloseRegistration), PageFontTimesMedium, 0, 30);
    for (WkObject* button : {w.deleteButton, w.closeRegistrationButton}) {
        WkObjectSetShadow(button, PageEtchedIn, 1, 2);
        WkButtonSetHoverColorRGB(button, 255, 0, 0);
    }
}

void ConnectPlayersPage() {
    const PlayersPageWidgets& w = PlayersPage;
    if (MainWindow.window) WkObjectAddDestroyHandler(MainWindow.window, DestroyPopupMenu, w.playerListMenu);
    WkButtonSetCallback(
        w.addButton, [](WkObject*, void*, void*) { AddOrModifyPlayer(0); }, nullptr);
    WkButtonSetCallback(
        w.changeButton, [](WkObject*, void*, void*) { AddOrModifyPlayer(1); }, nullptr);
    WkButtonSetCallback(
        w.clearButton, [](WkObject*, void*, void*) { ClearPlayerForm(); }, nullptr);
    WkButtonSetCallback(
        w.deleteButton, [](WkObject*, void*, void*) { DeletePlayer(); }, nullptr);
    // Only the arbiter's picks fill the form, not the moves the list makes
    // itself when rows come and go.
    WkListSetSelectCallback(
        w.playerList,
        [](WkObject*, WkListItem* item, void*, std::intptr_t cause) {
            if (cause != 0) RowToForm(item);
        },
        nullptr);
    WkListSetSelectCallback(
        w.unavailableList,
        [](WkObject*, WkListItem* item, void*, std::intptr_t cause) {
            if (cause != 0) SecondListSelect(item);
        },
        nullptr);
    WkEditSetActivateCallback(
        w.search, [](WkObject*, char* text, void*) { FindPlayer(text); }, nullptr);
    if (w.closeRegistrationButton)
        WkButtonSetCallback(
            w.closeRegistrationButton, [](WkObject*, void*, void*) { CloseRegistration(); }, nullptr);
    StartPlayerForm();
}

void ShowPlayersPageState() {
    PlayersPageWidgets& w = PlayersPage;
    const bool open = ClosedRegistration == 0, started = !open && CurrentRound >= 1;
    if (w.tournamentOpenings != TournamentOpenings || w.roundStateLoads != RoundStateLoads ||
        (started && !w.started))
        ClearPlayerForm();
    w.tournamentOpenings = TournamentOpenings;
    w.roundStateLoads = RoundStateLoads;
    w.started = started;
    if (w.addButton) WkObjectSetText(w.addButton, MessageText(open ? MsgAddPlayer : MsgAddLateEntry).c_str());
    SetSensitive(w.deleteButton, open);
    SetSensitive(w.closeRegistrationButton, CurrentStage() == TournamentStage::RegistrationOpen);
    if (w.playerList) WkListSetCompareFunction(w.playerList, open ? CompareNames : nullptr);
}

void HidePlayerList(bool hidden) {
    if (WkObject* list = PlayersPage.playerList) hidden ? WkListHide(list) : WkListShow(list);
}

void InstallPlayerFormKeys(WkObject* window) {
    for (const Accelerator& a : kAccelerators) WkAddAccelerator(window, a.key, OnAccelerator, nullptr);
}

int FocusFieldByKey(WkObject*, int key) {
    for (const Accelerator& a : kAccelerators) {
        if (a.key != key) continue;
        if (WkObject* field = PlayersPage.*a.field) WkObjectSetFocusBy(field, WK_FOCUS_BY_KEY);
        return 0;
    }
    return key;
}
