#include "message_boxes/message_boxes.h"

#include "toolkit/core/draw.h"
#include "toolkit/core/event_loop.h"
#include "toolkit/core/shell.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/picture.h"
#include "toolkit/widgets/push_button.h"

#include <cstdint>

namespace {

// The answer of the box open now: kOpen until one of its buttons is pressed.
constexpr int kOpen = 4;
constexpr WkFontSlot kTextFont = 5;
constexpr WkFontSlot kButtonFont = 7;
int BoxAnswer = 0;
WkObject* Box = nullptr;

void OnQuestionButton(WkObject* button, void*, void* data) {
    BoxAnswer = int(reinterpret_cast<std::intptr_t>(data));
    Box = nullptr;
    WkShellDestroy(button);
}

int PressAlertButton(WkObject*, std::intptr_t, void* button, WkMessage*) {
    OnQuestionButton(static_cast<WkObject*>(button), nullptr, nullptr);
    return 1;
}

int RefuseClose(WkObject*, std::intptr_t, void*, WkMessage*) {
    WkBeep();
    return 1;
}

WkObject* AddButton(WkObject* parent, const std::string& caption, int answer) {
    WkObject* button = WkCreateButton(parent, caption.c_str(), kButtonFont);
    WkButtonSetCallback(button, OnQuestionButton, reinterpret_cast<void*>(std::intptr_t(answer)));
    return button;
}

// The window and its first row: the picture and the text.
WkObject* NewBox(const std::string& text, const char* picture) {
    WkObject* box = WkCreateShell("", WK_SHELL_DIALOG | WK_SHELL_NO_CLOSE);
    WkObject* row = WkCreateHorizontalForm(box);
    WkCreatePicture(row, picture);
    WkCreateLabel(row, text.c_str(), kTextFont);
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
        WkObject* button = AddButton(box, caption, 0);
        WkShellSetCloseCallback(box, PressAlertButton, button);
        Run(box);
    }

    int question(const std::string& text, const std::string& caption0, const std::string& caption1,
                 const std::string& caption2) override {
        WkObject* box = NewBox(text, "question.bmp");
        WkObject* buttons = WkCreateHorizontalForm(box);
        AddButton(buttons, caption0, 0);
        AddButton(buttons, caption1, 1);
        if (!caption2.empty()) AddButton(buttons, caption2, 2);
        WkShellSetCloseCallback(box, RefuseClose, nullptr);
        return Run(box);
    }
};

} // namespace

void InstallMessageBoxes() {
    static WidgetMessageBoxes boxes;
    SetMessageBoxSink(&boxes);
}

WkObject* OpenMessageBox() {
    return Box;
}
