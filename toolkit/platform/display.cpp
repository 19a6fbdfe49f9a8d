#include "toolkit/platform/display.h"

#include "toolkit/platform/offscreen.h"
#include "toolkit/platform/x11_display.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace plat {

namespace {

constexpr int kStockCursors = 7;

Rect Outer(const Rect& client, const Insets& in) {
    return Rect{client.x0 - in.left, client.y0 - in.top, client.x1 + in.right, client.y1 + in.bottom};
}

// Positions far beyond any screen are pulled in so that no sum overflows,
// and no window is larger than kMaxSide a side, so that a wrong size cannot
// ask for gigabytes of backing store.
constexpr int kPositionLimit = 1 << 24;
constexpr int kMaxSide = 8192;

int Coord(int v) { return std::clamp(v, -kPositionLimit, kPositionLimit); }

Rect Normalised(const Rect& r) {
    int x0 = Coord(r.x0), y0 = Coord(r.y0);
    return Rect{x0, y0, std::clamp(Coord(r.x1), x0, x0 + kMaxSide), std::clamp(Coord(r.y1), y0, y0 + kMaxSide)};
}

} // namespace

Display::Display(int width, int height, bool paletteMode, std::unique_ptr<Clock> clock)
    : width_(std::clamp(width, 1, kMaxSide)), height_(std::clamp(height, 1, kMaxSide)), paletteMode_(paletteMode),
      clock_(clock ? std::move(clock) : std::make_unique<VirtualClock>()) {
    for (int i = 0; i < kStockCursors; ++i) {
        auto c = std::make_unique<CursorRecord>();
        c->stock = true;
        c->shape = StockCursor(i);
        cursors_.push_back(std::move(c));
    }
}

Display::~Display() = default;

Insets Display::frameInsets(WindowKind kind) const {
    if (kind == WindowKind::Popup) return Insets{};
    return Insets{4, 24, 4, 4};
}

void Display::setPaletteEntries(int first, int count, const Rgb* colours) {
    if (!colours) return;
    for (int i = 0; i < count; ++i) {
        long index = long(first) + i;
        if (index >= 0 && index <= 255) palette_.entries[index] = colours[i] & 0xFFFFFF;
    }
    changed(Change::Palette, 0);
}

// --- Records.

WindowRecord* Display::find(WindowId id) {
    if (id == 0) return nullptr;
    for (auto& w : windows_)
        if (w->id == id) return w.get();
    return nullptr;
}

const WindowRecord* Display::find(WindowId id) const { return const_cast<Display*>(this)->find(id); }

const WindowRecord* Display::window(WindowId id) const { return find(id); }

Surface* Display::surface(WindowId id) {
    WindowRecord* w = find(id);
    return w ? &w->surface : nullptr;
}

WindowId Display::createWindow(const WindowParams& params) {
    // Ids are never 0 and never taken twice while a window holds them.
    while (nextId_ == 0 || find(nextId_)) ++nextId_;
    auto w = std::make_unique<WindowRecord>();
    w->id = nextId_++;
    w->kind = params.kind;
    w->boxes = params.kind == WindowKind::Popup ? 0 : params.boxes;
    w->owner = find(params.owner) ? params.owner : 0;
    w->title = params.title;
    w->client = Normalised(params.client);
    w->surface.resize(w->client.width(), w->client.height(), paletteMode_ ? &palette_ : nullptr);
    w->invalid = w->surface.bounds(); // the first show asks for a paint
    WindowId id = w->id;
    windows_.push_back(std::move(w));
    changed(Change::Created, id);
    return id;
}

bool Display::destroyWindow(WindowId id) {
    WindowRecord* w = find(id);
    if (!w) return false;
    if (w->shown) {
        w->shown = false;
        unlist(id);
        changed(Change::Hidden, id);
    }
    if (capture_ == id) releaseCapture();
    if (clipboardOwner_ == id) clipboardOwner_ = 0;
    forgetPointer(id);
    for (auto& other : windows_)
        if (other->owner == id) other->owner = 0;
    if (active_ == id) focusAway(id); // the window still exists while it loses the focus
    queue_.erase(std::remove_if(queue_.begin(), queue_.end(), [id](const Event& e) { return e.window == id; }),
                 queue_.end());
    // Found again: the listener may have destroyed it meanwhile.
    auto it = std::find_if(windows_.begin(), windows_.end(), [id](const auto& p) { return p->id == id; });
    if (it != windows_.end()) {
        windows_.erase(it);
        changed(Change::Destroyed, id);
    }
    return true;
}

