#include "reports/standing_reports.h"

#include "reports/cross_table.h"
#include "reports/index_page.h"
#include "reports/player_cards.h"
#include "reports/result_lists.h"
#include "reports/standings.h"
#include "reports/writers_aside.h"
#include "tournament/round_save.h"
#include "tournament/standing_reports.h"

void InstallStandingReports() {
    // The recomputation has no use for the writers' results: a report that
    // cannot be written is noted by its file (report_file.h), for the
    // command that recomputed to alert.
    StandingReports.writeHtmlIndex = [] { WriteHtmlIndex(); };
    // The cards and the three standing reports, which only read, are made
    // at once, each on a thread of its own, and waited for last.
    StandingReports.writePlayerCards = [](int players) { StartPlayerCards(players); };
    StandingReports.writeStandings = [](int players) { WriteAside([players] { return WriteStandings(players); }); };
    StandingReports.writeCrossTable = [](int players) { WriteAside([players] { return WriteCrossTable(players); }); };
    StandingReports.writeStandingsByCategory = [](int players) {
        WriteAside([players] { return WriteStandingsByCategory(players); });
    };
    StandingReports.awaitWriters = [] { AwaitWritersAside(); };
    ResultListsWriter = WriteResultLists;
}
