#include "support/x_probe.h"

#include <chrono>
#include <cstdio>
#include <poll.h>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace xprobe {

_XDisplay* Connect() {
    // A server that lost its last client resets and refuses for a moment.
    for (int tries = 0; tries < 40; ++tries) {
        if (_XDisplay* d = XOpenDisplay(nullptr)) return d;
        poll(nullptr, 0, 50);
    }
    return nullptr;
}

Probe::Probe() {
    dpy_ = Connect();
    if (!dpy_) return;
    int op = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    if (XkbQueryExtension(dpy_, &op, &xkbEvent_, &error, &major, &minor))
        XkbSelectEvents(dpy_, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask);
    XSync(dpy_, False);
}

Probe::~Probe() {
    if (dpy_) XCloseDisplay(dpy_);
}

void Probe::Sync(_XDisplay* other) { XSync(other, False); }

plat::Surface Probe::Pixels(unsigned long window) const {
    XWindowAttributes a;
    if (!XGetWindowAttributes(dpy_, window, &a)) return plat::Surface();
    XImage* img = XGetImage(dpy_, window, 0, 0, unsigned(a.width), unsigned(a.height), AllPlanes, ZPixmap);
    if (!img) return plat::Surface();
    plat::Surface s(a.width, a.height);
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            unsigned long p = XGetPixel(img, x, y);
            s.pixels()[std::size_t(y) * std::size_t(a.width) + std::size_t(x)] =
                plat::MakeRgb(int((p & img->red_mask) >> 16), int((p & img->green_mask) >> 8), int(p & img->blue_mask));
        }
    XDestroyImage(img);
    return s;
}

int Probe::Bells(int waitMs) {
    int bells = 0;
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    do {
        while (XPending(dpy_)) {
            XEvent e;
            XNextEvent(dpy_, &e);
            if (e.type == xkbEvent_ && reinterpret_cast<XkbEvent*>(&e)->any.xkb_type == XkbBellNotify) ++bells;
        }
        pollfd p{ConnectionNumber(dpy_), POLLIN, 0};
        poll(&p, 1, 20);
    } while (std::chrono::steady_clock::now() < end);
    return bells;
}

void Probe::SendClose(unsigned long window) const {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = window;
    e.xclient.message_type = XInternAtom(dpy_, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = long(XInternAtom(dpy_, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy_, window, False, NoEventMask, &e);
    XSync(dpy_, False);
}

void Probe::MoveResize(unsigned long window, int x, int y, int width, int height) const {
    XMoveResizeWindow(dpy_, window, x, y, unsigned(width), unsigned(height));
    XSync(dpy_, False);
}

bool Probe::NumLockOn() const {
    XkbStateRec state{};
    XkbGetState(dpy_, XkbUseCoreKbd, &state);
    return (state.locked_mods & XkbKeysymToModifiers(dpy_, XK_Num_Lock)) != 0;
}

std::string Run(const std::string& command) {
    std::string out;
    FILE* f = popen(command.c_str(), "r");
    if (!f) return "exit -1";
    char buf[512];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    int status = pclose(f);
    if (status != 0) return "exit " + std::to_string(status);
    return out;
}

} // namespace xprobe
