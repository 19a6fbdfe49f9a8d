// The colour-improvement window in a FIDE Dubov tournament: picks,
// differences, checks, the rule question, Done in rounds 1 and 2, the BYE
// board, Close, Do AUTO and the refusals.
#include "support/tourman_driver.h"

#include "pairing/color_improvement.h"
#include "reports/board_cards.h"
#include "reports/pairing_lists.h"
#include "support/tournament_state.h"
#include "toolkit/widgets/list.h"
#include "tourman/commands/round_commands.h"
#include "tourman/dialogs/color_window.h"
#include "tourman/pages/pairing/pairing_widgets.h"
#include "tourman/pages/results/results_widgets.h"

#include <filesystem>
#include <set>

namespace tmt {
namespace {

class ColorWindowTest : public TourmanTest {
  protected:
    void SetUp() override {
        TourmanTest::SetUp();
        ASSERT_TRUE(Start());
        TenPlayerDubov();
    }
    void PairAndAccept() {
        PairRoundCommand();
        AcceptPairing();
        Flush();
    }
    // The results page's button; once the window is open it may cover the button.
    WkObject* Open() {
        if (ColorImprovementDialog()) ColorImprovementCommand();
        else Click(ResultsPage.colorImprovementButton);
        return ColorImprovementDialog();
    }
    // The window's buttons or labels in creation order: the player buttons
    // first (White, Black by board), the selections and the difference last.
    std::vector<WkObject*> All(int classCode) {
        std::vector<WkObject*> found;
        for (WkObject* o : Widgets(ColorImprovementDialog()))
            if (o->classCode == classCode) found.push_back(o);
        return found;
    }
    WkObject* PlayerButton(int board, int side) { return All(WK_CLASS_PUSH_BUTTON)[std::size_t(2 * board - 2 + side)]; }
    void Pick(int board, int side) { Click(PlayerButton(board, side)); }
    std::string Labels() {
        const std::vector<WkObject*> labels = All(WK_CLASS_LABEL);
        return Caption(labels.end()[-3]) + "|" + Caption(labels.end()[-2]) + "|" + Caption(labels.back());
    }
    void Press(const char* caption) { Click(Find(caption, ColorImprovementDialog())); }
    // Presses a button of the window whose box shows the message.
    void Boxed(const char* caption, int message, int button = 0) {
        Answer(message, button);
        Press(caption);
    }
    static std::string Row(WkObject* list, int row) { return WkListGetItem(list, row)->text; }
};

// Round 1: 6-1 and 2-7 (made 2-1 and 6-7 here), 8-3, 4-9, 10-5; round 2:
// 2-10, 8-4, 1-6, 7-3, 9-5 (player 1 rated 2400, each next one 100 less).
TEST_F(ColorWindowTest, ExchangesAndDoneInRoundsOneAndTwo) {
    Answer(MsgTopSeedWhiteQuestion, 0);
    PairAndAccept();
    ASSERT_NE(Open(), nullptr);
    Pick(1, 0), Pick(2, 0);
    Press("Exchange Players");
    Press("Done");
    std::multiset<int> boards{GameTable(1, 1), GameTable(2, 1), GameTable(3, 1), GameTable(4, 1), GameTable(5, 1)};
    EXPECT_EQ(boards, (std::multiset<int>{20019, 60079, 80039, 40099, 100059})); // no new colours

    WhiteWinsRound();
    PairAndAccept();
    PairingStates[7].colorFlexible = PairingStates[4].colorFlexible = 0; // red rings
    PairingStates[5].dueColor = -1;                                      // no colour due
    WkObject* window = Open();
    EXPECT_EQ(Open(), window); // opened again, it only comes forward
    SavePng(window, "round2.png");
    EXPECT_EQ(Caption(PlayerButton(3, 0)), "  1:  0.0, 2400");
    PairingStates[7].colorFlexible = PairingStates[4].colorFlexible = 1;
    PairingStates[5].dueColor = 0;
    Boxed("Verify Pair", MsgEnterBothPlayers);
    const struct {
        int board1, side1, board2, side2;
        const char* shown;
    } picks[] = {{2, 0, 3, 1, "  8 (2)|  6 (3)|200 inter."}, {2, 1, 3, 0, "  4 (2)|  1 (3)|300 inter."},
                 {2, 0, 3, 0, "  8 (2)|  1 (3)|200 trans."}, {1, 0, 3, 1, "  2 (1)|  6 (3)|not allowed"},
                 {2, 0, 2, 1, "  8 (2)|  4 (2)|0"}};
    for (const auto& p : picks) {
        Pick(p.board1, p.side1), Pick(p.board2, p.side2);
        EXPECT_EQ(Labels(), p.shown);
    }
    Boxed("Exchange Players", MsgSameBoard);
    Pick(3, 0), Pick(3, 0);
    AnswerText("Please don't loose time :-)", 0);
    Press("Exchange Players");
    Pick(4, 0), Pick(1, 0), Pick(5, 0); // the third replaces the first
    EXPECT_EQ(Labels(), "  9 (5)|  2 (1)|500 trans.");
    Boxed("Verify Pair", MsgMayBePaired);
    Pick(2, 1);
    Boxed("Verify Pair", MsgMayNotBePaired);

    PairingStates[4].dueColor = -1; // boards 2 and 4 now lean to opposite colours
    Pick(2, 0), Pick(4, 1);
    const std::string question = "This interchange do not met the 200 points rule\nDo you want to proceede anyway?";
    AnswerText(question, 0);
    Press("Exchange Players");
    EXPECT_EQ(ColorWorkingBoard(2), 80049);
    EXPECT_EQ(Labels(), "  8 (2)|  3 (4)|500 inter.");
    AnswerText(question, 1);
    Press("Exchange Players");
    EXPECT_EQ(std::make_pair(ColorWorkingBoard(2), ColorWorkingBoard(4)), std::make_pair(30049, 70089));
    EXPECT_EQ(Caption(PlayerButton(2, 0)) + Caption(PlayerButton(4, 1)), "  3:  0.0, 2200  8:  1.0, 1700");
    EXPECT_EQ(Labels(), " | | ");

    Press("Done");
    EXPECT_EQ(ColorImprovementDialog(), nullptr);
    const auto files = Snapshot(dataFolder);
    WritePairingLists(2), WriteBoardCards(2);
    EXPECT_EQ(Snapshot(dataFolder), files); // the lists and cards show the boards as they stand
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(Row(PairingPage.pairingList, k - 1) + Row(ResultsPage.resultsList, k - 1),
                  PairingBoardLine(k) + PairingBoardLine(k));

}

TEST_F(ColorWindowTest, ByeBoardCloseDoAutoAndRefusals) {
    Players[10].available = 0; // nine players: round 1 ends with the BYE board
    Answer(MsgTopSeedWhiteQuestion, 0);
    PairAndAccept();
    Open();
    const int bye = RoundBoardCount(1), white = GameTable(1, 1) / 10000;
    Pick(bye, 1), Pick(1, 1);
    Press("Exchange Players"); // the BYE moves and keeps its result
    EXPECT_EQ(ColorWorkingBoard(1), EncodeGameCode(white, 0, WhiteWinsForfeit));
    Boxed("Close", MsgCloseWithoutSaving, 0);
    Boxed("Close", MsgCloseWithoutSaving, 1);
    EXPECT_EQ(ColorImprovementDialog(), nullptr);

    WhiteWinsRound();
    PairAndAccept();
    Open();
    Press("Do AUTO");
    EXPECT_EQ(ColorImprovementDialog(), nullptr);
    EXPECT_TRUE(std::filesystem::exists(dataFolder + "colorlog2.txt"));
    EXPECT_EQ(Row(PairingPage.pairingList, 0) + Row(ResultsPage.resultsList, 0),
              PairingBoardLine(1) + PairingBoardLine(1));
    WkObject* window = Open();
    GameTable(1, 2) += Draw - NotPlayed; // a result entered meanwhile: Done and the button refuse
    const char* closed = "Colours can only be improved in the current round before any of its results is entered.";
    AnswerText(closed, 0);
    Press("Done");
    AnswerText(closed, 0);
    EXPECT_EQ(Open(), window);
    Settings.PairingSystem = SingleRoundRobinSystem;
    Answer(MsgNotInRoundRobin, 0);
    Open();
    Boxed("Close", MsgCloseWithoutSaving, 1);
    EXPECT_EQ(ColorImprovementDialog(), nullptr);
}

} // namespace
} // namespace tmt
