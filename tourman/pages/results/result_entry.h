// Entering results on the results page: the toggle that opens and closes the
// result entry of the round shown, the result key field and the nine result
// buttons, the board field, the row selection and the exchange of a played
// board's colours. Closing the entry saves the round shown and recomputes
// the standings. Owns the count of results entered since the toggle last
// changed (every fifteenth saves the tournament); everything else lives in
// the tournament's tables and the main window's widgets.
#pragma once

#include <string>

// The result seen from the other side: 0 and 1 exchanged, 3 and 4
// exchanged, any other digit unchanged.
int MirrorResult(int digit);

// Why a BYE board refuses a result: it takes only byeDigit, the BYE's own
// result (ByeBoardResult).
std::string ByeBoardRefusal(int byeDigit);

// The board to move to after an entry at start - 1: start itself when round
// is not the current round; otherwise the first unplayed board from start to
// boards, else the first unplayed before start, else start.
int NextUnplayedBoard(int boards, int start, int round);

// Opens (on) or closes the result entry. Opening shows the board chosen in
// the list, whose result the next key enters, and gives the result key
// field the focus. Closing checks every board of the current round; with
// one unplayed it alerts, saves nothing and the entry stays open.
// Otherwise it saves the round shown, opens the way to the next pairing,
// recomputes the standings of the current round and saves the tournament
// as the Save command does. A round that could not be saved keeps the
// entry open too. While the entry switches its own toggle back on, the
// toggle's call does nothing.
void ResultEntryToggle(bool on);
// The result key field's text after a key: the result it stands for goes
// to the selected board, which moves on to the next unplayed one. A BYE
// board refuses any result but the BYE's own (ByeBoardRefusal) and stays
// selected. In a round robin FNB (8) is refused with the reason, as by its
// button, and the board stays selected.
void EnterResultKey(const char* text);
// One of the nine result buttons.
void EnterResultButton(int digit);
// The board field's Enter: selects that board's row. A board that does not
// exist is refused; the field shows the current board again and the result
// key field takes the focus, as after a board chosen.
void GoToBoard(const char* text);
// A row chosen in the results list.
void SelectResultRow(int position);
// Activating a row of the results list: exchanges the board's colours,
// after a question, keeping the result seen from the players. A BYE board
// stays as it is.
void SwapResultColours(int position);
// The entry closed without closing its round: nothing is checked or saved
// (a tournament opened or made anew, a round file loaded).
void ResetResultEntry();
// True while the result entry is open.
bool ResultEntryOpen();
// The results page's fields as a tournament starts them: the result entry
// closed, no board typed or chosen, the round field at the current round.
void ResetResultsFields();
