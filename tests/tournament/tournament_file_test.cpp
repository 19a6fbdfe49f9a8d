#include "tournament/tournament_file.h"

#include "support/file_bytes.h"
#include "support/recording_message_box.h"
#include "support/tournament_state.h"
#include "scratch_folder.h"
#include "tournament/line_reader.h"
#include "tournament/random.h"
#include "tournament/tournament_window.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t end = bytes.find("\r\n", at);
        if (end == std::string::npos) end = bytes.size();
        lines.push_back(bytes.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

std::string Pad2(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

std::vector<std::string> ListedLines;
void RecordLine(const std::string& line) { ListedLines.push_back(line); }
void ClearLines() { ListedLines.clear(); }

class TournamentFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetTournamentState();
        folder_ = UseScratchDataFolder();
        CopyField(Settings.BaseName, std::string("open"));
        CopyField(Settings.Name, std::string("Spring Open"));
        CopyField(Settings.Place, std::string("Milano"));
        CopyField(Settings.BeginDate, std::string("01.04.26"));
        CopyField(Settings.EndDate, std::string("05.04.26"));
        CopyField(Settings.Arbiter, std::string("ROSSI MARIO"));
        Settings.PlannedRounds = 7;
        Settings.PairingSystem = SwissQuonSystem;
        TournamentWindow = TournamentWindowHooks{};
        TournamentWindow.addPlayerLine = RecordLine;
        TournamentWindow.clearPlayerLists = ClearLines;
        ListedLines.clear();
    }
    void TearDown() override { TournamentWindow = TournamentWindowHooks{}; }

    static void AddFullPlayer(int i) {
        const int id = AddTestPlayer("Player " + std::to_string(i), 1000 + i);
        Player& p = Players[id];
        std::strcpy(p.country, i % 3 == 0 ? "IT" : "GER");
        CopyField(p.birthDate, Pad2(i % 28 + 1) + "." + Pad2(i % 12 + 1) + "." + Pad2(i % 100));
        p.gender = i % 2 == 0 ? 'M' : 'F';
        std::strcpy(p.title, i % 5 == 0 ? "IM" : "");
        p.categoryRank = TitleRank(p.title);
        p.fideId = 100000 + i;
        p.nationalId = 20000 + i;
        p.nationalRating = 900 + i;
        p.k = i % 2 == 0 ? 20 : 40;
        p.available = i % 7 == 0 ? 0 : 1;
    }

    std::string path() const { return folder_ + "open.qon"; }
    std::string folder_;
};

void ExpectSamePlayer(const Player& a, const Player& b) {
    EXPECT_STREQ(a.name, b.name);
    EXPECT_STREQ(a.country, b.country);
    EXPECT_STREQ(a.birthDate, b.birthDate);
    EXPECT_EQ(a.gender, b.gender);
    EXPECT_STREQ(a.title, b.title);
    EXPECT_EQ(a.categoryRank, b.categoryRank);
    EXPECT_EQ(a.fideId, b.fideId);
    EXPECT_EQ(a.fideRating, b.fideRating);
    EXPECT_EQ(a.nationalId, b.nationalId);
    EXPECT_EQ(a.nationalRating, b.nationalRating);
    EXPECT_EQ(a.k, b.k);
    EXPECT_EQ(a.available, b.available);
    EXPECT_EQ(a.ratingUsed, b.ratingUsed);
}

