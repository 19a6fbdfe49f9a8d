// The output-files page's buttons, the pairing page's print and logs
// buttons, and the viewer windows they open; printing goes through the
// print dialog into a PDF file that pdftotext reads back.
#include "support/tourman_driver.h"
#include "support/tournament_state.h"

#include "toolkit/core/native_windows.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/shell_data.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/list.h"
#include "toolkit/platform/events.h"
#include "tourman/commands/round_commands.h"
#include "tourman/frame/window_frame.h"
#include "tourman/pages/output/output_page.h"
#include "tourman/pages/output/output_widgets.h"
#include "tourman/pages/output/text_viewers.h"
#include "tourman/pages/pairing/pairing_widgets.h"
#include "tourman/pages/results/result_entry.h"
#include "tournament/message_table.h"
#include "tournament/round_state.h"
#include "tournament/settings.h"
#include "tournament/start_tournament.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace tmt {
namespace {

class OutputPageTest : public TourmanTest {
  protected:
    static std::string Title(WkObject* viewer) { return WkLabelGetText(WkListRecord(viewer)->titleLabel); }
    static std::string Line(WkObject* viewer, int row) {
        const WkListItem* item = WkListGetItem(viewer, row);
        std::string text = item ? item->text : "";
        return text.substr(0, text.find_last_not_of(' ') + 1);
    }
    // The file holds its name, then "more".
    static void Write(const std::string& path) {
        std::ofstream(path, std::ios::binary) << fs::path(path).filename().string() << "\r\nmore\r\n";
    }
    // What pdftotext reads from the PDF file the print dialog is told to write.
    std::string Printed(WkObject* button, const std::string& options = "") {
        const std::string pdf = dataFolder + "out.pdf";
        fs::remove(pdf);
        PrintTo(pdf);
        Click(button);
        std::system(("pdftotext " + options + "'" + pdf + "' '" + pdf + ".txt'").c_str());
        std::ifstream in(pdf + ".txt");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void Page(int page) {
        WkObjectEnable(MainWindow.pages[page]);
        WkFormSetPage(MainWindow.notebook, page);
        Flush();
    }
    static std::vector<WkObject*> Windows() {
        WkObject* const* shells = nullptr;
        const int count = WkLiveShells(&shells);
        return {shells, shells + count};
    }
    // The file viewers of a window, in creation order.
    static std::vector<WkObject*> Viewers(WkObject* window) {
        std::vector<WkObject*> viewers;
        for (WkObject* o : Widgets(window))
            if (o->classCode == WK_CLASS_LIST && WkListRecord(o)->kind == WK_LIST_KIND_FILE_VIEWER) viewers.push_back(o);
        return viewers;
    }
};

TEST_F(OutputPageTest, ButtonsViewersAndPrinting) {
    ASSERT_TRUE(Start());
    std::snprintf(Settings.BaseName, sizeof Settings.BaseName, "open");
    SetCurrentRound(2);
    WkObject* viewer = OutputPage.fileViewer;
    // The buttons in table order with the file each shows; "" for the ids that show nothing.
    const char* shows[] = {"scgr2-0.txt", "crosstbl.txt", "tblscore.txt", "rankcat.txt", "boardcrd.txt", "fidecros.txt",
                           "playercd.txt", "pairs2.txt", "result2.txt", "playname.txt", "playrat.txt", "fidecard.txt",
                           "", "elovar.txt", "open.qon", "", "", "fideelo.txt"};
    const WkFormPage* buttons = WkFormCurrentPage(OutputPage.outputButtons);
    ASSERT_EQ(buttons->count, 18);
    Page(3);
    Click(buttons->children[1]); // missing: empty
    EXPECT_EQ(Title(viewer), "crosstbl.txt");
    EXPECT_EQ(WkListGetCount(viewer), 0);
    for (const char* name : shows)
        if (*name) Write(dataFolder + name);
    for (int i = 0; i < 18; ++i) {
        if (!*shows[i]) continue;
        Click(buttons->children[i]);
        EXPECT_EQ(Title(viewer), shows[i]);
        EXPECT_EQ(Line(viewer, 0), shows[i]);
    }
    Settings.PairingSystem = SingleRoundRobinSystem;
    Answer(MsgNotInRoundRobin, 0);
    Click(buttons->children[0]);
    Settings.PairingSystem = FideDubovSystem;

    // The pairing page's print button shows the round's pairings and prints them.
    Page(1);
    EXPECT_EQ(Printed(PairingPage.printPairingsButton).rfind("pairs2.txt\n", 0), 0u);
    EXPECT_EQ(Title(viewer), "pairs2.txt");
    Page(3);

    // A file chosen in another folder is the one printed and opened.
    fs::create_directories(dataFolder + "other");
    Write(dataFolder + "other/pairs2.txt");
    std::ofstream(dataFolder + "other/pairs2.txt", std::ios::app) << "elsewhere\r\n";
    ChooseFile(dataFolder + "other/pairs2.txt");
    Click(buttons->children[12]);
    EXPECT_EQ(Line(viewer, 2), "elsewhere");
    EXPECT_NE(Printed(buttons->children[15]).find("elsewhere"), std::string::npos);
    const std::size_t windows = Windows().size();
    Click(buttons->children[16]);
    WkObject* single = Windows().back();
    EXPECT_EQ(Title(Viewers(single).at(0)), dataFolder + "other/pairs2.txt");
    EXPECT_NE(Printed(Find(MessageText(MsgPrint), single)).find("elsewhere"), std::string::npos);
    SavePng(single, "viewer.png");

    // Logs without a trace: the left pane empty, the right one the score groups.
    Page(1);
    Click(PairingPage.logsButton);
    WkObject* logs = Windows().back();
    ASSERT_NE(logs, single);
    EXPECT_EQ(WkListGetCount(Viewers(logs).at(0)), 0);
    EXPECT_EQ(Line(Viewers(logs).at(1), 0), "scgr2-0.txt");
    SavePng(logs, "logs.png");
    Click(Find(MessageText(MsgClose), logs));
    EXPECT_EQ(Windows().back(), single);
    WkShellRealize(single); // raised again over the main window
    Click(Find(MessageText(MsgClose), single));
    EXPECT_EQ(Windows().size(), windows);
}

// Both viewers close as their close button does on Escape, on Alt+F4 and
// on a close box that a window manager draws though they ask for none.
TEST_F(OutputPageTest, TheViewersCloseByEscapeAndTheCloseRequest) {
    ASSERT_TRUE(Start());
    const std::size_t before = Windows().size();
    for (bool logs : {true, false})
        for (int request : {EscapeKey, CloseRequest, CloseBox}) {
            if (logs) LogsCommand();
            else WkShellRealize(OpenFileViewer(dataFolder + "pairs1.txt"));
            Flush();
            char title[256];
            WkShellGetTitle(Windows().back(), title);
            EXPECT_EQ(title, MessageText(logs ? MsgLogs : MsgFileViewer));
            if (request == CloseBox) display->injectHostCloseRequest(WkObjectGetNativeWindow(Windows().back()));
            else if (request == EscapeKey) Press(0x01, 0x1B);
            else Press(0x3E, 0, plat::kAlt);
            display->virtualClock()->advance(300); // a button pressed by a key lets go after a while
            Flush();
            EXPECT_EQ(Windows().size(), before) << logs << request;
        }
}

// A 24-player round robin printed in portrait: every column of the cross
// table, six whole board cards a page; a PDF file that cannot be written is said so.
TEST_F(OutputPageTest, WideTablesAndBoardCardsPrintWhole) {
    ASSERT_TRUE(Start());
    Settings.PairingSystem = SingleRoundRobinSystem;
    std::snprintf(Settings.BaseName, sizeof Settings.BaseName, "robin");
    for (int i = 1; i <= 24; ++i) AddTestPlayer("PLAYER " + std::to_string(i), 2400 - 10 * i);
    ClosedRegistration = 1;
    Answer(MsgPairingNumbersQuestion, 0);
    ASSERT_TRUE(StartTournament(24)); // round 1 paired and accepted
    for (int round = 1; round <= 23; ++round) {
        if (round > 1) PairRoundCommand();
        for (int board = 1; board <= 12; ++board) GameTable(board, round) -= NotPlayed - (board % 3 ? WhiteWins : Draw);
        ResultEntryToggle(false);
    }
    Page(3);
    WkObject* const* buttons = WkFormCurrentPage(OutputPage.outputButtons)->children;
    Click(buttons[1]); // the cross table: 24 cells in each of its 25 rows
    std::istringstream table(Printed(buttons[15], "-layout "));
    int rows = 0;
    for (std::string line; std::getline(table, line);)
        if (const std::size_t bar = line.find(" | "); bar != std::string::npos && ++rows) {
            std::istringstream cells(line.substr(bar + 3));
            EXPECT_EQ(std::distance(std::istream_iterator<std::string>(cells), {}), 24) << line;
        }
    EXPECT_EQ(rows, 25);
    Click(buttons[4]); // round 23's twelve board cards: six whole ones a page
    EXPECT_EQ(Printed(buttons[15], "-f 2 -l 2 ").substr(0, 8), "Table 7,");
    PrintTo(dataFolder + "gone/out.pdf");
    AnswerText("Cannot write " + dataFolder + "gone/out.pdf: No such file or directory", 0);
    Click(buttons[15]);
}

// A print to the default printer where no spooler runs: the print command
// alerts why, and no file appears in the home folder or anywhere else.
TEST_F(OutputPageTest, PrintingWithoutASpoolerSaysWhyAndWritesNoFile) {
    const std::string home = dataFolder + "home", bin = dataFolder + "bin";
    fs::create_directories(home);
    fs::create_directories(bin); // PATH without lp (nor anything else)
    // Set for the test's length, whatever ends it.
    struct Variable {
        Variable(const char* name, const std::string& value) : name(name) {
            if (const char* old = std::getenv(name)) this->old = old, had = true;
            setenv(name, value.c_str(), 1);
        }
        ~Variable() {
            if (had) setenv(name, old.c_str(), 1);
            else unsetenv(name);
        }
        const char* name;
        std::string old;
        bool had = false;
    };
    // The home folder and PATH change once the program runs: the font
    // configuration it reads at start stays the machine's own (read from an
    // empty home folder, it would cache fonts there).
    ASSERT_TRUE(Start());
    Variable homeVariable("HOME", home), pathVariable("PATH", bin);
    SetCurrentRound(2);
    Write(dataFolder + "pairs2.txt");
    Page(1);
    PrintTo("");
    AnswerText("No printer can be reached: the print spooler (lp) was not found.\n"
               "Choose \"PDF file\" to keep the document as a file.",
               0);
    Click(PairingPage.printPairingsButton);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(fs::is_empty(home));
    EXPECT_TRUE(fs::is_empty(bin));
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dataFolder)) files.push_back(entry.path().filename());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"bin", "home", "pairs2.txt"}));
}

} // namespace
} // namespace tmt
