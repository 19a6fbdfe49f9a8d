#include "tournament/player_list.h"

#include "support/recording_message_box.h"
#include "support/tournament_state.h"

#include <gtest/gtest.h>

#include <new>
#include <vector>

// The lists take their nodes with the non-throwing new; a test makes it
// refuse, as it does when memory runs out.
static bool refuseNodes = false;
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (refuseNodes) return nullptr;
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

namespace {

std::vector<int> Ids(const IdListHeader& list) {
    std::vector<int> ids;
    for (const IdNode* node = list.head; node != nullptr; node = node->next)
        ids.push_back(node->id);
    return ids;
}

TEST(IntQueue, IsFirstInFirstOut) {
    IntQueue queue;
    IntQueuePush(queue, 5);
    IntQueuePush(queue, 9);
    IntQueuePush(queue, 2);
    EXPECT_EQ(IntQueueCount(queue), 3);
    int array[5] = {-1, 0, 0, 0, -1};
    IntQueueToArray(queue, array);
    EXPECT_EQ(array[0], -1);
    EXPECT_EQ(array[1], 5);
    EXPECT_EQ(array[3], 2);
    EXPECT_EQ(array[4], -1);
    EXPECT_EQ(IntQueuePop(queue), 5);
    EXPECT_EQ(IntQueuePop(queue), 9);
    EXPECT_EQ(IntQueuePop(queue), 2);
    EXPECT_EQ(IntQueuePop(queue), 0);
    EXPECT_EQ(queue.head, nullptr);
    EXPECT_EQ(queue.tail, nullptr);
    IntQueuePush(queue, 7); // a queue emptied by popping takes new ids
    EXPECT_EQ(Ids(queue), std::vector<int>{7});
    IntQueueClear(queue);
    EXPECT_EQ(IntQueueCount(queue), 0);
}

TEST(IntQueueDeathTest, OutOfMemoryEndsTheProgramLikeTheOrderedList) {
    PlayerList list;
    IntQueue queue;
    // No message box is installed: the alert goes to the standard error.
    EXPECT_EXIT((refuseNodes = true, IntQueuePush(queue, 5)), ::testing::ExitedWithCode(1), "Out of memory!");
    EXPECT_EXIT((refuseNodes = true, PlayerListInsert(list, 5, 1)), ::testing::ExitedWithCode(1),
                "Out of memory!");
}

TEST(IntQueue, CopiesOutNoMoreThanTheArrayHolds) {
    IntQueue queue;
    for (int id = 1; id <= 10; ++id)
        IntQueuePush(queue, id);
    int array[4] = {};
    int guard = 77;
    IntQueueToArray(queue, array);
    EXPECT_EQ(array[3], 3);
    EXPECT_EQ(guard, 77);
    IntQueueRelease(queue);
    EXPECT_EQ(queue.count, 0);
}

class PlayerListTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetTournamentState(); }
    // Registers a player with score, seeding key, pairing key.
    int Add(const char* name, float score, int seed, float key) {
        int id = AddTestPlayer(name, seed);
        PlayerScores[id].score = score;
        Players[id].seedingKey = seed;
        Players[id].pairingKey = key;
        return id;
    }
    RecordingMessageBox boxes;
};

TEST_F(PlayerListTest, SwissQuonOrdersByScoreThenSeedingKey) {
    Settings.PairingSystem = SwissQuonSystem;
    int a = Add("A", 2.0f, 30, 0);
    int b = Add("B", 2.0f, 10, 0);
    int c = Add("C", 3.0f, 50, 0);
    int d = Add("D", 2.0f, 30, 0); // equal to A in both keys
    PlayerList ascending, descending;
    for (int id : {a, b, c, d}) {
        PlayerListInsert(ascending, id, 1);
        PlayerListInsert(descending, id, 0);
    }
    EXPECT_EQ(Ids(ascending), (std::vector<int>{c, b, a, d}));
    // Descending: higher seeding key first, and an equal player goes behind.
    EXPECT_EQ(Ids(descending), (std::vector<int>{c, a, d, b}));
    EXPECT_EQ(PlayerListCount(descending), 4);
}

TEST_F(PlayerListTest, DubovIgnoresTheScoreUnlessMerged) {
    Settings.PairingSystem = FideDubovSystem;
    int a = Add("A", 3.0f, 2200, 1900.0f);
    int b = Add("B", 1.0f, 2100, 1800.0f);
    int c = Add("C", 2.0f, 2000, 1800.0f);
    PlayerList plain;
    for (int id : {a, b, c})
        PlayerListInsert(plain, id, 1);
    EXPECT_EQ(Ids(plain), (std::vector<int>{c, b, a})); // opponents' average, then rating

    MergedMode = 1;
    PlayerList merged;
    for (int id : {a, b, c})
        PlayerListInsert(merged, id, 1);
    EXPECT_EQ(Ids(merged), (std::vector<int>{a, c, b}));
    PlayerList mergedDown;
    for (int id : {b, c, a})
        PlayerListInsert(mergedDown, id, 0);
    EXPECT_EQ(Ids(mergedDown), (std::vector<int>{a, c, b}));
    MergedMode = 0;

    PlayerList down; // seeding key descending, then pairing key descending
    for (int id : {c, a, b})
        PlayerListInsert(down, id, 0);
    EXPECT_EQ(Ids(down), (std::vector<int>{a, b, c}));
}

