// A text of what the main window shows of the tournament's state, for
// comparing two programs: every page tab, button, toggle, field and list
// with whether it may be used (by its own flag), the buttons' captions, the
// rows of every list, the results page's round field, the status line and
// the counters, and every menu item with whether it may be chosen. The
// texts typed into the player form, the selections and the page in front
// are left out: they are the arbiter's, not the tournament's.
#pragma once

#include <string>

namespace tmt {

std::string WindowStateDump();

} // namespace tmt
