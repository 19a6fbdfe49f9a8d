// The round counters and the state flags of the tournament's progress, and
// the one module that changes them.
//
// `CurrentRound` is the last paired round (0 before the first pairing);
// pairing, the check for unplayed boards and the recomputation work on it.
// `ShownRound` is the round shown on the results page; result entry, the
// result lists and the round save work on it. Every change of CurrentRound
// goes through SetCurrentRound, which moves ShownRound with it. The flags are
// the ones kept in the round-state file, in its order, and TournamentSaved,
// which no file keeps.
//
// Everyone reads the flags; they change only through the transitions below,
// each named for what happened to the tournament. The stage the window shows
// is derived here from the flags and the current round's boards. Every
// transition that changes what the window shows fires the one window hook,
// RoundStateWindow, which the main window fills; empty, it is skipped, so
// the transitions run headless in tests and tools.
#pragma once

#include <vector>

extern int CurrentRound;
extern int ShownRound;

// How the pairing numbers were given at the start: 0 by rating, 1 random
// draw, 2 as entered (RANDOM_SORT).
extern int RandomSort;
// Kept in the round-state file's third line and restored unchanged.
extern int RoundStateUnused;
// IS_SAVED_ROUND: 1 when the tournament file lists the players at their
// pairing numbers and a round-state file goes with it.
extern int IsSavedRound;
// IS_GET_RESULT_DONE: 1 once the results of the current round are closed.
extern int IsGetResultDone;
extern int ClosedRegistration; // CLOSED_REGISTRATION
// IS_PAIRING_DONE: 1 from the acceptance of the current round until its
// results are closed.
extern int IsPairingDone;
// 1 when the tournament file holds the tournament as it stands: every edit
// of its settings or players clears it, every write of the file sets it. 1
// at program start.
extern int TournamentSaved;
// Counts the times the rounds were put in place whole: a round state read
// from its file, the registration opened anew. What a page showed of the
// rounds before (a board chosen, a result typed, the entry open) goes then.
extern int RoundStateLoads;
// Counts the tournaments made or opened in this run: what a page showed of
// the tournament before (a file in the viewer) goes with each.
extern int TournamentOpenings;
// 1 once a tournament was made or opened in this run of the program; no
// file keeps it.
extern int TournamentOpen;

// Where the tournament stands, which decides what may be used on every
// page and in the menus.
enum class TournamentStage {
    NoTournament,      // nothing created or opened yet
    RegistrationOpen,  // players are registered, no round is paired
    WaitingForPairing, // the registration closed, the last round's results closed (or no round yet)
    RoundProposed,     // a Swiss round paired and waiting to be accepted or cancelled
    RoundAccepted,     // the current round open for its results
};
// The stage of the open tournament, from its round state: a round is
// proposed while the registration is closed, the current round is not
// accepted and one of its boards has no result yet (a closed round has all).
TournamentStage CurrentStage();

// The window's side of the transitions: what shows the whole tournament
// anew, run after each transition that changes what it shows.
struct RoundStateWindowHooks {
    void (*stateChanged)() = nullptr;
};
extern RoundStateWindowHooks RoundStateWindow;

// CurrentRound = round and ShownRound = round.
void SetCurrentRound(int round);

// Whether a Swiss round is proposed and not accepted: the registration
// closed, the round not open for results and one of its boards, given by
// their game codes, without a result (a round whose results were closed has
// them all). A round robin accepts its rounds as it pairs them.
bool IsProposedRound(bool roundRobin, int round, int closedRegistration, int pairingDone,
                     const std::vector<int>& codes);
// The same for the tournament's current round as it stands.
bool CurrentRoundProposed();
// The rounds whose results are closed: CurrentRound, less the round that
// is accepted and waits for its results. The scores count these rounds.
int ClosedRounds();

// Every counter and flag of the round-state file back to 0 (program start,
// a new tournament); TournamentSaved stays as it is. A reset is a step
// of a command, not what the window shows: it fires no hook, the
// transition that ends the command does.
void ResetRoundState();
// The tournament back to no round: its round tables, scores and pairing
// states cleared and its round state reset. The players, the settings and
// TournamentSaved stay as the caller has them: New clears the players and
// writes an empty file, Open has just read them, the tests build their own.
void ResetTournament();

// A tournament was made or opened: TournamentOpen = 1, TournamentOpenings
// counts it.
void TournamentOpened();
// The registration is closed: late entries only, the rows kept at their
// numbers. A start of the tournament that failed opens it again.
void RegistrationClosed();
void RegistrationCloseUndone();

// The registration open with no round paired (a new tournament, a reopened
// registration, a tournament opened before its start): round 0 and the
// registration, pairing, results and saved-round flags 0.
void RegistrationReopened();
// The proposed round is accepted (or paired again by hand in place): open
// for results, which are not closed yet.
void RoundAccepted();
// An acceptance whose round could not be saved: the round proposed again,
// the results flag back to resultsDone, its value before the acceptance.
void AcceptanceUndone(int resultsDone);
// The results of the current round are open again: a close of the entry
// on the current round begins so.
void ResultsOpened();
// The result entry closed with every board played: the current round's
// results are closed when it is the round shown, and the next round may be
// paired.
void ResultsClosed(bool currentRoundShown);
// A close whose round could not be saved: the results open again and the
// pairing flag back to pairingDone, its value before the close.
void ResultsCloseUndone(int pairingDone);
// Rounds deleted: no proposal waits and no results are to be entered.
void RoundsDeleted();
// The boards of a round were changed in place (paired, proposed, cancelled,
// colours exchanged or improved), no flag with them.
void RoundBoardsChanged();
// The results page lists another round of 1..CurrentRound: ShownRound =
// round.
void RoundListed(int round);
// The result entry was opened, closed or kept open: what may be paired or
// listed follows it.
void ResultEntrySwitched();

// The settings or the players changed: the tournament file is behind.
void TournamentChanged();
// The tournament is what its file holds, just written or just read.
void TournamentMatchesFile();
// The next save writes the tournament file again too, which then says
// again that a round state goes with it (the autosave of the results).
void FullSaveDue();
// The players' pairing numbers are fixed: the tournament file written next
// lists them in that order and says that a round state goes with it.
void PlayerNumbersFixed();
// A tournament file was read: IsSavedRound as its header says.
void TournamentFileRead(int savedRound);
// IsSavedRound back to a value taken before a step that may have changed
// it (a write that failed, a file read again only for its players).
void RestoreSavedRound(int savedRound);
// A round-state file was read: the round and the seven values of its
// header lines (round, RandomSort, unused, IsSavedRound, IsGetResultDone,
// ClosedRegistration, IsPairingDone; the first is given as round).
void RoundStateRead(int round, const int values[7]);
