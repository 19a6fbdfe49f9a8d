#include "toolkit/widgets/push_button.h"

#include "toolkit/core/image.h"
#include "toolkit/core/image_path.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/mnemonics.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/shell_data.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/tab_toggle.h"
#include "toolkit/widgets/toggle.h"
#include "buttons_window.h"
#include "input_fixture.h"

#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<long> calls; // virtual milliseconds of each call since the start

long Now() { return (wt::virtualNow.seconds - 1000) * 1000 + wt::virtualNow.microseconds / 1000; }
void Record(WkObject*, void*, void*) { calls.push_back(Now()); }
int formKeys = 0;
void CountKey(WkObject*, WkMessage*, void*, std::uint32_t) { ++formKeys; }
void DestroyWindow(WkObject* button, void*, void*) {
    calls.push_back(Now());
    WkShellDestroy(button);
}

class PushButton : public wt::InputTest {
protected:
    void SetUp() override {
        wt::InputTest::SetUp();
        calls.clear();
        shell = Window();
    }
    WkObject* Make(const char* label, WkButtonCallback callback = Record) {
        WkObject* b = WkCreateButton(shell, label, 0);
        WkButtonSetCallback(b, callback, nullptr);
        return b;
    }
    void Focus(WkObject* button) { WkObjectSetFocus(button); }
    void Enter() { Key(0x0D, 0x1C); }
    void AltO() { Key('O', 0x18, plat::kAlt); }
    WkObject* shell = nullptr;
};

TEST_F(PushButton, MnemonicsUnderlineRegisterAndRoundTrip) {
    struct Case {
        const char* label;
        const char* shown;
        int position, key;
        const char* got;
    } cases[] = {
        {"&Ok", "Ok", 0, 0x1800, "&Ok"},
        {"a && b", "a & b", -1, 0, "a && b"},
        {"&Save && &quit", "Save & quit", 7, 0x1000, "Save && &quit"},
        {"Item &2", "Item 2", 5, 0, "Item &2"}, // Alt+digit composes characters
        {"end&", "end", -1, 0, "end"},
    };
    for (const Case& c : cases) {
        WkObject* b = Make(c.label);
        WkButtonData* d = WkButtonRecord(b);
        EXPECT_STREQ(d->text, c.shown) << c.label;
        EXPECT_EQ(d->mnemonicPosition, c.position) << c.label;
        EXPECT_EQ(d->mnemonicKey, c.key) << c.label;
        char* got = WkObjectGetText(b, nullptr, 0);
        EXPECT_STREQ(got, c.got);
        WkObjectSetText(b, got);
        EXPECT_STREQ(d->text, c.shown) << "set back";
        WkObjectSetText(b, d->text); // its own text, no markers in it
        WkFree(got);
        WkObjectDestroy(b);
    }
    EXPECT_EQ(WkShellRecord(shell)->mnemonicCount, 0);
    // A key set by hand moves the underline to the first such letter.
    WkObject* b = Make("Open file");
    WkButtonSetMnemonicKey(b, 0x2106); // Ctrl+F
    EXPECT_EQ(WkButtonRecord(b)->mnemonicPosition, 5);
}

TEST_F(PushButton, KeysArmFor160MsAndCallOnce) {
    WkObject* ok = Make("&Ok");
    WkObject* other = Make("Other");
    Show(shell);
    Focus(other);
    AltO();
    EXPECT_TRUE(ok->state & WK_STATE_ON);
    Advance(150);
    EXPECT_TRUE(calls.empty());
    Advance(10);
    EXPECT_EQ(calls, std::vector<long>{160});
    EXPECT_FALSE(ok->state & WK_STATE_ON);
    // A second Enter during the 160 ms does nothing.
    Focus(ok);
    Enter();
    Advance(100);
    Enter();
    Advance(60);
    Advance(200);
    EXPECT_EQ(calls, (std::vector<long>{160, 320}));
    // Arrows move the focus on through the form.
    Key(0x27, 0x4D);
    EXPECT_TRUE(other->state & WK_STATE_FOCUS);
    Key(0x25, 0x4B);
    EXPECT_TRUE(ok->state & WK_STATE_FOCUS);
    // A hidden mnemonic object is passed over: the key reaches the form.
    WkObjectHide(ok);
    Focus(other);
    formKeys = 0;
    WkObjectAddEventHandler(WkFormOf(shell), CountKey, WkMessageBit(WK_MSG_KEY), nullptr);
    AltO();
    Advance(200);
    EXPECT_EQ(calls.size(), 2u);
    EXPECT_EQ(formKeys, 1);
}

