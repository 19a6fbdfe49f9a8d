#include "tournament/name_order.h"

namespace {

// The letter a byte sorts as, in small letters: its base letter for an
// accented one, the byte itself for anything but a letter. Þ, which has no
// base letter, sorts as itself after z.
int Base(int c) {
    if (c >= 'A' && c <= 'Z') return c + 0x20;
    if (c >= 0xC0 && c <= 0xFE && c != 0xD7 && c != 0xF7 && c != 0xDF) {
        // From À (and à) to Þ (þ); × and ÷ are no letters.
        static const char kBases[] = "aaaaaaaceeeeiiiidnooooo-ouuuuy\xFE";
        return static_cast<unsigned char>(kBases[(c & ~0x20) - 0xC0]);
    }
    switch (c) {
    case 0x83: return 'f';                       // ƒ
    case 0xAA: return 'a';                       // ª
    case 0x8A: case 0x9A: case 0xDF: return 's'; // Š š ß
    case 0x8C: case 0x9C: case 0xBA: return 'o'; // Œ œ º
    case 0x8E: case 0x9E: return 'z';            // Ž ž
    case 0x9F: case 0xFF: return 'y';            // Ÿ ÿ
    default: return c;
    }
}

// What tells a letter from its base letter, the same for both cases: 0 for
// the base letter itself, else its capital's byte (ß, ª, º and ƒ, which have
// no capital, their own).
int Accent(int c) {
    if (c < 0x80) return 0;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
    switch (c) {
    case 0x9A: case 0x9C: case 0x9E: return c - 0x10; // š œ ž
    case 0xFF: return 0x9F;                           // ÿ
    default: return c;
    }
}

int Byte(const char* text) {
    return static_cast<unsigned char>(*text);
}

} // namespace

int CompareNames(const char* a, const char* b) {
    const char *x = a, *y = b;
    for (;; ++x, ++y) {
        const int bx = Base(Byte(x)), by = Base(Byte(y));
        if (bx != by) return bx - by;
        if (bx == 0) break;
    }
    for (x = a, y = b; *x; ++x, ++y) {
        const int ax = Accent(Byte(x)), ay = Accent(Byte(y));
        if (ax != ay) return ax - ay;
    }
    return 0;
}
