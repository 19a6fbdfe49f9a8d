// Searching an edit field's text for a pattern, forwards from a place or
// backwards before it, with or without regard to letter case. Every place
// an occurrence may start is tried, so overlapping and nested occurrences
// are all found.
#include "toolkit/widgets/edit_field.h"

#include "toolkit/core/letters.h"

#include <cstring>

namespace {

bool Same(char a, char b, bool ignoreCase) {
    if (!ignoreCase) return a == b;
    return WkToLower(static_cast<unsigned char>(a)) == WkToLower(static_cast<unsigned char>(b));
}

bool MatchesAt(const char* text, int at, const char* pattern, int length, bool ignoreCase) {
    for (int i = 0; i < length; ++i)
        if (!Same(text[at + i], pattern[i], ignoreCase)) return false;
    return true;
}

} // namespace

int WkEditSearchForward(WkObject* field, int start, const char* pattern, int ignoreCase) {
    if (!field || !pattern || !*pattern) return -1;
    const WkEditData* d = WkEditRecord(field);
    if (start < 0 || start >= d->length) return -1;
    const int length = int(std::strlen(pattern));
    for (int at = start; at + length <= d->length; ++at)
        if (MatchesAt(d->store.buffer, at, pattern, length, ignoreCase)) return at;
    return -1;
}

int WkEditSearchBackward(WkObject* field, int start, const char* pattern, int ignoreCase) {
    if (!field || !pattern || !*pattern) return -1;
    const WkEditData* d = WkEditRecord(field);
    // The whole text is searched from its length.
    if (start < 0 || start > d->length) return -1;
    const int length = int(std::strlen(pattern));
    for (int at = start - length; at >= 0; --at)
        if (MatchesAt(d->store.buffer, at, pattern, length, ignoreCase)) return at;
    return -1;
}
