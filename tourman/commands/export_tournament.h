// The export of a tournament: a new tournament file from the settings typed
// into the settings dialog's export kind and the registered players whose
// rating lies in a range. The open tournament is not changed.
#pragma once

struct WkObject;

// Which rating the export's range applies to.
enum ExportRatingList { ExportNational, ExportFide, ExportEither };

// Whether a player's ratings put him in the range low..high (both
// included) of the list: the national rating, the FIDE rating, or either.
bool InExportRange(int fideRating, int nationalRating, int low, int high, ExportRatingList list);

// File, Export, Tournament: commits the player list while the registration is
// open (alert MsgNoPlayerRegistered and nothing more without players) and opens
// the settings dialog's export kind.
void ExportTournamentCommand();

// The export kind's OK: checks the fields as the settings OK does, refuses
// a file name already taken, writes "<folder><base>.qon" and reports the
// count. Every refusal and a failed write leave the dialog open.
void OnExportOk(WkObject* button, void* record, void* data);
