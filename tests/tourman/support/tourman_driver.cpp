#include "message_boxes/message_boxes.h"
#include "tourman_driver.h"

#include "support/nothing_left.h"
#include "support/tournament_state.h"
#include "support/widget_input.h"

#include "toolkit/core/event_loop.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/native_windows.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/window_system.h"
#include "toolkit/platform/font_test_fonts.h"
#include "toolkit/widgets/button_core.h"
#include "toolkit/widgets/dir_tree.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/file_browser.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/toggle.h"
#include "tourman/app_main.h"
#include "tourman/commands/extras_commands.h"
#include "tourman/commands/tournament_commands.h"
#include "tourman/dialogs/settings_dialog.h"
#include "tourman/main_window/main_window.h"
#include "tourman/frame/window_frame.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/run_options.h"
#include "tournament/scores.h"
#include "tournament/settings.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace fs = std::filesystem;

namespace tmt {

namespace {

// A message number stands in the script's text as "#N" until the table is loaded.
std::string ScriptText(const tmt::Answer& a) {
    if (a.text.size() > 1 && a.text[0] == '#') return MessageText(std::stoi(a.text.substr(1)));
    return a.text;
}

} // namespace

void TourmanTest::SetUp() {
    static const bool fonts = UseTestFonts();
    ASSERT_TRUE(fonts);
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // The data folder, and a folder a test makes in it, must fit the
    // tournament's folder field, or the files would land beside it: a long
    // test name is cut for the scratch folder, wherever the build lies.
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    const std::size_t room = sizeof Settings.DataFolder - 16, used = std::strlen(TM_TEST_OUTPUT_DIR) + std::strlen("//data/");
    const std::size_t fits = std::max<std::size_t>(room > used ? room - used : 0, 12);
    if (name.size() > fits) { // cut, with a mark of the whole name so that no two tests share a folder
        char mark[8];
        std::snprintf(mark, sizeof mark, "~%04zx", std::hash<std::string>{}(name) & 0xFFFF);
        name = name.substr(0, fits - 5) + mark;
    }
    fs::path scratch = fs::path(TM_TEST_OUTPUT_DIR) / name;
    fs::remove_all(scratch);
    fs::create_directories(scratch / "data");
    fs::copy(TM_PROGRAM_DATA_DIR, scratch / "program", fs::copy_options::recursive);
    programFolder = (scratch / "program").string() + "/";
    dataFolder = (scratch / "data").string() + "/";
    savedFolder_ = fs::current_path().string();
    fs::current_path(programFolder);
    setenv("WOKUDIR", (programFolder + "wokusys").c_str(), 1);

    ResetSettings();
    ClearPlayers();
    ResetTournament();
    TournamentOpen = 0; // a fresh program has no tournament open
    ClearMessageTable();
    ResetRunOptions(); // a trace or option a test before turned on would write files of its own
    std::snprintf(Settings.DataFolder, sizeof Settings.DataFolder, "%s", dataFolder.c_str());

    plat::OffscreenOptions options;
    display = std::make_unique<plat::OffscreenDisplay>(options);
    program_ = programFolder + "tourman";
    argv_[0] = program_.data();
    WkInitWindowSystem(display.get(), nullptr, argv_);
    WkInstallEventLoop();
    WkInitFormClass();
    display->setIdleHook([this] { return AnswerOpenBox(); }, 200);
}

void TourmanTest::TearDown() {
    for (const tmt::Answer& a : script) ADD_FAILURE() << "unused answer for \"" << ScriptText(a) << "\"";
    script.clear();
    if (MainWindow.window) WkShellDestroy(MainWindow.window);
    ForgetMainWindow();
    tmtest::ExpectNothingLeftBehind();
    WkEndDraw();
    WkReleaseDefaultColors();
    WkShutdown();
    SetMessageBoxSink(nullptr);
    fs::current_path(savedFolder_);
}

bool TourmanTest::Start() {
    bool started = StartApplication();
    if (started) Flush();
    return started;
}

void TourmanTest::Answer(int message, int button) {
    script.push_back({"#" + std::to_string(message), button});
}

void TourmanTest::AnswerText(const std::string& text, int button) {
    script.push_back({text, button});
}

void TourmanTest::ChooseFile(const std::string& path) {
    script.push_back({path, 0, true});
}

void TourmanTest::PrintTo(const std::string& path) {
    script.push_back({path, 0, false, true});
}

bool TourmanTest::AnswerPrintDialog(WkObject* dialog) {
    const std::string path = script.front().text;
    script.pop_front();
    WkObject* ok = nullptr;
    for (WkObject* o : Widgets(dialog)) {
        if (o->classCode == WK_CLASS_TOGGLE && Caption(o) == (path.empty() ? "Default printer" : "PDF file"))
            WkToggleSetState(o, 1);
        if (o->classCode == WK_CLASS_EDIT && WkEditRecord(o)->maxLength == 255 && !path.empty())
            WkEditReplaceText(o, path.c_str(), 0, 0);
        if (o->classCode == WK_CLASS_PUSH_BUTTON && Caption(o) == "OK") ok = o;
    }
    if (!ok) return false;
    InjectClick(*display, ok);
    return true;
}

bool TourmanTest::AnswerBrowser() {
    const WkBrowserParts& parts = WkFileBrowserParts();
    std::string path;
    if (script.empty() || !script.front().browser) ADD_FAILURE() << "unexpected file browser";
    else path = script.front().text;
    if (!script.empty()) script.pop_front();
    void* button = parts.close;
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos) {
        WkDirTreeSetPath(static_cast<WkObject*>(parts.tree), path.substr(0, slash).c_str(), 1);
        WkEditReplaceText(static_cast<WkObject*>(parts.name), path.c_str() + slash + 1, 0, 0);
        button = parts.ok;
    }
    InjectClick(*display, static_cast<WkObject*>(button));
    return true;
}

