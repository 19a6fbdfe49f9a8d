#include "toolkit/core/object.h"

#include "toolkit/core/grab.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/shell_data.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

WkFormAccess formAccess{};
WkShellOperations shellOperations{};
// The top-level windows that exist, so that a destroyed object can be
// cleared from each of them.
std::vector<WkObject*> liveShells;

struct ClassDefaults {
    std::uint16_t classCode, state, layout;
    std::uint8_t colorFlags, shadowType, shadowWidth, outerShadowWidth, transparency;
};

constexpr ClassDefaults kDefaults[] = {
    {WK_CLASS_SHELL, 0x22, 0, 0x4, 0, 0, 0, 0},
    {WK_CLASS_FORM, 0x2, 0, 0x2, 1, 1, 0, 0},
    {WK_CLASS_LABEL, 0x2, 0x1, 0x3, 0, 0, 0, 255},
    {WK_CLASS_PUSH_BUTTON, 0x2, 0x24, 0, 3, 3, 1, 0},
    {WK_CLASS_TOGGLE, 0x2, 0x25, 0x3, 0, 0, 0, 0},
    {WK_CLASS_TAB_TOGGLE, 0x2, 0x25, 0x3, 0, 0, 0, 0},
    {WK_CLASS_SCROLL_BAR, 0x2, 0x4, 0x3, 2, 1, 0, 255},
    {WK_CLASS_EDIT, 0x2, 0x24, 0, 4, 2, 1, 0},
    {WK_CLASS_PROGRESS, 0, 0x1, 0x3, 2, 2, 0, 0},
    {WK_CLASS_LIST, 0x2, 0x7, 0x3, 0, 0, 0, 0},
    {WK_CLASS_MENU_BAR, 0x2, 0x81, 0x7, 1, 2, 0, 0},
    {WK_CLASS_MENU, 0, 0, 0x7, 0, 0, 0, 255},
    {WK_CLASS_DRAWING_AREA, 0x2, 0, 0x3, 0, 0, 0, 0},
    {WK_CLASS_SASH, 0x2, 0, 0x1, 1, 1, 0, 255},
};

// Clears every reference a window keeps to an object that goes away.
void ForgetInShell(WkObject* shell, WkObject* gone) {
    WkShellData* data = WkShellRecord(shell);
    if (!data) return;
    if (data->rememberedFocus == gone) data->rememberedFocus = nullptr;
    if (data->underPointer == gone) data->underPointer = nullptr;
    if (data->mainForm == gone) data->mainForm = nullptr;
    if (data->colorHolder == gone) data->colorHolder = nullptr;
    if (data->mnemonics) {
        int kept = 0;
        for (int i = 0; i < data->mnemonicCount; ++i)
            if (data->mnemonics[i].object != gone) data->mnemonics[kept++] = data->mnemonics[i];
        data->mnemonicCount = std::int16_t(kept);
    }
}

void ForgetEverywhere(WkObject* gone) {
    WkForgetGrab(gone);
    for (WkObject* shell : liveShells)
        if (shell != gone) ForgetInShell(shell, gone);
    WkForgetDrawTarget(gone);
    if (gone->classCode == WK_CLASS_SHELL)
        liveShells.erase(std::remove(liveShells.begin(), liveShells.end(), gone), liveShells.end());
}

void FreeRecord(WkObject* object) {
    WkReleaseColors(object);
    WkFreeCallbacks(&object->handlers);
    WkFree(object->name);
    WkFree(object->classRecord);
    WkFree(object);
}

} // namespace

WkObject WkBaseTemplate(std::uint16_t classCode) {
    WkObject base;
    base.classCode = classCode;
    for (const ClassDefaults& d : kDefaults) {
        if (d.classCode != classCode) continue;
        base.state = d.state;
        base.layout = d.layout;
        base.colorFlags = d.colorFlags;
        base.shadowType = d.shadowType;
        base.shadowWidth = d.shadowWidth;
        base.outerShadowWidth = d.outerShadowWidth;
        base.transparency = d.transparency;
    }
    if (classCode == WK_CLASS_SHELL) {
        base.x = base.y = 10;
        base.width = base.height = 20;
        base.backgroundPercent = base.foregroundPercent = 0;
    } else if (classCode == WK_CLASS_FORM) {
        base.width = 20;
        base.height = 16;
    }
    return base;
}

WkObject* WkNewObject(const WkObject& base, const void* classTemplate, std::size_t classSize) {
    auto* object = new (WkCalloc(1, sizeof(WkObject))) WkObject(base);
    object->outer = object;
    object->parent = nullptr;
    object->handlers = nullptr;
    object->name = nullptr;
    object->tooltip = nullptr;
    object->image = nullptr;
    object->colorFlags &= std::uint8_t(~(WK_INHERIT_OWNS_IMAGE | WK_INHERIT_DERIVED_IMAGE));
    object->background = object->foreground = object->lightShadow = object->darkShadow = 0;
    object->baseBackground = 0;
    object->classRecord = nullptr;
    if (classSize) {
        object->classRecord = WkCalloc(1, classSize);
        if (classTemplate) std::memcpy(object->classRecord, classTemplate, classSize);
    }
    if (object->classCode == WK_CLASS_SHELL) liveShells.push_back(object);
    return object;
}

