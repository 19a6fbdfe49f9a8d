// The alert and question boxes drawn with widgets, answered by position.
#include "support/tourman_driver.h"

#include "message_boxes/message_boxes.h"
#include "toolkit/core/fonts.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/window_system.h"
#include "toolkit/widgets/label.h"
#include "toolkit/platform/events.h"
#include "tourman/frame/window_frame.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"

namespace tmt {
namespace {

class BoxesTest : public TourmanTest {
  protected:
    void SetUp() override {
        TourmanTest::SetUp();
        InstallMessageBoxes(ProgramTitle);
    }
};

TEST_F(BoxesTest, QuestionsAnswerByTheButtonsPosition) {
    const std::string text = "Go on?\nSecond line\nThird line";
    struct Case {
        const char* third;
        int button;
    } cases[] = {{"Third", 0}, {"Third", 1}, {"Third", 2}, {"", 0}, {"", 1}};
    for (const Case& c : cases) {
        AnswerText(text, c.button);
        EXPECT_EQ(AskQuestion(text, "First", "Second", c.third), c.button);
        const BoxSeen& seen = boxes.back();
        EXPECT_EQ(seen.lines, 3);
        std::vector<std::string> buttons{"First", "Second"};
        if (*c.third) buttons.push_back(c.third);
        EXPECT_EQ(seen.buttons, buttons);
        EXPECT_EQ(seen.title, ProgramTitle);
        EXPECT_EQ(OpenMessageBox(), nullptr);
    }
}

// A line too wide for the screen (a path, as a rule) is shown broken: after
// a '/' or at a blank (which goes) where one fits, else where the line is
// full. Nothing else is lost, every line fits and so does the box.
TEST_F(BoxesTest, LongLinesWrapWithinTheScreen) {
    ASSERT_TRUE(Start());
    std::string path = "/tmp";
    for (int i = 0; i < 12; ++i) path += "/a-rather-long-folder-name";
    std::string words;
    for (int i = 0; i < 30; ++i) words += "tournament ";
    const struct {
        std::string text;
        bool wraps;
        char lineEnd; // what each broken line but the last ends with; 0 any
    } cases[] = {
        {"short", false, 0},
        {words + "end", true, 't'},
        {std::string(300, 'x'), true, 'x'},
        {path + "/cup.qon", true, '/'},
    };
    const int width = WkScreenWidth() - 160;
    for (const auto& c : cases) {
        AnswerText("Cannot write:\n" + c.text, 0);
        ShowAlert("Cannot write:\n" + c.text, "Close");
        EXPECT_LE(boxes.back().width, WkScreenWidth());
        const std::string shown = WkWrapText(c.text.c_str(), 5, width);
        std::string joined, line;
        int lines = 0;
        for (std::size_t at = 0; at <= shown.size(); ++at) {
            if (at < shown.size() && shown[at] != '\n') {
                line += shown[at];
                continue;
            }
            ++lines;
            EXPECT_LE(WkTextWidth(line.c_str(), 5), width) << line;
            if (at < shown.size() && c.lineEnd) {
                EXPECT_EQ(line.back(), c.lineEnd) << line;
            }
            joined += line + (at < shown.size() && c.lineEnd == 't' ? " " : "");
            line.clear();
        }
        EXPECT_EQ(joined, c.text);
        EXPECT_EQ(lines > 1, c.wraps) << shown;
        EXPECT_EQ(boxes.back().lines, lines + 1);
    }
    // At the very edge: a blank or a '/' just where the line is full; a
    // trailing blank that does not fit goes without an empty line after it;
    // empty lines and a line of blanks beside one stay lines.
    const struct {
        const char *text, *fit, *shown;
    } edges[] = {
        {"tournament tournament", "tournament", "tournament\ntournament"},
        {"tournament ", "tournament", "tournament"},
        {"/tmp/cup", "/tmp/", "/tmp/\ncup"},
        {"          \n\nx", "    ", "    \n    \n\nx"},
        {"a\n\n   \nb\n", "tournament", "a\n\n   \nb\n"}, // the last line empty
    };
    for (const auto& e : edges) EXPECT_EQ(WkWrapText(e.text, 5, WkTextWidth(e.fit, 5)), e.shown) << e.text;
}

// The window system's close request (Alt+F4, the close box) does what
// Escape does; a question without a No beeps and waits for a button.
TEST_F(BoxesTest, CloseRequestAnswersAsEscapeDoes) {
    const std::string no = MessageText(MsgNo), yes = MessageText(MsgYes);
    struct Case {
        int request;
        std::string caption0, caption1;
        int answer, beeps;
        std::string caption2 = "";
    } cases[] = {
        {CloseRequest, no, yes, 0, 0}, {CloseBox, no, yes, 0, 0}, {CloseBox, yes, no, 1, 0},
        {CloseRequest, "By rating", "At random", 1, 1}, {CloseBox, "By rating", "At random", 1, 1},
        {CloseRequest, yes, "Save first", 2, 0, no}, // No the last of three
    };
    for (const Case& c : cases) {
        const int before = display->beepCount();
        AnswerText("Sure?", c.request);
        if (c.beeps) AnswerText("Sure?", 1);
        EXPECT_EQ(AskQuestion("Sure?", c.caption0, c.caption1, c.caption2), c.answer) << c.request << c.caption0;
        EXPECT_EQ(display->beepCount() - before, c.beeps) << c.request << c.caption0;
        EXPECT_EQ(OpenMessageBox(), nullptr);
    }
    for (int request : {CloseRequest, CloseBox}) {
        AnswerText("Careful", request);
        ShowAlert("Careful", "Close");
        EXPECT_EQ(OpenMessageBox(), nullptr);
    }
    EXPECT_TRUE(script.empty());
}

TEST_F(BoxesTest, AskYesNoIsOneForTheSecondButtonOfTheMessageDialog) {
    for (int button : {0, 1}) {
        AnswerText("Swap?", button);
        EXPECT_EQ(AskYesNo("Colours", "Swap?"), button);
        EXPECT_EQ(boxes.back().buttons.size(), 2u);
    }
}

// Escape does what No does: in a question, wherever its No button is, unless
// the caller names a Cancel, whatever its caption; in an alert, its only
// button; in the message dialog, the first (declining) button. A question
// without a No or a Cancel has no answer for it and beeps.
TEST_F(BoxesTest, EscapeAnswersNoTheAlertsButtonAndTheMessageDialogsFirst) {
    ASSERT_TRUE(Start());
    const std::string no = MessageText(MsgNo), yes = MessageText(MsgYes), save = MessageText(MsgSaveFirst);
    struct Case {
        std::string caption0, caption1, caption2;
        std::vector<int> buttons; // as queued: EscapeKey, then a button when Escape has no answer
        int answer, beeps, cancel = -1;
    };
    const Case cases[] = {
        {no, yes, "", {EscapeKey}, 0, 0},
        {yes, no, "", {EscapeKey}, 1, 0},
        {no, yes, save, {EscapeKey}, 0, 0},
        {"Cancel", no, yes, {EscapeKey}, 0, 0, 0},
        {no, yes, "Stop", {EscapeKey}, 2, 0, 2}, // a Cancel at the last position
        {"By rating", "At random", "As entered", {EscapeKey, 2}, 2, 1}, // the last button, after a beep
    };
    for (const Case& c : cases) {
        const int before = display->beepCount();
        for (int button : c.buttons) AnswerText("Go on?", button);
        EXPECT_EQ(AskQuestion("Go on?", c.caption0, c.caption1, c.caption2, c.cancel), c.answer) << c.caption0;
        EXPECT_EQ(display->beepCount() - before, c.beeps) << c.caption0;
        EXPECT_EQ(OpenMessageBox(), nullptr);
    }
    AnswerText("Careful", EscapeKey);
    ShowAlert("Careful", "Close");
    EXPECT_EQ(OpenMessageBox(), nullptr);
    AnswerText("Swap?", EscapeKey);
    EXPECT_EQ(AskYesNo("Colours", "Swap?"), 0);
    EXPECT_TRUE(script.empty());
}

} // namespace
} // namespace tmt
