#include "toolkit/widgets/edit_field.h"

#include "toolkit/core/clipboard.h"
#include "toolkit/core/fonts.h"
#include "toolkit/core/keys.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/core/event_loop.h"
#include "toolkit/core/shell.h"
#include "toolkit/widgets/combo_box.h"
#include "toolkit/widgets/spin_field.h"
#include "edit_fixture.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

using et::kCtrl;
using et::kShift;
using et::Rgb;
using et::virtualNow;

constexpr int kAlt0 = WK_KEY_ALT_0, kCopy = 0x2E03 | kCtrl, kCut = 0x2D18 | kCtrl, kPaste = 0x2F16 | kCtrl;

// Keys as (modifiers << 16) | code; a string stands for its typed characters.
std::vector<int> Keys(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}
std::vector<int> Typed(const char* s) {
    std::vector<int> out;
    for (; *s; ++s) out.push_back(static_cast<unsigned char>(*s));
    return out;
}

using EditField = et::EditField;

TEST_F(EditField, CreationRulesDecideLinesAndColumns) {
    struct Case { int columns, lines, visible; bool multi; int visibleColumns, visibleLines, capacity; };
    // The last: columns times lines past the longest text a field takes.
    for (const Case& c : {Case{10, 0, 10, false, 10, 1, 10}, Case{10, 1, -1, true, 10, 1, 10},
                          Case{10, 2, 4, true, 4, 2, 20}, Case{5, 1, 9, false, 5, 1, 5},
                          Case{INT_MAX, 2, 4, true, 4, 2, 2147483595}}) {
        WkObject* f = WkCreateEditEx(form, "x", c.columns, c.lines, c.visible, 0);
        WkEditData* d = WkEditRecord(f);
        EXPECT_EQ(bool(d->flags & WK_EDIT_MULTI_LINE), c.multi) << c.columns << "/" << c.lines;
        EXPECT_EQ(d->visibleColumns, c.visibleColumns);
        EXPECT_EQ(d->visibleLines, c.visibleLines);
        EXPECT_EQ(d->cursor, 0);
        EXPECT_EQ(d->store.capacity, c.capacity) << c.columns << "/" << c.lines;
        EXPECT_STREQ(WkEditGetText(f), "x");
        WkObjectDestroy(f);
    }
}