void WkObjectDestroy(WkObject* object) {
    if (!object) return;
    // A part stands for its whole composite, unless the composite is already
    // going and takes its parts down one by one.
    WkObject* outer = object->outer ? object->outer : object;
    if (object->classCode != WK_CLASS_SHELL && !(outer->state & WK_STATE_DESTROYING)) object = outer;
    if (object->state & WK_STATE_DESTROYING) return;
    if (object->classCode == WK_CLASS_SHELL && shellOperations.destroy) {
        // The window's own destruction frees the record; forget it first.
        ForgetEverywhere(object);
        shellOperations.destroy(object);
        return;
    }
    object->state |= WK_STATE_DESTROYING;
    WkObject* parent = object->parent;
    if (parent && parent->classCode == WK_CLASS_FORM && formAccess.removeChild)
        formAccess.removeChild(parent, object);
    if (WkShellData* data = WkShellRecord(parent)) {
        if (data->mainForm == object) data->mainForm = nullptr;
        if (data->colorHolder == object) data->colorHolder = nullptr;
    }
    WkMessage destroy;
    destroy.type = WK_MSG_DESTROY;
    WkSendMessage(object, &destroy);
    ForgetEverywhere(object);
    if (WkShellData* data = WkShellRecord(object)) {
        // A window without its own destruction: its main form goes with it.
        if (data->mainForm) WkObjectDestroy(data->mainForm);
        if (WkDisplay() && data->nativeWindow) WkDisplay()->destroyWindow(data->nativeWindow);
        WkFree(data->mnemonics);
        data->mnemonics = nullptr;
    }
    FreeRecord(object);
}

int WkSendSimpleMessage(WkObject* object, int type, std::intptr_t window, std::intptr_t a, std::intptr_t b) {
    WkMessage message;
    message.type = type;
    message.window = window;
    message.a = a;
    message.b = b;
    return WkSendMessage(object, &message);
}

int WkSendMessage(WkObject* object, WkMessage* message) {
    if (!object || !message) return 0;
    WkObject* receiver = object;
    if (message->type == WK_MSG_PRESS || message->type == WK_MSG_RELEASE) {
        while (receiver->classCode == WK_CLASS_FORM) {
            int dx, dy;
            if (WkFormScrollOffset(receiver, &dx, &dy)) WkOffsetPointer(message, dx, dy);
            WkObject* const* children = nullptr;
            int count = WkFormPageChildren(receiver, &children);
            WkObject* hit = nullptr;
            for (int i = count - 1; i >= 0 && !hit; --i)
                if (children[i] && WkObjectContainsPoint(children[i], message)) hit = children[i];
            if (!hit) break;
            if (!WkObjectDrawable(hit)) return 1;
            WkOffsetPointer(message, -hit->x, -hit->y);
            receiver = hit;
        }
    }
    std::uint32_t mask = message->type > 0 && message->type <= 32 ? WkMessageBit(message->type) : 0;
    for (WkEventHandler* node = receiver->handlers; node;) {
        WkEventHandler* next = node->next;
        if (node->maskOrKey & mask)
            WkAsEventCallback(node->callback)(receiver, message, node->userData, node->maskOrKey & mask);
        node = next;
    }
    if (message->type == 0 || !receiver->handler) return 0;
    return receiver->handler(receiver, message);
}

int WkObjectContainsPoint(const WkObject* object, const WkMessage* message) {
    if (!object || !message) return 0;
    std::intptr_t x = object->classCode == WK_CLASS_SHELL ? 0 : object->x;
    std::intptr_t y = object->classCode == WK_CLASS_SHELL ? 0 : object->y;
    const std::intptr_t px = WkPointerX(message), py = WkPointerY(message);
    return px >= x && px < x + object->width && py >= y && py < y + object->height;
}

void WkObjectGetVisibleRect(WkObject* object, WkRect* rect, int* x, int* y) {
    WkRect visible{0, 0, object->width, object->height};
    int px = 0, py = 0;
    bool empty = visible.width <= 0 || visible.height <= 0;
    for (WkObject *child = object, *ancestor = object->parent; ancestor && !empty;
         child = ancestor, ancestor = ancestor->parent) {
        px += child->x;
        py += child->y;
        int dx, dy;
        if (WkFormScrollOffset(ancestor, &dx, &dy)) {
            px -= dx;
            py -= dy;
        }
        WkIntersection cut;
        if (WkIntersectRect(visible, WkRect{-px, -py, ancestor->width, ancestor->height}, &cut))
            visible = cut.overlap;
        else
            empty = true;
    }
    if (empty) {
        visible = WkRect{};
        px = py = 0;
    }
    if (rect) *rect = visible;
    if (x) *x = px;
    if (y) *y = py;
}

