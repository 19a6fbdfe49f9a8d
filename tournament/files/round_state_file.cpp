#include "tournament/files/round_state_file.h"

#include "tournament/capacities.h"
#include "tournament/color_history.h"
#include "tournament/files/atomic_file.h"
#include "tournament/files/host_files.h"
#include "tournament/files/line_reader.h"
#include "tournament/files/rounds_aside.h"
#include "tournament/game_code.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// The seven lines at the top of the file, in their order.
const char* const StateKeys[7] = {"current round",  "RANDOM_SORT",        "not used",
                                  "IS_SAVED_ROUND", "IS_GET_RESULT_DONE", "CLOSED_REGISTRATION",
                                  "IS_PAIRING_DONE"};

enum Section { ColorSection, OpponentSection, FloatSection, ResultSection };
const char* const SectionHeaders[4] = {"# players color", "# players opponent", "# players floater",
                                       "# round results"};
const char* const GamesHeader = "# code pairing";

// What a file of one family looks like for the tournament as it stands.
struct Layout {
    bool roundRobin;
    RoundTableSet* set;
    int players;  // N
    int boards;   // game rows 1..boards; (N + 1) / 2, the BYE board counted
    int schedule; // round robin: rounds of the whole schedule

    // The tournament as it stands, or one described by its player count and
    // pairing system (a file checked before the tournament is read).
    explicit Layout(bool rr, int count = PlayerCount, int system = Settings.PairingSystem)
        : roundRobin(rr), set(rr ? &RoundRobinInstance : &SwissInstance) {
        players = std::clamp(count, 0, set->rows - 1);
        boards = std::min((players + 1) / 2, set->maxBoards());
        int rounds = players % 2 == 0 ? players - 1 : players;
        if (system == DoubleRoundRobinSystem) rounds *= 2;
        schedule = std::clamp(rounds, 0, set->lastRound());
    }
    int maxRound() const { return roundRobin ? schedule : set->lastRound(); }
    std::vector<Section> sections(int round) const {
        if (roundRobin) {
            if (round == 0) return {};
            return {ColorSection, OpponentSection, ResultSection};
        }
        return {ColorSection, OpponentSection, FloatSection, ResultSection};
    }
    // Columns of a per-player row: rounds 1..R, or column 0 alone before the
    // first round.
    std::vector<int> playerColumns(int round) const { return Range(round); }
    // Columns of a game row: the whole schedule, or the rounds so far.
    std::vector<int> gameColumns(int round) const { return Range(roundRobin ? schedule : round); }

    static std::vector<int> Range(int last) {
        std::vector<int> columns;
        for (int c = 1; c <= last; ++c)
            columns.push_back(c);
        if (columns.empty()) columns.push_back(0);
        return columns;
    }
};

int CellValue(Layout& layout, Section section, int id, int round) {
    RoundTableSet& set = *layout.set;
    switch (section) {
    case ColorSection:
        return ColorHistory(set, id, round);
    case OpponentSection:
        return OpponentTable(set, id, round);
    case FloatSection:
        return FloatHistory(set, id, round);
    case ResultSection:
        return PlayerResultTable(set, id, round);
    }
    return 0;
}

// The game codes of the round's boards.
std::vector<int> RoundCodes(RoundTableSet& set, int round) {
    std::vector<int> codes;
    const int boards = std::clamp(static_cast<int>(GameTable(set, 0, round)), 0, set.maxBoards());
    for (int board = 1; board <= boards; ++board)
        codes.push_back(GameTable(set, board, round));
    return codes;
}

