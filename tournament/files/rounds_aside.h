// The round files a reopened registration takes back, kept aside.
//
// Reopening the registration takes every round back, but the rounds played
// stay on disk under names the tournament's own open and start never read:
// the round file "<base>.rnd" as "<stem>.rnd" and each round snapshot
// "<base><round>.rnd" as "<stem>-round<round>.rnd", where the stem is
// "<base>-reopened" (numbered from 2 when a name is taken). Beside them
// "<stem>.players" records the players the rounds were played by, one
// tournament-file line each by number: a round file kept aside is taken in
// again only onto that list (a player deleted or added since would shift
// every game by one player).
//
// The set-aside is the first half of the reopen's one step on disk: the
// tournament's own round file stays in place (linked, or copied, to its kept
// name) until the tournament file says that no round goes with it; only the
// snapshots move at once, so that none of them is later advised as a round
// file of the tournament's new list. The module owns no state of its own.
#pragma once

#include <string>
#include <vector>

struct RoundsAside {
    std::string stem;           // "<base>-reopened[n]", empty when nothing was set aside
    bool mainKept = false;      // "<stem>.rnd" holds the round file, which is still in place
    bool recordWritten = false; // "<stem>.players" written
    std::vector<int> snapshots; // the rounds whose snapshot now lies under its kept name
};

// The data folder's round files of the open tournament set aside as the
// header says, with the record of players 1..PlayerCount. Nothing is set
// aside when the folder holds none. False, with everything undone and the
// reason in problem (the file that could not be written or moved), when a
// step failed; nothing is shown.
bool SetRoundsAside(RoundsAside& aside, std::string& problem);
// Undoes SetRoundsAside: the snapshots back under their names, the kept
// copy and the record removed (the tournament file could not be written).
void PutRoundsBack(const RoundsAside& aside);
// Removes the tournament's own round file once it is kept and the
// tournament file no longer takes it in; false when it is still there.
bool DropRoundFile(const RoundsAside& aside);

// The round of a snapshot's name "<base><round>.rnd" (a number from 1
// without padding), 0 for any other name.
int SnapshotRound(const std::string& name, const std::string& base);
// "<stem>.rnd" and "<stem>-round<round>.rnd" in the data folder's name space.
std::string KeptRoundFileName(const RoundsAside& aside);
std::string KeptSnapshotName(const std::string& stem, int round);

// Why the round file at path cannot be taken onto the players listed now:
// it was kept aside with a record of other players (another count, or
// another player at a number), or its record is damaged (the text names
// the record, the line and what was expected). Empty when it can be
// taken, and for a round file without a record, which is read as it is.
std::string KeptPlayersProblem(const std::string& path);

// The rounds the round file at path holds by its first line (the current
// round), -1 when it cannot be read as a number there. Nothing is shown.
int RoundFileRounds(const std::string& path);
