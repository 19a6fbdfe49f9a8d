#include "tourman/dialogs/column_filter.h"

#include "toolkit/core/object.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/shell.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/file_browser.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/push_button.h"
#include "toolkit/widgets/toggle.h"
#include "tournament/files/atomic_file.h"
#include "tournament/files/line_reader.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/run_options.h"

#include <cstdio>
#include <string>

ColumnFilterSlot ColumnFilter[ColumnCount] = {};
int ImportMode = ImportNone;
ColumnFilterDialogWidgets ColumnFilterDialog;

namespace {

constexpr int kFontFixedSmall = 1, kFontHelvSmall = 4, kFontTimesSmall = 6, kFontTimesMedium = 7;
constexpr int kEtchedIn = 3;

// The dialog's rows, top to bottom.
struct DialogRow {
    ColumnSlot slot;
    const char* label;
};
constexpr DialogRow kRows[ColumnCount] = {
    {NameColumn, "Name"},         {RatingColumn, "Rating"},     {TitleColumn, "Title"},
    {KColumn, "K coeff"},         {CountryColumn, "Country"},   {BirthdayColumn, "Birthday"},
    {IdCodeColumn, "ID Code"},
};

void Alert(MessageNumber message) {
    ShowAlert(MessageText(message), MessageText(MsgClose));
}

// The whole file, or false when it cannot be opened or does not hold seven
// lines of two numbers with starts a line can reach. Blank lines are passed
// over; lines after the seventh are not read.
bool ReadFilterFile(const std::string& path, ColumnFilterSlot (&slots)[ColumnCount]) {
    LineReader reader(path);
    if (!reader.ok()) return false;
    std::string line;
    int slot = 0;
    while (slot < ColumnCount && reader.next(line)) {
        const std::vector<std::string> words = Words(line);
        if (words.empty()) continue;
        ColumnFilterSlot s{};
        if (words.size() != 2 || !ParseInt(words[0], s.enabled) || !ParseInt(words[1], s.start)) return false;
        if (s.start < 0 || s.start > MaxColumnStart) return false;
        slots[slot++] = s;
    }
    return slot == ColumnCount;
}

void ShowFilterInDialog() {
    const ColumnFilterDialogWidgets& d = ColumnFilterDialog;
    if (!d.window) return;
    for (int slot = 0; slot < ColumnCount; ++slot) {
        WkToggleSetState(d.toggles[slot], ColumnFilter[slot].enabled != 0);
        WkEditReplaceText(d.starts[slot], std::to_string(ColumnFilter[slot].start).c_str(), 0, 0);
    }
}

// A slot turned off keeps its start, so turning it on again restores it.
void TakeDialogValues() {
    const ColumnFilterDialogWidgets& d = ColumnFilterDialog;
    if (!d.window) return;
    for (int slot = 0; slot < ColumnCount; ++slot) {
        if (!WkToggleGetState(d.toggles[slot])) {
            ColumnFilter[slot].enabled = 0;
            continue;
        }
        int start = 0;
        ParseInt(WkEditGetText(d.starts[slot]), start);
        ColumnFilter[slot] = {1, start};
    }
}

void CloseDialog(WkObject* button, void*, void*) {
    WkShellDestroy(button);
}

void ForgetDialog(WkObject*, WkMessage*, void*, std::uint32_t) {
    ColumnFilterDialog = ColumnFilterDialogWidgets();
}

WkObject* Button(WkObject* parent, MessageNumber message, int font, WkButtonCallback callback, void* data) {
    WkObject* button = WkCreateButton(parent, MessageText(message).c_str(), font);
    WkButtonSetCallback(button, callback, data);
    return button;
}

WkObject* Label(WkObject* parent, const std::string& text, int font) {
    return WkCreateLabel(parent, text.c_str(), font);
}

} // namespace

void LoadColumnFilter(WkObject*, void*, void* useDefault) {
    std::string path = ProgramFolder + DefaultColumnFilterFile;
    if (!useDefault) {
        std::string file, folder;
        if (!WkFileBrowser(MessageText(MsgLoadColumnFilterTitle).c_str(), "*.flt", file, folder, 1)) return;
        path = folder + file;
    }
    ColumnFilterSlot slots[ColumnCount];
    if (!ReadFilterFile(path, slots)) {
        Alert(MsgCannotOpenFile);
        return;
    }
    for (int slot = 0; slot < ColumnCount; ++slot) ColumnFilter[slot] = slots[slot];
    if (!useDefault) ShowFilterInDialog();
}

