#include "pairing/score_group_counts.h"

#include "pairing/pair_counting.h"
#include "pairing/score_groups.h"

#include <vector>

namespace {

// The ids of a list, from index 1.
std::vector<int> IdsOf(const PlayerList& list) {
    std::vector<int> ids(PlayerListCount(list) + 1, 0);
    PlayerListToArray(list, ids.data(), ids.size());
    return ids;
}

// Group t's white-due list followed by its black-due list, from index 1.
std::vector<int> GroupPlayers(int t) {
    ScoreGroup& group = ScoreGroupAt(t);
    std::vector<int> ids = IdsOf(group.whiteDue);
    const std::vector<int> black = IdsOf(group.blackDue);
    ids.insert(ids.end(), black.begin() + 1, black.end());
    return ids;
}

} // namespace

int CountPairsWithChange(int c, int t, int with, int round) {
    return CountPairsToTarget(WithPlayerChanged(GroupPlayers(t), c, with), round);
}

int CountPairsWithoutTwo(int c1, int c2, int t, int round) {
    return CountPairsToTarget(WithoutPlayers(GroupPlayers(t), c1, c2), round);
}

int CountPairsWithoutPlayer(int player, int g, int round) {
    return CountPairsWithoutPlayerAmong(IdsOf(ScoreGroupAt(g).whiteDue), player, round);
}
