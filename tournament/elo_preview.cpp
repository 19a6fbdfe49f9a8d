#include "tournament/elo_preview.h"

#include "tournament/files/atomic_file.h"
#include "tournament/game_code.h"
#include "tournament/players.h"
#include "tournament/rating.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Each player's opponent of the round by its game codes; 0 for none, the
// BYE or a player without a board.
std::vector<int> RoundOpponents(int round, int players) {
    std::vector<int> opponents(static_cast<std::size_t>(players) + 1, 0);
    std::vector<bool> seen(opponents.size(), false);
    const int boards = RoundBoardCount(round);
    for (int board = 1; board <= boards; ++board) {
        int white, black, digit;
        DecodeGameCode(GameTable(board, round), white, black, digit);
        for (auto [id, other] : {std::pair{white, black}, std::pair{black, white}}) {
            if (id < 1 || id > players || seen[id]) continue;
            seen[id] = true;
            opponents[id] = other;
        }
    }
    return opponents;
}

} // namespace

std::string EloPreviewPath() {
    return std::string(Settings.DataFolder) + "eloprev.txt";
}

bool WriteEloPreview(int players, int round) {
    players = std::clamp(players, 0, std::min(PlayerCount, MaxPlayers));
    // Written beside the file and put in place whole: a preview cut short
    // (a full disk, the program killed while writing) never replaces the
    // last one.
    AtomicFileWriter out(EloPreviewPath());
    std::FILE* file = out.stream();
    if (file == nullptr) return false;

    std::fprintf(file, "%s - %s, \r\n\r\n", Settings.Name, Settings.Place);
    std::fprintf(file, "Elo preview at round: %d\r\n", round);
    std::fprintf(file, "\r\n  ID  NAME                   Elo    K    if -   if =   if +\r\n");
    std::fprintf(file, "%s\r\n", std::string(59, '-').c_str());

    const std::vector<int> opponents = RoundOpponents(round, players);
    for (int id = 1; id <= players; ++id) {
        const Player& player = Players[id];
        const int opponent = opponents[id];
        if (opponent <= 0 || player.available == 0 || player.k == 0) continue;
        std::fprintf(file, "%4d  %-20.20s  %4d  %3d  ", id, player.name, player.ratingUsed, player.k);
        const int expected =
            RoundExpectedTenths(ExpectedScore(player.ratingUsed, PlayerRecord(opponent).ratingUsed));
        const int variation = static_cast<int>(PlayerScores[id].ratingVariation);
        for (int outcomeTenths : {0, 5, 10})
            std::fprintf(file, " %5d ", variation + RatingChange(player.k, outcomeTenths, expected));
        std::fprintf(file, "\r\n");
    }
    return out.commit();
}
