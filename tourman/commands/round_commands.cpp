#include "tourman/commands/round_commands.h"

#include "pairing/color_improvement.h"
#include "pairing/round_dispatcher.h"
#include "pairing/window_services.h"
#include "reports/board_cards.h"
#include "reports/index_page.h"
#include "reports/pairing_lists.h"
#include "toolkit/core/draw.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/list.h"
#include "tourman/commands/save_tournament.h"
#include "tourman/main_window/window_frame.h"
#include "tourman/pages/pairing/pairing_widgets.h"
#include "tourman/pages/results/results_list.h"
#include "tourman/pages/results/results_widgets.h"
#include "tournament/color_history.h"
#include "tournament/elo_preview.h"
#include "tournament/game_code.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <algorithm>
#include <string>

namespace {

constexpr int kResultsPage = 2;

void Alert(MessageNumber message) {
    ShowAlert(MessageText(message), MessageText(MsgClose));
}

// Back to waiting for a pairing: the window's part of every cancel.
void PairingCancelled() {
    SetSensitive(PairingPage.pairButton, true);
    SetSensitive(PairingPage.manualPairingButton, true);
    SetSensitive(MainWindow.pages[kResultsPage], true);
    if (PairingPage.pairingList) WkListClear(PairingPage.pairingList);
    SetSensitive(PairingPage.acceptButton, false);
    SetSensitive(PairingPage.cancelButton, false);
    UpdateStatusLine();
}

void EnableRoundNumberField() {
    SetSensitive(ResultsPage.roundField, true);
}

} // namespace

int LastPairableRound() {
    if (IsRoundRobin())
        return std::min(RoundRobinRoundCount(PlayerCount, Settings.PairingSystem), RoundRobinInstance.lastRound());
    return std::min(Settings.PlannedRounds, SwissInstance.lastRound());
}

bool RoundLimitReached() {
    // At or past the limit: a limit lowered under the current round must
    // not let the pairing run on.
    if (CurrentRound < LastPairableRound()) return false;
    Alert(MsgAllRoundsPaired);
    return true;
}

void ListProposedRound() {
    UpdateStatusLine();
    if (WkObject* list = PairingPage.pairingList) {
        WkListClear(list);
        WkListHide(list);
        const int boards = RoundBoardCount(CurrentRound);
        for (int board = 1; board <= boards; ++board) WkListAddItem(list, PairingBoardLine(board).c_str(), board);
        WkListShow(list);
    }
    WritePairingLists(CurrentRound);
}

void ShowProposalControls() {
    SetSensitive(MainWindow.pages[kResultsPage], false);
    SetSensitive(PairingPage.pairButton, false);
    SetSensitive(PairingPage.manualPairingButton, false);
    SetSensitive(PairingPage.acceptButton, true);
    SetSensitive(PairingPage.cancelButton, true);
}

void PairRoundCommand() {
    if (RoundLimitReached()) return;
    ShowProposalControls();
    if (IsRoundRobin()) {
        SetCurrentRound(CurrentRound + 1);
        WritePairingLists(CurrentRound);
        WriteBoardCards(CurrentRound);
        AcceptPairing();
        return;
    }
    if (PairNextRound(PlayerCount) == 0) {
        // A failed round was cancelled by the dispatcher already; a refusal
        // before any pairing was not, and must not leave the window waiting
        // for an acceptance that cannot come.
        PairingCancelled();
        return;
    }
    ListProposedRound();
}

void AcceptPairing() {
    WriteBoardCards(CurrentRound);
    RoundAccepted();
    SetSensitive(MainWindow.pages[1], false);
    SetSensitive(PairingPage.acceptButton, false);
    SetSensitive(PairingPage.cancelButton, false);
    SetSensitive(MainWindow.pages[kResultsPage], true);
    SetSensitive(ResultsPage.roundField, false);
    if (ResultsPage.roundField) WkEditReplaceText(ResultsPage.roundField, std::to_string(CurrentRound).c_str(), 0, 0);
    if (CurrentRound >= 1) ShowRound(CurrentRound);
    WriteHtmlIndex();
    UpdateStatusLine();
    if (MainWindow.notebook) WkFormSetPage(MainWindow.notebook, kResultsPage);
    // The preview is handed to the players at once: one that could not be
    // written must not pass for the old one still in the folder.
    if (!WriteEloPreview(PlayerCount, CurrentRound))
        ShowAlert(MessageText(MsgCannotCreateFile) + "\n" + EloPreviewPath(), MessageText(MsgClose));
    if (Settings.PairingSystem == FideDubovSystem) MarkRoundFloaters(CurrentRound);
    // Saved last, so that the saved state holds the round's floaters and
    // its open result entry: a tournament reopened from this save goes on
    // exactly where the acceptance left it.
    if (!IsRoundRobin()) SaveTournament();
}

void CancelPairingCommand() {
    CancelLastPairing(0, 0, 1);
}

void SwapPairingColours(WkObject* list, int row) {
    if (IsPairingDone != 0) return;
    if (IsRoundRobin()) {
        Alert(MsgNotInRoundRobin);
        return;
    }
    const int board = row + 1;
    if (board < 1 || board > RoundBoardCount(ShownRound)) return;
    int white, black, digit;
    DecodeGameCode(GameTable(board, ShownRound), white, black, digit);
    // The BYE has no colour: exchanging would put it at White and leave the
    // free point unplayed.
    if (white == 0 || black == 0) {
        WkBeep();
        return;
    }
    const bool noPreference = StateRecord(white).colorFlexible != 0 && StateRecord(black).colorFlexible != 0;
    const MessageNumber question =
        noPreference || ShownRound == 1 ? MsgSwapColoursQuestion : MsgSwapColoursAgainstPreferences;
    if (AskQuestion(MessageText(question), MessageText(MsgNo), MessageText(MsgYes)) != 1) return;
    GameTable(board, ShownRound) = EncodeGameCode(black, white, NotPlayed);
    if (list) WkListReplaceItem(list, row, BoardRow(board, GameTable(board, ShownRound)).c_str(), board);
    // The printed lists must show the colours that will be accepted.
    WritePairingLists(ShownRound);
}

void RefreshRoundControls() {
    if (ClosedRegistration == 0 || IsPairingDone != 0) {
        SetSensitive(PairingPage.pairButton, false);
        SetSensitive(PairingPage.manualPairingButton, false);
        SetSensitive(MainWindow.pages[1], false);
        SetSensitive(ResultsPage.roundField, false);
    } else {
        SetSensitive(PairingPage.pairButton, true);
        SetSensitive(PairingPage.manualPairingButton, true);
    }
    if (ResultsPage.roundField) WkEditReplaceText(ResultsPage.roundField, std::to_string(CurrentRound).c_str(), 0, 0);
    if (CurrentRound > 0) ShowRound(CurrentRound);
}

void InstallRoundCommandHooks() {
    PairingWindow.pairingCancelled = PairingCancelled;
    PairingWindow.enableRoundNumberField = EnableRoundNumberField;
}
