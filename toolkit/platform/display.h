// Display: the window system as the toolkit sees it, one interface for every
// backend (offscreen.h for tests and hosts without a screen, x11_display.h
// for the desktop). It holds the native window records, each
// with its own backing store, the event queue and its delivery, the window
// manager's policy (activation, focus, stacking, capture), the clock and
// timers, cursors, the clipboard and the beep, the input injection that
// backends and tests feed user actions through, and the inspection tests read.
//
// Names other modules use: Display, WindowParams, WindowKind, WindowRecord,
// SizeLimits, Insets, StockCursor, CursorRecord, Listener, WaitWouldHang,
// OpenDisplay, DisplayOptions; event types and key information are in
// events.h, the clock in clock.h, the offscreen backend in offscreen.h.
//
// Backing store. Every window owns a Surface of its client size (paletted
// through the display's palette in palette mode). Its pixels stay until the
// program draws over them: the layer asks for a paint (an invalid area) only
// on first show, on a change of client size and when the program invalidates,
// never because windows overlap. Drawing may happen at any time, not only
// while painting.
//
// Delivery. One listener (the toolkit's window procedure) receives every
// event. Events that a call causes are delivered from inside that call, in
// this order: Move before Resize (setGeometry), FocusOut of the old window
// before FocusIn of the new (show, hide, activate, raise, destroy), Paint
// (update). User input, close requests, user moves and sizes, minimising and
// clipboard loss go through one FIFO queue; when it is empty, peekEvent
// produces a pending Quit, then one Paint per window with an invalid area (its
// bounding rectangle; the area is valid again when the Paint is handed out),
// then one Timer event per due timer (a timer that fell behind by several
// intervals gives one event).
//
// Window-manager policy. One active window (never a popup) holds the keyboard
// focus; keys go to it. Showing with activation, raising, activate() and a
// click on an inactive framed window activate and bring the window to the
// top, with the windows it owns above it. When the active window is hidden,
// minimised or destroyed, its owner becomes active when shown, else the
// topmost shown framed window, else none. Before a user action activates a
// window (a click in it or on its frame, its close or minimise box, a move
// or size of its frame) the layer asks the listener with ActivateQuery; a
// refusal eats the action (minimising asks too but does not activate).
// Pointer events go to the window whose client area is under the pointer,
// with PointerLeave and PointerEnter when that changes; while a window holds
// the capture every pointer event goes to it instead, and enter and leave
// wait until the capture ends. Destroying a window leaves the windows it
// owned in place, without an owner.
//
// A loop takes events with peekEvent or waitEvent, passes key-downs that it
// does not translate itself to translate() (which queues their Character
// event first) and hands each event to dispatch().
//
// Backends. A backend derives from Display, mirrors on its host what
// changed() reports, feeds its host's input through the inject calls, and
// waits in waitForInput.
//
// Waiting. waitEvent waits for the next event; when no event can ever come
// (the offscreen display without an idle hook, or with one that gives up)
// it throws WaitWouldHang instead of waiting for ever.
//
// Palette mode. A display in palette mode reports depth 8 and 256 palette
// entries; its Palette is the hardware palette, shared by every window
// surface, and a change of an entry changes what is shown without a paint.
#pragma once

#include "toolkit/platform/clock.h"
#include "toolkit/platform/events.h"
#include "toolkit/platform/surface.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

enum class WindowKind : std::uint8_t {
    Framed, // caption, border and the frame boxes it was created with
    Popup,  // no frame; never takes the focus
};

// Frame boxes of a framed window.
inline constexpr std::uint32_t kCloseBox = 0x1;
inline constexpr std::uint32_t kMinimiseBox = 0x2;
inline constexpr std::uint32_t kMaximiseBox = 0x4;

struct WindowParams {
    WindowKind kind = WindowKind::Framed;
    std::uint32_t boxes = kCloseBox | kMinimiseBox | kMaximiseBox;
    WindowId owner = 0; // the window it stays above and gives the focus back to
    std::string title;  // Windows-1252
    Rect client{10, 10, 30, 30}; // client area in screen coordinates
};

// Limits on sizes the user drags: a held dimension keeps its current value,
// the others are at least the minimum. The program's own setGeometry is not
// limited.
struct SizeLimits {
    int minWidth = 1, minHeight = 1;
    bool holdWidth = false, holdHeight = false;
};