void TourmanTest::ReopenRegistration(const std::string& keptAs) {
    const std::string base = Settings.BaseName;
    Answer(MsgDeleteAllRoundsQuestion, 1);
    Answer(MsgAreYouSure, 1);
    AnswerText("The rounds played are kept in the round file \"" + base + keptAs +
                   ".rnd\";\nopening the tournament no longer reads them." +
                   (fs::exists(dataFolder + base + "1.rnd") ? "\nThe round files \"" + base + "<round>.rnd\" are kept as \"" +
                                                                  base + keptAs + "-round<round>.rnd\"."
                                                            : ""),
               0);
    TournamentMenuCommand(4);
}

void TourmanTest::NewClubCup(const std::string& baseName, const char* system) {
    if (TournamentOpen != 0 || PlayerCount > 0) Answer(MsgLeaveOpenTournament, 1);
    NewTournamentCommand();
    for (auto [field, text] : {std::pair{SettingsDialog.name, "Club Cup"}, {SettingsDialog.place, "Pisa"},
                               {SettingsDialog.beginDate, "01052026"}, {SettingsDialog.endDate, "03052026"},
                               {SettingsDialog.arbiter, "Neri"}, {SettingsDialog.rounds, "3"},
                               {SettingsDialog.baseName, baseName.c_str()},
                               {SettingsDialog.dataFolder, dataFolder.c_str()}})
        WkEditReplaceText(field, text, 0, 0);
    if (system) WkEditReplaceText(SettingsDialog.pairingSystem, system, 0, 0);
    Click(SettingsDialog.okButton);
}

void TourmanTest::TenPlayerDubov() {
    for (int i = 0; i < 10; ++i) AddTestPlayer("PLAYER " + std::to_string(i + 1), 2400 - 100 * i);
    Settings.PairingSystem = FideDubovSystem;
    Settings.PlannedRounds = 5;
    std::strcpy(Settings.BaseName, "ten");
    ClosedRegistration = 1;
}

void TourmanTest::WhiteWinsRound() {
    for (int k = 1; k <= RoundBoardCount(CurrentRound); ++k)
        if (!IsByeCode(GameTable(k, CurrentRound))) GameTable(k, CurrentRound) += WhiteWins - NotPlayed;
    RebuildRoundTables(CurrentRound);
    ComputeScores(CurrentRound, PlayerCount);
    IsPairingDone = 0;
}

void TourmanTest::Flush() {
    WkFlushEvents();
}

bool TourmanTest::AnswerOpenBox() {
    // The modal window on top: a box or the toolkit's message dialog.
    WkNativeWindow modal = WkGetModalWindow();
    WkObject* box = modal ? WkListedShell(modal) : nullptr;
    if (!box) return false; // nothing can end this wait
    if (box == WkFileBrowserParts().shell) return AnswerBrowser();
    if (!script.empty() && script.front().print) return AnswerPrintDialog(box);
    SavePng(box, "box" + std::to_string(boxes.size() + 1) + ".png");
    BoxSeen seen{"", 0, {}, "", box->width};
    char status[256];
    if (MainWindow.statusLine) seen.statusLine = WkObjectGetText(MainWindow.statusLine, status, sizeof status);
    WkShellGetTitle(box, status);
    seen.title = status;
    std::vector<WkObject*> buttons;
    for (WkObject* o : Widgets(box)) {
        if (o->classCode == WK_CLASS_LABEL) {
            seen.text += (seen.lines ? "\n" : "") + Caption(o);
            seen.lines += static_cast<WkLabelData*>(o->classRecord)->lines;
        }
        if (o->classCode == WK_CLASS_PUSH_BUTTON) {
            buttons.push_back(o);
            seen.buttons.push_back(Caption(o));
        }
    }
    boxes.push_back(seen);
    const std::string& text = seen.text;
    int button = 0;
    if (script.empty()) {
        ADD_FAILURE() << "unexpected box \"" << text << "\"";
    } else {
        // An expected text ending in a line break gives the box's first lines only.
        std::string expected = ScriptText(script.front());
        if (script.front().browser) ADD_FAILURE() << "a box where the file browser was expected";
        if (!expected.empty() && expected.back() == '\n') EXPECT_EQ(text.substr(0, expected.size()), expected);
        else EXPECT_EQ(text, expected);
        button = script.front().button;
        script.pop_front();
    }
    if (button == EscapeKey) {
        plat::KeyInfo escape;
        escape.scanCode = 0x01;
        escape.character = 0x1B;
        return display->injectKey(escape);
    }
    if (button == CloseRequest) {
        // The box has no close box: the window system's request is Alt+F4.
        display->holdModifiers(plat::kAlt);
        plat::KeyInfo f4;
        f4.scanCode = 0x3E;
        bool typed = display->injectKey(f4);
        display->holdModifiers(0);
        return typed;
    }
    if (button == CloseBox) return display->injectHostCloseRequest(WkObjectGetNativeWindow(box));
    if (button < 0 || button >= int(buttons.size())) {
        ADD_FAILURE() << "the box \"" << text << "\" has no button " << button;
        button = 0;
    }
    if (buttons.empty()) return false;
    InjectClick(*display, buttons[std::size_t(button)]);
    return true;
}