TEST_F(EditField, KeysEditTheText) {
    struct Case {
        const char* name;
        int columns, lines;
        const char* text;
        int filter;
        const char* extra;
        const char* clipboard;
        std::vector<int> keys;
        const char* want;
        int beeps;
    };
    // The display's clipboard is empty until a case fills it.
    const std::vector<Case> cases = {
        {"empty clipboard", 5, 1, "abc", 1, nullptr, nullptr, {kPaste}, "abc", 1},
        {"full at end", 3, 1, "abc", 1, nullptr, nullptr, Keys({{WK_KEY_END}, Typed("d")}), "abc", 1},
        {"full at 1", 3, 1, "abc", 1, nullptr, nullptr, Keys({{WK_KEY_RIGHT}, Typed("d")}), "abc", 1},
        {"selection replaced", 3, 1, "abc", 1, nullptr, nullptr, {WK_KEY_END | kShift, 'x'}, "x", 0},
        {"digits and extra", 9, 1, "", 4, "-", nullptr, Typed("1-2a"), "1-2", 1},
        {"sign at start only", 9, 1, "", 0x104, nullptr, nullptr, Typed("-1-"), "-1", 1},
        {"one point", 9, 1, "", 0x204, nullptr, nullptr, Typed("1.2."), "1.2", 1},
        {"fold, extras only", 9, 1, "", 0x401, "AB", nullptr, Typed("abc"), "AB", 1},
        {"everything", 9, 1, "", 1, nullptr, nullptr, Typed("a\xE9\xBD"), "a\xE9\xBD", 0},
        {"accented letters, not signs", 9, 1, "", 0x402, nullptr, nullptr, Typed("a\xBD\xE9"), "A\xC9", 1},
        {"M\xFCller upper-cased", 20, 1, "", 0x40A, nullptr, nullptr, Typed("M\xFCller \x9A" "a\xFF\xDF"),
         "M\xDCLLER \x8A" "A\x9F\xDF", 0},
        {"M\xFCller pasted", 20, 1, "", 0x40A, "'", "M\xFCller-\xF8", {kPaste}, "M\xDCLLER\xD8", 1},
        {"lower-cased", 9, 1, "", 0x802, nullptr, nullptr, Typed("\xC4\x8C\x9F"), "\xE4\x9C\xFF", 0},
        {"alt 065", 9, 1, "", 1, nullptr, nullptr, {kAlt0, kAlt0 + 6, kAlt0 + 5}, "A", 0},
        {"alt 65 left", 9, 1, "", 1, nullptr, nullptr, {kAlt0 + 6, kAlt0 + 5, WK_KEY_LEFT, 'b'}, "Ab", 0},
        {"alt 256", 9, 1, "", 1, nullptr, nullptr, {kAlt0 + 2, kAlt0 + 5, kAlt0 + 6}, "", 0},
        {"overwrite", 5, 1, "abc", 1, nullptr, nullptr, Keys({{WK_KEY_INS}, Typed("xy"), {WK_KEY_END}, Typed("z")}),
         "xycz", 0},
        {"backspace, delete", 5, 1, "abc", 1, nullptr, nullptr, {WK_KEY_END, WK_KEY_BACKSPACE, WK_KEY_HOME, WK_KEY_DEL},
         "b", 0},
        {"ctrl words", 20, 1, "ab cd ef", 1, nullptr, nullptr,
         {WK_KEY_END, WK_KEY_LEFT | kCtrl, WK_KEY_LEFT | kCtrl, 'X', WK_KEY_RIGHT | kCtrl, 'Y'}, "ab Xcd Yef", 0},
        {"paste multi-line", 9, 3, "", 1, nullptr, "a\r\nb", {kPaste}, "a\nb", 0},
        {"paste one line", 9, 1, "", 1, nullptr, "a\r\nb", {kPaste}, "a b", 0},
        {"paste cut keeps tail", 5, 1, "abc", 1, nullptr, "XYZ", {WK_KEY_RIGHT, WK_KEY_INS | kShift}, "aXYbc", 0},
        {"paste through the filter", 4, 1, "", 4, nullptr, "2a1b0c", {kPaste}, "210", 1},
        {"cut and paste", 9, 1, "abc", 1, nullptr, nullptr, {WK_KEY_RIGHT | kShift, kCut, WK_KEY_END, kPaste}, "bca", 0},
        {"tab in multi-line", 9, 3, "ab", 1, nullptr, nullptr, {WK_KEY_RIGHT, WK_KEY_TAB}, "a\tb", 0},
        {"up and down", 9, 3, "abc\nd\nefg", 1, nullptr, nullptr,
         {WK_KEY_END, WK_KEY_DOWN, WK_KEY_DOWN, 'X', WK_KEY_UP, WK_KEY_UP, 'Y'}, "aYbc\nd\neXfg", 0},
        {"pages and text ends", 9, 3, "a\nb\nc\nd\ne\nf", 1, nullptr, nullptr,
         {WK_KEY_PGDN, 'X', WK_KEY_PGUP, 'Y', WK_KEY_END | kCtrl, 'Z', WK_KEY_HOME, 'W'}, "Ya\nb\nc\nd\nXe\nWfZ", 0},
        {"right stops at the end", 5, 1, "abc", 1, nullptr, nullptr,
         {WK_KEY_RIGHT, WK_KEY_RIGHT, WK_KEY_RIGHT, WK_KEY_RIGHT, 'd'}, "abcd", 0},
    };
    for (const Case& c : cases) {
        WkObject* f = WkCreateEditEx(form, c.text, c.columns, c.lines, c.columns, 0);
        WkEditSetFilter(f, c.filter, c.extra);
        if (c.clipboard) display->injectClipboardFromOtherProgram(c.clipboard);
        int before = display->beepCount();
        Press(f, c.keys);
        EXPECT_STREQ(WkEditGetText(f), c.want) << c.name;
        EXPECT_EQ(display->beepCount() - before, c.beeps) << c.name;
        EXPECT_EQ(WkEditRecord(f)->length, int(std::string(c.want).size())) << c.name;
    }
}

