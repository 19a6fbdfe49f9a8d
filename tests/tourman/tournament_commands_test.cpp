// The tournament commands as the arbiter uses them: a tournament made in the
// dialog, typed in, saved and opened by a fresh program, the close of its
// registration, saves, round files loaded, the exit; and the refusals of the
// close.
#include "support/tourman_driver.h"
#include "tests/support/tournament_state.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/menu.h"
#include "tourman/commands/save_tournament.h"
#include "tourman/commands/tournament_commands.h"
#include "tourman/dialogs/settings_dialog.h"
#include "tourman/frame/window_frame.h"
#include "tourman/main_window/main_window.h"
#include "tourman/main_window/show_tournament.h"
#include "tourman/pages/output/output_page.h"
#include "tourman/pages/output/output_widgets.h"
#include "tourman/pages/output/text_viewers.h"
#include "tourman/pages/pairing/pairing_widgets.h"
#include "tourman/pages/players/players_widgets.h"
#include "tourman/pages/results/results_widgets.h"
#include "tournament/files/player_list_row.h"
#include "tournament/game_code.h"
#include "tournament/message_table.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace tmt {
namespace {

class TournamentCommandsTest : public TourmanTest {
  protected:
    static std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (int k = 0; WkListGetItem(PlayersPage.playerList, k); ++k)
            rows.push_back(WkListGetItem(PlayersPage.playerList, k)->text);
        return rows;
    }
    static std::string Described() {
        const TournamentSettings& s = Settings;
        return std::string(s.Name) + s.Place + s.Arbiter + s.BaseName + s.DataFolder + std::to_string(s.PlannedRounds);
    }
    void Typed(const std::string& name, int rating) {
        for (auto [field, text] :
             {std::pair{PlayersPage.name, name}, {PlayersPage.fideRating, std::to_string(rating)}}) {
            WkEditReplaceText(field, "", 0, 0);
            Click(field);
            Type(text);
        }
        Click(PlayersPage.addButton);
    }
    // A file's time put back a day, so that any write shows.
    const fs::file_time_type old = fs::file_time_type::clock::now() - std::chrono::hours(24);
    void Age(const std::string& name) { fs::last_write_time(dataFolder + name, old); }
    bool Written(const std::string& name) { return fs::last_write_time(dataFolder + name) != old; }
};