TEST_F(TournamentFileTest, NineHundredNinetyNinePlayersReadBackWhole) {
    for (int i = 1; i <= MaxPlayers; ++i)
        AddFullPlayer(i);
    Settings.TieBreakOrder[2] = 4;
    Settings.ScoreSystem = {3.0f, 1.0f};
    IsSavedRound = 1;
    TournamentSaved = 0;
    ASSERT_TRUE(WriteTournamentFile(0));
    EXPECT_EQ(TournamentSaved, 1);
    std::vector<Player> before(Players + 1, Players + 1 + MaxPlayers);
    const TournamentSettings settings = Settings;

    ResetTournamentState();
    CopyField(Settings.DataFolder, folder_);
    ASSERT_TRUE(ReadTournamentFile(path()));
    ASSERT_EQ(PlayerCount, MaxPlayers);
    for (int i = 1; i <= MaxPlayers; ++i)
        ExpectSamePlayer(Players[i], before[i - 1]);
    EXPECT_STREQ(Settings.Name, settings.Name);
    EXPECT_STREQ(Settings.Place, settings.Place);
    EXPECT_STREQ(Settings.BeginDate, "01.04.26");
    EXPECT_STREQ(Settings.EndDate, "05.04.26");
    EXPECT_STREQ(Settings.Arbiter, settings.Arbiter);
    EXPECT_STREQ(Settings.BaseName, "open");
    EXPECT_EQ(Settings.PlannedRounds, 7);
    EXPECT_EQ(Settings.PairingSystem, SwissQuonSystem);
    EXPECT_EQ(Settings.ScoreSystem.win, 3.0f);
    EXPECT_EQ(Settings.ScoreSystem.draw, 1.0f);
    EXPECT_EQ(Settings.TieBreakOrder[2], 4);
    EXPECT_EQ(IsSavedRound, 1);
    ASSERT_EQ(ListedLines.size(), static_cast<std::size_t>(MaxPlayers));
    EXPECT_EQ(ListedLines[0].substr(0, 5), "  1: ");
    EXPECT_STREQ(Players[0].name, "__BYE__");
}

TEST_F(TournamentFileTest, LayoutOfTheHeaderAndThePlayerLines) {
    AddFullPlayer(3); // two-letter country, no title
    AddFullPlayer(5); // title IM
    CopyField(Settings.BeginDate, std::string("1.4.26"));
    CopyField(Settings.EndDate, std::string("5.4.26"));
    ASSERT_TRUE(WriteTournamentFile(0));
    const std::vector<std::string> lines = Lines(ReadFileBytes(path()));
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], "Quon FREE 3.51  # Do not edit this file!");
    EXPECT_EQ(lines[3], "1.4.26  ,5.4.26  ");
    EXPECT_EQ(lines[5], " 0.5  1.0");
    EXPECT_EQ(lines[6], " 1 2 0 0 0 0 0 0 0 0");
    EXPECT_EQ(lines[8], "7  3  1  0");
    EXPECT_EQ(lines[10], "2");
    EXPECT_EQ(lines[12], "PLAYER 3; IT;04.04.03;F;   ;  100003; 1003;   20003;  903;40;1");
    EXPECT_EQ(lines[13].substr(0, 30), "PLAYER 5;GER;06.06.05;F; IM;  ");

    ASSERT_TRUE(ReadTournamentFile(path()));
    EXPECT_STREQ(Settings.BeginDate, "1.4.26  ");
    EXPECT_STREQ(Settings.EndDate, "5.4.26  ");
    EXPECT_STREQ(Players[1].country, "IT");
    EXPECT_STREQ(Players[2].title, "IM");
    EXPECT_EQ(Players[2].categoryRank, 16);
}

TEST_F(TournamentFileTest, SemicolonsAndAnEmptyGenderCannotShiftFields) {
    AddFullPlayer(1);
    std::strcpy(Players[1].name, "A;B");
    std::strcpy(Players[1].country, ";;");
    Players[1].gender = '\0';
    ASSERT_TRUE(WriteTournamentFile(0));
    const std::string bytes = ReadFileBytes(path());
    EXPECT_EQ(bytes.find('\0'), std::string::npos);
    ASSERT_TRUE(ReadTournamentFile(path()));
    ASSERT_EQ(PlayerCount, 1);
    EXPECT_STREQ(Players[1].name, "A B");
    EXPECT_EQ(Players[1].gender, '\0');
    EXPECT_EQ(Players[1].fideId, 100001);
}

TEST_F(TournamentFileTest, AvailableFlagsOnlyOnceTheNumbersAreFixed) {
    AddFullPlayer(7); // not available
    ASSERT_TRUE(WriteTournamentFile(0));
    std::vector<std::string> unavailable;
    static std::vector<std::string>* sink = &unavailable;
    TournamentWindow.addUnavailableLine = [](const std::string& line) { sink->push_back(line); };
    ASSERT_TRUE(ReadTournamentFile(path()));
    EXPECT_EQ(Players[1].available, 1);
    EXPECT_EQ(ListedLines[0].substr(0, 27), "PLAYER 7                   ");
    EXPECT_TRUE(unavailable.empty());

    ClosedRegistration = 1;
    ASSERT_TRUE(ReadTournamentFile(path()));
    EXPECT_EQ(Players[1].available, 0);
    ASSERT_EQ(unavailable.size(), 1u);
    EXPECT_EQ(unavailable[0].substr(0, 5), "  1: ");
}

