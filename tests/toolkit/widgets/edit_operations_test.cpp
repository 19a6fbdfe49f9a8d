#include "toolkit/core/fonts.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/scroll_bar.h"
#include "edit_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using EditOperations = et::EditField;

TEST_F(EditOperations, RangesAndPositionsAreClampedToTheText) {
    WkObject* f = WkCreateEdit(form, "abcd", 20, 0);
    struct Case { int from, to, size; const char* want; };
    for (const Case& c : {Case{2, 5, 9, "cd"}, Case{4, 9, 9, ""}, Case{-5, 2, 9, "ab"}, Case{3, 1, 9, ""},
                          Case{0, 4, 2, "a"}}) {
        char buffer[9] = "########";
        EXPECT_EQ(WkEditGetRange(f, c.from, c.to, buffer, c.size), int(std::strlen(c.want)));
        EXPECT_STREQ(buffer, c.want) << c.from << ".." << c.to;
    }
    // Right to left, then out of the text at both ends.
    for (auto [from, to, want] : {std::tuple{3, 1, std::pair{1, 3}}, {-5, 999, {0, 4}}}) {
        WkEditSelectRange(f, from, to);
        int a, b;
        WkEditGetSelection(f, &a, &b);
        EXPECT_EQ(std::make_pair(a, b), want);
        WkEditSetCursor(f, from);
        EXPECT_EQ(WkEditGetCursor(f), std::clamp(from, 0, 4));
    }
    WkObject* empty = WkCreateEdit(form, "", 20, 0);
    WkEditSelectAll(empty);
    int from = -1, to = -1;
    WkEditGetSelection(empty, &from, &to);
    EXPECT_EQ(from, to);
}

TEST_F(EditOperations, ReplaceRangeOnAHiddenFieldCallsNoCallbacks) {
    int calls = 0;
    WkObject* f = WkCreateEdit(form, "abcd", 20, 0);
    WkEditSetVerifyCallback(f, [](WkObject*, WkEditChange*, void* n) { ++*static_cast<int*>(n); }, &calls);
    WkEditSetValueCallback(f, [](WkObject*, char*, void* n) { ++*static_cast<int*>(n); }, &calls);
    WkObjectHide(f);
    WkEditSelectRange(f, 0, 2);
    WkEditReplaceRange(f, 999, 3, "Z", 1);
    WkEditReplaceRange(f, -5, 1, "XY", 1);
    EXPECT_STREQ(WkEditGetText(f), "XbcdZ");
    EXPECT_EQ(calls, 0);
}

TEST_F(EditOperations, MaxLengthCutsTextCursorAndSelection) {
    WkObject* two = WkCreateMultiLineEdit(form, "abcdefghij", 20, 2, 0);
    WkEditSetMaxLength(two, 3, 3);
    EXPECT_STREQ(WkEditGetText(two), "abcdefghij");
    WkObject* f = WkCreateEdit(form, "abcdefghij", 10, 0);
    WkEditSelectRange(f, 8, 10);
    WkEditSetMaxLength(f, 8, 6);
    EXPECT_STREQ(WkEditGetText(f), "abcdef");
    EXPECT_EQ(WkEditRecord(f)->visibleColumns, 6);
    int from, to;
    WkEditGetSelection(f, &from, &to);
    EXPECT_EQ(std::make_pair(from, to), std::make_pair(6, 6));
    Press(f, {WK_KEY_BACKSPACE});
    EXPECT_STREQ(WkEditGetText(f), "abcde");
    Press(f, {'x', 'y'});
    EXPECT_STREQ(WkEditGetText(f), "abcdex");
}

TEST_F(EditOperations, TabWidthAndMargins) {
    WkObject* f = WkCreateMultiLineEdit(form, "\tx", 20, 2, 0);
    const int blank = WkCharWidth(' ', 0);
    for (auto [width, stop] : {std::pair{0, 8}, {16, 8}, {4, 4}, {15, 15}}) {
        WkEditSetTabWidth(f, width);
        WkEditSetCursor(f, 1);
        EXPECT_EQ(WkEditRecord(f)->cursorX, stop * blank) << width;
    }
    struct Case { int h, v, wantH, wantV; };
    for (const Case& c : {Case{0, 4, 2, 4}, Case{5, 0, 5, 4}, Case{-1, 1, 5, 1}}) {
        WkEditSetMargins(f, c.h, c.v);
        EXPECT_EQ(WkEditRecord(f)->hMargin, c.wantH);
        EXPECT_EQ(WkEditRecord(f)->vMargin, c.wantV);
    }
}

