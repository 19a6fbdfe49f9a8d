#include "tourman/main_window/show_tournament.h"

#include "pairing/round_dispatcher.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form_pages.h"
#include "tourman/frame/window_frame.h"
#include "tourman/pages/output/output_page.h"
#include "tourman/pages/pairing/pairing_page.h"
#include "tourman/pages/players/players_page.h"
#include "tourman/pages/players/players_widgets.h"
#include "tourman/pages/results/result_entry.h"
#include "tourman/pages/results/results_page.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/settings.h"

#include <cstdio>

namespace {

const char* SystemTag(int system) {
    static const char* const tags[] = {"",
                                       "[swiss Dubov]",
                                       "[single RR]",
                                       "[swiss quon]",
                                       "[swiss USCF]",
                                       "[double RR]",
                                       "[swiss Burstein]"};
    return system >= 1 && system <= 6 ? tags[system] : "";
}

constexpr int kPlayersPage = 0, kPairingPage = 1, kResultsPage = 2;

} // namespace

void ShowTournament() {
    ShowPlayersPageState();
    ShowPairingPageState();
    ShowResultsPageState();
    ShowOutputPageState();
    ShowWindowState();
    // The status line says "Ready" until a tournament is there.
    if (CurrentStage() != TournamentStage::NoTournament) UpdateStatusLine();
    UpdatePlayerCounters();
}

void ShowWindowState() {
    const TournamentStage stage = CurrentStage();
    MainWindowWidgets& w = MainWindow;
    SetSensitive(w.saveItem, stage != TournamentStage::NoTournament);
    SetSensitive(w.loadRoundFileItem, ClosedRegistration != 0);
    // An open result entry keeps the pairing away until its round is closed.
    SetSensitive(w.pages[kPairingPage],
                 (stage == TournamentStage::WaitingForPairing || stage == TournamentStage::RoundProposed) &&
                     !ResultEntryOpen());
    // Rounds are listed once the tournament has started; a proposal is
    // accepted or cancelled first.
    SetSensitive(w.pages[kResultsPage], ClosedRegistration != 0 && stage != TournamentStage::RoundProposed);
    // A tournament made or opened shows the players page from whichever
    // page was on show, the focus in Name, so that the players typed next go
    // into the form; with the registration open the pairing and results
    // pages are greyed and never stay on show (a reopened registration).
    const int shown = w.notebook ? WkFormGetPage(w.notebook) : kPlayersPage;
    const bool opened = w.tournamentOpenings != TournamentOpenings;
    w.tournamentOpenings = TournamentOpenings;
    if (opened || (ClosedRegistration == 0 && (shown == kPairingPage || shown == kResultsPage))) {
        WkFormSetPage(w.notebook, kPlayersPage);
        if (PlayersPage.name) WkObjectSetFocusBy(PlayersPage.name, WK_FOCUS_BY_KEY);
    }
}

std::string StatusLineText() {
    // A round robin's last round is the schedule's, a Swiss tournament's the
    // planned one.
    const int last = IsRoundRobin() ? LastPairableRound() : Settings.PlannedRounds;
    const bool lastRound = CurrentRound >= 1 && CurrentRound == last;
    std::string state = MessageText(ClosedRegistration == 0 ? MsgStateRegistrationOpen
                                    : IsPairingDone != 0    ? MsgStatePaired
                                                            : MsgStateReadyForNextRound);
    const TournamentStage stage = CurrentStage();
    // A proposed round is neither paired nor behind us: it waits for the
    // arbiter to accept or cancel it, which no message of the table says.
    if (stage == TournamentStage::RoundProposed) state = "pairing proposed, to accept";
    // Once the last round is closed no round follows: the tournament is over.
    if (stage == TournamentStage::WaitingForPairing && CurrentRound >= 1 && CurrentRound >= last)
        state = "tournament finished";
    char line[512];
    std::snprintf(line, sizeof line, lastRound ? "%s %s: %s (%d) - STATUS: %s" : "%s %s: %s %d - STATUS: %s",
                  Settings.BaseName, SystemTag(Settings.PairingSystem),
                  MessageText(lastRound ? MsgLastRound : MsgRound).c_str(), CurrentRound, state.c_str());
    return line;
}

void UpdateStatusLine() {
    if (MainWindow.statusLine) WkObjectSetText(MainWindow.statusLine, StatusLineText().c_str());
}

void UpdatePlayerCounters() {
    int availablePlayerCount = 0;
    for (int id = 1; id <= PlayerCount; ++id)
        if (Players[id].available) ++availablePlayerCount;
    const int counts[2] = {PlayerCount, availablePlayerCount};
    WkObject* counters[2] = {MainWindow.playerCounter, MainWindow.availableCounter};
    for (int i = 0; i < 2; ++i) {
        if (!counters[i]) continue;
        std::string text = MessageText(MsgPlayersCounter + i) + " " + std::to_string(counts[i]);
        WkObjectSetText(counters[i], text.c_str());
    }
}

void InstallTournamentShow() {
    RoundStateWindow.stateChanged = ShowTournament;
}

void RemoveTournamentShow() {
    RoundStateWindow.stateChanged = nullptr;
}
