// Score groups of the FIDE Dubov engine built by hand, paired group by group
// from the top as the round driver does, each round checked afterwards.
#include "pairing/dubov_group.h"
#include "pairing/group_moves.h"
#include "pairing/round_check.h"
#include "pairing/score_groups.h"
#include "pairing/trace.h"
#include "support/tournament_state.h"
#include "tournament/pairing_predicates.h"
#include "tournament/player_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int Round = 3;

class DubovGroupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetTournamentState();
        ClearScoreGroups(Round);
        Settings.PairingSystem = FideDubovSystem;
        CurrentRound = Round;
        VerboseOption = 1;
        PairingTrace = &trace_;
    }
    void TearDown() override {
        PairingTrace = nullptr;
        ClearScoreGroups(Round);
        ResetTournamentState();
    }

    // A new player in group g, due White (color 1) or Black (0), the wish a
    // preference when flexible; the pairing key orders the colour lists.
    int Add(int g, int color, int flexible = 1, float pairingKey = 0.0f) {
        const int id = AddTestPlayer("P" + std::to_string(PlayerCount + 1), 2000 - PlayerCount);
        Players[id].pairingKey = pairingKey == 0.0f ? static_cast<float>(1000 + id) : pairingKey;
        PairingState& s = PairingStates[id];
        s.dueColor = s.workingColor = color;
        s.colorFlexible = flexible;
        s.initialGroup = s.currentGroup = g;
        s.byeEligibility = 1;
        s.mayFloatUp = 1;
        groups_ = std::max(groups_, g);
        return id;
    }
    // Files everybody added in his group's colour list.
    void File() {
        for (int id = 1; id <= PlayerCount; ++id) {
            ScoreGroup& group = ScoreGroupAt(PairingStates[id].initialGroup);
            if (PairingStates[id].dueColor == 1)
                PlayerListInsert(group.whiteDue, id, 1);
            else
                PlayerListInsert(group.blackDue, id, 0);
        }
    }
    static void Met(int a, int b, int round) {
        OpponentTable(a, round) = b;
        OpponentTable(b, round) = a;
    }

    // Pairs groups 1..groups_ in turn; false at the first group that fails.
    bool PairAll() {
        pairs_.clear();
        for (int g = 1; g <= groups_; ++g) {
            if (ScoreGroupSize(g) == 0) continue;
            std::vector<SearchPair> out;
            int count = -1;
            if (PairScoreGroup(g, Round, groups_, out, count) == 0) return false;
            EXPECT_EQ(count + 1, static_cast<int>(out.size()));
            pairs_.insert(pairs_.end(), out.begin() + 1, out.end());
        }
        return true;
    }
    // Writes the pairs as the round's boards, a firm colour honoured, and
    // runs the round check.
    void ExpectRoundChecks() {
        int board = 0;
        for (const SearchPair& p : pairs_) {
            int white = p.first;
            int black = p.second;
            const PairingState& sw = StateRecord(white);
            const PairingState& sb = StateRecord(black);
            if ((sw.colorFlexible == 0 && sw.dueColor == 0) || (sb.colorFlexible == 0 && sb.dueColor == 1))
                std::swap(white, black);
            SetTestBoard(Round, ++board, white, black, NotPlayed);
        }
        const RoundCheck check = CheckPairedRound(Round, PlayerCount);
        EXPECT_TRUE(check.ok) << check.problem << "\n" << trace_.str();
        for (int id = 1; id <= PlayerCount; ++id)
            EXPECT_EQ(StateRecord(id).triedMark, 0) << "player " << id;
    }
    bool Traced(const std::string& text) const { return trace_.str().find(text) != std::string::npos; }

    std::ostringstream trace_;
    std::vector<SearchPair> pairs_;
    int groups_ = 0;
};

std::vector<int> Ids(const PlayerList& list) {
    std::vector<int> ids;
    for (const IdNode* node = list.head; node != nullptr; node = node->next)
        ids.push_back(node->id);
    return ids;
}

