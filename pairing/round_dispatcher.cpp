#include "pairing/round_dispatcher.h"

#include "pairing/round_check.h"
#include "pairing/round_trace.h"
#include "pairing/score_groups.h"
#include "pairing/trace.h"
#include "pairing/window_services.h"
#include "reports/pairing_lists.h"
#include "tournament/color_history.h"
#include "tournament/game_code.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/pairing_predicates.h"
#include "tournament/players.h"
#include "tournament/round_robin_scores.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/run_options.h"
#include "tournament/scores.h"
#include "tournament/settings.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

namespace {

std::array<PairingEngine, 7> Engines{};
void (*ColorImprovementPass)() = nullptr;
// The colour of board 1 answered at the start, for round 1's pairing; -1
// when none is kept.
int KeptFirstBoardColour = -1;

// 1 when the top seed plays White on board 1, 0 when Black, QuestionLeft
// when the question was left: it starts a round, so only a button answers
// it. Asked only of pairing numbers given by rating; an answer kept from
// the start is taken, once.
int FirstBoardColour() {
    const int kept = std::exchange(KeptFirstBoardColour, -1);
    if (RandomSort != 0) return 1;
    if (kept >= 0) return kept;
    const int answer = AskQuestion(MessageText(MsgTopSeedWhiteQuestion), MessageText(MsgNo), MessageText(MsgYes),
                                   std::string(), QuestionLeft);
    return answer == QuestionLeft ? answer : answer == 1 ? 1 : 0;
}

bool IsSwissSystem(int system) {
    return system == FideDubovSystem || system == SwissQuonSystem || system == UscfSystem ||
           system == FideBursteinSystem;
}

// What a pairing attempt may change before it fails: the players' scores,
// pairing state and keys (UpdateColorHistory), and the game column of the
// round being paired. Kept so that a failed round leaves the tournament as
// it was.
struct PairingSnapshot {
    int round = 0;
    std::vector<PlayerScore> scores;
    std::vector<PairingState> states;
    std::vector<int> seedingKeys;
    std::vector<float> pairingKeys;
    std::vector<std::int32_t> games;

    void take(int pairedRound) {
        round = pairedRound;
        scores.assign(std::begin(PlayerScores), std::end(PlayerScores));
        states.assign(std::begin(PairingStates), std::end(PairingStates));
        seedingKeys.resize(PlayerRows);
        pairingKeys.resize(PlayerRows);
        for (int id = 0; id < PlayerRows; ++id) {
            seedingKeys[id] = Players[id].seedingKey;
            pairingKeys[id] = Players[id].pairingKey;
        }
        games.resize(SwissInstance.boardRows);
        for (int board = 0; board < SwissInstance.boardRows; ++board)
            games[board] = GameTable(SwissInstance, board, round);
    }

    void restore() const {
        std::copy(scores.begin(), scores.end(), std::begin(PlayerScores));
        std::copy(states.begin(), states.end(), std::begin(PairingStates));
        for (int id = 0; id < PlayerRows; ++id) {
            Players[id].seedingKey = seedingKeys[id];
            Players[id].pairingKey = pairingKeys[id];
        }
        for (int board = 0; board < SwissInstance.boardRows; ++board)
            GameTable(SwissInstance, board, round) = games[board];
    }
};

// Undoes a pairing attempt of CurrentRound: its groups go, the tables are
// as before and the round counters come back down.
void CancelRound(const PairingSnapshot& before) {
    ClosePairingTrace();
    ClearScoreGroups(CurrentRound);
    before.restore();
    CancelLastPairing(0, 0, 0);
}

struct HeldAlert {
    std::string text;
    std::string caption;
};

// Keeps the alerts shown while it lives, so that only the attempt whose
// outcome stands shows its own; questions still reach the arbiter at once.
class AlertHolder : public MessageBoxSink {
  public:
    explicit AlertHolder(std::vector<HeldAlert>& into) : into_(into), previous_(SetMessageBoxSink(this)) {}
    ~AlertHolder() override { SetMessageBoxSink(previous_); }
    AlertHolder(const AlertHolder&) = delete;
    AlertHolder& operator=(const AlertHolder&) = delete;

    void alert(const std::string& text, const std::string& caption) override { into_.push_back({text, caption}); }
    int question(const std::string& text, const std::string& caption0, const std::string& caption1,
                 const std::string& caption2) override {
        return questionWithCancel(text, caption0, caption1, caption2, -1);
    }
    int questionWithCancel(const std::string& text, const std::string& caption0, const std::string& caption1,
                           const std::string& caption2, int cancel) override {
        SetMessageBoxSink(previous_);
        const int answer = AskQuestion(text, caption0, caption1, caption2, cancel);
        SetMessageBoxSink(this);
        return answer;
    }

