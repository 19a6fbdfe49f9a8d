#include "toolkit/platform/x11_display.h"

#include "toolkit/platform/font_catalog.h"
#include "toolkit/platform/font_charset.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <poll.h>

// Xlib comes last: its macros (None, FocusIn, ButtonPress...) would clash
// with the layer's own names.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/keysym.h>

namespace plat {

namespace {

// Races are part of X (a window destroyed by the window manager while we
// still talk to it, a focus change for a window just unmapped): the default
// handler would end the program for them.
int IgnoreXErrors(::Display*, XErrorEvent*) { return 0; }

bool Same(const Rect& a, const Rect& b) { return a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1; }

// PC scan codes by the keyboard's key names; extended keys are the separate
// cursor block, the right-hand Ctrl and Alt, keypad Enter and divide and the
// like, which share a scan code with a key of the main block or the keypad.
struct KeyPosition {
    const char* name;
    std::uint8_t scan;
    bool extended;
};

constexpr KeyPosition kPositions[] = {
    {"ESC", 0x01, false},  {"AE01", 0x02, false}, {"AE02", 0x03, false}, {"AE03", 0x04, false},
    {"AE04", 0x05, false}, {"AE05", 0x06, false}, {"AE06", 0x07, false}, {"AE07", 0x08, false},
    {"AE08", 0x09, false}, {"AE09", 0x0A, false}, {"AE10", 0x0B, false}, {"AE11", 0x0C, false},
    {"AE12", 0x0D, false}, {"BKSP", 0x0E, false}, {"TAB", 0x0F, false},  {"AD01", 0x10, false},
    {"AD02", 0x11, false}, {"AD03", 0x12, false}, {"AD04", 0x13, false}, {"AD05", 0x14, false},
    {"AD06", 0x15, false}, {"AD07", 0x16, false}, {"AD08", 0x17, false}, {"AD09", 0x18, false},
    {"AD10", 0x19, false}, {"AD11", 0x1A, false}, {"AD12", 0x1B, false}, {"RTRN", 0x1C, false},
    {"LCTL", 0x1D, false}, {"AC01", 0x1E, false}, {"AC02", 0x1F, false}, {"AC03", 0x20, false},
    {"AC04", 0x21, false}, {"AC05", 0x22, false}, {"AC06", 0x23, false}, {"AC07", 0x24, false},
    {"AC08", 0x25, false}, {"AC09", 0x26, false}, {"AC10", 0x27, false}, {"AC11", 0x28, false},
    {"TLDE", 0x29, false}, {"LFSH", 0x2A, false}, {"BKSL", 0x2B, false}, {"AC12", 0x2B, false},
    {"AB01", 0x2C, false}, {"AB02", 0x2D, false}, {"AB03", 0x2E, false}, {"AB04", 0x2F, false},
    {"AB05", 0x30, false}, {"AB06", 0x31, false}, {"AB07", 0x32, false}, {"AB08", 0x33, false},
    {"AB09", 0x34, false}, {"AB10", 0x35, false}, {"RTSH", 0x36, false}, {"KPMU", 0x37, false},
    {"LALT", 0x38, false}, {"SPCE", 0x39, false}, {"CAPS", 0x3A, false}, {"FK01", 0x3B, false},
    {"FK02", 0x3C, false}, {"FK03", 0x3D, false}, {"FK04", 0x3E, false}, {"FK05", 0x3F, false},
    {"FK06", 0x40, false}, {"FK07", 0x41, false}, {"FK08", 0x42, false}, {"FK09", 0x43, false},
    {"FK10", 0x44, false}, {"NMLK", 0x45, true},  {"SCLK", 0x46, false}, {"KP7", 0x47, false},
    {"KP8", 0x48, false},  {"KP9", 0x49, false},  {"KPSU", 0x4A, false}, {"KP4", 0x4B, false},
    {"KP5", 0x4C, false},  {"KP6", 0x4D, false},  {"KPAD", 0x4E, false}, {"KP1", 0x4F, false},
    {"KP2", 0x50, false},  {"KP3", 0x51, false},  {"KP0", 0x52, false},  {"KPDL", 0x53, false},
    {"LSGT", 0x56, false}, {"FK11", 0x57, false}, {"FK12", 0x58, false}, {"KPEN", 0x1C, true},
    {"RCTL", 0x1D, true},  {"KPDV", 0x35, true},  {"PRSC", 0x37, true},  {"RALT", 0x38, true},
    {"PAUS", 0x45, false}, {"HOME", 0x47, true},  {"UP", 0x48, true},    {"PGUP", 0x49, true},
    {"LEFT", 0x4B, true},  {"RGHT", 0x4D, true},  {"END", 0x4F, true},   {"DOWN", 0x50, true},
    {"PGDN", 0x51, true},  {"INS", 0x52, true},   {"DELE", 0x53, true},  {"LWIN", 0x5B, true},
    {"RWIN", 0x5C, true},  {"COMP", 0x5D, true},  {"MENU", 0x5D, true},
};

// The same keys on a server without key names, by the usual keycodes (the
// Linux input codes plus 8).
void FallbackPositions(std::uint8_t* scan, bool* extended) {
    for (int code = 1; code <= 88; ++code)
        if (code < 0x54 || code > 0x55) scan[code + 8] = std::uint8_t(code);
    struct Ext {
        int code;
        std::uint8_t scan;
    };
    constexpr Ext ext[] = {{96, 0x1C},  {97, 0x1D},  {98, 0x35},  {99, 0x37},  {100, 0x38}, {102, 0x47},
                           {103, 0x48}, {104, 0x49}, {105, 0x4B}, {106, 0x4D}, {107, 0x4F}, {108, 0x50},
                           {109, 0x51}, {110, 0x52}, {111, 0x53}, {125, 0x5B}, {126, 0x5C}, {127, 0x5D}};
    for (const Ext& e : ext) {
        scan[e.code + 8] = e.scan;
        extended[e.code + 8] = true;
    }
    extended[0x45 + 8] = true; // Num Lock
}

// The Unicode character a keysym types, 0 for none.
char32_t KeysymCharacter(KeySym sym) {
    if ((sym >= 0x20 && sym <= 0x7E) || (sym >= 0xA0 && sym <= 0xFF)) return char32_t(sym);
    if ((sym & 0xFF000000UL) == 0x01000000UL) return char32_t(sym & 0x00FFFFFFUL);
    if (sym >= XK_KP_0 && sym <= XK_KP_9) return char32_t('0' + (sym - XK_KP_0));
    switch (sym) {
    case XK_BackSpace: return 8;
    case XK_Tab:
    case XK_ISO_Left_Tab:
    case XK_KP_Tab: return 9;
    case XK_Return:
    case XK_KP_Enter: return 13;
    case XK_Escape: return 27;
    case XK_KP_Space: return ' ';
    case XK_KP_Equal: return '=';
    case XK_KP_Multiply: return '*';
    case XK_KP_Add: return '+';
    case XK_KP_Separator: return ',';
    case XK_KP_Subtract: return '-';
    case XK_KP_Decimal: return '.';
    case XK_KP_Divide: return '/';
    case XK_EuroSign: return 0x20AC;
    case XK_Scaron: return 0x160;
    case XK_scaron: return 0x161;
    case XK_Zcaron: return 0x17D;
    case XK_zcaron: return 0x17E;
    default: return 0;
    }
}

bool IsDeadKey(KeySym sym) { return sym >= XK_dead_grave && sym <= 0xFE8F; }

// The accents a dead key puts on the letters of Windows-1252.
struct Accent {
    KeySym dead;
    char32_t alone;
    const char* bases;
    const char32_t* letters;
};
constexpr Accent kAccents[] = {
    {XK_dead_grave, '`', "AEIOUaeiou", U"\u00C0\u00C8\u00CC\u00D2\u00D9\u00E0\u00E8\u00EC\u00F2\u00F9"},
    {XK_dead_acute, 0xB4, "AEIOUYaeiouy",
     U"\u00C1\u00C9\u00CD\u00D3\u00DA\u00DD\u00E1\u00E9\u00ED\u00F3\u00FA\u00FD"},
    {XK_dead_circumflex, '^', "AEIOUaeiou", U"\u00C2\u00CA\u00CE\u00D4\u00DB\u00E2\u00EA\u00EE\u00F4\u00FB"},
    {XK_dead_tilde, '~', "ANOano", U"\u00C3\u00D1\u00D5\u00E3\u00F1\u00F5"},
    {XK_dead_diaeresis, 0xA8, "AEIOUYaeiouy",
     U"\u00C4\u00CB\u00CF\u00D6\u00DC\u0178\u00E4\u00EB\u00EF\u00F6\u00FC\u00FF"},
    {XK_dead_abovering, 0xB0, "Aa", U"\u00C5\u00E5"},
    {XK_dead_cedilla, 0xB8, "Cc", U"\u00C7\u00E7"},
    {XK_dead_caron, 0x2C7, "SZsz", U"\u0160\u017D\u0161\u017E"},
};

// One UTF-8 sequence at text[i]; malformed bytes give U+FFFD one byte at a time.
char32_t NextUtf8(std::string_view text, std::size_t& i) {
    unsigned char b = static_cast<unsigned char>(text[i++]);
    if (b < 0x80) return b;
    int more = b >= 0xF0 && b < 0xF8 ? 3 : b >= 0xE0 ? 2 : b >= 0xC2 && b < 0xE0 ? 1 : -1;
    if (more < 0 || b >= 0xF8) return 0xFFFD;
    char32_t c = b & (0x3F >> more);
    for (int k = 0; k < more; ++k) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 0xFFFD;
        c = (c << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    return c;
}

// Another program's text: lines end in CR LF as the toolkit's plain text
// does, and a character the code page cannot hold becomes '?'.
std::string FromHost(std::string_view text, bool utf8) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t c = utf8 ? NextUtf8(text, i) : char32_t(static_cast<unsigned char>(text[i++]));
        if (c == 0) continue;
        if (c == '\n' && (out.empty() || out.back() != '\r')) out += '\r';
        std::optional<unsigned char> b = UnicodeToCp1252(c);
        out += b ? char(*b) : '?';
    }
    return out;
}

// Ours, for X clients: LF line ends, as UTF-8 or Latin-1.
std::string ToHost(std::string_view text, bool utf8) {
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) plain += text[i];
    if (utf8) return Cp1252ToUtf8(plain);
    for (char& c : plain) {
        char32_t u = Cp1252ToUnicode(static_cast<unsigned char>(c));
        c = u < 0x100 ? char(u) : '?';
    }
    return plain;
}

