// The results page: results typed by key and by button, the moves to the
// next unplayed board, closing a round, the autosave of every fifteenth
// result, the results file and the exchange of a played board's colours.
#include "support/tourman_driver.h"
#include "support/tournament_state.h"
#include "tests/support/file_bytes.h"

#include "pairing/round_check.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/menu.h"
#include "toolkit/widgets/toggle.h"
#include "tourman/commands/round_commands.h"
#include "tourman/commands/save_tournament.h"
#include "tourman/commands/tournament_commands.h"
#include "tourman/dialogs/bye_dialog.h"
#include "tourman/dialogs/settings_dialog.h"
#include "tourman/frame/window_frame.h"
#include "tourman/pages/pairing/pairing_widgets.h"
#include "tourman/pages/players/players_widgets.h"
#include "tourman/pages/results/result_entry.h"
#include "tourman/pages/results/results_file.h"
#include "tourman/pages/results/results_list.h"
#include "tourman/pages/results/results_widgets.h"
#include "tournament/game_code.h"
#include "tournament/message_table.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/start_tournament.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace tmt {
namespace {

class ResultEntryTest : public TourmanTest {
  protected:
    // A tournament of ten players, its registration closed and round 1
    // paired and accepted.
    void StartRound1(int system = FideDubovSystem, int players = 10) {
        ASSERT_TRUE(Start());
        Settings.PairingSystem = system;
        Settings.PlannedRounds = 3;
        std::strcpy(Settings.BaseName, "cup");
        for (int i = 0; i < players; ++i) AddTestPlayer("PLAYER " + std::string(1, char('A' + i)), 2400 - 50 * i);
        ClosedRegistration = 1;
        TournamentChanged();
        Answer(MsgPairingNumbersQuestion, 0);
        if (!IsRoundRobin()) Answer(MsgTopSeedWhiteQuestion, 1);
        ASSERT_TRUE(StartTournament(PlayerCount)); // pairs round 1
        Accept();
    }
    void PairAndAccept() {
        PairRoundCommand();
        Accept();
    }
    // A round robin's round is accepted as it is paired.
    void Accept() {
        if (!IsRoundRobin()) AcceptPairing();
        Flush();
    }
    void List(int round) {
        ShowRound(round);
        Flush();
    }
    void Board(int board) {
        WkObjectSetFocus(ResultsPage.boardField);
        WkEditReplaceText(ResultsPage.boardField, "", 0, 0);
        Type(std::to_string(board));
        Press(0x1C, 0x0D);
    }
    void Key(const std::string& key) {
        WkObjectSetFocus(ResultsPage.resultKeyField);
        Type(key);
    }
    // Every key and every button on round 1's BYE board, its last: only the
    // BYE's own result (bye) is taken; any other is refused with the reason
    // and leaves the board and the selection as they were. Then the round
    // closes with the BYE's cells as the BYE gives them.
    void EnterOnTheByeBoard(int bye, const std::string& refusal) {
        Click(ResultsPage.resultsToggle);
        const int boards = RoundBoardCount(1), player = GameTable(boards, 1) / 10000;
        ASSERT_EQ(GameTable(boards, 1), EncodeGameCode(player, 0, bye));
        const std::string keys = "105x342678";
        const int buttonDigits[] = {1, 0, 5, 3, 4, 2, 6, 7, 8};
        for (int i = 0; i < 19; ++i) {
            const int digit = i >= 10 ? buttonDigits[i - 10] : keys[i] == 'x' ? 5 : keys[i] - '0';
            SCOPED_TRACE((i < 10 ? "key " : "button ") + std::to_string(digit));
            Board(boards);
            if (digit == 8 && IsRoundRobin()) Answer(MsgNotInRoundRobin, 0);
            else if (digit != bye) AnswerText(refusal, 0);
            if (i < 10) Key(keys.substr(i, 1));
            else Click(ResultsPage.resultButtons[i - 10]);
            EXPECT_EQ(GameTable(boards, 1), EncodeGameCode(player, 0, bye));
            EXPECT_EQ(Shown(boards), ResultText(bye));
            if (digit != bye) {
                EXPECT_EQ(WkListRecord(ResultsPage.resultsList)->current, boards - 1);
            }
        }
        for (int board = 1; board < boards; ++board) GameTable(board, 1) = GameTable(board, 1) / 10 * 10 + Draw;
        Click(ResultsPage.resultsToggle);
        ASSERT_FALSE(ResultEntryOpen());
        EXPECT_EQ(OpponentTable(player, 1), 0);
        EXPECT_EQ(PlayerResultTable(player, 1), IsRoundRobin() ? LossUnplayed : WinUnplayed);
    }
    static int Digit(int board, int round) { return GameTable(board, round) % 10; }
    std::string Row(int board) { return WkListGetItem(ResultsPage.resultsList, board - 1)->text; }
    std::string Shown(int board) { return Row(board).substr(Row(board).size() - 6, 5); }
    bool Exists(const std::string& name) { return fs::exists(dataFolder + name); }
    void Typed(const std::string& name) {
        Click(PlayersPage.clearButton);
        WkEditReplaceText(PlayersPage.name, name.c_str(), 0, 0);
        Click(PlayersPage.addButton);
    }
    // The round's five results keyed from board 1 (keys[b - 1] on board b) and the round closed.
    void KeyRoundAndClose(const std::string& keys) {
        Click(ResultsPage.resultsToggle);
        Board(1);
        for (char key : keys) Key(std::string(1, key));
        Click(ResultsPage.resultsToggle);
    }
    // A fresh program opening the saved tournament (its last round's results open or not) leaves the
    // folder as it was.
    // The files are dated back first: a file written again with the bytes it held shows by its date.
    void ReopenUnchanged(const std::string& qon, bool resultsOpen = false) {
        const auto files = Snapshot(dataFolder);
        Restart(files);
        const auto longAgo = fs::file_time_type::clock::now() - std::chrono::hours(24 * 365);
        for (const fs::directory_entry& e : fs::directory_iterator(dataFolder)) fs::last_write_time(e.path(), longAgo);
        ChooseFile(dataFolder + qon);
        if (resultsOpen) Answer(MsgResultsNotComplete, 0);
        OpenTournamentCommand();
        EXPECT_EQ(Snapshot(dataFolder), files);
        for (const fs::directory_entry& e : fs::directory_iterator(dataFolder))
            EXPECT_EQ(fs::last_write_time(e.path()), longAgo) << e.path().filename() << " written by the open";
    }
};

TEST_F(ResultEntryTest, EnterMoveSwapAndClose) {
    StartRound1();
    Click(ResultsPage.resultsToggle);
    EXPECT_FALSE(WkObjectIsSensitive(ResultsPage.roundField));
    for (int board : {0, 6}) {
        AnswerText("This pair doesn't exist!", 0);
        Board(board);
    }
    // 2 moves on to 3, 5 back to 1, then 3 and 4; with none left, 4 moves to 5.
    const int order[] = {2, 5, 1, 3, 4}, next[] = {3, 1, 3, 4, 5};
    for (int i = 0; i < 5; ++i) {
        if (i < 2) Board(order[i]);
        Key("1");
        EXPECT_EQ(WkListRecord(ResultsPage.resultsList)->current + 1, next[i]) << i;
        EXPECT_EQ(std::string(WkLabelGetText(ResultsPage.boardLabel)), Row(next[i]));
        if (i == 0) {
            Answer(MsgBoardsWithoutResult, 0); // closing with unplayed boards: refused, the entry stays open
            Click(ResultsPage.resultsToggle);
            EXPECT_FALSE(Exists("cup1.rnd") || Exists("result1.txt") || !WkToggleGetState(ResultsPage.resultsToggle));
        }
    }
    // The same result again asks nothing; another one asks first, and answer 0 keeps the old.
    Key("1");
    Answer(MsgChangeResultQuestion, 0);
    Key("1");
    Board(1);
    Key("0");
    EXPECT_EQ(Digit(1, 1), 1);
    // Every key, then the nine buttons in their row; a changed result asks first.
    const std::string keys = "105x342678";
    const int buttonDigits[] = {1, 0, 5, 3, 4, 2, 6, 7, 8};
    for (int i = 0; i < 19; ++i) {
        const int board = i % 5 + 1, digit = i >= 10 ? buttonDigits[i - 10] : keys[i] == 'x' ? 5 : keys[i] - '0';
        if (Digit(board, 1) != digit) Answer(MsgChangeResultQuestion, 1);
        Board(board);
        if (i < 10) Key(keys.substr(i, 1));
        else Click(ResultsPage.resultButtons[i - 10]);
        EXPECT_EQ(Digit(board, 1), digit) << i;
        EXPECT_EQ(Shown(board), ResultText(digit)) << i;
    }
    SavePng(MainWindow.window, "results.png");
    // Exchanged colours keep the result seen from the players.
    const int before[] = {1, 3, 5, 0, 4}, after[] = {0, 4, 5, 1, 3};
    for (int b = 1; b <= 5; ++b) {
        const int white = GameTable(b, 1) / 10000, black = GameTable(b, 1) / 10 % 1000;
        GameTable(b, 1) = EncodeGameCode(white, black, before[b - 1]);
        Answer(MsgSwapColoursQuestion, 1);
        SwapResultColours(b - 1);
        EXPECT_EQ(GameTable(b, 1), EncodeGameCode(black, white, after[b - 1])) << b;
    }
    GameTable(5, 1) = EncodeGameCode(GameTable(5, 1) / 10000, 0, WhiteWinsForfeit); // a BYE board stays
    SwapResultColours(4);
    EXPECT_EQ(GameTable(5, 1) / 10 % 1000, 0);
    Click(ResultsPage.resultsToggle);
    EXPECT_TRUE(IsPairingDone == 0 && WkObjectIsSensitive(PairingPage.pairButton));

    // Round 2 pairs. Closing round 1 shown again checks round 2's boards, and once they are played saves round 1.
    // Round 1 closed again at round 2, with a result changed, leaves its snapshot as round 1 was closed;
    // the change goes to the tournament's own round file.
    PairAndAccept();
    const std::string round1 = ReadFileBytes(dataFolder + "cup1.rnd");
    List(1);
    Click(ResultsPage.resultsToggle);
    Answer(MsgBoardsWithoutResult, 0);
    Click(ResultsPage.resultsToggle);
    for (int b = 1; b <= 5; ++b) GameTable(b, 2) = GameTable(b, 2) / 10 * 10 + 1;
    const int changed = Digit(1, 1) == 1 ? 0 : 1;
    Board(1);
    Answer(MsgChangeResultQuestion, 1);
    Key(std::to_string(changed));
    Click(ResultsPage.resultsToggle);
    EXPECT_TRUE(ReadFileBytes(dataFolder + "cup1.rnd") == round1 && !Exists("cup2.rnd"));
    ResetTournamentState();
    ASSERT_TRUE(OpenTournament(dataFolder + "cup.qon"));
    EXPECT_TRUE(CurrentRound == 2 && Digit(1, 1) == changed);
}

TEST_F(ResultEntryTest, TheSwissByeBoardTakesOnlyTheFreePoint) {
    StartRound1(FideDubovSystem, 9);
    EnterOnTheByeBoard(WhiteWinsForfeit, "This is the BYE board: it takes only the BYE's result \"1F- 0\" (key 3).");
    EXPECT_EQ(ColorHistory(GameTable(5, 1) / 10000, 1), 0);
}

TEST_F(ResultEntryTest, TheRoundRobinByeBoardTakesOnlyItsUnplayedRound) {
    StartRound1(SingleRoundRobinSystem, 9);
    EnterOnTheByeBoard(BothForfeit, "This is the BYE board: it takes only the BYE's result \"0F-0F\" (key 2).");
}

// What the page refuses says why; a refused round or board number gives way
// in its field to the one listed.
TEST_F(ResultEntryTest, RefusalsSayWhyAndFieldsShowWhatIsListed) {
    StartRound1();
    AnswerText("The result entry is closed: press \"Enter results\" first.", 0);
    Click(ResultsPage.loadResultsButton);
    Answer(MsgNoSuchRound, 0);
    ShowRound(std::string("5"));
    EXPECT_STREQ(WkEditGetText(ResultsPage.roundField), "1");
    Click(ResultsPage.resultsToggle);
    // The board shown after a refusal is used by what follows it (a key, a
    // button, a row picked) and then leaves the field.
    const struct {
        int chosen, refused;
        const char* key;
        int button, row;
    } cases[] = {{2, 9, "1", -1, -1}, {3, 0, nullptr, 1, -1}, {1, 7, nullptr, -1, 3}, {5, 6, "x", -1, -1}};
    for (const auto& c : cases) {
        Board(c.chosen);
        AnswerText("This pair doesn't exist!", 0);
        Board(c.refused);
        EXPECT_EQ(WkEditGetText(ResultsPage.boardField), std::to_string(c.chosen));
        if (c.key) Key(c.key);
        if (c.button >= 0) Click(ResultsPage.resultButtons[c.button]);
        if (c.row >= 0) {
            WkListSelectItem(ResultsPage.resultsList, c.row);
            SelectResultRow(c.row);
        }
        EXPECT_STREQ(WkEditGetText(ResultsPage.boardField), "") << c.chosen;
    }
}

// Once the entry opens, and after a click on a result button or Enter in
// the board field, the keys go where results are keyed: the next key typed
// enters a result. After the last open board, which is the last board, the
// selection stays there.
TEST_F(ResultEntryTest, TheNextResultKeyFollowsAButtonOrTheBoardField) {
    StartRound1();
    Click(ResultsPage.resultsToggle);
    ASSERT_EQ(WkListRecord(ResultsPage.resultsList)->current, 0);
    // The entry opened, the keys are taken at once, for the board shown.
    EXPECT_EQ(WkFormGetFocus(MainWindow.window), ResultsPage.resultKeyField);
    EXPECT_EQ(std::string(WkLabelGetText(ResultsPage.boardLabel)), Row(1));
    struct Step { int button, board; const char* key; int entered, digit, next; };
    const Step steps[] = {
        {0, 0, nullptr, 1, 1, 2}, // "1 - 0 [1]"
        {-1, 0, "0", 2, 0, 3},
        {-1, 3, "1", 3, 1, 4},
        {5, 0, nullptr, 4, 2, 5}, // "0F-0F [2]"
        {-1, 0, "x", 5, 5, 5},
    };
    for (const Step& s : steps) {
        if (s.button >= 0) Click(ResultsPage.resultButtons[s.button]);
        if (s.board) {
            Click(ResultsPage.boardField);
            Type(std::to_string(s.board));
            Press(0x1C, 0x0D);
        }
        if (s.key) Type(s.key);
        EXPECT_EQ(Digit(s.entered, 1), s.digit) << s.entered;
        EXPECT_EQ(WkListRecord(ResultsPage.resultsList)->current + 1, s.next) << s.entered;
        EXPECT_EQ(WkFormGetFocus(MainWindow.window), ResultsPage.resultKeyField) << s.entered;
    }
}

// The focus after a refusal, and after Enter in the Round field, is where
// the next key belongs: the result key field after a board that does not
// exist (the key then enters the result of the board shown, here the last
// one), the Round field itself after a round listed or refused, never one
// of the buttons after it that the round listed disables. While a round is
// open for results the Round field is disabled and takes nothing. The last
// board, the only one without a result, keeps the entry from closing;
// entered, it stays chosen.
TEST_F(ResultEntryTest, TheFocusAfterRefusalsTheRoundFieldAndTheLastBoard) {
    StartRound1();
    for (int b = 1; b <= 5; ++b) GameTable(b, 1) = GameTable(b, 1) / 10 * 10 + WhiteWins;
    Click(ResultsPage.resultsToggle);
    Click(ResultsPage.resultsToggle);
    PairAndAccept();
    ASSERT_EQ(CurrentRound, 2);
    auto roundEntered = [&](const char* typed) {
        WkObjectSetFocus(ResultsPage.roundField);
        WkEditReplaceText(ResultsPage.roundField, "", 0, 0);
        Type(typed);
        Press(0x1C, 0x0D);
    };
    roundEntered("1"); // disabled: nothing is listed
    EXPECT_EQ(ShownRound, 2);
    EXPECT_EQ(Row(1), ResultRow(1, 2));

    Click(ResultsPage.resultsToggle);
    Board(1);
    for (int b = 1; b <= 4; ++b) Key("1");
    EXPECT_EQ(WkListRecord(ResultsPage.resultsList)->current + 1, 5);
    Answer(MsgBoardsWithoutResult, 0);
    Click(ResultsPage.resultsToggle);
    EXPECT_FALSE(Exists("cup2.rnd"));
    AnswerText("This pair doesn't exist!", 0);
    Board(6);
    EXPECT_EQ(WkFormGetFocus(MainWindow.window), ResultsPage.resultKeyField);
    EXPECT_STREQ(WkEditGetText(ResultsPage.boardField), "5");
    Type("0");
    EXPECT_EQ(Digit(5, 2), BlackWins);
    EXPECT_STREQ(WkEditGetText(ResultsPage.boardField), "");
    EXPECT_EQ(WkListRecord(ResultsPage.resultsList)->current + 1, 5);
    EXPECT_EQ(std::string(WkLabelGetText(ResultsPage.boardLabel)), Row(5));
    Click(ResultsPage.resultsToggle);
    EXPECT_TRUE(Exists("cup2.rnd") && IsGetResultDone == 1);

    const struct {
        const char* typed;
        bool refused;
        int shown;
    } rounds[] = {{"5", true, 2}, {"1", false, 1}, {"0", true, 1}, {"2", false, 2}};
    for (const auto& r : rounds) {
        if (r.refused) Answer(MsgNoSuchRound, 0);
        roundEntered(r.typed);
        EXPECT_EQ(ShownRound, r.shown) << r.typed;
        EXPECT_EQ(WkEditGetText(ResultsPage.roundField), std::to_string(r.shown)) << r.typed;
        EXPECT_EQ(WkFormGetFocus(MainWindow.window), ResultsPage.roundField) << r.typed;
        EXPECT_EQ(WkObjectIsSensitive(ResultsPage.repairButton), r.shown == 2) << r.typed;
    }
}

TEST_F(ResultEntryTest, RoundRobinRefusesFnb) {
    StartRound1(SingleRoundRobinSystem);
    Click(ResultsPage.resultsToggle);
    // The same round taken as a double round robin's first: both refuse.
    for (int system : {SingleRoundRobinSystem, DoubleRoundRobinSystem}) {
        Settings.PairingSystem = system;
        for (bool key : {true, false}) {
            Answer(MsgNotInRoundRobin, 0);
            if (key) Key("8");
            else Click(ResultsPage.resultButtons[8]);
            EXPECT_EQ(Digit(1, 1), NotPlayed) << key << system;
            EXPECT_EQ(WkListRecord(ResultsPage.resultsList)->current, 0) << key << system;
            EXPECT_STREQ(WkEditGetText(ResultsPage.resultKeyField), "") << key << system;
        }
    }
}

TEST_F(ResultEntryTest, FifteenthResultSaves) {
    StartRound1();
    Click(ResultsPage.resultsToggle);
    fs::remove(dataFolder + "cup.qon");
    fs::remove(dataFolder + "cup.rnd");
    // 14 results, the toggle clicked (refused: boards unplayed, the entry stays open), 14 more: no save; then one more.
    for (int i = 0; i < 29; ++i) {
        if (i == 14) {
            Answer(MsgBoardsWithoutResult, 0);
            Click(ResultsPage.resultsToggle);
        }
        EXPECT_FALSE(Exists("cup.qon")) << i;
        Board(1);
        Key("1");
    }
    EXPECT_TRUE(Exists("cup.qon") && Exists("cup.rnd"));
    const int code = GameTable(1, 1);
    ResetTournamentState();
    ASSERT_TRUE(OpenTournament(dataFolder + "cup.qon"));
    EXPECT_TRUE(ClosedRegistration == 1 && IsSavedRound == 1 && CurrentRound == 1 && GameTable(1, 1) == code);
}

TEST_F(ResultEntryTest, FilesTakenWholeAndFailedSaves) {
    StartRound1();
    Click(ResultsPage.resultsToggle);
    const std::string path = dataFolder + "r1.res";
    std::string lines[6] = {"5  1"}, expected[6];
    for (int b = 1; b <= 5; ++b) {
        const std::string white = std::to_string(GameTable(b, 1) / 10000), black = std::to_string(GameTable(b, 1) / 10 % 1000);
        lines[b] = white + " " + black + " " + std::to_string(b % 2);
        expected[b] = "expected White " + white + " and Black " + black + " of board " + std::to_string(b) +
                      " and a result digit 0 to 9";
    }
    auto file = [&](int from, int to) {
        std::string text;
        for (int i = from; i <= to; ++i) text += lines[i] + "\r\n";
        return text;
    };
    const std::string other = "The selected file doens't correspond to the current round!\nPlease choose the correct one";
    const std::pair<std::string, std::string> cases[] = {
        {"5  2\n" + file(1, 5), other},
        {"4  1\n" + file(1, 5), path + ", line 1: the file holds 4 boards, round 1 has 5"},
        {file(0, 0) + "0 0 1\n" + file(2, 5), path + ", line 2: " + expected[1]},
        {file(0, 4) + lines[5].substr(0, lines[5].size() - 1) + "12\n", path + ", line 6: " + expected[5]},
        {file(0, 4), path + ": the file ends early; " + expected[5]}};
    std::vector<int> codes;
    for (const auto& [text, alert] : cases) {
        std::ofstream(path, std::ios::binary) << text;
        AnswerText(alert, 0);
        EXPECT_FALSE(ReadResultsFile(path, 1, codes)) << text;
        EXPECT_EQ(Digit(3, 1), NotPlayed);
    }
    // Numbers apart by any white space: all on one line, or one a line. The last board made a BYE takes
    // only the BYE's result.
    const int white5 = GameTable(5, 1) / 10000, board5 = std::exchange(GameTable(5, 1), white5 * 10000 + WhiteWinsForfeit);
    std::string oneLine = file(0, 4) + std::to_string(white5) + " 0 ", oneEach = oneLine;
    std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');
    std::replace(oneEach.begin(), oneEach.end(), ' ', '\n');
    for (const std::string& text : {oneLine + "3", oneEach + "3", file(0, 4) + std::to_string(white5) + " 0 0"}) {
        std::ofstream(path, std::ios::binary) << text;
        if (text.back() == '0')
            AnswerText(path + ", line 6: expected White " + std::to_string(white5) + " and Black 0 of board 5 and the BYE's result 3", 0);
        EXPECT_EQ(ReadResultsFile(path, 1, codes) && codes[0] % 10 == 1 && codes[4] == GameTable(5, 1), text.back() == '3');
    }
    GameTable(5, 1) = board5;
    std::ofstream(path, std::ios::binary) << file(0, 5);
    ChooseFile(path);
    Click(ResultsPage.loadResultsButton);
    for (int b = 1; b <= 5; ++b) EXPECT_EQ(Shown(b), ResultText(b % 2));

    fs::create_directory(dataFolder + "cup1.rnd");
    AnswerText(MessageText(MsgCannotWriteRoundFile) + "\n" + dataFolder + "cup1.rnd: not a regular file\nThe tournament's "
               "files are as they were.", 0);
    Click(ResultsPage.resultsToggle);
    EXPECT_TRUE(WkToggleGetState(ResultsPage.resultsToggle) && IsGetResultDone == 0 && IsPairingDone == 1);
}

// A round closed while its reports cannot be written (a folder stands where
// each is written first) closes all the same; the old files stay whole and
// one alert names every file not written.
TEST_F(ResultEntryTest, ReportsNotWrittenAtTheCloseAreNamed) {
    StartRound1();
    const char* files[] = {"crosstbl.html", "index.html", "playercd.txt", "result1.txt", "tblscore.html", "tblscore.txt"};
    std::string alert = "The file cannot be created.";
    for (const char* name : files) {
        std::ofstream(dataFolder + name, std::ios::binary) << "the last one\r\n";
        fs::create_directory(dataFolder + name + ".tmp");
        alert += "\n" + dataFolder + name;
    }
    AnswerText(alert, 0);
    KeyRoundAndClose("11111");
    EXPECT_TRUE(IsGetResultDone == 1 && Exists("cup1.rnd"));
    for (const char* name : files) EXPECT_EQ(ReadFileBytes(dataFolder + name), "the last one\r\n") << name;
}

// Round 2 closed, nothing saved after it: a fresh program opens the tournament with the round and its
// results, and its Save writes what is on disk already. The Swiss's round 3, proposed and saved, opens
// again before its pairing, with every player's colour state as the pairing found it, and is paired
// again to the same boards, which pass the round check.
TEST_F(ResultEntryTest, ClosedRoundsReachTheDiskAtOnce) {
    for (int system : {SingleRoundRobinSystem, FideDubovSystem}) {
        StartRound1(system);
        for (int round = 1; round <= 2; ++round) {
            if (round == 2) PairAndAccept();
            Click(ResultsPage.resultsToggle);
            Board(1);
            for (int b = 1; b <= 5; ++b) Key(std::string(1, "1x0"[(b + round) % 3]));
            Click(ResultsPage.resultsToggle);
        }
        const int last = GameTable(5, 2);
        const auto files = Snapshot(dataFolder);
        Restart(files, "tblscore.txt");
        ChooseFile(dataFolder + "cup.qon");
        OpenTournamentCommand();
        EXPECT_TRUE(CurrentRound == 2 && IsGetResultDone == 1 && GameTable(5, 2) == last && last % 10 == Draw);
        EXPECT_EQ(Snapshot(dataFolder), files);
        ASSERT_TRUE(SaveTournament());
        EXPECT_EQ(Snapshot(dataFolder), files);
        if (system == FideDubovSystem) {
            PairingState unpaired[11];
            std::copy(PairingStates, PairingStates + 11, unpaired);
            PairRoundCommand();
            const int board1 = GameTable(1, 3);
            ASSERT_TRUE(SaveTournament());
            Restart(Snapshot(dataFolder));
            ChooseFile(dataFolder + "cup.qon");
            OpenTournamentCommand();
            EXPECT_EQ(CurrentRound, 2);
            for (int id = 1; id <= 10; ++id)
                EXPECT_TRUE(PairingStates[id].dueColor == unpaired[id].dueColor &&
                            PairingStates[id].colorFlexible == unpaired[id].colorFlexible) << id;
            PairRoundCommand();
            EXPECT_TRUE(CurrentRound == 3 && GameTable(1, 3) == board1 && CheckPairedRound(3, PlayerCount).ok);
        }
        TearDown();
        SetUp();
    }
}

// Saved with round 3 accepted and no result in it: a fresh program opens it with the scores of rounds 1
// and 2, the ones the saving program had, and leaves every file as it was.
TEST_F(ResultEntryTest, AnAcceptedRoundOpensAsSaved) {
    for (int system : {SingleRoundRobinSystem, FideDubovSystem}) {
        StartRound1(system);
        KeyRoundAndClose("01x01");
        PairAndAccept();
        KeyRoundAndClose("1x01x");
        PairAndAccept();
        ASSERT_TRUE(SaveTournament());
        std::vector<std::pair<float, float>> scores;
        for (int id = 1; id <= 10; ++id) scores.emplace_back(PlayerScores[id].score, PlayerScores[id].sonnebornBerger);
        ReopenUnchanged("cup.qon", true);
        EXPECT_TRUE(CurrentRound == 3 && IsPairingDone == 1);
        for (int id = 1; id <= 10; ++id)
            EXPECT_EQ(std::pair(PlayerScores[id].score, PlayerScores[id].sonnebornBerger), scores[id - 1])
                << system << " " << id;
        TearDown();
        SetUp();
    }
}

// A round keyed in part, saved and opened again by a fresh program: "Enter
// results" chooses the first board still without a result, so the next key
// asks nothing and goes there.
TEST_F(ResultEntryTest, EnterResultsOnAReopenedRoundChoosesTheFirstBoardWithoutAResult) {
    const std::pair<std::vector<int>, int> cases[] = {{{}, 1}, {{1, 2, 4}, 3}, {{1, 2, 3, 4}, 5}}; // 5: the last
    for (const auto& [boards, first] : cases) {
        StartRound1();
        Click(ResultsPage.resultsToggle);
        for (int board : boards) Board(board), Key("1");
        ASSERT_TRUE(SaveTournament());
        ReopenUnchanged("cup.qon", true);
        WkFormSetPage(MainWindow.notebook, 2);
        Flush();
        Click(ResultsPage.resultsToggle);
        Type("0");
        EXPECT_EQ(Digit(first, 1), BlackWins) << first;
        for (int board : boards) EXPECT_EQ(Digit(board, 1), WhiteWins) << board;
        TearDown();
        SetUp();
    }
}

// Rounds 1-3 closed, the registration reopened, a player deleted and one added, saved and opened by a
// fresh program: the registration stands open with no game on anyone and the open leaves every file as
// it was; the rounds taken back are kept under a name the open does not read.
TEST_F(ResultEntryTest, AReopenedRegistrationOpensWithoutItsRounds) {
    StartRound1();
    for (int round = 1; round <= 3; ++round) {
        if (round > 1) PairAndAccept();
        KeyRoundAndClose("11111");
    }
    const std::string rounds = ReadFileBytes(dataFolder + "cup.rnd");
    ReopenRegistration();
    EXPECT_TRUE(!Exists("cup.rnd") && ReadFileBytes(dataFolder + "cup-reopened.rnd") == rounds);
    WkListSelectItem(PlayersPage.playerList, 0);
    Click(PlayersPage.deleteButton);
    Typed("NEWCOMER");
    ASSERT_TRUE(SaveTournament());
    ReopenUnchanged("cup.qon");
    EXPECT_TRUE(ClosedRegistration == 0 && CurrentRound == 0 && PlayerCount == 10);
    for (int id = 1; id <= 10; ++id)
        for (int round = 1; round <= 3; ++round)
            EXPECT_TRUE(OpponentTable(id, round) == 0 && PlayerResultTable(id, round) == 0) << id << " " << round;
    // Reopened once more after a round: the rounds kept the first time stay whole beside the new ones.
    Answer(MsgCloseRegistrationQuestion, 1);
    Answer(MsgPairingNumbersQuestion, 0);
    Answer(MsgTopSeedWhiteQuestion, 1);
    Click(PlayersPage.closeRegistrationButton);
    Accept();
    KeyRoundAndClose("11111");
    const std::string again = ReadFileBytes(dataFolder + "cup.rnd");
    ReopenRegistration("-reopened2");
    EXPECT_TRUE(!Exists("cup.rnd") && ReadFileBytes(dataFolder + "cup-reopened.rnd") == rounds &&
                ReadFileBytes(dataFolder + "cup-reopened2.rnd") == again);

    // Another event's round file under the name of a new tournament: the new one saved and opened
    // neither reads it nor speaks of it, and its start asks before writing over it.
    NewClubCup("other");
    fs::copy_file(dataFolder + "cup-reopened.rnd", dataFolder + "other.rnd");
    for (int i = 0; i < 6; ++i) Typed("PLAYER " + std::string(1, char('A' + i)));
    ASSERT_TRUE(SaveTournament());
    ReopenUnchanged("other.qon");
    EXPECT_TRUE(ClosedRegistration == 0 && CurrentRound == 0 && PlayerCount == 6 && OpponentTable(6, 1) == 0);
    Answer(MsgCloseRegistrationQuestion, 1);
    AnswerText("The folder already holds the round file \"other.rnd\" with rounds 1 to 3.\n"
               "This tournament file does not take it in: it says that no round was saved with it.\n"
               "Closing the registration writes over the round file. Go on?",
               0);
    Click(PlayersPage.closeRegistrationButton);
    EXPECT_TRUE(ClosedRegistration == 0 && ReadFileBytes(dataFolder + "other.rnd") == rounds);
}

// Rounds 1 and 2 of nine players closed, the results of one of them entered again and the tournament
// saved meanwhile, by the fifteenth result, by a BYE given for round 3, or by Save with round 3
// accepted: a crash then leaves what a fresh program opens with the round closed and the result keyed,
// the board's code and both players' cells and scores as the close would have made them. The BYE board
// takes no other result and is saved as it was. The round's own first entry leaves its cells empty.
TEST_F(ResultEntryTest, AnEarlierRoundKeyedAgainOpensAfterACrash) {
    enum class SavedBy { Autosave, Bye, SaveWithRound3Accepted };
    const struct {
        const char* what;
        int system, round, board;
        std::string key; // "swap": the board's colours exchanged
        int digit;       // the board's result digit after the key
        SavedBy savedBy;
        int whiteCell, blackCell;   // the result cells after the open
        bool met;                   // the two rows hold each other, White at 1
        float whiteGain, blackGain; // the points each player's score gains
    } cases[] = {
        {"a forfeit keyed over as a win", FideDubovSystem, 1, 1, "1", WhiteWins, SavedBy::Autosave, WinAtBoard,
         LossAtBoard, true, 0, 0},
        {"a win keyed over as the opposite forfeit", FideDubovSystem, 1, 4, "4", BlackWinsForfeit, SavedBy::Autosave,
         LossUnplayed, WinUnplayed, false, -1, 1},
        {"a win keyed over as FNB", FideDubovSystem, 1, 4, "8", HalfNoGame, SavedBy::Autosave, HalfNoGameCode,
         HalfNoGameCode, false, -0.5f, 0.5f},
        {"a forfeit keyed over as a draw, a BYE given", FideDubovSystem, 1, 1, "x", Draw, SavedBy::Bye, DrawAtBoard,
         DrawAtBoard, true, -0.5f, 0.5f},
        {"a forfeit keyed over as adjourned, round 3 accepted", FideDubovSystem, 1, 1, "7", Adjourned,
         SavedBy::SaveWithRound3Accepted, HalfUnplayed, HalfUnplayed, true, -0.5f, 0.5f},
        {"round 2's forfeit keyed over as a win", FideDubovSystem, 2, 3, "0", BlackWins, SavedBy::Autosave, LossAtBoard,
         WinAtBoard, true, 0, 0},
        {"the BYE board keyed over", FideDubovSystem, 1, 5, "1", WhiteWinsForfeit, SavedBy::Autosave, WinUnplayed, -1,
         false, 0, 0},
        {"a loss keyed over as the opposite forfeit, round 3 accepted", FideDubovSystem, 1, 3, "3", WhiteWinsForfeit,
         SavedBy::SaveWithRound3Accepted, WinUnplayed, LossUnplayed, false, 1, -1},
        {"a draw keyed over as a win", FideDubovSystem, 1, 2, "1", WhiteWins, SavedBy::Autosave, WinAtBoard,
         LossAtBoard, true, 0.5f, -0.5f},
        {"round 2's last game keyed over as a loss, a BYE given", FideDubovSystem, 2, 4, "0", BlackWins, SavedBy::Bye,
         LossAtBoard, WinAtBoard, true, -1, 1},
        {"a loss's colours exchanged, round 3 accepted", FideDubovSystem, 1, 3, "swap", WhiteWins,
         SavedBy::SaveWithRound3Accepted, WinAtBoard, LossAtBoard, true, 0, 0},
        {"round 3's first entry, its cells set only at its close", FideDubovSystem, 3, 1, "1", WhiteWins,
         SavedBy::SaveWithRound3Accepted, LossAtBoard, LossAtBoard, false, 0, 0},
        {"a round robin's forfeit keyed over as a win", SingleRoundRobinSystem, 1, 1, "1", WhiteWins, SavedBy::Autosave,
         WinAtBoard, LossAtBoard, true, 0, 0},
        {"a round robin's draw keyed over as a forfeit, round 3 accepted", SingleRoundRobinSystem, 1, 4, "4",
         BlackWinsForfeit, SavedBy::SaveWithRound3Accepted, LossUnplayed, WinUnplayed, true, -0.5f, 0.5f},
        {"a round robin's loss keyed over as the opposite forfeit", SingleRoundRobinSystem, 1, 3, "3",
         WhiteWinsForfeit, SavedBy::Autosave, WinUnplayed, LossUnplayed, true, 1, -1},
        {"a round robin's last game keyed over as a draw, round 3 accepted", SingleRoundRobinSystem, 2, 4, "x", Draw,
         SavedBy::SaveWithRound3Accepted, DrawAtBoard, DrawAtBoard, true, -0.5f, 0.5f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const bool swiss = c.system == FideDubovSystem;
        StartRound1(c.system, 9);
        KeyRoundAndClose(swiss ? "3x013" : "3x0x2");
        PairAndAccept();
        KeyRoundAndClose(swiss ? "11413" : "1x012");
        ASSERT_EQ(IsGetResultDone, 1);
        if (c.savedBy == SavedBy::SaveWithRound3Accepted) PairAndAccept();
        int white, black, digit;
        DecodeGameCode(GameTable(c.board, c.round), white, black, digit);
        std::vector<std::array<int, 3>> rows; // every player's cells of the round before the entry
        std::vector<float> scores;
        for (int id = 1; id <= 9; ++id) {
            rows.push_back({ColorHistory(id, c.round), OpponentTable(id, c.round), PlayerResultTable(id, c.round)});
            scores.push_back(PlayerScores[id].score);
        }

        List(c.round);
        Click(ResultsPage.resultsToggle);
        if (c.key == "swap") {
            Answer(MsgSwapColoursQuestion, 1);
            SwapResultColours(c.board - 1);
            std::swap(white, black);
        } else {
            Board(c.board);
            if (black == 0) AnswerText(ByeBoardRefusal(WhiteWinsForfeit), 0);
            else if (digit != NotPlayed) Answer(MsgChangeResultQuestion, 1);
            Key(c.key);
        }
        const int keyed = GameTable(c.board, c.round);
        ASSERT_EQ(keyed, EncodeGameCode(white, black, c.digit));
        // Dated back, the round file shows by its date when it is written.
        const std::string rnd = dataFolder + "cup.rnd";
        const auto longAgo = fs::file_time_type::clock::now() - std::chrono::hours(24 * 365);
        fs::last_write_time(rnd, longAgo);
        if (c.savedBy == SavedBy::Bye) {
            // Player 2's BYE of round 3 makes him unavailable, a change of the player saved at once.
            WkListSelectItem(PlayersPage.playerList, 1);
            WkMenuActivateItem(WkMenuRecord(PlayersPage.playerListMenu)->items[1]);
            WkEditReplaceText(ByeDialog.result, "1F", 0, 0);
            Click(ByeDialog.okButton);
            ASSERT_EQ(ByeDialog.window, nullptr);
        } else if (c.savedBy == SavedBy::SaveWithRound3Accepted) {
            ASSERT_TRUE(SaveTournamentCommand());
        } else {
            // A key the BYE board refuses enters nothing and is not counted.
            for (int i = black == 0 ? 0 : 1; i < 15; ++i) {
                EXPECT_EQ(fs::last_write_time(rnd), longAgo) << i;
                Board(1);
                Key(std::to_string(Digit(1, c.round)));
            }
        }
        ASSERT_NE(fs::last_write_time(rnd), longAgo);
        ASSERT_TRUE(ResultEntryOpen());

        // The open writes the standings of the result keyed; the tournament's own files stay as saved.
        const auto files = Snapshot(dataFolder);
        Restart(files);
        ChooseFile(dataFolder + "cup.qon");
        const bool round3 = c.savedBy == SavedBy::SaveWithRound3Accepted;
        if (round3) Answer(MsgResultsNotComplete, 0);
        OpenTournamentCommand();
        EXPECT_TRUE(CurrentRound == (round3 ? 3 : 2) && IsGetResultDone == (round3 ? 0 : 1) &&
                    IsPairingDone == (round3 ? 1 : 0) && !ResultEntryOpen());
        EXPECT_EQ(GameTable(c.board, c.round), keyed);
        EXPECT_EQ(PlayerResultTable(white, c.round), c.whiteCell);
        EXPECT_EQ(OpponentTable(white, c.round), c.met ? black : 0);
        EXPECT_EQ(ColorHistory(white, c.round), c.met ? 1 : 0);
        if (black != 0) {
            EXPECT_EQ(PlayerResultTable(black, c.round), c.blackCell);
            EXPECT_EQ(OpponentTable(black, c.round), c.met ? white : 0);
            EXPECT_EQ(ColorHistory(black, c.round), c.met ? -1 : 0);
            EXPECT_EQ(PlayerScores[black].score, scores[black - 1] + c.blackGain);
        }
        EXPECT_EQ(PlayerScores[white].score, scores[white - 1] + c.whiteGain);
        for (int id = 1; id <= 9; ++id) {
            const std::array<int, 3> cells = {ColorHistory(id, c.round), OpponentTable(id, c.round),
                                              PlayerResultTable(id, c.round)};
            EXPECT_TRUE(id == white || id == black || cells == rows[id - 1]) << id;
        }
        EXPECT_EQ(Players[2].available, c.savedBy == SavedBy::Bye ? 0 : 1);
        for (const auto& [name, bytes] : files)
            if (name.starts_with("cup")) {
                EXPECT_EQ(ReadFileBytes(dataFolder + name), bytes) << name;
            }
        TearDown();
        SetUp();
    }
}

// Made through the dialog, ten players typed, the registration closed,
// three rounds paired, entered by key and closed; a fresh program that
// opens the tournament computes the same standings.
TEST_F(ResultEntryTest, ThreeRoundsEndToEnd) {
    ASSERT_TRUE(Start());
    NewClubCup("club");
    for (int i = 0; i < 10; ++i) {
        Click(PlayersPage.clearButton);
        for (auto [field, text] : {std::pair{PlayersPage.name, "PLAYER " + std::string(1, char('A' + i))},
                                   {PlayersPage.fideRating, std::to_string(2400 - 50 * i)}}) {
            Click(field);
            Type(text);
        }
        Click(PlayersPage.addButton);
    }
    Answer(MsgCloseRegistrationQuestion, 1);
    Answer(MsgPairingNumbersQuestion, 0);
    Answer(MsgTopSeedWhiteQuestion, 1);
    Click(PlayersPage.closeRegistrationButton);
    for (int round = 1; round <= 3; ++round) {
        if (round > 1) Click(PairingPage.pairButton);
        Click(PairingPage.acceptButton);
        Click(ResultsPage.resultsToggle);
        Board(1);
        for (int b = 1; b <= 5; ++b) Key(std::string(1, "1x0"[(b + round) % 3]));
        Click(ResultsPage.resultsToggle);
        EXPECT_TRUE(Exists("club" + std::to_string(round) + ".rnd") && IsGetResultDone == 1) << round;
        WkFormSetPage(MainWindow.notebook, 1);
        Flush();
    }
    ASSERT_TRUE(SaveTournament());
    const auto files = Snapshot(dataFolder);
    Restart(files, "tblscore.txt");
    ChooseFile(dataFolder + "club.qon");
    OpenTournamentCommand();
    EXPECT_TRUE(ClosedRegistration == 1 && CurrentRound == 3);
    EXPECT_EQ(Snapshot(dataFolder), files);
}

} // namespace
} // namespace tmt