TEST_F(TournamentFileTest, OldFormatKeepsTheSettingsItDoesNotHold) {
    Settings.TieBreakOrder[6] = 9;
    Settings.AcceleratedRounds = 2;
    WriteFileBytes(path(), "Old Cup\nBergamo\n01.02.03,04.02.03\nARB\n 0.5  1.0\n 3 4 5 1\nold\n"
                           "5 1 0\n0\n1\nNAME;...\nVERDI, G;ITA;00.00.00;M;FM; 1; 2100; 2; 2000;20;0\n");
    ASSERT_TRUE(ReadTournamentFile(path()));
    EXPECT_STREQ(Settings.Name, "Old Cup");
    EXPECT_EQ(Settings.TieBreakOrder[0], 3);
    EXPECT_EQ(Settings.TieBreakOrder[3], 1);
    EXPECT_EQ(Settings.TieBreakOrder[6], 9);
    EXPECT_EQ(Settings.AcceleratedRounds, 2);
    EXPECT_EQ(Settings.RatingChoice, 0);
    EXPECT_EQ(Players[1].ratingUsed, 2000);
    EXPECT_STREQ(Players[1].name, "VERDI  G");
    EXPECT_EQ(Players[1].seedingKey, 2000); // FIDE Dubov seeds by the rating used
}

TEST_F(TournamentFileTest, BackupHoldsThePreviousSave) {
    AddFullPlayer(1);
    ASSERT_TRUE(WriteTournamentFile(0));
    const std::string first = ReadFileBytes(path());
    AddFullPlayer(2);
    ASSERT_TRUE(WriteTournamentFile(0));
    const std::string second = ReadFileBytes(path());
    EXPECT_EQ(ReadFileBytes(folder_ + "open.bak"), first);
    AddFullPlayer(3);
    ASSERT_TRUE(WriteTournamentFile(0));
    EXPECT_EQ(ReadFileBytes(folder_ + "open.bak"), second);

    // The backup command copies the state as it stands but does not save it.
    TournamentSaved = 0;
    AddFullPlayer(4);
    ASSERT_TRUE(WriteTournamentFile(1));
    EXPECT_EQ(TournamentSaved, 0);
    EXPECT_EQ(Lines(ReadFileBytes(folder_ + "open.bak"))[10], "4");
}

TEST_F(TournamentFileTest, FailedWriteKeepsBothFilesAndSaysSo) {
    AddFullPlayer(1);
    ASSERT_TRUE(WriteTournamentFile(0));
    AddFullPlayer(2);
    ASSERT_TRUE(WriteTournamentFile(0));
    const std::string qon = ReadFileBytes(path());
    const std::string bak = ReadFileBytes(folder_ + "open.bak");
    ASSERT_NE(qon, bak);
    std::filesystem::create_directory(path() + ".tmp"); // the temporary file cannot be made
    AddFullPlayer(3);
    TournamentSaved = 0;
    RecordingMessageBox boxes;
    EXPECT_FALSE(WriteTournamentFile(0));
    EXPECT_EQ(TournamentSaved, 0);
    ASSERT_EQ(boxes.alerts.size(), 1u);
    EXPECT_NE(boxes.alerts[0].text.find(path()), std::string::npos);
    EXPECT_EQ(ReadFileBytes(path()), qon);
    EXPECT_EQ(ReadFileBytes(folder_ + "open.bak"), bak);

    // A backup that cannot be made stops the save too.
    std::filesystem::remove(path() + ".tmp");
    std::filesystem::create_directory(folder_ + "open.bak.tmp");
    EXPECT_FALSE(WriteTournamentFile(0));
    EXPECT_EQ(ReadFileBytes(path()), qon);
    EXPECT_EQ(TournamentSaved, 0);
}

