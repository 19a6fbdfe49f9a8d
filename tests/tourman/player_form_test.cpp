// The player form driven by keys and clicks: typed players sorted and saved
// every tenth, a picked row changed, found and deleted, a player moved into
// another tournament's file, and a late entry after the close.
#include "support/tourman_driver.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/list.h"
#include "tourman/commands/save_tournament.h"
#include "tourman/commands/tournament_commands.h"
#include "tourman/frame/window_frame.h"
#include "tourman/pages/players/player_form.h"
#include "tourman/pages/players/players_widgets.h"
#include "tournament/files/tournament_file.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"
#include "tournament/tournament_window.h"

#include <cstring>
#include <filesystem>
#include <fstream>

namespace tmt {
namespace {

namespace fs = std::filesystem;

class PlayerFormTest : public TourmanTest {
  protected:
    void AddTyped(const std::string& name, const std::string& country = "", const std::string& birthday = "",
                  const std::string& fideId = "") {
        Click(PlayersPage.clearButton);
        Fill(PlayersPage.name, name);
        Fill(PlayersPage.country, country);
        Fill(PlayersPage.birthday, birthday);
        Fill(PlayersPage.fideId, fideId);
        Click(PlayersPage.addButton);
    }
    void ClickRow(WkObject* list, int row) {
        int x, y;
        WkObjectGetAbsolutePosition(list, &x, &y);
        WkObject* shell = WkObjectGetShell(list);
        const int h = WkListRecord(list)->rowHeight;
        x += shell->x + 20;
        y += shell->y + WkObjectBorder(list) + (row - WkListRecord(list)->firstRow) * h + h / 2;
        display->injectPointerMove(x, y);
        display->injectButton(x, y, plat::kLeftButton, true);
        display->injectButton(x, y, plat::kLeftButton, false);
        Flush();
    }
    static std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (int k = 0; WkListGetItem(PlayersPage.playerList, k); ++k)
            rows.push_back(WkListGetItem(PlayersPage.playerList, k)->text);
        return rows;
    }
    static std::vector<std::string> Lines(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line.substr(0, line.size() - 1));
        return lines;
    }
    static std::string Counters() {
        return Caption(MainWindow.playerCounter) + ", " + Caption(MainWindow.availableCounter);
    }
};

