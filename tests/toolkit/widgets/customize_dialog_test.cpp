// The customise dialog opened by Shift+Ctrl clicks and worked through its
// bars, buttons and spin arrows; what Save writes is read by a new start.
#include "input_fixture.h"

#include "toolkit/core/grab.h"
#include "toolkit/core/image_path.h"
#include "toolkit/core/native_windows.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_config.h"
#include "toolkit/widgets/customize_dialog.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/scroll_bar.h"

namespace wt {
namespace {

const std::string kPictures = std::string(TM_TEST_SOURCE_DIR) + "/../toolkit/data";

class CustomizeDialog : public InputTest {
protected:
    void SetUp() override {
        InputTest::SetUp();
        WkPushImagePath(kPictures.c_str());
        WkEnableCustomize();
        Build();
    }
    void TearDown() override {
        WkSetCustomizeHook(nullptr);
        WkPopImagePath(kPictures.c_str());
        InputTest::TearDown();
    }
    // A window holding a configured, named form with a plain child, and a
    // plain object beside the form.
    void Build() {
        main = Window();
        panel = WkCreateVerticalForm(main);
        WkObjectSetBackgroundRGB(panel, 200, 180, 160);
        WkObjectConfigure(panel, "Panel", WK_CONFIG_BACKGROUND | WK_CONFIG_SHADOW);
        child = MakeLeaf(panel, 60, 30);
        loose = MakeLeaf(main, 60, 30);
        Show(main);
    }
    void Click(WkObject* o, std::uint32_t modifiers = 0) {
        display->holdModifiers(modifiers);
        Move(o, o->width / 2, o->height / 2, 1);
        Move(o, o->width / 2, o->height / 2, 0);
        display->holdModifiers(0);
    }
    // Every object of the dialog, all pages, depth first.
    static void Collect(WkObject* o, std::vector<WkObject*>& all) {
        all.push_back(o);
        if (WkFormData* f = WkFormRecord(o))
            for (int p = 0; p < f->pageCount; ++p)
                for (int i = 0; i < f->pages[p].count; ++i) Collect(f->pages[p].children[i], all);
    }
    std::vector<WkObject*> Parts(int classCode) {
        std::vector<WkObject*> all, found;
        Collect(WkFormOf(dialog), all);
        for (WkObject* o : all)
            if (o->classCode == classCode) found.push_back(o);
        return found;
    }
    WkObject* Captioned(const char* caption) {
        for (int code : {WK_CLASS_PUSH_BUTTON, WK_CLASS_TOGGLE})
            for (WkObject* o : Parts(code)) {
                char text[64] = "";
                if (std::string(WkObjectGetText(o, text, sizeof text)) == caption) return o;
            }
        return nullptr;
    }
    static std::string Rgb(WkObject* o) {
        int r, g, b;
        WkColorToRGB(WkObjectGetBackgroundColor(o), &r, &g, &b);
        return std::to_string(r) + "," + std::to_string(g) + "," + std::to_string(b);
    }
    WkObject *main = nullptr, *panel = nullptr, *child = nullptr, *loose = nullptr, *dialog = nullptr;
};

TEST_F(CustomizeDialog, ShiftCtrlClickOpensTheConfiguredAncestorsDialog) {
    const int beeps = display->beepCount();
    Click(loose, plat::kShift | plat::kCtrl);
    EXPECT_EQ(display->beepCount(), beeps + 1);
    EXPECT_EQ(WkWindowStackCount(), 1);

    Click(child, plat::kShift | plat::kCtrl);
    ASSERT_EQ(WkWindowStackCount(), 2);
    dialog = WkWindowStackEntry(1);
    char title[256];
    WkShellGetTitle(dialog, title);
    EXPECT_STREQ(title, "Customizing Panel");
    ASSERT_NE(WkObjectGetBackgroundImage(dialog), nullptr); // tile17.bmp
    EXPECT_EQ(WkGetGrab(), nullptr);
    SavePng(dialog, "customize_dialog.png");

    // The width spin: 9 up wraps to 0, 0 down beeps and stays.
    WkObject* width = Parts(WK_CLASS_EDIT)[1];
    WkEditReplaceText(width, "9", 0, 1);
    Click(WkEditRecord(width)->arrows[0]);
    EXPECT_STREQ(WkEditGetText(width), "0");
    Click(WkEditRecord(width)->arrows[1]);
    EXPECT_STREQ(WkEditGetText(width), "0");
    EXPECT_EQ(display->beepCount(), beeps + 2);
    int type, shadow, outer;
    WkObjectGetShadow(panel, &type, &shadow, &outer);
    EXPECT_EQ(shadow, 0);
    Click(Captioned("Close"));
    Advance(10);
    EXPECT_EQ(WkWindowStackCount(), 1);
}

TEST_F(CustomizeDialog, ApplyUndoAndSaveWithoutAutoProof) {
    const std::string opening = Rgb(panel);
    Click(child, plat::kShift | plat::kCtrl);
    ASSERT_EQ(WkWindowStackCount(), 2);
    dialog = WkWindowStackEntry(1);
    WkObject* red = Parts(WK_CLASS_SCROLL_BAR)[0];
    WkObject* value = WkFormCurrentPage(red->parent)->children[1];

    Click(Captioned("Auto proof"));
    WkScrollBarSetValue(red, 0xAB);
    EXPECT_STREQ(WkLabelGetText(value), "ab");
    EXPECT_EQ(Rgb(panel), opening);
    Click(Captioned("Apply"));
    EXPECT_EQ(Rgb(panel).substr(0, 4), "171,");

    Click(Captioned("Undo"));
    EXPECT_EQ(WkScrollBarGetValue(red), std::stoi(opening));
    EXPECT_TRUE(panel->state & WK_STATE_SHOWN);
    Click(Captioned("Auto proof")); // on again: the opening look is applied
    EXPECT_EQ(Rgb(panel), opening);

    WkScrollBarSetValue(red, 0x12);
    EXPECT_EQ(Rgb(panel).substr(0, 3), "18,");
    Click(Captioned("Save"));
    Click(Captioned("Close"));
    Advance(10);
    EXPECT_EQ(WkWindowStackCount(), 1);

    std::ifstream in(program + ".ini", std::ios::binary);
    const std::string saved{std::istreambuf_iterator<char>(in), {}};
    EXPECT_NE(saved.find("[Panel]\r\nbackground=18,"), std::string::npos) << saved;
    const std::string look = Rgb(panel);
    Stop();
    Start(saved);
    WkInitFormClass();
    Build();
    EXPECT_EQ(Rgb(panel), look);
}

} // namespace
} // namespace wt
