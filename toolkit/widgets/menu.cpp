// Menus: creation, items, mnemonics, accelerators, choosing, setters and
// the labels in the settings. Input, drawing and opening are in
// menu_input.cpp.
#include "toolkit/widgets/menu.h"

#include "toolkit/core/colors.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/mnemonics.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_config.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/object_primitives.h"
#include "toolkit/core/settings.h"
#include "toolkit/core/shell.h"
#include "toolkit/widgets/button_core.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/menu_bar.h"

#include <cstring>
#include <string>

namespace {

bool IsLetterOrDigit(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }
char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }

WkMenuData Template() {
    WkMenuData t{};
    t.margin = 3;
    t.padding = 2;
    return t;
}

// Takes over the two references, giving back the ones held before.
void SetHighlight(WkMenuData* d, WkColor background, WkColor text) {
    WkFreeColor(d->highlightBackground);
    WkFreeColor(d->highlightText);
    d->highlightBackground = background;
    d->highlightText = text;
}

int IndexOf(WkMenuData* d, const WkMenuItem* item) {
    for (int i = 0; i < d->count; ++i)
        if (d->items[i] == item) return i;
    return -1;
}

int FontHeight(WkObject* menu) { return WkFontHeight("A", menu->font); }

void Measure(WkObject* menu, WkMenuItem* item) {
    WkMenuData* d = WkMenuRecord(menu);
    const int h = FontHeight(menu);
    item->extent = std::int16_t(item->label ? h + d->padding : h / 2);
}

void Reoffset(WkMenuData* d) {
    int offset = 0;
    for (int i = 0; i < d->count; ++i) {
        d->items[i]->offset = WkClampPosition16(offset);
        offset += d->items[i]->extent;
    }
}

bool Taken(WkMenuData* d, int index, char mnemonic) {
    for (int i = 0; i < d->count; ++i)
        if (i != index && d->items[i]->mnemonic == mnemonic) return true;
    return false;
}

void AssignMnemonic(WkObject* menu, int index, int marked) {
    WkMenuData* d = WkMenuRecord(menu);
    WkMenuItem* item = d->items[index];
    item->mnemonic = 0;
    item->mnemonicPosition = 0;
    if (!item->label) return;
    if (marked >= 0) {
        item->mnemonic = Upper(item->label[marked]);
        item->mnemonicPosition = std::uint8_t(marked);
        for (int i = 0; i < d->count; ++i)
            if (i != index && d->items[i]->mnemonic == item->mnemonic) AssignMnemonic(menu, i, -1);
        return;
    }
    for (int k = 0; item->label[k] && k < 256; ++k) {
        const char c = item->label[k];
        if (IsLetterOrDigit(static_cast<unsigned char>(c)) && !Taken(d, index, Upper(c))) {
            item->mnemonic = Upper(c);
            item->mnemonicPosition = std::uint8_t(k);
            return;
        }
    }
}

// The label without markers; returns the marked position or -1.
int SetLabelText(WkMenuItem* item, const char* label) {
    WkFree(item->label);
    item->label = nullptr;
    if (!label) return -1;
    item->label = static_cast<char*>(WkMalloc(std::strlen(label) + 1));
    return WkParseMnemonic(item->label, label);
}

WkMenuItem* Add(WkObject* menu, const char* label, int kind, WkMenuItemCallback callback, WkMenuCallback menuCallback,
                void* userData) {
    if (!WkIsMenu(menu)) return nullptr;
    WkMenuData* d = WkMenuRecord(menu);
    if (d->count >= d->capacity) {
        d->capacity = std::int16_t(d->capacity + 4);
        d->items = static_cast<WkMenuItem**>(WkRealloc(d->items, sizeof(WkMenuItem*) * std::size_t(d->capacity)));
    }
    auto* item = static_cast<WkMenuItem*>(WkCalloc(1, sizeof(WkMenuItem)));
    item->menu = menu;
    item->identity = item;
    item->kind = kind;
    item->callback = callback;
    item->menuCallback = menuCallback;
    item->userData = userData;
    const int marked = kind == WK_MENU_SEPARATOR ? -1 : SetLabelText(item, label ? label : "");
    d->items[d->count++] = item;
    if (item->label && int(std::strlen(item->label)) > d->longestLabel) d->longestLabel = int(std::strlen(item->label));
    Measure(menu, item);
    Reoffset(d);
    AssignMnemonic(menu, d->count - 1, marked);
    return item;
}

