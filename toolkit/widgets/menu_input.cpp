// Menus: the size query, drawing, opening and closing, and the class
// handler with the pointer along the open chain and the keys.
#include "toolkit/core/grab.h"
#include "toolkit/core/keys.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/object_primitives.h"
#include "toolkit/core/shell.h"
#include "toolkit/widgets/menu.h"
#include "toolkit/widgets/menu_bar.h"

#include <algorithm>

namespace {

constexpr std::intptr_t kLeftHeld = 0x100;

int FontHeight(WkObject* menu) { return WkFontHeight("A", menu->font); }

WkObject* ShellOf(WkObject* menu) { return WkObjectGetShell(menu); }

bool Open(WkObject* menu) {
    WkObject* shell = WkIsMenu(menu) ? WkObjectGetShell(menu) : nullptr;
    return shell && (WkShellRecord(shell)->flags & WK_SHELL_SHOWN);
}

WkMenuItem* Current(WkMenuData* d) {
    return d->current >= 0 && d->current < d->count ? d->items[d->current] : nullptr;
}

// The screen position of the menu's top-left corner.
void ScreenOrigin(WkObject* menu, int* x, int* y) {
    WkObjectGetAbsolutePosition(menu, x, y);
    WkObject* shell = ShellOf(menu);
    *x += shell->x;
    *y += shell->y;
}

void QuerySize(WkObject* menu) {
    WkMenuData* d = WkMenuRecord(menu);
    const int h = FontHeight(menu);
    int height = 4 - d->padding, widest = 0, keyWidth = 0, offset = 0;
    for (int i = 0; i < d->count; ++i) {
        WkMenuItem* item = d->items[i];
        item->extent = std::int16_t(item->label ? h + d->padding : h / 2);
        item->offset = WkClampPosition16(offset);
        offset += item->extent;
        height += item->extent;
        if (item->label) widest = std::max(widest, WkTextWidth(item->label, menu->font));
        if (item->keyText) keyWidth = std::max(keyWidth, WkTextWidth(item->keyText, menu->font));
    }
    d->keyTextWidth = keyWidth;
    menu->width = 2 * (WkObjectBorder(menu) + d->margin) + widest + keyWidth + 2 * h - h / 4;
    menu->height = height;
}

void DrawIndicator(WkObject* menu, const WkMenuItem* item, int top, bool highlighted, WkColor text) {
    const int f = WkObjectBorder(menu), h = FontHeight(menu);
    const int quarter = (item->extent + 3) / 4, s = 2 * quarter;
    const int x = f + h / 4 - 2, y = top + quarter;
    WkColor topLeft = item->checked ? menu->darkShadow : menu->lightShadow;
    WkColor bottomRight = item->checked ? menu->lightShadow : menu->darkShadow;
    if (highlighted) topLeft = bottomRight = text;
    if (item->kind == WK_MENU_CHECK) {
        WkObjectDrawBevel(menu, x, y, s, s, topLeft, bottomRight, 1);
        if (item->checked) WkObjectFillRect(menu, x + 2, y + 2, s - 4, s - 4, text);
    } else if (item->kind == WK_MENU_RADIO) {
        const int r = s / 2;
        WkObjectDrawArc(menu, x + r, y + r, r, 600, 2000, topLeft);
        WkObjectDrawArc(menu, x + r, y + r, r, 2000, 4200, bottomRight);
        if (item->checked) WkObjectFillCircle(menu, x + r, y + r, s / 3, text);
    } else if (item->checked) {
        WkPoint tick[5] = {{x, y + s / 2}, {x + s / 3, y + s}, {x + s, y}, {x + s / 3, y + s - 3}, {x, y + s / 2 - 2}};
        WkObjectFillPolygon(menu, tick, 5, text);
    }
}

void DrawItem(WkObject* menu, int index, bool highlighted) {
    WkMenuData* d = WkMenuRecord(menu);
    const WkMenuItem* item = d->items[index];
    const int f = WkObjectBorder(menu), h = FontHeight(menu), w = menu->width - 2 * f;
    const int top = f + item->offset;
    if (item->kind == WK_MENU_SEPARATOR) {
        const int middle = top + item->extent / 2;
        WkObjectDrawLine(menu, f, middle, f + w - 1, middle, menu->darkShadow);
        WkObjectDrawLine(menu, f, middle + 1, f + w - 1, middle + 1, menu->lightShadow);
        return;
    }
    if (highlighted) {
        if (!item->disabled) WkObjectFillRect(menu, f + 1, top + 1, w - 2, h + d->padding - 1, d->highlightBackground);
        WkObjectDrawBevel(menu, f, top, w, item->extent + 1, menu->darkShadow, menu->lightShadow, 1);
    }
    const WkColor text = highlighted ? d->highlightText : menu->foreground;
    const int x = f + h + d->margin - h / 4;
    const int labelWidth = WkTextWidth(item->label, menu->font);
    if (item->disabled) {
        WkObjectDrawShadowText(menu, x, top, labelWidth, item->extent, item->label, menu->font, 1, menu->darkShadow,
                               menu->lightShadow, 0);
    } else {
        WkObjectDrawText(menu, x, top, labelWidth, item->extent, item->label, menu->font, text, 0);
        if (item->mnemonic) {
            const int k = item->mnemonicPosition;
            const int x1 = x + WkTextWidthN(item->label, menu->font, k);
            const int x2 = x1 + WkCharWidth(static_cast<unsigned char>(item->label[k]), menu->font);
            WkObjectDrawLine(menu, x1, top + item->extent - 2, x2, top + item->extent - 2, text);
        }
    }
    if (item->keyText) {
        const int kx = w - d->keyTextWidth - 4;
        if (item->disabled)
            WkObjectDrawShadowText(menu, kx, top, d->keyTextWidth, item->extent, item->keyText, menu->font, 1,
                                   menu->darkShadow, menu->lightShadow, 0);
        else
            WkObjectDrawText(menu, kx, top, d->keyTextWidth, item->extent, item->keyText, menu->font, text, 0);
    }
    DrawIndicator(menu, item, top, highlighted, text);
    if (item->submenu) {
        const int tx = w + h / 4 - h, y1 = top + item->extent / 4, y2 = top + 3 * item->extent / 4;
        WkPoint triangle[3] = {{tx, y1}, {tx, y2}, {tx + (y2 - y1) / 2, (y1 + y2) / 2}};
        WkObjectFillPolygon(menu, triangle, 3, text);
    }
}

void Draw(WkObject* menu) {
    WkMenuData* d = WkMenuRecord(menu);
    WkObjectDrawBackground(menu);
    for (int i = 0; i < d->count; ++i) DrawItem(menu, i, i == d->current);
}

// Repaints one item from behind and draws it.
void RedrawItem(WkObject* menu, int index, bool highlighted) {
    WkMenuData* d = WkMenuRecord(menu);
    if (index < 0 || index >= d->count || !WkObjectDrawable(menu)) return;
    const WkMenuItem* item = d->items[index];
    const int f = WkObjectBorder(menu);
    WkObjectClearArea(menu, f, f + item->offset, menu->width - 2 * f, item->extent + 1);
    DrawItem(menu, index, highlighted);
    // The bevel's last row lies on the next item's first.
    if (index + 1 < d->count && !highlighted) DrawItem(menu, index + 1, index + 1 == d->current);
}

void CallMenuCallback(WkObject* menu, WkMenuItem* item) {
    WkMenuData* d = WkMenuRecord(menu);
    if (d->callback) d->callback(menu, item, d->userData);
}

void SetCurrent(WkObject* menu, int index) {
    WkMenuData* d = WkMenuRecord(menu);
    if (index == d->current || index < 0 || index >= d->count) return;
    if (WkMenuItem* old = Current(d))
        if (Open(old->submenu)) WkMenuPopDown(old->submenu);
    const int old = d->current;
    d->current = index;
    RedrawItem(menu, old, false);
    RedrawItem(menu, index, true);
    CallMenuCallback(menu, d->items[index]);
}

void OpenSubmenu(WkMenuItem* item) {
    if (item && item->submenu && !Open(item->submenu)) WkMenuPopupAtOwner(item->submenu);
}

// The item under a point relative to the menu, or -1 (a separator is none).
int ItemAt(WkObject* menu, int y) {
    WkMenuData* d = WkMenuRecord(menu);
    for (int i = 0; i < d->count; ++i)
        if (d->items[i]->offset + d->items[i]->extent > y - WkObjectBorder(menu) - 2)
            return d->items[i]->kind == WK_MENU_SEPARATOR ? -1 : i;
    return -1;
}

bool Inside(WkObject* menu, const WkMessage* m) {
    const int x = WkPointerX(m), y = WkPointerY(m);
    return x >= 0 && y >= 0 && x < menu->width && y < menu->height;
}

// Closes the popup root of the chain, or gives the bar above it its idle state.
void CloseChain(WkObject* menu) {
    if (WkObject* root = WkMenuGetPopupRoot(menu)) {
        WkMenuPopDown(root);
    } else if (WkObject* bar = WkMenuGetOwner(menu)) {
        WkMenuBarDeactivate(bar);
    }
}

void Track(WkObject* menu, WkMessage* m) {
    const int index = ItemAt(menu, WkPointerY(m));
    if (index < 0) return;
    SetCurrent(menu, index);
    OpenSubmenu(WkMenuRecord(menu)->items[index]);
}

// Another open menu of the chain under the pointer takes the message.
bool PassOn(WkObject* menu, WkMessage* m) {
    WkObject* hit = WkMenuHitTest(menu, WkPointerScreenX(m), WkPointerScreenY(m));
    if (!hit || hit == menu) return false;
    WkMenuForward(hit, m);
    return true;
}

void Pointer(WkObject* menu, WkMessage* m) {
    if (PassOn(menu, m)) return;
    if (Inside(menu, m)) {
        Track(menu, m);
    } else if (m->type == WK_MSG_PRESS && !WkMenuGetParentMenu(menu)) {
        // A press outside every menu of the chain.
        if (WkObject* root = WkMenuGetPopupRoot(menu)) WkMenuPopDown(root);
    }
}

// Without a button held the highlight follows the pointer over the items;
// a submenu opens only on a press (or a drag) over its item.
void Hover(WkObject* menu, WkMessage* m) {
    if (PassOn(menu, m) || !Inside(menu, m)) return;
    const int index = ItemAt(menu, WkPointerY(m));
    if (index >= 0) SetCurrent(menu, index);
}

void Release(WkObject* menu, WkMessage* m) {
    // Only the first button chooses: the release of the button whose press
    // popped the menu up (the right one, over the menu's first item) must not.
    if (WkPointerButton(m) != 1 || PassOn(menu, m)) return;
    WkMenuData* d = WkMenuRecord(menu);
    const int index = Inside(menu, m) ? ItemAt(menu, WkPointerY(m)) : -1;
    WkMenuItem* under = index >= 0 ? d->items[index] : nullptr;
    // A click on an item with a submenu opens the submenu and keeps the
    // chain open, so that the pointer can go on into it without a button held.
    if (under && under->submenu) {
        SetCurrent(menu, index);
        OpenSubmenu(under);
        return;
    }
    WkMenuItem* current = Current(d);
    if (current && current->submenu && !Open(current->submenu)) {
        OpenSubmenu(current);
        return;
    }
    WkMenuItem* chosen = under && !under->disabled ? under : nullptr;
    // The callback runs last: it may destroy the menu and its window.
    CloseChain(menu);
    WkMenuActivateItem(chosen);
}

// The previous or next labelled item, each item looked at once at most.
void Step(WkObject* menu, int direction) {
    WkMenuData* d = WkMenuRecord(menu);
    int index = d->current;
    for (int n = 0; n < d->count; ++n) {
        index = (index + direction + d->count) % d->count;
        if (d->items[index]->label) {
            SetCurrent(menu, index);
            return;
        }
    }
}

void Key(WkObject* menu, WkMessage* m) {
    WkMenuData* d = WkMenuRecord(menu);
    switch (WkKeyCode(m)) {
    case WK_KEY_ESC:
        // One level: the deepest open menu, the popup root itself last.
        if (WkMenuGetPopupRoot(menu)) WkMenuPopDown(menu);
        return;
    case WK_KEY_ENTER: {
        WkMenuItem* current = Current(d);
        if (!current) return;
        CloseChain(menu);
        if (!current->disabled) WkMenuActivateItem(current);
        return;
    }
    case WK_KEY_UP: Step(menu, -1); return;
    case WK_KEY_DOWN: Step(menu, 1); return;
    case WK_KEY_LEFT: WkMenuPopDown(menu); return;
    case WK_KEY_RIGHT: OpenSubmenu(Current(d)); return;
    default: return;
    }
}

void ShowAt(WkObject* menu, int x, int y) {
    WkObject* shell = ShellOf(menu);
    WkMenuData* d = WkMenuRecord(menu);
    if (Open(menu)) return;
    d->current = 0;
    // The window takes the menu's present size at each opening.
    WkShellRealizeAt(shell, std::max(x, 0), y);
}

} // namespace

