// What the rating reports read of the tournament, in one place.
//
// The national rating report and the three FIDE files count the same games:
// a player's games at the board against FIDE-rated opponents. This module
// counts them, gives the rounds and players a report covers (limited to the
// tables, so a corrupt counter never reads outside them), and makes the
// tournament's texts safe for the comma-separated lines these files are read
// by: a comma or a line break inside a name would shift every later field,
// and an empty letter field would write a NUL byte. Owns nothing.
#pragma once

#include <cstddef>
#include <string>

// A player is FIDE-rated when his FIDE rating is above 0.
bool IsFideRated(int id);

// A rated game of a player in a round: he has an opponent there, his result
// code is 0, 1 or 2 (a game at the board) and the opponent is FIDE-rated.
bool IsRatedGame(int player, int round);

// A player's rated games over rounds 1..rounds: how many, the sums of the
// opponents' ratings used and FIDE ratings, and the points counted as 1 for
// a win and 0.5 for a draw (the tournament's own points are not used).
struct RatedGames {
    int count = 0;
    long long ratingUsedSum = 0;
    long long fideRatingSum = 0;
    float points = 0.0f;
};
RatedGames CountRatedGames(int player, int rounds);

// sum / count in integer division, 0 without a game.
long long AverageOf(long long sum, int count);

// The rounds a report covers: CurrentRound, limited to the rounds the
// tournament's tables hold.
int ReportedRounds();
// The players a report covers: ids 1..players, players limited to the table.
int ReportedPlayers(int players);

// A text for a comma-separated line: every comma and every control
// character (line breaks among them) becomes a blank.
std::string CommaFreeText(const std::string& text);
// A fixed field's text the same way (never read past the field's end).
std::string CommaFreeField(const char* field, std::size_t size);
template <std::size_t N> std::string CommaFreeField(const char (&field)[N]) {
    return CommaFreeField(field, N);
}
// One letter the same way; the empty letter (NUL) is a blank too.
char CommaFreeLetter(char letter);

// A float cut toward zero to an int; a value beyond the int range is held at
// its end and a NaN gives 0, so a corrupt value cannot make the cast undefined.
int TruncatedInt(float value);
