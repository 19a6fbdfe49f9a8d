// The tooltip tests' window: a button with a tooltip, a second button, an
// edit field holding the focus and a status line; shown at 40, 30.
#pragma once

#include "toolkit/core/shell.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/push_button.h"
#include "toolkit/widgets/tooltip.h"

namespace wt {

struct TooltipWindow { WkObject *shell, *button, *other, *field, *status; };
inline constexpr int kTipDelay = 300, kTipDuration = 1000;

inline TooltipWindow MakeTooltipWindow() {
    TooltipWindow w{WkCreateShell("Tooltip", 0)};
    WkObject* row = WkCreateHorizontalForm(w.shell);
    w.button = WkCreateButton(row, "Save the tournament", 0), w.other = WkCreateButton(row, "Close", 0);
    w.field = WkCreateEdit(w.shell, "Round 3", 20, 0), w.status = WkCreateLabel(w.shell, "", 0);
    WkObjectSetTooltip(w.button, "Writes the tournament file", kTipDelay, kTipDuration);
    WkShellRealizeAt(w.shell, 40, 30);
    WkObjectSetFocus(w.field);
    return w;
}

inline bool TipShown(WkObject* o) { return o->tooltip && (WkShellRecord(o->tooltip->popup)->flags & WK_SHELL_SHOWN); }

} // namespace wt
