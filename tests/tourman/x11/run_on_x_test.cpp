// Both programs started on an X server in a program folder laid out as the
// run script lays it out: the main window comes up and is drawn, and the
// window manager's close request ends the program through its close
// question (the first button has the focus; Right and Enter press "Yes").
#include "support/x_probe.h"
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

// The visible top-level windows whose names match the pattern.
std::vector<unsigned long> Windows(const std::string& pattern) {
    std::vector<unsigned long> found;
    const std::string out = xprobe::Run("xdotool search --onlyvisible --maxdepth 1 --name '" + pattern + "' 2>/dev/null");
    if (out.rfind("exit", 0) == 0) return found; // none
    std::istringstream ids(out);
    for (std::string id; ids >> id;)
        if (id.find_first_not_of("0123456789") == std::string::npos) found.push_back(std::stoul(id));
    return found;
}

// The first such window not among the old ones, waiting up to ten seconds; 0 when none came up.
unsigned long WaitForWindow(const std::string& pattern, const std::vector<unsigned long>& old = {}) {
    for (int i = 0; i < 100; ++i) {
        for (unsigned long id : Windows(pattern))
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

struct Program {
    const char* path;
    const char* mainWindow; // name pattern of the main window
    const char* question;   // name pattern of the close question's window
    const char* png;
};

class RunOnX : public ::testing::TestWithParam<Program> {};

TEST_P(RunOnX, ShowsTheMainWindowAndEndsThroughTheCloseQuestion) {
    const Program& program = GetParam();
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "the x11 tests need an X server (DISPLAY)";
    xprobe::Probe probe;
    ASSERT_TRUE(probe.connected());
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
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const plat::Surface shown = probe.Pixels(window);
    EXPECT_GT(shown.width(), 400);
    EXPECT_GT(shown.height(), 200);
    EXPECT_TRUE(plat::SavePng(shown, std::string(TM_TEST_OUTPUT_DIR) + "/" + program.png));

    const std::vector<unsigned long> before = Windows(program.question);
    // Alt+F4 is the window system's close request, as with a window manager.
    xprobe::Run("xdotool windowfocus --sync " + std::to_string(window) + " key alt+F4 2>/dev/null");
    const unsigned long box = WaitForWindow(program.question, before);
    EXPECT_NE(box, 0ul) << "no close question appeared";
    if (box != 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        plat::SavePng(probe.Pixels(box), std::string(TM_TEST_OUTPUT_DIR) + "/question-" + program.png);
        xprobe::Run("xdotool windowfocus --sync " + std::to_string(box) + " key Right Return 2>/dev/null");
    }
    EXPECT_EQ(WaitForExit(child), 0);
}

INSTANTIATE_TEST_SUITE_P(Programs, RunOnX,
                         ::testing::Values(Program{TM_TOURMAN_PROGRAM, "^Quon FREE 3.51$", "^$", "tourman-on-x.png"},
                                           Program{TM_USCFREPORT_PROGRAM, "^Tournament Report$",
                                                   "^Warning: Exit Program$", "uscfreport-on-x.png"}),
                         [](const auto& info) { return info.index == 0 ? std::string("tourman") : "uscfreport"; });

} // namespace
