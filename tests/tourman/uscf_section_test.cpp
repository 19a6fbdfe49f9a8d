// The USCF section dialog and the section file it writes.
#include "support/tourman_driver.h"
#include "support/tournament_state.h"

#include "toolkit/core/native_windows.h"
#include "toolkit/core/shell.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/tooltip.h"
#include "tourman/dialogs/uscf_section.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <tuple>
#include <vector>

namespace tmt {
namespace {

class UscfSectionTest : public TourmanTest {
  protected:
    std::string Field(int index) { return WkEditGetText(UscfSection.fields[index]); }
    void Set(int index, const std::string& text) { WkEditReplaceText(UscfSection.fields[index], text.c_str(), 0, 0); }
    std::string File() {
        std::ostringstream bytes;
        bytes << std::ifstream(dataFolder + UscfSectionFileName, std::ios::binary).rdbuf();
        return bytes.str();
    }
};

TEST_F(UscfSectionTest, TypesRefusalsCancelAndTheFileOfASwiss) {
    ASSERT_TRUE(Start());
    std::strcpy(Settings.Name, "Spring Open");
    for (int id = 1; id <= 10; ++id) {
        AddTestPlayer("PLAYER " + std::string(1, char('A' + id - 1)));
        Players[id].nationalId = id == 2 ? 0 : 12345600 + id;
        Players[id].nationalRating = 2000 - 50 * id;
    }
    std::strcpy(Players[1].country, "USA");
    const std::string previous = "an earlier section\r\n";
    std::ofstream(dataFolder + UscfSectionFileName, std::ios::binary) << previous;

    // Before any round; the type follows the system, the last one (a Swiss) stays open.
    for (int system = 1; system <= 6; ++system) {
        Settings.PairingSystem = system;
        OpenUscfSectionDialog();
        Flush();
        EXPECT_EQ(Field(6) + Field(7), std::string(1, "SRSSDS"[system - 1]) + "0") << system;
        if (system < 6) WkShellDestroy(UscfSection.window);
    }
    WkObject* window = UscfSection.window;
    OpenUscfSectionDialog(); // a second request only brings it forward
    ASSERT_EQ(UscfSection.window, window);
    char title[256];
    WkShellGetTitle(window, title);
    EXPECT_STREQ(title, "USCF Section Report");
    const char* initial[] = {"Spring Open", "R", "F", "Game/xx", "0", "0", "S", "0", "10", "", "", "N", "N", "0"};
    for (int i = 0; i < UscfFieldCount; ++i) EXPECT_EQ(Field(i), initial[i]) << i;
    Set(3, "G/90");
    Set(4, "12345678");
    Set(5, "7654321");
    for (int i : {9, 10}) {
        Click(UscfSection.fields[i]);
        Type(i == 9 ? "2026-01-10" : "20260112"); // the dashes are filtered out
    }
    SavePng(window, "dialog.png");
    EXPECT_GE(window->width, 773);
    WkObject* rating = UscfSection.fields[1];
    int x, y;
    WkObjectGetAbsolutePosition(rating, &x, &y);
    display->injectPointerMove(window->x + x + 3, window->y + y + 3);
    Flush();
    display->virtualClock()->advance(150);
    Flush();
    ASSERT_TRUE(rating->tooltip && WkShellRecord(rating->tooltip->popup)->flags & WK_SHELL_SHOWN);
    SavePng(rating->tooltip->popup, "tooltip.png");

    // Each refusal leaves the dialog and the old file as they were. The field
    // itself turns tabs and line feeds into blanks; a carriage return passes it.
    const std::tuple<int, std::string, std::string> refusals[] = {
        {9, "", "There can't be empty fields!\nPlease fill all fields with some value"},
        {3, "G/90\r5", "\"Time Control\" cannot hold a tab or a line break"},
        {10, "2026011", "\"End Date\" needs eight digits: YYYYMMDD"},
        {4, "0", "\"ID Chief TD\" can't stay 0!\nPlease fill it with the real USCF ID"},
    };
    for (const auto& [index, text, alert] : refusals) {
        const std::string kept = Field(index);
        Set(index, text);
        AnswerText(alert, 0);
        Click(UscfSection.doneButton);
        EXPECT_EQ(File(), previous) << alert;
        ASSERT_EQ(UscfSection.window, window) << alert;
        Type("7"); // over the refused text, selected
        EXPECT_EQ(Field(index), "7") << alert;
        Set(index, kept);
    }
    Answer(MsgCloseWithoutSaving, 0); // stay: the texts are kept
    Click(UscfSection.cancelButton);
    ASSERT_EQ(UscfSection.window, window);
    EXPECT_EQ(Field(3), "G/90");
    Click(UscfSection.doneButton);
    EXPECT_EQ(UscfSection.window, nullptr);
    EXPECT_EQ(File().substr(0, 24), "20260110  20260112  10\r\n");
    EXPECT_NE(File().find("\r\n\r\n   1\t12345601\tPLAYER A                      \tUS\t1950\r\n   2\t"), std::string::npos);

    // Three rounds: {opponent, result code} of players 1..10 in rounds 1..3.
    const int rounds[10][3][2] = {
        {{6, 1}, {7, 3}, {2, 6}},  {{7, 2}, {0, 3}, {1, 6}}, {{8, 3}, {4, 2}, {5, 0}}, {{9, 0}, {3, 2}, {6, 2}},
        {{10, 0}, {0, 4}, {3, 1}}, {{1, 0}, {0, 6}, {4, 2}}, {{2, 2}, {1, 4}, {10, 3}}, {{3, 4}, {9, 1}, {0, 0}},
        {{4, 1}, {8, 0}, {0, 3}},  {{5, 1}, {0, 8}, {7, 4}},
    };
    for (int id = 1; id <= 10; ++id)
        for (int r = 1; r <= 3; ++r) {
            OpponentTable(id, r) = rounds[id - 1][r - 1][0];
            PlayerResultTable(id, r) = std::uint16_t(rounds[id - 1][r - 1][1]);
        }
    SetCurrentRound(3);
    OpenUscfSectionDialog();
    for (auto [index, text] : {std::pair{3, "G/90"}, {4, "12345678"}, {5, "7654321"}, {9, "20260110"}, {10, "20260112"}})
        Set(index, text);
    Click(UscfSection.doneButton);
    EXPECT_EQ(File(), "20260110  20260112  10\r\n"
                      "Spring Open\tR\tF\tG/90\t12345678\t7654321\tS\t3\t10\t20260110\t20260112\tN\tN\t0\t\r\n"
                      "\r\n"
                      "   1\t12345601\tPLAYER A                      \tUS\t1950\tW6\tX7\tZ0\r\n"
                      "   2\t       0\tPLAYER B                      \tIT\t1900\tD7\tX0\tZ0\r\n"
                      "   3\t12345603\tPLAYER C                      \tIT\t1850\tX8\tD4\tL5\r\n"
                      "   4\t12345604\tPLAYER D                      \tIT\t1800\tL9\tD3\tD6\r\n"
                      "   5\t12345605\tPLAYER E                      \tIT\t1750\tL10\tF0\tW3\r\n"
                      "   6\t12345606\tPLAYER F                      \tIT\t1700\tL1\tZ0\tD4\r\n"
                      "   7\t12345607\tPLAYER G                      \tIT\t1650\tD2\tF1\tX10\r\n"
                      "   8\t12345608\tPLAYER H                      \tIT\t1600\tF3\tW9\tU0\r\n"
                      "   9\t12345609\tPLAYER I                      \tIT\t1550\tW4\tL8\tX0\r\n"
                      "  10\t12345610\tPLAYER J                      \tIT\t1500\tW5\tZ0\tF7\r\n");

    // Cancel with the closing answer writes nothing.
    std::ofstream(dataFolder + UscfSectionFileName, std::ios::binary) << previous;
    OpenUscfSectionDialog();
    Flush();
    Answer(MsgCloseWithoutSaving, 1);
    Click(UscfSection.cancelButton);
    EXPECT_EQ(UscfSection.window, nullptr);
    EXPECT_EQ(File(), previous);
}

// The directors' ids start as the 0 that stands for none: reached by Tab or
// by a click, what is typed replaces it whole and reaches the file.
TEST_F(UscfSectionTest, DirectorIdsTypedOverByTabAndByClickReachTheFile) {
    ASSERT_TRUE(Start());
    std::strcpy(Settings.Name, "Open");
    AddTestPlayer("PLAYER A");
    const struct {
        bool click;
        const char *chief, *assistant;
    } cases[] = {{false, "12345678", "7654321"}, {true, "12345678", "7654321"}, {true, "9", "10"}};
    for (const auto& c : cases) {
        OpenUscfSectionDialog();
        Flush();
        for (auto [index, text] : {std::pair{3, "G/90"}, {9, "20260110"}, {10, "20260112"}}) Set(index, text);
        if (c.click) {
            Click(UscfSection.fields[4]);
            Type(c.chief);
            Click(UscfSection.fields[5]);
        } else {
            WkObjectSetFocus(UscfSection.fields[3]);
            Press(0x0F, 9); // Tab
            Type(c.chief);
            Press(0x0F, 9);
        }
        Type(c.assistant);
        Click(UscfSection.doneButton);
        ASSERT_EQ(UscfSection.window, nullptr) << c.chief;
        const std::string file = File();
        const std::string line = file.substr(file.find("\r\n") + 2, file.find("\r\n\r\n") - file.find("\r\n") - 2);
        EXPECT_EQ(line, "Open\tR\tF\tG/90\t" + std::string(c.chief) + "\t" + c.assistant +
                            "\tS\t0\t1\t20260110\t20260112\tN\tN\t0\t")
            << c.click;
    }
}

// Escape and the close box ask as Cancel does: staying keeps the dialog
// and its texts, leaving writes nothing.
TEST_F(UscfSectionTest, EscapeAndTheCloseBoxAskAsCancelDoes) {
    ASSERT_TRUE(Start());
    const std::string previous = "an earlier section\r\n";
    std::ofstream(dataFolder + UscfSectionFileName, std::ios::binary) << previous;
    for (bool escape : {true, false}) {
        OpenUscfSectionDialog();
        Flush();
        WkObject* window = UscfSection.window;
        Set(3, "G/45");
        for (int answer : {0, 1}) {
            Answer(MsgCloseWithoutSaving, answer);
            if (escape) {
                WkObjectSetFocus(UscfSection.fields[1]); // a drop-down passes Escape on too
                Press(0x01, 0x1B);
            } else {
                ASSERT_TRUE(display->injectCloseRequest(WkObjectGetNativeWindow(window)));
                Flush();
            }
            EXPECT_EQ(UscfSection.window, answer == 0 ? window : nullptr) << escape;
            if (answer == 0) {
                EXPECT_EQ(Field(3), "G/45");
            }
        }
        EXPECT_EQ(File(), previous);
    }
}

// The dates start from the tournament's own (none when it holds none) and
// must be real days, the end not before the begin; a refusal names its field.
TEST_F(UscfSectionTest, DatesStartFromTheTournamentsAndAreRealDays) {
    ASSERT_TRUE(Start());
    std::strcpy(Settings.Name, "Open");
    for (const char* date : {"31022026", "010426  "}) {
        std::strcpy(Settings.BeginDate, date);
        std::strcpy(Settings.EndDate, "5.4.26");
        OpenUscfSectionDialog();
        EXPECT_EQ(Field(9) + "|" + Field(10), (*date == '3' ? "|" : "20260401|") + std::string("20260405"));
        WkShellDestroy(UscfSection.window);
    }
    OpenUscfSectionDialog();
    Set(4, "1");
    Set(5, "2");
    const auto files = Snapshot(dataFolder);
    const std::tuple<const char*, const char*, const char*> refusals[] = {
        {"20260230", "20260405", "\"Begin Date\" is not a day of the calendar: 20260230"},
        {"20260401", "2026041", "\"End Date\" needs eight digits: YYYYMMDD"},
        {"20260401", "20260331", "\"End Date\" lies before \"Begin Date\""},
    };
    for (const auto& [begin, end, alert] : refusals) {
        Set(9, begin);
        Set(10, end);
        AnswerText(alert, 0);
        Click(UscfSection.doneButton);
        EXPECT_EQ(Snapshot(dataFolder), files) << alert;
    }
    WkShellDestroy(UscfSection.window); // the next test opens its own
}

// One cell a round after the five columns: a round robin of five, player 4's BYE in round 2, a forfeit
// won by black in round 1 and by white in round 2; a Swiss of six, player 3's forfeit win in round 1,
// player 6 withdrawn after round 1, players 1 and 2 adjourned in round 2 (a half point without play
// against a named opponent). Three boards a round, as game codes. No file while the last round is open.
TEST_F(UscfSectionTest, OneCellARound) {
    ASSERT_TRUE(Start());
    std::strcpy(Settings.Name, "Cup");
    const std::tuple<int, std::vector<int>, std::string> cases[] = {
        {SingleRoundRobinSystem, {20051, 30044, 10002, 50030, 10023, 40002},
         "\tU0\tX2|\tW5\tF1|\tF4\tW5|\tX3\tU0|\tL2\tL3|"},
        {FideDubovSystem, {10041, 20052, 60034, 10027, 30055, 40003}, // a forfeit each way and both ways
         "\tW4\tZ0|\tF5\tZ0|\tX6\tD5|\tL1\tX0|\tF2\tD3|\tF3\tU0|"},
    };
    for (const auto& [system, codes, cells] : cases) {
        ClearPlayers();
        Settings.PairingSystem = system;
        for (int id = 0; id < int(std::count(cells.begin(), cells.end(), '|')); ++id) AddTestPlayer("PLAYER");
        for (int i = 0; i < 6; ++i)
            SetTestBoard(i / 3 + 1, i % 3 + 1, codes[i] / 10000, codes[i] / 10 % 1000, codes[i] % 10);
        for (int round = 1; round <= 2; ++round) {
            Players[6].available = round == 1;
            RebuildRoundTables(round);
        }
        SetCurrentRound(2);
        OpenUscfSectionDialog();
        for (auto [index, text] : {std::pair{4, "1"}, {5, "2"}, {9, "20260110"}, {10, "20260112"}}) Set(index, text);
        Click(UscfSection.doneButton);
        std::istringstream lines(File());
        std::string line, written;
        for (int n = 0; std::getline(lines, line); ++n) written += n < 3 ? "" : line.substr(52, line.size() - 53) + "|";
        EXPECT_EQ(written, cells);
    }
    const std::string kept = File();
    for (int pairingDone : {0, 1}) { // proposed (a board unplayed), accepted (all played, not closed)
        SetTestBoard(3, 1, 1, 2, pairingDone ? WhiteWins : NotPlayed);
        SetCurrentRound(3);
        IsPairingDone = pairingDone;
        AnswerText("The results of round 3 are not closed!\nClose them before the USCF report", 0);
        OpenUscfSectionDialog();
        EXPECT_TRUE(UscfSection.window == nullptr && File() == kept);
    }
}

// A refused value is named and takes the focus, so that the user goes on
// there: a director left at the 0 that names nobody is refused as an empty
// field is, and nothing is written.
TEST_F(UscfSectionTest, RefusedValuesAreNamedAndTakeTheFocus) {
    ASSERT_TRUE(Start());
    std::strcpy(Settings.Name, "Open");
    AddTestPlayer("PLAYER A");
    const std::string empty = "There can't be empty fields!\nPlease fill all fields with some value";
    const std::tuple<int, const char*, std::string> cases[] = {
        {0, "", empty},
        {4, "0", "\"ID Chief TD\" can't stay 0!\nPlease fill it with the real USCF ID"},
        {5, "000", "\"ID Assistant TD\" can't stay 0!\nPlease fill it with the real USCF ID"},
        {3, "G/90\r5", "\"Time Control\" cannot hold a tab or a line break"},
        {9, "20260230", "\"Begin Date\" is not a day of the calendar: 20260230"},
        {10, "20260109", "\"End Date\" lies before \"Begin Date\""},
        {13, "", empty},
    };
    OpenUscfSectionDialog();
    const auto files = Snapshot(dataFolder);
    for (const auto& [index, text, alert] : cases) {
        for (auto [i, good] : {std::pair{0, "Open"}, {3, "G/90"}, {4, "12345678"}, {5, "7654321"},
                               {9, "20260110"}, {10, "20260112"}, {13, "0"}})
            Set(i, good);
        Set(index, text);
        AnswerText(alert, 0);
        Click(UscfSection.doneButton);
        ASSERT_NE(UscfSection.window, nullptr) << alert;
        EXPECT_EQ(WkFormGetFocus(UscfSection.window), UscfSection.fields[index]) << alert;
        EXPECT_EQ(Snapshot(dataFolder), files) << alert;
    }
    WkShellDestroy(UscfSection.window);
}

} // namespace
} // namespace tmt
