// The two group dialogs of the Extras menu: five groups, each a lower and
// an upper limit, after which the standings are written group by group, by
// rating ("rankgrp.txt") or by birth date ("rankdagr.txt"). Both dialogs
// share the limits, which live for the process and change only on OK.
#pragma once

#include "reports/group_rankings.h"

struct WkObject;

// The limits last confirmed in either dialog (all 0 at start). Date limits
// are day x 10000 + month x 100 + two-digit year.
extern GroupLimits CurrentGroupLimits;

// The open dialog's window and its limit fields (lower, upper of each
// group); one dialog at a time, forgotten with its window.
struct GroupDialogWidgets {
    WkObject* window = nullptr;
    WkObject* fields[RankingGroupCount][2] = {};
};
extern GroupDialogWidgets GroupDialog;

// Build and show a dialog; it is modal and ends with its OK or close button.
void OpenRatingGroupsDialog();
void OpenDateGroupsDialog();

// The OK buttons: the fields become the limits (an empty field 0), the
// standings are written, the dialog closes and the result is shown.
void OnRatingGroupsOk(WkObject* button, void* record, void* data);
void OnDateGroupsOk(WkObject* button, void* record, void* data);
