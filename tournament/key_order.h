// Three-way comparisons of one sort key, the building blocks of the pairing
// and candidate orders: -1 when the first value puts its player first, 1
// when the second does, 0 when the values are equal.
#pragma once

template <typename T> int Ascending(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}
template <typename T> int Descending(T a, T b) {
    return Ascending(b, a);
}
