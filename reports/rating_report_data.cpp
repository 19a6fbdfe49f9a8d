#include "reports/rating_report_data.h"

#include "reports/report_file.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"

#include <algorithm>
#include <cmath>
#include <limits>

bool IsFideRated(int id) {
    return PlayerRecord(id).fideRating > 0;
}

bool IsRatedGame(int player, int round) {
    const int opponent = OpponentTable(player, round);
    return opponent != 0 && IsPlayedAtBoard(PlayerResultTable(player, round)) && IsFideRated(opponent);
}

RatedGames CountRatedGames(int player, int rounds) {
    RatedGames games;
    for (int r = 1; r <= rounds; ++r) {
        if (!IsRatedGame(player, r)) continue;
        const Player& opponent = PlayerRecord(OpponentTable(player, r));
        ++games.count;
        games.ratingUsedSum += opponent.ratingUsed;
        games.fideRatingSum += opponent.fideRating;
        const int code = PlayerResultTable(player, r);
        if (code == WinAtBoard) games.points += 1.0f;
        if (code == DrawAtBoard) games.points += 0.5f;
    }
    return games;
}

long long AverageOf(long long sum, int count) {
    return count > 0 ? sum / count : 0;
}

int ReportedRounds() {
    return std::clamp(CurrentRound, 0, ActiveTables().lastRound());
}

int ReportedPlayers(int players) {
    return std::clamp(players, 0, MaxPlayers);
}

char CommaFreeLetter(char letter) {
    const unsigned char byte = static_cast<unsigned char>(letter);
    return letter == ',' || byte < 0x20 || byte == 0x7F ? ' ' : letter;
}

std::string CommaFreeText(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        c = CommaFreeLetter(c);
    return out;
}

std::string CommaFreeField(const char* field, std::size_t size) {
    return CommaFreeText(FieldText(field, size));
}

int TruncatedInt(float value) {
    if (std::isnan(value)) return 0;
    // -2^31 and 2^31 are exact floats; every float between them fits an int.
    if (value <= -2147483648.0f) return std::numeric_limits<int>::min();
    if (value >= 2147483648.0f) return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}
