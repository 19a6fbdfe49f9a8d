// Single group searches on groups of 20 to 999 players: fully compatible
// groups, groups whose absolute colours leave no complete pairing, and
// groups in which a random 5 or 10 per cent of the pairs met before.
// Counters per search: backtracks, limit hits (1 when the search gave up at
// its backtrack limit) and pairs found.
#include "pairing/group_search.h"
#include "tests/support/tournament_state.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

constexpr int Round = SwissMaxRound;

// A field of n players, all with a flexible colour; the group is the field
// in id order.
std::vector<int> SetUpField(int n) {
    ResetTournamentState();
    std::vector<int> ids{0};
    for (int i = 1; i <= n; ++i) ids.push_back(AddTestPlayer("PLAYER" + std::to_string(i), 2800 - i));
    for (int id = 0; id <= n; ++id) {
        PairingStates[id].dueColor = id == 0 ? -1 : id % 2;
        PairingStates[id].colorFlexible = 1;
        PairingStates[id].byeEligibility = 1;
    }
    return ids;
}

void Report(benchmark::State& state, long backtracks, long limitHits, long pairs) {
    const double searches = static_cast<double>(state.iterations());
    state.counters["backtracks"] = backtracks / searches;
    state.counters["limit_hits"] = limitHits / searches;
    state.counters["pairs"] = pairs / searches;
}

void RunHomogeneous(benchmark::State& state, const std::vector<int>& ids) {
    const int n = static_cast<int>(ids.size()) - 1;
    PairingSearch search;
    std::vector<SearchPair> pairs, partial;
    std::vector<int> leftovers;
    long backtracks = 0, limitHits = 0, found = 0;
    for (auto _ : state) {
        int result = PairGroupHomogeneous(search, n, n / 2, ids, pairs, leftovers, partial, Round);
        benchmark::DoNotOptimize(result);
        backtracks += search.backtracks;
        limitHits += search.limitReached;
        found += search.pairsFound;
    }
    Report(state, backtracks, limitHits, found);
}

void BM_FullyCompatible(benchmark::State& state) {
    RunHomogeneous(state, SetUpField(static_cast<int>(state.range(0))));
}

// Three players in five must have White, the others Black, in random order:
// too many Whites for a complete pairing.
void BM_ColourInfeasible(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<int> ids = SetUpField(n);
    std::mt19937 rng(1234);
    for (int id = 1; id <= n; ++id) {
        PairingStates[id].dueColor = rng() % 5 < 3 ? 1 : 0;
        PairingStates[id].colorFlexible = 0;
    }
    RunHomogeneous(state, ids);
}

// A random range(1) per cent of the pairs met before. The meetings go into
// the search's matrix directly: the opponent table holds only 20 rounds per
// player, far fewer than a large field needs for that share.
void BM_RandomForbidden(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const int percent = static_cast<int>(state.range(1));
    const std::vector<int> ids = SetUpField(n);
    PairingSearch search;
    search.players = ids;
    search.playerCount = n;
    search.half = n / 2;
    search.pairLimit = n / 2;
    search.round = Round;
    search.meetings.build(ids, n, Round);
    std::mt19937 rng(static_cast<unsigned>(n * 100 + percent));
    for (int a = 1; a <= n; ++a)
        for (int b = a + 1; b <= n; ++b)
            if (static_cast<int>(rng() % 100) < percent) {
                search.meetings.markMet(a, b);
                search.meetings.markMet(b, a);
            }
    long backtracks = 0, limitHits = 0, found = 0;
    for (auto _ : state) {
        int result = SearchGroupPairing(search);
        benchmark::DoNotOptimize(result);
        backtracks += search.backtracks;
        limitHits += search.limitReached;
        found += search.pairsFound;
    }
    Report(state, backtracks, limitHits, found);
}

BENCHMARK(BM_FullyCompatible)->Arg(20)->Arg(100)->Arg(500)->Arg(999)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColourInfeasible)->Arg(20)->Arg(100)->Arg(500)->Arg(999)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RandomForbidden)
    ->ArgsProduct({{20, 100, 500, 999}, {5, 10}})
    ->Unit(benchmark::kMillisecond);

} // namespace
