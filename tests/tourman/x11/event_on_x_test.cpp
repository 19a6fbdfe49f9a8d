// A round robin of six players and a USCF Swiss of thirty, each carried
// through all its rounds by tourman on an X server: the program runs in this process on the X11 backend,
// every click and key goes through the server (xdotool at the widget's
// place on the screen), and every box is answered from a queue as it opens.
// The files it leaves are checked: CR LF line ends only, each result list
// shows the keys typed, and the standings add the results up.
#include "support/widget_input.h"
#include "support/x_probe.h"
#include "toolkit/core/event_loop.h"
#include "toolkit/core/native_windows.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/core/window_system.h"
#include "toolkit/platform/font_test_fonts.h"
#include "toolkit/platform/png.h"
#include "toolkit/platform/x11_display.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/label.h"
#include "tourman/app_main.h"
#include "tourman/main_window.h"
#include "tourman/settings_dialog.h"
#include "tourman/tournament_commands.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <future>
#include <memory>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

int pumping = 0;
void StopPump(int, void*) { pumping = 0; }

std::deque<std::pair<int, int>> answers; // message number, button
std::string unexpected;

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class EventOnX : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "the x11 tests need an X server (DISPLAY)";
        ASSERT_TRUE(UseTestFonts());
        const fs::path scratch = fs::path(TM_TEST_OUTPUT_DIR) / "event";
        fs::remove_all(scratch);
        fs::create_directories(scratch / "data");
        fs::copy(TM_PROGRAM_DATA_DIR, scratch / "program", fs::copy_options::recursive);
        program = (scratch / "program/tourman").string();
        data = (scratch / "data").string() + "/";
        fs::current_path(scratch / "program");
        setenv("WOKUDIR", (scratch / "program/wokusys").c_str(), 1);
        std::string error;
        x = plat::X11Display::Open("", false, &error);
        ASSERT_TRUE(x) << error;
        argv[0] = program.data();
        WkInitWindowSystem(x.get(), nullptr, argv);
        WkInstallEventLoop();
        WkInitFormClass();
        ASSERT_TRUE(StartApplication());
        WkAddTimeout(100, AnswerBox, this);
        Pump(500);
    }
    void TearDown() override {
        if (MainWindow.window) WkShellDestroy(MainWindow.window);
        MainWindow = MainWindowWidgets();
        WkShutdown();
    }
    // Runs the loop for a while; a box that opens meanwhile gets its answer.
    void Pump(int ms = 150) {
        pumping = 1;
        WkAddTimeout(ms, StopPump, nullptr);
        WkLoopWhile(&pumping, 1);
    }
    static void AnswerBox(int, void* self) {
        WkAddTimeout(100, AnswerBox, self); // boxes open inside the program's own waits too
        WkNativeWindow modal = WkGetModalWindow();
        WkObject* box = modal ? WkListedShell(modal) : nullptr;
        if (!box || box == MainWindow.window) return;
        std::string text;
        std::vector<WkObject*> buttons;
        for (WkObject* o : tmt::WidgetsUnder(box)) {
            if (o->classCode == WK_CLASS_LABEL && WkLabelGetText(o)) text += (text.empty() ? "" : "\n") + std::string(WkLabelGetText(o));
            if (o->classCode == WK_CLASS_PUSH_BUTTON) buttons.push_back(o);
            if (o->classCode == WK_CLASS_EDIT) return; // a dialog the test fills itself
        }
        if (answers.empty() || MessageText(answers.front().first) != text || answers.front().second >= int(buttons.size())) {
            unexpected += "unexpected box \"" + text + "\"\n";
            answers.clear();
            if (!buttons.empty()) static_cast<EventOnX*>(self)->Xdo("mousemove " + static_cast<EventOnX*>(self)->At(buttons[0]) + " click 1", false);
            return;
        }
        static_cast<EventOnX*>(self)->Xdo("mousemove " + static_cast<EventOnX*>(self)->At(buttons[std::size_t(answers.front().second)]) + " click 1", false);
        answers.pop_front();
    }
    // The object's centre on the screen, where the server has its window.
    std::string At(WkObject* object) {
        const std::string shell = xprobe::Run("xdotool getwindowgeometry --shell " +
                                              std::to_string(x->xWindow(WkObjectGetNativeWindow(object))));
        int left = std::atoi(shell.substr(shell.find("X=") + 2).c_str());
        int top = std::atoi(shell.substr(shell.find("Y=") + 2).c_str());
        int ox, oy;
        WkObjectGetAbsolutePosition(object, &ox, &oy);
        return std::to_string(left + ox + object->width / 2) + " " + std::to_string(top + oy + object->height / 2);
    }
    // xdotool runs while the loop goes on, so that the program answers the server at once.
    void Xdo(const std::string& command, bool pump = true) {
        auto done = std::async(std::launch::async, [command] { return xprobe::Run("xdotool " + command); });
        while (pump && done.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) Pump(20);
        done.wait();
        if (pump) Pump();
    }
    void Click(WkObject* object) { Xdo("mousemove " + At(object) + " click 1"); }
    void Fill(WkObject* field, const std::string& text) {
        WkEditReplaceText(field, "", 0, 0);
        Click(field);
        Xdo("type --delay 5 '" + text + "'");
    }
    void Key(const std::string& keys) { Xdo("key --delay 20 " + keys); }
    void Png(WkObject* window, const std::string& name) {
        xprobe::Probe probe;
        plat::SavePng(probe.Pixels(x->xWindow(WkObjectGetNativeWindow(window))),
                      std::string(TM_TEST_OUTPUT_DIR) + "/" + name);
    }

    void Run(const char* system, const std::string& base, int players, int rounds);

    std::string program, data;
    char* argv[2] = {};
    std::unique_ptr<plat::X11Display> x;
};

