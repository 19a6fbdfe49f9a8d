// The tournament statistics "tourstat.txt" in the DataFolder: the settings
// (name, place, dates, arbiter, system, rounds, points, tie-breaks), the
// number of players and their average rating, the players grouped by
// country with each country's total score, and the countries ranked by
// that total. Only reads the players, their scores and the settings.
#pragma once

// Writes the statistics with the country groups of players 1..players
// (limited to the registered ones); the player number and the average
// rating count every registered player, and with none registered the
// average shows no value. Countries rank by their totals as numbers,
// larger first, equal totals by country code, later codes first. Returns
// whether the file was written.
bool WriteTournamentStatistics(int players);
