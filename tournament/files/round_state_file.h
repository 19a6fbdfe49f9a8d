// The round-state files: the round counter, the progress flags and every
// player's per-round cells and the game codes, on disk.
//
// The main file is "<DataFolder><base name>.rnd"; each saved round also
// leaves a snapshot "<DataFolder><base name><round>.rnd" of the same layout.
// The round-robin family and the Swiss family have their own layout (the
// Swiss one adds the float marks and writes its sections even before the
// first round); the caller picks the pair by the pairing system, or lets
// WriteRoundStateFile and ReadRoundStateFile pick it. The tournament file
// must be read first: the layout follows PlayerCount and the pairing system.
//
// Writers replace the file safely (temporary file beside it, then rename)
// and end every line with CR LF. Readers accept CR LF or LF, check every line
// and number, and every table against the others and against the progress
// flags, and only once the whole file has been read change RoundState and
// the tables; a bad file, or one that is not a regular file, is refused with
// an alert naming the file, the line and what was expected, and the open
// tournament stays as it was.
#pragma once

#include <string>

class AtomicFileWriter;

// "%s%s.rnd" and "%s%s%d.rnd" of the data folder and the base name.
std::string RoundStatePath();
std::string RoundSnapshotPath(int round);

// Write the file at path from the current tables and RoundState; false after
// the alert of MsgCannotWriteRoundFile when it could not be written whole.
bool WriteRoundRobinState(const std::string& path);
bool WriteSwissState(const std::string& path);

// Read the file at path into RoundState and the tables, and give a Swiss
// tournament's players back the pairing state of the current round
// (RestorePairingState); false after an alert (MsgCannotReadRoundFile, and the
// reason) when it cannot be opened or is not a valid round-state file of the
// family, in which case nothing has changed.
bool ReadRoundRobinState(const std::string& path);
bool ReadSwissState(const std::string& path);

// The pair of the tournament's pairing system.
bool WriteRoundStateFile(const std::string& path);
// What WriteRoundStateFile writes, into out, for a caller that commits it
// together with other files: no alert, no commit. False when out could not
// be created; a failed write shows at the commit.
bool WriteRoundStateFileInto(AtomicFileWriter& out);
bool ReadRoundStateFile(const std::string& path);

// Why the round-state file at path cannot be read into a tournament of the
// given player count and pairing system: it is missing, cannot be opened or
// is not a whole valid file of the family (the text names the file, and the
// line and what was expected there). Empty when it can be read. Nothing
// changes and nothing is shown: the open command checks the file before it
// reads the tournament.
std::string RoundStateFileProblem(const std::string& path, int players, int pairingSystem);
// The name of the round snapshot "<base name><round>.rnd" in the folder
// of the highest round (whatever the file times), empty when there is none.
std::string NewestRoundSnapshot(const std::string& folder, const std::string& baseName);
