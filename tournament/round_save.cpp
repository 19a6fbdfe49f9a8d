#include "tournament/round_save.h"

#include "tournament/files/round_state_file.h"
#include "tournament/round_tables.h"

#include <string>

bool (*ResultListsWriter)(int round) = nullptr;

bool SaveRound(int round) {
    if (round < 1 || round > ActiveTables().lastRound()) return false;
    const std::string snapshot = RoundSnapshotPath(round);
    RebuildRoundTables(round);
    const bool written = WriteRoundStateFile(snapshot);
    if (ResultListsWriter != nullptr) ResultListsWriter(round);
    return written;
}
