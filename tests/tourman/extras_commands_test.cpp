// The Extras menu, its tournament submenu, the options and the group
// dialogs, driven through the menu items of a started tournament.
#include "support/tourman_driver.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/menu.h"
#include "toolkit/widgets/menu_bar.h"
#include "toolkit/widgets/toggle.h"
#include "tourman/extras_commands.h"
#include "tourman/group_dialogs.h"
#include "tourman/main_window.h"
#include "tourman/player_list.h"
#include "tourman/round_commands.h"
#include "tourman/settings_dialog.h"
#include "tournament/game_code.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_save.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/run_options.h"
#include "tournament/scores.h"
#include "tournament/settings.h"
#include "tournament/tournament_file.h"
#include "tournament/start_tournament.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace tmt {
namespace {

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

WkMenuItem* FindItem(WkObject* menu, const std::string& label) {
    const WkMenuData* d = WkMenuRecord(menu);
    for (int i = 0; i < d->count; ++i) {
        WkMenuItem* item = d->items[i];
        if (item->label && label == item->label) return item;
        if (item->submenu)
            if (WkMenuItem* found = FindItem(item->submenu, label)) return found;
    }
    return nullptr;
}

class ExtrasTest : public TourmanTest {
  protected:
    // A started tournament of ten players (ratings below), round 1 paired.
    void Begin(int system) {
        ASSERT_TRUE(Start());
        Settings.PairingSystem = system;
        Settings.PlannedRounds = 5;
        std::snprintf(Settings.BaseName, sizeof Settings.BaseName, "open");
        const int ratings[] = {2100, 1600, 1350, 1900, 1750, 1450, 2300, 1550, 1820, 1990};
        for (int id = 1; id <= 10; ++id) {
            Player p{};
            std::snprintf(p.name, sizeof p.name, "PLAYER %c", 'A' + 10 - id);
            std::snprintf(p.birthDate, sizeof p.birthDate, "%02d.06.%02d", id, 70 + id);
            p.available = 1;
            p.nationalRating = ratings[id - 1];
            WkListAddItem(MainWindow.playerList, PlayerListRow(p, 0).c_str(), 0);
        }
        PlayerCount = 10;
        ASSERT_TRUE(CommitPlayerList());
        TournamentOpen = 1;
        ClosedRegistration = 1;
        Answer(193, 0);
        if (system != 2) Answer(187, 1);
        ASSERT_TRUE(StartTournament(10));
        Flush();
        if (system != 2) AcceptPairing();
    }
    void ShowPairingPage() {
        WkObjectEnable(MainWindow.pages[1]);
        WkFormSetPage(MainWindow.notebook, 1);
        Flush();
    }
    void Pick(const std::string& label) {
        WkMenuItem* item = FindItem(WkMenuBarRecord(MainWindow.menuBar)->titles[1].menu, label);
        if (!item) item = FindItem(WkMenuBarRecord(MainWindow.menuBar)->titles[2].menu, label);
        ASSERT_NE(item, nullptr) << label;
        WkMenuActivateItem(item);
        Flush();
    }
};

struct ExtrasRow {
    int label;            // message, or -1 with text
    const char* text;
    const char* file;     // written into the data folder
    const char* ok;
    const char* failure;  // the alert when the folder cannot take it
};

const ExtrasRow kRows[] = {
    {57, "", "fidecros.txt", "OK files FIDEELO.TXT, FIDECARD.TXT, FIDECROS.TXT",
     "I cannot save all of the files FIDEELO.TXT, FIDECARD.TXT, FIDECROS.TXT"},
    {58, "", "fideelo.txt", "OK files FIDEELO.TXT, FIDECARD.TXT, FIDECROS.TXT",
     "I cannot save all of the files FIDEELO.TXT, FIDECARD.TXT, FIDECROS.TXT"},
    {-1, "FSI (Italy)", "open.elo", "OK file report *.ELO", "I cannot save the *.ELO file"},
    {54, "", "playname.txt", "OK file PLAYNAME.TXT", "The file cannot be created."},
    {55, "", "playrat.txt", "OK file PLAYRAT.TXT", "The file cannot be created."},
    {-1, "Backup *.qon file", "open.bak", "OK backup file *.QON (extension *.BAK)",
     "The tournament file cannot be written.\n"},
    {61, "", "tourstat.txt", "OK file TOURSTAT.TXT", "The file cannot be created."},
};

TEST_F(ExtrasTest, ItemsWriteConfirmAndFail) {
    Begin(1);
    const std::string good = Settings.DataFolder;
    for (const ExtrasRow& row : kRows) {
        const std::string label = row.label < 0 ? row.text : MessageText(row.label);
        SCOPED_TRACE(label);
        std::filesystem::remove(good + row.file);
        AnswerText(row.ok, 0);
        Pick(label);
        EXPECT_TRUE(std::filesystem::exists(good + row.file));
        // A folder under a plain file cannot be written, even by root.
        std::snprintf(Settings.DataFolder, sizeof Settings.DataFolder, "%sopen.qon/", good.c_str());
        AnswerText(row.failure, 0);
        Pick(label);
        std::snprintf(Settings.DataFolder, sizeof Settings.DataFolder, "%s", good.c_str());
        EXPECT_TRUE(script.empty());
    }
    // The round-robin table in a Swiss tournament; the items that need the registration closed.
    AnswerText("Option not available for swiss system", 0);
    Pick(MessageText(211));
    ClosedRegistration = 0;
    const auto files = Snapshot(good);
    for (int message : {57, 58, 60, 210, 211}) Pick(MessageText(message));
    Pick("FSI (Italy)");
    EXPECT_EQ(Snapshot(good), files);
    EXPECT_TRUE(script.empty());
}

TEST_F(ExtrasTest, RoundRobinTable) {
    Begin(2);
    Answer(197, 0);
    Pick(MessageText(211));
    EXPECT_TRUE(std::filesystem::exists(dataFolder + "pairsRR.txt"));
}

TEST_F(ExtrasTest, GroupDialogs) {
    Begin(1);
    const int limits[] = {0, 1400, 1400, 1600, 1600, 1800, 1800, 2000, 2000, 3000};
    Pick(MessageText(60));
    WkObject* dialog = GroupDialog.window;
    ASSERT_NE(Find(MessageText(185), dialog), nullptr);
    for (int i = 0; i < 10; ++i) WkEditReplaceText(GroupDialog.fields[i / 2][i % 2], std::to_string(limits[i]).c_str(), 0, 1);
    SavePng(dialog, "rating_groups.png");
    AnswerText("OK file RANKGRP.TXT", 0);
    Click(Find(MessageText(134), dialog));
    const std::string text = Read(dataFolder + "rankgrp.txt");
    const std::size_t second = text.find("1400 < rating <= 1600"), third = text.find("1600 < rating <= 1800");
    ASSERT_NE(second, std::string::npos);
    const std::size_t player = text.find("PLAYER I"); // rated 1600
    EXPECT_TRUE(second < player && player < third) << text;

    // The date dialog shows the same limits; its close button keeps them and writes nothing.
    Pick(MessageText(210));
    dialog = GroupDialog.window;
    ASSERT_NE(Find(MessageText(209), dialog), nullptr);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(WkEditGetText(GroupDialog.fields[i / 2][i % 2]), std::to_string(limits[i]));
    WkEditReplaceText(GroupDialog.fields[0][0], "123", 0, 1);
    SavePng(dialog, "date_groups.png");
    Click(Find(MessageText(3), dialog));
    EXPECT_EQ(CurrentGroupLimits.groups[0].lower, 0);
    EXPECT_FALSE(std::filesystem::exists(dataFolder + "rankdagr.txt"));
}

TEST_F(ExtrasTest, TournamentSubmenu) {
    Begin(1);
    // Delete all rounds: stopping at either question changes nothing.
    Answer(33, 0);
    Pick(MessageText(67));
    Answer(33, 1);
    Answer(34, 0);
    Pick(MessageText(67));
    EXPECT_EQ(CurrentRound, 1);
    Answer(33, 1);
    Answer(34, 1);
    Pick(MessageText(67));
    EXPECT_EQ(CurrentRound, 0);
    EXPECT_EQ(WkListGetCount(MainWindow.pairingList), 0);
    EXPECT_EQ(WkListGetCount(MainWindow.resultsList), 0);
    Answer(35, 0);
    Pick(MessageText(68));
    Answer(187, 1);
    PairRoundCommand();
    Flush();
    EXPECT_EQ(CurrentRound, 1);
    // Delete the last round.
    Answer(36, 1);
    Pick(MessageText(68));
    EXPECT_EQ(CurrentRound, 0);
    // Reopen the registration: the players come back from the file, sorted.
    Answer(33, 0);
    Pick(MessageText(69));
    EXPECT_EQ(ClosedRegistration, 1);
    Answer(33, 1);
    Answer(34, 1);
    Pick(MessageText(69));
    EXPECT_EQ(ClosedRegistration, 0);
    ASSERT_EQ(WkListGetCount(MainWindow.playerList), 10);
    EXPECT_EQ(std::string(WkListGetItem(MainWindow.playerList, 0)->text).substr(0, 8), "PLAYER A");
    Answer(32, 0);
    Pick(MessageText(67));
}

TEST_F(ExtrasTest, OptionsHelpAndLanguage) {
    ASSERT_TRUE(Start());
    TournamentOpen = 0;
    Answer(32, 0);
    Pick(MessageText(66));
    ShowPairingPage();
    Click(MainWindow.pairingToggles[0]);
    Click(MainWindow.pairingToggles[1]);
    EXPECT_EQ(VerboseOption, 1);
    EXPECT_EQ(RelaxedColorOption, 1);
    OptionToggle(nullptr, 7, reinterpret_cast<void*>(4));
    OptionToggle(nullptr, 1, reinterpret_cast<void*>(3));
    EXPECT_EQ(ColorImprovementOption, 1);
    Click(MainWindow.pairingToggles[1]);
    EXPECT_EQ(RelaxedColorOption, 0);
    AnswerText("tourman 3.51\n", 0);
    Pick("About");

    // Not a message file: the installed one stays as it was.
    const std::string installed = Read(programFolder + "messqnp.txt");
    std::ofstream(dataFolder + "bad.qnp") << "not a message file\r\n";
    ChooseFile(dataFolder + "bad.qnp");
    AnswerText(MessageText(204) + "\n", 0);
    Pick("Select Language");
    EXPECT_EQ(Read(programFolder + "messqnp.txt"), installed);
    EXPECT_TRUE(script.empty());
}

TEST_F(ExtrasTest, TracedPairing) {
    Begin(1);
    for (int board = 1; board <= 5; ++board) GameTable(board, 1) = GameTable(board, 1) / 10 * 10 + WhiteWins;
    ASSERT_TRUE(SaveRound(1));
    ComputeScores(1, PlayerCount);
    IsGetResultDone = 1;
    IsPairingDone = 0;
    ShowPairingPage();
    Click(MainWindow.pairingToggles[0]);
    PairRoundCommand();
    EXPECT_EQ(CurrentRound, 2);
    EXPECT_TRUE(std::filesystem::exists(dataFolder + "verbos2.txt"));
}

} // namespace
} // namespace tmt
