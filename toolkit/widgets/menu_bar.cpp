#include "toolkit/widgets/menu_bar.h"

#include "toolkit/core/colors.h"
#include "toolkit/core/grab.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/keys.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/mnemonics.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/object_primitives.h"
#include "toolkit/core/settings.h"
#include "toolkit/core/shell.h"
#include "toolkit/widgets/button_core.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/menu.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr std::intptr_t kLeftHeld = 0x100;

WkMenuBarData Template() {
    WkMenuBarData t{};
    t.titlePadding = 3;
    t.verticalPadding = 4;
    t.current = -1;
    return t;
}

int FontHeight(WkObject* bar) { return WkFontHeight("A", bar->font); }

bool Usable(const WkObject* bar) { return WkButtonUsable(bar) != 0; }
bool Grabbing(WkObject* bar) { return WkGetGrab() == bar; }

WkMenuBarEntry* Open(WkMenuBarData* d) { return d->current >= 0 && d->current < d->count ? &d->titles[d->current] : nullptr; }

void Measure(WkObject* bar, WkMenuBarEntry* e) {
    WkMenuBarData* d = WkMenuBarRecord(bar);
    e->padding = d->verticalPadding;
    e->width = 4 * d->titlePadding + WkTextWidth(e->label, bar->font);
    e->height = 2 * d->verticalPadding + FontHeight(bar);
}

void Reposition(WkObject* bar) {
    WkMenuBarData* d = WkMenuBarRecord(bar);
    int x = d->titlePadding;
    for (int i = 0; i < d->count; ++i) {
        Measure(bar, &d->titles[i]);
        d->titles[i].x = x;
        x += d->titles[i].width;
    }
}

// The label without markers; the marked position or -1.
int SetTitleText(WkMenuBarEntry* e, const char* title) {
    WkFree(e->label);
    e->label = static_cast<char*>(WkMalloc(std::strlen(title) + 1));
    return WkParseMnemonic(e->label, title);
}

bool KeyTaken(WkMenuBarData* d, int index, int key) {
    for (int i = 0; i < d->count; ++i)
        if (i != index && d->titles[i].mnemonicKey == key) return true;
    return false;
}

void AssignMnemonic(WkObject* bar, int index, int marked) {
    WkMenuBarData* d = WkMenuBarRecord(bar);
    WkMenuBarEntry* e = &d->titles[index];
    if (e->mnemonicKey) WkShellRemoveMnemonic(bar, e->mnemonicKey);
    e->mnemonicKey = 0;
    e->mnemonicPosition = -1;
    if (marked >= 0) {
        e->mnemonicPosition = marked;
        // Only letters have Alt keys: a marked digit is underlined but
        // registers nothing.
        e->mnemonicKey = WkAltKeyOfLetter(static_cast<unsigned char>(e->label[marked]));
        if (e->mnemonicKey) {
            WkShellAddMnemonic(bar, e->mnemonicKey);
            for (int i = 0; i < d->count; ++i)
                if (i != index && d->titles[i].mnemonicKey == e->mnemonicKey) AssignMnemonic(bar, i, -1);
        }
        return;
    }
    for (int k = 0; e->label[k]; ++k) {
        const int key = WkAltKeyOfLetter(static_cast<unsigned char>(e->label[k]));
        if (key && !KeyTaken(d, index, key)) {
            e->mnemonicKey = key;
            e->mnemonicPosition = k;
            WkShellAddMnemonic(bar, key);
            return;
        }
    }
}

void QuerySize(WkObject* bar) {
    WkMenuBarData* d = WkMenuBarRecord(bar);
    const int frame = WkObjectBorder(bar);
    Reposition(bar);
    for (int i = 0; i < d->count; ++i)
        if (WkObject* menu = d->titles[i].menu)
            if (menu->font != bar->font) WkObjectSetFont(menu, bar->font, 1);
    bar->height = 2 * frame + 2 * d->verticalPadding + FontHeight(bar);
    const WkMenuBarEntry* last = d->count > 0 ? &d->titles[d->count - 1] : nullptr;
    bar->width = 2 * frame + (last ? last->x + last->width : 0) + 2 * d->titlePadding;
}

