// The standing reports that every recomputation of scores ends by writing.
//
// The score routines of both families call the report writers through this
// one process-wide table of function pointers, so the tournament model does
// not depend on the report code: the reports install their writers at start
// and tests install recorders. Every entry is empty by default and an empty
// entry is skipped. FinishStandings (scores.h) calls them in their order. A
// writer may go on after it returned (the player cards, the largest, are
// made while the other reports are), reading the tournament only.
#pragma once

struct StandingReportWriters {
    void (*writeHtmlIndex)() = nullptr;
    // Writes the player cards; may store each player's performance rating.
    void (*writePlayerCards)(int players) = nullptr;
    void (*writeStandings)(int players) = nullptr;
    // Hands over to the round-robin cross table in a round robin.
    void (*writeCrossTable)(int players) = nullptr;
    void (*writeStandingsByCategory)(int players) = nullptr;
    // Waits for what the writers above left running when they returned;
    // called last, so every report stands complete once the scores are.
    void (*awaitWriters)() = nullptr;
};

extern StandingReportWriters StandingReports;

// Empties every entry, and the writer of the result lists (round_save.h).
void ResetStandingReports();
