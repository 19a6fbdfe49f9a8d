// Small singly linked lists of player ids for the pairing engines.
//
// `IntQueue` is first in, first out; `PlayerList` is kept in the pairing
// order of the tournament's system (ComparePairingOrder for an ascending
// list, ComparePairingOrderDescending for a descending one). Both own their
// nodes: clearing, releasing or destroying a header frees them. The headers
// are held by their users (the score groups, locals of the engines) and are
// empty when constructed.
#pragma once

#include <cstddef>

struct IdNode {
    int id;
    IdNode* next;
};

// The header layout both kinds share.
struct IdListHeader {
    IdNode* head = nullptr;
    IdNode* tail = nullptr;
    int count = 0;

    IdListHeader() = default;
    IdListHeader(const IdListHeader&) = delete;
    IdListHeader& operator=(const IdListHeader&) = delete;
    ~IdListHeader();
};

struct IntQueue : IdListHeader {};
struct PlayerList : IdListHeader {};

// Queue.
void IntQueueInit(IntQueue& queue);
// Appends id. Out of memory ends the program.
void IntQueuePush(IntQueue& queue, int id);
// Removes and returns the first id; 0 for an empty queue.
int IntQueuePop(IntQueue& queue);
int IntQueueCount(const IntQueue& queue);
void IntQueueClear(IntQueue& queue);
void IntQueueRelease(IntQueue& queue);
// Writes the ids in queue order into array[1..count] (array[0] untouched),
// at most capacity - 1 of them for an array of capacity elements.
void IntQueueToArray(const IntQueue& queue, int* array, std::size_t capacity);
template <std::size_t N> void IntQueueToArray(const IntQueue& queue, int (&array)[N]) {
    IntQueueToArray(queue, array, N);
}

// Ordered list.
void PlayerListInit(PlayerList& list);
// Inserts id in pairing order: ascending nonzero by ComparePairingOrder, 0 by
// ComparePairingOrderDescending. Out of memory ends the program.
void PlayerListInsert(PlayerList& list, int id, int ascending);
// Unlinks the first node with id. Silent on an empty list; an id not in a
// non-empty list gives an alert and changes nothing.
void PlayerListRemove(PlayerList& list, int id);
inline void PlayerListRemoveId(PlayerList& list, int id) {
    PlayerListRemove(list, id);
}
// The first node with id; null, after an alert, when there is none.
IdNode* PlayerListFind(const PlayerList& list, int id);
int PlayerListCount(const PlayerList& list);
void PlayerListClear(PlayerList& list);
void PlayerListRelease(PlayerList& list);
// Writes the ids in list order into array[1..count], at most capacity - 1.
void PlayerListToArray(const PlayerList& list, int* array, std::size_t capacity);
template <std::size_t N> void PlayerListToArray(const PlayerList& list, int (&array)[N]) {
    PlayerListToArray(list, array, N);
}

// The pairing orders of the tournament's system, on two player ids.
// ComparePairingOrder: -1 when a comes first, else 1 (0 in a round robin).
// ComparePairingOrderDescending: 1 when a comes first, else -1 (0 for the
// systems that build no such list).
int ComparePairingOrder(int a, int b);
int ComparePairingOrderDescending(int a, int b);
