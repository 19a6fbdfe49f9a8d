#include "tournament/round_save.h"

#include "tournament/files/round_state_file.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"

#include <string>

bool (*ResultListsWriter)(int round) = nullptr;

bool SaveRoundState(int round) {
    if (round < 1 || round > ActiveTables().lastRound()) return false;
    RebuildRoundTables(round);
    return round != CurrentRound || WriteRoundStateFile(RoundSnapshotPath(round));
}

void WriteRoundResultLists(int round) {
    if (ResultListsWriter != nullptr) ResultListsWriter(round);
}

bool SaveRound(int round) {
    if (round < 1 || round > ActiveTables().lastRound()) return false;
    const bool written = SaveRoundState(round);
    WriteRoundResultLists(round);
    return written;
}
