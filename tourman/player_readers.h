// The player list readers: one line of a player database file becomes a new
// row of the player list, or goes into the player entry form for checking.
// Which reader runs is given by ImportMode (column_filter.h): 1 the program's
// own semicolon player file, 2 the FIDE and 3 a national fixed-width list
// (cut by the column filter), 4 the FSI (Italy) semicolon list.
//
// A line is read into a Player record first (texts trimmed and cut to their
// fields, numbers parsed, blank country, title and birth date given their
// defaults) and the row is built from that record by the player list's row
// formatter, so an imported row reads back exactly like a typed one. Each
// import and each copy into the form removes its line from the result list.
// The readers keep no state.
#pragma once

struct WkObject;
struct WkListItem;

// The readers take the result list and its item whose text is the line.
// Each refuses at the player limit (message 122 and the limit: 23 in a round
// robin, else 999); the semicolon reader also once the registration is
// closed or a round saved (message 123), the fixed-width one without a Name
// column (message 121, before the limit).
void ImportSemicolonLine(WkObject* list, WkListItem* item, void* data);
void ImportFixedWidthLine(WkObject* list, WkListItem* item, void* data);
void ImportFsiLine(WkObject* list, WkListItem* item, void* data);

// The import button: the list's selected line into the entry form's fields
// (no limit, no state checked; the form's add command validates later),
// the Available toggle on. Nothing when no line is selected.
void CopySemicolonLineToForm(WkObject* list);
void CopyFixedWidthLineToForm(WkObject* list);
void CopyFsiLineToForm(WkObject* list);