void WkMenuSetCurrent(WkObject* menu, int index) {
    if (WkIsMenu(menu)) SetCurrent(menu, index);
}

WkObject* WkMenuDeepest(WkObject* menu) {
    while (WkIsMenu(menu)) {
        WkMenuItem* current = Current(WkMenuRecord(menu));
        if (!current || !Open(current->submenu)) break;
        menu = current->submenu;
    }
    return menu;
}

WkObject* WkMenuHitTest(WkObject* menu, int screenX, int screenY) {
    WkObject* chain[64];
    int n = 0;
    for (WkObject* m = menu; Open(m) && n < 64;) {
        chain[n++] = m;
        WkMenuItem* current = Current(WkMenuRecord(m));
        m = current ? current->submenu : nullptr;
    }
    for (int i = n - 1; i >= 0; --i) {
        int x, y;
        ScreenOrigin(chain[i], &x, &y);
        if (screenX >= x && screenY >= y && screenX < x + chain[i]->width && screenY < y + chain[i]->height)
            return chain[i];
    }
    return nullptr;
}

int WkMenuForward(WkObject* menu, WkMessage* message) {
    int x, y;
    ScreenOrigin(menu, &x, &y);
    WkMessage copy = *message;
    WkSetPointerPosition(&copy, WkPointerScreenX(&copy) - x, WkPointerScreenY(&copy) - y);
    return WkSendMessage(menu, &copy);
}

