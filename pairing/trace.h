// The pairing trace of the round being paired.
//
// While the verbose option is on, the engines, the BYE choosers and the group
// search explain their steps in one stream, opened per round by the engine
// that pairs it. PairingTrace points at that stream, or is null when nothing
// is traced; whoever opens the stream sets it and clears it again on closing.
#pragma once

#include <iosfwd>

extern std::ostream* PairingTrace;

// The trace stream when the verbose option is on and a stream is open, else
// null: writers test the result and write nothing on null.
std::ostream* ActivePairingTrace();
