#include "tourman/commands/tournament_commands.h"

#include "toolkit/core/native_windows.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/file_browser.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/menu.h"
#include "tourman/commands/round_commands.h"
#include "tourman/commands/save_tournament.h"
#include "tourman/dialogs/settings_dialog.h"
#include "tourman/main_window/window_frame.h"
#include "tourman/pages/output/output_widgets.h"
#include "tourman/pages/output/text_viewers.h"
#include "tourman/pages/pairing/pairing_widgets.h"
#include "tourman/pages/players/player_form.h"
#include "tourman/pages/players/player_list.h"
#include "tourman/pages/players/players_widgets.h"
#include "tourman/pages/results/results_list.h"
#include "tourman/pages/results/results_widgets.h"
#include "tournament/files/round_state_file.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_robin_scores.h"
#include "tournament/round_state.h"
#include "tournament/scores.h"
#include "tournament/settings.h"
#include "tournament/start_tournament.h"
#include "tournament/tournament_window.h"

#include <strings.h>

#include <string>

namespace {

constexpr int kPairingPage = 1, kResultsPage = 2, kOutputPage = 3;

void Alert(MessageNumber message) {
    ShowAlert(MessageText(message), MessageText(MsgClose));
}

int CompareRows(const char* a, const char* b) {
    return strcasecmp(a, b);
}

void SetMenuItem(WkMenuItem* item, bool on) {
    if (item) on ? WkMenuItemEnable(item) : WkMenuItemDisable(item);
}

// The players page as the registration leaves it: open, the list sorted and
// every player-list command usable; closed, late entries only and the rows
// kept at their pairing numbers.
void ShowRegistration(bool open) {
    if (PlayersPage.addButton)
        WkObjectSetText(PlayersPage.addButton, MessageText(open ? MsgAddPlayer : MsgAddLateEntry).c_str());
    SetSensitive(PlayersPage.deleteButton, open);
    SetSensitive(PlayersPage.closeRegistrationButton, open);
    SetMenuItem(MainWindow.loadRoundFileItem, !open);
    if (PlayersPage.playerList) WkListSetCompareFunction(PlayersPage.playerList, open ? CompareRows : nullptr);
}

// The pairing and results lists and the round pages once rounds have been
// read from a file: no proposal is pending, the scores follow the rounds.
void ShowRoundsRead() {
    for (WkObject* list : {PairingPage.pairingList, ResultsPage.resultsList})
        if (list) WkListClear(list);
    SetSensitive(PairingPage.acceptButton, false);
    SetSensitive(PairingPage.cancelButton, false);
    if (IsRoundRobin()) ComputeRoundRobinTieBreaks(CurrentRound, PlayerCount);
    else ComputeScores(CurrentRound, PlayerCount);
    SetCurrentRound(CurrentRound);
    SetSensitive(MainWindow.pages[kPairingPage], true);
    SetSensitive(MainWindow.pages[kResultsPage], true);
}

void RefreshWindow() {
    RefreshRoundControls();
    UpdateStatusLine();
    UpdatePlayerCounters();
}

// The question before the open tournament is left: answer 0 stays, 1 goes
// on, 2 saves first. A save that fails stops the command, or what it could
// not write would be lost; with no player there is nothing to lose.
bool MayLeaveTournament() {
    const int answer = AskQuestion(MessageText(MsgLeaveOpenTournament), MessageText(MsgNo),
                                   MessageText(MsgYes), MessageText(MsgSaveFirst));
    if (answer == 0) return false;
    return answer != 2 || SaveTournament() || PlayerCount < 1;
}

// What follows the start of a tournament: the close of the registration's
// own steps go before the pairing of round 1.
int PairFirstRoundCommand(int) {
    PrepareFirstRound();
    PairRoundCommand();
    return CurrentRound >= 1 ? 1 : 0;
}

} // namespace

void NewTournamentCommand() {
    if (!MayLeaveTournament()) return;
    OpenSettingsDialog(NewTournamentKind);
    UpdatePlayerCounters();
    TournamentChanged();
}

