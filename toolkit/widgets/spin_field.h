// The spin field: a one-line edit field with an up and a down arrow button
// to its right, in a horizontal form of its own. Held down, the arrows
// repeat; each activation hands +1 or -1 to the field's step callback, as
// the Up and Down keys of the field do. The application keeps the number in
// the field's text: the callback reads and rewrites it.
//
// The form owns the field and the two buttons; each button owns the arrow
// pictures it draws when they were made for it (a triangle when the
// toolkit's arrow picture is missing, and the greyed insensitive look).
#pragma once

#include "toolkit/core/object.h"
#include "toolkit/widgets/edit_field.h"

// Returns the edit field. Length, visible length and font are 16-bit
// values (outside that range they are clamped, with a log line).
WkObject* WkCreateSpinField(WkObject* parent, const char* text, int length, int visible, int font,
                            WkEditStepCallback callback, void* userData);
