#include "pairing/pair_counting.h"

#include "pairing/group_search.h"
#include "tournament/pairing_predicates.h"
#include "tournament/round_tables.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Beyond these sizes the counts do without a search: they run once per
// candidate of a step, and a large group pairs well in practice.
constexpr int ColorTargetMaxPlayers = 30;
constexpr int SearchWithoutPlayerMaxPlayers = 50;

int LastIndex(std::span<const int> players) {
    return players.empty() ? 0 : static_cast<int>(players.size()) - 1;
}

// Runs the homogeneous search on players[1..n] with the pair limit.
int SearchPairs(const std::vector<int>& players, int n, int pairLimit, int round) {
    PairingSearch search;
    std::vector<SearchPair> pairs, partial;
    std::vector<int> leftovers;
    return PairGroupHomogeneous(search, n, pairLimit, players, pairs, leftovers, partial, round);
}

} // namespace

ColorWishes CountColorWishes(std::span<const int> players, int n) {
    ColorWishes wishes;
    n = std::clamp(n, 0, LastIndex(players));
    for (int i = 1; i <= n; ++i) {
        const int id = players[i];
        const PairingState& state = StateRecord(id);
        if (id != EmptySlot && state.colorFlexible == 0 && state.dueColor == 1)
            ++wishes.white;
        else if (id != EmptySlot && state.colorFlexible == 0 && state.dueColor == 0)
            ++wishes.black;
        else
            ++wishes.neutral;
    }
    return wishes;
}

int ColorExcess(const ColorWishes& wishes) {
    return std::max(0, std::abs(wishes.white - wishes.black) - wishes.neutral);
}

int CountSatisfiablePairs(int n, std::span<const int> players) {
    n = std::clamp(n, 0, LastIndex(players));
    return n / 2 - ColorExcess(CountColorWishes(players, n)) / 2;
}

int CountPairsToTarget(std::vector<int> players, int round) {
    if (players.empty()) players.push_back(0);
    if (LastIndex(players) % 2 == 1) players.push_back(EmptySlot);
    const int n = LastIndex(players);
    const int target = n <= ColorTargetMaxPlayers ? CountSatisfiablePairs(n, players) : n / 2;
    const int result = SearchPairs(players, n, target, round);
    return result == target ? -target : result;
}

std::vector<int> WithPlayerChanged(std::span<const int> players, int c, int with) {
    std::vector<int> out{0};
    for (int i = 1; i <= LastIndex(players); ++i)
        if (with != 0 || players[i] != c) out.push_back(players[i]);
    if (with != 0) out.push_back(c);
    return out;
}

std::vector<int> WithoutPlayers(std::span<const int> players, int c1, int c2) {
    std::vector<int> out{0};
    for (int i = 1; i <= LastIndex(players); ++i)
        if (players[i] != c1 && players[i] != c2) out.push_back(players[i]);
    return out;
}

int CountPairsWithoutPlayerAmong(std::span<const int> players, int player, int round) {
    const std::vector<int> rest = WithPlayerChanged(players, player, 0);
    const int m = LastIndex(rest);
    const int excess = ColorExcess(CountColorWishes(rest, m));
    if (excess >= 1) return m / 2 - excess / 2;
    if (m > SearchWithoutPlayerMaxPlayers) return m / 2;
    return std::abs(SearchPairs(rest, m, m / 2, round));
}
