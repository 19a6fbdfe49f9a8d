#include "tournament/color_history.h"

#include "tournament/capacities.h"
#include "tournament/game_code.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/run_options.h"
#include "tournament/settings.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

int Color(int id, int round) {
    return ColorHistory(SwissInstance, id, round);
}
int Opponent(int id, int round) {
    return OpponentTable(SwissInstance, id, round);
}
int Result(int id, int round) {
    return PlayerResultTable(SwissInstance, id, round);
}

// A round played at the board: an opponent and a result code 0..2.
bool PlayedAtBoard(int id, int round) {
    return Opponent(id, round) != 0 && IsPlayedAtBoard(Result(id, round));
}

int ColorSum(int id, int rounds) {
    int sum = 0;
    for (int round = 1; round <= rounds; ++round)
        sum += Color(id, round);
    return sum;
}

// Length of the run of `colour` at the end of rounds 1..rounds; rounds
// without a colour are skipped, the first round of the other colour ends it.
int RunAtEnd(int id, int rounds, int colour) {
    int run = 0;
    for (int round = rounds; round >= 1; --round) {
        const int c = Color(id, round);
        if (c == colour)
            ++run;
        else if (c == -colour)
            break;
    }
    return run;
}

// The colour of the latest round 1..rounds that has one, 0 when none has.
int LastColor(int id, int rounds) {
    for (int round = rounds; round >= 1; --round)
        if (Color(id, round) != 0) return Color(id, round);
    return 0;
}

float ScoreOf(int id) {
    return ScoreRecord(id).score;
}

// Byte order of the names; true when a's name sorts strictly before b's.
bool NameFirst(int a, int b) {
    return std::strncmp(PlayerRecord(a).name, PlayerRecord(b).name, PlayerNameSize) < 0;
}

// Game code with white chosen among a and b by `aWhite`, not yet played.
int UnplayedCode(int a, int b, bool aWhite) {
    return aWhite ? EncodeGameCode(a, b, NotPlayed) : EncodeGameCode(b, a, NotPlayed);
}

// Whether x gets white when he is given his due colour against `other`. A
// player with no colour due (a USCF player who has had no colour yet) takes
// whatever his opponent is not due, so that the opponent is never pushed
// past a colour limit or into a third game of one colour in a row.
bool TakesWhite(int x, int other) {
    const int due = StateRecord(x).dueColor;
    if (due == -1) return StateRecord(other).dueColor != 1;
    return due != 0;
}

// Steps shared by both colour rules up to the identical-history tie-break.
// Gives 0, 1 or -1 in `decision` and true when the histories decided.
bool DecideByHistory(int a, int b, int round, int& decision) {
    const PairingState& sa = StateRecord(a);
    const PairingState& sb = StateRecord(b);
    if (sa.dueColor != sb.dueColor) {
        decision = 0;
        return true;
    }
    if (sa.colorFlexible == 1 && sb.colorFlexible == 0) {
        decision = -1;
        return true;
    }
    if (sa.colorFlexible == 0 && sb.colorFlexible == 1) {
        decision = 1;
        return true;
    }
    const int da = std::abs(ColorSum(a, round));
    const int db = std::abs(ColorSum(b, round));
    if (da != db) {
        decision = da > db ? 1 : -1;
        return true;
    }
    for (int r = round; r >= 1; --r) {
        const int ca = Color(a, r);
        if (ca == Color(b, r)) continue;
        const bool aGetsDue = (sa.dueColor == 1 && ca == -1) || (sa.dueColor == 0 && ca == 1);
        decision = aGetsDue ? 1 : -1;
        return true;
    }
    return false;
}

int ByNameOrNone(int a, int b) {
    if (NameFirst(a, b)) return UnplayedCode(a, b, true);
    if (NameFirst(b, a)) return UnplayedCode(a, b, false);
    return 0;
}

} // namespace

int ColorLimit() {
    return RelaxedColorOption ? 3 : 2;
}

int FloatLimit() {
    return Settings.PlannedRounds < 10 ? 3 : 4;
}

