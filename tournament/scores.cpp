#include "tournament/scores.h"

#include "tournament/players.h"
#include "tournament/rating.h"
#include "tournament/round_state.h"
#include "tournament/settings.h"
#include "tournament/standing_reports.h"

#include <algorithm>

namespace {

// Rounds and players limited to what the tables hold.
int RoundLimit(const RoundTableSet& set, int rounds) {
    return std::clamp(rounds, 0, set.lastRound());
}
int PlayerLimit(const RoundTableSet& set, int players) {
    return std::clamp(players, 0, std::min(set.rows - 1, MaxPlayers));
}

// Calls visit(opponent) for every round of a player played at the board
// and returns how many there were.
template <typename Visit> int ForEachGameAtBoard(RoundTableSet& set, int id, int rounds, Visit visit) {
    int games = 0;
    for (int round = 1; round <= rounds; ++round) {
        const int opponent = OpponentTable(set, id, round);
        if (!PlayedAtBoard(opponent, PlayerResultTable(set, id, round))) continue;
        visit(opponent);
        ++games;
    }
    return games;
}

// The sum of the ratings used of a player's opponents at the board.
long long OpponentRatingSum(RoundTableSet& set, int id, int rounds, int& games) {
    long long sum = 0;
    games =
        ForEachGameAtBoard(set, id, rounds, [&](int opponent) { sum += PlayerRecord(opponent).ratingUsed; });
    return sum;
}

float ScoreOf(int id) {
    return ScoreRecord(id).score;
}

// The value a round gives Buchholz; false when it gives none.
bool BuchholzValue(RoundTableSet& set, ScoreFamily family, int id, int round, float& value) {
    const int opponent = OpponentTable(set, id, round);
    const int code = PlayerResultTable(set, id, round);
    if (PlayedAtBoard(opponent, code)) {
        value = ScoreOf(opponent);
        return true;
    }
    if (family == ScoreFamily::Swiss && (code == HalfNoGameCode || code <= DrawAtBoard)) return false;
    value = ScoreOf(id);
    return true;
}

// The rating difference of a score of 100 %.
constexpr int FullScoreDifference = 800;

void Call(void (*writer)()) {
    if (writer != nullptr) writer();
}
void Call(void (*writer)(int), int players) {
    if (writer != nullptr) writer(players);
}

} // namespace

void ComputeBaseScores(RoundTableSet& set, ScoreFamily family, int rounds, int players) {
    rounds = RoundLimit(set, rounds);
    players = PlayerLimit(set, players);
    const float win = Settings.ScoreSystem.win;
    const float draw = Settings.ScoreSystem.draw;
    for (int id = 1; id <= players; ++id) {
        int games = 0;
        const long long ratingSum = OpponentRatingSum(set, id, rounds, games);
        float running = 0.0f; // a win without play counts half here
        float cumulative = 0.0f;
        float score = 0.0f;
        float blacks = 0.0f;
        float wins = 0.0f;
        for (int round = 1; round <= rounds; ++round) {
            const int code = PlayerResultTable(set, id, round);
            switch (code) {
            case WinAtBoard:
                running += win;
                score += win;
                wins += 1.0f;
                if (ColorHistory(set, id, round) == -1) blacks += 1.0f;
                break;
            case WinUnplayed:
                running += draw;
                score += win;
                wins += 1.0f;
                break;
            case DrawAtBoard:
            case HalfUnplayed:
                running += draw;
                score += draw;
                break;
            case HalfNoGameCode:
                if (family == ScoreFamily::Swiss) score += draw;
                break;
            default: // losses, and codes no round produces
                break;
            }
            cumulative += running;
        }
        PlayerScore& values = PlayerScores[id];
        values.aro = games == 0 ? 0.0f : static_cast<float>(ratingSum) / static_cast<float>(games);
        values.score = score;
        values.cumulative = cumulative;
        values.mostBlacks = blacks;
        values.mostWins = wins;
    }
}

