// The driver of the X server tests that carry whole events: the program
// (tourman or uscfreport) runs in the test's own process on the X11 backend,
// every click and key goes through the server (xdotool at the widget's place
// on the screen), and every box is answered from a queue as it opens.
// Each test case is a process of its own (a fresh run of the program) with
// its scratch folder under TM_TEST_OUTPUT_DIR/event: the program folder is
// a copy of the build's, the data folders are kept for the cases after it.
// The program runs under a window manager (openbox) as on a desktop: it
// frames the windows, gives new ones the focus and has its own close
// request; the driver starts it with the program and stops it after.
#pragma once

#include "support/wait_until.h"
#include "support/x_probe.h"
#include "toolkit/core/object.h"
#include "toolkit/core/window_system.h"
#include "toolkit/platform/x11_display.h"
#include "tournament/message_numbers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace xev {

namespace fs = std::filesystem;

// Where the cases keep an event's data folder: TM_TEST_OUTPUT_DIR/event/data/<base>/.
std::string EventFolder(const std::string& base);
// A file's bytes; empty when it cannot be read.
std::string Bytes(const fs::path& path);

class XProgramTest : public ::testing::Test {
  protected:
    void TearDown() override;
    // Opens the server, lays out the program folder under event/<scratch>/
    // and starts tourman or uscfreport there, up to its event loop.
    void StartTourman(const std::string& scratch);
    void StartUscfReport(const std::string& scratch);

    // The next box must show this message's text (or this text) and gets its
    // button'th button clicked. A box with nothing queued, or another text,
    // is noted in `unexpected` and gets its first button.
    void Answer(int message, int button);
    void AnswerText(const std::string& text, int button);
    // Runs the loop until done() holds (a box that opens meanwhile gets its
    // answer), at most xwait::kCeilingMs; running out fails the test naming
    // the wait and what seen() tells.
    bool WaitFor(const std::string& what, const std::function<bool()>& done,
                 const std::function<std::string()>& seen = {});
    // Handles what is waiting now, the paints included, without waiting.
    void Settle();
    // The object's centre on the screen, where the server has its window;
    // or its point (x, y) counted from its top left.
    std::string At(WkObject* object);
    std::string At(WkObject* object, int x, int y);
    // xdotool runs while the loop goes on, so that the program answers the
    // server at once; then the loop runs until the program has received what
    // it sent (its clicks and keys, the pointer where it was moved). Inside
    // the program's own waits (a timeout's callback) nothing is waited for.
    void Xdo(const std::string& command, bool wait = true);
    // Waits until the object's window is mapped (a window manager frames
    // and maps a new window in its own time): a click before that is lost.
    void Reachable(WkObject* object);
    // Whether it is mapped now: for the timeouts that drive a dialog inside
    // the program's own wait, which try again later.
    bool Mapped(WkObject* object) const;
    void Click(WkObject* object);
    // A double click at the point: both clicks reach the program before its
    // loop handles the first.
    void DoubleClick(const std::string& at);
    void Fill(WkObject* field, const std::string& text);
    void Key(const std::string& keys);
    // The window's pixels as the server shows them, to TM_TEST_OUTPUT_DIR/name,
    // compared with reference/name beside the tests; the hidden objects'
    // areas (those that show the build's own folders) are left out.
    void Png(WkObject* window, const std::string& name, const std::vector<WkObject*>& hidden = {});

    std::deque<std::pair<std::string, int>> answers; // text the box must show, button
    std::string unexpected;
    std::string program; // the program folder, ending with '/'
    std::unique_ptr<plat::X11Display> x;
    std::unique_ptr<xprobe::WindowManager> wm;

  private:
    void Open(const std::string& scratch);
    void Loop();
    static void AnswerBox(int, void* self);
    std::unique_ptr<xprobe::Probe> probe_; // asks the server where windows are and what they show
    WkNativeWindow answered_ = 0;          // the box whose button was clicked last, until it goes
    WkNativeWindow waiting_ = 0;           // the box seen first that is not yet viewable
    std::int64_t answeredAt_ = 0, waitingSince_ = 0;
    std::string answeredText_;
    WkObject* mainWindow_ = nullptr;
    std::string argv0_;
    char* argv_[2] = {};
};

} // namespace xev
