// Both programs started on an X server under a window manager (openbox), in
// a program folder laid out as the run script lays it out: the main window
// comes up and is drawn; Alt+F4 asks the close question and its first
// button keeps the program running; the window manager's close action asks
// it again and "Yes" ends the program (the first button has the focus;
// Right and Enter press "Yes").
#include "support/reference_picture.h"
#include "support/x_probe.h"
#include "toolkit/platform/font_test_fonts.h"
#include "toolkit/platform/png.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sstream>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The windows the window manager manages whose title is this one.
std::vector<unsigned long> Windows(const std::string& title) {
    std::vector<unsigned long> found;
    std::istringstream lines(xprobe::Run("wmctrl -l 2>/dev/null"));
    for (std::string line; std::getline(lines, line);) {
        // id, desktop, host, then the title after one blank
        std::istringstream fields(line);
        std::string id, desktop, host;
        fields >> id >> desktop >> host;
        std::string rest;
        std::getline(fields, rest);
        if (id.rfind("0x", 0) == 0 && rest == " " + title) found.push_back(std::stoul(id, nullptr, 16));
    }
    return found;
}

// The window that has the keyboard focus; 0 when none.
unsigned long Focused() {
    const std::string out = xprobe::Run("xdotool getwindowfocus 2>/dev/null");
    return out.rfind("exit", 0) == 0 ? 0 : std::stoul(out);
}

// The first such window not among the old ones, waiting up to ten seconds; 0 when none came up.
unsigned long WaitForWindow(const std::string& title, const std::vector<unsigned long>& old = {}) {
    for (int i = 0; i < 100; ++i) {
        for (unsigned long id : Windows(title))
            if (std::find(old.begin(), old.end(), id) == old.end()) return id;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return 0;
}

// The exit status of the child once it ended within ten seconds; -1 when it did not (it is killed then).
int WaitForExit(pid_t child) {
    int status = 0;
    for (int i = 0; i < 100; ++i) {
        if (waitpid(child, &status, WNOHANG) == child) return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return -1;
}

// The window against reference/name. The program is another process: its
// drawing may still be on its way and a focused field's cursor blinks, so
// the picture is taken again for up to three seconds until it matches.
::testing::AssertionResult ShownAsReference(const xprobe::Probe& probe, unsigned long window, const std::string& name) {
    const std::string reference = TM_TEST_SOURCE_DIR "/tourman/x11/reference/" + name,
                      output = std::string(TM_TEST_OUTPUT_DIR) + "/" + name;
    plat::Surface shown = probe.Pixels(window), expected;
    for (int i = 0; i < 30 && !std::getenv("TM_UPDATE_PICTURES") && plat::LoadPng(reference, expected); ++i) {
        if (refpic::Within(refpic::Compare(shown, expected, refpic::kOnServer.channel), refpic::kOnServer, shown)) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        shown = probe.Pixels(window);
    }
    plat::SavePng(shown, output);
    return refpic::MatchesReference(shown, reference, output, refpic::kOnServer);
}

struct Program {
    const char* path;
    const char* mainWindow; // title of the main window
    const char* question;   // title of the close question's window
    const char* png;
};

class RunOnX : public ::testing::TestWithParam<Program> {};

TEST_P(RunOnX, ShowsTheMainWindowAndEndsThroughTheCloseQuestion) {
    const Program& program = GetParam();
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "the x11 tests need an X server (DISPLAY)";
    xprobe::Probe probe;
    ASSERT_TRUE(probe.connected());
    xprobe::WindowManager wm;
    ASSERT_EQ(wm.Start(std::string(TM_TEST_OUTPUT_DIR) + "/run-wm"), "");
    // The tests' fonts, as in every other picture of the tests: what the
    // programs show must not depend on the fonts the machine has besides.
    ASSERT_TRUE(UseTestFonts());
    const fs::path run = fs::path(TM_TEST_OUTPUT_DIR) / "run";
    fs::remove_all(run);
    fs::copy(TM_PROGRAM_DATA_DIR, run, fs::copy_options::recursive);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (chdir(run.c_str()) != 0) _exit(127);
        execl(program.path, program.path, static_cast<char*>(nullptr));
        _exit(127);
    }
    const unsigned long window = WaitForWindow(program.mainWindow);
    if (window == 0) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        FAIL() << "no main window appeared";
    }
    // Listed by the window manager before it is framed and mapped.
    for (int i = 0; i < 100 && probe.Pixels(window).width() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const plat::Surface shown = probe.Pixels(window);
    EXPECT_GT(shown.width(), 400);
    EXPECT_GT(shown.height(), 200);
    EXPECT_TRUE(plat::SavePng(shown, std::string(TM_TEST_OUTPUT_DIR) + "/" + program.png));
    EXPECT_TRUE(ShownAsReference(probe, window, program.png));

    // Alt+F4 is the program's own (the window manager binds no keys);
    // wmctrl's request goes through the window manager.
    const std::string id = std::to_string(window);
    EXPECT_EQ(Focused(), window) << "the main window has not the focus";
    for (const std::string& close : {std::string("xdotool key alt+F4"), "wmctrl -i -c " + id}) {
        const bool last = close[0] == 'w';
        const std::vector<unsigned long> before = Windows(program.question);
        xprobe::Run(close + " 2>/dev/null");
        const unsigned long box = WaitForWindow(program.question, before);
        EXPECT_NE(box, 0ul) << "no close question appeared after " << close;
        if (box == 0) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        if (last) plat::SavePng(probe.Pixels(box), std::string(TM_TEST_OUTPUT_DIR) + "/question-" + program.png);
        if (last) {
            EXPECT_TRUE(ShownAsReference(probe, box, std::string("question-") + program.png));
        }
        // The question takes the focus itself: the keys go wherever it is.
        for (int i = 0; i < 50 && Focused() != box; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(Focused(), box) << "the close question has not the focus";
        xprobe::Run(std::string("xdotool key ") + (last ? "Right Return" : "Return") + " 2>/dev/null");
        // "Not" leaves the program running; the box must be gone before the
        // next request, or it would still block the main window.
        for (int i = 0; !last && i < 100 && Windows(program.question) != before; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(WaitForExit(child), 0);
}

INSTANTIATE_TEST_SUITE_P(Programs, RunOnX,
                         ::testing::Values(Program{TM_TOURMAN_PROGRAM, "Quon FREE 3.51", "", "tourman-on-x.png"},
                                           Program{TM_USCFREPORT_PROGRAM, "Tournament Report",
                                                   "Warning: Exit Program", "uscfreport-on-x.png"}),
                         [](const auto& info) { return info.index == 0 ? std::string("tourman") : "uscfreport"; });

} // namespace
