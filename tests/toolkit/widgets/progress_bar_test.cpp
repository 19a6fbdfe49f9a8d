#include "toolkit/widgets/progress_bar.h"

#include "toolkit/core/memory.h"
#include "toolkit/core/object_attrs.h"
#include "input_fixture.h"

namespace {

class ProgressBarTest : public wt::InputTest {
protected:
    WkObject* Bar(const char* text, int maximum, int width = 120) {
        WkObject* bar = WkCreateProgressBar(shell ? shell : (shell = Window()), text, maximum, 0);
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
    WkObject* shell = nullptr;
};

TEST_F(ProgressBarTest, ValueAndMaximumDrawTheStripPartByPart) {
    WkObject* bar = Bar("", 100);
    auto* d = static_cast<WkProgressData*>(bar->classRecord);
    const int b = bar->shadowWidth, mid = bar->height / 2, inside = bar->width - 2 * b - 4;
    struct Case {
        int maximum, value, fill;
    } cases[] = {{0, 0, 0}, {100, 37, 37 * inside / 100}, {100, -1, 37 * inside / 100}, {100, 0, 0},
                 {100, 150, inside}, {50, 100, inside}, {200, 100, inside / 2}};
    for (const Case& c : cases) {
        WkProgressBarSetMaximum(bar, c.maximum);
        WkProgressBarSetValue(bar, c.value);
        SCOPED_TRACE(c.value);
        EXPECT_EQ(WkProgressBarFill(bar), c.fill);
        EXPECT_EQ(At(bar, b + 1, mid), Rgb(d->light));
        EXPECT_EQ(At(bar, b + c.fill + 3, mid), Rgb(d->dark));
        EXPECT_EQ(At(bar, b + 2 + c.fill - 1, mid), Rgb(c.fill ? d->bar : d->light));
        EXPECT_EQ(At(bar, b + c.fill + 4, mid), Rgb(c.fill < inside ? bar->background : bar->lightShadow));
        const auto partial = Pixels(bar);
        WkRedraw(bar, 1);
        EXPECT_EQ(partial, Pixels(bar));
    }
}

TEST_F(ProgressBarTest, SizesFramesAndAZeroMaximum) {
    for (const char* text : {"", "a rather long text that is wider than eighty pixels"}) {
        WkObject* bar = Bar(text, 0);
        WkObjectQuerySize(bar);
        EXPECT_EQ(bar->width, 80) << text;
        EXPECT_EQ(bar->height, WkFontHeight("A", 0) + 4 + 4);
        WkProgressBarSetValue(bar, 5);
        EXPECT_EQ(WkProgressBarFill(bar), 0);
        // Each asked width after a known one: 1 to 6 are taken (6 the last),
        // anything outside keeps the width the bar had.
        const struct {
            int asked, kept;
        } widths[] = {{0, 3}, {1, 1}, {6, 6}, {7, 3}, {-1, 3}, {255, 3}};
        for (const auto& w : widths) {
            WkObjectSetShadow(bar, WK_SHADOW_OUT, 3, 3);
            WkObjectSetShadow(bar, WK_SHADOW_OUT, w.asked, 3);
            EXPECT_EQ(bar->shadowWidth, w.kept) << w.asked;
            EXPECT_EQ(bar->shadowType + bar->outerShadowWidth, WK_SHADOW_IN);
        }
    }
}

TEST_F(ProgressBarTest, ATextChangeDrawsWhatAFullRedrawDraws) {
    for (auto [value, text] : {std::pair{0, "Nothing yet"}, {37, "37 % paired"}, {100, "Done"}})
        WkProgressBarSetValue(Bar(text, 100, 200), value);
    WkObject* bar = Bar("", 100, 200);
    WkProgressBarSetColorRGB(bar, 90, 140, 200);
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
    SavePng(shell, "progress.png");
    ExpectPicture(shell, "progress.png");
}

} // namespace