// A field typed full to its visible columns keeps its first character in
// view (a date of eight digits showed only its last seven); typing past the
// view still scrolls the cursor's place into it.
TEST_F(EditField, TypedFullFieldKeepsItsStartInView) {
    WkObject* full = WkCreateEditEx(form, "", 8, 1, 8, 0);
    WkObject* narrow = WkCreateEditEx(form, "", 80, 1, 4, 0);
    Show();
    Press(full, Typed("20260501"));
    Press(narrow, Typed(std::string(80, 'A').c_str()));
    EXPECT_EQ(WkEditRecord(full)->xOffset, 0);
    const WkEditData* d = WkEditRecord(narrow);
    EXPECT_GT(d->xOffset, 0);
    EXPECT_EQ(d->xOffset, d->cursorX - d->visibleWidth);
}

TEST_F(EditField, AutoIndentCopiesLeadingBlanks) {
    WkObject* f = WkCreateMultiLineEdit(form, "  x", 20, 3, 0);
    WkEditSetAutoIndent(f, 1);
    Press(f, {WK_KEY_END, WK_KEY_ENTER, 'y'});
    EXPECT_STREQ(WkEditGetText(f), "  x\n  y");
    EXPECT_EQ(WkEditRecord(f)->lastLine, 1);
}

TEST_F(EditField, MaskedFieldNeverGivesItsTextAway) {
    WkObject* f = WkCreateMaskedEdit(form, "secret", 9, 0, '*');
    WkSetClipboardText(WkObjectGetNativeWindow(f), "kept", 4);
    int before = display->beepCount();
    Press(f, {WK_KEY_END | kShift, kCopy, kCut, WK_KEY_DEL | kShift});
    EXPECT_EQ(display->beepCount() - before, 3);
    EXPECT_STREQ(WkGetClipboardText(WkObjectGetNativeWindow(f)), "kept");
    EXPECT_STREQ(WkEditGetText(f), "secret");
}

struct Calls {
    int values = 0, activates = 0, leaves = 0, lastKey = -1, steps = 0, cursors = 0;
    int accept = 1;
    const char* rewrite = nullptr;
};

TEST_F(EditField, VerifyRefusesOrRewritesAndValueFollows) {
    for (const char* rewrite : {(const char*)nullptr, "Z"}) {
        Calls calls;
        calls.accept = rewrite ? 1 : 0;
        calls.rewrite = rewrite;
        WkObject* f = WkCreateEdit(form, "ab", 9, 0);
        WkEditSetVerifyCallback(f, [](WkObject*, WkEditChange* c, void* data) {
            auto* calls = static_cast<Calls*>(data);
            c->accept = calls->accept;
            if (calls->rewrite) c->newText = calls->rewrite;
        }, &calls);
        WkEditSetValueCallback(f, [](WkObject*, char*, void* data) { ++static_cast<Calls*>(data)->values; }, &calls);
        Press(f, {'x'});
        EXPECT_STREQ(WkEditGetText(f), rewrite ? "Zab" : "ab");
        EXPECT_EQ(calls.values, rewrite ? 1 : 0);
    }
}

void Leave(WkObject*, WkEditLeaveInfo* info, void* data, int key) {
    auto* calls = static_cast<Calls*>(data);
    ++calls->leaves;
    calls->lastKey = key;
    info->accept = calls->accept;
    if (calls->rewrite) {
        // As much as the buffer takes, without a terminator: the field cuts it.
        std::string long_(1000, 'x');
        std::memcpy(info->text, long_.data(), std::size_t(info->capacity) + 1);
        info->changed = 1;
    }
}

