// The output-files page: built by BuildOutputPage into its notebook page
// (the viewer of the file shown and the table of the page's buttons) and
// filled by ConnectOutputPage with its buttons, each showing one of the
// report files in the viewer, printing the file shown or opening it in a
// window of its own; the pairing page's print and logs buttons reach the
// same commands. The widgets are OutputPage (output_widgets.h); the file
// shown is the viewer's (text_viewers.h).
#pragma once

struct WkObject;

// Builds the page into page, filling OutputPage.
void BuildOutputPage(WkObject* page);
// Fills the page's button table and connects its buttons.
void ConnectOutputPage();

// The page as the tournament stands: a tournament made or opened since it
// last showed one empties the viewer, so that nothing of the one before
// is left.
void ShowOutputPageState();
// Shows, prints or opens the file of a button's id (the ids of the page's
// table, 15 for the pairing page's print button); unknown ids do nothing.
void ShowOutputFile(WkObject* button, int id);
// The logs button: the current round's pairing trace and score-group dump
// side by side.
void LogsCommand();
