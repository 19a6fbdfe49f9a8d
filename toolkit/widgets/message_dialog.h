// The message dialog: the toolkit's modal question box. One label per line
// of the text and a row of push buttons, one per caption; it waits in the
// event loop until a button is pressed and returns the button's 0-based
// number. Text lines and captions are each given as one string whose parts
// are separated by '|'. The window asks for no close box; Escape and a
// close request (Alt+F4, a close box drawn all the same) answer as the
// first button does (callers put the answer that declines or closes first).
//
// The dialog's colours and fonts are process-wide settings (not stored).
// Each call owns its window, its two colour references and its result; a
// dialog raised while another waits (from a timeout, say) answers for
// itself and leaves the other's answer alone.
#pragma once

#include "toolkit/core/fonts.h"

int WkRunMessageDialog(const char* title, const char* text, const char* captions);
// The captions, from the first up to a null one, joined with '|'; the
// second may be null for a single button.
int WkMessageDialog(const char* title, const char* text, const char* first, const char* second, ...);
// The same with the further captions in a null-terminated array (or null).
int WkMessageDialogArray(const char* title, const char* text, const char* first, const char* second,
                         const char* const* further);

void WkMessageDialogSetBackground(int red, int green, int blue);
void WkMessageDialogGetBackground(int* red, int* green, int* blue);
void WkMessageDialogSetTextColor(int red, int green, int blue);
void WkMessageDialogGetTextColor(int* red, int* green, int* blue);
void WkMessageDialogSetFonts(WkFontSlot labelFont, WkFontSlot buttonFont);
void WkMessageDialogGetFonts(WkFontSlot* labelFont, WkFontSlot* buttonFont);
