// The toolkit's message record (WkMessage), its types, and the named readers
// and writers of its fields.
//
// A message is a type and eight pointer-sized words whose meaning depends on
// the type. Code reads and fills them through the functions below, which
// say once, by type, what each word holds; besides them only
// WkSendSimpleMessage (object.h), which fills the first two words of any
// type as it is given them, touches the words by their letters. The record
// is a plain value: whoever makes one owns it, and the texts, buffers and
// images it points at stay the sender's.
#pragma once

#include "toolkit/core/colors.h"
#include "toolkit/core/rect_list.h"

#include <cstdint>

struct WkImage;

// Message types.
inline constexpr int WK_MSG_KEY = 1;
inline constexpr int WK_MSG_PRESS = 2;
inline constexpr int WK_MSG_RELEASE = 3;
inline constexpr int WK_MSG_MOTION = 4;
inline constexpr int WK_MSG_ENTER = 5;
inline constexpr int WK_MSG_LEAVE = 6;
inline constexpr int WK_MSG_EXPOSE = 7;
inline constexpr int WK_MSG_DESTROY = 8;
inline constexpr int WK_MSG_MAP = 9;
inline constexpr int WK_MSG_UNMAP = 10;
inline constexpr int WK_MSG_QUERY_SIZE = 11; // the class writes its preferred (and minimum) size
inline constexpr int WK_MSG_RESIZE = 12;
inline constexpr int WK_MSG_MOVE = 13;
inline constexpr int WK_MSG_FOCUS_IN = 14;
inline constexpr int WK_MSG_FOCUS_OUT = 15;
inline constexpr int WK_MSG_REALIZE = 17;
inline constexpr int WK_MSG_UNREALIZE = 18;
inline constexpr int WK_MSG_COLORS = 19;
inline constexpr int WK_MSG_SHADOW = 20;
inline constexpr int WK_MSG_SET_TEXT = 21;
inline constexpr int WK_MSG_GET_TEXT = 22;    // answered with WkMessageReturnText
inline constexpr int WK_MSG_CLOSE = 23;
inline constexpr int WK_MSG_SENSITIVE = 24;
inline constexpr int WK_MSG_ACTIVE = 25;
inline constexpr int WK_MSG_POP_DOWN = 26;    // drop the pointer grab
inline constexpr int WK_MSG_IMAGE = 27;
inline constexpr int WK_MSG_WHEEL = 28;
inline constexpr int WK_MSG_TRANSPARENCY = 29;
inline constexpr int WK_MSG_RECOLOR = 30;      // the parent form's colours or image changed

// The event mask bit of a message type.
inline constexpr std::uint32_t WkMessageBit(int type) { return std::uint32_t(1) << (type - 1); }

// The message record. Every field is pointer-sized, so that the texts,
// buffers and images some types carry fit. The window layer puts the native
// window into the window field; the attribute messages the toolkit makes
// itself carry their first value there instead.
struct WkMessage {
    int type = 0;
    std::intptr_t window = 0;
    std::intptr_t a = 0, b = 0, c = 0, d = 0, e = 0, f = 0, g = 0;
};

// Key (WK_MSG_KEY): the modifier bits held (WK_MOD_SHIFT, WK_MOD_CTRL,
// WK_MOD_ALT) and the toolkit key code (WK_KEY_..., or a character).
inline int WkKeyModifiers(const WkMessage* m) { return int(m->a); }
inline int WkKeyCode(const WkMessage* m) { return int(m->b); }
inline void WkSetKey(WkMessage* m, int modifiers, int code) { m->a = modifiers, m->b = code; }

// Pointer (press, release, motion, enter, leave and wheel): the position
// relative to the receiver (the delivery rewrites it on the way down
// through the forms), the position on the screen, the modifier and held-
// button bits (0x100 left, 0x200 middle, 0x400 right; a press has its own
// button's bit), and for a press or release the button (1 left, 2 middle,
// 3 right; 0 for the others). A wheel message also carries the lines to
// scroll, negative when the wheel turns away from the user.
inline int WkPointerX(const WkMessage* m) { return int(m->a); }
inline int WkPointerY(const WkMessage* m) { return int(m->b); }
inline int WkPointerScreenX(const WkMessage* m) { return int(m->c); }
inline int WkPointerScreenY(const WkMessage* m) { return int(m->d); }
inline int WkPointerState(const WkMessage* m) { return int(m->e); }
inline int WkPointerButton(const WkMessage* m) { return int(m->f); }
inline int WkWheelLines(const WkMessage* m) { return int(m->g); }
inline void WkSetPointerPosition(WkMessage* m, int x, int y) { m->a = x, m->b = y; }
// Moves the position relative to the receiver, e.g. into a child's frame.
inline void WkOffsetPointer(WkMessage* m, int dx, int dy) { m->a += dx, m->b += dy; }
inline void WkSetPointerScreen(WkMessage* m, int x, int y) { m->c = x, m->d = y; }
inline void WkOffsetPointerScreen(WkMessage* m, int dx, int dy) { m->c += dx, m->d += dy; }
inline void WkSetPointerState(WkMessage* m, int state) { m->e = state; }
inline void WkSetPointerButton(WkMessage* m, int button) { m->f = button; }
inline void WkSetWheelLines(WkMessage* m, int lines) { m->g = lines; }

