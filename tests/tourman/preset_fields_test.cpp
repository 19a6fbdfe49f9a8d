// The fields that open with a value the user is meant to replace, and the
// focus after a refused value.
#include "support/tourman_driver.h"
#include "support/tournament_state.h"

#include "toolkit/core/shell.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "tourman/commands/round_commands.h"
#include "tourman/dialogs/bye_dialog.h"
#include "tourman/dialogs/game_dialog.h"
#include "tourman/dialogs/settings_dialog.h"
#include "tourman/dialogs/uscf_section.h"
#include "tourman/frame/window_frame.h"
#include "tourman/main_window/show_tournament.h"
#include "tourman/pages/results/results_widgets.h"
#include "tournament/settings.h"
#include "tournament/start_tournament.h"

#include <cstring>
#include <functional>

namespace tmt {
namespace {

using PresetFieldsTest = TourmanTest;

WkObject* Settings_(int kind, WkObject* SettingsFields::*field) {
    OpenSettingsDialog(kind);
    return SettingsDialog.*field;
}

WkObject* Section(int index) {
    OpenUscfSectionDialog();
    return UscfSection.fields[index];
}

// Reached by Tab (Shift+Tab away and back) and by a click, every preset is
// typed over whole.
TEST_F(PresetFieldsTest, EveryPresetIsTypedOverByKeyAndByClick) {
    ASSERT_TRUE(Start());
    std::strcpy(Settings.Name, "Open");
    std::strcpy(Settings.BeginDate, "01052026");
    TenPlayerDubov();
    Answer(MsgPairingNumbersQuestion, 0);
    Answer(MsgTopSeedWhiteQuestion, 1);
    ASSERT_TRUE(StartTournament(PlayerCount));
    AcceptPairing();
    WhiteWinsRound();
    ShowTournament();
    Flush();
    const struct {
        const char* where; // dialog: field
        std::function<WkObject*()> open;
        const char *preset, *typed;
        const char* clicked = nullptr; // what a click and the typing leave, where not the typed text
    } rows[] = {
        {"settings, new: Rounds", [] { return Settings_(NewTournamentKind, &SettingsFields::rounds); }, "9", "12"},
        {"settings, export: Lowest rating",
         [] { return Settings_(ExportTournamentKind, &SettingsFields::lowestRating); }, "0", "1500"},
        {"settings, export: Highest rating",
         [] { return Settings_(ExportTournamentKind, &SettingsFields::highestRating); }, "3000", "2500"},
        {"settings, modify: Begin date (it fills its field)",
         [] { return Settings_(ModifySettingsKind, &SettingsFields::beginDate); }, "01052026", "02052026"},
        {"settings, modify: a Name that fills its field is corrected, no preset", [] {
             std::strcpy(Settings.Name, "OPEN CHAMPIONSHIP OF ROMA");
             return Settings_(ModifySettingsKind, &SettingsFields::name);
         }, "OPEN CHAMPIONSHIP OF ROMA", "X", "OPEN CHAMPIONSHIP OF ROMA"},
        {"game: Opponent", [] { WkShellRealize(OpenGameDialog(1, "PLAYER 1")); return GameDialog.opponent; }, "0",
         "5"},
        {"BYE: ID", [] {
             WkShellRealize(OpenByeDialog());
             WkEditReplaceText(ByeDialog.id, "3", 0, 0); // as the selected player gives it
             return ByeDialog.id;
         }, "3", "7"},
        {"USCF section: Time Control", [] { return Section(3); }, "Game/xx", "G/90"},
        {"USCF section: ID Chief TD", [] { return Section(4); }, "0", "12345678"},
        {"USCF section: ID Assistant TD", [] { return Section(5); }, "0", "7654321"},
        {"USCF section: Begin Date", [] { return Section(9); }, "20260501", "20260502"},
        {"USCF section: Gran Prix Points", [] { return Section(13); }, "0", "25"},
        {"results page: Round", [] {
             WkEditReplaceText(ResultsPage.roundField, "1", 0, 0); // as the page shows the round
             return ResultsPage.roundField;
         }, "1", "2"},
        {"results page: Table", [] {
             WkEditReplaceText(ResultsPage.boardField, "4", 0, 0); // as a refused table leaves it
             return ResultsPage.boardField;
         }, "4", "3"},
    };
    for (const auto& row : rows)
        for (bool click : {false, true}) {
            WkObject* field = row.open();
            Flush();
            ASSERT_STREQ(WkEditGetText(field), row.preset) << row.where;
            if (click) {
                Click(field);
            } else {
                WkObjectSetFocus(field);
                Press(0x0F, 9, plat::kShift);
                Press(0x0F, 9);
            }
            ASSERT_EQ(WkFormGetFocus(WkObjectGetShell(field)), field) << row.where;
            Type(row.typed);
            EXPECT_STREQ(WkEditGetText(field), click && row.clicked ? row.clicked : row.typed)
                << row.where << (click ? ", clicked" : ", by Tab");
            if (WkObjectGetShell(field) != MainWindow.window) WkShellDestroy(WkObjectGetShell(field));
        }
}

} // namespace
} // namespace tmt