void SaveColumnFilter(WkObject*, void*, void*) {
    std::string file = "*.flt", folder;
    if (!WkFileBrowser(MessageText(MsgSaveFilter).c_str(), "*.*", file, folder, 1)) return;
    TakeDialogValues();
    AtomicFileWriter writer(folder + file);
    if (writer.ok())
        for (const ColumnFilterSlot& s : ColumnFilter) std::fprintf(writer.stream(), "%d  %d\r\n", s.enabled, s.start);
    if (!writer.ok() || !writer.commit())
        ShowAlert(MessageText(MsgCannotCreateFile) + "\n" + folder + file, MessageText(MsgClose));
}

void OnColumnFilterOk(WkObject* button, void*, void*) {
    TakeDialogValues();
    WkShellDestroy(button);
}

void OpenColumnFilterDialog() {
    if (ImportMode == ImportQuon || ImportMode == ImportFsi) {
        Alert(MsgColumnFiltersNotUsed);
        return;
    }
    WkShellRealize(ColumnFilterDialog.window ? ColumnFilterDialog.window : BuildColumnFilterDialog());
}

void OnColumnFilterItem(WkMenuItem*, int, void*) {
    OpenColumnFilterDialog();
}

WkObject* BuildColumnFilterDialog() {
    ColumnFilterDialogWidgets& d = ColumnFilterDialog;
    d.window =
        WkCreateShell(MessageText(MsgColumnFilter).c_str(),
                      WK_SHELL_DIALOG | WK_SHELL_NO_CLOSE | WK_SHELL_NO_MAXIMISE | WK_SHELL_NO_MINIMISE);
    WkObjectSetBackgroundRGB(d.window, 197, 197, 144);
    WkObjectAddDestroyHandler(d.window, ForgetDialog, nullptr);

    WkObject* form = WkCreateVerticalForm(d.window);
    WkObjectSetBackgroundRGB(form, 197, 197, 144);
    WkObjectSetSize(form, 280, 320);
    WkObjectSetShadow(form, 0, 0, 0);
    Label(form, MessageText(MsgRatingListColumns), kFontTimesSmall);

    WkObject* table = WkCreateTableForm(form, 3);
    for (int message : {MsgField, MsgStart, MsgWidth})
        WkObjectSetShadow(Label(table, MessageText(message), kFontHelvSmall), kEtchedIn, 1, 1);
    for (const DialogRow& row : kRows) {
        const ColumnFilterSlot& s = ColumnFilter[row.slot];
        d.toggles[row.slot] = WkCreateToggle(table, row.label, kFontHelvSmall);
        if (s.enabled) WkToggleSetOn(d.toggles[row.slot]);
        d.starts[row.slot] = WkCreateEdit(table, std::to_string(s.start).c_str(), 2, kFontFixedSmall);
        WkEditSetFilter(d.starts[row.slot], WK_FILTER_DIGITS, nullptr);
        Label(table, std::to_string(ColumnWidth[row.slot]), kFontHelvSmall);
    }

    WkObject* files = WkCreateHorizontalForm(form);
    WkObjectSetBackgroundRGB(files, 199, 196, 175);
    WkObjectSetShadow(files, 0, 0, 0);
    WkObjectSetTransparent(files);
    WkObjectSetSize(Button(files, MsgLoadFilter, kFontTimesSmall, LoadColumnFilter, nullptr), 100, 30);
    WkObjectSetSize(Button(files, MsgSaveFilter, kFontTimesSmall, SaveColumnFilter, nullptr), 100, 30);

    WkObject* answers = WkCreateHorizontalForm(form);
    WkObjectSetBackgroundRGB(answers, 160, 144, 80);
    Button(answers, MsgClose, kFontTimesMedium, CloseDialog, nullptr);
    Button(answers, MsgOk, kFontTimesMedium, OnColumnFilterOk, nullptr);
    return d.window;
}