std::vector<WkObject*> TourmanTest::Widgets(WkObject* root) {
    return WidgetsUnder(root);
}

std::string TourmanTest::Caption(WkObject* object) {
    switch (object->classCode) {
    case WK_CLASS_LABEL:
        return WkLabelGetText(object) ? WkLabelGetText(object) : "";
    case WK_CLASS_PUSH_BUTTON:
    case WK_CLASS_TOGGLE:
    case WK_CLASS_TAB_TOGGLE:
        return WkButtonRecord(object)->text ? WkButtonRecord(object)->text : "";
    default:
        return "";
    }
}

WkObject* TourmanTest::Find(const std::string& text, WkObject* root) {
    std::vector<WkObject*> roots;
    if (root) roots.push_back(root);
    else
        for (WkObject* o : {MainWindow.window, OpenMessageBox()})
            if (o) roots.push_back(o);
    for (WkObject* r : roots)
        for (WkObject* o : Widgets(r)) {
            const char* name = WkObjectGetName(o);
            if ((name && text == name) || Caption(o) == text) return o;
        }
    return nullptr;
}

WkMenuItem* TourmanTest::FindMenuItem(WkObject* menu, const std::string& label) {
    const WkMenuData* d = WkMenuRecord(menu);
    for (int i = 0; i < d->count; ++i) {
        WkMenuItem* item = d->items[i];
        WkMenuItem* found = item->label && label == item->label ? item : nullptr;
        if (!found && item->submenu) found = FindMenuItem(item->submenu, label);
        if (found) return found;
    }
    return nullptr;
}

void TourmanTest::Click(WkObject* object, int button) {
    InjectClick(*display, object, button);
    Flush();
}

void TourmanTest::Type(const std::string& text) {
    for (unsigned char c : text) {
        plat::KeyInfo k;
        k.character = c;
        if (c >= 'a' && c <= 'z') k.virtualKey = std::uint16_t(c - 'a' + 'A');
        else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ') k.virtualKey = c;
        display->injectKey(k);
        Flush();
    }
}

void TourmanTest::Fill(WkObject* field, const std::string& text) {
    WkEditReplaceText(field, "", 0, 0);
    Click(field);
    Type(text);
}

void TourmanTest::Press(std::uint8_t scan, std::uint8_t character, std::uint32_t modifiers, std::uint16_t virtualKey) {
    display->holdModifiers(modifiers);
    plat::KeyInfo k;
    k.virtualKey = virtualKey;
    k.scanCode = scan;
    k.character = character;
    display->injectKey(k);
    Flush();
    display->holdModifiers(0);
}

void TourmanTest::SavePng(WkObject* window, const std::string& name) {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string path = std::string(TM_TEST_OUTPUT_DIR) + "/" + info->test_suite_name() + "." + info->name() + "-" + name;
    EXPECT_TRUE(display->saveWindowPng(WkObjectGetNativeWindow(window), path)) << path;
}

std::vector<std::pair<std::string, std::string>> TourmanTest::Snapshot(const std::string& folder) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(folder)) {
        if (!e.is_regular_file()) continue;
        std::ifstream in(e.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        files.emplace_back(fs::relative(e.path(), folder).string(), bytes.str());
    }
    std::sort(files.begin(), files.end());
    return files;
}

void TourmanTest::Restart(const std::vector<std::pair<std::string, std::string>>& files, const std::string& leftOut) {
    TearDown();
    SetUp();
    for (const auto& [name, bytes] : files)
        if (name != leftOut) std::ofstream(dataFolder + name, std::ios::binary) << bytes;
    ASSERT_TRUE(Start());
}

} // namespace tmt
