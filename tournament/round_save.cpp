#include "tournament/round_save.h"

#include "tournament/files/round_state_file.h"
#include "tournament/files/tournament_change.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"

#include <string>

bool (*ResultListsWriter)(int round) = nullptr;

namespace {

bool InTables(int round) {
    return round >= 1 && round <= ActiveTables().lastRound();
}

} // namespace

bool SaveRoundState(int round, Journal& change) {
    if (!InTables(round)) return false;
    RebuildRoundTables(round);
    if (round == CurrentRound) WriteRoundStateFileInto(change.write(RoundSnapshotPath(round)));
    return true;
}

void WriteRoundResultLists(int round) {
    if (ResultListsWriter != nullptr) ResultListsWriter(round);
}

bool SaveRound(int round) {
    if (!InTables(round)) return false;
    TournamentChange change;
    SaveRoundState(round, change.journal());
    const bool written = change.commit();
    WriteRoundResultLists(round);
    return written;
}