// --- Stacking and activation.

bool Display::canBeActive(const WindowRecord& w) const {
    return w.shown && !w.minimised && w.kind == WindowKind::Framed;
}

bool Display::ownedBy(const WindowRecord& w, WindowId owner) const {
    const WindowRecord* p = &w;
    for (std::size_t steps = 0; p && steps <= windows_.size(); ++steps) {
        if (p->owner == owner) return true;
        p = find(p->owner);
    }
    return false;
}

void Display::unlist(WindowId id) { stack_.erase(std::remove(stack_.begin(), stack_.end(), id), stack_.end()); }

void Display::bringToTop(WindowId id) {
    if (std::find(stack_.begin(), stack_.end(), id) == stack_.end()) return;
    // The window goes to the top with the windows it owns above it, each
    // group keeping its order.
    std::vector<WindowId> rest, owned;
    for (WindowId s : stack_) {
        if (s == id) continue;
        const WindowRecord* w = find(s);
        (w && ownedBy(*w, id) ? owned : rest).push_back(s);
    }
    rest.push_back(id);
    rest.insert(rest.end(), owned.begin(), owned.end());
    if (rest == stack_) return;
    stack_ = std::move(rest);
    changed(Change::Stacking, id);
}

void Display::changeActive(WindowId next) {
    WindowId old = active_;
    if (old == next) return;
    // No window is active while the old one hears that it lost the focus; when
    // its listener activates another window meanwhile, that one stays.
    active_ = 0;
    if (old && find(old)) {
        Event e;
        e.type = EventType::FocusOut;
        e.window = old;
        deliver(e);
    }
    if (active_ != 0) return;
    const WindowRecord* n = find(next);
    if (!n || !canBeActive(*n)) {
        changed(Change::Focus, 0);
        return;
    }
    active_ = next;
    changed(Change::Focus, next);
    Event e;
    e.type = EventType::FocusIn;
    e.window = next;
    deliver(e);
}

void Display::activateAndRaise(WindowId id) {
    bringToTop(id);
    changeActive(id);
}

WindowId Display::successor(WindowId leaving) const {
    const WindowRecord* w = find(leaving);
    const WindowRecord* owner = w ? find(w->owner) : nullptr;
    if (owner && owner->id != leaving && canBeActive(*owner)) return owner->id;
    for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
        const WindowRecord* c = find(*it);
        if (*it != leaving && c && canBeActive(*c)) return *it;
    }
    return 0;
}

void Display::focusAway(WindowId leaving) {
    // The chosen successor may vanish while the old window loses the focus
    // (its listener may destroy windows); then the next one is chosen.
    for (std::size_t tries = 0; tries <= windows_.size(); ++tries) {
        WindowId next = successor(leaving);
        if (next) bringToTop(next);
        changeActive(next);
        if (active_ || !next) return;
    }
}

bool Display::show(WindowId id, bool activateIt) {
    WindowRecord* w = find(id);
    if (!w) return false;
    if (!w->shown) {
        w->shown = true;
        stack_.push_back(id);
        changed(Change::Shown, id);
        bringToTop(id);
    }
    if (activateIt && canBeActive(*w)) activateAndRaise(id);
    return true;
}

bool Display::hide(WindowId id) {
    WindowRecord* w = find(id);
    if (!w) return false;
    if (!w->shown) return true;
    w->shown = false;
    unlist(id);
    changed(Change::Hidden, id);
    if (capture_ == id) releaseCapture();
    forgetPointer(id);
    if (active_ == id) focusAway(id);
    return true;
}

