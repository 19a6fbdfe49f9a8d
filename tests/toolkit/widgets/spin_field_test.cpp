#include "toolkit/widgets/spin_field.h"

#include "toolkit/core/fonts.h"
#include "toolkit/core/object_attrs.h"
#include "input_fixture.h"

#include <vector>

namespace {

std::vector<std::pair<long, int>> steps; // virtual milliseconds since the start, step

long Now() { return (wt::virtualNow.seconds - 1000) * 1000 + wt::virtualNow.microseconds / 1000; }
void Record(WkObject*, int step, void*) { steps.emplace_back(Now(), step); }

class SpinField : public wt::InputTest {
protected:
    void SetUp() override {
        wt::InputTest::SetUp();
        steps.clear();
        shell = Window();
        form = WkCreateVerticalForm(shell);
    }
    // A field of the given height: its font's height plus the two pixels of the field.
    WkObject* Make(int height, WkEditStepCallback callback = Record) {
        const int font = WkAddFont("arial", height - 2, 0, 0);
        return WkCreateSpinField(form, "5", 4, 4, font, callback, nullptr);
    }
    static WkObject* Arrow(WkObject* field, int which) { return WkEditRecord(field)->arrows[which]; }
    // Whether any pixel of the object has that colour.
    bool Shows(WkObject* o, plat::Rgb color) {
        for (int y = 0; y < o->height; ++y)
            for (int x = 0; x < o->width; ++x)
                if (At(o, x, y) == color) return true;
        return false;
    }
    WkObject* shell = nullptr;
    WkObject* form = nullptr;
};

TEST_F(SpinField, ArrowsTakeTheirSizeAndFrameFromTheFieldsHeight) {
    struct Case {
        int height, width, arrowHeight, frame;
    } cases[] = {{20, 14, 10, 1}, {21, 14, 10, 2}, {30, 20, 15, 2}};
    WkObject* field = nullptr;
    for (const Case& c : cases) {
        field = Make(c.height);
        ASSERT_EQ(field->height, c.height);
        for (int which : {0, 1}) {
            WkObject* arrow = Arrow(field, which);
            EXPECT_EQ(arrow->width, c.width) << c.height;
            EXPECT_EQ(arrow->height, c.arrowHeight) << c.height;
            EXPECT_EQ(arrow->shadowWidth, c.frame) << c.height;
        }
    }
    Show(shell);
    // The up arrow sits above the down arrow, both at the right of the field.
    EXPECT_EQ(Arrow(field, 0)->x, Arrow(field, 1)->x);
    EXPECT_EQ(Arrow(field, 0)->y + Arrow(field, 0)->height, Arrow(field, 1)->y);
    EXPECT_GE(Arrow(field, 0)->x, field->x + field->width);
}

TEST_F(SpinField, ArrowsRepeatAndKeysStep) {
    WkObject* field = Make(20);
    WkObject* silent = Make(21, nullptr);
    Show(shell);
    Button(Arrow(field, 0), 3, 3, true);
    for (int ms : {300, 150, 150}) Advance(ms);
    Button(Arrow(field, 0), 3, 3, false);
    Advance(500);
    Button(Arrow(field, 1), 3, 3, true);
    Button(Arrow(field, 1), 3, 3, false);
    for (int key : {WK_KEY_UP, WK_KEY_DOWN}) WkSendSimpleMessage(field, WK_MSG_KEY, 0, 0, key);
    // Without a callback neither arrows nor keys call anything.
    Button(Arrow(silent, 0), 3, 3, true);
    Advance(400);
    Button(Arrow(silent, 0), 3, 3, false);
    for (int key : {WK_KEY_UP, WK_KEY_DOWN}) WkSendSimpleMessage(silent, WK_MSG_KEY, 0, 0, key);
    const std::vector<std::pair<long, int>> expected = {{0, 1}, {300, 1}, {450, 1}, {600, 1},
                                                        {1100, -1}, {1100, 1}, {1100, -1}};
    EXPECT_EQ(steps, expected);
}

TEST_F(SpinField, DisablingGreysTheArrows) {
    WkObject* field = Make(20);
    WkObject* insensitive = Make(21);
    WkObjectDisable(insensitive);
    Show(shell);
    const plat::Rgb black = plat::MakeRgb(0, 0, 0), grey = plat::MakeRgb(128, 128, 128);
    for (int which : {0, 1}) {
        EXPECT_TRUE(Shows(Arrow(field, which), black));
        EXPECT_FALSE(Shows(Arrow(field, which), grey));
        EXPECT_TRUE(Shows(Arrow(insensitive, which), grey));
        EXPECT_FALSE(Shows(Arrow(insensitive, which), black));
    }
    SavePng(shell, "spin.png");
    ExpectPicture(shell, "spin.png");
}

} // namespace
