#include "pairing/group_search.h"
#include "pairing/pairing_stats.h"
#include "pairing/trace.h"

#include "search_fixture.h"

#include <gmock/gmock.h>

#include <random>
#include <set>
#include <sstream>

inline void PrintTo(const SearchPair& p, std::ostream* os) {
    *os << "(" << p.first << ", " << p.second << ")";
}

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// Output vectors begin with their unused entry 0.
std::vector<SearchPair> Pairs(std::initializer_list<SearchPair> pairs) {
    std::vector<SearchPair> v{SearchPair{}};
    v.insert(v.end(), pairs);
    return v;
}

class GroupSearch : public SearchFixture {
protected:
    int Homogeneous(std::vector<int> ids, int pairLimit = 1000) {
        ids.insert(ids.begin(), 0);
        group = ids;
        return PairGroupHomogeneous(search, static_cast<int>(ids.size()) - 1, pairLimit, ids, pairs, leftovers,
                                    partial, SearchRound);
    }

    PairingSearch search;
    std::vector<int> group;
    std::vector<SearchPair> pairs, partial;
    std::vector<int> leftovers;
};

// Ids differ from positions throughout, so that a mix-up of the two shows.
TEST_F(GroupSearch, FullyCompatibleGroupsPairUpperHalfAgainstLowerHalf) {
    EXPECT_EQ(Homogeneous({17, 4, 9, 12}), 2);
    EXPECT_THAT(pairs, ElementsAreArray(Pairs({{17, 9}, {4, 12}})));
    EXPECT_THAT(leftovers, ElementsAre(0));
    EXPECT_THAT(partial, ElementsAreArray(Pairs({})));
    EXPECT_EQ(search.leftoverCount, 0);

    // Odd group: the last player is never paired, not counted, but listed.
    EXPECT_EQ(Homogeneous({17, 4, 9, 12, 30}), 2);
    EXPECT_THAT(pairs, ElementsAreArray(Pairs({{17, 9}, {4, 12}})));
    EXPECT_THAT(leftovers, ElementsAre(0, 30));

    EXPECT_EQ(Homogeneous({5, 6, 7, 8, 1, 2, 3, 4}), 4);
    EXPECT_THAT(pairs, ElementsAreArray(Pairs({{5, 1}, {6, 2}, {7, 3}, {8, 4}})));
}

TEST_F(GroupSearch, ForbiddenPairsMovePartnersAlongTheCandidateOrder) {
    Forbid(17, 9);
    EXPECT_EQ(Homogeneous({17, 4, 9, 12}), 2);
    EXPECT_THAT(pairs, ElementsAreArray(Pairs({{17, 12}, {4, 9}})));

    // An upper-half player whose lower half is taken tries the upper half
    // from its bottom: 1 cannot meet 4, 5, 6, so 1-3 and then 2-4 ...
    SetUp();
    Forbid(21, 24);
    Forbid(21, 25);
    Forbid(21, 26);
    EXPECT_EQ(Homogeneous({21, 22, 23, 24, 25, 26}), 3);
    EXPECT_THAT(pairs, ElementsAreArray(Pairs({{21, 23}, {22, 24}, {25, 26}})));
}

TEST_F(GroupSearch, PlayerWhoMayMeetNobodyIsPassedOverAndLeftOver) {
    Forbid(17, 4);
    Forbid(17, 9);
    Forbid(17, 12);
    EXPECT_EQ(Homogeneous({17, 4, 9, 12}), 1);
    EXPECT_THAT(pairs, ElementsAreArray(Pairs({})));
    EXPECT_THAT(partial, ElementsAreArray(Pairs({{4, 9}})));
    EXPECT_THAT(leftovers, ElementsAre(2, 17, 12));
    EXPECT_EQ(search.leftoverCount, 2);
    EXPECT_EQ(search.limitReached, 0);
}

TEST_F(GroupSearch, PairLimitStopsTheSearchEarly) {
    EXPECT_EQ(Homogeneous({11, 12, 13, 14, 15, 16}, 1), 1);
    EXPECT_THAT(partial, ElementsAreArray(Pairs({{11, 14}})));
    EXPECT_THAT(leftovers, ElementsAre(4, 12, 13, 15, 16));

    EXPECT_EQ(Homogeneous({11, 12, 13, 14, 15, 16}, 0), 0);
    EXPECT_THAT(leftovers, ElementsAre(6, 11, 12, 13, 14, 15, 16));
    EXPECT_EQ(Homogeneous({11, 12, 13, 14, 15, 16}, -3), 0);
}

