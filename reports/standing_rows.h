// What the standing reports print of a player, shared by the cross tables,
// the standings, the category ranking and the group rankings.
//
// Holds the two heading lines every text report starts with, the name field
// that marks a withdrawn player with "(W)", the performance rating as an
// integer, the tie-break codes of the tournament's order with their values
// and columns, and the players 1..n in a given sort order. Owns no state:
// everything is read from the players, the scores and the settings, through
// accessors that never read outside a table.
#pragma once

#include "tournament/standings_order.h"

#include <string>
#include <vector>

// "Tournament: <name>\n" and "<place> - <begin>,<end>\n".
void AppendReportHeading(std::string& out);

// The 20-character name field: the name cut or padded to 20, or for a player
// who is not available the name cut or padded to 17 and "(W)".
std::string StandingName(int id);
// The whole name, with " (W)" after it for a player who is not available.
std::string FullStandingName(int id);

// The stored performance rating cut toward zero, negative ones included;
// limited to -9999..9999, so a corrupt value never overflows the conversion.
int ShownPerformance(int id);

// The column header line of a ranking: the fixed columns, " <title> " for
// each code and the end of line; then a rule of ruleLength + perCode x codes
// "-" characters.
void AppendRankingHeader(std::string& out, const char* columns, const std::vector<int>& codes, int ruleLength,
                         int perCode);
// The fixed columns of a ranking row: "%3d %4.1f %3d %s | %4d %3s %3s | "
// with position, score, id, name field, rating used, title and country.
void AppendRankingRow(std::string& out, int position, int id);

// The frame of a summary web page: the standard head with the tournament
// name, the navigation bar and the title block; after the content the
// navigation bar, the footer and the page end.
void AppendSummaryPageStart(std::string& out);
void AppendSummaryPageEnd(std::string& out);

// The codes of the TieBreakOrder in order, up to the first 0; an unknown
// code ends the list as it ends the standings order.
std::vector<int> TieBreakCodes();
// " <title> " for each code, as the text headers print them.
void AppendTieBreakTitles(std::string& out, const std::vector<int>& codes);
// The value of one code as a text column (" %6.2f " or "  %4.0f  ") or as
// an HTML cell.
void AppendTieBreakText(std::string& out, int id, int code);
void AppendTieBreakHtml(std::string& out, int id, int code);

// players limited to the registered players (0..PlayerCount).
int ReportPlayerCount(int players);
// The CurrentRound, limited to the rounds the active tables hold.
int ReportRoundCount();

// Ids 1..players, limited to the registered players, stably sorted.
std::vector<int> SortedPlayers(int players, PlayerComparator compare);
