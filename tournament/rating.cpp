#include "tournament/rating.h"

#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// The first rating difference of each expected score from 0.51 to 1.00, in
// hundredths; 0.50 holds below the first.
constexpr int ExpectedScoreSteps[] = {
    4,   11,  18,  26,  33,  40,  47,  54,  62,  69,  77,  84,  92,  99,  107, 114, 122,
    130, 138, 146, 154, 163, 171, 180, 189, 198, 207, 216, 226, 236, 246, 257, 268, 279,
    291, 303, 316, 329, 345, 358, 375, 392, 412, 433, 457, 485, 518, 560, 620, 736,
};
static_assert(std::size(ExpectedScoreSteps) == 50, "one step per hundredth from 0.51 to 1.00");

constexpr std::array<float, ExpectedScoreTableSize> BuildExpectedScoreTable() {
    std::array<float, ExpectedScoreTableSize> table{};
    int hundredths = 50;
    std::size_t step = 0;
    for (int d = 0; d < ExpectedScoreTableSize; ++d) {
        while (step < std::size(ExpectedScoreSteps) && d >= ExpectedScoreSteps[step]) {
            ++hundredths;
            ++step;
        }
        table[d] = static_cast<float>(hundredths) / 100.0f;
    }
    return table;
}

// The rating difference of percentage scores 51..99.
constexpr int UpperHalfDifferences[49] = {
    7,   14,  21,  29,  36,  43,  50,  57,  65,  72,  80,  87,  95,  102, 110, 117, 125,
    133, 141, 149, 158, 166, 175, 184, 193, 202, 211, 220, 230, 240, 251, 262, 273, 284,
    296, 309, 322, 336, 351, 366, 383, 401, 422, 444, 470, 501, 538, 589, 677,
};

constexpr std::array<int, PerformanceTableSize> BuildPerformanceTable() {
    std::array<int, PerformanceTableSize> table{};
    for (int p = 51; p <= 99; ++p) {
        table[p] = UpperHalfDifferences[p - 51];
        table[100 - p] = -UpperHalfDifferences[p - 51];
    }
    table[100] = 10000;
    return table;
}

} // namespace

const std::array<float, ExpectedScoreTableSize> ExpectedScoreTable = BuildExpectedScoreTable();
const std::array<int, PerformanceTableSize> PerformanceTable = BuildPerformanceTable();

float ExpectedScore(int rating, int opponentRating) {
    const int difference = std::min(std::abs(rating - opponentRating), RatingDifferenceCap);
    const float higher = ExpectedScoreTable[difference];
    return rating >= opponentRating ? higher : 1.0f - higher;
}

std::vector<ExpectedScoreRecord> ComputeExpectedScores(int player, int rounds) {
    RoundTableSet& set = ActiveTables();
    rounds = std::clamp(rounds, 0, set.lastRound());
    std::vector<ExpectedScoreRecord> records(static_cast<std::size_t>(rounds) + 1,
                                             ExpectedScoreRecord{0.0f, 0.0f});
    const int rating = PlayerRecord(player).ratingUsed;
    for (int round = 1; round <= rounds; ++round) {
        const int opponent = OpponentTable(set, player, round);
        if (opponent <= 0 || !IsPlayedAtBoard(PlayerResultTable(set, player, round))) continue;
        const int opponentRating = PlayerRecord(opponent).ratingUsed;
        const int difference = std::min(std::abs(rating - opponentRating), RatingDifferenceCap);
        records[round] = {static_cast<float>(difference), ExpectedScore(rating, opponentRating)};
    }
    return records;
}

int RoundExpectedTenths(float sum) {
    // The rule works on the text of the sum with two decimals; a sum of
    // expected scores is far below the clamp, which only keeps the digits
    // within range.
    if (!(sum > -1.0e6f && sum < 1.0e6f)) sum = 0.0f;
    char text[64];
    std::snprintf(text, sizeof text, "%5.2f", static_cast<double>(sum));
    long long hundredths = 0;
    bool negative = false;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '-') negative = true;
        if (*c >= '0' && *c <= '9') hundredths = hundredths * 10 + (*c - '0');
    }
    long long tenths = hundredths / 10;
    if (hundredths % 10 >= 6) ++tenths;
    return static_cast<int>(negative ? -tenths : tenths);
}

int RatingChange(int k, int pointsTenths, int expectedTenths) {
    const long long change = static_cast<long long>(k) * (pointsTenths - expectedTenths);
    return static_cast<int>(std::nearbyint(static_cast<double>(change) / 10.0));
}

void ComputeRatingVariation(int players) {
    RoundTableSet& set = ActiveTables();
    players = std::clamp(players, 0, set.rows - 1);
    for (int id = 1; id <= players; ++id) {
        const std::vector<ExpectedScoreRecord> records = ComputeExpectedScores(id, CurrentRound);
        float expected = 0.0f;
        int pointsTenths = 0;
        for (int round = 1; round < static_cast<int>(records.size()); ++round) {
            if (OpponentTable(set, id, round) == 0) continue;
            const int code = PlayerResultTable(set, id, round);
            if (!IsPlayedAtBoard(code)) continue;
            expected += records[round].expected;
            if (code == WinAtBoard) pointsTenths += 10;
            if (code == DrawAtBoard) pointsTenths += 5;
        }
        const int k = Players[id].k;
        PlayerScores[id].ratingVariation =
            k == 0 ? 0.0f : static_cast<float>(RatingChange(k, pointsTenths, RoundExpectedTenths(expected)));
    }
}
