#include "tournament/calendar_date.h"

#include <cstdio>
#include <vector>

namespace {

bool AllDigits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

int Number(const std::string& digits) {
    int value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    return value;
}

// A year of two digits is one of this century.
int FullYear(const std::string& digits) {
    return digits.size() == 2 ? 2000 + Number(digits) : Number(digits);
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' '), last = text.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// The year, month and day the text's shape gives, not yet checked against
// the calendar; false when the text has none of the form's shapes.
bool Split(const std::string& padded, DateForm form, CalendarDate& date) {
    const std::string text = Trimmed(padded);
    if (form == DateForm::UscfForm) {
        if (text.size() != 8 || !AllDigits(text)) return false;
        date = {Number(text.substr(0, 4)), Number(text.substr(4, 2)), Number(text.substr(6, 2))};
        return true;
    }
    if (AllDigits(text) && (text.size() == 6 || text.size() == 8)) {
        date = {FullYear(text.substr(4)), Number(text.substr(2, 2)), Number(text.substr(0, 2))};
        return true;
    }
    std::vector<std::string> parts;
    std::size_t at = 0;
    for (std::size_t dot; (dot = text.find('.', at)) != std::string::npos; at = dot + 1)
        parts.push_back(text.substr(at, dot - at));
    parts.push_back(text.substr(at));
    if (parts.size() != 3) return false;
    for (const std::string& part : parts)
        if (!AllDigits(part)) return false;
    if (parts[0].size() > 2 || parts[1].size() > 2 || (parts[2].size() != 2 && parts[2].size() != 4)) return false;
    date = {FullYear(parts[2]), Number(parts[1]), Number(parts[0])};
    return true;
}

std::string Quoted(const std::string& label) {
    return "\"" + label + "\"";
}

// The refusal of one field, or "".
std::string FieldRefusal(const std::string& label, const std::string& text, DateForm form, CalendarDate& date) {
    if (!Split(text, form, date))
        return Quoted(label) +
               (form == DateForm::UscfForm ? " needs eight digits: YYYYMMDD" : " needs a date: DDMMYYYY");
    if (!IsCalendarDate(date.year, date.month, date.day))
        return Quoted(label) + " is not a day of the calendar: " + Trimmed(text);
    return "";
}

} // namespace

bool IsCalendarDate(int year, int month, int day) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

bool ParseDate(const std::string& text, DateForm form, CalendarDate& date) {
    CalendarDate parsed;
    if (!Split(text, form, parsed) || !IsCalendarDate(parsed.year, parsed.month, parsed.day)) return false;
    date = parsed;
    return true;
}

std::string UscfDateText(const CalendarDate& date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", date.year % 10000, date.month % 100, date.day % 100);
    return text;
}

std::string DateFieldsRefusal(const std::string& beginLabel, const std::string& begin, const std::string& endLabel,
                              const std::string& end, DateForm form) {
    CalendarDate from, to;
    std::string refusal = FieldRefusal(beginLabel, begin, form, from);
    if (refusal.empty()) refusal = FieldRefusal(endLabel, end, form, to);
    if (refusal.empty() && from.key() > to.key()) refusal = Quoted(endLabel) + " lies before " + Quoted(beginLabel);
    return refusal;
}

bool RefusesBeginDate(const std::string& refusal, const std::string& beginLabel) {
    return refusal.rfind(Quoted(beginLabel), 0) == 0;
}
