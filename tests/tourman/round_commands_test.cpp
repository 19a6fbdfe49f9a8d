// The round commands driven through the pairing page from the close of the
// registration on.
#include "support/tourman_driver.h"
#include "tests/support/file_bytes.h"

#include "pairing/color_improvement.h"
#include "pairing/dubov_engine.h"
#include "pairing/round_dispatcher.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/list.h"
#include "tourman/commands/round_commands.h"
#include "tourman/commands/save_tournament.h"
#include "tourman/commands/tournament_commands.h"
#include "tourman/frame/window_frame.h"
#include "tourman/main_window/show_tournament.h"
#include "tourman/pages/pairing/pairing_widgets.h"
#include "tourman/pages/players/player_list.h"
#include "tourman/pages/players/players_widgets.h"
#include "tourman/pages/results/results_widgets.h"
#include "tournament/files/player_list_row.h"
#include "tournament/files/round_state_file.h"
#include "tournament/game_code.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_save.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/scores.h"
#include "tournament/settings.h"
#include "tournament/start_tournament.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>

namespace tmt {
namespace {

class RoundCommandsTest : public TourmanTest {
  protected:
    // Players committed from the player list's rows, then the start with pairing numbers by
    // rating (MsgPairingNumbersQuestion) pairs round 1 through the window's hook.
    void Close(int system, int players, int rounds) {
        ASSERT_TRUE(Start());
        Settings.PairingSystem = system;
        Settings.PlannedRounds = rounds;
        std::snprintf(Settings.BaseName, sizeof Settings.BaseName, "open");
        for (int id = 1; id <= players; ++id) {
            Player p{};
            std::snprintf(p.name, sizeof p.name, "PLAYER %02d", id);
            p.available = 1;
            p.nationalRating = 2400 - 10 * id;
            WkListAddItem(PlayersPage.playerList, PlayerListRow(p, 0).c_str(), 0);
        }
        PlayerCount = players;
        ASSERT_TRUE(CommitPlayerList());
        ClosedRegistration = 1;
        WkObjectEnable(MainWindow.pages[1]);
        Answer(MsgPairingNumbersQuestion, 0);
        if (!IsRoundRobin()) Answer(MsgTopSeedWhiteQuestion, 1);
        ASSERT_TRUE(StartTournament(players));
    }
    // What closing the result entry does once every board has its result
    // (White wins where none was entered), then the pairing page in front.
    void CloseResults() {
        for (int board = 1; board <= RoundBoardCount(CurrentRound); ++board)
            if (GameTable(board, CurrentRound) % 10 == NotPlayed) GameTable(board, CurrentRound) += WhiteWins - NotPlayed;
        ResultsClosed(true);
        WkObjectEnable(MainWindow.pages[1]);
        ShowTournament();
        WkFormSetPage(MainWindow.notebook, 1);
    }
    void ActivateRow(int row) {
        WkListSelectItem(PairingPage.pairingList, row);
        WkObjectSetFocus(PairingPage.pairingList);
        Press(0x1C, 0x0D, 0, 0x0D); // Enter
    }
    // The proposed round accepted, won by White on every board but the last,
    // a draw there, saved and its results closed.
    void PlayRound() {
        Click(PairingPage.acceptButton);
        const int boards = RoundBoardCount(CurrentRound);
        for (int board = 1; board <= boards; ++board) // no BYE among ten players
            GameTable(board, CurrentRound) += (board < boards ? WhiteWins : Draw) - NotPlayed;
        ASSERT_TRUE(SaveRound(CurrentRound));
        CloseResults();
        ComputeScores(CurrentRound, PlayerCount);
    }
    static std::string Row(WkObject* list, int row) { return WkListGetItem(list, row)->text; }
    // Pair, manual, accept, cancel, pairing page, results page: 1 usable.
    static std::string Controls() {
        std::string on;
        for (WkObject* o : {PairingPage.pairButton, PairingPage.manualPairingButton, PairingPage.acceptButton,
                            PairingPage.cancelButton, MainWindow.pages[1], MainWindow.pages[2]})
            on += WkObjectIsSensitive(o) ? '1' : '0';
        return on;
    }
};

constexpr const char *kProposed = "001110", *kWaiting = "110011", *kAccepted = "000001";

TEST_F(RoundCommandsTest, SwissRounds) {
    Close(FideDubovSystem, 10, 5);
    EXPECT_EQ(Controls(), kProposed);
    ASSERT_EQ(WkListGetCount(PairingPage.pairingList), 5);
    for (int board = 1; board <= 5; ++board) EXPECT_EQ(Row(PairingPage.pairingList, board - 1), PairingBoardLine(board));
    for (const char* file : {"pairs1.txt", "pairs1.html", "pairing1.txt", "pairs1.man"})
        EXPECT_TRUE(std::filesystem::exists(dataFolder + file)) << file;
    WkFormSetPage(MainWindow.notebook, 1);
    Flush();
    SavePng(MainWindow.window, "pairing.png");

    // Exchange on board 1: answer 0 changes nothing, answer 1 the row, the game and the list.
    const auto files = Snapshot(dataFolder);
    const int code = GameTable(1, 1);
    const std::string proposed = Row(PairingPage.pairingList, 0);
    Answer(MsgSwapColoursQuestion, 0);
    ActivateRow(0);
    EXPECT_EQ(GameTable(1, 1), code);
    EXPECT_EQ(Snapshot(dataFolder), files);
    Answer(MsgSwapColoursQuestion, 1);
    ActivateRow(0);
    EXPECT_EQ(GameTable(1, 1), EncodeGameCode(6, 1, NotPlayed));
    EXPECT_EQ(Row(PairingPage.pairingList, 0), PairingBoardLine(1));
    EXPECT_NE(Snapshot(dataFolder), files);
    // A BYE board keeps its colours: the BYE cannot play White.
    int bye = EncodeGameCode(5, 0, WhiteWinsForfeit);
    std::swap(GameTable(5, 1), bye);
    SwapPairingColours(PairingPage.pairingList, 4);
    EXPECT_EQ(std::exchange(GameTable(5, 1), bye), EncodeGameCode(5, 0, WhiteWinsForfeit));

    // Cancel: answer 0 keeps the proposal, answer 1 is back at round 0; pairing again gives the same round.
    Answer(MsgCancelLastPairingQuestion, 0);
    Click(PairingPage.cancelButton);
    Answer(MsgCancelLastPairingQuestion, 1);
    Click(PairingPage.cancelButton);
    EXPECT_EQ(CurrentRound, 0);
    EXPECT_EQ(WkListGetCount(PairingPage.pairingList), 0);
    EXPECT_EQ(Controls(), kWaiting);
    Answer(MsgTopSeedWhiteQuestion, 1);
    Click(PairingPage.pairButton);
    EXPECT_EQ(Row(PairingPage.pairingList, 0), proposed);
    EXPECT_EQ(Controls(), kProposed);

    Click(PairingPage.acceptButton);
    for (const char* file : {"boardcrd.txt", "index.html", "eloprev.txt", "open.qon", "open.rnd"})
        EXPECT_TRUE(std::filesystem::exists(dataFolder + file)) << file;
    EXPECT_EQ(Controls(), kAccepted);
    EXPECT_FALSE(WkObjectIsSensitive(ResultsPage.roundField));
    EXPECT_EQ(WkFormGetPage(MainWindow.notebook), 2);
    EXPECT_EQ(WkListGetCount(ResultsPage.resultsList), 5);
    const int board2 = GameTable(2, 1);
    SwapPairingColours(PairingPage.pairingList, 1);
    EXPECT_EQ(GameTable(2, 1), board2);

    // White wins everywhere. A failing engine leaves round 1 and the pair buttons.
    for (int board = 1; board <= 5; ++board) GameTable(board, 1) = GameTable(board, 1) / 10 * 10 + WhiteWins;
    ASSERT_TRUE(SaveRound(1));
    ComputeScores(1, PlayerCount);
    CloseResults();
    RegisterPairingEngine(FideDubovSystem, [](int, int) { return 0; });
    Click(PairingPage.pairButton);
    RegisterDubovEngine();
    EXPECT_EQ(CurrentRound, 1);
    EXPECT_EQ(Controls(), kWaiting);
    Click(PairingPage.pairButton);
    EXPECT_EQ(CurrentRound, 2);
    EXPECT_NE(Row(PairingPage.pairingList, 0).find("( 1.0)"), std::string::npos);
    int white, black, digit;
    DecodeGameCode(GameTable(1, 2), white, black, digit);
    PairingStates[white].colorFlexible = 0;
    Answer(MsgSwapColoursAgainstPreferences, 0);
    ActivateRow(0);

    // The acceptance's save holds the round's floaters and its open entry.
    Click(PairingPage.acceptButton);
    int floats = 0;
    for (int id = 1; id <= PlayerCount; ++id) floats += std::exchange(FloatHistory(id, 2), 0);
    EXPECT_GT(floats, 0);
    IsGetResultDone = 1;
    ASSERT_TRUE(ReadRoundStateFile(RoundStatePath()));
    for (int id = 1; id <= PlayerCount; ++id) floats -= FloatHistory(id, 2);
    EXPECT_EQ(floats, 0);
    EXPECT_EQ(IsGetResultDone, 0);

    // A limit lowered under the current round refuses.
    Settings.PlannedRounds = 1;
    CloseResults();
    Answer(MsgAllRoundsPaired, 0);
    Click(PairingPage.pairButton);
    EXPECT_EQ(CurrentRound, 2);
    EXPECT_EQ(Controls(), kWaiting);
}

// A round proposed when the tournament is saved is not kept: reopened, the
// tournament waits for the round's pairing with the files of the program
// that saved it, and pairs the same round again. Without its round-state
// file (missing, cut short, unreadable) the open is refused, naming the
// file and the newest round snapshot; nothing is written, and the program
// has no tournament it could start anew.
TEST_F(RoundCommandsTest, ProposedRoundSavedAndReopened) {
    Close(FideDubovSystem, 10, 5);
    PlayRound();
    Click(PairingPage.pairButton);
    PlayRound();
    Click(PairingPage.pairButton);
    const std::string proposed = Row(PairingPage.pairingList, 4);
    ASSERT_TRUE(CurrentRound == 3 && SaveTournament());
    const auto saved = Snapshot(dataFolder);
    const std::string whole = ReadFileBytes(dataFolder + "open.rnd");
    const struct {
        std::string bytes, reason; // bytes empty: no file
    } cases[] = {{"", "open.rnd: the file is missing"},
                 {whole.substr(0, 30), "open.rnd, line 2: "},
                 {whole.substr(0, whole.find("# players floater") / 2), "open.rnd, line 14: "},
                 {whole.substr(0, whole.size() - 4), "open.rnd, line 58: "},
                 {std::string("\0\xff not a round file\r\n", 21), "open.rnd, line 1: "}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        auto files = saved;
        for (auto& file : files) if (file.first == "open.rnd") file.second = c.bytes;
        Restart(files, c.bytes.empty() ? "open.rnd" : "");
        std::erase_if(files, [](const auto& file) { return file.second.empty(); });
        // The snapshot of round 1 written again after that of round 2: round 2's is still the newest.
        std::filesystem::last_write_time(dataFolder + "open2.rnd", std::filesystem::file_time_type::clock::now() -
                                                                       std::chrono::hours(1));
        ChooseFile(dataFolder + "open.qon");
        AnswerText(MessageText(MsgCannotReadRoundFile) + "\n", 0);
        OpenTournamentCommand();
        const std::string& text = boxes.back().text;
        EXPECT_TRUE(text.find("\n" + dataFolder + c.reason) != std::string::npos &&
                    text.find("newest round file is \"open2.rnd\"") != std::string::npos &&
                    PlayerCount + ClosedRegistration == 0 && MainWindow.saveItem->disabled) << text;
        Click(PlayersPage.closeRegistrationButton);
        WkFormSetPage(MainWindow.notebook, 1);
        Click(PairingPage.pairButton);
        EXPECT_EQ(Snapshot(dataFolder), files);
    }

    Restart(saved);
    ChooseFile(dataFolder + "open.qon");
    OpenTournamentCommand();
    EXPECT_TRUE(CurrentRound == 2 && Controls() == kWaiting && WkListGetCount(PairingPage.pairingList) == 0);
    EXPECT_NE(Row(ResultsPage.resultsList, 4).find("[\xBD - \xBD]"), std::string::npos); // round 2's last board
    EXPECT_EQ(Snapshot(dataFolder), saved); // the standings among them
    WkFormSetPage(MainWindow.notebook, 1);
    Click(PairingPage.pairButton);
    EXPECT_TRUE(CurrentRound == 3 && Controls() == kProposed);
    EXPECT_EQ(Row(PairingPage.pairingList, 4), proposed);
}

// Each round is accepted at once, up to the schedule's last.
TEST_F(RoundCommandsTest, RoundRobins) {
    const int cases[][3] = {{SingleRoundRobinSystem, 7, 7}, {SingleRoundRobinSystem, 8, 7},
                            {DoubleRoundRobinSystem, 7, 14}, {DoubleRoundRobinSystem, 8, 14}};
    for (const auto& [system, players, rounds] : cases) {
        SCOPED_TRACE(players);
        Close(system, players, 1);
        for (int round = 1; round <= rounds; ++round) {
            ASSERT_EQ(ShownRound, round);
            EXPECT_EQ(WkListGetCount(ResultsPage.resultsList), RoundBoardCount(round));
            EXPECT_EQ(WkListGetCount(PairingPage.pairingList), 0);
            EXPECT_EQ(Controls(), kAccepted);
            CloseResults();
            if (round == rounds) Answer(MsgAllRoundsPaired, 0);
            PairRoundCommand();
        }
        EXPECT_EQ(CurrentRound, rounds);
        TearDown();
        SetUp();
    }
}

// A report the arbiter hands out that cannot be written (a folder stands
// where it is written first) leaves the last one whole and is alerted by
// name: the rating preview at the acceptance, the score groups at the pairing.
TEST_F(RoundCommandsTest, AReportThatCannotBeWrittenKeepsTheLastOneAndIsAlerted) {
    Close(FideDubovSystem, 10, 5);
    const struct {
        const char* file;
        std::function<void()> write;
    } cases[] = {
        {"eloprev.txt", [&] { Click(PairingPage.acceptButton); }},
        {"scgr2-0.txt",
         [&] {
             for (int board = 1; board <= 5; ++board) GameTable(board, 1) = GameTable(board, 1) / 10 * 10 + WhiteWins;
             ASSERT_TRUE(SaveRound(1));
             ComputeScores(1, PlayerCount);
             CloseResults();
             Click(PairingPage.pairButton);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = dataFolder + c.file;
        std::ofstream(path, std::ios::binary) << "the last one\r\n";
        std::filesystem::create_directory(path + ".tmp");
        AnswerText(MessageText(MsgCannotCreateFile) + "\n" + path, 0);
        c.write();
        EXPECT_TRUE(script.empty());
        std::ifstream in(path, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the last one\r\n");
        std::filesystem::remove(path + ".tmp");
    }
    EXPECT_EQ(CurrentRound, 2);
    EXPECT_EQ(Controls(), kProposed);
}

} // namespace
} // namespace tmt
