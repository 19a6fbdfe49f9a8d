#include "x_driver.h"

#include "support/widget_input.h"
#include "toolkit/core/event_loop.h"
#include "toolkit/core/native_windows.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/core/window_system.h"
#include "toolkit/platform/font_test_fonts.h"
#include "toolkit/platform/png.h"
#include "support/reference_picture.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/edit_internal.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/label.h"
#include "tourman/app_main.h"
#include "tourman/main_window/main_window.h"
#include "tourman/frame/window_frame.h"
#include "tournament/message_table.h"
#include "uscfreport/report_window.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <future>
#include <sstream>
#include <vector>

namespace xev {

namespace {

std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A slice of the loop, about as long as the window system's tick.
struct Slice {
    int running = 1;
};
void EndSlice(int, void* slice) { static_cast<Slice*>(slice)->running = 0; }
void RunSlice() {
    Slice slice;
    const int id = WkAddTimeout(20, EndSlice, &slice);
    WkLoopWhile(&slice.running, 1);
    WkRemoveTimeout(id);
}

// What an xdotool command sends: its clicks (presses and releases), its
// keys, and where it leaves the pointer.
struct Sent {
    int presses = 0, releases = 0, keys = 0;
    bool moved = false;
    int x = 0, y = 0;
};
Sent Sending(const std::string& command) {
    Sent sent;
    std::istringstream in(command);
    std::string word;
    // The options of a command ("--delay 5"), then its first other word.
    const auto operand = [&in] {
        std::string w, value;
        while (in >> w && w.rfind("--", 0) == 0) in >> value;
        return w;
    };
    while (in >> word) {
        if (word == "mousemove") {
            sent.moved = bool(in >> sent.x >> sent.y);
        } else if (word == "click") {
            std::string w, value;
            int repeat = 1;
            while (in >> w && w.rfind("--", 0) == 0)
                if (in >> value && w == "--repeat") repeat = std::stoi(value);
            sent.presses += repeat;
            sent.releases += repeat;
        } else if (word == "mousedown" || word == "mouseup") {
            operand();
            ++(word == "mousedown" ? sent.presses : sent.releases);
        } else if (word == "key") {
            for (std::string key = operand(); !key.empty(); key.clear(), in >> key) ++sent.keys;
        } else if (word == "type") {
            // The rest is the text, in single quotes.
            std::string text = operand(), rest;
            std::getline(in, rest);
            text += rest;
            sent.keys += int(text.size()) - 2;
        }
    }
    return sent;
}

} // namespace

std::string EventFolder(const std::string& base) {
    return (fs::path(TM_TEST_OUTPUT_DIR) / "event/data" / base).string() + "/";
}

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void XProgramTest::Open(const std::string& scratch) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "the x11 tests need an X server (DISPLAY)";
    ASSERT_TRUE(UseTestFonts());
    const fs::path folder = fs::path(TM_TEST_OUTPUT_DIR) / "event" / scratch;
    fs::remove_all(folder);
    fs::create_directories(fs::path(TM_TEST_OUTPUT_DIR) / "event/data");
    fs::copy(TM_PROGRAM_DATA_DIR, folder, fs::copy_options::recursive);
    program = folder.string() + "/";
    fs::current_path(folder);
    setenv("WOKUDIR", (folder / "wokusys").c_str(), 1);
    wm = std::make_unique<xprobe::WindowManager>();
    ASSERT_EQ(wm->Start((fs::path(TM_TEST_OUTPUT_DIR) / "event/wm" / scratch).string()), "");
    probe_ = std::make_unique<xprobe::Probe>();
    std::string error;
    x = plat::X11Display::Open("", false, &error);
    ASSERT_TRUE(x) << error;
    argv0_ = program + scratch;
    argv_[0] = argv0_.data();
    WkInitWindowSystem(x.get(), nullptr, argv_);
}

void XProgramTest::StartTourman(const std::string& scratch) {
    Open(scratch);
    ASSERT_TRUE(StartApplication());
    mainWindow_ = MainWindow.window;
    Loop();
}

void XProgramTest::StartUscfReport(const std::string& scratch) {
    Open(scratch);
    StartReportApplication();
    mainWindow_ = ReportWindow.window;
    Loop();
}

void XProgramTest::Loop() {
    WkAddTimeout(100, AnswerBox, this);
    // Framed and mapped by the window manager, and given the focus: clicks
    // and keys then reach it.
    const unsigned long window = x->xWindow(WkObjectGetNativeWindow(mainWindow_));
    WaitFor(
        "the main window shown with the focus",
        [&] { return probe_->Viewable(window) && probe_->Focus() == window; },
        [&] {
            return std::string(probe_->Viewable(window) ? "viewable" : "not viewable") + ", the focus on window " +
                   std::to_string(probe_->Focus()) + " (the main window is " + std::to_string(window) + ")";
        });
    Settle();
}

