#include "toolkit/widgets/form.h"

#include "toolkit/core/bmp_writer.h"
#include "toolkit/core/draw_image.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/startup.h"
#include "toolkit/widgets/form_layout.h"
#include "widget_fixture.h"

namespace {

using wt::MakeLeaf;

class Forms : public wt::WidgetTest {
protected:
    // Measures the form, then gives it a size (-1 keeps the measured one).
    void Lay(WkObject* form, int width = -1, int height = -1) {
        WkFormQuerySize(form);
        WkFormPlaceChildren(form, width < 0 ? form->width : width, height < 0 ? form->height : height);
    }
};

// Border 1 and spacing 3 throughout: children start at 4.
TEST_F(Forms, AVerticalFormSharesItsSpareHeight) {
    struct Case {
        std::uint16_t grow[3];
        int formHeight, heights[3], ys[3];
    } cases[] = {
        {{0, 0, 0}, 74, {10, 10, 10}, {9, 32, 55}},                  // equal cells of 20, centred
        {{0, WK_LAYOUT_GROW_Y, 0}, 74, {10, 40, 10}, {4, 17, 60}}, // one takes all
        {{WK_LAYOUT_GROW_Y, WK_LAYOUT_GROW_Y, WK_LAYOUT_GROW_Y}, 54, {13, 13, 14}, {4, 20, 36}}, // 10 over 3
    };
    for (const Case& c : cases) {
        WkObject* form = Form(WK_FORM_VERTICAL);
        WkObject* leaves[3];
        for (int i = 0; i < 3; ++i) leaves[i] = MakeLeaf(form, 20 + 10 * i, 10, c.grow[i]);
        Lay(form);
        EXPECT_EQ(form->width, 48);
        EXPECT_EQ(form->height, 44);
        Lay(form, 108, c.formHeight);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(leaves[i]->height, c.heights[i]) << i;
            EXPECT_EQ(leaves[i]->y, c.ys[i]) << i;
            EXPECT_EQ(leaves[i]->x, (108 - leaves[i]->width) / 2) << i;
        }
    }
}

TEST_F(Forms, ASqueezedChainStopsAtMinimumsForThreePasses) {
    struct Case {
        int min[2], widths[2];
    } cases[] = {
        {{10, 35}, {15, 35}}, // the second stops at its minimum, the second pass takes the rest from the first
        {{38, 38}, {38, 38}}, // both stop; what is left over is not given out
    };
    for (const Case& c : cases) {
        WkObject* form = Form(WK_FORM_HORIZONTAL);
        WkObject* a = MakeLeaf(form, 40, 10, WK_LAYOUT_GROW_X | WK_LAYOUT_MIN_WIDTH);
        WkObject* b = MakeLeaf(form, 40, 10, WK_LAYOUT_GROW_X | WK_LAYOUT_MIN_WIDTH);
        a->minWidth = std::uint16_t(c.min[0]), b->minWidth = std::uint16_t(c.min[1]);
        Lay(form);
        EXPECT_EQ(form->width, 91);
        EXPECT_EQ(form->minWidth, 3 + c.min[0] + 3 + c.min[1] + 3 + 2);
        Lay(form, 61);
        EXPECT_EQ(a->width, c.widths[0]);
        EXPECT_EQ(b->width, c.widths[1]);
        EXPECT_EQ(b->x, 4 + a->width + 3);
    }
}

TEST_F(Forms, ATableFillsRowsAndSharesSpareAmongColumns) {
    WkObject* form = Form(WK_FORM_TABLE, 2);
    const int sizes[5][2] = {{20, 10}, {30, 12}, {25, 8}, {10, 10}, {15, 10}};
    WkObject* leaves[5];
    for (int i = 0; i < 5; ++i) leaves[i] = MakeLeaf(form, sizes[i][0], sizes[i][1]);
    Lay(form);
    // Columns 25 and 30 wide, rows 12, 10, 10.
    EXPECT_EQ(form->width, 3 + 25 + 3 + 30 + 3 + 2);
    EXPECT_EQ(form->height, 3 + 12 + 3 + 10 + 3 + 10 + 3 + 2);
    Lay(form, 86);
    WkTableData* t = WkFormRecord(form)->table;
    EXPECT_EQ(t->rows, 3);
    EXPECT_EQ(t->columnSlots[0].size, 35);
    EXPECT_EQ(t->columnSlots[1].size, 40);
    const int places[5][2] = {{11, 5}, {47, 4}, {9, 20}, {57, 19}, {14, 32}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(leaves[i]->x, places[i][0]) << i;
        EXPECT_EQ(leaves[i]->y, places[i][1]) << i;
    }
    WkTableSetColumns(form, 5);
    Lay(form);
    EXPECT_EQ(leaves[4]->y, 5);
    EXPECT_EQ(WkTableGetColumns(form), 5);
}