constexpr long kWindowEvents = ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                               PointerMotionMask | EnterWindowMask | LeaveWindowMask | StructureNotifyMask |
                               FocusChangeMask;

GC Gc(void* gc) { return static_cast<GC>(gc); }

} // namespace

char32_t ComposeDeadKey(unsigned long dead, unsigned long sym, char32_t typed) {
    for (const Accent& a : kAccents) {
        if (a.dead != dead) continue;
        if (typed == ' ' || sym == dead) return a.alone;
        for (int i = 0; a.bases[i]; ++i)
            if (char32_t(a.bases[i]) == typed) return a.letters[i];
    }
    return typed < 0x20 ? typed : 0;
}

// --- Connection.

std::unique_ptr<X11Display> X11Display::Open(const std::string& name, bool paletteMode, std::string* error) {
    ::Display* d = XOpenDisplay(name.empty() ? nullptr : name.c_str());
    if (!d) {
        if (error) *error = "cannot open the X display \"" + name + "\"";
        return nullptr;
    }
    int s = DefaultScreen(d);
    Visual* v = DefaultVisual(d, s);
    if (DefaultDepth(d, s) < 24 || v->c_class != TrueColor) {
        if (error) *error = "the X display \"" + name + "\" is not a true-colour screen of 24 bits";
        XCloseDisplay(d);
        return nullptr;
    }
    // The first text will need the font configuration: it is read while the
    // windows are made. Not before the display is sure: a program that
    // cannot use its display ends at once, with no thread left reading.
    FontCatalog::PrepareSystem();
    XSetErrorHandler(IgnoreXErrors);
    return std::unique_ptr<X11Display>(new X11Display(d, DisplayWidth(d, s), DisplayHeight(d, s), paletteMode));
}

