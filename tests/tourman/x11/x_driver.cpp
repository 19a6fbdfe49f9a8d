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
#include "tourman/main_window/window_frame.h"
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
int pumping = 0;
void StopPump(int, void*) { pumping = 0; }
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
    Pump(500);
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

void XProgramTest::Pump(int ms) {
    pumping = 1;
    WkAddTimeout(ms, StopPump, nullptr);
    WkLoopWhile(&pumping, 1);
}

void XProgramTest::AnswerBox(int, void* data) {
    auto* self = static_cast<XProgramTest*>(data);
    WkAddTimeout(100, AnswerBox, self); // boxes open inside the program's own waits too
    WkNativeWindow modal = WkGetModalWindow();
    WkObject* box = modal ? WkListedShell(modal) : nullptr;
    if (!box || box == self->mainWindow_) return;
    // The window manager frames and maps it first; a click before that is lost.
    if (!self->probe_->Viewable(self->x->xWindow(modal))) return;
    std::string text;
    std::vector<WkObject*> buttons;
    for (WkObject* o : tmt::WidgetsUnder(box)) {
        if (o->classCode == WK_CLASS_LABEL && WkLabelGetText(o)) text += (text.empty() ? "" : "\n") + std::string(WkLabelGetText(o));
        if (o->classCode == WK_CLASS_PUSH_BUTTON) buttons.push_back(o);
        if (o->classCode == WK_CLASS_EDIT) return; // a dialog the test fills itself
    }
    if (buttons.size() > 3) return; // a window the test drives itself, not a box
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

void XProgramTest::Xdo(const std::string& command, bool pump) {
    auto done = std::async(std::launch::async, [command] { return xprobe::Run("xdotool " + command); });
    while (pump && done.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) Pump(20);
    done.wait();
    if (pump) Pump();
}

void XProgramTest::Click(WkObject* object) { Xdo("mousemove " + At(object) + " click 1"); }

void XProgramTest::Fill(WkObject* field, const std::string& text) {
    WkEditReplaceText(field, "", 0, 0);
    Click(field);
    Xdo("type --delay 5 '" + text + "'");
}

void XProgramTest::Key(const std::string& keys) { Xdo("key --delay 20 " + keys); }

void XProgramTest::Png(WkObject* window, const std::string& name, const std::vector<WkObject*>& hidden) {
    // A focused field's cursor is pictured shown, whatever the phase of its
    // blink; and what the program drew last reaches the server first.
    WkObject* focused = WkFormGetFocus(window);
    if (focused && focused->classCode == WK_CLASS_EDIT && (focused->state & WK_STATE_FOCUS)) {
        edit::ShowCursor(focused, true);
        edit::RestartBlink(focused);
    }
    x->present();
    xprobe::Probe::Sync(x->connection());
    const plat::Surface shown = probe_->Pixels(x->xWindow(WkObjectGetNativeWindow(window)));
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
