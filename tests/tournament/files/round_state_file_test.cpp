#include "tournament/files/round_state_file.h"

#include "support/file_bytes.h"
#include "support/recording_message_box.h"
#include "support/tournament_state.h"
#include "tournament/message_table.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

// Everything a reader may change: both instances of the tables and the
// round state, compared as a whole.
struct TournamentImage {
    std::vector<std::int16_t> colors[2];
    std::vector<std::int32_t> opponents[2], games[2];
    std::vector<std::uint16_t> results[2], floats;
    std::vector<int> state;

    static TournamentImage Take() {
        TournamentImage image;
        RoundTableSet* sets[2] = {&SwissInstance, &RoundRobinInstance};
        for (int k = 0; k < 2; ++k) {
            const RoundTableSet& s = *sets[k];
            const int cells = s.rows * s.columns;
            image.colors[k].assign(s.colorHistory, s.colorHistory + cells);
            image.opponents[k].assign(s.opponentTable, s.opponentTable + cells);
            image.results[k].assign(s.playerResultTable, s.playerResultTable + cells);
            image.games[k].assign(s.gameTable, s.gameTable + s.boardRows * s.columns);
        }
        image.floats.assign(SwissInstance.floatHistory,
                            SwissInstance.floatHistory + SwissInstance.rows * SwissInstance.columns);
        image.state = {CurrentRound, ShownRound,      RandomSort,         RoundStateUnused,
                       IsSavedRound, IsGetResultDone, ClosedRegistration, IsPairingDone};
        return image;
    }
    bool operator==(const TournamentImage&) const = default;
};

class RoundStateFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetTournamentState();
        SetMessageText(MsgClose, "OK");
        SetMessageText(MsgCannotWriteRoundFile, "The round file cannot be written.");
        SetMessageText(MsgCannotReadRoundFile, "The round file cannot be read.");
        path = std::string(TM_TEST_OUTPUT_DIR) + "/" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".rnd";
        std::filesystem::remove_all(path + ".tmp");
        std::remove(path.c_str());
    }
    void TearDown() override { ClearMessageTable(); }

    // A Swiss tournament of seven players after two rounds, with a BYE, a
    // forfeit, a draw and float marks.
    void SwissAfterTwoRounds() {
        Settings.PairingSystem = FideDubovSystem;
        for (int i = 1; i <= 7; ++i)
            AddTestPlayer("S" + std::to_string(i), 2300 - i);
        SetTestBoard(1, 1, 1, 5, WhiteWins);
        SetTestBoard(1, 2, 6, 2, Draw);
        SetTestBoard(1, 3, 3, 7, BlackWins);
        SetTestBoard(1, 4, 4, 0, WhiteWinsForfeit);
        RebuildRoundTables(1);
        SetTestBoard(2, 1, 7, 1, Adjourned);
        SetTestBoard(2, 2, 2, 3, WhiteWinsForfeit);
        SetTestBoard(2, 3, 5, 4, HalfNoGame);
        SetTestBoard(2, 4, 6, 0, WhiteWinsForfeit);
        RebuildRoundTables(2);
        FloatHistory(7, 2) = 1;
        FloatHistory(4, 2) = 1;
        SetCurrentRound(2);
        RandomSort = 1;
        RoundStateUnused = 2;
        IsSavedRound = 1;
        IsGetResultDone = 1;
        ClosedRegistration = 1;
        IsPairingDone = 0;
    }

    // A single round robin of five players with its whole schedule and two
    // rounds played.
    void RoundRobinOfFive() {
        Settings.PairingSystem = SingleRoundRobinSystem;
        for (int i = 1; i <= 5; ++i)
            AddTestPlayer("R" + std::to_string(i), 2100 - i);
        const int schedule[5][3][2] = {
            {{1, 0}, {2, 5}, {3, 4}}, {{0, 4}, {5, 3}, {1, 2}}, {{2, 0}, {3, 1}, {4, 5}},
            {{0, 5}, {1, 4}, {2, 3}}, {{3, 0}, {4, 2}, {5, 1}},
        };
        for (int round = 1; round <= 5; ++round)
            for (int board = 0; board < 3; ++board)
                SetTestBoard(round, board + 1, schedule[round - 1][board][0], schedule[round - 1][board][1],
                             round <= 2 ? (board == 0 ? BothForfeit : WhiteWins) : NotPlayed);
        RebuildRoundTables(1);
        RebuildRoundTables(2);
        SetCurrentRound(2);
        ClosedRegistration = 1;
        IsSavedRound = 1;
    }

    // Reads the file expecting a refusal that names the file and the line,
    // with nothing changed.
    void ExpectRefused(const std::string& line) {
        const TournamentImage before = TournamentImage::Take();
        const std::size_t alerts = boxes.alerts.size();
        EXPECT_FALSE(ReadRoundStateFile(path));
        ASSERT_EQ(boxes.alerts.size(), alerts + 1);
        const std::string& text = boxes.alerts.back().text;
        EXPECT_NE(text.find("The round file cannot be read."), std::string::npos) << text;
        EXPECT_NE(text.find(path), std::string::npos) << text;
        if (!line.empty()) {
            EXPECT_NE(text.find(", line " + line + ":"), std::string::npos) << text;
        }
        EXPECT_EQ(boxes.alerts.back().caption, "OK");
        EXPECT_TRUE(TournamentImage::Take() == before);
    }

    // Changes cells that the file holds, and the round state, so that a
    // reader that does its work must put them back.
    static void Disturb() {
        RoundTableSet& s = ActiveTables();
        ColorHistory(s, 3, 1) = ColorHistory(s, 3, 1) == 1 ? -1 : 1;
        OpponentTable(s, 2, 2) += 1;
        PlayerResultTable(s, 1, 1) = HalfNoGameCode;
        if (s.floatHistory != nullptr) FloatHistory(s, 7, 2) ^= 1;
        GameTable(s, 2, 1) = 40051;
        GameTable(s, 0, 2) = 1;
        SetCurrentRound(1);
        IsPairingDone ^= 1;
        RandomSort = 2;
    }

    using Edits = std::vector<std::pair<std::string, std::string>>;
    // Edits of a written file, refused naming the line for the reason why.
    struct Contradiction {
        const char* what;
        bool roundRobin;
        Edits edits;
        const char *line, *why;
        bool eighth = false; // an eighth player, on no board of either round
    };
    // The family's tournament written with the results of its last round closed or not, then edited: each
    // edit at the first match in the file, or with opponentRows a row's after the colours, which look alike.
    void WriteEdited(const Contradiction& c, bool resultsClosed, bool opponentRows) {
        ResetTournamentState();
        if (c.roundRobin) RoundRobinOfFive();
        else SwissAfterTwoRounds();
        if (c.eighth) AddTestPlayer("S8", 2000);
        IsGetResultDone = resultsClosed ? 1 : IsGetResultDone;
        ASSERT_TRUE(WriteRoundStateFile(path));
        std::string bad = ReadFileBytes(path);
        for (const auto& [from, to] : c.edits) {
            const bool row = opponentRows && from.find('#') == std::string::npos;
            const std::size_t at = bad.find(from, row ? bad.find("# players opponent") : 0);
            ASSERT_NE(at, std::string::npos) << from;
            bad.replace(at, from.size(), to);
        }
        WriteFileBytes(path, bad);
    }

    std::string path;
    RecordingMessageBox boxes;
};

TEST_F(RoundStateFileTest, SwissLayout) {
    SwissAfterTwoRounds();
    ASSERT_TRUE(WriteSwissState(path));
    const std::string bytes = ReadFileBytes(path);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    const std::vector<std::string> lines = Lines(bytes);
    ASSERT_EQ(lines.size(), 7u + 4 * 8 + 1 + 5);
    EXPECT_EQ(lines[0], " 2 # current round");
    EXPECT_EQ(lines[1], " 1 # RANDOM_SORT");
    EXPECT_EQ(lines[2], " 2 # not used");
    EXPECT_EQ(lines[6], " 0 # IS_PAIRING_DONE");
    EXPECT_EQ(lines[7], "# players color");
    EXPECT_EQ(lines[8], "[001]    1  -1");
    EXPECT_EQ(lines[15], "# players opponent");
    EXPECT_EQ(lines[16], "[001]    5   7");
    EXPECT_EQ(lines[23], "# players floater");
    EXPECT_EQ(lines[30], "[007]  0 1");
    EXPECT_EQ(lines[31], "# round results");
    EXPECT_EQ(lines[32], "[001]  1 6");
    EXPECT_EQ(lines[38], "[007]  1 6");
    EXPECT_EQ(lines[39], "# code pairing");
    EXPECT_EQ(lines[40], "      4       4");
    EXPECT_EQ(lines[41], "  10051   70017");
    EXPECT_EQ(lines[44], "  40003   60003");
    for (const std::string& line : lines)
        EXPECT_EQ(line.find('\n'), std::string::npos);
}