X11Display::X11Display(_XDisplay* dpy, int width, int height, bool paletteMode)
    : Display(width, height, paletteMode, std::make_unique<RealClock>()), dpy_(dpy) {
    screen_ = DefaultScreen(dpy_);
    root_ = RootWindow(dpy_, screen_);
    gc_ = XCreateGC(dpy_, root_, 0, nullptr);
    selectionWindow_ = XCreateSimpleWindow(dpy_, root_, -10, -10, 1, 1, 0, 0, 0);
    // One round trip for all the names, not one each.
    char* names[] = {const_cast<char*>("WM_PROTOCOLS"),     const_cast<char*>("WM_DELETE_WINDOW"),
                     const_cast<char*>("UTF8_STRING"),      const_cast<char*>("_NET_WM_NAME"),
                     const_cast<char*>("CLIPBOARD"),        const_cast<char*>("TARGETS"),
                     const_cast<char*>("TEXT"),             const_cast<char*>("WOKU_SELECTION"),
                     const_cast<char*>("_MOTIF_WM_HINTS"),  const_cast<char*>("_NET_WM_WINDOW_TYPE"),
                     const_cast<char*>("_NET_WM_WINDOW_TYPE_DIALOG"), const_cast<char*>("_NET_WM_WINDOW_TYPE_NORMAL")};
    Atom atoms[std::size(names)] = {};
    XInternAtoms(dpy_, names, int(std::size(names)), False, atoms);
    unsigned long* targets[] = {&aProtocols_, &aDelete_,  &aUtf8_,        &aNetName_,   &aClipboard_,  &aTargets_,
                                &aText_,      &aIncoming_, &aMotifHints_, &aWindowType_, &aTypeDialog_, &aTypeNormal_};
    for (std::size_t i = 0; i < std::size(names); ++i) *targets[i] = atoms[i];

    Visual* v = DefaultVisual(dpy_, screen_);
    XImage* probe = XCreateImage(dpy_, v, DefaultDepth(dpy_, screen_), ZPixmap, 0, nullptr, 1, 1, 32, 0);
    const int one = 1;
    bool littleHost = *reinterpret_cast<const char*>(&one) == 1;
    fastPixels_ = probe && probe->bits_per_pixel == 32 && v->red_mask == 0xFF0000 && v->green_mask == 0xFF00 &&
                  v->blue_mask == 0xFF && (probe->byte_order == LSBFirst) == littleHost;
    if (probe) XDestroyImage(probe);
    readKeyboard();
}

X11Display::~X11Display() {
    for (auto& [id, n] : natives_) {
        freeImage(n);
        XDestroyWindow(dpy_, n.xid);
    }
    for (auto& [id, c] : cursors_) XFreeCursor(dpy_, c);
    XDestroyWindow(dpy_, selectionWindow_);
    XFreeGC(dpy_, Gc(gc_));
    XCloseDisplay(dpy_);
}

void X11Display::readKeyboard() {
    std::fill(std::begin(scan_), std::end(scan_), 0);
    std::fill(std::begin(extended_), std::end(extended_), false);
    bool named = false;
    if (XkbDescPtr xkb = XkbGetMap(dpy_, 0, XkbUseCoreKbd)) {
        if (XkbGetNames(dpy_, XkbKeyNamesMask, xkb) == Success && xkb->names && xkb->names->keys) {
            for (int kc = xkb->min_key_code; kc <= xkb->max_key_code && kc < 256; ++kc) {
                const char* raw = xkb->names->keys[kc].name;
                std::string key(raw, strnlen(raw, XkbKeyNameLength));
                for (const KeyPosition& p : kPositions)
                    if (key == p.name) {
                        scan_[kc] = p.scan;
                        extended_[kc] = p.extended;
                        named = true;
                    }
            }
        }
        XkbFreeKeyboard(xkb, 0, True);
    }
    if (!named) FallbackPositions(scan_, extended_);

    numLockMask_ = altMask_ = 0;
    if (XModifierKeymap* map = XGetModifierMapping(dpy_)) {
        for (int m = 3; m < 8; ++m)
            for (int i = 0; i < map->max_keypermod; ++i) {
                KeyCode kc = map->modifiermap[m * map->max_keypermod + i];
                if (!kc) continue;
                KeySym s = XkbKeycodeToKeysym(dpy_, kc, 0, 0);
                if (s == XK_Num_Lock) numLockMask_ |= 1u << m;
                if (s == XK_Alt_L || s == XK_Alt_R || s == XK_Meta_L || s == XK_Meta_R) altMask_ |= 1u << m;
            }
        XFreeModifiermap(map);
    }
    if (!altMask_) altMask_ = Mod1Mask;
}

