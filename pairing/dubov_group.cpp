#include "pairing/dubov_group.h"

#include "pairing/group_moves.h"
#include "pairing/pair_counting.h"
#include "pairing/score_group_counts.h"
#include "pairing/score_groups.h"
#include "pairing/trace.h"
#include "tournament/pairing_predicates.h"
#include "tournament/player_list.h"
#include "tournament/players.h"
#include "tournament/round_tables.h"

#include <cstdlib>
#include <ostream>

namespace {

std::vector<int> IdsOf(const PlayerList& list) {
    std::vector<int> ids(1, 0);
    for (const IdNode* node = list.head; node != nullptr; node = node->next)
        ids.push_back(node->id);
    return ids;
}

// The group's white-due list followed by its black-due list, from index 1.
std::vector<int> GroupPlayers(int g) {
    const ScoreGroup& group = ScoreGroupAt(g);
    std::vector<int> ids = IdsOf(group.whiteDue);
    const std::vector<int> black = IdsOf(group.blackDue);
    ids.insert(ids.end(), black.begin() + 1, black.end());
    return ids;
}

int ListedPlayers(int g) {
    const ScoreGroup& group = ScoreGroupAt(g);
    return PlayerListCount(group.whiteDue) + PlayerListCount(group.blackDue);
}

// Candidates of group t for the mode's order: mode 2 black-due list first,
// mode 1 white-due list first, then sorted by the mode's candidate order.
std::vector<int> CandidatesOf(int t, int mode) {
    const ScoreGroup& group = ScoreGroupAt(t);
    std::vector<int> ids = IdsOf(mode == CandidatesBlackDueFirst ? group.blackDue : group.whiteDue);
    const std::vector<int> rest = IdsOf(mode == CandidatesBlackDueFirst ? group.whiteDue : group.blackDue);
    ids.insert(ids.end(), rest.begin() + 1, rest.end());
    SortCandidates(mode, static_cast<int>(ids.size()) - 1, ids.data());
    return ids;
}

// ceil((n - 1) / 2) pairs are left to a group of n that gives a player
// away; nothing to weigh when at most one other player stays.
int TargetWithoutOne(int n) {
    return n - 1 > 1 ? n / 2 : 0;
}

void SetTried(int id, int mark) {
    if (id > 0 && id < PlayerRows) PairingStates[id].triedMark = mark;
}

void ClearTried(const std::vector<int>& ids, int count) {
    for (int i = 1; i <= count && i < static_cast<int>(ids.size()); ++i)
        SetTried(ids[i], 0);
}

std::ostream* Trace() {
    return ActivePairingTrace();
}

// The players' ids as the trace lists them: " id, " each.
void TraceIds(std::ostream& out, const std::vector<int>& ids, int count) {
    for (int i = 1; i <= count; ++i)
        out << " " << ids[i] << ", ";
    out << "\n";
}

int ListCount(const PlayerList& list) {
    return PlayerListCount(list);
}

// Gives each of xs[1..k] an opponent from group from down: the two-player
// search first when exactly two are asked for and pairs exist, then one by
// one. On failure every reservation is undone.
bool OpponentsFor(const std::vector<int>& xs, int k, std::vector<int>& opponents, int from, int round, int groupCount,
                  bool tryBetterPair) {
    opponents.assign(static_cast<std::size_t>(k) + 1, 0);
    if (k == 2 && tryBetterPair && FindBetterOpponents(xs[1], xs[2], opponents, from, round) == 1) {
        opponents[0] = 2;
        return true;
    }
    if (FindOpponentsBelow(xs, k, opponents, from, round, groupCount) == 1) return true;
    ClearTried(opponents, opponents[0]);
    return false;
}

} // namespace

void InterleaveByColor(const std::vector<int>& src, std::vector<int>& dst, int k) {
    PlayerList white;
    PlayerList black;
    for (int i = 1; i <= k && i < static_cast<int>(src.size()); ++i) {
        const int id = src[i];
        if (id > 0 && id < PlayerRows) PairingStates[id].workingColor = PairingStates[id].dueColor;
        if (StateRecord(id).dueColor == 1)
            PlayerListInsert(white, id, 1);
        else
            PlayerListInsert(black, id, 0);
    }
    dst.assign(1, 0);
    const IdNode* w = white.head;
    const IdNode* b = black.head;
    while (w != nullptr || b != nullptr) {
        if (w != nullptr) {
            dst.push_back(w->id);
            w = w->next;
        }
        if (b != nullptr) {
            dst.push_back(b->id);
            b = b->next;
        }
    }
}

