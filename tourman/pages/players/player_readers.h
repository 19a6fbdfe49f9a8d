// The player list readers: one line of a player database file becomes a new
// row of the player list, or goes into the player entry form for checking.
// Which reader runs is given by ImportMode (column_filter.h): 1 the program's
// own semicolon player file, 2 the FIDE and 3 a national fixed-width list
// (cut by the column filter), 4 the FSI (Italy) semicolon list.
//
// A line is read into a Player record first (texts trimmed, numbers parsed,
// blank country, title and birth date given their defaults, a ';' or a
// control character turned into a blank as the tournament file would) and
// the row is built from that record by the player list's row formatter, so
// an imported row reads back exactly like a typed one. A line that would
// lose something is refused with an alert that shows it and says why: no
// name (or one of a letter), a text longer than its field (name 20, country
// 3, birth date 8, title 3), a number wider than the entry form's field (ids
// 8 digits, ratings 4, K 2) or below 0; a field that holds no number reads
// as 0. Each import and each copy into the form removes its line from the
// result list. The readers keep no state.
#pragma once

struct WkObject;
struct WkListItem;

// The database page lists a line of at most this many characters; a longer
// one is listed as its start, with CutDatabaseLine as its user data.
inline constexpr int DatabaseLineLength = 100;
inline constexpr int CutDatabaseLine = 1;

// The readers take the result list and its item whose text is the line. Each
// refuses at the player limit (MsgPlayerLimit and the limit: 23 in a round
// robin, else 999); the semicolon reader also once the registration is closed
// or a round saved (MsgNoImportAfterStart), the fixed-width one without a Name
// column (MsgNoNameColumn, before the limit); then a line that makes no player.
void ImportSemicolonLine(WkObject* list, WkListItem* item, void* data);
void ImportFixedWidthLine(WkObject* list, WkListItem* item, void* data);
void ImportFsiLine(WkObject* list, WkListItem* item, void* data);

// The import button: the list's selected line into the entry form's fields
// (no limit, no state checked; the form's add command validates later),
// the Available toggle on. Nothing when no line is selected; a line that
// makes no player is refused as by the readers, the form left as it was.
void CopySemicolonLineToForm(WkObject* list);
void CopyFixedWidthLineToForm(WkObject* list);
void CopyFsiLineToForm(WkObject* list);
