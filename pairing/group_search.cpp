#include "pairing/group_search.h"

#include "pairing/pairing_stats.h"
#include "pairing/trace.h"

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <unordered_map>

namespace {

constexpr const char* LimitLine = "  LIMIT REACHED... going out...\n";

// A fixed pseudo-random key per position, so that a set of positions hashes
// to the exclusive or of its keys and a pair changes the hash in O(1).
std::uint64_t PositionKey(int position) {
    std::uint64_t z = static_cast<std::uint64_t>(position) * 0x9E3779B97F4A7C15u + 0x632BE59BD9B4E019u;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
}

// The set of positions the current path pairs, as bits with its hash.
class PairedSet {
public:
    explicit PairedSet(int n) : bits_(n / 64 + 1, 0) {}

    void toggle(int position, std::uint64_t key) {
        bits_[position / 64] ^= std::uint64_t{1} << (position % 64);
        hash_ ^= key;
    }
    std::uint64_t hash() const { return hash_; }
    const std::vector<std::uint64_t>& bits() const { return bits_; }

private:
    std::vector<std::uint64_t> bits_;
    std::uint64_t hash_ = 0;
};

// Sets of positions from which the search has already failed to reach its
// target. A set is stored exactly: equal hashes of different sets never make
// the search skip a path it has not tried.
class FailedSets {
public:
    bool empty() const { return index_.empty(); }

    bool contains(const PairedSet& set) const {
        auto [from, to] = index_.equal_range(set.hash());
        for (auto it = from; it != to; ++it)
            if (std::equal(set.bits().begin(), set.bits().end(), sets_.begin() + it->second)) return true;
        return false;
    }

    void add(const PairedSet& set) {
        index_.emplace(set.hash(), sets_.size());
        sets_.insert(sets_.end(), set.bits().begin(), set.bits().end());
    }

private:
    std::vector<std::uint64_t> sets_; // the stored sets, one after the other
    std::unordered_multimap<std::uint64_t, std::size_t> index_;
};

// The order in which partners are preferred, [1..n]: the lower half from its
// top, then the upper half from its bottom. For an odd n index h + 1 names
// position h + 1 a second time and position n never appears.
std::vector<int> MakeCandidateOrder(int n, int h) {
    std::vector<int> order(n + 1, 0);
    for (int i = 1; i <= h; ++i) order[i] = h + i;
    for (int i = h + 1; i <= n; ++i) order[i] = n + 1 - i;
    return order;
}

// Each position's candidates, in candidate order, kept only when the two
// players may meet. Positions without candidates get an empty list.
std::vector<std::vector<int>> MakeCandidateLists(const PairingSearch& search) {
    const int n = search.playerCount;
    const int h = search.half;
    const int k = std::min(search.requiredCount, h); // required players sit in the upper half
    const std::vector<int> order = MakeCandidateOrder(n, h);
    std::vector<std::vector<int>> lists(n + 1);
    auto fill = [&](int s, int firstIndex, int lastIndex) {
        for (int i = firstIndex; i <= lastIndex; ++i)
            if (search.meetings.mayMeet(s, order[i])) lists[s].push_back(order[i]);
    };
    if (search.requiredCount > 0) {
        for (int s = 1; s <= k; ++s) fill(s, 1, h);
        return lists;
    }
    for (int s = 1; s <= h; ++s) fill(s, 1, n - s);
    for (int s = h + 1; s <= n - 1; ++s) fill(s, s - h + 1, h);
    return lists;
}

void ClearResults(PairingSearch& search) {
    search.resultPath.assign(1, SearchPair{});
    search.pairsFound = 0;
    search.leftoverCount = 0;
    search.limitReached = 0;
    search.backtracks = 0;
}

// Fills the record's inputs for a search of players[1..n].
void SetUpSearch(PairingSearch& search, int n, int required, int pairLimit, std::span<const int> players,
                 int round) {
    search.playerCount = n;
    search.half = n / 2;
    search.requiredCount = required;
    search.pairLimit = pairLimit;
    search.round = round;
    search.players.assign(n + 1, 0);
    for (int p = 1; p <= n; ++p) search.players[p] = players[p];
    search.meetings.build(search.players, n, round);
}

int UsablePlayerCount(int n, std::span<const int> players) {
    const int available = players.empty() ? 0 : static_cast<int>(players.size()) - 1;
    return std::clamp(n, 0, available);
}

// True when the matrix was built for players[1..n] and the round.
bool MatrixFits(const MeetingMatrix& matrix, const std::vector<int>& players, int n, int round) {
    if (matrix.size() != n || matrix.round() != round) return false;
    for (int p = 1; p <= n; ++p)
        if (matrix.player(p) != players[p]) return false;
    return true;
}

SearchPair IdsOf(const PairingSearch& search, const SearchPair& positions) {
    return SearchPair{search.players[positions.first], search.players[positions.second]};
}

} // namespace

void CreatePairingSearch(PairingSearch& search) {
    search.playerCount = search.half = search.requiredCount = search.pairLimit = search.round = 0;
    ClearResults(search);
}

void DisposePairingSearch(PairingSearch& search) {
    search = PairingSearch{};
    CreatePairingSearch(search);
}