TEST_F(Forms, EmptyFormsMeasureTheirBorderAndATableItsSpacing) {
    for (int kind = 0; kind <= 3; ++kind) {
        WkObject* form = Form(kind);
        form->shadowWidth = 2, form->outerShadowWidth = 1;
        Lay(form);
        int expected = (kind == WK_FORM_TABLE ? 3 : 0) + 6;
        EXPECT_EQ(form->width, expected) << kind;
        EXPECT_EQ(form->height, expected) << kind;
    }
}

// Two leaves of 40 and 50 by 10 side by side: they need 101 by 18.
TEST_F(Forms, AFixedSizeTooSmallForTheChildrenGrowsToThem) {
    struct Case {
        int width, height;
        bool wrapper; // a composite's outer form keeps its size
        int grownWidth, grownHeight;
    } cases[] = {
        {200, 30, false, 200, 30},
        {60, 30, false, 101, 30},
        {200, 5, false, 200, 18},
        {60, 5, true, 60, 5},
    };
    for (const Case& c : cases) {
        WkObject* form = Form(WK_FORM_HORIZONTAL);
        MakeLeaf(form, 40, 10);
        MakeLeaf(form, 50, 10);
        WkObjectSetSize(form, c.width, c.height);
        if (c.wrapper) form->layout |= WK_LAYOUT_OUTER_WRAPPER;
        Lay(form);
        EXPECT_EQ(form->width, c.grownWidth) << c.width << " " << c.height;
        EXPECT_EQ(form->height, c.grownHeight) << c.width << " " << c.height;
        EXPECT_EQ(form->minWidth, c.grownWidth);
    }
}

TEST_F(Forms, ChainsThatReachNoEdgeOrLoopOrOverflow) {
    WkObject* form = Form(WK_FORM_ATTACHMENT);
    WkObject* loose = MakeLeaf(form, 10, 10);
    loose->attachLeft = WK_ATTACH_NONE;
    Lay(form, 100, 100);
    EXPECT_EQ(loose->x, -1);
    EXPECT_EQ(loose->y, 4);

    WkObject* ring = Form(WK_FORM_ATTACHMENT);
    WkObject* a = MakeLeaf(ring, 10, 10);
    WkObject* b = MakeLeaf(ring, 20, 10);
    a->attachRight = b->attachRight = b->attachLeft = WK_ATTACH_SIBLING;
    a->siblingRight = 1, b->siblingRight = 0, b->siblingLeft = 0;
    Lay(ring);
    EXPECT_EQ(b->attachRight, WK_ATTACH_EDGE); // the link back to the first is cut
    EXPECT_EQ(ring->width, 3 + 10 + 3 + 20 + 3 + 2);

    WkObject* tall = Form(WK_FORM_VERTICAL);
    MakeLeaf(tall, 10, 70000);
    Lay(tall);
    EXPECT_EQ(tall->height, 70000 + 8);
    EXPECT_EQ(tall->minHeight, 65535);
}

TEST_F(Forms, RemovingAChildMendsTheChain) {
    WkObject* form = Form(WK_FORM_VERTICAL);
    WkObject* leaves[3];
    for (int i = 0; i < 3; ++i) leaves[i] = MakeLeaf(form, 10, 10);
    WkObjectRemoveFromParent(leaves[1], 1);
    Lay(form);
    EXPECT_EQ(WkFormCurrentPage(form)->count, 2);
    EXPECT_EQ(leaves[2]->siblingTop, 0);
    EXPECT_EQ(leaves[0]->siblingBottom, 1);
    EXPECT_EQ(leaves[2]->y, 4 + 10 + 3);
    EXPECT_EQ(leaves[1]->parent, nullptr);
    WkObjectDestroy(leaves[1]);
}