TEST_F(EditField, LeaveCheckKeepsFocusAndCutsRewrites) {
    Calls calls;
    calls.accept = 0;
    WkObject* f = WkCreateEdit(form, "abc", 10, 0);
    Show();
    WkEditSetLeaveCallback(f, Leave, &calls);
    WkEditSetActivateCallback(f, [](WkObject*, char*, void* data) { ++static_cast<Calls*>(data)->activates; }, &calls);
    WkSendSimpleMessage(f, WK_MSG_FOCUS_IN);
    Press(f, {WK_KEY_TAB, WK_KEY_ENTER});
    EXPECT_EQ(calls.leaves, 2);
    EXPECT_EQ(calls.lastKey, WK_KEY_ENTER);
    EXPECT_EQ(calls.activates, 1);
    EXPECT_TRUE(f->state & WK_STATE_FOCUS);
    calls.rewrite = "1000";
    WkSendSimpleMessage(f, WK_MSG_FOCUS_OUT);
    EXPECT_EQ(calls.leaves, 3);
    EXPECT_EQ(std::string(WkEditGetText(f)), std::string(10, 'x'));
    EXPECT_EQ(WkEditRecord(f)->length, 10);
    EXPECT_FALSE(f->state & WK_STATE_FOCUS);
}

TEST_F(EditField, StepCursorAndKeyCallbacks) {
    Calls calls;
    WkObject* f = WkCreateEdit(form, "abc", 10, 0);
    WkEditSetStepCallback(f, [](WkObject*, int step, void* data) { static_cast<Calls*>(data)->steps += step * 10 + 1; },
                          &calls);
    WkEditSetCursorCallback(f, [](WkObject*, const WkEditCursorInfo* c, void* data) {
        static_cast<Calls*>(data)->cursors += c->index;
    }, &calls);
    WkEditAddKeyCallback(f, WK_KEY_F1, [](WkObject*, std::intptr_t key, void* data) {
        static_cast<Calls*>(data)->lastKey = int(key);
    }, &calls);
    Press(f, {WK_KEY_UP, WK_KEY_UP, WK_KEY_DOWN, WK_KEY_END, WK_KEY_LEFT, WK_KEY_F1});
    EXPECT_EQ(calls.steps, 13);
    EXPECT_EQ(calls.cursors, 3 + 2);
    EXPECT_EQ(calls.lastKey, WK_KEY_F1);
}

// Typing, deleting and pasting move the cursor as the moving keys do; a key
// that leaves it where it was tells nothing.
TEST_F(EditField, TheCursorCallbackHearsOfEveryKeyThatMovedIt) {
    display->injectClipboardFromOtherProgram("yz");
    const std::pair<std::vector<int>, std::vector<int>> cases[] = {
        {Typed("xy"), {1, 2}}, {{WK_KEY_END, WK_KEY_BACKSPACE}, {3, 2}}, {{WK_KEY_DEL}, {}},
        {{WK_KEY_END, kPaste}, {3, 5}}, {{WK_KEY_END, WK_KEY_RIGHT}, {3}}, // nothing past the end of the text
    };
    for (const auto& [keys, want] : cases) {
        std::vector<int> heard;
        WkObject* f = WkCreateEdit(form, "abc", 10, 0);
        WkEditSetCursorCallback(f, [](WkObject*, const WkEditCursorInfo* c, void* data) {
            static_cast<std::vector<int>*>(data)->push_back(c->index);
        }, &heard);
        Press(f, keys);
        EXPECT_EQ(heard, want) << WkEditGetText(f);
    }
}

// Tab, Shift+Tab, Enter in a one-line field and, under the old policy, Down
// and Up leave the field for the next or previous one; drop-down and spin
// fields alike; Ctrl+Tab leaves a multi-line field.
TEST_F(EditField, KeysThatLeaveAFieldMoveTheFocusOn) {
    const char* old = "[Focus]\r\nUseOldSwitchPolicy=1\r\n";
    struct Case { const char* settings; int from, key, to; };
    const Case cases[] = {
        {"", 0, WK_KEY_TAB, 1},          {"", 1, WK_KEY_TAB, 2},         {"", 2, WK_KEY_TAB, 3},
        {"", 3, WK_KEY_TAB | kCtrl, 4},  {"", 2, WK_KEY_TAB | kShift, 1}, {"", 0, WK_KEY_ENTER, 1},
        {"", 0, WK_KEY_DOWN, 0},         {old, 0, WK_KEY_DOWN, 1},      {old, 4, WK_KEY_UP, 3},
        {old, 4, WK_KEY_TAB, 0},         {"", 0, WK_KEY_TAB | kShift, 4}, // round the window
        {"", 4, WK_KEY_TAB, 0},
    };
    for (const Case& c : cases) {
        Stop();
        Start(c.settings);
        shell = Window();
        form = WkFormOf(shell);
        WkObject* fields[5] = {WkCreateEdit(form, "a", 5, 0), WkCreateComboBox(form, "b", 5, 5, 3, 0),
                               WkCreateSpinField(form, "1", 3, 3, 0, nullptr, nullptr),
                               WkCreateMultiLineEdit(form, "c", 5, 2, 0), WkCreateEdit(form, "d", 5, 0)};
        Show();
        WkObjectSetFocus(fields[c.from]);
        Press(fields[c.from], {c.key});
        EXPECT_EQ(WkFormGetFocus(shell), fields[c.to]) << c.from << " key " << std::hex << c.key;
    }
}

