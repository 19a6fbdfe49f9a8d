// Game codes: one game packed into one int.
//
// A game code is white id x 10000 + black id x 10 + result digit, with ids
// 0..999; a board with id 0 on either side is a BYE board. Ids that cannot be
// packed give an alert and the value 9, which decodes as an empty unplayed
// board (0, 0, 9). Also holds the five-character result texts (Windows-1252,
// "\xBD" is the half).
#pragma once

// The result digit of a game code.
enum ResultCode {
    BlackWins = 0,        // "0 - 1"
    WhiteWins = 1,        // "1 - 0"
    BothForfeit = 2,      // "0F-0F"
    WhiteWinsForfeit = 3, // "1F- 0", also the BYE
    BlackWinsForfeit = 4, // "0 -1F"
    Draw = 5,             // "\xBD - \xBD"
    HalfEachUnplayed = 6, // "\xBDF-F\xBD"
    Adjourned = 7,        // " adj "
    HalfNoGame = 8,       // "\xBD FNB"
    NotPlayed = 9,        // " ... "
};

constexpr int EmptyGameCode = 9;

// Packs a game. An id below 0 or above 999, or a digit outside 0..9, shows
// the alert of MsgPlayerNumberTooHigh and gives 9.
int EncodeGameCode(int white, int black, int digit);
// Unpacks a code: digit = code mod 10, white = code / 10000,
// black = code / 10 - white x 1000. Returns white.
int DecodeGameCode(int code, int& white, int& black, int& digit);

// True when either side of the code is id 0.
bool IsByeCode(int code);

// The one result a BYE board takes, -1 for a board of two players. The BYE
// is the free point of the player who has it: "1F- 0" with the BYE as Black,
// "0 -1F" as White; a round robin's schedule gives the BYE "0F-0F", a round
// without play that scores nothing. Any other result would score a game the
// player never had.
int ByeBoardResult(int white, int black, bool roundRobin);

// The constant five-character text of a result digit; digits outside 0..9
// give the text of 9.
const char* ResultText(int digit);
