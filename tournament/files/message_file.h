// The message file: the user-interface texts on disk.
//
// "messqnp.txt" in the program folder holds two free lines, a line with the
// count of texts, then one text a line; LoadMessageFile reads it into the
// message table once at start. A text is at most 98 characters: a longer
// line is cut there and the rest of it dropped, so every text keeps its
// number. A negative count is refused, a count above 224 is cut at 224; every
// entry the file does not fill gets an empty text, and a file that holds
// fewer texts than its count is loaded with a warning naming it and both
// numbers.
// Installable message files ("*.qnp") have the same layout; installing one
// copies it over "messqnp.txt" and takes effect at the next start.
#pragma once

#include <string>

constexpr const char* MessageFileName = "messqnp.txt";
constexpr int MessageTextMax = 98;

// Reads ProgramFolder + "messqnp.txt" into the message table. When the file
// is missing or not a message file, shows a fixed English alert naming the
// file (the table holds no texts yet) and returns false, leaving the table
// as it was; the program should then end.
bool LoadMessageFile();
// The same from any path; used by LoadMessageFile and the tests.
bool LoadMessageFileFrom(const std::string& path);

// Copies the message file at path over ProgramFolder + "messqnp.txt" (line by
// line, CR LF line ends, one empty line added at the end); the table in memory
// is not reloaded. Alerts MsgCannotReadMessageFile when the file cannot be read
// or is not a message file, MsgCannotReplaceMessageFile when the copy cannot be
// written (the old file then stays), and MsgLanguageAtNextStart when it is
// done. Returns true when installed.
bool InstallMessageFile(const std::string& path);
