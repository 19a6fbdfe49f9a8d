#include "pairing/group_moves.h"

#include "pairing/score_groups.h"
#include "pairing/trace.h"
#include "tournament/round_tables.h"

#include <ostream>

namespace {

bool ListHolds(const PlayerList& list, int id) {
    for (const IdNode* node = list.head; node != nullptr; node = node->next)
        if (node->id == id) return true;
    return false;
}

void MoveToQueue(int p, int from, int to, const char* whiteText, const char* blackText, bool opponents) {
    const bool white = SitsInWhiteDueList(p, from) != 0;
    if (std::ostream* out = ActivePairingTrace())
        *out << "    > moving player " << p << " from [" << from << (white ? whiteText : blackText) << to << "\n";
    ScoreGroup& source = ScoreGroupAt(from);
    PlayerListRemove(white ? source.whiteDue : source.blackDue, p);
    ScoreGroup& target = ScoreGroupAt(to);
    IntQueuePush(opponents ? target.opponents : target.downfloaters, p);
    if (p > 0 && p < PlayerRows) {
        PairingStates[p].currentGroup = to;
        PairingStates[p].workingColor = PairingStates[p].dueColor;
    }
}

} // namespace

// A stale workingColor must not make a move miss the player and leave him in
// two places, so the lists themselves decide.
int SitsInWhiteDueList(int p, int g) {
    const ScoreGroup& group = ScoreGroupAt(g);
    if (StateRecord(p).workingColor == 1) return ListHolds(group.whiteDue, p) || !ListHolds(group.blackDue, p) ? 1 : 0;
    return !ListHolds(group.blackDue, p) && ListHolds(group.whiteDue, p) ? 1 : 0;
}

void MovePlayerBetweenColorLists(int p, int from, int fromWhite, int to, int toWhite) {
    if (std::ostream* out = ActivePairingTrace())
        *out << "    > moving player " << p << " from [" << from << (fromWhite != 0 ? " W] to [" : " B] to [") << to
             << (toWhite != 0 ? " W]\n" : " B]\n");
    ScoreGroup& source = ScoreGroupAt(from);
    PlayerListRemove(fromWhite != 0 ? source.whiteDue : source.blackDue, p);
    ScoreGroup& target = ScoreGroupAt(to);
    PlayerListInsert(toWhite != 0 ? target.whiteDue : target.blackDue, p, toWhite != 0 ? 1 : 0);
    if (p > 0 && p < PlayerRows) {
        PairingStates[p].currentGroup = to;
        PairingStates[p].workingColor = toWhite != 0 ? 1 : 0;
    }
}

void MoveToFloaterGroup(int p, int from, int to) {
    MoveToQueue(p, from, to, " W] to floater group ", " B] to floater group ", false);
}

void MoveToOpponentGroup(int p, int from, int to) {
    MoveToQueue(p, from, to, " W] to opponent group ", " B] to opponent group ", true);
}

int PlayersInGroupsFrom(int g, int groupCount) {
    int count = 0;
    for (int t = g < 1 ? 1 : g; t <= groupCount && t <= MaxScoreGroups; ++t) {
        const ScoreGroup& group = ScoreGroupAt(t);
        count += PlayerListCount(group.whiteDue) + PlayerListCount(group.blackDue) + IntQueueCount(group.downfloaters) +
                 IntQueueCount(group.opponents);
    }
    return count;
}