void ConcatIdArrays(int count1, const std::vector<int>& ids1, int count2, const std::vector<int>& ids2,
                    std::vector<int>& out) {
    out.assign(1, 0);
    for (int i = 1; i <= count1 && i < static_cast<int>(ids1.size()); ++i)
        out.push_back(ids1[i]);
    for (int i = 1; i <= count2 && i < static_cast<int>(ids2.size()); ++i)
        out.push_back(ids2[i]);
}

void BalanceColorLists(int g, int whiteCount, int blackCount) {
    const int d = whiteCount - blackCount;
    const bool whiteSurplus = d > 0;
    for (int transfer = 0; transfer < std::abs(d) / 2; ++transfer) {
        const ScoreGroup& group = ScoreGroupAt(g);
        // [0]: players with a firm colour wish, [1]: without one.
        int chosen[2] = {0, 0};
        float bestKey[2] = {whiteSurplus ? 1000000.0f : 0.0f, whiteSurplus ? 1000000.0f : 0.0f};
        int bestSeed[2] = {whiteSurplus ? 0 : 1000000, whiteSurplus ? 0 : 1000000};
        for (const IdNode* node = (whiteSurplus ? group.whiteDue : group.blackDue).head; node != nullptr;
             node = node->next) {
            const int id = node->id;
            const Player& p = PlayerRecord(id);
            const int c = StateRecord(id).colorFlexible != 0 ? 1 : 0;
            bool better = false;
            if (whiteSurplus)
                better = p.pairingKey < bestKey[c] || (p.pairingKey == bestKey[c] && p.seedingKey > bestSeed[c]);
            else
                better = p.pairingKey > bestKey[c] || (p.pairingKey == bestKey[c] && p.seedingKey < bestSeed[c]);
            if (!better) continue;
            chosen[c] = id;
            bestKey[c] = p.pairingKey;
            bestSeed[c] = p.seedingKey;
        }
        const int id = chosen[1] != 0 ? chosen[1] : chosen[0];
        if (id == 0) return;
        MovePlayerBetweenColorLists(id, g, whiteSurplus ? 1 : 0, g, whiteSurplus ? 0 : 1);
    }
}

int FindIslands(int g, std::vector<int>& islands, int round) {
    islands.assign(1, 0);
    const std::vector<int> players = GroupPlayers(g);
    const int m = static_cast<int>(players.size()) - 1;
    if (m == 0 || m > round) return 0;
    // Checked in the order of the rotation: the last player, then the first,
    // the second and so on, each against everybody else.
    for (int step = 0; step < m; ++step) {
        const int index = step == 0 ? m : step;
        std::vector<int> others(1, 0);
        for (int i = 1; i <= m; ++i)
            if (i != index) others.push_back(players[i]);
        if (HasPossibleOpponent(players[index], others.data(), m - 1, round) == 0) islands.push_back(players[index]);
    }
    return static_cast<int>(islands.size()) - 1;
}

int FindOpponentBelow(int x, int from, int round, int groupCount) {
    const int mode = StateRecord(x).dueColor != 0 ? CandidatesBlackDueFirst : CandidatesWhiteDueFirst;
    for (int t = from; t <= groupCount && t <= MaxScoreGroups; ++t) {
        const std::vector<int> candidates = CandidatesOf(t, mode);
        for (std::size_t i = 1; i < candidates.size(); ++i) {
            const int c = candidates[i];
            if (CanPlayersMeet(x, c, round) == 0 || StateRecord(c).triedMark != 0) continue;
            SetTried(c, 1);
            return c;
        }
    }
    return -1;
}

int FindOpponentsBelow(const std::vector<int>& xs, int k, std::vector<int>& opponents, int from, int round,
                       int groupCount) {
    opponents.assign(static_cast<std::size_t>(k < 0 ? 0 : k) + 1, 0);
    for (int i = 1; i <= k && i < static_cast<int>(xs.size()); ++i) {
        const int y = FindOpponentBelow(xs[i], from, round, groupCount);
        if (y == -1) return 0;
        opponents[i] = y;
        opponents[0] = i;
    }
    return opponents[0] == k ? 1 : 0;
}