// The file's content into out, left uncommitted; false when out could not
// be created (a failed write shows at the commit, which checks the stream).
bool WriteStateInto(AtomicFileWriter& out, bool roundRobin) {
    Layout layout(roundRobin);
    int round = std::clamp(CurrentRound, 0, layout.maxRound());
    // A proposal is not kept: the file holds the tournament as it stood
    // before the round was paired, with the flags of then (a proposal
    // changes none), so that a reopened tournament proposes it again rather
    // than take its unplayed boards for an accepted round.
    if (IsProposedRound(roundRobin, round, ClosedRegistration, IsPairingDone, RoundCodes(*layout.set, round)))
        --round;
    const int values[7] = {round,           RandomSort,         RoundStateUnused, IsSavedRound,
                           IsGetResultDone, ClosedRegistration, IsPairingDone};

    std::FILE* f = out.stream();
    if (f != nullptr) {
        for (int k = 0; k < 7; ++k)
            std::fprintf(f, "%2d # %s\r\n", values[k], StateKeys[k]);
        const std::vector<int> columns = layout.playerColumns(round);
        for (Section section : layout.sections(round)) {
            const char* format = section == ColorSection || section == OpponentSection ? "%3d" : "%1d";
            std::fprintf(f, "%s\r\n", SectionHeaders[section]);
            for (int id = 1; id <= layout.players; ++id) {
                std::fprintf(f, "[%03d]  ", id);
                for (std::size_t c = 0; c < columns.size(); ++c) {
                    std::fprintf(f, format, CellValue(layout, section, id, columns[c]));
                    std::fputs(c + 1 < columns.size() ? " " : "\r\n", f);
                }
            }
        }
        std::fprintf(f, "%s\r\n", GamesHeader);
        // A Swiss round's rows after its board count are written empty: a
        // pairing made again with fewer boards leaves old codes there, which
        // the reader would take for a board count cut short.
        const std::vector<int> games = layout.gameColumns(round);
        for (int board = 0; board <= layout.boards; ++board) {
            for (std::size_t c = 0; c < games.size(); ++c) {
                const bool beyond = !roundRobin && board > GameTable(*layout.set, 0, games[c]);
                std::fprintf(f, "%7d", beyond ? 0 : static_cast<int>(GameTable(*layout.set, board, games[c])));
                std::fputs(c + 1 < games.size() ? " " : "\r\n", f);
            }
        }
    }
    return f != nullptr;
}

bool WriteState(const std::string& path, bool roundRobin) {
    AtomicFileWriter out(path);
    if (!WriteStateInto(out, roundRobin) || !out.commit()) {
        ShowAlert(MessageText(MsgCannotWriteRoundFile) + "\n" + path, MessageText(MsgClose));
        return false;
    }
    return true;
}

bool Blank(char c) { return c == ' ' || c == '\t'; }

// The first blank-separated word of text, empty when there is none.
std::string_view FirstWord(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size() && Blank(text[at])) ++at;
    std::size_t end = at;
    while (end < text.size() && !Blank(text[end])) ++end;
    return std::string_view(text).substr(at, end - at);
}

// A player's row label, "[007]": the id at least three digits wide.
std::string RowLabel(int id) {
    std::string digits = std::to_string(id);
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
    return "[" + digits + "]";
}

class StateParser : public StrictLines {
  public:
    explicit StateParser(LineReader& reader) : StrictLines(reader) {}

    // The decimal number at the start of the line; the rest is a comment.
    int leadingNumber(const std::string& text, const std::string& expected) {
        std::size_t at = text.find_first_not_of(" \t");
        if (at == std::string::npos) fail("expected " + expected);
        std::size_t end = at;
        if (text[end] == '-' || text[end] == '+') ++end;
        const std::size_t digits = end;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9')
            ++end;
        if (end == digits) fail("expected " + expected);
        int value;
        if (!ParseInt(text.substr(at, end - at), value)) fail("number too large; expected " + expected);
        return value;
    }

    // Every blank-separated number of text after its first skip words; a
    // word that is not a whole number is refused. What was expected is
    // spelled only for a line that fails.
    template <class Expected>
    std::vector<int> numbers(const std::string& text, std::size_t skip, const Expected& expected) {
        std::vector<int> values;
        values.reserve(16);
        std::size_t word = 0;
        for (std::size_t at = 0; at < text.size();) {
            if (Blank(text[at])) {
                ++at;
                continue;
            }
            std::size_t end = at;
            while (end < text.size() && !Blank(text[end])) ++end;
            if (word++ >= skip) {
                const std::string_view w(text.data() + at, end - at);
                int value;
                if (!ParseInt(w, value)) fail("\"" + std::string(w) + "\" is not a number; expected " + expected());
                values.push_back(value);
            }
            at = end;
        }
        return values;
    }

    [[noreturn]] void failAt(int line, const std::string& what) const {
        throw BadFile{reader_.name() + ", line " + std::to_string(line) + ": " + what};
    }
    int lineNumber() const { return reader_.lineNumber(); }

    void header(const char* expected) {
        const std::string what = std::string("the heading \"") + expected + "\"";
        const std::string text = line(what);
        const std::size_t at = text.find_first_not_of(" \t");
        const std::size_t end = text.find_last_not_of(" \t");
        if (at == std::string::npos || text.substr(at, end - at + 1) != expected) fail("expected " + what);
    }
};

