// Keyboard focus inside a top-level window: the path of focused indices
// that forms keep page by page, from the window's main form down to the one
// focusable object holding the focus; moving it forward and backward
// through nested forms and linked forms under both switch policies, the
// focus callbacks and focus frames of forms, and scrolling an object that
// takes the focus into view.
//
// An object can take the focus when it has WK_LAYOUT_FOCUSABLE, is not
// greyed and is shown and realized. This module owns nothing; the path
// lives in the forms' pages.
#pragma once

#include "toolkit/core/object.h"
#include "toolkit/widgets/form.h"

// Nothing unless the object and its window are shown; a form gives the
// focus to its first focusable child, anything else takes it itself.
void WkObjectSetFocus(WkObject* object);
// The same for a reason (WK_FOCUS_BY_..., message.h) the object is told
// with its focus in: a click, say. WkObjectSetFocus names the program; Tab,
// Shift+Tab, Enter and the arrow keys move the focus through WkFocusNext
// and its kin, which name the keyboard.
void WkObjectSetFocusBy(WkObject* object, int reason);
// Gives the focus to the first (last) focusable child of the current page,
// looking into child forms depth first; 1 when one took it.
int WkFormFocusFirst(WkObject* form);
int WkFormFocusLast(WkObject* form);
// Moves the focus on from the focused child of the object's form (the
// object itself when it is a form, else its parent). At the end of the
// form it wraps or, with the no-wrap flag, leaves the form; every child is
// looked at once at most.
void WkFocusNext(WkObject* object);
void WkFocusPrevious(WkObject* object);
// The Tab and Shift+Tab steps of the old switch policy: leave the form.
void WkFocusLeaveForward(WkObject* form);
void WkFocusLeaveBackward(WkObject* form);
// Leaving a form: the children after (before) its focused child, then its
// linked focus form (followed once per form and climb), then its parent;
// the main form wraps around the window. With climb 0 the search stays
// inside the form and its links. 1 when an object took the focus.
int WkFocusClimbForward(WkObject* form, int climb);
int WkFocusClimbBackward(WkObject* form, int climb);
// Gives the focus to one object and records the path up to the first form
// whose page had a focused child, which loses it; a page on the path that
// is not on show is turned to. keep 0 when the object was reached by a
// search rather than named.
void WkFocusObject(WkObject* object, int keep);
// The object at the end of the focus path from the form (a window's main
// form) down, when it is focusable; none when a page on the way has no
// focused child.
WkObject* WkFormGetFocus(WkObject* formOrWindow);
// The focused child of the current page loses the focus: focus out, index
// -1, the frame taken away and the callback told with -1.
void WkFormFocusOut(WkObject* form);
// Gives the focus to the first focusable child of the main form of the
// window that holds the object.
void WkFocusFirstInWindow(WkObject* object);
// Called as (form or child, index of the child taking the focus or -1, data).
void WkFormSetFocusCallback(WkObject* form, WkFocusCallback callback, void* userData);
void WkFormSetNoWrap(WkObject* form, int on);
// On the form that is the object's outer object.
void WkFormSetFocusFrame(WkObject* object, int on);
// When both are forms and neither contains the other: Tab leaves a for b,
// Shift+Tab leaves b for a.
void WkFormLinkFocus(WkObject* a, WkObject* b);
// Scrolls the nearest enclosing scrolled form so that the object is seen.
void WkObjectScrollIntoView(WkObject* object);
