#include "tourman/result_entry.h"

#include "toolkit/core/draw.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/push_button.h"
#include "toolkit/widgets/scroll_bar.h"
#include "toolkit/widgets/toggle.h"
#include "tourman/main_window.h"
#include "tourman/results_list.h"
#include "tourman/results_file.h"
#include "tourman/save_tournament.h"
#include "tournament/files/line_reader.h"
#include "tournament/game_code.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_robin_scores.h"
#include "tournament/round_save.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/scores.h"
#include "tournament/settings.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace {

// Results entered since the toggle last changed.
int resultsEntered = 0;
// Set while the toggle is switched back by the program, whose callback must
// then leave everything as it is.
bool restoringToggle = false;

constexpr int kAutosaveEvery = 15;

void Alert(const std::string& text) {
    ShowAlert(text, MessageText(3));
}

bool Confirm(int message) {
    return AskQuestion(MessageText(message), MessageText(1), MessageText(0)) != 0;
}

void ShowToggleState(bool on) {
    WkObject* toggle = MainWindow.resultsToggle;
    WkObjectSetText(toggle, MessageText(on ? 205 : 206).c_str());
    if (on) WkObjectSetBackgroundRGB(toggle, 112, 165, 160);
    else WkObjectSetBackgroundRGB(toggle, 255, 0, 0);
}

// The toggle switched back on after a close that could not be done; what
// the open entry disabled stays disabled.
void KeepEntryOpen() {
    restoringToggle = true;
    WkToggleSetOn(MainWindow.resultsToggle);
    restoringToggle = false;
    ShowToggleState(true);
}

int ResultDigit(int board, int round) {
    int white, black, digit;
    DecodeGameCode(GameTable(board, round), white, black, digit);
    return digit;
}

// The row's text in the board label, the scroll bar a few rows above it so
// that the boards before it stay in sight.
void ShowSelectedRow(int position, int rowsAbove) {
    WkObject* list = MainWindow.resultsList;
    if (WkListItem* item = WkListGetItem(list, position)) WkObjectSetText(MainWindow.boardLabel, item->text);
    if (WkObject* bar = WkListGetVerticalScrollBar(list)) WkScrollBarSetValue(bar, std::max(0, position - rowsAbove));
}

// The result a key stands for; -1 for a key that enters nothing.
int KeyDigit(const std::string& text) {
    if (text == "x" || text == "X") return Draw;
    if (text.size() != 1 || text[0] < '0' || text[0] > '8') return -1;
    const int digit = text[0] - '0';
    if (digit == HalfNoGame && IsRoundRobin()) return -1;
    return digit;
}

// Enters digit (-1: nothing) for the selected board and moves on; stops
// where the arbiter keeps the board's old result.
void EnterForSelectedBoard(int digit, bool fromKey) {
    WkObject* list = MainWindow.resultsList;
    const int boards = std::min(RoundBoardCount(ShownRound), WkListGetCount(list));
    const int position = WkListRecord(list)->current;
    if (fromKey) WkEditReplaceText(MainWindow.resultKeyField, "", 0, 0);
    if (position < 0 || position >= boards) {
        WkBeep();
        return;
    }
    const int board = position + 1;
    if (digit >= 0) {
        int white, black, old;
        DecodeGameCode(GameTable(board, ShownRound), white, black, old);
        if (old != NotPlayed && old != digit && !Confirm(44)) return;
        GameTable(board, ShownRound) = EncodeGameCode(white, black, digit);
        WkListReplaceItem(list, position, ResultRow(board, ShownRound).c_str(), 0);
    }
    const int next = NextUnplayedBoard(boards, board + 1, ShownRound);
    if (next <= boards) WkListSelectItem(list, next - 1);
    ShowSelectedRow(WkListRecord(list)->current, 2);

    if (++resultsEntered % kAutosaveEvery == 0) {
        // A full save: the tournament file is written again too, saying
        // that a round state goes with it.
        IsSavedRound = 0;
        TournamentSaved = 0;
        SaveTournament();
    }
}

bool ShownRoundIsListed() {
    return ShownRound >= 1 && ShownRound <= CurrentRound;
}

void RecomputeStandings() {
    if (IsRoundRobin()) ComputeRoundRobinTieBreaks(CurrentRound, PlayerCount);
    else ComputeScores(CurrentRound, PlayerCount);
}

void OnToggle(WkObject*, int state, void*) {
    if (!restoringToggle) ResultEntryToggle(state != 0);
}

void OnKey(WkObject*, char* text, void*) {
    if (text && *text) EnterResultKey(text);
}

void OnButton(WkObject*, void*, void* digit) {
    EnterResultButton(int(reinterpret_cast<std::intptr_t>(digit)));
}

void OnBoard(WkObject*, char* text, void*) {
    GoToBoard(text);
}

void OnSelect(WkObject*, WkListItem* item, void*, std::intptr_t) {
    if (item && WkListGetCount(MainWindow.resultsList) > 0) SelectResultRow(item->position);
}

void OnActivate(WkObject*, WkListItem* item, void*, std::intptr_t) {
    if (item) SwapResultColours(item->position);
}

void OnLoad(WkObject*, void*, void*) {
    LoadResultsFile();
}

} // namespace

int MirrorResult(int digit) {
    switch (digit) {
    case BlackWins: return WhiteWins;
    case WhiteWins: return BlackWins;
    case WhiteWinsForfeit: return BlackWinsForfeit;
    case BlackWinsForfeit: return WhiteWinsForfeit;
    default: return digit;
    }
}

