#include "screen_watch.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/Xfixes.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace desk {

namespace {

double Ms(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

} // namespace

ScreenWatch::ScreenWatch(const std::string& display) {
    dpy_ = XOpenDisplay(display.empty() ? nullptr : display.c_str());
    if (!dpy_) return;
    int error = 0, major = 0, minor = 0, opcode = 0;
    if (!XDamageQueryExtension(dpy_, &damageEvent_, &error) || !XFixesQueryExtension(dpy_, &major, &error) ||
        !XShmQueryExtension(dpy_) || !XTestQueryExtension(dpy_, &opcode, &error, &major, &minor))
        return;
    root_ = DefaultRootWindow(dpy_);
    width_ = DisplayWidth(dpy_, DefaultScreen(dpy_));
    height_ = DisplayHeight(dpy_, DefaultScreen(dpy_));
    if (DefaultDepth(dpy_, DefaultScreen(dpy_)) < 24) return;
    auto* segment = new XShmSegmentInfo{};
    segment_ = segment;
    segment->shmid = shmget(IPC_PRIVATE, std::size_t(width_) * std::size_t(height_) * 4, IPC_CREAT | 0600);
    if (segment->shmid < 0) return;
    segment->shmaddr = static_cast<char*>(shmat(segment->shmid, nullptr, 0));
    shmctl(segment->shmid, IPC_RMID, nullptr);
    if (segment->shmaddr == reinterpret_cast<char*>(-1)) return;
    segment->readOnly = False;
    if (!XShmAttach(dpy_, segment)) return;
    // The whole screen once; from then on only what changes.
    XImage* whole = XShmCreateImage(dpy_, DefaultVisual(dpy_, DefaultScreen(dpy_)), 24, ZPixmap, segment->shmaddr,
                                    segment, unsigned(width_), unsigned(height_));
    if (!whole || !XShmGetImage(dpy_, root_, whole, 0, 0, AllPlanes) || whole->bits_per_pixel != 32) return;
    screen_.resize(std::size_t(width_) * std::size_t(height_));
    for (int y = 0; y < height_; ++y)
        std::memcpy(&screen_[std::size_t(y) * std::size_t(width_)], whole->data + y * whole->bytes_per_line,
                    std::size_t(width_) * 4);
    whole->data = nullptr;
    XDestroyImage(whole);
    damage_ = XDamageCreate(dpy_, root_, XDamageReportNonEmpty);
    region_ = XFixesCreateRegion(dpy_, nullptr, 0);
    XSync(dpy_, False);
    ok_ = true;
    arm();
}

ScreenWatch::~ScreenWatch() {
    if (!dpy_) return;
    auto* segment = static_cast<XShmSegmentInfo*>(segment_);
    if (segment && segment->shmaddr && segment->shmaddr != reinterpret_cast<char*>(-1)) {
        XShmDetach(dpy_, segment);
        XSync(dpy_, False);
        shmdt(segment->shmaddr);
    }
    delete segment;
    XCloseDisplay(dpy_);
}

bool ScreenWatch::takeChanges() {
    bool any = false;
    while (XPending(dpy_)) {
        XEvent e;
        XNextEvent(dpy_, &e);
        if (e.type != damageEvent_ + XDamageNotify) continue;
        any = true;
        reported_ = Clock::now();
    }
    if (!any) return false;
    XDamageSubtract(dpy_, damage_, 0, region_);
    int count = 0;
    XRectangle* parts = XFixesFetchRegion(dpy_, region_, &count);
    auto* segment = static_cast<XShmSegmentInfo*>(segment_);
    for (int i = 0; i < count; ++i) {
        const int x0 = std::max(0, int(parts[i].x)), y0 = std::max(0, int(parts[i].y));
        const int x1 = std::min(width_, parts[i].x + int(parts[i].width));
        const int y1 = std::min(height_, parts[i].y + int(parts[i].height));
        if (x1 <= x0 || y1 <= y0) continue;
        XImage* part = XShmCreateImage(dpy_, DefaultVisual(dpy_, DefaultScreen(dpy_)), 24, ZPixmap, segment->shmaddr,
                                       segment, unsigned(x1 - x0), unsigned(y1 - y0));
        if (!part) continue;
        if (XShmGetImage(dpy_, root_, part, x0, y0, AllPlanes))
            for (int y = y0; y < y1; ++y)
                std::memcpy(&screen_[std::size_t(y) * std::size_t(width_) + std::size_t(x0)],
                            part->data + (y - y0) * part->bytes_per_line, std::size_t(x1 - x0) * 4);
        part->data = nullptr;
        XDestroyImage(part);
    }
    if (parts) XFree(parts);
    return true;
}

std::uint64_t ScreenWatch::hash() const {
    std::uint64_t h = 1469598103934665603ULL;
    for (std::uint32_t v : screen_) h = (h ^ v) * 1099511628211ULL;
    return h;
}

void ScreenWatch::arm() {
    if (!ok_) return;
    XSync(dpy_, False);
    takeChanges();
    pictures_.clear();
}

double ScreenWatch::settled(Clock::time_point from, int quietMs, int limitMs) {
    if (!ok_) return -1;
    const Clock::time_point limit = from + std::chrono::milliseconds(limitMs);
    Clock::time_point lastNew = from;
    for (;;) {
        const Clock::time_point now = Clock::now();
        // Until the first change, the wait runs to the limit.
        const Clock::time_point until =
            pictures_.empty() ? limit : std::min(limit, lastNew + std::chrono::milliseconds(quietMs));
        if (now >= until) break;
        if (!XPending(dpy_)) {
            pollfd p{ConnectionNumber(dpy_), POLLIN, 0};
            poll(&p, 1, std::max(1, int(Ms(now, until))));
            if (!XPending(dpy_)) continue;
        }
        if (!takeChanges()) continue;
        const Picture picture{reported_, hash()};
        // A report that left the picture as it was adds nothing.
        if (!pictures_.empty() && pictures_.back().hash == picture.hash) continue;
        const bool seen = std::any_of(pictures_.begin(), pictures_.end(),
                                      [&](const Picture& p) { return p.hash == picture.hash; });
        pictures_.push_back(picture);
        if (!seen) lastNew = picture.at;
    }
    for (std::size_t i = 0; i < pictures_.size(); ++i) {
        const bool again = i + 1 == pictures_.size() ||
                           std::any_of(pictures_.begin() + std::ptrdiff_t(i) + 1, pictures_.end(),
                                       [&](const Picture& p) { return p.hash == pictures_[i].hash; });
        if (again) return Ms(from, pictures_[i].at);
    }
    return -1;
}

Clock::time_point ScreenWatch::move(int x, int y) {
    XTestFakeMotionEvent(dpy_, -1, x, y, CurrentTime);
    XFlush(dpy_);
    return Clock::now();
}

Clock::time_point ScreenWatch::click(int x, int y) {
    XTestFakeMotionEvent(dpy_, -1, x, y, CurrentTime);
    XTestFakeButtonEvent(dpy_, 1, True, CurrentTime);
    XTestFakeButtonEvent(dpy_, 1, False, CurrentTime);
    XFlush(dpy_);
    return Clock::now();
}

Clock::time_point ScreenWatch::key(unsigned long keysym) {
    const KeyCode code = XKeysymToKeycode(dpy_, keysym);
    XTestFakeKeyEvent(dpy_, code, True, CurrentTime);
    XTestFakeKeyEvent(dpy_, code, False, CurrentTime);
    XFlush(dpy_);
    return Clock::now();
}

bool ScreenWatch::position(unsigned long window, int* x, int* y) const {
    Window child = 0;
    *x = *y = 0;
    XWindowAttributes a;
    if (!XGetWindowAttributes(dpy_, window, &a) || a.map_state != IsViewable) return false;
    return XTranslateCoordinates(dpy_, window, root_, 0, 0, x, y, &child);
}

int Spawn(const std::vector<std::string>& argv, const std::string& folder, const std::string& display) {
    const pid_t pid = fork();
    if (pid != 0) return pid > 0 ? int(pid) : 0;
    if (chdir(folder.c_str()) != 0) _exit(127);
    if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, 1);
    dup2(quiet, 2);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

void Stop(int pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

} // namespace desk
