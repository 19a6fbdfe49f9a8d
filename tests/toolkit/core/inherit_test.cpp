#include "toolkit/core/inherit.h"

#include "test_form.h"

namespace {

using namespace testform;

class InheritTest : public ToolkitTest {};

TEST_F(InheritTest, NewObjectsTakeTheParentsColoursOrTheDefaults) {
    WkObject* shell = MakeShell(50, 50);
    WkObject* form = MainForm(shell);
    EXPECT_EQ(Rgb(form->background), plat::MakeRgb(192, 192, 192));
    SetColor(form, 100, 150, 50);
    WkStoreColors(form, WkAddColorRef(form->baseBackground), WkAllocColor(0, 0, 200));

    WkObject* same = MakeLeaf(form, 5, 5); // drawing areas inherit both at 100
    EXPECT_EQ(Rgb(same->background), plat::MakeRgb(100, 150, 50));
    EXPECT_EQ(Rgb(same->lightShadow), Rgb(form->lightShadow));
    EXPECT_EQ(Rgb(same->darkShadow), Rgb(form->darkShadow));
    EXPECT_EQ(Rgb(same->baseBackground), Rgb(form->background));
    EXPECT_EQ(Rgb(same->foreground), plat::MakeRgb(0, 0, 200));

    WkObject base = WkBaseTemplate(WK_CLASS_LABEL);
    base.backgroundPercent = 50;
    WkObject* shaded = WkNewObject(base, nullptr, 0);
    WkInheritColors(form, shaded);
    EXPECT_EQ(Rgb(shaded->background), plat::MakeRgb(50, 75, 25));
    EXPECT_EQ(Rgb(shaded->darkShadow), plat::MakeRgb(30, 45, 15));

    WkObject* own = WkNewObject(WkBaseTemplate(WK_CLASS_PUSH_BUTTON), nullptr, 0); // inherits nothing
    WkInheritColors(form, own);
    EXPECT_EQ(Rgb(own->background), plat::MakeRgb(192, 192, 192));
    EXPECT_EQ(Rgb(own->foreground), 0u);

    // A top-level window lends its main form's colours.
    WkObject* lent = WkNewObject(WkBaseTemplate(WK_CLASS_FORM), nullptr, 0);
    lent->colorFlags |= WK_INHERIT_BACKGROUND;
    WkInheritColors(shell, lent);
    EXPECT_EQ(Rgb(lent->background), plat::MakeRgb(100, 150, 50));
    EXPECT_EQ(Rgb(lent->foreground), plat::MakeRgb(0, 0, 200));
    for (WkObject* o : {shaded, own, lent}) WkObjectDestroy(o);
    WkObjectDestroy(shell);
}

TEST_F(InheritTest, FullyTransparentChildShowsTheParentsBackground) {
    WkObject* shell = MakeShell(50, 50);
    WkObject* form = MainForm(shell);
    SetColor(form, 10, 20, 30);
    WkObject* child = MakeLeaf(form, 5, 5);
    child->transparency = WK_TRANSPARENT;
    SetColor(child, 200, 0, 0);
    EXPECT_EQ(Rgb(child->background), plat::MakeRgb(10, 20, 30));
    EXPECT_EQ(Rgb(child->baseBackground), plat::MakeRgb(200, 0, 0));
    WkObjectDestroy(shell);
}

int colorMessages = 0;
void CountColors(WkObject*, WkMessage*, void*, std::uint32_t) { ++colorMessages; }

TEST_F(InheritTest, InheritanceReachesEveryLevelOfAComposite) {
    WkObject* shell = MakeShell(50, 50);
    WkObject* form = MainForm(shell);
    SetColor(form, 0, 100, 200);
    WkObject* outer = MakeForm(form);
    WkObject* middle = MakeForm(outer);
    WkObject* part = MakeLeaf(middle, 5, 5);
    for (WkObject* o : {middle, part}) {
        o->state |= WK_STATE_PART;
        o->outer = outer;
        o->colorFlags = 0;
    }
    outer->colorFlags = 0;
    middle->layout |= WK_LAYOUT_SELF_ATTRS; // does not matter: the outer object decides
    WkObjectAddEventHandler(outer, CountColors, WkMessageBit(WK_MSG_COLORS), nullptr);
    colorMessages = 0;

    // The outer object is the target; with the self flag on it the part itself.
    WkObjectInheritBackground(part, 1, 50);
    EXPECT_TRUE(outer->colorFlags & WK_INHERIT_BACKGROUND);
    EXPECT_FALSE(part->colorFlags & WK_INHERIT_BACKGROUND);
    EXPECT_EQ(Rgb(outer->background), plat::MakeRgb(0, 50, 100));
    EXPECT_EQ(colorMessages, 1);

    outer->layout |= WK_LAYOUT_SELF_ATTRS;
    WkObjectInheritBackground(part, 1, 100);
    for (WkObject* o : {part, middle, outer}) {
        EXPECT_TRUE(o->colorFlags & WK_INHERIT_BACKGROUND);
        EXPECT_EQ(o->backgroundPercent, 100);
    }
    EXPECT_EQ(Rgb(outer->background), plat::MakeRgb(0, 100, 200)) << "the top level takes the colour";

    WkObjectInheritForeground(part, 0);
    EXPECT_FALSE(outer->colorFlags & WK_INHERIT_FOREGROUND);
    WkStoreColors(form, WkAddColorRef(form->baseBackground), WkAllocColor(9, 9, 9));
    WkObjectInheritForeground(part, 1);
    EXPECT_EQ(Rgb(outer->foreground), plat::MakeRgb(9, 9, 9));
    WkObjectDestroy(shell);
}

TEST_F(InheritTest, DefaultColoursChangeForObjectsMadeLater) {
    WkObject* first = MakeLeaf(nullptr, 5, 5);
    WkSetDefaultBackgroundRGB(10, 20, 30);
    WkSetDefaultForegroundRGB(1, 2, 3);
    WkObject* second = MakeLeaf(nullptr, 5, 5);
    EXPECT_EQ(Rgb(first->background), plat::MakeRgb(192, 192, 192));
    EXPECT_EQ(Rgb(second->background), plat::MakeRgb(10, 20, 30));
    EXPECT_EQ(Rgb(second->lightShadow), plat::MakeRgb(14, 28, 42));
    EXPECT_EQ(Rgb(second->foreground), plat::MakeRgb(1, 2, 3));
    WkColor made = WkDefaultBackgroundColor();
    EXPECT_EQ(Rgb(made), plat::MakeRgb(10, 20, 30));
    WkFreeColor(made);
    WkSetDefaultBackgroundRGB(192, 192, 192);
    WkSetDefaultForegroundRGB(0, 0, 0);
    WkObjectDestroy(first);
    WkObjectDestroy(second);
}

std::vector<int> Uses() {
    std::vector<int> uses;
    for (int slot = 0; slot < 256; ++slot) uses.push_back(WkColorUses(WkColor(slot)));
    return uses;
}

TEST_F(InheritTest, PaletteUsesReturnToTheirStartAfterCreateRecolourAndDestroy) {
    TearDown();
    Start(true);
    ASSERT_TRUE(WkIsPaletteDisplay());
    WkFreeColor(WkDefaultBackgroundColor()); // the defaults exist from here on
    std::vector<int> start = Uses();

    WkObject* shell = MakeShell(80, 60);
    WkObject* form = MainForm(shell);
    SetColor(form, 255, 255, 255);
    WkObject* translucent = MakeLeaf(form, 20, 10);
    translucent->colorFlags = 0;
    translucent->transparency = 128;
    SetColor(translucent, 0, 0, 0);
    WkObject* base = WkNewObject(WkBaseTemplate(WK_CLASS_LABEL), nullptr, 0);
    base->backgroundPercent = 70;
    base->foregroundPercent = 50;
    WkInheritColors(form, base);
    testform::AddChild(form, base);
    WkObject* clear = MakeLeaf(form, 10, 10);
    clear->transparency = WK_TRANSPARENT;
    SetColor(clear, 1, 2, 3);
    SetColor(clear, 1, 2, 3); // the same colours again
    WkObjectInheritBackground(clear, 1, 40);
    WkObjectInheritBackground(clear, 0, 40);
    WkObjectInheritForeground(clear, 1);
    translucent->transparency = 0;
    WkRefreshBackground(translucent, 1);
    SetRealized(shell, true);
    WkRedraw(form, 0);
    EXPECT_NE(Uses(), start);

    WkObjectDestroy(shell);
    EXPECT_EQ(Uses(), start);
}

} // namespace
