#include "reports/standing_rows.h"

#include "reports/html_frame.h"
#include "reports/report_file.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <algorithm>
#include <cmath>

void AppendReportHeading(std::string& out) {
    AppendFormat(out, "Tournament: %s\n", FieldText(Settings.Name).c_str());
    AppendFormat(out, "%s - %s,%s\n", FieldText(Settings.Place).c_str(),
                 FieldText(Settings.BeginDate).c_str(), FieldText(Settings.EndDate).c_str());
}

void AppendRankingHeader(std::string& out, const char* columns, const std::vector<int>& codes, int ruleLength,
                         int perCode) {
    out += columns;
    AppendTieBreakTitles(out, codes);
    out += '\n';
    AppendRule(out, '-', ruleLength + perCode * static_cast<int>(codes.size()));
}

void AppendRankingRow(std::string& out, int position, int id) {
    const Player& player = PlayerRecord(id);
    AppendFormat(out, "%3d %4.1f %3d %s | %4d %3s %3s | ", position, ScoreRecord(id).score, id,
                 StandingName(id).c_str(), player.ratingUsed, FieldText(player.title).c_str(),
                 FieldText(player.country).c_str());
}

void AppendSummaryPageStart(std::string& out) {
    AppendHtmlHead(out, FieldText(Settings.Name));
    AppendHtmlNavigation(out);
    AppendHtmlTitleBlock(out);
}

void AppendSummaryPageEnd(std::string& out) {
    AppendHtmlNavigation(out);
    AppendHtmlFooter(out);
    AppendHtmlPageEnd(out);
}

std::string StandingName(int id) {
    const Player& player = PlayerRecord(id);
    const std::string name = FieldText(player.name);
    std::string out;
    if (player.available == 0)
        AppendFormat(out, "%-17.17s(W)", name.c_str());
    else
        AppendFormat(out, "%-20.20s", name.c_str());
    return out;
}

std::string FullStandingName(int id) {
    const Player& player = PlayerRecord(id);
    std::string name = FieldText(player.name);
    if (player.available == 0) name += " (W)";
    return name;
}

int ShownPerformance(int id) {
    const float performance = ScoreRecord(id).performance;
    if (std::isnan(performance)) return 0;
    // A performance below 0 (a score of nothing against low ratings) is
    // printed as it is, as the text card and "elovar.txt" print it.
    return static_cast<int>(std::clamp(performance, -9999.0f, 9999.0f));
}

std::vector<int> TieBreakCodes() {
    std::vector<int> codes;
    for (int code : Settings.TieBreakOrder) {
        if (code <= NoTieBreak || code >= TieBreakCodeCount) break;
        codes.push_back(code);
    }
    return codes;
}

void AppendTieBreakTitles(std::string& out, const std::vector<int>& codes) {
    for (int code : codes)
        AppendFormat(out, " %s ", TieBreakTitle(code));
}

namespace {

float TieBreakValue(int id, int code) {
    const PlayerScore& s = ScoreRecord(id);
    switch (code) {
    case BuchholzCut1TieBreak:
        return s.buchholzCut1;
    case BuchholzTotalTieBreak:
        return s.buchholzTotal;
    case BuchholzMedianTieBreak:
        return s.buchholzMedian;
    case SonnebornBergerTieBreak:
        return s.sonnebornBerger;
    case CumulativeTieBreak:
        return s.cumulative;
    case AverageRatingTieBreak:
        return s.aro;
    case MostBlacksTieBreak:
        return s.mostBlacks;
    case MostWinsTieBreak:
        return s.mostWins;
    case AveragePerformanceTieBreak:
        return s.apro;
    default:
        return 0.0f;
    }
}

// Counts and performances print as whole numbers in a centred column.
bool IsWholeNumberCode(int code) {
    return code >= MostBlacksTieBreak;
}

} // namespace

void AppendTieBreakText(std::string& out, int id, int code) {
    AppendFormat(out, IsWholeNumberCode(code) ? "  %4.0f  " : " %6.2f ", TieBreakValue(id, code));
}

void AppendTieBreakHtml(std::string& out, int id, int code) {
    AppendFormat(out, IsWholeNumberCode(code) ? "<td align=\"center\"> %4.0f </td> " : "<td> %6.2f </td> ",
                 TieBreakValue(id, code));
}

int ReportPlayerCount(int players) {
    return std::clamp(std::min(players, PlayerCount), 0, MaxPlayers);
}

int ReportRoundCount() {
    return std::clamp(CurrentRound, 0, ActiveTables().lastRound());
}

std::vector<int> SortedPlayers(int players, PlayerComparator compare) {
    const int count = ReportPlayerCount(players);
    std::vector<int> ids(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        ids[static_cast<std::size_t>(i)] = i + 1;
    SortPlayerIds(ids, compare);
    return ids;
}