TEST_F(RoundStateFileTest, SwissTablesRoundTrip) {
    SwissAfterTwoRounds();
    ASSERT_TRUE(WriteRoundStateFile(path));
    const TournamentImage written = TournamentImage::Take();
    Disturb();
    ASSERT_TRUE(ReadRoundStateFile(path));
    EXPECT_TRUE(TournamentImage::Take() == written);
    EXPECT_TRUE(boxes.alerts.empty());

    // The file written again from what was read is the same file.
    const std::string first = ReadFileBytes(path);
    ASSERT_TRUE(WriteSwissState(path));
    EXPECT_EQ(ReadFileBytes(path), first);
}

TEST_F(RoundStateFileTest, SwissBeforeTheFirstRound) {
    Settings.PairingSystem = UscfSystem;
    for (int i = 1; i <= 3; ++i)
        AddTestPlayer("U" + std::to_string(i));
    ClosedRegistration = 1;
    ASSERT_TRUE(WriteSwissState(path));
    const std::vector<std::string> lines = Lines(ReadFileBytes(path));
    ASSERT_EQ(lines.size(), 7u + 4 * 4 + 1 + 3);
    EXPECT_EQ(lines[0], " 0 # current round");
    EXPECT_EQ(lines[8], "[001]    0");
    EXPECT_EQ(lines[20], "[001]  0");
    EXPECT_EQ(lines[24], "      0");
    ColorHistory(3, 1) = -1;
    ASSERT_TRUE(ReadSwissState(path));
    EXPECT_EQ(CurrentRound, 0);
    EXPECT_EQ(ShownRound, 0);
    EXPECT_EQ(ClosedRegistration, 1);
    EXPECT_EQ(ColorHistory(SwissInstance, 3, 1), -1); // no cells are read before round 1
}

TEST_F(RoundStateFileTest, RoundRobinLayouts) {
    Settings.PairingSystem = SingleRoundRobinSystem;
    for (int i = 1; i <= 4; ++i)
        AddTestPlayer("R" + std::to_string(i));
    ASSERT_TRUE(WriteRoundRobinState(path));
    std::vector<std::string> lines = Lines(ReadFileBytes(path));
    ASSERT_EQ(lines.size(), 7u + 1 + 3);
    EXPECT_EQ(lines[7], "# code pairing");
    EXPECT_EQ(lines[8], "      0       0       0");

    Settings.PairingSystem = DoubleRoundRobinSystem;
    ASSERT_TRUE(WriteRoundRobinState(path));
    lines = Lines(ReadFileBytes(path));
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[10].size(), 6 * 7 + 5u);
    ASSERT_TRUE(ReadRoundRobinState(path));

    ResetTournamentState();
    RoundRobinOfFive();
    ASSERT_TRUE(WriteRoundRobinState(path));
    lines = Lines(ReadFileBytes(path));
    ASSERT_EQ(lines.size(), 7u + 3 * 6 + 1 + 4); // B = 3 with the BYE board
    EXPECT_EQ(lines[7], "# players color");
    EXPECT_EQ(lines[8], "[001]    1   1");
    EXPECT_EQ(lines[26], "      3       3       3       3       3");
    EXPECT_EQ(lines[27].substr(0, 15), "  10002      42");
}

TEST_F(RoundStateFileTest, RoundRobinTablesRoundTrip) {
    RoundRobinOfFive();
    ASSERT_TRUE(WriteRoundStateFile(path));
    const TournamentImage written = TournamentImage::Take();
    Disturb();
    ASSERT_TRUE(ReadRoundStateFile(path));
    EXPECT_TRUE(TournamentImage::Take() == written);
    // The whole schedule came back, also the rounds not yet played.
    EXPECT_EQ(GameTable(3, 5), EncodeGameCode(5, 1, NotPlayed));
}

