// Scores and tie-break values of a round robin.
//
// ComputeRoundRobinTieBreaks recomputes every player's score and every
// tie-break value a standings order may use from the round-robin per-round
// tables, after a round is saved and when a round robin is opened, then
// finishes like the Swiss routine (rating variation, performances, standing
// reports). Every round of a round robin gives Buchholz a value: the
// opponent's score for a game at the board, the player's own score for a
// BYE or a forfeit. Owns no state.
#pragma once

// Players 1..players (3..24) over rounds 1..rounds (the CurrentRound).
// Without writeReports only the values (FinishStandings).
void ComputeRoundRobinTieBreaks(int rounds, int players, bool writeReports = true);