TEST_F(GroupSearch, SmallAndDegenerateGroups) {
    EXPECT_EQ(Homogeneous({}), 0);
    EXPECT_THAT(leftovers, ElementsAre(0));
    EXPECT_EQ(Homogeneous({7}), 0);
    EXPECT_THAT(leftovers, ElementsAre(0, 7));
    EXPECT_EQ(Homogeneous({7, 8}), 1);
    EXPECT_THAT(pairs, ElementsAreArray(Pairs({{7, 8}})));

    // A count beyond the players given is cut to them.
    std::vector<int> ids{0, 7, 8};
    EXPECT_EQ(PairGroupHomogeneous(search, 50, 50, ids, pairs, leftovers, partial, SearchRound), 1);
    EXPECT_EQ(search.playerCount, 2);
}

// Different paths that give the same sum of first x second position must not
// be taken for each other: here the only complete pairing would be skipped.
TEST_F(GroupSearch, PathsWithEqualPositionProductsAreNotConfused) {
    const int ids[] = {0, 31, 32, 33, 34, 35, 36};
    const std::set<std::pair<int, int>> allowed{{1, 2}, {1, 4}, {1, 6}, {2, 5}, {2, 6}, {3, 4}, {4, 5}, {4, 6}};
    for (int p = 1; p <= 6; ++p)
        for (int q = p + 1; q <= 6; ++q)
            if (!allowed.count({p, q})) Forbid(ids[p], ids[q]);
    EXPECT_EQ(Homogeneous({31, 32, 33, 34, 35, 36}), 3);
    EXPECT_THAT(pairs, ElementsAreArray(Pairs({{31, 36}, {32, 35}, {33, 34}})));
}

TEST_F(GroupSearch, BacktrackLimitGivesUpWithTheBestPartialPairing) {
    // 22 who must have White, 18 who must have Black, mixed: no complete
    // pairing and far too many ways to try.
    std::vector<int> ids;
    for (int id = 1; id <= 40; ++id) {
        MustHave(id, id % 2 == 1 || id > 36 ? 1 : 0);
        ids.push_back(id);
    }
    std::ostringstream trace;
    PairingTrace = &trace;
    VerboseOption = 1;
    ResetPairingStats();
    const int result = Homogeneous(ids);
    PairingTrace = nullptr;

    EXPECT_EQ(result, -18);
    EXPECT_EQ(PairingStats.searches, 1);
    EXPECT_EQ(PairingStats.backtracks, SearchBacktrackLimit);
    EXPECT_EQ(PairingStats.limitHits, 1);
    EXPECT_EQ(search.limitReached, 1);
    EXPECT_EQ(search.backtracks, SearchBacktrackLimit);
    EXPECT_EQ(trace.str(), "  LIMIT REACHED... going out...\n");
    ASSERT_EQ(partial.size(), 19u);
    for (std::size_t i = 1; i < partial.size(); ++i)
        EXPECT_TRUE(CanPlayersMeet(partial[i].first, partial[i].second, SearchRound));
    EXPECT_EQ(leftovers[0], 4);
    EXPECT_EQ(leftovers.size(), 5u);
    EXPECT_TRUE(std::is_sorted(leftovers.begin() + 1, leftovers.end()));

    // The same record searched again starts afresh; no trace without the
    // verbose option.
    VerboseOption = 0;
    PairingTrace = &trace;
    EXPECT_EQ(Homogeneous({41, 42, 43, 44}), 2);
    PairingTrace = nullptr;
    EXPECT_EQ(search.limitReached, 0);
    EXPECT_EQ(search.leftoverCount, 0);
    EXPECT_EQ(search.backtracks, 0);
    EXPECT_EQ(PairingStats.searches, 2); // counted across searches, limit hits only once
    EXPECT_EQ(PairingStats.limitHits, 1);

    VerboseOption = 1;
    PairingTrace = nullptr;
    EXPECT_EQ(Homogeneous(ids), -18); // no stream open: nothing written, no crash
}