TEST_F(TournamentFileTest, BadFilesAreRefusedNamingTheLineAndChangeNothing) {
    AddFullPlayer(1);
    AddFullPlayer(2);
    ASSERT_TRUE(WriteTournamentFile(0));
    const std::vector<std::string> good = Lines(ReadFileBytes(path()));
    struct Case {
        int line; // 1-based line to replace
        std::string text;
        std::string expected; // part of the alert
    };
    const std::vector<Case> cases = {
        {6, " half  1.0", "points"},
        {7, " 1 2 x 0 0 0 0 0 0 0", "\"x\" is not a whole number"},
        {7, " 1 2 12 0 0 0 0 0 0 0", "tie-break code 12"},
        {9, "7  9  1  0", "pairing system 9"},
        {9, "21  3  1  0", "planned rounds 21"},
        {11, "1000", "player count 1000"},
        {11, "3", "ends early"},
        {11, "1", "end of the file"},
        {13, "A;B;C", "11 fields"},
        {14, "X; IT;00.00.00;M;   ;  1;  abc; 2; 3;20;1", "FIDE rating"},
    };
    for (const Case& c : cases) {
        std::string bytes;
        for (std::size_t k = 0; k < good.size(); ++k)
            bytes += (static_cast<int>(k) + 1 == c.line ? c.text : good[k]) + "\r\n";
        WriteFileBytes(path(), bytes);
        ResetTournamentState();
        AddTestPlayer("Kept");
        RecordingMessageBox boxes;
        EXPECT_FALSE(ReadTournamentFile(path())) << c.text;
        ASSERT_EQ(boxes.alerts.size(), 1u) << c.text;
        const std::string& alert = boxes.alerts[0].text;
        EXPECT_NE(alert.find(c.expected), std::string::npos) << alert;
        EXPECT_NE(alert.find(path()), std::string::npos) << alert;
        EXPECT_EQ(PlayerCount, 1);
        EXPECT_STREQ(Players[1].name, "KEPT");
        EXPECT_STREQ(Settings.Name, "");
    }
}

TEST_F(TournamentFileTest, StartedRoundRobinOutsideThreeToTwentyFourIsRefused) {
    Settings.PairingSystem = SingleRoundRobinSystem;
    IsSavedRound = 1;
    for (int i = 1; i <= 25; ++i)
        AddFullPlayer(i);
    ASSERT_TRUE(WriteTournamentFile(0));
    RecordingMessageBox boxes;
    EXPECT_FALSE(ReadTournamentFile(path()));
    ASSERT_EQ(boxes.alerts.size(), 1u);
    EXPECT_NE(boxes.alerts[0].text.find("line 11"), std::string::npos);
}

TEST_F(TournamentFileTest, CutOrChangedFilesNeverCrash) {
    for (int i = 1; i <= 12; ++i)
        AddFullPlayer(i);
    ASSERT_TRUE(WriteTournamentFile(0));
    const std::string good = ReadFileBytes(path());
    RecordingMessageBox boxes;
    int refused = 0;
    for (std::size_t cut = 0; cut < good.size(); ++cut) {
        WriteFileBytes(path(), good.substr(0, cut));
        if (!ReadTournamentFile(path())) ++refused;
        ASSERT_LE(PlayerCount, MaxPlayers);
    }
    // Every cut but the ones that end on the last line end loses something.
    EXPECT_GE(refused, static_cast<int>(good.size()) - 2);
    SeedRandom(12345);
    for (int trial = 0; trial < 800; ++trial) {
        std::string bytes = good;
        const int changes = 1 + NextRandom() % 4;
        for (int c = 0; c < changes; ++c)
            bytes[static_cast<std::size_t>(NextRandom()) % bytes.size()] = static_cast<char>(NextRandom() % 256);
        WriteFileBytes(path(), bytes);
        if (ReadTournamentFile(path())) {
            ASSERT_LE(PlayerCount, MaxPlayers);
            for (int id = 1; id <= PlayerCount; ++id) {
                ASSERT_LT(std::strlen(Players[id].name), sizeof Players[id].name);
                ASSERT_LT(std::strlen(Players[id].title), sizeof Players[id].title);
            }
        }
    }
}