TEST_F(TournamentCommandsTest, MadeTypedOpenedClosedSavedAndLoaded) {
    ASSERT_TRUE(Start());
    NewClubCup("cup");
    for (int i = 0; i < 10; ++i) Typed("PLAYER " + std::string(1, char('A' + i)), 1500 + (i * 7 % 10) * 50);
    ASSERT_TRUE(SaveTournament());
    const std::string settings = Described();
    const std::vector<std::string> rows = Rows();
    const auto files = Snapshot(dataFolder);
    Restart(files);
    ChooseFile(dataFolder + "cup.qon");
    OpenTournamentCommand();
    EXPECT_EQ(Described(), settings);
    EXPECT_EQ(Rows(), rows);
    EXPECT_FALSE(MainWindow.saveItem->disabled);
    EXPECT_NE(StatusLineText().find(MessageText(MsgStateRegistrationOpen)), std::string::npos);

    // An unsaved player: answer 0 keeps him unsaved, answer 2 saves him before the file is read.
    Typed("LATE", 2000);
    Answer(MsgLeaveOpenTournament, 0);
    OpenTournamentCommand();
    EXPECT_EQ(Snapshot(dataFolder), files);
    Answer(MsgLeaveOpenTournament, 2);
    ChooseFile(dataFolder + "cup.qon");
    OpenTournamentCommand();
    EXPECT_EQ(PlayerCount, 11);

    Answer(MsgCloseRegistrationQuestion, 1);
    Answer(MsgPairingNumbersQuestion, 0);
    Answer(MsgTopSeedWhiteQuestion, 1);
    Click(PlayersPage.closeRegistrationButton);
    EXPECT_TRUE(ClosedRegistration == 1 && CurrentRound == 1 && fs::exists(dataFolder + "cup.rnd"));
    for (int k = 0; k < 11; ++k) // numbered by rating, 2000 down to 1500
        EXPECT_TRUE(std::stoi(Rows()[k]) == k + 1 && std::stoi(Rows()[k].substr(27)) == 2000 - 50 * k) << Rows()[k];
    EXPECT_EQ(Caption(PlayersPage.addButton), MessageText(MsgAddLateEntry));
    EXPECT_EQ(StatusLineText(), "cup [swiss Dubov]: Round 1 - STATUS: pairing proposed, to accept");
    EXPECT_FALSE(WkObjectIsSensitive(PlayersPage.deleteButton) ||
                 WkObjectIsSensitive(PlayersPage.closeRegistrationButton) || MainWindow.loadRoundFileItem->disabled);
    WkFormSetPage(MainWindow.notebook, 0); // round 1 is proposed on the pairing page
    Flush();
    SavePng(MainWindow.window, "closed.png");
    // Round 1 is proposed after a save of the start; another folder keeps that save.
    fs::create_directory(dataFolder + "other");
    fs::copy_file(dataFolder + "cup.rnd", dataFolder + "other/cup.rnd");
    TournamentChanged();
    for (bool first : {true, false}) {
        Age("cup.qon");
        Age("cup.rnd");
        AnswerText(ProposedRoundQuestion, 1); // saved without it
        WkMenuActivateItem(MainWindow.saveItem);
        EXPECT_TRUE(Written("cup.qon") == first && Written("cup.rnd")) << first;
    }

    fs::copy_file(dataFolder + "cup.rnd", dataFolder + "other/cut.rnd");
    fs::resize_file(dataFolder + "other/cut.rnd", fs::file_size(dataFolder + "cup.rnd") / 2);
    Answer(MsgLeaveOpenTournament, 1);
    ChooseFile(dataFolder + "other/cut.rnd");
    AnswerText(MessageText(MsgCannotReadRoundFile) + "\n", 0);
    LoadRoundFileCommand();
    EXPECT_EQ(CurrentRound, 1);
    Answer(MsgLeaveOpenTournament, 1);
    ChooseFile(dataFolder + "other/cup.rnd");
    LoadRoundFileCommand();
    EXPECT_TRUE(CurrentRound == 0 && ClosedRegistration == 1 && WkListGetCount(PairingPage.pairingList) == 0);

    // A folder that takes no file (as root its mode would not stop a write: the file's place is taken).
    TournamentChanged();
    fs::remove(dataFolder + "cup.qon");
    fs::create_directory(dataFolder + "cup.qon");
    Answer(MsgCloseWithoutSaving, 2);
    AnswerText(MessageText(MsgCannotWriteTournamentFile) + "\n", 0);
    ExitCommand();
    EXPECT_NE(MainWindow.window, nullptr);
}

// New and Open leave nothing of the tournament before in the output page's
// viewer and the results page's fields.
TEST_F(TournamentCommandsTest, NewAndOpenLeaveNothingStale) {
    ASSERT_TRUE(Start());
    NewClubCup("cup");
    Typed("PLAYER A", 1500);
    ASSERT_TRUE(SaveTournament());
    std::ofstream(dataFolder + "crosstbl.txt") << "an old table\r\n";
    for (const char* file : {"", "cup.qon"}) { // New, then Open
        ShowOutputFile(nullptr, 2);
        WkEditReplaceText(ResultsPage.boardField, "7", 0, 0);
        WkEditReplaceText(ResultsPage.roundField, "3", 0, 0);
        WkObjectSetText(ResultsPage.boardLabel, "an old board");
        if (*file) {
            ChooseFile(dataFolder + file);
            OpenTournamentCommand();
        } else {
            NewClubCup("cup2");
        }
        EXPECT_EQ(std::to_string(WkListGetCount(OutputPage.fileViewer)) + ViewedFilePath(OutputPage.fileViewer) + "|" +
                      WkEditGetText(ResultsPage.boardField) + "|" + WkEditGetText(ResultsPage.roundField) + "|" +
                      WkLabelGetText(ResultsPage.boardLabel),
                  "0||0|" + MessageText(MsgChooseBoard)) << file;
    }
}

// New asks before it leaves a tournament or the players typed in, and
// nothing at start-up: the dialog opens at once.
TEST_F(TournamentCommandsTest, NewAsksOnlyWhenItLeavesSomething) {
    ASSERT_TRUE(Start());
    const struct {
        int open;
        const char* typed;
        bool asks;
    } cases[] = {{1, "", true}, {0, "", false}, {0, "ROSSI", true}};
    for (const auto& c : cases) {
        TournamentOpen = c.open;
        if (*c.typed) Typed(c.typed, 1500);
        if (c.asks) Answer(MsgLeaveOpenTournament, 0); // stays
        NewTournamentCommand();
        EXPECT_EQ(SettingsDialog.window == nullptr, c.asks) << c.open << c.typed;
        if (SettingsDialog.window) Click(SettingsDialog.closeButton);
    }
    EXPECT_EQ(PlayerCount, 1);
}

