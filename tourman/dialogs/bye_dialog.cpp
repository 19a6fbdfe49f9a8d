#include "tourman/dialogs/bye_dialog.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/core/shell.h"
#include "toolkit/widgets/combo_box.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/push_button.h"
#include "toolkit/widgets/toggle.h"
#include "tourman/dialogs/close_buttons.h"
#include "tournament/files/player_list_row.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <cstdint>
#include <cstdlib>
#include <string>

ByeDialogFields ByeDialog;

namespace {

constexpr int kFontHelvMedium = 5;

struct ByeResult {
    const char* text;
    int code;
};
// In the drop-down's order.
constexpr ByeResult kResults[] = {
    {"0F", LossUnplayed}, {"1F", WinUnplayed}, {"\xBD" "F", HalfUnplayed}, {"\xBD" "FN", HalfNoGameCode}};

void Forget(WkObject*, WkMessage*, void*, std::uint32_t) {
    ByeDialog = ByeDialogFields();
}

void Alert(const std::string& text) {
    ShowAlert(text, MessageText(MsgClose));
}

} // namespace

WkObject* OpenByeDialog(int selectedId, bool (*assign)(int player, int resultCode)) {
    if (ByeDialog.window) WkShellDestroy(ByeDialog.window);
    ByeDialogFields& b = ByeDialog;
    b.window = WkCreateShell("Assign BYE to:", WK_SHELL_DIALOG);
    b.assign = assign;
    WkFormSetSpacing(WkFormOf(b.window), 0);
    WkObjectSetBackgroundImageFile(WkFormOf(b.window), "tile6.bmp", WK_IMAGE_TILED);
    WkObjectAddDestroyHandler(b.window, Forget, nullptr);

    WkObject* table = WkCreateTableForm(b.window, 2);
    WkObjectSetTransparency(table, 255);
    WkObjectSetWidth(table, 200);
    WkCreateLabel(table, " ID ", kFontHelvMedium);
    WkCreateLabel(table, "Result", kFontHelvMedium);
    const std::string id = selectedId > 0 ? std::to_string(selectedId) : "";
    b.id = WkCreateEdit(table, id.c_str(), 3, kFontHelvMedium);
    WkEditSetFilter(b.id, WK_FILTER_DIGITS, nullptr);
    WkEditSetPreset(b.id, 1); // the selected player's, typed over by another's
    b.result = WkCreateComboBox(table, "1F", 4, 4, 4, kFontHelvMedium);
    WkEditSetReadOnly(b.result);
    for (const ByeResult& r : kResults) WkListAddItem(WkComboBoxGetList(b.result), r.text, 0);

    WkObject* buttons = WkCreateHorizontalForm(b.window);
    WkObjectSetHeight(buttons, 60);
    WkObjectSetTransparency(buttons, 155);
    WkObjectSetShadow(buttons, 0, 0, 0);
    b.closeButton = WkCreateButton(buttons, MessageText(MsgClose).c_str(), kFontHelvMedium);
    WkButtonSetCallback(b.closeButton, OnCloseDialog, nullptr);
    b.okButton = WkCreateButton(buttons, MessageText(MsgOk).c_str(), kFontHelvMedium);
    WkButtonSetCallback(b.okButton, OnByeOk, nullptr);
    return b.window;
}

void OnByeOk(WkObject* button, void*, void*) {
    const ByeDialogFields& b = ByeDialog;
    const char* typed = WkEditGetText(b.id);
    const int player = typed && *typed ? std::atoi(typed) : 0;
    const char* chosen = WkEditGetText(b.result);
    int code = WinUnplayed;
    for (const ByeResult& r : kResults)
        if (chosen && std::string(chosen) == r.text) code = r.code;
    if (!b.assign || !b.assign(player, code)) return;
    WkShellDestroy(button);
}

void AssignByeCommand(int selectedId, bool (*assign)(int player, int resultCode)) {
    if (ClosedRegistration == 0) return Alert(ByeWhileRegisteringText);
    if (IsRoundRobin()) return Alert(MessageText(MsgNotInRoundRobin));
    if (IsGetResultDone == 0) return Alert(ByeBeforeResultsText);
    WkShellRealize(OpenByeDialog(selectedId, assign));
}
