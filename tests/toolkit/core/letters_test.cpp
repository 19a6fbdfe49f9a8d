#include "toolkit/core/letters.h"

#include <gtest/gtest.h>

namespace {

TEST(Letters, Windows1252LettersAndTheirCases) {
    struct Case {
        int c;
        bool letter;
        int upper, lower;
    } cases[] = {
        {'a', true, 'A', 'a'},   {'Z', true, 'Z', 'z'},   {'0', false, '0', '0'},  {'@', false, '@', '@'},
        {'[', false, '[', '['},  {0xFC, true, 0xDC, 0xFC}, {0xDC, true, 0xDC, 0xFC}, // ü Ü
        {0xE0, true, 0xC0, 0xE0}, {0xC0, true, 0xC0, 0xE0}, {0xFE, true, 0xDE, 0xFE}, // à À þ Þ
        {0xFF, true, 0x9F, 0xFF}, {0x9F, true, 0x9F, 0xFF},                       // ÿ Ÿ
        {0x9A, true, 0x8A, 0x9A}, {0x8A, true, 0x8A, 0x9A},                       // š Š
        {0x9C, true, 0x8C, 0x9C}, {0x8C, true, 0x8C, 0x9C},                       // œ Œ
        {0x9E, true, 0x8E, 0x9E}, {0x8E, true, 0x8E, 0x9E},                       // ž Ž
        {0xDF, true, 0xDF, 0xDF}, {0xAA, true, 0xAA, 0xAA}, {0xBA, true, 0xBA, 0xBA}, // ß ª º: no upper
        {0x83, true, 0x83, 0x83},                                                 // ƒ
        {0xD7, false, 0xD7, 0xD7}, {0xF7, false, 0xF7, 0xF7},                     // × ÷
        {0xBD, false, 0xBD, 0xBD}, {0xA0, false, 0xA0, 0xA0}, {0x80, false, 0x80, 0x80}, // ½, no-break space, €
        {0xBF, false, 0xBF, 0xBF}, {0x9B, false, 0x9B, 0x9B}, {0x00, false, 0x00, 0x00},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WkIsLetter(c.c) != 0, c.letter) << std::hex << c.c;
        EXPECT_EQ(WkToUpper(c.c), c.upper) << std::hex << c.c;
        EXPECT_EQ(WkToLower(c.c), c.lower) << std::hex << c.c;
    }
}

TEST(Letters, TextsUpperCasedAndComparedWithoutCase) {
    char text[] = "m\xFCller \x9Alo\x9C\xFF \xDF\xAA" "1,";
    EXPECT_STREQ(WkUpperText(text), "M\xDCLLER \x8ALO\x8C\x9F \xDF\xAA" "1,");
    EXPECT_EQ(WkUpperText(nullptr), nullptr);
    const struct {
        const char *a, *b;
        int sign;
    } cases[] = {
        {"M\xDCLLER", "m\xFCller", 0}, {"\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF", 0}, {"abc", "ABD", -1},
        {"Z", "\xE0", -1},             {"ab", "A", 1},                                  {"", "", 0},
        {"x\xC9", "X\xE9", 0}, // É at the end of the text
    };
    for (const auto& c : cases) {
        const int d = WkCompareTextNoCase(c.a, c.b);
        EXPECT_EQ((d > 0) - (d < 0), c.sign) << c.a << " " << c.b;
    }
}

} // namespace