void Bevel(WkObject* bar, const WkMenuBarEntry* e, bool sunken) {
    WkMenuBarData* d = WkMenuBarRecord(bar);
    const int frame = WkObjectBorder(bar), h = FontHeight(bar);
    const int x = frame + d->titlePadding / 2 + e->x, y = frame + 1, height = h + d->verticalPadding + 1;
    if (sunken)
        WkObjectDrawBevel(bar, x, y, e->width, height, bar->darkShadow, bar->lightShadow, 1);
    else
        WkObjectClearFrame(bar, x, y, e->width, height, 1);
}

void OpenCurrent(WkObject* bar) {
    WkMenuBarData* d = WkMenuBarRecord(bar);
    WkMenuBarEntry* e = Open(d);
    if (!e) return;
    bar->state |= WK_STATE_FOCUS;
    Bevel(bar, e, true);
    WkMenuPopupAtOwner(e->menu);
}

void CloseCurrent(WkObject* bar) {
    WkMenuBarData* d = WkMenuBarRecord(bar);
    bar->state &= std::uint16_t(~WK_STATE_FOCUS);
    if (WkMenuBarEntry* e = Open(d)) {
        WkMenuPopDown(e->menu);
        Bevel(bar, e, false);
    }
    d->current = -1;
}

void Draw(WkObject* bar) {
    WkMenuBarData* d = WkMenuBarRecord(bar);
    WkObjectDrawBackground(bar);
    const int frame = WkObjectBorder(bar), h = FontHeight(bar);
    const WkColor color = Usable(bar) ? bar->foreground : bar->darkShadow;
    for (int i = 0; i < d->count; ++i) {
        const WkMenuBarEntry* e = &d->titles[i];
        const int x = frame + d->titlePadding + e->x;
        WkObjectDrawText(bar, x, frame + 1, e->width, h + d->verticalPadding, e->label, bar->font, color, 0);
        if (e->mnemonicPosition >= 0) {
            const int x1 = x + WkTextWidthN(e->label, bar->font, e->mnemonicPosition);
            const int x2 = x1 + WkCharWidth(static_cast<unsigned char>(e->label[e->mnemonicPosition]), bar->font);
            WkObjectDrawLine(bar, x1, frame + h + d->verticalPadding, x2, frame + h + d->verticalPadding, color);
        }
    }
    OpenCurrent(bar);
}

WkObject* ShellOf(WkObject* bar) { return WkObjectGetShell(bar); }

void Activate(WkObject* bar, int index) {
    WkMenuBarData* d = WkMenuBarRecord(bar);
    d->current = std::int16_t(index);
    WkPushGrab(bar);
    WkShellFocusOut(ShellOf(bar));
    OpenCurrent(bar);
}

void Switch(WkObject* bar, int index) {
    CloseCurrent(bar);
    WkMenuBarRecord(bar)->current = std::int16_t(index);
    OpenCurrent(bar);
}

// The title under a point relative to the bar, or -1.
int TitleAt(WkObject* bar, const WkMessage* m) {
    WkMenuBarData* d = WkMenuBarRecord(bar);
    const int px = WkPointerX(m), py = WkPointerY(m);
    if (px < 0 || py < 0 || px >= bar->width || py >= bar->height) return -1;
    const int x = px - WkObjectBorder(bar) - d->titlePadding / 2;
    for (int i = 0; i < d->count; ++i)
        if (x >= d->titles[i].x && x < d->titles[i].x + d->titles[i].width) return i;
    return -1;
}

WkObject* MenuUnder(WkObject* bar, const WkMessage* m) {
    WkMenuBarEntry* e = Open(WkMenuBarRecord(bar));
    return e ? WkMenuHitTest(e->menu, WkPointerScreenX(m), WkPointerScreenY(m)) : nullptr;
}

// The pointer over an open menu moves its highlight (and, with the button
// held, opens submenus); over another title it opens that one: dragged
// there, or with a title open, moved there without a button.
void Track(WkObject* bar, WkMessage* m) {
    WkMenuBarData* d = WkMenuBarRecord(bar);
    if (WkObject* menu = MenuUnder(bar, m)) {
        WkMenuForward(menu, m);
        return;
    }
    const int title = TitleAt(bar, m);
    const bool follow = (WkPointerState(m) & kLeftHeld) ? d->pointerFlag != 0 : Open(d) != nullptr;
    if (follow && title >= 0 && title != d->current) Switch(bar, title);
}

