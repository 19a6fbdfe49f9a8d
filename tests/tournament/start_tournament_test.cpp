#include "tournament/start_tournament.h"

#include "support/ends_within.h"
#include "support/file_bytes.h"
#include "support/file_steps.h"
#include "support/recording_message_box.h"
#include "support/tournament_state.h"
#include "scratch_folder.h"
#include "tournament/files/journal.h"
#include "tournament/files/line_reader.h"
#include "tournament/files/round_state_file.h"
#include "tournament/files/tournament_file.h"
#include "tournament/random.h"
#include "tournament/tournament_window.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

int PairedPlayers = -1;
int RecordPairing(int players) {
    PairedPlayers = players;
    return 1;
}

class StartTournamentTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetTournamentState();
        folder_ = UseScratchDataFolder();
        CopyField(Settings.BaseName, std::string("cup"));
        Settings.PairingSystem = SwissQuonSystem;
        Settings.PlannedRounds = 5;
        TournamentWindow = TournamentWindowHooks{};
        TournamentWindow.pairFirstRound = RecordPairing;
        PairedPlayers = -1;
    }
    void TearDown() override { TournamentWindow = TournamentWindowHooks{}; }

    // Players named by their entry order, rated in the given order.
    static void Register(const std::vector<int>& ratings) {
        for (std::size_t i = 0; i < ratings.size(); ++i)
            AddTestPlayer("P" + std::to_string(i + 1), ratings[i]);
    }
    static std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (int id = 1; id <= PlayerCount; ++id)
            names.push_back(Players[id].name);
        return names;
    }
    std::string folder_;
};

