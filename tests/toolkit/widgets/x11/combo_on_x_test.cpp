// A drop-down's popup opened on a real X server: the server shows it right
// under the field, and a click outside it sent to the server closes it.
#include "toolkit/core/grab.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/shell.h"
#include "toolkit/platform/x11_display.h"
#include "support/x_probe.h"
#include "toolkit/widgets/combo_box.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/x11/on_x.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <memory>
#include <string>

namespace {

class ComboOnX : public wx::OnX {
protected:
    // Where the server has the window: its X and Y.
    static void Geometry(plat::X11Display& x, WkObject* object, int* left, int* top) {
        const std::string shell = xprobe::Run("xdotool getwindowgeometry --shell " +
                                              std::to_string(x.xWindow(WkObjectGetNativeWindow(object))));
        *left = std::atoi(shell.substr(shell.find("X=") + 2).c_str());
        *top = std::atoi(shell.substr(shell.find("Y=") + 2).c_str());
    }
};

TEST_F(ComboOnX, ThePopupLiesUnderTheFieldAndAClickOutsideClosesIt) {
    OpenServer();
    ASSERT_TRUE(x);
    Start(x.get(), "xcombo");
    WkObject* shell = WkCreateShell("Combo", 0);
    WkObject* combo = WkCreateComboBox(shell, "one", 20, 12, 4, 0);
    for (const char* item : {"one", "two", "three"}) WkListAddItem(WkComboBoxGetList(combo), item, 0);
    WkShellRealizeWithGeometry(shell, 100, 100, WK_KEEP, WK_KEEP);
    Pump(true);
    WkEditOpenPopup(combo);
    Pump(true);

    WkObject* popup = WkEditRecord(combo)->popup;
    int windowX, windowY, popupX, popupY, formX, formY;
    Geometry(*x, shell, &windowX, &windowY);
    Geometry(*x, popup, &popupX, &popupY);
    WkObjectGetAbsolutePosition(combo->outer, &formX, &formY);
    EXPECT_EQ(popupX, windowX + formX);
    EXPECT_EQ(popupY, windowY + formY + combo->outer->height);

    const std::string corner = std::to_string(x->screenWidth() - 2) + " " + std::to_string(x->screenHeight() - 2);
    EXPECT_EQ(RunBeside("xdotool mousemove " + corner + " click 1"), "");
    EXPECT_FALSE(WkObjectDrawable(popup));
    EXPECT_EQ(WkGetGrab(), nullptr);
    EXPECT_STREQ(WkEditGetText(combo), "one");
    WkShellDestroy(shell);
    Shutdown();
}

} // namespace
