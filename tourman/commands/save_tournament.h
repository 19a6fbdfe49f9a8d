// The one save routine under the Save item (SaveTournamentCommand, with
// the tournament commands), the autosaves and the close.
#pragma once

// Writes the tournament file when it is not up to date (the player list
// committed first) and, once the registration is closed, the round-state
// file; the two in one change of the tournament's journal when both are
// written (a change a kill or a failed rename left standing is finished
// first, and said so). With
// no registered player, or no file name given yet, it alerts and
// writes nothing. True when everything it had to write was written.
bool SaveTournament();
// SaveTournament for the autosave of the results: the tournament file, when
// it would be written as it is, is left alone.
bool AutosaveTournament();
// Alerts and returns true while the tournament has no file name (none was
// created or opened): there is nowhere to write its files.
bool RefuseUnnamedTournament();
