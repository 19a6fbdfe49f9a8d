// Both programs started on an X server under a window manager (openbox), in
// a program folder laid out as the run script lays it out: the main window
// comes up and is drawn; with something to lose (tourman: a player added)
// Alt+F4 asks the close question and its first
// button keeps the program running; the window manager's close action asks
// it again and "Yes" ends the program (the first button has the focus;
// Right and Enter press "Yes").
#include "support/reference_picture.h"
#include "support/wait_until.h"
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

// The windows of this title, listed as wmctrl lists them.
std::string Listed(const std::string& title) {
    std::string ids;
    for (unsigned long id : Windows(title)) ids += " " + std::to_string(id);
    return "windows \"" + title + "\":" + (ids.empty() ? " none" : ids);
}

// The first such window not among the old ones; 0 when none came up (the test then fails).
unsigned long WaitForWindow(const std::string& title, const std::vector<unsigned long>& old = {}) {
    unsigned long found = 0;
    EXPECT_TRUE(xwait::Until(
        "a new window \"" + title + "\"",
        [&] {
            for (unsigned long id : Windows(title))
                if (std::find(old.begin(), old.end(), id) == old.end()) found = id;
            return found != 0;
        },
        [&] { return Listed(title); }));
    return found;
}

// The exit status of the child once it ended; -1 when it did not (it is killed then).
int WaitForExit(pid_t child) {
    int status = 0;
    if (xwait::Until("the program to end", [&] { return waitpid(child, &status, WNOHANG) == child; },
                     [] { return std::string("it runs"); }))
        return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return -1;
}

// The window against reference/name. The program is another process: its
// drawing may still be on its way and a focused field's cursor blinks, so
// the picture is taken again until it matches (TM_UPDATE_PICTURES: until
// two pictures in a row are the same, the drawing done).
::testing::AssertionResult ShownAsReference(const xprobe::Probe& probe, unsigned long window, const std::string& name) {
    const std::string reference = TM_TEST_SOURCE_DIR "/tourman/x11/reference/" + name,
                      output = std::string(TM_TEST_OUTPUT_DIR) + "/" + name;
    plat::Surface shown = probe.Pixels(window), expected;
    const bool compare = !std::getenv("TM_UPDATE_PICTURES") && plat::LoadPng(reference, expected);
    plat::Surface before;
    refpic::Difference last;
    const auto same = [](const plat::Surface& a, const plat::Surface& b) {
        return a.width() == b.width() && a.height() == b.height() &&
               std::equal(a.pixels(), a.pixels() + std::size_t(a.width()) * std::size_t(a.height()), b.pixels());
    };
    xwait::Until(
        "window " + std::to_string(window) + " to show " + reference,
        [&] {
            before = shown;
            shown = probe.Pixels(window);
            if (!compare) return shown.width() > 0 && same(shown, before);
            last = refpic::Compare(shown, expected, refpic::kOnServer.channel);
            return refpic::Within(last, refpic::kOnServer, shown);
        },
        [&] {
            return std::to_string(shown.width()) + " x " + std::to_string(shown.height()) + " pixels, " +
                   std::to_string(last.pixels) + " differing, " + std::to_string(last.worstPatch) +
                   " in the fullest patch";
        });
    plat::SavePng(shown, output);
    return refpic::MatchesReference(shown, reference, output, refpic::kOnServer);
}

struct Program {
    const char* path;
    const char* mainWindow; // title of the main window
    const char* question;   // title of the close question's window
    const char* png;
    const char* toLose; // xdotool's arguments (type and key apart) that give the program something to lose, or null
};

class RunOnX : public ::testing::TestWithParam<Program> {};

