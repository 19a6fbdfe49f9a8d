// The toolkit's demo program on the desktop: started under the test's X
// server it opens its window with the start-up facts drawn in it, and the
// window manager's close request or Alt+F4 ends it with status 0.
#include "toolkit/platform/font_test_fonts.h"
#include "toolkit/platform/png.h"
#include "support/reference_picture.h"
#include "support/wait_until.h"
#include "support/x_probe.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const std::string kOut = TM_TEST_OUTPUT_DIR;

// The demo started with its standard output in a file; killed (by its own
// process id) when a test leaves it running.
class Demo {
public:
    explicit Demo(const char* argument = nullptr) {
        output_ = kOut + "/wkdemo_" + std::to_string(++started_) + ".txt";
        pid_ = fork();
        if (pid_ == 0) {
            int fd = open(output_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd >= 0) {
                dup2(fd, 1);
                close(fd);
            }
            if (chdir(kOut.c_str()) != 0) _exit(126);
            execl(TM_WKDEMO_PATH, TM_WKDEMO_PATH, argument, static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~Demo() {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    Demo(const Demo&) = delete;
    Demo& operator=(const Demo&) = delete;

    bool started() const { return pid_ > 0; }
    // The exit status once it ended within ms, else -1.
    int Wait(int ms) {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!exited_) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                break;
            }
            if (std::chrono::steady_clock::now() >= end) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return exited_ ? status_ : -1;
    }
    std::string Output() const {
        std::ifstream in(output_);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

private:
    static inline int started_ = 0;
    pid_t pid_ = -1;
    bool exited_ = false;
    int status_ = 0;
    std::string output_;
};

class DemoOnX : public ::testing::Test {
protected:
    // The demo draws with the tests' fonts, whatever else the machine has;
    // set before the probe opens its connection.
    static void SetUpTestSuite() { ASSERT_TRUE(UseTestFonts()); }
    void SetUp() override {
        ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "the x11 tests need an X server (DISPLAY)";
        ASSERT_TRUE(probe.connected());
    }

    // The demo's shown window; 0 when none came (the test then fails).
    static unsigned long WaitForWindow() {
        std::string found;
        EXPECT_TRUE(xwait::Until("the demo's window \"Toolkit demo\" to show", [&] {
            found = xprobe::Run("xdotool search --onlyvisible --name '^Toolkit demo$' 2>/dev/null");
            return found.rfind("exit", 0) != 0 && !found.empty();
        }, [&] { return "xdotool search: " + found; }));
        return found.rfind("exit", 0) != 0 && !found.empty() ? std::stoul(found) : 0;
    }

    // Pixels of the window's colour that are not its background: its text.
    static int InkPixels(const plat::Surface& s, int x0, int y0, int width, int height) {
        const plat::Rgb background = s.colorAt(x0 + 2, y0 + 2);
        int ink = 0;
        for (int y = y0; y < y0 + height && y < s.height(); ++y)
            for (int x = x0; x < x0 + width && x < s.width(); ++x) ink += s.colorAt(x, y) != background;
        return ink;
    }

    xprobe::Probe probe;
};

TEST_F(DemoOnX, ShowsItsStartUpFactsAndEndsOnTheCloseRequest) {
    Demo demo;
    ASSERT_TRUE(demo.started());
    const unsigned long window = WaitForWindow();
    ASSERT_NE(window, 0u) << "no window came";
    const std::string geometry = xprobe::Run("xdotool getwindowgeometry --shell " + std::to_string(window));
    int x = 0, y = 0, width = 0, height = 0;
    for (std::istringstream lines(geometry); lines;) {
        std::string line;
        std::getline(lines, line);
        std::sscanf(line.c_str(), "X=%d", &x);
        std::sscanf(line.c_str(), "Y=%d", &y);
        std::sscanf(line.c_str(), "WIDTH=%d", &width);
        std::sscanf(line.c_str(), "HEIGHT=%d", &height);
    }
    ASSERT_GT(width, 200) << geometry;
    ASSERT_GT(height, 100) << geometry;

    // The desktop as a picture; drawing may take a moment to reach the server.
    const std::string png = kOut + "/wkdemo_desktop.png";
    plat::Surface shot;
    int ink = 0;
    std::string taken;
    xwait::Until("the demo's text on the screen", [&] {
        taken = xprobe::Run("xwd -silent -root | convert xwd:- png:" + png);
        std::string error;
        ink = taken.empty() && plat::LoadPng(png, shot, &error) ? InkPixels(shot, x, y, width, height) : 0;
        return ink >= 2000;
    }, [&] { return std::to_string(ink) + " pixels of ink " + taken; });
    // Twenty lines of text leave thousands of dark pixels; a blank window none.
    EXPECT_GE(ink, 2000) << "the window shows no text";
    EXPECT_LT(ink, width * height / 2);
    EXPECT_EQ(shot.colorAt(x + 2, y + 2), plat::MakeRgb(192, 192, 192)) << "the default background";
    EXPECT_EQ(xprobe::Run("xdotool getwindowname " + std::to_string(window)), "Toolkit demo\n");
    // The window's left part, whose width holds every line but the folders'
    // (which also make the window as wide as they are): the facts a line of
    // 15 pixels each from 8 pixels down. The values of argv[0], the two
    // settings files and the two folders are the build's own: left out.
    std::vector<plat::Rect> folders;
    for (int line : {1, 3, 4, 5, 6}) folders.push_back({144, 8 + 15 * line, 560, 8 + 15 * (line + 1)});
    EXPECT_TRUE(refpic::MatchesReference(refpic::Crop(shot, {x, y, x + 560, y + height}),
                                         TM_TEST_SOURCE_DIR "/toolkit/core/x11/reference/wkdemo_window.png",
                                         kOut + "/wkdemo_window.png", refpic::kOnServer, folders));

    probe.SendClose(window);
    EXPECT_EQ(demo.Wait(xwait::kCeilingMs), 0);
    const std::string out = demo.Output();
    EXPECT_NE(out.find("program name:     wkdemo\n"), std::string::npos) << out;
    EXPECT_NE(out.find("screen:           1024 x 768"), std::string::npos) << out;
}

TEST_F(DemoOnX, AltF4EndsIt) {
    Demo demo;
    ASSERT_TRUE(demo.started());
    ASSERT_NE(WaitForWindow(), 0u);
    EXPECT_EQ(demo.Wait(0), -1) << "it waits for its window to be closed";
    EXPECT_EQ(xprobe::Run("xdotool key alt+F4"), "");
    EXPECT_EQ(demo.Wait(xwait::kCeilingMs), 0);
}

TEST_F(DemoOnX, OffscreenIsStillThereForTheAsking) {
    Demo demo("offscreen");
    ASSERT_TRUE(demo.started());
    EXPECT_EQ(demo.Wait(xwait::kCeilingMs), 0) << "it draws offscreen and ends by itself";
    const std::string out = demo.Output();
    EXPECT_NE(out.find("  argv[1]        offscreen\n"), std::string::npos) << out;
    EXPECT_NE(out.find("font section:     Fonts1024x768\n"), std::string::npos) << out;
}

} // namespace
