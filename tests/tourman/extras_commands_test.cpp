// The Extras menu, its tournament submenu, the options and the group
// dialogs, driven through the menu items of a started tournament.
#include "support/tourman_driver.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/menu.h"
#include "toolkit/widgets/menu_bar.h"
#include "tourman/commands/round_commands.h"
#include "tourman/dialogs/group_dialogs.h"
#include "tourman/dialogs/settings_dialog.h"
#include "tourman/dialogs/uscf_section.h"
#include "tourman/frame/window_frame.h"
#include "tourman/main_window/show_tournament.h"
#include "tourman/pages/pairing/pairing_widgets.h"
#include "tourman/pages/players/player_list.h"
#include "tourman/pages/players/players_widgets.h"
#include "tourman/pages/results/results_widgets.h"
#include "tournament/files/player_list_row.h"
#include "tournament/game_code.h"
#include "tournament/message_table.h"
#include "tournament/round_save.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/run_options.h"
#include "tournament/scores.h"
#include "tournament/settings.h"
#include "tournament/start_tournament.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tmt {
namespace {

std::string Read(const std::string& path) {
    std::stringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

class ExtrasTest : public TourmanTest {
  protected:
    // Ten players started in the system (PLAYER I rated 1600), round 1 accepted.
    void Begin(int system) {
        Settings.PairingSystem = system;
        Settings.PlannedRounds = 5;
        std::snprintf(Settings.BaseName, sizeof Settings.BaseName, "open");
        const int ratings[] = {2100, 1600, 1350, 1900, 1750, 1450, 2300, 1550, 1820, 1990};
        for (int id = 1; id <= 10; ++id) {
            Player p{};
            std::snprintf(p.name, sizeof p.name, "PLAYER %c", 'K' - id);
            p.available = 1;
            p.nationalRating = ratings[id - 1];
            WkListAddItem(PlayersPage.playerList, PlayerListRow(p, 0).c_str(), 0);
        }
        PlayerCount = 10;
        ASSERT_TRUE(CommitPlayerList());
        TournamentOpen = ClosedRegistration = 1;
        Answer(MsgPairingNumbersQuestion, 0);
        if (system != 2) Answer(MsgTopSeedWhiteQuestion, 1);
        ASSERT_TRUE(StartTournament(10));
        if (system != 2) AcceptPairing();
        WkObjectEnable(MainWindow.pages[1]);
        WkFormSetPage(MainWindow.notebook, 1);
        Flush();
    }
    void Pick(const std::string& label) {
        WkMenuItem* item = nullptr;
        for (int menu = 1; menu <= 2 && !item; ++menu) item = FindMenuItem(WkMenuBarRecord(MainWindow.menuBar)->titles[menu].menu, label);
        ASSERT_NE(item, nullptr) << label;
        WkMenuActivateItem(item);
        Flush();
    }
    // A data folder under a plain file cannot be written, even by root.
    void Writable(bool on) {
        std::snprintf(Settings.DataFolder, sizeof Settings.DataFolder, "%s%s", dataFolder.c_str(), on ? "" : "open.qon/");
    }
    void SetUp() override {
        TourmanTest::SetUp();
        ASSERT_TRUE(Start());
    }
};

struct ExtrasRow {
    std::string label, file, ok, failure; // the failure's alert when the folder cannot take the file
};

TEST_F(ExtrasTest, ItemsWriteConfirmAndFail) {
    const std::string fide = "files FIDEELO.TXT, FIDECARD.TXT, FIDECROS.TXT",
                      cannot = "The file cannot be created.\n" + dataFolder + "open.qon/";
    const ExtrasRow rows[] = {
        {MessageText(MsgFideFilesByStandings), "fidecros.txt", "OK " + fide,
         "I cannot save all of the " + fide},
        {MessageText(MsgFideFilesByRating), "fideelo.txt", "OK " + fide, "I cannot save all of the " + fide},
        {"FSI (Italy)", "open.elo", "OK file report *.ELO", "I cannot save the *.ELO file"},
        {MessageText(MsgListByName), "playname.txt", "OK file PLAYNAME.TXT", cannot + "playname.txt"},
        {MessageText(MsgListByRating), "playrat.txt", "OK file PLAYRAT.TXT", cannot + "playrat.txt"},
        {"Backup *.qon file", "open.bak", "OK backup file *.QON (extension *.BAK)",
         MessageText(MsgCannotWriteTournamentFile) + "\n"},
        {MessageText(MsgTournamentStatistics), "tourstat.txt", "OK file TOURSTAT.TXT", cannot + "tourstat.txt"},
    };
    Begin(1);
    for (const ExtrasRow& row : rows) {
        SCOPED_TRACE(row.label);
        AnswerText(row.ok, 0);
        Pick(row.label);
        EXPECT_TRUE(std::filesystem::exists(dataFolder + row.file));
        Writable(false);
        AnswerText(row.failure, 0);
        Pick(row.label);
        Writable(true);
    }
    AnswerText("Option not available for swiss system", 0);
    Pick(MessageText(MsgRoundRobinTableItem));
    // With the registration open these do nothing.
    ClosedRegistration = 0;
    const auto files = Snapshot(dataFolder);
    for (const std::string& label : {MessageText(MsgFideFilesByStandings), MessageText(MsgFideFilesByRating),
                                     MessageText(MsgRatingGroupsItem), MessageText(MsgBirthDateGroupsItem),
                                     MessageText(MsgRoundRobinTableItem), std::string("FSI (Italy)")})
        Pick(label);
    EXPECT_EQ(Snapshot(dataFolder), files);
}

// With no tournament open its items say so and write nothing (into the
// program's folder, the data folder of a program just started).
TEST_F(ExtrasTest, TournamentItemsNeedATournament) {
    TournamentOpen = 0;
    Settings.DataFolder[0] = '\0';
    const auto program = Snapshot(programFolder);
    for (const char* label : {"By name", "By rating", "Tournament statistics", "Backup *.qon file", "USCF (USA)"}) {
        Answer(MsgNeedsStartedTournament, 0);
        Pick(label);
    }
    EXPECT_TRUE(Snapshot(programFolder) == program && !UscfSection.window);
}

TEST_F(ExtrasTest, RoundRobinTableAndGroupDialogs) {
    Begin(2);
    Answer(MsgRoundRobinTableWritten, 0);
    Pick(MessageText(MsgRoundRobinTableItem));
    EXPECT_TRUE(std::filesystem::exists(dataFolder + "pairsRR.txt"));
    Writable(false);
    AnswerText("The file cannot be created.\n" + dataFolder + "open.qon/pairsRR.txt", 0);
    Pick(MessageText(MsgRoundRobinTableItem));
    Writable(true);
    const int limits[] = {0, 1400, 1400, 1600, 1600, 1800, 1800, 2000, 2000, 3000};
    Pick(MessageText(MsgRatingGroupsItem));
    ASSERT_NE(Find(MessageText(MsgRatingGroupsHeading), GroupDialog.window), nullptr);
    for (int i = 0; i < 10; ++i) WkEditReplaceText(GroupDialog.fields[i / 2][i % 2], std::to_string(limits[i]).c_str(), 0, 1);
    SavePng(GroupDialog.window, "rating_groups.png");
    AnswerText("OK file RANKGRP.TXT", 0);
    Click(Find(MessageText(MsgOk), GroupDialog.window));
    const std::string text = Read(dataFolder + "rankgrp.txt");
    const std::size_t second = text.find("1400 < rating <= 1600"), player = text.find("PLAYER I");
    EXPECT_TRUE(second < player && player < text.find("1600 < rating <= 1800")) << text;

    // The date dialog shows the same limits; its close button keeps them and writes nothing.
    Pick(MessageText(MsgBirthDateGroupsItem));
    ASSERT_NE(Find(MessageText(MsgBirthDateGroupsHeading), GroupDialog.window), nullptr);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(WkEditGetText(GroupDialog.fields[i / 2][i % 2]), std::to_string(limits[i]));
    WkEditReplaceText(GroupDialog.fields[0][0], "123", 0, 1);
    Click(Find(MessageText(MsgClose), GroupDialog.window));
    EXPECT_EQ(CurrentGroupLimits.groups[0].lower, 0);
    EXPECT_FALSE(std::filesystem::exists(dataFolder + "rankdagr.txt"));
}

// Deleting rounds and reopening: stopping at either question changes nothing.
TEST_F(ExtrasTest, TournamentSubmenu) {
    Begin(1);
    for (int item : {MsgDeleteAllRounds, MsgReopenRegistration}) {
        Answer(MsgDeleteAllRoundsQuestion, 0);
        Pick(MessageText(item));
        Answer(MsgDeleteAllRoundsQuestion, 1);
        Answer(MsgAreYouSure, 0);
        Pick(MessageText(item));
        EXPECT_TRUE(CurrentRound == 1 && ClosedRegistration == 1);
    }
    Answer(MsgDeleteAllRoundsQuestion, 1);
    Answer(MsgAreYouSure, 1);
    Pick(MessageText(MsgDeleteAllRounds));
    EXPECT_EQ(CurrentRound, 0);
    EXPECT_EQ(WkListGetCount(PairingPage.pairingList) + WkListGetCount(ResultsPage.resultsList), 0);
    Answer(MsgNoRoundPaired, 0);
    Pick(MessageText(MsgDeleteLastRound));
    Answer(MsgTopSeedWhiteQuestion, 1);
    Click(PairingPage.pairButton);
    EXPECT_EQ(CurrentRound, 1);
    Answer(MsgDeleteLastRoundQuestion, 1); // the proposal goes with its round
    Pick(MessageText(MsgDeleteLastRound));
    EXPECT_EQ(CurrentRound, 0);
    EXPECT_FALSE(WkObjectIsSensitive(PairingPage.acceptButton));
    // The reopened registration lists the players of the file, sorted.
    Answer(MsgDeleteAllRoundsQuestion, 1);
    Answer(MsgAreYouSure, 1);
    AnswerText("The rounds played are kept in the round file \"open-reopened.rnd\";\n"
               "opening the tournament no longer reads them.",
               0);
    Pick(MessageText(MsgReopenRegistration));
    EXPECT_EQ(ClosedRegistration, 0);
    ASSERT_EQ(WkListGetCount(PlayersPage.playerList), 10);
    EXPECT_EQ(std::string(WkListGetItem(PlayersPage.playerList, 0)->text).substr(0, 8), "PLAYER A");
    Answer(MsgNeedsStartedTournament, 0);
    Pick(MessageText(MsgDeleteAllRounds));
}

TEST_F(ExtrasTest, OptionsHelpAndLanguage) {
    TournamentOpen = 0;
    Answer(MsgNeedsStartedTournament, 0);
    Pick(MessageText(MsgTournamentSettings));
    AnswerText("tourman 3.51\n", 0);
    Pick("About");
    // Not a message file: the installed one stays as it was.
    const std::string installed = Read(programFolder + "messqnp.txt");
    std::ofstream(dataFolder + "bad.qnp") << "not a message file\r\n";
    ChooseFile(dataFolder + "bad.qnp");
    AnswerText(MessageText(MsgCannotReadMessageFile) + "\n", 0);
    Pick("Select Language");
    EXPECT_EQ(Read(programFolder + "messqnp.txt"), installed);

    // A round paired with the trace on writes it.
    Begin(1);
    for (int board = 1; board <= 5; ++board) GameTable(board, 1) = GameTable(board, 1) / 10 * 10 + WhiteWins;
    ASSERT_TRUE(SaveRound(1));
    ComputeScores(1, PlayerCount);
    ResultsClosed(true);
    ShowTournament();
    Click(PairingPage.pairingToggles[0]);
    Click(PairingPage.pairingToggles[1]);
    EXPECT_EQ(VerboseOption + RelaxedColorOption, 2);
    Click(PairingPage.pairButton);
    EXPECT_EQ(CurrentRound, 2);
    EXPECT_TRUE(std::filesystem::exists(dataFolder + "verbos2.txt"));
}

} // namespace
} // namespace tmt