WindowId X11Display::idOf(unsigned long xid) const {
    for (const auto& [id, n] : natives_)
        if (n.xid == xid) return id;
    return 0;
}

X11Display::Native* X11Display::native(WindowId id) {
    auto it = natives_.find(id);
    return it == natives_.end() ? nullptr : &it->second;
}

unsigned long X11Display::xWindow(WindowId id) const {
    auto it = natives_.find(id);
    return it == natives_.end() ? 0 : it->second.xid;
}

// --- Pixels.

void X11Display::freeImage(Native& n) {
    if (!n.image) return;
    n.image->data = nullptr; // the pixels belong to the record
    XDestroyImage(n.image);
    n.image = nullptr;
}

void X11Display::makeImage(Native& n, int width, int height) {
    freeImage(n);
    n.width = width;
    n.height = height;
    n.shownGeneration = 0;
    n.raw.clear();
    // On a server of our pixel format the colours sent are kept from the
    // first frame on, which goes straight from the backing store (see
    // presentWindow); elsewhere they start black.
    if (fastPixels_) n.pixels.clear();
    else n.pixels.assign(std::size_t(width) * std::size_t(height), 0);
    if (width <= 0 || height <= 0) return;
    n.image = XCreateImage(dpy_, DefaultVisual(dpy_, screen_), DefaultDepth(dpy_, screen_), ZPixmap, 0, nullptr,
                           unsigned(width), unsigned(height), 32, 0);
    if (!n.image) return;
    if (!fastPixels_) {
        n.raw.assign(std::size_t(n.image->bytes_per_line) * std::size_t(height), 0);
        n.image->data = n.raw.data();
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) XPutPixel(n.image, x, y, pixelValue(0));
    }
}

unsigned long X11Display::pixelValue(Rgb colour) const {
    Visual* v = DefaultVisual(dpy_, screen_);
    auto place = [](unsigned long mask, int value) {
        if (!mask) return 0UL;
        int shift = 0;
        while (!(mask & 1UL)) {
            mask >>= 1;
            ++shift;
        }
        int bits = 0;
        while (mask & 1UL) {
            mask >>= 1;
            ++bits;
        }
        unsigned long scaled = bits >= 8 ? (unsigned long)value << (bits - 8) : (unsigned long)value >> (8 - bits);
        return scaled << shift;
    };
    return place(v->red_mask, RedOf(colour)) | place(v->green_mask, GreenOf(colour)) |
           place(v->blue_mask, BlueOf(colour));
}

void X11Display::presentWindow(WindowId id, Native& n, const Rect* exposed) {
    const WindowRecord* w = window(id);
    if (!w || !n.image) return;
    const Surface& s = w->surface;
    if (s.width() != n.width || s.height() != n.height) return; // a resize is on its way
    // A window shows nothing until the server exposes it after its map (the
    // Expose brings its pixels), and a backing store nobody drew on since the
    // last time has nothing new.
    if (!exposed && (!n.exposedSinceMap || n.shownGeneration == s.generation())) return;
    n.shownGeneration = s.generation();
    const Rgb* palette = s.paletted() ? s.palette()->entries : nullptr;
    const std::size_t area = std::size_t(n.width) * std::size_t(n.height);
    if (fastPixels_ && n.pixels.empty()) {
        if (!palette) {
            // The first frame goes whole, straight from the backing store;
            // the copy later frames are compared with is made after it has
            // gone, while the server draws: a window's worth of fresh memory
            // takes longer to come by than the frame to send.
            if (n.mapped) {
                n.image->data = reinterpret_cast<char*>(const_cast<Rgb*>(s.pixels()));
                XPutImage(dpy_, n.xid, Gc(gc_), n.image, 0, 0, 0, 0, unsigned(n.width), unsigned(n.height));
                XFlush(dpy_);
            }
            n.pixels.assign(s.pixels(), s.pixels() + area);
            n.image->data = reinterpret_cast<char*>(n.pixels.data());
            return;
        }
        n.pixels.assign(area, 0);
        n.image->data = reinterpret_cast<char*>(n.pixels.data());
    }
    // Only what changed since the last time goes to the server.
    int x0 = n.width, y0 = n.height, x1 = 0, y1 = 0;
    for (int y = 0; y < n.height; ++y) {
        const std::size_t row = std::size_t(y) * std::size_t(n.width);
        std::uint32_t* shown = n.pixels.data() + row;
        int from = 0, to = n.width; // the changed columns of the row
        if (!palette) {
            const Rgb* now = s.pixels() + row;
            if (std::memcmp(shown, now, std::size_t(n.width) * sizeof(Rgb)) == 0) continue;
            while (shown[from] == now[from]) ++from;
            while (shown[to - 1] == now[to - 1]) --to;
            std::memcpy(shown + from, now + from, std::size_t(to - from) * sizeof(Rgb));
            if (!fastPixels_)
                for (int x = from; x < to; ++x) XPutPixel(n.image, x, y, pixelValue(shown[x]));
        } else {
            from = n.width, to = 0;
            for (int x = 0; x < n.width; ++x) {
                Rgb c = palette[s.indices()[row + std::size_t(x)]];
                if (c == shown[x]) continue;
                shown[x] = c;
                if (!fastPixels_) XPutPixel(n.image, x, y, pixelValue(c));
                from = std::min(from, x);
                to = x + 1;
            }
            if (from >= to) continue;
        }
        x0 = std::min(x0, from);
        x1 = std::max(x1, to);
        y0 = std::min(y0, y);
        y1 = y + 1;
    }
    Rect put = x0 < x1 ? Rect{x0, y0, x1, y1} : Rect{};
    if (exposed) put = Union(put, Intersect(*exposed, s.bounds()));
    if (put.empty() || !n.mapped) return;
    XPutImage(dpy_, n.xid, Gc(gc_), n.image, put.x0, put.y0, put.x0, put.y0, unsigned(put.width()),
              unsigned(put.height()));
}

