#include "toolkit/core/letters.h"

namespace {

// The pairs outside the two runs that differ by 0x20.
constexpr struct {
    int upper, lower;
} kPairs[] = {{0x8A, 0x9A}, {0x8C, 0x9C}, {0x8E, 0x9E}, {0x9F, 0xFF}};

bool InRun(int c, int first, int last) { return c >= first && c <= last && c != first + 0x17; }

bool UpperRun(int c) { return (c >= 'A' && c <= 'Z') || InRun(c, 0xC0, 0xDE); }
bool LowerRun(int c) { return (c >= 'a' && c <= 'z') || InRun(c, 0xE0, 0xFE); }

} // namespace

int WkIsLetter(int c) {
    if (UpperRun(c) || LowerRun(c)) return 1;
    for (const auto& pair : kPairs)
        if (c == pair.upper || c == pair.lower) return 1;
    return c == 0x83 || c == 0xAA || c == 0xBA || c == 0xDF ? 1 : 0;
}

int WkToUpper(int c) {
    if (LowerRun(c)) return c - 0x20;
    for (const auto& pair : kPairs)
        if (c == pair.lower) return pair.upper;
    return c;
}

int WkToLower(int c) {
    if (UpperRun(c)) return c + 0x20;
    for (const auto& pair : kPairs)
        if (c == pair.upper) return pair.lower;
    return c;
}

char* WkUpperText(char* text) {
    if (!text) return text;
    for (char* c = text; *c; ++c) *c = char(WkToUpper(static_cast<unsigned char>(*c)));
    return text;
}

int WkCompareTextNoCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        const int x = WkToLower(static_cast<unsigned char>(*a)), y = WkToLower(static_cast<unsigned char>(*b));
        if (x != y || x == 0) return x - y;
    }
}