// The questions of the close of the registration left by Escape, the close
// box or a close request keep the registration open and write nothing. The
// colour of board 1 asked again at a new pairing of round 1 and left pairs
// nothing; answered, the keys are on Accept pairing.
TEST_F(TournamentCommandsTest, QuestionsOfTheCloseLeftKeepTheRegistrationOpen) {
    ASSERT_TRUE(Start());
    NewClubCup("cup");
    for (int i = 0; i < 10; ++i) Typed("PLAYER " + std::string(1, char('A' + i)), 2400 - 50 * i);
    ASSERT_TRUE(SaveTournament());
    const auto files = Snapshot(dataFolder);
    const MessageNumber questions[] = {MsgCloseRegistrationQuestion, MsgPairingNumbersQuestion, MsgTopSeedWhiteQuestion};
    const int cases[][2] = {{1, EscapeKey}, {1, CloseBox}, {2, EscapeKey}, {2, CloseRequest}}; // the question left, how
    for (const auto& [left, way] : cases) {
        for (int q = 0; q <= left; ++q) Answer(questions[q], q == left ? way : q == 0 ? 1 : 0);
        Click(PlayersPage.closeRegistrationButton);
        EXPECT_TRUE(Snapshot(dataFolder) == files && WkObjectIsSensitive(PlayersPage.closeRegistrationButton)) << left;
        EXPECT_EQ(StatusLineText(), "cup [swiss Dubov]: Round 0 - STATUS: registration open") << left << way;
    }
    for (int q = 0; q < 3; ++q) Answer(questions[q], q == 0 ? 1 : 0); // the top seed Black
    Click(PlayersPage.closeRegistrationButton);
    EXPECT_EQ(GameTable(1, 1), EncodeGameCode(6, 1, NotPlayed));
    Answer(MsgCancelLastPairingQuestion, 1);
    Click(PairingPage.cancelButton);
    for (int answer : {EscapeKey, 1}) {
        Answer(MsgTopSeedWhiteQuestion, answer);
        Click(PairingPage.pairButton);
        EXPECT_EQ(CurrentRound, answer == 1 ? 1 : 0);
    }
    EXPECT_EQ(WkFormGetFocus(MainWindow.window), PairingPage.acceptButton);
}

TEST_F(TournamentCommandsTest, CloseRefusedOrAskedByCount) {
    ASSERT_TRUE(Start());
    std::strcpy(Settings.BaseName, "cup");
    TournamentOpen = 1; // as New or Open leave it
    const struct {
        int system, players, rounds, alert;
    } cases[] = {{1, 5, 3, MsgSwissTooFewPlayers},
                 {3, 6, 6, MsgSwissTooFewPlayersForRounds},
                 {4, 6, 5, 0},
                 {6, 16, 3, MsgManyPlayersForRounds},
                 {2, 24, 0, 0},
                 {5, 25, 0, MsgRoundRobinPlayerCount},
                 {1, 15, 3, 0}};
    for (const auto& c : cases) {
        Settings.PairingSystem = c.system;
        Settings.PlannedRounds = c.rounds;
        ClearPlayers();
        WkListClear(PlayersPage.playerList);
        for (int i = 0; i < c.players; ++i)
            WkListAddItem(PlayersPage.playerList,
                          PlayerListRow(Players[AddTestPlayer("P" + std::to_string(i))], 0).c_str(), 0);
        TournamentChanged();
        ASSERT_TRUE(SaveTournament());
        const auto files = Snapshot(dataFolder);
        const std::vector<std::string> rows = Rows();
        if (c.alert) Answer(c.alert, 0);
        if (c.alert == 0 || c.alert == MsgManyPlayersForRounds) Answer(MsgCloseRegistrationQuestion, 0);
        CloseRegistration();
        EXPECT_TRUE(ClosedRegistration == 0 && Rows() == rows && Snapshot(dataFolder) == files) << c.players;
    }
    // A start that cannot write the file leaves the registration of the last case open.
    fs::remove(dataFolder + "cup.qon");
    fs::create_directory(dataFolder + "cup.qon");
    Answer(MsgCloseRegistrationQuestion, 1);
    Answer(MsgPairingNumbersQuestion, 2);
    AnswerText(MessageText(MsgCannotWriteTournamentFile) + "\n", 0);
    CloseRegistration();
    EXPECT_TRUE(ClosedRegistration == 0 && WkObjectIsSensitive(PlayersPage.closeRegistrationButton));
    EXPECT_EQ(Caption(PlayersPage.addButton), MessageText(MsgAddPlayer));
}

} // namespace
} // namespace tmt
