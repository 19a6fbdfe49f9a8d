#include "tourman/pages/results/result_entry.h"

#include "reports/report_file.h"
#include "toolkit/core/draw.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/scroll_bar.h"
#include "toolkit/widgets/toggle.h"
#include "tourman/commands/save_tournament.h"
#include "tourman/frame/window_frame.h"
#include "tourman/pages/results/results_list.h"
#include "tourman/pages/results/results_widgets.h"
#include "tournament/files/line_reader.h"
#include "tournament/files/tournament_change.h"
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
    ShowAlert(text, MessageText(MsgClose));
}

bool Confirm(MessageNumber message) {
    return AskQuestion(MessageText(message), MessageText(MsgNo), MessageText(MsgYes)) != 0;
}

void ShowToggleState(bool on) {
    WkObject* toggle = ResultsPage.resultsToggle;
    WkObjectSetText(toggle, MessageText(on ? MsgCloseResults : MsgEnterResults).c_str());
    if (on) WkObjectSetBackgroundRGB(toggle, 112, 165, 160);
    else WkObjectSetBackgroundRGB(toggle, 255, 0, 0);
}

// The toggle switched by the program, the entry's own steps left out.
void SetToggleQuietly(bool on) {
    WkObject* toggle = ResultsPage.resultsToggle;
    restoringToggle = true;
    on ? WkToggleSetOn(toggle) : WkToggleSetOff(toggle);
    restoringToggle = false;
    ShowToggleState(on);
}

// The toggle switched back on after a close that could not be done; what
// the open entry disabled stays disabled.
void KeepEntryOpen() {
    SetToggleQuietly(true);
    ResultEntrySwitched();
}

int ResultDigit(int board, int round) {
    int white, black, digit;
    DecodeGameCode(GameTable(board, round), white, black, digit);
    return digit;
}

// The row's text in the board label, the scroll bar a few rows above it so
// that the boards before it stay in sight.
void ShowSelectedRow(int position, int rowsAbove) {
    WkObject* list = ResultsPage.resultsList;
    if (WkListItem* item = WkListGetItem(list, position)) WkObjectSetText(ResultsPage.boardLabel, item->text);
    if (WkObject* bar = WkListGetVerticalScrollBar(list)) WkScrollBarSetValue(bar, std::max(0, position - rowsAbove));
}

// A round whose results were closed before and are entered again keeps its
// players' cells rebuilt from its game codes after every change, as its
// close will rebuild them: a save made meanwhile (the autosave, Save, a BYE,
// a late entry) then holds the result keyed whole, and a tournament opened
// after a crash counts it. The round's first entry sets the cells at its
// close, as the standings are computed only then.
void RebuildIfClosedBefore() {
    if (ShownRound < CurrentRound || IsGetResultDone != 0) RebuildRoundTables(ShownRound);
}

// The result a key stands for; -1 for a key that enters nothing.
int KeyDigit(const std::string& text) {
    if (text == "x" || text == "X") return Draw;
    if (text.size() != 1 || text[0] < '0' || text[0] > '8') return -1;
    return text[0] - '0';
}

// FNB has no place in a round robin: its key and its button say so and
// enter nothing.
bool FnbRefused(int digit) {
    if (digit != HalfNoGame || !IsRoundRobin()) return false;
    Alert(MessageText(MsgNotInRoundRobin));
    return true;
}

