// The toolkit's object model: the base record every window, form and widget
// shares (WkObject), the one delivery function WkSendMessage with its
// descent through forms, the event-handler lists run before the class
// handler, hit-testing and the geometry questions, creation from templates
// and destruction. The message record and its types are message.h.
//
// Behaviour is not inherited: each object carries one class handler that
// receives every message sent to it and a list of event handlers that run
// first, in the order they were registered, and cannot stop it (they may
// consume a message by setting its type to 0). An object owns its class
// record, its name and its event handlers; its colours are counted
// references (inherit.h).
//
// The forms and the top-level window are built elsewhere; what this module
// needs of them comes through two seams: WkFormAccess (the children of a
// form's current page, its scroll offset, taking a child out) and the shell
// record of shell_data.h (main form, colour holder, pointer and focus
// memory). Drawing and damage are object_draw.h, sizes and showing
// object_layout.h.
#pragma once

#include "toolkit/core/callback_list.h"
#include "toolkit/core/colors.h"
#include "toolkit/core/message.h"
#include "toolkit/core/rect_list.h"
#include "toolkit/core/window_system.h"

#include <cstddef>
#include <cstdint>

struct WkImage;
struct WkTooltip;

// Class codes.
inline constexpr std::uint16_t WK_CLASS_SHELL = 1;
inline constexpr std::uint16_t WK_CLASS_FORM = 2;
inline constexpr std::uint16_t WK_CLASS_LABEL = 3;
inline constexpr std::uint16_t WK_CLASS_PUSH_BUTTON = 4;
inline constexpr std::uint16_t WK_CLASS_TOGGLE = 5;
inline constexpr std::uint16_t WK_CLASS_TAB_TOGGLE = 6;
inline constexpr std::uint16_t WK_CLASS_SCROLL_BAR = 7;
inline constexpr std::uint16_t WK_CLASS_EDIT = 8;
inline constexpr std::uint16_t WK_CLASS_PROGRESS = 9;
inline constexpr std::uint16_t WK_CLASS_LIST = 11;
inline constexpr std::uint16_t WK_CLASS_MENU_BAR = 12;
inline constexpr std::uint16_t WK_CLASS_MENU = 13;
inline constexpr std::uint16_t WK_CLASS_DRAWING_AREA = 14;
inline constexpr std::uint16_t WK_CLASS_SASH = 15;

// State flags. Drawing of any kind needs both shown and realized.
inline constexpr std::uint16_t WK_STATE_SHOWN = 0x1;
inline constexpr std::uint16_t WK_STATE_SENSITIVE = 0x2;
inline constexpr std::uint16_t WK_STATE_FOCUS = 0x4;
inline constexpr std::uint16_t WK_STATE_PART = 0x8; // part of a composite: the outer object speaks for it
inline constexpr std::uint16_t WK_STATE_REALIZED = 0x10;
inline constexpr std::uint16_t WK_STATE_ACTIVE = 0x20;
inline constexpr std::uint16_t WK_STATE_ON = 0x100;
inline constexpr std::uint16_t WK_STATE_NEEDS_LAYOUT = 0x200; // a form lays itself out when next realized
inline constexpr std::uint16_t WK_STATE_DESTROYING = 0x400;
inline constexpr std::uint16_t WK_STATE_CLASS_READY = 0x800; // in a class's base template: set up
inline constexpr std::uint16_t WK_STATE_POINTER_OVER = 0x1000;

