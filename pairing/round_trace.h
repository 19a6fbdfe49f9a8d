// The trace file of the round being paired, and the frame of the
// score-group dumps (the engines write what their groups hold).
//
// While the verbose option is on, the engine that pairs a round opens
// "<DataFolder>verbos<round>.txt" (replacing an older one) and points the
// process-wide PairingTrace at it; everything written there gets CR LF line
// ends. Closing it (the engine on every return, the dispatcher once more
// after the engine, in case an engine left it open) clears PairingTrace.
// The module owns the one open file.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

struct ScoreGroup;

// "%sverbos%d.txt" of the data folder and the round.
std::string PairingTracePath(int round);

// With the verbose option on, opens the round's trace file and sets
// PairingTrace; returns whether a trace is now open. With it off, does
// nothing and returns false. A file that cannot be created leaves no trace
// open (pairing goes on untraced).
bool OpenPairingTrace(int round);
// While on, OpenPairingTrace adds to the round's file instead of replacing
// it, so that a round tried again follows the attempts before it.
void KeepPairingTraceOnOpen(bool on);
// Flushes and closes the trace file, if one is open, and clears PairingTrace.
void ClosePairingTrace();

// What an engine writes of one group in its score-group dump, after the
// group's heading.
using ScoreGroupDumpBody = std::function<void(std::ostream& out, const ScoreGroup& group)>;

// Writes the score-group dump of a pass as
// "<DataFolder>scgr<CurrentRound>-<pass>.txt" (replacing an older one) with
// CR LF line ends: the line "Score groups of the round <CurrentRound>", then
// for each group 1..groupCount an empty line, the heading " Group <g>,
// score = <score>" between two rules of ruleWidth dashes, and what body
// writes of the group. The file is put in place whole or not at all; one
// that cannot be written leaves the earlier file as it was and is alerted
// (MsgCannotCreateFile and the path), and pairing goes on.
void WriteScoreGroupDump(int groupCount, int pass, int ruleWidth, const ScoreGroupDumpBody& body);
