#include "toolkit/core/keys.h"

#include "test_form.h"

#include <gtest/gtest.h>

namespace {

plat::KeyInfo Key(std::uint16_t vk, std::uint8_t scan, bool extended = false) {
    plat::KeyInfo k;
    k.virtualKey = vk;
    k.scanCode = scan;
    k.extended = extended;
    return k;
}

TEST(KeyTranslation, CtrlLettersAndCtrlAltLeftToThePlatform) {
    EXPECT_EQ(WkTranslateKey(Key('C', 0x2E), plat::kCtrl), 0x2E03);
    EXPECT_EQ(WkTranslateKey(Key('A', 0x1E), plat::kCtrl | plat::kShift), 0x1E01);
    EXPECT_EQ(WkTranslateKey(Key('Z', 0x2C), plat::kCtrl), 0x2C1A);
    EXPECT_EQ(WkTranslateKey(Key('C', 0x2E), plat::kCtrl | plat::kAlt), 0);
    EXPECT_EQ(WkTranslateKey(Key(0, 0x3E), plat::kCtrl | plat::kAlt), 0);
    // A plain letter types its character.
    EXPECT_EQ(WkTranslateKey(Key('C', 0x2E), 0), 0);
    EXPECT_EQ(WkTranslateKey(Key('C', 0x2E), plat::kShift), 0);
}

TEST(KeyTranslation, AltDigitsLettersFunctionKeysTabAndSpace) {
    EXPECT_EQ(WkTranslateKey(Key('1', 0x02), plat::kAlt), 0x7801);
    EXPECT_EQ(WkTranslateKey(Key('9', 0x0A), plat::kAlt), 0x7809);
    EXPECT_EQ(WkTranslateKey(Key('0', 0x0B), plat::kAlt), 0x7800);
    EXPECT_EQ(WkTranslateKey(Key(0, 0x3E), plat::kAlt), 0x3E00);
    EXPECT_EQ(WkTranslateKey(Key('F', 0x21), plat::kAlt), 0x2100);
    EXPECT_EQ(WkTranslateKey(Key(0, 0x0F), plat::kAlt), 9);
    EXPECT_EQ(WkTranslateKey(Key(' ', 0x39), plat::kAlt), 0);
}

TEST(KeyTranslation, NamedKeysAndFunctionKeysWithCtrl) {
    EXPECT_EQ(WkTranslateKey(Key(0, 0x01), 0), 0x011B);
    EXPECT_EQ(WkTranslateKey(Key(0, 0x0E), 0), 0x0E08);
    EXPECT_EQ(WkTranslateKey(Key(0, 0x0F), plat::kShift), 0x0F09);
    EXPECT_EQ(WkTranslateKey(Key(0, 0x1C), 0), 0x1C0D);
    EXPECT_EQ(WkTranslateKey(Key(0, 0x1C, true), 0), 0x1C0D); // keypad Enter
    EXPECT_EQ(WkTranslateKey(Key(0, 0x3B), 0), 0x3B00);
    EXPECT_EQ(WkTranslateKey(Key(0, 0x44), 0), 0x4400);
    EXPECT_EQ(WkTranslateKey(Key(0, 0x57), 0), 0x5700);
    EXPECT_EQ(WkTranslateKey(Key(0, 0x58), 0), 0x5800);
    EXPECT_EQ(WkTranslateKey(Key(0, 0x3B), plat::kCtrl), 0x5E00);
    EXPECT_EQ(WkTranslateKey(Key(0, 0x57), plat::kCtrl), 0x7A00);
    EXPECT_EQ(WkTranslateKey(Key(0, 0x58), plat::kCtrl), 0x7B00);
    EXPECT_EQ(WkTranslateKey(Key(0, 0x45), 0), 0);  // Num Lock itself
    EXPECT_EQ(WkTranslateKey(Key(0, 0x39), 0), 0);  // space without a virtual key
}

TEST(KeyTranslation, KeypadFollowsNumLockTheCursorBlockNever) {
    EXPECT_EQ(WkTranslateKey(Key(0, 0x47), plat::kNumLock), 0);
    EXPECT_EQ(WkTranslateKey(Key(0, 0x47), 0), 0x4700);
    EXPECT_EQ(WkTranslateKey(Key(0, 0x47, true), plat::kNumLock), 0x4700);
    EXPECT_EQ(WkTranslateKey(Key(0, 0x47, true), 0), 0x4700);
    const int block[] = {0x47, 0x48, 0x49, 0x4B, 0x4D, 0x4F, 0x50, 0x51, 0x52, 0x53};
    for (int scan : block) {
        EXPECT_EQ(WkTranslateKey(Key(0, static_cast<std::uint8_t>(scan), true), plat::kCtrl), scan * 256);
        EXPECT_EQ(WkTranslateKey(Key(0, static_cast<std::uint8_t>(scan)), plat::kNumLock), 0);
    }
    EXPECT_EQ(WkTranslateKey(Key(0, 0x4A), 0), 0); // keypad minus is not in the block
    EXPECT_EQ(WkTranslateKey(Key(0, 0x4C), 0), 0); // keypad 5
}

TEST(WheelAccumulator, NotchesPartialTurnsAndBothDirections) {
    WkResetWheel();
    int lines = 99;
    EXPECT_EQ(WkWheelAccumulate(40, &lines), 0);
    EXPECT_EQ(WkWheelAccumulate(40, &lines), 0);
    EXPECT_EQ(lines, 99);
    EXPECT_EQ(WkWheelAccumulate(40, &lines), 1);
    EXPECT_EQ(lines, -3);
    EXPECT_EQ(WkWheelAccumulate(240, &lines), 1);
    EXPECT_EQ(lines, -6);
    // A remainder is dropped: 1.5 notches toward the user scroll one notch.
    EXPECT_EQ(WkWheelAccumulate(-180, &lines), 1);
    EXPECT_EQ(lines, 3);
    EXPECT_EQ(WkWheelAccumulate(-60, &lines), 0);
    EXPECT_EQ(WkWheelAccumulate(119, &lines), 0); // sum 59
    EXPECT_EQ(WkWheelAccumulate(-178, &lines), 0); // sum -119
    EXPECT_EQ(WkWheelAccumulate(-1, &lines), 1);
    EXPECT_EQ(lines, 3);
    WkResetWheel();
}

class ToolkitInput : public testform::ToolkitTest {};

TEST_F(ToolkitInput, ModifiersHeldNowWithoutNumLock) {
    display->holdModifiers(plat::kShift | plat::kAlt | plat::kNumLock);
    EXPECT_EQ(WkGetModifiers(), WK_MOD_SHIFT | WK_MOD_ALT);
    display->holdModifiers(plat::kCtrl);
    EXPECT_EQ(WkGetModifiers(), WK_MOD_CTRL);
    display->holdModifiers(0);
    EXPECT_EQ(WkGetModifiers(), 0);
}

} // namespace
