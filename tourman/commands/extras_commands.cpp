#include "tourman/commands/extras_commands.h"

#include "pairing/round_dispatcher.h"
#include "reports/fide_rating_report.h"
#include "reports/national_rating_report.h"
#include "reports/pairing_lists.h"
#include "reports/player_lists.h"
#include "reports/report_file.h"
#include "reports/tournament_stats.h"
#include "toolkit/widgets/file_browser.h"
#include "toolkit/widgets/message_dialog.h"
#include "tourman/commands/round_commands.h"
#include "tourman/commands/tournament_commands.h"
#include "tourman/commands/uscf_conversion.h"
#include "tourman/dialogs/group_dialogs.h"
#include "tourman/dialogs/settings_dialog.h"
#include "tourman/dialogs/uscf_section.h"
#include "tourman/frame/window_frame.h"
#include "tournament/files/message_file.h"
#include "tournament/files/round_state_file.h"
#include "tournament/files/rounds_aside.h"
#include "tournament/files/tournament_change.h"
#include "tournament/files/tournament_file.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/run_options.h"
#include "tournament/settings.h"

#include <cstdint>
#include <string>

int UnusedOption = 0;

namespace {

void Alert(const std::string& text) {
    ShowAlert(text, MessageText(MsgClose));
}

// The confirmation of a writer that says nothing itself: the text when the
// file stands, else MsgCannotCreateFile naming it.
void Confirm(bool (*write)(), const char* text) {
    if (WriteReportsOrAlert(write)) Alert(text);
}

bool RoundRobin() {
    return Settings.PairingSystem == 2 || Settings.PairingSystem == 5;
}

void RoundRobinTable() {
    if (!RoundRobin()) return Alert("Option not available for swiss system");
    Confirm(WriteRoundRobinPairings, MessageText(MsgRoundRobinTableWritten).c_str());
}

void ChooseMessageFile() {
    std::string file, folder = ProgramFolder;
    if (!WkFileBrowser("Select the message_file", "*.qnp", file, folder, 1)) return;
    InstallMessageFile(folder + file);
}

// What an item needs: nothing, a tournament (whose folder takes its files),
// or a tournament whose registration is closed.
enum Needs { NeedsNothing, NeedsTournament, NeedsClosedRegistration };

struct ExtrasItem {
    int id;
    Needs needs;
    void (*run)();
};

const ExtrasItem kExtrasItems[] = {
    {0, NeedsClosedRegistration, [] { FideRatingReportCommand(PlayerCount, 1); }},
    {2, NeedsClosedRegistration, [] { FideRatingReportCommand(PlayerCount, 0); }},
    {1, NeedsClosedRegistration, NationalRatingReportCommand},
    {15, NeedsTournament, OpenUscfSectionDialog},
    {9, NeedsTournament, [] { Confirm([] { return WritePlayersByName(PlayerCount); }, "OK file PLAYNAME.TXT"); }},
    {10, NeedsTournament, [] { Confirm([] { return WritePlayersByRating(PlayerCount); }, "OK file PLAYRAT.TXT"); }},
    // The writer alerts its own failure.
    {3, NeedsTournament, [] { if (WriteTournamentFile(1)) Alert("OK backup file *.QON (extension *.BAK)"); }},
    {4, NeedsClosedRegistration, OpenRatingGroupsDialog},
    {12, NeedsClosedRegistration, OpenDateGroupsDialog},
    {5, NeedsTournament, [] { Confirm([] { return WriteTournamentStatistics(PlayerCount); }, "OK file TOURSTAT.TXT"); }},
    {13, NeedsNothing, ChooseMessageFile},
    {7, NeedsNothing, ConvertUscfDatabase},
    {14, NeedsClosedRegistration, RoundRobinTable},
};

// True when the question is answered with its Yes button.
bool Confirmed(MessageNumber question) {
    return AskQuestion(MessageText(question), MessageText(MsgNo), MessageText(MsgYes)) == 1;
}

// The two questions before rounds or the registration are taken back.
bool ConfirmTwice() {
    return Confirmed(MsgDeleteAllRoundsQuestion) && Confirmed(MsgAreYouSure);
}

// What deleting rounds leaves: no proposed boards, no results to enter,
// the pairing page ready for the next round.
void AfterRoundsDeleted() {
    // A proposal that was pending went with its round.
    RoundsDeleted();
}

// The registration reopened as one change of the folder: the round files
// set aside (the players' record written, the round file linked to its kept
// name, the snapshots renamed to theirs), the tournament file written with
// no round saved and the round file removed, all committed together. Only
// then are the rounds taken back, the reports written anew and anything
// said: a failure leaves the folder as it was before any box shows, and a
// kill or a power cut leaves it as before or as after.
void ReopenRegistration() {
    TournamentChange change;
    RoundsAside aside;
    std::string problem;
    if (!SetRoundsAside(change.journal(), aside, problem)) {
        change.drop();
        return Alert("The rounds played could not be kept aside: " + problem +
                     ".\nThe registration stays closed, nothing changed.");
    }
    WriteTournamentFileInto(change.journal().write(TournamentFilePath(0)), 0, RegisteredIds());
    if (aside.mainKept) change.journal().remove(RoundStatePath());
    if (!change.commit("The registration stays closed and the round files are in place: nothing changed.")) return;
    TournamentMatchesFile();
    // The reports follow the rounds taken back; those that could not be
    // written are named once, at the end.
    TakeReportsNotWritten();
    BackToOpenRegistration(0);
    AlertReportsNotWritten();
    if (aside.stem.empty()) return;
    const std::string base = Settings.BaseName;
    std::string text = aside.mainKept ? "The rounds played are kept in the round file \"" + KeptRoundFileName(aside) +
                                            "\";\nopening the tournament no longer reads them."
                                      : std::string("The rounds played are kept aside.");
    if (!aside.snapshots.empty())
        text += "\nThe round files \"" + base + "<round>.rnd\" are kept as \"" + aside.stem + "-round<round>.rnd\".";
    Alert(text);
}

const char* const kContentText = "Refer to the documentation coming with program\nfor instrunctions and licence terms";
const char* const kAboutText =
    "tourman 3.51\n"
    "A chess tournament manager: registers the players, pairs the rounds\n"
    "(Swiss and round robin), takes the results and writes the standings,\n"
    "the lists and the rating reports of the tournament.";

} // namespace

