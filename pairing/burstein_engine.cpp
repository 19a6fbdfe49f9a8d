#include "pairing/burstein_engine.h"

#include "pairing/group_round_driver.h"
#include "pairing/pair_counting.h"
#include "pairing/round_dispatcher.h"
#include "pairing/round_trace.h"
#include "pairing/score_groups.h"
#include "pairing/trace.h"
#include "tournament/pairing_predicates.h"
#include "tournament/player_list.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/run_options.h"
#include "tournament/settings.h"

#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <string>

namespace {

// Moves player down from group g to g + 1 as a floater: he may not take the
// empty slot of the group below.
void SendDown(int player, int g) {
    MovePlayerToGroup(player, g, g + 1);
    PairingStates[player].mayFloatUp = 1;
}

// Resets the strict-colour flag on every way out of a group search.
struct StrictColorReset {
    ~StrictColorReset() { StrictColorMode = 0; }
};

} // namespace

void RegisterBursteinEngine() {
    RegisterPairingEngine(FideBursteinSystem, PairBursteinRound);
}

int PairBursteinRound(int players, int round) {
    // The floater and tried marks describe this round's moves only; left
    // over from an earlier round they would bar players from the empty slot
    // for good.
    for (int id = 1; id <= players && id < PlayerRows; ++id) {
        PairingStates[id].mayFloatUp = 0;
        PairingStates[id].triedMark = 0;
    }
    StrictColorMode = 0;
    const int result = PairGroupedRound(players, round, PairBursteinGroup, WriteBursteinScoreGroups);
    StrictColorMode = 0;
    return result;
}

std::vector<int> FoldBursteinGroup(const std::vector<int>& p) {
    const int n = static_cast<int>(p.size()) - 1;
    const int h = n / 2;
    std::vector<int> array{0};
    for (int i = 1; i <= h; ++i)
        array.push_back(p[i]);
    if (n % 2 == 1) array.push_back(EmptySlot);
    for (int i = n; i > h; --i)
        array.push_back(p[i]);
    return array;
}

int ColorImbalance(int n, std::span<const int> ids) {
    int white = 0, black = 0;
    for (int i = 1; i <= n && i < static_cast<int>(ids.size()); ++i) {
        if (ids[i] == EmptySlot) continue;
        if (StateRecord(ids[i]).dueColor == 1)
            ++white;
        else if (StateRecord(ids[i]).dueColor == 0)
            ++black;
    }
    return std::max(white, black) - n / 2;
}

int FindBetterFloater(int r, const std::vector<SearchPair>& pairs, int g, int round) {
    const std::vector<int> below = GroupListIds(ScoreGroupAt(g + 1).whiteDue);
    const int count = static_cast<int>(below.size()) - 1;
    for (int k = 1; k <= r && k < static_cast<int>(pairs.size()); ++k) {
        int floater = 0;
        if (pairs[k].first == EmptySlot)
            floater = pairs[k].second;
        else if (pairs[k].second == EmptySlot)
            floater = pairs[k].first;
        if (floater <= 0 || PairingStates[floater].triedMark != 0) continue;
        if (HasPossibleOpponent(floater, below.data(), count, round) != 0) continue;
        PairingStates[floater].triedMark = 1;
        return 1;
    }
    return 0;
}

int PairBursteinGroup(int g, int round, int groupCount, std::vector<SearchPair>& pairs, int& count) {
    pairs.assign(1, SearchPair{});
    count = 0;
    StrictColorReset reset;
    std::ostream* trace = ActivePairingTrace();
    if (trace != nullptr) *trace << "\n" << GroupTraceRule << "\n Pairing group " << g << "\n" << GroupTraceRule << "\n";
    ScoreGroup& group = ScoreGroupAt(g);
    const int u = SendDownUnpairablePlayers(g, round, groupCount, "floater(s)", SendDown);
    if (u < 0) return 0;
    const std::vector<int> p = GroupListIds(group.whiteDue);
    const int n = static_cast<int>(p.size()) - 1;
    if (n == 0) return 1;
    const std::vector<int> array = FoldBursteinGroup(p);
    const int positions = static_cast<int>(array.size()) - 1;
    const int limit = CountSatisfiablePairs(positions, array);
    StrictColorMode = ColorImbalance(positions, array) == 0 ? 1 : 0;
    std::vector<SearchPair> full, partial;
    std::vector<int> leftovers;
    PairingSearch search;
    CreatePairingSearch(search);
    int r = PairGroupHomogeneous(search, positions, limit, array, full, leftovers, partial, round);
    if (r < limit && StrictColorMode == 1) {
        StrictColorMode = 0;
        r = PairGroupHomogeneous(search, positions, limit, array, full, leftovers, partial, round);
    }
    StrictColorMode = 0;
    DisposePairingSearch(search);
    // A search that gave up at its limit has not shown that the group cannot
    // be paired, but its partial pairing is no pairing of the group either:
    // the group fails and the driver merges it or restarts the round.
    // The search itself has written its limit line to the trace.
    if (r < 0) return 0;
    const int k = leftovers.empty() ? 0 : leftovers[0];
    const std::vector<SearchPair>& found = k == 0 ? full : partial;
    if (r == limit && FindBetterFloater(r, found, g, round) == 1) {
        if (trace != nullptr) *trace << " -- trying to found a better floater after the standard pairing\n";
        return 2;
    }
    if (trace != nullptr)
        for (int i = 1; i <= r; ++i)
            *trace << "  " << found[i].first << "\t - " << found[i].second << "\n";
    if (k > 0) {
        // Only players go down: the empty slot left over needs no opponent
        // below, so it does not count against the players there.
        std::vector<int> down;
        for (int i = 1; i <= k && i < static_cast<int>(leftovers.size()); ++i)
            if (leftovers[i] != EmptySlot) down.push_back(leftovers[i]);
        const int needed = u + static_cast<int>(down.size());
        if (g + 1 > groupCount || CountPlayersFromGroup(g + 1, groupCount) < needed) return 0;
        for (int id : down)
            SendDown(id, g);
    }
    for (int i = 1; i <= r; ++i) {
        const SearchPair& pair = found[i];
        if (pair.first == EmptySlot)
            SendDown(pair.second, g);
        else if (pair.second == EmptySlot)
            SendDown(pair.first, g);
        else
            pairs.push_back(pair);
    }
    count = static_cast<int>(pairs.size()) - 1;
    return 1;
}

void WriteBursteinScoreGroups(int groupCount, int pass) {
    WriteScoreGroupDump(groupCount, pass, 42, [](std::ostream& out, const ScoreGroup& group) {
        if (PlayerListCount(group.whiteDue) == 0) return;
        out << "   ID  dueC    EB     cd\n" << "  " << std::string(41, '-') << "\n";
        for (const IdNode* node = group.whiteDue.head; node != nullptr; node = node->next) {
            const PairingState& state = StateRecord(node->id);
            const double key = node->id >= 1 && node->id < PlayerRows ? Players[node->id].pairingKey : 0.0;
            char line[96];
            std::snprintf(line, sizeof line, state.dueColor != 0 ? " %4d   W    %6.2f   %1d \n" : " %4d     B  %6.2f   %1d \n",
                          node->id, key, state.colorFlexible);
            out << line;
        }
    });
}
