// A change of several files of the open tournament's folder, made as one.
//
// A command that changes more than one file of the folder (the start of the
// tournament, the acceptance of a round, the close of its results, the
// reopened registration) lists its steps in one TournamentChange, a journal
// on TournamentJournalPath() (journal.h), and commits it. The change tells
// the arbiter what he must know, once nothing of a change given up is left
// in the folder: the file that failed and whether the folder is as it was
// or the change is finished at the next open. Owns its journal.
#pragma once

#include "tournament/files/journal.h"

#include <optional>
#include <string>

class TournamentChange {
  public:
    // A standing change found at the record is finished or dropped first
    // (RecoverJournal); what that says is shown at the commit.
    TournamentChange();

    // The steps are listed here.
    Journal& journal() { return *journal_; }

    // Commits the change. A step that failed once the change stood is
    // tried again at once. True when the change is made, or stands and is
    // finished at the next open (after an alert naming the step's file);
    // false after the alert naming the file that failed and ending in
    // asItWas, shown once the folder is as it was. Called once.
    bool commit(const std::string& asItWas = "The tournament's files are as they were.");
    // The save of the tournament once its registration is closed, listed
    // after the steps listed already: the tournament file when it is not up
    // to date (the player list committed first, the pairing numbers fixed)
    // and the round-state file; then commit(). Once made, the tournament
    // matches its file. An autosave keeps the tournament file as it is
    // when its bytes are unchanged (keepUnchanged), so that a result key
    // waits for one sync, not for a journal's.
    bool commitWithSave(bool keepUnchanged = false);
    // The change given up before its commit: nothing of it stays.
    void drop() { journal_.reset(); }

  private:
    std::optional<Journal> journal_;
};
