// The alert and question boxes, as the tournament model sees them.
//
// The tournament, pairing and report code shows an alert or asks a question
// through these two calls and never draws anything itself. Whoever can show
// a box (the program's message boxes once the toolkit runs, a recording fake
// in the tests) installs a MessageBoxSink; the sink is process-wide. Without
// one, an alert is written to the standard error and a question takes its
// first answer.
#pragma once

#include <string>

class MessageBoxSink {
  public:
    virtual ~MessageBoxSink() = default;
    // Shows text with one button of the given caption; returns when pressed.
    virtual void alert(const std::string& text, const std::string& caption) = 0;
    // Shows text with two or three buttons (caption2 empty: two) and returns
    // the position of the button pressed: 0, 1 or 2.
    virtual int question(const std::string& text, const std::string& caption0, const std::string& caption1,
                         const std::string& caption2) = 0;
    // The same where the button at position cancel (0, 1 or 2; -1: none)
    // is the question's Cancel, the answer of a box closed without a
    // button; cancel QuestionLeft: such a box answers QuestionLeft. A sink
    // that closes no box answers as question does.
    virtual int questionWithCancel(const std::string& text, const std::string& caption0,
                                   const std::string& caption1, const std::string& caption2, int /*cancel*/) {
        return question(text, caption0, caption1, caption2);
    }
};

// The answer of a question whose every button goes on, closed by Escape or
// by the window system, where its caller passes it as the cancel: the
// caller then stops as if never asked.
inline constexpr int QuestionLeft = 3;

// Installs sink (null: none) and returns the one installed before.
MessageBoxSink* SetMessageBoxSink(MessageBoxSink* sink);
MessageBoxSink* CurrentMessageBoxSink();

// Modal alert: text and one button.
void ShowAlert(const std::string& text, const std::string& caption);
// Modal question with two buttons, or three when caption2 is not empty.
// Returns 0 for caption0's button, 1 for caption1's, 2 for caption2's; an
// answer the box cannot have given is taken as 0. The button at position
// cancel, when one is named, is the question's Cancel: a box closed by
// Escape or by the window system answers it; with cancel QuestionLeft such
// a box answers QuestionLeft.
int AskQuestion(const std::string& text, const std::string& caption0, const std::string& caption1,
                const std::string& caption2 = std::string(), int cancel = -1);
