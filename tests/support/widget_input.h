// What the programs' test drivers and the benchmarks do to windows: walk
// a window's widgets and click one through the display's input, as the
// user's pointer would. Header only; link the widgets library.
#pragma once

#include "toolkit/core/object.h"
#include "toolkit/platform/display.h"
#include "toolkit/widgets/form.h"

#include <vector>

namespace tmt {

// The widgets under root in creation order, depth first (root first).
inline std::vector<WkObject*> WidgetsUnder(WkObject* root) {
    std::vector<WkObject*> found;
    std::vector<WkObject*> todo{WkFormOf(root) ? WkFormOf(root) : root};
    while (!todo.empty()) {
        WkObject* o = todo.back();
        todo.pop_back();
        found.push_back(o);
        WkFormData* d = WkFormRecord(o);
        if (!d) continue;
        for (int p = d->pageCount - 1; p >= 0; --p)
            for (int i = d->pages[p].count - 1; i >= 0; --i) todo.push_back(d->pages[p].children[i]);
    }
    return found;
}

// The pointer moved to the object's centre, the button pressed and
// released there; the events wait in the display's queue. False when the
// click reached no window.
inline bool InjectClick(plat::Display& display, WkObject* object, int button = plat::kLeftButton) {
    int x, y;
    WkObjectGetAbsolutePosition(object, &x, &y);
    WkObject* shell = WkObjectGetShell(object);
    x += shell->x + object->width / 2;
    y += shell->y + object->height / 2;
    display.injectPointerMove(x, y);
    return display.injectButton(x, y, button, true) && display.injectButton(x, y, button, false);
}

} // namespace tmt
