// The tournament commands of the File menu and the players page: a new
// tournament, opening one, saving it, loading a round-state file over the open one,
// the return to an open registration, and the close of the registration
// that starts the tournament,
// with the steps that follow the start and go before round 1 is paired.
// The tournament's state stays in its tables; this module owns nothing.
#pragma once

// Asks first (a save can go first) when a tournament is open or players
// have been typed in, then opens the settings dialog for a new tournament.
void NewTournamentCommand();
// Asks first when the open tournament has started or holds unsaved changes,
// then reads a chosen tournament file and its round state, taking the
// tournament as it was saved: its scores count the rounds whose results are
// closed, and with a round waiting for its results no report is written. A
// file that cannot be read changes nothing.
void OpenTournamentCommand();
// Reads a chosen round-state file (from the folder it was chosen in) over
// the open tournament's rounds, which the next save writes with the
// tournament file; a bad file, or one kept aside with other players than
// those listed now, changes nothing.
void LoadRoundFileCommand();
// The Save item and the close's save. A proposed round is not saved (a
// reopened tournament waits for its pairing again, and a round paired by
// hand cannot be proposed again), so while one waits the arbiter is asked
// first: Yes accepts it, which saves the tournament with the round open for
// results; No saves without it; Cancel saves nothing. True when the
// tournament was saved.
bool SaveTournamentCommand();
// Checks the player count against the pairing system and the planned
// rounds, asks (and asks again before a round file of another event under
// the tournament's name is written over), then starts the tournament. Every
// refusal and a failed start
// leave the registration open and the window as it was.
void CloseRegistration();
// What the start of a tournament does before round 1 is paired (the start
// has saved the tournament whole): the pairing page shown.
void PrepareFirstRound();

// Back to an open registration with no round paired: for a new tournament
// (1) empty players, tables and state, nothing left in the output page's
// viewer and an empty tournament file written;
// for the open one (0), whose file the reopen has written first with no
// round saved, its rounds removed and the file read back, so that the player list
// holds what the file holds.
void BackToOpenRegistration(int newTournament);

// Fills the start's hook and the OK of a new tournament's settings: the
// pairing of round 1 after the start of a tournament, the steps of
// PrepareFirstRound first; BackToOpenRegistration(1).
void InstallTournamentCommandHooks();
