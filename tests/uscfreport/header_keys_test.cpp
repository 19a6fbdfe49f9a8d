// The header form by keyboard: Tab, Shift+Tab and Enter visit its fields
// in order, and the event's preset number and dates are typed over.
#include "support/report_driver.h"
#include "toolkit/core/event_loop.h"
#include "toolkit/core/shell.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "uscfreport/header_form.h"
#include "uscfreport/section_list.h"
#include "uscfreport/uscf_exports.h"

#include <algorithm>
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

} // namespace
} // namespace urt
