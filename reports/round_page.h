// The web page of one round's boards, shared by the pairing page and the
// result page: the standard frame, a heading naming the round, a table with
// one row per board made by the caller, and the navigation bar again.
#pragma once

#include "reports/round_boards.h"

#include <string>
#include <vector>

using BoardRowWriter = void (*)(std::string& out, const RoundBoard& board);

// heading is "Pairing at round" or "Result at round".
std::string RoundBoardPage(const char* heading, int round, const std::vector<RoundBoard>& boards, BoardRowWriter row);