TEST_F(RoundStateFileTest, AFileCutAtAnyByteIsRefused) {
    for (int family = 0; family < 2; ++family) {
        SCOPED_TRACE(family == 0 ? "Swiss" : "round robin");
        ResetTournamentState();
        if (family == 0) {
            SwissAfterTwoRounds();
        } else {
            RoundRobinOfFive();
        }
        ASSERT_TRUE(WriteRoundStateFile(path));
        const std::string whole = ReadFileBytes(path);
        Disturb();
        for (std::size_t size = 0; size < whole.size(); ++size) {
            SCOPED_TRACE(size);
            WriteFileBytes(path, whole.substr(0, size));
            ExpectRefused("");
            if (HasFailure()) break;
        }
        WriteFileBytes(path, whole);
        EXPECT_TRUE(ReadRoundStateFile(path));
    }
}

TEST_F(RoundStateFileTest, BadContentIsRefusedNamingTheLine) {
    SwissAfterTwoRounds();
    ASSERT_TRUE(WriteSwissState(path));
    const std::string good = ReadFileBytes(path);
    Disturb();
    struct Corruption {
        const char* what;
        std::string from, to;
        const char* line;
    };
    const Corruption corruptions[] = {
        {"round beyond the tables", " 2 # current round", "22 # current round", "1"},
        {"not a number", " 1 # RANDOM_SORT", "x1 # RANDOM_SORT", "2"},
        {"flag out of range", " 1 # IS_SAVED_ROUND", " 5 # IS_SAVED_ROUND", "4"},
        {"colour out of range", "[001]    1  -1", "[001]    1  -2", "9"},
        {"too few cells", "[001]    1  -1", "[001]    1", "9"},
        {"too many cells", "[001]    1  -1", "[001]    1  -1   1", "9"},
        {"a word in a row", "[001]    1  -1", "[001]    1  1x", "9"},
        {"wrong row label", "[002]  ", "[020]  ", "10"},
        {"opponent not registered", "[001]    5   7", "[001]    5   8", "17"},
        {"result code 5", "[001]  1 6", "[001]  1 5", "33"},
        {"float mark 2", "[007]  0 1", "[007]  0 2", "31"},
        {"missing heading", "# players floater", "[000]", "24"},
        {"board count beyond the boards", "      4       4", "      4       5", "41"},
        {"game code with an unknown player", "  10051   70017", "  10051   80017", "42"},
        {"negative game code", "  10051   70017", "  10051  -70017", "42"},
        {"a line more", "  40003   60003\r\n", "  40003   60003\r\n      1\r\n", "46"},
        {"a player against himself", "  10051   70017", "  10011   70017", "42"},
        {"a player on two boards", "  60025   20033", "  10025   20033", "43"},
        {"his own opponent", "[001]    5   7", "[001]    1   7", "17"},
        {"a NUL byte", " 1 # RANDOM_SORT", std::string(" 1\0# RANDOM_SORT", 16), "2"},
    };
    for (const Corruption& c : corruptions) {
        SCOPED_TRACE(c.what);
        std::string bad = good;
        const std::size_t at = bad.find(c.from);
        ASSERT_NE(at, std::string::npos);
        bad.replace(at, c.from.size(), c.to);
        WriteFileBytes(path, bad);
        ExpectRefused(c.line);
    }

    // More players in the file than in the tournament.
    WriteFileBytes(path, good);
    PlayerCount = 6;
    ExpectRefused("15");
    PlayerCount = 7;

    // Line feeds alone are read as well.
    std::string lf;
    for (char ch : good)
        if (ch != '\r') lf += ch;
    WriteFileBytes(path, lf);
    EXPECT_TRUE(ReadSwissState(path));
    EXPECT_EQ(CurrentRound, 2);

    // Read as the other family, the headings do not match.
    Settings.PairingSystem = SingleRoundRobinSystem;
    ExpectRefused("24");
    // A round robin holds at most 24 players.
    PlayerCount = 30;
    ExpectRefused("");
}

