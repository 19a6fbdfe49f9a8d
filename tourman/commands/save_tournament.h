// The one save routine of the Save item, the autosaves and the close.
#pragma once

// Writes the tournament file when it is not up to date (the player list
// committed first) and, once the registration is closed, the round-state
// file. With no registered player, or no file name given yet, it alerts and
// writes nothing. True when everything it had to write was written.
bool SaveTournament();
// The Save item and the close's save. A proposed round is not saved (a
// reopened tournament waits for its pairing again, and a round paired by
// hand cannot be proposed again), so while one waits the arbiter is asked
// first: Yes accepts it, which saves the tournament with the round open for
// results; No saves without it; Cancel saves nothing. True when the
// tournament was saved.
bool SaveTournamentCommand();
// Alerts and returns true while the tournament has no file name (none was
// created or opened): there is nowhere to write its files.
bool RefuseUnnamedTournament();