bool ValidCell(Section section, int value, int players) {
    switch (section) {
    case ColorSection:
        return value >= -1 && value <= 1;
    case OpponentSection:
        return value >= 0 && value <= players;
    case FloatSection:
        return value == 0 || value == 1;
    case ResultSection:
        return value == LossAtBoard || value == WinAtBoard || value == DrawAtBoard || value == WinUnplayed ||
               value == LossUnplayed || value == HalfUnplayed || value == HalfNoGameCode;
    }
    return false;
}

const char* CellRule(Section section) {
    switch (section) {
    case ColorSection:
        return "colours 1, -1 or 0";
    case OpponentSection:
        return "opponent ids from 0 to the number of players";
    case FloatSection:
        return "float marks 0 or 1";
    case ResultSection:
        return "result codes 0, 1, 2, 3, 4, 6 or 8";
    }
    return "";
}

// Everything a file holds, read aside before anything is changed.
struct StateImage {
    int values[7] = {};
    std::vector<std::vector<int>> cells[4]; // [section][player - 1][round - 1]
    std::vector<std::vector<int>> games;    // [board][column index]
    // A Swiss file may hold fewer players than the tournament: a player
    // moved in after the start has no rows and no games yet.
    int players = 0;
    int boards = 0;
};

bool IsHeading(const std::string& text) {
    const std::size_t at = text.find_first_not_of(" \t");
    return at != std::string::npos && text[at] == '#';
}

// Every round's opponent cells must tell one story with each other and
// with the round's games (FindOpponentConflict): the next pairing, the
// standings and the cross table take them for who met whom. The refusal
// names the opponent row of the first player found. A Swiss round still
// open for its results is left out: its cells are built from its games
// only when its results are closed.
void CheckOpponents(StateParser& parse, const StateImage& image, const Layout& layout,
                    const std::vector<int>& opponentLines, const std::vector<int>& columns) {
    const std::vector<std::vector<int>>& opponents = image.cells[OpponentSection];
    const int players = static_cast<int>(opponents.size());
    const int current = image.values[0], pairingOpen = image.values[6];
    for (int round = 1; round <= current; ++round) {
        if (!layout.roundRobin && round == current && pairingOpen != 0) continue;
        const auto c =
            static_cast<std::size_t>(std::find(columns.begin(), columns.end(), round) - columns.begin());
        std::vector<int> games;
        for (int board = 1; c < columns.size() && board <= image.games[0][c]; ++board)
            games.push_back(image.games[static_cast<std::size_t>(board)][c]);
        const OpponentConflict conflict = FindOpponentConflict(players, games, [&](int id) {
            return opponents[static_cast<std::size_t>(id) - 1][static_cast<std::size_t>(round) - 1];
        });
        if (conflict.player != 0)
            parse.failAt(opponentLines[static_cast<std::size_t>(conflict.player) - 1],
                         conflict.what + " in round " + std::to_string(round));
    }
}

// The progress flags must fit the round they describe: a tournament is
// paired only once its registration is closed, and a round is open for its
// results (IS_PAIRING_DONE) or has them closed (IS_GET_RESULT_DONE), never
// both, and only from the first round. The refusal names the flag's line.
void CheckFlags(const LineReader& reader, const int values[7]) {
    const int round = values[0], resultsClosed = values[4], registrationClosed = values[5],
              pairingDone = values[6];
    const auto fail = [&](int line, const std::string& what) {
        throw BadFile{reader.name() + ", line " + std::to_string(line) + ": " + what};
    };
    if (round > 0 && registrationClosed == 0)
        fail(6, "the registration is open (\"CLOSED_REGISTRATION\" 0), but the current round is " +
                    std::to_string(round));
    if (round == 0 && pairingDone != 0)
        fail(7, "\"IS_PAIRING_DONE\" is 1, but no round is paired (the current round is 0)");
    if (resultsClosed != 0 && pairingDone != 0)
        fail(7, "\"IS_PAIRING_DONE\" is 1 (the round open for its results), but \"IS_GET_RESULT_DONE\" is 1 "
                "(its results closed)");
}

// The cells of one player in one round.
struct PlayerCells {
    int color = 0, opponent = 0, result = 0;
    bool operator==(const PlayerCells&) const = default;
};