TEST_F(DubovGroupTest, BalancedGroupGoesStraightToTheSearchWhiteAgainstBlack) {
    const int w1 = Add(1, 1);
    const int w2 = Add(1, 1);
    Add(1, 0);
    Add(1, 0);
    File();
    const std::vector<int> black = Ids(ScoreGroupAt(1).blackDue);
    ASSERT_TRUE(PairAll());
    EXPECT_EQ(pairs_, (std::vector<SearchPair>{{w1, black[0]}, {w2, black[1]}}));
    EXPECT_EQ(trace_.str(), "\n================================\n Pairing group 1\n================================\n"
                            "\n[Standard case] 2 White e 2 Black\n"
                            "  " + std::to_string(w1) + "\t - " + std::to_string(black[0]) + "\n"
                            "  " + std::to_string(w2) + "\t - " + std::to_string(black[1]) + "\n");
    ExpectRoundChecks();
}

TEST_F(DubovGroupTest, OddGroupTakesAnUpfloaterIntoTheListOfHisColour) {
    for (int i = 0; i < 3; ++i) Add(1, 1);
    Add(1, 0);
    Add(1, 0);
    Add(2, 1);
    Add(2, 0);
    Add(2, 0);
    File();
    ASSERT_TRUE(PairAll());
    EXPECT_TRUE(Traced("[Ch 7.2] Group odd! 3 White e 2 Black\n"));
    EXPECT_TRUE(Traced("    ... better upfloater:"));
    EXPECT_TRUE(Traced("] to [1 B]\n")) << trace_.str();
    EXPECT_EQ(pairs_.size(), 4u);
    ExpectRoundChecks();
}

TEST_F(DubovGroupTest, WhiteSurplusMovesThePlayerWithoutAFirmWish) {
    const int firm1 = Add(1, 1, 0, 1500.0f);
    const int loose = Add(1, 1, 1, 1900.0f);
    const int firm2 = Add(1, 1, 0, 1400.0f);
    Add(1, 0, 0);
    File();
    BalanceColorLists(1, 3, 1);
    EXPECT_EQ(trace_.str(), "    > moving player " + std::to_string(loose) + " from [1 W] to [1 B]\n");
    EXPECT_EQ(StateRecord(loose).workingColor, 0);
    EXPECT_EQ(Ids(ScoreGroupAt(1).whiteDue).size(), 2u);

    // Among firm wishes only, the lowest pairing key goes.
    PairingStates[loose].colorFlexible = 0;
    MovePlayerBetweenColorLists(loose, 1, 0, 1, 1);
    trace_.str("");
    BalanceColorLists(1, 3, 1);
    EXPECT_EQ(trace_.str(), "    > moving player " + std::to_string(firm2) + " from [1 W] to [1 B]\n");
    (void)firm1;
}

TEST_F(DubovGroupTest, BlackSurplusMovesTheHighestPairingKeyAndTiesGoToTheSmallerSeed) {
    Add(1, 1);
    const int high = Add(1, 0, 1, 1800.0f);
    const int tieHighSeed = Add(1, 0, 1, 1900.0f);
    const int tieLowSeed = Add(1, 0, 1, 1900.0f);
    Players[tieHighSeed].seedingKey = 2100;
    Players[tieLowSeed].seedingKey = 1700;
    File();
    BalanceColorLists(1, 1, 3);
    EXPECT_EQ(trace_.str(), "    > moving player " + std::to_string(tieLowSeed) + " from [1 B] to [1 W]\n");
    (void)high;
}

TEST_F(DubovGroupTest, UnbalancedGroupIsBalancedBeforeTheSearch) {
    Add(1, 1, 0);
    Add(1, 1, 0);
    const int loose = Add(1, 1, 1);
    Add(1, 0, 0);
    File();
    ASSERT_TRUE(PairAll());
    EXPECT_TRUE(Traced("\n[Ch 7.3 7.4] Colors not equal 3 White e 1 Black\n    > moving player " +
                       std::to_string(loose) + " from [1 W] to [1 B]\n\n[Standard case] 2 White e 2 Black\n"))
        << trace_.str();
    ExpectRoundChecks();
}