bool Display::raise(WindowId id) {
    WindowRecord* w = find(id);
    if (!w || !w->shown) return false;
    if (w->minimised) {
        w->minimised = false;
        changed(Change::Restored, id);
        Event e;
        e.type = EventType::Resize;
        e.window = id;
        e.width = w->client.width();
        e.height = w->client.height();
        deliver(e);
        w = find(id);
        if (!w || !w->shown) return true;
    }
    bringToTop(id);
    if (canBeActive(*w)) changeActive(id);
    return true;
}

bool Display::activate(WindowId id) {
    WindowRecord* w = find(id);
    if (!w || !canBeActive(*w)) return false;
    activateAndRaise(id);
    return true;
}

WindowId Display::windowAt(int screenX, int screenY) const {
    for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
        const WindowRecord* w = find(*it);
        if (w && !w->minimised && Outer(w->client, frameInsets(w->kind)).contains(screenX, screenY)) return *it;
    }
    return 0;
}

// --- Geometry, titles, paints.

void Display::applyGeometry(WindowRecord& w, const Rect& client, bool queued) {
    Rect r = Normalised(client);
    bool moved = r.x0 != w.client.x0 || r.y0 != w.client.y0;
    bool sized = r.width() != w.client.width() || r.height() != w.client.height();
    w.client = r;
    if (sized) {
        w.surface.resize(r.width(), r.height(), paletteMode_ ? &palette_ : nullptr);
        w.invalid = w.surface.bounds();
    }
    WindowId id = w.id;
    if (moved || sized) changed(Change::Geometry, id);
    Event move;
    move.type = EventType::Move;
    move.window = id;
    move.x = r.x0;
    move.y = r.y0;
    Event size;
    size.type = EventType::Resize;
    size.window = id;
    size.width = r.width();
    size.height = r.height();
    if (queued) {
        if (moved) queue(move);
        if (sized) queue(size);
        return;
    }
    if (moved) deliver(move);
    if (sized && find(id)) deliver(size);
}

bool Display::setGeometry(WindowId id, const Rect& client) {
    WindowRecord* w = find(id);
    if (!w) return false;
    applyGeometry(*w, client, false);
    return true;
}

bool Display::setTitle(WindowId id, std::string_view title) {
    WindowRecord* w = find(id);
    if (!w) return false;
    w->title = std::string(title);
    changed(Change::Title, id);
    return true;
}

bool Display::setSizeLimits(WindowId id, const SizeLimits& limits) {
    WindowRecord* w = find(id);
    if (!w) return false;
    w->limits = limits;
    changed(Change::Limits, id);
    return true;
}

bool Display::invalidate(WindowId id, const Rect& area) {
    WindowRecord* w = find(id);
    if (!w) return false;
    w->invalid = Union(w->invalid, Intersect(area, w->surface.bounds()));
    return true;
}

bool Display::invalidate(WindowId id) {
    WindowRecord* w = find(id);
    return w && invalidate(id, w->surface.bounds());
}

bool Display::update(WindowId id) {
    WindowRecord* w = find(id);
    if (!w || !w->shown || w->minimised || w->invalid.empty()) return false;
    Event e;
    e.type = EventType::Paint;
    e.window = id;
    e.rect = w->invalid;
    w->invalid = Rect{}; // drawing during the paint may ask for the next one
    deliver(e);
    return true;
}

// --- Capture and cursors.

bool Display::setCapture(WindowId id) {
    WindowRecord* w = find(id);
    if (!w || !w->shown) return false;
    capture_ = id;
    changed(Change::Capture, id);
    return true;
}

void Display::releaseCapture() {
    if (!capture_) return;
    capture_ = 0;
    changed(Change::Capture, 0);
}

CursorId Display::stockCursor(StockCursor shape) const { return CursorId(shape) + 1; }

