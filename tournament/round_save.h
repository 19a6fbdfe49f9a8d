// Saving one round of results.
//
// SaveRound is what closing the result entry does for the round shown on
// the results page: it rebuilds that round's per-player cells from its game
// codes, writes the round's snapshot of the round-state file and has the
// round's result lists written. The close of the result entry takes the two
// halves apart (SaveRoundState lists the snapshot in the change that also
// writes the tournament's own round-state file, then WriteRoundResultLists),
// so that no list shows what the files do not hold yet. The result lists
// belong to the reports, which install their writer in ResultListsWriter at
// start (empty by default: then no lists are written). Owns nothing else.
#pragma once

// The writer of a round's result lists; null writes none.
extern bool (*ResultListsWriter)(int round);

class Journal;

// Rebuilds round's cells and, when round is the current round, lists the
// write of its snapshot "<DataFolder><base name><round>.rnd", in the layout
// of the tournament's family, in change. An earlier round closed again keeps
// the snapshot it was closed with: that file is the way back to the
// tournament as it stood then, and the state of a later round written under
// its name would end it. False when round is outside the tables (nothing is
// done).
bool SaveRoundState(int round, Journal& change);
// Has round's result lists written (nothing without a writer).
void WriteRoundResultLists(int round);
// SaveRoundState in a change of its own, committed, then the result lists
// (written also when the snapshot failed); false when round is outside the
// tables or the snapshot could not be written (after the alert naming it;
// the cells are rebuilt all the same).
bool SaveRound(int round);
