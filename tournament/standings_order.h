// The sort orders of the standings and the player lists.
//
// Each comparator takes two player ids and returns -1 when the first belongs
// before the second, else 1; none returns 0, and players equal on every key
// compare 1 both ways. "cmp(a, b) < 0" is therefore a strict weak order:
// sort with SortPlayerIds (a stable sort on it), never with qsort.
// The tie-break comparators compare one PlayerScore field: -1 when a's value
// is larger, 1 when b's is, 0 when equal (floats compared exactly).
#pragma once

#include "tournament/capacities.h"

#include <vector>

using PlayerComparator = int (*)(int a, int b);

// Indexed by TieBreakCode; entry 0 is null.
extern const PlayerComparator TieBreakComparators[TieBreakCodeCount];

// Score in tenths of a point (truncated), then the tie-breaks of
// TieBreakOrder in order, larger first.
int CompareStandings(int a, int b);
// Category rank (higher first), then as CompareStandings.
int CompareStandingsByCategory(int a, int b);
// Rating used descending, category rank descending, name ascending (byte order).
int ComparePairingNumberOrder(int a, int b);
// Name ascending as CompareNames has it (accented letters with their base
// letters), names that differ in case alone in byte order.
int ComparePlayersByName(int a, int b);
// Country ascending, then score in tenths descending.
int ComparePlayersByCountry(int a, int b);

// Sorts ids[0..count-1] (or a vector) by a comparator above, stably.
void SortPlayerIds(int* ids, int count, PlayerComparator compare);
void SortPlayerIds(std::vector<int>& ids, PlayerComparator compare);

// A date held as day x 10000 + month x 100 + two-digit year.
void SplitDate(int date, int& day, int& month, int& year);
// -1 a earlier, 0 same day, 1 a later; years above 14 are 19yy, the rest 20yy.
int CompareDates(int a, int b);
