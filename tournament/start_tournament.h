// Opening a tournament and starting it.
//
// OpenTournament is the open command: the tournament file, then, when it
// says a round state was saved, the round-state file of its family, with every table and flag of the
// tournament open before reset first. StartTournament gives the pairing
// numbers once the registration is closed, writes and re-reads the file,
// fixes a round robin's schedule and has round 1 paired.
#pragma once

#include <string>
#include <vector>

// Player ids 1..count in the order of their new pairing numbers: answer 0 by
// rating (ComparePairingNumberOrder), 1 a random draw from NextRandom, any
// other answer as entered.
std::vector<int> PairingNumberOrder(int count, int answer);

// Asks how the pairing numbers are given (MsgPairingNumbersQuestion), stores
// the answer in RandomSort and asks what round 1 needs through
// TournamentWindow.askFirstRound; either question left unanswered (Escape,
// the close box) stops the start at once, with nothing written. Then, for a
// round robin, builds the schedule and puts round 1 in place, accepted;
// writes the round-state file and the tournament file in the new order as
// one change of the folder (journal.h), and reads that back; then has round
// 1 paired through TournamentWindow.pairFirstRound (a round robin's only
// shown). A round robin of fewer than 3 or more than 24 players is refused
// before anything is asked or written. False when the tournament was not
// started: after a question left, or after the alert of the file that
// failed; the files are then as they were.
bool StartTournament(int count);

// Opens the tournament file at path, once a stopped change of the
// tournament's files has been finished or dropped (RecoverJournal, told by
// an alert): on success the data folder becomes the file's folder, the round
// tables and flags are reset and the round-state file is read when the
// tournament file says a round state was saved. False, with the open
// tournament unchanged, when the tournament file cannot be read.
bool OpenTournament(const std::string& path);
