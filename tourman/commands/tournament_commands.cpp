#include "tourman/commands/tournament_commands.h"

#include "pairing/round_dispatcher.h"
#include "toolkit/core/native_windows.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/file_browser.h"
#include "toolkit/widgets/form_pages.h"
#include "tourman/commands/round_commands.h"
#include "tourman/commands/save_tournament.h"
#include "tourman/dialogs/settings_dialog.h"
#include "tourman/frame/window_frame.h"
#include "tournament/files/host_files.h"
#include "tournament/files/player_list_row.h"
#include "tournament/files/round_state_file.h"
#include "tournament/files/rounds_aside.h"
#include "tournament/files/tournament_file.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_robin_scores.h"
#include "tournament/round_state.h"
#include "tournament/scores.h"
#include "tournament/settings.h"
#include "tournament/start_tournament.h"
#include "tournament/tournament_window.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kPairingPage = 1;

void Alert(MessageNumber message) {
    ShowAlert(MessageText(message), MessageText(MsgClose));
}

// Rounds have been read from a file: no proposal of the program before is
// pending, no result entry open, and the scores follow the rounds read whose
// results are closed, as the program that saved them had them; a round
// accepted without its results counts in no score. A round file loaded over
// the tournament changes the standings and writes them. An open writes them
// again only when every round read is closed: they are then the ones the
// close of the last round wrote, and one lost comes back; with a round
// waiting for its results those on disk are the last close's and the
// acceptance's, which no recomputation gives again, so none is written.
void RoundsRead(bool opened) {
    const int rounds = ClosedRounds();
    // Before round 1 is closed the saving program wrote no standings.
    const bool writeReports = !opened || (rounds == CurrentRound && rounds >= 1);
    if (IsRoundRobin()) ComputeRoundRobinTieBreaks(rounds, PlayerCount, writeReports);
    else ComputeScores(rounds, PlayerCount, writeReports);
    SetCurrentRound(CurrentRound);
}

// The question before the open tournament is left: answer 0 stays, 1 goes
// on, 2 saves first. A save that fails stops the command, or what it could
// not write would be lost; with no player there is nothing to lose.
bool MayLeaveTournament() {
    const int answer = AskQuestion(MessageText(MsgLeaveOpenTournament), MessageText(MsgNo),
                                   MessageText(MsgYes), MessageText(MsgSaveFirst));
    if (answer == 0) return false;
    return answer != 2 || SaveTournamentCommand() || PlayerCount < 1;
}

// The question before a round file under the tournament's name is written
// over. Nothing tells whose rounds it holds: the tournament file says that
// no round state goes with it, which a new event under the name says, and
// so does its own file with that flag lost. The question says what is
// known, the rounds the file holds, and claims no other event.
std::string RoundFileInTheWayQuestion() {
    const std::string name = std::string(Settings.BaseName) + ".rnd";
    const int rounds = RoundFileRounds(RoundStatePath());
    const std::string held = rounds < 0    ? ", which cannot be read as a round file"
                             : rounds == 0 ? " with no round paired"
                             : rounds == 1 ? " with round 1"
                                           : " with rounds 1 to " + std::to_string(rounds);
    return "The folder already holds the round file \"" + name + "\"" + held +
           ".\nThis tournament file does not take it in: it says that no round was saved with it.\n"
           "Closing the registration writes over the round file. Go on?";
}

// What follows the start of a tournament: the close of the registration's
// own steps go before the pairing of round 1.
int PairFirstRoundCommand(int) {
    PrepareFirstRound();
    if (IsRoundRobin() && CurrentRound == 1) WriteAcceptedRound(true);
    else PairRoundCommand();
    return CurrentRound >= 1 ? 1 : 0;
}

} // namespace

void NewTournamentCommand() {
    // Nothing is left behind at start-up, before any tournament is made or
    // opened, unless players were typed in: the new tournament drops them.
    if ((TournamentOpen != 0 || PlayerCount > 0) && !MayLeaveTournament()) return;
    OpenSettingsDialog(NewTournamentKind);
    TournamentChanged();
}

void OpenTournamentCommand() {
    // Changes not yet written are asked about as well as a tournament under
    // way: opening another would drop them.
    if ((ClosedRegistration != 0 || TournamentSaved == 0) && !MayLeaveTournament()) return;
    std::string file, folder;
    if (!WkFileBrowser(MessageText(MsgOpenTournamentTitle).c_str(), "*.qon *.ini", file, folder, 1)) return;
    if (TournamentWindow.hidePlayerList) TournamentWindow.hidePlayerList();
    const bool opened = OpenTournament(folder + file);
    if (TournamentWindow.showPlayerList) TournamentWindow.showPlayerList();
    if (!opened) return;

    const std::string title = std::string(Settings.BaseName) + " - " + ProgramTitle;
    if (MainWindow.window) WkShellSetTitle(MainWindow.window, title.c_str());
    if (ClosedRegistration != 0) RoundsRead(true);
    else RegistrationReopened();
    // The window shows the tournament opened before anything is said of it.
    TournamentOpened();
    if (ClosedRegistration != 0 && IsPairingDone != 0 && IsGetResultDone == 0) Alert(MsgResultsNotComplete);
}

