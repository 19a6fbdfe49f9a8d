#include "tourman/commands/save_tournament.h"

#include "tournament/files/round_state_file.h"
#include "tournament/files/tournament_file.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/settings.h"
#include "tournament/tournament_window.h"

bool RefuseUnnamedTournament() {
    if (Settings.BaseName[0] != '\0') return false;
    ShowAlert("The tournament has no file name yet: nothing is written.\nStart it with New tournament (File menu).",
              MessageText(MsgClose));
    return true;
}

bool SaveTournament() {
    if (PlayerCount < 1) {
        ShowAlert(MessageText(MsgNoPlayerRegistered), MessageText(MsgClose));
        return false;
    }
    // Its files would be ".qon" and ".rnd", hidden, in whatever folder is current.
    if (RefuseUnnamedTournament()) return false;
    if (TournamentSaved == 0) {
        if (TournamentWindow.commitPlayerList) TournamentWindow.commitPlayerList();
        if (ClosedRegistration != 0) PlayerNumbersFixed();
        if (!WriteTournamentFile(0)) return false;
    }
    return ClosedRegistration == 0 || WriteRoundStateFile(RoundStatePath());
}

