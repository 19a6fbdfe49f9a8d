// The lists of registered players the arbiter hands out: "playname.txt"
// sorted by name and "playrat.txt" sorted by rating (then title, then name),
// both in the DataFolder, numbered in their order. Only reads the players
// and the settings.
#pragma once

// Write players 1..players (limited to the registered ones) whole. Return
// whether the file was written.
bool WritePlayersByName(int players);
bool WritePlayersByRating(int players);
