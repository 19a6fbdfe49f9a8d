#include "pairing/pairing_stats.h"

PairingCounters PairingStats;
