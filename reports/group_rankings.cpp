#include "reports/group_rankings.h"

#include "reports/report_file.h"
#include "reports/standing_rows.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <cctype>
#include <ctime>
#include <vector>

namespace {

int ClockYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) return 2000;
    return local.tm_year + 1900;
}

// The digits at text[at..], at most maxDigits of them; false when none.
bool ReadNumber(const std::string& text, std::size_t& at, int maxDigits, int& value) {
    value = 0;
    int digits = 0;
    while (at < text.size() && digits < maxDigits && std::isdigit(static_cast<unsigned char>(text[at]))) {
        value = value * 10 + (text[at] - '0');
        ++at;
        ++digits;
    }
    return digits > 0;
}

// day x 10000 + month x 100 + year from "d.m.yy" with points, or from six
// digits ddmmyy; -1 when the text is neither.
int ParseDate(const std::string& text) {
    std::size_t at = 0;
    int day, month, year;
    if (!ReadNumber(text, at, 6, day)) return -1;
    if (at < text.size() && text[at] == '.') {
        ++at;
        if (!ReadNumber(text, at, 2, month) || at >= text.size() || text[at] != '.') return -1;
        ++at;
        const std::size_t yearStart = at;
        if (!ReadNumber(text, at, 2, year) || at - yearStart != 2) return -1;
        // A four-digit year is not one this field can hold.
        if (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) return -1;
        return day * 10000 + month * 100 + year;
    }
    const bool sixDigits =
        at == 6 && (at == text.size() || !std::isdigit(static_cast<unsigned char>(text[at])));
    return sixDigits ? day : -1;
}

struct GroupReport {
    const char* file;
    const char* limitWord;
    const char* header;
};

// What puts a player into one group.
using Membership = bool (*)(int id, const GroupLimit& group, int currentYear);

bool InRatingGroup(int id, const GroupLimit& group, int) {
    const int rating = PlayerRecord(id).ratingUsed;
    return group.lower < rating && rating <= group.upper;
}

bool InDateGroup(int id, const GroupLimit& group, int currentYear) {
    const int date = BirthDateValue(FieldText(PlayerRecord(id).birthDate));
    if (date == 0) return false;
    const long key = DateSortKey(date, currentYear);
    return DateSortKey(group.lower, currentYear) < key && key <= DateSortKey(group.upper, currentYear);
}

bool WriteGroupStandings(const GroupReport& report, const GroupLimits& limits, Membership member,
                         int currentYear) {
    const bool dates = member == InDateGroup;
    const std::vector<int> codes = TieBreakCodes();
    const std::vector<int> standings = SortedPlayers(PlayerCount, CompareStandings);
    std::string out;
    AppendReportHeading(out);
    AppendFormat(out, "\nRated Player Group at round %d\n", CurrentRound);
    for (const GroupLimit& group : limits.groups) {
        // The standings order taken once and filtered keeps each group in
        // that order.
        std::vector<int> players;
        for (int id : standings)
            if (member(id, group, currentYear)) players.push_back(id);
        if (players.empty()) continue;
        AppendFormat(out, "\n\nGroup limits:  %d < %s <= %d\n", group.lower, report.limitWord, group.upper);
        AppendRankingHeader(out, report.header, codes, 60, 8);
        int position = 0;
        for (int p : players) {
            AppendRankingRow(out, ++position, p);
            if (dates) {
                // The whole date, in the form the limits are typed in.
                const int date = BirthDateValue(FieldText(PlayerRecord(p).birthDate));
                AppendFormat(out, "%02d%02d%02d | ", date / 10000, date / 100 % 100, date % 100);
            }
            for (int code : codes)
                AppendTieBreakText(out, p, code);
            out += '\n';
        }
    }
    return WriteReportFile(DataFolderFile(report.file), out);
}

} // namespace

int BirthDateValue(const std::string& birthDate) {
    const int date = ParseDate(birthDate);
    if (date <= 0) return 0;
    const int day = date / 10000;
    const int month = date / 100 % 100;
    if (day < 1 || day > 31 || month < 1 || month > 12) return 0;
    return date;
}

long DateSortKey(int date, int currentYear) {
    if (date <= 0) return 0;
    int day, month, year;
    SplitDate(date, day, month, year);
    const int century = 2000 + year <= currentYear ? 2000 : 1900;
    return (static_cast<long>(century) + year) * 10000 + month * 100 + day;
}

bool WriteRatingGroupStandings(const GroupLimits& limits) {
    static const GroupReport report{"rankgrp.txt", "rating",
                                    "Pos score ID NAME                 | Rat  Tit Nat | "};
    return WriteGroupStandings(report, limits, InRatingGroup, 0);
}

bool WriteDateGroupStandings(const GroupLimits& limits) {
    return WriteDateGroupStandings(limits, ClockYear());
}

bool WriteDateGroupStandings(const GroupLimits& limits, int currentYear) {
    static const GroupReport report{"rankdagr.txt", "date",
                                    "Pos score ID NAME                 | Rat  Tit Nat |  date  | "};
    return WriteGroupStandings(report, limits, InDateGroup, currentYear);
}
