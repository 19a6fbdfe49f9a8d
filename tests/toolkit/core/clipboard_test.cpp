#include "toolkit/core/clipboard.h"

#include "test_form.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class Clipboard : public testform::ToolkitTest {
protected:
    void SetUp() override {
        testform::ToolkitTest::SetUp();
        window = display->createWindow(plat::WindowParams());
        ASSERT_NE(window, 0u);
    }
    void TearDown() override {
        WkSetClipboardText(0, nullptr, 0);
        testform::ToolkitTest::TearDown();
    }
    plat::WindowId window = 0;
};

TEST_F(Clipboard, OtherProgramsSeeCrLfTheToolkitItsOwnText) {
    const char text[] = "line one\nline two\n";
    WkSetClipboardText(window, text, static_cast<int>(std::strlen(text)));
    EXPECT_EQ(WkOwnsClipboard(), 1);
    std::string seen;
    ASSERT_TRUE(display->clipboardText(seen));
    EXPECT_EQ(seen, "line one\r\nline two\r\n");
    const char* back = WkGetClipboardText(window);
    ASSERT_NE(back, nullptr);
    EXPECT_STREQ(back, text);
    EXPECT_EQ(display->beepCount(), 0);
}

TEST_F(Clipboard, LengthCountsNotTheTerminatorAndBytesStayWindows1252) {
    const char text[] = "a\xBD\nbc";
    WkSetClipboardText(window, text, 4);
    std::string seen;
    ASSERT_TRUE(display->clipboardText(seen));
    EXPECT_EQ(seen, "a\xBD\r\nb");
    EXPECT_STREQ(WkGetClipboardText(window), "a\xBD\nb");
}

TEST_F(Clipboard, TextOfAnotherProgramLosesItsCarriageReturns) {
    WkSetClipboardText(window, "mine", 4);
    display->injectClipboardFromOtherProgram("x\r\ny\r\n\r\nz");
    // Even before the loss reaches the window procedure the other text counts.
    const char* back = WkGetClipboardText(window);
    ASSERT_NE(back, nullptr);
    EXPECT_STREQ(back, "x\ny\n\nz");
    EXPECT_EQ(WkOwnsClipboard(), 0);
}

TEST_F(Clipboard, NoTextBeepsAndGivesNull) {
    EXPECT_EQ(WkGetClipboardText(window), nullptr);
    EXPECT_EQ(display->beepCount(), 1);
    // A window that does not exist cannot take the clipboard.
    WkSetClipboardText(window + 100, "x", 1);
    EXPECT_EQ(display->beepCount(), 2);
    EXPECT_EQ(WkOwnsClipboard(), 0);
    EXPECT_EQ(WkGetClipboardText(window), nullptr);
}

TEST_F(Clipboard, ANullWindowDropsOwnershipOnly) {
    WkSetClipboardText(window, "kept", 4);
    WkSetClipboardText(0, nullptr, 0);
    EXPECT_EQ(WkOwnsClipboard(), 0);
    // The clipboard itself still holds the text; it is read afresh.
    EXPECT_STREQ(WkGetClipboardText(window), "kept");
}

} // namespace
