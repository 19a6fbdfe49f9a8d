// The player form driven by keys and clicks: typed players sorted and saved
// every tenth, a picked row changed, found and deleted, a player moved into
// another tournament's file, and a late entry after the close.
#include "support/tourman_driver.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/list.h"
#include "tourman/main_window.h"
#include "tourman/player_form.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"
#include "tournament/tournament_file.h"
#include "tournament/tournament_window.h"

#include <cstring>
#include <filesystem>
#include <fstream>

namespace tmt {
namespace {

namespace fs = std::filesystem;

class PlayerFormTest : public TourmanTest {
  protected:
    void Fill(WkObject* field, const std::string& text) {
        WkEditReplaceText(field, "", 0, 0);
        Click(field);
        Type(text);
    }
    void AddTyped(const std::string& name, const std::string& country = "", const std::string& birthday = "",
                  const std::string& fideId = "") {
        Click(MainWindow.clearButton);
        Fill(MainWindow.name, name);
        Fill(MainWindow.country, country);
        Fill(MainWindow.birthday, birthday);
        Fill(MainWindow.fideId, fideId);
        Click(MainWindow.addButton);
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
        for (int k = 0; WkListGetItem(MainWindow.playerList, k); ++k)
            rows.push_back(WkListGetItem(MainWindow.playerList, k)->text);
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
    Click(MainWindow.deleteButton); // no row selected: nothing goes
    AddTyped("X");                  // one letter: nothing, and no box
    EXPECT_EQ(WkListGetCount(MainWindow.playerList), 0);
    AddTyped("young", "", "1.1", "");
    for (const char* name : {"smith john", "adams", "o'brien", "zola", "Brown", "miller", "carter", "davis"})
        AddTyped(name, "ITA", "12.03.71", "812345");
    EXPECT_FALSE(fs::exists(dataFolder + "club.qon")) << "the ninth add saved";
    Click(MainWindow.clearButton);
    Fill(MainWindow.name, "Lee");
    Click(MainWindow.available);
    Click(MainWindow.addButton);

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

    Answer(16, 0);
    Click(MainWindow.changeButton);
    ClickRow(MainWindow.playerList, 2);
    EXPECT_STREQ(WkEditGetText(MainWindow.search), "3");
    EXPECT_STREQ(WkEditGetText(MainWindow.name), "CARTER");
    FindPlayer("ZOLA"); // the change still goes to the picked row
    Click(MainWindow.changeButton);
    EXPECT_EQ(Rows(), rows);
    for (auto [text, row] : {std::pair{"7", 6}, {"ZOLA", 9}, {"ITA", 0}, {"NOBODY", 0}, {"11", 0}}) {
        FindPlayer(text);
        EXPECT_EQ(WkListGetSelectedItem(MainWindow.playerList)->position, row) << text;
    }
    Click(MainWindow.deleteButton); // ADAMS
    EXPECT_EQ(Rows(), std::vector<std::string>(rows.begin() + 1, rows.end()));
    EXPECT_EQ(Counters(), "Players: 9, Available: 8");
    FindPlayer("LEE");
    Click(MainWindow.deleteButton);
    EXPECT_EQ(Counters(), "Players: 8, Available: 8");

    // CARTER into another tournament's file, then into the own one.
    fs::copy_file(dataFolder + "club.qon", dataFolder + "other.qon");
    ClickRow(MainWindow.playerList, 1);
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
    Answer(18, 1);
    AddTyped("late comer");
    EXPECT_EQ(Rows().back().substr(0, 15), " 11: LATE COMER");
    EXPECT_EQ(Lines(dataFolder + "club.qon")[10], "11");
    EXPECT_TRUE(fs::exists(dataFolder + "club.rnd"));
    EXPECT_EQ(PairingStates[11].colorFlexible, 1);
    EXPECT_EQ(PlayerResultTable(11, 2), LossAtBoard);
    WkFormSetPage(MainWindow.playerTabs, 1);
    Flush();
    ClickRow(MainWindow.unavailableList, 0);
    EXPECT_STREQ(WkEditGetText(MainWindow.name), "LEE");
    Settings.PairingSystem = SingleRoundRobinSystem;
    Answer(17, 0);
    Click(MainWindow.addButton);
    EXPECT_EQ(Rows().size(), 11u);
}

} // namespace
} // namespace tmt
