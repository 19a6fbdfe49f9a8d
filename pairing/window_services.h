// What the pairing code needs of the main window, without any window.
//
// The main window fills PairingWindow at start with the steps only it can
// take (its pairing controls, its list of proposed boards, its status line,
// its round-number field); every entry is empty by default and an empty
// entry is skipped, so the pairing code runs headless in tests and tools.
// CancelLastPairing is the shared undo of a pairing: the round counters go
// back here, whatever the window does.
#pragma once

struct PairingWindowHooks {
    // Makes the pairing controls usable again, empties the list of proposed
    // boards and refreshes the status line.
    void (*pairingCancelled)() = nullptr;
    // Lets the round-number field take input again.
    void (*enableRoundNumberField)() = nullptr;
};

extern PairingWindowHooks PairingWindow;

// With a nonzero ask flag first asks MsgCancelLastPairingQuestion (buttons
// MsgNo, then MsgYes) and does nothing unless the MsgYes button is pressed.
// Then lowers CurrentRound by one (not below 0), sets ShownRound to it and
// tells the window. The first two arguments are not used.
void CancelLastPairing(int unused1, int unused2, int ask);