TEST_F(PlayerFormTest, TypedPickedFoundDeletedMovedAndLate) {
    ASSERT_TRUE(Start());
    std::strcpy(Settings.BaseName, "club");
    Settings.PairingSystem = SwissQuonSystem;
    Click(PlayersPage.deleteButton); // no row selected: nothing goes
    AnswerText("Name: a player's name has at least 2 characters.", 0);
    AddTyped("X"); // one letter: nothing
    EXPECT_EQ(WkListGetCount(PlayersPage.playerList), 0);
    AddTyped("young", "", "", "");
    for (const char* name : {"smith john", "adams", "o'brien", "zola", "Brown", "miller", "carter", "davis"})
        AddTyped(name, "ITA", "12.03.71", "812345");
    EXPECT_FALSE(fs::exists(dataFolder + "club.qon")) << "the ninth add saved";
    Click(PlayersPage.clearButton);
    Fill(PlayersPage.name, "Lee");
    Click(PlayersPage.available);
    Click(PlayersPage.addButton);

    const std::vector<std::string> rows = Rows();
    ASSERT_EQ(rows.size(), 10u);
    for (std::size_t k = 1; k < rows.size(); ++k)
        EXPECT_LT(strcasecmp(rows[k - 1].c_str(), rows[k].c_str()), 0);
    EXPECT_EQ(std::string(Players[9].country) + Players[9].birthDate + std::to_string(Players[9].fideId),
              "---00.00.000");
    EXPECT_EQ(Counters(), "Players: 10, Available: 9");
    SavePng(MainWindow.window, "players.png");
    const std::vector<std::string> lines = Lines(dataFolder + "club.qon");
    ASSERT_EQ(lines.size(), 22u);
    for (int id = 1; id <= 10; ++id)
        EXPECT_EQ(lines[std::size_t(11 + id)], FormatPlayerLine(Players[id]));

    Answer(MsgSelectPlayerFirst, 0);
    Click(PlayersPage.changeButton);
    ClickRow(PlayersPage.playerList, 2);
    EXPECT_STREQ(WkEditGetText(PlayersPage.search), "3");
    EXPECT_STREQ(WkEditGetText(PlayersPage.name), "CARTER");
    FindPlayer("ZOLA"); // the change still goes to the picked row
    Click(PlayersPage.changeButton);
    EXPECT_EQ(Rows(), rows);
    for (auto [text, row] : {std::pair{"7", 6}, {"ZOLA", 9}, {"ITA", 0}, {"NOBODY", 0}, {"11", 0}}) {
        FindPlayer(text);
        EXPECT_EQ(WkListGetSelectedItem(PlayersPage.playerList)->position, row) << text;
    }
    Click(PlayersPage.deleteButton); // ADAMS
    EXPECT_EQ(Rows(), std::vector<std::string>(rows.begin() + 1, rows.end()));
    EXPECT_EQ(Counters(), "Players: 9, Available: 8");
    FindPlayer("LEE");
    Click(PlayersPage.deleteButton);
    EXPECT_EQ(Counters(), "Players: 8, Available: 8");

    // CARTER into another tournament's file, then into the own one.
    fs::copy_file(dataFolder + "club.qon", dataFolder + "other.qon");
    ClickRow(PlayersPage.playerList, 1);
    ChooseFile(dataFolder + "other.qon");
    AnswerText("Are you sure to move CARTER\n", 1);
    AnswerText("The player has been moved", 0);
    MovePlayerToFile();
    std::vector<std::string> moved = Lines(dataFolder + "other.qon");
    ASSERT_EQ(moved.size(), lines.size() + 1);
    EXPECT_EQ(moved[10] + "|" + moved.back(), "11|" + FormatPlayerLine(FormPlayer()));
    moved.pop_back();
    moved[10] = lines[10];
    EXPECT_EQ(moved, lines);
    const auto files = Snapshot(dataFolder);
    ChooseFile(dataFolder + "club.qon");
    AnswerText("The player cannot be moved into the open tournament's own file\n", 0);
    MovePlayerToFile();
    EXPECT_EQ(Snapshot(dataFolder), files);

    // Read back while open: the same rows, LEE still not available.
    ASSERT_TRUE(ReadTournamentFile(dataFolder + "club.qon"));
    EXPECT_EQ(Rows(), rows);

    // After the close a late entry is numbered and saved at once; a round robin refuses it.
    ClosedRegistration = 1;
    SetCurrentRound(2);
    ASSERT_TRUE(ReadTournamentFile(dataFolder + "club.qon"));
    TournamentWindow.keepFileOrder();
    Answer(MsgAddLateEntryQuestion, 1);
    AddTyped("late comer");
    EXPECT_EQ(Rows().back().substr(0, 15), " 11: LATE COMER");
    EXPECT_EQ(Lines(dataFolder + "club.qon")[10], "11");
    EXPECT_TRUE(fs::exists(dataFolder + "club.rnd"));
    EXPECT_EQ(PairingStates[11].colorFlexible, 1);
    EXPECT_EQ(PlayerResultTable(11, 2), LossAtBoard);
    WkFormSetPage(PlayersPage.playerTabs, 1);
    Flush();
    ClickRow(PlayersPage.unavailableList, 0);
    EXPECT_STREQ(WkEditGetText(PlayersPage.name), "LEE");
    Settings.PairingSystem = SingleRoundRobinSystem;
    Answer(MsgNotInRoundRobin, 0);
    Click(PlayersPage.addButton);
    EXPECT_EQ(Rows().size(), 11u);
}

