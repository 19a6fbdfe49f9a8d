#include "tourman/commands/round_commands.h"

#include "pairing/color_improvement.h"
#include "pairing/round_dispatcher.h"
#include "pairing/window_services.h"
#include "reports/board_cards.h"
#include "reports/index_page.h"
#include "reports/pairing_lists.h"
#include "reports/report_file.h"
#include "toolkit/core/draw.h"
#include "toolkit/widgets/form_pages.h"
#include "tourman/frame/window_frame.h"
#include "tournament/color_history.h"
#include "tournament/elo_preview.h"
#include "tournament/files/tournament_change.h"
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

// Opens the current round for results and puts it on disk before anything
// shows it: a crash at any moment leaves no board card or list of a round
// that a reopened tournament does not hold. A round that cannot be saved is
// taken back: a Swiss round stays proposed, a round robin's stays unpaired.
bool AcceptRound(bool roundRobinPairing) {
    const int resultsDone = IsGetResultDone;
    RoundAccepted();
    // The saved state holds the round's floaters and its open result entry:
    // a tournament reopened from this save goes on exactly where the
    // acceptance left it.
    if (Settings.PairingSystem == FideDubovSystem) MarkRoundFloaters(CurrentRound);
    if (!TournamentChange().commitWithSave()) {
        AcceptanceUndone(resultsDone);
        if (roundRobinPairing) SetCurrentRound(CurrentRound - 1);
        return false;
    }
    WriteAcceptedRound(roundRobinPairing);
    return true;
}

} // namespace

void WriteAcceptedRound(bool pairingLists) {
    // The acceptance names the files it could not write, and only those.
    TakeReportsNotWritten();
    if (pairingLists) WritePairingLists(CurrentRound);
    WriteBoardCards(CurrentRound);
    WriteHtmlIndex();
    // The results page lists the round, whose results are entered next.
    if (MainWindow.notebook) WkFormSetPage(MainWindow.notebook, kResultsPage);
    // The preview is handed to the players at once: one that could not be
    // written must not pass for the old one still in the folder.
    if (!WriteEloPreview(PlayerCount, CurrentRound)) NoteReportNotWritten(EloPreviewPath());
    AlertReportsNotWritten();
}

void PairRoundCommand() {
    if (RoundLimitReached()) return;
    if (IsRoundRobin()) {
        SetCurrentRound(CurrentRound + 1);
        AcceptRound(true);
        return;
    }
    if (PairNextRound(PlayerCount) == 0) {
        // A failed round was cancelled by the dispatcher already; a refusal
        // before any pairing was not, and must not leave the window waiting
        // for an acceptance that cannot come.
        RoundBoardsChanged();
        return;
    }
    ListProposedRound();
}

bool AcceptPairing() {
    return AcceptRound(false);
}

void CancelPairingCommand() {
    CancelLastPairing(0, 0, 1);
}

void SwapPairingColours(WkObject*, int row) {
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
    RoundBoardsChanged();
    // The printed lists must show the colours that will be accepted.
    WritePairingLists(ShownRound);
}

void InstallRoundCommandHooks() {
    PairingWindow.pairingCancelled = RoundBoardsChanged;
    PairingWindow.enableRoundNumberField = RoundBoardsChanged;
}
