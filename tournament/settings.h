// The settings of the open tournament.
//
// Holds the process-wide `TournamentSettings` record (`Settings`) and the
// column titles of the tie-breaks (the up-to-date flag of the tournament
// file, TournamentSaved, is the round state's).
// Created with the defaults at program start, filled when a tournament is
// created or opened; the pairing, scoring and report code read it in place.
#pragma once

#include "tournament/capacities.h"

// Pairing systems; the round-robin family is 2 and 5, the Swiss family the rest.
enum PairingSystemCode {
    FideDubovSystem = 1,
    SingleRoundRobinSystem = 2,
    SwissQuonSystem = 3, // the product's own Swiss system, listed as "3: Swiss Quon"
    UscfSystem = 4,
    DoubleRoundRobinSystem = 5,
    FideBursteinSystem = 6,
};

// Tie-break codes, the entries of TieBreakOrder.
enum TieBreakCode {
    NoTieBreak = 0,
    BuchholzCut1TieBreak = 1,
    BuchholzTotalTieBreak = 2,
    BuchholzMedianTieBreak = 3,
    SonnebornBergerTieBreak = 4,
    CumulativeTieBreak = 5,
    AverageRatingTieBreak = 6, // ARO
    MostBlacksTieBreak = 7,
    MostWinsTieBreak = 8,
    AveragePerformanceTieBreak = 9, // APRO
};

// Points of the ScoreSystem setting.
struct ScorePoints {
    float win = 1.0f;  // points for a win; a loss scores 0
    float draw = 0.5f; // points for a draw
};

struct TournamentSettings {
    char Name[TournamentNameSize];
    char Place[TournamentPlaceSize];
    char BeginDate[TournamentDateSize];
    char EndDate[TournamentDateSize];
    char Arbiter[ArbiterSize];
    char BaseName[BaseNameSize];      // file name without folder and extension
    char DataFolder[DataFolderSize];  // the tournament's folder, ends with '/'
    int PairingSystem;                // PairingSystemCode 1..6
    int PlannedRounds;                // Swiss 1..20; a round robin plays its schedule
    int AcceleratedRounds;            // 0, 1 or 2
    int RatingChoice;                 // 1 FIDE rating first, 0 national rating
    int TieBreakOrder[TieBreakSlots]; // TieBreakCode in order of use; the first 0 ends it
    ScorePoints ScoreSystem;          // points per win and per draw
};

extern TournamentSettings Settings;

// Sets every setting to its program-start default: texts empty, system 1,
// planned rounds 0, no acceleration, rating choice 1, tie-breaks 1 and 2,
// win 1.0 and draw 0.5.
void ResetSettings();

// True for the round-robin family (systems 2 and 5).
inline bool IsRoundRobinSystem(int system) {
    return system == SingleRoundRobinSystem || system == DoubleRoundRobinSystem;
}
inline bool IsRoundRobin() {
    return IsRoundRobinSystem(Settings.PairingSystem);
}

// Column title of each tie-break code (six characters): 0 "", 1 " Buc1 ",
// 2 " BucT ", 3 " BucM ", 4 "  S-B ", 5 " Cmlt ", 6 "  ARO ", 7 " Mblk ",
// 8 " Mwns ", 9 " APRO ".
extern const char TieBreakTitles[TieBreakCodeCount][8];
// The title of a code; codes outside 0..9 give the empty title.
const char* TieBreakTitle(int code);
