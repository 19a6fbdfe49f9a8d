// The national rating report "%s%s.elo" (DataFolder, file base name).
//
// One comma-separated file per tournament for the national federation's
// rating office: a header with the tournament's data, then one line per
// registered player, in id order, with his identities, ratings, K factor,
// rating variation, the number, average rating and score of his FIDE-rated
// opponents, and a five-digit code for every round. The leaders' negative
// variations are written as 0; that is done on a copy, so the tournament's
// own values never change. Only reads the tournament.
#pragma once

#include <string>

// The file's path: DataFolder, base name and ".elo".
std::string NationalRatingReportPath();

// A player's result code of one round split into the report's played flag
// (1 a game at the board, 0 not) and result digit (1 win, 2 loss, 3 draw).
// Every code gets a value: a half point without a game (8) is an unplayed
// draw, and a code that no round table should hold counts as an unplayed
// loss. Code 0 is a loss at the board, also in a round without an opponent.
void SplitResultForReport(int code, int& played, int& digit);

// Writes the report. Does nothing and returns false without players. When
// the file cannot be written it shows the alert "I cannot save the *.ELO
// file", leaves any earlier file as it was and returns false; true when the
// file stands complete.
bool WriteNationalRatingReport();

// The reports menu's command: writes the report and confirms with the alert
// "OK file report *.ELO" only when it was written.
void NationalRatingReportCommand();