void ExtrasCommand(int id) {
    for (const ExtrasItem& item : kExtrasItems) {
        if (item.id != id) continue;
        // With no tournament there is no folder for its files: they would
        // land, empty, in the program's folder.
        if (item.needs != NeedsNothing && TournamentOpen == 0)
            return Alert(MessageText(MsgNeedsStartedTournament));
        if (item.needs == NeedsClosedRegistration && ClosedRegistration == 0) return;
        return item.run();
    }
}

void TournamentMenuCommand(int id) {
    switch (id) {
    case 1:
        return TournamentSettingsCommand();
    case 2:
        if (ClosedRegistration == 0) return Alert(MessageText(MsgNeedsStartedTournament));
        if (!ConfirmTwice()) return;
        DeleteRounds(1, CurrentRound, PlayerCount);
        return AfterRoundsDeleted();
    case 3:
        if (CurrentRound == 0) return Alert(MessageText(MsgNoRoundPaired));
        if (!Confirmed(MsgDeleteLastRoundQuestion)) return;
        DeleteRounds(CurrentRound, CurrentRound, PlayerCount);
        return AfterRoundsDeleted();
    case 4:
        if (ClosedRegistration == 0) return Alert(MessageText(MsgNeedsStartedTournament));
        if (!ConfirmTwice()) return;
        return ReopenRegistration();
    default:
        return;
    }
}

void HelpCommand(int id) {
    if (id != 0 && id != 1) return;
    WkMessageDialog(ProgramTitle, id == 0 ? kContentText : kAboutText, MessageText(MsgClose).c_str(),
                    nullptr);
}

void OptionToggle(WkObject*, int on, void* option) {
    int* flags[] = {nullptr, &VerboseOption, &RelaxedColorOption, nullptr, &ColorImprovementOption, &UnusedOption};
    const std::intptr_t n = reinterpret_cast<std::intptr_t>(option);
    if (n < 1 || n > 5 || !flags[n]) return;
    *flags[n] = on != 0;
}

void OnExtrasItem(WkMenuItem*, int, void* id) {
    ExtrasCommand(int(reinterpret_cast<std::intptr_t>(id)));
}

void OnTournamentMenuItem(WkMenuItem*, int, void* id) {
    TournamentMenuCommand(int(reinterpret_cast<std::intptr_t>(id)));
}

void OnHelpItem(WkMenuItem*, int, void* id) {
    HelpCommand(int(reinterpret_cast<std::intptr_t>(id)));
}