CursorId Display::createCursor(const Surface& image, int hotX, int hotY) {
    if (image.width() <= 0 || image.height() <= 0) return 0;
    auto c = std::make_unique<CursorRecord>();
    c->hotX = std::clamp(hotX, 0, image.width() - 1);
    c->hotY = std::clamp(hotY, 0, image.height() - 1);
    c->image.resize(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            c->image.pixels()[std::size_t(y) * std::size_t(image.width()) + std::size_t(x)] = image.colorAt(x, y);
    cursors_.push_back(std::move(c));
    return CursorId(cursors_.size());
}

const CursorRecord* Display::cursorInfo(CursorId id) const {
    if (id == 0 || id > cursors_.size()) return nullptr;
    return cursors_[id - 1].get();
}

void Display::destroyCursor(CursorId id) {
    if (id <= kStockCursors || id > cursors_.size() || !cursors_[id - 1]) return;
    cursors_[id - 1].reset(); // the id is not given again
    for (auto& w : windows_)
        if (w->cursor == id) {
            w->cursor = 0;
            changed(Change::Cursor, w->id);
        }
}

bool Display::setCursor(WindowId id, CursorId cursor) {
    WindowRecord* w = find(id);
    if (!w || (cursor != 0 && !cursorInfo(cursor))) return false;
    w->cursor = cursor;
    changed(Change::Cursor, id);
    return true;
}

// --- Clipboard and beep.

bool Display::setClipboardText(WindowId owner, std::string_view text) {
    if (!find(owner)) return false;
    clipboard_ = std::string(text);
    clipboardHasText_ = true;
    clipboardOwner_ = owner;
    changed(Change::Clipboard, owner);
    return true;
}

bool Display::clipboardText(std::string& out) const {
    if (!clipboardOwner_) return hostClipboardText(out);
    out = clipboard_;
    return true;
}

bool Display::hostClipboardText(std::string& out) const {
    if (!clipboardHasText_) return false;
    out = clipboard_;
    return true;
}

void Display::injectClipboardFromOtherProgram(std::string_view text) {
    WindowId old = clipboardOwner_;
    clipboard_ = std::string(text);
    clipboardHasText_ = true;
    clipboardOwner_ = 0;
    if (old) {
        Event e;
        e.type = EventType::ClipboardLost;
        e.window = old;
        queue(e);
    }
}

void Display::beep() {
    ++beeps_;
    changed(Change::Beep, 0);
}

// --- Timers.

TimerId Display::startTimer(int intervalMs) {
    while (nextTimer_ == 0 ||
           std::any_of(timers_.begin(), timers_.end(), [this](const Timer& t) { return t.id == nextTimer_; }))
        ++nextTimer_;
    Timer t;
    t.id = nextTimer_++;
    t.interval = std::max(intervalMs, 1);
    t.due = clock_->nowMs() + t.interval;
    timers_.push_back(t);
    return t.id;
}

void Display::stopTimer(TimerId id) {
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(), [id](const Timer& t) { return t.id == id; }),
                  timers_.end());
}

std::int64_t Display::nextTimerDue() const {
    std::int64_t due = -1;
    for (const Timer& t : timers_)
        if (due < 0 || t.due < due) due = t.due;
    return due;
}

bool Display::produceTimer(Event& out) {
    std::int64_t now = clock_->nowMs();
    Timer* first = nullptr;
    for (Timer& t : timers_)
        if (t.due <= now && (!first || t.due < first->due)) first = &t;
    if (!first) return false;
    // One event however many intervals went by; the timer keeps its phase.
    first->due += first->interval * ((now - first->due) / first->interval + 1);
    out = Event{};
    out.type = EventType::Timer;
    out.timer = first->id;
    out.time = now;
    return true;
}

// --- The loop.

std::intptr_t Display::deliver(const Event& event) {
    if (!listener_) return 0;
    Listener l = listener_; // the listener may replace itself while it runs
    return l(event);
}

std::intptr_t Display::dispatch(const Event& event) { return deliver(event); }

bool Display::producePaint(Event& out) {
    for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
        WindowRecord* w = find(*it);
        if (!w || w->minimised || w->invalid.empty()) continue;
        out = Event{};
        out.type = EventType::Paint;
        out.window = w->id;
        out.rect = w->invalid;
        w->invalid = Rect{};
        return true;
    }
    return false;
}

bool Display::peekEvent(Event& out) {
    pollInput();
    if (!queue_.empty()) {
        out = queue_.front();
        queue_.pop_front();
        return true;
    }
    if (quitPending_) {
        quitPending_ = false;
        out = Event{};
        out.type = EventType::Quit;
        out.exitCode = quitCode_;
        return true;
    }
    return producePaint(out) || produceTimer(out);
}

