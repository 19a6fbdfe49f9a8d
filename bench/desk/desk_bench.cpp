// How fast tourman answers the arbiter at the desk. The tournament is a
// 999-player FIDE Dubov Swiss at round 9 (500 boards, the last round paired
// and waiting for its results), made with the tests' simulator and written
// by the program's own writers, in a fresh scratch folder per run (removed
// at the end).
//
// In this process, on the offscreen backend, from the call to the end of
// the work it causes:
//   Start    cold starts of the program (this program run again as a child
//            process): up to the main window's first frame, the Open command
//            once the file is chosen, and the paint that follows it
//   Lists    PgDn and PgUp over the results list and the player list, the
//            list clicked and the keys pressed at the window as the user's
//   Typing   one result key on the results page, to the end of the repaint
//            it causes, for each of the 500 boards; then the round's close
//   Viewer   "crosstbl.txt" and a 10 MB text file in the file viewer: the
//            first frame, then paging to the end
//   Repaint  the whole main window at 1024 x 768 (the notebook page
//            switched, so that pixels change)
// On an X server (an Xvfb started here on a free display number, or DISPLAY
// when there is no Xvfb; without either they are not measured):
//   the whole repaint, with the pixels on the server, and what the user sees,
//   measured from outside the program by a second client under openbox
//   (screen_watch.h): from exec to the first complete paint (tourman and,
//   for comparison, xcalc), from a click on the file browser's Ok to the
//   window settled with the opened tournament (and the alert that its last
//   round's results are still to come), and from an XTest key to its pixels
//   for a result key and for a page step of the results list.
// The program ends with a table of every figure, its target and whether it
// holds; the figures on the screen give min / median / max.
// Run by hand from the build tree: build/bench/desk/bench_desk
#include "bench/scratch_folder.h"
#include "reports/cross_table.h"
#include "screen_watch.h"
#include "support/recording_message_box.h"
#include "support/tournament_simulator.h"
#include "support/widget_input.h"
#include "support/x_probe.h"
#include "toolkit/core/event_loop.h"
#include "toolkit/core/keys.h"
#include "toolkit/core/native_windows.h"
#include "toolkit/core/object.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/core/window_system.h"
#include "toolkit/platform/offscreen.h"
#include "toolkit/platform/x11_display.h"
#include "toolkit/widgets/dir_tree.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/file_browser.h"
#include "toolkit/widgets/file_viewer.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/toggle.h"
#include "tourman/app_main.h"
#include "tourman/commands/tournament_commands.h"
#include "tourman/frame/window_frame.h"
#include "tourman/pages/output/output_widgets.h"
#include "tourman/pages/players/players_widgets.h"
#include "tourman/pages/results/result_entry.h"
#include "tourman/pages/results/results_list.h"
#include "tourman/pages/results/results_widgets.h"
#include "tournament/files/message_file.h"
#include "tournament/files/round_state_file.h"
#include "tournament/files/tournament_file.h"
#include "tournament/round_save.h"
#include "tournament/round_state.h"
#include "tournament/start_tournament.h"

#include <benchmark/benchmark.h>

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// The run's scratch folder, a fresh one in the temporary folder (the
// children it starts are given it): the program folder and the data.
std::string Root, ProgramDir, DataDir;
void UseRoot(const std::string& root) {
    Root = root;
    ProgramDir = Root + "program/";
    DataDir = Root + "data/";
}
// The tournament as it was made, for the figures on the screen: the figures
// taken in this process enter results into the first copy.
std::string ScreenDataDir() { return Root + "screen-data/"; }
constexpr const char* BaseName = "open999";
constexpr int ColdStarts = 7;

std::string QonPath() { return DataDir + BaseName + ".qon"; }