TEST_F(DubovGroupTest, PlayersWhoMetFormIslandsAndGetOpponentsFromBelow) {
    const int a = Add(1, 1);
    const int b = Add(1, 0);
    for (int i = 0; i < 4; ++i) Add(2, i % 2);
    Met(a, b, 1);
    File();
    ASSERT_TRUE(PairAll());
    EXPECT_TRUE(Traced("[Ch 7.1] found 2 ISLAND(s):  " + std::to_string(b) + ",  " + std::to_string(a) + ", \n"))
        << trace_.str();
    ASSERT_EQ(pairs_.size(), 3u);
    EXPECT_EQ(pairs_[0].first, a); // interleaved: the white-due island first
    EXPECT_EQ(pairs_[1].first, b);
    EXPECT_EQ(StateRecord(pairs_[0].second).currentGroup, 1);
    ExpectRoundChecks();
}

TEST_F(DubovGroupTest, IslandsAreNotLookedForInAGroupLargerThanTheRound) {
    const int a = Add(1, 1);
    const int b = Add(1, 0);
    Add(1, 1);
    Add(1, 0);
    Met(a, b, 1);
    File();
    std::vector<int> islands;
    EXPECT_EQ(FindIslands(1, islands, Round), 0); // four players, round 3
    EXPECT_EQ(FindIslands(1, islands, 4), 0);     // nobody is without opponent
}

TEST_F(DubovGroupTest, TwoFloatersAreWeighedTogetherAndPairedFirst) {
    const int f1 = Add(1, 1);
    const int f2 = Add(1, 0);
    for (int i = 0; i < 4; ++i) Add(2, i % 2);
    File();
    // Both came down from group 1.
    for (int f : {f1, f2}) {
        MoveToFloaterGroup(f, 1, 2);
    }
    groups_ = 2;
    trace_.str("");
    ASSERT_TRUE(PairAll());
    EXPECT_TRUE(Traced("[Ch 8] FLOATERS: 2\n")) << trace_.str();
    EXPECT_TRUE(Traced("    ... better opponents "));
    ASSERT_EQ(pairs_.size(), 3u);
    EXPECT_EQ(pairs_[0].first, f1);
    EXPECT_EQ(pairs_[1].first, f2);
    ExpectRoundChecks();
}

TEST_F(DubovGroupTest, FloaterWithoutAnyOpponentFailsTheGroupAndStaysQueued) {
    const int f1 = Add(1, 1, 0);
    const int f2 = Add(1, 1, 0);
    Add(2, 1, 0);
    Add(2, 0, 0);
    File();
    MoveToFloaterGroup(f1, 1, 2);
    MoveToFloaterGroup(f2, 1, 2);
    groups_ = 2;
    std::vector<SearchPair> out;
    int count = 0;
    // Two firm White floaters, one firm Black player to meet them.
    EXPECT_EQ(PairScoreGroup(2, Round, 2, out, count), 0);
    EXPECT_EQ(IntQueueCount(ScoreGroupAt(2).downfloaters), 2);
    EXPECT_EQ(PlayersInGroupsFrom(1, 2), 4);
    for (int id = 1; id <= PlayerCount; ++id)
        EXPECT_EQ(StateRecord(id).triedMark, 0) << "player " << id;
}

TEST_F(DubovGroupTest, ColourWishesLimitThePairsAndTheRestFloatsDown) {
    for (int i = 0; i < 3; ++i) Add(1, 1, 0);
    Add(1, 0, 0);
    Add(2, 0, 0);
    Add(2, 0, 0);
    File();
    ASSERT_TRUE(PairAll());
    EXPECT_TRUE(Traced("\n[Ch 6.4] remained 2 floaters: ")) << trace_.str();
    EXPECT_TRUE(Traced("[Ch 8] FLOATERS: 2\n"));
    EXPECT_EQ(pairs_.size(), 3u);
    ExpectRoundChecks();
}

TEST_F(DubovGroupTest, LeftoversOfTheLastGroupFailIt) {
    const int a = Add(1, 1);
    const int b = Add(1, 0);
    Met(a, b, 1);
    File();
    std::vector<SearchPair> out;
    int count = 0;
    EXPECT_EQ(PairScoreGroup(1, Round, 1, out, count), 0);
    EXPECT_EQ(PlayersInGroupsFrom(1, 1), 2);
    EXPECT_EQ(StateRecord(a).currentGroup, 1);
}

