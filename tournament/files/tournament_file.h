// The tournament file: one tournament's settings and registered players.
//
// "<DataFolder><base name>.qon", CR LF text: a banner, the settings, the
// player count, a column line and one line per player with eleven fields
// separated by ';'. Files without the banner are the older layout (four
// tie-break codes, three numbers on the systems line) and are still read.
//
// Writers replace the file safely (temporary file, then rename), so a failed
// save leaves the file on disk as it was. The ".bak" copy is written only on
// the arbiter's request and no save touches it. Only a complete write of the
// ".qon" file marks the tournament saved. The reader checks every line and
// refuses a bad file with an alert naming the file, the line and what was
// expected; only a whole, valid file changes the settings and the players.
// What the reader accepts the writer keeps: texts longer than their fields are
// cut at the field width when read, points are refused beyond one decimal.
#pragma once

#include "tournament/players.h"
#include "tournament/settings.h"

#include <cstdio>
#include <string>
#include <vector>

class AtomicFileWriter;

// "<DataFolder><base name>.qon", or ".bak" when backup is nonzero.
std::string TournamentFilePath(int backup);
// "<DataFolder><base name>.journal": the record of a change of the
// tournament's files (tournament/files/journal.h), which every command that
// changes more than one of them goes through.
std::string TournamentJournalPath();

// The registered players' ids, 1 to the last, as the file lists them.
std::vector<int> RegisteredIds();

// Lines 1-12 with count on line 11, written to an open file.
void WriteTournamentHeader(std::FILE* file, int count);
// A text field as the file keeps it: a ';' (which would split the line) and
// a control character (which would not read back) become blanks. Importers
// apply it too, so that a player reads back as he was taken in.
std::string PlayerFileText(const std::string& text);
// One player line without its line end: eleven fields, ';' between them.
// Text fields are written through PlayerFileText, an empty gender as a blank.
std::string FormatPlayerLine(const Player& player);

// Writes the header with PlayerCount and players 1..PlayerCount to the ".qon"
// file or, with backup nonzero, to the ".bak" file. False after the alert of
// MsgCannotWriteTournamentFile when anything failed; the file on disk is then
// as it was.
bool WriteTournamentFile(int backup);
// Writes what WriteTournamentFile(0) writes into out, for a caller that
// commits it together with other files (target TournamentFilePath(0)): no
// alert, no commit, nothing marked saved. False when out could not be
// created or a write failed.
bool WriteTournamentFileInto(AtomicFileWriter& out);
// Writes the header with savedRound and the players of ids (registered ids),
// first to last, into out, for a change of several files (target
// TournamentFilePath(0)): the start gives the players in the order of their
// new numbers, a reopened registration says that no round is saved. No
// alert, nothing marked saved. False when an id is not registered, out could
// not be created or a write failed.
bool WriteTournamentFileInto(AtomicFileWriter& out, int savedRound, const std::vector<int>& ids);
// Writes a new tournament file at path, in the same layout and as safely: the
// header from settings with no round saved, then the players of ids (registered
// ids), first to last, renumbered from 1 when read back. The open tournament is
// not touched and TournamentSaved stays as it is. False after the alert of
// MsgCannotWriteTournamentFile when anything failed or an id is not registered;
// the file on disk is then as it was.
bool WriteTournamentFileAt(const std::string& path, const TournamentSettings& settings, const std::vector<int>& ids);

// Reads the tournament file at path into the settings and players 1..N and
// fills the main window's lists, a player who is not available in both. Once
// the file says its pairing numbers are fixed or the registration is closed,
// the available field must be 0 or 1; before, anything but 0 reads as
// available. False after an alert (MsgCannotReadTournamentFile, or the bad
// line) with nothing changed.
bool ReadTournamentFile(const std::string& path);
// What the tournament file at path says of its rounds, read whole as
// ReadTournamentFile reads it before the registration is closed, with
// nothing changed and nothing shown; false when it cannot be read.
struct TournamentFileRounds {
    std::string baseName;
    int pairingSystem = 0;
    int savedRound = 0;
    int players = 0;
    int baseNameLine = 0; // the line that holds the base name
};
bool PeekTournamentFile(const std::string& path, TournamentFileRounds& rounds);

// Appends one player line to another tournament's file (path ends in "qon")
// and raises its count: the file is copied with the new line into "...qn2",
// and that copy replaces the file only when every write went well. 1 after
// the alert "The player has been moved"; 0 after an alert, the target file
// untouched.
int AppendPlayerToTournamentFile(const std::string& path, const std::string& line);
