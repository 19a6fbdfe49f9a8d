// The object setters and getters: colours and their inheritance, shadow
// values as the class hears them, sensitivity, names, sizes, transparency,
// background images and the tint colour.
#include "toolkit/core/object_attrs.h"

#include "bmp_writer.h"
#include "test_form.h"

using namespace testform;

namespace {

class AttrsTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        form = MakeForm(nullptr);
        leaf = MakeLeaf(form, 20, 10, &log);
        leaf->state &= std::uint16_t(~WK_STATE_SHOWN);
    }
    void TearDown() override {
        WkObjectDestroy(form);
        ToolkitTest::TearDown();
    }
    Log log;
    WkObject* form = nullptr;
    WkObject* leaf = nullptr;
};

std::string Bmp4x3(const char* name) {
    BmpSpec s;
    s.width = 4;
    s.height = 3;
    s.bits = 8;
    s.palette = {0xFF0000, 0x00FF00};
    s.pixels = {0, 1, 0, 1, 1, 0, 1, 0, 0, 0, 0, 0};
    return WriteBmp(name, s);
}

TEST_F(AttrsTest, ColourSettersSendOneMessageAndEndOnlyTheirOwnInheritance) {
    SetColor(form, 10, 20, 30);
    WkObjectInheritBackground(leaf, 1, 100);
    WkObjectInheritForeground(leaf, 1);
    WkColor before = leaf->baseBackground;
    log.types.clear();
    WkObjectSetColors(leaf, WK_COLOR_KEEP, WK_COLOR_KEEP);
    EXPECT_EQ(log.count(WK_MSG_COLORS), 1);
    EXPECT_EQ(Rgb(leaf->baseBackground), Rgb(before));
    EXPECT_TRUE(WkObjectInheritsBackground(leaf, nullptr));

    WkObjectSetForegroundRGB(leaf, 1, 2, 3);
    EXPECT_TRUE(WkObjectInheritsBackground(leaf, nullptr));
    EXPECT_FALSE(WkObjectInheritsForeground(leaf));
    EXPECT_EQ(Rgb(WkObjectGetForegroundColor(leaf)), plat::MakeRgb(1, 2, 3));

    WkObjectSetBackgroundRGB(leaf, 200, 100, 50);
    EXPECT_FALSE(WkObjectInheritsBackground(leaf, nullptr));
    EXPECT_EQ(Rgb(WkObjectGetBackgroundColor(leaf)), plat::MakeRgb(200, 100, 50));
}

TEST_F(AttrsTest, ColourReferencesAreCountedOnAPalette) {
    TearDown();
    Start(true);
    form = MakeForm(nullptr);
    leaf = MakeLeaf(form, 20, 10, &log);
    WkObjectSetBackgroundRGB(leaf, 1, 2, 3);
    WkColor slot = leaf->baseBackground;
    int uses = WkColorUses(slot);
    WkObjectSetBackgroundRGB(leaf, 1, 2, 3);
    EXPECT_EQ(WkColorUses(slot), uses); // the setter gave its own reference back
    WkObjectSetBackgroundRGB(leaf, 9, 9, 9);
    EXPECT_LT(WkColorUses(slot), uses);
}

TEST_F(AttrsTest, ShadowValuesAsTheClassHearsThem) {
    WkObjectSetShadow(leaf, WK_SHADOW_OUT, 2, 3);
    ASSERT_EQ(log.count(WK_MSG_SHADOW), 1);
    EXPECT_EQ(log.a.back(), 2);
    EXPECT_EQ(log.b.back(), 0); // no outer band for the plain types
    int type, width, outer;
    WkObjectGetShadow(leaf, &type, &width, &outer);
    EXPECT_EQ(type, 1);
    EXPECT_EQ(width, 2);
    EXPECT_EQ(outer, 0);

    WkObjectSetShadow(leaf, WK_SHADOW_ETCHED_OUT, 20, 1);
    WkObjectGetShadow(leaf, &type, &width, &outer);
    EXPECT_EQ(width, 12);
    EXPECT_EQ(outer, 1);
    EXPECT_EQ(log.b.back(), 1);

    WkObjectSetShadow(leaf, WK_SHADOW_NONE, 5, 5);
    WkObjectGetShadow(leaf, &type, &width, &outer);
    EXPECT_EQ(width + outer, 0);
    int sent = log.count(WK_MSG_SHADOW);
    WkObjectSetShadow(leaf, 7, 1, 1);
    EXPECT_EQ(log.count(WK_MSG_SHADOW), sent);
}

TEST_F(AttrsTest, SensitivityChangesOnlyWhenItDiffers) {
    leaf->state |= WK_STATE_SENSITIVE;
    WkObjectEnable(leaf);
    EXPECT_EQ(log.count(WK_MSG_SENSITIVE), 0);
    WkObjectDisable(leaf);
    EXPECT_EQ(log.count(WK_MSG_SENSITIVE), 1);
    EXPECT_FALSE(WkObjectIsSensitive(leaf));
    WkObjectSetSensitive(leaf, 0);
    EXPECT_EQ(log.count(WK_MSG_SENSITIVE), 2);
}

