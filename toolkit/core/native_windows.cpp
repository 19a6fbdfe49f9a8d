#include "toolkit/core/native_windows.h"

#include "toolkit/core/draw.h"
#include "toolkit/core/grab.h"
#include "toolkit/core/keys.h"
#include "toolkit/core/window_system.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

std::vector<WkObject*> stack; // shown top-level windows, top last
WkObject* lastPointer = nullptr;
WkKeyHook keyHook = nullptr;

plat::Display* Display() { return WkDisplay(); }

WkShellData* Data(WkObject* shell) { return shell ? WkShellRecord(shell) : nullptr; }

bool Listed(WkObject* shell) { return std::find(stack.begin(), stack.end(), shell) != stack.end(); }

void Unlist(WkObject* shell) {
    auto it = std::find(stack.begin(), stack.end(), shell);
    if (it != stack.end())
        stack.erase(it);
}

void ToTop(WkObject* shell) {
    Unlist(shell);
    stack.push_back(shell);
}

WkObject* Top() { return stack.empty() ? nullptr : stack.back(); }

bool IsModal(WkObject* shell) {
    WkShellData* d = Data(shell);
    return d && (d->flags & WK_SHELL_DIALOG) != 0;
}

void Send(WkObject* shell, int type) {
    WkSendSimpleMessage(shell, type, static_cast<std::intptr_t>(Data(shell)->nativeWindow));
}

void RouteToGrab(WkObject* holder, WkMessage* message) {
    WkObject* shell = WkObjectGetShell(holder);
    int x = 0, y = 0;
    WkObjectGetAbsolutePosition(holder, &x, &y);
    WkOffsetPointer(message, -x, -y);
    if (shell) {
        if (message->type == WK_MSG_WHEEL)
            WkOffsetPointer(message, -shell->x, -shell->y);
        else
            WkOffsetPointerScreen(message, shell->x, shell->y);
    }
    if (message->type == WK_MSG_MOTION) {
        const int px = WkPointerX(message), py = WkPointerY(message);
        const bool inside = px >= 0 && py >= 0 && px < holder->width && py < holder->height;
        if (!inside && WkGrabInside()) {
            message->type = WK_MSG_LEAVE;
            WkSetGrabInside(0);
        } else if (inside && !WkGrabInside()) {
            message->type = WK_MSG_ENTER;
            WkSetGrabInside(1);
        }
    }
    WkSendMessage(holder, message);
}

void RoutePointer(WkMessage* message) {
    if (WkObject* holder = WkGetGrab()) {
        RouteToGrab(holder, message);
        return;
    }
    const WkNativeWindow window = static_cast<WkNativeWindow>(message->window);
    const WkNativeWindow modal = WkGetModalWindow();
    if (modal != 0 && modal != window) {
        if (message->type == WK_MSG_PRESS)
            WkBeep();
        return;
    }
    WkObject* target = WkListedShell(window);
    if (!target)
        return;
    if (message->type == WK_MSG_WHEEL) {
        WkOffsetPointer(message, -target->x, -target->y);
    } else {
        if (lastPointer && lastPointer != target) {
            WkMessage leave = *message;
            leave.type = WK_MSG_LEAVE;
            WkSendMessage(lastPointer, &leave);
        }
        lastPointer = target;
        WkOffsetPointerScreen(message, target->x, target->y);
    }
    WkSendMessage(target, message);
}

// A listed window that is destroyed leaves the stack with it.
void ForgetOnDestroy(WkObject* object, WkMessage*, void*, std::uint32_t) { WkNativeForgetShell(object); }

bool HookedKey(const WkMessage* message) {
    const int code = WkKeyCode(message);
    if (code == 0x7A00 || code == 0x7B00)
        return true;
    return (code == 0x5E00 || code == 0x5F00) && (WkKeyModifiers(message) & WK_MOD_SHIFT) != 0;
}

} // namespace

WkNativeWindow WkNativeCreateWindow(WkObject* shell, WkShellData* data, const char* title) {
    (void)shell;
    plat::Display* display = Display();
    if (!display || !data)
        return 0;
    plat::WindowParams params;
    const std::uint16_t flags = data->flags;
    if (flags & WK_SHELL_POPUP) {
        params.kind = plat::WindowKind::Popup;
        params.boxes = 0;
    } else {
        params.kind = plat::WindowKind::Framed;
        if (flags & WK_SHELL_DIALOG) {
            params.boxes = plat::kCloseBox;
            if (WkObject* top = Top())
                params.owner = Data(top)->nativeWindow;
        }
        if (flags & WK_SHELL_NO_MAXIMISE) params.boxes &= ~plat::kMaximiseBox;
        if (flags & WK_SHELL_NO_MINIMISE) params.boxes &= ~plat::kMinimiseBox;
        if (flags & WK_SHELL_NO_CLOSE) params.boxes &= ~plat::kCloseBox;
    }
    if (title)
        params.title = title;
    return display->createWindow(params);
}

