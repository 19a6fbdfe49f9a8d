#include "tournament/standings_order.h"

#include "tournament/name_order.h"
#include "tournament/players.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <algorithm>
#include <cstring>

namespace {

// Larger value first; 0 when equal.
int LargerFirst(float a, float b) {
    return a > b ? -1 : (b > a ? 1 : 0);
}

template <float PlayerScore::*Field> int CompareField(int a, int b) {
    return LargerFirst(ScoreRecord(a).*Field, ScoreRecord(b).*Field);
}

// The score in tenths of a point, truncated toward zero.
int Tenths(int id) {
    return static_cast<int>(ScoreRecord(id).score * 10.0f);
}

// The pairing numbers' last key stays the byte order of the names: it
// decides who gets which number, and so the pairings, among equal ratings.
bool NameBefore(int a, int b) {
    return std::strcmp(PlayerRecord(a).name, PlayerRecord(b).name) < 0;
}

} // namespace

const PlayerComparator TieBreakComparators[TieBreakCodeCount] = {
    nullptr,
    CompareField<&PlayerScore::buchholzCut1>,
    CompareField<&PlayerScore::buchholzTotal>,
    CompareField<&PlayerScore::buchholzMedian>,
    CompareField<&PlayerScore::sonnebornBerger>,
    CompareField<&PlayerScore::cumulative>,
    CompareField<&PlayerScore::aro>,
    CompareField<&PlayerScore::mostBlacks>,
    CompareField<&PlayerScore::mostWins>,
    CompareField<&PlayerScore::apro>,
};

int CompareStandings(int a, int b) {
    const int sa = Tenths(a);
    const int sb = Tenths(b);
    if (sa != sb) return sa > sb ? -1 : 1;
    // The tenth slot only ever holds the terminating 0 of nine chosen codes.
    for (int slot = 0; slot < TieBreakSlots - 1; ++slot) {
        const int code = Settings.TieBreakOrder[slot];
        // An unknown code (a hand-edited file) ends the list like 0.
        if (code <= 0 || code >= TieBreakCodeCount) return 1;
        const int result = TieBreakComparators[code](a, b);
        if (result != 0) return result < 0 ? -1 : 1;
    }
    return 1;
}

int CompareStandingsByCategory(int a, int b) {
    const int ca = PlayerRecord(a).categoryRank;
    const int cb = PlayerRecord(b).categoryRank;
    if (ca != cb) return ca > cb ? -1 : 1;
    return CompareStandings(a, b);
}

int ComparePairingNumberOrder(int a, int b) {
    const Player& pa = PlayerRecord(a);
    const Player& pb = PlayerRecord(b);
    if (pa.ratingUsed != pb.ratingUsed) return pa.ratingUsed > pb.ratingUsed ? -1 : 1;
    if (pa.categoryRank != pb.categoryRank) return pa.categoryRank > pb.categoryRank ? -1 : 1;
    return NameBefore(a, b) ? -1 : 1;
}

int ComparePlayersByName(int a, int b) {
    const char *x = PlayerRecord(a).name, *y = PlayerRecord(b).name;
    int order = CompareNames(x, y);
    if (order == 0) order = std::strcmp(x, y);
    return order < 0 ? -1 : 1;
}

int ComparePlayersByCountry(int a, int b) {
    const int order = std::strcmp(PlayerRecord(a).country, PlayerRecord(b).country);
    if (order != 0) return order < 0 ? -1 : 1;
    return Tenths(b) < Tenths(a) ? -1 : 1;
}

void SortPlayerIds(int* ids, int count, PlayerComparator compare) {
    if (ids == nullptr || count <= 1) return;
    std::stable_sort(ids, ids + count, [compare](int a, int b) { return compare(a, b) < 0; });
}

void SortPlayerIds(std::vector<int>& ids, PlayerComparator compare) {
    SortPlayerIds(ids.data(), static_cast<int>(ids.size()), compare);
}

void SplitDate(int date, int& day, int& month, int& year) {
    year = date % 100;
    day = date / 10000;
    month = date / 100 - day * 100;
}

int CompareDates(int a, int b) {
    int da, ma, ya, db, mb, yb;
    SplitDate(a, da, ma, ya);
    SplitDate(b, db, mb, yb);
    ya += ya > 14 ? 1900 : 2000;
    yb += yb > 14 ? 1900 : 2000;
    if (ya != yb) return ya < yb ? -1 : 1;
    if (ma != mb) return ma < mb ? -1 : 1;
    if (da != db) return da < db ? -1 : 1;
    return 0;
}
