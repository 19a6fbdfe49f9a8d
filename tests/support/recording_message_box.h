// A message-box sink for tests: records every alert and question and answers
// questions from a queue set up by the test (0 when the queue is empty).
//
// Installs itself while it lives and puts back the sink it replaced, so a
// test declares one on the stack:
//     RecordingMessageBox boxes;
//     boxes.answers = {2};
//     ... code that asks ...
//     EXPECT_EQ(boxes.alerts.size(), 1u);
// Header only: any test program may include it without linking anything more
// than the tournament library.
#pragma once

#include "tournament/message_box.h"

#include <deque>
#include <string>
#include <vector>

class RecordingMessageBox : public MessageBoxSink {
  public:
    struct Alert {
        std::string text;
        std::string caption;
    };
    struct Question {
        std::string text;
        std::vector<std::string> captions; // two or three
        int answer;
    };

    RecordingMessageBox() : previous_(SetMessageBoxSink(this)) {}
    ~RecordingMessageBox() override { SetMessageBoxSink(previous_); }
    RecordingMessageBox(const RecordingMessageBox&) = delete;
    RecordingMessageBox& operator=(const RecordingMessageBox&) = delete;

    void alert(const std::string& text, const std::string& caption) override {
        alerts.push_back({text, caption});
    }

    int question(const std::string& text, const std::string& caption0, const std::string& caption1,
                 const std::string& caption2) override {
        int answer = 0;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        std::vector<std::string> captions{caption0, caption1};
        if (!caption2.empty()) captions.push_back(caption2);
        questions.push_back({text, captions, answer});
        return answer;
    }

    // Texts of the alerts shown, in order.
    std::vector<std::string> alertTexts() const {
        std::vector<std::string> texts;
        for (const Alert& a : alerts)
            texts.push_back(a.text);
        return texts;
    }

    std::vector<Alert> alerts;
    std::vector<Question> questions;
    std::deque<int> answers; // answers to give, first to last

  private:
    MessageBoxSink* previous_;
};
