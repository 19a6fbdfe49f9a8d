#include "tourman/main_window/window_frame.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/message_dialog.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
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

} // namespace

void SetSensitive(WkObject* object, bool on) {
    if (object) on ? WkObjectEnable(object) : WkObjectDisable(object);
}

std::string StatusLineText() {
    std::string state = MessageText(ClosedRegistration == 0 ? MsgStateRegistrationOpen
                                    : IsPairingDone != 0    ? MsgStatePaired
                                                            : MsgStateReadyForNextRound);
    bool lastRound = !IsRoundRobin() && CurrentRound == Settings.PlannedRounds;
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
