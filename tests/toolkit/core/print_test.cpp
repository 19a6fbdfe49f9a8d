// Printing: text files page by page through a fake spooler (read back with
// pdftotext and from the document's own text objects), the chosen printer
// and the dialog's answers, job and page errors in the log, page mapping,
// images fitted to the page, and object trees drawn onto a print page
// (read back with pdfimages).
#include "toolkit/core/print.h"
#include "toolkit/core/print_text.h"

#include "test_form.h"
#include "toolkit/core/image.h"
#include "toolkit/core/log.h"
#include "toolkit/platform/scratch_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using scratch::ScratchFolder;

// The text objects of each page of a document this toolkit wrote, in the
// order drawn, their escapes undone.
std::vector<std::vector<std::string>> PageTexts(const std::string& pdf) {
    std::vector<std::vector<std::string>> pages;
    std::size_t at = 0;
    while ((at = pdf.find("<< /Length ", at)) != std::string::npos) {
        std::size_t begin = pdf.find("stream\n", at), end = pdf.find("endstream", begin);
        std::string content = pdf.substr(begin, end - begin);
        at = end;
        std::vector<std::string> texts;
        for (std::size_t t = 0; (t = content.find(" Td (", t)) != std::string::npos;) {
            std::string text;
            for (t += 5; content[t] != ')'; ++t) {
                if (content[t] != '\\') {
                    text += content[t];
                } else if (content[t + 1] >= '0' && content[t + 1] <= '7') {
                    text += char(std::stoi(content.substr(t + 1, 3), nullptr, 8));
                    t += 3;
                } else {
                    text += content[++t];
                }
            }
            texts.push_back(text);
        }
        pages.push_back(texts);
    }
    return pages;
}

class PrintTest : public testform::ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        const char* path = std::getenv("PATH");
        oldPath = path ? path : "/usr/bin:/bin";
        // The fake spooler records its title and keeps the document it was given.
        std::string bin = dir.folder("bin");
        std::string lp = dir.write("bin/lp", "#!/bin/sh\n"
                                             "printf '%s\\n' \"$@\" >> '" + (dir / "jobs") + "'\n"
                                             "for a in \"$@\"; do last=\"$a\"; done\n"
                                             "/bin/cat \"$last\" > '" + (dir / "doc.pdf") + "'\n"
                                             "[ \"${FAKE_LP_STATUS:-0}\" = 0 ] || echo 'lp: printer off' >&2\n"
                                             "exit ${FAKE_LP_STATUS:-0}\n");
        ::chmod(lp.c_str(), 0755);
        setenv("PATH", (bin + ":" + oldPath).c_str(), 1);
        WkSetPrintDialogAnswer(WK_PRINT_ANSWER_DEFAULT, nullptr);
        WkSetLogFile(std::fopen((dir / "log").c_str(), "wb"));
        WkLog(WK_LOG_ERROR, "-");
    }
    void TearDown() override {
        setenv("PATH", oldPath.c_str(), 1);
        unsetenv("FAKE_LP_STATUS");
        WkSetPrintDialogAnswer(WK_PRINT_ANSWER_DEFAULT, nullptr);
        WkSetLogFile(nullptr);
        ToolkitTest::TearDown();
    }

    // The last line logged.
    std::string NewestLog() const {
        std::string log = ScratchFolder::read(dir / "log");
        while (!log.empty() && (log.back() == '\n' || log.back() == '\r')) log.pop_back();
        std::size_t end = log.find_last_of('\n');
        return end == std::string::npos ? log : log.substr(end + 1);
    }
    std::string Jobs() const { return ScratchFolder::read(dir / "jobs"); }
    std::string Document() const { return ScratchFolder::read(dir / "doc.pdf"); }
    // pdftotext of one page (1 up) of the spooled document, Windows-1252 bytes.
    std::string PageText(int page) const {
        std::string out = dir / ("page" + std::to_string(page) + ".txt");
        std::string command = "pdftotext -layout -enc Latin1 -f " + std::to_string(page) + " -l " +
                              std::to_string(page) + " '" + (dir / "doc.pdf") + "' '" + out + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return ScratchFolder::read(out);
    }
    std::string Lines(int count, const std::string& lineEnd = "\r\n") const {
        std::string text;
        for (int i = 1; i <= count; ++i) text += "line " + std::to_string(i) + lineEnd;
        return text;
    }

    ScratchFolder dir;
    std::string oldPath;
};

