// Display test helpers: EventRecorder, a listener that writes down every
// event it receives as one short line ("FocusOut 1", "Paint 2 0,0,10,10") and
// answers activation questions as the test tells it, and DisplayTest, a
// fixture with an offscreen display listened to by a recorder.
#pragma once

#include "toolkit/platform/offscreen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace plattest {

inline const char* TypeName(plat::EventType t) {
    using T = plat::EventType;
    switch (t) {
    case T::None: return "None";
    case T::Move: return "Move";
    case T::Resize: return "Resize";
    case T::FocusIn: return "FocusIn";
    case T::FocusOut: return "FocusOut";
    case T::Paint: return "Paint";
    case T::CloseRequest: return "Close";
    case T::KeyDown: return "Key";
    case T::Character: return "Char";
    case T::PointerMove: return "Motion";
    case T::ButtonPress: return "Press";
    case T::ButtonRelease: return "Release";
    case T::Wheel: return "Wheel";
    case T::PointerEnter: return "Enter";
    case T::PointerLeave: return "Leave";
    case T::ClipboardLost: return "ClipboardLost";
    case T::Quit: return "Quit";
    case T::Timer: return "Timer";
    case T::ActivateQuery: return "MayActivate";
    }
    return "?";
}

// One line per event: the type, the window and the fields the type fills.
inline std::string Describe(const plat::Event& e) {
    using T = plat::EventType;
    std::string s = std::string(TypeName(e.type)) + " " + std::to_string(e.window);
    auto add = [&s](int v) { s += " " + std::to_string(v); };
    switch (e.type) {
    case T::Move: add(e.x), add(e.y); break;
    case T::Resize:
        if (e.minimised)
            s += " minimised";
        else
            add(e.width), add(e.height);
        break;
    case T::Paint:
        s += " " + std::to_string(e.rect.x0) + "," + std::to_string(e.rect.y0) + "," + std::to_string(e.rect.x1) + "," +
             std::to_string(e.rect.y1);
        break;
    case T::KeyDown:
    case T::Character: add(e.key.scanCode), add(e.key.character), add(int(e.modifiers)); break;
    case T::PointerMove:
    case T::PointerEnter:
    case T::PointerLeave: add(e.x), add(e.y); break;
    case T::ButtonPress:
    case T::ButtonRelease: add(e.x), add(e.y), add(e.button), add(int(e.modifiers)); break;
    case T::Wheel: add(e.x), add(e.y), add(e.wheelDelta); break;
    case T::Quit: add(e.exitCode); break;
    case T::Timer: add(int(e.timer)), add(int(e.time)); break;
    case T::ActivateQuery: add(int(e.hit)); break;
    default: break;
    }
    return s;
}

struct EventRecorder {
    std::vector<std::string> lines;
    bool allowActivation = true;

    void attach(plat::Display& d) {
        d.setListener([this](const plat::Event& e) -> std::intptr_t {
            lines.push_back(Describe(e));
            return e.type == plat::EventType::ActivateQuery ? (allowActivation ? 1 : 0) : 0;
        });
    }
    // Hands every waiting event to the listener, as a loop would.
    static void Drain(plat::Display& d) {
        plat::Event e;
        while (d.peekEvent(e)) d.dispatch(e);
    }
    std::vector<std::string> take() {
        std::vector<std::string> out;
        out.swap(lines);
        return out;
    }
};

class DisplayTest : public ::testing::Test {
protected:
    using Lines = std::vector<std::string>;

    void SetUp() override { rec.attach(d); }

    plat::WindowId make(plat::Rect client, plat::WindowId owner = 0, plat::WindowKind kind = plat::WindowKind::Framed,
                        std::uint32_t boxes = plat::kCloseBox | plat::kMinimiseBox | plat::kMaximiseBox) {
        plat::WindowParams p;
        p.client = client;
        p.owner = owner;
        p.kind = kind;
        p.boxes = boxes;
        return d.createWindow(p);
    }
    // Shows and activates a new framed window, then forgets the events that caused.
    plat::WindowId shown(plat::Rect client, plat::WindowId owner = 0,
                         std::uint32_t boxes = plat::kCloseBox | plat::kMinimiseBox | plat::kMaximiseBox) {
        plat::WindowId id = make(client, owner, plat::WindowKind::Framed, boxes);
        d.show(id, true);
        EventRecorder::Drain(d);
        rec.lines.clear();
        return id;
    }
    // Runs the waiting events through the listener; returns what it recorded.
    Lines drain() {
        EventRecorder::Drain(d);
        return rec.take();
    }

    plat::OffscreenDisplay d;
    EventRecorder rec;
};

} // namespace plattest