// Layout flags.
inline constexpr std::uint16_t WK_LAYOUT_GROW_X = 0x1;
inline constexpr std::uint16_t WK_LAYOUT_GROW_Y = 0x2;
inline constexpr std::uint16_t WK_LAYOUT_FOCUSABLE = 0x4;
inline constexpr std::uint16_t WK_LAYOUT_MIN_WIDTH = 0x8;
inline constexpr std::uint16_t WK_LAYOUT_MIN_HEIGHT = 0x10;
inline constexpr std::uint16_t WK_LAYOUT_SCROLL_INTO_VIEW = 0x20;
inline constexpr std::uint16_t WK_LAYOUT_NO_SPARE_X = 0x40;
inline constexpr std::uint16_t WK_LAYOUT_NO_SPARE_Y = 0x80;
inline constexpr std::uint16_t WK_LAYOUT_OUTER_WRAPPER = 0x100;
inline constexpr std::uint16_t WK_LAYOUT_FIXED_WIDTH = 0x200;
inline constexpr std::uint16_t WK_LAYOUT_FIXED_HEIGHT = 0x400;
inline constexpr std::uint16_t WK_LAYOUT_FIXED_X = 0x800;
inline constexpr std::uint16_t WK_LAYOUT_FIXED_Y = 0x1000;
inline constexpr std::uint16_t WK_LAYOUT_SELF_ATTRS = 0x2000; // appearance setters act on the object itself

// Size policies (per axis).
inline constexpr std::uint8_t WK_POLICY_FOLLOW = 0;
inline constexpr std::uint8_t WK_POLICY_FIXED = 1;
inline constexpr std::uint8_t WK_POLICY_GROW = 2;

// Cell alignment: the row's or column's default.
inline constexpr std::uint8_t WK_ALIGN_DEFAULT = 63;

// Attachment kinds.
inline constexpr std::uint8_t WK_ATTACH_NONE = 0;
inline constexpr std::uint8_t WK_ATTACH_EDGE = 1;
inline constexpr std::uint8_t WK_ATTACH_SIBLING = 2;

// Colour flags (WkInheritFlags).
inline constexpr std::uint8_t WK_INHERIT_BACKGROUND = 0x1;
inline constexpr std::uint8_t WK_INHERIT_FOREGROUND = 0x2;
inline constexpr std::uint8_t WK_INHERIT_IMAGE_COLOR = 0x4; // the background is the image's average colour
inline constexpr std::uint8_t WK_INHERIT_OWNS_IMAGE = 0x8;  // loaded from a file, freed with the object
inline constexpr std::uint8_t WK_INHERIT_DERIVED_IMAGE = 0x10; // a blended copy, rebuilt when needed

// Background image modes.
inline constexpr std::uint8_t WK_IMAGE_TILED = 0;
inline constexpr std::uint8_t WK_IMAGE_CENTERED = 1;
inline constexpr std::uint8_t WK_IMAGE_SIZE = 2; // the object takes the image's size

// Shadow types.
inline constexpr std::uint8_t WK_SHADOW_NONE = 0;
inline constexpr std::uint8_t WK_SHADOW_OUT = 1;
inline constexpr std::uint8_t WK_SHADOW_IN = 2;
inline constexpr std::uint8_t WK_SHADOW_ETCHED_IN = 3;
inline constexpr std::uint8_t WK_SHADOW_ETCHED_OUT = 4;

inline constexpr std::uint8_t WK_TRANSPARENT = 255;

using WkClassHandler = int (*)(WkObject* object, WkMessage* message);

// Layout and identity: what the parent form reads to place the object.
struct WkObjectHead {
    std::uint16_t classCode = 0;
    std::uint16_t state = 0;
    std::uint16_t layout = 0;
    std::uint8_t policyX = 0, policyY = 0;
    std::uint8_t vAlign = WK_ALIGN_DEFAULT, hAlign = WK_ALIGN_DEFAULT;
    std::uint8_t attachTop = WK_ATTACH_EDGE, attachBottom = WK_ATTACH_EDGE;
    std::uint8_t attachLeft = WK_ATTACH_EDGE, attachRight = WK_ATTACH_EDGE;
    std::int16_t offsetTop = 0, offsetBottom = 0, offsetLeft = 0, offsetRight = 0;
    std::int16_t siblingTop = -1, siblingBottom = -1, siblingLeft = -1, siblingRight = -1;
    std::int16_t requestedX = 0, requestedY = 0;
    std::uint16_t fixedWidth = 0, fixedHeight = 0;
    std::uint16_t minWidth = 0, minHeight = 0;
    std::int32_t font = 0;
    std::int32_t cursor = 0; // 0: the enclosing objects' cursor
    WkObject* parent = nullptr;
    WkObject* outer = nullptr; // the object that stands for this one towards the application
};