// A whole text the program selects in the field with the focus, to be
// typed over (the number a search found), goes with the focus, as the one
// selected on entry by Tab does: the field reached shows the only
// selection. A part the user marked stays.
TEST_F(EditField, AWholeTextSelectedToBeTypedOverGoesWithTheFocus) {
    WkObject* a = WkCreateEdit(form, "NERI", 5, 0);
    WkObject* b = WkCreateEdit(form, "ROSSI", 8, 0);
    Show();
    for (bool whole : {true, false}) {
        WkObjectSetFocus(b);
        WkObjectSetFocus(a); // by the program: nothing selected on entry
        if (whole) WkEditSelectAll(a);
        else WkEditSetCursor(a, 4), Press(a, {WK_KEY_LEFT | kShift});
        Press(a, {WK_KEY_TAB});
        int from, to, bFrom, bTo;
        WkEditGetSelection(a, &from, &to);
        WkEditGetSelection(b, &bFrom, &bTo);
        EXPECT_EQ(to - from, whole ? 0 : 1);
        EXPECT_EQ(bTo - bFrom, 5);
    }
}

// An accepted Tab that finds nowhere else to go leaves the field without
// the mark of a checked departure: losing the focus later checks again.
TEST_F(EditField, TheLeaveCheckRunsAgainWhenTheFocusGoesAfterAnAcceptedTabThatStayed) {
    Calls calls;
    WkObject* f = WkCreateEdit(form, "abc", 10, 0);
    WkEditSetLeaveCallback(f, Leave, &calls);
    Show();
    WkObjectSetFocus(f);
    Press(f, {WK_KEY_TAB});
    EXPECT_EQ(calls.leaves, 1);
    EXPECT_TRUE(f->state & WK_STATE_FOCUS);
    WkFormFocusOut(form);
    EXPECT_EQ(calls.leaves, 2);
    EXPECT_EQ(calls.lastKey, 0);
}

TEST_F(EditField, CursorBlinksWhileFocused) {
    WkObject* f = WkCreateEdit(form, "ab", 10, 0);
    Show();
    WkSendSimpleMessage(f, WK_MSG_FOCUS_IN);
    std::vector<int> phases;
    for (int i = 0; i < 3; ++i) {
        virtualNow.microseconds += 300000;
        WkRunTimeouts();
        phases.push_back(WkEditRecord(f)->flags & WK_EDIT_CURSOR_SHOWN ? 1 : 0);
    }
    EXPECT_EQ(phases, (std::vector<int>{0, 1, 0}));
    WkSendSimpleMessage(f, WK_MSG_FOCUS_OUT);
    EXPECT_EQ(WkEditRecord(f)->timer, 0);
}

} // namespace

