// The USCF section dialog and the section file "uscfsctn.txt".
//
// The dialog asks for the fourteen data USCF wants of the open tournament as
// one section of a rated event; Done writes them with every player's round
// cells into the tournament's folder, where the report generator gathers
// the sections of the event. The file is the whole contract between the two
// programs: line 1 the dates and the number of players, line 2 the fourteen
// fields each followed by a tab, an empty line 3, then one tab-separated
// line per player; CR LF line ends, Windows-1252 bytes.
//
// The dialog's widgets are held in UscfSection while its window lives (one
// dialog at a time) and forgotten with the window, so that nothing reads
// them once it is gone. The file is replaced whole or not at all.
#pragma once

struct WkObject;

inline constexpr int UscfFieldCount = 14;
inline constexpr const char* UscfSectionFileName = "uscfsctn.txt";
// The dialog's window title.
inline constexpr const char* UscfSectionTitle = "USCF Section Report";

struct UscfSectionWidgets {
    WkObject* window = nullptr;
    WkObject* fields[UscfFieldCount] = {}; // in file order
    WkObject* cancelButton = nullptr;
    WkObject* doneButton = nullptr;
};
extern UscfSectionWidgets UscfSection;

// Builds the dialog over the tournament as it stands and shows it; while one
// is shown it only comes forward. Refused with an alert while the last round
// is paired and its results are not closed.
void OpenUscfSectionDialog();
// The Done button: checks the fields (and, as the opening, the last round),
// writes the section file and closes the dialog; a refusal or a failed
// write leaves the dialog open and the old file as it was. A player line
// holds one cell a round, round 1 first.
void WriteUscfSectionFile(WkObject* button, void* record, void* data);