// Enters digit (-1: nothing) for the selected board and moves on; stops
// where the arbiter keeps the board's old result.
void EnterForSelectedBoard(int digit, bool fromKey) {
    WkObject* list = ResultsPage.resultsList;
    const int boards = std::min(RoundBoardCount(ShownRound), WkListGetCount(list));
    const int position = WkListRecord(list)->current;
    if (fromKey) WkEditReplaceText(ResultsPage.resultKeyField, "", 0, 0);
    // A board number left in "Table" once its result is keyed would name a
    // board the selection has moved past.
    WkEditReplaceText(ResultsPage.boardField, "", 0, 0);
    if (position < 0 || position >= boards) {
        WkBeep();
        return;
    }
    const int board = position + 1;
    if (digit >= 0) {
        int white, black, old;
        DecodeGameCode(GameTable(board, ShownRound), white, black, old);
        const int bye = ByeBoardResult(white, black, IsRoundRobin());
        if (bye >= 0 && digit != bye) return Alert(ByeBoardRefusal(bye));
        if (old != NotPlayed && old != digit && !Confirm(MsgChangeResultQuestion)) return;
        GameTable(board, ShownRound) = EncodeGameCode(white, black, digit);
        RebuildIfClosedBefore();
        WkListReplaceItem(list, position, ResultRow(board, ShownRound).c_str(), 0);
    }
    const int next = NextUnplayedBoard(boards, board + 1, ShownRound);
    if (next <= boards) WkListSelectItem(list, next - 1);
    ShowSelectedRow(WkListRecord(list)->current, 2);

    if (++resultsEntered % kAutosaveEvery == 0) {
        // A full save: the tournament file is written again too, saying
        // that a round state goes with it.
        FullSaveDue();
        AutosaveTournament();
    }
}

bool ShownRoundIsListed() {
    return ShownRound >= 1 && ShownRound <= CurrentRound;
}