TEST_F(RoundStateFileTest, FailuresToOpenAlertAndKeepTheOldFile) {
    SwissAfterTwoRounds();
    ASSERT_TRUE(WriteSwissState(path));
    const std::string good = ReadFileBytes(path);

    // The temporary file cannot be made: the old file stays whole.
    std::filesystem::create_directory(path + ".tmp");
    SetCurrentRound(3);
    EXPECT_FALSE(WriteSwissState(path));
    ASSERT_EQ(boxes.alerts.size(), 1u);
    EXPECT_NE(boxes.alerts[0].text.find("The round file cannot be written."), std::string::npos);
    EXPECT_EQ(ReadFileBytes(path), good);
    std::filesystem::remove_all(path + ".tmp");

    EXPECT_FALSE(WriteSwissState(std::string(TM_TEST_OUTPUT_DIR) + "/no such folder/x.rnd"));
    EXPECT_EQ(boxes.alerts.size(), 2u);

    std::remove(path.c_str());
    ExpectRefused("");
    EXPECT_EQ(CurrentRound, 3);
}

TEST_F(RoundStateFileTest, FileNames) {
    std::strcpy(Settings.DataFolder, "/tour/");
    std::strcpy(Settings.BaseName, "open");
    EXPECT_EQ(RoundStatePath(), "/tour/open.rnd");
    EXPECT_EQ(RoundSnapshotPath(3), "/tour/open3.rnd");
    EXPECT_EQ(RoundSnapshotPath(12), "/tour/open12.rnd");
}

// A round robin's opponents always follow its schedule.
TEST_F(RoundStateFileTest, RoundRobinOpponentsMustFollowTheSchedule) {
    RoundRobinOfFive();
    ASSERT_TRUE(WriteRoundRobinState(path));
    std::string bad = ReadFileBytes(path);
    const std::size_t at = bad.find("[001]    0   2");
    ASSERT_NE(at, std::string::npos);
    bad.replace(at, 14, "[001]    0   3");
    WriteFileBytes(path, bad);
    ExpectRefused("15");
    EXPECT_NE(boxes.alerts.back().text.find("opponent is 3, but the game table pairs him with 2 in round 2"),
              std::string::npos);
}

