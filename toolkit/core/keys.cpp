#include "toolkit/core/keys.h"

#include "toolkit/core/window_system.h"

namespace {

bool IsFunctionKey(int scan) { return (scan >= 0x3B && scan <= 0x44) || scan == 0x57 || scan == 0x58; }

bool IsCursorBlockKey(int scan) {
    switch (scan) {
    case 0x47: case 0x48: case 0x49: case 0x4B: case 0x4D:
    case 0x4F: case 0x50: case 0x51: case 0x52: case 0x53:
        return true;
    default:
        return false;
    }
}

long wheelSum = 0;
int wheelLines = 0; // 0: not asked yet

} // namespace

int WkTranslateKey(const plat::KeyInfo& key, std::uint32_t modifiers) {
    const int scan = key.scanCode;
    const int vk = key.virtualKey;
    const bool ctrl = (modifiers & plat::kCtrl) != 0;
    const bool alt = (modifiers & plat::kAlt) != 0;
    if (ctrl && alt)
        return 0;
    if (ctrl && vk >= 'A' && vk <= 'Z')
        return scan * 256 + (vk - 64);
    if (alt) {
        if (vk == ' ')
            return 0;
        if (vk >= '0' && vk <= '9')
            return WK_KEY_ALT_0 + (vk - '0');
        if (scan == 0x0F)
            return WK_KEY_ALT_TAB;
        return scan * 256;
    }
    switch (scan) {
    case 0x01: return WK_KEY_ESC;
    case 0x0E: return WK_KEY_BACKSPACE;
    case 0x1C: return WK_KEY_ENTER;
    case 0x0F: return WK_KEY_TAB;
    default: break;
    }
    if (IsFunctionKey(scan))
        return scan * 256 + (ctrl ? WK_KEY_CTRL_FUNCTION : 0);
    if (IsCursorBlockKey(scan)) {
        // The keypad types its digits while Num Lock is on.
        if (key.extended || (modifiers & plat::kNumLock) == 0)
            return scan * 256;
        return 0;
    }
    return 0;
}

int WkModifierBits(std::uint32_t platformModifiers) {
    return static_cast<int>(platformModifiers & (plat::kShift | plat::kCtrl | plat::kAlt));
}

int WkGetModifiers() {
    plat::Display* display = WkDisplay();
    return display ? WkModifierBits(display->modifiers()) : 0;
}

int WkWheelAccumulate(int delta, int* lines) {
    if (wheelLines == 0) {
        plat::Display* display = WkDisplay();
        wheelLines = display ? display->wheelLinesPerNotch() : 3;
    }
    wheelSum += delta;
    if (wheelSum > -plat::kWheelNotch && wheelSum < plat::kWheelNotch)
        return 0;
    // Clamp so that a flood of deltas cannot overflow the amount.
    long notches = -wheelSum / plat::kWheelNotch;
    if (notches > 100000) notches = 100000;
    if (notches < -100000) notches = -100000;
    wheelSum = 0;
    if (lines)
        *lines = static_cast<int>(wheelLines * notches);
    return 1;
}

void WkResetWheel() {
    wheelSum = 0;
    wheelLines = 0;
}
