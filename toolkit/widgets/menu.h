// Menus (class code WK_CLASS_MENU): a vertical list of items shown in a
// frameless popup window of its own, as a menu bar's pull-down, as the
// submenu of another menu's item, or as a free-standing popup menu. Items
// are plain commands, check items, radio items and separators, each with a
// mnemonic letter, an accelerator and its key text, a submenu and a
// callback. An open menu follows the pointer and the keys along the chain of
// its open submenus; labels can be saved to and loaded from the settings.
//
// A menu owns its class record (WkMenuData), its items (each allocated on
// its own, so item handles stay valid while others come and go), their
// labels and key texts, the windows of their submenus and its two highlight
// colour references. The menu itself lives in its popup window: destroying
// that window destroys the menu.
#pragma once

#include "toolkit/core/fonts.h"
#include "toolkit/core/object.h"

#include <cstdint>

struct WkMenuItem;

// fn(item, checked state 0 or 1, user data).
using WkMenuItemCallback = void (*)(WkMenuItem* item, int checked, void* userData);
// fn(menu, item, user data): the menu-style item callback, and the menu
// callback (item null when the menu pops down).
using WkMenuCallback = void (*)(WkObject* menu, WkMenuItem* item, void* userData);

inline constexpr int WK_MENU_PLAIN = 0;
inline constexpr int WK_MENU_CHECK = 1;
inline constexpr int WK_MENU_RADIO = 2;
inline constexpr int WK_MENU_SEPARATOR = 3;

struct WkMenuItem {
    char* label;   // without the '&' markers; null for a separator
    char* keyText; // the accelerator's text, drawn right-aligned; null none
    WkObject* menu;
    WkObject* submenu;
    WkMenuItemCallback callback;
    WkMenuCallback menuCallback; // called instead of the item callback when set
    void* userData;
    WkMenuItem* identity; // the item itself: what the menu callback receives
    int accelerator;      // key code, 0 none
    int kind;
    std::int16_t offset; // of the item's top from the first item's top
    std::int16_t extent; // the item's height
    char mnemonic;       // upper case; 0 none
    std::uint8_t mnemonicPosition;
    std::uint8_t disabled;
    std::uint8_t checked;
};

struct WkMenuData {
    std::int16_t margin;  // left and right of the item texts
    std::int16_t padding; // added to the font height of each labelled item
    std::int16_t count, capacity;
    int longestLabel; // in characters
    int keyTextWidth; // of the widest key text, from the size query
    int current;
    WkColor highlightBackground, highlightText;
    WkMenuItem** items;
    WkObject* owner; // a pull-down's bar, a submenu's parent menu, null for a popup menu
    WkMenuCallback callback;
    void* userData;
    std::int16_t poppedUp; // the root of a popup chain
};

inline WkMenuData* WkMenuRecord(WkObject* menu) { return static_cast<WkMenuData*>(menu->classRecord); }
inline bool WkIsMenu(const WkObject* object) { return object && object->classCode == WK_CLASS_MENU; }

// With an owner the menu takes its font, colours and highlight pair.
WkObject* WkCreateMenu(WkObject* owner);
WkObject* WkCreatePopupMenu(WkFontSlot font);
// The item's new submenu.
WkObject* WkCreateSubmenu(WkMenuItem* item);
int WkMenuHandler(WkObject* menu, WkMessage* message);

WkMenuItem* WkMenuAddItem(WkObject* menu, const char* label, WkMenuItemCallback callback, void* userData);
WkMenuItem* WkMenuAddItemMenuCallback(WkObject* menu, const char* label, WkMenuCallback callback, void* userData);
WkMenuItem* WkMenuAddCheckItem(WkObject* menu, const char* label, WkMenuItemCallback callback, void* userData);
WkMenuItem* WkMenuAddRadioItem(WkObject* menu, const char* label, WkMenuItemCallback callback, void* userData);
WkMenuItem* WkMenuAddSeparator(WkObject* menu);
void WkMenuRemoveItem(WkMenuItem* item);
void WkMenuItemSetLabel(WkMenuItem* item, const char* label);
// Null when the item is not found in its menu.
const char* WkMenuItemGetLabel(WkMenuItem* item);
// The bar title or the item label the menu hangs under; null for none.
const char* WkMenuGetTitle(WkObject* menu);
// Only items below a menu bar take one; the key is registered for the bar.
void WkMenuItemSetAccelerator(WkMenuItem* item, int key, const char* keyText);
void WkMenuItemEnable(WkMenuItem* item);
void WkMenuItemDisable(WkMenuItem* item);
int WkMenuItemSetChecked(WkMenuItem* item, int state); // returns the old state
int WkMenuItemGetChecked(WkMenuItem* item);
int WkMenuItemToggleChecked(WkMenuItem* item); // returns the new state
WkObject* WkMenuItemGetMenu(WkMenuItem* item);
void WkMenuSetCallback(WkObject* menu, WkMenuCallback callback, void* userData);
// Applied to the submenus of the items too.
void WkMenuSetHighlightColors(WkObject* menu, WkColor background, WkColor text);
void WkMenuSetHighlightTextColor(WkObject* menu, WkColor text);
// Chooses the item as a click does: flips a check item, checks a radio
// item and unchecks the rest of its group, then calls its callback.
// Disabled items and a checked radio item do nothing.
void WkMenuActivateItem(WkMenuItem* item);

// A popup menu at a screen position, holding the grab.
void WkMenuPopup(WkObject* menu, int x, int y);
// A pull-down below its bar's title, a submenu beside its parent's item.
void WkMenuPopupAtOwner(WkObject* menu);
void WkMenuPopDown(WkObject* menu);
WkObject* WkMenuGetOwner(WkObject* menu);
WkObject* WkMenuGetPopupRoot(WkObject* menu);
WkObject* WkMenuGetParentMenu(WkObject* menu);
// Moves the highlight (the old item's open submenu closes first) and
// tells the menu callback.
void WkMenuSetCurrent(WkObject* menu, int index);
// The deepest menu open below this one (following the current items'
// shown submenus); the menu itself when none is open.
WkObject* WkMenuDeepest(WkObject* menu);
// The deepest open menu of the chain from menu down whose window holds the
// screen point, or null.
WkObject* WkMenuHitTest(WkObject* menu, int screenX, int screenY);
// Hands a pointer message (screen point in c, d) to the menu, made
// relative to it.
int WkMenuForward(WkObject* menu, WkMessage* message);
void WkMenuDetach(WkObject* menu);
// The labels under keys prefix + label without '.', ' ', '=', '[' and ']'.
void WkMenuSaveItems(WkObject* menu, const char* section, const char* prefix);
void WkMenuLoadItems(WkObject* menu, const char* section, const char* prefix);
// The item of the menu or of its submenus whose accelerator is the key
// and which is enabled, or null.
WkMenuItem* WkMenuFindAccelerator(WkObject* menu, int key);

// The settings key of a label: prefix, then the label without the
// characters a key cannot hold.
void WkMenuSettingsKey(char* destination, std::size_t size, const char* prefix, const char* label);
// The label with its markers: '&' before the mnemonic, "&&" for a '&'.
void WkMenuMarkedLabel(char* destination, std::size_t size, const char* label, int mnemonicPosition);
// Makes WkObjectConfigure and WkObjectSaveConfig load and save the labels
// of menus and menu bars with the text bit (done by the constructors).
void WkMenuInstallTextConfig();
// The destroy work: the items, their submenus, the colours, and the
// owner's reference to this menu.
void WkMenuFreeItems(WkObject* menu);
