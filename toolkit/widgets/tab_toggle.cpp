#include "toolkit/widgets/tab_toggle.h"

#include "toolkit/core/colors.h"
#include "toolkit/core/image.h"
#include "toolkit/core/keys.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/object_primitives.h"
#include "toolkit/core/window_system.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/form_pages.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int kKeypadEnter = 0xE00D;

const WkButtonData* Record(const WkObject* tab) { return static_cast<const WkButtonData*>(tab->classRecord); }
bool HasPicture(const WkObject* tab) { return Record(tab)->images[WK_IMAGE_NORMAL] != nullptr; }
bool IsPageTab(const WkObject* tab) {
    return Record(tab)->pressedBackground != WK_NO_PRESSED_BACKGROUND;
}
bool IsOn(const WkObject* tab) { return tab->state & WK_STATE_ON; }
// The tab of a notebook page whose contents are all greyed is greyed with
// them: drawn so, it opens nothing, as a greyed control does nothing.
bool Usable(WkObject* tab) { return WkButtonUsable(tab) && WkPageTabLeadsSomewhere(tab); }
int LineHeight(const WkObject* tab) { return WkFontHeight("A", tab->font); }
int FocusThickness(const WkObject* tab) { return tab->shadowType != WK_SHADOW_NONE ? 2 : 1; }

void PageTabTemplate(WkObject& base, WkButtonData& record) {
    record.edgeMargin = 3;
    record.imageGap = 5;
    record.pressedBackground = 0; // any colour: creation shades the background into it
    base.shadowType = WK_SHADOW_IN;
    base.outerShadowWidth = 2;
    base.transparency = 0;
}

// The size until the first layout.
void InitialSize(WkObject* tab, const char* label) {
    const WkButtonData* d = WkButtonRecord(tab);
    const int h = LineHeight(tab);
    tab->width = (label ? WkTextWidth(label, tab->font) : 0) + 2 * h + 2 * d->imageGap;
    tab->height = h + 2 * d->edgeMargin;
}

WkObject* Create(WkObject* parent, const WkToggleLook& look) {
    return WkToggleCreate(WK_CLASS_TAB_TOGGLE, WkTabToggleHandler, parent, look);
}

WkObject* Make(WkObject* parent, const char* label, WkFontSlot font, const WkButtonImages& images,
               bool fromFiles) {
    return Create(parent, {images, label, font, fromFiles});
}

// The radio button's round indicator.
void DrawIndicator(WkObject* tab, const WkMessage* expose) {
    const WkButtonData* d = WkButtonRecord(tab);
    const int a = std::min(LineHeight(tab), 20);
    const int x0 = d->imageGap, cx = x0 + a / 2, cy = tab->height / 2 + 1, r = a / 2;
    const int dot = a / 3 - 1;
    // The dot's own square is repainted: a fixed band from the top misses
    // its lower rows once the centre sits below the middle of the font.
    if (!IsOn(tab) && dot >= 0) WkObjectClearAreaEx(tab, expose, cx - dot, cy - dot, 2 * dot + 1, 2 * dot + 1, -1);
    WkBeginDraw(tab, expose);
    if (IsOn(tab) && dot >= 0) WkObjectFillCircle(tab, cx, cy, dot, tab->foreground);
    for (int radius = r; radius >= (a > 16 ? r - 1 : r); --radius) {
        WkObjectDrawArc(tab, cx, cy, radius, 600, 2000, tab->lightShadow);
        WkObjectDrawArc(tab, cx, cy, radius, 2000, 600, tab->darkShadow);
    }
    WkEndDraw();
}

void TileImage(WkObject* tab, WkImage* image) {
    if (image->width <= 0 || image->height <= 0) return;
    for (int y = 2; y < tab->height; y += image->height)
        for (int x = 2; x < tab->width; x += image->width)
            WkObjectDrawImage(tab, image, 0, 0, image->width, image->height, x, y);
}

void DrawPageLabel(WkObject* tab, const WkButtonData* d, int dy) {
    const char* text = d->text ? d->text : "";
    const int n = static_cast<int>(std::strlen(text));
    const int W = tab->width, h = LineHeight(tab), tw = WkTextWidth(text, tab->font);
    // A text wider than the tab keeps its box inside the tab.
    int x = (W - tw) / 2, box = W - 2 * std::min(W - tw, 20);
    if (x < 0) x = 0;
    box = std::min(box, W - x);
    const int y = (tab->height - h) / 2 + dy;
    const bool usable = Usable(tab);
    const WkColor color = usable ? tab->foreground : d->releasedDark;
    if (usable)
        WkObjectDrawTextN(tab, x, y, box, h, text, tab->font, tab->foreground, 0, n);
    else
        WkObjectDrawShadowTextN(tab, x, y, box, h, text, tab->font, 1, color,
                                IsOn(tab) ? tab->darkShadow : tab->lightShadow, 0, n);
    if (d->mnemonicPosition >= 0 && d->mnemonicPosition < n) {
        const int x1 = x + WkTextWidthN(text, tab->font, d->mnemonicPosition);
        const int cw = WkCharWidth(static_cast<unsigned char>(text[d->mnemonicPosition]), tab->font);
        WkObjectDrawLine(tab, x1, y + h - 1, x1 + cw, y + h - 1, color);
    }
}

