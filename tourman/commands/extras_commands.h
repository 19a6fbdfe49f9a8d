// The commands of the Extras menu (reports and exports on demand, the
// backup, the message file, the group dialogs, the USCF items), of its
// tournament submenu (settings, deleting rounds, reopening the
// registration), of the Help menu and of the pairing page's option toggles.
// The option flags live with the run options; this module owns nothing.
#pragma once

struct WkObject;
struct WkMenuItem;

// The Extras items by their id (the item's user data). Items of the tournament
// alert MsgNeedsStartedTournament while none is open and write nothing; items
// that need the registration closed do nothing while it is open; every file
// written is confirmed only once its writer says it stands, and a failure
// alerts instead. Ids without a command do nothing.
void ExtrasCommand(int id);
// The tournament submenu: 1 settings, 2 delete all rounds, 3 delete the
// last round, 4 reopen the registration (one step on disk: the round file
// and the round snapshots kept aside under "<base>-reopened" names, with the
// players they were played by, and said so; a failure says so and changes
// nothing); each refusal and each question answered "stop" changes nothing.
void TournamentMenuCommand(int id);
// 0 the content note, 1 the about box.
void HelpCommand(int id);
// Sets option 1 (trace), 2 (relaxed colours), 4 (colour improvement) or 5
// to on (any non-zero value as 1); other numbers are ignored.
void OptionToggle(WkObject* toggle, int on, void* option);
// Option 5's flag, which nothing reads.
extern int UnusedOption;

// Menu-item callbacks carrying the id as user data.
void OnExtrasItem(WkMenuItem* item, int checked, void* id);
void OnTournamentMenuItem(WkMenuItem* item, int checked, void* id);
void OnHelpItem(WkMenuItem* item, int checked, void* id);