// Expose (WK_MSG_EXPOSE): the receiver's origin in its native window, the
// clip rectangle relative to the receiver, and flags a parent form leaves
// for its children (0 from anyone else).
inline int WkExposeOriginX(const WkMessage* m) { return int(m->a); }
inline int WkExposeOriginY(const WkMessage* m) { return int(m->b); }
inline WkRect WkExposeClip(const WkMessage* m) { return WkRect{int(m->c), int(m->d), int(m->e), int(m->f)}; }
inline int WkExposeFlags(const WkMessage* m) { return int(m->g); }
inline void WkSetExposeOrigin(WkMessage* m, int x, int y) { m->a = x, m->b = y; }
inline void WkSetExposeClip(WkMessage* m, const WkRect& clip) {
    m->c = clip.x, m->d = clip.y, m->e = clip.width, m->f = clip.height;
}
inline void WkSetExposeFlags(WkMessage* m, int flags) { m->g = flags; }
// An expose of the native window with the origin and clip; flags 0.
inline WkMessage WkExposeMessage(std::intptr_t window, int originX, int originY, const WkRect& clip) {
    WkMessage m;
    m.type = WK_MSG_EXPOSE;
    m.window = window;
    WkSetExposeOrigin(&m, originX, originY);
    WkSetExposeClip(&m, clip);
    return m;
}

// Resize (WK_MSG_RESIZE): the new width and height. Move (WK_MSG_MOVE): the
// native window's new position.
inline int WkNewWidth(const WkMessage* m) { return int(m->a); }
inline int WkNewHeight(const WkMessage* m) { return int(m->b); }
inline int WkNewX(const WkMessage* m) { return int(m->a); }
inline int WkNewY(const WkMessage* m) { return int(m->b); }
inline void WkSetNewSize(WkMessage* m, int width, int height) { m->a = width, m->b = height; }
inline void WkSetNewPosition(WkMessage* m, int x, int y) { m->a = x, m->b = y; }

// Attribute changes, each with the new value first (in the window field):
// colours (WK_MSG_COLORS) the background and the foreground; shadow
// (WK_MSG_SHADOW) the type, the width (0 with the type 0) and the outer
// width (0 below the etched types); text (WK_MSG_SET_TEXT); sensitivity and
// active state (WK_MSG_SENSITIVE, WK_MSG_ACTIVE) 1 or 0; background image
// (WK_MSG_IMAGE) the image or null and the mode (low byte); transparency
// (WK_MSG_TRANSPARENCY) the level (low byte).
inline WkColor WkNewBackground(const WkMessage* m) { return WkColor(m->window); }
inline WkColor WkNewForeground(const WkMessage* m) { return WkColor(m->a); }
inline int WkNewShadowType(const WkMessage* m) { return int(m->window); }
inline int WkNewShadowWidth(const WkMessage* m) { return int(m->a); }
inline int WkNewOuterShadowWidth(const WkMessage* m) { return int(m->b); }
inline const char* WkNewText(const WkMessage* m) { return reinterpret_cast<const char*>(m->window); }
inline int WkTurnedOn(const WkMessage* m) { return int(m->window); }
inline WkImage* WkNewImage(const WkMessage* m) { return reinterpret_cast<WkImage*>(m->window); }
inline int WkNewImageMode(const WkMessage* m) { return int(m->a); }
inline int WkNewTransparency(const WkMessage* m) { return int(m->window); }
inline void WkSetNewColors(WkMessage* m, WkColor background, WkColor foreground) {
    m->window = std::intptr_t(background), m->a = std::intptr_t(foreground);
}
// Focus in (WK_MSG_FOCUS_IN) of an object inside a window: why it takes the
// focus. A field entered from the keyboard is there to be typed over; one
// clicked into takes the caret where the click fell. The window's own focus
// in carries no reason.
inline constexpr int WK_FOCUS_BY_PROGRAM = 0; // named by the program, or given back to a window left and re-entered
inline constexpr int WK_FOCUS_BY_KEY = 1;     // Tab, Shift+Tab, Enter, an arrow key, or the window opening on it
inline constexpr int WK_FOCUS_BY_POINTER = 2; // a click
inline int WkFocusReason(const WkMessage* m) { return int(m->a); }
inline void WkSetFocusReason(WkMessage* m, int reason) { m->a = reason; }
inline void WkSetNewImage(WkMessage* m, WkImage* image, int mode) {
    m->window = reinterpret_cast<std::intptr_t>(image), m->a = mode;
}

// Get text (WK_MSG_GET_TEXT): the caller's buffer, or null for an
// allocated copy, and its size; the answer leaves the text's address in the
// buffer field.
inline char* WkTextBuffer(const WkMessage* m) { return reinterpret_cast<char*>(m->window); }
inline std::intptr_t WkTextBufferSize(const WkMessage* m) { return m->a; }
inline void WkSetTextBuffer(WkMessage* m, char* buffer) {
    m->window = reinterpret_cast<std::intptr_t>(buffer);
}
inline void WkSetTextBuffer(WkMessage* m, char* buffer, std::intptr_t size) {
    WkSetTextBuffer(m, buffer);
    m->a = size;
}