void ComputeOpponentTieBreaks(RoundTableSet& set, ScoreFamily family, int rounds, int players) {
    rounds = RoundLimit(set, rounds);
    players = PlayerLimit(set, players);
    for (int id = 1; id <= players; ++id) {
        float sum = 0.0f;
        float smallest = 10000.0f;
        float largest = 0.0f;
        for (int round = 1; round <= rounds; ++round) {
            float value = 0.0f;
            if (!BuchholzValue(set, family, id, round, value)) continue;
            sum += value;
            smallest = std::min(smallest, value);
            largest = std::max(largest, value);
        }
        PlayerScore& values = PlayerScores[id];
        values.buchholzTotal = sum;
        values.buchholzCut1 = sum > smallest ? sum - smallest : 0.0f;
        values.buchholzMedian = largest < sum - smallest ? sum - smallest - largest : 0.0f;
    }
    for (int id = 1; id <= players; ++id) {
        float sonnebornBerger = 0.0f;
        for (int round = 1; round <= rounds; ++round) {
            const int opponent = OpponentTable(set, id, round);
            const int code = PlayerResultTable(set, id, round);
            if (opponent == 0 || !IsPlayedAtBoard(code))
                sonnebornBerger += ScoreOf(id) / 2.0f;
            else if (code == WinAtBoard)
                sonnebornBerger += ScoreOf(opponent);
            else if (code == DrawAtBoard)
                sonnebornBerger += ScoreOf(opponent) / 2.0f;
        }
        PlayerScores[id].sonnebornBerger = sonnebornBerger;
    }
}

void ComputeScores(int rounds, int players, bool writeReports) {
    RoundTableSet& set = SwissInstance;
    ComputeBaseScores(set, ScoreFamily::Swiss, rounds, players);
    // While the accelerated rounds last the upper half by pairing number
    // counts one win more; the cumulative stays without it.
    if (Settings.AcceleratedRounds != 0 && rounds < Settings.AcceleratedRounds) {
        const int upperHalf = PlayerLimit(set, players / 2);
        for (int id = 1; id <= upperHalf; ++id)
            PlayerScores[id].score += Settings.ScoreSystem.win;
    }
    ComputeOpponentTieBreaks(set, ScoreFamily::Swiss, rounds, players);
    FinishStandings(rounds, players, PlayerCount, writeReports);
}

int PerformanceRating(int player, int rounds) {
    RoundTableSet& set = ActiveTables();
    rounds = RoundLimit(set, rounds);
    // The percentage is taken over the games played at the board only, in
    // half points whatever the tournament's points per win and per draw, so
    // it stays within 0..100 and a win without play cannot lift it.
    int games = 0;
    const long long ratingSum = OpponentRatingSum(set, player, rounds, games);
    int halfPoints = 0;
    for (int round = 1; round <= rounds; ++round) {
        const int code = PlayerResultTable(set, player, round);
        if (!PlayedAtBoard(OpponentTable(set, player, round), code)) continue;
        if (code == WinAtBoard) halfPoints += 2;
        if (code == DrawAtBoard) halfPoints += 1;
    }
    if (games == 0) return 0;
    const int averageRating = static_cast<int>(ratingSum / games);
    const int percentage = 100 * halfPoints / (2 * games);
    // The table's two ends hold no difference: a full score and a score of
    // nothing take FIDE's +800 and -800.
    int difference = PerformanceTable[static_cast<std::size_t>(percentage)];
    if (percentage == 100) difference = FullScoreDifference;
    if (percentage == 0) difference = -FullScoreDifference;
    const int rating = difference + averageRating;
    if (rating == 0 || rating == 1000) return 0;
    if (rating > 4000) return 9999;
    return rating;
}

void ComputeAverageOpponentPerformance(int rounds, int players) {
    RoundTableSet& set = ActiveTables();
    rounds = RoundLimit(set, rounds);
    players = PlayerLimit(set, players);
    for (int id = 1; id <= players; ++id) {
        float sum = 0.0f;
        const int games = ForEachGameAtBoard(set, id, rounds,
                                             [&](int opponent) { sum += ScoreRecord(opponent).performance; });
        PlayerScores[id].apro = games == 0 ? 0.0f : sum / static_cast<float>(games);
    }
}

void FinishStandings(int rounds, int players, int categoryPlayers, bool writeReports) {
    ComputeRatingVariation(players);
    // The performance is stored here rather than left to the player cards,
    // so the average performance of the opponents never reads a value from
    // earlier data, whether the cards are written or not.
    const int limit = PlayerLimit(ActiveTables(), players);
    for (int id = 1; id <= limit; ++id)
        PlayerScores[id].performance = static_cast<float>(PerformanceRating(id, rounds));
    if (writeReports) {
        Call(StandingReports.writeHtmlIndex);
        Call(StandingReports.writePlayerCards, players);
    }
    ComputeAverageOpponentPerformance(rounds, players);
    if (!writeReports) return;
    Call(StandingReports.writeStandings, players);
    Call(StandingReports.writeCrossTable, players);
    Call(StandingReports.writeStandingsByCategory, categoryPlayers);
    Call(StandingReports.awaitWriters);
}
