#include "tourman/player_list.h"

#include "toolkit/widgets/list.h"
#include "tourman/main_window.h"
#include "tournament/files/player_list_row.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/tournament_window.h"

namespace {

void AddRow(WkObject* list, const std::string& row) {
    if (list) WkListAddItem(list, row.c_str(), 0);
}

} // namespace

void RowsToPlayers() {
    WkObject* list = MainWindow.playerList;
    if (!list) return;
    if (MainWindow.unavailableList) WkListClear(MainWindow.unavailableList);
    for (int id = 1; id <= PlayerCount; ++id) {
        const WkListItem* item = WkListGetItem(list, id - 1);
        if (!item) break;
        const std::string row = item->text;
        Player& p = Players[id];
        if (!ReadPlayerListRow(row, p)) continue;
        ApplyRatingRule(p);
        p.categoryRank = TitleRank(p.title);
        if (p.available == 0) AddRow(MainWindow.unavailableList, row);
    }
}

bool CommitPlayerList() {
    if (PlayerCount < 1) {
        ShowAlert(MessageText(10), MessageText(3));
        return false;
    }
    RowsToPlayers();
    UpdateStatusLine();
    UpdatePlayerCounters();
    return true;
}

void InstallPlayerListHooks() {
    TournamentWindow.addPlayerLine = [](const std::string& row) { AddRow(MainWindow.playerList, row); };
    TournamentWindow.addUnavailableLine = [](const std::string& row) {
        AddRow(MainWindow.unavailableList, row);
    };
    TournamentWindow.clearPlayerLists = [] {
        for (WkObject* list : {MainWindow.playerList, MainWindow.unavailableList})
            if (list) WkListClear(list);
    };
    TournamentWindow.hidePlayerList = [] {
        if (MainWindow.playerList) WkListHide(MainWindow.playerList);
    };
    TournamentWindow.showPlayerList = [] {
        if (MainWindow.playerList) WkListShow(MainWindow.playerList);
    };
    TournamentWindow.keepFileOrder = [] {
        if (MainWindow.playerList) WkListSetCompareFunction(MainWindow.playerList, nullptr);
    };
}
