// The FIDE rating report: "fideelo.txt", "fidecros.txt" and "fidecard.txt"
// in the DataFolder.
//
// The rating list names every player who takes part in the rating (FIDE-rated
// with at least one rated game, or with a FIDE rating of exactly 0 and at
// least three) with his points, games and the average FIDE rating of his
// rated opponents (as on his card, whatever rating the tournament uses); the
// cross table gives every player's results round by round; the cards list each
// rating participant's rated games. Players are referred to by their position
// in the cross table's order (standings or pairing numbers), which the cross
// table hands to the cards. The rating list's fields are comma-separated, so
// commas and line breaks in its texts are written as blanks, and so are they
// on the cards. Only reads the tournament; each file is written whole.
#pragma once

#include <vector>

// True when the player takes part in the rating over rounds 1..rounds.
bool TakesPartInRating(int player, int rounds);

// The cross-table order's position (1-based) of every id 0..999 among
// players 1..players: by the standings when byStandings is not 0, else by
// pairing numbers (rating used, category, name). 0 for ids not listed.
std::vector<int> CrossTablePositions(int players, int byStandings);

// Each writer returns true when its file (both files for the cross table,
// which ends by writing the cards) stands complete.
bool WriteFideRatingList(int players);
bool WriteFideCrossTable(int players, int byStandings);
// positions as CrossTablePositions gives them; an id beyond it has none.
bool WriteFideCards(int players, const std::vector<int>& positions);

// The reports menu's FIDE commands: nothing while the registration is open;
// otherwise writes the three files and shows "OK files FIDEELO.TXT,
// FIDECARD.TXT, FIDECROS.TXT", or, when one of them could not be written, an
// alert that says so.
void FideRatingReportCommand(int players, int byStandings);
