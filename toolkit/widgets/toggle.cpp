#include "toolkit/widgets/toggle.h"

#include "toolkit/core/draw.h"
#include "toolkit/core/keys.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/object_primitives.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form.h"

#include <algorithm>

namespace {

constexpr int kKeypadEnter = 0xE00D;

bool HasPicture(const WkObject* object) { return static_cast<const WkButtonData*>(object->classRecord)->images[WK_IMAGE_NORMAL] != nullptr; }
bool IsOn(const WkObject* object) { return object->state & WK_STATE_ON; }

// The toggle's look after a change of state: the picture look is drawn
// whole, the plain one only its indicator.
void DrawState(WkObject* toggle) {
    if (!WkObjectDrawable(toggle)) return;
    if (HasPicture(toggle)) WkButtonDraw(toggle, nullptr, 1, 1);
    else WkToggleDrawIndicator(toggle, nullptr);
}

void Flip(WkObject* toggle) {
    if (IsOn(toggle)) WkToggleSetOff(toggle);
    else WkToggleSetOn(toggle);
}

void Draw(WkObject* toggle, const WkMessage* expose) {
    if (!WkObjectDrawable(toggle)) return;
    WkButtonDraw(toggle, expose, 0, 1);
    if (!HasPicture(toggle)) WkToggleDrawIndicator(toggle, expose);
}

int Key(WkObject* toggle, const WkMessage* message) {
    const int key = WkToggleKeyCode(message);
    const int mnemonic = WkButtonRecord(toggle)->mnemonicKey;
    if (key == WK_KEY_ENTER || key == kKeypadEnter || key == ' ' || (mnemonic && key == mnemonic)) {
        if (WkButtonUsable(toggle)) Flip(toggle);
        return 1;
    }
    return WkToggleFocusKey(toggle, key, WkKeyModifiers(message), false);
}

// The one function-pointer type the record stores: a cast through the
// empty signature and back is exact.
using Opaque = void (*)();

WkObject* Make(WkObject* parent, const char* label, WkFontSlot font, const WkButtonImages& images,
               bool fromFiles) {
    return WkToggleCreate(WK_CLASS_TOGGLE, WkToggleHandler, parent, {images, label, font, fromFiles});
}

} // namespace

WkObject* WkToggleCreate(std::uint16_t classCode, WkClassHandler handler, WkObject* parent,
                         const WkToggleLook& look) {
    WkObject base = WkBaseTemplate(classCode);
    base.handler = handler;
    base.shadowType = WK_SHADOW_NONE;
    base.shadowWidth = base.outerShadowWidth = 0;
    WkButtonData record = WkButtonTemplate(0);
    record.pressedBackground = WK_NO_PRESSED_BACKGROUND;
    if (look.images.normal) {
        base.shadowWidth = record.releasedShadow = record.pressedShadow = 2;
        base.shadowType = WK_SHADOW_ETCHED_IN;
        base.outerShadowWidth = 1;
        base.layout &= static_cast<std::uint16_t>(~WK_LAYOUT_GROW_X);
        base.transparency = 0;
    } else {
        base.transparency = WK_TRANSPARENT;
    }
    if (look.adjust) look.adjust(base, record);
    return WkButtonNew(parent, base, record, look.label, look.font, look.images, look.fromFiles);
}

void WkToggleStoreCallback(WkObject* object, WkToggleCallback callback, void* userData) {
    WkButtonData* d = WkButtonRecord(object);
    d->callback = reinterpret_cast<WkButtonCallback>(reinterpret_cast<Opaque>(callback));
    d->userData = userData;
}

void WkToggleCall(WkObject* object, int state) {
    WkButtonData* d = WkButtonRecord(object);
    if (d->callback)
        reinterpret_cast<WkToggleCallback>(reinterpret_cast<Opaque>(d->callback))(object, state, d->userData);
}