void RecomputeStandings() {
    if (IsRoundRobin()) ComputeRoundRobinTieBreaks(CurrentRound, PlayerCount);
    else ComputeScores(CurrentRound, PlayerCount);
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

std::string ByeBoardRefusal(int byeDigit) {
    return std::string("This is the BYE board: it takes only the BYE's result \"") + ResultText(byeDigit) +
           "\" (key " + std::to_string(byeDigit) + ").";
}

int NextUnplayedBoard(int boards, int start, int round) {
    if (round != CurrentRound) return start;
    for (int board = start; board <= boards; ++board)
        if (ResultDigit(board, round) == NotPlayed) return board;
    for (int board = 1; board < start && board <= boards; ++board)
        if (ResultDigit(board, round) == NotPlayed) return board;
    return start;
}

void ResetResultEntry() {
    resultsEntered = 0;
    if (ResultsPage.resultsToggle) SetToggleQuietly(false);
}

bool ResultEntryOpen() {
    return ResultsPage.resultsToggle && WkToggleGetState(ResultsPage.resultsToggle) != 0;
}

void ResultEntryToggle(bool on) {
    if (restoringToggle) return;
    resultsEntered = 0;
    ShowToggleState(on);
    if (on) {
        // No other round is listed, nor the next one paired, while it is open.
        ResultEntrySwitched();
        // The arbiter keys the results at once, without a board clicked
        // first: the board the next key goes to, the first still without a
        // result (a round keyed in part and reopened goes on where it
        // stopped), is shown as if chosen.
        WkObject* list = ResultsPage.resultsList;
        const int boards = std::min(RoundBoardCount(ShownRound), WkListGetCount(list));
        for (int board = 1; board <= boards; ++board) {
            if (ResultDigit(board, ShownRound) != NotPlayed) continue;
            WkListSelectItem(list, board - 1);
            ShowSelectedRow(board - 1, 2);
            break;
        }
        const int position = WkListRecord(list)->current;
        if (position >= 0 && position < WkListGetCount(list)) SelectResultRow(position);
        WkObjectSetFocus(ResultsPage.resultKeyField);
        return;
    }
    if (ShownRound == CurrentRound) ResultsOpened();
    for (int board = 1; board <= RoundBoardCount(CurrentRound); ++board) {
        if (ResultDigit(board, CurrentRound) == NotPlayed) {
            Alert(MessageText(MsgBoardsWithoutResult));
            // The boards still wait for their results: the entry stays open.
            return KeepEntryOpen();
        }
    }
    // The close names the reports it could not write, and only those.
    TakeReportsNotWritten();
    const int pairingDone = IsPairingDone;
    ResultsClosed(ShownRound == CurrentRound);
    // The closed round goes to the tournament's own files, its snapshot and
    // its round-state file as one change, before any list shows it and
    // before any box: a crash at any moment leaves reports that say no more
    // than the files a reopened tournament reads.
    TournamentChange change;
    if (!SaveRoundState(ShownRound, change.journal()) || !change.commitWithSave()) {
        // The round is not on disk: the entry stays open, as before the click.
        ResultsCloseUndone(pairingDone);
        return KeepEntryOpen();
    }
    WriteRoundResultLists(ShownRound);
    RecomputeStandings();
    // The next round may be paired, another listed; the rows show the
    // standings with the round.
    ResultEntrySwitched();
    // Their files on disk are still those of before: the arbiter must not
    // hand them out for the new ones.
    AlertReportsNotWritten();
}

void EnterResultKey(const char* text) {
    if (!ResultEntryOpen() || !ShownRoundIsListed()) return;
    const int digit = KeyDigit(text ? text : "");
    if (FnbRefused(digit)) WkEditReplaceText(ResultsPage.resultKeyField, "", 0, 0);
    else EnterForSelectedBoard(digit, true);
}

void EnterResultButton(int digit) {
    if (!ResultEntryOpen() || !ShownRoundIsListed()) return;
    if (!FnbRefused(digit)) EnterForSelectedBoard(digit, false);
    // The next result is keyed where the keys are taken, not on the button.
    WkObjectSetFocus(ResultsPage.resultKeyField);
}

void GoToBoard(const char* text) {
    if (!ResultEntryOpen()) return;
    WkObject* list = ResultsPage.resultsList;
    int board = 0;
    if (!ParseInt(text ? text : "", board) || board < 1 || board > WkListGetCount(list)) {
        Alert("This pair doesn't exist!");
        // The field shows the board chosen in the list, not the one refused,
        // and the next key is a result for that board.
        const int chosen = WkListRecord(list)->current;
        const std::string shown = chosen >= 0 && chosen < WkListGetCount(list) ? std::to_string(chosen + 1) : "";
        WkEditReplaceText(ResultsPage.boardField, shown.c_str(), 0, 0);
        WkObjectSetFocus(ResultsPage.resultKeyField);
        return;
    }
    WkListSelectItem(list, board - 1);
    WkEditReplaceText(ResultsPage.boardField, "", 0, 0);
    ShowSelectedRow(board - 1, 0);
    WkObjectSetFocus(ResultsPage.resultKeyField);
}

void SelectResultRow(int position) {
    if (!ResultEntryOpen()) return;
    if (WkListItem* item = WkListGetItem(ResultsPage.resultsList, position))
        WkObjectSetText(ResultsPage.boardLabel, item->text);
    WkEditReplaceText(ResultsPage.boardField, "", 0, 0);
    WkEditReplaceText(ResultsPage.resultKeyField, "", 0, 0);
    WkObjectSetFocus(ResultsPage.resultKeyField);
}

void SwapResultColours(int position) {
    if (!ResultEntryOpen()) return;
    if (IsRoundRobin()) {
        Alert(MessageText(MsgNotInRoundRobin));
        return;
    }
    const int board = position + 1;
    if (board < 1 || board > RoundBoardCount(ShownRound)) return;
    int white, black, digit;
    DecodeGameCode(GameTable(board, ShownRound), white, black, digit);
    // The BYE stays Black: its board is known by that.
    if (white == 0 || black == 0) return;
    const bool free = StateRecord(white).dueColor < 0 && StateRecord(black).dueColor < 0;
    if (!Confirm(free || ShownRound == 1 ? MsgSwapColoursQuestion : MsgSwapColoursAgainstPreferences)) return;
    GameTable(board, ShownRound) = EncodeGameCode(black, white, MirrorResult(digit));
    RebuildIfClosedBefore();
    WkListReplaceItem(ResultsPage.resultsList, position, ResultRow(board, ShownRound).c_str(), 0);
}

void ResetResultsFields() {
    ResultsPageWidgets& w = ResultsPage;
    ResetResultEntry();
    for (WkObject* field : {w.boardField, w.resultKeyField})
        if (field) WkEditReplaceText(field, "", 0, 0);
    ForgetChosenBoard();
    if (w.roundField) WkEditReplaceText(w.roundField, std::to_string(CurrentRound).c_str(), 0, 0);
}
