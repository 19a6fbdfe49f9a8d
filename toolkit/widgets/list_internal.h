// What the scrolled list's modules share: the store lookups by list
// position, the shared item record, drawing of rows, moving the current
// item and the view, and the key and pointer handlers.
#pragma once

#include "toolkit/widgets/list.h"

namespace list {

// A record of kind 1 with the sizes a constructor gives (1 at least each).
WkListData NewRecord(int itemLength, int rows, int columns);

// The stored node at a list position, null when it is not stored.
WkItemNode* Node(WkObject* list, int position);
// The shared record filled from a node (or "(NULL)" and zeros without one).
WkListItem* Fill(WkItemNode* node, int position);

bool Live(const WkObject* list);
// The row's colours drawn again; the whole area with DrawAll.
void DrawRow(WkObject* list, int position);
void DrawAll(WkObject* list);
// Counts and views into the bars.
void UpdateBars(WkObject* list);
void SetFirstRow(WkObject* list, int row);
void SetFirstColumn(WkObject* list, int column);
void ScrollIntoView(WkObject* list, int position);
// Makes the position current (redrawing the old and the new row) without
// telling anyone; returns true when it changed.
bool MoveCurrent(WkObject* list, int position);
// The select callback with the cause (null: the program).
void NotifySelect(WkObject* list, WkMessage* cause);
// Linked objects, then the activate (extra 0) or click (extra 1) callback.
void Activate(WkObject* list, int position, int extra);
void ResetSearch(WkListData* d);

int HandleKey(WkObject* list, WkMessage* message);

// Lists that keep a window of their items (list_window.cpp): the window
// read from the start on through the window callback; the window moved when
// the rows shown left it; a fetch list's and a file viewer's keys (false
// for a key they leave to the plain list).
void ReadWindow(WkObject* list, int start);
void FollowWindow(WkObject* list);
bool FetchKey(WkObject* list, int key);
bool ViewKey(WkObject* list, int key);
int HandlePointer(WkObject* list, WkMessage* message);

} // namespace list

// The table of objects that take the item's text on activation or click:
// pairs of object and text offset, copied. No operation of the toolkit
// fills it; tests do through this.
void WkListSetLinkedObjects(WkObject* list, const WkListLink* links, int count);
