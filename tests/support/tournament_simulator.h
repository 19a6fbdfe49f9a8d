// A seeded tournament simulator for the pairing tests and benchmarks.
//
// SetUpSimulatedTournament registers N players with random ratings (a few
// unrated), numbered by rating, and closes the registration; each round is
// then paired by PairNextRound, checked with CheckPairedRound, played with
// results drawn from the rating expectancy (with draws and forfeits) and
// closed as the arbiter would: cells rebuilt, scores recomputed, and now and
// then a player withdraws. Everything is drawn from the program's own
// generator, seeded from the options, so a run is the same every time.
//
// PairRoundBySearch is a stand-in engine for runs made before the real
// engines are registered: it makes the score groups (with the BYE) and pairs
// every player left in one group search, in standings order. Header only;
// link the pairing library.
#pragma once

#include "pairing/group_search.h"
#include "pairing/round_check.h"
#include "pairing/round_dispatcher.h"
#include "pairing/score_groups.h"
#include "support/tournament_state.h"
#include "tournament/game_code.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/random.h"
#include "tournament/rating.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/run_options.h"
#include "tournament/scores.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

struct SimulationOptions {
    int players = 20;
    int rounds = 5;
    int system = FideDubovSystem;
    std::uint32_t seed = 1;
    int acceleratedRounds = 0;
    int drawPercent = 30;     // share of the games played that end in a draw
    int forfeitPercent = 2;   // share of the boards won without play
    int withdrawPerMille = 5; // chance of each player to withdraw after a round
    int unratedPercent = 5;   // share of players without a rating
    bool traced = false;      // every round paired with the verbose trace on
    std::string dataFolder;   // where the pairing lists go; ends with '/'
};

struct SimulationResult {
    int roundsPaired = 0;
    std::string problem; // empty when every round paired and passed the check
};

inline void SetUpSimulatedTournament(const SimulationOptions& options) {
    ResetTournamentState();
    SeedRandom(options.seed);
    Settings.PairingSystem = options.system;
    Settings.PlannedRounds = std::clamp(options.rounds, 1, MaxPlannedRounds);
    Settings.AcceleratedRounds = options.acceleratedRounds;
    std::snprintf(Settings.DataFolder, sizeof Settings.DataFolder, "%s", options.dataFolder.c_str());
    std::vector<int> ratings;
    for (int i = 0; i < std::clamp(options.players, 0, MaxPlayers); ++i) {
        const bool unrated = NextRandom() % 100 < options.unratedPercent;
        ratings.push_back(unrated ? 0 : 1000 + NextRandom() % 1700);
    }
    std::sort(ratings.begin(), ratings.end(), std::greater<int>());
    for (std::size_t i = 0; i < ratings.size(); ++i)
        AddTestPlayer("SIMULATED " + std::to_string(i + 1), ratings[i]);
    ClosedRegistration = 1;
    RandomSort = 0;
}

// Results of every board of round, written into the game codes.
inline void PlaySimulatedRound(const SimulationOptions& options, int round) {
    const int boards = RoundBoardCount(round);
    for (int board = 1; board <= boards; ++board) {
        std::int32_t& code = GameTable(board, round);
        int white, black, digit;
        DecodeGameCode(code, white, black, digit);
        if (white == 0 || black == 0) continue;
        auto strength = [](int id) { return Players[id].ratingUsed == 0 ? 1200 : Players[id].ratingUsed; };
        const int draw = NextRandom() % 100;
        if (NextRandom() % 100 < options.forfeitPercent)
            digit = NextRandom() % 2 == 0 ? WhiteWinsForfeit : BlackWinsForfeit;
        else if (draw < options.drawPercent)
            digit = Draw;
        else {
            const float expected = ExpectedScore(strength(white), strength(black));
            digit = static_cast<float>(NextRandom()) / (RandomMax + 1) < expected ? WhiteWins : BlackWins;
        }
        code = EncodeGameCode(white, black, digit);
    }
}

// What closing the result entry does, then the withdrawals for the next round.
inline void CloseSimulatedRound(const SimulationOptions& options, int round) {
    RebuildRoundTables(round);
    ComputeScores(round, PlayerCount);
    int available = 0;
    for (int id = 1; id <= PlayerCount; ++id)
        available += Players[id].available;
    for (int id = 1; id <= PlayerCount && available > 6; ++id)
        if (Players[id].available != 0 && NextRandom() % 1000 < options.withdrawPerMille) {
            Players[id].available = 0;
            --available;
        }
}

// Pairs, checks, plays and closes every round; stops at the first round that
// does not pair or does not pass the check.
inline SimulationResult RunSimulatedTournament(const SimulationOptions& options) {
    SetUpSimulatedTournament(options);
    SimulationResult result;
    for (int round = 1; round <= Settings.PlannedRounds; ++round) {
        if (options.traced) VerboseOption = 1;
        const int paired = PairNextRound(PlayerCount);
        if (options.traced) VerboseOption = 0;
        if (paired == 0) {
            result.problem = "round " + std::to_string(round) + " was not paired";
            return result;
        }
        const RoundCheck check = CheckPairedRound(round, PlayerCount);
        if (!check.ok) {
            result.problem = "round " + std::to_string(round) + ": " + check.problem;
            return result;
        }
        result.roundsPaired = round;
        PlaySimulatedRound(options, round);
        CloseSimulatedRound(options, round);
    }
    return result;
}

// The stand-in engine: score groups and BYE, then one search over everybody
// left, in group order.
inline int PairRoundBySearch(int players, int round) {
    int groups = 0;
    const int n = MakeScoreGroups(players, groups);
    if (n < 0) return 0;
    std::vector<int> field{0};
    for (int g = 1; g <= groups; ++g) {
        for (const PlayerList* list : {&ScoreGroupAt(g).whiteDue, &ScoreGroupAt(g).blackDue})
            for (const IdNode* node = list->head; node != nullptr; node = node->next)
                field.push_back(node->id);
    }
    const int count = static_cast<int>(field.size()) - 1;
    PairingSearch search;
    CreatePairingSearch(search);
    std::vector<SearchPair> pairs, partial;
    std::vector<int> leftovers;
    const int found = PairGroupHomogeneous(search, count, count / 2, field, pairs, leftovers, partial, round);
    DisposePairingSearch(search);
    if (found != count / 2) {
        ShowAlert(MessageText(MsgPairingStops), MessageText(MsgClose));
        return 0;
    }
    for (int i = 1; i <= found; ++i)
        GameTable(i, round) = EncodeGameCode(pairs[i].first, pairs[i].second, NotPlayed);
    GameTable(0, round) = n % 2 == 1 ? (n - 1) / 2 + 1 : n / 2;
    return 1;
}

inline void RegisterStandInEngines() {
    for (int system : {FideDubovSystem, SwissQuonSystem, UscfSystem, FideBursteinSystem})
        RegisterPairingEngine(system, PairRoundBySearch);
}
