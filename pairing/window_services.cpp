#include "pairing/window_services.h"

#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/round_state.h"

PairingWindowHooks PairingWindow;

void CancelLastPairing(int, int, int ask) {
    if (ask != 0 &&
        AskQuestion(MessageText(MsgCancelLastPairingQuestion), MessageText(MsgNo), MessageText(MsgYes)) != 1)
        return;
    // The counters first: the window shows the round that is back.
    SetCurrentRound(CurrentRound > 0 ? CurrentRound - 1 : 0);
    if (PairingWindow.pairingCancelled != nullptr) PairingWindow.pairingCancelled();
}