void X11Display::present() {
    for (auto& [id, n] : natives_) presentWindow(id, n, nullptr);
    XFlush(dpy_);
}

// --- Mirroring the layer's decisions.

void X11Display::applyTitle(WindowId id) {
    const WindowRecord* w = window(id);
    Native* n = native(id);
    if (!w || !n) return;
    std::string latin = ToHost(w->title, false), utf8 = ToHost(w->title, true);
    XChangeProperty(dpy_, n->xid, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(latin.data()), int(latin.size()));
    XChangeProperty(dpy_, n->xid, aNetName_, aUtf8_, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(utf8.data()), int(utf8.size()));
}

void X11Display::applyHints(WindowId id) {
    const WindowRecord* w = window(id);
    Native* n = native(id);
    if (!w || !n || w->kind == WindowKind::Popup) return;
    if (XSizeHints* h = XAllocSizeHints()) {
        // Static gravity: a window manager puts its frame around the client
        // area where the program placed it instead of moving it by the frame.
        h->flags = PPosition | USPosition | PMinSize | PWinGravity;
        h->win_gravity = StaticGravity;
        h->x = w->client.x0;
        h->y = w->client.y0;
        h->min_width = w->limits.holdWidth ? w->client.width() : std::max(w->limits.minWidth, 1);
        h->min_height = w->limits.holdHeight ? w->client.height() : std::max(w->limits.minHeight, 1);
        if (w->limits.holdWidth || w->limits.holdHeight) {
            h->flags |= PMaxSize;
            h->max_width = w->limits.holdWidth ? w->client.width() : 8192;
            h->max_height = w->limits.holdHeight ? w->client.height() : 8192;
        }
        XSetWMNormalHints(dpy_, n->xid, h);
        XFree(h);
    }
    // The frame's functions: a window without a close box offers no close.
    long functions = 0x4; // move
    if (!(w->limits.holdWidth && w->limits.holdHeight)) functions |= 0x2;
    if (w->boxes & kMinimiseBox) functions |= 0x8;
    if (w->boxes & kMaximiseBox) functions |= 0x10;
    if (w->boxes & kCloseBox) functions |= 0x20;
    long motif[5] = {1, functions, 0, 0, 0};
    XChangeProperty(dpy_, n->xid, aMotifHints_, aMotifHints_, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(motif), 5);
}

void X11Display::restack() {
    // Raised bottom first, each window ends above the ones before it; a
    // window manager gets the same requests for its frames.
    for (WindowId id : zOrder())
        if (Native* n = native(id)) XRaiseWindow(dpy_, n->xid);
}

void X11Display::focusHost(WindowId id) {
    Native* n = native(id);
    if (!n) return;
    // Focus reports the server made before this decision are old news, also
    // while the window waits to be mapped (a window manager's report for the
    // window it chose after a minimise would otherwise overrule a raise).
    focusSerial_ = NextRequest(dpy_);
    if (!n->mapped) {
        focusWanted_ = id;
        return;
    }
    focusWanted_ = 0;
    XSetInputFocus(dpy_, n->xid, RevertToParent, CurrentTime);
}

unsigned long X11Display::xCursor(CursorId id) {
    if (id == 0) id = stockCursor(StockCursor::Arrow);
    const CursorRecord* c = cursorInfo(id);
    auto it = cursors_.find(id);
    if (!c) {
        if (it != cursors_.end()) {
            XFreeCursor(dpy_, it->second);
            cursors_.erase(it);
        }
        return xCursor(0);
    }
    if (it != cursors_.end()) return it->second;
    Cursor made = 0;
    if (c->stock) {
        static constexpr unsigned kShapes[] = {XC_left_ptr,           XC_crosshair,          XC_watch,
                                               XC_sb_h_double_arrow,  XC_sb_v_double_arrow,  XC_bottom_right_corner,
                                               XC_bottom_left_corner};
        made = XCreateFontCursor(dpy_, kShapes[std::size_t(c->shape) % std::size(kShapes)]);
    } else {
        // Two colours: dark pixels black, the others white.
        int w = c->image.width(), h = c->image.height(), stride = (w + 7) / 8;
        std::vector<char> bits(std::size_t(stride) * std::size_t(h), 0), mask(bits.size(), char(0xFF));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                Rgb p = c->image.colorAt(x, y);
                if (RedOf(p) * 3 + GreenOf(p) * 6 + BlueOf(p) < 128 * 10)
                    bits[std::size_t(y * stride + x / 8)] = char(bits[std::size_t(y * stride + x / 8)] | (1 << (x % 8)));
            }
        Pixmap src = XCreateBitmapFromData(dpy_, root_, bits.data(), unsigned(w), unsigned(h));
        Pixmap msk = XCreateBitmapFromData(dpy_, root_, mask.data(), unsigned(w), unsigned(h));
        XColor black{}, white{};
        white.red = white.green = white.blue = 0xFFFF;
        black.flags = white.flags = DoRed | DoGreen | DoBlue;
        made = XCreatePixmapCursor(dpy_, src, msk, &black, &white, unsigned(c->hotX), unsigned(c->hotY));
        XFreePixmap(dpy_, src);
        XFreePixmap(dpy_, msk);
    }
    cursors_[id] = made;
    return made;
}

