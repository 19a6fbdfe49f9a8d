#include "toolkit/widgets/label.h"

#include "toolkit/core/fonts.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/object_attrs.h"
#include "input_fixture.h"


namespace {

class LabelTest : public wt::InputTest {};

TEST_F(LabelTest, PreferredSizeCountsLinesMarginsSpacingAndFrame) {
    const WkFontSlot font = WkAddFont("Arial", 16, 0, 0);
    ASSERT_EQ(WkFontHeight("A", font), 16);
    WkObject* shell = Window();
    const int bc = WkTextWidth("bc", font);
    struct Case {
        const char* text;
        int frame, width, height;
    } cases[] = {
        {"", 0, 6, 20},
        {"a\nbc", 0, bc + 6, 2 * 16 + 2 + 4},
        {"a\nbc\n", 0, bc + 6, 3 * 16 + 2 * 2 + 4},
        {"bc", 2 + 1, bc + 6 + 6, 16 + 4 + 6},
    };
    for (const Case& c : cases) {
        WkObject* label = WkCreateLabel(shell, c.text, font);
        if (c.frame) WkObjectSetShadow(label, WK_SHADOW_ETCHED_IN, 2, 1);
        WkObjectQuerySize(label);
        EXPECT_EQ(label->width, c.width) << c.text;
        EXPECT_EQ(label->height, c.height) << c.text;
    }
}

TEST_F(LabelTest, ALongerTextKeepsTheSizeAndTextsRoundTrip) {
    WkObject* shell = Window();
    WkObject* label = WkCreateLabel(shell, "short", 0);
    Show(shell);
    const int width = label->width, height = label->height;
    WkObjectSetText(label, "a much longer text\nover two lines");
    EXPECT_EQ(label->width, width);
    EXPECT_EQ(label->height, height);
    EXPECT_EQ(static_cast<WkLabelData*>(label->classRecord)->lines, 2);
    EXPECT_STREQ(WkLabelGetText(label), "a much longer text\nover two lines");
    char buffer[8];
    EXPECT_STREQ(WkObjectGetText(label, buffer, sizeof buffer), "a much ");
    char* copy = WkObjectGetText(label, nullptr, 0);
    EXPECT_STREQ(copy, "a much longer text\nover two lines");
    WkFree(copy);
}

} // namespace