// The frame's width on each side of the client area.
struct Insets {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Edges the user drags in a size (none: the whole frame is moved).
inline constexpr std::uint32_t kEdgeLeft = 0x1;
inline constexpr std::uint32_t kEdgeTop = 0x2;
inline constexpr std::uint32_t kEdgeRight = 0x4;
inline constexpr std::uint32_t kEdgeBottom = 0x8;

struct WindowRecord {
    WindowId id = 0;
    WindowKind kind = WindowKind::Framed;
    std::uint32_t boxes = 0;
    WindowId owner = 0;
    std::string title;
    Rect client;
    SizeLimits limits;
    bool shown = false;
    bool minimised = false;
    CursorId cursor = 0;
    Rect invalid; // bounding rectangle of the area waiting for a paint
    Surface surface;
};

enum class StockCursor : std::uint8_t { Arrow, Cross, Wait, SizeWE, SizeNS, SizeNWSE, SizeNESW };

struct CursorRecord {
    bool stock = false;
    StockCursor shape = StockCursor::Arrow;
    int hotX = 0, hotY = 0;
    Surface image; // custom cursors: the picture, true colour
};

// Thrown by waitEvent when nothing could ever end the wait.
class WaitWouldHang : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The window procedure: receives every event; its result answers questions.
using Listener = std::function<std::intptr_t(const Event&)>;

class Display {
public:
    Display(int width, int height, bool paletteMode, std::unique_ptr<Clock> clock);
    virtual ~Display();
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // --- System metrics.
    int screenWidth() const { return width_; }
    int screenHeight() const { return height_; }
    int depth() const { return paletteMode_ ? 8 : 24; }
    bool paletteMode() const { return paletteMode_; }
    int paletteSize() const { return paletteMode_ ? 256 : 0; }
    Insets frameInsets(WindowKind kind) const;
    int wheelLinesPerNotch() const { return 3; }

    // The hardware palette (used by window surfaces in palette mode only).
    const Palette& palette() const { return palette_; }
    // Sets entries first .. first + count - 1; those outside 0..255 are ignored.
    void setPaletteEntries(int first, int count, const Rgb* colours);

    // --- Windows. Calls with an unknown id do nothing and return false.
    WindowId createWindow(const WindowParams& params);
    bool destroyWindow(WindowId id);
    bool show(WindowId id, bool activate); // puts it on top; paint requested on first show
    bool hide(WindowId id);
    bool raise(WindowId id);    // shown windows: restore, bring to top, activate
    bool activate(WindowId id); // shown, not minimised, framed windows
    bool setGeometry(WindowId id, const Rect& client); // at most 8192 pixels a side
    bool setTitle(WindowId id, std::string_view title);
    bool setSizeLimits(WindowId id, const SizeLimits& limits);
    bool invalidate(WindowId id, const Rect& area); // client coordinates, cut to the client
    bool invalidate(WindowId id);                   // the whole client area
    bool update(WindowId id); // delivers the pending Paint now, when shown and invalid
    Surface* surface(WindowId id);
    const WindowRecord* window(WindowId id) const;

    WindowId activeWindow() const { return active_; }
    std::vector<WindowId> zOrder() const { return stack_; } // shown windows, bottom first
    WindowId windowAt(int screenX, int screenY) const;     // topmost shown, frame included

    // --- Pointer capture and cursors.
    bool setCapture(WindowId id); // shown windows only
    void releaseCapture();
    WindowId capture() const { return capture_; }
    CursorId stockCursor(StockCursor shape) const;
    CursorId createCursor(const Surface& image, int hotX, int hotY); // 0 for an empty image
    void destroyCursor(CursorId id);                                // stock cursors stay
    bool setCursor(WindowId id, CursorId cursor);
    const CursorRecord* cursorInfo(CursorId id) const;

    // --- Clipboard (plain Windows-1252 text, kept as given) and beep.
    bool setClipboardText(WindowId owner, std::string_view text);
    bool clipboardText(std::string& out) const; // false when the clipboard holds no text
    WindowId clipboardOwner() const { return clipboardOwner_; }
    void beep();
    int beepCount() const { return beeps_; }

    // --- Time.
    Clock& clock() { return *clock_; }
    TimerId startTimer(int intervalMs); // intervals below 1 ms count as 1 ms
    void stopTimer(TimerId id);

    // --- The event loop.
    void setListener(Listener listener) { listener_ = std::move(listener); }
    bool peekEvent(Event& out);                 // takes the next event, false when none
    Event waitEvent();                          // throws WaitWouldHang (see above)
    std::intptr_t dispatch(const Event& event); // hands it to the listener
    bool translate(const Event& keyDown); // queues its Character event first; false without one
    void postQuit(int exitCode);
    std::uint32_t modifiers() const { return held_; } // modifier keys held now

