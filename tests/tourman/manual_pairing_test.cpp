// The manual-pairing window in a FIDE Dubov tournament of ten players (the
// tenth not available): round 2 paired by hand with the BYE, the refusals,
// removing, saving and loading pairs, bad pair files, the re-pairing of round
// 2 from the results page and the refusals of the two commands.
#include "support/tourman_driver.h"

#include "pairing/color_improvement.h"
#include "support/tournament_state.h"
#include "toolkit/core/native_windows.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/progress_bar.h"
#include "tourman/commands/round_commands.h"
#include "tourman/commands/tournament_commands.h"
#include "tourman/dialogs/manual_pairing.h"
#include "tourman/frame/window_frame.h"
#include "tourman/main_window/main_window.h"
#include "tourman/main_window/show_tournament.h"
#include "tourman/pages/pairing/pairing_widgets.h"
#include "tourman/pages/results/results_list.h"
#include "tourman/pages/results/results_widgets.h"
#include "tournament/message_table.h"
#include "tournament/round_state.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace tmt {
namespace {

class ManualPairingTest : public TourmanTest {
  protected:
    // Round 1 by the engine (1 and 6 met), White winning every game.
    void SetUp() override {
        TourmanTest::SetUp();
        ASSERT_TRUE(Start());
        TenPlayerDubov();
        ResetByePlayer();
        Answer(MsgTopSeedWhiteQuestion, 0);
        PairRoundCommand();
        AcceptPairing();
        WhiteWinsRound();
        Players[10].available = 0;
        WkObjectEnable(MainWindow.pages[1]);
        ShowTournament();
        WkFormSetPage(MainWindow.notebook, 1);
        Flush();
    }
    std::string Status() { return static_cast<WkProgressData*>(In("status")->classRecord)->text; }
    WkObject* In(const std::string& name) { return Find(name, ManualPairingWindow()); }
    static WkObject* Focus() { return WkFormGetFocus(ManualPairingWindow()); }
    void Press(int message) { Click(In(MessageText(message))); }
    // Types the two ids and presses a button (add by default).
    void Ids(const char* white, const char* black, int button = MsgAddPair) {
        WkEditReplaceText(In("white"), white, 0, 0);
        WkEditReplaceText(In("black"), black, 0, 0);
        Press(button);
    }
    static std::string Lines(WkObject* list) {
        std::string all;
        for (int i = 0; i < WkListGetCount(list); ++i) all += std::string(WkListGetItem(list, i)->text) + "|";
        return all;
    }
    // The whole visible state: pairs, unpaired players, counters.
    std::string Shown() { return Lines(In("pairs")) + "#" + Lines(In("unpaired")) + "#" + Status(); }
    void Remove(int line) {
        WkListSelectItem(In("pairs"), line);
        Press(MsgRemovePair);
    }
    void Write(const std::string& name, const std::string& bytes) { std::ofstream(dataFolder + name, std::ios::binary) << bytes; }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(ManualPairingTest, RoundTwoByHandWithTheBye) {
    Click(PairingPage.manualPairingButton);
    ASSERT_NE(ManualPairingWindow(), nullptr);
    char title[256];
    WkShellGetTitle(ManualPairingWindow(), title);
    EXPECT_STREQ(title, "Manual pairing");
    EXPECT_EQ(Shown(), "#  1 PLAYER 1|  2 PLAYER 2|  3 PLAYER 3|  4 PLAYER 4|  5 PLAYER 5|  6 PLAYER 6|  7 PLAYER 7|"
                       "  8 PLAYER 8|  9 PLAYER 9|#Enter the pairs");
    Write("keep.man", "1\r\n  1    2\r\n");
    ChooseFile(dataFolder + "keep.man");
    Answer(MsgNoPlayerRegistered, 0);
    Press(MsgSavePairs); // nothing to save
    EXPECT_EQ(Read(dataFolder + "keep.man"), "1\r\n  1    2\r\n");

    // Each pair added leaves the focus in the White field for the next one.
    for (auto [white, black] : {std::pair{"1", "2"}, {"3", "4"}, {"5", "7"}, {"8", "0"}, {"0", "9"}}) { // the BYE twice
        Ids(white, black);
        EXPECT_EQ(Focus(), In("white")) << white << " - " << black;
    }
    // A refusal names the field it concerns, which takes the focus with its
    // text selected; one about the pair leaves it in White.
    const struct {
        const char *white, *black;
        int button;
        const char *alert, *focus;
    } refusals[] = {
        {"", "3", MsgAddPair, "White: Select or enter both players first.", "white"},
        {"6", "", MsgAddPair, "Black: Select or enter both players first.", "black"},
        {"11", "3", MsgAddPair, "White: Player id out of range.", "white"},
        {"6", "12", MsgAddPair, "Black: Player id out of range.", "black"},
        {"10", "3", MsgAddPair, "White: The player is not available.", "white"},
        {"6", "10", MsgAddPair, "Black: The player is not available.", "black"},
        {"6", "6", MsgAddPair, "These two players may not be paired.", "white"},
        {"6", "1", MsgAddPair, "These two players may not be paired.", "white"},
        {"2", "6", MsgAddPair, "The white player is already paired.", "white"},
        {"6", "3", MsgAddPair, "The black player is already paired.", "black"},
        {"6", "3", MsgCheckPair, "These two players may be paired.", "white"},
        {"6", "1", MsgCheckPair, "These two players may not be paired.", "white"},
        {"6", "11", MsgCheckPair, "Black: Player id out of range.", "black"},
        {"6", "10", MsgCheckPair, "The black player is not available.", "black"},
        {"", "", MsgOk, "Some players are not paired yet.", nullptr},
    };
    for (const auto& r : refusals) {
        AnswerText(r.alert, 0);
        Ids(r.white, r.black, r.button);
        if (!r.focus) continue;
        EXPECT_EQ(Focus(), In(r.focus)) << r.alert;
        int from = 0, to = 0;
        WkEditGetSelection(Focus(), &from, &to);
        EXPECT_EQ(to - from, int(std::strlen(WkEditGetText(Focus())))) << r.alert;
    }
    EXPECT_EQ(Shown(), "  1 -   2 : PLAYER 1 0.0 - PLAYER 2 1.0|"
                       "  3 -   4 : PLAYER 3 0.0 - PLAYER 4 1.0|"
                       "  5 -   7 : PLAYER 5 0.0 - PLAYER 7 0.0|"
                       "  8 -   0 : PLAYER 8 1.0 - __BYE__ 0.0|"
                       "  0 -   9 : __BYE__ 0.0 - PLAYER 9 0.0|#  6 PLAYER 6|#Unpaired = 1  -  Pairs = 5");
    Remove(1), Remove(3);
    EXPECT_EQ(Lines(In("unpaired")), "  3 PLAYER 3|  4 PLAYER 4|  6 PLAYER 6|  9 PLAYER 9|");
    EXPECT_EQ(Status(), "Unpaired = 4  -  Pairs = 3");
    Ids("3", "4"), Ids("6", "9");

    // Saved and loaded back: the same pairs in the same order.
    ChooseFile(dataFolder + "hand.man");
    Press(MsgSavePairs);
    EXPECT_EQ(Read(dataFolder + "hand.man"), "5\r\n  1    2\r\n  5    7\r\n  8    0\r\n  3    4\r\n  6    9\r\n");
    std::filesystem::create_directory(dataFolder + "folder.man"); // a file that cannot be written is named
    ChooseFile(dataFolder + "folder.man");
    AnswerText("The file cannot be created.\n" + dataFolder + "folder.man", 0);
    Press(MsgSavePairs);
    const std::string shown = Shown();
    Remove(0);
    ChooseFile(dataFolder + "hand.man");
    Press(MsgLoadPairs);
    EXPECT_EQ(Shown(), shown);
    // Bad files change nothing.
    const struct {
        const char* bytes;
        std::string alert;
    } bad[] = {
        {"1\n11 2\n", MessageText(MsgPlayerIdOutOfRange) + "\n"},
        {"1\n10 2\n", MessageText(MsgPlayerNotAvailable) + "\n"},
        {"2\n1 2\n3 1\n", MessageText(MsgCannotOpenFile) + "\n"},
        {"1\n1 6\n", MessageText(MsgMayNotBePaired) + "\n"},
        {"3\n1 2\n", MessageText(MsgCannotOpenFile) + "\n"},
    };
    for (const auto& b : bad) {
        Write("bad.man", b.bytes);
        ChooseFile(dataFolder + "bad.man");
        AnswerText(b.alert, 0);
        Press(MsgLoadPairs);
        EXPECT_EQ(Shown(), shown) << b.bytes;
    }
    SavePng(ManualPairingWindow(), "manual_pairing.png");

    Press(MsgOk);
    EXPECT_EQ(CurrentRound * 10 + RoundBoardCount(2), 25);
    std::string rows;
    for (int k = 1; k <= 5; ++k)
        rows += Lines(PairingPage.pairingList).find(PairingBoardLine(k)) != std::string::npos ? "+" : "-";
    for (WkObject* o : {PairingPage.acceptButton, PairingPage.cancelButton, PairingPage.pairButton,
                        PairingPage.manualPairingButton})
        rows += WkObjectIsSensitive(o) ? "1" : "0";
    EXPECT_EQ(rows, "+++++1100");
    EXPECT_EQ(GameTable(5, 2), EncodeGameCode(8, 0, WhiteWinsForfeit)); // the BYE board last
    EXPECT_TRUE(std::filesystem::exists(dataFolder + "pairs2.man"));
}

// Names are kept padded to their field; the lists show them whole and
// unpadded, the longest one and the last player's too.
TEST_F(ManualPairingTest, ListsShowWholeUnpaddedNames) {
    std::strcpy(Players[1].name, "ROSSI MARIO         ");
    std::strcpy(Players[2].name, "ABCDEFGHIJKLMNOPQRSTU");
    std::strcpy(Players[9].name, "O'NEILL ANNE-MARIE  ");
    Click(PairingPage.manualPairingButton);
    ASSERT_NE(ManualPairingWindow(), nullptr);
    const std::string unpaired = Lines(In("unpaired"));
    for (const char* line : {"  1 ROSSI MARIO|", "  2 ABCDEFGHIJKLMNOPQRSTU|", "  9 O'NEILL ANNE-MARIE|"})
        EXPECT_NE(unpaired.find(line), std::string::npos) << line << " in " << unpaired;
    Ids("1", "9"), Ids("2", "0");
    EXPECT_EQ(Lines(In("pairs")), "  1 -   9 : ROSSI MARIO 0.0 - O'NEILL ANNE-MARIE 0.0|"
                                  "  2 -   0 : ABCDEFGHIJKLMNOPQRSTU 1.0 - __BYE__ 0.0|");
    Answer(MsgCloseWithoutSaving, 1);
    Press(MsgClose);
}

TEST_F(ManualPairingTest, RepairingRoundTwoAndRefusals) {
    PairRoundCommand();
    AcceptPairing();
    WhiteWinsRound(); // round 2's results and tables as after the closed entry
    IsGetResultDone = 1;
    Flush();
    Click(ResultsPage.repairButton);
    ChooseFile(dataFolder + "pairs2.man"); // the round's own pairs may be paired again
    Press(MsgLoadPairs);
    EXPECT_EQ(Status(), "Unpaired = 0  -  Pairs = 5");
    Press(MsgOk);
    EXPECT_EQ(CurrentRound * 10 + IsGetResultDone + WkObjectIsSensitive(PairingPage.pairButton), 20);
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(IsByeCode(GameTable(k, 2)) ? NotPlayed : GameTable(k, 2) % 10, NotPlayed);
        EXPECT_EQ(WkListGetItem(ResultsPage.resultsList, k - 1)->text, ResultRow(k, 2));
    }

