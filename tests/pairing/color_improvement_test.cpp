// Automatic colour improvement: the ladder on hand-built rounds, the colour
// log's exact bytes, the BYE board, the board list, and whole simulated
// tournaments with the option on in every system.

#include "pairing/burstein_engine.h"
#include "pairing/color_improvement.h"
#include "pairing/dubov_engine.h"
#include "pairing/round_check.h"
#include "pairing/round_dispatcher.h"
#include "pairing/score_groups.h"
#include "pairing/uscf_engine.h"
#include "support/file_bytes.h"
#include "support/recording_message_box.h"
#include "support/tournament_simulator.h"
#include "support/tournament_state.h"
#include "tournament/message_table.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// One player of a hand-built round 2: rating, due colour (1, 0, -1),
// colour difference and score.
struct Hand {
    int rating;
    int due;
    int difference;
    float score = 1.0f;
};

class ColourImprovement : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearScoreGroups(0);
        ClearMessageTable();
        SetMessageText(MsgPairingStops, "Cannot pair");
        folder = std::string(TM_TEST_OUTPUT_DIR) + "/";
        Restart();
    }
    // An empty started FIDE Dubov tournament that writes into the scratch folder.
    void Restart() {
        ResetTournamentState();
        std::snprintf(Settings.DataFolder, sizeof Settings.DataFolder, "%s", folder.c_str());
        Settings.PairingSystem = FideDubovSystem;
        ClosedRegistration = 1;
    }
    void TearDown() override {
        ColorImprovementWindow = ColorImprovementHooks{};
        RegisterColorImprovement(nullptr);
        for (int system : {1, 3, 4, 6})
            RegisterPairingEngine(system, nullptr);
        ClearScoreGroups(0);
        ResetTournamentState();
    }

    // Players 1..n as given, nobody met before (a test sets its own
    // rematches), and round 2 current with the boards given.
    void HandBuild(const std::vector<Hand>& players, const std::vector<std::pair<int, int>>& boards) {
        for (const Hand& h : players) {
            const int id = AddTestPlayer("PLAYER " + std::to_string(PlayerCount + 1), h.rating);
            PairingStates[id].dueColor = h.due;
            PairingStates[id].colorFlexible = 1;
            PairingStates[id].colorDifference = h.difference;
            PairingStates[id].byeEligibility = 1;
            PlayerScores[id].score = h.score;
        }
        SetCurrentRound(2);
        int board = 0;
        for (auto [first, second] : boards)
            SetTestBoard(2, ++board, first, second, second == 0 ? WhiteWinsForfeit : NotPlayed);
    }

    std::vector<int> Boards() {
        std::vector<int> codes;
        for (int board = 1; board <= GameTable(0, 2); ++board)
            codes.push_back(GameTable(board, 2));
        return codes;
    }
    std::string Log(int round = 2) { return ReadFileBytes(folder + "colorlog" + std::to_string(round) + ".txt"); }

    std::string folder;
    RecordingMessageBox boxes;
};

// Four players of two boards (1, 2) and (3, 4): 1 and 2 due white, 3 and 4
// due black, everybody with one black or one white behind him.
std::vector<Hand> TwoBoards(int r1, int r2, int r3, int r4, int difference = 1) {
    return {{r1, 1, -difference}, {r2, 1, -difference}, {r3, 0, difference}, {r4, 0, difference}};
}

