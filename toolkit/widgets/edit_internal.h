// What the edit field's modules share among themselves: the text model's
// line and pixel questions, the change routine, the leave check, cursor
// placement, the drawing of lines, selection, cursor and focus frame, the
// pointer and the scroll bars of a scrolled field.
#pragma once

#include "toolkit/widgets/edit_field.h"

namespace edit {

// Sensitive in an active window.
bool Usable(const WkObject* field);
int Frame(const WkObject* field);
int LineHeight(const WkObject* field);
int CharWidth(WkObject* field, unsigned char c);
int TabStop(WkObject* field);

int LineStart(const WkEditData* d, int index);
int LineEnd(const WkEditData* d, int index);
int LineOf(const WkEditData* d, int index);
int StartOfLine(const WkEditData* d, int line);
// Pixels from the line's start to the index, tabs taken to their stops.
int XOf(WkObject* field, int lineStart, int index);
int ColumnOf(const WkEditData* d, int lineStart, int index);
// The first place in the line whose character's right edge passes x.
int IndexAtX(WkObject* field, int line, int x);
// Cursor x, column and line from the cursor index.
void UpdateCursor(WkObject* field);
void ClearSelection(WkEditData* d);
bool HasSelection(const WkEditData* d);
// The field holds a preset or its placeholder, unchanged by the user since
// the program gave it.
bool PresetUntouched(const WkEditData* d);
void SelectionRange(const WkEditData* d, int* from, int* to);

// Applies a change. A change by the user beeps and is dropped while the
// field is not usable; verify lets the verify callback refuse or rewrite it;
// notify calls the value callback after. 1 when applied.
int ApplyChange(WkObject* field, WkEditChange* change, bool byUser, bool verify, bool notify);
// A change at the cursor, or in place of the selection when there is one.
int ChangeAtCursor(WkObject* field, const char* text, int insertCount, int removeAfter);
// Runs the leave check (key 0 and reason 1 for a lost focus); 1 accepts.
int LeaveCheck(WkObject* field, int key, int reason);
void SetMarked(WkObject* field, int marked);
void CallCursorCallback(WkObject* field);

// Drawing. Nothing while the field is not shown and realized.
void DrawLines(WkObject* field, int firstLine, int lastLine);
// The top of a line's band and the height of a band.
int LineTop(WkObject* field, int line);
int LinePitch(WkObject* field);
void DrawAll(WkObject* field);
void DrawFocusFrame(WkObject* field);
// Hides or shows the cursor (redrawing its cell's line).
void ShowCursor(WkObject* field, bool on);
// Moves the view so the cursor is visible; redraws the text when it moved.
void ScrollIntoView(WkObject* field);

// Keys (message 1).
int HandleKey(WkObject* field, WkMessage* message);
// Pastes the clipboard in place of the selection or at the cursor.
void Paste(WkObject* field);

// Restarts the 300 ms timeout that blinks the cursor and ends a series of
// clicks.
void RestartBlink(WkObject* field);
// Press, release, motion, pop-down and wheel.
int HandlePointer(WkObject* field, WkMessage* message);
// The place in the text under a point of the field.
int HitTest(WkObject* field, int x, int y);
// Redraws after the selection or the cursor changed: the cursor scrolled
// into view, the cursor shown, the cursor callback called.
void CursorMoved(WkObject* field, bool notify);

// The scroll bars of a scrolled field take the text's line count, the view,
// the widest visible line and the offsets; nothing without bars.
void UpdateBars(WkObject* field);

} // namespace edit
