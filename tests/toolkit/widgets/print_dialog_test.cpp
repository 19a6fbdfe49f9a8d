// The print dialog run for real from the printing routines: its toggles,
// fields and buttons are worked from timeouts on the virtual clock while
// the dialog waits; a fake spooler records its arguments and keeps the
// document, a fake lpstat lists two printers.
#include "input_fixture.h"

#include "toolkit/core/print_text.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/print_dialog.h"
#include "toolkit/widgets/toggle.h"

#include <sys/stat.h>

#include <cstdlib>
#include <functional>
#include <list>

namespace wt {
namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class PrintDialog : public InputTest {
protected:
    void SetUp() override {
        InputTest::SetUp();
        TickWhenIdle();
        dir = std::string(TM_TEST_OUTPUT_DIR) + "/print_dialog_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir + "/bin");
        Script("lp", "printf '%s\\n' \"$@\" >> '" + dir + "/jobs'\nfor a in \"$@\"; do last=\"$a\"; done\n"
                     "/bin/cat \"$last\" > '" + dir + "/doc.pdf'\n");
        Script("lpstat", "[ \"$1\" = -e ] && printf 'Office\\nLab\\n'\n");
        oldPath = std::getenv("PATH");
        setenv("PATH", (dir + "/bin:" + oldPath).c_str(), 1);
        WkInstallPrintDialog();
    }
    void TearDown() override {
        setenv("PATH", oldPath.c_str(), 1);
        WkSetPrintDialogHook(nullptr);
        InputTest::TearDown();
    }
    void Script(const std::string& name, const std::string& body) {
        std::ofstream(dir + "/bin/" + name) << "#!/bin/sh\n" << body;
        ::chmod((dir + "/bin/" + name).c_str(), 0755);
    }
    void After(unsigned ms, std::function<void()> action) {
        WkAddTimeout(ms, [](int, void* d) { (*static_cast<std::function<void()>*>(d))(); }, &actions.emplace_back(action));
    }
    // The i-th child of the newest window's main form, or of a form in it.
    static WkObject* Part(int i, int j = -1) {
        WkObject* const* shells = nullptr;
        const int count = WkLiveShells(&shells);
        WkObject* o = WkFormCurrentPage(WkFormOf(shells[count - 1]))->children[i];
        return j < 0 ? o : WkFormCurrentPage(o)->children[j];
    }
    static int Parts() {
        return WkFormCurrentPage(WkFormOf(WkObjectGetShell(Part(0))))->count;
    }
    void Click(WkObject* o) {
        Move(o, o->width / 2, o->height / 2, 1);
        Move(o, o->width / 2, o->height / 2, 0);
    }
    // Answers the next dialog after 100 ms: the printer toggle and the
    // orientation toggle clicked, the file name and pages typed, then the
    // button pressed (0 OK, 1 Cancel).
    void Answer(int printer, int orientation, const char* file, int button, bool pages = false) {
        After(100, [=, this] {
            Click(Part(1, printer));
            Click(Part(4, orientation));
            if (file) WkEditReplaceText(Part(2, 1), file, 0, 0);
            if (pages) WkEditReplaceText(Part(5, 1), "2", 0, 0);
            Click(Part(Parts() - 1, button));
        });
    }
    std::string dir, oldPath;
    std::list<std::function<void()>> actions;
};

TEST_F(PrintDialog, TextFilesGoWhereTheDialogSays) {
    std::string text;
    for (int i = 1; i <= 61; ++i) text += "Line " + std::to_string(i) + (i == 1 ? " \xBD\r\n" : "\r\n");
    const std::string source = dir + "/text.txt", pdf = dir + "/out.pdf";
    std::ofstream(source, std::ios::binary) << text;

    Answer(3, 0, pdf.c_str(), 1); // Cancel
    WkPrintFile(source.c_str());
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_FALSE(std::filesystem::exists(dir + "/jobs"));

    Answer(3, 0, pdf.c_str(), 0); // "PDF file"
    WkPrintFile(source.c_str());
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_EQ(std::system(("pdftotext -f 1 -l 1 '" + pdf + "' '" + dir + "/p1.txt'").c_str()), 0);
    EXPECT_EQ(std::system(("pdftotext -f 2 -l 2 '" + pdf + "' '" + dir + "/p2.txt'").c_str()), 0);
    EXPECT_NE(Slurp(dir + "/p1.txt").find("Line 1 \xC2\xBD"), std::string::npos);
    EXPECT_EQ(Slurp(dir + "/p1.txt").find("Line 61"), std::string::npos);
    EXPECT_NE(Slurp(dir + "/p2.txt").find("Line 61"), std::string::npos);
}

TEST_F(PrintDialog, TheChosenPrinterIsKept) {
    WkObject* const* shells;
    Answer(1, 1, nullptr, 0); // "Office", landscape
    After(50, [this] { SavePng(WkObjectGetShell(Part(0)), "print_dialog.png"); });
    WkPageRange range{1, 5, 1, 5};
    WkPrinter* printer = WkOpenPrinter("first", 1, 0, &range);
    ASSERT_NE(printer, nullptr);
    EXPECT_GT(printer->device.pageWidth(), printer->device.pageHeight());
    WkClosePrinter(printer);
    EXPECT_EQ(Slurp(dir + "/jobs").rfind("-t\nfirst\n-d\nOffice\n--\n", 0), 0u);

    // No dialog this time: one would still be open when the timeout looks.
    int open = -1;
    After(10, [&] { open = WkLiveShells(&shells); });
    printer = WkOpenPrinter("second", 0, 0, nullptr);
    Advance(20);
    WkClosePrinter(printer);
    EXPECT_EQ(open, 0);
    EXPECT_NE(Slurp(dir + "/jobs").find("-t\nsecond\n-d\nOffice\n"), std::string::npos);
}

TEST_F(PrintDialog, PagesAreChosenWithinTheRange) {
    struct Case {
        WkPageRange range;
        WkPageRange want;
    } cases[] = {
        {{1, 9, 1, 9}, {2, 9, 1, 9}},
        {{3, 9, 3, 4}, {3, 9, 3, 4}}, // "2" is outside: beeps, then Cancel
    };
    for (Case& c : cases) {
        Answer(0, 0, nullptr, 0, true);
        bool outside = c.range.lowest > 2;
        if (outside) After(300, [this] { Click(Part(6, 1)); });
        WkPrinter* printer = WkPrinterDialog(0, WK_PRINTER_INFORMATION, &c.range);
        EXPECT_EQ(printer == nullptr, outside);
        WkDeletePrinter(printer);
        EXPECT_EQ(c.range.lowest, c.want.lowest);
        EXPECT_EQ(c.range.highest, c.want.highest);
    }
}

// The range opens on the whole document: the page typed where a page field
// is clicked replaces it, in both fields.
TEST_F(PrintDialog, ThePageRangeIsTypedOverWhereClicked) {
    WkPageRange range{1, 9, 1, 9};
    After(100, [this] {
        for (auto [part, page] : {std::pair{1, '3'}, {3, '4'}}) {
            Click(Part(5, part));
            plat::KeyInfo key;
            key.character = std::uint8_t(page);
            display->injectKey(key);
            WkFlushEvents();
        }
        Click(Part(Parts() - 1, 0));
    });
    WkPrinter* printer = WkPrinterDialog(0, WK_PRINTER_INFORMATION, &range);
    ASSERT_NE(printer, nullptr);
    WkDeletePrinter(printer);
    EXPECT_EQ(range.lowest, 3);
    EXPECT_EQ(range.highest, 4);
}

// Escape, Alt+F4 and a close box that a window manager draws though the
// dialog asks for none each answer as Cancel.
TEST_F(PrintDialog, EscapeAndTheCloseRequestCancel) {
    for (int request : {0x01, 0x3E, 0}) { // Escape, Alt+F4, the close box
        After(100, [this, request] {
            plat::KeyInfo key;
            key.scanCode = std::uint8_t(request);
            key.character = request == 0x01 ? 0x1B : 0;
            display->holdModifiers(request == 0x3E ? plat::kAlt : 0);
            if (request) display->injectKey(key);
            else display->injectHostCloseRequest(WkObjectGetNativeWindow(Part(0)));
            display->holdModifiers(0);
        });
        WkPageRange range{1, 9, 1, 9};
        EXPECT_EQ(WkPrinterDialog(0, WK_PRINTER_INFORMATION, &range), nullptr) << request;
    }
}

} // namespace
} // namespace wt
