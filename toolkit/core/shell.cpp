#include "toolkit/core/shell.h"

#include "toolkit/core/draw.h"
#include "toolkit/core/grab.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/keys.h"
#include "toolkit/core/mnemonics.h"
#include "toolkit/core/native_windows.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_primitives.h"
#include "toolkit/core/window_system.h"

#include <algorithm>

namespace {

WkMainFormMaker formMaker = nullptr;
WkCustomizeHook customizeHook = nullptr;

void InstallOperations() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    WkShellOperations ops{};
    ops.show = [](WkObject* shell) { WkNativeShow(shell, 1); };
    ops.hide = WkNativeHide;
    ops.setGeometry = WkNativeSetGeometry;
    ops.destroy = nullptr; // the object model's own destruction: tree, native window, record
    WkSetShellOperations(&ops);
}

void SetShownRealized(WkObject* object, bool on) {
    const std::uint16_t bits = WK_STATE_SHOWN | WK_STATE_REALIZED;
    if (on) object->state |= bits;
    else object->state &= static_cast<std::uint16_t>(~bits);
}

// Pointer grabs end when a window is shown, unless it is a popup of theirs.
void PopDownGrabs(WkShellData* d) {
    if (d->flags & WK_SHELL_NO_ACTIVATE)
        return;
    while (WkObject* holder = WkGetGrab()) {
        WkSendSimpleMessage(holder, WK_MSG_POP_DOWN);
        if (WkGetGrab() == holder)
            WkPopGrab(holder);
    }
}

void Show(WkObject* shell, WkShellData* d) {
    PopDownGrabs(d);
    WkNativeShow(shell, 1);
    d->flags |= WK_SHELL_SHOWN;
}

// 1 when the pointer lies over the main form.
bool InForm(const WkObject* form, const WkMessage* message) {
    const int x = WkPointerX(message), y = WkPointerY(message);
    return x >= form->x && y >= form->y && x < form->x + form->width && y < form->y + form->height;
}

void LosePointer(WkShellData* d, const WkMessage* message) {
    WkObject* old = d->underPointer;
    if (!old)
        return;
    old->state &= static_cast<std::uint16_t>(~WK_STATE_POINTER_OVER);
    WkMessage leave = *message;
    leave.type = WK_MSG_LEAVE;
    WkSendMessage(old, &leave);
}

// The deepest object under the point (relative to the form), through the
// forms' pages and scroll offsets; the point ends relative to it. For the
// wheel a scrolled form may name the receiver on the way. *cursor ends as
// the innermost non-zero cursor slot passed through.
WkObject* Descend(WkObject* form, WkMessage* message, int* cursor) {
    const bool wheel = message->type == WK_MSG_WHEEL;
    WkObject* receiver = form;
    *cursor = form->cursor;
    while (receiver->classCode == WK_CLASS_FORM) {
        int dx, dy;
        if (WkFormScrollOffset(receiver, &dx, &dy))
            WkOffsetPointer(message, dx, dy);
        if (wheel) {
            if (WkObject* named = WkFormWheelReceiver(receiver)) {
                receiver = named;
                break;
            }
        }
        WkObject* const* children = nullptr;
        WkObject* hit = nullptr;
        for (int i = WkFormPageChildren(receiver, &children) - 1; i >= 0 && !hit; --i)
            if (children[i] && WkObjectContainsPoint(children[i], message))
                hit = children[i];
        if (!hit)
            break;
        WkOffsetPointer(message, -hit->x, -hit->y);
        receiver = hit;
        if (hit->cursor)
            *cursor = hit->cursor;
    }
    return receiver;
}

// Motion and wheel below the main form: the message goes to the object
// Descend finds, relative to it. A motion also sets the pointer shape and
// turns into leave for the object the pointer was over and enter for the
// new one.
int PointerDescent(WkShellData* d, WkObject* form, WkMessage* message) {
    int cursor = 0;
    WkObject* receiver = Descend(form, message, &cursor);
    if (message->type != WK_MSG_WHEEL) {
        WkNativeSetShellCursor(d, cursor);
        if (receiver != d->underPointer) {
            LosePointer(d, message);
            message->type = WK_MSG_ENTER;
            d->underPointer = receiver;
        }
        receiver->state |= WK_STATE_POINTER_OVER;
    }
    return WkSendMessage(receiver, message);
}

