// A stand-in form class for the object-model tests: children on one page, a
// scroll offset, a simple vertical layout (children stacked at the child
// spacing inside the border), and a leaf class that records the messages it
// receives. Also a top-level window on the test's display, with the form as
// its main form, and the toolkit started on an offscreen display.
#pragma once

#include "toolkit/core/event_loop.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/object.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/shell_data.h"
#include "toolkit/core/window_system.h"
#include "toolkit/platform/font_test_fonts.h"
#include "toolkit/platform/offscreen.h"
#include "support/nothing_left.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace testform {

inline constexpr int kMaxChildren = 16;
inline constexpr int kSpacing = 3;

struct FormRecord {
    WkObject* children[kMaxChildren];
    int count;
    int scrolled, scrollX, scrollY;
};

inline FormRecord* Record(WkObject* form) { return static_cast<FormRecord*>(form->classRecord); }

inline void SetRealized(WkObject* object, bool on);

inline int FormHandler(WkObject* form, WkMessage* message) {
    FormRecord* r = Record(form);
    int b = WkObjectBorder(form);
    switch (message->type) {
    case WK_MSG_QUERY_SIZE: {
        int width = 0, height = kSpacing;
        for (int i = 0; i < r->count; ++i) {
            WkObjectQuerySize(r->children[i]);
            width = std::max(width, int(r->children[i]->width));
            height += r->children[i]->height + kSpacing;
        }
        if (!(form->layout & WK_LAYOUT_FIXED_WIDTH)) form->width = width + 2 * kSpacing + 2 * b;
        if (!(form->layout & WK_LAYOUT_FIXED_HEIGHT)) form->height = height + 2 * b;
        return 1;
    }
    case WK_MSG_RESIZE: {
        form->width = WkNewWidth(message);
        form->height = WkNewHeight(message);
        int y = b + kSpacing;
        for (int i = 0; i < r->count; ++i) {
            r->children[i]->x = b + kSpacing;
            r->children[i]->y = y;
            y += r->children[i]->height + kSpacing;
            if (r->children[i]->classCode == WK_CLASS_FORM) {
                WkMessage place;
                place.type = WK_MSG_RESIZE;
                WkSetNewSize(&place, r->children[i]->width, r->children[i]->height);
                WkSendMessage(r->children[i], &place);
            }
        }
        return 1;
    }
    case WK_MSG_EXPOSE:
        WkPaintObjectBackground(form);
        for (int i = 0; i < r->count; ++i) WkRedraw(r->children[i], 0);
        return 1;
    case WK_MSG_DESTROY:
        while (r->count > 0) WkObjectDestroy(r->children[r->count - 1]);
        return 1;
    default:
        return 0;
    }
}

inline int PageChildren(WkObject* form, WkObject* const** children) {
    *children = Record(form)->children;
    return Record(form)->count;
}

inline int ScrollOffset(WkObject* form, int* dx, int* dy) {
    FormRecord* r = Record(form);
    *dx = r->scrollX;
    *dy = r->scrollY;
    return r->scrolled;
}

inline void RemoveChild(WkObject* form, WkObject* child) {
    FormRecord* r = Record(form);
    auto end = std::remove(r->children, r->children + r->count, child);
    r->count = int(end - r->children);
}

inline void InstallFormAccess() {
    WkFormAccess access{PageChildren, ScrollOffset, nullptr, RemoveChild};
    WkSetFormAccess(&access);
}

inline void AddChild(WkObject* parent, WkObject* child) {
    child->parent = parent;
    if (WkShellData* shell = WkShellRecord(parent)) {
        shell->mainForm = shell->colorHolder = child;
        return;
    }
    FormRecord* r = Record(parent);
    if (r->count < kMaxChildren) r->children[r->count++] = child;
}

inline WkObject* MakeForm(WkObject* parent) {
    WkObject base = WkBaseTemplate(WK_CLASS_FORM);
    base.handler = FormHandler;
    WkObject* form = WkNewObject(base, nullptr, sizeof(FormRecord));
    WkInheritColors(parent, form);
    if (parent) AddChild(parent, form);
    return form;
}

// The two values a message carries first, by its type: a key's modifiers
// and code, a pointer's position, an expose's origin, a new size or
// position, a new shadow's widths, a new foreground or image mode, a text
// buffer's size; 0 for what a type does not carry.
inline std::pair<std::intptr_t, std::intptr_t> Carried(const WkMessage* m) {
    switch (m->type) {
    case WK_MSG_KEY: return {WkKeyModifiers(m), WkKeyCode(m)};
    case WK_MSG_PRESS:
    case WK_MSG_RELEASE:
    case WK_MSG_MOTION:
    case WK_MSG_ENTER:
    case WK_MSG_LEAVE:
    case WK_MSG_WHEEL: return {WkPointerX(m), WkPointerY(m)};
    case WK_MSG_EXPOSE: return {WkExposeOriginX(m), WkExposeOriginY(m)};
    case WK_MSG_RESIZE: return {WkNewWidth(m), WkNewHeight(m)};
    case WK_MSG_MOVE: return {WkNewX(m), WkNewY(m)};
    case WK_MSG_SHADOW: return {WkNewShadowWidth(m), WkNewOuterShadowWidth(m)};
    case WK_MSG_COLORS: return {WkNewForeground(m), 0};
    case WK_MSG_IMAGE: return {WkNewImageMode(m), 0};
    case WK_MSG_GET_TEXT: return {WkTextBufferSize(m), 0};
    default: return {0, 0};
    }
}

