// The player entry form of the players page and the commands on its list:
// adding a player or changing the picked one, clearing the form, putting a
// picked row (of the player list or the list of unavailable players) back
// into the form, deleting the selected row, finding a row by number or text,
// the player list's popup menu, and moving the form's player into another
// tournament's file.
//
// The module owns one text: the row last put into the form, until the next
// add, change or delete (a change needs one and replaces that row). The rows
// themselves are the player list's; the records follow them (player_list.h).
#pragma once

#include <cstdint>

struct Player;
struct WkObject;
struct WkMessage;
struct WkListItem;

// Mode 0 adds the form's player (a late entry once the registration is
// closed, Swiss only); mode 1 replaces the picked row. Saves every tenth
// player added, every late entry and every change. A name of fewer than 2
// characters, a country of one letter or a birth date that is not a day of
// the calendar written dd.mm.yy (nor 00.00.00, or empty: not known) is
// refused with a message naming the field, which gets the focus with its
// text selected; the form keeps what it holds.
void AddOrModifyPlayer(int mode);
// Empties the form and the search field: Birthday "00.00.00", K "30",
// title "NC", available on; the gender toggle keeps its state.
void ClearPlayerForm();
// A row of the player list into the form; the search field shows its number.
void RowToForm(const WkListItem* item);
// A row of the list of unavailable players: picks the same player in the
// player list (once the registration is closed).
void SecondListSelect(const WkListItem* item);
// Removes the selected row and clears the form, leaving no row selected;
// beeps when none is selected.
void DeletePlayer();
// Selects row n for a number 1..PlayerCount, otherwise the first row that
// contains the text, and puts it into the form as a pick does (the search
// field then shows its number, selected); nothing when no row matches.
void FindPlayer(const char* text);
// Appends the form's player to another tournament's file, after the arbiter
// chose the file and confirmed; the player stays in this tournament. The
// form is checked as for an add.
void MovePlayerToFile();
// The player list's event handler: pointer button 3 pops the popup menu
// (userData) up at the pointer; every other event passes on.
void ShowPlayerPopup(WkObject* list, WkMessage* event, void* menu, std::uint32_t mask);

// The form's player as AddOrModifyPlayer reads it: the name without leading
// blanks, "---" for a country shorter than 2, "00.00.00" for an empty birth
// date, 0 for an empty id or rating.
Player FormPlayer();

// The form as a new window starts it: no row picked, the fields cleared.
void StartPlayerForm();