TEST_F(TournamentFileTest, LongLinesAreCutToTheirFields) {
    AddFullPlayer(1);
    ASSERT_TRUE(WriteTournamentFile(0));
    std::vector<std::string> lines = Lines(ReadFileBytes(path()));
    lines[1] = std::string(300, 'N');
    lines[12] = std::string(200, 'Q') + ";" + std::string(50, 'C') + lines[12].substr(lines[12].find(';', 9));
    std::string bytes;
    for (const std::string& l : lines)
        bytes += l + "\n"; // LF line ends read the same
    WriteFileBytes(path(), bytes);
    ASSERT_TRUE(ReadTournamentFile(path()));
    EXPECT_EQ(std::string(Settings.Name), std::string(TournamentNameSize - 1, 'N'));
    EXPECT_EQ(std::string(Players[1].name), std::string(PlayerNameSize - 1, 'Q'));
    EXPECT_EQ(std::string(Players[1].country), "CCC");
    EXPECT_EQ(Players[1].fideId, 100001);
}

class AppendPlayerTest : public TournamentFileTest {};

TEST_F(AppendPlayerTest, AddsTheLineLastAndRaisesTheCount) {
    for (int i = 1; i <= 5; ++i)
        AddFullPlayer(i);
    ASSERT_TRUE(WriteTournamentFile(0));
    const std::vector<std::string> before = Lines(ReadFileBytes(path()));
    RecordingMessageBox boxes;
    const std::string line = FormatPlayerLine(Players[2]);
    EXPECT_EQ(AppendPlayerToTournamentFile(path(), line + "\n"), 1);
    const std::vector<std::string> after = Lines(ReadFileBytes(path()));
    ASSERT_EQ(after.size(), before.size() + 1);
    EXPECT_EQ(after[10], "6");
    EXPECT_EQ(after.back(), line);
    EXPECT_FALSE(std::filesystem::exists(folder_ + "open.qn2"));
    ASSERT_EQ(boxes.alertTexts(), std::vector<std::string>{"The player has been moved"});
    ASSERT_TRUE(ReadTournamentFile(path()));
    EXPECT_EQ(PlayerCount, 6);
}

TEST_F(AppendPlayerTest, FailureLeavesTheTargetUntouched) {
    AddFullPlayer(1);
    ASSERT_TRUE(WriteTournamentFile(0));
    const std::string line = FormatPlayerLine(Players[1]);
    RecordingMessageBox boxes;
    EXPECT_EQ(AppendPlayerToTournamentFile(folder_ + "missing.qon", line), 0);
    EXPECT_FALSE(std::filesystem::exists(folder_ + "missing.qon"));

    // A target whose count promises more players than it holds.
    std::string bytes = ReadFileBytes(path());
    bytes.replace(bytes.find("\r\n1\r\n") + 2, 1, "4");
    WriteFileBytes(path(), bytes);
    EXPECT_EQ(AppendPlayerToTournamentFile(path(), line), 0);
    EXPECT_EQ(ReadFileBytes(path()), bytes);

    // The copy cannot be written.
    ASSERT_TRUE(WriteTournamentFile(0));
    bytes = ReadFileBytes(path());
    std::filesystem::create_directory(folder_ + "open.qn2");
    EXPECT_EQ(AppendPlayerToTournamentFile(path(), line), 0);
    EXPECT_EQ(ReadFileBytes(path()), bytes);
    EXPECT_EQ(boxes.alertTexts().back().substr(0, 22), "Can't write the file 3");
    EXPECT_EQ(boxes.alerts.size(), 3u);
}

TEST_F(AppendPlayerTest, AFullTargetIsRefused) {
    for (int i = 1; i <= MaxPlayers; ++i)
        AddFullPlayer(i);
    ASSERT_TRUE(WriteTournamentFile(0));
    const std::string bytes = ReadFileBytes(path());
    RecordingMessageBox boxes;
    EXPECT_EQ(AppendPlayerToTournamentFile(path(), FormatPlayerLine(Players[1])), 0);
    EXPECT_EQ(ReadFileBytes(path()), bytes);
}

} // namespace
