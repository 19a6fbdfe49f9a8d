#include "uscfreport/header_form.h"

#include "message_boxes/message_boxes.h"
#include "toolkit/core/letters.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/startup.h"
#include "toolkit/widgets/combo_box.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/push_button.h"
#include "toolkit/widgets/tooltip.h"
#include "tournament/calendar_date.h"
#include "tournament/message_box.h"
#include "uscfreport/section_list.h"
#include "uscfreport/uscf_exports.h"

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

HeaderFormWidgets HeaderForm;

namespace {

constexpr WkFontSlot kFontFixedMedium = 2, kFontHelvMedium = 5, kFontTimesMedium = 7, kFontHelvLarge = 8;
constexpr int kEtchedIn = 3;
constexpr int kEventIdField = 0, kBeginDateField = 3, kEndDateField = 4, kAffiliateField = 5, kStateField = 7,
              kZipField = 8, kCrosstableField = 10, kChiefTdField = 11, kAssistantTdField = 12;
constexpr const char* kEmptyFieldText = "There can't be empty fields!\nPlease fill all fields with some value";

struct FieldSpec {
    const char* label;
    int length;
    int filter; // 0: every character
    bool readOnly;
    bool noTabs; // free text that goes into a tab-separated record
};

constexpr FieldSpec kFields[kHeaderFields] = {
    {"Event ID", 12, WK_FILTER_DIGITS, false, false},
    {"Event Name", 35, 0, false, true},
    {"Number of Sections", 2, WK_FILTER_DIGITS, true, false},
    {"Begin Date", 8, WK_FILTER_DIGITS, false, false},
    {"End Date", 8, WK_FILTER_DIGITS, false, false},
    {"Affiliate ID", 8, WK_FILTER_DIGITS, false, false},
    {"Tournament City", 21, 0, false, true},
    {"State Abbreviation", 2, WK_FILTER_LETTERS, false, false},
    {"Zip Code", 10, WK_FILTER_DIGITS, false, false},
    {"Country for Event", 21, 0, false, true},
    {"Whom to send crosstable", 1, 0, true, false},
    {"ID Chief TD", 8, WK_FILTER_DIGITS, false, false},
    {"ID Assist. TD", 8, WK_FILTER_DIGITS, false, false},
};

// The fields whose filter and length let through texts USCF cannot use: its
// event number has 12 digits, a state two letters, a zip code 5 or 9 digits.
struct FieldShape {
    int field;
    bool letters; // else digits
    std::size_t length, otherLength;
    const char* spelled;
};

constexpr FieldShape kShapes[] = {
    {kEventIdField, false, 12, 12, "12 digits"},
    {kStateField, true, 2, 2, "2 letters"},
    {kZipField, false, 5, 9, "5 or 9 digits"},
};

// The refusal of field's text when it has another shape, "" otherwise.
std::string ShapeRefusal(const FieldShape& shape, const std::string& text) {
    bool good = text.size() == shape.length || text.size() == shape.otherLength;
    for (unsigned char c : text)
        good = good && (shape.letters ? std::isalpha(c) : std::isdigit(c)) && c < 0x80;
    if (good) return "";
    return std::string("\"") + kFields[shape.field].label + "\" must hold " + shape.spelled + ": " + text;
}

// USCF knows the affiliate and the directors by their ids: the 0 the form
// opens with, or any number of zeros, names nobody.
bool NoId(int field, const std::string& text) {
    return (field == kAffiliateField || field == kChiefTdField || field == kAssistantTdField) &&
           text.find_first_not_of('0') == std::string::npos;
}

// The first refusal of the fields' texts, "" when USCF can use them all;
// refused is the field it names.
std::string FieldsRefusal(const std::vector<std::string>& fields, int& refused) {
    for (int i = 0; i < kHeaderFields; ++i) {
        refused = i;
        if (fields[std::size_t(i)].empty()) return kEmptyFieldText;
        if (NoId(i, fields[std::size_t(i)]))
            return std::string("\"") + kFields[i].label + "\" can't stay 0!\nPlease fill it with the real USCF ID";
    }
    refused = kEventIdField;
    std::string refusal = ShapeRefusal(kShapes[0], fields[kEventIdField]);
    if (refusal.empty()) {
        refusal = DateFieldsRefusal(kFields[kBeginDateField].label, fields[kBeginDateField],
                                    kFields[kEndDateField].label, fields[kEndDateField], DateForm::UscfForm);
        refused = RefusesBeginDate(refusal, kFields[kBeginDateField].label) ? kBeginDateField : kEndDateField;
    }
    for (std::size_t i = 1; i < std::size(kShapes) && refusal.empty(); ++i) {
        refused = kShapes[i].field;
        refusal = ShapeRefusal(kShapes[i], fields[std::size_t(kShapes[i].field)]);
    }
    return refusal;
}

// A tab would split the field into two in the tab-separated header record.
void RefuseTabs(WkObject*, WkEditChange* change, void*) {
    if (change->newText && std::memchr(change->newText, '\t', std::size_t(change->insertCount))) change->accept = 0;
}

void CloseForm() {
    WkObject* window = HeaderForm.window;
    HeaderForm = HeaderFormWidgets();
    if (window) WkShellDestroy(window);
}

// The close box and Escape do what Cancel does.
int CancelOnClose(WkObject*, std::intptr_t, void*, WkMessage*) {
    CloseForm();
    return 1;
}

// One table row of labels and the row of their fields below it.
void FieldRows(WkObject* parent, int first, int last, const std::string initial[]) {
    WkObject* table = WkCreateTableForm(parent, last - first + 1);
    for (int i = first; i <= last; ++i) WkCreateLabel(table, kFields[i].label, kFontHelvMedium);
    for (int i = first; i <= last; ++i) {
        const FieldSpec& spec = kFields[i];
        WkObject* field;
        if (i == kCrosstableField) {
            field = WkCreateComboBox(table, initial[i].c_str(), spec.length, 1, 3, kFontFixedMedium);
            for (const char* choice : {"T", "A", "N"}) WkListAddItem(WkComboBoxGetList(field), choice, 0);
            WkObjectSetShadow(field, kEtchedIn, 2, 1);
            WkObjectSetResizable(field, 0, 0);
            WkObjectSetTooltip(field, "T tournament director\nA affiliate\nN do not send cross tables", 0, 10000);
        } else {
            field = WkCreateEdit(table, initial[i].c_str(), spec.length, kFontFixedMedium);
            if (spec.filter) WkEditSetFilter(field, spec.filter, nullptr);
            if (spec.noTabs) WkEditSetVerifyCallback(field, RefuseTabs, nullptr);
        }
        if (spec.readOnly) WkEditSetReadOnly(field);
        // Every text the form opens with is a proposal (the event's number
        // and dates) or a 0 that stands for none: typed over, clicked into or
        // not.
        else if (!initial[i].empty())
            WkEditSetPreset(field, 1);
        HeaderForm.fields[i] = field;
    }
}

WkObject* FormButton(WkObject* parent, const char* caption, WkButtonCallback callback) {
    WkObject* button = WkCreateButton(parent, caption, kFontTimesMedium);
    WkObjectSetShadow(button, kEtchedIn, 2, 1);
    WkObjectSetWidth(button, 130);
    WkObjectSetHeight(button, 35);
    WkButtonSetCallback(button, callback, nullptr);
    return button;
}

// Every listed section file, read whole; false after the alert.
bool ReadSections(std::vector<SectionFile>& sections) {
    sections.assign(std::size_t(SectionCount), SectionFile());
    for (int k = 1; k <= SectionCount; ++k) {
        std::string error;
        if (!ReadSectionFile(SectionTable[k], sections[std::size_t(k - 1)], error,
                             "I can't read the Section file")) {
            ShowAlert(error, "Close");
            return false;
        }
    }
    return true;
}

} // namespace

