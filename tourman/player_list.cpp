#include "tourman/player_list.h"

#include "toolkit/widgets/list.h"
#include "tourman/main_window.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/tournament_window.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

// Where the fields after the name begin in either layout, and how wide the
// number in front of the name is once the registration is closed.
constexpr std::size_t FieldsColumn = 27;
constexpr std::size_t NumberWidth = 5;
constexpr std::size_t NameWidth = 20;

bool IsNumbered(const std::string& row) {
    if (row.size() < NumberWidth || row[3] != ':' || row[4] != ' ') return false;
    for (std::size_t k = 0; k < 3; ++k)
        if (row[k] != ' ' && (row[k] < '0' || row[k] > '9')) return false;
    return true;
}

// Walks the fields after the name. Numbers are read as far as their digits
// go, so a number wider than its column still reads whole; texts are taken
// at their width behind their gap, so an empty title or country keeps its
// place instead of shifting every later field.
struct Cursor {
    const std::string& row;
    std::size_t at;

    int number() {
        const char* start = row.c_str() + std::min(at, row.size());
        char* end = nullptr;
        const long value = std::strtol(start, &end, 10);
        at += static_cast<std::size_t>(end - start);
        return static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
    }
    std::string text(std::size_t gap, std::size_t width) {
        const std::size_t from = std::min(at + gap, row.size());
        at = from + width;
        return row.substr(from, width);
    }
};

template <std::size_t N> void CopyText(std::string text, char (&field)[N], bool trim) {
    if (trim) {
        const std::size_t first = text.find_first_not_of(' ');
        text = first == std::string::npos ? std::string()
                                          : text.substr(first, text.find_last_not_of(' ') - first + 1);
    }
    text = text.substr(0, N - 1);
    text.copy(field, text.size());
    field[text.size()] = '\0';
}

void AddRow(WkObject* list, const std::string& row) {
    if (list) WkListAddItem(list, row.c_str(), 0);
}

} // namespace

bool ReadPlayerListRow(const std::string& row, Player& p) {
    if (row.size() <= FieldsColumn) return false;
    Cursor c{row, FieldsColumn};
    CopyText(row.substr(IsNumbered(row) ? NumberWidth : 0, NameWidth), p.name, false);
    p.fideRating = c.number();
    p.nationalRating = c.number();
    CopyText(c.text(2, 3), p.title, true);
    CopyText(c.text(2, 3), p.country, true);
    p.available = c.number();
    CopyText(c.text(3, 8), p.birthDate, true);
    p.fideId = c.number();
    p.nationalId = c.number();
    p.k = c.number();
    const std::string gender = c.text(2, 1);
    p.gender = gender.empty() || gender[0] == ' ' ? '\0' : gender[0];
    return true;
}

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