namespace {

TEST_F(EditField, PictureOfFocusedUnfocusedMaskedInsensitiveAndThreeLineFields) {
    WkObject* focused = WkCreateEdit(form, "focused text", 16, 0);
    WkObject* plain = WkCreateEdit(form, "unfocused", 16, 0);
    WkObject* masked = WkCreateMaskedEdit(form, "secret", 16, 0, '*');
    WkObject* grey = WkCreateEdit(form, "insensitive", 16, 0);
    WkObject* lines = WkCreateMultiLineEdit(form, "one\n\ttabbed\nthree", 16, 3, 0);
    WkObjectSetSensitive(grey, 0);
    Show();
    // The window opened on the first field with its text selected: the
    // keys below start from its beginning.
    WkEditReplaceText(focused, "focused text", 0, 0);
    WkSendSimpleMessage(focused, WK_MSG_FOCUS_IN);
    Press(focused, {WK_KEY_RIGHT | kCtrl, WK_KEY_END | kShift, WK_KEY_LEFT | kShift});
    ASSERT_TRUE(display->saveWindowPng(WkObjectGetNativeWindow(shell), std::string(TM_TEST_OUTPUT_DIR) + "/edit_fields.png"));
    ExpectPicture(shell, "edit_fields.png");
    plat::Surface& s = *display->surface(WkObjectGetNativeWindow(shell));
    auto at = [&](WkObject* o, int x, int y) {
        int ax, ay;
        WkObjectGetAbsolutePosition(o, &ax, &ay);
        return s.colorAt(ax + x, ay + y);
    };
    // The focus frame is black all round; an unfocused field keeps its etched frame.
    EXPECT_EQ(at(focused, 0, 0), Rgb(WkBlackColor()));
    EXPECT_EQ(at(focused, focused->width - 1, focused->height - 1), Rgb(WkBlackColor()));
    EXPECT_NE(at(plain, 0, 0), Rgb(WkBlackColor()));
    // The selection "tex" on the foreground, the insert cursor a bar under the
    // 't' after it; the field's text starts at its border and margin.
    WkEditData* d = WkEditRecord(focused);
    int left = 3 + d->hMargin, top = (focused->height - WkFontHeight("A", 0)) / 2, cw = WkCharWidth('t', 0);
    int selection = WkTextWidth("focused ", 0), cursor = WkTextWidth("focused tex", 0);
    EXPECT_EQ(at(focused, left + selection, top), Rgb(focused->foreground));
    EXPECT_EQ(at(focused, left + cursor, top), Rgb(focused->background));
    EXPECT_EQ(at(focused, left + cursor + cw - 1, top + WkFontHeight("A", 0) - 1), Rgb(focused->foreground));
    // Masked: no letter of the text is drawn; insensitive text is etched.
    EXPECT_EQ(at(masked, left + 1, top + 1), Rgb(masked->background));
    (void)grey;
    (void)lines;
}

TEST_F(EditField, AccentedCapitalsDrawnWholeAndLeaveNoMarksWhenDeleted) {
    // The first field opens focused with its text selected, the second plain;
    // the accents rise above the font's cell.
    WkObject* fields[] = {WkCreateEdit(form, "\xC9\xC5\xD1\xC2", 8, 0), WkCreateEdit(form, "A\xC9\xC5\xD1\xC2", 8, 1)};
    Show();
    plat::Surface& s = *display->surface(WkObjectGetNativeWindow(shell));
    // The colours met in the rows above the cell, over the text's width.
    auto above = [&](WkObject* f, int width) {
        int ax, ay;
        WkObjectGetAbsolutePosition(f, &ax, &ay);
        const int left = 3 + WkEditRecord(f)->hMargin, top = (f->height - WkFontHeight("A", f->font)) / 2;
        std::set<plat::Rgb> seen;
        for (int y = 3; y < top; ++y)
            for (int x = left; x < left + width; ++x) seen.insert(s.colorAt(ax + x, ay + y));
        return seen;
    };
    // Selected, the accents show on the selection.
    int widths[2];
    for (int k : {0, 1}) widths[k] = WkTextWidth(WkEditGetText(fields[k]), fields[k]->font);
    EXPECT_EQ(above(fields[0], widths[0]), (std::set<plat::Rgb>{Rgb(fields[0]->foreground), Rgb(fields[0]->background)}));
    EXPECT_EQ(above(fields[1], widths[1]).size(), 2u);
    const std::set<plat::Rgb> blank = {Rgb(fields[1]->background)};
    Press(fields[0], {WK_KEY_DEL});
    WkEditReplaceText(fields[1], "\xC9", 0, 0); // "É", then cleared by the last key
    Press(fields[1], {WK_KEY_END, WK_KEY_BACKSPACE});
    for (int k : {0, 1}) EXPECT_EQ(above(fields[k], widths[k]), blank) << k;
}

} // namespace
