#include "tournament/message_box.h"

#include "support/recording_message_box.h"
#include "tournament/message_table.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageBox, TheFakeRecordsAndAnswersInOrder) {
    RecordingMessageBox boxes;
    boxes.answers = {2, 1};
    ShowAlert("first\nsecond", "OK");
    EXPECT_EQ(AskQuestion("How?", "by rating", "at random", "as entered"), 2);
    EXPECT_EQ(AskQuestion("Sure?", "No", "Yes"), 1);
    EXPECT_EQ(AskQuestion("Again?", "No", "Yes"), 0); // answers used up
    ASSERT_EQ(boxes.alerts.size(), 1u);
    EXPECT_EQ(boxes.alerts[0].text, "first\nsecond");
    EXPECT_EQ(boxes.alerts[0].caption, "OK");
    ASSERT_EQ(boxes.questions.size(), 3u);
    EXPECT_EQ(boxes.questions[0].captions.size(), 3u);
    EXPECT_EQ(boxes.questions[1].captions.size(), 2u);
}

TEST(MessageBox, AnAnswerWithoutItsButtonIsTheFirst) {
    RecordingMessageBox boxes;
    boxes.answers = {2, 7, -1};
    EXPECT_EQ(AskQuestion("Two buttons", "No", "Yes"), 0);
    EXPECT_EQ(AskQuestion("Three", "a", "b", "c"), 0);
    EXPECT_EQ(AskQuestion("Three", "a", "b", "c"), 0);
}

TEST(MessageBox, FakesNestAndPutBackTheSinkTheyReplaced) {
    EXPECT_EQ(CurrentMessageBoxSink(), nullptr);
    RecordingMessageBox outer;
    {
        RecordingMessageBox inner;
        ShowAlert("to inner", "OK");
        EXPECT_EQ(inner.alerts.size(), 1u);
    }
    EXPECT_EQ(CurrentMessageBoxSink(), &outer);
    ShowAlert("to outer", "OK");
    EXPECT_EQ(outer.alertTexts(), std::vector<std::string>{"to outer"});
}

TEST(MessageBox, WithoutASinkQuestionsTakeTheFirstAnswer) {
    ASSERT_EQ(CurrentMessageBoxSink(), nullptr);
    testing::internal::CaptureStderr();
    ShowAlert("nobody sees this box", "OK");
    EXPECT_EQ(AskQuestion("Sure?", "No", "Yes"), 0);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("nobody sees this box"), std::string::npos);
}

TEST(MessageTable, MissingTextsAreVisibleButHarmless) {
    ClearMessageTable();
    EXPECT_EQ(MessageText(3), "[message 3]");
    EXPECT_EQ(MessageText(-1), "[message -1]");
    EXPECT_EQ(MessageText(MessageCount), "[message 224]");
    SetMessageText(3, "OK");
    SetMessageText(3, "Close"); // replaced, the old copy freed
    SetMessageText(MessageCount, "ignored");
    EXPECT_EQ(MessageText(3), "Close");
    EXPECT_STREQ(MessageTable[3], "Close");
    ClearMessageTable();
    EXPECT_EQ(MessageTable[3], nullptr);
}

} // namespace
