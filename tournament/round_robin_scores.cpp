#include "tournament/round_robin_scores.h"

#include "tournament/round_tables.h"
#include "tournament/scores.h"

void ComputeRoundRobinTieBreaks(int rounds, int players, bool writeReports) {
    RoundTableSet& set = RoundRobinInstance;
    // The cumulative, most blacks and most wins are computed here too, so
    // that a tie-break order naming them never reads values of earlier data.
    ComputeBaseScores(set, ScoreFamily::RoundRobin, rounds, players);
    ComputeOpponentTieBreaks(set, ScoreFamily::RoundRobin, rounds, players);
    FinishStandings(rounds, players, players, writeReports);
}
