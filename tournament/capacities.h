// Capacities of the tournament's tables, in one place.
//
// Every fixed table of the tournament model is sized from these numbers, and
// every writer checks its indices against them: a player id is three decimal
// digits inside a game code, so at most 999 players (rows 0..999, row 0 the
// BYE); a Swiss tournament plans at most 20 rounds and keeps one column more;
// a round robin holds 3 to 24 players and at most 46 rounds (double, 24
// players). Column 0 of every per-round table is not used.
#pragma once

// Players.
constexpr int MaxPlayers = 999;            // highest player id
constexpr int PlayerRows = MaxPlayers + 1; // rows 0..999, row 0 is the BYE
constexpr int RoundRobinMinPlayers = 3;
constexpr int RoundRobinMaxPlayers = 24;

// Rounds.
constexpr int MaxPlannedRounds = 20;                 // Swiss PlannedRounds 1..20
constexpr int SwissMaxRound = MaxPlannedRounds + 1;  // per-round tables keep rounds 1..21
constexpr int SwissRoundColumns = SwissMaxRound + 1; // columns 0..21
constexpr int RoundRobinMaxRound = 46;               // double round robin of 24
constexpr int RoundRobinRoundColumns = RoundRobinMaxRound + 1;
constexpr int RoundRobinPlayerRows = RoundRobinMaxPlayers + 1;

// Boards.
constexpr int SwissMaxBoards = 500;     // 999 players plus the BYE
constexpr int RoundRobinMaxBoards = 12; // 24 players, or 23 and the BYE board

// Fixed text fields, terminator included.
constexpr int PlayerNameSize = 22;      // 21 characters
constexpr int PlayerCountrySize = 4;    // 3 characters
constexpr int PlayerBirthDateSize = 10; // 8 characters, "00.00.00" when not given
constexpr int PlayerTitleSize = 4;      // 3 characters
constexpr int TournamentNameSize = 30;  // 25 characters used
constexpr int TournamentPlaceSize = 48; // 25 characters used
constexpr int TournamentDateSize = 9;   // 8 characters
constexpr int ArbiterSize = 30;         // 25 characters used
constexpr int BaseNameSize = 30;        // 8 characters used, no blanks
constexpr int DataFolderSize = 128;     // 127 characters, ends with '/'

// Tie-breaks and messages.
constexpr int TieBreakSlots = 10;     // TieBreakOrder; the first 0 ends it
constexpr int TieBreakCodeCount = 10; // codes 0 (none) to 9
constexpr int MessageCount = 224;     // message numbers 0..223