void Expose(WkObject* shell, WkShellData* d, WkMessage* message) {
    if ((shell->state & (WK_STATE_SHOWN | WK_STATE_REALIZED)) != (WK_STATE_SHOWN | WK_STATE_REALIZED))
        return;
    WkObjectDrawShadow(shell);
    WkObject* form = d->mainForm;
    if (!form)
        return;
    // The part of the clip that meets the form, relative to the form.
    const WkRect clip = WkExposeClip(message);
    const std::intptr_t x0 = std::max<std::intptr_t>(clip.x, form->x);
    const std::intptr_t y0 = std::max<std::intptr_t>(clip.y, form->y);
    const std::intptr_t x1 =
        std::min<std::intptr_t>(std::intptr_t(clip.x) + clip.width, form->x + form->width);
    const std::intptr_t y1 =
        std::min<std::intptr_t>(std::intptr_t(clip.y) + clip.height, form->y + form->height);
    if (x1 <= x0 || y1 <= y0)
        return;
    const WkRect part{int(x0 - form->x), int(y0 - form->y), int(x1 - x0), int(y1 - y0)};
    WkMessage m = WkExposeMessage(message->window, WkExposeOriginX(message) + form->x,
                                  WkExposeOriginY(message) + form->y, part);
    WkSendMessage(form, &m);
}

} // namespace

void WkSetMainFormMaker(WkMainFormMaker maker) { formMaker = maker; }
void WkSetCustomizeHook(WkCustomizeHook hook) { customizeHook = hook; }

WkObject* WkCreateShell(const char* title, std::uint16_t flags) {
    InstallOperations();
    WkObject base = WkBaseTemplate(WK_CLASS_SHELL);
    base.handler = WkShellHandler;
    WkObject* shell = WkNewObject(base, nullptr, sizeof(WkShellData));
    WkInheritColors(nullptr, shell);
    WkShellData* d = WkShellRecord(shell);
    if (formMaker) {
        if (WkObject* form = formMaker(shell)) {
            d->mainForm = d->colorHolder = form;
            form->state |= WK_STATE_ACTIVE;
            WkObjectSetShadow(form, 0, 0, 0);
            form->colorFlags |= WK_INHERIT_IMAGE_COLOR;
        }
    }
    if (flags & WK_SHELL_POPUP) {
        shell->shadowType = WK_SHADOW_OUT;
        shell->shadowWidth = 2;
        shell->outerShadowWidth = 0;
        if (d->mainForm) {
            d->mainForm->shadowType = 0;
            d->mainForm->shadowWidth = d->mainForm->outerShadowWidth = 0;
        }
    }
    d->flags = static_cast<std::uint16_t>(flags & 0x0FFF);
    d->nativeWindow = WkNativeCreateWindow(shell, d, title);
    return shell;
}

void WkShellFitToForm(WkObject* shell) {
    WkShellData* d = WkShellRecord(shell);
    WkObject* form = d ? d->mainForm : nullptr;
    if (!form || !form->handler)
        return;
    WkSendSimpleMessage(form, WK_MSG_QUERY_SIZE);
    const int b = WkObjectBorder(shell);
    form->x = b;
    form->y = b;
    shell->width = form->width + 2 * b;
    shell->height = form->height + 2 * b;
    shell->x = (WkScreenWidth() - shell->width) / 2;
    shell->y = (WkScreenHeight() - shell->height) / 2;
    shell->minWidth = WkClampSize16(form->minWidth + 2 * b);
    shell->minHeight = WkClampSize16(form->minHeight + 2 * b);
    WkNativeApplySizeLimits(shell);
}

void WkShellRealize(WkObject* shell) {
    WkShellData* d = WkShellRecord(shell);
    if (!d)
        return;
    if (d->flags & WK_SHELL_SHOWN) {
        WkNativeRaise(shell);
        return;
    }
    WkShellFitToForm(shell);
    d->flags &= static_cast<std::uint16_t>(~WK_SHELL_PLACED);
    Show(shell, d);
}

void WkShellRealizeWithGeometry(WkObject* shell, int x, int y, int width, int height) {
    WkShellData* d = WkShellRecord(shell);
    if (!d || (d->flags & WK_SHELL_SHOWN))
        return;
    WkShellFitToForm(shell);
    const int sw = WkScreenWidth(), sh = WkScreenHeight();
    bool resize = (shell->layout & (WK_LAYOUT_FIXED_WIDTH | WK_LAYOUT_FIXED_HEIGHT)) != 0;
    if (width != WK_KEEP) {
        resize = true;
        if (width > shell->width && width <= sw)
            shell->width = width;
    }
    if (height != WK_KEEP) {
        resize = true;
        if (height > shell->height && height <= sh)
            shell->height = height;
    }
    if (x != WK_KEEP) shell->x = x < 0 ? sw - shell->width : x;
    if (y != WK_KEEP) shell->y = y < 0 ? sh - shell->height : y;
    if (shell->x + shell->width > sw) shell->x = sw - shell->width;
    if (shell->y + shell->height > sh) shell->y = sh - shell->height;
    if (resize)
        WkSendSimpleMessage(shell, WK_MSG_RESIZE, 0, shell->width, shell->height);
    d->flags &= static_cast<std::uint16_t>(~WK_SHELL_GEOMETRY_APPLIED);
    d->flags |= WK_SHELL_PLACED;
    Show(shell, d);
}