TEST_F(PushButton, AClickCallsOnlyWhenReleasedOverTheButton) {
    WkObject* b = Make("Drag");
    wt::MakeLeaf(shell, 60, 40);
    Show(shell);
    Button(b, 5, 5, true);
    EXPECT_TRUE(b->state & WK_STATE_ON);
    Move(b, 5, b->height + 20);
    EXPECT_FALSE(b->state & WK_STATE_ON);
    Button(b, 5, b->height + 20, false);
    EXPECT_TRUE(calls.empty());
    Button(b, 5, 5, true);
    Move(b, 5, b->height + 20);
    Move(b, 6, 6);
    EXPECT_TRUE(b->state & WK_STATE_ON);
    Button(b, 6, 6, false);
    EXPECT_EQ(calls.size(), 1u);
}

TEST_F(PushButton, RepeatCallsWhileHeldWithinItsLimits) {
    WkObject* b = Make("Repeat");
    for (auto [delay, interval] : {std::pair{10, 100}, {500, 2500}, {19, 19}}) WkButtonSetRepeat(b, delay, interval);
    EXPECT_EQ(WkButtonRecord(b)->repeatDelay, 0);
    WkButtonSetRepeat(b, 500, 100);
    Show(shell);
    Button(b, 5, 5, true);
    for (int i = 0; i < 15; ++i) Advance(50);
    Button(b, 5, 5, false);
    Advance(1000);
    EXPECT_EQ(calls, (std::vector<long>{0, 500, 600, 700}));
}

TEST_F(PushButton, InsensitiveOrInactiveIgnoresPointerAndKeys) {
    WkObject* b = Make("&Ok");
    Show(shell);
    Focus(b);
    for (int inactive = 0; inactive < 2; ++inactive) {
        if (inactive) {
            WkObjectSetSensitive(b, 1);
            b->state &= static_cast<std::uint16_t>(~WK_STATE_ACTIVE);
        } else {
            WkObjectSetSensitive(b, 0);
        }
        Button(b, 5, 5, true);
        Button(b, 5, 5, false);
        Enter();
        AltO();
        Advance(500);
        EXPECT_FALSE(b->state & WK_STATE_ON);
        EXPECT_TRUE(calls.empty()) << inactive;
    }
}

// A button or toggle greyed while it holds the focus passes it on as Tab
// would (the last one round to the first); greying another leaves the
// focus alone. B is a toggle, D a button.
TEST_F(PushButton, AButtonGreyedWithTheFocusPassesItOn) {
    WkObject* b[4] = {Make("A"), WkCreateToggle(shell, "B", 0), Make("C"), Make("D")};
    Show(shell);
    WkObject* box = Window();
    struct Case {
        int focused, greyed, holder;
        bool behindBox; // greyed while another window has the focus
    } cases[] = {{1, 1, 2, false}, {0, 2, 0, false}, {1, 1, 2, true}, {2, 2, 3, false}, {2, 2, 3, true},
                 {3, 3, 0, false}};
    for (const Case& c : cases) {
        for (WkObject* button : b) WkObjectSetSensitive(button, 1);
        Focus(b[c.focused]);
        if (c.behindBox) Show(box);
        WkObjectSetSensitive(b[c.greyed], 0);
        if (c.behindBox) {
            WkShellHide(box);
            WkFlushEvents();
        }
        EXPECT_EQ(WkFormGetFocus(shell), b[c.holder]) << c.focused << c.greyed;
        EXPECT_EQ((b[c.greyed]->state & WK_STATE_FOCUS) != 0, c.greyed == c.holder) << c.focused << c.greyed;
    }
}

