// The alert and question boxes drawn with widgets, answered by position.
#include "support/tourman_driver.h"

#include "message_boxes/message_boxes.h"
#include "toolkit/core/shell.h"
#include "toolkit/platform/events.h"
#include "tourman/main_window/window_frame.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"

namespace tmt {
namespace {

class BoxesTest : public TourmanTest {
  protected:
    void SetUp() override {
        TourmanTest::SetUp();
        InstallMessageBoxes();
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
        EXPECT_EQ(OpenMessageBox(), nullptr);
    }
}

// The window system's close request (Alt+F4, the close box) does what
// Escape does; a question without a No beeps and waits for a button.
TEST_F(BoxesTest, CloseRequestAnswersAsEscapeDoes) {
    const std::string no = MessageText(MsgNo), yes = MessageText(MsgYes);
    struct Case {
        int request;
        std::string caption0, caption1;
        int answer, beeps;
    } cases[] = {
        {CloseRequest, no, yes, 0, 0}, {CloseBox, no, yes, 0, 0}, {CloseBox, yes, no, 1, 0},
        {CloseRequest, "By rating", "At random", 1, 1}, {CloseBox, "By rating", "At random", 1, 1},
    };
    for (const Case& c : cases) {
        const int before = display->beepCount();
        AnswerText("Sure?", c.request);
        if (c.beeps) AnswerText("Sure?", 1);
        EXPECT_EQ(AskQuestion("Sure?", c.caption0, c.caption1), c.answer) << c.request << c.caption0;
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

// Escape does what No does: in a question, wherever its No button is; in
// an alert, its only button; in the message dialog, the first (declining)
// button. A question without a No has no answer for it and beeps.
TEST_F(BoxesTest, EscapeAnswersNoTheAlertsButtonAndTheMessageDialogsFirst) {
    ASSERT_TRUE(Start());
    const std::string no = MessageText(MsgNo), yes = MessageText(MsgYes), save = MessageText(MsgSaveFirst);
    struct Case {
        std::string caption0, caption1, caption2;
        std::vector<int> buttons; // as queued: EscapeKey, then a button when Escape has no answer
        int answer, beeps;
    };
    const Case cases[] = {
        {no, yes, "", {EscapeKey}, 0, 0},
        {yes, no, "", {EscapeKey}, 1, 0},
        {no, yes, save, {EscapeKey}, 0, 0},
        {"By rating", "At random", "As entered", {EscapeKey, 2}, 2, 1}, // the last button, after a beep
    };
    for (const Case& c : cases) {
        const int before = display->beepCount();
        for (int button : c.buttons) AnswerText("Go on?", button);
        EXPECT_EQ(AskQuestion("Go on?", c.caption0, c.caption1, c.caption2), c.answer) << c.caption0;
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
