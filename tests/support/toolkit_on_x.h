// The toolkit on an X server with no window manager between: catching up
// with the server is then a sure step, not a wait.
#pragma once

#include "support/x_probe.h"
#include "toolkit/core/event_loop.h"
#include "toolkit/platform/x11_display.h"

namespace xprobe {

// Handles all the server has sent so far: what another client did before
// (xdotool, xclip) has then reached the toolkit, and what the toolkit drew
// is on the server.
inline void CatchUp(plat::X11Display& x) {
    x.present();
    Probe::Sync(x.connection());
    WkFlushEvents();
    x.present();
    Probe::Sync(x.connection());
}

} // namespace xprobe