void OpenTournamentCommand() {
    // Changes not yet written are asked about as well as a tournament under
    // way: opening another would drop them.
    if ((ClosedRegistration != 0 || TournamentSaved == 0) && !MayLeaveTournament()) return;
    std::string file, folder;
    if (!WkFileBrowser(MessageText(MsgOpenTournamentTitle).c_str(), "*.qon *.ini", file, folder, 1)) return;
    if (PlayersPage.playerList) WkListHide(PlayersPage.playerList);
    const bool opened = OpenTournament(folder + file);
    if (PlayersPage.playerList) WkListShow(PlayersPage.playerList);
    if (!opened) return;

    // Nothing of the tournament left shows: no file, no board.
    ClearViewedFile(OutputPage.fileViewer);
    ResetResultsFields();
    const std::string title = std::string(Settings.BaseName) + " - " + ProgramTitle;
    if (MainWindow.window) WkShellSetTitle(MainWindow.window, title.c_str());
    SetMenuItem(MainWindow.saveItem, true);
    if (ClosedRegistration != 0) {
        ShowRoundsRead();
        if (IsPairingDone != 0 && IsGetResultDone == 0) Alert(MsgResultsNotComplete);
    } else {
        for (WkObject* list : {PairingPage.pairingList, ResultsPage.resultsList})
            if (list) WkListClear(list);
        SetSensitive(MainWindow.pages[kPairingPage], false);
        SetSensitive(MainWindow.pages[kResultsPage], false);
        RegistrationReopened();
    }
    ShowRegistration(ClosedRegistration == 0);
    TournamentOpen = 1;
    ClearPlayerForm();
    RefreshWindow();
}

void LoadRoundFileCommand() {
    if (AskQuestion(MessageText(MsgLeaveOpenTournament), MessageText(MsgNo), MessageText(MsgYes)) != 1)
        return;
    std::string file, folder = Settings.DataFolder;
    if (!WkFileBrowser(MessageText(MsgLoadRoundFileTitle).c_str(), "*.rnd", file, folder, 0)) return;
    // The file is read where it was chosen: a round file kept in another
    // folder is as good as the tournament's own.
    if (!ReadRoundStateFile(folder + file)) return;
    ShowRoundsRead();
    RefreshWindow();
}

void CloseRegistration() {
    const bool swiss = !IsRoundRobin();
    if (swiss && PlayerCount <= 5) return Alert(MsgSwissTooFewPlayers);
    if (swiss && Settings.PlannedRounds >= PlayerCount) return Alert(MsgSwissTooFewPlayersForRounds);
    if (!swiss && (PlayerCount < 3 || PlayerCount > 24)) return Alert(MsgRoundRobinPlayerCount);
    if (RefuseUnnamedTournament()) return;
    const int rounds = Settings.PlannedRounds;
    if (swiss && rounds >= 0 && rounds < 30 && PlayerCount >= (1 << (rounds + 1)))
        Alert(MsgManyPlayersForRounds);
    if (AskQuestion(MessageText(MsgCloseRegistrationQuestion), MessageText(MsgNo), MessageText(MsgYes)) != 1)
        return;

    MainWindowWidgets& w = MainWindow;
    ShowRegistration(false);
    SetSensitive(w.pages[kPairingPage], true);
    SetSensitive(w.pages[kResultsPage], false);
    SetSensitive(w.pages[kOutputPage], true);
    CommitPlayerList();
    ClosedRegistration = 1;
    if (StartTournament(PlayerCount)) return;
    ClosedRegistration = 0;
    ShowRegistration(true);
    SetSensitive(w.pages[kPairingPage], false);
    RefreshWindow();
}

void PrepareFirstRound() {
    ClearPlayerForm();
    RefreshRoundControls();
    TournamentChanged();
    SaveTournament();
    if (MainWindow.notebook) WkFormSetPage(MainWindow.notebook, kPairingPage);
}

void InstallTournamentCommandHooks() {
    TournamentWindow.pairFirstRound = PairFirstRoundCommand;
}
