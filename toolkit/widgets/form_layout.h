// The layout engine of the form: the size query, which measures a form's
// preferred and minimum size from its children's chains of attachments (or
// its table's columns and rows), and the placement, which gives the
// children their places and shares out the spare or missing space among
// the growable children in up to three passes.
//
// Both work on the fields of the children's records (attachments, offsets,
// fixed and minimum sizes, grow flags, alignments) and own nothing.
#pragma once

#include "toolkit/core/object.h"

// Measures the form (and, depth first, its children) and places the
// children at the size found.
void WkFormQuerySize(WkObject* form);
// Gives the form a width and height (-1 keeps one) and places its children.
void WkFormPlaceChildren(WkObject* form, int width, int height);

// The widest value a 16-bit unsigned layout field holds; larger sizes stop there.
inline std::uint16_t WkSaturateU16(long value) {
    return std::uint16_t(value < 0 ? 0 : value > 65535 ? 65535 : value);
}
inline std::int16_t WkSaturateS16(long value) {
    return std::int16_t(value < -32768 ? -32768 : value > 32767 ? 32767 : value);
}
