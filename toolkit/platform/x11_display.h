// X11Display: the Display on an X server, through Xlib.
//
// Each native window is one X window (popups override-redirect, so no window
// manager frames or moves them). The backend mirrors what the layer decides
// (showing, stacking, focus, geometry, titles, owner and size hints, capture,
// cursors, the bell, the clipboard) and turns what the server reports into
// the layer's inject calls: keys with the PC scan code of the key's position
// (read from the keyboard's key names, so any layout and any keycode set
// gives the same codes; a dead key accents the next key's character),
// pointer buttons, motion and wheel, the window manager's close requests,
// moves, sizes, minimising and focus changes. A
// window the listener refuses to activate (a window under a modal dialog)
// keeps neither the focus nor a close request that the window manager gives it;
// a refused focus rings no bell (only a click on a blocked window does). The
// size hints ask for static gravity, so that a window manager frames the
// client area where the program put it.
//
// Pixels: each window keeps the image last sent to the server. Before a wait
// (and on present()) every shown window whose backing store was drawn on is
// compared with it, a row at a time, and what changed is sent with
// XPutImage; an Expose is answered from the same image, never by asking the
// program to paint, and a window shows nothing before its first Expose.
// Palette displays are shown through the palette as it is at that moment.
//
// The CLIPBOARD selection is offered as UTF-8 (and Latin-1 for old clients)
// with LF line ends; text from other programs is read as UTF-8 or Latin-1
// into Windows-1252 with CR LF line ends, characters the code page lacks
// becoming '?'.
//
// Owns the connection, its windows, cursors and images; the connection is
// closed by the destructor.
#pragma once

#include "toolkit/platform/display.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct _XDisplay;
struct _XImage;
union _XEvent;

namespace plat {

// What a key types after a dead key (its keysym in dead): the accented
// letter of the character typed, the accent alone after a blank or the same
// dead key again, a control character (Enter, Backspace) as it is, and 0
// where the accent has no letter for the character: the display then beeps
// and types the character bare. Composed as other X programs do, but only
// into letters Windows-1252 holds.
char32_t ComposeDeadKey(unsigned long dead, unsigned long sym, char32_t typed);

class X11Display : public Display {
public:
    // Connects to the server named (empty: the DISPLAY variable). Null, with
    // a message in *error, when it cannot connect or the screen is not a true
    // colour screen of 24 bits or more. Once connected it starts the thread
    // that reads the font configuration (FontCatalog::PrepareSystem): the
    // environment stays as it is from then on.
    static std::unique_ptr<X11Display> Open(const std::string& name, bool paletteMode, std::string* error = nullptr);
    ~X11Display() override;

    // Sends every shown window's changed pixels to the server and flushes.
    void present();

    // For tests and screenshots: the connection and a window's X window (0 none).
    _XDisplay* connection() const { return dpy_; }
    unsigned long xWindow(WindowId id) const;

    // For tests that drive the server from another client: the input the
    // server has reported so far, whatever became of it (a click on a
    // blocked window counts too), so that they can wait until what they
    // sent has arrived. Keys are counted at their release, modifiers left out.
    struct InputSeen {
        std::uint64_t buttonPresses = 0, buttonReleases = 0, keyReleases = 0;
    };
    const InputSeen& inputSeen() const { return seen_; }

protected:
    void changed(Change what, WindowId id) override;
    bool waitForInput(std::int64_t untilMs) override;
    void pollInput() override;
    bool hostClipboardText(std::string& out) const override;

private:
    struct Native {
        unsigned long xid = 0;
        _XImage* image = nullptr;
        std::vector<std::uint32_t> pixels; // the colours the server was last sent
        std::vector<char> raw;             // the image's bytes on servers of another pixel format
        std::uint64_t shownGeneration = 0; // the backing store's generation when last compared
        int width = 0, height = 0;
        bool mapped = false;
        bool exposedSinceMap = false;      // the server has asked for its pixels since it was mapped
        unsigned long mapSerial = 0;       // our last map or unmap of it
        unsigned long configureSerial = 0; // our last move or size of it
    };

    X11Display(_XDisplay* dpy, int width, int height, bool paletteMode);
    void readKeyboard();
    void makeImage(Native& n, int width, int height);
    void freeImage(Native& n);
    void presentWindow(WindowId id, Native& n, const Rect* exposed);
    unsigned long pixelValue(Rgb colour) const;
    void restack();
    void applyHints(WindowId id);
    void applyTitle(WindowId id);
    void focusHost(WindowId id);
    unsigned long xCursor(CursorId id);
    bool handleEvents(); // true when the server reported anything
    bool handle(_XEvent& e); // true when it became input of the layer
    bool handleKey(_XEvent& e, bool press);
    void answerSelection(_XEvent& e);
    std::uint32_t modifiersOf(unsigned state) const;
    WindowId idOf(unsigned long xid) const;
    Native* native(WindowId id);

    _XDisplay* dpy_ = nullptr;
    unsigned long root_ = 0;
    unsigned long selectionWindow_ = 0; // owns the CLIPBOARD for every window of ours
    void* gc_ = nullptr;
    int screen_ = 0;
    bool fastPixels_ = false; // the server takes 0x00RRGGBB words as they are
    unsigned numLockMask_ = 0, altMask_ = 0;
    std::uint8_t scan_[256] = {};
    bool extended_[256] = {};

    std::map<WindowId, Native> natives_;
    std::map<CursorId, unsigned long> cursors_;
    WindowId focusWanted_ = 0;         // to get the host's focus once it is mapped
    unsigned long focusSerial_ = 0;    // our last focus change
    std::string exported_;             // the text we offer while we own the selection
    bool ownSelection_ = false;
    bool quietBell_ = false;           // while a focus the window manager gave is questioned
    InputSeen seen_;
    unsigned long deadKey_ = 0;        // the dead key waiting for the next character, 0 none

    // Atoms.
    unsigned long aProtocols_ = 0, aDelete_ = 0, aUtf8_ = 0, aNetName_ = 0, aClipboard_ = 0, aTargets_ = 0,
                  aText_ = 0, aIncoming_ = 0, aMotifHints_ = 0, aWindowType_ = 0, aTypeDialog_ = 0, aTypeNormal_ = 0;
};

} // namespace plat