TEST_F(GroupSearch, HeterogeneousSearchPairsEveryRequiredPlayerOrNone) {
    // Two required players, two placeholders, four possible opponents.
    std::vector<int> ids{0, 41, 42, 0, 0, 11, 12, 13, 14};
    EXPECT_EQ(PairGroupHeterogeneous(search, 8, 2, ids, pairs, SearchRound), 2);
    EXPECT_THAT(pairs, ElementsAreArray(Pairs({{41, 11}, {42, 12}})));

    Forbid(41, 11);
    Forbid(42, 11);
    Forbid(42, 12);
    EXPECT_EQ(PairGroupHeterogeneous(search, 8, 2, ids, pairs, SearchRound), 2);
    EXPECT_THAT(pairs, ElementsAreArray(Pairs({{41, 12}, {42, 13}})));

    // Two opponents only one of the required players may meet.
    std::vector<int> tight{0, 41, 42, 11, 12};
    EXPECT_EQ(PairGroupHeterogeneous(search, 4, 2, tight, pairs, SearchRound), 0);
    EXPECT_THAT(pairs, ElementsAreArray(Pairs({})));
    EXPECT_EQ(search.leftoverCount, 1);

    // A required count outside the upper half pairs nothing.
    EXPECT_EQ(PairGroupHeterogeneous(search, 8, 5, ids, pairs, SearchRound), 0);
    EXPECT_EQ(PairGroupHeterogeneous(search, 8, 0, ids, pairs, SearchRound), 0);
    EXPECT_EQ(PairGroupHeterogeneous(search, 8, -1, ids, pairs, SearchRound), 0);

    // Set up by hand with too many required players: cut to the upper half.
    search.players = {0, 43, 44, 13, 14};
    search.playerCount = 4;
    search.requiredCount = 9;
    search.pairLimit = 9;
    search.round = SearchRound;
    EXPECT_EQ(SearchGroupPairing(search), 2);
    EXPECT_EQ(search.resultPath.size(), 3u);
}

TEST_F(GroupSearch, DisposedRecordHoldsNothing) {
    Homogeneous({1, 2, 3});
    DisposePairingSearch(search);
    EXPECT_EQ(search.playerCount, 0);
    EXPECT_EQ(search.pairsFound, 0);
    EXPECT_EQ(search.leftoverCount, 0);
    EXPECT_EQ(search.limitReached, 0);
    EXPECT_TRUE(search.players.empty());
    // A disposed record can be searched with again.
    EXPECT_EQ(Homogeneous({1, 2, 3, 4}), 2);
}

// A random tournament state: colour dues and preferences, earlier meetings,
// the BYE and the empty slot in some groups, the strict colour mode and the
// empty-slot rules of the Burstein system now and then.
class RandomGroups : public GroupSearch {
protected:
    std::vector<int> RandomGroup(std::mt19937& rng, int n) {
        SetUp();
        Settings.PairingSystem = rng() % 4 == 0 ? FideBursteinSystem : FideDubovSystem;
        StrictColorMode = rng() % 6 == 0 ? 1 : 0;
        std::vector<int> pool;
        for (int id = 1; id <= 40; ++id) pool.push_back(id);
        std::shuffle(pool.begin(), pool.end(), rng);
        std::vector<int> ids(pool.begin(), pool.begin() + n);
        if (n > 0 && rng() % 5 == 0) ids[rng() % n] = 0;
        if (n > 1 && rng() % 5 == 0) ids[rng() % n] = EmptySlot;
        const int flexiblePercent = static_cast<int>(rng() % 101);
        const int forbiddenPercent = static_cast<int>(rng() % 60);
        for (int id : ids) {
            if (id <= 0) continue;
            PairingStates[id].dueColor = static_cast<int>(rng() % 3) - 1;
            PairingStates[id].colorFlexible = static_cast<int>(rng() % 100) < flexiblePercent ? 1 : 0;
            PairingStates[id].byeEligibility = static_cast<int>(rng() % 3);
            PairingStates[id].mayFloatUp = static_cast<int>(rng() % 2);
            PairingStates[id].triedMark = static_cast<int>(rng() % 4 == 0);
        }
        for (int i = 0; i < n; ++i)
            for (int j = i + 1; j < n; ++j)
                if (ids[i] > 0 && ids[j] > 0 && static_cast<int>(rng() % 100) < forbiddenPercent)
                    Forbid(ids[i], ids[j]);
        ids.insert(ids.begin(), 0);
        return ids;
    }
};

