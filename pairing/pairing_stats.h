// Process-wide counters of the pairing work: how many group searches ran,
// how many backtracks they made, how many stopped at the backtrack limit, and
// how many rounds had to restart. They only count, so that benchmarks and
// diagnostics can report what a round cost; nothing reads them to decide.
#pragma once

struct PairingCounters {
    long long searches = 0;
    long long backtracks = 0;
    long long limitHits = 0;
    long long restarts = 0;
};

extern PairingCounters PairingStats;

inline void ResetPairingStats() { PairingStats = PairingCounters{}; }
