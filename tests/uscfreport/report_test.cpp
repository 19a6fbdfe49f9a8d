// uscfreport end to end: sections chosen in the folder tree, the header
// form and the three exports; the list's limits, its template, the exit.
#include "support/ends_within.h"
#include "support/file_bytes.h"
#include "support/file_steps.h"
#include "support/power_cut.h"
#include "support/report_driver.h"
#include "toolkit/core/shell.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/menu.h"
#include "toolkit/widgets/tree.h"
#include "toolkit/widgets/dir_tree.h"
#include "uscfreport/header_form.h"
#include "uscfreport/report_window.h"
#include "uscfreport/section_list.h"
#include "uscfreport/uscf_exports.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <set>
#include <tuple>
#include <vector>

namespace urt {
namespace {

namespace fs = std::filesystem;
using UscfReportTest = ReportTest;

// A section file as tourman writes it: line 1, the section line, an empty
// line, one player line per round cells given.
struct SectionSpec {
    std::string first, section;
    std::vector<std::string> players;
    SectionSpec(std::string f, std::string s, std::initializer_list<const char*> cells) : first(f), section(s) {
        char line[160];
        for (const char* c : cells) {
            const int id = int(players.size()) + 1;
            std::snprintf(line, sizeof line, "%4d\t%8d\t%-30.30s\t%2.2s\t%4d%s", id, 12345600 + id, "PLAYER", "USA",
                          2000 - 50 * id, c);
            players.push_back(line);
        }
    }
    std::string Text(const char* end) const {
        std::string text = first + end + section + end + end;
        for (const std::string& p : players) text += p + end;
        return text;
    }
};

const SectionSpec kSwiss("20260110  20260112  6", "Swiss\tR\tF\tG/90\t1\t2\tS\t3\t6\t20260110\t20260112\tN\tN\t0\t",
                         {"\tW4\tD2\tW3", "\tW5\tD1\tW6", "\tW6\tW5\tL1", "\tL1\tW6\tD5", "\tL2\tL3\tD4", "\tL3\tL4\tX0"});
const SectionSpec kQuad("20260108  20260109  4", "Quad\tR\tF\tG/60\t1\t2\tR\t3\t4\t20260108\t20260109\tN\tN\t0\t",
                        {"\tW4\tD3\tW2", "\tD3\tW4\tL1", "\tD2\tD1\tZ0", "\tL1\tL2\tF0"});

std::vector<std::string> Exports(const std::string& folder) {
    return {ReadFileBytes(folder + "thexport.txt"), ReadFileBytes(folder + "tsexport.txt"),
            ReadFileBytes(folder + "tdexport.txt")};
}

std::vector<std::string> Listed() {
    std::vector<std::string> paths;
    for (int i = 0; i < WkListGetCount(SectionList); ++i) paths.push_back(WkListGetItem(SectionList, i)->text);
    return paths;
}

TEST_F(UscfReportTest, TwoSectionsGiveTheThreeExportsByteForByte) {
    const std::string swiss = Section("swiss open", kSwiss.Text("\r\n").c_str());
    const std::string quad = Section("quad", kQuad.Text("\n").c_str());
    AddFolder(swiss);
    AddFolder(quad);
    SavePng(ReportWindow.window, "main.png");
    Click(ReportWindow.reportButton);
    ASSERT_NE(HeaderForm.window, nullptr);
    SavePng(HeaderForm.window, "header-form.png");
    const char* initial[kHeaderFields] = {"202601120000", "", "2", "20260108", "20260112", "0", "0", "", "", "", "T"};
    for (int i = 0; i <= 10; ++i) EXPECT_STREQ(WkEditGetText(HeaderForm.fields[i]), initial[i]) << i;
    EXPECT_TRUE(WkEditRecord(HeaderForm.fields[2])->flags & WK_EDIT_READ_ONLY);

    Answer("There can't be empty fields!\nPlease fill all fields with some value", 0);
    Click(HeaderForm.doneButton);
    EXPECT_FALSE(fs::exists(folder + "thexport.txt"));
    Click(HeaderForm.fields[1]);
    Type("Spring Open");
    const std::pair<int, const char*> typed[] = {{5, "777"},  {7, "NY"},    {8, "10001"},
                                                 {9, "USA"}, {11, "1234"}, {12, "5678"}};
    for (const auto& [field, text] : typed) WkEditReplaceText(HeaderForm.fields[field], text, 0, 1);
    for (int field : {1, 6, 9}) { // a tab would split the record: refused
        const std::string before = WkEditGetText(HeaderForm.fields[field]);
        WkEditReplaceText(HeaderForm.fields[field], "a\tb", 0, 1);
        EXPECT_EQ(WkEditGetText(HeaderForm.fields[field]), before) << field;
    }
    Click(HeaderForm.doneButton);
    EXPECT_EQ(HeaderForm.window, nullptr);
    std::string sections, details;
    int k = 0;
    for (const SectionSpec* s : {&kSwiss, &kQuad}) {
        const std::string prefix = "202601120000\t" + std::to_string(++k) + "\t";
        sections += prefix + s->section + "\r\n";
        for (const std::string& p : s->players) details += prefix + p + "\r\n";
    }
    const std::vector<std::string> written = Exports(folder);
    EXPECT_EQ(written, (std::vector<std::string>{"B\t202601120000\tSpring Open\t2\t20260108\t20260112\t777\t0\tNY\t"
                                                 "10001\tUSA\tT\t1234\t5678\t\r\n",
                                                 sections, details}));

    // A section file gone before Done leaves the old exports; Cancel writes nothing.
    Click(ReportWindow.reportButton);
    for (const auto& [field, text] : typed) WkEditReplaceText(HeaderForm.fields[field], text, 0, 1);
    WkEditReplaceText(HeaderForm.fields[1], "Second", 0, 1);
    fs::remove(quad + "/uscfsctn.txt");
    Answer("I can't read the Section file\n" + quad + "/uscfsctn.txt", 0);
    Click(HeaderForm.doneButton);
    ASSERT_NE(HeaderForm.window, nullptr);
    Click(HeaderForm.cancelButton);
    EXPECT_EQ(HeaderForm.window, nullptr);
    EXPECT_EQ(Exports(folder), written);
    Answer("I can't read the file\n" + quad + "/uscfsctn.txt", 0);
    Click(ReportWindow.reportButton);
}

// A section file whose line 1 holds no real dates is refused by name before
// the form; the form takes real dates, the end not before the begin, and
// writes the state in capitals.
TEST_F(UscfReportTest, DatesAreRealDaysAndTheStateIsInCapitals) {
    const std::string quad = Section("quad", "20260108  20260230  4\r\n");
    AddFolder(quad);
    Answer(quad + "/uscfsctn.txt, line 1: the begin date, the end date (real dates: YYYYMMDD) and the number of "
                  "players expected", 0);
    Click(ReportWindow.reportButton);
    WriteFileBytes(quad + "/uscfsctn.txt", kQuad.Text("\r\n"));
    Click(ReportWindow.reportButton);
    for (const auto& [field, text] :
         {std::pair{1, "Open"}, {5, "1"}, {7, "il"}, {8, "60601"}, {9, "USA"}, {11, "1"}, {12, "2"}})
        WkEditReplaceText(HeaderForm.fields[field], text, 0, 1);
    const std::tuple<const char*, const char*, const char*> refusals[] = {
        {"20260229", "20260109", "\"Begin Date\" is not a day of the calendar: 20260229"},
        {"20260108", "20260107", "\"End Date\" lies before \"Begin Date\""},
    };
    for (const auto& [begin, end, alert] : refusals) {
        WkEditReplaceText(HeaderForm.fields[3], begin, 0, 1);
        WkEditReplaceText(HeaderForm.fields[4], end, 0, 1);
        Answer(alert, 0);
        Click(HeaderForm.doneButton);
    }
    EXPECT_FALSE(fs::exists(folder + "thexport.txt"));
    WkEditReplaceText(HeaderForm.fields[4], "20260109", 0, 1);
    Click(HeaderForm.doneButton);
    EXPECT_EQ(ReadFileBytes(folder + "thexport.txt"),
              "B\t202601090000\tOpen\t1\t20260108\t20260109\t1\t0\tIL\t60601\tUSA\tT\t1\t2\t\r\n");
}

TEST_F(UscfReportTest, AtMostEightSectionsEachOnceRemovedOnlyOnYes) {
    Answer("Operation not valid", 0); // nothing chosen in the tree yet
    Click(ReportWindow.addButton);
    std::vector<std::string> folders;
    for (int i = 1; i <= 9; ++i) folders.push_back(Section("s" + std::to_string(i), nullptr));
    for (const std::string& f : folders) {
        if (&f == &folders.back()) Answer("Operation not valid", 0);
        AddFolder(f);
    }
    WkListSelectItem(SectionList, 0);
    for (int answer : {0, 2, 1}) {
        Answer("Are you sure do you want\nto remove the selected section?", answer);
        Click(ReportWindow.removeButton);
    }
    Answer("This section is listed already:\n" + folders[1] + "/", 0);
    AddFolder(folders[1] + "/");
    EXPECT_EQ(SectionCount, 7);
    EXPECT_EQ(Listed().front(), folders[1] + "/");
}

// "Add Section" takes the folder highlighted in the tree, also one just
// opened and one whose name hides it; the last listed section is the one
// removed when it is selected, and nothing goes while none is.
TEST_F(UscfReportTest, AddTakesTheHighlightedFolderAndRemoveTheSelectedOne) {
    const std::string a = Section("a", nullptr), b = Section("b", nullptr), hidden = Section(".hidden", nullptr);
    AddFolder(a);
    WkDirTreeSetPath(ReportWindow.dirTree, folder.c_str(), 1);
    WkTreeNode* top = WkTreeGetSelected(ReportWindow.dirTree);
    WkTreeNode* opened = nullptr;
    for (WkTreeNode* n = WkTreeGetFirstChild(top); n; n = n->next)
        if (WkEditGetText(n->label) == std::string("b")) opened = n;
    ASSERT_NE(opened, nullptr);
    WkTreeExpandNode(opened, 1); // opened, not clicked
    EXPECT_EQ(WkTreeGetSelected(ReportWindow.dirTree), opened);
    Click(ReportWindow.addButton);
    AddFolder(hidden);
    EXPECT_EQ(Listed(), (std::vector<std::string>{a + "/", b + "/", hidden + "/"}));

    const struct {
        int selected; // -1 none
        std::vector<std::string> left;
    } removals[] = {{-1, {a + "/", b + "/", hidden + "/"}}, {2, {a + "/", b + "/"}}, {1, {a + "/"}}};
    for (const auto& r : removals) {
        if (r.selected < 0) WkListSelectNone(SectionList);
        else WkListSelectItem(SectionList, r.selected);
        Answer("Are you sure do you want\nto remove the selected section?", 1);
        Click(ReportWindow.removeButton);
        EXPECT_EQ(Listed(), r.left) << r.selected;
        EXPECT_EQ(SectionCount, int(r.left.size())) << r.selected;
    }
}

// A folder named in UTF-8 on disk shows in the tree as the program's own
// letters, and the section path it gives reads the section's file.
TEST_F(UscfReportTest, AccentedFolderThroughTheTreeToTheSectionPath) {
    Section("Z\xC3\xBCrich", kQuad.Text("\r\n").c_str()); // "Zürich" on disk
    WkDirTreeSetPath(ReportWindow.dirTree, folder.c_str(), 1);
    WkTreeExpandNode(WkTreeGetSelected(ReportWindow.dirTree), 1);
    WkTreeNode* node = WkTreeGetFirstChild(WkTreeGetSelected(ReportWindow.dirTree));
    ASSERT_NE(node, nullptr);
    EXPECT_STREQ(WkEditGetText(node->label), "Z\xFCrich");
    WkTreeSelectNode(node, 1);
    Click(ReportWindow.addButton);
    EXPECT_EQ(Listed(), std::vector<std::string>{folder + "Z\xFCrich/"});
    Click(ReportWindow.reportButton);
    EXPECT_NE(HeaderForm.window, nullptr) << "the section file was read";
}

TEST_F(UscfReportTest, TemplateKeepsTheListAndLoadsWhatItHolds) {
    std::vector<std::string> paths;
    for (const char* name : {"open a", "open b", "under 1600"}) paths.push_back(Section(name, nullptr) + "/");
    for (const std::string& p : paths) AddFolder(p);
    WkMenuActivateItem(ReportWindow.saveItem);
    const std::string path = folder + "template.txt";
    EXPECT_EQ(ReadFileBytes(path), " 3 # number of sections\r\n" + paths[0] + "\r\n" + paths[1] + "\r\n" + paths[2] +
                                       "\r\n");
    WkListClear(SectionList);
    WkMenuActivateItem(ReportWindow.openItem);
    EXPECT_EQ(Listed(), paths);
    fs::rename(path, path + ".kept");
    Answer("I can't read the file\n" + path, 0);
    WkMenuActivateItem(ReportWindow.openItem);
    EXPECT_EQ(Listed(), paths);

    std::string ten = "10 # number of sections\r\n";
    std::vector<std::string> eight;
    for (int i = 1; i <= 10; ++i) ten += "/p/" + std::to_string(i) + "/\r\n";
    for (int i = 1; i <= 8; ++i) eight.push_back("/p/" + std::to_string(i) + "/");
    const struct {
        std::string bytes;
        std::vector<std::string> loaded;
        std::string alert;
    } cases[] = {
        // A template refused whole leaves the list as it was.
        {"# number of sections\r\n/p/q/\r\n", paths,
         ", line 1: the number of sections (at least 1) expected at its start; nothing is loaded"},
        {" 3 # number of sections\n/p/one\n/p/two/\n", paths,
         ", line 4: section folder 3 of 3 expected; nothing is loaded"},
        {" 3\r\n/p/one\r\n\r\n/p/two/\r\n", paths, ", line 3: section folder 2 of 3 expected; nothing is loaded"},
        {" 3\r\n/p/one\r\n \t \r\n/p/two/\r\n", paths, ", line 3: section folder 2 of 3 expected; nothing is loaded"},
        {" 2 # number of sections\n/p/one\n/p/two/\n", {"/p/one/", "/p/two/"}, ""},
        {ten, eight, ", line 1: at most 8 sections expected; the first 8 are loaded"},
        {" 2\r\n/" + std::string(150, 'x') + "\r\n/p/q/\r\n", {"/p/q/"},
         ", line 2: a section path of at most 150 characters expected; it is not loaded"},
        {std::string(" 2\r\n/p/q/\r\n/p/\0x/\r\n", 19), {"/p/q/"},
         ", line 3: a section path without a NUL byte expected; it is not loaded"},
    };
    for (const auto& c : cases) {
        WriteFileBytes(path, c.bytes);
        if (!c.alert.empty()) Answer(path + c.alert, 0);
        WkMenuActivateItem(ReportWindow.openItem);
        EXPECT_EQ(Listed(), c.loaded) << c.bytes;
        EXPECT_EQ(SectionCount, int(c.loaded.size()));
    }
    Answer("Operation not valid", 0); // too long from the tree as well
    AddFolder(Section(std::string(140, 'y'), nullptr));
}

TEST_F(UscfReportTest, ExitStaysOnNotAndOnAFailedSave) {
    const char* quit = "Are you sure do you want to quit?\n";
    const std::string section = Section("a", nullptr) + "/";
    AddFolder(section);
    Answer(quit, 0);
    WkMenuActivateItem(ReportWindow.exitItem);
    fs::create_directories(folder + "template.txt/x"); // the list cannot be written there
    Answer(quit, 2);
    Answer("I can't save the file", 0);
    EXPECT_EQ(ConfirmExit(ReportWindow.window, 0, nullptr, nullptr), 1);
    fs::remove_all(folder + "template.txt");
    for (int answer : {1, 2}) {
        Answer(quit, answer);
        EXPECT_EXIT(ConfirmExit(ReportWindow.window, 0, nullptr, nullptr), ::testing::ExitedWithCode(0), "");
        script.clear(); // answered in the program's process
        EXPECT_EQ(ReadFileBytes(folder + "template.txt"), answer == 1 ? "" : " 1 # number of sections\r\n" + section + "\r\n");
    }
}

// Fills the header form's empty fields and the affiliate's 0; event names the event.
void FillHeader(const char* event) {
    const std::pair<int, const char*> typed[] = {{1, event}, {5, "1"}, {7, "NY"}, {8, "10001"},
                                                 {9, "USA"}, {11, "1"}, {12, "2"}};
    for (const auto& [field, text] : typed)
        WkEditReplaceText(HeaderForm.fields[field], text, 0, 1);
}

// An edited section file (the last section's) is refused by its line at
// "Do USCF Report" and at "Done", a template's folder listed again by its
// line, and an export that cannot be replaced keeps the other two: the
// exports of the last report stay byte for byte.
TEST_F(UscfReportTest, EditedFilesAreRefusedByTheirLineAndTheExportsStay) {
    const std::string swiss = Section("swiss open", kSwiss.Text("\r\n").c_str()),
                      quad = Section("quad", nullptr);
    const std::string quadFile = quad + "/uscfsctn.txt", good = kQuad.Text("\r\n");
    WriteFileBytes(quadFile, good);
    AddFolder(swiss);
    AddFolder(quad);
    Click(ReportWindow.reportButton);
    FillHeader("Spring Open");
    Click(HeaderForm.doneButton);
    const std::vector<std::string> written = Exports(folder);
    const std::size_t players = good.find("\r\n\r\n") + 4, last = good.rfind("   4\t");
    const std::string fields =
        ", line 2: the section line expected:\nits 14 fields, none empty, each ended by a tab";
    const std::string player =
        "'s line expected (line 1 announces 4):\nid, USCF id, name (30 characters), country (2), "
        "rating,\nthen the rounds' cells and the line end";
    const std::string cell = "expected: W, L, D, X, F, Z or U, then an opponent from 0 to 4 other than ";
    const auto edited = [&](const std::string& from, const std::string& to) {
        return good.substr(0, good.find(from)) + to + good.substr(good.find(from) + from.size());
    };
    const std::pair<std::string, std::string> cases[] = {
        {"20260110  20260109  4" + good.substr(21), ", line 1: a begin date not after the end date expected"},
        {good.substr(0, players - 6) + good.substr(players - 4), fields}, // 13 fields
        {good.substr(0, players - 5) + good.substr(players - 4), fields}, // no last tab
        {good.substr(0, players - 2) + good.substr(players), ", line 3: an empty line expected"},
        {edited("G/60\t1\t2\t", "G/60\t0\t2\t"), ", line 2: the real USCF id in \"ID Chief TD\" expected, not 0"},
        {edited("G/60\t1\t2\t", "G/60\t1\t000\t"),
         ", line 2: the real USCF id in \"ID Assistant TD\" expected, not 000"},
        {good.substr(0, good.find("   2\t") + 30) + "\r\n" + good.substr(good.find("   3\t")),
         ", line 5: player 2" + player},
        {good.substr(0, last), ", line 7: player 4" + player},
        {good.substr(0, good.size() - 3) + "\r\n", ", line 7: player 4's cell 3 " + cell + "4, not \"F\""},
        {edited("\tW4\tD3", "\tW1\tD3"), ", line 4: player 1's cell 1 " + cell + "1, not \"W1\""},
        {edited("\tD3\tW4", "\tQ3\tW4"), ", line 5: player 2's cell 1 " + cell + "2, not \"Q3\""},
        {edited("\tF0", "\tF5"), ", line 7: player 4's cell 3 " + cell + "4, not \"F5\""},
        {good.substr(0, good.size() - 2), ", line 7: player 4" + player},          // no line end
    };
    for (const auto& [bytes, alert] : cases) {
        WriteFileBytes(quadFile, good);
        Click(ReportWindow.reportButton);
        FillHeader("Edited");
        WriteFileBytes(quadFile, bytes);
        Answer(quadFile + alert, 0);
        Click(HeaderForm.doneButton);
        ASSERT_NE(HeaderForm.window, nullptr) << alert;
        Click(HeaderForm.cancelButton);
        Answer(quadFile + alert, 0);
        Click(ReportWindow.reportButton);
        EXPECT_EQ(Exports(folder), written) << alert;
    }
    WriteFileBytes(quadFile, good);
    const std::string path = folder + "template.txt";
    WriteFileBytes(path, " 4\r\n" + swiss + "/\r\n" + quad + "\r\n" + swiss + "\r\n" + quad + "//\r\n");
    Answer(path + ", line 4: a folder not listed yet expected (line 2 lists it); it is not loaded\n" + path +
               ", line 5: a folder not listed yet expected (line 3 lists it); it is not loaded",
           0);
    WkMenuActivateItem(ReportWindow.openItem);
    fs::remove(folder + "tdexport.txt");
    fs::create_directories(folder + "tdexport.txt/x");
    for (const char* event : {"Edited", "Spring Open"}) {
        Click(ReportWindow.reportButton);
        FillHeader(event);
        const bool blocked = fs::is_directory(folder + "tdexport.txt");
        if (blocked)
            Answer("Cannot save the Tournament Detail File\n" + folder + "tdexport.txt\nThe three exports are as they were.",
                   0);
        Click(HeaderForm.doneButton);
        if (HeaderForm.window) Click(HeaderForm.cancelButton);
        const std::vector<std::string> now = Exports(folder);
        EXPECT_EQ(now[0] + now[1], written[0] + written[1]) << event;
        EXPECT_FALSE(fs::exists(folder + "tsexport.txt.tmp")) << event;
        if (blocked) fs::remove_all(folder + "tdexport.txt");
    }
    EXPECT_EQ(Exports(folder), written);
}

// The header fields USCF reads as codes, at their shortest and longest and
// one character beyond: a refusal names the field; beyond the field's
// length a character is not taken.
TEST_F(UscfReportTest, HeaderFieldsTakeWhatUscfCanUse) {
    AddFolder(Section("quad", kQuad.Text("\r\n").c_str()));
    const std::tuple<int, const char*, const char*> cases[] = {
        // field, typed, the refusal's or the export's text
        {0, "123456789012", "\t123456789012\t"},
        {0, "12345678901", "\"Event ID\" must hold 12 digits: 12345678901"},
        {0, "1234567890123", "\t123456789012\t"},
        {7, "ny", "\tNY\t"},
        {7, "NYC", "\tNY\t"},
        {7, "I", "\"State Abbreviation\" must hold 2 letters: I"},
        {8, "10001", "\t10001\t"},
        {8, "100011234", "\t100011234\t"},
        {8, "1000", "\"Zip Code\" must hold 5 or 9 digits: 1000"},
        {8, "100011", "\"Zip Code\" must hold 5 or 9 digits: 100011"},
        {8, "10001123", "\"Zip Code\" must hold 5 or 9 digits: 10001123"},
        {8, "1000112345", "\"Zip Code\" must hold 5 or 9 digits: 1000112345"},
    };
    for (const auto& [field, typed, text] : cases) {
        const std::string before = ReadFileBytes(folder + "thexport.txt");
        Click(ReportWindow.reportButton);
        FillHeader("Open");
        WkEditReplaceText(HeaderForm.fields[field], "", 0, 1);
        Click(HeaderForm.fields[field]);
        Type(typed);
        const bool refused = text[0] == '"';
        if (refused) Answer(text, 0);
        Click(HeaderForm.doneButton);
        const std::string header = ReadFileBytes(folder + "thexport.txt");
        EXPECT_EQ(HeaderForm.window != nullptr, refused) << typed;
        EXPECT_TRUE(refused ? header == before : header.find(text) != std::string::npos) << typed;
        if (refused) Click(HeaderForm.cancelButton);
    }
}

// A template or a section file that is a FIFO (opened, it would wait for a writer for good) is refused
// at once, naming it.
TEST_F(UscfReportTest, AFifoIsRefusedAtOnceAsTemplateAndAsSectionFile) {
    const std::string quad = Section("quad", nullptr);
    AddFolder(quad);
    for (const std::string& path : {folder + "template.txt", quad + "/uscfsctn.txt"}) {
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
        EXPECT_TRUE(EndsWithin(kBlockedStepSeconds, [&] {
            Answer("I can't read the file\n" + path + ": not a regular file", 0);
            if (path.ends_with("template.txt")) WkMenuActivateItem(ReportWindow.openItem);
            else Click(ReportWindow.reportButton);
            EXPECT_TRUE(script.empty());
            script.clear();
        })) << path;
    }
}

// Done replaces the three exports as one step on disk. Killed just before any of its steps, cut off there by a
// power cut (only what was synced kept, then each subset of the renames not yet synced), or with any one step
// refused, the next recovery finds the three exports of the report before or the three of the new one, never a
// mix, and nothing of the change left over; a refusal names the file that failed, and says whether the new
// exports are put in place later. The last kill, between two renames, is followed by the program's own start.
TEST_F(UscfReportTest, TheThreeExportsChangeTogetherAcrossAKillAndAPowerCut) {
    std::vector<SectionFile> sections(1);
    std::string error;
    ASSERT_TRUE(ReadSectionFile(Section("swiss", kSwiss.Text("\r\n").c_str()) + "/", sections[0], error, ""));
    std::vector<std::string> fields(kHeaderFields, "1");
    ASSERT_TRUE(WriteExportFiles(folder, fields, sections, error));
    const std::vector<std::string> before = Exports(folder);
    fields[0] = "2";
    const auto done = [&] { return WriteExportFiles(folder, fields, sections, error); };
    const long steps = file_steps::CountSteps(done);
    const std::vector<std::string> after = Exports(folder);
    const auto entries = [&] {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
        return names;
    };
    const std::set<std::string> kept = entries();
    const auto restore = [&] {
        WriteFileBytes(folder + "thexport.txt", before[0]);
        WriteFileBytes(folder + "tsexport.txt", before[1]);
        WriteFileBytes(folder + "tdexport.txt", before[2]);
    };
    const std::string finished =
        "A change of the files that was stopped has been finished:\nthexport.txt, tsexport.txt, tdexport.txt.";
    const auto recovered = [&](bool standing, const std::string& how) {
        const std::string told = RecoverExports(folder);
        EXPECT_TRUE(told.empty() || told == finished) << how << ": " << told;
        EXPECT_TRUE(Exports(folder) == after || (!standing && told.empty() && Exports(folder) == before)) << how;
        EXPECT_EQ(entries(), kept) << how;
    };
    long mixedAt = -1, stood = 0, subsets = 0;
    for (long step = 0; step <= steps; ++step) {
        for (const bool kill : {true, false}) {
            const std::string how = (kill ? "killed before step " : "step refused: ") + std::to_string(step);
            restore();
            error.clear();
            bool written = false;
            EXPECT_EQ(kill ? file_steps::KilledAt(step, done) : file_steps::FailingStep(step, [&] { written = done(); }),
                      step < steps);
            const std::vector<std::string> now = Exports(folder);
            if (kill && now != before && now != after) mixedAt = step;
            const bool standing = error.find("are put in place at the next Done") != std::string::npos;
            stood += standing;
            EXPECT_TRUE(kill || written || error.find("\n" + folder) != std::string::npos) << error;
            EXPECT_TRUE(kill || standing || (written ? now == after : now == before)) << how;
            recovered(standing, how);
        }
        restore();
        std::optional<power_cut::Cut> cut;
        if (!power_cut::CutAt(folder, step, done, cut)) continue;
        for (int pass = 0; pass < cut->passes(); ++pass) {
            cut->leave(pass);
            recovered(false, "cut before step " + std::to_string(step) + ", pass " + std::to_string(pass));
        }
        subsets += cut->passes() - 1;
    }
    EXPECT_GT(stood, 0);
    EXPECT_GT(subsets, 0);
    ASSERT_GE(mixedAt, 0);
    restore();
    ASSERT_TRUE(file_steps::KilledAt(mixedAt, done));
    WkShellDestroy(ReportWindow.window);
    Answer(finished, 0);
    StartReportApplication();
    EXPECT_EQ(Exports(folder), after);
    EXPECT_EQ(entries(), kept);
    // Done syncs every new export before it is put in place, and the folder after.
    fields[0] = "3";
    EXPECT_EQ(power_cut::SyncFaults(folder, power_cut::Recorded(done)), std::vector<std::string>());
}

} // namespace
} // namespace urt
