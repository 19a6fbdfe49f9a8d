// The player cards and the rating-variation list.
//
// A player card lists one player's rounds 1..CurrentRound: colour, opponent
// with rating, rating difference and expected score, the round's points, the
// running score and the opponent's score, and ends with the rating change,
// the performance rating and the average rating of the opponents. The cards
// are written as text "playercd.txt" and as the page "playercard.html" (one
// anchor per player id, the target of every player link of the web site);
// "elovar.txt" has one line per player with his rating change. All three go
// into the DataFolder. The text writer also stores each player's performance
// rating (PerformanceRating of the tournament model) in his PlayerScore; the
// page only reads what is stored. The text and the page are made at once,
// run aside (writers_aside.h). Owns no state.
#pragma once

// Writes "playercd.txt" and "elovar.txt" for players 1..players, stores each
// one's performance rating, and writes the page as WritePlayerCardsHtml does.
// Every file is written even when another fails, and the performances are
// stored all the same; returns true only when all three were written.
bool WritePlayerCards(int players);

// WritePlayerCards for a caller with other work meanwhile: stores the
// performances and returns while the files are made, run aside; the
// caller's AwaitWritersAside tells whether all three were written. Until
// then nothing the cards read (players, tables, scores but the opponents'
// average performance, settings) may change.
void StartPlayerCards(int players);

// Writes "playercard.html" for players 1..players from the stored
// performance ratings. Returns whether the page was written.
bool WritePlayerCardsHtml(int players);