void Press(WkObject* bar, WkMessage* m) {
    WkMenuBarData* d = WkMenuBarRecord(bar);
    if (!Grabbing(bar)) {
        WkShellFocusOut(ShellOf(bar));
        WkPushGrab(bar);
        d->pointerFlag = 1;
    } else if (TitleAt(bar, m) < 0) {
        d->pointerFlag = 0;
        // A press outside the titles and every open menu closes the bar.
        if (WkObject* menu = Open(d) ? MenuUnder(bar, m) : nullptr) WkMenuForward(menu, m);
        else WkMenuBarDeactivate(bar);
        return;
    }
    d->pointerFlag = 1;
    Track(bar, m);
}

void Release(WkObject* bar, WkMessage* m) {
    WkMenuBarData* d = WkMenuBarRecord(bar);
    if (!Grabbing(bar)) return;
    if (d->pointerFlag && TitleAt(bar, m) >= 0) return;
    if (!Open(d)) {
        WkMenuBarDeactivate(bar);
    } else if (WkObject* menu = MenuUnder(bar, m)) {
        WkMenuForward(menu, m);
    } else {
        WkMenuBarDeactivate(bar);
    }
}

// Closes the bar, then chooses the item: its callback may destroy the window.
void Choose(WkObject* bar, WkMenuItem* item) {
    WkMenuBarDeactivate(bar);
    WkMenuActivateItem(item);
}

int Character(WkObject* bar, int key) {
    WkMenuBarEntry* e = Open(WkMenuBarRecord(bar));
    if (!e || key <= 0 || key >= 0x100) return 0;
    WkObject* menu = WkMenuDeepest(e->menu);
    WkMenuData* md = WkMenuRecord(menu);
    const char upper = key >= 'a' && key <= 'z' ? char(key - 32) : char(key);
    for (int i = 0; i < md->count; ++i) {
        WkMenuItem* item = md->items[i];
        if (item->disabled || !item->mnemonic || item->mnemonic != upper) continue;
        if (item->submenu) {
            WkMenuSetCurrent(menu, i);
            WkMenuPopupAtOwner(item->submenu);
        } else {
            Choose(bar, item);
        }
        return 1;
    }
    return 0;
}

void SearchTitles(WkObject* bar, int key) {
    WkMenuBarData* d = WkMenuBarRecord(bar);
    for (int i = 0; i < d->count; ++i) {
        if (d->titles[i].mnemonicKey && d->titles[i].mnemonicKey == key) {
            if (!Grabbing(bar)) Activate(bar, i);
            return;
        }
        if (WkMenuItem* item = WkMenuFindAccelerator(d->titles[i].menu, key)) {
            Choose(bar, item);
            return;
        }
    }
}

// A submenu open below the pull-down: the deepest open menu, else null.
WkObject* OpenSubmenu(WkMenuBarEntry* e) {
    WkObject* deepest = WkMenuDeepest(e->menu);
    return deepest != e->menu ? deepest : nullptr;
}

// The deepest menu's current item with a submenu not shown: opened.
bool OpenCurrentSubmenu(WkMenuBarEntry* e) {
    WkObject* deepest = WkMenuDeepest(e->menu);
    WkMenuData* md = WkMenuRecord(deepest);
    if (md->current < 0 || md->current >= md->count) return false;
    WkMenuItem* item = md->items[md->current];
    if (!item->submenu) return false;
    WkMenuPopupAtOwner(item->submenu);
    return true;
}

