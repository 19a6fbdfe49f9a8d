// The column filter: where each of the seven columns of a fixed-width rating
// list starts in a line and whether the list has that column at all. Holds
// the process's one filter (all columns off at start), its files ("*.flt",
// seven lines "flag  start"), the default filter "filter/fide.flt" in the
// program folder, the dialog that edits the filter, and the kind of player
// database chosen (ImportMode), which the dialog and the line readers go by.
//
// The dialog's widgets exist only while it is open; their handles are kept
// in ColumnFilterDialog and cleared when the window goes.
#pragma once

struct WkObject;
struct WkMenuItem;

// The slots, in the order of a filter file's lines.
enum ColumnSlot { RatingColumn, TitleColumn, KColumn, CountryColumn, BirthdayColumn, IdCodeColumn, NameColumn,
                  ColumnCount };

struct ColumnFilterSlot {
    int enabled; // 0 off, anything else on
    int start;   // 0 is a line's first character
};

extern ColumnFilterSlot ColumnFilter[ColumnCount];
// The widths are the lists' own; only the flags and starts come from a file.
inline constexpr int ColumnWidth[ColumnCount] = {4, 2, 2, 3, 8, 8, 20};
// A start must lie within the 100 characters of a listed line.
inline constexpr int MaxColumnStart = 99;
inline constexpr const char* DefaultColumnFilterFile = "filter/fide.flt";

// The kind of player database the database page works on.
inline constexpr int ImportNone = 0, ImportQuon = 1, ImportFide = 2, ImportNational = 3, ImportFsi = 4;
extern int ImportMode;

struct ColumnFilterDialogWidgets {
    WkObject* window = nullptr;
    WkObject* toggles[ColumnCount] = {}; // by slot
    WkObject* starts[ColumnCount] = {};  // the start fields, by slot
};
extern ColumnFilterDialogWidgets ColumnFilterDialog;

// With useDefault non-null reads the default filter; otherwise asks for a file
// (MsgLoadColumnFilterTitle, "*.flt") and shows what it read in the open
// dialog. A file that cannot be opened, holds fewer than seven lines of two
// numbers, or a start outside 0..MaxColumnStart gives MsgCannotOpenFile and
// changes nothing.
void LoadColumnFilter(WkObject* button, void* record, void* useDefault);
// Takes the dialog's values into the filter, asks for a file (MsgSaveFilter)
// and replaces it safely with the seven slots; MsgCannotCreateFile when that
// fails.
void SaveColumnFilter(WkObject* button, void* record, void* data);
// MsgColumnFiltersNotUsed in the semicolon kinds (1 and 4); otherwise shows the
// dialog.
void OpenColumnFilterDialog();
// The dialog's OK: takes its values into the filter and closes it. A slot
// turned off keeps its start.
void OnColumnFilterOk(WkObject* button, void* record, void* data);
// Builds the dialog (not yet shown) from the filter and returns its window.
WkObject* BuildColumnFilterDialog();
// The "Column filter" item of the player-database submenu.
void OnColumnFilterItem(WkMenuItem* item, int checked, void* data);
