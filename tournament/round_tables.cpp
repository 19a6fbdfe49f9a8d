#include "tournament/round_tables.h"

#include "tournament/game_code.h"
#include "tournament/players.h"
#include "tournament/settings.h"

#include <algorithm>
#include <utility>
#include <vector>

PlayerScore PlayerScores[PlayerRows];
PairingState PairingStates[PlayerRows];

const PlayerScore& ScoreRecord(int id) {
    static const PlayerScore none{};
    return id >= 0 && id < PlayerRows ? PlayerScores[id] : none;
}

const PairingState& StateRecord(int id) {
    static const PairingState none{};
    return id >= 0 && id < PlayerRows ? PairingStates[id] : none;
}

namespace {

std::int16_t SwissColors[PlayerRows][SwissRoundColumns];
std::int32_t SwissOpponents[PlayerRows][SwissRoundColumns];
std::uint16_t SwissResults[PlayerRows][SwissRoundColumns];
std::uint16_t SwissFloats[PlayerRows][SwissRoundColumns];
std::int32_t SwissGames[SwissMaxBoards + 1][SwissRoundColumns];

std::int16_t RoundRobinColors[RoundRobinPlayerRows][RoundRobinRoundColumns];
std::int32_t RoundRobinOpponents[RoundRobinPlayerRows][RoundRobinRoundColumns];
std::uint16_t RoundRobinResults[RoundRobinPlayerRows][RoundRobinRoundColumns];
std::int32_t RoundRobinGames[RoundRobinMaxBoards + 1][RoundRobinRoundColumns];

// Where reads and writes outside a table go; zeroed before every use so a
// read outside gives 0 whatever an earlier stray write left there.
template <typename T> T& Scratch() {
    static T cell;
    cell = 0;
    return cell;
}

template <typename T> T& Cell(T* table, int rows, int columns, int row, int column) {
    if (table == nullptr || row < 0 || row >= rows || column < 0 || column >= columns) return Scratch<T>();
    return table[row * columns + column];
}

} // namespace

RoundTableSet SwissInstance = {PlayerRows,         SwissRoundColumns,     SwissMaxBoards + 1,
                               &SwissColors[0][0], &SwissOpponents[0][0], &SwissResults[0][0],
                               &SwissFloats[0][0], &SwissGames[0][0]};
RoundTableSet RoundRobinInstance = {RoundRobinPlayerRows,
                                    RoundRobinRoundColumns,
                                    RoundRobinMaxBoards + 1,
                                    &RoundRobinColors[0][0],
                                    &RoundRobinOpponents[0][0],
                                    &RoundRobinResults[0][0],
                                    nullptr,
                                    &RoundRobinGames[0][0]};

RoundTableSet& ActiveTables() {
    return IsRoundRobin() ? RoundRobinInstance : SwissInstance;
}

std::int16_t& ColorHistory(RoundTableSet& set, int id, int round) {
    return Cell(set.colorHistory, set.rows, set.columns, id, round);
}
std::int32_t& OpponentTable(RoundTableSet& set, int id, int round) {
    return Cell(set.opponentTable, set.rows, set.columns, id, round);
}
std::uint16_t& PlayerResultTable(RoundTableSet& set, int id, int round) {
    return Cell(set.playerResultTable, set.rows, set.columns, id, round);
}
std::uint16_t& FloatHistory(RoundTableSet& set, int id, int round) {
    return Cell(set.floatHistory, set.rows, set.columns, id, round);
}
std::int32_t& GameTable(RoundTableSet& set, int board, int round) {
    return Cell(set.gameTable, set.boardRows, set.columns, board, round);
}

std::int16_t& ColorHistory(int id, int round) {
    return ColorHistory(ActiveTables(), id, round);
}
std::int32_t& OpponentTable(int id, int round) {
    return OpponentTable(ActiveTables(), id, round);
}
std::uint16_t& PlayerResultTable(int id, int round) {
    return PlayerResultTable(ActiveTables(), id, round);
}
std::uint16_t& FloatHistory(int id, int round) {
    return FloatHistory(ActiveTables(), id, round);
}
std::int32_t& GameTable(int board, int round) {
    return GameTable(ActiveTables(), board, round);
}

int RoundBoardCount(int round) {
    RoundTableSet& set = ActiveTables();
    if (round < 1 || round >= set.columns) return 0;
    return std::clamp(GameTable(set, 0, round), 0, set.maxBoards());
}

BoardEntry BoardEntryFor(int digit, bool roundRobin) {
    switch (digit) {
    case BlackWins:
        return {LossAtBoard, WinAtBoard, true, true};
    case WhiteWins:
        return {WinAtBoard, LossAtBoard, true, true};
    case BothForfeit:
        return {LossUnplayed, LossUnplayed, roundRobin, true};
    case WhiteWinsForfeit:
        return {WinUnplayed, LossUnplayed, roundRobin, true};
    case BlackWinsForfeit:
        return {LossUnplayed, WinUnplayed, roundRobin, true};
    case Draw:
        return {DrawAtBoard, DrawAtBoard, true, true};
    case HalfEachUnplayed:
        return {HalfUnplayed, HalfUnplayed, roundRobin, true};
    case Adjourned:
        return {HalfUnplayed, HalfUnplayed, true, true};
    case HalfNoGame:
        return {HalfNoGameCode, HalfNoGameCode, false, !roundRobin};
    default:
        return {0, 0, false, false};
    }
}

