// Every report file of the small tournament, compared byte for byte with
// the files under golden/. Run with TM_UPDATE_GOLDEN=1 to rewrite them after
// a deliberate change, then read the difference before committing it.
#include "report_checks.h"

#include "reports/board_cards.h"
#include "reports/index_page.h"
#include "reports/pairing_lists.h"
#include "reports/result_lists.h"

namespace {

TEST(GoldenReports, PairingListsOfAPairedRound) {
    SetUpReportTournament("golden_pairing");
    ASSERT_TRUE(WritePairingLists(2));
    ExpectGolden("pairs2.txt", "pairs2.txt");
    ExpectGolden("pairs2.html", "pairs2.html");
    ExpectGolden("pairing2.txt", "pairing2.txt");
    ExpectGolden("pairs2.man", "pairs2.man");
}

TEST(GoldenReports, ResultListsOfAPlayedRound) {
    SetUpReportTournament("golden_result");
    ASSERT_TRUE(WriteResultLists(1));
    ExpectGolden("result1.txt", "result1.txt");
    ExpectGolden("result1.html", "result1.html");
}

TEST(GoldenReports, HomePageWhileARoundAwaitsItsResults) {
    SetUpReportTournament("golden_index");
    ASSERT_TRUE(WriteHtmlIndex());
    ExpectGolden("index.html", "index.html");
}

TEST(GoldenReports, BoardCardsAsTextAndRtf) {
    SetUpReportTournament("golden_cards");
    ASSERT_TRUE(WriteBoardCards(1));
    ASSERT_TRUE(WriteBoardCardsRtf(1));
    ExpectGolden("boardcrd.txt", "boardcrd.txt");
    ExpectGolden("boardcrd.rtf", "boardcrd.rtf");
}

TEST(GoldenReports, RoundRobinSchedule) {
    SetUpReportTournament("golden_rr");
    PlayerCount = 3; // a single round robin of three: three rounds, one BYE each
    Settings.PairingSystem = SingleRoundRobinSystem;
    SetTestBoard(1, 1, 1, 0, WhiteWins);
    SetTestBoard(1, 2, 2, 3, Draw);
    SetTestBoard(2, 1, 0, 3, NotPlayed);
    SetTestBoard(2, 2, 1, 2, NotPlayed);
    SetTestBoard(3, 1, 2, 0, NotPlayed);
    SetTestBoard(3, 2, 3, 1, NotPlayed);
    ASSERT_TRUE(WriteRoundRobinPairings());
    ExpectGolden("pairsRR.txt", "pairsRR.txt");
}

} // namespace
