// The message table: the user-interface texts by number.
//
// Entries 0..223; each is null until the message file fills it. Code that
// shows a text names its number through MessageText, which never fails: an
// entry the file did not fill (or a number outside the table) gives
// "[message N]", so a missing text is visible but harmless. The numbers have
// names in message_numbers.h; MsgClose is the caption of the alert box's
// button.
#pragma once

#include "tournament/capacities.h"
#include "tournament/message_numbers.h"

#include <string>

// Owned texts (Windows-1252 bytes); null where no text was loaded.
extern const char* MessageTable[MessageCount];

std::string MessageText(int number);

// Sets one entry to a copy of text (used by the message-file loader and by
// tests); a number outside 0..223 is ignored.
void SetMessageText(int number, const std::string& text);
// Empties every entry.
void ClearMessageTable();
