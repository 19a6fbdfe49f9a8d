#include "reports/standing_reports.h"

#include "reports/cross_table.h"
#include "reports/index_page.h"
#include "reports/player_cards.h"
#include "reports/result_lists.h"
#include "reports/standings.h"
#include "tournament/round_save.h"
#include "tournament/standing_reports.h"

void InstallStandingReports() {
    // The recomputation has no use for the writers' results: a report that
    // cannot be written is lost without a message.
    StandingReports.writeHtmlIndex = [] { WriteHtmlIndex(); };
    StandingReports.writePlayerCards = [](int players) { WritePlayerCards(players); };
    StandingReports.writeStandings = [](int players) { WriteStandings(players); };
    StandingReports.writeCrossTable = [](int players) { WriteCrossTable(players); };
    StandingReports.writeStandingsByCategory = [](int players) { WriteStandingsByCategory(players); };
    ResultListsWriter = WriteResultLists;
}