int FindBetterOpponent(int x, std::vector<int>& opponent, int from, int round, int groupCount) {
    if (opponent.size() < 2) opponent.resize(2, 0);
    const int mode = StateRecord(x).dueColor == 1 ? CandidatesBlackDueFirst : CandidatesWhiteDueFirst;
    for (int t = from; t <= groupCount && t <= MaxScoreGroups; ++t) {
        const std::vector<int> candidates = CandidatesOf(t, mode);
        const int target = TargetWithoutOne(ListedPlayers(t));
        int best = 0;
        int remembered = 0;
        for (std::size_t i = 1; i < candidates.size(); ++i) {
            const int c = candidates[i];
            if (CanPlayersMeet(x, c, round) == 0) continue;
            const int d = target != 0 ? CountPairsWithChange(c, t, 0, round) : 0;
            const bool reached = d == target || d < 0;
            if (!reached && std::abs(d) <= best) continue;
            if (std::ostream* out = Trace()) *out << "    ... " << c << " better opponent: (D=" << d << ")\n";
            if (reached) {
                opponent[1] = c;
                return 1;
            }
            best = std::abs(d);
            remembered = c;
        }
        if (remembered != 0) {
            opponent[1] = remembered;
            return 1;
        }
    }
    return 0;
}

int FindBetterOpponents(int x1, int x2, std::vector<int>& opponents, int from, int round) {
    if (opponents.size() < 3) opponents.resize(3, 0);
    int t = from < 1 ? 1 : from;
    const int held = ScoreGroupsHeld();
    while (t < held && ListedPlayers(t) == 0)
        ++t;
    if (t >= held) return 0;
    const int n = ListedPlayers(t);
    if (n <= 1) return 0;
    auto candidatesFor = [&](int x) {
        const int mode = StateRecord(x).dueColor == 1 ? CandidatesBlackDueFirst : CandidatesWhiteDueFirst;
        std::vector<int> kept(1, 0);
        const std::vector<int> all = CandidatesOf(t, mode);
        for (std::size_t i = 1; i < all.size(); ++i)
            if (CanPlayersMeet(x, all[i], round) != 0) kept.push_back(all[i]);
        return kept;
    };
    const std::vector<int> first = candidatesFor(x1);
    const std::vector<int> second = candidatesFor(x2);
    const int target = (n - 1) / 2; // ceil((n - 2) / 2)
    bool lastRemembered = false;
    int keep1 = 0;
    int keep2 = 0;
    for (std::size_t i = 1; i < first.size(); ++i) {
        const int y1 = first[i];
        lastRemembered = false;
        for (std::size_t j = 1; j < second.size() && !lastRemembered; ++j) {
            const int y2 = second[j];
            if (y2 == y1) continue;
            const int d = CountPairsWithoutTwo(y1, y2, t, round);
            const bool reached = d == target || d < 0;
            if (!reached && d == 0) continue;
            if (std::ostream* out = Trace())
                *out << "    ... better opponents " << y1 << ", " << y2 << ": (D=" << d << ")\n";
            if (reached) {
                opponents[1] = y1;
                opponents[2] = y2;
                return 1;
            }
            lastRemembered = true;
            keep1 = y1;
            keep2 = y2;
        }
    }
    if (!lastRemembered) return 0;
    opponents[1] = keep1;
    opponents[2] = keep2;
    return 1;
}