TEST(PairingNumberOrderTest, RandomDrawsArePermutationsFromTheSeededSource) {
    EXPECT_EQ(PairingNumberOrder(1, 1), std::vector<int>{1});
    for (int count : {2, 3, 17, 999}) {
        SeedRandom(7);
        std::vector<int> order = PairingNumberOrder(count, 1);
        SeedRandom(7);
        EXPECT_EQ(PairingNumberOrder(count, 1), order);
        std::sort(order.begin(), order.end());
        for (int k = 0; k < count; ++k)
            ASSERT_EQ(order[k], k + 1);
    }
    // The first draw places by b = trunc(count x r / 32768).
    SeedRandom(99);
    const int r = NextRandom();
    SeedRandom(99);
    EXPECT_EQ(PairingNumberOrder(3, 1)[0], 3 * r / 32768 + 1);
    EXPECT_EQ(PairingNumberOrder(4, 2), (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(StartTournamentTest, ByRatingRenumbersTheFileAndPairsRoundOne) {
    Register({1500, 2200, 1800, 2000, 1600, 1700});
    Players[6].available = 0;
    ClosedRegistration = 1;
    RecordingMessageBox boxes;
    boxes.answers = {0};
    ASSERT_TRUE(StartTournament(PlayerCount));
    ASSERT_EQ(boxes.questions.size(), 1u);
    EXPECT_EQ(boxes.questions[0].captions.size(), 3u);
    EXPECT_EQ(RandomSort, 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"P2", "P4", "P3", "P6", "P5", "P1"}));
    EXPECT_EQ(Players[4].available, 0);
    EXPECT_EQ(PairedPlayers, 6);
    // The start saves the tournament whole, its round state with it.
    EXPECT_EQ(IsSavedRound, 1);
    EXPECT_TRUE(std::filesystem::exists(folder_ + "cup.rnd"));
}

TEST_F(StartTournamentTest, AFailedWriteStopsTheStart) {
    Register({1500, 2200, 1800, 2000, 1600, 1700});
    CopyField(Settings.DataFolder, folder_ + "missing/");
    RecordingMessageBox boxes;
    EXPECT_FALSE(StartTournament(PlayerCount));
    EXPECT_EQ(boxes.alerts.size(), 1u);
    EXPECT_EQ(PairedPlayers, -1);
    EXPECT_EQ(PlayerCount, 6);
}

TEST_F(StartTournamentTest, RoundRobinOfTwentyFourSurvivesSaveAndOpen) {
    Settings.PairingSystem = DoubleRoundRobinSystem;
    std::vector<int> ratings;
    for (int i = 0; i < RoundRobinMaxPlayers; ++i)
        ratings.push_back(2000 + (i * 37) % 400);
    Register(ratings);
    ClosedRegistration = 1;
    RecordingMessageBox boxes;
    boxes.answers = {1};
    SeedRandom(3);
    ASSERT_TRUE(StartTournament(PlayerCount));
    EXPECT_EQ(IsSavedRound, 1);
    ASSERT_TRUE(std::filesystem::exists(folder_ + "cup.rnd"));
    const std::vector<std::string> names = Names();
    std::vector<std::int32_t> games;
    for (int round = 1; round <= 46; ++round)
        for (int board = 0; board <= 12; ++board)
            games.push_back(GameTable(board, round));
    EXPECT_EQ(GameTable(0, 46), 12);

    ResetTournamentState();
    ASSERT_TRUE(OpenTournament(folder_ + "cup.qon"));
    EXPECT_TRUE(boxes.alerts.empty());
    EXPECT_EQ(Names(), names);
    EXPECT_EQ(ClosedRegistration, 1);
    EXPECT_EQ(IsSavedRound, 1);
    EXPECT_EQ(RandomSort, 1);
    std::vector<std::int32_t> reread;
    for (int round = 1; round <= 46; ++round)
        for (int board = 0; board <= 12; ++board)
            reread.push_back(GameTable(board, round));
    EXPECT_EQ(reread, games);
}

// A started tournament saved as the program saves it: its file says that
// the round state beside it goes with it.
void SaveStarted() {
    PlayerNumbersFixed();
    ASSERT_TRUE(WriteTournamentFile(0));
    ASSERT_TRUE(WriteRoundStateFile(RoundStatePath()));
}

// Four players registered, the tournament started and saved.
void StartedFour() {
    for (int i = 0; i < 4; ++i) AddTestPlayer("P" + std::to_string(i + 1), 2000 - 100 * i);
    ClosedRegistration = 1;
    ASSERT_TRUE(StartTournament(PlayerCount));
    SaveStarted();
}

TEST_F(StartTournamentTest, OpeningLeavesNothingOfTheTournamentBefore) {
    // A started Swiss tournament whose withdrawn player must stay withdrawn.
    Register({1500, 2200, 1800, 2000, 1600, 1700});
    Players[2].available = 0;
    ClosedRegistration = 1;
    RecordingMessageBox boxes;
    ASSERT_TRUE(StartTournament(PlayerCount));
    SaveStarted();
    const std::string started = folder_ + "cup.qon";

    // A tournament still registering, saved without any round-state file;
    // its first player is available.
    CopyField(Settings.BaseName, std::string("fresh"));
    ClosedRegistration = 0;
    RestoreSavedRound(0);
    Players[1].available = 1;
    ASSERT_TRUE(WriteTournamentFile(0));
    const std::string fresh = folder_ + "fresh.qon";

    ASSERT_TRUE(OpenTournament(started));
    EXPECT_EQ(ClosedRegistration, 1);
    EXPECT_EQ(Players[1].available, 0); // P2 got number 1 by rating

    SetTestBoard(1, 1, 1, 2, 9);
    SetCurrentRound(1);
    ASSERT_TRUE(OpenTournament(fresh));
    EXPECT_EQ(ClosedRegistration, 0);
    EXPECT_EQ(CurrentRound, 0);
    EXPECT_EQ(GameTable(1, 1), 0);
    EXPECT_EQ(Players[1].available, 1);

    // The round-state file the tournament file says was saved cannot be
    // read: the open is refused and the tournament open stays as it was.
    ASSERT_TRUE(OpenTournament(started));
    SetTestBoard(1, 1, 1, 2, 9);
    WriteFileBytes(folder_ + "cup.rnd", "garbage\r\n");
    EXPECT_FALSE(OpenTournament(started));
    EXPECT_FALSE(boxes.alerts.empty());
    EXPECT_NE(GameTable(1, 1), 0);
    EXPECT_EQ(ClosedRegistration, 1);

    // A tournament file that cannot be read leaves everything as it was.
    ClosedRegistration = 1;
    SetTestBoard(1, 1, 1, 2, 9);
    EXPECT_FALSE(OpenTournament(folder_ + "none.qon"));
    EXPECT_EQ(ClosedRegistration, 1);
    EXPECT_NE(GameTable(1, 1), 0);
    EXPECT_STREQ(Settings.BaseName, "cup");
}

// An open whose rounds cannot be read is refused before anything is read or written, naming the line: a
// base name damaged on line 8, and a FIFO for the round-state file (opened, it would hold the open for
// good).
TEST_F(StartTournamentTest, AnOpenWithoutItsRoundsIsRefusedByTheLine) {
    RecordingMessageBox boxes;
    StartedFour();
    const std::string saved = ReadFileBytes(folder_ + "cup.qon"), state = folder_ + "cup.rnd";
    const struct {
        std::string from, to, why;
        bool fifo;
    } cases[] = {
        {"\r\ncup\r\n", "\r\ncuq\r\n",
         "cup.qon, line 8: the base name \"cuq\" is not the file's own name \"cup\", and no \"cuq.rnd\" is in the folder",
         false},
        {"", "", "cup.rnd: the file cannot be opened: it is not a regular file", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        std::string bytes = saved;
        if (!c.from.empty()) bytes.replace(bytes.find(c.from), c.from.size(), c.to);
        WriteFileBytes(folder_ + "cup.qon", bytes);
        const std::string rnd = ReadFileBytes(state);
        if (c.fifo) {
            std::filesystem::remove(state);
            ASSERT_EQ(mkfifo(state.c_str(), 0600), 0);
        }
        const std::size_t alerts = boxes.alerts.size();
        EXPECT_FALSE(OpenTournament(folder_ + "cup.qon"));
        ASSERT_EQ(boxes.alerts.size(), alerts + 1);
        EXPECT_NE(boxes.alerts.back().text.find("\n" + folder_ + c.why + "\n"), std::string::npos)
            << boxes.alerts.back().text;
        EXPECT_EQ(ReadFileBytes(folder_ + "cup.qon"), bytes);
        std::filesystem::remove(state);
        WriteFileBytes(state, rnd);
    }
}

// A save stopped once its record stood is finished by the open when its new files are whole, and dropped,
// with the old files read, when one is not (the 0-byte ".rnd.tmp" once renamed over the round file); a
// record of the previous version cannot be checked and is dropped. Each is told by an alert.
TEST_F(StartTournamentTest, AnOpenFinishesOrDropsAStoppedSave) {
    RecordingMessageBox boxes;
    StartedFour();
    const std::string qon = folder_ + "cup.qon", rnd = folder_ + "cup.rnd";
    const std::string oldQon = ReadFileBytes(qon), oldRnd = ReadFileBytes(rnd);
    // The save's change: a name corrected, board 1 keyed.
    Players[4].name[0] = 'Q';
    GameTable(1, 1) = GameTable(1, 1) / 10 * 10 + 1;
    Journal::Outcome outcome = Journal::Outcome::After;
    const auto save = [&] {
        Journal journal(TournamentJournalPath());
        std::string problem;
        if (WriteTournamentFileInto(journal.write(qon)) && WriteRoundStateFileInto(journal.write(rnd)))
            outcome = journal.commit(problem);
    };
    // The save stopped at the first refused step that leaves its record standing.
    const auto stand = [&] {
        outcome = Journal::Outcome::After;
        for (long step = 0; outcome != Journal::Outcome::Stands; ++step) {
            WriteFileBytes(qon, oldQon);
            WriteFileBytes(rnd, oldRnd);
            ASSERT_TRUE(file_steps::FailingStep(step, save));
        }
    };
    stand();
    const std::string newQon = ReadFileBytes(qon + ".tmp");
    ASSERT_NE(newQon, oldQon);
    const std::string oldRecord = qon + "\r\n" + rnd + "\r\n";
    const struct {
        const char* damage; // a file given bytes after the stop
        const char* bytes;
        const char* told;   // the alert's first words
        bool finished;
    } cases[] = {
        {nullptr, nullptr, "A change of the files that was stopped has been finished:\ncup.qon, cup.rnd.", true},
        {"cup.rnd.tmp", "", "A change of the files that was stopped could not be finished: its new files "
                            "cup.rnd.tmp were not whole.", false},
        {"cup.qon.commit", oldRecord.c_str(), "A save stopped under an earlier version of the program cannot be "
                                              "checked, and was dropped: the files cup.qon, cup.rnd", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.told);
        WriteFileBytes(qon, oldQon);
        WriteFileBytes(rnd, oldRnd);
        if (c.damage != nullptr && std::string(c.damage).ends_with(".commit")) {
            WriteFileBytes(qon + ".tmp", newQon);
            WriteFileBytes(rnd + ".tmp", "");
        } else {
            stand();
        }
        if (c.damage != nullptr) WriteFileBytes(folder_ + c.damage, c.bytes);
        const std::size_t alerts = boxes.alerts.size();
        ASSERT_TRUE(OpenTournament(qon));
        ASSERT_EQ(boxes.alerts.size(), alerts + 1);
        EXPECT_EQ(boxes.alerts.back().text.substr(0, std::string(c.told).size()), c.told);
        EXPECT_EQ(ReadFileBytes(qon), c.finished ? newQon : oldQon);
        EXPECT_EQ(Players[4].name[0] == 'Q', c.finished);
        EXPECT_NE(ReadFileBytes(rnd), "");
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"cup.qon", "cup.rnd"}));
    }
}

