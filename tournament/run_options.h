// Process-wide run options and modes shared across the subsystems.
//
// The options are toggles of the main window's menus (never stored in any
// file, all off at start); the two modes are set by pairing engines for the
// span of one step and read by the shared pairing predicates and orders.
// The program folder is where the program started, with a trailing '/'.
#pragma once

#include <string>

// 1 while the pairing trace is written ("%sverbos%d.txt" per round).
extern int VerboseOption;
// 1 when a Swiss round past the first gets the automatic colour improvement.
extern int ColorImprovementOption;
// 1 raises the colour limit from 2 to 3 and drops the USCF last-round rule.
extern int RelaxedColorOption;

// 1 while the FIDE Burstein engine runs a group's first search: then two
// players may only meet when their due colours differ. 0 between groups.
extern int StrictColorMode;
// 1 while the FIDE Dubov and Swiss Quon engine rebuilds and merges all groups
// for its last restart; the pairing orders of the player lists read it.
extern int MergedMode;

// The program's folder, ending with '/'; holds "messqnp.txt" and the "sys"
// pictures.
extern std::string ProgramFolder;

// Every option and mode off (program start).
void ResetRunOptions();
