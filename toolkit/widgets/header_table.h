// The table with frozen headings: a composite of up to four table forms
// laid out in an outer table. Heading rows stay at the top and scroll
// sideways with the body; heading columns stay at the left and scroll up
// and down with it; a corner sits where both meet; the body scrolls both
// ways under two scroll bars, each shown only when the body does not fit
// its view. Cells added to the outer table in reading order go to the
// inner table they belong to, and the headings and the body keep their
// columns and rows the same width and height.
//
// The outer table owns (as its children) the corner table, the three views
// with their inner tables, the bars and the fillers; the inner tables own
// the cells.
#pragma once

#include "toolkit/core/object.h"

// Returns the outer table; a corner exists when both heading counts are
// positive. A visible width (height) below 1 means no scrolling that way.
WkObject* WkCreateHeaderTableForm(WkObject* parent, int columns, int visibleWidth, int visibleHeight,
                                  int headingRows, int headingColumns);
// Aligns the headings' columns and rows with the body's and sizes the views
// and the bars' row and column; run by the outer table's size query.
void WkTableSyncHeadings(WkObject* table);

// 1 for the outer table of a table with frozen headings.
int WkTableHasFrozenHeadings(WkObject* form);

// Hooks of the form class for an outer table (none of them acts on any
// other form). The table a new cell of the form goes to: an inner table,
// or the form itself.
WkObject* WkTableCellTarget(WkObject* form);
// After a cell went into an inner table: a completed body row lays the
// shown table out again.
void WkTableCellAdded(WkObject* form);
// The inner tables, for spacing and grid: up to four, the rest none.
int WkTableInnerTables(WkObject* form, WkObject* tables[4]);
// After the columns were placed, the horizontal bar's row is given its
// height or none; after the rows, the vertical bar's column: 1 when that
// column changed and the columns must be placed again.
void WkTableFitBarRow(WkObject* form);
int WkTableFitBarColumn(WkObject* form);
// The body view for a heading view (the view scrolled when an object in a
// heading takes the focus), else the form itself.
WkObject* WkTableScrolledView(WkObject* form);
// The inner table and cell coordinates a cell of the outer table lies in;
// none when the form has no frozen headings.
WkObject* WkTableLocateCell(WkObject* form, int* column, int* row);