PlayerCells CellsOf(const StateImage& image, int id, int round) {
    const auto cell = [&](Section section) {
        return image.cells[section][static_cast<std::size_t>(id) - 1][static_cast<std::size_t>(round) - 1];
    };
    return {cell(ColorSection), cell(OpponentSection), cell(ResultSection)};
}

// Whether a player of a Swiss board of two players may hold these cells:
// what a result of the board gives him, or what the game dialog sets (his
// colour whatever it is, his opponent the board's other player or none).
// A result without play goes without an opponent, one at the board with
// him; "no tie-break" (8) and the adjourned game's half point (6) go either
// way. A player the board seats never has the empty cells of a player
// without a board.
bool BoardMayLeave(const PlayerCells& held) {
    if (held.opponent == 0)
        return held.result == WinUnplayed || held.result == LossUnplayed || held.result == HalfUnplayed ||
               held.result == HalfNoGameCode;
    return IsPlayedAtBoard(held.result) || held.result == HalfUnplayed || held.result == HalfNoGameCode;
}

// How far a board's cells agree with a result of the board: 0 not in the
// results, 1 in the results only, 2 in the colours too, 3 whole.
int Agreement(const BoardEntry& entry, int white, int black, const StateImage& image, int round) {
    int agreed = 3;
    for (const bool isWhite : {true, false}) {
        const int id = isWhite ? white : black, other = isWhite ? black : white;
        if (id == 0) continue; // the BYE has no cells
        PlayerCells given;
        if (entry.writes) {
            given.result = isWhite ? entry.whiteCode : entry.blackCode;
            given.color = entry.recordsGame ? (isWhite ? 1 : -1) : 0;
            given.opponent = entry.recordsGame ? other : 0;
        }
        const PlayerCells held = CellsOf(image, id, round);
        if (held.result != given.result) return 0;
        if (held.color != given.color) agreed = std::min(agreed, 1);
        else if (held.opponent != given.opponent) agreed = std::min(agreed, 2);
    }
    return agreed;
}

