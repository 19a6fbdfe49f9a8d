#include "toolkit/core/event_loop.h"

#include "toolkit/core/clipboard.h"
#include "toolkit/core/draw.h"
#include "toolkit/core/keys.h"
#include "toolkit/core/native_windows.h"

namespace {

WkMessage* pending = nullptr;

constexpr std::uint32_t kPointerBits =
    plat::kShift | plat::kCtrl | plat::kAlt | plat::kLeftHeld | plat::kMiddleHeld | plat::kRightHeld;

// The pointer as the host gives it: the same position in both places (the
// router makes the first relative to the receiver and the second to the
// screen) and the modifier and button bits.
void SetPointer(WkMessage* m, int x, int y, std::uint32_t modifiers) {
    WkSetPointerPosition(m, x, y);
    WkSetPointerScreen(m, x, y);
    WkSetPointerState(m, static_cast<int>(modifiers & kPointerBits));
}

// Fills the record from the event; false when the event makes no message
// (it gets the default handling).
bool Fill(const plat::Event& event, WkMessage* m, std::intptr_t* result) {
    *m = WkMessage();
    m->window = static_cast<std::intptr_t>(event.window);
    switch (event.type) {
    case plat::EventType::Move:
        m->type = WK_MSG_MOVE;
        WkSetNewPosition(m, event.x, event.y);
        return true;
    case plat::EventType::Resize:
        if (event.minimised) {
            m->type = WK_MSG_UNMAP;
        } else {
            m->type = WK_MSG_RESIZE;
            WkSetNewSize(m, event.width, event.height);
        }
        return true;
    case plat::EventType::FocusIn:
        m->type = WK_MSG_FOCUS_IN;
        return true;
    case plat::EventType::FocusOut:
        m->type = WK_MSG_FOCUS_OUT;
        return true;
    case plat::EventType::Paint:
        m->type = WK_MSG_EXPOSE;
        WkSetExposeClip(m, WkRect{event.rect.x0, event.rect.y0, event.rect.width(), event.rect.height()});
        return true;
    case plat::EventType::CloseRequest:
        m->type = WK_MSG_CLOSE;
        return true;
    case plat::EventType::KeyDown:
        if ((event.modifiers & plat::kAlt) && event.key.virtualKey == WK_KEY_F4) {
            m->type = WK_MSG_CLOSE;
            return true;
        }
        if ((event.modifiers & plat::kAlt) && event.key.virtualKey == WK_KEY_ALT_TAB)
            return false;
        m->type = WK_MSG_KEY;
        WkSetKey(m, WkModifierBits(event.modifiers), event.key.virtualKey);
        return true;
    case plat::EventType::Character:
        m->type = WK_MSG_KEY;
        WkSetKey(m, WkModifierBits(event.modifiers), event.key.character);
        return true;
    case plat::EventType::PointerMove:
    case plat::EventType::ButtonPress:
    case plat::EventType::ButtonRelease:
        m->type = event.type == plat::EventType::PointerMove    ? WK_MSG_MOTION
                  : event.type == plat::EventType::ButtonPress ? WK_MSG_PRESS
                                                                : WK_MSG_RELEASE;
        SetPointer(m, event.x, event.y, event.modifiers);
        WkSetPointerButton(m, event.type == plat::EventType::PointerMove ? 0 : event.button);
        return true;
    case plat::EventType::PointerEnter:
    case plat::EventType::PointerLeave:
        m->type = event.type == plat::EventType::PointerEnter ? WK_MSG_ENTER : WK_MSG_LEAVE;
        SetPointer(m, event.x, event.y, event.modifiers);
        return true;
    case plat::EventType::Wheel: {
        int lines = 0;
        if (!WkWheelAccumulate(event.wheelDelta, &lines)) {
            *result = 0;
            return false;
        }
        // The wheel reports the pointer on the screen; the router makes it
        // relative to the receiver.
        m->type = WK_MSG_WHEEL;
        SetPointer(m, event.screenX, event.screenY, event.modifiers);
        WkSetWheelLines(m, lines);
        return true;
    }
    case plat::EventType::ClipboardLost:
        WkSetClipboardText(0, nullptr, 0);
        return false;
    case plat::EventType::ActivateQuery: {
        const WkNativeWindow modal = WkGetModalWindow();
        if (modal != 0 && modal != event.window) {
            WkBeep();
            *result = 0;
        } else {
            *result = 1;
        }
        return false;
    }
    default:
        return false;
    }
}

// One event with the loops' key handling.
void Handle(plat::Display& display, plat::Event& event) {
    if (event.type == plat::EventType::KeyDown) {
        // The modifiers as they were when the key went down: a host that
        // hands over its input in batches has already taken the releases
        // that follow, so the keys held now may no longer include them.
        const int code = WkTranslateKey(event.key, event.modifiers);
        if (code == 0) {
            display.translate(event);
            return;
        }
        event.key.virtualKey = static_cast<std::uint16_t>(code);
    }
    display.dispatch(event);
}

} // namespace

void WkInstallEventLoop() { WkSetWindowProcedure(&WkWindowProc); }

std::intptr_t WkWindowProc(const plat::Event& event) {
    if (pending && pending->type != 0) {
        WkMessage earlier = *pending;
        pending->type = 0;
        WkRouteEvent(&earlier);
    }
    WkMessage own;
    std::intptr_t result = 0;
    if (!Fill(event, &own, &result))
        return result;
    if (pending)
        *pending = own;
    else
        WkRouteEvent(&own);
    return 0;
}

int WkMainLoop() {
    plat::Display* display = WkDisplay();
    if (!display)
        return 0;
    for (;;) {
        plat::Event event = display->waitEvent();
        if (event.type == plat::EventType::Quit)
            return 0;
        Handle(*display, event);
    }
}

void WkLoopWhile(const int* flag, int value) {
    plat::Display* display = WkDisplay();
    if (!display || !flag)
        return;
    while (*flag == value) {
        plat::Event event = display->waitEvent();
        if (event.type == plat::EventType::Quit) {
            // The main loop must see the quit too, or the program hangs on.
            display->postQuit(event.exitCode);
            return;
        }
        Handle(*display, event);
    }
}

void WkFlushEvents() {
    plat::Display* display = WkDisplay();
    if (!display)
        return;
    plat::Event event;
    while (display->peekEvent(event)) {
        if (event.type == plat::EventType::Quit) {
            display->postQuit(event.exitCode);
            return;
        }
        Handle(*display, event);
    }
}

int WkNextEvent(WkMessage* record, int wait) {
    plat::Display* display = WkDisplay();
    if (!record)
        return 0;
    record->type = 0;
    if (!display)
        return 0;
    // Put back on every way out, a display that cannot wait included.
    struct Restore {
        WkMessage* outer;
        ~Restore() { pending = outer; }
    } restore{pending};
    pending = record;
    while (record->type == 0) {
        plat::Event event;
        if (wait) {
            event = display->waitEvent();
        } else if (!display->peekEvent(event)) {
            break;
        }
        if (event.type == plat::EventType::Quit) {
            display->postQuit(event.exitCode);
            break;
        }
        Handle(*display, event);
    }
    return record->type;
}
