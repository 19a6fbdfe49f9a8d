#include "pairing/uscf_engine.h"

#include "pairing/group_round_driver.h"
#include "pairing/pair_counting.h"
#include "pairing/round_dispatcher.h"
#include "pairing/round_trace.h"
#include "pairing/score_group_counts.h"
#include "pairing/score_groups.h"
#include "pairing/trace.h"
#include "tournament/pairing_predicates.h"
#include "tournament/player_list.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <string>

namespace {

// Moves player from his group to the floater list of the group below g.
void SendToFloatersBelow(int player, int g) {
    MoveToFloaterList(player, PairingStates[player].currentGroup, g + 1);
}

int SeedingKey(int id) {
    return id >= 1 && id < PlayerRows ? Players[id].seedingKey : 0;
}

bool WhiteSeeker(int id) {
    const PairingState& state = StateRecord(id);
    return id > 0 && state.colorFlexible == 0 && state.dueColor == 1;
}
bool BlackSeeker(int id) {
    const PairingState& state = StateRecord(id);
    return id > 0 && state.colorFlexible == 0 && state.dueColor == 0;
}

int CountFilled(const std::vector<int>& half) {
    int filled = 0;
    for (std::size_t i = 1; i < half.size(); ++i)
        filled += half[i] != 0 ? 1 : 0;
    return filled;
}

// The players of ids[1..] that a pairing table leaves without a partner.
std::vector<int> Unpaired(const std::vector<int>& ids, const std::vector<SearchPair>& table, int pairs) {
    std::vector<int> left{0};
    for (std::size_t i = 1; i < ids.size(); ++i) {
        bool paired = false;
        for (int k = 1; k <= pairs && k < static_cast<int>(table.size()) && !paired; ++k)
            paired = table[k].first == ids[i] || table[k].second == ids[i];
        if (!paired) left.push_back(ids[i]);
    }
    return left;
}

// Group g's downfloaters get opponents from g and the groups below it; 1 when
// every one of them got one (the opponents are then in g's queue).
int PairDownfloaters(int g, int round, int groupCount) {
    const std::vector<int> floaters = GroupListIds(ScoreGroupAt(g).floaters);
    const int c = static_cast<int>(floaters.size()) - 1;
    std::ostream* trace = ActivePairingTrace();
    if (trace != nullptr) {
        *trace << " Found " << c << " ODD player(s) from previous group:";
        for (int i = 1; i <= c; ++i)
            *trace << "  " << floaters[i] << ", ";
        *trace << "\n";
    }
    PlayerList candidates;
    int total = 0;
    for (int h = g; h <= groupCount && CountPlayersFromGroup(h, groupCount) > 0; ++h) {
        if (ScoreGroupSize(h) == 0) continue;
        if (trace != nullptr) *trace << "   Looking for opponents in group " << h << "\n";
        std::vector<int> ids;
        total += CollectGroupCandidates(h, ids);
        for (std::size_t i = 1; i < ids.size(); ++i)
            PlayerListInsert(candidates, ids[i], 1);
        if (total < c) continue;
        const std::vector<int> listed = GroupListIds(candidates);
        const int m = static_cast<int>(listed.size()) - 1;
        std::vector<int> array(2 * m + 1, 0);
        for (int i = 1; i <= c; ++i)
            array[i] = floaters[i];
        for (int i = 1; i <= m; ++i)
            array[m + i] = listed[i];
        PairingSearch search;
        CreatePairingSearch(search);
        std::vector<SearchPair> pairs;
        const int found = PairGroupHeterogeneous(search, 2 * m, c, array, pairs, round);
        DisposePairingSearch(search);
        if (found != c) continue;
        if (trace != nullptr) *trace << "\n The ODD player(s) have been paired\n";
        for (int k = 1; k <= c; ++k) {
            const int opponent = pairs[k].second;
            MoveOpponentToGroup(opponent, PairingStates[opponent].currentGroup, g);
        }
        return 1;
    }
    return 0;
}

} // namespace

void RegisterUscfEngine() {
    RegisterPairingEngine(UscfSystem, PairUscfRound);
}

int PairUscfRound(int players, int round) {
    return PairGroupedRound(players, round, PairUscfScoreGroup, WriteUscfScoreGroups);
}