TEST_F(PlayerListTest, NamesDecideEqualKeys) {
    Settings.PairingSystem = FideDubovSystem;
    int zed = Add("ZED", 1.0f, 2000, 1500.0f);
    int abe = Add("ABE", 1.0f, 2000, 1500.0f);
    PlayerList up, down;
    for (int id : {zed, abe}) {
        PlayerListInsert(up, id, 1);
        PlayerListInsert(down, id, 0);
    }
    EXPECT_EQ(Ids(up), (std::vector<int>{abe, zed}));
    EXPECT_EQ(Ids(down), (std::vector<int>{abe, zed}));
}

TEST_F(PlayerListTest, UscfAndBursteinOrders) {
    Settings.PairingSystem = UscfSystem;
    int a = Add("A", 2.0f, 1500, 0);
    int b = Add("B", 2.0f, 1700, 0);
    int c = Add("C", 2.5f, 1400, 0);
    PlayerList uscf;
    for (int id : {a, b, c})
        PlayerListInsert(uscf, id, 1);
    EXPECT_EQ(Ids(uscf), (std::vector<int>{c, b, a}));

    Settings.PairingSystem = FideBursteinSystem;
    Players[a].pairingKey = 9.0f;
    Players[b].pairingKey = 9.0f;
    Players[c].pairingKey = 4.0f;
    PlayerList burstein;
    for (int id : {c, a, b})
        PlayerListInsert(burstein, id, 1);
    EXPECT_EQ(Ids(burstein), (std::vector<int>{b, a, c}));
}

TEST_F(PlayerListTest, RemovingKeepsHeadAndTailRight) {
    Settings.PairingSystem = SwissQuonSystem;
    int a = Add("A", 3.0f, 1, 0), b = Add("B", 2.0f, 1, 0), c = Add("C", 1.0f, 1, 0);
    int d = Add("D", 0.0f, 1, 0);
    PlayerList list;
    for (int id : {a, b, c})
        PlayerListInsert(list, id, 1);
    PlayerListRemove(list, c);
    EXPECT_EQ(list.tail->id, b);
    EXPECT_EQ(PlayerListCount(list), 2);
    PlayerListInsert(list, d, 1);
    EXPECT_EQ(Ids(list), (std::vector<int>{a, b, d}));
    EXPECT_EQ(list.tail->id, d);
    PlayerListRemove(list, a);
    EXPECT_EQ(list.head->id, b);
    PlayerListRemove(list, b);
    PlayerListRemove(list, d);
    EXPECT_EQ(list.head, nullptr);
    EXPECT_EQ(list.tail, nullptr);
    EXPECT_TRUE(boxes.alerts.empty());
    PlayerListRemove(list, a); // empty list: silent
    EXPECT_TRUE(boxes.alerts.empty());
}

TEST_F(PlayerListTest, MissingIdsAlertAndChangeNothing) {
    Settings.PairingSystem = SwissQuonSystem;
    int a = Add("A", 1.0f, 1, 0);
    PlayerList list;
    PlayerListInsert(list, a, 1);
    PlayerListRemove(list, 42);
    ASSERT_EQ(boxes.alerts.size(), 1u);
    EXPECT_EQ(boxes.alerts[0].text.rfind("Player 42 to remove not found!\nReport this problem to ", 0), 0u);
    EXPECT_EQ(PlayerListCount(list), 1);
    EXPECT_EQ(PlayerListFind(list, 42), nullptr);
    EXPECT_EQ(boxes.alerts.back().text, "(2) Name not found!");
    ASSERT_NE(PlayerListFind(list, a), nullptr);
    EXPECT_EQ(PlayerListFind(list, a)->id, a);
}

TEST_F(PlayerListTest, ToArrayWritesFromIndexOne) {
    Settings.PairingSystem = SwissQuonSystem;
    PlayerList list;
    int array[3] = {-1, -1, -1};
    PlayerListToArray(list, array);
    EXPECT_EQ(array[1], -1); // empty list writes nothing
    int a = Add("A", 2.0f, 1, 0), b = Add("B", 1.0f, 1, 0), c = Add("C", 0.5f, 1, 0);
    for (int id : {c, b, a})
        PlayerListInsert(list, id, 1);
    PlayerListToArray(list, array);
    EXPECT_EQ(array[0], -1);
    EXPECT_EQ(array[1], a);
    EXPECT_EQ(array[2], b); // c does not fit
    PlayerListClear(list);
    EXPECT_EQ(PlayerListCount(list), 0);
}

} // namespace
