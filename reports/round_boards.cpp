#include "reports/round_boards.h"

#include "reports/report_file.h"
#include "tournament/game_code.h"
#include "tournament/players.h"

BoardSide BoardPlayer(int id) {
    const Player& player = PlayerRecord(id);
    return BoardSide{id, FieldText(player.name), FieldText(player.title), player.ratingUsed, ScoreRecord(id).score};
}

std::vector<RoundBoard> RoundBoards(RoundTableSet& set, int round) {
    std::vector<RoundBoard> boards;
    if (!set.hasGameCell(0, round)) return boards;
    int count = GameTable(set, 0, round);
    if (count > set.maxBoards()) count = set.maxBoards();
    for (int b = 1; b <= count; ++b) {
        int white = 0, black = 0, digit = 0;
        DecodeGameCode(GameTable(set, b, round), white, black, digit);
        boards.push_back(RoundBoard{b, BoardPlayer(white), BoardPlayer(black), digit});
    }
    return boards;
}

std::vector<RoundBoard> RoundBoards(int round) { return RoundBoards(ActiveTables(), round); }
