#include "tourman/commands/save_tournament.h"

#include "tournament/files/journal.h"
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

namespace {

// The tournament file and the round-state file in one change: a folder
// holding the one of after beside the other of before (a late entry's
// players beside the rows of before) could not be opened. The alert names
// the file that failed and says whether the old pair stands or the new one
// is put in place when the tournament is opened next.
bool WriteBothFiles(bool autosave) {
    const std::string qon = TournamentFilePath(0), rnd = RoundStatePath();
    // A change left standing by an earlier save is finished first: its
    // temporary files are about to be written anew.
    Journal journal(TournamentJournalPath());
    if (!journal.recovered().empty()) ShowAlert(journal.recovered(), MessageText(MsgClose));
    std::string problem;
    Journal::Outcome outcome = Journal::Outcome::Before;
    // An autosave's tournament file is mostly as it was: left alone then,
    // the result key waits for one sync, not for a journal's.
    if (!WriteTournamentFileInto(journal.write(qon, autosave))) problem = qon;
    else if (!WriteRoundStateFileInto(journal.write(rnd))) problem = rnd;
    else outcome = journal.commit(problem);
    if (outcome == Journal::Outcome::After) {
        TournamentMatchesFile();
        return true;
    }
    const bool roundFile = problem.compare(0, rnd.size(), rnd) == 0 && problem.compare(0, qon.size(), qon) != 0;
    ShowAlert(MessageText(roundFile ? MsgCannotWriteRoundFile : MsgCannotWriteTournamentFile) + "\n" + problem +
                  (outcome == Journal::Outcome::Stands
                       ? "\nThe new files are put in place when the tournament is opened next."
                       : "\nThe tournament's files are as they were."),
              MessageText(MsgClose));
    return false;
}

bool Save(bool autosave) {
    if (PlayerCount < 1) {
        ShowAlert(MessageText(MsgNoPlayerRegistered), MessageText(MsgClose));
        return false;
    }
    // Its files would be ".qon" and ".rnd", hidden, in whatever folder is current.
    if (RefuseUnnamedTournament()) return false;
    if (TournamentSaved == 0) {
        if (TournamentWindow.commitPlayerList) TournamentWindow.commitPlayerList();
        if (ClosedRegistration == 0) return WriteTournamentFile(0);
        PlayerNumbersFixed();
        return WriteBothFiles(autosave);
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