void X11Display::changed(Change what, WindowId id) {
    const WindowRecord* w = window(id);
    Native* n = native(id);
    switch (what) {
    case Change::Created: {
        if (!w) return;
        XSetWindowAttributes a{};
        a.background_pixmap = 0; // no background: the backing store answers every expose
        a.border_pixel = 0;
        a.event_mask = kWindowEvents;
        a.override_redirect = w->kind == WindowKind::Popup ? True : False;
        a.cursor = xCursor(0);
        Window x = XCreateWindow(dpy_, root_, w->client.x0, w->client.y0, unsigned(std::max(w->client.width(), 1)),
                                 unsigned(std::max(w->client.height(), 1)), 0, CopyFromParent, InputOutput,
                                 CopyFromParent, CWBackPixmap | CWBorderPixel | CWEventMask | CWOverrideRedirect | CWCursor,
                                 &a);
        Native& made = natives_[id];
        made.xid = x;
        Atom del = aDelete_;
        XSetWMProtocols(dpy_, x, &del, 1);
        if (XWMHints* h = XAllocWMHints()) {
            h->flags = InputHint | StateHint;
            h->input = True;
            h->initial_state = NormalState;
            XSetWMHints(dpy_, x, h);
            XFree(h);
        }
        if (Native* owner = native(w->owner)) XSetTransientForHint(dpy_, x, owner->xid);
        Atom type = w->owner ? aTypeDialog_ : aTypeNormal_;
        XChangeProperty(dpy_, x, aWindowType_, XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&type), 1);
        applyTitle(id);
        applyHints(id);
        makeImage(made, w->surface.width(), w->surface.height());
        return;
    }
    case Change::Destroyed:
        if (!n) return;
        freeImage(*n);
        XDestroyWindow(dpy_, n->xid);
        natives_.erase(id);
        if (focusWanted_ == id) focusWanted_ = 0;
        XFlush(dpy_);
        return;
    case Change::Shown:
        if (!w || !n) return;
        applyHints(id);
        n->configureSerial = NextRequest(dpy_);
        XMoveWindow(dpy_, n->xid, w->client.x0, w->client.y0);
        n->mapSerial = NextRequest(dpy_);
        XMapRaised(dpy_, n->xid);
        restack();
        XFlush(dpy_);
        return;
    case Change::Hidden:
        if (!n) return;
        n->mapSerial = NextRequest(dpy_);
        XWithdrawWindow(dpy_, n->xid, screen_);
        XFlush(dpy_);
        return;
    case Change::Minimised:
        // When the window manager minimised it, it is unmapped already.
        if (n && n->mapped) XIconifyWindow(dpy_, n->xid, screen_);
        return;
    case Change::Restored:
        if (!n) return;
        n->mapSerial = NextRequest(dpy_);
        XMapRaised(dpy_, n->xid);
        restack();
        return;
    case Change::Stacking:
        restack();
        return;
    case Change::Geometry:
        if (!w || !n) return;
        n->configureSerial = NextRequest(dpy_);
        XMoveResizeWindow(dpy_, n->xid, w->client.x0, w->client.y0, unsigned(std::max(w->client.width(), 1)),
                          unsigned(std::max(w->client.height(), 1)));
        if (w->surface.width() != n->width || w->surface.height() != n->height)
            makeImage(*n, w->surface.width(), w->surface.height());
        if (w->limits.holdWidth || w->limits.holdHeight) applyHints(id);
        return;
    case Change::Title:
        applyTitle(id);
        return;
    case Change::Limits:
        applyHints(id);
        return;
    case Change::Cursor:
        if (w && n) XDefineCursor(dpy_, n->xid, xCursor(w->cursor));
        return;
    case Change::Capture:
        if (n)
            XGrabPointer(dpy_, n->xid, False,
                         ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask,
                         GrabModeAsync, GrabModeAsync, 0, 0, CurrentTime);
        else
            XUngrabPointer(dpy_, CurrentTime);
        XFlush(dpy_);
        return;
    case Change::Focus:
        focusHost(id);
        XFlush(dpy_);
        return;
    case Change::Palette:
        // The colours change without a drawing: everything is compared.
        for (auto& [window, shown] : natives_) shown.shownGeneration = 0;
        present();
        return;
    case Change::Clipboard: {
        std::string text;
        if (!clipboardText(text)) return;
        exported_ = text;
        XSetSelectionOwner(dpy_, aClipboard_, selectionWindow_, CurrentTime);
        ownSelection_ = XGetSelectionOwner(dpy_, aClipboard_) == selectionWindow_;
        return;
    }
    case Change::Beep:
        if (quietBell_) return;
        XBell(dpy_, 0);
        XFlush(dpy_);
        return;
    }
}

// --- Input.

std::uint32_t X11Display::modifiersOf(unsigned state) const {
    std::uint32_t m = 0;
    if (state & ShiftMask) m |= kShift;
    if (state & ControlMask) m |= kCtrl;
    if (state & altMask_) m |= kAlt;
    if (state & numLockMask_) m |= kNumLock;
    return m;
}

