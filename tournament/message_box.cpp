#include "tournament/message_box.h"

#include <cstdio>

namespace {
MessageBoxSink* Sink = nullptr;
}

MessageBoxSink* SetMessageBoxSink(MessageBoxSink* sink) {
    MessageBoxSink* previous = Sink;
    Sink = sink;
    return previous;
}

MessageBoxSink* CurrentMessageBoxSink() {
    return Sink;
}

void ShowAlert(const std::string& text, const std::string& caption) {
    if (Sink != nullptr) {
        Sink->alert(text, caption);
        return;
    }
    std::fprintf(stderr, "%s\n", text.c_str());
}

int AskQuestion(const std::string& text, const std::string& caption0, const std::string& caption1,
                const std::string& caption2, int cancel) {
    if (Sink == nullptr) {
        std::fprintf(stderr, "%s [%s]\n", text.c_str(), caption0.c_str());
        return 0;
    }
    const int buttons = caption2.empty() ? 2 : 3;
    if (cancel >= buttons && cancel != QuestionLeft) cancel = -1;
    const int answer = Sink->questionWithCancel(text, caption0, caption1, caption2, cancel);
    if (answer == QuestionLeft && cancel == QuestionLeft) return answer;
    return answer >= 0 && answer < buttons ? answer : 0;
}