void WkToggleSwitch(WkObject* object, bool on) {
    WkButtonData* d = WkButtonRecord(object);
    if (on) object->state |= WK_STATE_ON;
    else object->state &= static_cast<std::uint16_t>(~WK_STATE_ON);
    object->lightShadow = on ? d->pressDark : d->releasedLight;
    object->darkShadow = on ? d->pressLight : d->releasedDark;
    object->shadowWidth = on ? d->pressedShadow : d->releasedShadow;
}

int WkToggleKeyCode(const WkMessage* message) {
    int key = WkKeyCode(message);
    if (key >= 'a' && key <= 'z') key -= 32;
    return key;
}

int WkToggleFocusKey(WkObject* object, int key, int modifiers, bool leaveAlways) {
    WkObject* parent = object->parent;
    const bool shift = modifiers & WK_MOD_SHIFT;
    switch (key) {
    case WK_KEY_LEFT:
    case WK_KEY_UP: WkFocusPrevious(parent); return 1;
    case WK_KEY_RIGHT:
    case WK_KEY_DOWN: WkFocusNext(parent); return 1;
    case WK_KEY_TAB:
        if (leaveAlways || WkFocusSwitchPolicy()) shift ? WkFocusLeaveBackward(parent) : WkFocusLeaveForward(parent);
        else shift ? WkFocusPrevious(parent) : WkFocusNext(parent);
        return 1;
    default: return 0;
    }
}

void WkTogglePressFocus(WkObject* object) {
    if ((object->layout & WK_LAYOUT_FOCUSABLE) && !(object->state & WK_STATE_FOCUS) && !WkFocusSwitchPolicy())
        WkObjectSetFocus(object);
}

bool WkToggleTakeWidth(WkObject* object, int width) {
    if (width < 2 || width > 10) return false;
    WkButtonData* d = WkButtonRecord(object);
    object->shadowWidth = d->releasedShadow = d->pressedShadow = static_cast<std::uint8_t>(width);
    return true;
}

void WkToggleFocusOut(WkObject* object) {
    object->state &= static_cast<std::uint16_t>(~WK_STATE_FOCUS);
    if (!WkObjectDrawable(object)) return;
    if (HasPicture(object)) {
        WkObjectDrawShadow(object);
        return;
    }
    const int band = object->shadowType != WK_SHADOW_NONE || object->shadowWidth >= 2 ? 2 : 1;
    WkObjectClearFrame(object, 0, 0, object->width, object->height, band);
    // The band may have cut through the label or the indicator: the class
    // draws itself again.
    WkRedraw(object, 0);
}

WkObject* WkCreateToggle(WkObject* parent, const char* label, WkFontSlot font) {
    WkObject* toggle = WkToggleCreate(WK_CLASS_TOGGLE, WkToggleHandler, parent, {{}, label, font, false});
    const WkButtonData* d = WkButtonRecord(toggle);
    const int h = WkFontHeight("A", font), frame = WkObjectBorder(toggle);
    toggle->width = 2 * frame + 2 * d->imageGap + (label ? WkTextWidth(label, font) : 0) + 2 * h;
    toggle->height = h + 2 * frame + 2 * d->edgeMargin;
    return toggle;
}

WK_BUTTON_PICTURE_CONSTRUCTORS(Toggle, Make);

void WkToggleDrawIndicator(WkObject* toggle, const WkMessage* expose) {
    if (!WkObjectDrawable(toggle)) return;
    const WkButtonData* d = WkButtonRecord(toggle);
    const int b = toggle->height - 2 * d->edgeMargin;
    const int c = std::min(b - 2, 20);
    // Too low a toggle has no room for the square, or for its inside: that
    // part is left out rather than drawn reversed.
    if (c <= 0) return;
    const int x0 = d->imageGap, y0 = (toggle->height - c) / 2;
    const int n = std::clamp((b - 1) / 4, 0, 2);
    const int k = n + 1, inner = c - 2 * k;
    if (inner > 0 && !IsOn(toggle))
        WkObjectClearAreaEx(toggle, expose, x0 + k, y0 + k, inner, inner, -1);
    WkBeginDraw(toggle, expose);
    const WkColor light = toggle->lightShadow, dark = toggle->darkShadow;
    for (int i = 0; i < n; ++i) {
        WkObjectDrawLine(toggle, x0 + i, y0 + i, x0 + c - i, y0 + i, light);
        WkObjectDrawLine(toggle, x0 + i, y0 + i, x0 + i, y0 + c - i, light);
        WkObjectDrawLine(toggle, x0 + c - i, y0 + c - i, x0 + i, y0 + c - i, dark);
        WkObjectDrawLine(toggle, x0 + c - i, y0 + i, x0 + c - i, y0 + c - i, dark);
    }
    if (inner > 0 && IsOn(toggle)) WkObjectFillRect(toggle, x0 + k, y0 + k, inner, inner, toggle->foreground);
    WkEndDraw();
}

