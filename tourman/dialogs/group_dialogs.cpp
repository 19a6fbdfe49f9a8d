#include "tourman/dialogs/group_dialogs.h"

#include "reports/report_file.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/shell_data.h"
#include "toolkit/widgets/button_core.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/message_dialog.h"
#include "toolkit/widgets/push_button.h"
#include "tourman/dialogs/close_buttons.h"
#include "tourman/frame/window_frame.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"

#include <cstdio>
#include <cstdlib>

GroupLimits CurrentGroupLimits;
GroupDialogWidgets GroupDialog;

namespace {

constexpr int kFontFixedSmall = 1, kFontHelvMedium = 5, kFontTimesMedium = 7;

struct GroupDialogKind {
    int red, green, blue; // the window's background
    int heading;          // a message number
    int rowFont;
    int fieldLength;
    bool (*write)(const GroupLimits&);
    const char* done;
    void (*ok)(WkObject*, void*, void*);
};

const GroupDialogKind kRatingGroups = {230,
                                       230,
                                       154,
                                       MsgRatingGroupsHeading,
                                       kFontHelvMedium,
                                       4,
                                       WriteRatingGroupStandings,
                                       "OK file RANKGRP.TXT",
                                       OnRatingGroupsOk};
const GroupDialogKind kDateGroups = {130,
                                     230,
                                     154,
                                     MsgBirthDateGroupsHeading,
                                     kFontTimesMedium,
                                     8,
                                     WriteDateGroupStandings,
                                     "OK file RANKDAGR.TXT",
                                     OnDateGroupsOk};

void Forget(WkObject*, WkMessage*, void*, std::uint32_t) {
    GroupDialog = GroupDialogWidgets();
}

WkObject* LimitField(WkObject* row, int value, int length) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    WkObject* field = WkCreateEdit(row, text, length, kFontFixedSmall);
    WkEditSetFilter(field, WK_FILTER_DIGITS, nullptr);
    return field;
}

void OpenGroupsDialog(const GroupDialogKind& kind) {
    WkObject* window = GroupDialog.window =
        WkCreateShell(MessageText(MsgGroups).c_str(),
                      WK_SHELL_DIALOG | WK_SHELL_NO_CLOSE | WK_SHELL_NO_MAXIMISE | WK_SHELL_NO_MINIMISE);
    WkObjectSetBackgroundRGB(WkFormOf(window), kind.red, kind.green, kind.blue);
    WkObjectAddDestroyHandler(window, Forget, nullptr);
    WkObject* form = WkCreateVerticalForm(window);
    WkObjectSetTransparent(form);
    WkObjectSetShadow(form, WK_SHADOW_NONE, 0, 0);
    WkCreateLabel(form, MessageText(kind.heading).c_str(), kFontTimesMedium);
    WkObject* heads = WkCreateLabel(form, "                    Min                 Max", kFontHelvMedium);
    WkObjectSetForegroundRGB(heads, 255, 0, 0);
    for (int k = 0; k < RankingGroupCount; ++k) {
        WkObject* row = WkCreateHorizontalForm(form);
        WkObjectSetTransparent(row);
        WkObjectSetShadow(row, WK_SHADOW_ETCHED_IN, 1, 1);
        char label[64];
        std::snprintf(label, sizeof label, "%s %d:  >", MessageText(MsgGroup).c_str(), k + 1);
        WkCreateLabel(row, label, kind.rowFont);
        GroupDialog.fields[k][0] = LimitField(row, CurrentGroupLimits.groups[k].lower, kind.fieldLength);
        WkCreateLabel(row, "&  <=", kFontHelvMedium);
        GroupDialog.fields[k][1] = LimitField(row, CurrentGroupLimits.groups[k].upper, kind.fieldLength);
    }
    WkObject* buttons = WkCreateHorizontalForm(form);
    WkObjectSetTransparency(buttons, 81);
    WkObjectSetShadow(buttons, WK_SHADOW_ETCHED_IN, 1, 1);
    WkButtonSetCallback(WkCreateButton(buttons, MessageText(MsgClose).c_str(), kFontTimesMedium),
                        OnCloseDialog, nullptr);
    WkButtonSetCallback(WkCreateButton(buttons, MessageText(MsgOk).c_str(), kFontTimesMedium), kind.ok,
                        nullptr);
    WkShellRealize(window);
}

int FieldValue(WkObject* field) {
    const char* text = field ? WkEditGetText(field) : nullptr;
    return text ? std::atoi(text) : 0;
}

void TakeGroupsAndWrite(WkObject* button, const GroupDialogKind& kind) {
    for (int k = 0; k < RankingGroupCount; ++k)
        CurrentGroupLimits.groups[k] = {FieldValue(GroupDialog.fields[k][0]), FieldValue(GroupDialog.fields[k][1])};
    WkShellDestroy(button);
    // The writers say nothing of a file they could not create.
    if (!WriteReportsOrAlert([&kind] { return kind.write(CurrentGroupLimits); })) return;
    WkMessageDialog(ProgramTitle, kind.done, MessageText(MsgClose).c_str(), nullptr);
}

} // namespace

void OpenRatingGroupsDialog() {
    OpenGroupsDialog(kRatingGroups);
}

void OpenDateGroupsDialog() {
    OpenGroupsDialog(kDateGroups);
}

void OnRatingGroupsOk(WkObject* button, void*, void*) {
    TakeGroupsAndWrite(button, kRatingGroups);
}

void OnDateGroupsOk(WkObject* button, void*, void*) {
    TakeGroupsAndWrite(button, kDateGroups);
}
