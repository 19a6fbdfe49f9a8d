#include "tourman/commands/export_tournament.h"

#include "toolkit/core/shell.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/push_button.h"
#include "tourman/dialogs/settings_dialog.h"
#include "tournament/files/tournament_file.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/settings.h"
#include "tournament/tournament_window.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

int Number(WkObject* field) {
    const char* text = field ? WkEditGetText(field) : nullptr;
    return text ? std::atoi(text) : 0;
}

ExportRatingList ChosenList() {
    const char* text = SettingsDialog.ratingList ? WkEditGetText(SettingsDialog.ratingList) : nullptr;
    const std::string list = text ? text : "";
    return list == "National" ? ExportNational : list == "FIDE" ? ExportFide : ExportEither;
}

} // namespace

bool InExportRange(int fideRating, int nationalRating, int low, int high, ExportRatingList list) {
    const bool fide = fideRating >= low && fideRating <= high;
    const bool national = nationalRating >= low && nationalRating <= high;
    return list == ExportFide ? fide : list == ExportNational ? national : fide || national;
}

void ExportTournamentCommand() {
    // While the registration is open the list is the register: what it shows is what gets exported.
    if (ClosedRegistration == 0 && TournamentWindow.commitPlayerList && !TournamentWindow.commitPlayerList()) return;
    if (PlayerCount < 1) {
        ShowAlert(MessageText(MsgNoPlayerRegistered), MessageText(MsgClose));
        return;
    }
    OpenSettingsDialog(ExportTournamentKind);
    if (SettingsDialog.okButton) WkButtonSetCallback(SettingsDialog.okButton, OnExportOk, nullptr);
}

void OnExportOk(WkObject*, void*, void*) {
    TournamentSettings s = Settings;
    if (!ReadSettingsFields(s, ExportTournamentKind)) return;
    const int low = Number(SettingsDialog.lowestRating), high = Number(SettingsDialog.highestRating);
    const ExportRatingList list = ChosenList();
    const std::string path = std::string(s.DataFolder) + s.BaseName + ".qon";
    if (FileExists(path)) {
        if (SettingsDialog.baseName) WkObjectSetFocusBy(SettingsDialog.baseName, WK_FOCUS_BY_KEY);
        ShowAlert(FileExistsText, MessageText(MsgClose));
        return;
    }
    std::vector<int> ids;
    for (int id = 1; IsRegisteredId(id); ++id)
        if (InExportRange(Players[id].fideRating, Players[id].nationalRating, low, high, list)) ids.push_back(id);
    if (!WriteTournamentFileAt(path, s, ids)) return;
    ShowAlert("Exported\n" + std::to_string(ids.size()) + " players", MessageText(MsgClose));
    if (SettingsDialog.window) WkShellDestroy(SettingsDialog.window);
}
