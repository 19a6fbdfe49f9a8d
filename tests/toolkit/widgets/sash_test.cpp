// The sash: drags clamped to the neighbours' slack (none for a neighbour at
// or below its minimum), a sash at either end of its form, the vertical
// orientation, and the picture of two panes after a drag.
#include "toolkit/widgets/sash.h"

#include "toolkit/core/grab.h"
#include "input_fixture.h"

namespace {

class SashTest : public wt::InputTest {
protected:
    // Two 100 x 50 panes around a sash in a form of the kind, shown; the
    // sash stands at index place (1 between the panes).
    void Build(int kind, int place = 1) {
        shell = Window();
        pane[0] = pane[1] = nullptr;
        WkObject* form = WkCreateForm(shell, 1, kind);
        const bool across = kind == WK_FORM_HORIZONTAL;
        for (int i = 0; i < 3; ++i) {
            if (i == place) sash = WkCreateSash(form);
            else (pane[0] ? pane[1] : pane[0]) = wt::MakeLeaf(form, across ? 100 : 50, across ? 50 : 100);
        }
        if (place > 1) sash = WkCreateSash(form);
        Show(shell);
    }
    WkObject* shell = nullptr;
    WkObject* sash = nullptr;
    WkObject* pane[2] = {};
};

TEST_F(SashTest, DragsKeepToTheSlack) {
    struct Case {
        int minBefore, minAfter, drag, moved;
    } cases[] = {
        {0, 100, 30, 0},    // the right pane already at its minimum
        {0, 60, 80, 40},    // only the slack
        {0, 120, 30, 0},    // below its minimum: never a move to the left
        {70, 0, -50, -30},  // the left pane's slack
        {0, 0, -30, -30},
    };
    for (const Case& c : cases) {
        Build(WK_FORM_HORIZONTAL);
        EXPECT_EQ(sash->cursor, 4);
        pane[0]->minWidth = std::uint16_t(c.minBefore), pane[1]->minWidth = std::uint16_t(c.minAfter);
        const int x = sash->x, right = pane[1]->x + pane[1]->width;
        Button(sash, 1, 1, true);
        Move(sash, 1 + c.drag, 1);
        Button(sash, 1 + c.drag - (sash->x - x), 1, false);
        EXPECT_EQ(sash->x - x, c.moved) << c.drag << " " << c.minAfter;
        EXPECT_EQ(pane[0]->width, 100 + c.moved);
        EXPECT_EQ(pane[1]->width, 100 - c.moved);
        EXPECT_EQ(pane[1]->x + pane[1]->width, right);
        EXPECT_EQ(WkGetGrab(), nullptr);
        Stop(), Start(), WkInitFormClass();
    }
}

TEST_F(SashTest, AtEitherEndNothingMoves) {
    for (int place : {0, 2}) {
        Build(WK_FORM_HORIZONTAL, place);
        const int before[] = {pane[0]->width, pane[1]->width, sash->x};
        Button(sash, 1, 1, true);
        Move(sash, place ? -30 : 30, 1);
        Button(sash, place ? -30 : 30, 1, false);
        EXPECT_EQ(std::vector<int>(before, before + 3), (std::vector<int>{pane[0]->width, pane[1]->width, sash->x}));
        Stop(), Start(), WkInitFormClass();
    }
}

TEST_F(SashTest, VerticalFormMovesHeights) {
    Build(WK_FORM_VERTICAL);
    EXPECT_EQ(sash->cursor, 5);
    EXPECT_GT(sash->width, 4);
    pane[0]->minHeight = pane[1]->minHeight = 0;
    const int y = sash->y;
    Button(sash, 1, 1, true);
    Move(sash, 1, 21);
    Button(sash, 1, 1, false);
    EXPECT_EQ(sash->y - y, 20);
    EXPECT_EQ(pane[0]->height, 120);
    EXPECT_EQ(pane[1]->height, 80);
}

TEST_F(SashTest, PictureOfTwoPanesAfterADrag) {
    Build(WK_FORM_HORIZONTAL);
    wt::Paint(pane[0], 200, 220, 255);
    wt::Paint(pane[1], 255, 230, 200);
    pane[1]->minWidth = 0;
    Button(sash, 1, 1, true);
    Move(sash, 41, 1);
    Button(sash, 1, 1, false);
    EXPECT_EQ(pane[0]->width, 140);
    EXPECT_EQ(At(pane[0], 139, 10), Rgb(pane[0]->background));
    EXPECT_EQ(At(pane[1], 0, 10), Rgb(pane[1]->background));
    SavePng(shell, "sash.png");
}

} // namespace
