// Automatic colour improvement of a freshly paired Swiss round.
//
// AutoColorImprovement looks at every two boards of the CurrentRound whose
// pairs cannot both get their due colours and, by a fixed ladder, makes for
// each board at most one exchange (transposition or interchange) with a
// later board, between players of equal score and within the 80- or
// 200-point rating rule. Every exchange is written to "colorlog<round>.txt"
// in the data folder. The run changes only the players on the boards of the
// CurrentRound's game column; the board count stays and a BYE board keeps
// its BYE result. The pairing page's board list is reached through
// ColorImprovementWindow, whose empty entries are skipped (headless runs).
// RegisterColorImprovementPass hands the run to the round dispatcher.
#pragma once

#include <string>

// What the run needs of the windows: the pairing page's board list and the
// closing of the dialog that holds the "Do AUTO" button. Filled in by the
// main window; every entry is empty by default.
struct ColorImprovementHooks {
    // Empties the pairing page's board list.
    void (*clearBoardList)() = nullptr;
    // Appends one line to the pairing page's board list.
    void (*addBoardLine)(const char* line) = nullptr;
    // Destroys the top-level window that holds the button.
    void (*closeDialog)(void* button) = nullptr;
};

extern ColorImprovementHooks ColorImprovementWindow;

// One run over the boards of the CurrentRound. Called with three zeros by
// the dispatcher; as the "Do AUTO" button's callback it gets the button and
// a user data that is not 0, and then closes the button's window at the end.
void AutoColorImprovement(void* object, int value, void* userData);

// 1 when the pair leans to white, -1 to black, 10 when one is due white and
// the other black, 0 when neither has a due colour.
int PairColorStatus(int x, int y);

// Rating difference of turning (a, b), (c, d) into (a, d), (c, b): 100000
// when either new pair may not meet (a BYE only to a player who may receive
// it), 0 when any of the four is unrated, else the smaller of |a - c| and
// |b - d|.
int TranspositionDifference(int a, int b, int c, int d);
// Rating difference of turning (a, b), (c, d) into (a, c), (b, d): 100000
// when either new pair may not meet; variant 1 |a - d|, variant 0 |c - b|,
// 0 when either of those two is unrated.
int InterchangeDifference(int a, int b, int c, int d, int variant);

// Makes the exchange of boards i and j (kind 1 interchange, 0
// transposition) when the scores allow it, writes its log line and returns
// 1; returns 0 and changes nothing when the scores forbid it.
int ApplyExchange(int i, int j, int a, int b, int c, int d, int kind);

// The board-list line of board k of the CurrentRound:
// "%3d: %3d %-20.20s (%4.1f) - %3d %-20.20s (%4.1f) = [ ... ]".
std::string PairingBoardLine(int board);

// Registers AutoColorImprovement (with three zeros) as the dispatcher's
// colour improvement; call once at program start or in a test's set-up.
void RegisterColorImprovementPass();
