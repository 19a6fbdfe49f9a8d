// The drop-down list (combo box): a one-line edit field with an arrow
// button beside it in a horizontal wrapper form; the button (or Down, or a
// click on a read-only field) opens a frameless popup window under the
// field that holds a scrolled list. Choosing an item closes the popup,
// calls the selection callback and puts the item's text into the field.
// The handle of a drop-down is its edit field.
//
// The field's class record holds the parts: the popup window, its list and
// the arrow button. The popup lives as long as the field: it is made with
// the drop-down, only shown and hidden, and destroyed with the field.
#pragma once

#include "toolkit/widgets/edit_field.h"

WkObject* WkCreateComboBox(WkObject* parent, const char* text, int length, int visible, int rows, int font);
// The list in the popup, filled with the list operations.
WkObject* WkComboBoxGetList(WkObject* combo);
void WkComboBoxSetCallback(WkObject* combo, WkComboCallback callback, void* data);