// Every round whose results are closed must hold in its players' cells what
// its boards gave them: the standings count the result cells, the lists and
// the cross table the game codes. A BYE board's result never changes, so
// its player's cells are exactly what it gives. A board of two players may
// hold the cells of another result of the same two, either way round: a
// file saved while the round's results were entered again, by a version
// that rebuilt the cells only at the close, keeps the cells of the result
// before. A player without a board
// has empty cells, or keeps a result without opponent given by hand. In a
// Swiss tournament the arbiter may set one player's result and colour of a
// round by hand (the game dialog keeps only his opponent and a BYE board
// as the games have them): there the BYE boards are held to their result,
// each player of another board to cells that a result or the dialog gives
// him (BoardMayLeave: a BYE board turned into a forfeit over a player
// without a board finds his empty cells), and a game played at the board
// stays in one of its players' rows at least. Every closed round has a
// result on every board (no key enters "not played"). A refusal names the
// row of the board's first player, the results row of a player whose cells
// no result gives, or the board's game row.
void CheckRounds(StateParser& parse, const StateImage& image, const Layout& layout,
                 const std::vector<int> (&rowLines)[4], const std::vector<int>& gameLines) {
    const int current = image.values[0], resultsClosed = image.values[4];
    const int last = resultsClosed != 0 ? current : current - 1;
    for (int round = 1; round <= last; ++round) {
        const std::size_t c = static_cast<std::size_t>(round) - 1; // both families' columns start at round 1
        const std::string where = " in round " + std::to_string(round);
        std::vector<bool> onBoard(static_cast<std::size_t>(image.players) + 1, false);
        for (int board = 1; board <= image.games[0][c]; ++board) {
            const int code = image.games[static_cast<std::size_t>(board)][c];
            int white, black, digit;
            DecodeGameCode(code, white, black, digit);
            onBoard[static_cast<std::size_t>(white)] = onBoard[static_cast<std::size_t>(black)] = true;
            const std::string game = "game code " + std::to_string(code) + " of board " + std::to_string(board);
            if (digit == NotPlayed)
                parse.failAt(gameLines[static_cast<std::size_t>(board)],
                             round == current
                                 ? game + " has no result, but \"IS_GET_RESULT_DONE\" says the results of round " +
                                       std::to_string(round) + " are closed"
                                 : game + " has no result in round " + std::to_string(round) +
                                       ", whose results were closed before round " + std::to_string(current) +
                                       " was paired");
            const bool bye = white == 0 || black == 0;
            if (!layout.roundRobin && !bye) {
                // A game played at the board leaves it in both rows; the game
                // dialog mends one player's row, the other keeps the game.
                const auto names = [&](int id, int other) {
                    return CellsOf(image, id, round).opponent == other;
                };
                if (BoardEntryFor(digit, false).recordsGame && !names(white, black) && !names(black, white))
                    parse.failAt(rowLines[OpponentSection][static_cast<std::size_t>(white) - 1],
                                 "neither player of " + game + ", a game played at the board, has the other as "
                                 "his opponent" + where);
                for (const auto& [id, other] : {std::pair{white, black}, std::pair{black, white}}) {
                    const PlayerCells held = CellsOf(image, id, round);
                    if (!BoardMayLeave(held))
                        parse.failAt(rowLines[ResultSection][static_cast<std::size_t>(id) - 1],
                                     "player " + std::to_string(id) + " of " + game + where + " has the result " +
                                         std::to_string(held.result) + (held.opponent == 0 ? " without" : " with") +
                                         " an opponent; expected one without play (3, 4, 6 or 8) without an "
                                         "opponent, or one at the board (0, 1, 2, 6 or 8) against player " +
                                         std::to_string(other));
                }
                continue;
            }
            // What the board's own result finds wrong names the row.
            const int agreed = Agreement(BoardEntryFor(digit, layout.roundRobin), white, black, image, round);
            bool agrees = agreed == 3;
            for (int other = BlackWins; !bye && !agrees && other <= NotPlayed; ++other)
                for (const bool swapped : {false, true})
                    agrees = agrees || Agreement(BoardEntryFor(other, layout.roundRobin), swapped ? black : white,
                                                 swapped ? white : black, image, round) == 3;
            if (agrees) continue;
            static const Section sections[3] = {ResultSection, ColorSection, OpponentSection};
            static const char* const kinds[3] = {"results", "colours", "opponents"};
            const int first = white != 0 ? white : black;
            parse.failAt(rowLines[sections[agreed]][static_cast<std::size_t>(first) - 1],
                         "the " + std::string(kinds[agreed]) + " of the players of " + game +
                             " are not what its result gives them" + where);
        }
        for (int id = 1; layout.roundRobin && id <= image.players; ++id) {
            const PlayerCells held = CellsOf(image, id, round);
            if (onBoard[static_cast<std::size_t>(id)] || held == PlayerCells{} || held.result >= WinUnplayed)
                continue;
            const Section section = held.result != 0 ? ResultSection : ColorSection;
            parse.failAt(rowLines[section][static_cast<std::size_t>(id) - 1],
                         "player " + std::to_string(id) + " has no board" + where + ", but a " +
                             (section == ResultSection ? "result" : "colour"));
        }
    }
}