void WkNativeDestroyWindow(WkNativeWindow window) {
    if (plat::Display* display = Display())
        display->destroyWindow(window);
}

void WkShellSetTitle(WkObject* object, const char* title) {
    WkShellData* d = Data(object);
    if (d && Display())
        Display()->setTitle(d->nativeWindow, title ? title : "");
}

void WkShellGetTitle(WkObject* object, char* buffer) {
    WkShellData* d = Data(object);
    if (!d || !buffer || !Display())
        return;
    const plat::WindowRecord* w = Display()->window(d->nativeWindow);
    const std::string title = w ? w->title : std::string();
    const std::size_t n = std::min<std::size_t>(title.size(), 255);
    std::memcpy(buffer, title.data(), n);
    buffer[n] = '\0';
}

void WkNativeShow(WkObject* shell, int activate) {
    WkShellData* d = Data(shell);
    if (!d || !Display())
        return;
    d->flags &= ~WK_SHELL_NATIVE_HIDDEN;
    if (!Listed(shell)) {
        stack.push_back(shell);
        WkObjectRemoveDestroyHandler(shell, ForgetOnDestroy);
        WkObjectAddDestroyHandler(shell, ForgetOnDestroy, nullptr);
    }
    if ((d->flags & WK_SHELL_GEOMETRY_APPLIED) == 0)
        WkNativeApplyGeometry(shell);
    Send(shell, WK_MSG_MAP);
    const bool withActivation = (d->flags & WK_SHELL_NO_ACTIVATE) == 0 && activate != 0;
    Display()->show(d->nativeWindow, withActivation);
    Display()->update(d->nativeWindow);
    d->flags |= WK_SHELL_GEOMETRY_APPLIED;
}

void WkNativeHide(WkObject* shell) {
    WkShellData* d = Data(shell);
    if (!d || !Display())
        return;
    if ((d->flags & WK_SHELL_NO_ACTIVATE) == 0)
        Send(shell, WK_MSG_FOCUS_OUT);
    if (lastPointer == shell)
        lastPointer = nullptr;
    d->flags |= WK_SHELL_NATIVE_HIDDEN;
    if ((d->flags & WK_SHELL_DIALOG) && stack.size() > 1) {
        // The window below the top takes the focus back.
        WkObject* below = stack[stack.size() - 2];
        Display()->activate(Data(below)->nativeWindow);
    }
    Display()->hide(d->nativeWindow);
    Send(shell, WK_MSG_UNMAP);
    Unlist(shell);
}

void WkNativeRaise(WkObject* shell) {
    WkShellData* d = Data(shell);
    if (!d || (d->flags & WK_SHELL_SHOWN) == 0 || !Display())
        return;
    ToTop(shell);
    Display()->raise(d->nativeWindow);
}

void WkNativeSetGeometry(WkObject* shell, int x, int y, int width, int height) {
    if (!Data(shell))
        return;
    shell->x = x;
    shell->y = y;
    shell->width = width;
    shell->height = height;
    WkNativeApplyGeometry(shell);
}

void WkNativeApplyGeometry(WkObject* shell) {
    WkShellData* d = Data(shell);
    plat::Display* display = Display();
    if (!d || !display)
        return;
    if ((d->flags & WK_SHELL_DIALOG) && (d->flags & WK_SHELL_PLACED) == 0 && stack.size() > 1) {
        WkObject* below = stack[stack.size() - 2];
        if (below == shell)
            below = stack.back();
        int x = below->x + (below->width - shell->width) / 2;
        int y = below->y + (below->height - shell->height) / 2;
        if (x < 0) x = 0;
        else if (x + shell->width > display->screenWidth()) x = display->screenWidth() - shell->width;
        if (y < 0) y = 0;
        else if (y + shell->height > display->screenHeight()) y = display->screenHeight() - shell->height;
        shell->x = x;
        shell->y = y;
    }
    int x = shell->x, y = shell->y;
    if ((d->flags & WK_SHELL_POPUP) == 0) {
        // The frame stays on the screen; the client area moves with it.
        const plat::Insets in = display->frameInsets(plat::WindowKind::Framed);
        if (x - in.left < 0) x = in.left;
        if (y - in.top < 0) y = in.top;
    }
    const int width = std::max(1, shell->width), height = std::max(1, shell->height);
    display->setGeometry(d->nativeWindow, plat::Rect{x, y, x + width, y + height});
    display->invalidate(d->nativeWindow);
}

void WkNativeSetShellCursor(WkShellData* data, int slot) {
    if (!data)
        return;
    WkNativeSetCursor(data->nativeWindow, slot);
    data->cursor = slot;
}

