// The label: static text of one or more lines in one font, inside an
// optional shadow frame, with fixed margins and line spacing. It takes no
// input and never the focus. Class code WK_CLASS_LABEL.
//
// Owns its class record (WkLabelData) and its copy of the text. The line
// rule (a text splits into lines at each '\n'; the line count is one more
// than the number of '\n') is shared with the buttons through WkLineEnd and
// WkMeasureLines.
#pragma once

#include "toolkit/core/fonts.h"
#include "toolkit/core/object.h"

#include <cstdint>
#include <string>

struct WkLabelData {
    char* text;
    std::int16_t marginX;   // left and right, inside the frame
    std::int16_t marginY;   // above and below, in the preferred size only
    std::int16_t spacing;   // between two lines
    std::int16_t alignment; // 0 left, 1 right, 2 centred
    std::int16_t lines;     // counted at the size query and when the text is set
    std::int16_t wrapWidth; // above 0: lines wider than this are broken (WkWrapText)
};

WkObject* WkCreateLabel(WkObject* parent, const char* text, WkFontSlot font);
int WkLabelHandler(WkObject* label, WkMessage* message);
void WkLabelSetAlignment(WkObject* label, int alignment);
void WkLabelSetMargins(WkObject* label, int marginX, int marginY);
void WkLabelSetSpacing(WkObject* label, int spacing);
// Lines wider than width pixels are shown broken (WkWrapText); the text
// itself stays as set. 0 breaks lines only at '\n'.
void WkLabelSetWrapWidth(WkObject* label, int width);
// The label's own text: not a copy, valid until the next change.
const char* WkLabelGetText(WkObject* label);

// The end of the line that starts at text (its '\n' or the terminator); the
// line's length in characters goes to *length.
const char* WkLineEnd(const char* text, WkFontSlot font, int* length);
// One line and width 0 for a null or empty text; otherwise the line count
// and the widest line's width in the font.
void WkMeasureLines(const char* text, WkFontSlot font, int* widest, int* lines);
// The text with each line wider than width in the font broken: after the
// last blank (dropped) or '/' that fits, else after the last character that
// fits, one at least. A long path thus breaks between its folders.
std::string WkWrapText(const char* text, WkFontSlot font, int width);