TEST_F(PrintTest, SixtyOneLinesGoOnTwoPagesWithHalfAndTabThroughTheSpooler) {
    std::string text;
    for (int i = 1; i <= 61; ++i)
        text += i == 1 ? std::string("Score 2\xBD\tround 3\r\n") : "line " + std::to_string(i) + "\r\n";
    std::string file = dir.write("standings.txt", text);
    EXPECT_EQ(WkPrintTextFile(file.c_str()), 1);

    std::string jobs = Jobs();
    EXPECT_NE(jobs.find("-t\nWOKU print job\n--\n"), std::string::npos) << jobs;
    std::string doc = Document();
    ASSERT_EQ(doc.rfind("%PDF-1.4", 0), 0u);
    std::vector<std::vector<std::string>> pages = PageTexts(doc);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].size(), 61u) << "60 rows, the first drawn in two parts at its tab";
    ASSERT_EQ(pages[1].size(), 1u);
    EXPECT_EQ(pages[1][0], "line 61");

    std::string first = PageText(1), second = PageText(2);
    EXPECT_NE(first.find("Score 2\xBD"), std::string::npos) << first;
    EXPECT_NE(first.find("round 3"), std::string::npos);
    EXPECT_EQ(first.find('\t'), std::string::npos) << "the tab moves the text on, it is not printed";
    EXPECT_NE(first.find("line 60"), std::string::npos);
    EXPECT_EQ(first.find("line 61"), std::string::npos);
    EXPECT_EQ(second.find("line 61"), second.find_first_not_of(" \n")) << second;
}

TEST_F(PrintTest, RowsSplitAtTheirLengthAndPagesFillToSixty) {
    // 60 lines: one page. A line end of LF only and a last line without one
    // are read as lines too.
    std::string file = dir.write("sixty.txt", Lines(59, "\n") + "line 60");
    WkPrintTextFile(file.c_str());
    auto pages = PageTexts(Document());
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].size(), 60u);
    EXPECT_EQ(pages[0][0], "line 1");
    EXPECT_EQ(pages[0][59], "line 60");

    // 300 characters: 255 and 45. Exactly 255 before the line end: one row,
    // without an empty one after it.
    file = dir.write("long.txt", std::string(300, 'x') + "\r\n" + std::string(255, 'y') + "\r\nend\r\n");
    WkPrintTextFile(file.c_str());
    pages = PageTexts(Document());
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].size(), 4u);
    EXPECT_EQ(pages[0][0], std::string(255, 'x'));
    EXPECT_EQ(pages[0][1], std::string(45, 'x'));
    EXPECT_EQ(pages[0][2], std::string(255, 'y'));
    EXPECT_EQ(pages[0][3], "end");

    // An empty file: one empty page.
    file = dir.write("empty.txt", "");
    WkPrintTextFile(file.c_str());
    pages = PageTexts(Document());
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(pages[0].empty());
}