TEST_P(RunOnX, ShowsTheMainWindowAndEndsThroughTheCloseQuestion) {
    const Program& program = GetParam();
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "the x11 tests need an X server (DISPLAY)";
    // The tests' fonts, as in every other picture of the tests: what the
    // programs show must not depend on the fonts the machine has besides.
    // Set before any connection opens.
    ASSERT_TRUE(UseTestFonts());
    xprobe::Probe probe;
    ASSERT_TRUE(probe.connected());
    xprobe::WindowManager wm;
    ASSERT_EQ(wm.Start(std::string(TM_TEST_OUTPUT_DIR) + "/run-wm"), "");
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
    EXPECT_TRUE(xwait::Until("the main window to be mapped", [&] { return probe.Viewable(window); }));
    EXPECT_TRUE(ShownAsReference(probe, window, program.png));
    const plat::Surface shown = probe.Pixels(window);
    EXPECT_GT(shown.width(), 400);
    EXPECT_GT(shown.height(), 200);

    // Alt+F4 is the program's own (the window manager binds no keys);
    // wmctrl's request goes through the window manager.
    const std::string id = std::to_string(window);
    EXPECT_TRUE(xwait::Until("the main window to have the focus", [&] { return Focused() == window; },
                             [] { return "the focus on " + std::to_string(Focused()); }));
    // With nothing to lose the program would end unasked.
    if (program.toLose) {
        xprobe::Run(std::string("xdotool ") + program.toLose + " 2>/dev/null");
        // The button answers its key a moment later: a close asked before
        // that would find nothing to lose. The counters at the bottom left
        // tell when the player is in.
        const auto counters = [](const plat::Surface& s) {
            std::vector<plat::Rgb> patch;
            for (int y = s.height() * 9 / 10; y < s.height(); ++y)
                patch.insert(patch.end(), s.pixels() + std::size_t(y) * std::size_t(s.width()),
                             s.pixels() + std::size_t(y) * std::size_t(s.width()) + std::size_t(s.width() / 4));
            return patch;
        };
        EXPECT_TRUE(xwait::Until("the counters to count the player typed in",
                                 [&] { return counters(probe.Pixels(window)) != counters(shown); }));
    }
    for (const std::string& close : {std::string("xdotool key alt+F4"), "wmctrl -i -c " + id}) {
        const bool last = close[0] == 'w';
        const std::vector<unsigned long> before = Windows(program.question);
        xprobe::Run(close + " 2>/dev/null");
        const unsigned long box = WaitForWindow(program.question, before);
        EXPECT_NE(box, 0ul) << "no close question appeared after " << close;
        if (box == 0) break;
        if (last) {
            EXPECT_TRUE(xwait::Until("the close question to be mapped", [&] { return probe.Viewable(box); }));
            EXPECT_TRUE(ShownAsReference(probe, box, std::string("question-") + program.png));
        }
        // The question takes the focus itself: the keys go wherever it is.
        EXPECT_TRUE(xwait::Until("the close question to have the focus", [&] { return Focused() == box; },
                                 [] { return "the focus on " + std::to_string(Focused()); }));
        xprobe::Run(std::string("xdotool key ") + (last ? "Right Return" : "Return") + " 2>/dev/null");
        // "Not" leaves the program running; the box must be gone before the
        // next request, or it would still block the main window.
        if (!last) {
            EXPECT_TRUE(xwait::Until("the close question to go", [&] { return Windows(program.question) == before; },
                                     [&] { return Listed(program.question); }));
        }
    }
    EXPECT_EQ(WaitForExit(child), 0);
}

INSTANTIATE_TEST_SUITE_P(Programs, RunOnX,
                         ::testing::Values(Program{TM_TOURMAN_PROGRAM, "Quon FREE 3.51", "Quon FREE 3.51",
                                                   "tourman-on-x.png",
                                                   "type --delay 5 'ROSSI MARIO' && xdotool key --delay 5 Tab Tab "
                                                   "Tab Tab Tab Tab Tab Tab Tab Tab Tab Return"},
                                           Program{TM_USCFREPORT_PROGRAM, "Tournament Report",
                                                   "Warning: Exit Program", "uscfreport-on-x.png", nullptr}),
                         [](const auto& info) { return info.index == 0 ? std::string("tourman") : "uscfreport"; });

} // namespace