// Opponent cells that contradict each other or the round's games, in either family: refused naming the
// opponent row of the first player found. The Swiss rounds: 1-5, 6-2, 3-7, 4 BYE (board 4); 7-1, 2-3 and
// 5-4 unplayed, 6 BYE (board 4). The round robin's: 1 BYE, 2-5, 3-4; 4 BYE, 5-3, 1-2.
TEST_F(RoundStateFileTest, OpponentsThatContradictTheRoundAreRefused) {
    const Contradiction cases[] = {
        {"a pair the games do not pair", false, {{"[001]    5   7", "[001]    7   7"}, {"[007]    3   1", "[007]    1   1"}},
         "17", "player 1's opponent is 7, but the game table pairs him with 5 in round 1"},
        {"not named back, the last player and round", false, {{"[001]    5   7", "[001]    5   0"}},
         "23", "player 7's opponent is 1, but player 1's is 0 in round 2"},
        {"the BYE's player names an opponent", false, {{"[004]    0   0", "[004]    6   0"}},
         "20", "player 4's opponent is 6, but the game table gives him the BYE on board 4 in round 1"},
        {"the last round's BYE, the last board", false, {{"[006]    2   0", "[006]    2   2"}},
         "22", "player 6's opponent is 2, but the game table gives him the BYE on board 4 in round 2"},
        {"a player without a board", false, {{"      4       4", "      4       3"}, {"[006]    2   0", "[006]    2   7"}},
         "22", "player 6's opponent is 7, but the game table has no game of his in round 2"},
        {"the last round still open for its results", false,
         {{"[001]    5   7", "[001]    5   0"},
          {" 0 # IS_PAIRING_DONE", " 1 # IS_PAIRING_DONE"},
          {" 1 # IS_GET_RESULT_DONE", " 0 # IS_GET_RESULT_DONE"}},
         nullptr, nullptr},
        {"round robin: not named back, the last player", true, {{"[003]    4   5", "[003]    4   0"}},
         "19", "player 5's opponent is 3, but player 3's is 0 in round 2"},
        {"round robin: the BYE's player names an opponent", true, {{"[001]    0   2", "[001]    4   2"}},
         "15", "player 1's opponent is 4, but the game table gives him the BYE on board 1 in round 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteEdited(c, false, true);
        if (c.line == nullptr) {
            EXPECT_TRUE(ReadRoundStateFile(path));
            continue;
        }
        ExpectRefused(c.line);
        EXPECT_NE(boxes.alerts.back().text.find(c.why), std::string::npos) << boxes.alerts.back().text;
    }
}

// A Swiss round proposed and not accepted is written as the tournament
// stood before its pairing, an accepted one as it stands. Read back, a file
// whose flags hold the round neither accepted nor closed while a board
// waits for its result is refused by that line: a proposal is never saved,
// and the tournament would open a round early.
TEST_F(RoundStateFileTest, AProposedRoundIsKeptAsTheRoundBefore) {
    SwissAfterTwoRounds();
    ASSERT_TRUE(WriteSwissState(path));
    const std::string before = ReadFileBytes(path);
    const struct {
        int pairingDone, firstUnplayed; // boards from there to 3 have no result; board 4 is the BYE's
        const char* round;
    } cases[] = {{0, 1, " 2"}, {0, 3, " 2"}, {0, 4, " 3"}, {1, 1, " 3"}};
    for (const auto& [pairingDone, firstUnplayed, round] : cases) {
        for (int board = 1; board <= 3; ++board)
            SetTestBoard(3, board, board, 8 - board, board >= firstUnplayed ? NotPlayed : WhiteWins);
        SetTestBoard(3, 4, 4, 0, WhiteWinsForfeit);
        RebuildRoundTables(3);
        SetCurrentRound(3);
        IsPairingDone = pairingDone;
        IsGetResultDone = 1 - pairingDone; // accepted, the round's results are open
        ASSERT_TRUE(WriteSwissState(path));
        std::string bytes = ReadFileBytes(path);
        EXPECT_TRUE(bytes.starts_with(round) && (round[1] == '3' || bytes == before)) << firstUnplayed;
        if (pairingDone == 0) continue;
        bytes.replace(bytes.find(" 1 # IS_PAIRING_DONE"), 20, " 0 # IS_PAIRING_DONE");
        WriteFileBytes(path, bytes);
        ExpectRefused("7");
        ASSERT_FALSE(boxes.alerts.empty());
        EXPECT_NE(boxes.alerts.back().text.find("but board 1 of round 3 waits for its result"), std::string::npos);
    }

    // Round 3 paired again by hand with a board less: its old last board stays in the table, and is
    // written empty, so that the accepted round reads back.
    IsPairingDone = 1;
    IsGetResultDone = 0;
    GameTable(0, 3) = 3;
    ASSERT_TRUE(WriteSwissState(path));
    EXPECT_TRUE(ReadFileBytes(path).ends_with("  40003   60003       0\r\n"));
    EXPECT_TRUE(ReadSwissState(path));
}

// Tables that contradict each other or the progress flags: refused by their line, at the look before an
// open and at the read alike, with the folder as it was; in the first round as in the last, in a round
// accepted and waiting for its results, and in a round robin's round not paired yet. The Swiss file (seven players, round 2 closed): colours on
// lines 9-15, opponents 17-23, results 33-39, board counts 41, boards 42-45, board 4 the BYE's in both
// rounds. The round robin (round 2 closed): colours 9-13, opponents 15-19, results 21-25, board counts 27,
// boards 28-30 of five rounds. A case without a line opens.
TEST_F(RoundStateFileTest, ContradictionsAreRefusedByTheirLine) {
    // Round 2 accepted, its boards without results, and more edits.
    const auto accepted = [](bool roundRobin, Edits edits) {
        edits.insert(edits.begin(), {{" 1 # IS_GET_RESULT_DONE", " 0 # IS_GET_RESULT_DONE"},
                                     {" 0 # IS_PAIRING_DONE", " 1 # IS_PAIRING_DONE"}});
        for (const char* code : roundRobin ? std::vector{"50031", "10021"} : std::vector{"70017", "20033", "50048"})
            edits.insert(edits.begin() + 2, {code, std::string(code, 4) + "9"});
        return edits;
    };
    const Contradiction cases[] = {
        {"the first round's board unplayed", false, {{"  10051   70017", "  10059   70017"}}, "42",
         "game code 10059 of board 1 has no result in round 1, whose results were closed before round 2 was paired"},
        {"round 1: a game without opponents", false, {{"[001]    5   7", "[001]    0   7"}, {"[005]    1   0", "[005]    0   0"}},
         "17", "neither player of game code 10051 of board 1, a game played at the board, has the other as his opponent"},
        {"a forfeit turned into a game played", false, {{"  60025   20033", "  60025   20031"}}, "18",
         "neither player of game code 20031 of board 2"},
        {"a forfeit board turned into the BYE's", false, {{"  60025   20033", "  60025   00033"}}, "43",
         "game code 33 of board 2 gives the BYE, but its result 3 is not the BYE's 4 in round 2"},
        {"round 1: one player's game set by hand, a draw at White", false,
         {{"[005]   -1   0", "[005]    1   0"}, {"[005]  0 8", "[005]  2 8"}}, nullptr, nullptr},
        {"round 2 accepted", false, accepted(false, {}), nullptr, nullptr},
        {"accepted: the board count cut short, the last board", false, accepted(false, {{"      4       4", "      4       3"}}),
         "45", "game code 60003 after the 3 boards in round 2, which is accepted"},
        {"accepted: no board", false, accepted(false, {{"      4       4", "      4       0"}}), "41",
         "no board in round 2, which is paired"},
        {"accepted: the pairing flag turned 0", false, accepted(false, {{" 1 # IS_PAIRING_DONE", " 0 # IS_PAIRING_DONE"}}),
         "7", "but board 1 of round 2 waits for its result"},
        {"round robin: round 2 accepted", true, accepted(true, {}), nullptr, nullptr},
        {"round robin accepted: the last board dropped", true, accepted(true, {{"      3       3", "      3       2"}}),
         "27", "player 1 has no board in round 2 of the round-robin schedule"},
        {"round robin: the first round's board unplayed", true, {{"  20051", "  20059"}}, "29",
         "game code 20059 of board 2 has no result in round 1, whose results were closed before round 2 was paired"},
        {"registration open in round 2", false, {{" 1 # CLOSED_REGISTRATION", " 0 # CLOSED_REGISTRATION"}},
         "6", "the registration is open (\"CLOSED_REGISTRATION\" 0), but the current round is 2"},
        {"registration open in round 1", false,
         {{" 2 # current round", " 1 # current round"}, {" 1 # CLOSED_REGISTRATION", " 0 # CLOSED_REGISTRATION"}}, "6",
         "the registration is open (\"CLOSED_REGISTRATION\" 0), but the current round is 1"},
        {"paired before the first round", false,
         {{" 2 # current round", " 0 # current round"}, {" 0 # IS_PAIRING_DONE", " 1 # IS_PAIRING_DONE"}},
         "7", "no round is paired"},
        {"results open and closed", false, {{" 0 # IS_PAIRING_DONE", " 1 # IS_PAIRING_DONE"}}, "7",
         "but \"IS_GET_RESULT_DONE\" is 1"},
        {"the last board unplayed in a closed round", false, {{"  40003   60003", "  40003   60009"}}, "45",
         "game code 60009 of board 4 has no result, but \"IS_GET_RESULT_DONE\" says the results of round 2 are closed"},
        {"a BYE with a colour", false, {{"[004]    0   0", "[004]    1   0"}}, "12",
         "the colours of the players of game code 40003 of board 4 are not what its result gives them in round 1"},
        {"round robin: the last board unplayed", true, {{"  10021", "  10029"}}, "30",
         "game code 10029 of board 3 has no result"},
        {"round robin: both lost, the last player", true, {{"[005]  0 1", "[005]  0 0"}}, "25",
         "the results of the players of game code 50031 of board 2 are not what its result gives them in round 2"},
        {"round robin: both White", true, {{"[003]    1  -1", "[003]    1   1"}}, "13",
         "the colours of the players of game code 50031"},
        {"round robin: a game without opponents", true, {{"[002]    5   1", "[002]    0   1"}, {"[005]    2   3", "[005]    0   3"}},
         "16", "the opponents of the players of game code 20051 of board 2 are not what its result gives them in round 1"},
        {"the BYE turned into a forfeit over player 8, who has no board (his results on line 43)", false, {{"  60003", "  60083"}},
         "43", "player 8 of game code 60083 of board 4 in round 2 has the result 0 without an opponent", true},
        {"a forfeit's loser with the cells of no board", false, {{"[003]  0 4", "[003]  0 0"}}, "35",
         "player 3 of game code 20033 of board 2 in round 2 has the result 0 without an opponent"},
        {"a forfeit's loser given a half point by hand", false, {{"[003]  0 4", "[003]  0 6"}}, nullptr, nullptr},
        {"a played game's loser with a forfeit's result", false, {{"[005]  0 8", "[005]  4 8"}}, "37",
         "player 5 of game code 10051 of board 1 in round 1 has the result 4 with an opponent"},
        {"a played game's loser set to no tie-break by hand", false, {{"[005]  0 8", "[005]  8 8"}}, nullptr, nullptr},
        {"accepted: the first board's White read as 0", false, accepted(false, {{"  70019", "  00019"}}), "42",
         "game code 19 of board 1 gives player 1 the BYE in round 2, which is accepted, but not as it is paired: "
         "expected 10003 (player 1, the BYE as Black, the BYE's result 3)"},
        {"accepted: a forfeit keyed 0-1F, its White read as 0", false, accepted(false, {{"  20039", "  00034"}}), "43",
         "game code 34 of board 2 gives player 3 the BYE in round 2"},
        {"accepted: the last board's BYE without its result", false, accepted(false, {{"60003", "60009"}}), "45",
         "game code 60009 of board 4 gives player 6 the BYE in round 2"},
        {"accepted: a player on no board", false, accepted(false, {}), nullptr, nullptr, true},
        {"round robin: the next round's last board with a result", true, {{"  40059", "  40051"}}, "30",
         "game code 40051 of board 3 has a result in round 3, which is not paired yet (the current round is 2)"},
        {"round robin: the next round's BYE with its result", true, {{"  20009", "  20002"}}, nullptr, nullptr},
        {"round robin: the last round's last board read as the BYE", true, {{"  50019", "  50009"}}, "27",
         "player 1 has no board in round 5 of the round-robin schedule"},
    };
    const std::string folder = std::string(TM_TEST_OUTPUT_DIR) + "/contradictions/";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directory(folder);
    path = folder + "open.rnd";
    const auto snapshot = [&] {
        std::vector<std::pair<std::string, std::string>> files;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            files.emplace_back(entry.path().filename().string(), ReadFileBytes(entry.path().string()));
        return files;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteEdited(c, true, false);
        if (c.line == nullptr) {
            EXPECT_EQ(RoundStateFileProblem(path, PlayerCount, Settings.PairingSystem), "");
            EXPECT_TRUE(ReadRoundStateFile(path));
            continue;
        }
        const auto before = snapshot();
        const std::string problem = RoundStateFileProblem(path, PlayerCount, Settings.PairingSystem);
        EXPECT_NE(problem.find(path + ", line " + c.line + ": "), std::string::npos) << problem;
        EXPECT_NE(problem.find(c.why), std::string::npos) << problem;
        ExpectRefused(c.line);
        EXPECT_NE(boxes.alerts.back().text.find(problem), std::string::npos);
        EXPECT_EQ(snapshot(), before);
    }

    // A FIFO is refused unopened: opening it would wait for a writer for good.
    std::filesystem::remove(path);
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    EXPECT_EQ(RoundStateFileProblem(path, PlayerCount, Settings.PairingSystem),
              path + ": the file cannot be opened: it is not a regular file");
    ExpectRefused("");
    std::filesystem::remove(path);
    // Nor is a folder taken for one.
    std::filesystem::create_directory(path);
    EXPECT_EQ(RoundStateFileProblem(path, PlayerCount, Settings.PairingSystem),
              path + ": the file cannot be opened: it is not a regular file");
    ExpectRefused("");
    std::filesystem::remove(path);
}

} // namespace