// Every round holds the boards its pairing made. A round robin's schedule,
// written whole when the registration is closed, seats every player on one
// board of each of its rounds, and the rounds not paired yet have no result
// (only a BYE board may hold its own, which the start writes and a deleted
// round sets back). A Swiss round has a board at least, and the round
// accepted and waiting for its results is as Pair or the manual pairing
// left it: the game rows after its board count are empty (the writer
// empties them), so that a board count cut short cannot drop the boards
// below it and their players with them; and each BYE board is "P v 0" with
// the BYE's result, which no key changes, so that a game whose digit was
// turned into a 0 cannot pass for a BYE. Neither the BYE's board nor the
// number of BYEs is fixed: the colour improvement may move the BYE to an
// earlier board, and a pairing by hand may give two. The players'
// availability cannot tell who must have a board: it may change once the
// round is accepted (a player back for the next round, a late entry).
// Flags that leave the current round neither accepted nor closed while a
// board waits for its result would drop the round: a proposal is never
// saved. A refusal names the board counts' line, a board's row, or the
// flag's line.
void CheckBoards(StateParser& parse, const StateImage& image, const Layout& layout,
                 const std::vector<int>& columnRounds, const std::vector<std::vector<int>>& boardOf,
                 const std::vector<int>& gameLines) {
    const int current = image.values[0], resultsClosed = image.values[4], registrationClosed = image.values[5],
              pairingDone = image.values[6];
    for (std::size_t c = 0; c < columnRounds.size(); ++c) {
        const int round = columnRounds[c], boards = image.games[0][c];
        const std::string where = " in round " + std::to_string(round);
        if (round == 0 || (round > current && registrationClosed == 0)) continue;
        const auto code = [&](int board) { return image.games[static_cast<std::size_t>(board)][c]; };
        const auto game = [&](int board) {
            return "game code " + std::to_string(code(board)) + " of board " + std::to_string(board);
        };
        if (layout.roundRobin) {
            for (int id = 1; id <= image.players; ++id)
                if (boardOf[c][static_cast<std::size_t>(id)] == 0)
                    parse.failAt(gameLines[0], "player " + std::to_string(id) + " has no board" + where +
                                                   " of the round-robin schedule");
            for (int board = 1; round > current && board <= boards; ++board) {
                int white, black, digit;
                DecodeGameCode(code(board), white, black, digit);
                if (digit != NotPlayed && digit != ByeBoardResult(white, black, true))
                    parse.failAt(gameLines[static_cast<std::size_t>(board)],
                                 game(board) + " has a result" + where + ", which is not paired yet (the current "
                                 "round is " + std::to_string(current) + ")");
            }
            continue;
        }
        if (boards == 0) parse.failAt(gameLines[0], "no board" + where + ", which is paired");
        if (round != current || pairingDone == 0) continue;
        for (int board = boards + 1; board <= image.boards; ++board)
            if (code(board) != 0)
                parse.failAt(gameLines[static_cast<std::size_t>(board)],
                             "game code " + std::to_string(code(board)) + " after the " + std::to_string(boards) +
                                 " boards" + where + ", which is accepted: is its board count on line " +
                                 std::to_string(gameLines[0]) + " right?");
        for (int board = 1; board <= boards; ++board) {
            int white, black, digit;
            DecodeGameCode(code(board), white, black, digit);
            const int player = white + black, byeResult = ByeBoardResult(player, 0, false);
            if ((white == 0 || black == 0) && code(board) != EncodeGameCode(player, 0, byeResult))
                parse.failAt(gameLines[static_cast<std::size_t>(board)],
                             game(board) + " gives player " + std::to_string(player) + " the BYE" + where +
                                 ", which is accepted, but not as it is paired: expected " +
                                 std::to_string(EncodeGameCode(player, 0, byeResult)) + " (player " +
                                 std::to_string(player) + ", the BYE as Black, the BYE's result " +
                                 std::to_string(byeResult) + ")");
        }
    }
    if (current == 0 || resultsClosed != 0 || pairingDone != 0) return;
    const std::size_t c = layout.roundRobin ? static_cast<std::size_t>(current) - 1 : columnRounds.size() - 1;
    for (int board = 1; board <= image.games[0][c]; ++board) {
        int white, black, digit;
        DecodeGameCode(image.games[static_cast<std::size_t>(board)][c], white, black, digit);
        if (digit == NotPlayed)
            parse.failAt(7, "\"IS_PAIRING_DONE\" is 0 and \"IS_GET_RESULT_DONE\" is 0, but board " +
                                std::to_string(board) + " of round " + std::to_string(current) +
                                " waits for its result: an accepted round is open for its results (1), a closed "
                                "one has them all");
    }
}

