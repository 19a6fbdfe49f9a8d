// The output-files page: its table of buttons, each showing one of the
// report files in the page's viewer, printing the file shown or opening it
// in a window of its own; also the pairing page's print and logs buttons,
// which reach the same handlers. Owns nothing: the file shown is the
// viewer's (text_viewers.h).
#pragma once

struct WkObject;

// Shows, prints or opens the file of a button's id (the ids of the page's
// table, 15 for the pairing page's print button); unknown ids do nothing.
void ShowOutputFile(WkObject* button, int id);
// The logs button: the current round's pairing trace and score-group dump
// side by side.
void LogsCommand();

// Fills the page's button table and connects it, the pairing page's print
// button and the logs button.
void ConnectOutputPage();
