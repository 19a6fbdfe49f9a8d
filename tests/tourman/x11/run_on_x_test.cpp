// tourman started on an X server in a program folder laid out as the run
// script lays it out: its main window comes up and is drawn.
#include "support/x_probe.h"
#include "toolkit/platform/png.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace fs = std::filesystem;

TEST(RunOnX, ShowsTheMainWindow) {
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
        execl(TM_TOURMAN_PROGRAM, TM_TOURMAN_PROGRAM, static_cast<char*>(nullptr));
        _exit(127);
    }
    std::string window;
    for (int i = 0; i < 100 && window.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        window = xprobe::Run("xdotool search --sync --onlyvisible --name '^Quon FREE 3.51$' 2>/dev/null | head -n1");
        if (window.rfind("exit", 0) == 0) window.clear();
        while (!window.empty() && (window.back() == '\n' || window.back() == ' ')) window.pop_back();
    }
    ASSERT_FALSE(window.empty()) << "no main window appeared";
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const plat::Surface shown = probe.Pixels(std::stoul(window));
    EXPECT_GT(shown.width(), 400);
    EXPECT_GT(shown.height(), 200);
    EXPECT_TRUE(plat::SavePng(shown, std::string(TM_TEST_OUTPUT_DIR) + "/tourman-on-x.png"));

    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
}