TEST_F(ColourImprovement, TheLadderPicksItsRungAndTheLogSaysWhich) {
    struct Case {
        const char* what;
        std::vector<Hand> players;
        std::vector<int> expected; // the two boards after the run
        std::string log;
    };
    const int p1 = EncodeGameCode(1, 2, NotPlayed), p2 = EncodeGameCode(3, 4, NotPlayed);
    const int trans1 = EncodeGameCode(1, 4, NotPlayed), trans2 = EncodeGameCode(3, 2, NotPlayed);
    const int inter1 = EncodeGameCode(1, 3, NotPlayed), inter2 = EncodeGameCode(2, 4, NotPlayed);
    const std::vector<Case> cases = {
        {"close transposition", TwoBoards(2000, 1900, 1980, 1890), {trans1, trans2},
         "Done Transposition between pairs 1, 2\r\n"
         "[1] R80 = 0, R200 = 1: D_trans = 10, D_inter_1 = 110, D_inter_0 = 80\r\n\r\n"},
        {"an unrated player makes the transposition free", TwoBoards(2000, 0, 1200, 1100), {trans1, trans2},
         "Done Transposition between pairs 1, 2\r\n"
         "[1] R80 = 0, R200 = 1: D_trans = 0, D_inter_1 = 900, D_inter_0 = 0\r\n\r\n"},
        {"transposition within 200, no interchange", TwoBoards(2000, 1500, 1850, 1350), {trans1, trans2},
         "Done Transposition between pairs 1, 2\r\n"
         "[2] R80 = 0, R200 = 1: D_trans = 150, D_inter_1 = 650, D_inter_0 = 350\r\n\r\n"},
        {"transposition cheaper than the interchange", TwoBoards(2000, 1670, 1850, 1400), {trans1, trans2},
         "Done Transposition between pairs 1, 2\r\n"
         "[3] R80 = 0, R200 = 1: D_trans = 150, D_inter_1 = 600, D_inter_0 = 180\r\n\r\n"},
        {"interchange cheaper than the transposition", TwoBoards(2000, 1900, 1850, 1750), {inter1, inter2},
         "Done Interchange between pairs 1, 2\r\n"
         "[4] R80 = 0, R200 = 1: D_trans = 150, D_inter_1 = 250, D_inter_0 = 50\r\n\r\n"},
        {"a tie between the two is left alone", TwoBoards(2000, 1700, 1850, 1400), {p1, p2}, ""},
        {"beyond 200 nothing qualifies", TwoBoards(2400, 1850, 2100, 1600), {p1, p2}, ""},
        {"the 80-point rule alone", TwoBoards(2000, 1900, 1950, 1850, 0), {trans1, trans2},
         "Done Transposition between pairs 1, 2\r\n"
         "[1] R80 = 1, R200 = 0: D_trans = 50, D_inter_1 = 150, D_inter_0 = 50\r\n\r\n"},
        {"the 80-point rule refuses 150", TwoBoards(2000, 1700, 1850, 1550, 0), {p1, p2}, ""},
        {"no rule flag, no exchange even when free", {{2000, 1, -1}, {0, 1, 0}, {1200, 0, 1}, {1100, 0, 0}},
         {p1, p2}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Restart();
        HandBuild(c.players, {{1, 2}, {3, 4}});
        AutoColorImprovement(nullptr, 0, nullptr);
        EXPECT_EQ(Boards(), c.expected);
        EXPECT_EQ(Log(), c.log);
        EXPECT_EQ(GameTable(0, 2), 2);
    }
}

TEST_F(ColourImprovement, AnInterchangeTakesOverWhenTheTranspositionIsARematch) {
    HandBuild(TwoBoards(2000, 1900, 1980, 1890), {{1, 2}, {3, 4}});
    OpponentTable(1, 1) = 4;
    OpponentTable(4, 1) = 1;
    AutoColorImprovement(nullptr, 0, nullptr);
    EXPECT_EQ(Boards(), (std::vector<int>{EncodeGameCode(1, 3, NotPlayed), EncodeGameCode(2, 4, NotPlayed)}));
    EXPECT_EQ(Log(), "Done Interchange between pairs 1, 2\r\n"
                     "[6] R80 = 0, R200 = 1: D_trans = 100000, D_inter_1 = 110, D_inter_0 = 80\r\n\r\n");
    EXPECT_EQ(TranspositionDifference(1, 2, 3, 4), 100000); // rematch of 1 and 4 both ways
    EXPECT_EQ(InterchangeDifference(1, 2, 4, 3, 1), 100000);
}

TEST_F(ColourImprovement, OnlyBoardsOfOppositeLeaningsAreCombined) {
    // 1-2 both due white, 3-4 both due white, 5-6 satisfied, 7-8 both due black.
    HandBuild({{2000, 1, -1}, {1990, 1, -1}, {1980, 1, -1}, {1970, 1, -1}, {1960, 1, -1}, {1950, 0, 1},
               {1940, 0, 1}, {1930, 0, 1}},
              {{1, 2}, {3, 4}, {5, 6}, {7, 8}});
    AutoColorImprovement(nullptr, 0, nullptr);
    EXPECT_EQ(Boards(), (std::vector<int>{EncodeGameCode(1, 8, NotPlayed), EncodeGameCode(3, 4, NotPlayed),
                                          EncodeGameCode(5, 6, NotPlayed), EncodeGameCode(7, 2, NotPlayed)}));
    EXPECT_EQ(Log(), "Done Transposition between pairs 1, 4\r\n"
                     "[1] R80 = 0, R200 = 1: D_trans = 60, D_inter_1 = 70, D_inter_0 = 50\r\n\r\n");
    EXPECT_EQ(PairColorStatus(5, 6), 10);
    EXPECT_EQ(PairColorStatus(1, 2), 1);
    EXPECT_EQ(PairColorStatus(7, 0), -1);
    EXPECT_EQ(PairColorStatus(0, 0), 0);
}

TEST_F(ColourImprovement, AScoreRefusalEndsTheBoardsTurn) {
    // Board 2 is refused by the scores; board 3 would be taken, but is never
    // tried for board 1, and board 2 leans the same way as board 3.
    std::vector<Hand> players = {{2000, 1, -1, 2.0f}, {1990, 1, -1, 1.5f}, {1980, 0, 1, 1.0f},
                                 {1970, 0, 1, 1.0f},  {1960, 0, 1, 2.0f},  {1950, 0, 1, 1.5f}};
    HandBuild(players, {{1, 2}, {3, 4}, {5, 6}});
    EXPECT_EQ(ApplyExchange(1, 2, 1, 2, 3, 4, 0), 0);
    EXPECT_EQ(ApplyExchange(1, 2, 1, 2, 3, 4, 1), 0);
    AutoColorImprovement(nullptr, 0, nullptr);
    EXPECT_EQ(Boards(), (std::vector<int>{EncodeGameCode(1, 2, NotPlayed), EncodeGameCode(3, 4, NotPlayed),
                                          EncodeGameCode(5, 6, NotPlayed)}));
    EXPECT_EQ(Log(), "");
}

TEST_F(ColourImprovement, TheByeOnlyMovesToAPlayerWhoMayHaveItAndKeepsItsResult) {
    // 1-2 both due white; 3 due black has the BYE. The transposition gives
    // the BYE to 1, the interchange to 2.
    for (int eligibleOne : {0, 1})
        for (int eligibleTwo : {0, 1}) {
            SCOPED_TRACE("eligibility " + std::to_string(eligibleOne) + std::to_string(eligibleTwo));
            Restart();
            HandBuild({{2000, 1, -1}, {1990, 1, -1}, {1980, 0, 1}, {1970, 1, -1}}, {{1, 2}, {3, 0}});
            GameTable(0, 2) = 2; // player 4 sits out this round in the hand-built field
            PairingStates[1].byeEligibility = eligibleOne;
            PairingStates[2].byeEligibility = eligibleTwo;
            AutoColorImprovement(nullptr, 0, nullptr);
            std::vector<int> expected = {EncodeGameCode(1, 2, NotPlayed), EncodeGameCode(3, 0, WhiteWinsForfeit)};
            if (eligibleOne == 1)
                expected = {EncodeGameCode(1, 0, WhiteWinsForfeit), EncodeGameCode(3, 2, NotPlayed)};
            else if (eligibleTwo == 1)
                expected = {EncodeGameCode(1, 3, NotPlayed), EncodeGameCode(2, 0, WhiteWinsForfeit)};
            EXPECT_EQ(Boards(), expected);
        }
}

TEST_F(ColourImprovement, AByeBoardWithTheByeFirstKeepsItsSideAndResult) {
    // The FIDE Burstein layout of the BYE board: (0, player, 0 -1F).
    Settings.PairingSystem = FideBursteinSystem;
    HandBuild({{2000, 1, -1}, {1990, 1, -1}, {1980, 0, 1}}, {{1, 2}});
    SetTestBoard(2, 2, 0, 3, BlackWinsForfeit);
    AutoColorImprovement(nullptr, 0, nullptr);
    EXPECT_EQ(Boards(), (std::vector<int>{EncodeGameCode(1, 3, NotPlayed), EncodeGameCode(0, 2, BlackWinsForfeit)}));
    EXPECT_EQ(Log(), "Done Transposition between pairs 1, 2\r\n"
                     "[1] R80 = 0, R200 = 1: D_trans = 0, D_inter_1 = 20, D_inter_0 = 0\r\n\r\n");
}

TEST_F(ColourImprovement, TheBoardListIsRefilledAndTheButtonsWindowClosed) {
    static std::vector<std::string> lines;
    static std::vector<void*> closed;
    lines.clear();
    closed.clear();
    ColorImprovementWindow.clearBoardList = [] { lines.push_back("<clear>"); };
    ColorImprovementWindow.addBoardLine = [](const char* line) { lines.push_back(line); };
    ColorImprovementWindow.closeDialog = [](void* button) { closed.push_back(button); };
    HandBuild({{2000, 1, -1, 1.5f}, {1990, 1, -1, 1.5f}, {1980, 0, 1, 1.5f}, {1970, 0, 1, 1.5f}, {1500, 1, -1, 0.0f}},
              {{1, 2}, {3, 4}, {5, 0}});
    int button = 0;
    AutoColorImprovement(&button, 0, &button);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "<clear>");
    EXPECT_EQ(lines[1], "  1:   1 PLAYER 1             ( 1.5) -   4 PLAYER 4             ( 1.5) = [ ... ]");
    EXPECT_EQ(lines[3], "  3:   5 PLAYER 5             ( 0.0) -   0 __BYE__              ( 0.0) = [ ... ]");
    EXPECT_EQ(closed, std::vector<void*>{&button});
    AutoColorImprovement(&button, 0, nullptr); // the dispatcher's call closes nothing
    EXPECT_EQ(closed.size(), 1u);
}

