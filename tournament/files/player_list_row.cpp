#include "tournament/files/player_list_row.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Where the fields after the name begin in either layout, and how wide the
// number in front of the name is once the registration is closed.
constexpr std::size_t FieldsColumn = 27;
constexpr std::size_t NumberWidth = 5;
constexpr std::size_t NameWidth = 20;

// Whether the row carries the number the program writes in front of the
// row at place: that number alone, so that a name that only looks numbered
// ("100: ROSSI") stays a name.
bool IsNumbered(const std::string& row, int place) {
    char number[16];
    std::snprintf(number, sizeof number, "%3d: ", place);
    return place > 0 && std::strlen(number) == NumberWidth && row.compare(0, NumberWidth, number) == 0;
}

// Walks the fields after the name. Numbers are read as far as their digits
// go, so a number wider than its column still reads whole; texts are taken
// at their width behind their gap, so an empty title or country keeps its
// place instead of shifting every later field.
struct Cursor {
    const std::string& row;
    std::size_t at;

    int number() {
        const char* start = row.c_str() + std::min(at, row.size());
        char* end = nullptr;
        const long value = std::strtol(start, &end, 10);
        at += static_cast<std::size_t>(end - start);
        return static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
    }
    std::string text(std::size_t gap, std::size_t width) {
        const std::size_t from = std::min(at + gap, row.size());
        at = from + width;
        return row.substr(from, width);
    }
};

template <std::size_t N> void CopyText(std::string text, char (&field)[N], bool trim) {
    if (trim) {
        const std::size_t first = text.find_first_not_of(' ');
        text = first == std::string::npos ? std::string()
                                          : text.substr(first, text.find_last_not_of(' ') - first + 1);
    }
    text = text.substr(0, N - 1);
    text.copy(field, text.size());
    field[text.size()] = '\0';
}

} // namespace

char GenderChar(char gender) {
    return gender == '\0' || gender == ';' || gender == '\r' || gender == '\n' ? ' ' : gender;
}

std::string PlayerListRow(const Player& p, int number) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, "%-20.20s  %4d  %4d  %3s  %3.3s  %1d   %8.8s   %8d  %8d  %2d  %c", p.name,
                  p.fideRating, p.nationalRating, p.title, p.country, p.available, p.birthDate, p.fideId,
                  p.nationalId, p.k, GenderChar(p.gender));
    const std::string fields = buffer;
    if (number > 0) {
        std::snprintf(buffer, sizeof buffer, "%3d: ", number);
        return buffer + fields;
    }
    // Without the number the name is followed by seven blanks, not two.
    return fields.substr(0, 20) + "     " + fields.substr(20);
}

bool ReadPlayerListRow(const std::string& row, int place, Player& p) {
    if (row.size() <= FieldsColumn) return false;
    Cursor c{row, FieldsColumn};
    CopyText(row.substr(IsNumbered(row, place) ? NumberWidth : 0, NameWidth), p.name, false);
    p.fideRating = c.number();
    p.nationalRating = c.number();
    CopyText(c.text(2, 3), p.title, true);
    CopyText(c.text(2, 3), p.country, true);
    p.available = c.number();
    CopyText(c.text(3, 8), p.birthDate, true);
    p.fideId = c.number();
    p.nationalId = c.number();
    p.k = c.number();
    const std::string gender = c.text(2, 1);
    p.gender = gender.empty() || gender[0] == ' ' ? '\0' : gender[0];
    return true;
}