TEST_F(AttrsTest, NamesAreOwnedCopies) {
    char name[] = "Pairings";
    WkObjectSetName(leaf, name);
    name[0] = 'X';
    EXPECT_STREQ(WkObjectGetName(leaf), "Pairings");
    WkObjectSetName(leaf, nullptr);
    EXPECT_STREQ(WkObjectGetName(leaf), "Pairings");
    WkObjectSetName(nullptr, "x");
    EXPECT_EQ(WkObjectGetName(nullptr), nullptr);
}

TEST_F(AttrsTest, SizesAreFixedAndBadOnesIgnored) {
    leaf->layout |= WK_LAYOUT_GROW_X | WK_LAYOUT_GROW_Y;
    WkObjectSetWidth(leaf, 0);
    EXPECT_FALSE(leaf->layout & WK_LAYOUT_FIXED_WIDTH);
    WkObjectSetWidth(leaf, 33);
    EXPECT_EQ(WkObjectGetWidth(leaf), 33);
    EXPECT_TRUE(leaf->layout & WK_LAYOUT_FIXED_WIDTH);
    EXPECT_FALSE(leaf->layout & WK_LAYOUT_GROW_X);
    EXPECT_TRUE(leaf->layout & WK_LAYOUT_GROW_Y);
    EXPECT_EQ(log.count(WK_MSG_RESIZE), 0); // hidden: only stored
    WkObjectSetPosition(leaf, 5, WK_KEEP_POSITION);
    EXPECT_EQ(leaf->requestedX, 5);
    EXPECT_TRUE(leaf->layout & WK_LAYOUT_FIXED_X);
    EXPECT_FALSE(leaf->layout & WK_LAYOUT_FIXED_Y);
    WkObjectSetMinimumSize(leaf, 4, -1);
    EXPECT_TRUE(leaf->layout & WK_LAYOUT_MIN_WIDTH);
    EXPECT_FALSE(leaf->layout & WK_LAYOUT_MIN_HEIGHT);
    // Values beyond the 16-bit fields stop at their limits.
    WkObjectSetWidth(leaf, 70000);
    WkObjectSetMinimumSize(leaf, 100000, 65536);
    WkObjectSetPosition(leaf, 40000, 40000);
    EXPECT_EQ(leaf->fixedWidth, 65535);
    EXPECT_EQ(leaf->minWidth, 65535);
    EXPECT_EQ(leaf->minHeight, 65535);
    EXPECT_EQ(leaf->requestedX, 32767);
    EXPECT_EQ(leaf->requestedY, 32767);
    EXPECT_EQ(WkObjectGetClass(leaf), WK_CLASS_DRAWING_AREA);
    EXPECT_EQ(WkObjectGetParent(leaf), form);
    EXPECT_EQ(WkObjectGetParent(form), nullptr);
}

TEST_F(AttrsTest, TransparencyIgnoresTopLevelWindowsAndUnchangedLevels) {
    WkObjectSetTransparency(leaf, 0);
    EXPECT_EQ(log.count(WK_MSG_TRANSPARENCY), 0);
    WkObjectSetTransparency(leaf, 128);
    EXPECT_EQ(log.count(WK_MSG_TRANSPARENCY), 1);
    EXPECT_EQ(WkObjectGetTransparency(leaf), 128);
    WkObject* shell = MakeShell(50, 40);
    WkObjectSetTransparency(shell, 100);
    EXPECT_EQ(shell->transparency, 0);
    WkObjectDestroy(shell);
}

TEST_F(AttrsTest, SizeForcingImageFixesTheSizeUntilAnotherModeReplacesIt) {
    std::string path = Bmp4x3("attrs_4x3.bmp");
    EXPECT_FALSE(WkObjectSetBackgroundImageFile(leaf, "", WK_IMAGE_SIZE));
    EXPECT_FALSE(WkObjectSetBackgroundImageFile(leaf, (path + ".missing").c_str(), WK_IMAGE_SIZE));
    EXPECT_EQ(WkObjectGetBackgroundImage(leaf), nullptr);
    EXPECT_EQ(log.count(WK_MSG_IMAGE), 0);

    ASSERT_TRUE(WkObjectSetBackgroundImageFile(leaf, path.c_str(), WK_IMAGE_SIZE));
    EXPECT_EQ(WkObjectGetWidth(leaf), 4);
    EXPECT_EQ(WkObjectGetHeight(leaf), 3);
    EXPECT_TRUE(leaf->layout & WK_LAYOUT_FIXED_WIDTH);
    EXPECT_TRUE(leaf->colorFlags & WK_INHERIT_OWNS_IMAGE);
    ASSERT_TRUE(WkObjectSetBackgroundImageFile(leaf, path.c_str(), WK_IMAGE_TILED));
    EXPECT_FALSE(leaf->layout & (WK_LAYOUT_FIXED_WIDTH | WK_LAYOUT_FIXED_HEIGHT));
    EXPECT_EQ(WkObjectGetBackgroundImageMode(leaf), WK_IMAGE_TILED);

    // A caller's image stays the caller's: removing it must not free it.
    WkImage* mine = WkCreateImage(2, 2, 24);
    WkObjectSetBackgroundImage(leaf, mine, WK_IMAGE_CENTERED);
    EXPECT_FALSE(leaf->colorFlags & WK_INHERIT_OWNS_IMAGE);
    WkObjectSetBackgroundImage(leaf, nullptr, WK_IMAGE_TILED);
    EXPECT_EQ(WkObjectGetBackgroundImage(leaf), nullptr);
    EXPECT_EQ(mine->width, 2);
    WkFreeImage(mine);
}

