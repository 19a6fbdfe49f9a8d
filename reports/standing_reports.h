// Installs the report writers that every recomputation of the scores ends
// with into the tournament model's StandingReports table: the home page, the
// player cards, the standings, the cross table and the category ranking.
// The program calls it once at start, after which ComputeScores and
// ComputeRoundRobinTieBreaks write those reports.
#pragma once

void InstallStandingReports();