void DrawPageFocus(WkObject* tab) {
    const bool on = IsOn(tab);
    WkObjectDrawFrame(tab, 3, on ? 3 : 4, tab->width - 6, tab->height - (on ? 6 : 7), WkBlackColor(), 1);
}

void DrawPageTab(WkObject* tab, const WkMessage* expose) {
    const WkButtonData* d = WkButtonRecord(tab);
    const int W = tab->width, H = tab->height;
    const bool on = IsOn(tab);
    WkObjectClearAreaEx(tab, expose, 0, 0, W, 4, -1);
    if (on && !tab->image && tab->transparency == WK_TRANSPARENT) WkObjectClearAreaEx(tab, expose, 0, 4, W, H - 4, -1);
    WkBeginDraw(tab, expose);
    const WkColor light = tab->lightShadow, dark = tab->darkShadow;
    if (on) {
        if (tab->image) TileImage(tab, tab->image);
        else if (tab->transparency != WK_TRANSPARENT) WkObjectFillRect(tab, 0, 3, W, H - 3, tab->background);
        WkObjectDrawLine(tab, 0, 2, 0, H, dark);
        WkObjectDrawLine(tab, 1, 1, 1, H, dark);
        WkObjectDrawLine(tab, W - 2, 1, W - 2, H - 1, light);
        WkObject* parent = tab->parent;
        const bool atRightEdge = !parent || tab->x + W >= parent->width - WkObjectBorder(parent);
        WkObjectDrawLine(tab, W - 1, 2, W - 1, atRightEdge ? H - 1 : H - 2, light);
        WkObjectDrawLine(tab, 2, 2, W - 2, 2, dark);
        WkObjectDrawLine(tab, 2, 1, W - 3, 1, dark);
    } else {
        WkObjectFillRect(tab, 0, 4, W, H - 6, d->pressedBackground);
        WkObjectDrawLine(tab, 0, 4, 0, H - 2, light);
        WkObjectDrawLine(tab, W - 1, 3, W - 1, H - 3, dark);
        WkObjectDrawLine(tab, 1, 3, W - 2, 3, light);
        WkObjectDrawLine(tab, 0, H - 1, W, H - 1, light);
        WkObjectDrawLine(tab, 0, H - 2, W, H - 2, light);
    }
    DrawPageLabel(tab, d, on ? -1 : 1);
    if (tab->state & WK_STATE_FOCUS) DrawPageFocus(tab);
    WkEndDraw();
}

void Draw(WkObject* tab, const WkMessage* expose) {
    if (!WkObjectDrawable(tab)) return;
    if (IsPageTab(tab) && !HasPicture(tab)) return DrawPageTab(tab, expose);
    WkButtonDraw(tab, expose, 1, 1);
    if (!HasPicture(tab)) DrawIndicator(tab, expose);
}

// After a change of state.
void DrawState(WkObject* tab) {
    if (!WkObjectDrawable(tab)) return;
    if (HasPicture(tab)) {
        WkButtonDraw(tab, nullptr, 1, 1);
    } else if (IsPageTab(tab)) {
        WkObjectClearArea(tab, 0, 0, tab->width, 2);
        DrawPageTab(tab, nullptr);
    } else {
        DrawIndicator(tab, nullptr);
    }
}

void Switch(WkObject* tab, bool on) {
    WkToggleSwitch(tab, on);
    DrawState(tab);
    WkToggleCall(tab, on ? 1 : 0);
}

void FocusIn(WkObject* tab) {
    tab->state |= WK_STATE_FOCUS;
    if (!WkObjectDrawable(tab)) return;
    if (IsPageTab(tab) && !HasPicture(tab)) DrawPageFocus(tab);
    else WkObjectDrawFrame(tab, 0, 0, tab->width, tab->height, WkBlackColor(), FocusThickness(tab));
}

void FocusOut(WkObject* tab) {
    if (!IsPageTab(tab) || HasPicture(tab)) return WkToggleFocusOut(tab);
    tab->state &= static_cast<std::uint16_t>(~WK_STATE_FOCUS);
    if (!WkObjectDrawable(tab)) return;
    WkObjectClearFrame(tab, 3, 3, tab->width - 6, tab->height - 6, 1);
    DrawPageTab(tab, nullptr);
}

