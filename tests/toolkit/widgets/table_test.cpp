#include "toolkit/widgets/table_cells.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/widgets/form_attach.h"
#include "input_fixture.h"

#include <vector>

namespace {

class Table : public wt::InputTest {
protected:
    // A plain table of leaves 10 x 10.
    WkObject* Plain(int columns, int cells) {
        WkObject* t = Form(WK_FORM_TABLE, columns);
        leaves.clear();
        for (int i = 0; i < cells; ++i) leaves.push_back(wt::MakeLeaf(t, 10, 10));
        return t;
    }
    std::vector<WkObject*> leaves;
};

TEST_F(Table, CellsAreFoundOnlyInsideTheTable) {
    WkObject* t = Plain(3, 8);
    struct Case {
        int column, row, leaf; // -1: none
    } cases[] = {{0, 0, 0}, {2, 1, 5}, {1, 2, 7}, {2, 2, -1}, {3, 0, -1}, {0, -1, -1}, {-1, 1, -1}, {0, 3, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(WkTableGetCell(t, c.column, c.row), c.leaf < 0 ? nullptr : leaves[c.leaf]) << c.column << c.row;
    EXPECT_EQ(WkTableGetCell(Form(WK_FORM_VERTICAL), 0, 0), nullptr);
}

TEST_F(Table, DeletingRowsStaysInsideTheTable) {
    struct Case {
        int first, count, rows;
        int firstLeafOfRow1; // -1: no row 1 left
    } cases[] = {{3, 10, 3, 2}, {7, 1, 5, 2}, {-1, 1, 5, 2}, {5, 1, 5, 2}, {1, 2, 3, 6}, {1, -1, 1, -1}, {0, -1, 0, -1}};
    for (const Case& c : cases) {
        WkObject* t = Plain(2, 10);
        std::vector<WkObject*> before = leaves;
        WkTableDeleteRows(t, c.first, c.count);
        EXPECT_EQ(WkFormRecord(t)->table->rows, c.rows) << c.first << " " << c.count;
        EXPECT_EQ(WkTableGetCell(t, 0, 1), c.firstLeafOfRow1 < 0 ? nullptr : before[c.firstLeafOfRow1]);
    }
    WkObject* t = Plain(2, 4);
    WkTableDeleteRow(t, 0);
    EXPECT_EQ(WkTableGetCell(t, 1, 0), leaves[3]);
    WkTableClear(t);
    EXPECT_EQ(WkFormGetChildCount(t), 0);
}

TEST_F(Table, RowHeightColumnWidthAndAlignment) {
    WkObject* t = Plain(3, 9);
    WkTableSetRowHeight(t, 1, 30);
    WkTableSetColumnWidth(t, 2, 25);
    WkTableSetRowHeight(t, 3, 40); // no such row
    WkResize(t, -1, -1);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(leaves[i]->height, i / 3 == 1 ? 30 : 10) << i;
        EXPECT_EQ(leaves[i]->width, i % 3 == 2 ? 25 : 10) << i;
    }
    struct Case {
        int h, v, hAlign, vAlign;
    } cases[] = {{2, 3, 2, 3}, {7, 4, 2, 4}, {0, 1, 0, 4}, {63, 63, 63, 63}};
    for (const Case& c : cases) {
        WkTableSetCellAlignment(t, 1, 1, c.h, c.v);
        EXPECT_EQ(leaves[4]->hAlign, c.hAlign);
        EXPECT_EQ(leaves[4]->vAlign, c.vAlign);
    }
    WkTableSetRowAlignment(t, 40, 1);
    EXPECT_EQ(WkFormRecord(t)->table->rowSlots[40].align, 1);
}

} // namespace
