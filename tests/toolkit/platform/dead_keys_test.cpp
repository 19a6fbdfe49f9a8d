// The X11 backend's composition of a dead key and the key after it, a rule
// of its own that needs no X server: the letters Windows-1252 has, the
// accent alone, a control key, and a key the accent has no letter for
// (0: the display beeps and types it bare).
#include "toolkit/platform/x11_display.h"

#include <gtest/gtest.h>

namespace {

using plat::ComposeDeadKey;

TEST(X11Keys, DeadKeysAccentTheNextCharacter) {
    const struct {
        unsigned long dead, sym;
        char32_t typed, composed;
    } cases[] = {
        {0xFE51, 'e', 'e', 0xE9},   {0xFE51, 'E', 'E', 0xC9},  {0xFE52, 'o', 'o', 0xF4},  // acute é É, circumflex ô
        {0xFE57, 'Y', 'Y', 0x178},  {0xFE57, 'u', 'u', 0xFC},  {0xFE53, 'n', 'n', 0xF1},  // diaeresis Ÿ ü, tilde ñ
        {0xFE50, 'a', 'a', 0xE0},   {0xFE5B, 'C', 'C', 0xC7},  {0xFE58, 'a', 'a', 0xE5},  // grave à, cedilla Ç, ring å
        {0xFE51, ' ', ' ', 0xB4},   {0xFE51, 0xFE51, 0, 0xB4}, {0xFE52, ' ', ' ', '^'},   // the accent alone
        {0xFE51, 'n', 'n', 0},      {0xFE51, '1', '1', 0},     {0xFE60, 'e', 'e', 0},     // no letter: beep, typed bare
        {0xFE51, 0xFF0D, 13, 13},   {0xFE57, 0xFF08, 8, 8},                                 // Enter, Backspace as they are
        {0xFE5A, 'z', 'z', 0x17E},                                                      // caron: ž, the last
    };
    for (const auto& c : cases)
        EXPECT_EQ(ComposeDeadKey(c.dead, c.sym, c.typed), c.composed) << std::hex << c.dead << " " << c.sym;
}

} // namespace