// An event of the system typed into the settings dialog, its players typed
// into the form and every round paired, its results keyed and closed.
void EventOnX::Run(const char* system, const std::string& base, int players, int rounds) {
    const bool swiss = system[0] != '2';
    const std::string data = this->data + base + "/";
    fs::create_directories(data);
    answers = {{6, 1}};
    NewTournamentCommand();
    Pump();
    ASSERT_NE(SettingsDialog.window, nullptr);
    for (auto [field, text] : {std::pair{SettingsDialog.name, "Club Event"}, {SettingsDialog.place, "Pisa"},
                               {SettingsDialog.beginDate, "01052026"}, {SettingsDialog.endDate, "03052026"},
                               {SettingsDialog.arbiter, "Neri"},
                               {SettingsDialog.baseName, base.c_str()}})
        Fill(field, text);
    WkEditReplaceText(SettingsDialog.dataFolder, data.c_str(), 0, 0);
    WkEditReplaceText(SettingsDialog.pairingSystem, system, 0, 0);
    WkEditReplaceText(SettingsDialog.rounds, std::to_string(rounds).c_str(), 0, 0);
    Png(SettingsDialog.window, base + "-settings.png");
    Click(SettingsDialog.okButton);
    ASSERT_EQ(Settings.PairingSystem, system[0] - '0') << unexpected;
    WkFormSetPage(MainWindow.notebook, 0);
    Pump();
    for (int i = 0; i < players; ++i) {
        Fill(MainWindow.name, "PLAYER " + std::string(1, char('A' + i % 26)) + std::string(i / 26, 'A'));
        Fill(MainWindow.fideRating, std::to_string(2400 - 20 * i));
        Click(MainWindow.addButton);
    }
    ASSERT_EQ(PlayerCount, players);
    answers = {{15, 1}, {193, 0}};
    if (swiss) answers.push_back({187, 1});
    Click(MainWindow.closeRegistrationButton);
    const int boardCount = players / 2;
    for (int round = 1; round <= rounds; ++round) {
        WkFormSetPage(MainWindow.notebook, 1);
        Pump();
        if (round > 1) Click(MainWindow.pairButton);
        ASSERT_EQ(CurrentRound, round) << unexpected;
        if (swiss) Click(MainWindow.acceptButton);
        WkFormSetPage(MainWindow.notebook, 2);
        Pump();
        Click(MainWindow.resultsToggle);
        WkEditReplaceText(MainWindow.boardField, "", 0, 0);
        Click(MainWindow.boardField);
        Key("1 Return");
        for (int b = 1; b <= boardCount; ++b) {
            Click(MainWindow.resultKeyField);
            Key(std::string(1, "1x0"[(b + round) % 3]));
        }
        
        Click(MainWindow.resultsToggle);
        EXPECT_TRUE(fs::exists(data + base + std::to_string(round) + ".rnd")) << "round " << round << unexpected;
    }
    for (int page = 0; page < 4; ++page) {
        WkFormSetPage(MainWindow.notebook, page);
        Pump();
        Png(MainWindow.window, base + "-page" + std::to_string(page) + ".png");
    }
    EXPECT_EQ(unexpected, "");
    for (const fs::directory_entry& e : fs::directory_iterator(data)) {
        if (e.path().extension() != ".txt") continue;
        const std::string bytes = Bytes(e.path());
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const bool crlf = bytes[i] != '\n' || (i > 0 && bytes[i - 1] == '\r');
            EXPECT_TRUE(crlf) << e.path() << " at byte " << i;
        }
    }
    // Each board of each result list shows the key typed for it ("½" as
    // 0xBD); the standings give each player the sum of his results.
    std::map<int, double> sums;
    for (int round = 1; round <= rounds; ++round) {
        const std::string file = "result" + std::to_string(round) + ".txt";
        std::istringstream lines(Bytes(data + file));
        int boards = 0;
        for (std::string line; std::getline(lines, line);) {
            const std::size_t is = line.find(" = "), last = line.rfind("= ");
            if (is == std::string::npos || last == is + 1 || std::atoi(line.c_str()) != ++boards) continue;
            const int white = std::atoi(line.c_str() + is + 3);
            const int black = std::atoi(line.c_str() + line.find(" - ", is) + 3);
            const char key = "1x0"[(boards + round) % 3];
            const char* shown = key == '1' ? "1 - 0\r" : key == 'x' ? "\xBD - \xBD\r" : "0 - 1\r";
            EXPECT_EQ(line.substr(last + 2), shown) << file << ", round " << round << ", board " << boards;
            sums[white] += key == '1' ? 1 : key == 'x' ? 0.5 : 0;
            sums[black] += key == '0' ? 1 : key == 'x' ? 0.5 : 0;
        }
        EXPECT_EQ(boards, boardCount) << file;
    }
    std::istringstream standings(Bytes(data + "tblscore.txt"));
    int rows = 0;
    for (std::string line; std::getline(standings, line);) {
        int position = 0, id = 0;
        double score = 0;
        if (line.find('|') == std::string::npos || std::sscanf(line.c_str(), "%d %lf %d", &position, &score, &id) != 3)
            continue;
        ++rows;
        EXPECT_EQ(score, sums[id]) << "tblscore.txt, player " << id;
    }
    EXPECT_EQ(rows, players) << "tblscore.txt";
}

// One run of the program carries both events, each in its own data folder.
TEST_F(EventOnX, RoundRobinOfSixThenUscfSwissOfThirty) {
    Run("2: Round Robin S", "robin", 6, 5);
    Run("4: Swiss USCF", "swiss", 30, 7);
}

} // namespace
