// The rankings by rating group ("rankgrp.txt") and by birth-date group
// ("rankdagr.txt") in the DataFolder, written when the arbiter confirms the
// limits of up to five groups.
//
// Each group that holds a player gets its own ranking in standings order
// with the tie-break columns of the tournament's order. Birth dates are read
// whole from "dd.mm.yy" (or six digits ddmmyy), and a two-digit year is taken
// in this century when it is not later than the current year, else in the
// last one; a player without a whole birth date is in no date group. Owns
// nothing but the limits type; reads the players, the scores and the settings.
#pragma once

#include <string>

constexpr int RankingGroupCount = 5;

// One group: a value v is in it when lower < v <= upper. For date groups
// both limits are dates written day x 10000 + month x 100 + two-digit year.
struct GroupLimit {
    int lower = 0;
    int upper = 0;
};
struct GroupLimits {
    GroupLimit groups[RankingGroupCount];
};

// Writes "rankgrp.txt": the groups of the players' ratings used.
bool WriteRatingGroupStandings(const GroupLimits& limits);
// Writes "rankdagr.txt": the groups of the players' birth dates, with the
// two-digit years read against currentYear (by default the clock's).
bool WriteDateGroupStandings(const GroupLimits& limits);
bool WriteDateGroupStandings(const GroupLimits& limits, int currentYear);

// The date value of a birth-date text, day x 10000 + month x 100 + two-digit
// year, or 0 when the text holds no whole date (day 1..31, month 1..12);
// "00.00.00", the date not given, gives 0.
int BirthDateValue(const std::string& birthDate);

// A date value as a number that sorts in time: four-digit year, month, day,
// with the two-digit year in this century when it is not later than
// currentYear. The value 0 (no date, or an empty limit) and any value below
// it sort before every date.
long DateSortKey(int date, int currentYear);
