// Dates as the arbiter types them: whether a text names a real day of the
// calendar, in the two ways the system writes dates. The tournament's own
// begin and end dates are written day first ("DDMMYYYY", "DDMMYY" or with
// dots, "DD.MM.YY"); the USCF files write year first ("YYYYMMDD"), so that a
// later date is the larger number. A two-digit year is a year of 2000 to
// 2099. Also the one check of a form's begin and end date fields.
#pragma once

#include <string>

struct CalendarDate {
    int year = 0, month = 0, day = 0;
    // Orders dates: year * 10000 + month * 100 + day.
    long key() const { return year * 10000L + month * 100L + day; }
};

// Whether day.month.year is a day of the Gregorian calendar (year 1 to 9999).
bool IsCalendarDate(int year, int month, int day);

enum class DateForm {
    DayFirst, // "DDMMYYYY", "DDMMYY", "D.M.YY", "DD.MM.YYYY"
    UscfForm, // "YYYYMMDD"
};

// The date the text names in the form, blanks around it ignored; false when
// it is not one.
bool ParseDate(const std::string& text, DateForm form, CalendarDate& date);
// The date written "YYYYMMDD".
std::string UscfDateText(const CalendarDate& date);

// The refusal of a form's begin and end date fields, naming the field with
// its label: "" when both are dates of the form and the begin date is not
// after the end date.
std::string DateFieldsRefusal(const std::string& beginLabel, const std::string& begin, const std::string& endLabel,
                              const std::string& end, DateForm form);
// Whether that refusal is the begin date's (else the end date's), so that
// the form can put the focus on the field it names first.
bool RefusesBeginDate(const std::string& refusal, const std::string& beginLabel);