void DoUscfReport(WkObject*, void*, void*) {
    ReportDates = ReportDateTexts();
    FillSectionTable();
    if (SectionCount <= 0) {
        ShowAlert("Please select at least one section!", "Close");
        return;
    }
    for (int k = 1; k <= SectionCount; ++k) {
        SectionFile section;
        std::string error;
        // Read whole, so that a bad line is named before the form is filled in.
        if (!ReadSectionFile(SectionTable[k], section, error, "I can't read the file")) {
            ShowAlert(error, "Close");
            return;
        }
        MergeReportDates(ReportDates, section);
    }
    ShowHeaderForm();
}

void ShowHeaderForm() {
    const std::string initial[kHeaderFields] = {
        ReportDates.latestEnd + "0000", "", std::to_string(SectionCount), ReportDates.earliestBegin,
        ReportDates.latestEnd, "0", "0", "", "", "", "T", "", ""};
    WkObject* window = HeaderForm.window = WkCreateShell(HeaderFormTitle, 0xdc4);
    WkShellSetCloseCallback(window, CancelOnClose, nullptr);
    WkFormSetSpacing(WkFormOf(window), 2);
    WkObjectSetWidth(window, 737);
    WkObjectSetHeight(window, 314);
    WkObject* column = WkCreateVerticalForm(window);
    WkFormSetSpacing(column, 5);
    WkObjectSetShadow(column, 0, 0, 0);
    WkObjectSetResizable(column, 0, 0);
    WkObjectSetWidth(column, 773);
    WkObjectSetHeight(column, 308);
    WkCreateLabel(column, HeaderFormTitle, kFontHelvLarge);
    FieldRows(column, 0, 2, initial);
    FieldRows(column, 3, 7, initial);
    FieldRows(column, 8, 12, initial);
    WkObject* buttons = WkCreateHorizontalForm(column);
    WkObjectSetShadow(buttons, 0, 0, 0);
    HeaderForm.cancelButton = FormButton(buttons, "Cancel", CancelHeaderForm);
    HeaderForm.doneButton = FormButton(buttons, "Done", WriteUscfExports);
    WkShellRealize(window);
}

void WriteUscfExports(WkObject*, void*, void*) {
    std::vector<std::string> fields;
    for (WkObject* field : HeaderForm.fields) {
        const char* text = WkEditGetText(field);
        fields.push_back(text ? text : "");
    }
    int refused = 0;
    const std::string refusal = FieldsRefusal(fields, refused);
    // The user goes on where the value is to be mended, typing it over.
    if (!refusal.empty()) return RefuseFieldValue(HeaderForm.fields[refused], refusal, "Close");
    // USCF knows its states by capitals.
    WkUpperText(fields[kStateField].data());
    std::vector<SectionFile> sections;
    if (!ReadSections(sections)) return;
    std::string error;
    const std::string told = RecoverExports(WkGetCurrentDir());
    if (!told.empty()) ShowAlert(told, "Close");
    if (!WriteExportFiles(WkGetCurrentDir(), fields, sections, error)) {
        ShowAlert(error, "Close");
        return;
    }
    CloseForm();
}

void CancelHeaderForm(WkObject*, void*, void*) {
    CloseForm();
}
