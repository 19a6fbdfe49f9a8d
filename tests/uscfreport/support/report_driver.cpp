#include "report_driver.h"

#include "support/file_bytes.h"
#include "support/nothing_left.h"
#include "support/widget_input.h"
#include "toolkit/core/event_loop.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/native_windows.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/shell.h"
#include "toolkit/platform/font_test_fonts.h"
#include "toolkit/widgets/dir_tree.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/label.h"
#include "tournament/message_box.h"
#include "uscfreport/header_form.h"
#include "uscfreport/report_window.h"
#include "uscfreport/section_list.h"
#include "uscfreport/uscf_exports.h"

#include <stdlib.h>

#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace urt {
namespace {

std::string TestName() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(info->test_suite_name()) + "." + info->name();
}

// The labels' texts and the push buttons of a window, depth first.
void Collect(WkObject* object, std::string& text, std::vector<WkObject*>& buttons) {
    if (object->classCode == WK_CLASS_LABEL) text += (text.empty() ? "" : "\n") + std::string(WkLabelGetText(object));
    if (object->classCode == WK_CLASS_PUSH_BUTTON) buttons.push_back(object);
    if (WkFormData* d = WkFormRecord(object))
        for (int i = 0; i < d->pages[d->currentPage].count; ++i) Collect(d->pages[d->currentPage].children[i], text, buttons);
}

} // namespace

void ReportTest::SetUp() {
    static const bool fonts = UseTestFonts();
    ASSERT_TRUE(fonts);
    // Short, so that its section folders stay well within the list's 150 characters.
    char scratch[] = "/tmp/uscfreport-XXXXXX";
    ASSERT_NE(mkdtemp(scratch), nullptr);
    folder = std::string(scratch) + "/";
    savedFolder_ = fs::current_path().string();
    fs::current_path(folder);
    setenv("WOKUDIR", TM_TOOLKIT_DIR, 1);
    display = std::make_unique<plat::OffscreenDisplay>();
    program_ = folder + "uscfreport";
    argv_[0] = program_.data();
    WkInitWindowSystem(display.get(), nullptr, argv_);
    display->setIdleHook([this] { return AnswerOpenBox(); }, 200);
    StartReportApplication();
    WkFlushEvents();
}

void ReportTest::TearDown() {
    for (const auto& answer : script) ADD_FAILURE() << "unused answer for \"" << answer.first << "\"";
    for (WkObject* window : {HeaderForm.window, ReportWindow.window})
        if (window) WkShellDestroy(window);
    HeaderForm = HeaderFormWidgets();
    ReportWindow = ReportWindowWidgets();
    SectionList = nullptr;
    SectionCount = 0;
    tmtest::ExpectNothingLeftBehind();
    WkEndDraw();
    WkReleaseDefaultColors();
    WkShutdown();
    SetMessageBoxSink(nullptr);
    fs::current_path(savedFolder_);
    fs::remove_all(folder);
}

bool ReportTest::AnswerOpenBox() {
    WkNativeWindow modal = WkGetModalWindow();
    WkObject* box = modal ? WkListedShell(modal) : nullptr;
    if (!box || box == HeaderForm.window) return false; // nothing can end this wait
    std::string text;
    std::vector<WkObject*> buttons;
    Collect(WkFormOf(box), text, buttons);
    if (script.empty()) {
        ADD_FAILURE() << "unexpected box \"" << text << "\"";
        return false;
    }
    EXPECT_EQ(text, script.front().first);
    char title[256];
    WkShellGetTitle(box, title);
    boxTitles.push_back(title);
    const std::size_t button = std::size_t(script.front().second);
    script.pop_front();
    if (button >= buttons.size()) return false;
    Inject(buttons[button]);
    return true;
}

void ReportTest::Inject(WkObject* object) {
    tmt::InjectClick(*display, object);
}

void ReportTest::Click(WkObject* object) {
    Inject(object);
    WkFlushEvents();
}

void ReportTest::Type(const std::string& text) {
    for (unsigned char c : text) {
        plat::KeyInfo key;
        key.character = c;
        display->injectKey(key);
        WkFlushEvents();
    }
}

void ReportTest::SavePng(WkObject* window, const std::string& name) {
    const std::string path = std::string(TM_TEST_OUTPUT_DIR) + "/" + TestName() + "-" + name;
    EXPECT_TRUE(display->saveWindowPng(WkObjectGetNativeWindow(window), path)) << path;
}

std::string ReportTest::Section(const std::string& name, const char* text) {
    fs::create_directories(folder + name);
    if (text) WriteFileBytes(folder + name + "/" + kSectionFileName, text);
    return folder + name;
}

void ReportTest::AddFolder(const std::string& path) {
    WkDirTreeSetPath(ReportWindow.dirTree, path.c_str(), 1);
    Click(ReportWindow.addButton);
}

} // namespace urt
