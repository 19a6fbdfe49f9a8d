// The alert and question boxes drawn with widgets, answered by position.
#include "support/tourman_driver.h"

#include "message_boxes/message_boxes.h"
#include "toolkit/core/shell.h"
#include "toolkit/platform/events.h"
#include "tourman/main_window/window_frame.h"
#include "tournament/message_box.h"

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

TEST_F(BoxesTest, CloseRequestPressesTheAlertsButtonButBeepsAtAQuestion) {
    AnswerText("Careful", CloseRequest);
    ShowAlert("Careful", "Close");
    EXPECT_EQ(boxes.back().buttons, std::vector<std::string>{"Close"});
    EXPECT_EQ(display->beepCount(), 0);

    AnswerText("Sure?", CloseRequest);
    AnswerText("Sure?", 1);
    EXPECT_EQ(AskQuestion("Sure?", "No", "Yes"), 1);
    EXPECT_EQ(boxes.size(), 3u);
    EXPECT_EQ(display->beepCount(), 1);
}

TEST_F(BoxesTest, AskYesNoIsOneForTheSecondButtonOfTheMessageDialog) {
    for (int button : {0, 1}) {
        AnswerText("Swap?", button);
        EXPECT_EQ(AskYesNo("Colours", "Swap?"), button);
        EXPECT_EQ(boxes.back().buttons.size(), 2u);
    }
}

} // namespace
} // namespace tmt
