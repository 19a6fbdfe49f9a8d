// What the tournament file and the start of a tournament need of the main
// window, without any window.
//
// The main window fills TournamentWindow at start with the steps only it can
// take: its list of registered players and its list of unavailable players,
// and the pairing of round 1 that follows the start (the application's
// pairing command, so that this library does not depend on the pairing
// code). Every entry is empty by default and an empty entry is skipped, so
// the readers and the start run headless in tests and tools.
#pragma once

#include <string>

struct TournamentWindowHooks {
    // Adds one line to the list of registered players.
    void (*addPlayerLine)(const std::string& line) = nullptr;
    // Adds one line to the list of unavailable players.
    void (*addUnavailableLine)(const std::string& line) = nullptr;
    // Empties both lists; the reader calls it before it refills them.
    void (*clearPlayerLists)() = nullptr;
    // Hides and shows the list of registered players while it is refilled.
    void (*hidePlayerList)() = nullptr;
    void (*showPlayerList)() = nullptr;
    // Reads the list of registered players into the player records: until
    // the registration is closed its rows are the register. False, after an
    // alert, when no player is registered.
    bool (*commitPlayerList)() = nullptr;
    // The pairing numbers are fixed: list the players in file order from now
    // on instead of sorting them.
    void (*keepFileOrder)() = nullptr;
    // Asks what the pairing of round 1 needs of the arbiter, once the
    // pairing numbers are chosen (RandomSort set) and before the start
    // writes anything; false when a question was left unanswered: the
    // start then stops.
    bool (*askFirstRound)() = nullptr;
    // Pairs round 1 of players 1..players once the tournament has started
    // (a round robin's round 1 is in place already, accepted and saved, and
    // only shown); nonzero when the round was paired.
    int (*pairFirstRound)(int players) = nullptr;
};

extern TournamentWindowHooks TournamentWindow;
