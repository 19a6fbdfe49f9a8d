#include "tourman/pages/players/database_page.h"

#include "toolkit/core/draw.h"
#include "toolkit/core/letters.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/file_browser.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/push_button.h"
#include "toolkit/widgets/toggle.h"
#include "tourman/dialogs/column_filter.h"
#include "tourman/pages/players/player_database.h"
#include "tourman/pages/players/player_readers.h"
#include "tournament/files/line_reader.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/name_order.h"
#include "tournament/round_state.h"
#include "tournament/settings.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

DatabasePageWidgets DatabasePage;

namespace {

constexpr int kFontFixedSmall = 1, kFontHelvSmall = 4, kFontTimesSmall = 6;
constexpr int kEtchedIn = 3;
constexpr const char* kListEverything = "*****";
constexpr const char* kClosedRegistrationText =
    "I can't import players when the registration are closed.\nUse Add Late Comer instead.";

void Alert(const std::string& text) {
    ShowAlert(text, MessageText(MsgClose));
}

// The browser's title and the input column's colour, by kind.
struct DatabaseKind {
    int title;
    int red, green, blue;
};
constexpr DatabaseKind kKinds[] = {
    {0, 0, 0, 0},
    {MsgChooseQuonFile, 180, 180, 255},
    {MsgChooseFideList, 255, 180, 180},
    {MsgChooseNationalList, 180, 255, 180},
    {MsgChooseFsiList, 180, 180, 255},
};

WkObject* PageButton(WkObject* parent, MessageNumber message, WkButtonCallback callback) {
    WkObject* button = WkCreateButton(parent, MessageText(message).c_str(), kFontTimesSmall);
    WkObjectSetShadow(button, kEtchedIn, 2, 1);
    WkObjectSetWidth(button, 100);
    WkButtonSetCallback(button, callback, nullptr);
    return button;
}

} // namespace

void BuildDatabasePage(WkObject* parent, void*) {
    DatabasePageWidgets& d = DatabasePage;
    PlayerDatabasePath.clear();
    DatabaseFree = 1;
    ImportMode = ImportNone;

    WkObject* row = WkCreateHorizontalForm(parent);
    WkObjectSetShadow(row, 0, 0, 0);
    WkObjectSetTransparent(row);
    d.list = WkCreateList(row, kFontFixedSmall, DatabaseLineLength, 4, 70);
    WkObjectSetTransparent(d.list);
    WkListSetCompareFunction(d.list, CompareNames);
    WkListSetActivateCallback(d.list, OnDatabaseLineActivated, nullptr);

    d.input = WkCreateVerticalForm(row);
    WkObjectSetShadow(d.input, 0, 0, 0);
    WkObjectSetTransparency(d.input, 100);
    d.search = WkCreateEdit(d.input, "", 12, kFontFixedSmall);
    WkEditSetFilter(d.search, WK_FILTER_LETTERS | WK_FILTER_UPPER, " '1234567890-*,");
    WkEditSetActivateCallback(d.search, OnDatabaseSearchEnter, nullptr);
    d.importButton = PageButton(d.input, MsgImport, OnImportButton);
    d.closeButton = PageButton(d.input, MsgClose, OnCloseDatabase);
    d.sortToggle = WkCreateToggle(d.input, MessageText(MsgSorted).c_str(), kFontHelvSmall);
    WkToggleSetOn(d.sortToggle);
    WkToggleSetCallback(d.sortToggle, OnSortToggle, nullptr);
    WkObjectDisable(d.input);
}

void ChoosePlayerDatabase(WkMenuItem*, int, void* data) {
    const int kind = int(reinterpret_cast<std::intptr_t>(data));
    if (kind < ImportQuon || kind > ImportFsi) return;
    if (!DatabaseFree) {
        Alert(MessageText(MsgDatabaseAlreadyOpen));
        return;
    }
    if (kind == ImportFide) LoadColumnFilter(nullptr, nullptr, reinterpret_cast<void*>(1));
    std::string file, folder;
    if (!WkFileBrowser(MessageText(kKinds[kind].title).c_str(), "*.*", file, folder, 1)) return;
    // Only a choice that goes ahead changes the kind, so an open database
    // stays usable after a refusal or a cancel.
    PlayerDatabasePath = folder + file;
    ImportMode = kind;
    if (WkObject* input = DatabasePage.input) {
        WkObjectEnable(input);
        WkObjectSetBackgroundRGB(input, kKinds[kind].red, kKinds[kind].green, kKinds[kind].blue);
    }
    TournamentChanged();
    DatabaseFree = 0;
}

void SearchPlayerDatabase(const char* pattern) {
    WkObject* list = DatabasePage.list;
    LineReader reader(PlayerDatabasePath);
    if (!reader.ok()) {
        Alert(MessageText(MsgCannotOpenDatabase));
        return;
    }
    WkListClear(list);
    std::string wanted = pattern ? pattern : "";
    WkUpperText(wanted.data());
    const bool everything = wanted == kListEverything;
    // A line is matched whole, however long, and listed once, as its start:
    // no tail of a long line can turn up as a player of its own.
    std::string line;
    int listed = 0;
    while (reader.next(line)) {
        WkUpperText(line.data());
        if (!everything && line.find(wanted) == std::string::npos) continue;
        const bool cut = line.size() > std::size_t(DatabaseLineLength);
        WkListAddItem(list, line.substr(0, DatabaseLineLength).c_str(), cut ? CutDatabaseLine : 0);
        ++listed;
    }
    if (listed == 0) Alert(MessageText(MsgNoPlayerFound));
}

void OnDatabaseSearchEnter(WkObject*, char* text, void*) {
    if (ImportMode == ImportNone) {
        Alert(MessageText(MsgChooseDatabaseFirst));
        return;
    }
    if (text && std::strlen(text) > 3) SearchPlayerDatabase(text);
    else WkBeep();
    WkObjectSetFocus(DatabasePage.list);
}

void OnDatabaseLineActivated(WkObject* list, WkListItem* item, void*, std::intptr_t) {
    if (ClosedRegistration != 0) {
        Alert(kClosedRegistrationText);
        return;
    }
    switch (ImportMode) {
    case ImportQuon: ImportSemicolonLine(list, item, nullptr); break;
    case ImportFide:
    case ImportNational: ImportFixedWidthLine(list, item, nullptr); break;
    case ImportFsi: ImportFsiLine(list, item, nullptr); break;
    default: break;
    }
}

void OnImportButton(WkObject*, void*, void*) {
    WkObject* list = DatabasePage.list;
    if (!WkListGetSelectedItem(list)) return;
    switch (ImportMode) {
    case ImportQuon: CopySemicolonLineToForm(list); break;
    case ImportFsi: CopyFsiLineToForm(list); break;
    case ImportFide:
    case ImportNational: CopyFixedWidthLineToForm(list); break;
    default: break;
    }
}

void OnCloseDatabase(WkObject*, void*, void*) {
    DatabaseFree = 1;
    WkObjectDisable(DatabasePage.input);
}

void OnSortToggle(WkObject*, int on, void*) {
    WkListSetCompareFunction(DatabasePage.list, on ? CompareNames : nullptr);
}

void ShowNameInDatabaseSearch(const char* name) {
    if (DatabaseFree || !DatabasePage.search || !name) return;
    char start[8];
    std::snprintf(start, sizeof start, "%-6.6s", name);
    WkEditReplaceText(DatabasePage.search, start, 0, 0);
}