int NextUnplayedBoard(int boards, int start, int round) {
    if (round != CurrentRound) return start;
    for (int board = start; board <= boards; ++board)
        if (ResultDigit(board, round) == NotPlayed) return board;
    for (int board = 1; board < start && board <= boards; ++board)
        if (ResultDigit(board, round) == NotPlayed) return board;
    return start;
}

bool ResultEntryOpen() {
    return MainWindow.resultsToggle && WkToggleGetState(MainWindow.resultsToggle) != 0;
}

void ResultEntryToggle(bool on) {
    MainWindowWidgets& w = MainWindow;
    resultsEntered = 0;
    ShowToggleState(on);
    if (on) {
        SetSensitive(w.roundField, false);
        SetSensitive(w.pages[1], false);
        return;
    }
    if (ShownRound == CurrentRound) IsGetResultDone = 0;
    for (int board = 1; board <= RoundBoardCount(CurrentRound); ++board) {
        if (ResultDigit(board, CurrentRound) == NotPlayed) {
            Alert(MessageText(42));
            // The boards still wait for their results: the entry stays open.
            return KeepEntryOpen();
        }
    }
    const int pairingDone = IsPairingDone;
    if (ShownRound == CurrentRound) IsGetResultDone = 1;
    IsPairingDone = 0;
    if (!SaveRound(ShownRound)) {
        // The round is not on disk: the entry stays open, as before the click.
        IsGetResultDone = 0;
        IsPairingDone = pairingDone;
        return KeepEntryOpen();
    }
    UpdateStatusLine();
    for (WkObject* object : {w.pages[1], w.pairButton, w.manualPairingButton, w.roundField})
        SetSensitive(object, true);
    RecomputeStandings();
    if (w.pairingList) WkListClear(w.pairingList);
    // The closed round goes to the tournament's own files at once: a
    // tournament reopened after a crash, or closed without saving, has it.
    SaveTournament();
}

void EnterResultKey(const char* text) {
    if (!ResultEntryOpen() || !ShownRoundIsListed()) return;
    EnterForSelectedBoard(KeyDigit(text ? text : ""), true);
}

void EnterResultButton(int digit) {
    if (!ResultEntryOpen() || !ShownRoundIsListed()) return;
    if (digit == HalfNoGame && IsRoundRobin()) Alert(MessageText(17));
    else EnterForSelectedBoard(digit, false);
    // The next result is keyed where the keys are taken, not on the button.
    WkObjectSetFocus(MainWindow.resultKeyField);
}

void GoToBoard(const char* text) {
    if (!ResultEntryOpen()) return;
    WkObject* list = MainWindow.resultsList;
    int board = 0;
    if (!ParseInt(text ? text : "", board) || board < 1 || board > WkListGetCount(list)) {
        Alert("This pair doesn't exist!");
        // The field shows the board chosen in the list, not the one refused.
        const int chosen = WkListRecord(list)->current;
        const std::string shown = chosen >= 0 && chosen < WkListGetCount(list) ? std::to_string(chosen + 1) : "";
        WkEditReplaceText(MainWindow.boardField, shown.c_str(), 0, 0);
        WkObjectSetFocus(MainWindow.boardField);
        return;
    }
    WkListSelectItem(list, board - 1);
    WkEditReplaceText(MainWindow.boardField, "", 0, 0);
    ShowSelectedRow(board - 1, 0);
    WkObjectSetFocus(MainWindow.resultKeyField);
}

void SelectResultRow(int position) {
    if (!ResultEntryOpen()) return;
    if (WkListItem* item = WkListGetItem(MainWindow.resultsList, position))
        WkObjectSetText(MainWindow.boardLabel, item->text);
    WkEditReplaceText(MainWindow.resultKeyField, "", 0, 0);
    WkObjectSetFocus(MainWindow.resultKeyField);
}

void SwapResultColours(int position) {
    if (!ResultEntryOpen()) return;
    if (IsRoundRobin()) {
        Alert(MessageText(17));
        return;
    }
    const int board = position + 1;
    if (board < 1 || board > RoundBoardCount(ShownRound)) return;
    int white, black, digit;
    DecodeGameCode(GameTable(board, ShownRound), white, black, digit);
    // The BYE stays Black: its board is known by that.
    if (white == 0 || black == 0) return;
    const bool free = StateRecord(white).dueColor < 0 && StateRecord(black).dueColor < 0;
    if (!Confirm(free || ShownRound == 1 ? 39 : 40)) return;
    GameTable(board, ShownRound) = EncodeGameCode(black, white, MirrorResult(digit));
    WkListReplaceItem(MainWindow.resultsList, position, ResultRow(board, ShownRound).c_str(), 0);
}

void ConnectResultEntry() {
    MainWindowWidgets& w = MainWindow;
    WkToggleSetCallback(w.resultsToggle, OnToggle, nullptr);
    WkEditSetValueCallback(w.resultKeyField, OnKey, nullptr);
    WkEditSetActivateCallback(w.boardField, OnBoard, nullptr);
    WkListSetSelectCallback(w.resultsList, OnSelect, nullptr);
    WkListSetActivateCallback(w.resultsList, OnActivate, nullptr);
    WkButtonSetCallback(w.loadResultsButton, OnLoad, nullptr);
    // The buttons stand in the order of their captions; the digit each enters.
    static constexpr int kButtonDigits[9] = {1, 0, 5, 3, 4, 2, 6, 7, 8};
    for (int i = 0; i < 9; ++i)
        WkButtonSetCallback(w.resultButtons[i], OnButton, reinterpret_cast<void*>(std::intptr_t(kButtonDigits[i])));
}