TEST_F(PushButton, ANarrowScreenGivesFrame2AndPressedLook) {
    WkObject* b = Make("Press");
    Show(shell);
    EXPECT_EQ(b->shadowWidth, 2);
    const WkColor released = b->background;
    Button(b, 5, 5, true);
    EXPECT_EQ(b->shadowWidth, 1);
    int r, g, bl, pr, pg, pb;
    WkColorToRGB(released, &r, &g, &bl);
    WkColorToRGB(b->background, &pr, &pg, &pb);
    EXPECT_EQ(pr, r * 85 / 100);
    EXPECT_EQ(At(b, b->width / 2, 3), Rgb(b->background));
    Button(b, 5, 5, false);
    EXPECT_EQ(b->shadowWidth, 2);
    EXPECT_EQ(b->background, released);
}

TEST_F(PushButton, CallbacksMayDestroyTheWindow) {
    WkObject* repeating = Make("Repeat", DestroyWindow);
    WkButtonSetRepeat(repeating, 100, 100);
    Show(shell);
    // From the first repeat firing: the press called once already.
    WkButtonSetCallback(repeating, Record, nullptr);
    Button(repeating, 5, 5, true);
    WkButtonSetCallback(repeating, DestroyWindow, nullptr);
    owned.clear();
    Advance(100);
    Advance(500);
    EXPECT_EQ(calls.size(), 2u);
    // From the end of a key activation.
    shell = Window();
    WkObject* b = Make("Enter", DestroyWindow);
    Show(shell);
    Focus(b);
    owned.clear();
    Enter();
    Advance(200);
    Advance(200);
    EXPECT_EQ(calls.size(), 3u);
}

TEST_F(PushButton, PreferredSizeFollowsTextAndPicture) {
    const int h = WkFontHeight("A", 0), frame = 2 + 1;
    int widest, lines;
    WkMeasureLines("Two\nlines", 0, &widest, &lines);
    WkImage* picture = WkCreateImage(20, 10, 8);
    WkImageSetTransparentIndex(picture, 0); // the buttons blend copies of it
    struct Case {
        WkObject* button;
        int width, height;
    } cases[] = {
        {WkCreateButton(shell, "Two\nlines", 0), widest + 6 + 2 * frame, 2 * h + 2 + 4 + 2 * frame},
        {WkCreateButton(shell, "", 0), h + 4 + 6 + 2 * frame, h + 4 + 2 * frame},
        {WkCreateButtonImages3(shell, "Two\nlines", 0, picture, nullptr, nullptr), std::max(widest + 6, 20) + 6,
         2 * h + 2 + 4 + 10 + 6},
        {WkCreateButtonImages3Only(shell, picture, nullptr, nullptr), 20 + 6, 10 + 6},
    };
    Show(shell);
    for (const Case& c : cases) {
        WkObjectQuerySize(c.button);
        EXPECT_EQ(c.button->width, c.width);
        EXPECT_EQ(c.button->height, c.height);
    }
    for (const Case& c : cases) WkObjectDestroy(c.button);
    WkFreeImage(picture);
}

TEST_F(PushButton, AFixedWidthNeverCutsTheCaption) {
    const int frame = 2 + 1;
    int widest, lines;
    WkMeasureLines("Pair next round", 0, &widest, &lines);
    const int whole = widest + 6 + 2 * frame;
    const int cases[][2] = {{whole + 20, whole + 20}, {whole, whole}, {whole - 1, whole}}; // fixed, shown
    for (const auto& c : cases) {
        WkObject* button = WkCreateButton(shell, "Pair next round", 0);
        WkObjectSetWidth(button, c[0]);
        Show(shell);
        EXPECT_EQ(button->width, c[1]) << c[0];
        WkObjectDestroy(button);
    }
}

