#include "pairing/dubov_engine.h"

#include "pairing/dubov_group.h"
#include "pairing/group_moves.h"
#include "pairing/group_round_driver.h"
#include "pairing/round_dispatcher.h"
#include "pairing/round_trace.h"
#include "pairing/score_groups.h"
#include "pairing/trace.h"
#include "pairing/pairing_stats.h"
#include "tournament/game_code.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/pairing_predicates.h"
#include "tournament/player_list.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/run_options.h"
#include "tournament/settings.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

namespace {

void Alert(MessageNumber message) {
    ShowAlert(MessageText(message), MessageText(MsgClose));
}

int HeldBy(int g) {
    return PlayersInGroupsFrom(g, g);
}

// Empties a queue of group from into group to's colour lists by colour due.
void MergeQueue(IntQueue& queue, int to, bool mayFloatUp) {
    ScoreGroup& target = ScoreGroupAt(to);
    for (int p = IntQueuePop(queue); p != 0; p = IntQueuePop(queue)) {
        PairingState& state = PairingStates[p];
        const bool white = state.dueColor != 0;
        PlayerListInsert(white ? target.whiteDue : target.blackDue, p, white ? 1 : 0);
        state.workingColor = white ? 1 : 0;
        if (mayFloatUp) state.mayFloatUp = 1;
        state.currentGroup = to;
    }
}

void MergeColorList(int g, int fromWhite, int to) {
    ScoreGroup& group = ScoreGroupAt(g);
    const std::vector<int> ids = GroupListIds(fromWhite != 0 ? group.whiteDue : group.blackDue);
    for (std::size_t i = 1; i < ids.size(); ++i) {
        MovePlayerBetweenColorLists(ids[i], g, fromWhite, to, PairingStates[ids[i]].dueColor != 0 ? 1 : 0);
        PairingStates[ids[i]].mayFloatUp = 1;
    }
}

// The nearest group above g holding any player, 0 when there is none.
int MergeTarget(int g) {
    for (int t = g - 1; t >= 1; --t)
        if (HeldBy(t) > 0) return t;
    return 0;
}

// The round's pairs are sound when every player left in the groups (the
// BYE receiver is out of them) sits on exactly one board, against an
// opponent he may meet, and the boards hold the round's players.
bool PairsAreSound(const std::vector<SearchPair>& pairs, int players, int toPair, int round) {
    if (static_cast<int>(pairs.size()) - 1 != toPair / 2) return false;
    std::vector<int> seen(static_cast<std::size_t>(players) + 1, 0);
    for (std::size_t k = 1; k < pairs.size(); ++k) {
        const int a = pairs[k].first, b = pairs[k].second;
        if (a < 1 || a > players || b < 1 || b > players || a == b) return false;
        if (seen[a]++ != 0 || seen[b]++ != 0) return false;
        if (CanPlayersMeet(a, b, round) == 0) return false;
    }
    return true;
}

void TraceLine(const char* text) {
    if (std::ostream* trace = ActivePairingTrace()) *trace << text;
}

void DumpOfSystem(int groupCount, int pass) {
    if (Settings.PairingSystem == SwissQuonSystem)
        WriteOwnSwissScoreGroups(groupCount, pass);
    else
        WriteDubovScoreGroups(groupCount, pass);
}

// Ends a pairing that failed: closes the trace and gives 0.
int Fail() {
    ClosePairingTrace();
    return 0;
}

// The same after the alert of message.
int Fail(MessageNumber message) {
    Alert(message);
    return Fail();
}

} // namespace

void RegisterDubovEngine() {
    RegisterPairingEngine(FideDubovSystem, PairSwissRound);
    RegisterPairingEngine(SwissQuonSystem, PairSwissRound);
}

int MergeScoreGroups(int g) {
    const int t = MergeTarget(g);
    if (t == 0) return 1;
    if (std::ostream* trace = ActivePairingTrace())
        *trace << "   >>> I am going to merge group " << g << " with group " << t << "\n";
    MergeColorList(g, 1, t);
    MergeColorList(g, 0, t);
    MergeQueue(ScoreGroupAt(g).downfloaters, t, true);
    MergeQueue(ScoreGroupAt(g).opponents, t, true);
    MergeQueue(ScoreGroupAt(t).downfloaters, t, false);
    MergeQueue(ScoreGroupAt(t).opponents, t, false);
    return t;
}

int PairSwissRound(int players, int round) {
    return PairSwissRoundWith(players, round, PairScoreGroup);
}