void UpdateColorHistory(int rounds, int players) {
    const int r = std::clamp(rounds, 0, SwissMaxRound);
    const int n = std::clamp(players, 0, MaxPlayers);
    const int limit = ColorLimit();
    const int system = Settings.PairingSystem;
    const float win = Settings.ScoreSystem.win;
    const float draw = Settings.ScoreSystem.draw;
    const bool uscfLastRound =
        system == UscfSystem && CurrentRound == Settings.PlannedRounds && !RelaxedColorOption;

    for (int i = 1; i <= n; ++i) {
        PairingState& state = PairingStates[i];
        Player& player = Players[i];
        PlayerScore& score = PlayerScores[i];

        const int difference = ColorSum(i, r);
        state.colorDifference = difference;
        if (difference > 0)
            state.dueColor = 0;
        else if (difference < 0)
            state.dueColor = 1;
        else
            state.dueColor = LastColor(i, r) == -1 ? 1 : 0;
        state.workingColor = state.dueColor;

        // A colour is absolute once the difference or the run of one colour
        // has reached the limit, not only when it stands exactly at it.
        state.colorFlexible = std::abs(difference) >= limit ? 0 : 1;
        const int run = RunAtEnd(i, r, state.dueColor == 1 ? -1 : 1);
        if (run >= limit) state.colorFlexible = uscfLastRound ? 1 : 0;

        if (system == UscfSystem) {
            const int blacks = RunAtEnd(i, r, -1);
            const int whites = RunAtEnd(i, r, 1);
            if (blacks == 0 && whites == 0) {
                state.dueColor = -1;
                state.colorStreak = 0;
            } else {
                state.colorStreak = blacks >= 1 ? blacks : whites;
            }
        } else {
            state.colorStreak = 0;
        }

        float keySum = 0;
        int met = 0;
        for (int round = 1; round <= r; ++round) {
            if (!PlayedAtBoard(i, round)) continue;
            keySum += static_cast<float>(PlayerRecord(Opponent(i, round)).seedingKey);
            ++met;
        }
        const float average = met > 0 ? keySum / static_cast<float>(met) : 0.0f;
        player.pairingKey = average;
        score.aro = average;

        float points = 0;
        for (int round = 1; round <= r; ++round) {
            const int code = Result(i, round);
            if (code == WinAtBoard || code == WinUnplayed)
                points += win;
            else if (code == DrawAtBoard || code == HalfUnplayed || code == HalfNoGameCode)
                points += draw;
        }
        if (Settings.AcceleratedRounds != 0 && CurrentRound < Settings.AcceleratedRounds && i <= n / 2)
            points += win;
        score.score = points;

        if (system == FideDubovSystem) {
            int floats = 0;
            for (int round = 1; round <= r; ++round)
                if (FloatHistory(SwissInstance, i, round) != 0) ++floats;
            const bool floatedLast = r >= 1 && FloatHistory(SwissInstance, i, r) != 0;
            if (floats >= FloatLimit())
                state.mayFloatUp = 0;
            else if (floatedLast && r < Settings.PlannedRounds - 1)
                state.mayFloatUp = 0;
            else
                state.mayFloatUp = 1;
        }

        state.byeEligibility = 1;
        for (int round = 1; round <= r; ++round) {
            const int code = Result(i, round);
            if (code == WinUnplayed) {
                state.byeEligibility = 0;
                break;
            }
            if (code == HalfUnplayed || code == HalfNoGameCode) state.byeEligibility = 2;
        }

        state.triedMark = 0;

        if (system == SwissQuonSystem || system == FideBursteinSystem) {
            float opposition = 0;
            for (int round = 1; round <= r; ++round) {
                const int code = Result(i, round);
                if (PlayedAtBoard(i, round))
                    opposition += ScoreOf(Opponent(i, round));
                else if (code == WinUnplayed || code == LossUnplayed || code == HalfUnplayed)
                    opposition += score.score;
            }
            if (system == SwissQuonSystem) {
                player.seedingKey = static_cast<int>(10.0f * opposition);
                player.pairingKey = 10.0f * opposition;
            } else {
                player.pairingKey = opposition + score.score;
                player.seedingKey = player.ratingUsed;
            }
        } else {
            player.seedingKey = player.ratingUsed;
        }
    }
    PairingStates[0].dueColor = -1;
    PairingStates[0].colorFlexible = 1;
}

