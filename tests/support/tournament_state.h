// Test helpers that put the process-wide tournament back to its start state
// and fill in small tournaments by hand. Header only.
#pragma once

#include "tournament/game_code.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/run_options.h"
#include "tournament/settings.h"

#include <cstring>
#include <string>

// Every table, setting, counter and run flag back to its program-start value.
inline void ResetTournamentState() {
    ClearPlayers();
    ResetSettings();
    ResetTournament();
    ResetByePlayer();
    TournamentMatchesFile();
    ResetRunOptions();
}

// Registers the next player with a name and a rating used; returns his id.
inline int AddTestPlayer(const std::string& name, int rating = 0) {
    int id = ++PlayerCount;
    Player& p = Players[id];
    p = Player{};
    UpperNoComma(name.c_str(), p.name);
    std::strcpy(p.country, "ITA");
    std::strcpy(p.birthDate, "00.00.00");
    p.available = 1;
    p.gender = 'M';
    p.fideRating = rating;
    p.ratingUsed = rating;
    p.seedingKey = rating;
    return id;
}

// Puts one board into the game table of the active instance and raises the
// round's board count to cover it.
inline void SetTestBoard(int round, int board, int white, int black, int digit) {
    GameTable(board, round) = EncodeGameCode(white, black, digit);
    if (GameTable(0, round) < board) GameTable(0, round) = board;
}
