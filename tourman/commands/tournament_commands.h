// The tournament commands of the File menu and the players page: a new
// tournament, opening one, loading a round-state file over the open one,
// and the close of the registration that starts the tournament,
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
// the open tournament's rounds; a bad file changes nothing.
void LoadRoundFileCommand();
// Checks the player count against the pairing system and the planned
// rounds, asks (and asks again before a round file of another event under
// the tournament's name is written over), then starts the tournament. Every
// refusal and a failed start
// leave the registration open and the window as it was.
void CloseRegistration();
// What the start of a tournament does before round 1 is paired: the form
// emptied, the round controls refreshed, the tournament saved and the
// pairing page shown.
void PrepareFirstRound();

// Fills the start's hook: the pairing of round 1 after the start of a
// tournament, the steps of PrepareFirstRound first.
void InstallTournamentCommandHooks();
