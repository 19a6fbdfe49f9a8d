// Tooltips and status hints of any object. A tooltip is a small frameless
// popup window with a text that shows near the pointer once the pointer has
// rested on the object for a delay and goes away after a duration; a status
// hint is a text put into another object (a status line) while the pointer
// is over the object and emptied when it leaves. Both ride on the object's
// event handlers and the toolkit's timeouts; the object's class is not
// involved.
//
// Each object with either gets one record (WkTooltip, in the object's
// tooltip slot), which owns the popup window, the status text and the one
// pending timeout; the object's destroy handler frees them all. The popup
// never takes the keyboard focus. A target that is destroyed first is
// forgotten by every hint that names it.
#pragma once

#include "toolkit/core/object.h"

inline constexpr int WK_TOOLTIP_MIN_DELAY = 100;
inline constexpr int WK_TOOLTIP_MIN_DURATION = 500;
inline constexpr int WK_TOOLTIP_MAX_TIME = 30000;
// Where the popup shows, from the pointer's place on the screen.
inline constexpr int WK_TOOLTIP_OFFSET_X = 8;
inline constexpr int WK_TOOLTIP_OFFSET_Y = 10;

struct WkTooltip {
    WkObject* popup;        // the tooltip's window, or null with only a status hint
    WkObject* label;        // the text inside the popup
    WkObject* statusTarget; // shows the status hint, or null
    int timer;              // the pending show or hide timeout, 0 when none
    char* statusText;       // owned, or null
    int pointerX, pointerY; // on the screen, at the last enter or motion
    int delay, duration;    // milliseconds
    bool destroyHandler;    // the object's destroy handler is installed
    bool pointerHandler;    // the tooltip's pointer handler is installed
    bool hintHandler;       // the status hint's enter and leave handler is installed
    WkTooltip* next;        // every record, for the targets' destroy handler
};

// The first call makes the popup with its text; later ones change the text.
// Every call sets the delay (100..30000 ms) and the duration (500..30000 ms).
// A null text is taken as "".
void WkObjectSetTooltip(WkObject* object, const char* text, int delay, int duration);
// Keeps a copy of the text and the target.
void WkObjectSetStatusHint(WkObject* object, const char* text, WkObject* target);
// Change the tooltip's text (when there is a popup) and/or the status text
// (when there is a target); nothing for an object without a record.
void WkObjectSetHintTexts(WkObject* object, const char* text);
void WkObjectSetTooltipText(WkObject* object, const char* text);
void WkObjectSetStatusHintText(WkObject* object, const char* text);
