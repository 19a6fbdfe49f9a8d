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
// The set-aside is part of the reopen's one change of the folder: its steps
// are listed in the change (journal.h), which the reopen commits together
// with the tournament file that says no round goes with it and the removal
// of the tournament's own round file. The module owns no state of its own.
#pragma once

#include <string>
#include <vector>

class Journal;

struct RoundsAside {
    std::string stem;           // "<base>-reopened[n]", empty when nothing is set aside
    bool mainKept = false;      // the round file is linked to "<stem>.rnd"
    std::vector<int> snapshots; // the rounds whose snapshot is renamed to its kept name
};

// Lists in change the steps that set aside the data folder's round files of
// the open tournament as the header says: the record of players
// 1..PlayerCount written, the round file linked to its kept name, each
// snapshot renamed to its own. Nothing is listed when the folder holds none.
// False, with nothing listed and the reason in problem, when the folder
// cannot be read or every kept name is taken; nothing is shown.
bool SetRoundsAside(Journal& change, RoundsAside& aside, std::string& problem);

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