// Geometry, colours and shadow: the block the drawing routines also take on
// its own (a widget may keep more boxes in its class record).
struct WkBox {
    std::int32_t x = 0, y = 0, width = 0, height = 0;
    WkImage* image = nullptr;
    WkColor background = 0;     // what is drawn: after inheritance and transparency blending
    WkColor foreground = 0;
    WkColor lightShadow = 0;    // background shaded to 140 percent
    WkColor darkShadow = 0;     // background shaded to 60 percent
    WkColor baseBackground = 0; // as set or inherited, before blending
    std::uint8_t colorFlags = 0;
    std::uint8_t backgroundPercent = 100, foregroundPercent = 100;
    std::uint8_t imageMode = WK_IMAGE_TILED;
    std::uint8_t shadowType = WK_SHADOW_NONE;
    std::uint8_t shadowWidth = 0, outerShadowWidth = 0;
};

struct WkObject : WkObjectHead, WkBox {
    std::uint8_t transparency = 0; // 0 opaque .. 255 fully transparent
    WkClassHandler handler = nullptr;
    WkEventHandler* handlers = nullptr;
    void* userData = nullptr;
    void* classRecord = nullptr; // owned; its layout is the class's
    char* name = nullptr;        // owned; the object's settings section
    WkTooltip* tooltip = nullptr;
    std::uint32_t configMask = 0;
};

// The border: shadow width plus outer shadow width.
inline int WkObjectBorder(const WkObject* object) { return object->shadowWidth + object->outerShadowWidth; }
inline bool WkObjectDrawable(const WkObject* object) {
    return (object->state & (WK_STATE_SHOWN | WK_STATE_REALIZED)) == (WK_STATE_SHOWN | WK_STATE_REALIZED);
}

// Sizes and positions kept in the 16-bit layout fields: a value beyond a
// field's range is held at its limit, never wrapped round to a small or
// negative one.
inline std::uint16_t WkClampSize16(long long value) {
    return std::uint16_t(value < 0 ? 0 : value > 0xFFFF ? 0xFFFF : value);
}
inline std::int16_t WkClampPosition16(long long value) {
    return std::int16_t(value < -32767 ? -32767 : value > 32767 ? 32767 : value);
}

// The base record a class's template starts from: the shared defaults and
// the class's own state, layout, colour flags, shadow and transparency.
WkObject WkBaseTemplate(std::uint16_t classCode);

// A new object: a copy of the base template and of classSize bytes of the
// class template (zeroed without one) as its own class record; it is its own
// outer object. Colours are given by WkInheritColors, the parent by the
// form that adds it.
WkObject* WkNewObject(const WkObject& base, const void* classTemplate, std::size_t classSize);

// Destroys the object (the whole composite for a part): marks it, takes it
// out of its parent form, sends the destroy message (destroy handlers run
// while it is complete), makes sure nothing keeps it (grab stack, every
// window's object under the pointer, remembered focus and mnemonics, the
// drawing target), releases its colours and owned image and frees its
// handlers, name, class record and record. A top-level window goes to the
// shell's own destruction when one is installed. Null does nothing.
void WkObjectDestroy(WkObject* object);

// Delivery: the descent through forms for presses and releases, the event
// handlers whose mask has the type's bit, then the class handler. Returns
// the class handler's result, 0 when the type is or became 0, 1 for a press
// or release swallowed by a child that is not shown or not realized.
int WkSendMessage(WkObject* object, WkMessage* message);
// Sends a message of the type with its window field and the next two
// words set (what message.h names for the type: a new size, the new
// shadow, colours...) and every other field 0; the class handler's result
// as WkSendMessage gives it.
int WkSendSimpleMessage(WkObject* object, int type, std::intptr_t window = 0, std::intptr_t a = 0,
                        std::intptr_t b = 0);

