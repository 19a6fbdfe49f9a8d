#include "tourman/pages/players/player_list.h"

#include "toolkit/widgets/list.h"
#include "tourman/frame/window_frame.h"
#include "tourman/pages/players/players_widgets.h"
#include "tournament/files/player_list_row.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/tournament_window.h"

namespace {

// A row added to a list with no row selected leaves none selected (the
// list would select its first row): the form, emptied before the rows come
// back (a file read, the registration reopened), shows no one, and Delete
// must not take a player it does not show.
void AddRow(WkObject* list, const std::string& row) {
    if (!list) return;
    const bool noneSelected = WkListGetSelectedItem(list) == nullptr;
    WkListAddItem(list, row.c_str(), 0);
    if (noneSelected) WkListSelectNone(list);
}

} // namespace

void RowsToPlayers() {
    WkObject* list = PlayersPage.playerList;
    if (!list) return;
    if (PlayersPage.unavailableList) WkListClear(PlayersPage.unavailableList);
    for (int id = 1; id <= PlayerCount; ++id) {
        const WkListItem* item = WkListGetItem(list, id - 1);
        if (!item) break;
        const std::string row = item->text;
        Player& p = Players[id];
        if (!ReadPlayerListRow(row, id, p)) continue;
        ApplyRatingRule(p);
        p.categoryRank = TitleRank(p.title);
        if (p.available == 0) AddRow(PlayersPage.unavailableList, row);
    }
}

bool CommitPlayerList() {
    if (PlayerCount < 1) {
        ShowAlert(MessageText(MsgNoPlayerRegistered), MessageText(MsgClose));
        return false;
    }
    RowsToPlayers();
    return true;
}

void ClearPlayerLists() {
    for (WkObject* list : {PlayersPage.playerList, PlayersPage.unavailableList})
        if (list) WkListClear(list);
}

void InstallPlayerListHooks() {
    TournamentWindow.addPlayerLine = [](const std::string& row) { AddRow(PlayersPage.playerList, row); };
    TournamentWindow.addUnavailableLine = [](const std::string& row) {
        AddRow(PlayersPage.unavailableList, row);
    };
    TournamentWindow.clearPlayerLists = ClearPlayerLists;
    TournamentWindow.commitPlayerList = CommitPlayerList;
    TournamentWindow.hidePlayerList = [] {
        if (PlayersPage.playerList) WkListHide(PlayersPage.playerList);
    };
    TournamentWindow.showPlayerList = [] {
        if (PlayersPage.playerList) WkListShow(PlayersPage.playerList);
    };
    TournamentWindow.keepFileOrder = [] {
        if (PlayersPage.playerList) WkListSetCompareFunction(PlayersPage.playerList, nullptr);
    };
}