void FreeItem(WkMenuItem* item) {
    if (item->accelerator)
        if (WkObject* bar = WkMenuGetOwner(item->menu)) WkShellRemoveMnemonic(bar, item->accelerator);
    // The submenu's destruction clears item->submenu through its owner.
    if (WkObject* submenu = item->submenu) WkObjectDestroy(WkObjectGetShell(submenu));
    WkFree(item->label);
    WkFree(item->keyText);
    WkFree(item);
}

// The text bit of the settings: a popup menu's labels in its own section,
// a bar's titles and items in the bar's.
int TextConfig(WkObject* object, int save) {
    if (WkIsMenuBar(object)) {
        save ? WkMenuBarSaveItems(object) : WkMenuBarLoadItems(object);
        return 1;
    }
    if (!WkIsMenu(object)) return 0;
    if (object->name) save ? WkMenuSaveItems(object, object->name, "") : WkMenuLoadItems(object, object->name, "");
    return 1;
}

void Uncheck(WkMenuItem* item) {
    item->checked = 0;
    if (item->callback) item->callback(item, 0, item->userData);
}

} // namespace

WkObject* WkCreateMenu(WkObject* owner) {
    WkMenuInstallTextConfig();
    WkObject* shell = WkCreateShell("", WK_SHELL_NO_ACTIVATE | WK_SHELL_BACKSTORE | WK_SHELL_POPUP);
    WkObject* form = WkShellRecord(shell)->mainForm;
    WkFormSetSpacing(form, 0);
    WkObject base = WkBaseTemplate(WK_CLASS_MENU);
    base.handler = WkMenuHandler;
    const WkMenuData record = Template();
    WkObject* menu = WkNewObject(base, &record, sizeof record);
    WkMenuData* d = WkMenuRecord(menu);
    d->owner = owner;
    if (owner) {
        menu->font = owner->font;
        if (WkImage* image = WkObjectGetBackgroundImage(owner))
            WkObjectSetBackgroundImage(shell, image, WkObjectGetBackgroundImageMode(owner));
        else
            WkObjectSetColors(shell, owner->background, owner->foreground);
    }
    WkInheritColors(form, menu);
    WkAddChild(form, menu);
    if (WkIsMenuBar(owner)) {
        WkMenuBarData* b = WkMenuBarRecord(owner);
        d->highlightBackground = WkAddColorRef(b->highlightBackground);
        d->highlightText = WkAddColorRef(b->highlightText);
    } else if (WkIsMenu(owner)) {
        WkMenuData* o = WkMenuRecord(owner);
        d->highlightBackground = WkAddColorRef(o->highlightBackground);
        d->highlightText = WkAddColorRef(o->highlightText);
    } else {
        d->highlightBackground = WkHighlightColor(menu->background, menu->foreground);
        d->highlightText = WkAddColorRef(menu->foreground);
    }
    return menu;
}

void WkMenuInstallTextConfig() { WkSetTextConfigHandler(TextConfig); }

WkObject* WkCreatePopupMenu(WkFontSlot font) {
    WkObject* menu = WkCreateMenu(nullptr);
    menu->font = font;
    return menu;
}

WkObject* WkCreateSubmenu(WkMenuItem* item) {
    if (!item) return nullptr;
    if (item->submenu) WkObjectDestroy(WkObjectGetShell(item->submenu));
    WkObject* submenu = WkCreateMenu(item->menu);
    item->submenu = submenu;
    return submenu;
}

WkMenuItem* WkMenuAddItem(WkObject* menu, const char* label, WkMenuItemCallback callback, void* userData) {
    return Add(menu, label, WK_MENU_PLAIN, callback, nullptr, userData);
}
WkMenuItem* WkMenuAddItemMenuCallback(WkObject* menu, const char* label, WkMenuCallback callback, void* userData) {
    return Add(menu, label, WK_MENU_PLAIN, nullptr, callback, userData);
}
WkMenuItem* WkMenuAddCheckItem(WkObject* menu, const char* label, WkMenuItemCallback callback, void* userData) {
    return Add(menu, label, WK_MENU_CHECK, callback, nullptr, userData);
}
WkMenuItem* WkMenuAddRadioItem(WkObject* menu, const char* label, WkMenuItemCallback callback, void* userData) {
    return Add(menu, label, WK_MENU_RADIO, callback, nullptr, userData);
}
WkMenuItem* WkMenuAddSeparator(WkObject* menu) { return Add(menu, nullptr, WK_MENU_SEPARATOR, nullptr, nullptr, nullptr); }