TEST_F(PrintTest, MissingFileOrCancelPrintNothingAndFailuresAreLogged) {
    std::string missing = dir / "nowhere.txt";
    EXPECT_EQ(WkPrintTextFile(missing.c_str()), 0);
    EXPECT_EQ(NewestLog(), "Cannot open " + missing + " to print it");
    EXPECT_EQ(Jobs(), "") << "no job, not even a blank page";

    std::string file = dir.write("list.txt", Lines(3));
    WkSetPrintDialogAnswer(WK_PRINT_ANSWER_CANCEL, nullptr);
    EXPECT_EQ(WkPrintTextFile(file.c_str()), 0);
    EXPECT_EQ(Jobs(), "");
    EXPECT_EQ(NewestLog(), "Cannot open " + missing + " to print it") << "a cancelled dialog reports nothing";

    WkSetPrintDialogAnswer(WK_PRINT_ANSWER_DEFAULT, nullptr);
    setenv("FAKE_LP_STATUS", "2", 1);
    WkPrintTextFile(file.c_str());
    EXPECT_NE(Jobs(), "");
    EXPECT_EQ(NewestLog().rfind("Error in EndDoc: ", 0), 0u) << NewestLog();

    std::string pdf = dir / "out.pdf";
    WkSetPrintDialogAnswer(WK_PRINT_ANSWER_FILE, pdf.c_str());
    EXPECT_EQ(WkPrintFileAndDelete(file.c_str()), 0);
    EXPECT_EQ(PageTexts(ScratchFolder::read(pdf)).at(0).back(), "line 3");
    EXPECT_FALSE(std::filesystem::exists(file));
}

int Orientation = 1;
int TurnPage(WkPrintChoice* choice, WkPageRange*) {
    choice->orientation = Orientation;
    return -1; // the answer is the scripted one
}

// Every row ends in view whatever its width and the orientation, landscape
// as large as portrait unless a row needs less; a refused job says why.
TEST_F(PrintTest, WidestRowFitsEitherOrientationAndRefusalsSayWhy) {
    WkSetPrintDialogHook(TurnPage);
    const std::pair<int, std::size_t> cases[] = {{1, 60}, {2, 60}, {1, 150}, {2, 255}};
    std::vector<std::string> sizes;
    for (const auto& [orientation, width] : cases) {
        Orientation = orientation;
        EXPECT_EQ(WkPrintTextFile(dir.write("wide.txt", std::string(width - 3, 'x') + "END\r\n").c_str()), 1);
        EXPECT_NE(PageText(1).find("xEND\n"), std::string::npos) << orientation << " " << width;
        const std::string doc = Document();
        const std::size_t tf = doc.find(" Tf ");
        sizes.push_back(doc.substr(doc.rfind(' ', tf - 1) + 1, tf - doc.rfind(' ', tf - 1) - 1));
    }
    EXPECT_EQ(sizes[1], sizes[0]);
    EXPECT_LT(std::stod(sizes[2]), std::stod(sizes[0]));
    WkSetPrintDialogHook(nullptr);
    setenv("FAKE_LP_STATUS", "2", 1);
    std::string failure;
    EXPECT_EQ(WkPrintTextFile(dir.write("list.txt", Lines(3)).c_str(), &failure), 0);
    EXPECT_EQ(failure, (dir / "bin/lp") + " failed with exit status 2: lp: printer off");
    EXPECT_EQ(WkPrintTextFile((dir / "").c_str(), &failure), 0);
    EXPECT_EQ(failure, "Cannot open " + (dir / "") + " to print it");
}

