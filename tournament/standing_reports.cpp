#include "tournament/standing_reports.h"

#include "tournament/round_save.h"

StandingReportWriters StandingReports;

void ResetStandingReports() {
    StandingReports = StandingReportWriters{};
    ResultListsWriter = nullptr;
}