TEST_F(AttrsTest, ColourFromImageTakesTheAverage) {
    WkImage* image = WkCreateImage(2, 1, 24);
    WkImageSetPixelRGB(image, 0, 0, 100, 0, 0);
    WkImageSetPixelRGB(image, 1, 0, 100, 0, 0);
    WkObjectColorFromImage(leaf); // no image: nothing
    EXPECT_FALSE(WkObjectTakesImageColor(leaf));
    WkObjectSetBackgroundImage(leaf, image, WK_IMAGE_TILED);
    WkObjectColorFromImage(leaf);
    EXPECT_TRUE(WkObjectTakesImageColor(leaf));
    EXPECT_EQ(Rgb(WkObjectGetBackgroundColor(leaf)), plat::MakeRgb(100, 0, 0));
    WkObjectSetBackgroundImage(leaf, nullptr, WK_IMAGE_TILED);
    WkFreeImage(image);
}

TEST_F(AttrsTest, CompositePartsHandTheirLookToTheOuterObject) {
    WkObject* inner = MakeLeaf(form, 5, 5);
    inner->state |= WK_STATE_PART;
    inner->outer = leaf;
    WkObjectSetBackgroundRGB(inner, 7, 8, 9);
    EXPECT_EQ(Rgb(leaf->baseBackground), plat::MakeRgb(7, 8, 9));
    EXPECT_NE(Rgb(inner->baseBackground), plat::MakeRgb(7, 8, 9));
    WkObjectSetShadow(inner, WK_SHADOW_IN, 1, 0);
    EXPECT_EQ(leaf->shadowType, WK_SHADOW_IN);
    EXPECT_EQ(inner->shadowType, WK_SHADOW_NONE);
    WkObjectSetPartWidth(inner, 3);
    WkObjectSetWidth(inner, 40);
    EXPECT_EQ(WkObjectGetPartWidth(inner), 3);
    EXPECT_EQ(WkObjectGetWidth(inner), 40);
    // With the self flag the part keeps its own colours.
    leaf->layout |= WK_LAYOUT_SELF_ATTRS;
    WkObjectSetBackgroundRGB(inner, 1, 1, 1);
    EXPECT_EQ(Rgb(inner->baseBackground), plat::MakeRgb(1, 1, 1));
    EXPECT_EQ(Rgb(WkObjectGetBackgroundColor(inner)), plat::MakeRgb(1, 1, 1));
    // The stand-in form holds both: let each be destroyed on its own.
    inner->state &= std::uint16_t(~WK_STATE_PART);
    inner->outer = inner;
}

TEST_F(AttrsTest, TopLevelWindowsHandTheirLookToTheColourHolder) {
    WkObject* shell = MakeShell(50, 40);
    WkObjectSetBackgroundRGB(shell, 3, 4, 5);
    WkObjectSetShadow(shell, WK_SHADOW_OUT, 2, 0);
    EXPECT_EQ(Rgb(WkObjectGetBackgroundColor(shell)), plat::MakeRgb(3, 4, 5));
    EXPECT_EQ(MainForm(shell)->shadowWidth, 2);
    WkObjectSetCursor(shell, 3);
    EXPECT_EQ(MainForm(shell)->cursor, 3);
    WkObjectDestroy(shell);
}

TEST_F(AttrsTest, TintColour) {
    SetColor(leaf, 0, 0, 0);
    WkColor tint = WkObjectAllocTintColor(leaf);
    EXPECT_EQ(Rgb(tint), plat::MakeRgb(192, 192, 192));
    WkFreeColor(tint);
    SetColor(leaf, 255, 0, 0);
    tint = WkObjectAllocTintColor(leaf);
    EXPECT_EQ(Rgb(tint), plat::MakeRgb(220, 111, 111));
    WkFreeColor(tint);
}

} // namespace
