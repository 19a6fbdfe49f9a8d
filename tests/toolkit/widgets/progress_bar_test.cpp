#include "toolkit/widgets/progress_bar.h"

#include "toolkit/core/memory.h"
#include "toolkit/core/object_attrs.h"
#include "input_fixture.h"

namespace {

class ProgressBarTest : public wt::InputTest {
protected:
    WkObject* shell = nullptr;
    WkObject* Bar(const char* text, int maximum, int width = 120) {
        shell = Window();
        WkObject* bar = WkCreateProgressBar(shell, text, maximum, 0);
        WkObjectSetPartWidth(bar, width);
        Show(shell);
        return bar;
    }
    std::vector<plat::Rgb> Pixels(WkObject* bar) {
        std::vector<plat::Rgb> pixels;
        for (int y = 0; y < bar->height; ++y)
            for (int x = 0; x < bar->width; ++x) pixels.push_back(At(bar, x, y));
        return pixels;
    }
    WkProgressData* Data(WkObject* bar) { return static_cast<WkProgressData*>(bar->classRecord); }
};

TEST_F(ProgressBarTest, ValueAndMaximumDrawTheStrip) {
    WkObject* bar = Bar("", 100);
    const int b = bar->shadowWidth, w = bar->width, mid = bar->height / 2;
    const int inside = w - 2 * b - 4;
    const plat::Rgb fill = Rgb(Data(bar)->bar), light = Rgb(Data(bar)->light), dark = Rgb(Data(bar)->dark);
    const plat::Rgb back = Rgb(bar->background);
    struct Case {
        int maximum, value, fill;
    } cases[] = {{0, 0, 0}, {100, 37, 37 * inside / 100}, {100, -1, 37 * inside / 100}, {100, 0, 0},
                 {100, 150, inside}, {50, 100, inside}, {200, 100, inside / 2}};
    for (const Case& c : cases) {
        WkProgressBarSetMaximum(bar, c.maximum);
        WkProgressBarSetValue(bar, c.value);
        SCOPED_TRACE(c.value);
        EXPECT_EQ(WkProgressBarFill(bar), c.fill);
        EXPECT_EQ(At(bar, b + 1, mid), light);
        EXPECT_EQ(At(bar, b + c.fill + 3, mid), dark);
        EXPECT_EQ(At(bar, b + 2 + c.fill - 1, mid), c.fill ? fill : light);
        EXPECT_EQ(At(bar, b + c.fill + 4, mid), c.fill < inside ? back : Rgb(bar->lightShadow));
        EXPECT_EQ(Pixels(bar), (WkRedraw(bar, 1), Pixels(bar))); // the partial redraw is complete
    }
    EXPECT_EQ(Data(bar)->maximum, 200);
}

TEST_F(ProgressBarTest, SizesFramesAndAZeroMaximum) {
    for (const char* text : {"", "a rather long text that is wider than eighty pixels"}) {
        WkObject* bar = Bar(text, 0);
        EXPECT_EQ(bar->width, 120);
        WkObjectQuerySize(bar);
        EXPECT_EQ(bar->width, 80) << text;
        EXPECT_EQ(bar->height, WkFontHeight("A", 0) + 4 + 4);
        WkProgressBarSetValue(bar, 5);
        EXPECT_EQ(WkProgressBarFill(bar), 0);
        WkObjectSetShadow(bar, WK_SHADOW_OUT, 7, 3);
        EXPECT_EQ(bar->shadowWidth, 2);
        WkObjectSetShadow(bar, WK_SHADOW_OUT, 4, 3);
        EXPECT_EQ(bar->shadowWidth, 4);
        EXPECT_EQ(bar->shadowType, WK_SHADOW_IN);
        EXPECT_EQ(bar->outerShadowWidth, 0);
    }
}

TEST_F(ProgressBarTest, ATextChangeDrawsWhatAFullRedrawDraws) {
    WkObject* bar = Bar("Pairing round 3", 100, 200);
    WkProgressBarSetValue(bar, 40);
    for (const char* text : {"Ready", "A much longer status text", "", "Saved"}) {
        WkObjectSetText(bar, text);
        const auto partial = Pixels(bar);
        WkRedraw(bar, 1);
        EXPECT_EQ(partial, Pixels(bar)) << text;
        char* copy = WkObjectGetText(bar, nullptr, 0);
        EXPECT_STREQ(copy, text);
        WkFree(copy);
    }
}

TEST_F(ProgressBarTest, Screenshot) {
    shell = Window();
    const struct {
        int value;
        const char* text;
    } bars[] = {{0, "Nothing yet"}, {37, "37 % done"}, {100, "Finished"}};
    for (const auto& b : bars) {
        WkObject* bar = WkCreateProgressBar(shell, b.text, 100, 0);
        WkObjectSetPartWidth(bar, 200);
        WkProgressBarSetValue(bar, b.value);
    }
    WkObject* coloured = WkCreateProgressBar(shell, "Coloured", 10, 0);
    WkProgressBarSetColorRGB(coloured, 90, 140, 200);
    WkProgressBarSetValue(coloured, 6);
    Show(shell);
    SavePng(shell, "progress.png");
}

} // namespace