void WkMenuRemoveItem(WkMenuItem* item) {
    if (!item) return;
    WkObject* menu = item->menu;
    WkMenuData* d = WkMenuRecord(menu);
    const int index = IndexOf(d, item);
    if (index < 0) return;
    for (int i = index; i + 1 < d->count; ++i) d->items[i] = d->items[i + 1];
    --d->count;
    // The highlight stays on a real item.
    if (d->current >= d->count) d->current = d->count > 0 ? d->count - 1 : 0;
    Reoffset(d);
    FreeItem(item);
}

void WkMenuItemSetLabel(WkMenuItem* item, const char* label) {
    if (!item || item->kind == WK_MENU_SEPARATOR) return;
    WkMenuData* d = WkMenuRecord(item->menu);
    const int index = IndexOf(d, item);
    if (index < 0) return;
    const int marked = SetLabelText(item, label ? label : "");
    if (int(std::strlen(item->label)) > d->longestLabel) d->longestLabel = int(std::strlen(item->label));
    AssignMnemonic(item->menu, index, marked);
}

const char* WkMenuItemGetLabel(WkMenuItem* item) {
    if (!item || IndexOf(WkMenuRecord(item->menu), item) < 0) return nullptr;
    return item->label;
}

void WkMenuItemSetAccelerator(WkMenuItem* item, int key, const char* keyText) {
    if (!item) return;
    WkObject* bar = WkMenuGetOwner(item->menu);
    if (!bar) return;
    if (item->accelerator) WkShellRemoveMnemonic(bar, item->accelerator);
    item->accelerator = key;
    if (key) WkShellAddMnemonic(bar, key);
    WkFree(item->keyText);
    item->keyText = nullptr;
    if (key && keyText) {
        item->keyText = static_cast<char*>(WkMalloc(std::strlen(keyText) + 1));
        std::strcpy(item->keyText, keyText);
    }
}

void WkMenuItemEnable(WkMenuItem* item) {
    if (item) item->disabled = 0;
}
void WkMenuItemDisable(WkMenuItem* item) {
    if (item) item->disabled = 1;
}
int WkMenuItemSetChecked(WkMenuItem* item, int state) {
    if (!item) return 0;
    const int old = item->checked;
    item->checked = state ? 1 : 0;
    return old;
}
int WkMenuItemGetChecked(WkMenuItem* item) { return item ? item->checked : 0; }
int WkMenuItemToggleChecked(WkMenuItem* item) {
    if (!item) return 0;
    item->checked = !item->checked;
    return item->checked;
}
WkObject* WkMenuItemGetMenu(WkMenuItem* item) { return item ? item->menu : nullptr; }

void WkMenuSetCallback(WkObject* menu, WkMenuCallback callback, void* userData) {
    if (!WkIsMenu(menu)) return;
    WkMenuRecord(menu)->callback = callback;
    WkMenuRecord(menu)->userData = userData;
}

void WkMenuSetHighlightColors(WkObject* menu, WkColor background, WkColor text) {
    if (!WkIsMenu(menu)) return;
    WkMenuData* d = WkMenuRecord(menu);
    SetHighlight(d, WkAddColorRef(background), WkAddColorRef(text));
    for (int i = 0; i < d->count; ++i)
        if (d->items[i]->submenu) WkMenuSetHighlightColors(d->items[i]->submenu, background, text);
}

void WkMenuSetHighlightTextColor(WkObject* menu, WkColor text) {
    if (!WkIsMenu(menu)) return;
    const WkColor background = WkHighlightColor(menu->background, text);
    WkMenuSetHighlightColors(menu, background, text);
    WkFreeColor(background);
}

void WkMenuActivateItem(WkMenuItem* item) {
    if (!item || item->disabled || item->kind == WK_MENU_SEPARATOR) return;
    WkMenuData* d = WkMenuRecord(item->menu);
    if (item->kind == WK_MENU_CHECK) item->checked = !item->checked;
    if (item->kind == WK_MENU_RADIO) {
        if (item->checked) return;
        const int index = IndexOf(d, item);
        for (int i = index - 1; i >= 0 && d->items[i]->kind != WK_MENU_SEPARATOR; --i)
            if (d->items[i]->kind == WK_MENU_RADIO && d->items[i]->checked) Uncheck(d->items[i]);
        for (int i = index + 1; i < d->count && d->items[i]->kind != WK_MENU_SEPARATOR; ++i)
            if (d->items[i]->kind == WK_MENU_RADIO && d->items[i]->checked) Uncheck(d->items[i]);
        item->checked = 1;
    }
    if (item->menuCallback)
        item->menuCallback(item->menu, item, item->userData);
    else if (item->callback)
        item->callback(item, item->checked, item->userData);
}

