// The tournament manager's start: AppMain, which the toolkit's entry calls,
// and the wiring of the lower layers that only the program can do (the
// pairing engines, the report writers, the message boxes and the main
// window's hooks).
#pragma once

// The application's main: starts the program (StartApplication) and runs
// the event loop until the toolkit quits; ends at once, returning 1 (the
// process's exit status) with a line on the standard error, when the
// message file cannot be loaded.
int AppMain(int argc, char** argv);
// Every step of AppMain before the event loop: the program folder from the
// current folder, the message file, the main window built, shown and given
// its close handler. False (after the loader's alert) when the message file
// could not be loaded; nothing is built then.
bool StartApplication();
// Plugs the pairing engines, the report writers, the colour improvement, the
// message boxes and the main window's hooks (the player lists, a cancelled
// pairing, the pairing of round 1, the colour improvement's board list) into
// the layers that call them. Safe to call again.
void InstallServices();
