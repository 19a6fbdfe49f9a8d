// The player database from end to end: typed players exported, chosen as the
// program's own player file, searched, imported back and the page closed; a
// long line; the USCF conversion chosen as a national list.
#include "support/tourman_driver.h"

#include "toolkit/core/letters.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/menu.h"
#include "toolkit/widgets/toggle.h"
#include "tourman/commands/uscf_conversion.h"
#include "tourman/dialogs/column_filter.h"
#include "tourman/frame/window_frame.h"
#include "tourman/pages/players/database_page.h"
#include "tourman/pages/players/player_database.h"
#include "tourman/pages/players/player_form.h"
#include "tourman/pages/players/player_list.h"
#include "tourman/pages/players/players_widgets.h"
#include "tournament/files/player_list_row.h"
#include "tournament/name_order.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/settings.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <strings.h>

namespace tmt {
namespace {

const char* kNames[] = {"ADAMS JOHN", "BIANCHI ANNA", "CARLSEN MAGNUS", "DE LUCA PIA", "EVANS ROSSITER",
                        "FERRO LUIGI", "GROSSI MARIA", "HOU YIFAN", "IVANOV IVAN", "ROSSI MARIO"};

// The k-th player of the list: name, country, birth date, title, gender, FIDE id and rating, national id and rating, K.
std::vector<std::string> Typed(int k) {
    const char* titles[] = {"GM", "WIM", "NC", "CM", "1N"};
    auto n = [](int v) { return std::to_string(v); };
    return {kNames[k], k % 3 ? "ITA" : "---", k % 2 ? "0" + n(k) + ".04.90" : "00.00.00", titles[k % 5], k % 2 ? "f" : "m",
            n(k * 1001), n(2000 + 10 * k), n(k % 4 ? 70 * k : 0), n(1500 + k), n(10 + 5 * (k % 5))};
}

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Upper(std::string text) {
    return WkUpperText(text.data());
}

class DatabasePageTest : public TourmanTest {
  protected:
    void SetUp() override {
        TourmanTest::SetUp();
        ASSERT_TRUE(Start());
        WkFormSetPage(PlayersPage.playerTabs, 2);
    }
    void Add(const std::vector<std::string>& t) {
        const PlayersPageWidgets& w = PlayersPage;
        Click(w.name);
        Type(t[0]);
        WkObject* fields[] = {w.country, w.birthday, w.title, nullptr, w.fideId, w.fideRating, w.nationalId, w.nationalRating, w.kFactor};
        for (int k = 0; k < 9; ++k)
            if (fields[k]) WkEditReplaceText(fields[k], t[k + 1].c_str(), 0, 0);
        WkToggleSetState(w.gender, t[4] == "f");
        Click(w.addButton);
    }
    void Search(const std::string& pattern) {
        WkEditReplaceText(DatabasePage.search, "", 0, 0);
        Click(DatabasePage.search);
        Type(pattern);
        Press(0x1C, '\r');
    }
    void Choose(const std::string& path, int item) {
        ChooseFile(path);
        WkMenuActivateItem(MainWindow.databaseItems[item]); // "Quon", "FSI (Italy)", "Fide", "National"
    }
    static std::vector<std::string> Listed(WkObject* list = DatabasePage.list) {
        std::vector<std::string> lines;
        for (int k = 0; WkListGetItem(list, k); ++k) lines.push_back(WkListGetItem(list, k)->text);
        return lines;
    }
    static std::vector<std::string> Records() {
        std::vector<std::string> rows;
        for (int id = 1; id <= PlayerCount; ++id) rows.push_back(PlayerListRow(Players[id], 0));
        return rows;
    }
};

TEST_F(DatabasePageTest, ExportedPlayersSearchedAndImportedBack) {
    std::strcpy(Settings.BaseName, "club");
    Settings.PairingSystem = SwissQuonSystem;
    // Eleven typed (the autosave at the tenth), one of them deleted: ROSSI comes after the save.
    for (int k = 8; k >= 0; --k) Add(Typed(k));
    Add({"ZORRO ZACK", "ESP", "", "NC", "m", "", "", "", "1200", "30"});
    Add(Typed(9));
    WkListSelectItem(PlayersPage.playerList, 10);
    Click(PlayersPage.deleteButton);
    EXPECT_EQ(Read(dataFolder + "club.qon").find("ROSSI MARIO"), std::string::npos);

    const std::string csv = dataFolder + "players.csv";
    ChooseFile(csv);
    WkMenuActivateItem(MainWindow.exportPlayersItem);
    std::vector<std::string> fileOrder = {"NAME;COUNTRY;BIRTHDAY;GENDER;TITLE;IDFIDE;ELOFIDE;IDNAT;ELONAT;KCOEFF"};
    for (int k = 0; k < 10; ++k) {
        const std::vector<std::string> t = Typed(k);
        char line[120];
        std::snprintf(line, sizeof line, "%-20s;%3.3s;%8.8s;%s;%3.3s;%8s;%5s;%8s;%5s;%2s", t[0].c_str(), t[1].c_str(),
                      t[2].c_str(), t[4].c_str(), t[3].c_str(), t[5].c_str(), t[6].c_str(), t[7].c_str(), t[8].c_str(), t[9].c_str());
        fileOrder.push_back(line);
    }
    EXPECT_EQ(fileOrder[2], "BIANCHI ANNA        ;ITA;01.04.90;f;WIM;    1001; 2010;      70; 1501;15");
    std::string expected;
    for (std::string& line : fileOrder) expected += line + "\r\n", line = Upper(line);
    EXPECT_EQ(Read(csv), expected);
    const std::vector<std::string> before = Records();

    Choose(csv, 0);
    RowToForm(WkListGetItem(PlayersPage.playerList, 0)); // a picked player's name goes into the search
    EXPECT_STREQ(WkEditGetText(DatabasePage.search), "ADAMS ");
    std::vector<std::string> sorted = fileOrder;
    std::stable_sort(sorted.begin(), sorted.end(), [](auto& a, auto& b) { return strcasecmp(a.c_str(), b.c_str()) < 0; });
    Search("*****");
    EXPECT_EQ(Listed(), sorted);
    Click(DatabasePage.sortToggle);
    Search("*****");
    EXPECT_EQ(Listed(), fileOrder);
    const int beeps = display->beepCount();
    Search("oss"); // three letters: a beep, no search
    EXPECT_EQ(display->beepCount(), beeps + 1);
    Search("ossi");
    EXPECT_EQ(Listed(), (std::vector<std::string>{fileOrder[5], fileOrder[7], fileOrder[10]}));
    Answer(MsgNoPlayerFound, 0);
    Search("QQQQ");
    EXPECT_TRUE(Listed().empty());

    Click(DatabasePage.sortToggle);
    Search("*****");
    WkListSelectItem(DatabasePage.list, 1);
    Click(DatabasePage.importButton);
    EXPECT_EQ(std::string(WkEditGetText(PlayersPage.name)) + WkEditGetText(PlayersPage.nationalId), "BIANCHI ANNA70");
    EXPECT_TRUE(WkToggleGetState(PlayersPage.gender));
    Answer(MsgDatabaseAlreadyOpen, 0);
    WkMenuActivateItem(MainWindow.databaseItems[2]); // refused: the open database stays usable

    // A new tournament takes every player line by activation.
    WkListClear(PlayersPage.playerList);
    ClearPlayers();
    Search("*****");
    ClosedRegistration = 1;
    AnswerText("I can't import players when the registration are closed.\nUse Add Late Comer instead.", 0);
    WkListSelectItem(DatabasePage.list, 1);
    Press(0x1C, '\r');
    EXPECT_EQ(PlayerCount + WkListGetCount(DatabasePage.list), 11);
    ClosedRegistration = 0;
    Press(0x1C, '\r');
    while (WkListGetCount(DatabasePage.list) > 1) { // every line but the header
        const bool header = std::strncmp(WkListGetItem(DatabasePage.list, 0)->text, "NAME;", 5) == 0;
        OnDatabaseLineActivated(DatabasePage.list, WkListGetItem(DatabasePage.list, header ? 1 : 0), nullptr);
    }
    ASSERT_TRUE(CommitPlayerList());
    EXPECT_EQ(Records(), before);

    Click(DatabasePage.closeButton);
    for (WkObject* o : {DatabasePage.search, DatabasePage.importButton, DatabasePage.closeButton, DatabasePage.sortToggle})
        EXPECT_FALSE(o->state & WK_STATE_ACTIVE) << Caption(o); // drawn etched, deaf to input
    EXPECT_EQ(Listed(), std::vector<std::string>{fileOrder[0]});
    Choose("", 1); // cancelled: the kind stays
    EXPECT_EQ(ImportMode, ImportQuon);

    const std::string longLine = "Long;ita" + std::string(242, ' ') + ";tail of it" + std::string(40, '.');
    std::ofstream(dataFolder + "long.txt", std::ios::binary) << "Short;Ita\n" << longLine << "\r\nTAIL;ENG\n";
    for (ColumnFilterSlot& c : ColumnFilter) c = {0, 0};
    Choose(dataFolder + "long.txt", 2); // the FIDE kind loads the default filter first
    EXPECT_TRUE(ColumnFilter[NameColumn].start == 10 && ColumnFilter[RatingColumn].start == 53);
    Search("tail");
    EXPECT_EQ(Listed(), (std::vector<std::string>{Upper(longLine.substr(0, 100)), "TAIL;ENG"}));
}

TEST_F(DatabasePageTest, AccentedNamesFoundAndImportedInCapitals) {
    // Windows-1252: Müller, Šťastný's Š and Œ, ÿ and its capital Ÿ at 0x9F.
    std::ofstream(dataFolder + "accents.txt", std::ios::binary)
        << "M\xFCller Karl;GER\r\n\x9A" "tefan \x9Clo;SVK\r\nZ\xFCrn \xFFves;AUT\r\n";
    Choose(dataFolder + "accents.txt", 0);
    const struct {
        const char* typed;
        const char* listed;
    } cases[] = {
        {"m\xFCll", "M\xDCLLER KARL;GER"},
        {"\x9A" "tef", "\x8A" "TEFAN \x8CLO;SVK"},
        {"\xFFves", "Z\xDCRN \x9FVES;AUT"}, // the last line
    };
    for (const auto& c : cases) {
        Search(c.typed);
        EXPECT_EQ(Listed(), std::vector<std::string>{c.listed}) << c.typed;
        Press(0x1C, '\r');
    }
    ASSERT_EQ(PlayerCount, 3);
    // Š sorts with S, before Z, on the players page as in the database.
    EXPECT_STREQ(Players[1].name, "M\xDCLLER KARL         ");
    EXPECT_STREQ(Players[2].name, "\x8A" "TEFAN \x8CLO          ");
    EXPECT_STREQ(Players[3].name, "Z\xDCRN \x9FVES           ");
    const std::vector<std::string> rows = Listed(PlayersPage.playerList);
    ASSERT_EQ(rows.size(), 3u);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(rows[std::size_t(k)].find(Players[k + 1].name), 0u) << rows[std::size_t(k)];

    // Every accented initial with its base letter, the accent breaking a tie.
    std::ofstream(dataFolder + "accents.txt", std::ios::binary)
        << "ABEL;GER\r\nM\xDCLLER;GER\r\nMULLER;GER\r\nNAGY;HUN\r\nZO\xCB;FRA\r\n\xC4RGER;GER\r\n\xC9VA;FRA\r\n"
           "\xD6LZ;AUT\r\n\xD8RSTED;DEN\r\nZOE;FRA\r\n";
    Click(DatabasePage.sortToggle); // off and on again: the same order
    Click(DatabasePage.sortToggle);
    Search("*****");
    EXPECT_EQ(Listed(), (std::vector<std::string>{"ABEL;GER", "\xC4RGER;GER", "\xC9VA;FRA", "MULLER;GER", "M\xDCLLER;GER",
                                                  "NAGY;HUN", "\xD6LZ;AUT", "\xD8RSTED;DEN", "ZOE;FRA", "ZO\xCB;FRA"}));
    // The order of names pairs the cases as the toolkit's letters do.
    for (int c = 1; c < 256; ++c) {
        const char small[] = {char(WkToLower(c)), 0}, capital[] = {char(WkToUpper(c)), 0};
        EXPECT_EQ(CompareNames(small, capital), 0) << std::hex << c;
    }
}

TEST_F(DatabasePageTest, UscfDatabaseConvertedAndImportedAsNationalList) {
    const std::pair<const char*, const char*> cases[] = {
        {"SMITH, JOHN\t12345678\t2027-12-31\tNY\t1850\t1790",
         "SMITH, JOHN                             12345678  2027-12-31  NY 1850 1790"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRS\t1\t2027-12-31-extra\tTEXAS\t900\t12345",
         "ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMN       1  2027-12-31 TEX  900 12345"},
        {"DOE, JANE\t\t87654321\t\t\t2001-01-01\tCA\t1500P12\t0", // runs of tabs separate once
         "DOE, JANE                               87654321  2001-01-01  CA 1500    0"},
        {"SHORT, SAM\t777", "SHORT, SAM                                   777                    0    0"},
    };
    std::string input, output;
    for (const auto& [line, fixed] : cases) input += line + std::string("\r\n"), output += fixed + std::string("\r\n");
    EXPECT_EQ(std::strlen(cases[0].second), 74u);
    std::ofstream(dataFolder + "uscf.txt", std::ios::binary) << input;
    std::ofstream(dataFolder + "void.txt", std::ios::binary) << "";
    std::ofstream(dataFolder + "void.txt.fix", std::ios::binary) << "an old output\r\n";
    for (const char* name : {"uscf.txt", "void.txt"}) {
        ChooseFile(dataFolder + name);
        WkMenuActivateItem(MainWindow.uscfConversionItem);
    }
    EXPECT_EQ(Read(dataFolder + "uscf.txt.fix"), output);
    EXPECT_EQ(Read(dataFolder + "void.txt.fix"), "");
    AnswerText("The file cannot be created.\n" + dataFolder + "no such folder/players.csv", 0);
    EXPECT_FALSE(WritePlayersExport(dataFolder + "no such folder/players.csv"));

    for (ColumnFilterSlot& s : ColumnFilter) s = {0, 0};
    ColumnFilter[NameColumn] = {1, 0};
    ColumnFilter[IdCodeColumn] = {1, 40};
    ColumnFilter[RatingColumn] = {1, 65};
    Choose(dataFolder + "uscf.txt.fix", 3);
    Search("smith");
    WkListSelectItem(DatabasePage.list, 0);
    Press(0x1C, '\r');
    EXPECT_EQ(Listed(PlayersPage.playerList),
              std::vector<std::string>{"SMITH  JOHN                   0  1850   --  ---  1   00.00.00          0  12345678   0  m"});
    Search("sam ");
    SavePng(MainWindow.window, "database-page.png");
}

} // namespace
} // namespace tmt
