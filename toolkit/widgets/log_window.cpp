#include "toolkit/widgets/log_window.h"

#include "toolkit/core/draw.h"
#include "toolkit/core/log.h"
#include "toolkit/core/native_windows.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/push_button.h"
#include "toolkit/widgets/scroll_bar.h"

#include <cstdlib>
#include <string>

namespace {

constexpr WkFontSlot kLineFont = 1;
constexpr WkFontSlot kLabelFont = 4;
constexpr WkFontSlot kFieldFont = 0;
constexpr WkFontSlot kButtonFont = 7;

struct Manager {
    WkObject* shell = nullptr;
    WkObject* rows = nullptr;
    WkObject* columns = nullptr;
    WkObject* level = nullptr;
};

WkObject* window = nullptr;
WkObject* list = nullptr;
Manager manager;

// The last rows are in view: new lines arrive there.
void ScrollToEnd() {
    const WkLogSettings& s = WkGetLogSettings();
    WkObject* bar = WkListGetVerticalScrollBar(list);
    if (!bar) return;
    WkScrollBarSetView(bar, s.visibleRows);
    WkScrollBarSetValue(bar, s.lines - s.visibleRows);
}

void Make() {
    WkSetGlobalKeyHook(WkLogKeyHook);
    const WkLogSettings& s = WkGetLogSettings();
    window = WkCreateShell("Log", WK_SHELL_CLOSE_HIDES);
    list = WkCreateList(window, kLineFont, s.columns, s.visibleRows, s.visibleColumns);
    WkItemList* lines = WkLogLines();
    for (WkItemNode* node = lines ? lines->first : nullptr; node; node = node->next)
        WkListAddItem(list, node->text, 0);
    ScrollToEnd();
    WkShellFitToForm(window);
}

bool Shown(WkObject* shell) { return shell->state & WK_STATE_SHOWN; }

// A hidden list is not shown again until its window is, so only a list in
// view is hidden for the change.
bool listHidden = false;

void BeginUpdate() {
    listHidden = list && Shown(window);
    if (listHidden) WkListHide(list);
}

// The list follows the queue: the oldest item out, the newest in.
void EndUpdate() {
    if (!list) return;
    WkListDeleteItem(list, 0);
    WkItemList* lines = WkLogLines();
    WkListAddItem(list, lines && lines->last ? lines->last->text : "", 0);
    // Taking the oldest out pulled the view up by a row.
    ScrollToEnd();
    if (listHidden) WkListShow(list);
    listHidden = false;
}

void ShowAtBottomLeft() { WkShellRealizeAt(window, 0, -1); }

int Number(WkObject* field) { return int(std::strtol(WkEditGetText(field), nullptr, 10)); }

// The dialog goes once its button's press is over.
void CloseManager() {
    WkObject* shell = manager.shell;
    manager = Manager{};
    WkShellHide(shell);
    WkAddTimeout(0, [](int, void* shell) { WkShellDestroy(static_cast<WkObject*>(shell)); }, shell);
}

void Abort(WkObject*, void*, void*) { CloseManager(); }

void Apply(WkObject*, void*, void*) {
    const int rows = Number(manager.rows), columns = Number(manager.columns), level = Number(manager.level);
    CloseManager();
    const bool made = window != nullptr;
    WkApplyLogManager(rows, columns, level);
    if (!made) return;
    const bool shown = Shown(window);
    if (shown) WkShellHide(window);
    const WkLogSettings& s = WkGetLogSettings();
    WkListData* record = WkListRecord(list);
    record->visibleRows = s.visibleRows;
    record->visibleColumns = s.visibleColumns;
    ScrollToEnd();
    WkShellFitToForm(window);
    if (shown) ShowAtBottomLeft();
}

WkObject* Field(WkObject* labels, WkObject* fields, const char* caption, int value, int length) {
    WkLabelSetAlignment(WkCreateLabel(labels, caption, kLabelFont), 1);
    return WkCreateEdit(fields, std::to_string(value).c_str(), length, kFieldFont);
}

} // namespace

void WkInstallLogWindow() {
    WkLogWindowHooks hooks;
    hooks.make = Make;
    hooks.beginUpdate = BeginUpdate;
    hooks.endUpdate = EndUpdate;
    WkSetLogWindowHooks(&hooks);
    WkSetGlobalKeyHook(WkLogKeyHook);
    // Lines kept before the install are shown too.
    if (WkLogLines() && !window) Make();
}

void WkLogKeyHook(int keyCode) {
    switch (keyCode) {
    case 0x5E00:
    case 0x7A00:
        if (!window) WkMakeLogWindow();
        else if (Shown(window)) WkShellHide(window);
        else ShowAtBottomLeft();
        return;
    case 0x5F00:
    case 0x7B00:
        WkLogManagerDialog();
        return;
    }
}

void WkLogManagerDialog() {
    if (manager.shell) {
        WkBeep();
        return;
    }
    const WkLogSettings& s = WkGetLogSettings();
    manager.shell = WkCreateShell("Log Manager", WK_SHELL_DIALOG | WK_SHELL_CLOSE_BEEPS);
    WkObject* columns = WkCreateHorizontalForm(manager.shell);
    WkObject* labels = WkCreateVerticalForm(columns);
    WkObject* fields = WkCreateVerticalForm(columns);
    manager.rows = Field(labels, fields, "Visible rows:", s.visibleRows, 4);
    manager.columns = Field(labels, fields, "Visible columns:", s.visibleColumns, 4);
    manager.level = Field(labels, fields, "Log level:", s.threshold, 2);
    WkObject* buttons = WkCreateHorizontalForm(manager.shell);
    WkButtonSetCallback(WkCreateButton(buttons, "Ok", kButtonFont), Apply, nullptr);
    WkButtonSetCallback(WkCreateButton(buttons, "Abort", kButtonFont), Abort, nullptr);
    WkShellRealize(manager.shell);
}

void WkDropLogWindow() {
    if (manager.shell) WkShellDestroy(manager.shell);
    if (window) WkShellDestroy(window);
    manager = Manager{};
    window = list = nullptr;
    WkDropLogLines();
}

WkObject* WkLogWindow() { return window; }
WkObject* WkLogWindowList() { return list; }
WkObject* WkLogManager() { return manager.shell; }
