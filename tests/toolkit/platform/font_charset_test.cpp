#include "toolkit/platform/font_charset.h"

#include <gtest/gtest.h>

namespace {

TEST(FontCharset, EveryByteHasACodePointThatLeadsBack) {
    EXPECT_EQ(plat::Cp1252ToUnicode(0x41), U'A');
    EXPECT_EQ(plat::Cp1252ToUnicode(0x80), U'\u20AC');
    EXPECT_EQ(plat::Cp1252ToUnicode(0x9F), U'\u0178');
    EXPECT_EQ(plat::Cp1252ToUnicode(0xBD), U'\u00BD');
    EXPECT_EQ(plat::Cp1252ToUnicode(0x81), U'\u0081'); // undefined in the code page
    for (int b = 0; b < 256; ++b) {
        std::optional<unsigned char> back = plat::UnicodeToCp1252(plat::Cp1252ToUnicode(static_cast<unsigned char>(b)));
        ASSERT_TRUE(back.has_value()) << b;
        EXPECT_EQ(*back, b);
    }
    EXPECT_FALSE(plat::UnicodeToCp1252(U'\u0100').has_value());
    EXPECT_FALSE(plat::UnicodeToCp1252(U'\u0080').has_value()); // shown as the euro sign's byte only
}

TEST(FontCharset, Utf8TextsRoundTripAndBadOnesAreRefused) {
    EXPECT_EQ(plat::Cp1252ToUtf8("a\xBD\x80"), "a\xC2\xBD\xE2\x82\xAC");
    std::string all;
    for (int b = 1; b < 256; ++b) all += char(b);
    EXPECT_EQ(plat::Utf8ToCp1252(plat::Cp1252ToUtf8(all)), all);

    EXPECT_EQ(plat::Utf8ToCp1252(""), "");
    EXPECT_FALSE(plat::Utf8ToCp1252("\xC2").has_value());             // cut short
    EXPECT_FALSE(plat::Utf8ToCp1252("x\xE2\x82").has_value());        // cut short
    EXPECT_FALSE(plat::Utf8ToCp1252("\xC2" "A").has_value());         // not a continuation
    EXPECT_FALSE(plat::Utf8ToCp1252("\xC0\xBD").has_value());         // overlong
    EXPECT_FALSE(plat::Utf8ToCp1252("\xE4\xB8\xAD").has_value());     // not in the code page
    EXPECT_FALSE(plat::Utf8ToCp1252("\xF0\x9F\x98\x80").has_value()); // outside the BMP
    EXPECT_FALSE(plat::Utf8ToCp1252("\xFF").has_value());
}

} // namespace
