#include "tournament/round_state.h"

#include "tournament/game_code.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <algorithm>

int CurrentRound = 0;
int ShownRound = 0;
int RandomSort = 0;
int RoundStateUnused = 0;
int IsSavedRound = 0;
int IsGetResultDone = 0;
int ClosedRegistration = 0;
int IsPairingDone = 0;
int TournamentSaved = 1;
int TournamentOpen = 0;
int RoundStateLoads = 0;
int TournamentOpenings = 0;
RoundStateWindowHooks RoundStateWindow;

namespace {

void Changed() {
    if (RoundStateWindow.stateChanged) RoundStateWindow.stateChanged();
}

} // namespace

TournamentStage CurrentStage() {
    if (ClosedRegistration == 0)
        return TournamentOpen != 0 ? TournamentStage::RegistrationOpen : TournamentStage::NoTournament;
    if (IsPairingDone != 0) return TournamentStage::RoundAccepted;
    if (CurrentRoundProposed()) return TournamentStage::RoundProposed;
    return TournamentStage::WaitingForPairing;
}

void SetCurrentRound(int round) {
    CurrentRound = round;
    ShownRound = round;
    Changed();
}

void ResetRoundState() {
    CurrentRound = ShownRound = 0;
    RandomSort = 0;
    RoundStateUnused = 0;
    IsSavedRound = 0;
    IsGetResultDone = 0;
    ClosedRegistration = 0;
    IsPairingDone = 0;
}

void ResetTournament() {
    ClearRoundTables();
    ResetRoundState();
}

void TournamentOpened() {
    TournamentOpen = 1;
    ++TournamentOpenings;
    Changed();
}

void RegistrationClosed() {
    ClosedRegistration = 1;
    Changed();
}

void RegistrationCloseUndone() {
    ClosedRegistration = 0;
    Changed();
}

void RegistrationReopened() {
    CurrentRound = ShownRound = 0;
    ClosedRegistration = IsGetResultDone = IsSavedRound = IsPairingDone = 0;
    ++RoundStateLoads;
    Changed();
}

void RoundAccepted() {
    IsPairingDone = 1;
    IsGetResultDone = 0;
    Changed();
}

void AcceptanceUndone(int resultsDone) {
    IsPairingDone = 0;
    IsGetResultDone = resultsDone;
    Changed();
}

void ResultsOpened() {
    IsGetResultDone = 0;
    Changed();
}

void ResultsClosed(bool currentRoundShown) {
    if (currentRoundShown) IsGetResultDone = 1;
    IsPairingDone = 0;
    Changed();
}

void ResultsCloseUndone(int pairingDone) {
    IsGetResultDone = 0;
    IsPairingDone = pairingDone;
    Changed();
}

void RoundsDeleted() {
    IsGetResultDone = IsPairingDone = 0;
    Changed();
}

void RoundBoardsChanged() {
    Changed();
}

void RoundListed(int round) {
    ShownRound = round;
    Changed();
}

void ResultEntrySwitched() {
    Changed();
}

void TournamentChanged() {
    TournamentSaved = 0;
    Changed();
}

void TournamentMatchesFile() {
    TournamentSaved = 1;
}

void FullSaveDue() {
    IsSavedRound = 0;
    TournamentSaved = 0;
}

void PlayerNumbersFixed() {
    IsSavedRound = 1;
}

void TournamentFileRead(int savedRound) {
    IsSavedRound = savedRound;
}

void RestoreSavedRound(int savedRound) {
    IsSavedRound = savedRound;
}

void RoundStateRead(int round, const int values[7]) {
    CurrentRound = ShownRound = round;
    RandomSort = values[1];
    RoundStateUnused = values[2];
    IsSavedRound = values[3];
    IsGetResultDone = values[4];
    ClosedRegistration = values[5];
    IsPairingDone = values[6];
    ++RoundStateLoads;
    Changed();
}

bool IsProposedRound(bool roundRobin, int round, int closedRegistration, int pairingDone,
                     const std::vector<int>& codes) {
    if (roundRobin || round < 1 || closedRegistration == 0 || pairingDone != 0) return false;
    return std::any_of(codes.begin(), codes.end(), [](int code) {
        int white, black, digit;
        DecodeGameCode(code, white, black, digit);
        return digit == NotPlayed;
    });
}

int ClosedRounds() {
    const bool awaitingResults = IsPairingDone != 0 && IsGetResultDone == 0;
    return awaitingResults && CurrentRound >= 1 ? CurrentRound - 1 : CurrentRound;
}

bool CurrentRoundProposed() {
    std::vector<int> codes;
    if (CurrentRound >= 1)
        for (int board = 1; board <= RoundBoardCount(CurrentRound); ++board)
            codes.push_back(GameTable(board, CurrentRound));
    return IsProposedRound(IsRoundRobin(), CurrentRound, ClosedRegistration, IsPairingDone, codes);
}