void WkObjectGetAbsolutePosition(WkObject* object, int* x, int* y) {
    int px = 0, py = 0;
    for (WkObject* o = object; o && o->classCode != WK_CLASS_SHELL; o = o->parent) {
        px += o->x;
        py += o->y;
        int dx, dy;
        if (WkFormScrollOffset(o, &dx, &dy)) {
            px -= dx;
            py -= dy;
        }
    }
    if (x) *x = px;
    if (y) *y = py;
}

WkObject* WkObjectGetShell(WkObject* object) {
    if (!object) return nullptr;
    while (object->parent) object = object->parent;
    return object->classCode == WK_CLASS_SHELL ? object : nullptr;
}

WkNativeWindow WkObjectGetNativeWindow(WkObject* object) {
    WkShellData* data = WkShellRecord(WkObjectGetShell(object));
    return data ? data->nativeWindow : 0;
}

void WkObjectAddEventHandler(WkObject* object, WkEventCallback callback, std::uint32_t mask, void* userData) {
    if (object && callback) WkAppendCallback(&object->handlers, callback, userData, mask);
}

void WkObjectAddDestroyHandler(WkObject* object, WkEventCallback callback, void* userData) {
    WkObjectAddEventHandler(object, callback, WkMessageBit(WK_MSG_DESTROY), userData);
}

void WkObjectRemoveEventHandler(WkObject* object, WkEventCallback callback) {
    if (object) WkRemoveCallback(&object->handlers, callback);
}

void WkObjectRemoveDestroyHandler(WkObject* object, WkEventCallback callback) {
    WkObjectRemoveEventHandler(object, callback);
}

char* WkObjectGetText(WkObject* object, char* buffer, std::size_t size) {
    if (!object) return nullptr;
    if (buffer && size) buffer[0] = 0;
    WkMessage message;
    message.type = WK_MSG_GET_TEXT;
    WkSetTextBuffer(&message, buffer, buffer ? std::intptr_t(size) : 0);
    WkSendMessage(object, &message);
    return WkTextBuffer(&message);
}

void WkMessageReturnText(WkMessage* message, const char* text) {
    if (!message) return;
    if (!text) text = "";
    std::size_t length = std::strlen(text);
    char* buffer = WkTextBuffer(message);
    if (!buffer) {
        char* copy = WkMallocText(length + 1);
        std::memcpy(copy, text, length + 1);
        WkSetTextBuffer(message, copy);
        return;
    }
    const std::intptr_t size = WkTextBufferSize(message);
    if (size <= 0) return;
    std::size_t n = std::min(length, std::size_t(size) - 1);
    std::memmove(buffer, text, n);
    buffer[n] = 0;
}

void WkSetFormAccess(const WkFormAccess* access) { formAccess = access ? *access : WkFormAccess{}; }

int WkFormPageChildren(WkObject* form, WkObject* const** children) {
    *children = nullptr;
    if (!form || form->classCode != WK_CLASS_FORM || !formAccess.pageChildren) return 0;
    return formAccess.pageChildren(form, children);
}

int WkFormScrollOffset(WkObject* form, int* dx, int* dy) {
    *dx = *dy = 0;
    if (!form || form->classCode != WK_CLASS_FORM || !formAccess.scrollOffset) return 0;
    if (formAccess.scrollOffset(form, dx, dy)) return 1;
    *dx = *dy = 0;
    return 0;
}

int WkFormHasTableBody(WkObject* form) {
    if (!form || form->classCode != WK_CLASS_FORM || !formAccess.hasTableBody) return 0;
    return formAccess.hasTableBody(form);
}

WkObject* WkFormWheelReceiver(WkObject* form) {
    if (!form || form->classCode != WK_CLASS_FORM || !formAccess.wheelReceiver) return nullptr;
    return formAccess.wheelReceiver(form);
}

WkObject* WkFormFocusedChild(WkObject* form) {
    if (!form || form->classCode != WK_CLASS_FORM || !formAccess.focusedChild) return nullptr;
    return formAccess.focusedChild(form);
}

WkObject* WkFormFocusHolder(WkObject* form) {
    if (!form || form->classCode != WK_CLASS_FORM || !formAccess.focusHolder) return nullptr;
    return formAccess.focusHolder(form);
}

void WkFormAccessSetFocus(WkObject* object, int reason) {
    if (object && formAccess.setFocus) formAccess.setFocus(object, reason);
}

void WkFormAccessFocusPrevious(WkObject* object) {
    if (object && formAccess.focusPrevious) formAccess.focusPrevious(object);
}

WkShellData* WkShellRecord(WkObject* object) {
    if (!object || object->classCode != WK_CLASS_SHELL) return nullptr;
    return static_cast<WkShellData*>(object->classRecord);
}

void WkSetShellOperations(const WkShellOperations* operations) {
    shellOperations = operations ? *operations : WkShellOperations{};
}

const WkShellOperations& WkCurrentShellOperations() { return shellOperations; }

int WkLiveShells(WkObject* const** shells) {
    *shells = liveShells.data();
    return int(liveShells.size());
}