namespace {

void ClearPlayerRound(RoundTableSet& set, int id, int round) {
    ColorHistory(set, id, round) = 0;
    OpponentTable(set, id, round) = 0;
    PlayerResultTable(set, id, round) = 0;
}

} // namespace

void RebuildRoundTables(int round) {
    const bool roundRobin = IsRoundRobin();
    RoundTableSet& set = ActiveTables();
    if (round < 1 || round >= set.columns) return;
    const int boards = RoundBoardCount(round);

    // A board whose result went back to "not played", or whose players
    // changed, must not leave the old game in its players' cells; nor may a
    // player left out of a new pairing of the round keep his old game. Only
    // a result without opponent of a player without a board stays: that is
    // a BYE given by hand before the pairing.
    std::vector<bool> onBoard(static_cast<std::size_t>(set.rows), false);
    for (int board = 1; board <= boards; ++board) {
        int white, black, digit;
        DecodeGameCode(GameTable(set, board, round), white, black, digit);
        for (int id : {white, black})
            if (set.hasCell(id, round)) onBoard[static_cast<std::size_t>(id)] = true;
    }
    for (int id = 0; id <= std::min(PlayerCount, set.rows - 1); ++id) {
        const bool byHand = id != 0 && OpponentTable(set, id, round) == 0 &&
                            PlayerResultTable(set, id, round) >= WinUnplayed;
        if (onBoard[static_cast<std::size_t>(id)] || !byHand) ClearPlayerRound(set, id, round);
    }

    if (!roundRobin) {
        for (int id = 1; id <= std::min(PlayerCount, MaxPlayers); ++id)
            if (Players[id].available == 0) ColorHistory(set, id, round) = 0;
    }

    for (int board = 1; board <= boards; ++board) {
        int white, black, digit;
        DecodeGameCode(GameTable(set, board, round), white, black, digit);
        if (!set.hasCell(white, round) || !set.hasCell(black, round)) continue;
        const BoardEntry entry = BoardEntryFor(digit, roundRobin);
        if (!entry.writes) continue;
        PlayerResultTable(set, white, round) = entry.whiteCode;
        PlayerResultTable(set, black, round) = entry.blackCode;
        ColorHistory(set, white, round) = entry.recordsGame ? 1 : 0;
        ColorHistory(set, black, round) = entry.recordsGame ? -1 : 0;
        OpponentTable(set, white, round) = entry.recordsGame ? black : 0;
        OpponentTable(set, black, round) = entry.recordsGame ? white : 0;
    }
}

void ClearRoundTables() {
    for (RoundTableSet* set : {&SwissInstance, &RoundRobinInstance}) {
        const int cells = set->rows * set->columns;
        std::fill(set->colorHistory, set->colorHistory + cells, 0);
        std::fill(set->opponentTable, set->opponentTable + cells, 0);
        std::fill(set->playerResultTable, set->playerResultTable + cells, 0);
        if (set->floatHistory != nullptr) std::fill(set->floatHistory, set->floatHistory + cells, 0);
        std::fill(set->gameTable, set->gameTable + set->boardRows * set->columns, 0);
    }
    for (PlayerScore& score : PlayerScores)
        score = PlayerScore{};
    for (PairingState& state : PairingStates)
        state = PairingState{};
}

OpponentConflict FindOpponentConflict(int players, const std::vector<int>& games,
                                      const std::function<int(int id)>& opponentOf) {
    // Each player's partner and board: -1 for a player without a board, 0
    // for the BYE's. A player on two boards is the file reader's to refuse;
    // here his first board counts.
    std::vector<int> partner(static_cast<std::size_t>(std::max(players, 0)) + 1, -1),
        boardOf(partner.size(), 0);
    for (std::size_t b = 0; b < games.size(); ++b) {
        int white, black, digit;
        DecodeGameCode(games[b], white, black, digit);
        for (const auto& [id, other] : {std::pair{white, black}, std::pair{black, white}}) {
            if (id < 1 || id > players || partner[static_cast<std::size_t>(id)] >= 0) continue;
            partner[static_cast<std::size_t>(id)] = other;
            boardOf[static_cast<std::size_t>(id)] = static_cast<int>(b) + 1;
        }
    }
    for (int id = 1; id <= players; ++id) {
        const int opponent = opponentOf(id);
        if (opponent == 0) continue;
        const std::string named =
            "player " + std::to_string(id) + "'s opponent is " + std::to_string(opponent);
        if (opponent == id) return {id, "player " + std::to_string(id) + " is his own opponent"};
        const int with = partner[static_cast<std::size_t>(id)];
        if (with < 0) return {id, named + ", but the game table has no game of his"};
        if (with == 0)
            return {id, named + ", but the game table gives him the BYE on board " +
                            std::to_string(boardOf[static_cast<std::size_t>(id)])};
        if (with != opponent)
            return {id, named + ", but the game table pairs him with " + std::to_string(with)};
        const int theirs = opponent <= players ? opponentOf(opponent) : 0;
        if (theirs != id)
            return {id,
                    named + ", but player " + std::to_string(opponent) + "'s is " + std::to_string(theirs)};
    }
    return {};
}
