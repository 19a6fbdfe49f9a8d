// The pair counts of one score group, as the engines weigh candidates: how
// well group t pairs with a player added or taken out, without two players,
// or (USCF) without one player of its white-due list. They read the group's
// lists in the score-group store and change nothing.
#pragma once

// Group t's players (white-due list, then black-due list) with c appended
// (with = 1) or without c (with = 0); minus the target number of pairs when
// the search reaches it, else the search's result (see CountPairsToTarget).
int CountPairsWithChange(int c, int t, int with, int round);
// The same for group t without c1 and c2.
int CountPairsWithoutTwo(int c1, int c2, int t, int round);
// The pairs group g's white-due list could make without player.
int CountPairsWithoutPlayer(int player, int g, int round);
