#include "event_on_x.h"

namespace xev {

void EventOnX::OutputsAndReports() {}

} // namespace xev
