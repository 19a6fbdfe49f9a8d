#include "pairing/score_groups.h"

#include "pairing/trace.h"
#include "tournament/game_code.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/pairing_predicates.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"
#include "tournament/standings_order.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <ostream>
#include <vector>

namespace {

// Groups are held by pointer: a list header owns its nodes and cannot move.
std::vector<std::unique_ptr<ScoreGroup>> Store;

bool KeepsWholeGroupInWhiteList(int system) {
    return system == UscfSystem || system == FideBursteinSystem;
}

void EmptyGroup(ScoreGroup& group) {
    PlayerListClear(group.whiteDue);
    PlayerListClear(group.blackDue);
    PlayerListClear(group.floaters);
    IntQueueClear(group.downfloaters);
    IntQueueClear(group.opponents);
    group.score = 0.0f;
}

std::vector<int> PassedOver;
int LastReceiver = 0;

bool IsPassedOver(int id) {
    return std::find(PassedOver.begin(), PassedOver.end(), id) != PassedOver.end();
}

// Where the chooser found its receiver.
struct ByeChoice {
    int id = 0;
    bool fromWhiteList = true;
};

std::vector<int> ListIds(const PlayerList& list) {
    std::vector<int> ids;
    for (const IdNode* node = list.head; node != nullptr; node = node->next)
        ids.push_back(node->id);
    return ids;
}

// The frame the three choosers share: groups from the lowest up, empty ones
// skipped, the first group that yields a receiver decides.
template <typename Chooser> int GiveBye(int groupCount, int n, Chooser choose, void (*trace)(std::ostream&, int, int, bool)) {
    const int top = std::min(groupCount, MaxScoreGroups);
    for (int g = top; g >= 1; --g) {
        if (ScoreGroupSize(g) == 0) continue;
        const ByeChoice choice = choose(ScoreGroupAt(g));
        if (choice.id == 0) continue;
        ScoreGroup& group = ScoreGroupAt(g);
        GameTable((n - 1) / 2 + 1, CurrentRound) = EncodeGameCode(choice.id, 0, WhiteWinsForfeit);
        PlayerListRemove(choice.fromWhiteList ? group.whiteDue : group.blackDue, choice.id);
        if (std::ostream* out = ActivePairingTrace()) trace(*out, choice.id, g, choice.fromWhiteList);
        return choice.id;
    }
    ShowAlert(MessageText(MsgNoByeReceiver), MessageText(MsgClose));
    return 0;
}

// The value the USCF rule compares: an unrated player counts as 10000.
int UscfByeValue(int id) {
    const int rating = PlayerRecord(id).ratingUsed;
    return rating == 0 ? 10000 : rating;
}

// The lowest value among the eligible players of the whole-group list,
// scanned from its last player up; strictly lower replaces.
template <typename Value> ByeChoice LowestFromTheEnd(const ScoreGroup& group, Value value) {
    const std::vector<int> ids = ListIds(group.whiteDue);
    ByeChoice choice;
    int best = 1000000;
    for (auto it = ids.rbegin(); it != ids.rend(); ++it) {
        if (StateRecord(*it).byeEligibility != 1 || IsPassedOver(*it)) continue;
        const int v = value(*it);
        if (v < best) {
            best = v;
            choice.id = *it;
        }
    }
    return choice;
}

} // namespace

ScoreGroup& ScoreGroupAt(int g) {
    if (g < 0 || g > MaxScoreGroups) {
        static ScoreGroup scratch;
        EmptyGroup(scratch);
        return scratch;
    }
    while (static_cast<int>(Store.size()) <= g)
        Store.push_back(std::make_unique<ScoreGroup>());
    return *Store[static_cast<std::size_t>(g)];
}

int ScoreGroupsHeld() {
    return static_cast<int>(Store.size());
}

void ClearScoreGroups(int /*round*/) {
    for (auto& group : Store)
        EmptyGroup(*group);
}

int ScoreGroupSize(int g) {
    if (g < 0 || g >= ScoreGroupsHeld()) return 0;
    const ScoreGroup& group = ScoreGroupAt(g);
    int size = PlayerListCount(group.whiteDue) + PlayerListCount(group.blackDue) + IntQueueCount(group.opponents);
    if (KeepsWholeGroupInWhiteList(Settings.PairingSystem))
        size += PlayerListCount(group.floaters);
    else
        size += IntQueueCount(group.downfloaters);
    return size;
}

