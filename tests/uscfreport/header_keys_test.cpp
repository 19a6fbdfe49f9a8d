// The header form by keyboard: Tab, Shift+Tab and Enter visit its fields
// in order, and the event's preset number and dates are typed over.
#include "support/file_bytes.h"
#include "support/report_driver.h"
#include "toolkit/core/event_loop.h"
#include "toolkit/core/native_windows.h"
#include "toolkit/core/shell.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "uscfreport/header_form.h"
#include "uscfreport/report_window.h"
#include "uscfreport/section_list.h"
#include "uscfreport/uscf_exports.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace urt {
namespace {

using HeaderKeysTest = ReportTest;

TEST_F(HeaderKeysTest, TabShiftTabAndEnterVisitTheFieldsAndPresetTextsAreTypedOver) {
    ReportDates = ReportDateTexts{"20260108", "20260112"};
    SectionCount = 2;
    ShowHeaderForm();
    WkFlushEvents();
    std::vector<WkObject*> order(std::begin(HeaderForm.fields), std::end(HeaderForm.fields));
    order.push_back(HeaderForm.cancelButton);
    order.push_back(HeaderForm.doneButton);
    const auto press = [&](std::uint8_t scan, std::uint32_t modifiers) {
        display->holdModifiers(modifiers);
        display->injectKey(plat::KeyInfo{0, scan, false, std::uint8_t(scan == 0x0F ? 9 : 0x0D)});
        WkFlushEvents();
        display->holdModifiers(0);
    };
    struct Case { int from; std::uint8_t scan; std::uint32_t modifiers; std::vector<int> visited; };
    const Case cases[] = {
        {0, 0x0F, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0}}, // round the window
        {12, 0x0F, plat::kShift, {11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}},
        {3, 0x1C, 0, {4, 5, 6}},
    };
    for (const Case& c : cases) {
        WkObjectSetFocus(order[std::size_t(c.from)]);
        std::vector<int> visited;
        for (std::size_t i = 0; i < c.visited.size(); ++i) {
            press(c.scan, c.modifiers);
            WkObject* holder = WkFormGetFocus(HeaderForm.window);
            visited.push_back(int(std::find(order.begin(), order.end(), holder) - order.begin()));
        }
        EXPECT_EQ(visited, c.visited) << c.from;
    }
    // The begin date reached by Tab, the event's number by a click.
    WkObjectSetFocus(HeaderForm.fields[2]);
    press(0x0F, 0);
    Type("20260109");
    Click(HeaderForm.fields[0]);
    Type("7");
    EXPECT_STREQ(WkEditGetText(HeaderForm.fields[3]), "20260109");
    EXPECT_STREQ(WkEditGetText(HeaderForm.fields[0]), "7");
    WkShellDestroy(HeaderForm.window);
    HeaderForm = HeaderFormWidgets();
}

void PressKey(plat::OffscreenDisplay& display, std::uint8_t scan, std::uint8_t character, std::uint32_t modifiers = 0) {
    display.holdModifiers(modifiers);
    display.injectKey(plat::KeyInfo{0, scan, false, character});
    WkFlushEvents();
    display.holdModifiers(0);
}

// The Affiliate ID's 0 stands for none and is typed over however the field
// is reached; the Tournament City's is typed over when Tab reaches it. What
// is typed reaches the export whole. Escape does what Cancel does.
TEST_F(HeaderKeysTest, PresetZerosAreTypedOverAndReachTheExportEscapeCancels) {
    AddFolder(Section("quad", "20260108  20260109  2\r\n"
                              "Quad\tR\tF\tG/60\t1\t2\tR\t1\t2\t20260108\t20260109\tN\tN\t0\t\r\n\r\n"
                              "   1\t12345601\tPLAYER                        \tUS\t1950\tW2\r\n"
                              "   2\t12345602\tPLAYER                        \tUS\t1900\tL1\r\n"));
    const struct {
        bool click;
        const char *affiliate, *city;
    } cases[] = {{true, "777", "Springfield"}, {false, "12345678", "Ames"}, {false, "7", "0"}};
    for (const auto& c : cases) {
        Click(ReportWindow.reportButton);
        ASSERT_NE(HeaderForm.window, nullptr);
        for (const auto& [field, text] : {std::pair{1, "Open"}, {7, "NY"}, {8, "10001"}, {9, "USA"}, {11, "1"}, {12, "2"}})
            WkEditReplaceText(HeaderForm.fields[field], text, 0, 1);
        if (c.click) {
            Click(HeaderForm.fields[5]);
        } else {
            WkObjectSetFocus(HeaderForm.fields[4]);
            PressKey(*display, 0x0F, 9);
        }
        Type(c.affiliate);
        PressKey(*display, 0x0F, 9);
        Type(c.city);
        Click(HeaderForm.doneButton);
        ASSERT_EQ(HeaderForm.window, nullptr) << c.affiliate;
        EXPECT_EQ(ReadFileBytes(folder + "thexport.txt"), "B\t202601090000\tOpen\t1\t20260108\t20260109\t" +
                                                              std::string(c.affiliate) + "\t" + c.city +
                                                              "\tNY\t10001\tUSA\tT\t1\t2\t\r\n")
            << c.affiliate;
    }
    const std::string written = ReadFileBytes(folder + "thexport.txt");
    Click(ReportWindow.reportButton);
    WkEditReplaceText(HeaderForm.fields[1], "Other", 0, 1);
    PressKey(*display, 0x01, 0x1B); // Escape
    EXPECT_EQ(HeaderForm.window, nullptr);
    EXPECT_EQ(ReadFileBytes(folder + "thexport.txt"), written);
}

