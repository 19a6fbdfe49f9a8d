// The check every paired Swiss round passes before its boards go out.
//
// CheckPairedRound reads a round's boards in the game table and the players'
// pairing state as the engine saw it, and tells the first rule the round
// breaks: every available player on exactly one board and nobody else on
// one; the board count right; at most one BYE, only for an odd number of
// players, only to a player who may receive it by the system's rule; no
// two players who met at the board before; every player whose colour is
// absolute gets it. The dispatcher runs it on every round it pairs; tests
// run it after every pairing. Reads only.
#pragma once

#include <string>

struct RoundCheck {
    bool ok = true;
    std::string problem; // what is wrong, in a line for the trace and the tests
};

// Checks round for players 1..players. Colour rules are checked only past
// round 1 (the first round has no colour history) and against the state
// that UpdateColorHistory set for the round.
RoundCheck CheckPairedRound(int round, int players);

// Whether the player may receive the BYE of round by the system's rule:
// everybody in round 1; later, eligibility not 0 (systems 1 and 3) or
// exactly 1 (systems 4 and 6).
bool MayReceiveBye(int id, int round);
