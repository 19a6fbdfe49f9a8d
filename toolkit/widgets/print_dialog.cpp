#include "toolkit/widgets/print_dialog.h"

#include "toolkit/core/draw.h"
#include "toolkit/core/event_loop.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/window_system.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/push_button.h"
#include "toolkit/widgets/toggle.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr WkFontSlot kTextFont = 4;
constexpr WkFontSlot kFieldFont = 0;
constexpr WkFontSlot kButtonFont = 7;

enum Answer { kWaiting, kOk, kCancel };

// Toggles of which exactly one is on: turning one on turns the others off,
// turning the one that is on off turns it back on.
// Setting a toggle tells its callback, so the group ignores what it does
// itself.
struct Radio {
    std::vector<WkObject*> toggles;
    int chosen = 0;
    bool setting = false;
};

void RadioChanged(WkObject* toggle, int, void* data) {
    auto* radio = static_cast<Radio*>(data);
    if (radio->setting) return;
    radio->setting = true;
    for (std::size_t i = 0; i < radio->toggles.size(); ++i) {
        if (radio->toggles[i] == toggle) radio->chosen = int(i);
        WkToggleSetState(radio->toggles[i], radio->toggles[i] == toggle);
    }
    radio->setting = false;
}

void AddToRadio(Radio& radio, WkObject* parent, const char* caption, bool on) {
    WkObject* toggle = WkCreateToggle(parent, caption, kTextFont);
    if (on) {
        WkToggleSetOn(toggle);
        radio.chosen = int(radio.toggles.size());
    }
    radio.toggles.push_back(toggle);
    WkToggleSetCallback(toggle, RadioChanged, &radio);
}

WkObject* Field(WkObject* row, const char* caption, const std::string& text, int length, int visible) {
    WkCreateLabel(row, caption, kTextFont);
    return WkCreateEditWithWidth(row, text.c_str(), length, visible, kFieldFont);
}

struct Dialog {
    int answer = kWaiting;
    Radio where, orientation;
    WkObject* file = nullptr;
    WkObject* from = nullptr;
    WkObject* to = nullptr;
    WkPageRange* range = nullptr;
};

// A whole number from first to last, or 0.
int Page(WkObject* field, int first, int last) {
    const char* text = WkEditGetText(field);
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (end == text || *end || value < first || value > last) return 0;
    return int(value);
}

void Confirm(WkObject*, void*, void* data) {
    auto* dialog = static_cast<Dialog*>(data);
    if (dialog->range) {
        // Pages outside the range, or from after to, keep the dialog open.
        int from = Page(dialog->from, dialog->range->lowest, dialog->range->highest);
        int to = Page(dialog->to, from, dialog->range->highest);
        if (!from || !to) {
            WkBeep();
            return;
        }
    }
    dialog->answer = kOk;
}

void Cancel(WkObject*, void*, void* data) { static_cast<Dialog*>(data)->answer = kCancel; }

// Escape and the window system's close request (Alt+F4, a close box a
// window manager draws though the dialog asks for none) do what Cancel does.
int CancelOnClose(WkObject*, std::intptr_t, void* data, WkMessage*) {
    static_cast<Dialog*>(data)->answer = kCancel;
    return 1;
}

int AsHook(WkPrintChoice* choice, WkPageRange* range) { return WkRunPrintDialog(choice, range); }

} // namespace

void WkInstallPrintDialog() { WkSetPrintDialogHook(AsHook); }

int WkRunPrintDialog(WkPrintChoice* choice, WkPageRange* range) {
    if (!WkWindowSystemRunning()) return -1;
    const std::vector<std::string> printers = WkListPrinters();
    Dialog dialog;
    dialog.range = range;

    WkObject* shell = WkCreateShell("Print", WK_SHELL_NO_CLOSE | WK_SHELL_DIALOG);
    WkShellSetCloseCallback(shell, CancelOnClose, &dialog);
    WkCreateLabel(shell, "Printer:", kTextFont);
    WkObject* list = WkCreateVerticalForm(shell);
    bool listed = false;
    for (const std::string& name : printers) listed |= !choice->toFile && name == choice->printer;
    AddToRadio(dialog.where, list, "Default printer", !choice->toFile && !listed);
    for (const std::string& name : printers)
        AddToRadio(dialog.where, list, name.c_str(), !choice->toFile && name == choice->printer);
    AddToRadio(dialog.where, list, "PDF file", choice->toFile);
    dialog.file = Field(WkCreateHorizontalForm(shell), "File name:", choice->file, 255, 30);

    WkCreateLabel(shell, "Orientation:", kTextFont);
    WkObject* sides = WkCreateHorizontalForm(shell);
    AddToRadio(dialog.orientation, sides, "Portrait", choice->orientation != 2);
    AddToRadio(dialog.orientation, sides, "Landscape", choice->orientation == 2);

    if (range) {
        WkObject* pages = WkCreateHorizontalForm(shell);
        dialog.from = Field(pages, "From page:", std::to_string(range->first), 6, 6);
        dialog.to = Field(pages, "To page:", std::to_string(range->last), 6, 6);
        // The whole document's pages, typed over by the ones wanted.
        WkEditSetPreset(dialog.from, 1);
        WkEditSetPreset(dialog.to, 1);
    }

    WkObject* buttons = WkCreateHorizontalForm(shell);
    WkButtonSetCallback(WkCreateButton(buttons, "OK", kButtonFont), Confirm, &dialog);
    WkButtonSetCallback(WkCreateButton(buttons, "Cancel", kButtonFont), Cancel, &dialog);
    WkShellRealize(shell);
    WkLoopWhile(&dialog.answer, kWaiting);

    if (dialog.answer == kOk) {
        const int where = dialog.where.chosen, last = int(dialog.where.toggles.size()) - 1;
        choice->toFile = where == last;
        choice->printer = where > 0 && where < last ? printers[std::size_t(where - 1)] : std::string();
        choice->file = choice->toFile ? WkEditGetText(dialog.file) : choice->file;
        choice->orientation = dialog.orientation.chosen == 1 ? 2 : 1;
        if (range) {
            range->lowest = Page(dialog.from, range->lowest, range->highest);
            range->highest = Page(dialog.to, range->lowest, range->highest);
        }
    }
    WkShellHide(shell);
    WkShellDestroy(shell);
    // A quit ends the loop without an answer: nothing is printed.
    return dialog.answer == kOk ? 1 : 0;
}