int PairUscfScoreGroup(int g, int round, int groupCount, std::vector<SearchPair>& pairs, int& count) {
    pairs.assign(1, SearchPair{});
    count = 0;
    std::ostream* trace = ActivePairingTrace();
    if (trace != nullptr) *trace << "\n" << GroupTraceRule << "\n Pairing group " << g << "\n" << GroupTraceRule << "\n\n";
    ScoreGroup& group = ScoreGroupAt(g);
    const int c = PlayerListCount(group.floaters);
    if (c > 0) {
        // Downfloaters that cannot all get an opponent from here down would
        // reach the output without one: the group fails instead.
        if (CountPlayersFromGroup(g, groupCount) < c) return 0;
        if (PairDownfloaters(g, round, groupCount) == 0) return 0;
    }
    const int u = SendDownUnpairablePlayers(g, round, groupCount, "ODD player(s)", SendToFloatersBelow);
    if (u < 0) return 0;
    int n = PlayerListCount(group.whiteDue);
    if (n % 2 == 1 && CountPlayersFromGroup(g + 1, groupCount) != 0) {
        if (trace != nullptr) *trace << " The group is odd! There is(are) " << n << " player(s)\n";
        SendDownOddPlayer(g, round);
    }
    std::vector<int> p = GroupListIds(group.whiteDue);
    n = static_cast<int>(p.size()) - 1;
    int r = 0;
    std::vector<SearchPair> full, partial;
    std::vector<int> leftovers;
    std::vector<SearchPair>* found = &full;
    if (n > 0) {
        const int excess = ColorExcess(CountColorWishes(p, n));
        const int limit = excess <= 0 ? n / 2 : n / 2 - excess / 2;
        PairingSearch search;
        CreatePairingSearch(search);
        r = PairGroupHomogeneous(search, n, limit, p, full, leftovers, partial, round);
        if (r < 0) {
            const std::vector<int> reordered = ReorderForColorBalance(limit, n, p);
            r = std::abs(PairGroupHomogeneous(search, n, limit, reordered, full, leftovers, partial, round));
        }
        DisposePairingSearch(search);
        found = r == n / 2 ? &full : &partial;
        if (trace != nullptr) {
            *trace << "\n Standard pairing with " << n << " players\n";
            for (int k = 1; k <= r; ++k)
                *trace << "  " << (*found)[k].first << "\t - " << (*found)[k].second << "\n";
        }
    }
    // Everybody the search left without a partner, the odd last player of an
    // odd group included, has to go down.
    const std::vector<int> left = Unpaired(p, *found, r);
    const int k = static_cast<int>(left.size()) - 1;
    if (k > 0) {
        if (trace != nullptr) {
            *trace << " There are odd players after the standard pairing: " << k;
            for (int i = 1; i <= k; ++i)
                *trace << "  " << left[i];
            *trace << "\n";
        }
        if (g + 1 > groupCount || CountPlayersFromGroup(g + 1, groupCount) < u + k) return 0;
        for (int i = 1; i <= k; ++i)
            MoveToFloaterList(left[i], g, g + 1);
    }
    const std::vector<int> down = GroupListIds(group.floaters);
    const std::vector<int> opponents = GroupListIds(group.opponents);
    if (opponents.size() < down.size()) return 0;
    for (std::size_t i = 1; i < down.size(); ++i)
        pairs.push_back({down[i], opponents[i]});
    for (int i = 1; i <= r; ++i)
        pairs.push_back((*found)[i]);
    count = static_cast<int>(pairs.size()) - 1;
    return 1;
}

std::vector<int> ReorderForColorBalance(int pairLimit, int n, const std::vector<int>& players) {
    const int half = n / 2;
    int white = 0, black = 0;
    for (int i = 1; i <= n; ++i) {
        white += WhiteSeeker(players[i]) ? 1 : 0;
        black += BlackSeeker(players[i]) ? 1 : 0;
    }
    const bool whiteMajority = white >= black;
    auto majority = [&](int id) { return whiteMajority ? WhiteSeeker(id) : BlackSeeker(id); };
    auto minority = [&](int id) { return whiteMajority ? BlackSeeker(id) : WhiteSeeker(id); };
    std::vector<int> top(half + 1, 0), bottom(half + 1, 0);
    std::vector<bool> placed(n + 1, false);
    const int fixed = std::min(pairLimit, half);
    for (int i = 1; i <= fixed; ++i) {
        const int id = players[i];
        if (StateRecord(id).colorFlexible == 1 || minority(id)) {
            top[i] = id;
            placed[i] = true;
        } else if (majority(id)) {
            bottom[i] = id;
            placed[i] = true;
        }
    }
    for (int i = fixed + 1; i <= n; ++i) {
        const int id = players[i];
        std::vector<int>* to = nullptr;
        if (StateRecord(id).colorFlexible == 1 || minority(id))
            to = CountFilled(top) < half ? &top : &bottom;
        else if (majority(id))
            to = CountFilled(bottom) < half ? &bottom : &top;
        if (to == nullptr || CountFilled(*to) >= half) continue;
        AppendAtFirstEmpty(id, *to);
        placed[i] = true;
    }
    std::vector<int> out(n + 1, 0);
    for (int i = 1; i <= half; ++i) {
        out[i] = top[i];
        out[half + i] = bottom[i];
    }
    // A player no rule places (no colour due, not flexible; the odd one of
    // an odd group) takes the first free place rather than vanish.
    for (int i = 1; i <= n; ++i)
        if (!placed[i]) AppendAtFirstEmpty(players[i], out);
    for (int i = 1; i <= half; ++i)
        if (out[i] != 0 && out[half + i] != 0 && SeedingKey(out[i]) < SeedingKey(out[half + i]))
            std::swap(out[i], out[half + i]);
    return out;
}