StateImage Parse(LineReader& reader, Layout& layout) {
    StateParser parse(reader);
    StateImage image;
    for (int k = 0; k < 7; ++k) {
        const std::string what = std::string("a number for \"") + StateKeys[k] + "\"";
        image.values[k] = parse.leadingNumber(parse.line(what), what);
    }
    const int round = image.values[0];
    if (round < 0 || round > layout.maxRound()) {
        // Name the first line, where the round stands.
        throw BadFile{reader.name() + ", line 1: the current round " + std::to_string(round) +
                      " is outside 0.." + std::to_string(layout.maxRound()) + " for this tournament"};
    }
    const int lowest[7] = {0, 0, INT_MIN, 0, 0, 0, 0};
    const int highest[7] = {0, 2, INT_MAX, 1, 1, 1, 1};
    for (int k = 1; k < 7; ++k) {
        if (image.values[k] < lowest[k] || image.values[k] > highest[k])
            throw BadFile{reader.name() + ", line " + std::to_string(k + 1) + ": \"" + StateKeys[k] +
                          "\" must be from " + std::to_string(lowest[k]) + " to " +
                          std::to_string(highest[k])};
    }

    CheckFlags(reader, image.values);

    image.players = -1;
    std::vector<int> rowLines[4]; // [section][player - 1]
    for (Section section : layout.sections(round)) {
        parse.header(SectionHeaders[section]);
        for (int id = 1; id <= (image.players < 0 ? layout.players : image.players); ++id) {
            const std::string label = RowLabel(id);
            const auto what = [&] { return "the row " + label + " of \"" + SectionHeaders[section] + "\""; };
            const std::string text = parse.lineFor(what);
            if (image.players < 0 && id > 1 && !layout.roundRobin && IsHeading(text)) {
                parse.unread(text);
                break;
            }
            if (FirstWord(text) != label) parse.fail("expected " + what());
            std::vector<int> row;
            if (round > 0) {
                const auto cells = [&] { return std::to_string(round) + " " + CellRule(section); };
                row = parse.numbers(text, 1, cells);
                if (static_cast<int>(row.size()) != round)
                    parse.fail("expected " + cells() + " after " + label);
                for (int value : row)
                    if (!ValidCell(section, value, layout.players))
                        parse.fail(std::to_string(value) + " is out of range; expected " + cells());
            }
            image.cells[section].push_back(row);
            rowLines[section].push_back(parse.lineNumber());
        }
        if (image.players < 0) image.players = static_cast<int>(image.cells[section].size());
    }
    if (image.players < 0) image.players = layout.players;
    image.boards = std::min((image.players + 1) / 2, layout.set->maxBoards());

    parse.header(GamesHeader);
    const std::vector<int> columnRounds = layout.gameColumns(round);
    const std::size_t columns = columnRounds.size();
    std::vector<std::vector<int>> boardOf(columns, std::vector<int>(static_cast<std::size_t>(layout.players) + 1, 0));
    std::vector<int> gameLines;
    for (int board = 0; board <= image.boards; ++board) {
        const auto what = [&] {
            return std::to_string(columns) + (board == 0 ? " board counts" : " game codes") + " in row " +
                   std::to_string(board) + " of \"" + GamesHeader + "\"";
        };
        std::vector<int> row = parse.numbers(parse.lineFor(what), 0, what);
        if (row.size() != columns) parse.fail("expected " + what());
        for (std::size_t c = 0; c < columns; ++c) {
            const int value = row[c];
            if (board == 0) {
                if (value < 0 || value > image.boards)
                    parse.fail("board count " + std::to_string(value) + " is outside 0.." +
                               std::to_string(image.boards));
                continue;
            }
            int white, black, digit;
            DecodeGameCode(value, white, black, digit);
            if (value < 0 || white > image.players || black > image.players)
                parse.fail("game code " + std::to_string(value) + " names a player who is not registered");
            if (board > image.games[0][c]) continue;
            const std::string where = " in round " + std::to_string(columnRounds[c]);
            if (white == black)
                parse.fail("game code " + std::to_string(value) + " has player " + std::to_string(white) +
                           " on both sides" + where);
            // A round robin's BYE board is set back to "not played" with its
            // round when rounds are deleted.
            const int byeResult = ByeBoardResult(white, black, layout.roundRobin);
            if (byeResult >= 0 && digit != byeResult && digit != NotPlayed)
                parse.fail("game code " + std::to_string(value) + " of board " + std::to_string(board) +
                           " gives the BYE, but its result " + std::to_string(digit) + " is not the BYE's " +
                           std::to_string(byeResult) + where);
            for (int id : {white, black}) {
                int& seat = boardOf[c][static_cast<std::size_t>(id)];
                if (id != 0 && seat != 0)
                    parse.fail("player " + std::to_string(id) + " is on boards " + std::to_string(seat) + " and " +
                               std::to_string(board) + where);
                seat = board;
            }
        }
        image.games.push_back(row);
        gameLines.push_back(parse.lineNumber());
    }
    CheckBoards(parse, image, layout, columnRounds, boardOf, gameLines);
    CheckOpponents(parse, image, layout, rowLines[OpponentSection], columnRounds);
    CheckRounds(parse, image, layout, rowLines, gameLines);
    parse.end("the game codes (is the player count right?)");
    return image;
}

