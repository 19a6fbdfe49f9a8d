#include "toolkit/widgets/message_dialog.h"

#include "toolkit/core/colors.h"
#include "toolkit/core/event_loop.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/window_system.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/push_button.h"

#include <cstdarg>
#include <string>
#include <vector>

namespace {

struct Rgb {
    int red, green, blue;
};

Rgb background{112, 112, 80};
Rgb textColor{255, 255, 255};
WkFontSlot labelFont = 5;
WkFontSlot buttonFont = 7;

// What a button stores when pressed: its 1-based number in its own call's
// result.
struct Choice {
    int* result;
    int number;
};

void Chosen(WkObject*, void*, void* userData) {
    auto* choice = static_cast<Choice*>(userData);
    *choice->result = choice->number;
}

// Escape and the window system's close request (Alt+F4, or the close box
// a window manager draws though the window asks for none) answer as the
// first button does: the callers put the answer that declines or closes
// first.
int PressFirst(WkObject*, std::intptr_t, void* result, WkMessage*) {
    *static_cast<int*>(result) = 1;
    return 1;
}

// Every part between the bars, the last one included (an empty text is one
// empty part). Texts of any length are taken whole.
std::vector<std::string> Split(const char* text) {
    std::vector<std::string> parts(1);
    for (const char* p = text ? text : ""; *p; ++p) {
        if (*p == '|') parts.emplace_back();
        else parts.back() += *p;
    }
    return parts;
}

int Run(const char* title, const char* text, const std::string& captions) {
    const std::vector<std::string> lines = Split(text), names = Split(captions.c_str());
    const WkColor back = WkAllocColor(background.red, background.green, background.blue);
    const WkColor fore = WkAllocColor(textColor.red, textColor.green, textColor.blue);
    int result = 0;
    std::vector<Choice> choices(names.size());

    WkObject* shell = WkCreateShell(title ? title : "", WK_SHELL_NO_CLOSE | WK_SHELL_DIALOG | WK_SHELL_BACKSTORE);
    WkObjectSetColors(shell, back, WkBlackColor());
    for (const std::string& line : lines) {
        // A long line (a path, as a rule) is broken to keep the box within
        // the screen.
        WkObject* label = WkCreateLabel(shell, line.c_str(), labelFont);
        WkLabelSetWrapWidth(label, WkScreenWidth() - 40);
        WkObjectSetColors(label, back, fore);
    }
    WkObject* row = WkCreateHorizontalForm(shell);
    for (std::size_t i = 0; i < names.size(); ++i) {
        WkObject* button = WkCreateButton(row, names[i].c_str(), buttonFont);
        WkObjectSetResizable(button, 1, 1);
        choices[i] = Choice{&result, static_cast<int>(i) + 1};
        WkButtonSetCallback(button, Chosen, &choices[i]);
    }
    WkShellSetCloseCallback(shell, PressFirst, &result);
    WkShellRealize(shell);
    WkLoopWhile(&result, 0);

    WkFreeColor(back);
    WkFreeColor(fore);
    WkShellHide(shell);
    WkShellDestroy(shell);
    // A quit ends the loop without a button: the first answer stands in,
    // never a number below 0.
    return result > 0 ? result - 1 : 0;
}

std::string Join(const char* first, const char* second, const char* const* further, std::va_list* more) {
    std::string captions = first ? first : "";
    if (!second) return captions;
    captions += '|';
    captions += second;
    if (further)
        for (; *further; ++further) captions.append("|").append(*further);
    if (more)
        while (const char* next = va_arg(*more, const char*)) captions.append("|").append(next);
    return captions;
}

} // namespace

int WkRunMessageDialog(const char* title, const char* text, const char* captions) {
    return Run(title, text, captions ? captions : "");
}

int WkMessageDialog(const char* title, const char* text, const char* first, const char* second, ...) {
    std::va_list more;
    va_start(more, second);
    const std::string captions = Join(first, second, nullptr, &more);
    va_end(more);
    return Run(title, text, captions);
}

int WkMessageDialogArray(const char* title, const char* text, const char* first, const char* second,
                         const char* const* further) {
    return Run(title, text, Join(first, second, further, nullptr));
}

void WkMessageDialogSetBackground(int red, int green, int blue) { background = Rgb{red, green, blue}; }
void WkMessageDialogGetBackground(int* red, int* green, int* blue) {
    *red = background.red, *green = background.green, *blue = background.blue;
}
void WkMessageDialogSetTextColor(int red, int green, int blue) { textColor = Rgb{red, green, blue}; }
void WkMessageDialogGetTextColor(int* red, int* green, int* blue) {
    *red = textColor.red, *green = textColor.green, *blue = textColor.blue;
}
void WkMessageDialogSetFonts(WkFontSlot label, WkFontSlot button) { labelFont = label, buttonFont = button; }
void WkMessageDialogGetFonts(WkFontSlot* label, WkFontSlot* button) { *label = labelFont, *button = buttonFont; }
