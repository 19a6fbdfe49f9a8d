// Events: what the platform layer tells the toolkit's window procedure, and
// the small value types that travel with them (window, timer and cursor ids,
// modifier and button bits, key information).
//
// One flat record serves every event type; each type names the fields it
// fills (the others stay 0). Coordinates are pixels; "client" coordinates are
// relative to the top-left corner of a window's client area, "screen"
// coordinates to the screen's. Modifier and button bits use the values the
// toolkit's messages carry, so they pass through unchanged.
#pragma once

#include "toolkit/platform/surface.h"

#include <cstdint>

namespace plat {

using WindowId = std::uint32_t; // 0: no window
using TimerId = std::uint32_t;  // 0: no timer
using CursorId = std::uint32_t; // 0: no cursor (the arrow is shown)

// Modifier bits: keys held (Num Lock: the lock is on).
inline constexpr std::uint32_t kShift = 0x1;
inline constexpr std::uint32_t kCtrl = 0x4;
inline constexpr std::uint32_t kAlt = 0x8;
inline constexpr std::uint32_t kNumLock = 0x10;
// Button bits: pointer buttons held.
inline constexpr std::uint32_t kLeftHeld = 0x100;
inline constexpr std::uint32_t kMiddleHeld = 0x200;
inline constexpr std::uint32_t kRightHeld = 0x400;

// Pointer buttons.
inline constexpr int kLeftButton = 1;
inline constexpr int kMiddleButton = 2;
inline constexpr int kRightButton = 3;

// One notch of the wheel; a turn away from the user is positive.
inline constexpr int kWheelNotch = 120;

// A key as the keyboard reports it, before the toolkit translates it.
struct KeyInfo {
    // 'A'..'Z' for the letter keys, '0'..'9' for the digits of the main
    // block, ' ' for the space bar, 0 for every other key (known by its scan
    // code). A loop may put its own key code here before dispatching.
    std::uint16_t virtualKey = 0;
    std::uint8_t scanCode = 0;  // PC keyboard scan code of the key's position
    bool extended = false;      // the separate cursor block, keypad Enter and the like
    std::uint8_t character = 0; // Windows-1252 character the key types now, 0 none
};

enum class EventType : std::uint8_t {
    None,
    // Caused by calls of the program, delivered from inside them, and by the
    // user, through the queue:
    Move,     // x, y: the client area's new screen position
    Resize,   // width, height: the new client size; minimised: the window was minimised
    FocusIn,  // the window became the active one and holds the keyboard focus
    FocusOut, // the window lost the keyboard focus
    Paint,    // rect: bounding rectangle of the area to draw again (client)
    // From the queue only:
    CloseRequest, // the user asked to close the window
    KeyDown,      // key, modifiers
    Character,    // key.character, modifiers (made by Display::translate)
    PointerMove,  // x, y (client), screenX, screenY, modifiers | buttons held
    ButtonPress,  // as PointerMove, plus button; its own bit is in modifiers
    ButtonRelease,
    Wheel,        // as PointerMove, plus wheelDelta (kWheelNotch per notch)
    PointerEnter, // the pointer came into the window's client area
    PointerLeave, // the pointer left it
    ClipboardLost, // another program took the clipboard from this window
    // Produced only when the queue is empty, in this order:
    Quit,  // exitCode; window 0
    Timer, // timer, time (clock milliseconds); window 0
    // A question, answered by the listener's result (non-zero: yes):
    ActivateQuery, // may a click (hit, screenX, screenY) activate the window?
};

// Where a click that asks for activation hit its window.
enum class Hit : std::uint8_t { Client, Frame, CloseBox, MinimiseBox };

struct Event {
    EventType type = EventType::None;
    WindowId window = 0;
    int x = 0, y = 0;
    int screenX = 0, screenY = 0;
    int width = 0, height = 0;
    bool minimised = false;
    Rect rect;
    std::uint32_t modifiers = 0;
    int button = 0;
    int wheelDelta = 0;
    KeyInfo key;
    Hit hit = Hit::Client;
    TimerId timer = 0;
    std::int64_t time = 0;
    int exitCode = 0;
};

} // namespace plat
