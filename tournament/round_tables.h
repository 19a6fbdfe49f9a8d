// The per-round tables, the scores and the pairing state of every player.
//
// Two instances of the per-round tables exist (`SwissInstance` for systems
// 1, 3, 4, 6 and `RoundRobinInstance` for 2 and 5); the pairing system picks
// the one every accessor below uses. Cells are indexed by player id (row 0 is
// the BYE) and round (column 0 not used); the game table by board row (row 0
// holds each round's board count) and round. Accessors check their indices:
// a read outside the instance gives 0 and a write there lands in a scratch
// cell, so no input can write outside a table. `PlayerScores` and
// `PairingStates` have one record per player id for both families.
// RebuildRoundTables rebuilds one round's per-player cells from its games.
#pragma once

#include "tournament/capacities.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The code a player gets in PlayerResultTable for one round.
enum PlayerResultCode : std::uint16_t {
    LossAtBoard = 0,
    WinAtBoard = 1,
    DrawAtBoard = 2,
    WinUnplayed = 3, // forfeit win or BYE
    LossUnplayed = 4,
    HalfUnplayed = 6,   // result digits 6 and 7
    HalfNoGameCode = 8, // result digit 8, Swiss only
};
// Codes 0..2 mean a game at the board.
inline bool IsPlayedAtBoard(int code) {
    return code <= DrawAtBoard;
}

struct PlayerScore {
    float score;
    float aro; // average rating of the opponents met at the board
    float sonnebornBerger;
    float buchholzCut1;
    float buchholzMedian;
    float buchholzTotal;
    float cumulative;
    float ratingVariation;
    float mostBlacks; // games won at the board with black
    float mostWins;   // wins at the board and without play
    float performance;
    float apro; // average performance rating of the opponents
};

struct PairingState {
    int dueColor;        // 1 white, 0 black, -1 none
    int colorFlexible;   // 1 the due colour is a preference, 0 absolute
    int workingColor;    // copy of dueColor the engines may change
    int colorDifference; // whites minus blacks so far
    int colorStreak;     // USCF: length of the current run of one colour
    int initialGroup;    // score group at the round's start
    int currentGroup;    // score group now
    int mayFloatUp;      // 1 may be floated up
    int byeEligibility;  // 1 may get the BYE, 0 after a win without play, 2 after a half point without play
    int triedMark;       // set by the engines while they try players
};

extern PlayerScore PlayerScores[PlayerRows];
extern PairingState PairingStates[PlayerRows];

// The records of id, or empty records for an id outside the table.
const PlayerScore& ScoreRecord(int id);
const PairingState& StateRecord(int id);

// One set of per-round tables; rows x columns (and boardRows x columns for
// the game table) cells each, row-major. floatHistory is null in the
// round-robin instance.
struct RoundTableSet {
    int rows;      // player rows, the BYE's row 0 included
    int columns;   // round columns, column 0 included
    int boardRows; // game-table rows, row 0 included
    std::int16_t* colorHistory;
    std::int32_t* opponentTable;
    std::uint16_t* playerResultTable;
    std::uint16_t* floatHistory;
    std::int32_t* gameTable;

    int lastRound() const { return columns - 1; }
    int maxBoards() const { return boardRows - 1; }
    bool hasCell(int id, int round) const { return id >= 0 && id < rows && round >= 0 && round < columns; }
    bool hasGameCell(int board, int round) const {
        return board >= 0 && board < boardRows && round >= 0 && round < columns;
    }
};

extern RoundTableSet SwissInstance;      // 1000 rows x 22 columns, 501 board rows
extern RoundTableSet RoundRobinInstance; // 25 rows x 47 columns, 13 board rows

// The instance of the tournament's pairing system.
RoundTableSet& ActiveTables();

// Cells of the active instance. Out of range: reads 0, writes go nowhere.
std::int16_t& ColorHistory(int id, int round);       // +1 white, -1 black, 0 none
std::int32_t& OpponentTable(int id, int round);      // opponent id, 0 none
std::uint16_t& PlayerResultTable(int id, int round); // PlayerResultCode
std::uint16_t& FloatHistory(int id, int round);      // 1 floated; Swiss only
std::int32_t& GameTable(int board, int round);       // board 0: the round's board count

// The same on a chosen instance.
std::int16_t& ColorHistory(RoundTableSet& set, int id, int round);
std::int32_t& OpponentTable(RoundTableSet& set, int id, int round);
std::uint16_t& PlayerResultTable(RoundTableSet& set, int id, int round);
std::uint16_t& FloatHistory(RoundTableSet& set, int id, int round);
std::int32_t& GameTable(RoundTableSet& set, int board, int round);

// Number of boards of a round (GameTable row 0), limited to the instance's
// board rows; 0 for a round outside the table.
int RoundBoardCount(int round);

// What a board's result gives its two players' cells.
struct BoardEntry {
    std::uint16_t whiteCode; // PlayerResultCode of each side
    std::uint16_t blackCode;
    bool recordsGame; // colours and opponents are written
    bool writes;      // anything is written at all
};
// What a result digit gives white and black, by family.
BoardEntry BoardEntryFor(int digit, bool roundRobin);

// Rebuilds the per-player cells of one round from its game codes. The
// colour, opponent and result cells of every player are cleared first, so
// that a result set back to "not played", or a player left out of a new
// pairing of the round, no longer counts; only a player without a board
// whose cells hold a result without opponent (a BYE given beforehand by hand)
// keeps them, and in a Swiss tournament an unavailable player loses his
// colour.
void RebuildRoundTables(int round);

// Empties every table of both instances, every score and pairing state.
void ClearRoundTables();

// Where one round's opponent cells contradict themselves or the round's
// games: the first player, in id order, whose cell does not hold, and why.
struct OpponentConflict {
    int player = 0; // 0: the round agrees
    std::string what;
};
// Checks players 1..players of one round: opponentOf(id) is the player's
// opponent cell, games the round's game codes of boards 1..n. An opponent
// must name the player back, and must be his partner of the game table: the
// player of a BYE board, or of no board, names nobody. Nobody (0) is always
// taken for a player of a board, since his game may be unplayed, or its
// result changed after the round was saved; nobody is his own opponent.
OpponentConflict FindOpponentConflict(int players, const std::vector<int>& games,
                                      const std::function<int(int id)>& opponentOf);