void RestorePairingState(int players) {
    const int round = CurrentRound;
    if (round < 1) return;
    if (round == 1) {
        for (int id = 1; id <= std::clamp(players, 0, MaxPlayers); ++id) PairingStates[id].colorFlexible = 1;
        return;
    }
    CurrentRound = round - 1;
    UpdateColorHistory(round - 1, players);
    CurrentRound = round;
}

int DecidePairColors(int a, int b, int round) {
    if (b == 0) return EncodeGameCode(a, 0, WhiteWinsForfeit);
    int decision = 0;
    if (DecideByHistory(a, b, round, decision)) return decision;

    if (Settings.PairingSystem == UscfSystem) {
        const float sa = ScoreOf(a), sb = ScoreOf(b);
        if (sa != sb) return UnplayedCode(a, b, sa > sb);
        const int ka = PlayerRecord(a).seedingKey, kb = PlayerRecord(b).seedingKey;
        if (ka != kb) return UnplayedCode(a, b, ka > kb);
        return ByNameOrNone(a, b);
    }
    const float pa = PlayerRecord(a).pairingKey, pb = PlayerRecord(b).pairingKey;
    if (pa != pb) return UnplayedCode(a, b, pa > pb);
    const int ka = PlayerRecord(a).seedingKey, kb = PlayerRecord(b).seedingKey;
    if (ka != kb) return UnplayedCode(a, b, ka < kb);
    return ByNameOrNone(a, b);
}

int DecidePairColorsBurstein(int a, int b, int round) {
    if (a == 0) return EncodeGameCode(0, b, BlackWinsForfeit);
    if (b == 0) return EncodeGameCode(a, 0, WhiteWinsForfeit);
    int decision = 0;
    if (DecideByHistory(a, b, round, decision)) return decision;

    const float pa = PlayerRecord(a).pairingKey, pb = PlayerRecord(b).pairingKey;
    if (pa != pb) return UnplayedCode(a, b, pa > pb);
    const int ka = PlayerRecord(a).seedingKey, kb = PlayerRecord(b).seedingKey;
    if (ka != kb) return UnplayedCode(a, b, ka > kb);
    return ByNameOrNone(a, b);
}

void AllocateColors(int round) {
    if (round < 1 || round > SwissInstance.lastRound()) return;
    const int boards = std::clamp(GameTable(SwissInstance, 0, round), 0, SwissInstance.maxBoards());
    const bool burstein = Settings.PairingSystem == FideBursteinSystem;
    for (int board = 1; board <= boards; ++board) {
        std::int32_t& code = GameTable(SwissInstance, board, round);
        int a, b, digit;
        DecodeGameCode(code, a, b, digit);
        if (!IsPlayerRow(a) || !IsPlayerRow(b)) continue; // a corrupt code stays as it is
        const int d = burstein ? DecidePairColorsBurstein(a, b, round) : DecidePairColors(a, b, round);
        if (d > 1)
            code = d;
        else if (d == -1)
            code = UnplayedCode(a, b, !TakesWhite(b, a));
        else
            code = UnplayedCode(a, b, TakesWhite(a, b));
    }
}

void MarkRoundFloaters(int round) {
    if (round < 1 || round > SwissInstance.lastRound()) return;
    const bool dubov = Settings.PairingSystem == FideDubovSystem;
    if (dubov && round == 1) return;
    const int boards = std::clamp(GameTable(SwissInstance, 0, round), 0, SwissInstance.maxBoards());
    for (int board = 1; board <= boards; ++board) {
        int a, b, digit;
        DecodeGameCode(GameTable(SwissInstance, board, round), a, b, digit);
        FloatHistory(SwissInstance, a, round) = 0;
        FloatHistory(SwissInstance, b, round) = 0;
        if (!dubov) continue;
        const float sa = ScoreOf(a), sb = ScoreOf(b);
        if (sa < sb)
            FloatHistory(SwissInstance, a, round) = 1;
        else if (sb < sa)
            FloatHistory(SwissInstance, b, round) = 1;
    }
}
