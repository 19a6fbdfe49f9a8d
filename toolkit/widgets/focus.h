// Keyboard focus inside a top-level window: the path of focused indices
// that forms keep page by page, from the window's main form down to the one
// focusable object holding the focus; moving it forward and backward
// through nested forms and linked forms under both switch policies, the
// focus callbacks and focus frames of forms, and scrolling an object that
// takes the focus into view.
//
// An object can take the focus when it has WK_LAYOUT_FOCUSABLE and is shown
// and realized. This module owns nothing; the path lives in the forms'
// pages.
#pragma once

#include "toolkit/core/object.h"
#include "toolkit/widgets/form.h"

// Gives the focus to the first (last) focusable child of the current page,
// looking into child forms depth first; 1 when one took it.
int WkFormFocusFirst(WkObject* form);
int WkFormFocusLast(WkObject* form);
// The focused child of the current page loses the focus: focus out, index
// -1, the frame taken away and the callback told with -1.
void WkFormFocusOut(WkObject* form);
// Gives the focus to the first focusable child of the main form of the
// window that holds the object.
void WkFocusFirstInWindow(WkObject* object);