void Commit(const StateImage& image, Layout& layout) {
    const int round = image.values[0];
    RoundTableSet& set = *layout.set;
    for (Section section : layout.sections(round)) {
        for (int id = 1; id <= layout.players; ++id) {
            // A player the file does not hold yet has no games: empty cells.
            static const std::vector<int> none;
            const std::vector<int>& row = id <= image.players ? image.cells[section][id - 1] : none;
            for (int r = 1; r <= round; ++r) {
                const int v = r <= static_cast<int>(row.size()) ? row[r - 1] : 0;
                switch (section) {
                case ColorSection:
                    ColorHistory(set, id, r) = static_cast<std::int16_t>(v);
                    break;
                case OpponentSection:
                    OpponentTable(set, id, r) = v;
                    break;
                case FloatSection:
                    FloatHistory(set, id, r) = static_cast<std::uint16_t>(v);
                    break;
                case ResultSection:
                    PlayerResultTable(set, id, r) = static_cast<std::uint16_t>(v);
                    break;
                }
            }
        }
    }
    const std::vector<int> columns = layout.gameColumns(image.values[0]);
    for (int board = 0; board <= layout.boards; ++board)
        for (std::size_t c = 0; c < columns.size(); ++c)
            if (columns[c] != 0)
                GameTable(set, board, columns[c]) = board <= image.boards ? image.games[board][c] : 0;

    RoundStateRead(round, image.values);
}

// The file at path as the layout reads it, checked whole; BadFile names
// the file, the line and what was expected there.
StateImage ParseFile(LineReader& reader, const std::string& path, Layout& layout, int count) {
    if (count > layout.set->rows - 1)
        throw BadFile{path + ": this kind of tournament holds at most " + std::to_string(layout.set->rows - 1) +
                      " players, the tournament has " + std::to_string(count)};
    return Parse(reader, layout);
}

bool ReadState(const std::string& path, bool roundRobin) {
    LineReader reader(path);
    if (!reader.ok()) {
        ShowAlert(MessageText(MsgCannotReadRoundFile) + "\n" + reader.unopened(), MessageText(MsgClose));
        return false;
    }
    Layout layout(roundRobin);
    try {
        const StateImage image = ParseFile(reader, path, layout, PlayerCount);
        Commit(image, layout);
        if (!roundRobin) RestorePairingState(PlayerCount);
        return true;
    } catch (const BadFile& bad) {
        ShowAlert(MessageText(MsgCannotReadRoundFile) + "\n" + bad.what, MessageText(MsgClose));
        return false;
    }
}

std::string FolderAndBase() {
    return std::string(Settings.DataFolder) + Settings.BaseName;
}

} // namespace

std::string RoundStatePath() {
    return FolderAndBase() + ".rnd";
}
std::string RoundSnapshotPath(int round) {
    return FolderAndBase() + std::to_string(round) + ".rnd";
}

bool WriteRoundRobinState(const std::string& path) {
    return WriteState(path, true);
}
bool WriteSwissState(const std::string& path) {
    return WriteState(path, false);
}
bool ReadRoundRobinState(const std::string& path) {
    return ReadState(path, true);
}
bool ReadSwissState(const std::string& path) {
    return ReadState(path, false);
}

bool WriteRoundStateFile(const std::string& path) {
    return WriteState(path, IsRoundRobin());
}
bool WriteRoundStateFileInto(AtomicFileWriter& out) {
    if (WriteStateInto(out, IsRoundRobin())) return true;
    out.discard();
    return false;
}
bool ReadRoundStateFile(const std::string& path) {
    return ReadState(path, IsRoundRobin());
}

std::string RoundStateFileProblem(const std::string& path, int players, int pairingSystem) {
    if (HostFileKindOf(path) == HostFileKind::Missing) return path + ": the file is missing";
    LineReader reader(path);
    if (reader.irregular()) return path + ": the file cannot be opened: it is not a regular file";
    if (!reader.ok()) return path + ": the file cannot be opened";
    Layout layout(IsRoundRobinSystem(pairingSystem), players, pairingSystem);
    try {
        ParseFile(reader, path, layout, players);
        return std::string();
    } catch (const BadFile& bad) {
        return bad.what;
    }
}

std::string NewestRoundSnapshot(const std::string& folder, const std::string& baseName) {
    namespace fs = std::filesystem;
    std::error_code error;
    std::string newest;
    int newestRound = 0;
    for (fs::directory_iterator it(HostFileName(folder.empty() ? "." : folder), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = FromHostFileName(it->path().filename().string());
        const int round = SnapshotRound(name, baseName);
        std::error_code typeError;
        if (round == 0 || !it->is_regular_file(typeError)) continue;
        // The last round, whatever the file times say: a copy of the folder
        // gives every file the time of the copy.
        if (round > newestRound) {
            newest = name;
            newestRound = round;
        }
    }
    return newest;
}