  private:
    std::vector<HeldAlert>& into_;
    MessageBoxSink* previous_;
};

int RunHoldingAlerts(PairingEngine engine, int players, int round, std::vector<HeldAlert>& alerts) {
    AlertHolder holder(alerts);
    return engine(players, round);
}

void ShowHeldAlerts(const std::vector<HeldAlert>& alerts) {
    for (const HeldAlert& alert : alerts)
        ShowAlert(alert.text, alert.caption);
}

// How many BYE receivers a round is tried with. Each try runs the engine's
// whole sequence of restarts, so a refused round in a large field would
// keep the arbiter waiting without it; small fields try every eligible
// player.
constexpr int MaxByeCandidates = 50;

// The engine on the round, first with the BYE receiver its system chooses;
// while the round cannot be paired, again with the next player in the
// system's own order, each time from the state the engine first saw. Only
// the outcome that stands shows its alerts: those of the attempt that paired
// the round, or of the first attempt when none did.
int PairTryingByeReceivers(PairingEngine engine, int players, int round) {
    PairingSnapshot start;
    start.take(round);
    ClearByePassOvers();
    std::vector<HeldAlert> firstAlerts;
    int result = RunHoldingAlerts(engine, players, round, firstAlerts);
    std::vector<HeldAlert>* shown = &firstAlerts;
    std::vector<HeldAlert> retryAlerts;
    for (int tried = 1; result == 0 && tried < MaxByeCandidates && LastByeReceiver() != 0; ++tried) {
        PassOverForBye(LastByeReceiver());
        ClosePairingTrace();
        ClearScoreGroups(round);
        start.restore();
        retryAlerts.clear();
        KeepPairingTraceOnOpen(true);
        result = RunHoldingAlerts(engine, players, round, retryAlerts);
        KeepPairingTraceOnOpen(false);
        if (result != 0) shown = &retryAlerts;
    }
    ClearByePassOvers();
    ShowHeldAlerts(*shown);
    return result;
}

// The check before the round goes out; a round that breaks a rule is not
// handed to the arbiter.
bool RoundPassesCheck(int round, int players) {
    const RoundCheck check = CheckPairedRound(round, players);
    if (check.ok) return true;
    ShowAlert(MessageText(MsgPairingStops), MessageText(MsgClose));
    return false;
}

} // namespace

void RegisterPairingEngine(int system, PairingEngine engine) {
    if (IsSwissSystem(system)) Engines[static_cast<std::size_t>(system)] = engine;
}

PairingEngine RegisteredPairingEngine(int system) {
    return IsSwissSystem(system) ? Engines[static_cast<std::size_t>(system)] : nullptr;
}

void RegisterColorImprovement(void (*pass)()) {
    ColorImprovementPass = pass;
}

int PairNextRound(int players) {
    const int system = Settings.PairingSystem;
    if (!IsSwissSystem(system) || ClosedRegistration == 0 || CurrentRound < 0) return 0;
    const int n = std::clamp(players, 0, MaxPlayers);

    if (CurrentRound == 0) {
        const int topSeedWhite = FirstBoardColour();
        if (topSeedWhite == QuestionLeft) return 0;
        PairingSnapshot before;
        before.take(1);
        for (int id = 1; id <= n; ++id) {
            PlayerScores[id].score = 0.0f;
            PlayerScores[id].aro = 0.0f;
            PairingStates[id].colorFlexible = 1;
        }
        SetCurrentRound(1);
        PairFirstRound(n, topSeedWhite);
        if (!RoundPassesCheck(1, n)) {
            CancelRound(before);
            return 0;
        }
        WritePairingLists(1);
        return 1;
    }

    if (CurrentRound >= SwissInstance.lastRound()) return 0;
    PairingEngine engine = RegisteredPairingEngine(system);
    if (engine == nullptr) {
        ShowAlert(MessageText(MsgPairingStops), MessageText(MsgClose));
        return 0;
    }

    const int round = CurrentRound + 1;
    PairingSnapshot before;
    before.take(round);
    ClearScoreGroups(CurrentRound);
    UpdateColorHistory(CurrentRound, n);
    SetCurrentRound(round);
    // A stale column of an earlier, cancelled attempt must not pass for
    // this one's boards.
    for (int board = 0; board < SwissInstance.boardRows; ++board)
        GameTable(SwissInstance, board, round) = 0;

    const int result = PairTryingByeReceivers(engine, n, round);
    ClosePairingTrace();
    if (result == 0) {
        CancelRound(before);
        return 0;
    }
    if (ColorImprovementOption != 0 && ShownRound > 1 && ColorImprovementPass != nullptr) ColorImprovementPass();
    AllocateColors(round);
    SortRoundBoards(round);
    if (!RoundPassesCheck(round, n)) {
        CancelRound(before);
        return 0;
    }
    WritePairingLists(round);
    return result;
}