void WkShellRealizeAt(WkObject* shell, int x, int y) { WkShellRealizeWithGeometry(shell, x, y, WK_KEEP, WK_KEEP); }

void WkShellHide(WkObject* shell) {
    WkShellData* d = WkShellRecord(shell);
    if (!d || (d->flags & WK_SHELL_SHOWN) == 0)
        return;
    WkNativeHide(shell);
    d->flags &= static_cast<std::uint16_t>(~WK_SHELL_SHOWN);
}

void WkShellDestroy(WkObject* object) {
    WkObject* shell = WkObjectGetShell(object);
    if (!shell)
        return;
    WkShellHide(shell);
    WkObjectDestroy(shell);
}

void WkShellSetCloseCallback(WkObject* shell, WkCloseCallback callback, void* userData) {
    if (WkShellData* d = WkShellRecord(shell)) {
        d->closeCallback = callback;
        d->closeData = userData;
    }
}

void WkShellFocusIn(WkObject* shell) {
    WkShellData* d = WkShellRecord(shell);
    if (!d)
        return;
    shell->state |= WK_STATE_FOCUS;
    WkObject* form = d->mainForm;
    if (!form || !(shell->state & WK_STATE_SHOWN) || WkFormFocusedChild(form))
        return;
    WkObject* remembered = d->rememberedFocus;
    d->rememberedFocus = nullptr;
    // One whose page was turned away meanwhile is not sought there: the
    // window is entered as it shows itself now.
    if (remembered && !WkObjectDrawable(remembered)) remembered = nullptr;
    // A window opening puts its first field ready for typing, as Tab would;
    // one re-entered finds its field as it was left.
    WkFormAccessSetFocus(remembered ? remembered : form, remembered ? WK_FOCUS_BY_PROGRAM : WK_FOCUS_BY_KEY);
    // A control greyed while the window was left is told again, so that it
    // passes the focus on as it does when greyed holding it.
    if (remembered && !(remembered->state & WK_STATE_SENSITIVE))
        WkSendSimpleMessage(remembered, WK_MSG_SENSITIVE, 0);
}

void WkShellFocusOut(WkObject* shell) {
    WkShellData* d = WkShellRecord(shell);
    if (!d)
        return;
    shell->state &= static_cast<std::uint16_t>(~WK_STATE_FOCUS);
    WkObject* form = d->mainForm;
    if (!form || !(shell->state & WK_STATE_SHOWN) || !WkFormFocusedChild(form))
        return;
    d->rememberedFocus = WkFormFocusHolder(form);
    WkSendSimpleMessage(form, WK_MSG_FOCUS_OUT);
}

namespace {

// A close request: the close box, Alt+F4 or a dialog's Escape (message).
int CloseRequest(WkObject* shell, WkShellData* d, WkMessage* message) {
    if (d->closeCallback)
        return d->closeCallback(shell, 0, d->closeData, message);
    // Alt+F4 asks every window to close, boxes or not; a window made
    // without a close box ends only through its own controls (a modal
    // dialog destroyed here would leave its loop waiting for ever).
    if (d->flags & WK_SHELL_NO_CLOSE)
        return 1;
    if (d->flags & WK_SHELL_CLOSE_BEEPS) {
        WkBeep();
        return 1;
    }
    if (d->flags & WK_SHELL_CLOSE_HIDES) {
        WkShellHide(shell);
        return 1;
    }
    WkShellDestroy(shell);
    return 1;
}

} // namespace

