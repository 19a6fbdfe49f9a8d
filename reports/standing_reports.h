// Installs the report writers that every recomputation of the scores ends
// with into the tournament model's StandingReports table: the home page, the
// player cards, the standings, the cross table and the category ranking.
// It also installs the writer of a round's result lists, which SaveRound
// calls. The program calls it once at start, after which SaveRound,
// ComputeScores and ComputeRoundRobinTieBreaks write those reports.
#pragma once

void InstallStandingReports();