// 1 when the pointer message's position lies in the object's rectangle (x
// and y taken as 0 for a top-level window).
int WkObjectContainsPoint(const WkObject* object, const WkMessage* message);
// The object's visible rectangle, relative to itself, and its origin in the
// native window; all 0 when nothing of it is visible.
void WkObjectGetVisibleRect(WkObject* object, WkRect* rect, int* x, int* y);
// The object's position inside its top-level window: its x, y and those of
// every ancestor below the window, less the scroll offset of every scrolled
// form among them (the object itself included).
void WkObjectGetAbsolutePosition(WkObject* object, int* x, int* y);

// The top-level window at the root of the object's tree, or null.
WkObject* WkObjectGetShell(WkObject* object);
// The native window of that top-level window; 0 when there is none.
WkNativeWindow WkObjectGetNativeWindow(WkObject* object);

// Event handlers: the callback gets (object, message, data, matched bits)
// for every type whose bit (type - 1) is in the mask, before the class
// handler. Removal takes the first node with that callback.
void WkObjectAddEventHandler(WkObject* object, WkEventCallback callback, std::uint32_t mask, void* userData);
void WkObjectAddDestroyHandler(WkObject* object, WkEventCallback callback, void* userData);
void WkObjectRemoveEventHandler(WkObject* object, WkEventCallback callback);
void WkObjectRemoveDestroyHandler(WkObject* object, WkEventCallback callback);

// Texts. The get-text message carries the buffer and its size: a class
// answers with WkMessageReturnText, which copies at most size - 1
// characters and the terminator, or, when the buffer is null, puts an
// allocated copy (freed with WkFree) into the window field.
// WkObjectGetText returns the window field as the class left it: the
// buffer, an allocated copy, or another text the class put there.
char* WkObjectGetText(WkObject* object, char* buffer, std::size_t size);
void WkMessageReturnText(WkMessage* message, const char* text);

// What the object model needs of the form class. Installed by the form
// class; without it no object counts as having children.
struct WkFormAccess {
    // The children of the form's current page in order; returns the count.
    int (*pageChildren)(WkObject* form, WkObject* const** children);
    // 1 with the offset for a form that scrolls its children, else 0.
    int (*scrollOffset)(WkObject* form, int* dx, int* dy);
    // 1 for a table form whose body form exists: WkRelayout leaves it alone.
    int (*hasTableBody)(WkObject* form);
    // Takes the child out of the form, which lays itself out again.
    void (*removeChild)(WkObject* form, WkObject* child);
    // The object a scrolled form hands the wheel to, or null (optional).
    WkObject* (*wheelReceiver)(WkObject* form);
    // Focus (optional): the current page's focused child, or null; the
    // object at the end of the focus path from the form down, or null;
    // giving an object the focus for a reason (WK_FOCUS_BY_..., message.h;
    // a form gives it to its first focusable child); moving the focus back
    // from an object that is being hidden.
    WkObject* (*focusedChild)(WkObject* form);
    WkObject* (*focusHolder)(WkObject* form);
    void (*setFocus)(WkObject* object, int reason);
    void (*focusPrevious)(WkObject* object);
};
// Copied; null removes it.
void WkSetFormAccess(const WkFormAccess* access);
// The children of a form's current page (0 and null for anything else).
int WkFormPageChildren(WkObject* form, WkObject* const** children);
// The scroll offset of a scrolled form, else 0, 0; returns 1 for a scrolled form.
int WkFormScrollOffset(WkObject* form, int* dx, int* dy);
int WkFormHasTableBody(WkObject* form);
WkObject* WkFormWheelReceiver(WkObject* form);
// The focus seams above; null or nothing without them.
WkObject* WkFormFocusedChild(WkObject* form);
WkObject* WkFormFocusHolder(WkObject* form);
void WkFormAccessSetFocus(WkObject* object, int reason);
void WkFormAccessFocusPrevious(WkObject* object);