void Key(WkObject* bar, WkMessage* m) {
    WkMenuBarData* d = WkMenuBarRecord(bar);
    const int key = WkKeyCode(m);
    WkMenuBarEntry* e = Open(d);
    switch (key) {
    case WK_KEY_ESC:
        if (!e) break;
        if (WkObject* sub = OpenSubmenu(e)) WkMenuPopDown(sub);
        else WkMenuBarDeactivate(bar);
        return;
    case WK_KEY_ENTER:
        if (!e) break;
        if (OpenCurrentSubmenu(e)) return;
        WkSendMessage(e->menu, m);
        return;
    case WK_KEY_UP:
    case WK_KEY_DOWN:
        if (e) WkSendMessage(e->menu, m);
        if (e) return;
        break;
    case WK_KEY_LEFT:
        if (!e) break;
        if (WkObject* sub = OpenSubmenu(e)) WkMenuPopDown(sub);
        else Switch(bar, (d->current + d->count - 1) % d->count);
        return;
    case WK_KEY_RIGHT:
        if (!e) break;
        if (!OpenCurrentSubmenu(e)) Switch(bar, (d->current + 1) % d->count);
        return;
    default: break;
    }
    if (d->activationKey && key == d->activationKey) {
        if (!Grabbing(bar) && d->count > 0) Activate(bar, 0);
        return;
    }
    if (Character(bar, key)) return;
    SearchTitles(bar, key);
}

void Destroy(WkObject* bar) {
    WkMenuBarData* d = WkMenuBarRecord(bar);
    // Each pull-down's destruction clears its entry's menu.
    for (int i = 0; i < d->count; ++i)
        if (WkObject* menu = d->titles[i].menu) WkObjectDestroy(WkObjectGetShell(menu));
    for (int i = 0; i < d->count; ++i) WkFree(d->titles[i].label);
    WkFree(d->titles);
    d->titles = nullptr;
    d->count = d->capacity = 0;
    WkShellRemoveMnemonics(bar);
    WkFreeColor(d->highlightBackground);
    WkFreeColor(d->highlightText);
}

void SetHighlight(WkObject* bar, WkColor background, WkColor text) {
    WkMenuBarData* d = WkMenuBarRecord(bar);
    const WkColor oldBackground = d->highlightBackground, oldText = d->highlightText;
    d->highlightBackground = WkAddColorRef(background);
    d->highlightText = WkAddColorRef(text);
    WkFreeColor(oldBackground);
    WkFreeColor(oldText);
    for (int i = 0; i < d->count; ++i) WkMenuSetHighlightColors(d->titles[i].menu, background, text);
}

// Pull-downs and their submenus take the bar's colours.
void ColorMenus(WkObject* menu, WkObject* bar) {
    if (!WkIsMenu(menu)) return;
    WkObjectSetColors(WkObjectGetShell(menu), bar->background, bar->foreground);
    WkMenuData* md = WkMenuRecord(menu);
    for (int i = 0; i < md->count; ++i) ColorMenus(md->items[i]->submenu, bar);
}

void ImageMenus(WkObject* menu, WkImage* image, int mode) {
    if (!WkIsMenu(menu)) return;
    WkObjectSetBackgroundImage(WkObjectGetShell(menu), image, mode);
    WkMenuData* md = WkMenuRecord(menu);
    for (int i = 0; i < md->count; ++i) ImageMenus(md->items[i]->submenu, image, mode);
}

} // namespace

WkObject* WkCreateMenuBar(WkObject* parent, WkFontSlot font) {
    WkObject base = WkBaseTemplate(WK_CLASS_MENU_BAR);
    base.handler = WkMenuBarHandler;
    const WkMenuBarData record = Template();
    WkObject* bar = WkNewObject(base, &record, sizeof record);
    bar->font = font;
    WkMenuInstallTextConfig();
    WkInheritColors(parent, bar);
    WkMenuBarData* d = WkMenuBarRecord(bar);
    d->highlightBackground = WkHighlightColor(bar->background, bar->foreground);
    d->highlightText = WkAddColorRef(bar->foreground);
    if (parent) WkAddChild(parent, bar);
    return bar;
}

void WkMenuBarAddEntry(WkObject* bar, WkObject* menu, const char* title) {
    if (!WkIsMenuBar(bar)) return;
    WkMenuBarData* d = WkMenuBarRecord(bar);
    if (d->count >= d->capacity) {
        d->capacity = std::int16_t(d->capacity + 4);
        d->titles = static_cast<WkMenuBarEntry*>(
            WkRealloc(d->titles, sizeof(WkMenuBarEntry) * std::size_t(d->capacity)));
    }
    WkMenuBarEntry* e = &d->titles[d->count];
    *e = WkMenuBarEntry{};
    e->mnemonicPosition = -1;
    e->menu = menu;
    const int marked = SetTitleText(e, title ? title : "");
    ++d->count;
    Reposition(bar);
    AssignMnemonic(bar, d->count - 1, marked);
}