int Key(WkObject* tab, const WkMessage* message) {
    const int key = WkToggleKeyCode(message);
    const int mnemonic = WkButtonRecord(tab)->mnemonicKey;
    if (key == WK_KEY_ENTER || key == kKeypadEnter || key == ' ' || (mnemonic && key == mnemonic)) {
        if (Usable(tab) && !IsOn(tab)) WkTabToggleSelect(tab);
        return 1;
    }
    return WkToggleFocusKey(tab, key, WkKeyModifiers(message), true);
}

} // namespace

WkObject* WkCreateTabToggle(WkObject* parent, const char* label, WkFontSlot font) {
    WkObject* tab = Create(parent, {{}, label, font, false});
    InitialSize(tab, label);
    return tab;
}

WkObject* WkCreatePageTab(WkObject* parent, const char* label, WkFontSlot font) {
    WkObject* tab = Create(parent, {{}, label, font, false, PageTabTemplate});
    InitialSize(tab, label);
    return tab;
}

WK_BUTTON_PICTURE_CONSTRUCTORS(TabToggle, Make);

int WkTabToggleHandler(WkObject* tab, WkMessage* message) {
    WkButtonData* d = WkButtonRecord(tab);
    switch (message->type) {
    case WK_MSG_KEY: return Key(tab, message);
    case WK_MSG_PRESS:
        if (Usable(tab)) {
            WkTogglePressFocus(tab);
            if (!IsOn(tab)) WkTabToggleSelect(tab);
        }
        return 1;
    case WK_MSG_RELEASE: return 1;
    case WK_MSG_ENTER:
    case WK_MSG_LEAVE:
        if (!IsPageTab(tab) || HasPicture(tab)) WkButtonHoverRedraw(tab);
        return 1;
    case WK_MSG_EXPOSE: Draw(tab, message); return 1;
    case WK_MSG_DESTROY: WkButtonFreeData(tab); return 1;
    case WK_MSG_MAP:
    case WK_MSG_REALIZE:
    case WK_MSG_RECOLOR: WkButtonRefresh(tab, d); return 1;
    case WK_MSG_QUERY_SIZE: WkButtonPreferredSize(tab); return 1;
    case WK_MSG_RESIZE:
        WkButtonResizeMessage(tab, WkNewWidth(message), WkNewHeight(message));
        return 1;
    case WK_MSG_FOCUS_IN: FocusIn(tab); return 1;
    case WK_MSG_FOCUS_OUT: FocusOut(tab); return 1;
    case WK_MSG_COLORS:
        WkButtonColorsChanged(tab, WkNewBackground(message), WkNewForeground(message));
        return 1;
    case WK_MSG_SHADOW:
        if (HasPicture(tab)) WkButtonShadowMessage(tab, d, message);
        else if (WkToggleTakeWidth(tab, WkNewShadowWidth(message))) Draw(tab, nullptr);
        return 1;
    case WK_MSG_SET_TEXT:
        WkButtonTextMessage(tab, d, message);
        Draw(tab, nullptr);
        return 1;
    case WK_MSG_GET_TEXT: WkButtonGetTextMessage(tab, d, message); return 1;
    default: return 0;
    }
}

void WkTabToggleSetCallback(WkObject* tab, WkTabToggleCallback callback, void* userData) {
    WkToggleStoreCallback(tab, callback, userData);
}

void WkTabToggleSelect(WkObject* tab) {
    // The group is taken before any callback runs: a callback may switch
    // the form's page.
    std::vector<WkObject*> group;
    if (WkFormPage* page = WkFormCurrentPage(tab->parent))
        for (int i = 0; i < page->count; ++i)
            if (WkIsTabToggle(page->children[i]) && IsOn(page->children[i])) group.push_back(page->children[i]);
    for (WkObject* other : group) Switch(other, false);
    Switch(tab, true);
}

void WkTabToggleTurnOff(WkObject* object) {
    if (WkIsTabToggle(object) && IsOn(object)) Switch(object, false);
}

int WkTabToggleGetState(WkObject* tab) { return IsOn(tab) ? 1 : 0; }

int WkIsTabToggle(const WkObject* object) { return object && object->classCode == WK_CLASS_TAB_TOGGLE; }

void WkTabToggleSetShadowWidth(WkObject* tab, int width) {
    if (WkToggleTakeWidth(tab, width)) Draw(tab, nullptr);
}

void WkTabToggleSetImages(WkObject* tab, const char* normal, const char* pressed, const char* insensitive) {
    WkButtonSetImageFiles(tab, normal, pressed, insensitive);
}