void XProgramTest::TearDown() {
    EXPECT_EQ(unexpected, "");
    EXPECT_TRUE(answers.empty()) << answers.size() << " answers left, the first for \"" << answers.front().first << "\"";
    if (mainWindow_) WkShellDestroy(mainWindow_);
    ForgetMainWindow();
    ReportWindow = ReportWindowWidgets();
    WkShutdown();
    if (wm) {
        EXPECT_TRUE(wm->Stop()) << "the window manager did not stop";
    }
}

void XProgramTest::Answer(int message, int button) { answers.push_back({MessageText(message), button}); }
void XProgramTest::AnswerText(const std::string& text, int button) { answers.push_back({text, button}); }

bool XProgramTest::WaitFor(const std::string& what, const std::function<bool()>& done,
                           const std::function<std::string()>& seen) {
    const ::testing::AssertionResult result = xwait::Until(what, done, seen, RunSlice);
    EXPECT_TRUE(result);
    return result;
}

void XProgramTest::Settle() { WkFlushEvents(); }

void XProgramTest::AnswerBox(int, void* data) {
    auto* self = static_cast<XProgramTest*>(data);
    WkAddTimeout(100, AnswerBox, self); // boxes open inside the program's own waits too
    WkNativeWindow modal = WkGetModalWindow();
    WkObject* box = modal ? WkListedShell(modal) : nullptr;
    if (!box || box == self->mainWindow_) return;
    // A box answered stays until the click reaches it, which on a busy
    // machine takes its time; it must not be answered twice.
    if (modal == self->answered_) {
        if (NowMs() - self->answeredAt_ > xwait::kCeilingMs) {
            ADD_FAILURE() << "the box \"" << self->answeredText_ << "\" stays " << xwait::kCeilingMs / 1000
                          << " s after its button was clicked";
            self->answered_ = 0;
        }
        return;
    }
    // The window manager frames and maps it first; a click before that is lost.
    if (!self->probe_->Viewable(self->x->xWindow(modal))) {
        if (modal != self->waiting_) self->waiting_ = modal, self->waitingSince_ = NowMs();
        else if (NowMs() - self->waitingSince_ > xwait::kCeilingMs) {
            ADD_FAILURE() << "waited " << xwait::kCeilingMs / 1000 << " s for a box to be mapped";
            self->waitingSince_ = NowMs();
        }
        return;
    }
    std::string text;
    std::vector<WkObject*> buttons;
    for (WkObject* o : tmt::WidgetsUnder(box)) {
        if (o->classCode == WK_CLASS_LABEL && WkLabelGetText(o)) text += (text.empty() ? "" : "\n") + std::string(WkLabelGetText(o));
        if (o->classCode == WK_CLASS_PUSH_BUTTON) buttons.push_back(o);
        if (o->classCode == WK_CLASS_EDIT) return; // a dialog the test fills itself
    }
    if (buttons.size() > 3) return; // a window the test drives itself, not a box
    self->answered_ = modal;
    self->answeredAt_ = NowMs();
    self->answeredText_ = text;
    std::deque<std::pair<std::string, int>>& answers = self->answers;
    if (answers.empty() || answers.front().first != text || answers.front().second >= int(buttons.size())) {
        self->unexpected += "unexpected box \"" + text + "\"\n";
        answers.clear();
        if (!buttons.empty()) self->Xdo("mousemove " + self->At(buttons[0]) + " click 1", false);
        return;
    }
    self->Xdo("mousemove " + self->At(buttons[std::size_t(answers.front().second)]) + " click 1", false);
    answers.pop_front();
}

std::string XProgramTest::At(WkObject* object) { return At(object, object->width / 2, object->height / 2); }

std::string XProgramTest::At(WkObject* object, int x, int y) {
    // The server's word, not the window record's: the window manager may
    // have placed the frame elsewhere than the program asked.
    int left = 0, top = 0;
    probe_->ScreenPosition(this->x->xWindow(WkObjectGetNativeWindow(object)), &left, &top);
    int ox, oy;
    WkObjectGetAbsolutePosition(object, &ox, &oy);
    return std::to_string(left + ox + x) + " " + std::to_string(top + oy + y);
}

