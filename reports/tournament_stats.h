// The tournament statistics "tourstat.txt" in the DataFolder: the settings
// (name, place, dates, arbiter, system, rounds, points, tie-breaks), the
// number of players and their average rating, the players grouped by
// country with each country's total score, and the countries ranked by
// that total. Only reads the players, their scores and the settings.
#pragma once

// Writes the statistics with the country groups of players 1..players
// (limited to the registered ones); the player number counts every
// registered player, the average rating every rated one (withdrawn or
// not), and with none rated the average shows no value. Countries rank by
// their totals as numbers, larger first, equal totals by country code,
// later codes first. Returns whether the file was written.
bool WriteTournamentStatistics(int players);