TEST_F(PlayerFormTest, BadFieldsNamedOneLetterNameWithdrawnReopenedOneDeleted) {
    ASSERT_TRUE(Start());
    NewClubCup("cup");
    AddTyped("adams", "ENG", "29.02.96", "4100018");
    Click(PlayersPage.clearButton);
    Fill(PlayersPage.name, "brown");
    Click(PlayersPage.available); // withdrawn before the start
    Click(PlayersPage.addButton);
    ASSERT_TRUE(SaveTournament());
    const auto saved = Snapshot(dataFolder);
    const std::string name = "Name: a player's name has at least 2 characters.", date = "\" is not a date.\nType "
                             "day, month and year as dd.mm.yy, or leave 00.00.00 when the date is not known.";
    using W = PlayersPageWidgets;
    const std::tuple<const char*, const char*, const char*, WkObject* W::*, std::string> bads[] = {
        {"X", "", "", &W::name, name},
        {"Hill", "I", "", &W::country, "Country: give 2 or 3 letters, or leave the field empty."},
        {"Hill", "", "29.02.91", &W::birthday, "Birthday: \"29.02.91" + date},
        {"Hill", "", "1.1", &W::birthday, "Birthday: \"1.1" + date},
        {"Hill", "", "12.13.99", &W::birthday, "Birthday: \"12.13.99" + date},
    };
    for (const auto& [typed, country, birthday, field, message] : bads) {
        AnswerText(message, 0);
        AddTyped(typed, country, birthday);
        EXPECT_TRUE((PlayersPage.*field)->state & WK_STATE_FOCUS) << message;
        EXPECT_STREQ(WkEditGetText(PlayersPage.country), country) << "the form keeps what was typed";
    }
    EXPECT_EQ(Snapshot(dataFolder), saved);

    // After the refusal the next name typed replaces the letter.
    Click(PlayersPage.clearButton);
    Fill(PlayersPage.name, "X");
    AnswerText(name, 0);
    Click(PlayersPage.addButton);
    Type("Hill Henry");
    Fill(PlayersPage.fideId, "812345");
    Click(PlayersPage.addButton);
    const std::vector<std::string> rows = Rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2], "HILL HENRY                    0     0   NC  ---  1   00.00.00     812345         0  30  m");

    // The withdrawn player stays withdrawn through a save and a reopen.
    ASSERT_TRUE(SaveTournament());
    ChooseFile(dataFolder + "cup.qon");
    OpenTournamentCommand();
    EXPECT_EQ(Rows(), rows);
    EXPECT_EQ(Counters(), "Players: 3, Available: 2");

    // Delete twice on the last row: one player goes, the second press beeps.
    ClickRow(PlayersPage.playerList, 2);
    Click(PlayersPage.deleteButton);
    const int beeps = display->beepCount();
    Click(PlayersPage.deleteButton);
    EXPECT_EQ(display->beepCount(), beeps + 1);
    EXPECT_EQ(Rows(), std::vector<std::string>(rows.begin(), rows.begin() + 2));
    EXPECT_EQ(std::string(WkEditGetText(PlayersPage.name)) + WkEditGetText(PlayersPage.search), "");
}

// Once the form is emptied (a change, a clear, an add) the row found last
// is no longer selected: Delete has no player to take.
TEST_F(PlayerFormTest, AnEmptiedFormLeavesNoRowForDelete) {
    ASSERT_TRUE(Start());
    NewClubCup("cup");
    for (const char* name : {"adams", "brown", "carter", "zola"}) AddTyped(name);
    const struct {
        WkObject* PlayersPageWidgets::*button;
        const char* name;
    } cases[] = {{&PlayersPageWidgets::changeButton, "ZOLA B"},
                 {&PlayersPageWidgets::clearButton, nullptr},
                 {&PlayersPageWidgets::addButton, "YOUNG"}};
    for (const auto& c : cases) {
        const std::size_t rows = Rows().size();
        FindPlayer(std::to_string(rows).c_str()); // the last row
        ASSERT_NE(WkListGetSelectedItem(PlayersPage.playerList), nullptr);
        if (c.name) Fill(PlayersPage.name, c.name);
        Click(PlayersPage.*c.button);
        EXPECT_EQ(WkListGetSelectedItem(PlayersPage.playerList), nullptr) << Caption(PlayersPage.*c.button);
        EXPECT_STREQ(WkEditGetText(PlayersPage.search), "");
        const std::size_t now = Rows().size();
        DeletePlayer();
        EXPECT_EQ(Rows().size(), now) << Caption(PlayersPage.*c.button);
    }
    EXPECT_EQ(Rows().size(), 5u);
}

