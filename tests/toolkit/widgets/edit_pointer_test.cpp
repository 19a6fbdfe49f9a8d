#include "toolkit/core/fonts.h"
#include "toolkit/core/grab.h"
#include "toolkit/core/object_attrs.h"
#include "edit_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using EditPointer = et::EditField;

constexpr int kButton1 = 0x100, kShiftHeld = 0x1;

void Pointer(WkObject* field, int type, int x, int y, int state = 0, int button = 1) {
    WkMessage m;
    m.type = type;
    m.a = x, m.b = y, m.e = state, m.f = button;
    WkSendMessage(field, &m);
}

// The pixel where a column of a line starts (tabs not counted).
int ColumnX(WkObject* field, int column) {
    WkEditData* d = WkEditRecord(field);
    std::string head(WkEditGetText(field), std::size_t(column));
    return WkObjectBorder(field) + d->hMargin + WkTextWidth(head.c_str(), field->font) - d->xOffset;
}
int LineY(WkObject* field, int line) {
    WkEditData* d = WkEditRecord(field);
    if (!(d->flags & WK_EDIT_MULTI_LINE)) return field->height / 2;
    return WkObjectBorder(field) + d->vMargin + line * (WkFontHeight("M", field->font) + d->vMargin) + 1;
}

std::pair<int, int> Selection(WkObject* field) {
    int from, to;
    WkEditGetSelection(field, &from, &to);
    return {from, to};
}

TEST_F(EditPointer, ClicksCountWithinTheBlinkTimeout) {
    struct Click { int column, msBefore, state; };
    struct Case {
        const char* name;
        const char* text;
        int lines;
        std::vector<Click> clicks;
        std::pair<int, int> selection;
        int cursor;
    };
    const std::vector<Case> cases = {
        {"double selects the word", "a foo_1 b", 1, {{3, 0, 0}, {3, 100, 0}}, {2, 7}, 7},
        {"triple selects the line", "ab cd\nef", 3, {{1, 0, 0}, {1, 100, 0}, {1, 100, 0}}, {0, 6}, 6},
        {"a fourth does nothing", "ab cd\nef", 3, {{1, 0, 0}, {1, 100, 0}, {1, 100, 0}, {4, 100, 0}}, {0, 6}, 6},
        {"350 ms apart", "a foo_1 b", 1, {{3, 0, 0}, {4, 350, 0}}, {4, 4}, 4},
        {"shift extends", "a foo_1 b", 1, {{2, 0, 0}, {5, 350, kShiftHeld}}, {2, 5}, 5},
    };
    for (const Case& c : cases) {
        WkObject* f = WkCreateEditEx(form, c.text, 20, c.lines, 20, 0);
        Show();
        for (const Click& k : c.clicks) {
            et::Advance(k.msBefore);
            Pointer(f, WK_MSG_PRESS, ColumnX(f, k.column), LineY(f, 0), k.state);
            Pointer(f, WK_MSG_RELEASE, ColumnX(f, k.column), LineY(f, 0), k.state);
        }
        EXPECT_EQ(Selection(f), c.selection) << c.name;
        EXPECT_EQ(WkEditGetCursor(f), c.cursor) << c.name;
        EXPECT_TRUE(f->state & WK_STATE_FOCUS) << c.name;
        EXPECT_EQ(WkGetGrab(), nullptr) << c.name;
        WkObjectDestroy(f);
        et::Advance(400);
    }
}

TEST_F(EditPointer, DragSelectsUnderTheGrabAndOtherButtonsPaste) {
    WkObject* f = WkCreateEdit(form, "abcdefgh", 20, 0);
    Show();
    Pointer(f, WK_MSG_PRESS, ColumnX(f, 2), LineY(f, 0));
    EXPECT_EQ(WkGetGrab(), f);
    Pointer(f, WK_MSG_MOTION, ColumnX(f, 5), LineY(f, 0), kButton1);
    Pointer(f, WK_MSG_RELEASE, ColumnX(f, 5), LineY(f, 0));
    EXPECT_EQ(Selection(f), std::make_pair(2, 5));
    EXPECT_EQ(WkGetGrab(), nullptr);
    // Motion after the release extends nothing.
    Pointer(f, WK_MSG_MOTION, ColumnX(f, 7), LineY(f, 0), kButton1);
    EXPECT_EQ(Selection(f), std::make_pair(2, 5));
    display->injectClipboardFromOtherProgram("XY");
    et::Advance(400);
    Pointer(f, WK_MSG_PRESS, ColumnX(f, 1), LineY(f, 0), 0, 2);
    EXPECT_STREQ(WkEditGetText(f), "aXYbcdefgh");
    // A field that refuses the focus beeps.
    WkObjectRefuseFocus(f);
    int beeps = display->beepCount();
    Pointer(f, WK_MSG_PRESS, ColumnX(f, 1), LineY(f, 0));
    EXPECT_EQ(display->beepCount() - beeps, 1);
}

TEST_F(EditPointer, FixedPitchClicksLandOnTheirColumns) {
    WkFontSlot font = 1;
    ASSERT_EQ(WkCharWidth('W', font), WkCharWidth('l', font));
    WkObject* one = WkCreateEdit(form, "Wil_mx.", 20, font);
    WkObject* two = WkCreateMultiLineEdit(form, "abcd\nWl.:", 20, 2, font);
    Show();
    for (WkObject* f : {one, two}) {
        const int lines = WkEditRecord(f)->lastLine + 1;
        for (int line = 0; line < lines; ++line) {
            for (int column = 0; column <= 4; ++column) {
                et::Advance(400);
                int x = WkObjectBorder(f) + WkEditRecord(f)->hMargin + column * WkCharWidth('W', font);
                Pointer(f, WK_MSG_PRESS, x, LineY(f, line));
                Pointer(f, WK_MSG_RELEASE, x, LineY(f, line));
                int col, ln;
                WkEditGetCursorPosition(f, &col, &ln);
                EXPECT_EQ(std::make_pair(col, ln), std::make_pair(column, line));
            }
        }
    }
    // The operation that places the cursor by column and line agrees.
    WkEditSetCursorAt(two, 3, 1);
    EXPECT_EQ(WkEditGetCursor(two), 8);
}

} // namespace