bool X11Display::handleKey(_XEvent& e, bool press) {
    XKeyEvent& k = e.xkey;
    char text[32];
    KeySym sym = 0;
    XLookupString(&k, text, sizeof text, &sym, nullptr);
    KeySym plain = XkbKeycodeToKeysym(dpy_, KeyCode(k.keycode), 0, 0);
    // The event tells the state before the key; a modifier key changes it.
    std::uint32_t mods = modifiersOf(k.state);
    auto set = [&](std::uint32_t bit) { mods = press ? (mods | bit) : (mods & ~bit); };
    switch (plain) {
    case XK_Shift_L:
    case XK_Shift_R: set(kShift); break;
    case XK_Control_L:
    case XK_Control_R: set(kCtrl); break;
    case XK_Alt_L:
    case XK_Alt_R:
    case XK_Meta_L:
    case XK_Meta_R: set(kAlt); break;
    case XK_Num_Lock:
        if (press) mods ^= kNumLock;
        break;
    default: break;
    }
    holdModifiers(mods);
    if (!press) {
        if (!IsModifierKey(plain)) ++seen_.keyReleases;
        return false;
    }

    KeyInfo info;
    unsigned kc = k.keycode & 0xFF;
    info.scanCode = scan_[kc];
    info.extended = extended_[kc];
    if (plain >= XK_a && plain <= XK_z)
        info.virtualKey = std::uint16_t('A' + (plain - XK_a));
    else if (!info.extended && info.scanCode >= 0x02 && info.scanCode <= 0x0B)
        info.virtualKey = std::uint16_t(info.scanCode == 0x0B ? '0' : '1' + (info.scanCode - 0x02));
    else if (!info.extended && info.scanCode == 0x39)
        info.virtualKey = ' ';

    char32_t c = KeysymCharacter(sym);
    if ((mods & kCtrl) && !(mods & kAlt)) {
        // Ctrl with a letter types its control character, with anything else nothing.
        c = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ? char32_t(c & 0x1F) : 0;
    }
    // A dead key types nothing itself: it waits for the next key, which it
    // accents; a key that types nothing (a cursor key) forgets it.
    if (IsDeadKey(sym)) {
        if (deadKey_ && (c = ComposeDeadKey(deadKey_, sym, 0)) != 0) deadKey_ = 0;
        else deadKey_ = sym;
    } else if (deadKey_ && !IsModifierKey(plain)) {
        // A character the accent cannot go on is typed bare, with a beep:
        // the accent is lost, and the writer hears it.
        const char32_t composed = c ? ComposeDeadKey(deadKey_, sym, c) : 0;
        if (c && !composed) beep();
        else c = composed;
        deadKey_ = 0;
    }
    if (c) {
        std::optional<unsigned char> b = UnicodeToCp1252(c);
        info.character = b ? *b : 0;
    }
    return injectKey(info);
}

void X11Display::answerSelection(_XEvent& e) {
    XSelectionRequestEvent& r = e.xselectionrequest;
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.display = r.display;
    reply.xselection.requestor = r.requestor;
    reply.xselection.selection = r.selection;
    reply.xselection.target = r.target;
    reply.xselection.time = r.time;
    reply.xselection.property = 0;
    Atom property = r.property ? r.property : r.target; // clients of old conventions give none
    if (ownSelection_ && r.selection == aClipboard_) {
        if (r.target == aTargets_) {
            Atom targets[] = {aTargets_, aUtf8_, XA_STRING, aText_};
            XChangeProperty(dpy_, r.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(targets), 4);
            reply.xselection.property = property;
        } else if (r.target == aUtf8_ || r.target == aText_ || r.target == XA_STRING) {
            bool utf8 = r.target != XA_STRING;
            std::string data = ToHost(exported_, utf8);
            // Larger texts would need the incremental protocol; they are refused.
            long limit = XExtendedMaxRequestSize(dpy_) ? XExtendedMaxRequestSize(dpy_) : XMaxRequestSize(dpy_);
            if (long(data.size()) < limit * 4 - 1024) {
                XChangeProperty(dpy_, r.requestor, property, utf8 ? aUtf8_ : XA_STRING, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(data.data()), int(data.size()));
                reply.xselection.property = property;
            }
        }
    }
    XSendEvent(dpy_, r.requestor, False, 0, &reply);
    XFlush(dpy_);
}

bool X11Display::hostClipboardText(std::string& out) const {
    if (ownSelection_) {
        // Ours still, though the window that put it there is gone.
        out = exported_;
        return true;
    }
    ::Display* d = dpy_;
    if (XGetSelectionOwner(d, aClipboard_) == 0) return false;
    for (Atom target : {Atom(aUtf8_), Atom(XA_STRING)}) {
        XDeleteProperty(d, selectionWindow_, aIncoming_);
        XConvertSelection(d, aClipboard_, target, aIncoming_, selectionWindow_, CurrentTime);
        XFlush(d);
        // Other events stay queued for the loop; an owner that does not
        // answer within two seconds holds no text for us.
        XEvent e;
        bool answered = false;
        for (int waited = 0; waited < 2000 && !answered;) {
            if (XCheckTypedWindowEvent(d, selectionWindow_, SelectionNotify, &e)) {
                answered = true;
                break;
            }
            pollfd p{ConnectionNumber(d), POLLIN, 0};
            poll(&p, 1, 20);
            waited += 20;
        }
        if (!answered || e.xselection.property == 0) continue;
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(d, selectionWindow_, aIncoming_, 0, LONG_MAX / 4, True, AnyPropertyType, &type, &format,
                               &count, &after, &data) != Success)
            continue;
        bool ok = data && format == 8 && (type == aUtf8_ || type == XA_STRING);
        if (ok) out = FromHost(std::string_view(reinterpret_cast<char*>(data), count), type == aUtf8_);
        if (data) XFree(data);
        if (ok) return true;
    }
    return false;
}

