#include "pairing/group_round_driver.h"

#include "pairing/round_trace.h"
#include "pairing/score_groups.h"
#include "pairing/trace.h"
#include "pairing/pairing_stats.h"
#include "tournament/game_code.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/pairing_predicates.h"
#include "tournament/player_list.h"
#include "tournament/round_tables.h"

#include <ostream>
#include <string>
#include <utility>

std::vector<int> GroupListIds(const IdListHeader& list) {
    std::vector<int> ids{0};
    for (const IdNode* node = list.head; node != nullptr; node = node->next)
        ids.push_back(node->id);
    return ids;
}

const char* const GroupTraceRule = "================================";

namespace {

void Alert(MessageNumber message) {
    ShowAlert(MessageText(message), MessageText(MsgClose));
}

// Puts ids[1..] into group target's white-due list as a merge does.
void InsertMerged(const std::vector<int>& ids, int target) {
    for (std::size_t i = 1; i < ids.size(); ++i) {
        PlayerListInsert(ScoreGroupAt(target).whiteDue, ids[i], 1);
        PairingStates[ids[i]].currentGroup = target;
        PairingStates[ids[i]].triedMark = 0;
    }
}

void MoveFloatersInto(int from, int target) {
    const std::vector<int> ids = GroupListIds(ScoreGroupAt(from).floaters);
    PlayerListClear(ScoreGroupAt(from).floaters);
    InsertMerged(ids, target);
}

void MoveOpponentsInto(int from, int target) {
    const std::vector<int> ids = GroupListIds(ScoreGroupAt(from).opponents);
    IntQueueClear(ScoreGroupAt(from).opponents);
    InsertMerged(ids, target);
}

int GroupHolding(int g) {
    const ScoreGroup& group = ScoreGroupAt(g);
    return PlayerListCount(group.whiteDue) + PlayerListCount(group.floaters) + IntQueueCount(group.opponents);
}

} // namespace

int CountPlayersFromGroup(int a, int groupCount) {
    int total = 0;
    for (int g = std::max(a, 1); g <= groupCount; ++g)
        total += PlayerListCount(ScoreGroupAt(g).whiteDue) + IntQueueCount(ScoreGroupAt(g).opponents);
    return total;
}

void MovePlayerToGroup(int player, int from, int to) {
    if (std::ostream* trace = ActivePairingTrace())
        *trace << "    > moving player " << player << " from group " << from << " to group " << to << "\n";
    PlayerListRemove(ScoreGroupAt(from).whiteDue, player);
    PlayerListInsert(ScoreGroupAt(to).whiteDue, player, 1);
    PairingStates[player].currentGroup = to;
    PairingStates[player].triedMark = 0;
}

int MergeUscfScoreGroups(int g) {
    int target = 0;
    for (int p = g - 1; p >= 1 && target == 0; --p)
        if (GroupHolding(p) > 0) target = p;
    if (target == 0) return 1;
    if (std::ostream* trace = ActivePairingTrace())
        *trace << "   >>> I am going to merge group " << g << " with group " << target << "\n";
    const std::vector<int> own = GroupListIds(ScoreGroupAt(g).whiteDue);
    for (std::size_t i = 1; i < own.size(); ++i)
        MovePlayerToGroup(own[i], g, target);
    MoveFloatersInto(g, target);
    MoveOpponentsInto(g, target);
    MoveFloatersInto(target, target);
    MoveOpponentsInto(target, target);
    return target;
}

int FindUnpairablePlayers(int g, std::vector<int>& ids, int round) {
    ids.assign(1, 0);
    std::vector<int> list = GroupListIds(ScoreGroupAt(g).whiteDue);
    const int count = static_cast<int>(list.size()) - 1;
    if (count < 1 || count > round) return 0;
    // Each turn tests the last player against the others, then rotates the
    // list by one place, so everybody is tested once.
    for (int turn = 0; turn < count; ++turn) {
        const int player = list[count];
        if (HasPossibleOpponent(player, list.data(), count - 1, round) == 0) ids.push_back(player);
        const int first = list[1];
        for (int i = 1; i < count; ++i)
            list[i] = list[i + 1];
        list[count] = first;
    }
    return static_cast<int>(ids.size()) - 1;
}