void WkMenuPopupAtOwner(WkObject* menu) {
    if (!WkIsMenu(menu)) return;
    WkMenuData* d = WkMenuRecord(menu);
    d->poppedUp = 0;
    WkObject* owner = d->owner;
    int x = 0, y = 0;
    if (WkIsMenuBar(owner)) {
        const int index = WkMenuBarIndexOf(owner, menu);
        if (index < 0 || !WkObjectGetShell(owner)) return;
        ScreenOrigin(owner, &x, &y);
        x += WkMenuBarRecord(owner)->titles[index].x;
        y += owner->height;
    } else if (WkIsMenu(owner)) {
        WkObject* parentShell = ShellOf(owner);
        int px, py;
        ScreenOrigin(owner, &px, &py);
        x = parentShell->x + parentShell->width;
        const WkMenuItem* current = Current(WkMenuRecord(owner));
        y = py + (current ? current->offset : 0);
    } else {
        return;
    }
    ShowAt(menu, x, y);
    if (d->count > 0 && d->callback) CallMenuCallback(menu, Current(d));
}

void WkMenuPopup(WkObject* menu, int x, int y) {
    if (!WkIsMenu(menu)) return;
    WkMenuData* d = WkMenuRecord(menu);
    ShowAt(menu, x, y);
    while (WkGetGrab()) WkPopGrab(nullptr);
    WkPushGrab(menu);
    d->poppedUp = 1;
    if (d->count > 0 && d->callback) CallMenuCallback(menu, Current(d));
}

