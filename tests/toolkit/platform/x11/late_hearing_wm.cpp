// A window manager that hears SIGTERM only with its next X event: openbox
// does so when the signal lands between its loop's look at its flag and its
// wait for the server. It names itself on the root window and frames (maps,
// marks normal) every window that asks to be mapped, enough for the tests'
// start of a window manager; its arguments are openbox's, and ignored.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <csignal>
#include <initializer_list>
#include <poll.h>

namespace {

volatile std::sig_atomic_t asked = 0;
void OnTerm(int) { asked = 1; }

} // namespace

int main() {
    Display* d = XOpenDisplay(nullptr);
    if (!d) return 1;
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    struct sigaction action = {};
    action.sa_handler = OnTerm;
    sigaction(SIGTERM, &action, nullptr);

    const Window root = DefaultRootWindow(d);
    XSelectInput(d, root, SubstructureRedirectMask | SubstructureNotifyMask | PropertyChangeMask);
    Window check = XCreateSimpleWindow(d, root, -1, -1, 1, 1, 0, 0, 0);
    const Atom checkAtom = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
    const Atom state = XInternAtom(d, "WM_STATE", False);
    for (Window w : {check, root})
        XChangeProperty(d, w, checkAtom, XA_WINDOW, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&check), 1);
    XFlush(d);
    for (;;) {
        while (XPending(d)) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type == MapRequest) {
                long normal[2] = {1, 0};
                XChangeProperty(d, e.xmaprequest.window, state, state, 32, PropModeReplace,
                                reinterpret_cast<unsigned char*>(normal), 2);
                XMapWindow(d, e.xmaprequest.window);
            } else if (e.type == ConfigureRequest) {
                XWindowChanges c = {e.xconfigurerequest.x, e.xconfigurerequest.y, e.xconfigurerequest.width,
                                    e.xconfigurerequest.height, 0, 0, 0};
                XConfigureWindow(d, e.xconfigurerequest.window,
                                 unsigned(e.xconfigurerequest.value_mask) & (CWX | CWY | CWWidth | CWHeight), &c);
            }
            if (asked) {
                XDestroyWindow(d, check);
                XCloseDisplay(d);
                return 0;
            }
        }
        XFlush(d);
        // A signal that ends this wait is not looked at until an event comes.
        pollfd p = {ConnectionNumber(d), POLLIN, 0};
        poll(&p, 1, -1);
    }
}
