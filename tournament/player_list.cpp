#include "tournament/player_list.h"

#include "tournament/key_order.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_tables.h"
#include "tournament/run_options.h"
#include "tournament/settings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <new>
#include <string>

namespace {

void FreeNodes(IdListHeader& list) {
    IdNode* node = list.head;
    while (node != nullptr) {
        IdNode* next = node->next;
        delete node;
        node = next;
    }
    list.head = list.tail = nullptr;
    list.count = 0;
}

void CopyToArray(const IdListHeader& list, int* array, std::size_t capacity) {
    std::size_t index = 1;
    for (const IdNode* node = list.head; node != nullptr && index < capacity; node = node->next)
        array[index++] = node->id;
}

// A node for id. Like every allocation of the tournament manager, one that
// fails ends the program: a pairing that went on without a player would be
// wrong without anyone noticing.
IdNode* NewNode(int id) {
    IdNode* node = new (std::nothrow) IdNode{id, nullptr};
    if (node == nullptr) {
        ShowAlert("Out of memory!", MessageText(MsgClose));
        std::exit(1);
    }
    return node;
}

} // namespace

IdListHeader::~IdListHeader() {
    FreeNodes(*this);
}

// ---- IntQueue ----

void IntQueueInit(IntQueue& queue) {
    queue.head = queue.tail = nullptr;
    queue.count = 0;
}

void IntQueuePush(IntQueue& queue, int id) {
    IdNode* node = NewNode(id);
    if (queue.tail == nullptr)
        queue.head = node;
    else
        queue.tail->next = node;
    queue.tail = node;
    ++queue.count;
}

int IntQueuePop(IntQueue& queue) {
    IdNode* node = queue.head;
    if (node == nullptr) return 0;
    queue.head = node->next;
    if (queue.head == nullptr) queue.tail = nullptr;
    --queue.count;
    int id = node->id;
    delete node;
    return id;
}

int IntQueueCount(const IntQueue& queue) {
    return queue.count;
}
void IntQueueClear(IntQueue& queue) {
    FreeNodes(queue);
}
void IntQueueRelease(IntQueue& queue) {
    FreeNodes(queue);
}
void IntQueueToArray(const IntQueue& queue, int* array, std::size_t capacity) {
    CopyToArray(queue, array, capacity);
}

// ---- PlayerList ----

void PlayerListInit(PlayerList& list) {
    list.head = list.tail = nullptr;
    list.count = 0;
}

void PlayerListInsert(PlayerList& list, int id, int ascending) {
    IdNode* node = NewNode(id);
    IdNode* previous = nullptr;
    IdNode* current = list.head;
    for (; current != nullptr; previous = current, current = current->next) {
        if (ascending != 0 ? ComparePairingOrder(current->id, id) >= 0
                           : ComparePairingOrderDescending(current->id, id) <= 0)
            break;
    }
    node->next = current;
    if (previous == nullptr)
        list.head = node;
    else
        previous->next = node;
    if (current == nullptr) list.tail = node;
    ++list.count;
}

void PlayerListRemove(PlayerList& list, int id) {
    if (list.head == nullptr) return;
    IdNode* previous = nullptr;
    IdNode* current = list.head;
    while (current != nullptr && current->id != id) {
        previous = current;
        current = current->next;
    }
    if (current == nullptr) {
        char text[160];
        std::snprintf(
            text, sizeof text,
            "Player %d to remove not found!\nReport this problem to tourman-support@example.org, Thancks!",
            id);
        ShowAlert(text, MessageText(MsgClose));
        return;
    }
    if (previous == nullptr)
        list.head = current->next;
    else
        previous->next = current->next;
    if (list.tail == current) list.tail = previous;
    --list.count;
    delete current;
}

IdNode* PlayerListFind(const PlayerList& list, int id) {
    for (IdNode* node = list.head; node != nullptr; node = node->next)
        if (node->id == id) return node;
    ShowAlert("(2) Name not found!", MessageText(MsgClose));
    return nullptr;
}

int PlayerListCount(const PlayerList& list) {
    return list.count;
}
void PlayerListClear(PlayerList& list) {
    FreeNodes(list);
}
void PlayerListRelease(PlayerList& list) {
    FreeNodes(list);
}
void PlayerListToArray(const PlayerList& list, int* array, std::size_t capacity) {
    CopyToArray(list, array, capacity);
}

// ---- Pairing orders ----

namespace {

float ScoreOf(int id) {
    return ScoreRecord(id).score;
}

bool NameBefore(int a, int b) {
    return std::strcmp(PlayerRecord(a).name, PlayerRecord(b).name) < 0;
}

// The first nonzero key decides; when all are equal the names do, as the
// ascending order wants: -1 only when a's name sorts strictly first.
int Decide(std::initializer_list<int> keys, int a, int b) {
    for (int key : keys)
        if (key != 0) return key;
    return NameBefore(a, b) ? -1 : 1;
}

} // namespace

int ComparePairingOrder(int a, int b) {
    const Player& pa = PlayerRecord(a);
    const Player& pb = PlayerRecord(b);
    switch (Settings.PairingSystem) {
    case FideDubovSystem:
        if (MergedMode != 0)
            return Decide({Descending(ScoreOf(a), ScoreOf(b)), Ascending(pa.pairingKey, pb.pairingKey),
                           Ascending(pa.seedingKey, pb.seedingKey)},
                          a, b);
        return Decide({Ascending(pa.pairingKey, pb.pairingKey), Ascending(pa.seedingKey, pb.seedingKey)}, a,
                      b);
    case SwissQuonSystem:
        return Decide({Descending(ScoreOf(a), ScoreOf(b)), Ascending(pa.seedingKey, pb.seedingKey)}, a, b);
    case UscfSystem:
        return Decide({Descending(ScoreOf(a), ScoreOf(b)), Descending(pa.seedingKey, pb.seedingKey)}, a, b);
    case FideBursteinSystem:
        return Decide({Descending(pa.pairingKey, pb.pairingKey), Descending(pa.seedingKey, pb.seedingKey)}, a,
                      b);
    default:
        return 0;
    }
}

int ComparePairingOrderDescending(int a, int b) {
    const Player& pa = PlayerRecord(a);
    const Player& pb = PlayerRecord(b);
    switch (Settings.PairingSystem) {
    case FideDubovSystem:
        // Here 1 means "a first", so the ascending decision is turned round.
        if (MergedMode != 0)
            return -Decide({Descending(ScoreOf(a), ScoreOf(b)), Descending(pa.seedingKey, pb.seedingKey),
                            Descending(pa.pairingKey, pb.pairingKey)},
                           a, b);
        return -Decide({Descending(pa.seedingKey, pb.seedingKey), Descending(pa.pairingKey, pb.pairingKey)},
                       a, b);
    case SwissQuonSystem: {
        int key = Descending(ScoreOf(a), ScoreOf(b));
        if (key == 0) key = Descending(pa.seedingKey, pb.seedingKey);
        return key == 0 ? 1 : -key;
    }
    default:
        return 0;
    }
}
