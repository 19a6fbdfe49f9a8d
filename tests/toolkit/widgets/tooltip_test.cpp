// Tooltips and status hints on the virtual clock with injected pointer input.
#include "toolkit/widgets/tooltip.h"

#include "input_fixture.h"
#include "tooltip_window.h"

namespace {

class TooltipTest : public wt::InputTest {
protected:
    void SetUp() override {
        InputTest::SetUp();
        w = wt::MakeTooltipWindow();
        owned.push_back(w.shell);
        WkFlushEvents();
    }
    void Enter() { Move(w.other, 5, 5), Move(w.button, 5, 5); }
    static int DestroyHandlers(WkObject* o) {
        int n = 0;
        for (WkEventHandler* h = o->handlers; h; h = h->next) n += (h->maskOrKey & WkMessageBit(WK_MSG_DESTROY)) != 0;
        return n;
    }
    wt::TooltipWindow w{};
};

TEST_F(TooltipTest, TimesAreClampedAndOneDestroyHandlerServesBoth) {
    struct Case { int delay, duration, wantDelay, wantDuration; };
    for (Case c : {Case{0, 100, 100, 500}, Case{40000, 40000, 30000, 30000}, Case{250, 800, 250, 800}}) {
        WkObjectSetTooltip(w.button, "text", c.delay, c.duration);
        EXPECT_EQ(w.button->tooltip->delay, c.wantDelay);
        EXPECT_EQ(w.button->tooltip->duration, c.wantDuration);
    }
    WkObjectSetStatusHint(w.other, nullptr, w.status); // a hint without text, then a tooltip
    WkObjectSetTooltip(w.other, "tip", 0, 0);
    WkObjectSetStatusHint(w.button, "hint", w.status); // a tooltip, then a hint
    EXPECT_STREQ(w.other->tooltip->statusText, "");
    for (WkObject* o : {w.other, w.button, w.status}) EXPECT_EQ(DestroyHandlers(o), 1);
    WkObjectSetHintTexts(w.button, "both");
    EXPECT_STREQ(WkLabelGetText(w.button->tooltip->label), "both");
    EXPECT_STREQ(w.button->tooltip->statusText, "both");
}

TEST_F(TooltipTest, ShowsAfterARestBesideThePointerAndHides) {
    Enter();
    for (int i = 0; i < 40; ++i) { // two seconds of motion every 50 ms
        Advance(50);
        Move(w.button, 5 + i % 7, 5);
        ASSERT_FALSE(wt::TipShown(w.button)) << i;
    }
    Advance(wt::kTipDelay - 50);
    EXPECT_FALSE(wt::TipShown(w.button));
    Advance(50);
    ASSERT_TRUE(wt::TipShown(w.button));
    int x, y;
    ScreenPoint(w.button, 5 + 39 % 7, 5, &x, &y);
    EXPECT_EQ(w.button->tooltip->popup->x, x + 8);
    EXPECT_EQ(w.button->tooltip->popup->y, y + 10);
    EXPECT_TRUE(w.field->state & WK_STATE_FOCUS);
    EXPECT_TRUE(display->saveScreenPng(std::string(TM_TEST_OUTPUT_DIR) + "/tooltip.png"));

    Button(w.button, 6, 5, true); // a press hides at once
    EXPECT_FALSE(wt::TipShown(w.button));
    Button(w.button, 6, 5, false);
    Enter();
    Advance(wt::kTipDelay);
    Advance(wt::kTipDuration - 50);
    EXPECT_TRUE(wt::TipShown(w.button));
    Advance(50); // the duration is over
    EXPECT_FALSE(wt::TipShown(w.button));
    EXPECT_EQ(w.button->tooltip->timer, 0);
    Enter(); // leaving while waiting
    Move(w.other, 5, 5);
    Advance(wt::kTipDelay);
    EXPECT_FALSE(wt::TipShown(w.button));
    EXPECT_EQ(w.button->tooltip->timer, 0);
}

TEST_F(TooltipTest, StatusHintFillsAndEmptiesTheTargetUntilItIsDestroyed) {
    WkObjectSetStatusHint(w.other, "Closes the window", w.status);
    WkObjectSetStatusHint(w.field, "Round", w.status);
    for (const char* want : {"Closes the window", ""}) {
        want[0] ? Move(w.other, 5, 5) : Move(w.button, 5, 5);
        EXPECT_STREQ(WkLabelGetText(w.status), want);
    }
    WkObjectDestroy(w.status); // every hint naming it forgets it
    EXPECT_EQ(w.other->tooltip->statusTarget, nullptr);
    EXPECT_EQ(w.field->tooltip->statusTarget, nullptr);
    Move(w.other, 5, 5), Move(w.field, 5, 5), Move(w.button, 5, 5);
}

TEST_F(TooltipTest, DestroyingTheObjectWhileShownTakesPopupAndTimeout) {
    WkObject* const* shells;
    const int before = WkLiveShells(&shells);
    Enter();
    Advance(wt::kTipDelay);
    ASSERT_TRUE(wt::TipShown(w.button));
    WkObjectDestroy(w.button);
    EXPECT_EQ(WkLiveShells(&shells), before - 1);
    Advance(wt::kTipDuration); // a hide timeout left behind would touch the freed record
}

} // namespace