void WkMenuPopDown(WkObject* menu) {
    if (!WkIsMenu(menu)) return;
    WkMenuData* d = WkMenuRecord(menu);
    if (WkMenuItem* current = Current(d))
        if (current->submenu) WkMenuPopDown(current->submenu);
    if (WkGetGrab() == menu) WkPopGrab(menu);
    if (!Open(menu)) return;
    WkShellHide(ShellOf(menu));
    CallMenuCallback(menu, nullptr);
}

int WkMenuHandler(WkObject* menu, WkMessage* message) {
    WkMenuData* d = WkMenuRecord(menu);
    switch (message->type) {
    case WK_MSG_KEY: Key(WkMenuDeepest(menu), message); return 1;
    case WK_MSG_PRESS: Pointer(menu, message); return 1;
    case WK_MSG_MOTION:
    case WK_MSG_ENTER:
    case WK_MSG_LEAVE:
        // The grab turns motions into enter and leave at the holder's edge.
        if (WkPointerState(message) & kLeftHeld) Pointer(menu, message);
        else Hover(menu, message);
        return 1;
    case WK_MSG_RELEASE: Release(menu, message); return 1;
    case WK_MSG_EXPOSE:
        if (d->count > 0) Draw(menu);
        return 1;
    case WK_MSG_DESTROY: WkMenuFreeItems(menu); return 1;
    case WK_MSG_QUERY_SIZE: QuerySize(menu); return 1;
    case WK_MSG_RESIZE:
        menu->width = WkNewWidth(message);
        menu->height = WkNewHeight(message);
        return 1;
    case WK_MSG_COLORS:
        // A menu with an owner gets its pair from the owner.
        if (!d->owner) {
            const WkColor background = WkHighlightColor(menu->background, menu->foreground);
            WkMenuSetHighlightColors(menu, background, menu->foreground);
            WkFreeColor(background);
        }
        return 1;
    case WK_MSG_POP_DOWN: WkMenuPopDown(menu); return 1;
    default: return 0;
    }
}