WkObject* WkMenuBarAddMenu(WkObject* bar, const char* title) {
    if (!WkIsMenuBar(bar)) return nullptr;
    WkObject* menu = WkCreateMenu(bar);
    WkMenuBarAddEntry(bar, menu, title);
    WkResize(bar, -1, -1);
    return menu;
}

int WkMenuBarIndexOf(WkObject* bar, WkObject* menu) {
    if (!WkIsMenuBar(bar)) return -1;
    WkMenuBarData* d = WkMenuBarRecord(bar);
    for (int i = 0; i < d->count; ++i)
        if (d->titles[i].menu == menu) return i;
    return -1;
}

void WkMenuSetTitle(WkObject* menu, const char* title) {
    if (!WkIsMenu(menu) || !title) return;
    WkObject* owner = WkMenuRecord(menu)->owner;
    if (WkIsMenuBar(owner)) {
        const int index = WkMenuBarIndexOf(owner, menu);
        if (index < 0) return;
        const int marked = SetTitleText(&WkMenuBarRecord(owner)->titles[index], title);
        Reposition(owner);
        AssignMnemonic(owner, index, marked);
        WkResize(owner, -1, -1);
    } else if (WkIsMenu(owner)) {
        WkMenuData* od = WkMenuRecord(owner);
        for (int i = 0; i < od->count; ++i)
            if (od->items[i]->submenu == menu) WkMenuItemSetLabel(od->items[i], title);
    }
}

const char* WkMenuGetTitle(WkObject* menu) {
    if (!WkIsMenu(menu)) return nullptr;
    WkObject* owner = WkMenuRecord(menu)->owner;
    if (WkIsMenuBar(owner)) {
        const int index = WkMenuBarIndexOf(owner, menu);
        return index >= 0 ? WkMenuBarRecord(owner)->titles[index].label : nullptr;
    }
    if (WkIsMenu(owner)) {
        WkMenuData* od = WkMenuRecord(owner);
        for (int i = 0; i < od->count; ++i)
            if (od->items[i]->submenu == menu) return od->items[i]->label;
    }
    return nullptr;
}

void WkMenuDetach(WkObject* menu) {
    if (!WkIsMenu(menu)) return;
    WkObject* owner = WkMenuRecord(menu)->owner;
    if (WkIsMenuBar(owner)) {
        WkMenuBarData* d = WkMenuBarRecord(owner);
        const int index = WkMenuBarIndexOf(owner, menu);
        if (index < 0) return;
        if (d->current == index) WkMenuBarDeactivate(owner);
        WkShellRemoveMnemonic(owner, d->titles[index].mnemonicKey);
        WkObjectDestroy(WkObjectGetShell(menu));
        WkFree(d->titles[index].label);
        for (int i = index; i + 1 < d->count; ++i) d->titles[i] = d->titles[i + 1];
        --d->count;
        if (d->current > index) --d->current;
        Reposition(owner);
        WkResize(owner, -1, -1);
    } else if (WkIsMenu(owner)) {
        WkMenuData* od = WkMenuRecord(owner);
        for (int i = 0; i < od->count; ++i)
            if (od->items[i]->submenu == menu) {
                WkMenuRemoveItem(od->items[i]);
                break;
            }
        WkResize(owner, -1, -1);
    }
}

void WkMenuBarSetKey(WkObject* bar, int key) {
    if (!WkIsMenuBar(bar)) return;
    WkMenuBarData* d = WkMenuBarRecord(bar);
    if (d->activationKey) WkShellRemoveMnemonic(bar, d->activationKey);
    d->activationKey = key;
    if (key) WkShellAddMnemonic(bar, key);
}

void WkMenuBarSetHighlightColors(WkObject* bar, WkColor background, WkColor text) {
    if (WkIsMenuBar(bar)) SetHighlight(bar, background, text);
}

void WkMenuBarSetHighlightTextColor(WkObject* bar, WkColor text) {
    if (!WkIsMenuBar(bar)) return;
    const WkColor background = WkHighlightColor(bar->background, text);
    SetHighlight(bar, background, text);
    WkFreeColor(background);
}

