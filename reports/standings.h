// The standings of the tournament, rewritten after every recomputation of
// the scores: "tblscore.txt" and the web page "tblscore.html" (the "Ranking
// List") in standings order with the tie-break columns of the tournament's
// order, and "rankcat.txt", the standings split into blocks by title
// category. The text standings print a further tie-break value only while it
// is needed to separate the player from a neighbour. Only reads the players,
// the scores and the settings.
#pragma once

// Writes "tblscore.txt" and "tblscore.html" for players 1..players (each even
// when the other fails). Returns true only when both were written.
bool WriteStandings(int players);

// Writes "rankcat.txt" for players 1..players. Returns true when written.
bool WriteStandingsByCategory(int players);