int SearchGroupPairing(PairingSearch& search) {
    const int n = UsablePlayerCount(search.playerCount, search.players);
    search.playerCount = n;
    search.half = n / 2;
    if (!MatrixFits(search.meetings, search.players, n, search.round))
        search.meetings.build(search.players, n, search.round);
    ClearResults(search);

    const int h = search.half;
    const int target = search.requiredCount > 0 ? std::min(search.requiredCount, h) : h;
    const int limit = std::max(search.pairLimit, 0);
    const std::vector<std::vector<int>> lists = MakeCandidateLists(search);

    std::vector<std::uint64_t> keys(n + 1);
    for (int p = 0; p <= n; ++p) keys[p] = PositionKey(p);
    std::vector<char> isFree(n + 1, 1);
    std::vector<std::size_t> cursor(n + 1, 0); // candidates taken from the list so far
    std::vector<SearchPair> path;              // positions, in the order placed
    std::vector<SearchPair> best;
    PairedSet paired(n);
    FailedSets failed;
    bool exhausted = false;

    auto finish = [&](int result, const std::vector<SearchPair>& pairs) {
        search.pairsFound = result;
        search.resultPath.assign(1, SearchPair{});
        search.resultPath.insert(search.resultPath.end(), pairs.begin(), pairs.begin() + result);
        ++PairingStats.searches;
        PairingStats.backtracks += search.backtracks;
        PairingStats.limitHits += search.limitReached;
        return result;
    };

    for (;;) {
        const int d = static_cast<int>(path.size()) + 1; // number of the pair to place
        if (d > target) return finish(target, path);
        if (exhausted) return finish(static_cast<int>(best.size()), best);
        if (d > limit) return finish(limit, path);

        // The first free player who has candidates at all is paired next;
        // one whose list is empty is passed over and stays a leftover.
        int v = 0;
        for (int p = 1; p <= n && v == 0; ++p)
            if (isFree[p] && !lists[p].empty()) v = p;

        int w = 0;
        if (v != 0) {
            const std::vector<int>& list = lists[v];
            while (w == 0 && cursor[v] < list.size()) {
                const int c = list[cursor[v]++];
                if (!isFree[c]) continue;
                if (!failed.empty()) {
                    paired.toggle(v, keys[v]);
                    paired.toggle(c, keys[c]);
                    const bool known = failed.contains(paired);
                    paired.toggle(v, keys[v]);
                    paired.toggle(c, keys[c]);
                    if (known) continue;
                }
                w = c;
            }
            if (w == 0) cursor[v] = 0;
        }

        if (w != 0) {
            path.push_back(SearchPair{v, w});
            isFree[v] = isFree[w] = 0;
            paired.toggle(v, keys[v]);
            paired.toggle(w, keys[w]);
            continue;
        }

        // Dead end: keep the longest path seen, then undo the last pair.
        if (d - 1 > static_cast<int>(best.size())) best = path;
        if (d == 1) {
            exhausted = true;
            continue;
        }
        if (search.backtracks + 1 > SearchBacktrackLimit) {
            if (std::ostream* trace = ActivePairingTrace()) *trace << LimitLine;
            search.limitReached = 1;
            return finish(static_cast<int>(best.size()), best);
        }
        ++search.backtracks;
        failed.add(paired);
        const SearchPair last = path.back();
        path.pop_back();
        isFree[last.first] = isFree[last.second] = 1;
        paired.toggle(last.first, keys[last.first]);
        paired.toggle(last.second, keys[last.second]);
    }
}

int PairGroupHomogeneous(PairingSearch& search, int n, int pairLimit, std::span<const int> players,
                         std::vector<SearchPair>& pairsOut, std::vector<int>& leftoversOut,
                         std::vector<SearchPair>& partialOut, int round) {
    n = UsablePlayerCount(n, players);
    SetUpSearch(search, n, 0, pairLimit, players, round);
    SearchGroupPairing(search);

    const int h = search.half;
    const int c = search.pairsFound;
    pairsOut.assign(1, SearchPair{});
    partialOut.assign(1, SearchPair{});
    leftoversOut.assign(1, 0);
    std::vector<SearchPair>& out = c == h ? pairsOut : partialOut;
    for (int i = 1; i <= c; ++i) out.push_back(IdsOf(search, search.resultPath[i]));

    std::vector<char> isPaired(n + 1, 0);
    for (int i = 1; i <= c; ++i) isPaired[search.resultPath[i].first] = isPaired[search.resultPath[i].second] = 1;
    search.leftoverCount = 2 * (h - c);
    leftoversOut[0] = search.leftoverCount;
    for (int p = 1; p <= 2 * h; ++p)
        if (!isPaired[p]) leftoversOut.push_back(search.players[p]);
    if (n % 2 == 1) leftoversOut.push_back(search.players[n]);
    return search.limitReached ? -c : c;
}

int PairGroupHeterogeneous(PairingSearch& search, int n, int k, std::span<const int> players,
                           std::vector<SearchPair>& pairsOut, int round) {
    n = UsablePlayerCount(n, players);
    pairsOut.assign(1, SearchPair{});
    if (k < 1 || k > n / 2) {
        search.players.assign(1, 0);
        search.playerCount = search.half = search.requiredCount = search.pairLimit = 0;
        search.round = round;
        ClearResults(search);
        return 0;
    }
    SetUpSearch(search, n, k, k, players, round);
    SearchGroupPairing(search);
    if (search.pairsFound != k) {
        search.leftoverCount = k - search.pairsFound;
        return 0;
    }
    for (int i = 1; i <= k; ++i) pairsOut.push_back(IdsOf(search, search.resultPath[i]));
    return k;
}
