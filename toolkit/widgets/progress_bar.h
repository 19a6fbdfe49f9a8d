// The progress bar: a value between 0 and a maximum shown as a raised strip
// growing from the left inside a sunken frame, with a text centred over the
// whole bar. It takes no input. Class code WK_CLASS_PROGRESS.
//
// Owns its class record (WkProgressData), its copy of the text and its three
// strip colours (the bar colour and its light and dark bevel shades).
#pragma once

#include "toolkit/core/fonts.h"
#include "toolkit/core/object.h"

#include <cstdint>

struct WkProgressData {
    char* text;
    WkColor bar;   // fill of the strip
    WkColor light; // its bevel: 140 and 60 percent of the bar colour
    WkColor dark;
    int maximum;   // above 0 once set; a bar created with 0 or less shows no fill
    int value;     // 0 .. maximum
    std::int16_t marginX, marginY;
    // The frame as the bar keeps it: the core stores what a frame message
    // asks for before the bar hears of it, and the bar takes only a width
    // of 1 to 6, never a type or an outer width.
    std::uint8_t frameType, frameWidth;
};

WkObject* WkCreateProgressBar(WkObject* parent, const char* text, int maximum, WkFontSlot font);
int WkProgressBarHandler(WkObject* bar, WkMessage* message);
void WkProgressBarSetValue(WkObject* bar, int value);
void WkProgressBarSetMaximum(WkObject* bar, int maximum);
// The bar keeps its own references: the colour stays the caller's.
void WkProgressBarSetColor(WkObject* bar, WkColor color);
void WkProgressBarSetColorRGB(WkObject* bar, int red, int green, int blue);
// The width of the filled part for the bar's size, value and maximum.
int WkProgressBarFill(WkObject* bar);