// A section of two players, 8 to 9 January 2026.
constexpr const char* kQuad = "20260108  20260109  2\r\n"
                              "Quad\tR\tF\tG/60\t1\t2\tR\t1\t2\t20260108\t20260109\tN\tN\t0\t\r\n\r\n"
                              "   1\t12345601\tPLAYER                        \tUS\t1950\tW2\r\n"
                              "   2\t12345602\tPLAYER                        \tUS\t1900\tL1\r\n";

// Every text the form opens with, reached by Tab (Shift+Tab away and back)
// or by a click, is typed over whole.
TEST_F(HeaderKeysTest, EveryPresetIsTypedOverByKeyAndByClick) {
    AddFolder(Section("quad", kQuad));
    const struct {
        const char* field;
        int index;
        const char *preset, *typed;
    } rows[] = {
        {"Event ID", 0, "202601090000", "202601091234"}, {"Begin Date", 3, "20260108", "20260107"},
        {"End Date", 4, "20260109", "20260110"},         {"Affiliate ID", 5, "0", "777"},
        {"Tournament City", 6, "0", "Springfield"},
    };
    for (const auto& row : rows)
        for (bool click : {false, true}) {
            Click(ReportWindow.reportButton);
            WkObject* field = HeaderForm.fields[row.index];
            ASSERT_STREQ(WkEditGetText(field), row.preset) << row.field;
            if (click) {
                Click(field);
            } else {
                WkObjectSetFocus(field);
                PressKey(*display, 0x0F, 9, plat::kShift);
                PressKey(*display, 0x0F, 9);
            }
            ASSERT_EQ(WkFormGetFocus(HeaderForm.window), field) << row.field;
            Type(row.typed);
            EXPECT_STREQ(WkEditGetText(field), row.typed) << row.field << (click ? ", clicked" : ", by Tab");
            Click(HeaderForm.cancelButton);
        }
}

// A refused value is named and takes the focus, its text selected so that
// the user types it over: the affiliate and the directors left at the 0
// that names nobody are refused as an empty field is, and no export is
// written. The form and the box bear their names.
TEST_F(HeaderKeysTest, RefusedValuesAreNamedAndTakeTheFocus) {
    AddFolder(Section("quad", kQuad));
    const char* zero = "\" can't stay 0!\nPlease fill it with the real USCF ID";
    const struct {
        int index;
        const char* text;
        std::string alert;
    } cases[] = {
        {1, "", "There can't be empty fields!\nPlease fill all fields with some value"},
        {0, "2026010900", "\"Event ID\" must hold 12 digits: 2026010900"},
        {3, "20260230", "\"Begin Date\" is not a day of the calendar: 20260230"},
        {4, "20260107", "\"End Date\" lies before \"Begin Date\""},
        {5, "0", "\"Affiliate ID" + std::string(zero)},
        {8, "1000", "\"Zip Code\" must hold 5 or 9 digits: 1000"},
        {11, "000", "\"ID Chief TD" + std::string(zero)},
        {12, "0", "\"ID Assist. TD" + std::string(zero)},
    };
    for (const auto& c : cases) {
        Click(ReportWindow.reportButton);
        for (const auto& [field, text] :
             {std::pair{1, "Open"}, {5, "1"}, {7, "NY"}, {8, "10001"}, {9, "USA"}, {11, "1"}, {12, "2"}})
            WkEditReplaceText(HeaderForm.fields[field], text, 0, 1);
        WkEditReplaceText(HeaderForm.fields[c.index], c.text, 0, 1);
        Answer(c.alert, 0);
        Click(HeaderForm.doneButton);
        ASSERT_NE(HeaderForm.window, nullptr) << c.alert;
        EXPECT_EQ(WkFormGetFocus(HeaderForm.window), HeaderForm.fields[c.index]) << c.alert;
        EXPECT_FALSE(std::filesystem::exists(folder + "thexport.txt")) << c.alert;
        Type("7");
        EXPECT_EQ(WkEditGetText(HeaderForm.fields[c.index]), std::string("7")) << c.alert;
        char title[256];
        WkShellGetTitle(HeaderForm.window, title);
        EXPECT_EQ(title + ("|" + boxTitles.back()), "USCF Tournament Report Generator|Tournament Report");
        Click(HeaderForm.cancelButton);
    }
}

} // namespace
} // namespace urt