TEST_F(ColourImprovement, SimulatedTournamentsWithTheOptionOnPassTheCheckInEverySystem) {
    RegisterDubovEngine();
    RegisterUscfEngine();
    RegisterBursteinEngine();
    RegisterColorImprovementPass();
    int exchanges = 0;
    for (int system : {FideDubovSystem, SwissQuonSystem, UscfSystem, FideBursteinSystem})
        for (int players : {15, 24, 41}) {
            SCOPED_TRACE("system " + std::to_string(system) + ", players " + std::to_string(players));
            SimulationOptions options;
            options.system = system;
            options.players = players;
            options.rounds = 7;
            options.seed = static_cast<std::uint32_t>(system * 100 + players);
            options.dataFolder = folder;
            std::remove((folder + "colorlog1.txt").c_str());
            SetUpSimulatedTournament(options);
            ColorImprovementOption = 1;
            // Setting a tournament up turns every run option off, so the
            // option is set after it and the rounds are driven here.
            for (int round = 1; round <= options.rounds; ++round) {
                ASSERT_NE(PairNextRound(PlayerCount), 0) << "round " << round;
                const RoundCheck check = CheckPairedRound(round, PlayerCount);
                ASSERT_TRUE(check.ok) << "round " << round << ": " << check.problem;
                if (round > 1) {
                    const std::string log = Log(round);
                    for (std::size_t at = log.find("Done "); at != std::string::npos; at = log.find("Done ", at + 1))
                        ++exchanges;
                }
                PlaySimulatedRound(options, round);
                CloseSimulatedRound(options, round);
            }
            EXPECT_EQ(Log(1), ""); // round 1 is never improved
        }
    EXPECT_GT(exchanges, 0);
}

} // namespace