int WkShellHandler(WkObject* shell, WkMessage* message) {
    WkShellData* d = WkShellRecord(shell);
    if (!d)
        return 0;
    WkObject* form = d->mainForm;
    switch (message->type) {
    case WK_MSG_KEY:
        if (WkShellDispatchMnemonic(message, shell))
            return 1;
        if (d->colorHolder && WkSendMessage(d->colorHolder, message))
            return 1;
        // Escape that no control of a dialog took is a close request, so that
        // it does what the close box does (Cancel, as a rule); the close
        // callback is given the key, and can tell it from the window system.
        if ((d->flags & WK_SHELL_DIALOG) && message->type == WK_MSG_KEY && WkKeyCode(message) == WK_KEY_ESC)
            return CloseRequest(shell, d, message);
        return 0;
    case WK_MSG_PRESS:
    case WK_MSG_RELEASE:
        // The window holds the grab from a Shift+Ctrl press to the next
        // release, wherever that falls and whatever keys are held then.
        if (message->type == WK_MSG_RELEASE && WkGetGrab() == shell)
            WkPopGrab(shell);
        if (!form || !InForm(form, message))
            return 0;
        // Shift+Ctrl clicks belong to the customising tools, never to the program.
        if ((WkPointerState(message) & (1 | 4)) == (1 | 4)) {
            if (!customizeHook)
                return 0;
            if (message->type == WK_MSG_PRESS) {
                WkPushGrab(shell);
                return 1;
            }
            WkOffsetPointer(message, -form->x, -form->y);
            int cursor = 0;
            customizeHook(Descend(form, message, &cursor));
            return 1;
        }
        WkOffsetPointer(message, -form->x, -form->y);
        return WkSendMessage(form, message);
    case WK_MSG_ENTER:
        // The pointer came into the window: its own shape first, then the
        // objects' as for any motion.
        WkNativeSetShellCursor(d, shell->cursor);
        message->type = WK_MSG_MOTION;
        [[fallthrough]];
    case WK_MSG_MOTION:
    case WK_MSG_WHEEL:
        if (!form || !InForm(form, message))
            return 0;
        WkOffsetPointer(message, -form->x, -form->y);
        return PointerDescent(d, form, message);
    case WK_MSG_LEAVE:
        LosePointer(d, message);
        d->underPointer = nullptr;
        d->cursor = 0;
        return 1;
    case WK_MSG_COLORS:
        if (form)
            WkApplyColors(form, WkNewBackground(message), WkNewForeground(message));
        if (d->colorHolder && d->colorHolder != form)
            WkApplyColors(d->colorHolder, WkNewBackground(message), WkNewForeground(message));
        return 1;
    case WK_MSG_EXPOSE:
        Expose(shell, d, message);
        return 1;
    case WK_MSG_MAP:
        SetShownRealized(shell, true);
        if (form) {
            SetShownRealized(form, true);
            WkSendSimpleMessage(form, WK_MSG_MAP);
        }
        return 1;
    case WK_MSG_UNMAP:
        if (shell->state & WK_STATE_SHOWN) {
            SetShownRealized(shell, false);
            if (form) {
                SetShownRealized(form, false);
                WkSendSimpleMessage(form, WK_MSG_UNMAP);
            }
        }
        return 1;
    case WK_MSG_QUERY_SIZE:
        WkShellFitToForm(shell);
        return 1;
    case WK_MSG_RESIZE: {
        const int b = WkObjectBorder(shell);
        shell->width = WkNewWidth(message);
        shell->height = WkNewHeight(message);
        if (form) {
            form->x = form->y = b;
            WkSendSimpleMessage(form, WK_MSG_RESIZE, 0, shell->width - 2 * b, shell->height - 2 * b);
        }
        return 1;
    }
    case WK_MSG_SHADOW:
        if (WkObject* holder = d->colorHolder) {
            holder->shadowType = static_cast<std::uint8_t>(WkNewShadowType(message));
            holder->shadowWidth = static_cast<std::uint8_t>(WkNewShadowWidth(message));
            holder->outerShadowWidth = static_cast<std::uint8_t>(WkNewOuterShadowWidth(message));
        }
        if (WkDisplay())
            WkDisplay()->invalidate(d->nativeWindow);
        return 1;
    case WK_MSG_SET_TEXT:
        WkShellSetTitle(shell, WkNewText(message));
        return 1;
    case WK_MSG_GET_TEXT: {
        char title[256];
        WkShellGetTitle(shell, title);
        WkMessageReturnText(message, title);
        return 1;
    }
    case WK_MSG_CLOSE:
        return CloseRequest(shell, d, message);
    case WK_MSG_SENSITIVE: {
        const std::uint16_t bits = WK_STATE_SENSITIVE | WK_STATE_ACTIVE;
        for (WkObject* o : {shell, form}) {
            if (!o) continue;
            if (WkTurnedOn(message)) o->state |= bits;
            else o->state &= static_cast<std::uint16_t>(~bits);
        }
        if (form)
            WkSendSimpleMessage(form, WK_MSG_ACTIVE, WkTurnedOn(message));
        return 1;
    }
    case WK_MSG_FOCUS_IN:
        WkShellFocusIn(shell);
        return 1;
    case WK_MSG_FOCUS_OUT:
        WkShellFocusOut(shell);
        return 1;
    default:
        return 0;
    }
}