TEST_F(DubovGroupTest, OddLastGroupDoesNotLoseItsLastPlayer) {
    Add(1, 1);
    Add(1, 0);
    Add(1, 1);
    File();
    std::vector<SearchPair> out;
    int count = 0;
    EXPECT_EQ(PairScoreGroup(1, Round, 1, out, count), 0);
    EXPECT_EQ(PlayersInGroupsFrom(1, 1), 3);
}

TEST_F(DubovGroupTest, InterleavingTakesAnyNumberOfEachColour) {
    std::vector<int> src(1, 0);
    for (int i = 0; i < 30; ++i) src.push_back(Add(1, 1));
    for (int i = 0; i < 5; ++i) src.push_back(Add(1, 0));
    std::vector<int> dst;
    InterleaveByColor(src, dst, 35);
    ASSERT_EQ(dst.size(), 36u);
    for (int i = 1; i <= 10; ++i)
        EXPECT_EQ(StateRecord(dst[i]).dueColor, i % 2 == 1 ? 1 : 0) << i;
    for (int i = 11; i <= 35; ++i)
        EXPECT_EQ(StateRecord(dst[i]).dueColor, 1) << i;
    std::vector<int> sorted(dst.begin() + 1, dst.end());
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, std::vector<int>(src.begin() + 1, src.end()));

    std::vector<int> joined;
    ConcatIdArrays(2, {0, 7, 8}, 1, {0, 9}, joined);
    EXPECT_EQ(joined, (std::vector<int>{0, 7, 8, 9}));
}

TEST_F(DubovGroupTest, OpponentsBelowAreReservedUntilReleased) {
    const int x = Add(1, 1, 0);
    const int y = Add(1, 1, 0);
    const int only = Add(2, 0, 0);
    Add(2, 1, 0);
    File();
    EXPECT_EQ(FindOpponentBelow(x, 2, Round, 2), only);
    EXPECT_EQ(StateRecord(only).triedMark, 1);
    EXPECT_EQ(FindOpponentBelow(y, 2, Round, 2), -1);
    PairingStates[only].triedMark = 0;
    std::vector<int> opponents;
    EXPECT_EQ(FindOpponentsBelow({0, x, y}, 2, opponents, 2, Round, 2), 0);
    EXPECT_EQ(opponents[0], 1);
    EXPECT_EQ(opponents[1], only);
    PairingStates[only].triedMark = 0;
}

TEST_F(DubovGroupTest, UpfloaterWhoLeavesBothGroupsPairedIsTakenAtOnce) {
    Add(1, 1);
    Add(1, 1);
    Add(1, 0);
    const int b4 = Add(2, 0);
    Add(2, 1);
    Add(2, 0);
    File();
    groups_ = 2;
    ASSERT_EQ(FindUpfloater(1, Round, 2), 1);
    // White surplus: black-due candidates first, the highest rated of them.
    EXPECT_EQ(trace_.str(), "    ... better upfloater:" + std::to_string(b4) + " (U=-2, D=-1)\n"
                            "    > moving player " + std::to_string(b4) + " from [2 B] to [1 B]\n");
    EXPECT_EQ(StateRecord(b4).currentGroup, 1);
    EXPECT_EQ(PlayersInGroupsFrom(1, 1), 4);
    EXPECT_EQ(PlayersInGroupsFrom(2, 2), 2);
}

TEST_F(DubovGroupTest, SingleIslandGetsTheOpponentWhoLeavesHisGroupPaired) {
    const int w1 = Add(1, 1);
    const int b2 = Add(1, 0);
    const int w3 = Add(1, 1);
    const int b4 = Add(2, 0);
    const int w5 = Add(2, 1);
    const int b6 = Add(2, 0);
    Met(w1, b2, 1);
    Met(w1, w3, 2);
    File();
    ASSERT_TRUE(PairAll());
    const std::string s1 = std::to_string(w1);
    const std::string s4 = std::to_string(b4);
    EXPECT_TRUE(Traced("[Ch 7.1] found 1 ISLAND(s):  " + s1 + ", \n"
                       "    ... " + s4 + " better opponent: (D=-1)\n"
                       "    > moving player " + s1 + " from [1 W] to floater group 1\n"
                       "    > moving player " + s4 + " from [2 B] to opponent group 1\n"))
        << trace_.str();
    EXPECT_EQ(pairs_, (std::vector<SearchPair>{{w1, b4}, {w3, b2}, {w5, b6}}));
    ExpectRoundChecks();
}

