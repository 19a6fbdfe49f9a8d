#include "toolkit/core/fonts.h"
#include "toolkit/core/grab.h"
#include "toolkit/core/object_attrs.h"
#include "edit_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using EditPointer = et::EditField;

constexpr int kButton1 = 0x100, kShiftHeld = 0x1;

void Pointer(WkObject* field, int type, int x, int y, int state = 0, int button = 1) {
    WkMessage m;
    m.type = type;
    WkSetPointerPosition(&m, x, y);
    WkSetPointerState(&m, state);
    WkSetPointerButton(&m, button);
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

constexpr int kClick = 0; // a press and a release

TEST_F(EditPointer, ClicksDragsAndOtherButtons) {
    struct Step { int type, column, msBefore, state = 0, button = 1; };
    struct Case {
        const char* name;
        const char* text;
        int lines;
        std::vector<Step> steps;
        std::pair<int, int> selection;
        const char* want = nullptr;
    };
    const std::vector<Case> cases = {
        {"double selects the word", "a foo_1 b", 1, {{kClick, 3, 0}, {kClick, 3, 100}}, {2, 7}},
        {"triple selects the line", "ab cd\nef", 3, {{kClick, 1, 0}, {kClick, 1, 100}, {kClick, 1, 100}}, {0, 6}},
        {"a fourth does nothing", "ab cd\nef", 3,
         {{kClick, 1, 0}, {kClick, 1, 100}, {kClick, 1, 100}, {kClick, 4, 100}}, {0, 6}},
        {"350 ms apart", "a foo_1 b", 1, {{kClick, 3, 0}, {kClick, 4, 350}}, {4, 4}},
        {"shift extends", "a foo_1 b", 1, {{kClick, 2, 0}, {kClick, 5, 350, kShiftHeld}}, {2, 5}},
        {"drag", "abcdefgh", 1, {{WK_MSG_PRESS, 2, 0}, {WK_MSG_MOTION, 5, 0, kButton1}, {WK_MSG_RELEASE, 5, 0}}, {2, 5}},
        {"motion after the release", "abcdefgh", 1,
         {{kClick, 2, 0}, {WK_MSG_MOTION, 5, 0, kButton1}}, {2, 2}},
        {"another button pastes", "abc", 1, {{WK_MSG_PRESS, 1, 0, 0, 2}}, {3, 3}, "aXYbc"},
    };
    display->injectClipboardFromOtherProgram("XY");
    Show();
    for (const Case& c : cases) {
        WkObject* f = WkCreateEditEx(form, c.text, 20, c.lines, 20, 0);
        for (const Step& k : c.steps) {
            et::Advance(k.msBefore);
            for (int type : k.type == kClick ? std::vector{WK_MSG_PRESS, WK_MSG_RELEASE} : std::vector{k.type})
                Pointer(f, type, ColumnX(f, k.column), LineY(f, 0), k.state, k.button);
        }
        EXPECT_EQ(Selection(f), c.selection) << c.name;
        EXPECT_EQ(WkEditGetCursor(f), c.selection.second) << c.name;
        EXPECT_STREQ(WkEditGetText(f), c.want ? c.want : c.text) << c.name;
        EXPECT_EQ(WkGetGrab(), nullptr) << c.name;
        EXPECT_EQ(bool(f->state & WK_STATE_FOCUS), c.steps[0].button == 1) << c.name;
        WkObjectDestroy(f);
        et::Advance(400);
    }
}

TEST_F(EditPointer, FixedPitchClicksLandOnTheirColumns) {
    WkFontSlot font = 1;
    const int w = WkCharWidth('W', font);
    ASSERT_EQ(w, WkCharWidth('l', font));
    WkObject* one = WkCreateEdit(form, "Wil_mx.", 20, font);
    WkObject* two = WkCreateMultiLineEdit(form, "abcd\nWl.:", 20, 2, font);
    Show();
    for (WkObject* f : {one, two}) {
        for (int line = 0; line <= WkEditRecord(f)->lastLine; ++line) {
            for (int column = 0; column <= 4; ++column) {
                et::Advance(400);
                Pointer(f, WK_MSG_PRESS, WkObjectBorder(f) + WkEditRecord(f)->hMargin + column * w, LineY(f, line));
                int col, ln;
                WkEditGetCursorPosition(f, &col, &ln);
                EXPECT_EQ(std::make_pair(col, ln), std::make_pair(column, line));
            }
        }
    }
    // Placing the cursor by column and line agrees.
    WkEditSetCursorAt(two, 3, 1);
    EXPECT_EQ(WkEditGetCursor(two), 8);
}

TEST_F(EditPointer, ReadOnlyFieldOpensItsPopupOnClickAndDown) {
    WkObject* f = WkCreateEdit(form, "abc", 20, 0);
    WkObject* popup = WkCreateShell("Popup", 0); // goes with the field
    WkObject* list = WkCreateEdit(popup, "", 5, 0);
    WkEditRecord(f)->popup = popup;
    WkEditSetReadOnly(f);
    Show();
    for (bool click : {true, false}) {
        click ? Pointer(f, WK_MSG_PRESS, ColumnX(f, 1), LineY(f, 0)) : Press(f, {WK_KEY_DOWN});
        EXPECT_TRUE(WkObjectDrawable(popup) && (list->state & WK_STATE_FOCUS)) << click;
        EXPECT_EQ(WkGetGrab(), WkFormOf(popup)) << click;
        EXPECT_EQ(WkEditGetCursor(f), 0);
        EXPECT_EQ(popup->x, shell->x + f->x + WkObjectBorder(shell));
        EXPECT_EQ(popup->width, f->width);
        WkPopGrab(nullptr);
        WkShellHide(popup);
    }
}

// How the field is entered decides what typing does: from the keyboard (Tab,
// Shift+Tab, Enter, the window opening on it) the whole text is selected and
// typed over; a click puts the caret where it falls, unless the field shows
// its placeholder; the program naming the field leaves the cursor alone.
TEST_F(EditPointer, EnteredByKeyTheTextIsTypedOverByClickTheCaretFalls) {
    // A toolkit started anew with an empty window: the window opening gives
    // its first field the focus.
    const auto NewWindow = [this] {
        Stop();
        Start();
        WkSetClock(et::VirtualClock);
        shell = Window();
        form = WkFormOf(shell);
    };
    enum Way { kTabFromBefore, kShiftTabFromAfter, kEnterFromBefore, kClickColumn2, kProgram, kOpening };
    struct Case {
        Way way;
        const char* text;
        bool placeholder = false, readOnly = false;
        std::pair<int, int> selection;
        const char* typed; // after "xy" is typed
    };
    const Case cases[] = {
        {kTabFromBefore, "hello", false, false, {0, 5}, "xy"},
        {kShiftTabFromAfter, "hello", false, false, {0, 5}, "xy"},
        {kEnterFromBefore, "hello", false, false, {0, 5}, "xy"},
        {kOpening, "hello", false, false, {0, 5}, "xy"},
        {kClickColumn2, "hello", false, false, {2, 2}, "hexyllo"},
        {kProgram, "hello", false, false, {0, 0}, "xyhello"},
        {kClickColumn2, "0", true, false, {0, 1}, "xy"}, // a placeholder: clicked, typed over still
        {kProgram, "0", true, false, {0, 1}, "xy"},
        {kClickColumn2, "01", true, false, {2, 2}, "01xy"}, // no longer showing it
        {kTabFromBefore, "hello", false, true, {0, 0}, "hello"}, // read-only: nothing to type over
        {kTabFromBefore, "", false, false, {0, 0}, "xy"},
    };
    for (const Case& c : cases) {
        NewWindow();
        WkObject* before = WkCreateEdit(form, "b", 20, 0);
        WkObject* f = WkCreateEdit(form, c.text, 20, 0);
        WkObject* after = WkCreateEdit(form, "a", 20, 0);
        if (c.way == kOpening) WkObjectRefuseFocus(before);
        if (c.placeholder) WkEditSetPlaceholder(f, "0");
        if (c.readOnly) WkEditSetReadOnly(f);
        Show();
        switch (c.way) {
        case kTabFromBefore: WkObjectSetFocus(before), Press(before, {WK_KEY_TAB}); break;
        case kShiftTabFromAfter: WkObjectSetFocus(after), Press(after, {et::kShift | WK_KEY_TAB}); break;
        case kEnterFromBefore: WkObjectSetFocus(before), Press(before, {WK_KEY_ENTER}); break;
        case kClickColumn2: WkObjectSetFocus(after), Pointer(f, WK_MSG_PRESS, ColumnX(f, std::min<int>(2, int(std::strlen(c.text)))), LineY(f, 0)), Pointer(f, WK_MSG_RELEASE, ColumnX(f, 2), LineY(f, 0)); break;
        case kProgram: WkObjectSetFocus(f); break;
        case kOpening: break; // the window gave its first field the focus as it opened
        }
        ASSERT_TRUE(f->state & WK_STATE_FOCUS) << c.way << c.text;
        EXPECT_EQ(Selection(f), c.selection) << c.way << " " << c.text;
        Press(f, {'x', 'y'});
        EXPECT_STREQ(WkEditGetText(f), c.typed) << c.way << " " << c.text;
    }
    // Passed through by Tab, a field keeps no highlighted text behind; a
    // selection made while it had the focus stays.
    NewWindow();
    WkObject* after = WkCreateEdit(form, "first", 20, 0);
    WkObject* passed = WkCreateEdit(form, "passed", 20, 0);
    WkCreateEdit(form, "last", 20, 0);
    Show();
    WkObjectSetFocus(after);
    Press(after, {WK_KEY_TAB});
    ASSERT_EQ(Selection(passed), std::make_pair(0, 6));
    Press(passed, {WK_KEY_TAB});
    EXPECT_EQ(Selection(passed), std::make_pair(6, 6));
    Press(WkFormGetFocus(shell), {et::kShift | WK_KEY_TAB});
    WkEditSelectRange(passed, 0, 3);
    Press(passed, {WK_KEY_TAB});
    EXPECT_EQ(Selection(passed), std::make_pair(0, 3));
}

// A preset goes whole with the first character typed or pasted, wherever
// the caret was put while the field held the focus; once the user changed
// it the field edits as any other, until the program gives it a text again.
TEST_F(EditPointer, AnUntouchedPresetIsTypedOverWhereverTheCaretStands) {
    constexpr int kPaste = 0x2F16 | et::kCtrl, kClickAt0 = -1, kRetext = -2;
    display->injectClipboardFromOtherProgram("42");
    const struct {
        const char* name;
        bool preset;
        std::vector<int> steps; // keys, a click at column 0 or the program's text "10" again
        const char* typed;      // after "5" is typed
    } cases[] = {
        {"focused, then clicked before it", true, {kClickAt0}, "5"},
        {"the caret moved by a key", true, {WK_KEY_HOME, WK_KEY_RIGHT}, "5"},
        {"pasted over", true, {kClickAt0, kPaste}, "425"},
        {"only the first character replaces it", true, {'7'}, "75"},
        {"changed by the user", true, {WK_KEY_END, WK_KEY_BACKSPACE}, "15"},
        {"given again by the program", true, {'7', kRetext, WK_KEY_END}, "5"},
        {"no preset: the caret's place", false, {kClickAt0}, "510"},
    };
    for (const auto& c : cases) {
        WkObject* f = WkCreateEdit(form, "10", 8, 0);
        WkEditSetPreset(f, c.preset);
        Show();
        WkObjectSetFocus(f);
        for (int step : c.steps) {
            if (step == kClickAt0) {
                et::Advance(WK_EDIT_BLINK_MS + 1); // a click of its own, not a double click
                Pointer(f, WK_MSG_PRESS, ColumnX(f, 0), LineY(f, 0));
                Pointer(f, WK_MSG_RELEASE, ColumnX(f, 0), LineY(f, 0));
            } else if (step == kRetext) {
                WkEditReplaceText(f, "10", 0, 0);
            } else {
                Press(f, {step});
            }
        }
        Press(f, {'5'});
        EXPECT_STREQ(WkEditGetText(f), c.typed) << c.name;
        WkObjectDestroy(f);
    }
}

} // namespace