int PairSwissRoundWith(int players, int round, GroupPairer pairGroup) {
    OpenPairingTrace(round);
    if (std::ostream* trace = ActivePairingTrace()) *trace << "***** Pairing round " << round << "\n\n";
    int groupCount = 0;
    int toPair = MakeScoreGroups(players, groupCount);
    if (toPair < 0) return Fail();
    DumpOfSystem(groupCount, 0);
    // The budget stays the one of the groups first made, across restarts.
    const int budget = 5 * groupCount;
    int attempts = 0;
    bool upfloatRestartDone = false;
    bool mergeRestartDone = false;
    // offsets[g]: the place in the round's pairs after which g's pairs go.
    std::vector<int> offsets(groupCount + 2, 0);
    std::vector<SearchPair> roundPairs(1);
    std::vector<SearchPair> groupPairs;
    int g = 1;
    while (g <= groupCount && PlayersInGroupsFrom(g, groupCount) > 0) {
        while (g <= groupCount && ScoreGroupSize(g) == 0) {
            if (std::ostream* trace = ActivePairingTrace())
                *trace << "\n" << GroupTraceRule << "\nGroup " << g << " without players\n" << GroupTraceRule << "\n\n";
            offsets[g + 1] = offsets[g];
            ++g;
            ++attempts;
        }
        if (g > groupCount) break;
        int count = 0;
        groupPairs.assign(1, SearchPair{});
        if (pairGroup(g, round, groupCount, groupPairs, count) == 1) {
            roundPairs.resize(static_cast<std::size_t>(offsets[g]) + 1);
            for (int k = 1; k <= count && k < static_cast<int>(groupPairs.size()); ++k)
                roundPairs.push_back(groupPairs[k]);
            offsets[g + 1] = static_cast<int>(roundPairs.size()) - 1;
            ++g;
            ++attempts;
            continue;
        }
        // A group with nobody above to merge into cannot be paired again
        // with its queues as the failed attempt left them: the round goes on
        // to the restarts at once, and fails when they are spent.
        if (g == 1 || MergeTarget(g) == 0) {
            if (mergeRestartDone) return Fail(MsgTopGroupCannotBePaired);
        } else {
            g = MergeScoreGroups(g);
            ++attempts;
            if (attempts < budget) continue;
            if (mergeRestartDone) return Fail(MsgPairingStops);
        }
        attempts = 0;
        if (!upfloatRestartDone) {
            upfloatRestartDone = true;
            TraceLine("\n\n++++++++++++++++++++++++++++++++++++++++++++++++++++++++\n");
            TraceLine("I can't do pairing!\n Trying to set all upfloater ON and restart\n");
            TraceLine("++++++++++++++++++++++++++++++++++++++++++++++++++++++++\n\n");
            Alert(MsgPairingAgainWithUpfloats);
            ++PairingStats.restarts;
            ClearScoreGroups(round);
            for (int p = 1; p <= players && p < PlayerRows; ++p) {
                PairingState& state = PairingStates[p];
                state.mayFloatUp = 1;
                state.triedMark = 0;
                state.currentGroup = state.initialGroup;
                state.workingColor = state.dueColor;
            }
            toPair = MakeScoreGroups(players, groupCount);
            if (toPair < 0) return Fail();
        } else {
            mergeRestartDone = true;
            TraceLine("\n\n+++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++\n");
            TraceLine("  I can't do pairing!\n  Trying to merge all the group and restart\n");
            TraceLine("+++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++\n\n");
            Alert(MsgPairingAgainMerged);
            ++PairingStats.restarts;
            ClearScoreGroups(round);
            MergedMode = 1;
            toPair = MakeScoreGroups(players, groupCount);
            if (toPair < 0) {
                MergedMode = 0;
                return Fail();
            }
            for (int i = groupCount; i > 1;)
                i = MergeScoreGroups(i);
            if (ActivePairingTrace() != nullptr) WriteDubovScoreGroups(groupCount, 2);
            MergedMode = 0;
        }
        offsets.assign(groupCount + 2, 0);
        roundPairs.assign(1, SearchPair{});
        g = 1;
    }
    // Nothing reaches the table unless each player has one board and an
    // opponent he may meet: a broken round fails instead.
    if (!PairsAreSound(roundPairs, players, toPair, round)) return Fail(MsgPairingStops);
    if (ActivePairingTrace() != nullptr) DumpOfSystem(groupCount, 1);
    const int boards = toPair % 2 == 1 ? (toPair - 1) / 2 + 1 : toPair / 2;
    GameTable(0, round) = boards;
    for (int k = 1; k <= toPair / 2; ++k)
        GameTable(k, round) = EncodeGameCode(roundPairs[k].first, roundPairs[k].second, NotPlayed);
    ClosePairingTrace();
    return 1;
}