bool X11Display::handle(_XEvent& e) {
    WindowId id = idOf(e.xany.window);
    switch (e.type) {
    case Expose: {
        Native* n = native(id);
        if (!n) return false;
        Rect r{e.xexpose.x, e.xexpose.y, e.xexpose.x + e.xexpose.width, e.xexpose.y + e.xexpose.height};
        n->exposedSinceMap = n->mapped;
        presentWindow(id, *n, &r);
        return false;
    }
    case ConfigureNotify: {
        Native* n = native(id);
        const WindowRecord* w = window(id);
        if (!n || !w) return false;
        XConfigureEvent& c = e.xconfigure;
        // Reports of our own moves that were overtaken by a later one are old news.
        if (!c.send_event && c.serial < n->configureSerial) return false;
        // While a window manager takes the window in, before it maps it,
        // the server reports its passing work (sizes the window had before
        // the program's last request reached it), nothing the user did.
        if (!c.send_event && !n->mapped) return false;
        int x = c.x, y = c.y;
        if (!c.send_event) {
            Window child;
            XTranslateCoordinates(dpy_, n->xid, root_, 0, 0, &x, &y, &child);
        }
        Rect r{x, y, x + c.width, y + c.height};
        if (Same(r, w->client) || !w->shown || w->minimised) return false;
        std::uint32_t edges = 0;
        if (r.width() != w->client.width()) edges |= r.x0 != w->client.x0 ? kEdgeLeft : kEdgeRight;
        if (r.height() != w->client.height()) edges |= r.y0 != w->client.y0 ? kEdgeTop : kEdgeBottom;
        bool taken = injectUserGeometry(id, r, edges);
        // A refused or limited change is undone on the screen.
        w = window(id);
        n = native(id);
        if (w && n && !Same(r, w->client)) {
            n->configureSerial = NextRequest(dpy_);
            XMoveResizeWindow(dpy_, n->xid, w->client.x0, w->client.y0, unsigned(std::max(w->client.width(), 1)),
                              unsigned(std::max(w->client.height(), 1)));
        }
        return taken;
    }
    case MapNotify: {
        Native* n = native(id);
        if (!n) return false;
        n->mapped = true;
        if (focusWanted_ == id) focusHost(id);
        const WindowRecord* w = window(id);
        if (w && w->minimised && e.xmap.serial >= n->mapSerial) return raise(id); // restored by the window manager
        return false;
    }
    case UnmapNotify: {
        Native* n = native(id);
        if (!n) return false;
        n->mapped = false;
        n->exposedSinceMap = false;
        if (e.xunmap.serial < n->mapSerial) return false; // our own, or before our last show
        const WindowRecord* w = window(id);
        if (!w || !w->shown || w->minimised) return false;
        // Minimised by the window manager; a blocked window comes back.
        if (injectMinimise(id)) return true;
        if ((n = native(id))) {
            n->mapSerial = NextRequest(dpy_);
            XMapRaised(dpy_, n->xid);
        }
        return false;
    }
    case ClientMessage:
        if (id && e.xclient.message_type == aProtocols_ && e.xclient.format == 32 &&
            Atom(e.xclient.data.l[0]) == aDelete_)
            return injectHostCloseRequest(id);
        return false;
    case KeyPress:
    case KeyRelease:
        return handleKey(e, e.type == KeyPress);
    case ButtonPress:
    case ButtonRelease: {
        XButtonEvent& b = e.xbutton;
        holdModifiers(modifiersOf(b.state));
        bool down = e.type == ButtonPress;
        ++(down ? seen_.buttonPresses : seen_.buttonReleases);
        if (b.button >= 1 && b.button <= 3) return injectButton(b.x_root, b.y_root, int(b.button), down);
        if (down && (b.button == 4 || b.button == 5))
            return injectWheel(b.x_root, b.y_root, b.button == 4 ? kWheelNotch : -kWheelNotch);
        return false;
    }
    case MotionNotify:
        holdModifiers(modifiersOf(e.xmotion.state));
        return injectPointerMove(e.xmotion.x_root, e.xmotion.y_root);
    case EnterNotify:
    case LeaveNotify:
        if (e.xcrossing.mode != NotifyNormal) return false;
        return injectPointerMove(e.xcrossing.x_root, e.xcrossing.y_root);
    case FocusIn: {
        XFocusChangeEvent& f = e.xfocus;
        if (!id || f.mode == NotifyGrab || f.mode == NotifyUngrab || f.detail == NotifyPointer ||
            f.detail == NotifyInferior || f.serial < focusSerial_ || id == activeWindow())
            return false;
        // The window manager gave the focus to a window of ours: the
        // listener decides, as for a click; a refusal puts it back.
        Event q;
        q.type = EventType::ActivateQuery;
        q.window = id;
        q.hit = Hit::Frame;
        // The window manager moving the focus is no click: a refusal rings
        // no bell (the click that may have caused it rings its own).
        quietBell_ = true;
        bool allowed = dispatch(q) != 0;
        quietBell_ = false;
        if (allowed && activate(id)) return true;
        focusHost(activeWindow());
        return false;
    }
    case SelectionRequest:
        answerSelection(e);
        return false;
    case SelectionClear:
        if (e.xselectionclear.selection != aClipboard_) return false;
        ownSelection_ = false;
        exported_.clear();
        injectClipboardFromOtherProgram(std::string_view());
        return true;
    case MappingNotify:
        XRefreshKeyboardMapping(&e.xmapping);
        readKeyboard();
        return false;
    default:
        return false;
    }
}

bool X11Display::handleEvents() {
    bool any = false;
    while (XPending(dpy_) > 0) {
        XEvent e;
        XNextEvent(dpy_, &e);
        handle(e);
        any = true;
    }
    return any;
}

void X11Display::pollInput() { handleEvents(); }

bool X11Display::waitForInput(std::int64_t untilMs) {
    present();
    for (;;) {
        if (handleEvents()) return true;
        int timeout = -1;
        if (untilMs >= 0) {
            std::int64_t left = untilMs - clock().nowMs();
            if (left <= 0) return true;
            timeout = int(std::min<std::int64_t>(left, INT_MAX));
        }
        pollfd p{ConnectionNumber(dpy_), POLLIN, 0};
        poll(&p, 1, timeout);
    }
}

} // namespace plat
