// The rating preview of a round, "eloprev.txt" in the data folder.
//
// When a paired round is accepted, the preview tells each player who has an
// opponent in that round, is available and has a K factor what his rating
// change of the tournament would become after a loss, a draw or a win. It
// reads the round's game codes and the rating variation computed through the
// previous round. Written whole every time, CR LF line ends, through the
// atomic file writer: a failed write leaves the earlier preview as it was.
// Owns nothing.
#pragma once

#include <string>

// The preview's path: the data folder and "eloprev.txt".
std::string EloPreviewPath();

// Writes the preview of round for players 1..players. Returns false when the
// file could not be written whole; the caller tells the arbiter.
bool WriteEloPreview(int players, int round);
