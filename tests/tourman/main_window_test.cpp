// The program's start, the main window's start state, its accelerators,
// status line and close question.
#include "support/tourman_driver.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/core/startup.h"
#include "toolkit/platform/events.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/menu.h"
#include "toolkit/widgets/menu_bar.h"
#include "tourman/app_main.h"
#include "tourman/commands/round_commands.h"
#include "tourman/frame/window_frame.h"
#include "tourman/main_window/main_window.h"
#include "tourman/main_window/show_tournament.h"
#include "tourman/pages/pairing/pairing_widgets.h"
#include "tourman/pages/players/players_page.h"
#include "tourman/pages/players/players_widgets.h"
#include "tourman/pages/results/results_widgets.h"
#include "tournament/game_code.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace tmt {
namespace {

using MainWindowTest = TourmanTest;

TEST_F(MainWindowTest, StartsWithRoundControlsAndRegistrationClosedOff) {
    ASSERT_TRUE(Start());
    SavePng(MainWindow.window, "main.png");
    EXPECT_EQ(WkFormGetPage(MainWindow.notebook), 0);
    EXPECT_FALSE(WkObjectIsSensitive(PlayersPage.closeRegistrationButton));
    EXPECT_FALSE(WkObjectIsSensitive(MainWindow.pages[1]));
    EXPECT_FALSE(WkObjectIsSensitive(MainWindow.pages[2]));
    EXPECT_TRUE(WkObjectIsSensitive(MainWindow.pages[0]));
    EXPECT_TRUE(WkObjectIsSensitive(MainWindow.pages[3]));
    EXPECT_EQ(Find(MessageText(MsgAddPlayer)), PlayersPage.addButton);
    // The program folder carries the toolkit's arrows and paging pictures: without them
    // drop-down, scroll-bar and spin arrows draw blank.
    for (int slot = 0; slot < WK_STOCK_BITMAPS; ++slot)
        EXPECT_NE(WkStockBitmap(slot), nullptr) << "stock picture " << slot;
    for (const char* name : {"List Player", "List Pairing", "List Result", "Window File"})
        EXPECT_NE(Find(name), nullptr) << name;
    for (int page = 1; page < 4; ++page) {
        WkFormSetPage(MainWindow.notebook, page);
        Flush();
        SavePng(MainWindow.window, "page" + std::to_string(page) + ".png");
    }
    WkFormSetPage(MainWindow.notebook, 0);
    EXPECT_FALSE(WkObjectGetShell(PlayersPage.playerListMenu)->state & WK_STATE_SHOWN);
    Click(PlayersPage.playerList, plat::kRightButton);
    EXPECT_TRUE(WkObjectGetShell(PlayersPage.playerListMenu)->state & WK_STATE_SHOWN);
    EXPECT_TRUE(display->saveScreenPng(std::string(TM_TEST_OUTPUT_DIR) + "/player-list-menu.png"));
    EXPECT_TRUE(MainWindow.saveItem->disabled);
    EXPECT_TRUE(MainWindow.loadRoundFileItem->disabled);
}

TEST_F(MainWindowTest, F10OpensTheFileMenuWhoseExitAsksToClose) {
    ASSERT_TRUE(Start());
    Press(0x44); // F10
    EXPECT_EQ(WkMenuBarRecord(MainWindow.menuBar)->current, 0);
    EXPECT_TRUE(MainWindow.fileMenu->state & WK_STATE_SHOWN);
    EXPECT_TRUE(display->saveScreenPng(std::string(TM_TEST_OUTPUT_DIR) + "/file-menu.png"));
    PlayerCount = 1; // a player typed in: something to lose
    Answer(MsgCloseWithoutSaving, 0);
    WkMenuActivateItem(MainWindow.exitItem);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(MainWindowTest, MissingMessageFileEndsTheStart) {
    std::filesystem::remove(programFolder + "messqnp.txt");
    AnswerText("The message file cannot be read, so the program cannot start.\n", 0);
    EXPECT_FALSE(Start());
    EXPECT_EQ(MainWindow.window, nullptr);

    // The whole program, as the process runs it on a display of its own,
    // tells the shell too. The first display lives on until the toolkit
    // has left it for the new one.
    AnswerText("The message file cannot be read, so the program cannot start.\n", 0);
    auto first = std::make_unique<plat::OffscreenDisplay>(plat::OffscreenOptions());
    std::swap(first, display);
    display->setIdleHook([this] { return AnswerOpenBox(); }, 200);
    char program[] = "tourman";
    char* argv[] = {program, nullptr};
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(WkHostMain(AppMain, 1, argv, display.get()), 1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "tourman: cannot start: the message file " + programFolder + "messqnp.txt cannot be read\n");
    EXPECT_EQ(MainWindow.window, nullptr);
}

// Texts missing at the end of the file: the program starts with them
// empty, after a warning that names the file and says how many there are.
TEST_F(MainWindowTest, AShortMessageFileWarnsAndStarts) {
    std::ifstream in(programFolder + "messqnp.txt", std::ios::binary);
    std::string text, line;
    for (int k = 0; k < 3 + 100 && std::getline(in, line); ++k) text += line + "\n";
    in.close();
    std::ofstream(programFolder + "messqnp.txt", std::ios::binary) << text;
    AnswerText("The message file " + programFolder + "messqnp.txt announces 224 texts on line 3 but holds only "
                                                     "100.\nThe texts from number 100 on are shown empty.",
               0);
    ASSERT_TRUE(Start());
    ASSERT_NE(MainWindow.window, nullptr);
    EXPECT_EQ(boxes.at(0).buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(MessageText(MsgNewTournament), "New tournament");
    EXPECT_EQ(MessageText(MsgReady), ""); // the status line starts blank
}

TEST_F(MainWindowTest, CtrlKeysFocusThePlayerFields) {
    ASSERT_TRUE(Start());
    struct Case {
        std::uint8_t scan, control;
        char letter;
        WkObject* PlayersPageWidgets::*field;
    } cases[] = {
        {0x31, 0x0E, 'N', &PlayersPageWidgets::name},         {0x2E, 0x03, 'C', &PlayersPageWidgets::country},
        {0x30, 0x02, 'B', &PlayersPageWidgets::birthday},     {0x22, 0x07, 'G', &PlayersPageWidgets::gender},
        {0x13, 0x12, 'R', &PlayersPageWidgets::fideRating},   {0x21, 0x06, 'F', &PlayersPageWidgets::fideId},
        {0x20, 0x04, 'D', &PlayersPageWidgets::nationalId},   {0x26, 0x0C, 'L', &PlayersPageWidgets::nationalRating},
        {0x1E, 0x01, 'A', &PlayersPageWidgets::available},   {0x14, 0x14, 'T', &PlayersPageWidgets::title},
        {0x25, 0x0B, 'K', &PlayersPageWidgets::kFactor},
    };
    for (const Case& c : cases) {
        Press(c.scan, c.control, plat::kCtrl, std::uint16_t(c.letter));
        EXPECT_EQ(WkFormGetFocus(MainWindow.window), PlayersPage.*c.field) << "Ctrl+" << c.letter;
    }
    WkObject* before = WkFormGetFocus(MainWindow.window);
    EXPECT_EQ(FocusFieldByKey(MainWindow.window, 0x1F13), 0x1F13); // Ctrl+S
    EXPECT_EQ(WkFormGetFocus(MainWindow.window), before);
}

// A field reached by its Ctrl key is typed over, as one reached by Tab.
TEST_F(MainWindowTest, CtrlKeysTypeOverTheFieldReached) {
    ASSERT_TRUE(Start());
    struct Case {
        std::uint8_t scan, control;
        char letter;
        WkObject* PlayersPageWidgets::*field;
        const char *before, *typed;
    } cases[] = {
        {0x31, 0x0E, 'N', &PlayersPageWidgets::name, "ROSSI", "NERI"},
        {0x13, 0x12, 'R', &PlayersPageWidgets::fideRating, "2100", "1900"},
        {0x26, 0x0C, 'L', &PlayersPageWidgets::nationalRating, "2100", "1900"},
    };
    for (const Case& c : cases) {
        WkEditReplaceText(PlayersPage.*c.field, c.before, 0, 0);
        Press(c.scan, c.control, plat::kCtrl, std::uint16_t(c.letter));
        Type(c.typed);
        EXPECT_STREQ(WkEditGetText(PlayersPage.*c.field), c.typed) << "Ctrl+" << c.letter;
    }
}

TEST_F(MainWindowTest, StatusLineShowsTheLastRoundInParenthesesAndTheEndOfTheTournament) {
    ASSERT_TRUE(Start());
    std::snprintf(Settings.BaseName, sizeof Settings.BaseName, "open");
    Settings.PlannedRounds = 5;
    ClosedRegistration = 1;
    PlayerCount = 6; // a single round robin of 5 rounds, a double one of 10
    struct Case {
        int system, round, pairingDone;
        bool unplayed; // the round's one board waits for its result: a Swiss round not accepted is proposed
        const char* line;
        int planned = 5;
    } cases[] = {
        {1, 1, 0, false, "open [swiss Dubov]: Last round (1) - STATUS: tournament finished", 1}, // one round only
        {1, 4, 1, true, "open [swiss Dubov]: Round 4 - STATUS: paired, results to enter"},
        {1, 4, 0, false, "open [swiss Dubov]: Round 4 - STATUS: ready for the next round"},
        {1, 4, 0, true, "open [swiss Dubov]: Round 4 - STATUS: pairing proposed, to accept"},
        {1, 5, 0, false, "open [swiss Dubov]: Last round (5) - STATUS: tournament finished"},
        {6, 5, 1, false, "open [swiss Burstein]: Last round (5) - STATUS: paired, results to enter"},
        {6, 6, 0, false, "open [swiss Burstein]: Round 6 - STATUS: tournament finished"},
        {2, 4, 0, false, "open [single RR]: Round 4 - STATUS: ready for the next round"},
        {2, 5, 0, false, "open [single RR]: Last round (5) - STATUS: tournament finished"},
        {5, 5, 1, false, "open [double RR]: Round 5 - STATUS: paired, results to enter"},
        {5, 10, 0, false, "open [double RR]: Last round (10) - STATUS: tournament finished"},
        {6, 5, 0, true, "open [swiss Burstein]: Last round (5) - STATUS: pairing proposed, to accept"},
    };
    for (const Case& c : cases) {
        Settings.PairingSystem = c.system;
        Settings.PlannedRounds = c.planned;
        CurrentRound = c.round;
        IsPairingDone = c.pairingDone;
        GameTable(0, c.round) = c.unplayed ? 1 : 0;
        GameTable(1, c.round) = c.unplayed ? EncodeGameCode(1, 2, NotPlayed) : 0;
        UpdateStatusLine();
        char shown[128];
        EXPECT_STREQ(WkObjectGetText(MainWindow.statusLine, shown, sizeof shown), c.line);
    }
}

TEST_F(MainWindowTest, RoundControlsFollowTheRegistrationAndTheAcceptedPairing) {
    ASSERT_TRUE(Start());
    struct Case {
        int closed, pairingDone;
        bool pairing;
    } cases[] = {{1, 0, true}, {0, 0, false}, {1, 0, true}, {1, 1, false}};
    CurrentRound = 3;
    for (const Case& c : cases) {
        ClosedRegistration = c.closed;
        IsPairingDone = c.pairingDone;
        ShowTournament();
        EXPECT_EQ(WkObjectIsSensitive(PairingPage.pairButton) != 0, c.pairing);
        EXPECT_EQ(WkObjectIsSensitive(PairingPage.manualPairingButton) != 0, c.pairing);
        EXPECT_STREQ(WkEditGetText(ResultsPage.roundField), "3");
    }
}

TEST_F(MainWindowTest, CountersCountRegisteredAndAvailablePlayers) {
    ASSERT_TRUE(Start());
    PlayerCount = 3;
    Players[1].available = Players[3].available = 1;
    Players[2].available = 0;
    UpdatePlayerCounters();
    EXPECT_EQ(Caption(MainWindow.playerCounter), "Players: 3");
    EXPECT_EQ(Caption(MainWindow.availableCounter), "Available: 2");
}

TEST_F(MainWindowTest, CloseQuestionStaysOnNoAndClosesWithNothingToSave) {
    ASSERT_TRUE(Start());
    TournamentOpen = 1; // a tournament made, no player in it yet
    Answer(MsgCloseWithoutSaving, 0);
    Press(0x3E, 0, plat::kAlt); // Alt+F4
    EXPECT_TRUE(WkObjectIsSensitive(PlayersPage.addButton));
    SavePng(MainWindow.window, "after-close-question.png");
    // Save and close with no player registered: nothing to save, nothing lost by closing.
    Answer(MsgCloseWithoutSaving, 2);
    Answer(MsgNoPlayerRegistered, 0);
    EXPECT_EXIT(OnMainWindowClose(MainWindow.window, 0, nullptr, nullptr), ::testing::ExitedWithCode(0), "");
    script.clear(); // answered in the program's process
}

// Exit and the close box ask only where something would be lost: a
// tournament made or opened, or players typed in before any (a box would
// be answered No, and the child would not end).
TEST_F(MainWindowTest, ExitAsksOnlyWithSomethingToLose) {
    ASSERT_TRUE(Start());
    EXPECT_EXIT(ExitCommand(), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(Press(0x3E, 0, plat::kAlt), ::testing::ExitedWithCode(0), "");
    for (auto [tournamentOpen, players] : {std::pair{1, 0}, {0, 1}}) {
        TournamentOpen = tournamentOpen, PlayerCount = players;
        Answer(MsgCloseWithoutSaving, 0);
        ExitCommand();
        EXPECT_TRUE(script.empty()) << tournamentOpen;
    }
}

TEST_F(MainWindowTest, CloseWithoutSavingLeavesTheDataFolderAlone) {
    ASSERT_TRUE(Start());
    std::FILE* f = std::fopen((dataFolder + "open.qon").c_str(), "wb");
    std::fputs("kept\r\n", f);
    std::fclose(f);
    PlayerCount = 1;
    TournamentChanged();
    const auto before = Snapshot(dataFolder);
    Answer(MsgCloseWithoutSaving, 1);
    EXPECT_EXIT(OnMainWindowClose(MainWindow.window, 0, nullptr, nullptr), ::testing::ExitedWithCode(0), "");
    script.clear();
    EXPECT_EQ(Snapshot(dataFolder), before);
}

} // namespace
} // namespace tmt