// Enter in Search finds the player and fills the form, and pressed again
// finds him again: from no field of the page does a chain of Enters reach
// "Delete player" (or "Close registration" and "Clear form"), here with a
// row picked, so that a delete reached would take it.
TEST_F(PlayerFormTest, SearchEnterEnterAndEnterChainsLeaveEveryPlayer) {
    ASSERT_TRUE(Start());
    const char* unnamed = "The tournament has no file name yet: nothing is written.\nStart it with New tournament "
                          "(File menu).";
    for (int i = 0; i < 10; ++i) {
        if (i == 9) AnswerText(unnamed, 0); // the tenth player's save
        AddTyped("player " + std::string(1, char('a' + i)));
    }
    AnswerText(unnamed, 0);
    EXPECT_FALSE(SaveTournament());
    EXPECT_FALSE(fs::exists(programFolder + ".qon") || fs::exists(".qon")) << "a hidden file for no tournament";
    NewClubCup("cup");
    for (const char* name : {"adams", "brown", "carter", "zola"}) AddTyped(name, "ITA");
    const std::vector<std::string> rows = Rows();
    ASSERT_EQ(rows.size(), 4u);

    const struct {
        const char* typed;
        int row;
        const char* name;
    } searches[] = {{"ADAMS", 0, "ADAMS"}, {"CART", 2, "CARTER"}, {"2", 1, "BROWN"},
                    {"ITA", 0, "ADAMS"},   {"ZOLA", 3, "ZOLA"},   {"4", 3, "ZOLA"}};
    for (const auto& s : searches) {
        Fill(PlayersPage.search, s.typed);
        for (int enter = 0; enter < 2; ++enter) {
            Press(0x1C, 0x0D);
            EXPECT_EQ(Rows(), rows) << s.typed << ", Enter " << enter + 1;
            EXPECT_EQ(WkListGetSelectedItem(PlayersPage.playerList)->position, s.row) << s.typed;
            EXPECT_STREQ(WkEditGetText(PlayersPage.name), s.name) << s.typed;
            EXPECT_TRUE(PlayersPage.search->state & WK_STATE_FOCUS) << s.typed;
            int from = 0, to = 0;
            WkEditGetSelection(PlayersPage.search, &from, &to);
            EXPECT_EQ(std::string(WkEditGetText(PlayersPage.search)).substr(std::size_t(from), std::size_t(to - from)),
                      std::to_string(s.row + 1))
                << s.typed << ": the number, selected to be typed over";
        }
    }

    using W = PlayersPageWidgets;
    WkObject* W::*const fields[] = {&W::name,       &W::country,    &W::birthday,       &W::gender,
                                    &W::title,      &W::fideId,     &W::fideRating,     &W::nationalId,
                                    &W::nationalRating, &W::kFactor, &W::available,    &W::search};
    for (WkObject* W::*field : fields) {
        ClickRow(PlayersPage.playerList, 3); // the last row, picked
        WkObjectSetFocus(PlayersPage.*field);
        for (int enter = 0; enter < 14; ++enter) {
            Press(0x1C, 0x0D);
            for (WkObject* command : {PlayersPage.deleteButton, PlayersPage.closeRegistrationButton,
                                      PlayersPage.clearButton})
                EXPECT_FALSE(command->state & WK_STATE_FOCUS) << Caption(command) << " after Enter " << enter + 1;
        }
        EXPECT_EQ(Rows().size(), rows.size()) << Caption(PlayersPage.*field);
        EXPECT_EQ(WkListGetSelectedItem(PlayersPage.playerList)->position, 3) << Caption(PlayersPage.*field);
    }

    // Nothing of the tournament left behind stays in Search.
    ASSERT_TRUE(SaveTournament());
    for (bool open : {true, false}) {
        Fill(PlayersPage.search, "ZOLA");
        Press(0x1C, 0x0D);
        ASSERT_STREQ(WkEditGetText(PlayersPage.search), "4");
        if (open) {
            ChooseFile(dataFolder + "cup.qon");
            OpenTournamentCommand();
        } else {
            NewClubCup("second");
        }
        EXPECT_STREQ(WkEditGetText(PlayersPage.search), "") << (open ? "Open" : "New");
    }
}

} // namespace
} // namespace tmt
