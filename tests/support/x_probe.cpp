#include "support/x_probe.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

extern char** environ;

namespace xprobe {

_XDisplay* Connect() {
    // A server that lost its last client resets and refuses for a moment;
    // one just started may not listen yet.
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) return nullptr;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitCeilingMs);
    for (;;) {
        if (_XDisplay* d = XOpenDisplay(nullptr)) return d;
        if (std::chrono::steady_clock::now() >= end) return nullptr;
        poll(nullptr, 0, 50);
    }
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

int Probe::QueuedButtons(_XDisplay* other) {
    // The predicate sees every queued event (and those that arrived) and
    // takes none.
    int count = 0;
    XEvent e;
    XCheckIfEvent(
        other, &e,
        [](::Display*, XEvent* event, XPointer seen) {
            if (event->type == ButtonPress || event->type == ButtonRelease) ++*reinterpret_cast<int*>(seen);
            return False;
        },
        reinterpret_cast<XPointer>(&count));
    return count;
}

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

int Probe::Bells(_XDisplay* ringer, int expected) {
    // The ringer's bells are rung once the server handled its requests; the
    // server's notes of them are ours once it handled ours.
    if (ringer) XSync(ringer, False);
    int bells = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitCeilingMs);
    for (;;) {
        XSync(dpy_, False);
        while (XPending(dpy_)) {
            XEvent e;
            XNextEvent(dpy_, &e);
            if (e.type == xkbEvent_ && reinterpret_cast<XkbEvent*>(&e)->any.xkb_type == XkbBellNotify) ++bells;
        }
        if (bells >= expected || std::chrono::steady_clock::now() >= end) return bells;
        pollfd p{ConnectionNumber(dpy_), POLLIN, 0};
        poll(&p, 1, 20);
    }
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

void Probe::ScreenPosition(unsigned long window, int* x, int* y) const {
    Window child = 0;
    *x = *y = 0;
    XTranslateCoordinates(dpy_, window, DefaultRootWindow(dpy_), 0, 0, x, y, &child);
}

bool Probe::Viewable(unsigned long window) const {
    XWindowAttributes a{};
    return XGetWindowAttributes(dpy_, window, &a) && a.map_state == IsViewable;
}

unsigned long Probe::Focus() const {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(dpy_, &focus, &revert);
    return focus;
}

namespace {

constexpr const char* kWindowManagerConfig = R"(<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy></placement>
  <theme><name>Clearlooks</name></theme>
  <desktops><number>1</number></desktops>
  <keyboard></keyboard>
  <mouse>
    <context name="Client">
      <mousebind button="Left" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
    </context>
    <context name="Titlebar">
      <mousebind button="Left" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
      <mousebind button="Left" action="Drag"><action name="Move"/></mousebind>
    </context>
  </mouse>
</openbox_config>
)";

// Polls until done() holds or ms pass; true when it held.
bool Eventually(const std::function<bool()>& done, int ms = kWaitCeilingMs) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        poll(nullptr, 0, 20);
    }
}

std::vector<Window> WindowList(::Display* dpy, Window of, const char* name) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<Window> out;
    XSync(dpy, False);
    if (XGetWindowProperty(dpy, of, XInternAtom(dpy, name, False), 0, 1024, False, XA_WINDOW, &type, &format, &count,
                           &after, &data) == Success &&
        data && format == 32)
        for (unsigned long i = 0; i < count; ++i) out.push_back(reinterpret_cast<Window*>(data)[i]);
    if (data) XFree(data);
    return out;
}

long WmState(::Display* dpy, Window w) {
    Atom state = XInternAtom(dpy, "WM_STATE", False), type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long value = 0;
    XSync(dpy, False);
    if (XGetWindowProperty(dpy, w, state, 0, 2, False, state, &type, &format, &count, &after, &data) == Success &&
        data && count >= 1)
        value = reinterpret_cast<long*>(data)[0];
    if (data) XFree(data);
    return value;
}

} // namespace

WindowManager::WindowManager() {
    dpy_ = Connect();
    if (!dpy_) return;
    // The window manager's windows come and go under our questions.
    XSetErrorHandler([](::Display*, XErrorEvent*) { return 0; });
}

WindowManager::~WindowManager() {
    Stop();
    if (dpy_) XCloseDisplay(dpy_);
}