// A tournament file that is no regular file, a FIFO (opened, it would wait for a writer for good) or a
// link to /dev/zero (read, it would never end), is refused at once, naming it.
TEST_F(StartTournamentTest, ATournamentFileThatIsNoRegularFileIsRefusedAtOnce) {
    Register({2000, 1900});
    const std::string path = folder_ + "cup.qon";
    for (const bool fifo : {true, false}) {
        ASSERT_TRUE(fifo ? mkfifo(path.c_str(), 0600) == 0 : symlink("/dev/zero", path.c_str()) == 0);
        EXPECT_TRUE(EndsWithin(kBlockedStepSeconds, [&] {
            RecordingMessageBox boxes;
            EXPECT_FALSE(OpenTournament(path));
            ASSERT_EQ(boxes.alerts.size(), 1u);
            EXPECT_NE(boxes.alerts[0].text.find("\n" + path + ": not a regular file"), std::string::npos);
            EXPECT_EQ(PlayerCount, 2);
        })) << fifo;
        std::filesystem::remove(path);
    }
}

// Every cell and game of the first seven players over three rounds.
std::vector<int> SevenPlayersThreeRounds() {
    std::vector<int> cells;
    for (int round = 1; round <= 3; ++round) {
        for (int id = 1; id <= 7; ++id)
            cells.insert(cells.end(), {ColorHistory(id, round), OpponentTable(id, round), PlayerResultTable(id, round)});
        for (int board = 0; board <= 4; ++board)
            cells.push_back(GameTable(board, round));
    }
    return cells;
}