int WkToggleHandler(WkObject* toggle, WkMessage* message) {
    WkButtonData* d = WkButtonRecord(toggle);
    switch (message->type) {
    case WK_MSG_KEY: return Key(toggle, message);
    case WK_MSG_PRESS:
        if (WkButtonUsable(toggle)) {
            WkTogglePressFocus(toggle);
            Flip(toggle);
        }
        return 1;
    case WK_MSG_RELEASE: return 1;
    case WK_MSG_ENTER:
    case WK_MSG_LEAVE: WkButtonHoverRedraw(toggle); return 1;
    case WK_MSG_EXPOSE: Draw(toggle, message); return 1;
    case WK_MSG_DESTROY: WkButtonFreeData(toggle); return 1;
    case WK_MSG_MAP:
    case WK_MSG_REALIZE:
    case WK_MSG_RECOLOR: WkButtonRefresh(toggle, d); return 1;
    case WK_MSG_QUERY_SIZE: WkButtonPreferredSize(toggle); return 1;
    case WK_MSG_RESIZE:
        WkButtonResizeMessage(toggle, WkNewWidth(message), WkNewHeight(message));
        return 1;
    case WK_MSG_FOCUS_IN: WkButtonFocusIn(toggle); return 1;
    case WK_MSG_FOCUS_OUT: WkToggleFocusOut(toggle); return 1;
    case WK_MSG_SENSITIVE: WkButtonSensitiveChanged(toggle, WkTurnedOn(message)); return 0;
    case WK_MSG_COLORS:
        WkButtonColorsChanged(toggle, WkNewBackground(message), WkNewForeground(message));
        return 1;
    case WK_MSG_SHADOW:
        if (HasPicture(toggle)) WkButtonShadowMessage(toggle, d, message);
        else if (WkToggleTakeWidth(toggle, WkNewShadowWidth(message))) Draw(toggle, nullptr);
        return 1;
    case WK_MSG_SET_TEXT:
        WkButtonTextMessage(toggle, d, message);
        if (!HasPicture(toggle)) WkToggleDrawIndicator(toggle, nullptr);
        return 1;
    case WK_MSG_GET_TEXT: WkButtonGetTextMessage(toggle, d, message); return 1;
    default: return 0;
    }
}

void WkToggleSetCallback(WkObject* toggle, WkToggleCallback callback, void* userData) {
    WkToggleStoreCallback(toggle, callback, userData);
}

void WkToggleSetOn(WkObject* toggle) {
    WkToggleSwitch(toggle, true);
    DrawState(toggle);
    WkToggleCall(toggle, 1);
}

void WkToggleSetOff(WkObject* toggle) {
    WkToggleSwitch(toggle, false);
    DrawState(toggle);
    WkToggleCall(toggle, 0);
}

void WkToggleSetState(WkObject* toggle, int on) {
    if (on) WkToggleSetOn(toggle);
    else WkToggleSetOff(toggle);
}

int WkToggleGetState(WkObject* toggle) { return IsOn(toggle) ? 1 : 0; }

void WkToggleSetShadowWidth(WkObject* toggle, int width) {
    if (WkToggleTakeWidth(toggle, width)) Draw(toggle, nullptr);
}

void WkToggleSetImages(WkObject* toggle, const char* normal, const char* pressed, const char* insensitive) {
    WkButtonSetImageFiles(toggle, normal, pressed, insensitive);
}