void XProgramTest::Xdo(const std::string& command, bool wait) {
    const plat::X11Display::InputSeen before = x->inputSeen();
    auto done = std::async(std::launch::async, [command] { return xprobe::Run("xdotool " + command); });
    if (!wait) {
        done.wait();
        return;
    }
    WaitFor("xdotool " + command + " to end",
            [&] { return done.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready; });
    const std::string said = done.valid() ? done.get() : "";
    // The window manager holds a click until it has seen it: the program
    // gets it when that one has had its turn. A move alone is seen where
    // the pointer is; a click tells its arrival itself (and what it does
    // may move the pointer on, as a box answered meanwhile does).
    Sent sent = Sending(command);
    sent.moved = sent.moved && sent.presses + sent.releases + sent.keys == 0;
    const auto arrived = [&] {
        const plat::X11Display::InputSeen& now = x->inputSeen();
        return now.buttonPresses - before.buttonPresses >= std::uint64_t(sent.presses) &&
               now.buttonReleases - before.buttonReleases >= std::uint64_t(sent.releases) &&
               now.keyReleases - before.keyReleases >= std::uint64_t(sent.keys) &&
               (!sent.moved || (x->pointerX() == sent.x && x->pointerY() == sent.y));
    };
    WaitFor("the program to receive xdotool " + command, arrived, [&] {
        const plat::X11Display::InputSeen& now = x->inputSeen();
        return std::to_string(now.buttonPresses - before.buttonPresses) + " of " + std::to_string(sent.presses) +
               " button presses, " + std::to_string(now.buttonReleases - before.buttonReleases) + " of " +
               std::to_string(sent.releases) + " releases, " + std::to_string(now.keyReleases - before.keyReleases) +
               " of " + std::to_string(sent.keys) + " keys, the pointer at " + std::to_string(x->pointerX()) + " " +
               std::to_string(x->pointerY()) + "; xdotool said \"" + said + "\"";
    });
    Settle();
}

bool XProgramTest::Mapped(WkObject* object) const {
    return probe_->Viewable(x->xWindow(WkObjectGetNativeWindow(object)));
}

void XProgramTest::Reachable(WkObject* object) {
    WaitFor("window " + std::to_string(x->xWindow(WkObjectGetNativeWindow(object))) + " to be mapped",
            [&] { return Mapped(object); });
}

void XProgramTest::Click(WkObject* object) {
    Reachable(object);
    Xdo("mousemove " + At(object) + " click 1");
}

void XProgramTest::DoubleClick(const std::string& at) {
    // openbox hands each click on to the program once it has seen it, and
    // loses a second click that comes before it handed on the first: the
    // clicks go at xdotool's pace (100 ms apart). The list takes two clicks
    // for a double click only within 250 ms of its clock, which a busy
    // machine may spend before the second reaches the program. So the loop
    // stands while both are sent and runs once both wait in the program's
    // queue: it meets them one after the other.
    Xdo("mousemove " + at + " click --repeat 2 1", false);
    EXPECT_TRUE(xwait::Until("both clicks of a double click to reach the program",
                             [&] { return xprobe::Probe::QueuedButtons(x->connection()) >= 4; }));
    Settle();
}

void XProgramTest::Fill(WkObject* field, const std::string& text) {
    WkEditReplaceText(field, "", 0, 0);
    Click(field);
    Xdo("type --delay 5 '" + text + "'");
    EXPECT_EQ(WkEditGetText(field), text) << "typed into the field";
}

void XProgramTest::Key(const std::string& keys) { Xdo("key --delay 20 " + keys); }

void XProgramTest::Png(WkObject* window, const std::string& name, const std::vector<WkObject*>& hidden) {
    // The picture once the server shows what the program drew: a window
    // just uncovered (a dialog over it closed) holds nothing there until
    // its Expose is answered. A focused field's cursor is pictured shown,
    // whatever the phase of its blink.
    const WkNativeWindow id = WkObjectGetNativeWindow(window);
    plat::Surface shown;
    long differing = 0;
    WaitFor(
        "the server to show " + name + " as the program drew it",
        [&] {
            WkObject* focused = WkFormGetFocus(window);
            if (focused && focused->classCode == WK_CLASS_EDIT && (focused->state & WK_STATE_FOCUS)) {
                edit::ShowCursor(focused, true);
                edit::RestartBlink(focused);
            }
            x->present();
            xprobe::Probe::Sync(x->connection());
            shown = probe_->Pixels(x->xWindow(id));
            const plat::Surface* drawn = x->surface(id);
            if (!drawn) return false;
            const refpic::Difference d = refpic::Compare(shown, *drawn, 0);
            differing = d.sameSize ? d.pixels : -1;
            return differing == 0;
        },
        [&] { return differing < 0 ? "another size" : std::to_string(differing) + " pixels differ"; });
    const std::string output = std::string(TM_TEST_OUTPUT_DIR) + "/" + name;
    plat::SavePng(shown, output);
    std::vector<plat::Rect> areas;
    for (WkObject* o : hidden) {
        int left = 0, top = 0;
        WkObjectGetAbsolutePosition(o, &left, &top);
        areas.push_back({left, top, left + o->width, top + o->height});
    }
    EXPECT_TRUE(refpic::MatchesReference(shown, TM_TEST_SOURCE_DIR "/tourman/x11/reference/" + name, output,
                                         refpic::kOnServer, areas));
}

} // namespace xev