double Ms(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

struct Samples {
    std::vector<double> ms;
    double Median() const {
        if (ms.empty()) return 0;
        std::vector<double> v = ms;
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    }
    double Worst() const { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
    double Total() const {
        double t = 0;
        for (double x : ms) t += x;
        return t;
    }
};

// One line of the closing table; a negative value was not measured.
struct Figure {
    std::string name;
    double value;
    double target; // 0: no target, shown for information
    std::string note;
};
std::vector<Figure> Figures;

void Report(benchmark::State& state, const std::string& name, double value, double target,
            const std::string& note = "") {
    Figures.push_back({name, value, target, note});
    std::string key = name;
    std::replace(key.begin(), key.end(), ' ', '_');
    state.counters[key + "_ms"] = value;
}

// --- The tournament.

// The program folder (the build's, copied) and the tournament's files.
bool MakeTournament() {
    fs::create_directories(DataDir);
    fs::copy(TM_PROGRAM_DATA_DIR, ProgramDir, fs::copy_options::recursive);
    ProgramFolder = ProgramDir;
    if (!LoadMessageFile()) return false;
    InstallServices();
    RecordingMessageBox boxes; // the first round's colour question, answered silently
    SimulationOptions options;
    options.players = 999;
    options.rounds = 9;
    options.system = FideDubovSystem;
    options.seed = 67;
    options.withdrawPerMille = 0; // every player plays round 9: 500 boards
    options.dataFolder = DataDir;
    SetUpSimulatedTournament(options);
    std::snprintf(Settings.Name, sizeof Settings.Name, "Open 999");
    std::snprintf(Settings.BaseName, sizeof Settings.BaseName, "%s", BaseName);
    for (int round = 1; round <= 8; ++round) {
        if (PairNextRound(PlayerCount) == 0) return false;
        PlaySimulatedRound(options, round);
        if (!SaveRound(round)) return false;
        CloseSimulatedRound(options, round);
    }
    if (PairNextRound(PlayerCount) == 0) return false;
    RoundAccepted(); // the results still to come
    PlayerNumbersFixed();
    TournamentChanged();
    WriteCrossTable(PlayerCount);
    const bool written = WriteTournamentFile(0) && WriteRoundStateFile(RoundStatePath());
    ResetTournamentState();
    ClearMessageTable();
    return written;
}

// --- The program on a display.

std::unique_ptr<plat::Display> TheDisplay;
Clock::time_point FileChosen;
std::string Argv0;
char* Argv[2] = {};

bool Click(void* object) {
    return tmt::InjectClick(*TheDisplay, static_cast<WkObject*>(object));
}

// The arbiter's hand in modal waits: the file browser chooses the
// tournament's file, any box gets its first button.
bool AnswerModal() {
    const WkNativeWindow modal = WkGetModalWindow();
    WkObject* box = modal ? WkListedShell(modal) : nullptr;
    if (!box) return false;
    const WkBrowserParts& parts = WkFileBrowserParts();
    if (box == parts.shell) {
        WkDirTreeSetPath(static_cast<WkObject*>(parts.tree), DataDir.substr(0, DataDir.size() - 1).c_str(), 1);
        WkEditReplaceText(static_cast<WkObject*>(parts.name), (std::string(BaseName) + ".qon").c_str(), 0, 0);
        FileChosen = Clock::now();
        return Click(parts.ok);
    }
    for (WkObject* o : tmt::WidgetsUnder(box))
        if (o->classCode == WK_CLASS_PUSH_BUTTON) return Click(o);
    return false;
}

// The program's start-up up to its event loop, in the program folder.
bool StartProgram(std::unique_ptr<plat::Display> display) {
    TheDisplay = std::move(display);
    fs::current_path(ProgramDir);
    setenv("WOKUDIR", (ProgramDir + "wokusys").c_str(), 1);
    Argv0 = ProgramDir + "tourman";
    Argv[0] = Argv0.data();
    WkInitWindowSystem(TheDisplay.get(), nullptr, Argv);
    if (!StartApplication()) return false;
    WkFlushEvents();
    return true;
}

std::unique_ptr<plat::Display> NewOffscreen() {
    auto display = std::make_unique<plat::OffscreenDisplay>(plat::OffscreenOptions());
    display->setIdleHook(AnswerModal, 1000000);
    return display;
}

struct OpenTimes {
    double open = -1, paint = -1;
};

// The Open command with the file chosen (and the alert that the round's
// results are still to come answered), then a complete paint of the window.
// The window under the alert is painted inside the command already, so the
// paint counted apart is a second one: the sum errs on the slow side.
OpenTimes OpenByCommand() {
    OpenTournamentCommand();
    const Clock::time_point opened = Clock::now();
    WkFlushEvents();
    TheDisplay->invalidate(WkObjectGetNativeWindow(MainWindow.window));
    WkFlushEvents();
    const Clock::time_point painted = Clock::now();
    if (PlayerCount != 999 || CurrentRound != 9) return {};
    return {Ms(FileChosen, opened), Ms(opened, painted)};
}

// A cold start, as a child process: times since the parent forked it.
int StartChild(long long forkedAtNs) {
    const Clock::time_point forked{std::chrono::nanoseconds(forkedAtNs)};
    if (!StartProgram(NewOffscreen())) return 1;
    const Clock::time_point framed = Clock::now();
    const OpenTimes t = OpenByCommand();
    std::printf("%f %f %f\n", Ms(forked, framed), t.open, t.paint);
    std::fflush(stdout);
    _exit(t.open < 0 ? 1 : 0);
}

// The main window at 1024 x 768 where it stands.
void Resize1024x768() {
    const plat::WindowRecord* w = TheDisplay->window(WkObjectGetNativeWindow(MainWindow.window));
    plat::Rect r = w->client;
    r.x1 = r.x0 + 1024;
    r.y1 = r.y0 + 768;
    TheDisplay->setGeometry(WkObjectGetNativeWindow(MainWindow.window), r);
    WkFlushEvents();
}

// Whole repaints, the notebook switched between the results and the
// players page before each (not timed), so that on X the changed pixels go
// to the server inside the time, which includes the server's answer.
Samples WholeRepaints(int count, plat::X11Display* x11) {
    Samples s;
    for (int i = 0; i < count; ++i) {
        WkFormSetPage(MainWindow.notebook, i % 2 == 0 ? 0 : 2);
        const Clock::time_point start = Clock::now();
        TheDisplay->invalidate(WkObjectGetNativeWindow(MainWindow.window));
        WkFlushEvents();
        if (x11) {
            x11->present();
            XSync(x11->connection(), False);
        }
        s.ms.push_back(Ms(start, Clock::now()));
    }
    return s;
}

// The X figure, as a child process on DISPLAY: median and worst.
int X11Child() {
    std::string error;
    std::unique_ptr<plat::X11Display> x11 = plat::X11Display::Open("", false, &error);
    if (!x11) {
        std::fprintf(stderr, "bench_desk: %s\n", error.c_str());
        return 1;
    }
    plat::X11Display* raw = x11.get();
    if (!StartProgram(std::move(x11))) return 1;
    if (!OpenTournament(QonPath())) return 1;
    ShowRound(CurrentRound);
    Resize1024x768();
    for (int i = 0; i < 20; ++i) { // until the server has mapped and shown it
        WkFlushEvents();
        raw->present();
        XSync(raw->connection(), False);
        usleep(10000);
    }
    const Samples s = WholeRepaints(60, raw);
    std::printf("%f %f\n", s.Median(), s.Worst());
    std::fflush(stdout);
    _exit(0);
}

// --- What the user sees on an X server (a child process on the bench's
// Xvfb, under openbox). A second X client (desk::ScreenWatch) acts as the
// user through XTest and takes each time from the moment its action went to
// the server to the moment the screen first showed what it settled on.

constexpr int StartRuns = 7, OpenRuns = 3, ResultKeys = 30, PageSteps = 20;

// One figure of the child: its name and its samples, on one line.
void PrintSamples(const std::string& name, const std::vector<double>& ms) {
    std::printf("%s", name.c_str());
    for (double v : ms) std::printf(" %.3f", v);
    std::printf("\n");
    std::fflush(stdout);
}

// From exec to the first complete paint of a program started in the
// program folder, and its window gone again.
std::vector<double> StartOnScreen(desk::ScreenWatch& watch, const std::vector<std::string>& argv) {
    std::vector<double> ms;
    for (int i = 0; i < StartRuns; ++i) {
        watch.arm();
        const desk::Clock::time_point exec = desk::Clock::now();
        const int pid = desk::Spawn(argv, ProgramDir, "");
        if (!pid) return {};
        const double settled = watch.settled(exec, 800, 15000);
        desk::Stop(pid);
        watch.arm();
        watch.settled(desk::Clock::now(), 300, 3000);
        if (settled < 0) return {};
        ms.push_back(settled);
    }
    return ms;
}

// What the program's thread and the user's hand tell each other: where the
// user is to act next (a window and a place in it), and when a step is through.
struct Target {
    unsigned long window = 0;
    int x = 0, y = 0;
};
struct Hand {
    std::mutex lock;
    std::condition_variable changed;
    Target next;
    bool offered = false, userDone = false;

    void offer(const Target& t) {
        std::lock_guard<std::mutex> hold(lock);
        next = t;
        offered = true;
        changed.notify_all();
    }
    // The place offered; false when none came within a minute.
    bool take(Target* t) {
        std::unique_lock<std::mutex> hold(lock);
        if (!changed.wait_for(hold, std::chrono::seconds(60), [&] { return offered; })) return false;
        *t = next;
        offered = false;
        return true;
    }
    void done() {
        std::lock_guard<std::mutex> hold(lock);
        userDone = true;
    }
    // The step is through, or the hand has stopped for good.
    bool takeDone() {
        std::lock_guard<std::mutex> hold(lock);
        const bool d = userDone || gone;
        userDone = false;
        return d;
    }
    void leave() {
        std::lock_guard<std::mutex> hold(lock);
        gone = true;
    }
    bool gone = false;
};
Hand TheHand;
plat::X11Display* OnX = nullptr;

// Offers the centre of an object: its window and the place in it.
void OfferCentre(WkObject* object) {
    int ox = 0, oy = 0;
    WkObjectGetAbsolutePosition(object, &ox, &oy);
    TheHand.offer({OnX->xWindow(WkObjectGetNativeWindow(object)), ox + object->width / 2, oy + object->height / 2});
}

// The target on the screen once its window is shown and has stopped moving
// (a window manager places a new window after it is mapped); false when it
// is not shown within two seconds.
bool OnScreen(const desk::ScreenWatch& watch, const Target& t, int* x, int* y) {
    int lastX = -1, lastY = -1;
    for (int tries = 0; tries < 100; ++tries) {
        int sx, sy;
        if (watch.position(t.window, &sx, &sy)) {
            if (sx == lastX && sy == lastY) {
                *x = sx + t.x;
                *y = sy + t.y;
                return true;
            }
            lastX = sx, lastY = sy;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

// Runs the program's own event loop until the user's hand says its step is
// through (a tick of the toolkit's timer looks).
int keepLooping = 0;
void LookForTheHand(int, void*) {
    if (TheHand.takeDone()) keepLooping = 0;
    else WkAddTimeout(20, LookForTheHand, nullptr);
}
void LoopUntilTheHandIsDone() {
    keepLooping = 1;
    WkAddTimeout(20, LookForTheHand, nullptr);
    WkLoopWhile(&keepLooping, 1);
}

// While File > Open runs: the question whether to leave the open
// tournament gets "leave" (not timed), the file browser is filled with the
// tournament's file and its Ok offered to the hand, then the alert that the
// round's results are still to come has its button offered.
struct OpenWatch {
    bool filled = false, alertOffered = false, active = false;
} Opening;
void WatchTheOpen(int, void*) {
    if (!Opening.active) return;
    const WkNativeWindow modal = WkGetModalWindow();
    WkObject* box = modal ? WkListedShell(modal) : nullptr;
    const WkBrowserParts& parts = WkFileBrowserParts();
    if (box && box == parts.shell && !Opening.filled) {
        WkDirTreeSetPath(static_cast<WkObject*>(parts.tree), DataDir.substr(0, DataDir.size() - 1).c_str(), 1);
        WkEditReplaceText(static_cast<WkObject*>(parts.name), (std::string(BaseName) + ".qon").c_str(), 0, 0);
        WkFlushEvents();
        OfferCentre(static_cast<WkObject*>(parts.ok));
        Opening.filled = true;
    } else if (box && box != parts.shell) {
        std::vector<WkObject*> buttons;
        for (WkObject* o : tmt::WidgetsUnder(box))
            if (o->classCode == WK_CLASS_PUSH_BUTTON) buttons.push_back(o);
        if (!Opening.filled && buttons.size() > 1) {
            Click(buttons[1]); // leave the tournament without saving it
        } else if (Opening.filled && !Opening.alertOffered && !buttons.empty()) {
            OfferCentre(buttons[0]);
            Opening.alertOffered = true;
        }
    }
    WkAddTimeout(20, WatchTheOpen, nullptr);
}

// The user's side, on a thread of its own with its own connection.
void UserHand(desk::ScreenWatch& watch, std::map<std::string, std::vector<double>>& out) {
    Target t;
    int x = 0, y = 0;
    // The next place offered, on the screen.
    const auto next = [&] { return TheHand.take(&t) && OnScreen(watch, t, &x, &y); };
    // An action and the screen's answer to it; a pointer's move may change
    // nothing, so it is waited for only briefly.
    const auto act = [&](const char* figure, int quietMs, auto action, int limitMs = 30000) {
        watch.arm();
        const double ms = watch.settled(action(), quietMs, limitMs);
        if (figure && ms >= 0) out[figure].push_back(ms);
    };
    // File > Open: from the click on Ok to the screen settled, the window
    // repainted and the alert that the round's results are still to come
    // over it, waiting for the user. The pointer is moved to the button
    // first (its highlight is not counted); the alert is closed after.
    for (int run = 0; run < OpenRuns; ++run) {
        if (!next()) return;
        act(nullptr, 300, [&] { return watch.move(x, y); }, 600);
        act("open", 600, [&] { return watch.click(x, y); });
        if (!next()) return;
        act(nullptr, 600, [&] { return watch.click(x, y); });
        TheHand.done();
    }
    // The results list clicked, then paged down and back up.
    if (!next()) return;
    act(nullptr, 400, [&] { return watch.click(x, y); });
    act(nullptr, 400, [&] { return watch.key(XK_Home); }, 5000);
    for (int i = 0; i < PageSteps; ++i) act("page", 400, [&] { return watch.key(XK_Next); }, 5000);
    for (int i = 0; i < PageSteps; ++i) act("page", 400, [&] { return watch.key(XK_Prior); }, 5000);
    TheHand.done();
    // Result keys typed into the result field, clicked first.
    if (!next()) return;
    act(nullptr, 400, [&] { return watch.click(x, y); });
    const unsigned long keys[] = {XK_1, XK_0, XK_x, XK_1, XK_x, XK_0};
    for (int i = 0; i < ResultKeys; ++i) act("key", 400, [&] { return watch.key(keys[i % 6]); }, 5000);
    TheHand.done();
}

// The figures on the screen, a line each: the start of tourman and of
// xcalc (for comparison), File > Open, a page step, a result key.
int XUserChild() {
    xprobe::WindowManager wm;
    const std::string failed = wm.Start(Root + "openbox");
    if (!failed.empty()) {
        std::fprintf(stderr, "bench_desk: %s\n", failed.c_str());
        return 1;
    }
    desk::ScreenWatch watch;
    if (!watch.ok()) {
        std::fprintf(stderr, "bench_desk: the X server lacks DAMAGE, XFIXES, MIT-SHM or XTEST\n");
        return 1;
    }
    PrintSamples("start", StartOnScreen(watch, {TM_TOURMAN_PROGRAM}));
    if (access("/usr/bin/xcalc", X_OK) == 0) PrintSamples("xcalc", StartOnScreen(watch, {"/usr/bin/xcalc"}));

    std::string error;
    std::unique_ptr<plat::X11Display> x11 = plat::X11Display::Open("", false, &error);
    if (!x11) return 1;
    OnX = x11.get();
    if (!StartProgram(std::move(x11))) return 1;
    std::map<std::string, std::vector<double>> out;
    std::thread user([&] {
        UserHand(watch, out);
        TheHand.leave();
    });
    for (int run = 0; run < OpenRuns; ++run) {
        // The player list, not a field, has the keyboard: no text cursor
        // blinks while the screen is watched.
        WkObjectSetFocus(PlayersPage.playerList);
        Opening.filled = Opening.alertOffered = false;
        Opening.active = true;
        WkAddTimeout(20, WatchTheOpen, nullptr);
        OpenTournamentCommand();
        Opening.active = false;
        LoopUntilTheHandIsDone();
    }
    WkFormSetPage(MainWindow.notebook, 2);
    WkFlushEvents();
    OfferCentre(ResultsPage.resultsList);
    LoopUntilTheHandIsDone();
    WkToggleSetOn(ResultsPage.resultsToggle);
    WkListSelectItem(ResultsPage.resultsList, 0);
    SelectResultRow(0);
    WkFlushEvents();
    OfferCentre(ResultsPage.resultKeyField);
    LoopUntilTheHandIsDone();
    user.join();
    for (const auto& [name, ms] : out) PrintSamples(name, ms);
    _exit(0);
}

// Runs this program again with the arguments (and DISPLAY when not empty);
// its output, empty when it failed.
std::string RunChild(const std::vector<std::string>& args, const std::string& display) {
    int out[2];
    if (pipe(out) != 0) return "";
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        close(out[0]);
        close(out[1]);
        if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
        std::vector<char*> argv{const_cast<char*>("bench_desk")};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv("/proc/self/exe", argv.data());
        _exit(127);
    }
    close(out[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, std::size_t(n));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? text : "";
}

bool Prepared = false, PreparedOk = false;

// The tournament written, then the program started in this process and the
// tournament opened by its command, for the figures taken in process.
bool Prepare() {
    if (Prepared) return PreparedOk;
    Prepared = true;
    if (!MakeTournament()) {
        std::fprintf(stderr, "bench_desk: the tournament could not be made\n");
        return false;
    }
    std::error_code copied;
    fs::copy(DataDir, ScreenDataDir(), fs::copy_options::recursive, copied);
    PreparedOk = !copied && StartProgram(NewOffscreen()) && OpenByCommand().open >= 0;
    if (!PreparedOk) std::fprintf(stderr, "bench_desk: the program could not open the tournament\n");
    return PreparedOk;
}

void Key(std::uint8_t scan, std::uint8_t character = 0, std::uint16_t virtualKey = 0) {
    plat::KeyInfo k;
    k.scanCode = scan;
    k.character = character;
    k.virtualKey = virtualKey;
    k.extended = character == 0;
    TheDisplay->injectKey(k);
}

double TimedKey(std::uint8_t scan, std::uint8_t character = 0, std::uint16_t virtualKey = 0) {
    const Clock::time_point start = Clock::now();
    Key(scan, character, virtualKey);
    WkFlushEvents();
    return Ms(start, Clock::now());
}

// The paging keys' scan codes (keys of the separate block).
constexpr std::uint8_t ScanHome = 0x47, ScanPgUp = 0x49, ScanPgDn = 0x51;

// --- The figures.

void Start(benchmark::State& state) {
    for (auto _ : state) {
        if (!Prepare()) return state.SkipWithError("not prepared");
        Samples up, open, paint, total;
        for (int i = 0; i < ColdStarts; ++i) {
            const long long now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                      Clock::now().time_since_epoch()).count();
            double a = -1, b = -1, c = -1;
            const std::string out = RunChild({"--start-child", Root, std::to_string(now)}, "");
            if (std::sscanf(out.c_str(), "%lf %lf %lf", &a, &b, &c) != 3)
                return state.SkipWithError("a cold start failed");
            up.ms.push_back(a);
            open.ms.push_back(b);
            paint.ms.push_back(c);
            total.ms.push_back(a + b + c);
        }
        const std::string n = "median of " + std::to_string(ColdStarts) + " cold starts";
        Report(state, "start to first frame", up.Median(), 0, n);
        Report(state, "start open command", open.Median(), 0, "file chosen to command's end, alert included");
        Report(state, "start first paint", paint.Median(), 0, "a complete paint after the open");
        Report(state, "start with tournament open", total.Median(), 300, n + ", sum of the three");
    }
}

void Typing(benchmark::State& state) {
    for (auto _ : state) {
        if (!Prepare()) return state.SkipWithError("not prepared");
        WkFormSetPage(MainWindow.notebook, 2);
        WkToggleSetOn(ResultsPage.resultsToggle);
        WkFlushEvents();
        WkObject* list = ResultsPage.resultsList;
        WkListSelectItem(list, 0);
        SelectResultRow(0);
        WkFlushEvents();
        if (!ResultEntryOpen() || WkListGetCount(list) != 500) return state.SkipWithError("no result entry");
        Samples s, plain, saving;
        const char keys[] = "10x1x0";
        for (int i = 0; i < 500; ++i) {
            const char c = keys[i % 6];
            s.ms.push_back(TimedKey(0, std::uint8_t(c), c == 'x' ? 'X' : std::uint16_t(c)));
            (i % 15 == 14 ? saving : plain).ms.push_back(s.ms.back());
        }
        int played = 0;
        for (int board = 1; board <= 500; ++board) played += GameTable(board, 9) % 10 != NotPlayed;
        if (played != 500) return state.SkipWithError("a key entered nothing");
        Report(state, "result key median", s.Median(), 16, "500 keys, one per board");
        Report(state, "result key worst", s.Worst(), 50, "every 15th key saves the tournament");
        Report(state, "result key worst, no save", plain.Worst(), 50);
        Report(state, "result key with autosave median", saving.Median(), 0, "the 33 keys that save");
        // The round closed with every board keyed: the round-state files,
        // the lists and the reports written.
        const Clock::time_point start = Clock::now();
        Click(ResultsPage.resultsToggle);
        WkFlushEvents();
        const double close = Ms(start, Clock::now());
        if (IsGetResultDone != 1) return state.SkipWithError("the round did not close");
        Report(state, "round close", close, 0, "500 boards, its files and reports written");
    }
}

// PgDn steps over the list and PgUp back, each to the end of its repaint:
// the list clicked, as the arbiter gives it the focus, and the keys pressed
// at the window, as the arbiter's are.
void PageOver(benchmark::State& state, WkObject* list, const std::string& name) {
    Click(list);
    WkFlushEvents();
    Key(ScanHome);
    WkFlushEvents();
    WkListData* d = WkListRecord(list);
    const int before = d->firstRow;
    Samples s;
    for (int i = 0; i < 20; ++i) s.ms.push_back(TimedKey(ScanPgDn));
    const int moved = d->firstRow - before;
    for (int i = 0; i < 20; ++i) s.ms.push_back(TimedKey(ScanPgUp));
    if (moved <= 0) return state.SkipWithError(("PgDn did not move " + name).c_str());
    Report(state, name + " page step median", s.Median(), 16, "20 PgDn, 20 PgUp at the window, the list focused");
    Report(state, name + " page step worst", s.Worst(), 16);
}

void Lists(benchmark::State& state) {
    for (auto _ : state) {
        if (!Prepare()) return state.SkipWithError("not prepared");
        WkFormSetPage(MainWindow.notebook, 2);
        WkFlushEvents();
        PageOver(state, ResultsPage.resultsList, "results list");
        WkFormSetPage(MainWindow.notebook, 0);
        WkFlushEvents();
        PageOver(state, PlayersPage.playerList, "player list");
    }
}

// A file in the output page's viewer: the first frame, then PgDn to its end.
void View(benchmark::State& state, const std::string& path, const std::string& name) {
    WkObject* viewer = OutputPage.fileViewer;
    const Clock::time_point start = Clock::now();
    WkFileViewerLoad(viewer, path.c_str());
    WkFlushEvents();
    Report(state, name + " first frame", Ms(start, Clock::now()), 100);
    Click(viewer);
    WkFlushEvents();
    WkListData* d = WkListRecord(viewer);
    Samples s;
    for (int last = -1; d->firstRow != last && s.ms.size() < 1000000;) {
        last = d->firstRow;
        s.ms.push_back(TimedKey(ScanPgDn));
    }
    if (d->firstRow == 0) return state.SkipWithError(("PgDn did not move the viewer on " + name).c_str());
    const std::string n = std::to_string(s.ms.size()) + " PgDn to line " + std::to_string(d->firstRow);
    Report(state, name + " page step median", s.Median(), 16, n);
    Report(state, name + " page step worst", s.Worst(), 16);
    Report(state, name + " paging to the end", s.Total(), 0, n);
}

void Viewer(benchmark::State& state) {
    for (auto _ : state) {
        if (!Prepare()) return state.SkipWithError("not prepared");
        WkFormSetPage(MainWindow.notebook, 3);
        WkFlushEvents();
        View(state, DataDir + "crosstbl.txt", "crosstbl.txt");
        const std::string big = Root + "big.txt";
        {
            std::ofstream out(big, std::ios::binary);
            std::string line(198, ' ');
            for (int i = 0; line.size() * i < 10 * 1024 * 1024; ++i) {
                const std::string number = std::to_string(i + 1);
                for (std::size_t c = 0; c < line.size(); ++c) line[c] = char('a' + (c + i) % 26);
                line.replace(0, number.size(), number);
                out << line << "\r\n";
            }
        }
        View(state, big, "10 MB file");
        WkFileViewerLoad(OutputPage.fileViewer, "");
    }
}

void Repaint(benchmark::State& state) {
    for (auto _ : state) {
        if (!Prepare()) return state.SkipWithError("not prepared");
        Resize1024x768();
        const Samples s = WholeRepaints(60, nullptr);
        Report(state, "whole repaint offscreen median", s.Median(), 16, "1024 x 768, 60 repaints");
        Report(state, "whole repaint offscreen worst", s.Worst(), 16);
    }
}

// An Xvfb of our own on a free display number; its pid, 0 when none started.
pid_t StartXvfb(std::string& display) {
    for (const char* dir : {"/usr/bin/", "/usr/local/bin/"}) {
        const std::string program = std::string(dir) + "Xvfb";
        if (access(program.c_str(), X_OK) != 0) continue;
        int n = 90;
        while (fs::exists("/tmp/.X" + std::to_string(n) + "-lock") ||
               fs::exists("/tmp/.X11-unix/X" + std::to_string(n)))
            ++n;
        display = ":" + std::to_string(n);
        const pid_t pid = fork();
        if (pid == 0) {
            if (!freopen("/dev/null", "w", stderr)) _exit(127);
            execl(program.c_str(), "Xvfb", display.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                  "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int tries = 0; tries < 100 && !fs::exists("/tmp/.X11-unix/X" + std::to_string(n)); ++tries)
            usleep(100000);
        return pid;
    }
    return 0;
}

struct Spread {
    double min = -1, median = -1, max = -1;
};
Spread SpreadOf(std::vector<double> ms) {
    if (ms.empty()) return {};
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2], ms.back()};
}
std::string SpreadNote(const Spread& s, std::size_t count, const std::string& what) {
    char text[160];
    std::snprintf(text, sizeof text, "min %.1f / max %.1f of %zu, %s", s.min, s.max, count, what.c_str());
    return text;
}

void X11(benchmark::State& state) {
    for (auto _ : state) {
        if (!Prepare()) return state.SkipWithError("not prepared");
        std::string display;
        const pid_t xvfb = StartXvfb(display);
        const char* given = std::getenv("DISPLAY");
        if (!xvfb && (!given || !*given)) {
            Figures.push_back({"whole repaint on X median", -1, 16, "not measured: no Xvfb and no DISPLAY"});
            continue;
        }
        const std::string where = xvfb ? display : std::string(given);
        const std::string repaint = RunChild({"--x11-child", Root}, where);
        const std::string user = RunChild({"--x-user-child", Root}, where);
        if (xvfb) {
            kill(xvfb, SIGTERM);
            waitpid(xvfb, nullptr, 0);
        }
        double median = -1, worst = -1;
        if (std::sscanf(repaint.c_str(), "%lf %lf", &median, &worst) != 2) return state.SkipWithError("the X run failed");
        const std::string server = xvfb ? "Xvfb " + display : "DISPLAY " + std::string(given);
        Report(state, "whole repaint on X median", median, 16, server + ", pixels on the server");
        Report(state, "whole repaint on X worst", worst, 16);
        std::map<std::string, std::vector<double>> lines;
        std::istringstream in(user);
        for (std::string line; std::getline(in, line);) {
            std::istringstream words(line);
            std::string name;
            words >> name;
            for (double v; words >> v;) lines[name].push_back(v);
        }
        if (lines["start"].empty() || lines["open"].empty() || lines["key"].empty() || lines["page"].empty())
            return state.SkipWithError("the run on the screen failed");
        const Spread start = SpreadOf(lines["start"]), xcalc = SpreadOf(lines["xcalc"]);
        std::string startNote = SpreadNote(start, lines["start"].size(), "exec to the first complete paint");
        if (xcalc.median >= 0) {
            char text[64];
            std::snprintf(text, sizeof text, "; xcalc %.1f", xcalc.median);
            startNote += text;
        }
        Report(state, "X start to first paint", start.median, 60, startNote);
        const Spread open = SpreadOf(lines["open"]);
        Report(state, "X open to window ready", open.median, 40,
               SpreadNote(open, lines["open"].size(), "Ok to the window and its alert"));
        const Spread key = SpreadOf(lines["key"]);
        Report(state, "X result key to pixels", key.median, 16,
               SpreadNote(key, lines["key"].size(), "XTest key to the pixels"));
        const Spread page = SpreadOf(lines["page"]);
        Report(state, "X results page step", page.median, 16,
               SpreadNote(page, lines["page"].size(), "XTest PgDn and PgUp to the pixels"));
    }
}

void PrintTable() {
    std::printf("\n%-36s %12s %10s  %-6s %s\n", "figure", "measured", "target", "holds", "");
    for (const Figure& f : Figures) {
        char measured[32] = "-", target[32] = "-";
        if (f.value >= 0) std::snprintf(measured, sizeof measured, "%.2f ms", f.value);
        if (f.target > 0) std::snprintf(target, sizeof target, "< %.0f ms", f.target);
        const char* holds = f.target <= 0 || f.value < 0 ? "" : f.value < f.target ? "yes" : "NO";
        std::printf("%-36s %12s %10s  %-6s %s\n", f.name.c_str(), measured, target, holds, f.note.c_str());
    }
}

} // namespace

int main(int argc, char** argv) {
    // The children run in the scratch folder their parent made.
    if (argc == 4 && std::string(argv[1]) == "--start-child") {
        UseRoot(argv[2]);
        return StartChild(std::atoll(argv[3]));
    }
    if (argc == 3 && std::string(argv[1]) == "--x11-child") {
        UseRoot(argv[2]);
        return X11Child();
    }
    if (argc == 3 && std::string(argv[1]) == "--x-user-child") {
        UseRoot(argv[2]);
        DataDir = ScreenDataDir();
        return XUserChild();
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const ScratchFolder scratch("tm_bench_desk");
    if (scratch.path().empty()) {
        std::fprintf(stderr, "bench_desk: no scratch folder can be made as %s\n", scratch.failed().c_str());
        return 1;
    }
    UseRoot(scratch.path());
    using Function = void (*)(benchmark::State&);
    // Lists before Typing: once result entry is open, a click on the results
    // list gives the keyboard to the result field.
    const std::pair<const char*, Function> figures[] = {{"Start", Start},     {"Lists", Lists}, {"Typing", Typing},
                                                        {"Viewer", Viewer},   {"Repaint", Repaint}, {"X11", X11}};
    for (const auto& [name, function] : figures)
        benchmark::RegisterBenchmark(name, function)->Iterations(1)->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintTable();
    return PreparedOk ? 0 : 1;
}