namespace {

// Where a player's fields stand in a dump row.
enum class Side { LeftOfPair, LeftAlone, Right };
// Formats one player's fields for his place in a row of a table.
using SideWriter = void (*)(char* out, std::size_t size, int id, bool colorTable, Side side);

struct DumpLayout {
    const char* floaterTitle;
    const char* colorTitle;
    const char* header;         // with the column names already in
    SideWriter side;
};

int BuchholzKey(int id) {
    return 10 * static_cast<int>(ScoreRecord(id).buchholzTotal);
}

int SeedingOf(int id) {
    return id >= 1 && id < PlayerRows ? Players[id].seedingKey : 0;
}

void DubovSide(char* out, std::size_t size, int id, bool colorTable, Side side) {
    const PairingState& state = StateRecord(id);
    // The black-due side's rating average is not zero-padded.
    const char* format = !colorTable           ? "%4d %06.1f %4d c%1d u%1d"
                         : side == Side::Right ? "%4d %6.1f %4d  %1d  %1d"
                                               : "%4d %06.1f %4d  %1d  %1d";
    std::snprintf(out, size, format, id, static_cast<double>(ScoreRecord(id).aro), SeedingOf(id),
                  state.colorFlexible, state.mayFloatUp);
}

void SwissSide(char* out, std::size_t size, int id, bool colorTable, Side side) {
    const PairingState& state = StateRecord(id);
    // A floater row with no right side has one blank between the numbers.
    const char* format = colorTable                ? "%4d  %4d  %1d  %1d"
                         : side == Side::LeftAlone ? "%4d %4d c%1d u%1d"
                                                   : "%4d  %4d c%1d u%1d";
    std::snprintf(out, size, format, id, BuchholzKey(id), state.colorFlexible, state.mayFloatUp);
}

void WriteTable(std::ostream& out, const DumpLayout& layout, bool colorTable, const std::vector<int>& left,
                const std::vector<int>& right, int missingLeftWidth) {
    out << (colorTable ? layout.colorTitle : layout.floaterTitle) << layout.header;
    out << (colorTable ? "  ---------------------------------------------\n"
                       : "  ----------------------------------------\n");
    const std::size_t rows = std::max(left.size(), right.size());
    char l[64], r[64], pad[32];
    for (std::size_t i = 1; i < rows; ++i) {
        const bool hasLeft = i < left.size(), hasRight = i < right.size();
        if (hasLeft) layout.side(l, sizeof l, left[i], colorTable, hasRight ? Side::LeftOfPair : Side::LeftAlone);
        if (hasRight) layout.side(r, sizeof r, right[i], colorTable, Side::Right);
        if (hasLeft && hasRight)
            out << l << " | " << r << "\n";
        else if (hasLeft)
            out << l << " |\n";
        else {
            std::snprintf(pad, sizeof pad, "%*s", missingLeftWidth, " ");
            out << pad << " | " << r << "\n";
        }
    }
    if (!colorTable) out << " - - - - - - - - - - - - - - - - - - - -\n";
}

void WriteDump(int groupCount, int pass, const DumpLayout& layout, int floaterPad, int colorPad) {
    WriteScoreGroupDump(groupCount, pass, 47, [&](std::ostream& out, const ScoreGroup& group) {
        if (IntQueueCount(group.downfloaters) + IntQueueCount(group.opponents) > 0)
            WriteTable(out, layout, false, GroupListIds(group.downfloaters), GroupListIds(group.opponents), floaterPad);
        if (PlayerListCount(group.whiteDue) + PlayerListCount(group.blackDue) > 0)
            WriteTable(out, layout, true, GroupListIds(group.whiteDue), GroupListIds(group.blackDue), colorPad);
    });
}

} // namespace

void WriteDubovScoreGroups(int groupCount, int pass) {
    char header[96];
    std::snprintf(header, sizeof header, "%4s %6s %4s  c  u | %4s %6s %4s  c  u\n", "ID", " ARO ", "Rat", "ID",
                  " ARO ", "Rat");
    const DumpLayout layout{"              floaters |  opponents\n", "                 white |  black\n", header, DubovSide};
    WriteDump(groupCount, pass, layout, 22, 22);
}

void WriteOwnSwissScoreGroups(int groupCount, int pass) {
    char header[96];
    std::snprintf(header, sizeof header, "%4s  %4s  c  u | %4s  %4s  c  u\n", "ID", "Buc", "ID", "Buc");
    const DumpLayout layout{"         floaters |  opponents\n", "           white |  black\n", header, SwissSide};
    WriteDump(groupCount, pass, layout, 17, 16);
}
