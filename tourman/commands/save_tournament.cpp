#include "tourman/commands/save_tournament.h"

#include "tournament/files/round_state_file.h"
#include "tournament/files/tournament_change.h"
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

namespace {

bool Save(bool autosave) {
    if (PlayerCount < 1) {
        ShowAlert(MessageText(MsgNoPlayerRegistered), MessageText(MsgClose));
        return false;
    }
    // Its files would be ".qon" and ".rnd", hidden, in whatever folder is current.
    if (RefuseUnnamedTournament()) return false;
    if (TournamentSaved == 0) {
        // The tournament file and the round-state file in one change: a
        // folder holding the one of after beside the other of before (a late
        // entry's players beside the rows of before) could not be opened.
        if (ClosedRegistration != 0) return TournamentChange().commitWithSave(autosave);
        if (TournamentWindow.commitPlayerList) TournamentWindow.commitPlayerList();
        return WriteTournamentFile(0);
    }
    return ClosedRegistration == 0 || WriteRoundStateFile(RoundStatePath());
}

} // namespace

bool SaveTournament() {
    return Save(false);
}

bool AutosaveTournament() {
    return Save(true);
}