// A player moved into a started Swiss tournament has no games; its rounds
// stay. A round robin of 2, or a started one, takes nothing.
TEST_F(StartTournamentTest, AMovedPlayerJoinsAStartedSwissWithItsRoundsKept) {
    Register({2000, 1900, 1800, 1700, 1600, 1500, 1400});
    ClosedRegistration = 1;
    RecordingMessageBox boxes;
    ASSERT_TRUE(StartTournament(PlayerCount));
    const int pairs[3][4][2] = {{{1, 5}, {6, 2}, {3, 7}, {4, 0}}, {{7, 1}, {2, 3}, {5, 4}, {6, 0}},
                                {{1, 3}, {4, 2}, {6, 7}, {5, 0}}};
    for (int round = 1; round <= 3; ++round) {
        for (int board = 1; board <= 4; ++board) {
            const int* pair = pairs[round - 1][board - 1];
            SetTestBoard(round, board, pair[0], pair[1], pair[1] == 0 ? WhiteWinsForfeit : Draw);
        }
        RebuildRoundTables(round);
    }
    SetCurrentRound(3);
    SaveStarted();
    const std::vector<int> before = SevenPlayersThreeRounds();
    const std::string line = "NEW; IT;00.00.00;M;   ;  0; 1300;  0;  0;20;1";
    ASSERT_EQ(AppendPlayerToTournamentFile(folder_ + "cup.qon", line), 1);
    for (int pass = 0; pass < 2; ++pass) { // opened, saved and opened again
        ResetTournamentState();
        ASSERT_TRUE(OpenTournament(folder_ + "cup.qon"));
        ASSERT_EQ(PlayerCount, 8);
        ASSERT_EQ(CurrentRound, 3);
        EXPECT_EQ(SevenPlayersThreeRounds(), before);
        EXPECT_EQ(OpponentTable(8, 2), 0);
        ASSERT_TRUE(WriteRoundStateFile(RoundStatePath()));
    }
    EXPECT_EQ(boxes.alertTexts(), std::vector<std::string>{"The player has been moved"});

    Settings.PairingSystem = SingleRoundRobinSystem;
    CopyField(Settings.BaseName, std::string("rr"));
    PlayerCount = 2;
    EXPECT_FALSE(StartTournament(PlayerCount));
    EXPECT_EQ(boxes.questions.size(), 1u); // the Swiss start's only
    EXPECT_FALSE(std::filesystem::exists(folder_ + "rr.qon"));
    PlayerCount = 8;
    ASSERT_TRUE(StartTournament(PlayerCount));
    const std::string rr = ReadFileBytes(folder_ + "rr.qon");
    EXPECT_EQ(AppendPlayerToTournamentFile(folder_ + "rr.qon", line), 0);
    EXPECT_NE(boxes.alertTexts().back().find("has started"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(folder_ + "rr.qon"), rr);
}

} // namespace