TEST_F(EditOperations, SearchFindsEveryOccurrence) {
    struct Case { const char* text; int start; const char* pattern; int ignoreCase, forward, backward; };
    const std::vector<Case> cases = {
        {"abc", 0, "b", 0, 1, -1},     {"abc", 2, "b", 0, -1, 1},       {"abab", 3, "ab", 0, -1, 0},
        {"xab", 0, "AB", 1, 1, -1},    {"aaab", 0, "aab", 0, 1, -1},    {"aaab", 4, "aab", 0, -1, 1},
        {"abab", 4, "ab", 0, -1, 2},   {"x\xBDy", 0, "\xBD", 1, 1, -1}, {"abc", 0, "", 0, -1, -1},
        {"abc", -1, "a", 0, -1, -1},   {"abc", 5, "a", 0, -1, -1},
    };
    for (const Case& c : cases) {
        WkObject* f = WkCreateEdit(form, c.text, 20, 0);
        EXPECT_EQ(WkEditSearchForward(f, c.start, c.pattern, c.ignoreCase), c.forward) << c.text << " " << c.start;
        EXPECT_EQ(WkEditSearchBackward(f, c.start, c.pattern, c.ignoreCase), c.backward) << c.text << " " << c.start;
    }
}

TEST_F(EditOperations, ScrolledFieldAndItsBarsFollowEachOther) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += "line " + std::to_string(i) + (i == 25 ? " is the longest" : "") + "\n";
    text.pop_back();
    WkObject* f = WkCreateScrolledEdit(form, text.c_str(), 16, 10, 0);
    WkObject* vertical = WkEditGetVerticalScrollBar(f);
    WkObject* horizontal = WkEditGetHorizontalScrollBar(f);
    ASSERT_TRUE(vertical && horizontal);
    Show();
    WkEditData* d = WkEditRecord(f);
    EXPECT_EQ(f->outer, f->parent);
    EXPECT_EQ(f->x + f->width, vertical->x);
    EXPECT_EQ(f->y + f->height, horizontal->y);
    EXPECT_EQ(WkScrollBarGetMaximum(vertical), 40);
    EXPECT_EQ(WkScrollBarGetView(vertical), d->visibleLines);
    WkScrollBarSetValue(vertical, 20);
    EXPECT_EQ(d->topLine, 20);
    EXPECT_EQ(WkScrollBarGetMaximum(horizontal), WkTextWidth("line 25 is the longest", 0));
    EXPECT_EQ(WkScrollBarGetView(horizontal), d->visibleWidth);
    ASSERT_TRUE(display->saveWindowPng(WkObjectGetNativeWindow(shell), std::string(TM_TEST_OUTPUT_DIR) + "/scrolled_edit.png"));
    // The wheel moves the vertical bar, the cursor moves the view and the
    // bar with it, a new line raises the bar's maximum.
    WkMessage wheel;
    wheel.type = WK_MSG_WHEEL;
    WkSetWheelLines(&wheel, 3);
    WkSendMessage(f, &wheel);
    EXPECT_EQ(d->topLine, 23);
    WkEditSetCursor(f, WkEditRecord(f)->length);
    EXPECT_EQ(WkScrollBarGetValue(vertical), 40 - d->visibleLines);
    Press(f, {WK_KEY_ENTER});
    EXPECT_EQ(WkScrollBarGetMaximum(vertical), 41);
    EXPECT_EQ(WkScrollBarGetValue(vertical), d->topLine);
    WkEditTintParts(f);
    WkColor tint = WkObjectAllocTintColor(f);
    EXPECT_EQ(et::Rgb(WkScrollBarRecord(horizontal)->thumb.background), et::Rgb(tint));
    WkFreeColor(tint);
    WkEditReplaceText(f, "short", 0, 0);
    EXPECT_EQ(WkScrollBarGetValue(vertical), 0);
    EXPECT_EQ(WkScrollBarGetMaximum(vertical), 1);
}

} // namespace
