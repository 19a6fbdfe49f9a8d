#include "toolkit/widgets/header_table.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/form_attach.h"
#include "toolkit/widgets/form_scroll.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/scroll_bar.h"
#include "toolkit/widgets/table_cells.h"
#include "input_fixture.h"

#include <cstdio>
#include <vector>

namespace {

class HeaderTable : public wt::InputTest {
protected:
    void SetUp() override {
        wt::InputTest::SetUp();
        shell = Window();
    }
    WkTableData* Record(WkObject* t) { return WkFormRecord(t)->table; }
    // Cells of the given widths (one per column, repeated row by row).
    void Fill(WkObject* t, const std::vector<int>& widths, int cells, std::uint16_t layout = 0) {
        for (int i = 0; i < cells; ++i)
            cellsMade.push_back(wt::MakeLeaf(t, widths[i % widths.size()], 12, layout));
    }
    WkObject* shell = nullptr;
    std::vector<WkObject*> cellsMade;
};

TEST_F(HeaderTable, CellsGoToTheirTablesAndHeadingsWidenTheirColumns) {
    WkObject* t = WkCreateHeaderTableForm(shell, 5, 400, 200, 1, 0);
    Fill(t, {40, 10, 10, 10, 10}, 5);  // the heading row
    Fill(t, {20, 30, 10, 10, 10}, 10); // two body rows
    Show(shell);
    WkTableData* r = Record(t);
    EXPECT_EQ(r->corner, nullptr);
    EXPECT_EQ(WkFormGetChildCount(r->headingRowTable), 5);
    EXPECT_EQ(WkFormGetChildCount(r->body), 10);
    EXPECT_EQ(cellsMade[4]->parent, r->headingRowTable);
    EXPECT_EQ(cellsMade[5]->parent, r->body);
    // Column 0 is as wide as its heading, column 1 as its body cells.
    EXPECT_EQ(WkFormRecord(r->body)->table->columnSlots[0].size, 40);
    EXPECT_EQ(WkFormRecord(r->headingRowTable)->table->columnSlots[1].size, 30);
    EXPECT_EQ(r->body->width, r->headingRowTable->width);
    struct Case {
        int column, row;
        int cell; // -1: none
    } cases[] = {{0, 0, 0}, {4, 0, 4}, {0, 1, 5}, {4, 2, 14}, {0, 3, -1}, {5, 1, -1}, {0, -1, -1}, {-1, 1, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(WkTableGetCell(t, c.column, c.row), c.cell < 0 ? nullptr : cellsMade[c.cell]) << c.column << c.row;
    // The body is narrower than its view: no horizontal bar, and its row takes no height.
    WkObject* bar = WkFormGetHorizontalScrollBar(r->bodyView);
    EXPECT_FALSE(bar->state & WK_STATE_SHOWN);
    EXPECT_EQ(r->rowSlots[r->rows - 1].size, 0);
    WkTableDeleteRows(t, 1, 10);
    EXPECT_EQ(WkFormGetChildCount(r->body), 5);
}

TEST_F(HeaderTable, TheHeadingRowScrollsSidewaysWithTheBody) {
    WkObject* t = WkCreateHeaderTableForm(shell, 6, 100, 60, 1, 1);
    Fill(t, {30}, 6 * 8, WK_LAYOUT_FOCUSABLE | WK_LAYOUT_SCROLL_INTO_VIEW);
    Show(shell);
    WkTableData* r = Record(t);
    WkObject* horizontal = WkFormGetHorizontalScrollBar(r->bodyView);
    WkObject* vertical = WkFormGetVerticalScrollBar(r->bodyView);
    ASSERT_TRUE(horizontal->state & WK_STATE_SHOWN);
    ASSERT_TRUE(vertical->state & WK_STATE_SHOWN);
    struct Case {
        int x, y;
    } cases[] = {{20, 0}, {45, 30}, {1000, 1000}};
    for (const Case& c : cases) {
        WkScrollBarSetValue(horizontal, c.x);
        WkScrollBarSetValue(vertical, c.y);
        EXPECT_EQ(WkFormGetScrollX(r->headingRowView), WkFormGetScrollX(r->bodyView));
        EXPECT_EQ(WkFormGetScrollY(r->headingColumnView), WkFormGetScrollY(r->bodyView));
        EXPECT_EQ(WkFormGetScrollX(r->bodyView), WkScrollBarGetValue(horizontal));
    }
    EXPECT_GT(WkFormGetScrollY(r->bodyView), 0);
    // A heading cell out of view taking the focus scrolls the body, and the headings with it.
    WkScrollBarSetValue(horizontal, 0);
    WkObjectSetFocus(cellsMade[5]);
    EXPECT_GT(WkFormGetScrollX(r->bodyView), 0);
    EXPECT_EQ(WkFormGetScrollX(r->headingRowView), WkFormGetScrollX(r->bodyView));
}

TEST_F(HeaderTable, Picture) {
    WkObject* t = WkCreateHeaderTableForm(shell, 21, 300, 200, 1, 1);
    char text[16];
    for (int row = 0; row <= 40; ++row)
        for (int column = 0; column <= 20; ++column) {
            if (row == 0) std::snprintf(text, sizeof text, "C%d", column);
            else if (column == 0) std::snprintf(text, sizeof text, "R%d", row);
            else std::snprintf(text, sizeof text, "%d.%d", row, column);
            WkCreateLabel(t, text, 0);
        }
    WkTableGridOn(t);
    Show(shell);
    WkTableData* r = Record(t);
    WkScrollBarSetValue(WkFormGetHorizontalScrollBar(r->bodyView), 120);
    WkScrollBarSetValue(WkFormGetVerticalScrollBar(r->bodyView), 200);
    WkFlushEvents();
    SavePng(shell, "header_table.png");
    ExpectPicture(shell, "header_table.png");
}

} // namespace
