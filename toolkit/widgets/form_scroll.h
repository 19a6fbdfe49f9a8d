// Scrolled forms: a form that is a view on a larger content, its children
// drawn shifted by the scroll offsets and the pointer routed in with them.
// Holds the scrolled form (an outer frame with the inner form and up to two
// scroll bars that move it), the scroll views without bars, setting the
// offsets (clamped to the content, the window's pixels moved and only the
// uncovered strip drawn), the bars' steps and colours, and finding the bar
// that scrolls an object.
//
// The scroll record belongs to the inner form (freed with it); the bars are
// children of the outer form. A form with a scroll record has no border: its
// view is its whole size.
#pragma once

#include "toolkit/core/colors.h"
#include "toolkit/core/object.h"

// Returns the inner form; a view size below 1 gives no bar on that axis.
WkObject* WkCreateScrolledForm(WkObject* parent, int viewWidth, int viewHeight, int kind);
WkObject* WkCreateScrolledAttachmentForm(WkObject* parent, int viewWidth, int viewHeight);
WkObject* WkCreateScrolledVerticalForm(WkObject* parent, int viewWidth, int viewHeight);
WkObject* WkCreateScrolledHorizontalForm(WkObject* parent, int viewWidth, int viewHeight);
// A form with a scroll record and no bars, spacing 0 and no shadow.
WkObject* WkCreateScrollView(WkObject* parent, int viewWidth, int viewHeight);
WkObject* WkCreateVerticalScrollView(WkObject* parent, int viewWidth, int viewHeight);
WkObject* WkCreateHorizontalScrollView(WkObject* parent, int viewWidth, int viewHeight);
// Gives a form a scroll record of that view and content size (no bars).
void WkFormMakeScrolled(WkObject* form, int viewWidth, int viewHeight);

// Through the form's bar when it has one (which rounds to its step),
// else straight to the offset.
void WkFormScrollToX(WkObject* form, int offset);
void WkFormScrollToY(WkObject* form, int offset);
// Clamped to content - view, then to 0; the visible content follows.
void WkFormSetScrollX(WkObject* form, int offset);
void WkFormSetScrollY(WkObject* form, int offset);
int WkFormGetScrollX(WkObject* form);
int WkFormGetScrollY(WkObject* form);
// A step below 1 leaves that bar as it is.
void WkFormSetScrollSteps(WkObject* form, int xStep, int yStep);
void WkObjectSetScrollIntoView(WkObject* object, int on);

// A scrolled list's own bar, else the bar of the nearest form with a
// scroll record, from the object up.
WkObject* WkFindVerticalScrollBar(WkObject* object);
WkObject* WkFindHorizontalScrollBar(WkObject* object);
WkObject* WkFormGetVerticalScrollBar(WkObject* form);
WkObject* WkFormGetHorizontalScrollBar(WkObject* form);
void WkFormSetScrollBarColor(WkObject* form, WkColor color);
void WkFormSetScrollBarShade(WkObject* form, int percent);
// The bars take a tint of the form's background, now and at every colour
// change of the form.
void WkFormTintScrollBars(WkObject* form);
void WkFormUntintScrollBars(WkObject* form);
// The colour-change step of a tinted form.
void WkFormRetintScrollBars(WkObject* form);