Event Display::waitEvent() {
    Event e;
    while (!peekEvent(e)) {
        if (!waitForInput(nextTimerDue()))
            throw WaitWouldHang("waiting for an event that nothing can bring: no input, no timer due, no idle hook");
    }
    return e;
}

bool Display::translate(const Event& keyDown) {
    if (keyDown.type != EventType::KeyDown || keyDown.key.character == 0) return false;
    Event c = keyDown;
    c.type = EventType::Character;
    queue_.push_front(c);
    return true;
}

void Display::postQuit(int exitCode) {
    quitPending_ = true;
    quitCode_ = exitCode;
}

// --- Input.

bool Display::askActivation(WindowRecord& w, Hit hit, int screenX, int screenY) {
    if (!listener_) return true;
    Event q;
    q.type = EventType::ActivateQuery;
    q.window = w.id;
    q.hit = hit;
    q.screenX = screenX;
    q.screenY = screenY;
    return deliver(q) != 0;
}

void Display::forgetPointer(WindowId id) {
    if (pointerWindow_ == id) pointerWindow_ = 0;
}

Event Display::pointerEvent(EventType type, WindowId target, int screenX, int screenY) const {
    Event e;
    e.type = type;
    e.window = target;
    e.screenX = screenX;
    e.screenY = screenY;
    if (const WindowRecord* w = find(target)) {
        e.x = screenX - w->client.x0;
        e.y = screenY - w->client.y0;
    }
    e.modifiers = held_ | buttons_;
    return e;
}

void Display::trackPointer(int screenX, int screenY) {
    pointerX_ = screenX;
    pointerY_ = screenY;
    if (capture_) return; // the capture holder sees every motion; enter and leave wait
    WindowId under = windowAt(screenX, screenY);
    const WindowRecord* w = find(under);
    if (!w || !w->client.contains(screenX, screenY)) under = 0;
    if (under == pointerWindow_) return;
    if (pointerWindow_ && find(pointerWindow_)) queue(pointerEvent(EventType::PointerLeave, pointerWindow_, screenX, screenY));
    pointerWindow_ = under;
    if (under) queue(pointerEvent(EventType::PointerEnter, under, screenX, screenY));
}

bool Display::injectKey(const KeyInfo& key) {
    if (!active_) return false;
    Event e;
    e.type = EventType::KeyDown;
    e.window = active_;
    e.key = key;
    e.modifiers = held_;
    queue(e);
    return true;
}

bool Display::injectPointerMove(int screenX, int screenY) {
    screenX = Coord(screenX);
    screenY = Coord(screenY);
    trackPointer(screenX, screenY);
    WindowId target = capture_ ? capture_ : pointerWindow_;
    if (!target) return false;
    queue(pointerEvent(EventType::PointerMove, target, screenX, screenY));
    return true;
}

bool Display::injectButton(int screenX, int screenY, int button, bool down) {
    if (button < kLeftButton || button > kRightButton) return false;
    screenX = Coord(screenX);
    screenY = Coord(screenY);
    if (screenX != pointerX_ || screenY != pointerY_) injectPointerMove(screenX, screenY);
    std::uint32_t bit = kLeftHeld << (button - 1);
    buttons_ = down ? (buttons_ | bit) : (buttons_ & ~bit);
    WindowId target = capture_;
    if (!target) {
        target = windowAt(screenX, screenY);
        WindowRecord* w = find(target);
        if (!w) return false;
        bool inClient = w->client.contains(screenX, screenY);
        if (down && canBeActive(*w)) {
            w = userAction(target, inClient ? Hit::Client : Hit::Frame, screenX, screenY, true);
            if (!w) return false;
        }
        if (!w->client.contains(screenX, screenY)) return true; // a click on the frame
    }
    Event e = pointerEvent(down ? EventType::ButtonPress : EventType::ButtonRelease, target, screenX, screenY);
    e.button = button;
    queue(e);
    return true;
}