int SendDownUnpairablePlayers(int g, int round, int groupCount, const char* label, void (*sendDown)(int player, int g)) {
    if (PlayerListCount(ScoreGroupAt(g).whiteDue) == 0) return 0;
    std::vector<int> ids;
    const int u = FindUnpairablePlayers(g, ids, round);
    if (u == 0) return 0;
    if (CountPlayersFromGroup(g + 1, groupCount) < u) return -1;
    if (std::ostream* trace = ActivePairingTrace()) {
        *trace << " Found " << u << " " << label << ":";
        for (int i = 1; i <= u; ++i)
            *trace << " " << ids[i] << ", ";
        *trace << "\n";
    }
    for (int i = 1; i <= u; ++i)
        sendDown(ids[i], g);
    return u;
}

int PairGroupedRound(int players, int round, GroupPairer pairGroup, GroupDumper dump) {
    OpenPairingTrace(round);
    if (std::ostream* trace = ActivePairingTrace()) *trace << "***** Pairing round " << round << " \n\n";
    int groupCount = 0;
    int toPair = MakeScoreGroups(players, groupCount);
    if (toPair < 0) {
        ClosePairingTrace();
        return 0;
    }
    dump(groupCount, 0);
    const int budget = 5 * groupCount;
    int attempts = 0;
    bool restarted = false;
    // ranges[g]: the first and last index of g's pairs in the round's table.
    std::vector<std::pair<int, int>> ranges(groupCount + 2, {0, 0});
    std::vector<SearchPair> roundPairs(1);
    std::vector<SearchPair> groupPairs;
    int g = 1;
    while (g <= groupCount && CountPlayersFromGroup(g, groupCount) > 0) {
        while (g <= groupCount && ScoreGroupSize(g) == 0) {
            if (std::ostream* trace = ActivePairingTrace())
                *trace << "\n" << GroupTraceRule << "\nGroup " << g << " without players\n" << GroupTraceRule << "\n";
            ranges[g] = ranges[g - 1];
            ++g;
            ++attempts;
        }
        if (g > groupCount) break;
        const int base = ranges[g - 1].second;
        int count = 0;
        groupPairs.assign(1, SearchPair{});
        int result = pairGroup(g, round, groupCount, groupPairs, count);
        while (result == 2) {
            groupPairs.assign(1, SearchPair{});
            count = 0;
            result = pairGroup(g, round, groupCount, groupPairs, count);
        }
        if (result == 1) {
            roundPairs.resize(base + 1);
            for (int k = 1; k <= count && k < static_cast<int>(groupPairs.size()); ++k)
                roundPairs.push_back(groupPairs[k]);
            ranges[g] = {base + 1, static_cast<int>(roundPairs.size()) - 1};
            ++g;
            ++attempts;
            continue;
        }
        // The first group has nobody above to merge into: the round goes on
        // to the restart at once, and fails when that is spent too.
        if (g == 1) {
            if (restarted) {
                Alert(MsgTopGroupCannotBePaired);
                ClosePairingTrace();
                return 0;
            }
        } else {
            g = MergeUscfScoreGroups(g);
            ++attempts;
            if (attempts < budget) continue;
            if (restarted) {
                Alert(MsgPairingStops);
                ClosePairingTrace();
                return 0;
            }
        }
        restarted = true;
        attempts = 0;
        if (std::ostream* trace = ActivePairingTrace())
            *trace << "\n\n" << std::string(61, '+') << "\n"
                   << "  I can't do pairing!\n  Trying to merge all the group and restart\n"
                   << std::string(63, '+') << "\n\n";
        Alert(MsgPairingAgainMerged);
        ++PairingStats.restarts;
        ClearScoreGroups(round);
        toPair = MakeScoreGroups(players, groupCount);
        if (toPair < 0) {
            ClosePairingTrace();
            return 0;
        }
        for (int h = groupCount; h > 1;)
            h = MergeUscfScoreGroups(h);
        if (ActivePairingTrace() != nullptr) dump(groupCount, 1);
        ranges.assign(groupCount + 2, {0, 0});
        roundPairs.assign(1, SearchPair{});
        g = 1;
    }
    const int boards = toPair % 2 == 1 ? (toPair - 1) / 2 + 1 : toPair / 2;
    const int written = toPair % 2 == 1 ? boards - 1 : boards;
    // Only the boards the groups delivered reach the table: a short round
    // (somebody left without an opponent) fails instead of making empty
    // boards.
    if (static_cast<int>(roundPairs.size()) - 1 < written) {
        Alert(MsgPairingStops);
        ClosePairingTrace();
        return 0;
    }
    GameTable(0, round) = boards;
    for (int k = 1; k <= written; ++k)
        GameTable(k, round) = EncodeGameCode(roundPairs[k].first, roundPairs[k].second, NotPlayed);
    ClosePairingTrace();
    return 1;
}
