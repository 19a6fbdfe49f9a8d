// The order in which lists of names are shown and written: the players page,
// the player database and the list of players by name. Names are
// Windows-1252 bytes; a letter with an accent sorts with its base letter
// (Ä and à with A, É with E, Ö and Ø with O, Š with S, ß with S), the accent
// breaking a tie only where the names are equal letter for letter, and case
// counts for nothing. The model links no toolkit, so the letters' base
// forms are held here; their case pairs agree with the toolkit's letters.
#pragma once

// Negative, 0 or positive as strcmp; 0 only for names that differ in case alone.
int CompareNames(const char* a, const char* b);