int SendDownOddPlayer(int g, int round) {
    std::vector<int> next{0};
    for (int h = g + 1; h < ScoreGroupsHeld() && next.size() == 1; ++h)
        next = GroupListIds(ScoreGroupAt(h).whiteDue);
    const std::vector<int> q = GroupListIds(ScoreGroupAt(g).whiteDue);
    const int n = static_cast<int>(q.size()) - 1;
    if (n < 1) return g + 1;
    int choice = q[n];
    int start = 1;
    for (int j = 1; j <= n; ++j)
        if (SeedingKey(q[j]) == 0) {
            start = j;
            break;
        }
    std::vector<int> order{0};
    for (int i = 0; i < n; ++i)
        order.push_back(q[(start - 1 + i) % n + 1]);
    int best = 0;
    bool bestOpp = false;
    const int nextCount = static_cast<int>(next.size()) - 1;
    for (int i = n; i >= 1; --i) {
        const int c = order[i];
        const int pairs = CountPairsWithoutPlayer(c, g, round);
        const bool opp = HasPossibleOpponent(c, next.data(), nextCount, round) != 0;
        if (pairs == n / 2 && opp) {
            choice = c;
            break;
        }
        if (pairs > best) {
            choice = c;
            bestOpp = opp;
            best = pairs;
        } else if (pairs == best && !bestOpp && opp) {
            choice = c;
            bestOpp = true;
        }
    }
    return MoveToFloaterList(choice, g, g + 1);
}

int MoveToFloaterList(int player, int from, int to) {
    if (std::ostream* trace = ActivePairingTrace())
        *trace << "    > moving player " << player << " from group " << from << " to Floater group " << to << "\n";
    PairingStates[player].workingColor = PairingStates[player].dueColor;
    PlayerListInsert(ScoreGroupAt(to).floaters, player, 1);
    PlayerListRemove(ScoreGroupAt(from).whiteDue, player);
    PairingStates[player].currentGroup = to;
    return to;
}

int MoveOpponentToGroup(int player, int from, int to) {
    if (std::ostream* trace = ActivePairingTrace())
        *trace << "    > moving opponent " << player << " from Group " << from << " to group " << to << "\n";
    IntQueuePush(ScoreGroupAt(to).opponents, player);
    PlayerListRemove(ScoreGroupAt(from).whiteDue, player);
    PairingStates[player].currentGroup = to;
    return to;
}

int CollectGroupCandidates(int g, std::vector<int>& ids) {
    ids = GroupListIds(ScoreGroupAt(g).whiteDue);
    const std::vector<int> black = GroupListIds(ScoreGroupAt(g).blackDue);
    ids.insert(ids.end(), black.begin() + 1, black.end());
    return static_cast<int>(ids.size()) - 1;
}

void AppendAtFirstEmpty(int id, std::vector<int>& ids) {
    for (std::size_t i = 1; i < ids.size(); ++i)
        if (ids[i] == 0) {
            ids[i] = id;
            return;
        }
}

void WriteUscfScoreGroups(int groupCount, int pass) {
    WriteScoreGroupDump(groupCount, pass, 42, [](std::ostream& out, const ScoreGroup& group) {
        if (PlayerListCount(group.whiteDue) == 0) return;
        char line[96];
        std::snprintf(line, sizeof line, "   ID  dueC  %4s  cd  \n", "Rat");
        out << line << "  " << std::string(41, '-') << "\n";
        for (const IdNode* node = group.whiteDue.head; node != nullptr; node = node->next) {
            const PairingState& state = StateRecord(node->id);
            std::snprintf(line, sizeof line, state.dueColor != 0 ? " %4d   W    %4d  %1d \n" : " %4d     B  %4d  %1d \n",
                          node->id, SeedingKey(node->id), state.colorFlexible);
            out << line;
        }
    });
}
