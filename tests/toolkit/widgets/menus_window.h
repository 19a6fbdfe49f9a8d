// The menu bar of the screenshot and of the X server comparison: File holds
// every item kind, key texts, a disabled item and a submenu; Edit a few
// plain items.
#pragma once

#include "toolkit/core/shell.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/menu.h"
#include "toolkit/widgets/menu_bar.h"

#include <vector>

namespace wt {

// Each choice records the item and the state it was called with.
struct Choice {
    WkMenuItem* item;
    int state;
};
inline std::vector<Choice> chosen;
inline void Chose(WkMenuItem* item, int state, void*) { chosen.push_back({item, state}); }

struct MenusWindow {
    WkObject *shell, *bar, *file, *edit, *submenu;
    WkMenuItem *open, *grid, *swiss, *robin, *print, *exportItem, *html, *exit;
};

inline MenusWindow MakeMenusWindow() {
    MenusWindow w{};
    w.shell = WkCreateShell("Menus", 0);
    w.bar = WkCreateMenuBar(w.shell, 0);
    WkCreateLabel(w.shell, "The window's body, below its menu bar.\n\n\n\n\n\n", 0);
    w.file = WkMenuBarAddMenu(w.bar, "&File");
    w.open = WkMenuAddItem(w.file, "Open", Chose, nullptr);
    WkMenuItemSetAccelerator(w.open, 0x180F, "Ctrl+O");
    w.grid = WkMenuAddCheckItem(w.file, "Show grid", Chose, nullptr);
    WkMenuItemSetChecked(w.grid, 1);
    WkMenuAddSeparator(w.file);
    w.swiss = WkMenuAddRadioItem(w.file, "Swiss", Chose, nullptr);
    WkMenuItemSetChecked(w.swiss, 1);
    w.robin = WkMenuAddRadioItem(w.file, "Round robin", Chose, nullptr);
    WkMenuAddSeparator(w.file);
    w.print = WkMenuAddItem(w.file, "Print", Chose, nullptr);
    WkMenuItemSetAccelerator(w.print, 0x1910, "Ctrl+P");
    WkMenuItemDisable(w.print);
    w.exportItem = WkMenuAddItem(w.file, "Export", Chose, nullptr);
    w.submenu = WkCreateSubmenu(w.exportItem);
    w.html = WkMenuAddItem(w.submenu, "HTML", Chose, nullptr);
    WkMenuItemSetAccelerator(w.html, 0x3F00, "F5");
    WkMenuAddItem(w.submenu, "Plain text", Chose, nullptr);
    w.exit = WkMenuAddItem(w.file, "E&xit", Chose, nullptr);
    w.edit = WkMenuBarAddMenu(w.bar, "&Edit");
    WkMenuAddItem(w.edit, "Copy", Chose, nullptr);
    WkMenuAddItem(w.edit, "Paste", Chose, nullptr);
    WkMenuBarSetKey(w.bar, 0x4400);
    WkShellRealize(w.shell);
    return w;
}

// F10 opens File; the highlight goes to Export and its submenu opens.
inline void OpenFileAndExport(const MenusWindow& w) {
    WkSendSimpleMessage(w.bar, WK_MSG_KEY, 0, 0, 0x4400);
    WkMenuSetCurrent(w.file, 7);
    WkMenuPopupAtOwner(w.submenu);
}

} // namespace wt