int MakeScoreGroups(int players, int& groupCount) {
    const int last = std::clamp(players, 0, MaxPlayers);
    std::vector<int> ids;
    for (int id = 1; id <= last; ++id)
        if (Players[id].available != 0) ids.push_back(id);
    SortPlayerIds(ids, CompareStandings);

    const int system = Settings.PairingSystem;
    int g = 0;
    for (int id : ids) {
        const float score = PlayerScores[id].score;
        // Groups are cut where the score changes, compared exactly.
        if (g == 0 || score != ScoreGroupAt(g).score) {
            ++g;
            ScoreGroupAt(g).score = score;
        }
        PairingStates[id].initialGroup = g;
        PairingStates[id].currentGroup = g;
        ScoreGroup& group = ScoreGroupAt(g);
        if (PairingStates[id].dueColor == 1 || KeepsWholeGroupInWhiteList(system))
            PlayerListInsert(group.whiteDue, id, 1);
        else
            PlayerListInsert(group.blackDue, id, 0);
    }
    groupCount = g;

    const int n = static_cast<int>(ids.size());
    LastReceiver = 0;
    if (n % 2 == 0) return n;
    int receiver = 0;
    if (system == UscfSystem)
        receiver = AssignByeUscf(g, n);
    else if (system == FideBursteinSystem)
        receiver = AssignByeBurstein(g, n);
    else
        receiver = AssignByeSwiss(g, n);
    LastReceiver = receiver;
    return receiver == 0 ? -1 : n;
}

void PassOverForBye(int id) {
    if (!IsPassedOver(id)) PassedOver.push_back(id);
}

void ClearByePassOvers() {
    PassedOver.clear();
}

int LastByeReceiver() {
    return LastReceiver;
}

int AssignByeSwiss(int groupCount, int n) {
    auto choose = [](const ScoreGroup& group) {
        struct Best {
            int seed = 1000000;
            float key = 0.0f;
            const char* name = "";
        } best;
        ByeChoice choice;
        for (int id : ListIds(group.whiteDue)) {
            if (StateRecord(id).byeEligibility == 0 || IsPassedOver(id)) continue;
            const Player& p = PlayerRecord(id);
            bool better = p.seedingKey < best.seed;
            if (p.seedingKey == best.seed) {
                better = p.pairingKey > best.key;
                if (p.pairingKey == best.key) better = std::strcmp(best.name, p.name) < 0;
            }
            if (!better) continue;
            best = {p.seedingKey, p.pairingKey, p.name};
            choice = {id, true};
        }
        // Among equal seeding keys a black-due player takes the BYE only
        // when the group has more black-due than white-due players.
        const bool blackSurplus = PlayerListCount(group.blackDue) > PlayerListCount(group.whiteDue);
        for (int id : ListIds(group.blackDue)) {
            if (StateRecord(id).byeEligibility == 0 || IsPassedOver(id)) continue;
            const Player& p = PlayerRecord(id);
            if (p.seedingKey < best.seed || (p.seedingKey == best.seed && blackSurplus)) {
                best = {p.seedingKey, p.pairingKey, p.name};
                choice = {id, false};
            }
        }
        return choice;
    };
    auto trace = [](std::ostream& out, int id, int g, bool white) {
        const Player& p = PlayerRecord(id);
        out << " BYE awarded to player: " << id << " " << p.name << ", group " << g << "\n";
        out << (white ? " duecolor = WHITE, Rating = " : " duecolor = BLACK, Rating = ") << p.seedingKey
            << ", ARO = " << p.pairingKey << "\n";
    };
    return GiveBye(groupCount, n, choose, trace);
}

int AssignByeUscf(int groupCount, int n) {
    auto choose = [](const ScoreGroup& group) { return LowestFromTheEnd(group, UscfByeValue); };
    auto trace = [](std::ostream& out, int id, int, bool) { out << " --- BYE awarded to player " << id << "\n"; };
    return GiveBye(groupCount, n, choose, trace);
}

int AssignByeBurstein(int groupCount, int n) {
    auto choose = [](const ScoreGroup& group) {
        return LowestFromTheEnd(group, [](int id) { return PlayerRecord(id).ratingUsed; });
    };
    auto trace = [](std::ostream& out, int id, int g, bool) {
        const Player& p = PlayerRecord(id);
        out << " BYE awarded to player: " << id << " " << p.name << "\n";
        out << " in group " << g << ", Rating = " << p.seedingKey << "\n";
    };
    return GiveBye(groupCount, n, choose, trace);
}
