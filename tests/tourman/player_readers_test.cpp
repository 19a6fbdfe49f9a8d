// The player list readers handed the lines of a result list: fixed-width
// lines cut by the column filter, semicolon lines of both kinds, rows that
// commit back into the right fields, the form fillers and the refusals.
#include "support/tourman_driver.h"

#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/toggle.h"
#include "tourman/commands/save_tournament.h"
#include "tourman/commands/tournament_commands.h"
#include "tourman/dialogs/column_filter.h"
#include "tourman/frame/window_frame.h"
#include "tourman/pages/players/database_page.h"
#include "tourman/pages/players/player_list.h"
#include "tourman/pages/players/player_readers.h"
#include "tourman/pages/players/players_widgets.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/settings.h"

namespace tmt {
namespace {

class PlayerReadersTest : public TourmanTest {
  protected:
    void SetUp() override {
        TourmanTest::SetUp();
        for (ColumnFilterSlot& s : ColumnFilter) s = {0, 0};
        ASSERT_TRUE(Start());
        WkFormSetPage(PlayersPage.playerTabs, 2);
        results = WkCreateList(PlayersPage.playerTabs, 1, 100, 4, 70);
    }
    // Imports every line, each time the first one left, as activating it would.
    void ImportAll(std::initializer_list<std::string> lines, void (*reader)(WkObject*, WkListItem*, void*)) {
        for (const std::string& line : lines) WkListAddItem(results, line.c_str(), 0);
        for (std::size_t k = 0; k < lines.size(); ++k) reader(results, WkListGetItem(results, 0), nullptr);
        EXPECT_EQ(WkListGetCount(results), 0);
    }
    // Texts placed at their columns of a line of the given length.
    static std::string Line(std::size_t length, std::initializer_list<std::pair<std::size_t, std::string>> texts) {
        std::string line(length, ' ');
        for (const auto& [at, text] : texts) line.replace(at, text.size(), text);
        return line;
    }
    static std::string Fields(const Player& p) {
        std::string name = p.name;
        name.erase(name.find_last_not_of(' ') + 1);
        char text[160];
        std::snprintf(text, sizeof text, "%s|%s|%s|%s|%c|F%d:%d N%d:%d K%d", name.c_str(), p.title, p.country, p.birthDate,
                      p.gender, p.fideId, p.fideRating, p.nationalId, p.nationalRating, p.k);
        return text;
    }
    WkObject* results = nullptr;
};

TEST_F(PlayerReadersTest, LinesOfEveryKindCommitAsTypedRows) {
    ImportMode = ImportFide;
    LoadColumnFilter(nullptr, nullptr, reinterpret_cast<void*>(1));
    ImportAll({Line(70, {{0, "4100018"}, {10, "KASPAROV, GARRY"}, {44, " G"}, {48, "RUS"}, {53, "2812"}}),
               Line(70, {{0, "700070"}, {10, "POLGAR, JUDIT"}, {44, "WG"}, {48, "HUN"}, {53, "2675"}}),
               Line(70, {{0, "1234"}, {10, "AVERAGE, JOE"}, {44, "CM"}, {48, "ENG"}, {53, "2210"}}),
               Line(60, {{10, "BLANK, BILL"}})},
              ImportFixedWidthLine);
    EXPECT_STREQ(WkListGetItem(PlayersPage.playerList, 1)->text,
                 "BLANK  BILL                   0     0   --  ---  1   00.00.00          0         0   0  m");

    ImportMode = ImportNational;
    // No title; the ID Code reaches column 99, past these 60-character lines.
    const ColumnFilterSlot national[ColumnCount] = {{1, 25}, {0, 44}, {1, 30}, {1, 21}, {1, 33}, {1, 92}, {1, 0}};
    std::copy(national, national + ColumnCount, ColumnFilter);
    ImportAll({Line(60, {{0, "NATIONAL, NED"}, {21, "ITA"}, {25, "1650"}, {30, "25"}, {33, " 1.02.03"}}),
               Line(60, {{0, "DATED, DORA"}, {25, "x12"}, {33, "12.03.99"}})},
              ImportFixedWidthLine);

    ImportMode = ImportQuon;
    ImportAll({"BIANCHI, ANNA;ITA;03.04.90;F;WIM;555;2100;0;0;20", "VERDI;;;M;;0;0;0;1500;0"}, ImportSemicolonLine);
    ImportMode = ImportFsi;
    ImportAll({"ROSSI, MARIO;1800;CM;1;ITA;01.02.80;0;123456;M", "NERI;1700;;0;ITA;02.02.82;0;77;"}, ImportFsiLine);

    ASSERT_EQ(PlayerCount, 10);
    EXPECT_EQ(Caption(MainWindow.availableCounter), MessageText(MsgAvailableCounter) + " 10");
    ASSERT_TRUE(CommitPlayerList());
    const char* expected[] = {
        "AVERAGE  JOE|CM|ENG|00.00.00|m|F1234:2210 N0:0 K0",
        "BIANCHI  ANNA|WIM|ITA|03.04.90|f|F555:2100 N0:0 K20",
        "BLANK  BILL|--|---|00.00.00|m|F0:0 N0:0 K0",
        "DATED  DORA|--|---|12.03.99|m|F0:0 N0:0 K0",
        "KASPAROV  GARRY|GM|RUS|00.00.00|m|F4100018:2812 N0:0 K0",
        "NATIONAL  NED|--|ITA|00.00.00|m|F0:0 N0:1650 K25",
        "NERI|--|ITA|02.02.82|m|F0:1700 N77:1700 K0",
        "POLGAR  JUDIT|WGM|HUN|00.00.00|m|F700070:2675 N0:0 K0",
        "ROSSI  MARIO|CM|ITA|01.02.80|m|F0:0 N123456:1800 K1",
        "VERDI|--|---|00.00.00|m|F0:0 N0:1500 K0",
    };
    for (int id = 1; id <= PlayerCount; ++id) EXPECT_EQ(Fields(Players[id]), expected[id - 1]) << id;
}

TEST_F(PlayerReadersTest, FormFillersAndRefusals) {
    // Name, FIDE and national rating, K, gender; a column switched off leaves its field.
    struct Fill {
        int mode;
        const char* line;
        void (*filler)(WkObject*);
        const char* form;
    } fills[] = {
        {ImportQuon, "ANNA;ITA;03.04.90;F;WIM;555;2100;0;0;20", CopySemicolonLineToForm, "ANNA|2100|0|20|f"},
        {ImportQuon, "ANNA;ITA;03.04.90;f;WIM;555;2100;0;0;20", CopySemicolonLineToForm, "ANNA|2100|0|20|f"},
        {ImportFsi, "ROSSI, MARIO;1800;CM;1;ITA;01.02.80;0;123;F", CopyFsiLineToForm, "ROSSI  MARIO|0|1800|1|f"},
        {ImportNational, "NED                 1650", CopyFixedWidthLineToForm, "NED|0|1650|1|f"},
    };
    ColumnFilter[NameColumn] = {1, 0};
    ColumnFilter[RatingColumn] = {1, 20};
    const PlayersPageWidgets& w = PlayersPage;
    for (const Fill& f : fills) {
        ImportMode = f.mode;
        WkToggleSetOff(w.available);
        WkListAddItem(results, f.line, 0);
        WkListSelectItem(results, 0);
        f.filler(results);
        std::string form;
        for (WkObject* field : {w.name, w.fideRating, w.nationalRating, w.kFactor}) form += WkEditGetText(field) + std::string("|");
        EXPECT_EQ(form + (WkToggleGetState(w.gender) ? "f" : "m"), f.form);
        EXPECT_TRUE(WkToggleGetState(w.available) && WkListGetCount(results) == 0) << f.line;
    }

    struct Refusal {
        int system, count, savedRound, nameColumn;
        void (*reader)(WkObject*, WkListItem*, void*);
        std::string text;
    } refusals[] = {
        {2, 23, 0, 1, ImportFsiLine, MessageText(MsgPlayerLimit) + " 23"},
        {5, 23, 0, 1, ImportFixedWidthLine, MessageText(MsgPlayerLimit) + " 23"},
        {1, 999, 0, 1, ImportSemicolonLine, MessageText(MsgPlayerLimit) + " 999"},
        {1, 5, 1, 1, ImportSemicolonLine, MessageText(MsgNoImportAfterStart)},
        {1, 999, 0, 0, ImportFixedWidthLine, MessageText(MsgNoNameColumn)},
    };
    WkListAddItem(results, "NED                 1650", 0);
    for (const Refusal& r : refusals) {
        Settings.PairingSystem = r.system;
        PlayerCount = r.count;
        IsSavedRound = r.savedRound;
        ColumnFilter[NameColumn].enabled = r.nameColumn;
        AnswerText(r.text, 0);
        r.reader(results, WkListGetItem(results, 0), nullptr);
        EXPECT_TRUE(PlayerCount == r.count && WkListGetCount(results) == 1 && WkListGetCount(w.playerList) == 0) << r.text;
    }
}

TEST_F(PlayerReadersTest, LinesKeptWholeThroughSaveAndReopenOrRefusedByLine) {
    NewClubCup("imp");
    LoadColumnFilter(nullptr, nullptr, reinterpret_cast<void*>(1)); // name at 10, rating at 53, id at 0
    // The player after the reopen (kept in name order), or why not; whether listed without its end.
    const std::tuple<int, std::string, std::string, bool> cases[] = {
        // A name that reads like a numbered row of the list stays whole.
        {ImportQuon, "100: ROSSI;ITA;;M;;0;0;0;1500;0", "100: ROSSI|--|ITA|00.00.00|m|F0:0 N0:1500 K0", false},
        {ImportFsi, "EXTRA;1800;CM;0;ITA;01.02.80;0;1;M;NOT READ", "EXTRA|CM|ITA|01.02.80|m|F0:1800 N1:1800 K0", true},
        {ImportQuon, "MAX WIDTHS;ITA;31.12.99;F;WGM;99999999;9999;99999999;9999;99",
         "MAX WIDTHS|WGM|ITA|31.12.99|f|F99999999:9999 N99999999:9999 K99", false},
        {ImportFide, Line(60, {{0, "812345"}, {10, "SEMI;COLON, ANN"}, {53, "2210"}}),
         "SEMI COLON  ANN|--|---|00.00.00|m|F812345:2210 N0:0 K0", false},
        {ImportQuon, "TAB\tAND\x01" "CTRL;ITA;;M;;0;0;0;1500;0", "TAB AND CTRL|--|ITA|00.00.00|m|F0:0 N0:1500 K0", false},
        {ImportQuon, "WIDE ID;ITA;;M;;123456789;2100;0;0;20", "The FIDE id 123456789 has more than 8 digits.", false},
        {ImportQuon, "BELOW;;;F;;0;0;0;-5;0", "The national rating -5 is below 0.", false},
        {ImportFsi, "KAY;2830;CM;283;ITA;01.02.80;0;1;M", "The K factor 283 has more than 2 digits.", false},
        {ImportQuon, "", "The line holds no name.", false},
        {ImportQuon, "CUT;ITA;;M;;0;0;0;1500;2", "The line is longer than 100 characters and its end, which holds "
                                                 "some of the player's data, is not listed.", true},
    };
    std::vector<std::string> kept;
    for (const auto& [mode, line, outcome, cut] : cases) {
        ImportMode = mode;
        const bool refused = outcome.find('|') == std::string::npos;
        const std::string alert = "This line cannot be taken as a player:\n\"" + line + "\"\n" + outcome;
        if (refused) AnswerText(alert, 0);
        else kept.push_back(outcome);
        WkListAddItem(results, line.c_str(), cut ? CutDatabaseLine : 0);
        auto reader = mode == ImportQuon ? ImportSemicolonLine : mode == ImportFsi ? ImportFsiLine : ImportFixedWidthLine;
        reader(results, WkListGetItem(results, 0), nullptr);
        EXPECT_EQ(std::pair(PlayerCount, WkListGetCount(results)), std::pair(int(kept.size()), refused ? 1 : 0)) << line;
        if (refused && mode == ImportQuon && !line.empty()) { // the import button too, the form untouched
            WkListSelectItem(results, 0);
            AnswerText(alert, 0);
            CopySemicolonLineToForm(results);
            EXPECT_STREQ(WkEditGetText(PlayersPage.fideId), "") << line;
        }
        WkListClear(results);
    }
    ASSERT_TRUE(SaveTournament());
    ChooseFile(dataFolder + "imp.qon");
    OpenTournamentCommand();
    std::vector<std::string> reopened;
    for (int id = 1; id <= PlayerCount; ++id) reopened.push_back(Fields(Players[id]));
    EXPECT_EQ(reopened, kept);
}

} // namespace
} // namespace tmt
