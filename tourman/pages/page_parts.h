// The pieces the notebook's pages are built of, made alike on every page:
// the font slots the pages use, an edit field with its filter, a button of
// a given size, and a fixed-font list with its title and name, and the
// rows a list shows. Holds no state.
#pragma once

#include <string>
#include <vector>

struct WkObject;

// The font slots of the pages' widgets.
inline constexpr int PageFontFixed = 1, PageFontHelvSmall = 4, PageFontHelvMedium = 5, PageFontTimesMedium = 7;
// The etched-in shadow of the pages' rows and buttons.
inline constexpr int PageEtchedIn = 3;

// An empty edit field of length characters in the font, taking only the
// characters of the filter (and the extra ones).
WkObject* PageEdit(WkObject* parent, int length, int font, int filter, const char* extra = nullptr);
// A button with the caption; a width or height above 0 is set.
WkObject* PageButton(WkObject* parent, const std::string& caption, int font, int width, int height);
// A fixed-font list length characters wide and rows high, its title, its
// name and its transparency set.
WkObject* PageList(WkObject* parent, int length, int rows, const char* title, const char* name, int transparency);
// Makes the list hold the rows in order, each row's data its number from 1
// (a board's rows are its boards). A list that holds them already is left
// as it is, its selection too; otherwise it is filled anew, hidden while
// filling. True when it was filled anew.
bool ShowListRows(WkObject* list, const std::vector<std::string>& rows);