    Settings.PlannedRounds = 2;
    Answer(MsgAllRoundsPaired, 0);
    StartManualPairing();
    Answer(MsgCloseWithoutSaving, 0); // Cancel, then stay
    RepairShownRound();
    Press(MsgClose);
    Answer(MsgCloseWithoutSaving, 1);
    Press(MsgClose);
    EXPECT_EQ(ManualPairingWindow(), nullptr);
    Settings.PairingSystem = 2;
    Answer(MsgNotInRoundRobin, 0);
    RepairShownRound();
}

// A round paired by hand is not lost without a word: the Save item and the
// close's save ask first. Cancel writes nothing and the close stays, No
// saves the tournament without the round, Yes accepts it and saves; opened
// again, the tournament has the boards paired by hand, open for results.
TEST_F(ManualPairingTest, ARoundPairedByHandAtSaveAndClose) {
    Click(PairingPage.manualPairingButton);
    for (auto [white, black] : {std::pair{"1", "2"}, {"3", "4"}, {"5", "7"}, {"6", "9"}, {"8", "0"}}) Ids(white, black);
    Press(MsgOk);
    TournamentChanged(); // the players set into the tables: no tournament file yet
    std::vector<int> boards;
    for (int k = 0; k <= 5; ++k) boards.push_back(GameTable(k, 2));
    const auto files = Snapshot(dataFolder);
    enum Command { Exit, New, Save };
    const struct {
        Command command; // Exit and New through their "Save first"
        int button;
        const char* saved; // the round the state file holds; null: nothing written
    } cases[] = {{Exit, 0, nullptr},      {Exit, EscapeKey, nullptr}, {New, 0, nullptr},   {Save, 0, nullptr},
                 {Save, EscapeKey, nullptr}, {Save, CloseBox, nullptr},  {Save, 1, " 1 # "}, {Save, 2, " 2 # "}};
    for (const auto& c : cases) {
        if (c.command == Exit) Answer(MsgCloseWithoutSaving, 2);
        if (c.command == New) Answer(MsgLeaveOpenTournament, 2);
        AnswerText(ProposedRoundQuestion, c.button);
        if (c.command == Exit) {
            // Cancel, also by Escape: the program stays, in a child that must come back to end.
            EXPECT_EXIT((ExitCommand(), std::exit(7)), ::testing::ExitedWithCode(7), "");
            script.clear();
        } else if (c.command == New) {
            NewTournamentCommand();
        } else {
            WkMenuActivateItem(MainWindow.saveItem);
        }
        if (c.saved) EXPECT_EQ(Read(dataFolder + "ten.rnd").substr(0, 5), c.saved);
        else EXPECT_EQ(Snapshot(dataFolder), files);
        EXPECT_EQ(TournamentSaved, c.saved ? 1 : 0) << c.command << c.button; // bytes may be the same
        EXPECT_EQ(CurrentRound * 10 + IsPairingDone, c.button == 2 ? 21 : 20);
    }
    // A fresh program (Restart would pair round 1 again through SetUp).
    const auto saved = Snapshot(dataFolder);
    TourmanTest::TearDown();
    TourmanTest::SetUp();
    for (const auto& [name, bytes] : saved) Write(name, bytes);
    ASSERT_TRUE(Start());
    ChooseFile(dataFolder + "ten.qon");
    Answer(MsgResultsNotComplete, 0);
    OpenTournamentCommand();
    std::vector<int> opened;
    for (int k = 0; k <= 5; ++k) opened.push_back(GameTable(k, 2));
    EXPECT_TRUE(CurrentRound == 2 && IsPairingDone == 1 && opened == boards);
}

} // namespace
} // namespace tmt