void LoadRoundFileCommand() {
    if (AskQuestion(MessageText(MsgLeaveOpenTournament), MessageText(MsgNo), MessageText(MsgYes)) != 1)
        return;
    std::string file, folder = Settings.DataFolder;
    if (!WkFileBrowser(MessageText(MsgLoadRoundFileTitle).c_str(), "*.rnd", file, folder, 0)) return;
    // The file is read where it was chosen: a round file kept in another
    // folder is as good as the tournament's own, unless it was kept aside
    // with other players than those listed now.
    const std::string path = folder + file, misfit = KeptPlayersProblem(path);
    if (!misfit.empty())
        return ShowAlert(MessageText(MsgCannotReadRoundFile) + "\n" + misfit + "\nNothing was loaded.",
                         MessageText(MsgClose));
    if (!ReadRoundStateFile(path)) return;
    // The tournament file says whether rounds go with it (a reopened
    // registration's says none): the next save writes it with the round
    // file, as one change, or an open would leave the rounds loaded out.
    TournamentChanged();
    RoundsRead(false);
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
    // The tournament's round file is written from the start on; one under
    // its name already in the folder is not its own (a reopened registration
    // keeps its rounds under another name), and is not written over unasked.
    std::error_code error;
    if (std::filesystem::exists(HostFileName(RoundStatePath()), error) &&
        AskQuestion(RoundFileInTheWayQuestion(), MessageText(MsgNo), MessageText(MsgYes)) != 1)
        return;

    if (TournamentWindow.commitPlayerList) TournamentWindow.commitPlayerList();
    // Late entries only from here on, the rows kept at their numbers.
    RegistrationClosed();
    if (StartTournament(PlayerCount)) return;
    RegistrationCloseUndone();
}

void PrepareFirstRound() {
    // The start wrote the tournament whole: its file and its round state.
    if (MainWindow.notebook) WkFormSetPage(MainWindow.notebook, kPairingPage);
}

void BackToOpenRegistration(int newTournament) {
    // A new tournament starts from nothing; only a reopened registration
    // takes back the rounds it played.
    if (!newTournament && PlayerCount > 0) DeleteRounds(1, CurrentRound, PlayerCount);
    if (newTournament) {
        ClearPlayers();
        ResetByePlayer();
        ResetTournament();
    }
    // The list sorts its rows again as they come: the window shows the
    // registration open from here.
    RegistrationReopened();

    if (TournamentWindow.clearPlayerLists) TournamentWindow.clearPlayerLists();
    if (newTournament) {
        WriteTournamentFile(0);
        const std::string title = std::string(Settings.BaseName) + " - " + ProgramTitle;
        if (MainWindow.window) WkShellSetTitle(MainWindow.window, title.c_str());
    } else {
        if (TournamentWindow.hidePlayerList) TournamentWindow.hidePlayerList();
        // The file was written from these players: when it cannot be read
        // back, the list shows them as they stand, or it would be empty
        // while they are registered.
        if (!ReadTournamentFile(TournamentFilePath(0)))
            for (int id = 1; IsRegisteredId(id); ++id) {
                const std::string row = PlayerListRow(Players[id], 0);
                if (TournamentWindow.addPlayerLine) TournamentWindow.addPlayerLine(row);
                if (Players[id].available == 0 && TournamentWindow.addUnavailableLine)
                    TournamentWindow.addUnavailableLine(row);
            }
        if (TournamentWindow.showPlayerList) TournamentWindow.showPlayerList();
    }
    // A reopened registration is the same tournament, shown as such since
    // RegistrationReopened: the file shown stays in the viewer.
    if (newTournament) TournamentOpened();
}

bool SaveTournamentCommand() {
    if (!CurrentRoundProposed()) return SaveTournament();
    const int answer = AskQuestion(
        "The proposed round is not saved: a tournament opened again waits for its pairing.\n"
        "Accept the pairing before saving?",
        "Cancel", MessageText(MsgNo), MessageText(MsgYes), 0);
    // Cancel, also the answer of a box closed by Escape, saves nothing.
    if (answer == 0) return false;
    return answer == 2 ? AcceptPairing() : SaveTournament();
}

void InstallTournamentCommandHooks() {
    // A round robin's schedule leaves nothing to ask.
    TournamentWindow.askFirstRound = [] { return IsRoundRobin() || AskFirstBoardColour(); };
    TournamentWindow.pairFirstRound = PairFirstRoundCommand;
    NewTournamentAccepted = [] { BackToOpenRegistration(1); };
}