bool Display::injectWheel(int screenX, int screenY, int delta) {
    screenX = Coord(screenX);
    screenY = Coord(screenY);
    if (screenX != pointerX_ || screenY != pointerY_) injectPointerMove(screenX, screenY);
    WindowId target = capture_ ? capture_ : pointerWindow_;
    if (!target) return false;
    Event e = pointerEvent(EventType::Wheel, target, screenX, screenY);
    e.wheelDelta = delta;
    queue(e);
    return true;
}

WindowRecord* Display::userAction(WindowId id, Hit hit, int screenX, int screenY, bool activates) {
    WindowRecord* w = find(id);
    if (!w || active_ == id) return w;
    if (!askActivation(*w, hit, screenX, screenY)) return nullptr;
    if (activates && find(id) && canBeActive(*find(id))) activateAndRaise(id);
    return find(id); // the listener may have destroyed it meanwhile
}

bool Display::injectCloseRequest(WindowId id) {
    WindowRecord* w = find(id);
    return w && (w->boxes & kCloseBox) && injectHostCloseRequest(id);
}

bool Display::injectHostCloseRequest(WindowId id) {
    WindowRecord* w = find(id);
    if (!w || !w->shown || w->minimised) return false;
    Insets in = frameInsets(w->kind);
    if (!userAction(id, Hit::CloseBox, w->client.x1 + in.right - 10, w->client.y0 - in.top / 2, true)) return false;
    Event e;
    e.type = EventType::CloseRequest;
    e.window = id;
    queue(e);
    return true;
}

bool Display::injectMinimise(WindowId id) {
    WindowRecord* w = find(id);
    if (!w || !w->shown || w->minimised || !(w->boxes & kMinimiseBox)) return false;
    // Minimising an inactive window does not activate it first, but a
    // blocked window still refuses.
    Insets in = frameInsets(w->kind);
    w = userAction(id, Hit::MinimiseBox, w->client.x1 + in.right - 30, w->client.y0 - in.top / 2, false);
    if (!w) return false;
    w->minimised = true;
    changed(Change::Minimised, id);
    if (capture_ == id) releaseCapture();
    forgetPointer(id);
    Event e;
    e.type = EventType::Resize;
    e.window = id;
    e.minimised = true;
    queue(e);
    if (active_ == id) focusAway(id);
    return true;
}

bool Display::injectUserGeometry(WindowId id, const Rect& client, std::uint32_t edges) {
    WindowRecord* w = find(id);
    if (!w || !canBeActive(*w)) return false;
    Rect r = Normalised(client);
    w = userAction(id, Hit::Frame, r.x0, r.y0 - 1, true);
    if (!w) return false;
    if (edges == 0) {
        r = Rect{r.x0, r.y0, r.x0 + w->client.width(), r.y0 + w->client.height()};
    } else {
        // A held or too small dimension stops the dragged edge; the opposite
        // edge stays where the user left it.
        int width = w->limits.holdWidth ? w->client.width() : std::max({r.width(), w->limits.minWidth, 1});
        int height = w->limits.holdHeight ? w->client.height() : std::max({r.height(), w->limits.minHeight, 1});
        width = std::min(width, kMaxSide);
        height = std::min(height, kMaxSide);
        if (edges & kEdgeLeft)
            r.x0 = r.x1 - width;
        else
            r.x1 = r.x0 + width;
        if (edges & kEdgeTop)
            r.y0 = r.y1 - height;
        else
            r.y1 = r.y0 + height;
    }
    applyGeometry(*w, r, true);
    return true;
}

std::unique_ptr<Display> OpenDisplay(const DisplayOptions& options) {
    // The desktop when there is one; a server that cannot be reached is said
    // once and the program goes on without a screen.
    const char* name = std::getenv("DISPLAY");
    if (!options.offscreen && name && *name) {
        std::string error;
        if (auto x = X11Display::Open(name, options.paletteMode, &error)) return x;
        std::fprintf(stderr, "%s; running without a screen\n", error.c_str());
    }
    OffscreenOptions o;
    o.width = options.width;
    o.height = options.height;
    o.paletteMode = options.paletteMode;
    o.realClock = true;
    return std::make_unique<OffscreenDisplay>(o);
}

} // namespace plat