int FindUpfloater(int g, int round, int groupCount) {
    const ScoreGroup& group = ScoreGroupAt(g);
    const int a = ListCount(group.whiteDue);
    const int b = ListCount(group.blackDue);
    const std::vector<int> players = GroupPlayers(g);
    const int m = a + b;
    const int mode = a > b ? CandidatesBlackDueFirst : CandidatesWhiteDueFirst;
    const int upTarget = (m + 1) / 2;
    for (int t = g + 1; t <= groupCount && t <= MaxScoreGroups; ++t) {
        const std::vector<int> candidates = CandidatesOf(t, mode);
        const int downTarget = TargetWithoutOne(ListedPlayers(t));
        int chosen = 0;
        int bestU = 0;
        int bestD = 0;
        for (std::size_t i = 1; i < candidates.size(); ++i) {
            const int c = candidates[i];
            if (HasPossibleOpponent(c, players.data(), m, round) == 0) continue;
            const int u = upTarget > 1 ? CountPairsWithChange(c, g, 1, round) : -upTarget;
            const int d = downTarget != 0 ? CountPairsWithChange(c, t, 0, round) : 0;
            std::ostream* out = Trace();
            if ((u == upTarget || u < 0) && (d == downTarget || d < 0)) {
                if (out) *out << "    ... better upfloater:" << c << " (U=" << u << ", D=" << d << ")\n";
                chosen = c;
                break;
            }
            if (std::abs(u) > bestU) {
                if (out) *out << "    ... better upfloater:" << c << " (U=" << u << ", D=" << d << ")\n";
                chosen = c;
                bestU = std::abs(u);
                bestD = std::abs(d);
            } else if (std::abs(u) == bestU && std::abs(d) > bestD) {
                if (out) *out << "    ... better upfloater:" << c << " (U=" << bestU << ", D=" << d << ")\n";
                chosen = c;
                bestD = std::abs(d);
            }
        }
        if (chosen == 0) continue;
        MovePlayerBetweenColorLists(chosen, t, SitsInWhiteDueList(chosen, t), g, StateRecord(chosen).dueColor == 1 ? 1 : 0);
        return 1;
    }
    return 0;
}

namespace {

// [Ch 8]: the players who floated down into g get opponents, from g itself
// down. The floaters stay in g's downfloater queue, their opponents join its
// opponent queue in the same order.
bool PairFloaters(int g, int round, int groupCount) {
    ScoreGroup& group = ScoreGroupAt(g);
    const int f = IntQueueCount(group.downfloaters);
    if (f == 0 || PlayersInGroupsFrom(g, groupCount) < f) return true;
    if (std::ostream* out = Trace()) *out << "[Ch 8] FLOATERS: " << f << "\n";
    std::vector<int> queued(1, 0);
    for (int i = 1; i <= f; ++i)
        queued.push_back(IntQueuePop(group.downfloaters));
    std::vector<int> floaters;
    InterleaveByColor(queued, floaters, f);
    std::vector<int> opponents;
    if (!OpponentsFor(floaters, f, opponents, g, round, groupCount, ListedPlayers(g) > 1)) {
        for (int i = 1; i <= f; ++i)
            IntQueuePush(group.downfloaters, queued[i]);
        return false;
    }
    for (int i = 1; i <= f; ++i)
        IntQueuePush(group.downfloaters, floaters[i]);
    for (int i = 1; i <= f; ++i) {
        SetTried(opponents[i], 0);
        MoveToOpponentGroup(opponents[i], StateRecord(opponents[i]).currentGroup, g);
    }
    return true;
}

// [Ch 7.1]: players of g who can meet nobody in it float into g's own
// downfloater queue, each with an opponent from the groups below.
bool PairIslands(int g, int round, int groupCount) {
    if (ListedPlayers(g) <= 1) return true;
    std::vector<int> islands;
    const int k = FindIslands(g, islands, round);
    if (k == 0 || PlayersInGroupsFrom(g + 1, groupCount) < k) return true;
    if (std::ostream* out = Trace()) {
        *out << "[Ch 7.1] found " << k << " ISLAND(s): ";
        TraceIds(*out, islands, k);
    }
    std::vector<int> opponents;
    if (k == 1) {
        opponents.assign(2, 0);
        if (FindBetterOpponent(islands[1], opponents, g + 1, round, groupCount) == 0) return false;
    } else {
        std::vector<int> ordered;
        InterleaveByColor(islands, ordered, k);
        islands = ordered;
        if (!OpponentsFor(islands, k, opponents, g + 1, round, groupCount, true)) return false;
    }
    for (int i = 1; i <= k; ++i) {
        MoveToFloaterGroup(islands[i], StateRecord(islands[i]).currentGroup, g);
        SetTried(opponents[i], 0);
        MoveToOpponentGroup(opponents[i], StateRecord(opponents[i]).currentGroup, g);
    }
    return true;
}

// The first group below g that holds any player.
int NextGroupWithPlayers(int g, int groupCount) {
    for (int t = g + 1; t <= groupCount && t <= MaxScoreGroups; ++t)
        if (PlayersInGroupsFrom(t, t) > 0) return t;
    return 0;
}

} // namespace