TEST_F(PrintTest, ChosenPrinterIsKeptForLaterJobs) {
    std::string first = dir / "first.pdf";
    WkSetPrintDialogAnswer(WK_PRINT_ANSWER_FILE, first.c_str());
    WkPrinter* printer = WkOpenPrinter("pairings", 1, 2, nullptr);
    ASSERT_NE(printer, nullptr);
    EXPECT_GT(printer->device.paper().widthPixels, printer->device.paper().heightPixels) << "landscape";
    WkClosePrinter(printer);
    EXPECT_NE(ScratchFolder::read(first).find("/Title (pairings)"), std::string::npos);

    // Without ask the dialog is not run: its answer now would cancel.
    WkSetPrintDialogAnswer(WK_PRINT_ANSWER_CANCEL, nullptr);
    std::filesystem::remove(first);
    printer = WkOpenPrinter("again", 0, 0, nullptr);
    ASSERT_NE(printer, nullptr);
    EXPECT_GT(printer->device.paper().widthPixels, printer->device.paper().heightPixels) << "orientation kept";
    WkClosePrinter(printer);
    EXPECT_TRUE(std::filesystem::exists(first));
    EXPECT_EQ(WkOpenPrinter("asked", 1, 0, nullptr), nullptr);
    EXPECT_EQ(WkPrinterCaps(1, nullptr, nullptr, nullptr, nullptr, nullptr), 0);

    // The default printer in portrait: the paper in pixels at 300 dpi.
    WkSetPrintDialogAnswer(WK_PRINT_ANSWER_DEFAULT, nullptr);
    int width = 0, height = 0, widthMm = 0;
    ASSERT_EQ(WkPrinterCaps(1, &width, &height, &widthMm, nullptr, nullptr), 1);
    EXPECT_LT(width, height);
    EXPECT_NEAR(width, widthMm * 300 / 25.4, 6);
    EXPECT_EQ(width, plat::SystemPaper().widthPixels - 2 * plat::kPrintEdgePixels) << "the printable area";
    printer = WkOpenPrinter("spooled", 0, 0, nullptr);
    WkClosePrinter(printer);
    EXPECT_NE(Jobs().find("-t\nspooled\n"), std::string::npos);
}

TEST_F(PrintTest, PageStepsThatFailAreLoggedAndTheOtherStepIsDone) {
    WkSetPrintDialogAnswer(WK_PRINT_ANSWER_FILE, (dir / "steps.pdf").c_str());
    WkPrinter* printer = WkOpenPrinter("steps", 1, 1, nullptr);
    ASSERT_NE(printer, nullptr);
    WkPrinterEndPage(printer);
    WkNextPrinterPage(printer);
    EXPECT_EQ(NewestLog(), "Error -1 in WkNextPrinterPage (EndPage)");
    EXPECT_TRUE(printer->device.inPage()) << "the next page is started all the same";
    WkClosePrinter(printer);
    EXPECT_EQ(PageTexts(ScratchFolder::read(dir / "steps.pdf")).size(), 2u);

    // An information context starts no job.
    WkPrinter* info = WkPrinterDialog(0, WK_PRINTER_INFORMATION, nullptr);
    ASSERT_NE(info, nullptr);
    WkNextPrinterPage(info);
    EXPECT_EQ(NewestLog(), "Error -1 in WkNextPrinterPage (StartPage)");
    EXPECT_EQ(WkPrinterStartJob(info, "x"), -1);
    WkDeletePrinter(info);
    EXPECT_EQ(WkPrinterDialog(0, 0, nullptr), nullptr) << "no context asked for";
}