TEST_F(DubovGroupTest, TwoOpponentsAreChosenSoThatTheirGroupStillPairs) {
    const int x1 = Add(1, 1);
    const int x2 = Add(1, 0);
    const int b4 = Add(2, 0);
    Add(2, 1);
    const int b6 = Add(2, 0);
    const int w7 = Add(2, 1);
    Met(b6, w7, 1);
    File();
    std::vector<int> opponents;
    // Taking 4 and 5 would leave 6 and 7, who met already.
    ASSERT_EQ(FindBetterOpponents(x1, x2, opponents, 2, Round), 1);
    EXPECT_EQ(opponents[1], b4);
    EXPECT_EQ(opponents[2], w7);
    EXPECT_EQ(trace_.str(), "    ... better opponents " + std::to_string(b4) + ", " + std::to_string(w7) + ": (D=-1)\n");
    // The first group at or below that holds a player is the one used.
    EXPECT_EQ(FindBetterOpponents(x1, x2, opponents, 3, Round), 0);
}

TEST_F(DubovGroupTest, MoveFindsAPlayerWhoseWorkingColourIsStale) {
    const int b = Add(1, 0);
    Add(1, 1);
    File();
    PairingStates[b].workingColor = 1;
    MoveToFloaterGroup(b, 1, 2);
    EXPECT_EQ(trace_.str(), "    > moving player " + std::to_string(b) + " from [1 B] to floater group 2\n");
    EXPECT_EQ(PlayerListCount(ScoreGroupAt(1).blackDue), 0);
    EXPECT_EQ(PlayerListCount(ScoreGroupAt(1).whiteDue), 1);
    EXPECT_EQ(IntQueuePop(ScoreGroupAt(2).downfloaters), b);
    EXPECT_EQ(StateRecord(b).workingColor, 0);
    EXPECT_EQ(StateRecord(b).currentGroup, 2);
}

// Random groups, colours and earlier meetings, paired from the top without
// merging: a paired round always passes the check; a failed group leaves
// every player in some list or queue; no reservation survives either way.
TEST_F(DubovGroupTest, RandomGroupsPairSoundlyOrFailWithoutLosingPlayers) {
    int paired = 0;
    for (int system : {FideDubovSystem, SwissQuonSystem}) {
        for (unsigned seed = 1; seed <= 150; ++seed) {
            TearDown();
            SetUp();
            Settings.PairingSystem = system;
            groups_ = 0;
            std::mt19937 random(seed);
            const int n = 2 * static_cast<int>(2 + random() % 8);
            for (int i = 0; i < n; ++i)
                Add(1 + static_cast<int>(random() % 4), static_cast<int>(random() % 2), random() % 10 < 7 ? 1 : 0);
            for (int r = 1; r < Round; ++r) {
                std::vector<int> order;
                for (int id = 1; id <= n; ++id) order.push_back(id);
                std::shuffle(order.begin(), order.end(), random);
                for (int i = 0; i + 1 < n; i += 2) Met(order[i], order[i + 1], r);
            }
            // The groups as made: numbered without gaps.
            std::vector<int> renumber(5, 0);
            int used = 0;
            for (int g = 1; g <= 4; ++g)
                for (int id = 1; id <= n; ++id)
                    if (PairingStates[id].initialGroup == g && renumber[g] == 0) renumber[g] = ++used;
            for (int id = 1; id <= n; ++id)
                PairingStates[id].initialGroup = PairingStates[id].currentGroup = renumber[PairingStates[id].initialGroup];
            groups_ = used;
            File();
            SCOPED_TRACE("system " + std::to_string(system) + " seed " + std::to_string(seed));
            if (PairAll()) {
                ++paired;
                ExpectRoundChecks();
            } else {
                EXPECT_EQ(PlayersInGroupsFrom(1, groups_), n) << trace_.str();
                for (int id = 1; id <= PlayerCount; ++id) EXPECT_EQ(StateRecord(id).triedMark, 0);
            }
        }
    }
    EXPECT_GT(paired, 100);
}

} // namespace
