#include "toolkit/widgets/form_attach.h"

#include "toolkit/core/shell.h"
#include "toolkit/widgets/form_layout.h"
#include "widget_fixture.h"

namespace {

using wt::MakeLeaf;

class Attach : public wt::WidgetTest {
protected:
    void Lay(WkObject* form) { WkFormQuerySize(form); }
};

TEST_F(Attach, TiesPlaceChildrenAndComeUndone) {
    WkObject* form = Form(WK_FORM_ATTACHMENT);
    WkObject* a = MakeLeaf(form, 20, 10);
    WkObject* b = MakeLeaf(form, 20, 10);
    WkObjectAttachTop(b, WK_ATTACH_SIBLING, 5, a);
    Lay(form);
    EXPECT_EQ(a->attachBottom, WK_ATTACH_SIBLING);
    EXPECT_EQ(b->y, a->y + 10 + 5);
    WkObjectAttachTop(b, WK_ATTACH_EDGE, 7, nullptr);
    Lay(form);
    EXPECT_EQ(a->attachBottom, WK_ATTACH_NONE);
    EXPECT_EQ(b->y, 1 + 7);

    WkObject* column = Form(WK_FORM_VERTICAL);
    WkObject* first = MakeLeaf(column, 20, 10);
    WkObject* second = MakeLeaf(column, 20, 12);
    WkObjectDetach(second, 0, 0, 0, 0);
    Lay(column);
    EXPECT_EQ(second->x, -1);
    EXPECT_EQ(second->y, -1);
    EXPECT_EQ(first->y, 4);
}

TEST_F(Attach, MovingBeforeKeepsTheChainAndOtherPagesAreIgnored) {
    WkObject* column = Form(WK_FORM_VERTICAL);
    WkObject* first = MakeLeaf(column, 20, 10);
    WkObject* second = MakeLeaf(column, 20, 12);
    WkObjectMoveBefore(column, second, first);
    Lay(column);
    EXPECT_EQ(WkFormFirstChild(column), second);
    EXPECT_EQ(WkFormNextChild(column), first);
    EXPECT_EQ(WkFormNextChild(column), nullptr);
    EXPECT_EQ(second->y, 4);
    EXPECT_EQ(first->y, 4 + 12 + 3);
    EXPECT_EQ(column->height, 3 + 12 + 3 + 10 + 3 + 2);

    WkObject* paged = Form(WK_FORM_ATTACHMENT, 2);
    WkObject* here = MakeLeaf(paged, 10, 10);
    WkFormRecord(paged)->currentPage = 1;
    WkObject* there = MakeLeaf(paged, 10, 10);
    WkFormRecord(paged)->currentPage = 0;
    WkObjectAttachTop(here, WK_ATTACH_SIBLING, 5, there);
    EXPECT_EQ(here->attachTop, WK_ATTACH_EDGE);
    EXPECT_EQ(there->attachBottom, WK_ATTACH_NONE);
}

TEST_F(Attach, CompositesResolveToTheirFirstPart) {
    WkObject* form = Form(WK_FORM_VERTICAL);
    WkObject* wrapper = WkCreateHorizontalForm(form);
    wrapper->layout |= WK_LAYOUT_OUTER_WRAPPER;
    MakeLeaf(wrapper, 5, 5);
    WkObject* part = MakeLeaf(wrapper, 5, 5);
    part->state |= WK_STATE_PART;
    EXPECT_EQ(WkResolveComposite(wrapper), part);
    EXPECT_EQ(WkFormFirstChild(form), part);
    EXPECT_EQ(WkFormGetChildCount(wrapper), 2);
    part->state &= std::uint16_t(~WK_STATE_PART);
    EXPECT_EQ(WkResolveComposite(wrapper), wrapper);
}

std::vector<int> order, leafLog;
void First(WkObject*, std::intptr_t, void*) { order.push_back(1); }
void Second(WkObject*, std::intptr_t, void*) { order.push_back(2); }

TEST_F(Attach, AcceleratorsRunInOrderAndKeepTheKey) {
    WkObject* shell = Window();
    MakeLeaf(shell, 20, 20, WK_LAYOUT_FOCUSABLE, &leafLog);
    WkAddAccelerator(shell, WK_KEY_F1, First, nullptr);
    WkAddAccelerator(shell, WK_KEY_F1, Second, nullptr);
    WkShellRealize(shell);
    WkFlushEvents();
    display->injectKey(plat::KeyInfo{0, 0x3B, false, 0});
    display->injectKey(plat::KeyInfo{0, 0x3C, false, 0}); // F2: no accelerator, the leaf has it
    WkFlushEvents();
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_EQ(std::count(leafLog.begin(), leafLog.end(), WK_MSG_KEY), 1);
}

} // namespace