void WkNativeApplySizeLimits(WkObject* shell) {
    WkShellData* d = Data(shell);
    if (!d || !Display())
        return;
    plat::SizeLimits limits;
    limits.minWidth = std::max<int>(1, shell->minWidth);
    limits.minHeight = std::max<int>(1, shell->minHeight);
    limits.holdWidth = (d->flags & (WK_SHELL_HOLD_SIZE | WK_SHELL_HOLD_WIDTH)) != 0;
    limits.holdHeight = (d->flags & (WK_SHELL_HOLD_SIZE | WK_SHELL_HOLD_HEIGHT)) != 0;
    Display()->setSizeLimits(d->nativeWindow, limits);
}

void WkNativeForgetShell(WkObject* shell) {
    Unlist(shell);
    if (lastPointer == shell)
        lastPointer = nullptr;
}

WkNativeWindow WkGetModalWindow() {
    WkObject* top = Top();
    return IsModal(top) ? Data(top)->nativeWindow : 0;
}

WkObject* WkListedShell(WkNativeWindow window) {
    for (auto it = stack.rbegin(); it != stack.rend(); ++it)
        if (Data(*it)->nativeWindow == window)
            return *it;
    return nullptr;
}

int WkGetShellFlags(WkNativeWindow window) {
    WkObject* shell = window ? WkListedShell(window) : Top();
    return shell ? Data(shell)->flags : 0;
}

void WkApplyWindowLimits(WkNativeWindow window, int* width, int* height) {
    WkObject* shell = window ? WkListedShell(window) : Top();
    if (!shell || !width || !height)
        return;
    const std::uint16_t flags = Data(shell)->flags;
    if (flags & (WK_SHELL_HOLD_SIZE | WK_SHELL_HOLD_WIDTH)) *width = shell->width;
    else if (*width < shell->minWidth) *width = shell->minWidth;
    if (flags & (WK_SHELL_HOLD_SIZE | WK_SHELL_HOLD_HEIGHT)) *height = shell->height;
    else if (*height < shell->minHeight) *height = shell->minHeight;
}

int WkWindowStackCount() { return static_cast<int>(stack.size()); }

WkObject* WkWindowStackEntry(int index) {
    return index >= 0 && index < WkWindowStackCount() ? stack[static_cast<std::size_t>(index)] : nullptr;
}

void WkSetGlobalKeyHook(WkKeyHook hook) { keyHook = hook; }

void WkRouteEvent(WkMessage* message) {
    const WkNativeWindow window = static_cast<WkNativeWindow>(message->window);
    switch (message->type) {
    case WK_MSG_KEY:
        if (WkObject* holder = WkGetGrab()) {
            WkSendMessage(holder, message);
        } else if (HookedKey(message)) {
            if (keyHook)
                keyHook(WkKeyCode(message));
        } else if (WkObject* shell = WkListedShell(window)) {
            WkSendMessage(shell, message);
        }
        return;
    case WK_MSG_PRESS:
    case WK_MSG_RELEASE:
    case WK_MSG_MOTION:
    case WK_MSG_WHEEL:
        RoutePointer(message);
        return;
    // The pointer came into or left a native window. A grab holder sees
    // every motion instead, with its own enter and leave.
    case WK_MSG_ENTER:
        if (!WkGetGrab())
            RoutePointer(message);
        return;
    case WK_MSG_LEAVE:
        if (WkObject* shell = WkGetGrab() ? nullptr : WkListedShell(window)) {
            if (lastPointer == shell)
                lastPointer = nullptr;
            WkSendMessage(shell, message);
        }
        return;
    case WK_MSG_EXPOSE: {
        WkSetExposeOrigin(message, 0, 0);
        const WkRect clip = WkExposeClip(message);
        WkNativeSetClip(window, clip.x, clip.y, clip.width, clip.height);
        if (WkObject* shell = WkListedShell(window))
            WkSendMessage(shell, message);
        WkNativeEndDraw();
        return;
    }
    case WK_MSG_MAP:
    case WK_MSG_UNMAP:
    case WK_MSG_CLOSE:
        if (WkObject* shell = WkListedShell(window))
            WkSendMessage(shell, message);
        return;
    case WK_MSG_RESIZE:
        if (WkObject* shell = WkListedShell(window)) {
            if (WkNewWidth(message) != shell->width || WkNewHeight(message) != shell->height) {
                WkMessage hidden = *message;
                hidden.type = WK_MSG_UNMAP;
                WkSendMessage(shell, &hidden);
                WkSendMessage(shell, message);
            }
            WkMessage shown = *message;
            shown.type = WK_MSG_MAP;
            WkSendMessage(shell, &shown);
        }
        return;
    case WK_MSG_MOVE:
        if (WkObject* shell = WkListedShell(window)) {
            shell->x = WkNewX(message);
            shell->y = WkNewY(message);
        }
        return;
    case WK_MSG_FOCUS_IN:
        if (WkObject* shell = WkListedShell(window)) {
            ToTop(shell);
            WkSendMessage(shell, message);
        }
        return;
    case WK_MSG_FOCUS_OUT:
        if (WkObject* shell = WkListedShell(window))
            WkSendMessage(shell, message);
        return;
    default:
        return;
    }
}