TEST_F(PrintTest, PageMappingFitsThePaperInEveryMode) {
    WkSetPrintDialogAnswer(WK_PRINT_ANSWER_FILE, (dir / "map.pdf").c_str());
    WkPrinter* printer = WkOpenPrinter("map", 1, 1, nullptr);
    ASSERT_NE(printer, nullptr);
    const long long H = printer->device.pageWidth(), V = printer->device.pageHeight();
    const int Hmm = printer->device.pageWidthMm();
    int x, y, ww, wh;
    auto map = [&](WkPageMapping m, int w, int h) { WkMapPrinterPage(printer, &m, w, h, &x, &y, &ww, &wh); };

    // Fit, twice as wide as high: as wide as the page, the paper's proportion high.
    map({0, 5, 5, 0, 0}, 400, 200);
    EXPECT_EQ(ww, 400);
    EXPECT_EQ(wh, int(V * 400 / H));
    EXPECT_EQ(x + y, 0) << "margins are not used";
    // Slightly taller than the paper's width allows: the page fits whole.
    for (auto [w, h] : {std::pair{1000, 1300}, std::pair{1000, 1500}, std::pair{1, 1}}) {
        map({0, 0, 0, 0, 0}, w, h);
        EXPECT_GE(ww, w);
        EXPECT_GE(wh, h);
    }
    EXPECT_NEAR(printer->device.scale(), double(H) / ww, 1e-9);

    // Millimetres, printed 105 mm wide with a 10 mm left margin.
    map({1, 10, 20, 105, 0}, 300, 100);
    EXPECT_EQ(ww, 300 * Hmm / 105);
    EXPECT_EQ(wh, int(V * ww / H));
    EXPECT_EQ(x, 300 * 10 / 105);
    EXPECT_EQ(y, 300 * 20 / 105);
    // Percent, half the page high; negative margins add nothing.
    map({4, -1, -1, 0, 50}, 300, 100);
    EXPECT_EQ(wh, 200);
    EXPECT_EQ(ww, int(H * 200 / V));
    EXPECT_EQ(x + y, 0);
    // Pixels without sizes: the whole page, margins as they are.
    map({2, 7, 9, 0, 0}, 300, 100);
    EXPECT_EQ(ww, H);
    EXPECT_EQ(wh, V);
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 9);
    // Degenerate pages and tiny results never divide by zero or give no window.
    map({0, 0, 0, 0, 0}, 0, -5);
    EXPECT_GE(ww, 1);
    EXPECT_GE(wh, 1);
    map({1, 0, 0, 1000000, 0}, 1, 1);
    EXPECT_EQ(ww, 1);
    EXPECT_EQ(wh, 1);
    WkClosePrinter(printer);
}

// The width and height in points of each image drawn in the document.
std::vector<std::pair<double, double>> ImageSizes(const std::string& pdf) {
    std::vector<std::pair<double, double>> sizes;
    for (std::size_t at = 0; (at = pdf.find("Do Q", at)) != std::string::npos; ++at) {
        std::size_t q = pdf.rfind("q ", at);
        double w = 0, h = 0, b, c;
        std::sscanf(pdf.c_str() + q, "q %lf %lf %lf %lf", &w, &b, &c, &h);
        sizes.push_back({w, h});
    }
    return sizes;
}

TEST_F(PrintTest, ImagesAreNeverWiderThanThePage) {
    std::string pdf = dir / "image.pdf";
    WkSetPrintDialogAnswer(WK_PRINT_ANSWER_FILE, pdf.c_str());
    WkPrinter* printer = WkOpenPrinter("choose", 1, 1, nullptr);
    const double pageW = printer->device.pageWidth() * 0.24, pageH = printer->device.pageHeight() * 0.24;
    WkClosePrinter(printer);

    struct Case {
        int width, height, fit;
    };
    for (Case c : {Case{1000, 1300, 1}, Case{1300, 1000, 1}, Case{3000, 10, 0}, Case{10, 9000, 0}, Case{40, 20, 0}}) {
        WkImage* image = WkCreateImage(c.width, c.height, 24);
        WkPrintImage(image, c.fit);
        WkFreeImage(image);
        std::string doc = ScratchFolder::read(pdf);
        EXPECT_NE(doc.find("/Title (WOKU print image job)"), std::string::npos);
        auto sizes = ImageSizes(doc);
        ASSERT_EQ(sizes.size(), 1u);
        auto [w, h] = sizes[0];
        EXPECT_LE(w, pageW + 0.01) << c.width << "x" << c.height;
        EXPECT_LE(h, pageH + 0.01) << c.width << "x" << c.height;
        if (w >= h) {
            EXPECT_NEAR(w / 0.24 * c.height / c.width, h / 0.24, 1.0) << "aspect ratio kept";
        } else {
            EXPECT_NEAR(h / 0.24 * c.width / c.height, w / 0.24, 1.0) << "aspect ratio kept";
        }
        if (c.fit) {
            EXPECT_TRUE(w > pageW - 1 || h > pageH - 1) << "fitted to the page";
        }
        if (c.width == 40) {
            EXPECT_NEAR(w, 40 * 0.24, 0.01) << "pixel for pixel";
        }
    }
}

