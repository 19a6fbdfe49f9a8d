// The scroll bar: an integer value within a range, shown as a trough with
// an arrow at each end and a thumb whose length stands for the visible part.
// Lists, edit fields and scrolled forms drive their views with it.
//
// A bar owns its class record (WkScrollBarData): the three part boxes with
// one shared reference to each of their three colours, its press-repeat
// timeout, and the pointer grab while a press lasts. The bar itself is fully
// transparent, so the trough shows what lies behind it.
#pragma once

#include "toolkit/core/callback_list.h"
#include "toolkit/core/object.h"

#include <cstdint>

inline constexpr int WK_SCROLL_HORIZONTAL = 0;
inline constexpr int WK_SCROLL_VERTICAL = 1;

// The arrows' side and the thickness of the bar inside its frame.
inline constexpr int WK_SCROLL_ARROW = 17;

// What a press started.
inline constexpr std::uint16_t WK_SCROLL_PART_NONE = 0;
inline constexpr std::uint16_t WK_SCROLL_PART_SECOND = 1; // down or right arrow
inline constexpr std::uint16_t WK_SCROLL_PART_FIRST = 2;  // up or left arrow
inline constexpr std::uint16_t WK_SCROLL_PART_THUMB = 3;
inline constexpr std::uint16_t WK_SCROLL_PAGE_FORWARD = 4;
inline constexpr std::uint16_t WK_SCROLL_PAGE_BACK = 5;

struct WkScrollBarData {
    WkBox second, first, thumb; // positions relative to the bar
    WkValueCallback callback;   // (bar, new value, data)
    void* userData;
    int timer;
    int view;    // the visible part, at least 1
    int maximum; // the whole, at least the view
    int value;   // first visible unit, 0 .. maximum - view
    int pending; // applied at the next repeat tick; -1 none
    std::int16_t grabOffset;
    std::uint16_t arrowLength;
    int track; // the length between the arrows less 4 pixels
    std::uint16_t pressedPart;
    std::uint16_t step;
    std::uint8_t orientation;
    std::uint8_t pressedButton;
    std::uint8_t shade; // the parts' shade of the bar's background; 0 none kept
};

WkScrollBarData* WkScrollBarRecord(WkObject* bar);

// The maximum is raised to the view (itself at least 1).
WkObject* WkCreateScrollBar(WkObject* parent, int orientation, int view, int maximum);

// Rounds to the nearest multiple of the step (halves up) and clamps to
// 0 .. maximum - view; on a change moves the thumb and calls the callback.
void WkScrollBarSetValue(WkObject* bar, int value);
// Values of 0 or less keep the maximum or the view, a negative value keeps
// the value; then clamped as the single setters do.
void WkScrollBarSetValues(WkObject* bar, int maximum, int view, int value);
// 0 or less is ignored; capped at the maximum.
void WkScrollBarSetView(WkObject* bar, int view);
// 0 or less is ignored; a larger view is lowered to it.
void WkScrollBarSetMaximum(WkObject* bar, int maximum);
int WkScrollBarGetValue(WkObject* bar);
int WkScrollBarGetView(WkObject* bar);
int WkScrollBarGetMaximum(WkObject* bar);
// A step of 0 or less stores 1: the rounding divides by it.
void WkScrollBarSetStep(WkObject* bar, int step);
void WkScrollBarSetCallback(WkObject* bar, WkValueCallback callback, void* userData);
// The parts take the colour with its light and dark shades.
void WkScrollBarSetColor(WkObject* bar, WkColor color);
// The parts take the bar's background shaded to the percent (0: 100 now,
// and nothing kept), now and after each colour change of the bar.
void WkScrollBarSetShade(WkObject* bar, int percent);

