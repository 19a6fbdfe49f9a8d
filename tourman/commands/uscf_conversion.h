// The conversion of USCF's tab-separated player database into a fixed-width
// file beside it (the input's name with ".fix" added) that the player import
// reads as a national list through a column filter: name at 0 (40), id at 40
// (8), the third field at 50 (10), the fourth right-aligned in 3 from 61
// (cut to 3), the two ratings at 65 and 70.
#pragma once

#include <string>

// The Extras menu's command: asks for the input file ("USCF DB") and converts
// it. MsgCannotOpenFile when it cannot be read, MsgCannotCreateFile when the
// output cannot be written whole (an old output then stays).
void ConvertUscfDatabase();
// One input line as its output line, without the line end.
std::string UscfFixedWidthLine(const std::string& line);