TEST_F(RandomGroups, SearchPairsCompletelyExactlyWhenBruteForceCan) {
    std::mt19937 rng(20261208);
    int complete = 0, incomplete = 0;
    for (int trial = 0; trial < 1500; ++trial) {
        const int n = static_cast<int>(rng() % 15);
        const std::vector<int> ids = RandomGroup(rng, n);
        const int h = n / 2;
        const int result = PairGroupHomogeneous(search, n, h, ids, pairs, leftovers, partial, SearchRound);
        SCOPED_TRACE("trial " + std::to_string(trial) + ", n " + std::to_string(n));

        ASSERT_GE(result, 0) << "no group of 14 may need the backtrack limit";
        const bool possible = HasCompletePairing(ids, n, SearchRound);
        ASSERT_EQ(result == h, possible);
        (possible ? complete : incomplete)++;

        const std::vector<SearchPair>& found = result == h ? pairs : partial;
        ASSERT_EQ(static_cast<int>(found.size()), result + 1);
        std::multiset<int> seen;
        for (int i = 1; i <= result; ++i) {
            EXPECT_TRUE(CanPlayersMeet(found[i].first, found[i].second, SearchRound));
            seen.insert(found[i].first);
            seen.insert(found[i].second);
        }
        ASSERT_EQ(leftovers[0], 2 * (h - result));
        ASSERT_EQ(static_cast<int>(leftovers.size()), 1 + leftovers[0] + n % 2);
        seen.insert(leftovers.begin() + 1, leftovers.end());
        EXPECT_EQ(seen, std::multiset<int>(ids.begin() + 1, ids.end())) << "paired and leftovers are the group";

        // Leftovers come in position order.
        std::vector<int> positions;
        for (std::size_t i = 1; i < leftovers.size(); ++i)
            positions.push_back(static_cast<int>(std::find(ids.begin() + 1, ids.end(), leftovers[i]) - ids.begin()));
        EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    }
    // The random states cover both outcomes well.
    EXPECT_GT(complete, 300);
    EXPECT_GT(incomplete, 200);
}

TEST_F(RandomGroups, HeterogeneousSearchFindsOpponentsExactlyWhenTheyExist) {
    std::mt19937 rng(7);
    int found = 0, failed = 0;
    for (int trial = 0; trial < 800; ++trial) {
        const int h = 1 + static_cast<int>(rng() % 7);
        const int k = 1 + static_cast<int>(rng() % h);
        std::vector<int> ids = RandomGroup(rng, 2 * h);
        for (int p = k + 1; p <= h; ++p) ids[p] = 0; // placeholders
        SCOPED_TRACE("trial " + std::to_string(trial));

        // Brute force: every required player gets a different opponent.
        std::vector<int> used(2 * h + 1, 0);
        auto assign = [&](auto&& self, int p) -> bool {
            if (p > k) return true;
            for (int q = h + 1; q <= 2 * h; ++q)
                if (!used[q] && CanPlayersMeet(ids[p], ids[q], SearchRound)) {
                    used[q] = 1;
                    if (self(self, p + 1)) return true;
                    used[q] = 0;
                }
            return false;
        };
        const bool possible = assign(assign, 1);

        const int result = PairGroupHeterogeneous(search, 2 * h, k, ids, pairs, SearchRound);
        ASSERT_EQ(result, possible ? k : 0);
        (possible ? found : failed)++;
        if (!possible) continue;
        std::set<int> opponents;
        for (int i = 1; i <= k; ++i) {
            EXPECT_EQ(pairs[i].first, ids[i]);
            EXPECT_TRUE(CanPlayersMeet(pairs[i].first, pairs[i].second, SearchRound));
            const auto at = std::find(ids.begin() + h + 1, ids.end(), pairs[i].second);
            EXPECT_NE(at, ids.end()) << "opponents come from the lower half";
            opponents.insert(static_cast<int>(at - ids.begin()));
        }
        EXPECT_EQ(static_cast<int>(opponents.size()), k);
    }
    EXPECT_GT(found, 150);
    EXPECT_GT(failed, 100);
}

TEST_F(RandomGroups, MeetingMatrixAnswersAsTheTournamentRulesDo) {
    std::mt19937 rng(99);
    for (int trial = 0; trial < 300; ++trial) {
        const int n = 2 + static_cast<int>(rng() % 13);
        std::vector<int> ids = RandomGroup(rng, n);
        if (rng() % 3 == 0) ids[1 + rng() % n] = ids[1 + rng() % n]; // a player twice
        const int round = 1 + static_cast<int>(rng() % SearchRound);
        MeetingMatrix matrix;
        matrix.build(ids, n, round);
        for (int a = 1; a <= n; ++a)
            for (int b = 1; b <= n; ++b)
                ASSERT_EQ(matrix.mayMeet(a, b), CanPlayersMeet(ids[a], ids[b], round) == 1)
                    << "trial " << trial << ": " << ids[a] << " v " << ids[b] << " in round " << round;
    }
}

} // namespace
