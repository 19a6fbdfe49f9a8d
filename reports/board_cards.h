// Board cards of a round: one card per board with both players' names,
// ratings, titles and scores before the round, the signature rules and the
// result field, and a cutting line between cards.
//
// WriteBoardCards writes them as text, "boardcrd.txt", in board order;
// WriteBoardCardsRtf writes the same cards as an RTF document,
// "boardcrd.rtf", seven cards to an A4 page in Courier, laid out so that the
// first cards of all pages are boards 1 to P (P pages), the second cards the
// next P boards, and so on: a stack of cut pages comes out in board order.
// Both read the game table of the tournament's pairing system and never
// change anything.
#pragma once

#include <string>

// The text file's name, and how each card's first line begins, so that a
// printer can keep a card on one page.
inline constexpr const char* BoardCardsFileName = "boardcrd.txt";
inline constexpr const char* BoardCardStart = " Table ";

// Each writes DataFolder's file whole and returns whether it was written.
bool WriteBoardCards(int round);
bool WriteBoardCardsRtf(int round);

// text with '\\', '{' and '}' escaped for RTF and every byte above 127
// written as its \'hh escape, so any Windows-1252 text prints as it is.
std::string RtfEscape(const std::string& text);
