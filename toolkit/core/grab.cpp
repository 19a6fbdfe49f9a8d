#include "toolkit/core/grab.h"

#include "toolkit/core/window_system.h"

namespace {

WkObject* stack[WK_GRAB_DEPTH];
int depth = 0;
int inside = 0;

void Capture(WkObject* holder) {
    plat::Display* display = WkDisplay();
    if (!display) return;
    if (!holder) {
        display->releaseCapture();
        return;
    }
    WkNativeWindow window = WkObjectGetNativeWindow(holder);
    if (window) display->setCapture(window);
}

} // namespace

void WkPushGrab(WkObject* object) {
    if (!object || depth == WK_GRAB_DEPTH) return;
    stack[depth++] = object;
    inside = 1;
    Capture(object);
}

void WkPopGrab(WkObject* object) {
    if (depth == 0 || (object && object != stack[depth - 1])) return;
    --depth;
    inside = 1;
    Capture(depth ? stack[depth - 1] : nullptr);
}

WkObject* WkGetGrab() { return depth ? stack[depth - 1] : nullptr; }
int WkGrabDepth() { return depth; }
int WkGrabInside() { return inside; }
void WkSetGrabInside(int value) { inside = value ? 1 : 0; }

void WkForgetGrab(WkObject* object) {
    if (!object) return;
    WkObject* holder = WkGetGrab();
    int kept = 0;
    for (int i = 0; i < depth; ++i)
        if (stack[i] != object) stack[kept++] = stack[i];
    depth = kept;
    if (holder == object) Capture(WkGetGrab());
}