// What a leaf has received: each message's type and its two first values.
struct Log {
    std::vector<int> types;
    std::vector<std::intptr_t> a, b;
    int count(int type) const { return int(std::count(types.begin(), types.end(), type)); }
    void add(const WkMessage* m) {
        types.push_back(m->type);
        const auto [first, second] = Carried(m);
        a.push_back(first);
        b.push_back(second);
    }
};

struct LeafRecord {
    Log* log;
    int paints; // draws its background on expose
};

inline int LeafHandler(WkObject* leaf, WkMessage* message) {
    auto* r = static_cast<LeafRecord*>(leaf->classRecord);
    if (r->log) {
        r->log->add(message);
    }
    if (message->type == WK_MSG_EXPOSE && r->paints) WkPaintObjectBackground(leaf);
    return 7;
}

inline WkObject* MakeLeaf(WkObject* parent, int width, int height, Log* log = nullptr) {
    WkObject base = WkBaseTemplate(WK_CLASS_DRAWING_AREA);
    base.handler = LeafHandler;
    base.width = width;
    base.height = height;
    LeafRecord record{log, 1};
    WkObject* leaf = WkNewObject(base, &record, sizeof record);
    WkInheritColors(parent, leaf);
    if (parent) AddChild(parent, leaf);
    leaf->state |= WK_STATE_SHOWN;
    return leaf;
}

inline void SetRealized(WkObject* object, bool on) {
    if (on)
        object->state |= WK_STATE_REALIZED | WK_STATE_SHOWN;
    else
        object->state &= std::uint16_t(~WK_STATE_REALIZED);
    if (object->classCode == WK_CLASS_FORM)
        for (int i = 0; i < Record(object)->count; ++i) SetRealized(Record(object)->children[i], on);
    if (WkShellData* shell = WkShellRecord(object))
        if (shell->mainForm) SetRealized(shell->mainForm, on);
}

// The test form lays its children out only when resized, nor does it pass
// the map on: a shown top-level window gets both done for it.
inline void LayOutShown(WkObject* shell) {
    WkMessage m;
    m.type = WK_MSG_RESIZE;
    WkSetNewSize(&m, shell->width, shell->height);
    WkSendMessage(shell, &m);
    SetRealized(shell, true);
}

// A top-level window with a native window of the given client size and a
// main form filling it.
inline WkObject* MakeShell(int width, int height) {
    WkObject base = WkBaseTemplate(WK_CLASS_SHELL);
    WkObject* shell = WkNewObject(base, nullptr, sizeof(WkShellData));
    WkInheritColors(nullptr, shell);
    shell->width = width;
    shell->height = height;
    plat::WindowParams params;
    params.client = plat::Rect{10, 10, 10 + width, 10 + height};
    WkShellRecord(shell)->nativeWindow = WkDisplay()->createWindow(params);
    WkDisplay()->show(WkShellRecord(shell)->nativeWindow, true);
    WkObject* form = MakeForm(shell);
    form->width = width;
    form->height = height;
    return shell;
}

inline WkObject* MainForm(WkObject* shell) { return WkShellRecord(shell)->mainForm; }
inline plat::Surface& SurfaceOf(WkObject* shell) { return *WkDisplay()->surface(WkObjectGetNativeWindow(shell)); }

inline WkMessage Pointer(int type, int x, int y) {
    WkMessage m;
    m.type = type;
    WkSetPointerPosition(&m, x, y);
    WkSetPointerButton(&m, 1);
    return m;
}

// Types one key with the modifiers held and lets the loop deliver it.
inline bool TypeKey(plat::OffscreenDisplay& display, std::uint16_t vk, std::uint8_t scan, std::uint32_t mods,
                    std::uint8_t ch = 0, bool extended = false) {
    display.holdModifiers(mods);
    plat::KeyInfo k;
    k.virtualKey = vk;
    k.scanCode = scan;
    k.extended = extended;
    k.character = ch;
    const bool typed = display.injectKey(k);
    WkFlushEvents();
    display.holdModifiers(0);
    return typed;
}

inline plat::Rgb Rgb(WkColor c) {
    int r, g, b;
    WkColorToRGB(c, &r, &g, &b);
    return plat::MakeRgb(r, g, b);
}

// Gives the object a background of its own, keeping its foreground.
inline void SetColor(WkObject* o, int r, int g, int b) {
    WkStoreColors(o, WkAllocColor(r, g, b), WkAddColorRef(o->foreground));
}

inline const std::string& ToolkitFolder() {
    static const std::string folder = std::string(TM_TEST_OUTPUT_DIR) + "/wokusys";
    return folder;
}

// Starts the toolkit on an offscreen display per test and shuts it down.
class ToolkitTest : public ::testing::Test {
protected:
    void Start(bool palette) {
        static const bool prepared = [] {
            std::filesystem::create_directories(ToolkitFolder());
            return UseTestFonts() && setenv("WOKUDIR", ToolkitFolder().c_str(), 1) == 0;
        }();
        ASSERT_TRUE(prepared);
        plat::OffscreenOptions options;
        options.width = 640;
        options.height = 480;
        options.paletteMode = palette;
        display = std::make_unique<plat::OffscreenDisplay>(options);
        program = ToolkitFolder() + "/objtest";
        argv[0] = program.data();
        argv[1] = nullptr;
        WkInitWindowSystem(display.get(), nullptr, argv);
        InstallFormAccess();
    }
    void SetUp() override { Start(false); }
    void TearDown() override {
        tmtest::ExpectNothingLeftBehind();
        WkEndDraw();
        WkReleaseDefaultColors();
        WkShutdown();
        WkSetFormAccess(nullptr);
    }

    std::unique_ptr<plat::OffscreenDisplay> display;
    std::string program;
    char* argv[2] = {};
};

} // namespace testform