TEST_F(Forms, APageRefusesChildrenBeyondItsIndexRange) {
    WkObject* form = Form(WK_FORM_ATTACHMENT);
    WkObject* base = MakeLeaf(nullptr, 1, 1);
    for (int i = 0; i < WK_FORM_MAX_CHILDREN; ++i) WkAddChild(form, base);
    WkObject* extra = MakeLeaf(form, 1, 1);
    EXPECT_EQ(WkFormCurrentPage(form)->count, WK_FORM_MAX_CHILDREN);
    EXPECT_EQ(extra->parent, nullptr);
    WkFormCurrentPage(form)->count = 0; // the one object stood in every slot
    WkObjectDestroy(base);
    WkObjectDestroy(extra);
}

TEST_F(Forms, ChildSpacingComesFromTheSettingsWhenInRange) {
    for (auto [value, spacing] : {std::pair{0, 3}, {21, 3}, {7, 7}}) {
        Stop();
        Start("[Form]\r\nchildSpacing=" + std::to_string(value) + "\r\n");
        EXPECT_EQ(WkFormRecord(Form(WK_FORM_VERTICAL))->spacing, spacing) << value;
    }
}

TEST_F(Forms, ToolkitBitmapsLoadOnceAndMissingOnesStayEmpty) {
    BmpSpec spec;
    spec.width = 2, spec.height = 2, spec.bits = 1;
    spec.palette = {0x000000, 0xFFFFFF};
    spec.pixels = {0x40, 0, 0, 0, 0x80, 0, 0, 0};
    std::vector<std::uint8_t> bytes = BmpBytes(spec);
    std::ofstream(wt::Folder() + "/sbup.bmp", std::ios::binary).write(reinterpret_cast<char*>(bytes.data()),
                                                                       std::streamsize(bytes.size()));
    WkImage* missing = nullptr;
    WkLoadToolkitBitmap(wt::Folder().c_str(), "nosuch.bmp", &missing, 1);
    EXPECT_EQ(missing, nullptr);
    WkImage* slot = nullptr;
    WkLoadToolkitBitmap(wt::Folder().c_str(), "sbup.bmp", &slot, 1);
    ASSERT_NE(slot, nullptr);
    WkImage* first = slot;
    WkLoadToolkitBitmap(wt::Folder().c_str(), "sbup.bmp", &slot, 1);
    EXPECT_EQ(slot, first);
    EXPECT_TRUE(slot->deviceBitmapMade);
    int r, g, b;
    WkImageGetPaletteEntry(slot, 1, &r, &g, &b);
    EXPECT_EQ(r, 192); // the default background
    EXPECT_EQ(WkImageGetAlpha(slot, 0, 0), 0);
    WkImageFreeDeviceBitmap(slot);
    WkFreeImage(slot);
    // The class set-up finds it among the stock bitmaps.
    Form(WK_FORM_VERTICAL);
    EXPECT_NE(WkStockBitmap(WK_BMP_SCROLL_UP), nullptr);
    EXPECT_EQ(WkStockBitmap(WK_BMP_SCROLL_DOWN), nullptr);
    std::filesystem::remove(wt::Folder() + "/sbup.bmp");
}

