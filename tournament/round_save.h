// Saving one round of results.
//
// SaveRound is what closing the result entry does for the round shown on
// the results page: it rebuilds that round's per-player cells from its game
// codes, writes the round's snapshot of the round-state file and has the
// round's result lists written. The result lists belong to the reports,
// which install their writer in ResultListsWriter at start (empty by
// default: then no lists are written). Owns nothing else.
#pragma once

// The writer of a round's result lists; null writes none.
extern bool (*ResultListsWriter)(int round);

// Rebuilds round's cells, writes "<DataFolder><base name><round>.rnd" in the
// layout of the tournament's family and writes the result lists. Returns
// false when round is outside the tables (nothing is done) or when the
// snapshot could not be written (after the writer's alert; the tables are
// rebuilt and the result lists written all the same).
bool SaveRound(int round);