bool AskFirstBoardColour() {
    KeptFirstBoardColour = -1;
    const int answer = FirstBoardColour();
    if (answer == QuestionLeft) return false;
    KeptFirstBoardColour = answer;
    return true;
}

int PairFirstRound(int players, int topSeedWhite) {
    const int system = Settings.PairingSystem;

    std::vector<int> p{0}; // P[1..n]
    const int last = std::clamp(players, 0, MaxPlayers);
    for (int id = 1; id <= last; ++id)
        if (Players[id].available != 0) p.push_back(id);
    int n = static_cast<int>(p.size()) - 1;

    int bye = 0;
    if (n % 2 == 1) {
        int place = n;
        if (system == UscfSystem) {
            int lowest = 1000000;
            for (int i = n; i >= 1; --i) {
                const int rating = Players[p[i]].ratingUsed == 0 ? 10000 : Players[p[i]].ratingUsed;
                if (rating < lowest) {
                    lowest = rating;
                    place = i;
                }
            }
        }
        bye = p[place];
        p.erase(p.begin() + place);
        GameTable(SwissInstance, n / 2 + 1, 1) = EncodeGameCode(bye, 0, WhiteWinsForfeit);
        --n;
    }

    const int h = n / 2;
    const bool fold = system == FideBursteinSystem;
    for (int i = 1; i <= h; ++i) {
        int top, bottom;
        if (Settings.AcceleratedRounds == 0) {
            top = p[i];
            bottom = fold ? p[2 * h + 1 - i] : p[h + i];
        } else {
            const int q = h / 2;
            if (i <= q) {
                top = p[i];
                bottom = fold ? p[2 * q + 1 - i] : p[q + i];
            } else {
                top = p[q + i];
                bottom = fold ? p[2 * h + q + 1 - i] : p[h + i];
            }
        }
        const bool topWhite = (i % 2 == 1) == (topSeedWhite == 1);
        GameTable(SwissInstance, i, 1) =
            topWhite ? EncodeGameCode(top, bottom, NotPlayed) : EncodeGameCode(bottom, top, NotPlayed);
    }
    const int boards = bye != 0 ? h + 1 : h;
    GameTable(SwissInstance, 0, 1) = boards;
    return boards;
}

void DeleteRounds(int first, int last, int players) {
    const int n = std::clamp(players, 0, MaxPlayers);
    const bool roundRobin = IsRoundRobin();
    RoundTableSet& set = roundRobin ? RoundRobinInstance : SwissInstance;
    const int from = std::max(first, 1);
    const int to = std::min(last, set.lastRound());

    for (int r = from; r <= to; ++r) {
        for (int id = 1; id <= n; ++id) {
            ColorHistory(set, id, r) = 0;
            PlayerResultTable(set, id, r) = 0;
            if (!roundRobin) {
                OpponentTable(set, id, r) = 0;
                FloatHistory(set, id, r) = 0;
            }
        }
        if (CurrentRound > 0) SetCurrentRound(CurrentRound - 1);
    }
    for (int r = from; r <= to; ++r) {
        const int boards = std::clamp(GameTable(set, 0, r), 0, set.maxBoards());
        for (int board = 1; board <= boards; ++board) {
            std::int32_t& code = GameTable(set, board, r);
            code = roundRobin ? code / 10 * 10 + NotPlayed : 0;
        }
    }
    // The standings are those of the rounds that remain.
    if (roundRobin)
        ComputeRoundRobinTieBreaks(CurrentRound, n);
    else
        ComputeScores(CurrentRound, n);
    if (PairingWindow.enableRoundNumberField != nullptr) PairingWindow.enableRoundNumberField();
}

int LastPairableRound() {
    if (IsRoundRobin())
        return std::min(RoundRobinRoundCount(PlayerCount, Settings.PairingSystem), RoundRobinInstance.lastRound());
    return std::min(Settings.PlannedRounds, SwissInstance.lastRound());
}

bool RoundLimitReached() {
    // At or past the limit: a limit lowered under the current round must
    // not let the pairing run on.
    if (CurrentRound < LastPairableRound()) return false;
    ShowAlert(MessageText(MsgAllRoundsPaired), MessageText(MsgClose));
    return true;
}

void ListProposedRound() {
    RoundBoardsChanged();
    WritePairingLists(CurrentRound);
}