void WkMenuBarDeactivate(WkObject* bar) {
    WkMenuBarData* d = WkMenuBarRecord(bar);
    d->pointerFlag = 0;
    CloseCurrent(bar);
    if (Grabbing(bar)) WkPopGrab(bar);
    WkShellFocusIn(ShellOf(bar));
}

void WkMenuBarSaveItems(WkObject* bar) {
    if (!WkIsMenuBar(bar) || !bar->name) return;
    WkMenuBarData* d = WkMenuBarRecord(bar);
    for (int i = 0; i < d->count; ++i) {
        const WkMenuBarEntry* e = &d->titles[i];
        char key[512], value[512];
        WkMenuSettingsKey(key, sizeof key, "", e->label);
        WkMenuMarkedLabel(value, sizeof value, e->label, e->mnemonicPosition);
        WkWriteSetting(bar->name, key, value);
        WkMenuSaveItems(e->menu, bar->name, (std::string(key) + ".").c_str());
    }
}

void WkMenuBarLoadItems(WkObject* bar) {
    if (!WkIsMenuBar(bar) || !bar->name) return;
    WkMenuBarData* d = WkMenuBarRecord(bar);
    for (int i = 0; i < d->count; ++i) {
        char key[512];
        WkMenuSettingsKey(key, sizeof key, "", d->titles[i].label);
        if (const char* value = WkReadSetting(bar->name, key)) {
            const std::string copy = value;
            WkMenuSetTitle(d->titles[i].menu, copy.c_str());
        }
        WkMenuLoadItems(d->titles[i].menu, bar->name, (std::string(key) + ".").c_str());
    }
}

int WkMenuBarHandler(WkObject* bar, WkMessage* message) {
    WkMenuBarData* d = WkMenuBarRecord(bar);
    switch (message->type) {
    case WK_MSG_KEY:
        if (Usable(bar)) Key(bar, message);
        return 1;
    case WK_MSG_PRESS:
        if (Usable(bar) && WkPointerButton(message) == 1) Press(bar, message);
        return 1;
    case WK_MSG_MOTION:
        if (Usable(bar) && Grabbing(bar)) Track(bar, message);
        return 1;
    case WK_MSG_ENTER:
        d->pointerFlag = 1;
        if (Usable(bar) && Grabbing(bar)) Track(bar, message);
        return 1;
    case WK_MSG_LEAVE:
        d->pointerFlag = 0;
        if (Usable(bar) && Grabbing(bar)) Track(bar, message);
        return 1;
    case WK_MSG_RELEASE:
        if (Usable(bar) && WkPointerButton(message) == 1) Release(bar, message);
        return 1;
    case WK_MSG_POP_DOWN: WkMenuBarDeactivate(bar); return 1;
    case WK_MSG_EXPOSE: Draw(bar); return 1;
    case WK_MSG_SHADOW:
        bar->shadowType = std::uint8_t(WkNewShadowType(message));
        bar->shadowWidth = std::uint8_t(WkNewShadowWidth(message));
        bar->outerShadowWidth = std::uint8_t(WkNewOuterShadowWidth(message));
        WkRedraw(bar, 1);
        return 1;
    case WK_MSG_DESTROY: Destroy(bar); return 1;
    case WK_MSG_QUERY_SIZE: QuerySize(bar); return 1;
    case WK_MSG_RESIZE: bar->width = WkNewWidth(message); return 1;
    case WK_MSG_COLORS: {
        const WkColor background = WkHighlightColor(bar->background, bar->foreground);
        SetHighlight(bar, background, bar->foreground);
        WkFreeColor(background);
        for (int i = 0; i < d->count; ++i) ColorMenus(d->titles[i].menu, bar);
        return 1;
    }
    case WK_MSG_IMAGE: {
        const bool own = bar->image && !(bar->colorFlags & WK_INHERIT_DERIVED_IMAGE);
        for (int i = 0; i < d->count; ++i)
            ImageMenus(d->titles[i].menu, own ? bar->image : nullptr, bar->imageMode);
        return 1;
    }
    default: return 0;
    }
}