TEST_F(Forms, FourKindsOfFormsInOneWindow) {
    WkObject* shell = Window();
    WkObject* main = WkFormOf(shell);
    ASSERT_NE(main, nullptr);
    WkFormSetKind(main, WK_FORM_HORIZONTAL);
    WkObject* vertical = WkCreateVerticalForm(shell);
    wt::Paint(MakeLeaf(vertical, 40, 20), 40, 40, 160);
    wt::Paint(MakeLeaf(vertical, 60, 20, WK_LAYOUT_GROW_Y), 200, 40, 40);
    wt::Paint(MakeLeaf(vertical, 30, 20), 40, 40, 160);
    WkObject* horizontal = WkCreateHorizontalForm(shell);
    wt::Paint(MakeLeaf(horizontal, 20, 50, WK_LAYOUT_GROW_X), 40, 160, 40);
    wt::Paint(MakeLeaf(horizontal, 20, 30), 40, 40, 160);
    WkObject* table = WkCreateTableForm(shell, 3);
    WkTableGridOn(table);
    for (int i = 0; i < 7; ++i) wt::Paint(MakeLeaf(table, 10 + 6 * i, 12 + 2 * (i % 3)), 40, 40, 60 + 25 * i);
    WkObject* attached = WkCreateAttachmentForm(shell);
    wt::Paint(MakeLeaf(attached, 30, 30), 220, 200, 40);
    WkObject* corner = MakeLeaf(attached, 20, 20);
    wt::Paint(corner, 40, 200, 220);
    corner->attachLeft = WK_ATTACH_NONE, corner->attachRight = WK_ATTACH_EDGE;
    corner->attachTop = WK_ATTACH_NONE, corner->attachBottom = WK_ATTACH_EDGE;
    WkShellRealizeWithGeometry(shell, 0, 0, 420, 140);
    WkFlushEvents();
    EXPECT_GT(vertical->height, 100); // grown to the window's height by its red child
    plat::Surface& s = *display->surface(WkObjectGetNativeWindow(shell));
    WkObject* red = WkFormCurrentPage(vertical)->children[1];
    EXPECT_EQ(s.colorAt(vertical->x + red->x + 5, vertical->y + red->y + red->height - 1), plat::MakeRgb(200, 40, 40));
    EXPECT_EQ(s.colorAt(table->x + 2, table->y + 2), plat::MakeRgb(0, 0, 0)); // the grid's corner
    EXPECT_TRUE(display->saveWindowPng(WkObjectGetNativeWindow(shell), std::string(TM_TEST_OUTPUT_DIR) +
                                                                            "/forms_layout.png"));
}

// Transparent forms nested in each other show the window's picture, drawn
// once below them all; a transparent form that a sibling before it drew
// over still clears what it covers.
TEST_F(Forms, TransparentFormsShowTheWindowsPictureAndClearASiblingsDrawing) {
    WkObject* shell = Window();
    WkObject* main = WkFormOf(shell);
    WkFormSetKind(main, WK_FORM_HORIZONTAL);
    WkImage* tile = WkCreateImage(2, 2, 24);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) WkImageSetPixelRGB(tile, x, y, 100 + 50 * x, 60 + 80 * y, 20);
    WkObjectSetBackgroundImage(main, tile, WK_IMAGE_TILED);
    WkObject* outer = WkCreateVerticalForm(main);
    WkObject* inner = WkCreateVerticalForm(outer);
    wt::Paint(MakeLeaf(inner, 20, 20), 200, 40, 40);
    WkObject* attached = WkCreateAttachmentForm(main);
    wt::Paint(MakeLeaf(attached, 60, 60), 40, 40, 200); // under the form after it, which fills the same place
    WkObject* over = WkCreateVerticalForm(attached);
    wt::Paint(MakeLeaf(over, 10, 10), 40, 200, 40);
    for (WkObject* form : {outer, inner, attached, over}) WkObjectSetTransparent(form);
    WkShellRealizeWithGeometry(shell, 0, 0, 300, 120);
    WkFlushEvents();
    const plat::Surface& s = *display->surface(WkObjectGetNativeWindow(shell));
    const auto tileAt = [](int x, int y) { return plat::MakeRgb(100 + 50 * (x % 2), 60 + 80 * (y % 2), 20); };
    struct Point {
        WkObject* form;
        int x, y; // from the form's bottom right corner
    };
    for (const Point& p : {Point{inner, 2, 2}, Point{outer, 2, 3}, Point{over, 3, 2}, Point{over, 1, 1}}) {
        int x = p.form->width - p.x, y = p.form->height - p.y;
        for (WkObject* o = p.form; o != main; o = o->parent) x += o->x, y += o->y;
        EXPECT_EQ(s.colorAt(x, y), tileAt(x, y)) << x << ", " << y;
    }
    WkObjectSetBackgroundImage(main, nullptr, WK_IMAGE_TILED); // the picture stays the caller's
    WkFreeImage(tile);
}

} // namespace
