#include "tourman/main_window/main_window.h"

#include "pairing/score_groups.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/window_system.h"
#include "tourman/commands/save_tournament.h"
#include "tourman/commands/tournament_commands.h"
#include "tourman/frame/window_frame.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/settings.h"

#include <cstdlib>

int OnMainWindowClose(WkObject* window, std::intptr_t, void*, WkMessage*) {
    // As before a new tournament: before any tournament is made or opened,
    // and with no player typed in, there is nothing to lose and nothing to ask.
    const bool somethingToLose = TournamentOpen != 0 || PlayerCount > 0;
    int answer = !somethingToLose ? 1
                                  : AskQuestion(MessageText(MsgCloseWithoutSaving), MessageText(MsgNo),
                                                MessageText(MsgYes), MessageText(MsgSaveFirst));
    if (answer == 0) return 1;
    // A save that failed has already said why, and a cancelled one asked to
    // stay; closing now would lose what it did not write. With no player
    // registered there is nothing to lose.
    if (answer == 2 && !SaveTournamentCommand() && PlayerCount > 0) return 1;
    WkShellDestroy(window);
    ForgetMainWindow();
    WkShutdown();
    if (!IsRoundRobin()) ClearScoreGroups(CurrentRound);
    std::exit(0);
}

void ExitCommand() {
    OnMainWindowClose(MainWindow.window, 0, nullptr, nullptr);
}
