// A whole small event carried through the program's commands as the arbiter
// carries it: a new tournament, ten players typed into the form, the
// registration closed, three Swiss rounds paired, accepted, keyed and
// closed, some Extras reports, the USCF section file and a save. The data
// folder it leaves must match the reference folder kept with the tests
// (golden/event/) file by file and byte for byte, so that a change meant to
// move code only shows at once if it changed a file the program writes.
//
// Nothing is left out of the comparison: the event's dates are typed, no
// report that reads the clock is asked for, and the one draw the program
// could make is seeded. Run with TM_UPDATE_GOLDEN=1 to rewrite the reference
// after a deliberate change, then read the difference before committing it.
#include "support/tourman_driver.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/menu.h"
#include "toolkit/widgets/menu_bar.h"
#include "tourman/dialogs/uscf_section.h"
#include "tourman/frame/window_frame.h"
#include "tourman/pages/pairing/pairing_widgets.h"
#include "tourman/pages/players/players_widgets.h"
#include "tourman/pages/results/results_widgets.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/random.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace tmt {
namespace {

class WholeEventTest : public TourmanTest {
  protected:
    // The item of the menu bar's title under that label.
    void Pick(int title, const std::string& label) {
        WkMenuItem* item = FindMenuItem(WkMenuBarRecord(MainWindow.menuBar)->titles[title].menu, label);
        ASSERT_NE(item, nullptr) << label;
        WkMenuActivateItem(item);
        Flush();
    }
    // The result keys of the round's boards, by round: wins, losses, draws
    // typed as "5" and as "x", forfeits won, lost and by both.
    static std::string Keys(int round) {
        static const char* const keys[] = {"10x05", "0x152", "3104x"};
        return keys[round - 1];
    }
    void KeyResults(int round) {
        WkFormSetPage(MainWindow.notebook, 2);
        Flush();
        Click(ResultsPage.resultsToggle);
        for (int board = 1; board <= RoundBoardCount(round); ++board) {
            WkObjectSetFocus(ResultsPage.boardField);
            WkEditReplaceText(ResultsPage.boardField, "", 0, 0);
            Type(std::to_string(board));
            Press(0x1C, 0x0D);
            WkObjectSetFocus(ResultsPage.resultKeyField);
            Type(Keys(round).substr(std::size_t(board - 1), 1));
        }
        Click(ResultsPage.resultsToggle); // closes the round
    }
};

TEST_F(WholeEventTest, DataFolderMatchesTheReference) {
    ASSERT_TRUE(Start());
    SeedRandom(76); // the program seeds from the clock; any draw must come out the same each run
    NewClubCup("club");
    const char* const names[] = {"ROSSI MARCO", "BIANCHI LUCA", "VERDI ANNA",  "NERI PAOLO", "GALLI SARA",
                                 "CONTI ELENA", "RICCI PIETRO", "MARINO GINO", "GRECO LISA", "BRUNO ENZO"};
    const int ratings[] = {2210, 1985, 2340, 1760, 2105, 1890, 2050, 1655, 1930, 2275};
    for (int i = 0; i < 10; ++i) {
        Fill(PlayersPage.name, names[i]);
        Fill(PlayersPage.fideRating, std::to_string(ratings[i]));
        Click(PlayersPage.addButton);
    }
    ASSERT_EQ(PlayerCount, 10);
    Answer(MsgCloseRegistrationQuestion, 1);
    Answer(MsgPairingNumbersQuestion, 0);
    Answer(MsgTopSeedWhiteQuestion, 1);
    Click(PlayersPage.closeRegistrationButton);
    ASSERT_EQ(CurrentRound, 1);

    for (int round = 1; round <= 3; ++round) {
        SCOPED_TRACE(round);
        WkFormSetPage(MainWindow.notebook, 1);
        Flush();
        if (round > 1) Click(PairingPage.pairButton);
        ASSERT_EQ(CurrentRound, round);
        Click(PairingPage.acceptButton);
        ASSERT_EQ(IsPairingDone, 1);
        KeyResults(round);
        ASSERT_EQ(IsGetResultDone, 1);
    }

    // Some Extras reports, each confirmed once written.
    const std::pair<std::string, std::string> reports[] = {
        {MessageText(MsgFideFilesByStandings), "OK files FIDEELO.TXT, FIDECARD.TXT, FIDECROS.TXT"},
        {MessageText(MsgListByName), "OK file PLAYNAME.TXT"},
        {MessageText(MsgListByRating), "OK file PLAYRAT.TXT"},
        {MessageText(MsgTournamentStatistics), "OK file TOURSTAT.TXT"},
        {"FSI (Italy)", "OK file report *.ELO"},
    };
    for (const auto& [label, confirmation] : reports) {
        AnswerText(confirmation, 0);
        Pick(1, label);
    }
    Pick(1, "USCF (USA)");
    ASSERT_NE(UscfSection.window, nullptr);
    Fill(UscfSection.fields[4], "12345678");
    Fill(UscfSection.fields[5], "87654321");
    Fill(UscfSection.fields[9], "20260501");
    Fill(UscfSection.fields[10], "20260503");
    Click(UscfSection.doneButton);
    ASSERT_EQ(UscfSection.window, nullptr);
    WkMenuActivateItem(MainWindow.saveItem);
    Flush();

    const std::string reference = TM_TEST_SOURCE_DIR "/tourman/golden/event";
    if (std::getenv("TM_UPDATE_GOLDEN")) {
        std::filesystem::remove_all(reference);
        std::filesystem::copy(dataFolder, reference);
        std::ofstream(reference + "/.gitattributes", std::ios::binary)
            << "# Compared byte for byte: CR LF line ends and Windows-1252 bytes stay as stored.\n* -text\n";
        return;
    }
    // The names first, then each file's bytes, so that a failure names the file.
    std::vector<std::pair<std::string, std::string>> written = Snapshot(dataFolder),
                                                     expected = Snapshot(reference);
    std::erase_if(expected, [](const auto& file) { return file.first == ".gitattributes"; });
    std::vector<std::string> writtenNames, expectedNames;
    for (const auto& file : written)
        writtenNames.push_back(file.first);
    for (const auto& file : expected)
        expectedNames.push_back(file.first);
    EXPECT_EQ(writtenNames, expectedNames) << "the files of " << dataFolder;
    const std::map<std::string, std::string> bytesOf(expected.begin(), expected.end());
    for (const auto& [name, bytes] : written) {
        const auto found = bytesOf.find(name);
        if (found == bytesOf.end()) continue;
        EXPECT_TRUE(bytes == found->second) << dataFolder << name << " differs from the reference";
    }
}

} // namespace
} // namespace tmt