TEST_F(PushButton, EachPictureConstructorOfTheThreeClassesFillsItsSlots) {
    const std::string folder = std::string(TM_TEST_SOURCE_DIR) + "/../toolkit/data";
    WkPushImagePath(folder.c_str());
    WkImage* p[6]; // widths 16 to 21: normal, pressed, insensitive, hover, hover pressed, hover insensitive
    for (int i = 0; i < 6; ++i) p[i] = WkCreateImage(16 + i, 8, 8);
    // Widths 32, 11, 13, 7, 32, 13 in the same order.
    const char* f[6] = {"danger.bmp", "pfend.bmp", "sbup.bmp", "spinup.bmp", "question.bmp", "sbleft.bmp"};
    // Slot widths in record order: normal, hover, pressed, hover pressed, insensitive, hover insensitive.
    const int six[6] = {16, 19, 17, 20, 18, 21}, three[6] = {16, 0, 17, 0, 18, 0};
    const int sixFiles[6] = {32, 7, 11, 32, 13, 13}, threeFiles[6] = {32, 0, 11, 0, 13, 0};
    struct Case { WkObject* object; int classCode; bool label; const int* widths; } cases[] = {
        {WkCreateButtonImages(shell, "Pic", 0, p[0], p[1], p[2], p[3], p[4], p[5]), 4, true, six},
        {WkCreateButtonImagesOnly(shell, p[0], p[1], p[2], p[3], p[4], p[5]), 4, false, six},
        {WkCreateButtonImages3(shell, "Pic", 0, p[0], p[1], p[2]), 4, true, three},
        {WkCreateButtonImages3Only(shell, p[0], p[1], p[2]), 4, false, three},
        {WkCreateImageButton(shell, "Pic", 0, f[0], f[1], f[2], f[3], f[4], f[5]), 4, true, sixFiles},
        {WkCreateImageButtonNoLabel(shell, f[0], f[1], f[2], f[3], f[4], f[5]), 4, false, sixFiles},
        {WkCreateImageButton3(shell, "Pic", 0, f[0], f[1], f[2]), 4, true, threeFiles},
        {WkCreateImageButton3NoLabel(shell, f[0], f[1], f[2]), 4, false, threeFiles},
        {WkCreateToggleImages(shell, "Pic", 0, p[0], p[1], p[2], p[3], p[4], p[5]), 5, true, six},
        {WkCreateToggleImagesOnly(shell, p[0], p[1], p[2], p[3], p[4], p[5]), 5, false, six},
        {WkCreateToggleImages3(shell, "Pic", 0, p[0], p[1], p[2]), 5, true, three},
        {WkCreateToggleImages3Only(shell, p[0], p[1], p[2]), 5, false, three},
        {WkCreateImageToggle(shell, "Pic", 0, f[0], f[1], f[2], f[3], f[4], f[5]), 5, true, sixFiles},
        {WkCreateImageToggleNoLabel(shell, f[0], f[1], f[2], f[3], f[4], f[5]), 5, false, sixFiles},
        {WkCreateImageToggle3(shell, "Pic", 0, f[0], f[1], f[2]), 5, true, threeFiles},
        {WkCreateImageToggle3NoLabel(shell, f[0], f[1], f[2]), 5, false, threeFiles},
        {WkCreateTabToggleImages(shell, "Pic", 0, p[0], p[1], p[2], p[3], p[4], p[5]), 6, true, six},
        {WkCreateTabToggleImagesOnly(shell, p[0], p[1], p[2], p[3], p[4], p[5]), 6, false, six},
        {WkCreateTabToggleImages3(shell, "Pic", 0, p[0], p[1], p[2]), 6, true, three},
        {WkCreateTabToggleImages3Only(shell, p[0], p[1], p[2]), 6, false, three},
        {WkCreateImageTabToggle(shell, "Pic", 0, f[0], f[1], f[2], f[3], f[4], f[5]), 6, true, sixFiles},
        {WkCreateImageTabToggleNoLabel(shell, f[0], f[1], f[2], f[3], f[4], f[5]), 6, false, sixFiles},
        {WkCreateImageTabToggle3(shell, "Pic", 0, f[0], f[1], f[2]), 6, true, threeFiles},
        {WkCreateImageTabToggle3NoLabel(shell, f[0], f[1], f[2]), 6, false, threeFiles},
    };
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const Case& c = cases[i];
        const WkButtonData* d = WkButtonRecord(c.object);
        EXPECT_EQ(c.object->classCode, c.classCode) << i;
        EXPECT_STREQ(d->text, c.label ? "Pic" : nullptr) << i;
        for (int slot = 0; slot < WK_BUTTON_IMAGES; ++slot)
            EXPECT_EQ(d->images[slot] ? d->images[slot]->width : 0, c.widths[slot]) << i << " " << slot;
        const bool fromFiles = c.widths == sixFiles || c.widths == threeFiles;
        EXPECT_EQ(d->style & WK_BUTTON_OWNS_IMAGES, fromFiles ? WK_BUTTON_OWNS_IMAGES : 0) << i;
        EXPECT_EQ(c.object->shadowWidth, 2) << i;
    }
    for (const Case& c : cases) WkObjectDestroy(c.object);
    for (WkImage* image : p) WkFreeImage(image);
    WkPopImagePath(folder.c_str());
}