WkObject* WkMenuGetParentMenu(WkObject* menu) {
    if (!WkIsMenu(menu)) return nullptr;
    WkObject* owner = WkMenuRecord(menu)->owner;
    return WkIsMenu(owner) ? owner : nullptr;
}

WkObject* WkMenuGetOwner(WkObject* menu) {
    while (WkIsMenu(menu)) menu = WkMenuRecord(menu)->owner;
    return menu;
}

WkObject* WkMenuGetPopupRoot(WkObject* menu) {
    for (; WkIsMenu(menu); menu = WkMenuRecord(menu)->owner)
        if (WkMenuRecord(menu)->poppedUp) return menu;
    return nullptr;
}

WkMenuItem* WkMenuFindAccelerator(WkObject* menu, int key) {
    if (!WkIsMenu(menu) || !key) return nullptr;
    WkMenuData* d = WkMenuRecord(menu);
    for (int i = 0; i < d->count; ++i) {
        WkMenuItem* item = d->items[i];
        if (!item->disabled && item->accelerator == key) return item;
        if (WkMenuItem* found = WkMenuFindAccelerator(item->submenu, key)) return found;
    }
    return nullptr;
}

void WkMenuSettingsKey(char* destination, std::size_t size, const char* prefix, const char* label) {
    std::string key = prefix ? prefix : "";
    for (const char* c = label; c && *c; ++c)
        if (!std::strchr(". =[]", *c)) key += *c;
    std::snprintf(destination, size, "%s", key.c_str());
}

void WkMenuMarkedLabel(char* destination, std::size_t size, const char* label, int mnemonicPosition) {
    std::string marked;
    for (int i = 0; label && label[i]; ++i) {
        if (i == mnemonicPosition) marked += '&';
        if (label[i] == '&') marked += '&';
        marked += label[i];
    }
    std::snprintf(destination, size, "%s", marked.c_str());
}

void WkMenuSaveItems(WkObject* menu, const char* section, const char* prefix) {
    if (!WkIsMenu(menu)) return;
    WkMenuData* d = WkMenuRecord(menu);
    for (int i = 0; i < d->count; ++i) {
        WkMenuItem* item = d->items[i];
        if (!item->label) continue;
        char key[512], value[512];
        WkMenuSettingsKey(key, sizeof key, prefix, item->label);
        WkMenuMarkedLabel(value, sizeof value, item->label, item->mnemonic ? item->mnemonicPosition : -1);
        WkWriteSetting(section, key, value);
        if (item->submenu) {
            const std::string sub = std::string(key) + ".";
            WkMenuSaveItems(item->submenu, section, sub.c_str());
        }
    }
}

void WkMenuLoadItems(WkObject* menu, const char* section, const char* prefix) {
    if (!WkIsMenu(menu)) return;
    WkMenuData* d = WkMenuRecord(menu);
    for (int i = 0; i < d->count; ++i) {
        WkMenuItem* item = d->items[i];
        if (!item->label) continue;
        char key[512];
        WkMenuSettingsKey(key, sizeof key, prefix, item->label);
        if (const char* value = WkReadSetting(section, key)) {
            const std::string copy = value;
            WkMenuItemSetLabel(item, copy.c_str());
        }
        if (item->submenu) {
            const std::string sub = std::string(key) + ".";
            WkMenuLoadItems(item->submenu, section, sub.c_str());
        }
    }
    WkResize(menu, -1, -1);
}

// The destroy work of the class handler.
void WkMenuFreeItems(WkObject* menu) {
    WkMenuData* d = WkMenuRecord(menu);
    // The items leave the menu before they go: a submenu's destruction
    // looks through its parent's items.
    WkMenuItem** items = d->items;
    const int count = d->count;
    d->items = nullptr;
    d->count = d->capacity = 0;
    for (int i = 0; i < count; ++i) FreeItem(items[i]);
    WkFree(items);
    WkFreeColor(d->highlightBackground);
    WkFreeColor(d->highlightText);
    // The owner forgets this menu, so that destroying the owner later does
    // not destroy it again.
    if (WkIsMenu(d->owner)) {
        WkMenuData* o = WkMenuRecord(d->owner);
        for (int i = 0; i < o->count; ++i)
            if (o->items[i]->submenu == menu) o->items[i]->submenu = nullptr;
    } else if (WkIsMenuBar(d->owner)) {
        WkMenuBarData* b = WkMenuBarRecord(d->owner);
        for (int i = 0; i < b->count; ++i)
            if (b->titles[i].menu == menu) b->titles[i].menu = nullptr;
    }
}
