// Single cells, columns and rows of a table form: finding the object in a
// cell, setting a cell's text, font, alignment and colours, sizing,
// colouring and aligning whole columns and rows, and deleting rows. A
// table with frozen headings answers for the cells of its inner tables.
//
// Nothing here is owned; deleted rows' objects are destroyed.
#pragma once

#include "toolkit/core/object.h"

#include <cstddef>

// The object in the cell, through composite wrappers; none unless
// 0 <= column < columns and 0 <= row < rows and the cell is filled, or when
// the object is not a table form.
WkObject* WkTableGetCell(WkObject* table, int column, int row);
void WkTableSetCellText(WkObject* table, int column, int row, const char* text);
char* WkTableGetCellText(WkObject* table, int column, int row, char* buffer, std::size_t size);
void WkTableSetCellFont(WkObject* table, int column, int row, int font);
void WkTableSetCellAlignment(WkObject* table, int column, int row, int horizontal, int vertical);
void WkTableSetCellBackgroundRGB(WkObject* table, int column, int row, int red, int green, int blue);
void WkTableSetCellForegroundRGB(WkObject* table, int column, int row, int red, int green, int blue);

// Horizontal 63 (the default), 2, 0 or 1; vertical 63, 2, 3 or 4; any other
// value leaves that direction as it was.
void WkObjectSetAlignment(WkObject* object, int horizontal, int vertical);

// Column and row setters of plain table forms; an index outside the table
// does nothing.
void WkTableSetColumnWidth(WkObject* table, int column, int width);
// Only the cells of that row.
void WkTableSetRowHeight(WkObject* table, int row, int height);
void WkTableSetColumnFont(WkObject* table, int column, int font);
void WkTableSetColumnBackgroundRGB(WkObject* table, int column, int red, int green, int blue);
void WkTableSetColumnForegroundRGB(WkObject* table, int column, int red, int green, int blue);
// The default alignment of a column's or a row's cells (any row from 0).
void WkTableSetColumnAlignment(WkObject* table, int column, int alignment);
void WkTableSetRowAlignment(WkObject* table, int row, int alignment);

// Deletes count rows from the first (a negative count: to the last row),
// at most the rows there are; a first row outside the table deletes
// nothing. The table keeps its size. A table with frozen headings keeps
// its heading rows and counts the rows in its body.
void WkTableDeleteRows(WkObject* table, int first, int count);
void WkTableDeleteRow(WkObject* table, int row);
void WkTableClear(WkObject* table);