class ButtonsPicture : public wt::InputTest {};

TEST_F(ButtonsPicture, EveryLookSideBySide) {
    wt::ButtonsWindow w = wt::MakeButtonsWindow();
    WkFlushEvents();
    wt::PressAndFocus(w);
    WkFlushEvents();
    SavePng(w.shell, "buttons.png");
    ExpectPicture(w.shell, "buttons.png");
    const int h = WkFontHeight("A", 0);
    // Focused: the black frame two pixels thick.
    EXPECT_EQ(At(w.focused, 0, 0), Rgb(WkBlackColor()));
    EXPECT_EQ(At(w.focused, 1, w.focused->height / 2), Rgb(WkBlackColor()));
    EXPECT_NE(At(w.normal, 1, w.normal->height / 2), Rgb(WkBlackColor()));
    // Pressed: the darker background inside its 1-pixel frame.
    EXPECT_EQ(At(w.pressed, 3, 3), Rgb(w.pressed->background));
    EXPECT_NE(w.pressed->background, w.normal->background);
    // The picture at the top, the label below it.
    EXPECT_EQ(At(w.picture, (w.picture->width - 16) / 2 + 5, 3 + 1), plat::MakeRgb(200, 40, 40));
    // The mnemonic's underline: the whole width of the M at the foot of the line.
    const int widest = WkTextWidth("Mnemonic", 0), m = WkCharWidth('M', 0);
    const int x = (w.mnemonic->width - widest) / 2, y = (w.mnemonic->height - h) / 2 + h - 1;
    for (int i = 0; i <= m; ++i) EXPECT_EQ(At(w.mnemonic, x + i, y), Rgb(WkBlackColor())) << i;
    // Insensitive button and label: no ink in the foreground colour, the
    // dark shadow with the light one a pixel right and down instead.
    for (WkObject* o : {w.insensitive, w.etched}) {
        int dark = 0, black = 0, etched = 0;
        for (int yy = 3; yy < o->height - 3; ++yy)
            for (int xx = 3; xx < o->width - 3; ++xx) {
                const bool d = At(o, xx, yy) == Rgb(o->darkShadow);
                dark += d;
                etched += d && At(o, xx + 1, yy + 1) == Rgb(o->lightShadow);
                black += At(o, xx, yy) == Rgb(WkBlackColor());
            }
        EXPECT_GT(dark, 10);
        EXPECT_GT(etched, 5);
        EXPECT_EQ(black, 0);
    }
    WkObjectDestroy(w.shell);
    WkFreeImage(w.image);
}

} // namespace
