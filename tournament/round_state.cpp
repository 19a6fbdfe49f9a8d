#include "tournament/round_state.h"

int CurrentRound = 0;
int ShownRound = 0;
int RandomSort = 0;
int RoundStateUnused = 0;
int IsSavedRound = 0;
int IsGetResultDone = 0;
int ClosedRegistration = 0;
int IsPairingDone = 0;

void SetCurrentRound(int round) {
    CurrentRound = round;
    ShownRound = round;
}

void ResetRoundState() {
    SetCurrentRound(0);
    RandomSort = 0;
    RoundStateUnused = 0;
    IsSavedRound = 0;
    IsGetResultDone = 0;
    ClosedRegistration = 0;
    IsPairingDone = 0;
}
