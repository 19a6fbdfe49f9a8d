#include "tournament/standing_reports.h"

StandingReportWriters StandingReports;

void ResetStandingReports() {
    StandingReports = StandingReportWriters{};
}