bool WindowManager::Managed() const {
    // A window manager names its own check window on the root, and that
    // window names itself.
    if (!dpy_) return false;
    std::vector<Window> check = WindowList(dpy_, DefaultRootWindow(dpy_), "_NET_SUPPORTING_WM_CHECK");
    if (check.empty()) return false;
    std::vector<Window> self = WindowList(dpy_, check.front(), "_NET_SUPPORTING_WM_CHECK");
    return !self.empty() && self.front() == check.front();
}

std::vector<unsigned long> WindowManager::Stacking() const {
    return WindowList(dpy_, DefaultRootWindow(dpy_), "_NET_CLIENT_LIST_STACKING");
}

long WindowManager::WmState(unsigned long window) const { return xprobe::WmState(dpy_, window); }

std::string WindowManager::Start(const std::string& folder, const std::string& program) {
    if (!dpy_) return "no X server (DISPLAY)";
    if (Managed()) return "another window manager runs on this server";
    const Window root = DefaultRootWindow(dpy_);
    int count = 0;
    Atom* props = XListProperties(dpy_, root, &count);
    for (int i = 0; i < count; ++i) rootProperties_.insert(props[i]);
    if (props) XFree(props);
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(dpy_, &focus, &revert);
    focusBefore_ = focus;

    if (Run("mkdir -p '" + folder + "'") != "") return "cannot make " + folder;
    std::string config = folder + "/rc.xml", log = folder + "/openbox.log";
    std::ofstream(config) << kWindowManagerConfig;
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string v = *e;
        if (v.rfind("HOME=", 0) != 0 && v.rfind("XDG_", 0) != 0) env.push_back(v);
    }
    for (const char* name : {"HOME=", "XDG_CONFIG_HOME=", "XDG_CACHE_HOME=", "XDG_DATA_HOME=", "XDG_STATE_HOME="})
        env.push_back(name + folder);
    std::vector<char*> envp;
    for (std::string& v : env) envp.push_back(v.data());
    envp.push_back(nullptr);
    std::string name = program, sm = "--sm-disable", option = "--config-file";
    char* argv[] = {name.data(), sm.data(), option.data(), config.data(), nullptr};
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&files, 1, 2);
    int failed = posix_spawnp(&pid_, program.c_str(), &files, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&files);
    if (failed) {
        pid_ = 0;
        return program + " cannot be started (scripts/setup installs openbox)";
    }
    if (!Eventually([&] { return Managed(); })) return program + " does not manage the screen within a minute; see " + log;
    // It names itself before it takes the windows that are mapped; a map
    // that falls in between is lost. A window of our own, mapped again
    // until it is framed, tells when it takes new windows.
    Window ready = XCreateSimpleWindow(dpy_, root, 0, 0, 10, 10, 0, 0, 0);
    bool framed = false;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitCeilingMs);
    while (!framed && std::chrono::steady_clock::now() < end) {
        XUnmapWindow(dpy_, ready);
        XMapWindow(dpy_, ready);
        framed = Eventually([&] { return WmState(ready) == 1; }, 500);
    }
    XDestroyWindow(dpy_, ready);
    XSync(dpy_, False);
    if (!framed) return program + " does not frame new windows within a minute; see " + log;
    if (!Eventually([&] { return Stacking().empty(); }))
        return program + " keeps a window of ours after a minute; see " + log;
    return "";
}

bool WindowManager::Stop() {
    if (pid_ <= 0) return true;
    kill(pid_, SIGTERM);
    // openbox's handler only raises a flag, which its loop looks at before
    // it waits for the server: a signal that lands between the look and the
    // wait (a busy machine, a window just gone) is heard with the next X
    // event, and none may come. A root property of ours, changed until it
    // ends, is such an event.
    const Window root = DefaultRootWindow(dpy_);
    const Atom wake = XInternAtom(dpy_, "_XPROBE_WAKE", False);
    long wakes = 0;
    int status = 0;
    bool ended = Eventually([&] {
        ++wakes;
        XChangeProperty(dpy_, root, wake, XA_CARDINAL, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&wakes), 1);
        XFlush(dpy_);
        return waitpid(pid_, &status, WNOHANG) == pid_;
    });
    if (!ended) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
    }
    pid_ = 0;
    int count = 0;
    Atom* props = XListProperties(dpy_, root, &count);
    for (int i = 0; i < count; ++i)
        if (!rootProperties_.count(props[i])) XDeleteProperty(dpy_, root, props[i]);
    if (props) XFree(props);
    XSetInputFocus(dpy_, focusBefore_, RevertToPointerRoot, CurrentTime);
    XSync(dpy_, False);
    return ended;
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