// The pixels of the first image of a document, by pdfimages.
struct Picture {
    int width = 0, height = 0;
    std::string rgb;
    plat::Rgb at(int x, int y) const {
        const unsigned char* p = reinterpret_cast<const unsigned char*>(rgb.data()) + 3 * (y * width + x);
        return plat::MakeRgb(p[0], p[1], p[2]);
    }
};

Picture FirstImage(const ScratchFolder& dir, const std::string& pdf) {
    std::string command = "pdfimages -f 1 -l 1 '" + pdf + "' '" + (dir / "img") + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::string ppm = ScratchFolder::read(dir / "img-000.ppm");
    Picture picture;
    int depth = 0, used = 0;
    if (std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &picture.width, &picture.height, &depth, &used) == 3)
        picture.rgb = ppm.substr(std::size_t(used) + 1);
    return picture;
}

TEST_F(PrintTest, ObjectTreeIsDrawnOntoThePageAndPutBack) {
    using namespace testform;
    WkObject* shell = MakeShell(120, 80);
    WkObject* form = MainForm(shell);
    form->x = form->y = 0;
    SetColor(form, 0, 0, 255);
    WkObject* leaf = MakeLeaf(form, 30, 20);
    SetColor(leaf, 255, 0, 0);
    WkImage* tile = WkCreateImage(4, 4, 24);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) WkImageSetPixelRGB(tile, x, y, 0, 200, 0);
    WkObject* pictured = MakeLeaf(form, 8, 8);
    pictured->image = tile;
    // The form lays out and realizes its children as a real form class does.
    WkObjectAddEventHandler(
        form,
        [](WkObject* o, WkMessage* m, void*, std::uint32_t) {
            if (m->type == WK_MSG_REALIZE) {
                WkMessage place;
                place.type = WK_MSG_RESIZE;
                WkSetNewSize(&place, o->width, o->height);
                WkSendMessage(o, &place);
            }
            SetRealized(o, m->type == WK_MSG_REALIZE);
        },
        WkMessageBit(WK_MSG_REALIZE) | WkMessageBit(WK_MSG_UNREALIZE), nullptr);
    form->state &= std::uint16_t(~(WK_STATE_SHOWN | WK_STATE_REALIZED));
    const std::uint16_t before = form->state;

    std::string pdf = dir / "object.pdf";
    WkSetPrintDialogAnswer(WK_PRINT_ANSWER_FILE, pdf.c_str());
    WkPrinter* printer = WkOpenPrinter("object", 1, 1, nullptr);
    ASSERT_NE(printer, nullptr);
    const double paperWidth = printer->device.pageWidth() * 0.24;
    WkPageMapping fit{0, 0, 0, 0, 0};
    WkPrintObject(shell, printer, &fit);
    WkClosePrinter(printer);

    EXPECT_EQ(form->state, before) << "its state is put back";
    EXPECT_FALSE(leaf->state & WK_STATE_REALIZED);
    EXPECT_EQ(form->x, 0) << "the shift is undone";
    Picture page = FirstImage(dir, pdf);
    ASSERT_EQ(page.width, form->width);
    ASSERT_EQ(page.height, form->height);
    EXPECT_EQ(page.at(1, 1), plat::MakeRgb(0, 0, 255));
    EXPECT_EQ(page.at(leaf->x + 2, leaf->y + 2), plat::MakeRgb(255, 0, 0));
    EXPECT_EQ(page.at(pictured->x + 5, pictured->y + 5), plat::MakeRgb(0, 200, 0)) << "images land in place";
    auto sizes = ImageSizes(ScratchFolder::read(pdf));
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_NEAR(sizes[0].first, paperWidth, 1) << "as wide as the paper";
    pictured->image = nullptr;
    WkFreeImage(tile);
    WkObjectDestroy(shell);
}

} // namespace
