// The national rating report and the three FIDE files of a Swiss and of a
// round-robin tournament, compared byte for byte with the files under
// golden/. Run with TM_UPDATE_GOLDEN=1 to rewrite them after a deliberate
// change, then read the difference before committing it: these files go to
// rating offices, whose readers rely on every column.
#include "rating_tournament.h"
#include "report_checks.h"

#include "reports/fide_rating_report.h"
#include "reports/national_rating_report.h"

namespace {

void WriteAllRatingReports() {
    ASSERT_TRUE(WriteNationalRatingReport());
    ASSERT_TRUE(WriteFideRatingList(PlayerCount));
    ASSERT_TRUE(WriteFideCrossTable(PlayerCount, 1));
}

TEST(GoldenRatingReports, SwissTournament) {
    SetUpSwissRatingTournament("golden_rating_swiss");
    WriteAllRatingReports();
    ExpectGolden("lago.elo", "swiss_rating.elo");
    ExpectGolden("fideelo.txt", "swiss_fideelo.txt");
    ExpectGolden("fidecros.txt", "swiss_fidecros.txt");
    ExpectGolden("fidecard.txt", "swiss_fidecard.txt");
}

TEST(GoldenRatingReports, RoundRobinTournament) {
    SetUpRoundRobinRatingTournament("golden_rating_rr");
    WriteAllRatingReports();
    ExpectGolden("lago.elo", "rr_rating.elo");
    ExpectGolden("fideelo.txt", "rr_fideelo.txt");
    ExpectGolden("fidecros.txt", "rr_fidecros.txt");
    ExpectGolden("fidecard.txt", "rr_fidecard.txt");
}

} // namespace
