// A round robin of six players and a USCF Swiss of thirty, each carried by
// tourman on an X server through all its rounds, in a data folder of its
// own that the cases after them reopen and report. The files each leaves
// are checked: CR LF line ends only, each result list shows the keys typed,
// and the standings add the results up.
#include "event_on_x.h"

#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/form_pages.h"
#include "tourman/main_window.h"
#include "tourman/settings_dialog.h"
#include "tourman/tournament_commands.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/settings.h"

#include <cstdio>
#include <map>
#include <sstream>

namespace xev {

char EventOnX::ResultKey(int round, int board) { return "1x0"[(board + round) % 3]; }

void EventOnX::NewEvent(const char* system, const std::string& base, int rounds) {
    const std::string data = EventFolder(base);
    fs::remove_all(data);
    fs::create_directories(data);
    Answer(6, 1);
    NewTournamentCommand();
    Pump();
    ASSERT_NE(SettingsDialog.window, nullptr);
    for (auto [field, text] : {std::pair{SettingsDialog.name, "Club Event"}, {SettingsDialog.place, "Pisa"},
                               {SettingsDialog.beginDate, "01052026"}, {SettingsDialog.endDate, "03052026"},
                               {SettingsDialog.arbiter, "Neri"},
                               {SettingsDialog.baseName, base.c_str()}})
        Fill(field, text);
    WkEditReplaceText(SettingsDialog.dataFolder, data.c_str(), 0, 0);
    WkEditReplaceText(SettingsDialog.pairingSystem, system, 0, 0);
    WkEditReplaceText(SettingsDialog.rounds, std::to_string(rounds).c_str(), 0, 0);
    Png(SettingsDialog.window, base + "-settings.png");
    Click(SettingsDialog.okButton);
    ASSERT_EQ(Settings.PairingSystem, system[0] - '0') << unexpected;
}

void EventOnX::TypePlayers(int players) {
    WkFormSetPage(MainWindow.notebook, 0);
    Pump();
    for (int i = 0; i < players; ++i) {
        Fill(MainWindow.name, "PLAYER " + std::string(1, char('A' + i % 26)) + std::string(i / 26, 'A'));
        Fill(MainWindow.fideRating, std::to_string(2400 - 20 * i));
        Click(MainWindow.addButton);
    }
    ASSERT_EQ(PlayerCount, players);
}

void EventOnX::CloseRegistration(bool swiss) {
    Answer(15, 1);
    Answer(193, 0);
    if (swiss) Answer(187, 1);
    Click(MainWindow.closeRegistrationButton);
}

void EventOnX::PairRound(int round, bool swiss) {
    WkFormSetPage(MainWindow.notebook, 1);
    Pump();
    if (round > 1) Click(MainWindow.pairButton);
    ASSERT_EQ(CurrentRound, round) << unexpected;
    if (swiss) Click(MainWindow.acceptButton);
}

void EventOnX::EnterResults(int round, int boards) {
    WkFormSetPage(MainWindow.notebook, 2);
    Pump();
    Click(MainWindow.resultsToggle);
    WkEditReplaceText(MainWindow.boardField, "", 0, 0);
    Click(MainWindow.boardField);
    Key("1 Return");
    for (int b = 1; b <= boards; ++b) {
        Click(MainWindow.resultKeyField);
        Key(std::string(1, ResultKey(round, b)));
    }
    Click(MainWindow.resultsToggle);
    EXPECT_TRUE(fs::exists(Data() + Base() + std::to_string(round) + ".rnd")) << "round " << round << unexpected;
}

void EventOnX::PagesPng(const std::string& base) {
    for (int page = 0; page < 4; ++page) {
        WkFormSetPage(MainWindow.notebook, page);
        Pump();
        Png(MainWindow.window, base + "-page" + std::to_string(page) + ".png");
    }
}

void EventOnX::CheckFiles(int players, int rounds, int boardCount) {
    const std::string data = Data();
    for (const fs::directory_entry& e : fs::directory_iterator(data)) {
        if (e.path().extension() != ".txt") continue;
        const std::string bytes = Bytes(e.path());
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const bool crlf = bytes[i] != '\n' || (i > 0 && bytes[i - 1] == '\r');
            EXPECT_TRUE(crlf) << e.path() << " at byte " << i;
        }
    }
    // Each board of each result list shows the key typed for it ("½" as
    // 0xBD); the standings give each player the sum of his results.
    std::map<int, double> sums;
    for (int round = 1; round <= rounds; ++round) {
        const std::string file = "result" + std::to_string(round) + ".txt";
        std::istringstream lines(Bytes(data + file));
        int boards = 0;
        for (std::string line; std::getline(lines, line);) {
            const std::size_t is = line.find(" = "), last = line.rfind("= ");
            if (is == std::string::npos || last == is + 1 || std::atoi(line.c_str()) != ++boards) continue;
            const int white = std::atoi(line.c_str() + is + 3);
            const int black = std::atoi(line.c_str() + line.find(" - ", is) + 3);
            const char key = ResultKey(round, boards);
            const char* shown = key == '1' ? "1 - 0\r" : key == 'x' ? "\xBD - \xBD\r" : "0 - 1\r";
            EXPECT_EQ(line.substr(last + 2), shown) << file << ", round " << round << ", board " << boards;
            sums[white] += key == '1' ? 1 : key == 'x' ? 0.5 : 0;
            sums[black] += key == '0' ? 1 : key == 'x' ? 0.5 : 0;
        }
        EXPECT_EQ(boards, boardCount) << file;
    }
    std::istringstream standings(Bytes(data + "tblscore.txt"));
    int rows = 0;
    for (std::string line; std::getline(standings, line);) {
        int position = 0, id = 0;
        double score = 0;
        if (line.find('|') == std::string::npos || std::sscanf(line.c_str(), "%d %lf %d", &position, &score, &id) != 3)
            continue;
        ++rows;
        EXPECT_EQ(score, sums[id]) << "tblscore.txt, player " << id;
    }
    EXPECT_EQ(rows, players) << "tblscore.txt";
}

TEST_F(EventOnX, RoundRobinOfSix) {
    StartTourman("robin-run");
    base_ = "robin";
    NewEvent("2: Round Robin S", base_, 5);
    TypePlayers(6);
    CloseRegistration(false);
    for (int round = 1; round <= 5; ++round) {
        PairRound(round, false);
        EnterResults(round, 3);
    }
    OutputsAndReports();
    PagesPng(base_);
    CheckFiles(6, 5, 3);
}

TEST_F(EventOnX, UscfSwissOfThirty) {
    StartTourman("swiss-run");
    base_ = "swiss";
    NewEvent("4: Swiss USCF", base_, 7);
    TypePlayers(30);
    CloseRegistration(true);
    for (int round = 1; round <= 7; ++round) {
        PairRound(round, true);
        EnterResults(round, 15);
    }
    OutputsAndReports();
    PagesPng(base_);
    CheckFiles(30, 7, 15);
}

} // namespace xev
