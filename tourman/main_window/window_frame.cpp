#include "tourman/main_window/window_frame.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/menu.h"
#include "toolkit/widgets/message_dialog.h"
#include "tourman/commands/round_commands.h"
#include "tourman/dialogs/settings_dialog.h"
#include "tourman/pages/pairing/pairing_page.h"
#include "tourman/pages/players/players_page.h"
#include "tourman/pages/players/players_widgets.h"
#include "tourman/pages/results/result_entry.h"
#include "tourman/pages/results/results_page.h"
#include "tournament/game_code.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <cstdio>

MainWindowWidgets MainWindow;
int AvailablePlayerCount = 0;

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

void SetSensitive(WkObject* object, bool on) {
    if (object) on ? WkObjectEnable(object) : WkObjectDisable(object);
}

void SetSensitive(WkMenuItem* item, bool on) {
    if (item) on ? WkMenuItemEnable(item) : WkMenuItemDisable(item);
}

TournamentStage CurrentStage() {
    if (ClosedRegistration == 0)
        return TournamentOpen != 0 ? TournamentStage::RegistrationOpen : TournamentStage::NoTournament;
    if (IsPairingDone != 0) return TournamentStage::RoundAccepted;
    if (CurrentRoundProposed()) return TournamentStage::RoundProposed;
    return TournamentStage::WaitingForPairing;
}

void RefreshRoundControls() {
    ShowPlayersPageState();
    ShowPairingPageState();
    ShowResultsPageState();
    ShowWindowState();
    UpdateStatusLine();
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
    // With the registration open both are greyed: a tournament made, opened
    // or reopened while one of them is on show shows the players page, the
    // focus in Name, so that the players typed next go into the form.
    const int shown = w.notebook ? WkFormGetPage(w.notebook) : kPlayersPage;
    if (ClosedRegistration == 0 && (shown == kPairingPage || shown == kResultsPage)) {
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
    AvailablePlayerCount = 0;
    for (int id = 1; id <= PlayerCount; ++id)
        if (Players[id].available) ++AvailablePlayerCount;
    const int counts[2] = {PlayerCount, AvailablePlayerCount};
    WkObject* counters[2] = {MainWindow.playerCounter, MainWindow.availableCounter};
    for (int i = 0; i < 2; ++i) {
        if (!counters[i]) continue;
        std::string text = MessageText(MsgPlayersCounter + i) + " " + std::to_string(counts[i]);
        WkObjectSetText(counters[i], text.c_str());
    }
}

int AskYesNo(const char* title, const char* text) {
    const std::string no = MessageText(MsgNo), yes = MessageText(MsgYes);
    return WkMessageDialog(title, text, no.c_str(), yes.c_str(), nullptr) == 1 ? 1 : 0;
}
