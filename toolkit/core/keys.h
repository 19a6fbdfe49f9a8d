// Keyboard and wheel input as the toolkit's objects see it: the translation
// of the platform's key information into the toolkit's key codes (PC
// firmware scheme: scan code * 256 plus a character), the modifier keys held
// now, and the wheel accumulator that turns wheel deltas into whole notches.
//
// The wheel accumulator is the only state here: one process-wide sum and the
// lines per notch, asked of the display at the first wheel message.
#pragma once

#include "toolkit/platform/events.h"

#include <cstdint>

// Toolkit modifier bits, in key messages (field a) and pointer messages (e).
inline constexpr int WK_MOD_SHIFT = 1;
inline constexpr int WK_MOD_CTRL = 4;
inline constexpr int WK_MOD_ALT = 8;

inline constexpr int WK_KEY_ESC = 0x011B;
inline constexpr int WK_KEY_BACKSPACE = 0x0E08;
inline constexpr int WK_KEY_TAB = 0x0F09;
inline constexpr int WK_KEY_ENTER = 0x1C0D;
inline constexpr int WK_KEY_F1 = 0x3B00;
inline constexpr int WK_KEY_F4 = 0x3E00; // with Alt: the close request
inline constexpr int WK_KEY_F11 = 0x5700;
inline constexpr int WK_KEY_F12 = 0x5800;
inline constexpr int WK_KEY_CTRL_FUNCTION = 0x2300; // added to a function key with Ctrl
inline constexpr int WK_KEY_HOME = 0x4700;
inline constexpr int WK_KEY_UP = 0x4800;
inline constexpr int WK_KEY_PGUP = 0x4900;
inline constexpr int WK_KEY_LEFT = 0x4B00;
inline constexpr int WK_KEY_RIGHT = 0x4D00;
inline constexpr int WK_KEY_END = 0x4F00;
inline constexpr int WK_KEY_DOWN = 0x5000;
inline constexpr int WK_KEY_PGDN = 0x5100;
inline constexpr int WK_KEY_INS = 0x5200;
inline constexpr int WK_KEY_DEL = 0x5300;
inline constexpr int WK_KEY_ALT_0 = 0x7800; // Alt+1 .. Alt+9 follow
inline constexpr int WK_KEY_ALT_TAB = 9;

// The toolkit key code of a key pressed with the given modifiers (platform
// bits: kShift, kCtrl, kAlt, kNumLock), or 0 when the key is left to the
// character translation (printable keys, keypad digits with Num Lock on,
// Alt+Space and every Ctrl+Alt combination).
int WkTranslateKey(const plat::KeyInfo& key, std::uint32_t modifiers);

// Toolkit modifier bits of the keys held now (0 before the start).
int WkGetModifiers();
// The same bits from platform modifier bits.
int WkModifierBits(std::uint32_t platformModifiers);

// Adds a wheel delta (plat::kWheelNotch a notch, positive away from the
// user). Returns 1 and the scroll amount in lines (lines per notch times
// minus the whole notches, so a turn away scrolls up) once the sum reaches
// a notch either way; the sum then starts again at 0 and a remainder is
// dropped. Returns 0 while the sum stays below a notch.
int WkWheelAccumulate(int delta, int* lines);
// Forgets the sum and the lines per notch (a new start).
void WkResetWheel();