    // --- Input: what the user does. Backends turn their host's input into
    // these calls; tests call them directly. Each returns false when the
    // action reached no window (nothing under the pointer, no active window,
    // refused activation).
    void holdModifiers(std::uint32_t modifiers) { held_ = modifiers & (kShift | kCtrl | kAlt | kNumLock); }
    bool injectKey(const KeyInfo& key);
    bool injectPointerMove(int screenX, int screenY);
    bool injectButton(int screenX, int screenY, int button, bool down);
    bool injectWheel(int screenX, int screenY, int delta);
    bool injectCloseRequest(WindowId id); // its close box
    // The host's own close request (a window manager's close action, or
    // its Alt+F4): also for a window without a close box, whose program
    // decides what closing it means.
    bool injectHostCloseRequest(WindowId id);
    bool injectMinimise(WindowId id);     // its minimise box
    bool injectUserGeometry(WindowId id, const Rect& client, std::uint32_t edges);
    void injectClipboardFromOtherProgram(std::string_view text);
    int pointerX() const { return pointerX_; }
    int pointerY() const { return pointerY_; }

protected:
    // What a backend mirrors on its host; the window is 0 for display-wide
    // changes. Shown puts the window on top; Stacking is any later change of
    // the order; Focus names the new active window (0: none).
    enum class Change : std::uint8_t {
        Created, Destroyed, Shown, Hidden, Minimised, Restored, Stacking, Geometry, Title, Limits, Cursor,
        Capture, Focus, Palette, Clipboard, Beep,
    };
    // Called after each change, before any event it causes is delivered.
    virtual void changed(Change what, WindowId id) {
        (void)what;
        (void)id;
    }

    // Backends: called by waitEvent when nothing is waiting; waits for input
    // (or for untilMs, the steady time the next timer is due, -1 without
    // timers) and returns false when nothing can arrive (waitEvent then throws).
    virtual bool waitForInput(std::int64_t untilMs) = 0;

    // Backends: called by peekEvent before it looks at the queue; takes the
    // input the host already holds, without waiting.
    virtual void pollInput() {}

    // Backends whose host keeps a clipboard of its own: asked by
    // clipboardText while no window of this program owns the clipboard.
    // Fills out and returns true when the clipboard holds text. The default
    // answers from the layer's own copy.
    virtual bool hostClipboardText(std::string& out) const;

private:
    WindowRecord* find(WindowId id);
    const WindowRecord* find(WindowId id) const;
    std::intptr_t deliver(const Event& event);
    bool askActivation(WindowRecord& w, Hit hit, int screenX, int screenY);
    // A user action on a window's frame: an inactive window is asked first
    // (a refusal eats the action) and made active when the action activates.
    // Returns the window, or null when the action is eaten or the window gone.
    WindowRecord* userAction(WindowId id, Hit hit, int screenX, int screenY, bool activates);
    bool canBeActive(const WindowRecord& w) const;
    void changeActive(WindowId next);
    void activateAndRaise(WindowId id);
    void focusAway(WindowId leaving);
    WindowId successor(WindowId leaving) const;
    bool ownedBy(const WindowRecord& w, WindowId owner) const;
    void bringToTop(WindowId id);
    void unlist(WindowId id);
    void applyGeometry(WindowRecord& w, const Rect& client, bool queued);
    void queue(const Event& e) { queue_.push_back(e); }
    void trackPointer(int screenX, int screenY);
    void forgetPointer(WindowId id);
    Event pointerEvent(EventType type, WindowId target, int screenX, int screenY) const;
    bool producePaint(Event& out);
    bool produceTimer(Event& out);
    std::int64_t nextTimerDue() const;

    struct Timer {
        TimerId id;
        std::int64_t interval, due;
    };

    int width_, height_;
    bool paletteMode_;
    Palette palette_;
    std::unique_ptr<Clock> clock_;
    Listener listener_;

    std::vector<std::unique_ptr<WindowRecord>> windows_;
    std::vector<WindowId> stack_;
    WindowId nextId_ = 1;
    WindowId active_ = 0;
    WindowId capture_ = 0;
    WindowId pointerWindow_ = 0; // client area under the pointer (no capture)

    std::deque<Event> queue_;
    bool quitPending_ = false;
    int quitCode_ = 0;
    std::vector<Timer> timers_;
    TimerId nextTimer_ = 1;

    std::vector<std::unique_ptr<CursorRecord>> cursors_; // stock cursors first

    std::string clipboard_;
    bool clipboardHasText_ = false;
    WindowId clipboardOwner_ = 0;
    int beeps_ = 0;

    std::uint32_t held_ = 0;
    std::uint32_t buttons_ = 0;
    int pointerX_ = -1, pointerY_ = -1;
};

struct DisplayOptions {
    int width = 1024, height = 768;
    bool paletteMode = false;
    bool offscreen = false; // ask for the offscreen display even when a screen is there
};

// Opens the display the program runs on, on the real clock: the X display
// named by DISPLAY unless the options ask for the offscreen one or no X
// server can be reached (then the offscreen display, with a line on stderr).
std::unique_ptr<Display> OpenDisplay(const DisplayOptions& options);

} // namespace plat
