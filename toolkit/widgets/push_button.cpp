#include "toolkit/widgets/push_button.h"

#include "toolkit/core/grab.h"
#include "toolkit/core/keys.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/core/window_system.h"
#include "toolkit/widgets/focus.h"

namespace {

constexpr int kKeypadEnter = 0xE00D;

// The template's shadow width: 2 instead of 3 on a screen narrower than 800
// pixels, decided at the first labelled button.
int labelShadowWidth = 0;

WkObject* Create(WkObject* parent, const char* label, WkFontSlot font, const WkButtonImages& images,
                 bool fromFiles) {
    WkObject base = WkBaseTemplate(WK_CLASS_BUTTON);
    base.handler = WkButtonHandler;
    WkButtonData record = WkButtonTemplate(2);
    if (images.normal) {
        base.shadowWidth = record.releasedShadow = record.pressedShadow = 2;
    } else {
        if (labelShadowWidth == 0) labelShadowWidth = WkScreenWidth() < 800 ? 2 : 3;
        base.shadowWidth = record.releasedShadow = static_cast<std::uint8_t>(labelShadowWidth);
        record.pressedShadow = 1;
    }
    return WkButtonNew(parent, base, record, label, font, images, fromFiles);
}

void Call(WkObject* button) {
    WkButtonData* d = WkButtonRecord(button);
    if (d->callback) d->callback(button, d, d->userData);
}

// The next firing is scheduled before the callback runs: the callback may
// destroy the button (which cancels it), and nothing here touches the
// button after the call.
void RepeatFired(int, void* data) {
    auto* button = static_cast<WkObject*>(data);
    WkButtonData* d = WkButtonRecord(button);
    d->repeatTimeout = WkAddTimeout(d->repeatInterval, RepeatFired, button);
    if (WkButtonUsable(button)) Call(button);
}

void KeyFired(int, void* data) {
    auto* button = static_cast<WkObject*>(data);
    WkButtonRecord(button)->keyTimeout = 0;
    WkButtonDisarm(button);
    if (WkButtonUsable(button)) Call(button);
}

int Key(WkObject* button, WkButtonData* d, const WkMessage* message) {
    int key = WkKeyCode(message);
    if (key >= 'a' && key <= 'z') key -= 32;
    const bool shift = WkKeyModifiers(message) & WK_MOD_SHIFT;
    WkObject* parent = button->parent;
    if (key == WK_KEY_ENTER || key == kKeypadEnter || key == ' ' || (d->mnemonicKey && key == d->mnemonicKey)) {
        if (WkButtonUsable(button) && !d->keyTimeout) {
            WkButtonArm(button);
            d->keyTimeout = WkAddTimeout(WK_BUTTON_KEY_MS, KeyFired, button);
        }
        return 1;
    }
    switch (key) {
    case WK_KEY_LEFT:
    case WK_KEY_UP: WkFocusPrevious(parent); return 1;
    case WK_KEY_RIGHT:
    case WK_KEY_DOWN: WkFocusNext(parent); return 1;
    case WK_KEY_TAB:
        if (WkFocusSwitchPolicy()) shift ? WkFocusLeaveBackward(parent) : WkFocusLeaveForward(parent);
        else shift ? WkFocusPrevious(parent) : WkFocusNext(parent);
        return 1;
    default: return 0;
    }
}

void Press(WkObject* button, WkButtonData* d, const WkMessage* message) {
    if (!WkButtonUsable(button) || WkPointerButton(message) != 1) return;
    if ((button->layout & WK_LAYOUT_FOCUSABLE) && !(button->state & WK_STATE_FOCUS) && !WkFocusSwitchPolicy())
        WkObjectSetFocus(button);
    WkPushGrab(button);
    WkButtonArm(button);
    if (d->repeatDelay) {
        WkRestartTimeout(&d->repeatTimeout, d->repeatDelay, RepeatFired, button);
        Call(button);
    }
}

void Release(WkObject* button, WkButtonData* d, const WkMessage* message) {
    if (WkGetGrab() != button || WkPointerButton(message) != 1) return;
    WkPopGrab(button);
    WkClearTimeout(&d->repeatTimeout);
    if (!(button->state & WK_STATE_ON)) return;
    WkButtonDisarm(button);
    if (WkButtonUsable(button) && !d->repeatDelay) Call(button);
}

} // namespace

WkObject* WkCreateButton(WkObject* parent, const char* label, WkFontSlot font) {
    return Create(parent, label, font, WkButtonImages{}, false);
}

WK_BUTTON_PICTURE_CONSTRUCTORS(Button, Create);

int WkButtonHandler(WkObject* button, WkMessage* message) {
    WkButtonData* d = WkButtonRecord(button);
    switch (message->type) {
    case WK_MSG_KEY: return Key(button, d, message);
    case WK_MSG_PRESS: Press(button, d, message); return 1;
    case WK_MSG_RELEASE: Release(button, d, message); return 1;
    case WK_MSG_ENTER:
        if (WkGetGrab() == button && !(button->state & WK_STATE_ON)) WkButtonArm(button);
        else WkButtonHoverRedraw(button);
        return 1;
    case WK_MSG_LEAVE:
        if (WkGetGrab() == button && (button->state & WK_STATE_ON)) WkButtonDisarm(button);
        else WkButtonHoverRedraw(button);
        return 1;
    case WK_MSG_EXPOSE: WkButtonDraw(button, message, 0, 1); return 1;
    case WK_MSG_DESTROY:
        WkClearTimeout(&d->repeatTimeout);
        WkClearTimeout(&d->keyTimeout);
        WkButtonFreeData(button);
        return 1;
    case WK_MSG_MAP:
    case WK_MSG_REALIZE:
    case WK_MSG_RECOLOR: WkButtonRefresh(button, d); return 1;
    case WK_MSG_QUERY_SIZE: WkButtonPreferredSize(button); return 1;
    case WK_MSG_RESIZE: WkButtonResizeMessage(button, WkNewWidth(message), WkNewHeight(message)); return 1;
    case WK_MSG_FOCUS_IN: WkButtonFocusIn(button); return 1;
    case WK_MSG_FOCUS_OUT: WkButtonFocusOut(button); return 1;
    case WK_MSG_SENSITIVE: WkButtonSensitiveChanged(button, WkTurnedOn(message)); return 0;
    case WK_MSG_COLORS:
        WkButtonColorsChanged(button, WkNewBackground(message), WkNewForeground(message));
        return 1;
    case WK_MSG_SHADOW: WkButtonShadowMessage(button, d, message); return 1;
    case WK_MSG_SET_TEXT: WkButtonTextMessage(button, d, message); return 1;
    case WK_MSG_GET_TEXT: WkButtonGetTextMessage(button, d, message); return 1;
    case WK_MSG_POP_DOWN:
        WkClearTimeout(&d->repeatTimeout);
        if (button->state & WK_STATE_ON) WkButtonDisarm(button);
        return 1;
    default: return 0;
    }
}

void WkButtonSetCallback(WkObject* button, WkButtonCallback callback, void* userData) {
    WkButtonData* d = WkButtonRecord(button);
    d->callback = callback;
    d->userData = userData;
}

void WkButtonSetRepeat(WkObject* button, int delay, int interval) {
    if (delay < 20 || delay > 2000 || interval < 20 || interval > 2000) return;
    WkButtonData* d = WkButtonRecord(button);
    d->repeatDelay = static_cast<std::uint16_t>(delay);
    d->repeatInterval = static_cast<std::uint16_t>(interval);
}
