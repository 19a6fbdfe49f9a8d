// The registered players of the open tournament.
//
// Holds the `Player` record, the process-wide player array indexed by player
// id (id 0 is the BYE "__BYE__", ids 1..PlayerCount the registered players, in
// pairing-number order once the tournament has started), the rating rule that
// gives each player the rating the tournament works with, and the three small
// text helpers that the file reader and the player forms share.
#pragma once

#include "tournament/capacities.h"

#include <string>

struct Player {
    char name[PlayerNameSize];           // upper case, commas turned into blanks
    char country[PlayerCountrySize];     // federation or country code
    char birthDate[PlayerBirthDateSize]; // "dd.mm.yy" as typed, "00.00.00" when not given
    int available;                       // 1 plays the next round, 0 withdrawn or absent
    char gender;                         // gender letter as typed
    int seedingKey;                      // pairing-order key, set after each round
    float pairingKey;                    // second pairing-order key, set after each round
    int ratingUsed;                      // by the rating rule (ApplyRatingRule)
    int categoryRank;                    // TitleRank(title)
    char title[PlayerTitleSize];         // "GM", "IM", "1N", ...
    int fideId;
    int fideRating;
    int nationalId;
    int nationalRating;
    int k; // K factor of the rating change
};

// Ids 0..999; id 0 is the BYE.
extern Player Players[PlayerRows];
// Number of registered players N; valid ids are 1..N.
extern int PlayerCount;

constexpr const char* ByeName = "__BYE__";

// True for a registered player's id (1..PlayerCount).
inline bool IsRegisteredId(int id) {
    return id >= 1 && id <= PlayerCount && id <= MaxPlayers;
}
// True for any id that indexes the player tables (0..999).
inline bool IsPlayerRow(int id) {
    return id >= 0 && id < PlayerRows;
}

// The record of id, or an empty record for an id outside the table (the
// empty pairing slot -1, a corrupt game code); for readers that must not fail.
const Player& PlayerRecord(int id);
// The name of id's record whole, without the blanks that pad it in the
// records and the list rows: for titles and lines that name the player.
std::string ShownName(int id);

// Sets the BYE's record: name "__BYE__", available 1, every other field 0;
// in its pairing state no colour due (-1) and a flexible colour (1).
void ResetByePlayer();

// Rating rule: with RatingChoice 1 the FIDE rating, or the national rating
// when the FIDE rating is 0; with RatingChoice 0 the national rating.
int RatingForChoice(const Player& player, int ratingChoice);
// Sets player.ratingUsed from the tournament's RatingChoice.
void ApplyRatingRule(Player& player);

// Category rank of a title text, compared exactly (case and blanks count):
// 20 "GM", 18 "WGM", 16 "IM", ... 1 "E" or "2S", 0 for anything else.
int TitleRank(const char* title);

// Copies source without its leading white space into destination
// (destinationSize bytes, always terminated, cut to fit). Returns the
// terminator's position in destination.
char* SkipLeadingBlanks(const char* source, char* destination, std::size_t destinationSize);
// Copies source upper-cased (a..z only), each comma turned into a blank, into
// destination (destinationSize bytes, always terminated, cut to fit). Returns
// the terminator's position in destination.
char* UpperNoComma(const char* source, char* destination, std::size_t destinationSize);

template <std::size_t N> char* SkipLeadingBlanks(const char* source, char (&destination)[N]) {
    return SkipLeadingBlanks(source, destination, N);
}
template <std::size_t N> char* UpperNoComma(const char* source, char (&destination)[N]) {
    return UpperNoComma(source, destination, N);
}

// Empties every player record and sets the count to 0 (program start).
void ClearPlayers();
