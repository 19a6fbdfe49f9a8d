// The pairing decisions the engines share: whether two players may meet,
// whether a player still has a possible opponent, the order of a round's
// boards and the three candidate orders. They read the player, score and
// pairing-state tables and the per-round tables of the active instance;
// only SortRoundBoards and SortCandidates change anything (the arrays they
// are given).
#pragma once

// A pairing slot without a player (the FIDE Burstein floater's place).
constexpr int EmptySlot = -1;

// 1 when a and b (player ids, the BYE 0 or EmptySlot) may be paired in the
// round: not the same player, not met in rounds 1..round-1, colour dues that
// fit (strictly while StrictColorMode is on), the BYE with a player who may
// receive it. 0 otherwise.
int CanPlayersMeet(int a, int b, int round);

// 1 when one of candidates[1..count] may still be paired with player in the
// round (not met before, colour dues that fit), else 0.
int HasPossibleOpponent(int player, const int* candidates, int count, int round);

// -1 when board j belongs before board i, 1 when not, 0 when either is a
// BYE board.
int CompareBoards(int i, int j, int round);
// Orders the round's boards in the game table: the highest top score first,
// then the higher sum of scores, then the higher seeding key; BYE boards keep
// their place.
void SortRoundBoards(int round);

// The candidate orders: every one puts players who may float up first, then
// 0: rating used ascending; 1: white due first, rating descending;
// 2: black due first, rating descending; then pairing key descending and
// name ascending.
enum CandidateOrder {
    CandidatesByRatingAscending = 0,
    CandidatesWhiteDueFirst = 1,
    CandidatesBlackDueFirst = 2
};
// Reorders ids[1..count] by the mode's order; equal candidates are not swapped.
void SortCandidates(int mode, int count, int* ids);
