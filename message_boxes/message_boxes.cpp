#include "message_boxes/message_boxes.h"

#include "toolkit/core/draw.h"
#include "toolkit/core/event_loop.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/window_system.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/picture.h"
#include "toolkit/widgets/push_button.h"
#include "tournament/message_numbers.h"
#include "tournament/message_table.h"

#include <cstdint>

namespace {

// The answer of the box open now: kOpen until one of its buttons is pressed.
constexpr int kOpen = 4;
constexpr WkFontSlot kTextFont = 5;
constexpr WkFontSlot kButtonFont = 7;
// The box's picture, frame and margins beside its text.
constexpr int kPictureRoom = 160;
int BoxAnswer = 0;
WkObject* Box = nullptr;
std::string BoxTitle;

// The box that holds the object closes with the answer.
void Answer(WkObject* part, int answer) {
    BoxAnswer = answer;
    Box = nullptr;
    WkShellDestroy(part);
}

void OnQuestionButton(WkObject* button, void*, void* data) { Answer(button, int(reinterpret_cast<std::intptr_t>(data))); }

int PressAlertButton(WkObject* box, std::intptr_t, void*, WkMessage*) {
    Answer(box, 0);
    return 1;
}

// Escape and the window system's close request (a close box, Alt+F4)
// answer the question's Cancel, QuestionLeft where the caller asks for it,
// or its No where it offers neither (data: that answer + 1); a question
// with none of these (data 0) has no answer for either.
int EscapeAnswersCancel(WkObject* box, std::intptr_t, void* cancelAnswer, WkMessage*) {
    const int answer = int(reinterpret_cast<std::intptr_t>(cancelAnswer)) - 1;
    if (answer >= 0) Answer(box, answer);
    else WkBeep();
    return 1;
}

WkObject* AddButton(WkObject* parent, const std::string& caption, int answer) {
    WkObject* button = WkCreateButton(parent, caption.c_str(), kButtonFont);
    WkButtonSetCallback(button, OnQuestionButton, reinterpret_cast<void*>(std::intptr_t(answer)));
    return button;
}

// The window and its first row: the picture and the text, its long lines
// (a path, as a rule) broken to keep the box within the screen.
WkObject* NewBox(const std::string& text, const char* picture) {
    WkObject* box = WkCreateShell(BoxTitle.c_str(), WK_SHELL_DIALOG | WK_SHELL_NO_CLOSE);
    WkObject* row = WkCreateHorizontalForm(box);
    WkCreatePicture(row, picture);
    WkLabelSetWrapWidth(WkCreateLabel(row, text.c_str(), kTextFont), WkScreenWidth() - kPictureRoom);
    return box;
}

int Run(WkObject* box) {
    BoxAnswer = kOpen;
    Box = box;
    WkShellRealize(box);
    WkLoopWhile(&BoxAnswer, kOpen);
    // The program is quitting while the box is open: take it down unanswered.
    if (Box != nullptr) WkShellDestroy(Box);
    Box = nullptr;
    return BoxAnswer;
}

class WidgetMessageBoxes : public MessageBoxSink {
  public:
    void alert(const std::string& text, const std::string& caption) override {
        WkObject* box = NewBox(text, "danger.bmp");
        AddButton(box, caption, 0);
        WkShellSetCloseCallback(box, PressAlertButton, nullptr);
        Run(box);
    }

    int question(const std::string& text, const std::string& caption0, const std::string& caption1,
                 const std::string& caption2) override {
        return questionWithCancel(text, caption0, caption1, caption2, -1);
    }

    int questionWithCancel(const std::string& text, const std::string& caption0, const std::string& caption1,
                           const std::string& caption2, int cancel) override {
        WkObject* box = NewBox(text, "question.bmp");
        WkObject* buttons = WkCreateHorizontalForm(box);
        const std::string no = MessageText(MsgNo);
        const std::string* captions[] = {&caption0, &caption1, &caption2};
        std::intptr_t closeAnswer = cancel + 1;
        for (int answer = 0; answer < (caption2.empty() ? 2 : 3); ++answer) {
            AddButton(buttons, *captions[answer], answer);
            if (*captions[answer] == no && closeAnswer == 0) closeAnswer = answer + 1;
        }
        WkShellSetCloseCallback(box, EscapeAnswersCancel, reinterpret_cast<void*>(closeAnswer));
        return Run(box);
    }
};

} // namespace

void InstallMessageBoxes(const std::string& title) {
    static WidgetMessageBoxes boxes;
    BoxTitle = title;
    SetMessageBoxSink(&boxes);
}

void RefuseFieldValue(WkObject* field, const std::string& text, const std::string& caption) {
    ShowAlert(text, caption);
    // The box took the focus and the field got it back unselected: taken
    // as by Tab, the field is typed over (a read-only one only shows where).
    if (field) WkObjectSetFocusBy(field, WK_FOCUS_BY_KEY);
}

WkObject* OpenMessageBox() {
    return Box;
}