int PairScoreGroup(int g, int round, int groupCount, std::vector<SearchPair>& pairs, int& count) {
    pairs.assign(1, SearchPair{});
    count = 0;
    if (std::ostream* out = Trace())
        *out << "\n================================\n Pairing group " << g << "\n================================\n";

    if (!PairFloaters(g, round, groupCount)) return 0;
    if (!PairIslands(g, round, groupCount)) return 0;

    ScoreGroup& group = ScoreGroupAt(g);
    int a = ListCount(group.whiteDue);
    int b = ListCount(group.blackDue);
    if ((a + b) % 2 == 1 && PlayersInGroupsFrom(g + 1, groupCount) > 0) {
        if (std::ostream* out = Trace()) *out << "[Ch 7.2] Group odd! " << a << " White e " << b << " Black\n";
        if (FindUpfloater(g, round, groupCount) == 0) return 0;
    }

    a = ListCount(group.whiteDue);
    b = ListCount(group.blackDue);
    if (a != b) {
        if (std::ostream* out = Trace())
            *out << "\n[Ch 7.3 7.4] Colors not equal " << a << " White e " << b << " Black\n";
        BalanceColorLists(g, a, b);
    }

    a = ListCount(group.whiteDue);
    b = ListCount(group.blackDue);
    std::vector<SearchPair> found(1, SearchPair{});
    int c = 0;
    if (a + b > 0) {
        const int n = a + b;
        const std::vector<int> players = GroupPlayers(g);
        const int limit = CountSatisfiablePairs(n, players);
        if (std::ostream* out = Trace()) *out << "\n[Standard case] " << a << " White e " << b << " Black\n";
        PairingSearch search;
        CreatePairingSearch(search);
        std::vector<SearchPair> complete;
        std::vector<int> leftovers;
        std::vector<SearchPair> partial;
        c = std::abs(PairGroupHomogeneous(search, n, limit, players, complete, leftovers, partial, round));
        DisposePairingSearch(search);
        found = c == n / 2 ? complete : partial;
        // Complete only when nobody is left, the odd last player included.
        if (c == a && 2 * c == n) {
            if (std::ostream* out = Trace())
                for (int i = 1; i <= c; ++i)
                    *out << "  " << found[i].first << "\t - " << found[i].second << "\n";
        } else {
            const int left = static_cast<int>(leftovers.size()) - 1;
            if (std::ostream* out = Trace()) {
                *out << "\n[Ch 6.4] remained " << left << " floaters: ";
                TraceIds(*out, leftovers, left);
            }
            if (left > 0) {
                const int below = g < groupCount && PlayersInGroupsFrom(g + 1, groupCount) >= left
                                      ? NextGroupWithPlayers(g, groupCount)
                                      : 0;
                if (below == 0) return 0;
                for (int i = 1; i <= left; ++i)
                    MoveToFloaterGroup(leftovers[i], g, below);
            }
        }
    }

    // A floater without an opponent cannot go out; the driver merges.
    if (IntQueueCount(group.downfloaters) != IntQueueCount(group.opponents)) return 0;
    std::vector<int> floaters(1, 0);
    std::vector<int> opponents(1, 0);
    floaters.resize(static_cast<std::size_t>(IntQueueCount(group.downfloaters)) + 1);
    opponents.resize(static_cast<std::size_t>(IntQueueCount(group.opponents)) + 1);
    IntQueueToArray(group.downfloaters, floaters.data(), floaters.size());
    IntQueueToArray(group.opponents, opponents.data(), opponents.size());
    for (std::size_t i = 1; i < floaters.size(); ++i)
        pairs.push_back({floaters[i], opponents[i]});
    for (int i = 1; i <= c && i < static_cast<int>(found.size()); ++i)
        pairs.push_back(found[i]);
    count = static_cast<int>(pairs.size()) - 1;
    return 1;
}
