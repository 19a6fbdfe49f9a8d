// The settings dialog driven as the arbiter drives it: a new tournament,
// the refusals, a change once the registration is closed, and the export.
#include "support/tourman_driver.h"
#include "tests/support/file_bytes.h"
#include "tests/support/tournament_state.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/list.h"
#include "tourman/commands/export_tournament.h"
#include "tourman/commands/tournament_commands.h"
#include "tourman/dialogs/settings_dialog.h"
#include "tourman/pages/players/players_widgets.h"
#include "tournament/files/line_reader.h"
#include "tournament/files/player_list_row.h"
#include "tournament/files/tournament_file.h"
#include "tournament/message_table.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace tmt {
namespace {

class SettingsDialogTest : public TourmanTest {
  protected:
    void SetUp() override {
        TourmanTest::SetUp();
        TournamentOpen = 0;
    }

    static std::string Text(WkObject* field) { return WkEditGetText(field); }
    // Opens the drop-down with a click and takes its entry at position.
    void Choose(WkObject* combo, int position) {
        Click(combo);
        Press(0x47); // Home
        for (int i = 0; i < position; ++i) Press(0x50); // Down
        Press(0x1C, 0x0D);                                // Enter
    }
    // Everything the settings hold, as one text.
    static std::string Described() {
        const TournamentSettings& s = Settings;
        std::string text = std::string(s.Name) + "|" + s.Place + "|" + s.BeginDate + "|" + s.EndDate + "|" +
                           s.Arbiter + "|" + s.BaseName + "|" + s.DataFolder + "|";
        for (int v : s.TieBreakOrder) text += std::to_string(v) + " ";
        for (int v : {s.PairingSystem, s.PlannedRounds, s.AcceleratedRounds, s.RatingChoice})
            text += std::to_string(v) + " ";
        return text + std::to_string(s.ScoreSystem.win) + " " + std::to_string(s.ScoreSystem.draw);
    }
    void OpenTournament() {
        for (auto [field, text] : {std::pair{Settings.Name, "Spring Open"}, {Settings.Place, "Milano"},
                                   {Settings.BeginDate, "01042026"}, {Settings.EndDate, "05042026"},
                                   {Settings.Arbiter, "Rossi"}, {Settings.BaseName, "open"}})
            std::strcpy(field, text);
        Settings.PlannedRounds = 5;
        TournamentOpen = 1;
    }
};

TEST_F(SettingsDialogTest, NewTournamentTypedInWritesItsEmptyFile) {
    ASSERT_TRUE(Start());
    // The form starts cleared, and a new tournament clears it again.
    EXPECT_EQ(Text(PlayersPage.title) + Text(PlayersPage.kFactor), "NC30");
    WkEditReplaceText(PlayersPage.title, "GM", 0, 0);
    Settings.PlannedRounds = 5;
    Settings.AcceleratedRounds = 2;
    AddTestPlayer("OLD", 1500); // a tournament under way: nothing of it stays
    SetTestBoard(2, 1, 1, 0, 1);
    SetCurrentRound(2);
    OpenSettingsDialog(NewTournamentKind);
    SettingsFields& f = SettingsDialog;
    EXPECT_EQ(Text(f.rounds) + Text(f.acceleratedRounds), "90");
    for (auto [field, text] : {std::pair{f.name, "Autumn Cup"}, {f.place, "Pisa"}, {f.beginDate, "011026"},
                               {f.endDate, "05102026"}, {f.arbiter, "Bianchi"}})
        Fill(field, text);
    Choose(f.pairingSystem, 3);
    Fill(f.rounds, "7");
    Choose(f.scoreSystem, 3);
    Choose(f.acceleratedRounds, 1);
    // The order starts 1, 2: untick 1, tick 4 and 9, move 9 above 4.
    for (int code : {1, 4, 9}) Click(f.tieBreaks[code]);
    WkListSelectItem(f.tieBreakOrder, 2);
    WkObjectSetFocus(f.tieBreakOrder);
    Press(0x48, 0, plat::kAlt); // Alt+Up
    std::filesystem::create_directory(dataFolder + "autumn");
    WkEditReplaceText(f.dataFolder, (dataFolder + "autumn").c_str(), 0, 0);
    Fill(f.baseName, "autumn");
    Click(f.ratingChoice);
    SavePng(f.window, "new.png");
    Click(f.okButton);
    EXPECT_EQ(SettingsDialog.window, nullptr);
    EXPECT_EQ(Text(PlayersPage.title) + Text(PlayersPage.kFactor), "NC30");
    EXPECT_EQ(PlayerCount + CurrentRound + GameTable(1, 2), 0);
    const std::string stored = Described();
    EXPECT_EQ(stored, "Autumn Cup|Pisa|011026  |05102026|Bianchi|autumn|" + dataFolder +
                          "autumn/|2 9 4 0 0 0 0 0 0 0 4 7 1 0 3.000000 1.000000");
    ResetSettings();
    ASSERT_TRUE(ReadTournamentFile(dataFolder + "autumn/autumn.qon"));
    CopyField(Settings.DataFolder, dataFolder + "autumn/");
    EXPECT_EQ(Described(), stored);
}

// The typed base name is the program's letters; on disk the file's name is UTF-8.
TEST_F(SettingsDialogTest, AccentedBaseNameIsAUtf8NameOnDisk) {
    ASSERT_TRUE(Start());
    OpenSettingsDialog(NewTournamentKind);
    SettingsFields& f = SettingsDialog;
    for (auto [field, text] : {std::pair{f.name, "Z\xFCrich Open"}, {f.place, "Z\xFCrich"}, {f.beginDate, "01102026"},
                               {f.endDate, "05102026"}, {f.arbiter, "M\xFCller"}, {f.baseName, "Z\xFC" "1"}})
        Fill(field, text);
    WkEditReplaceText(f.dataFolder, dataFolder.c_str(), 0, 0);
    Click(f.okButton);
    EXPECT_EQ(SettingsDialog.window, nullptr);
    EXPECT_TRUE(std::filesystem::is_regular_file(dataFolder + "Z\xC3\xBC" "1.qon"));
    ResetSettings();
    ASSERT_TRUE(ReadTournamentFile(dataFolder + "Z\xFC" "1.qon"));
    EXPECT_STREQ(Settings.Arbiter, "M\xFCller");
}

// File > New keeps the last tournament's texts: the dialog opens on the
// name ready to be typed over, and Tab and Shift+Tab reach each text so, up
// to the file.
TEST_F(SettingsDialogTest, PrefilledTextsAreTypedOverFromTheKeyboard) {
    ASSERT_TRUE(Start());
    OpenTournament();
    std::strcpy(Settings.Place, "Bern");
    std::strcpy(Settings.Arbiter, "Hans Arbiter");
    TournamentOpen = 0;
    OpenSettingsDialog(NewTournamentKind);
    Flush();
    SettingsFields& f = SettingsDialog;
    ASSERT_EQ(WkFormGetFocus(f.window), f.name);
    constexpr std::uint8_t kTab = 0x0F;
    struct Step {
        int tabs; // Tab presses before typing; negative: Shift+Tab
        const char* typed;
    };
    for (const Step& step : {Step{0, "Zug"}, Step{1, "Thun"}, Step{1, "02052026"}, Step{2, "Eva Keller"},
                             Step{-1, "04052026"}}) {
        for (int i = 0; i < std::abs(step.tabs); ++i) Press(kTab, 9, step.tabs < 0 ? plat::kShift : 0);
        Type(step.typed);
    }
    Fill(f.baseName, "zug");
    WkEditReplaceText(f.dataFolder, dataFolder.c_str(), 0, 0);
    Click(f.okButton);
    ASSERT_EQ(SettingsDialog.window, nullptr);
    ResetSettings();
    ASSERT_TRUE(ReadTournamentFile(dataFolder + "zug.qon"));
    EXPECT_EQ(std::string(Settings.Name) + "|" + Settings.Place + "|" + Settings.BeginDate + "|" + Settings.EndDate +
                  "|" + Settings.Arbiter,
              "Zug|Thun|02052026|04052026|Eva Keller");
}

TEST_F(SettingsDialogTest, RefusalsChangeNothing) {
    ASSERT_TRUE(Start());
    OpenTournament();
    std::ofstream(dataFolder + "open.qon") << "another tournament";
    const std::string before = Described();
    const auto files = Snapshot(dataFolder);
    const struct {
        WkObject* SettingsFields::*field;
        const char *refused, *passes;
        int message;
    } cases[] = {
        {&SettingsFields::name, "A", "AB", MsgEnterTournamentName},
        {&SettingsFields::place, "P", "Pi", MsgEnterPlace},
        {&SettingsFields::beginDate, "1", "010426", MsgEnterDates},
        {&SettingsFields::endDate, "1", "050426", MsgEnterDates},
        {&SettingsFields::arbiter, "R", "Ro", MsgEnterArbiter},
        {&SettingsFields::rounds, "0", "1", MsgPlannedRoundsRange},
        {&SettingsFields::rounds, "21", "20", MsgPlannedRoundsRange},
        {&SettingsFields::dataFolder, "/", "/d/", MsgEnterDataFolder},
        {&SettingsFields::baseName, "o", "ne", MsgEnterFileName},
    };
    for (const auto& c : cases) {
        OpenSettingsDialog(NewTournamentKind);
        WkObject* field = SettingsDialog.*c.field;
        WkEditReplaceText(field, c.refused, 0, 0);
        Answer(c.message, 0);
        Click(SettingsDialog.okButton);
        EXPECT_NE(SettingsDialog.window, nullptr) << c.refused;
        EXPECT_EQ(WkFormGetFocus(SettingsDialog.window), field) << c.refused; // the user goes on there
        EXPECT_EQ(Described(), before) << c.refused;
        Type(c.passes); // over the refused text, selected (the folder is chosen, not typed)
        if (c.field == &SettingsFields::dataFolder) WkEditReplaceText(field, c.passes, 0, 0);
        EXPECT_EQ(Text(field), c.passes);
        TournamentSettings s = Settings;
        EXPECT_TRUE(ReadSettingsFields(s, NewTournamentKind)) << c.passes;
    }
    // A round robin plays its schedule, whatever the rounds field says.
    for (const char* system : {"2: Round Robin S", "5: Round Robin D"})
        for (const char* rounds : {"0", "21"}) {
            WkEditReplaceText(SettingsDialog.pairingSystem, system, 0, 0);
            WkEditReplaceText(SettingsDialog.rounds, rounds, 0, 0);
            TournamentSettings s = Settings;
            EXPECT_TRUE(ReadSettingsFields(s, NewTournamentKind)) << system << rounds;
        }
    // The open tournament's own file is never made over.
    OpenSettingsDialog(NewTournamentKind);
    AnswerText(FileExistsText, 0);
    Click(SettingsDialog.okButton);
    EXPECT_EQ(WkFormGetFocus(SettingsDialog.window), SettingsDialog.baseName);
    EXPECT_EQ(Described(), before);
    EXPECT_EQ(Snapshot(dataFolder), files);
    Click(SettingsDialog.closeButton);
    EXPECT_EQ(SettingsDialog.window, nullptr);
}

// Only real days, day first, the end not before the begin; each refusal
// names its field and writes nothing. A stored date shows without its padding.
TEST_F(SettingsDialogTest, DatesAreRealDaysInOrder) {
    ASSERT_TRUE(Start());
    OpenTournament();
    std::strcpy(Settings.BaseName, "other");
    std::strcpy(Settings.EndDate, "050426  ");
    const auto files = Snapshot(dataFolder);
    const struct {
        const char *begin, *end, *alert;
        WkObject* SettingsFields::*refused; // where the user goes on
    } cases[] = {
        {"0104202", "050426", "\"Begin date\" needs a date: DDMMYYYY", &SettingsFields::beginDate},
        {"29022025", "050426", "\"Begin date\" is not a day of the calendar: 29022025", &SettingsFields::beginDate},
        {"01042026", "31042026", "\"End date\" is not a day of the calendar: 31042026", &SettingsFields::endDate},
        {"01.04.26", "310326", "\"End date\" lies before \"Begin date\"", &SettingsFields::endDate},
        {"29022024", "290224", "", nullptr}, // a leap day, both ways of writing it: written
    };
    for (const auto& c : cases) {
        OpenSettingsDialog(NewTournamentKind);
        EXPECT_EQ(Text(SettingsDialog.endDate), "050426");
        WkEditReplaceText(SettingsDialog.beginDate, c.begin, 0, 0);
        WkEditReplaceText(SettingsDialog.endDate, c.end, 0, 0);
        if (*c.alert) AnswerText(c.alert, 0);
        Click(SettingsDialog.okButton);
        EXPECT_EQ(Snapshot(dataFolder) == files, *c.alert != 0) << c.begin;
        if (c.refused) {
            EXPECT_EQ(WkFormGetFocus(SettingsDialog.window), SettingsDialog.*c.refused) << c.begin;
        }
    }
}

TEST_F(SettingsDialogTest, ModifyOnceTheRegistrationIsClosed) {
    ASSERT_TRUE(Start());
    Answer(MsgNeedsStartedTournament, 0);
    TournamentSettingsCommand();
    EXPECT_EQ(SettingsDialog.window, nullptr);
    OpenTournament();
    ClosedRegistration = 1;
    SetCurrentRound(3);
    Settings.ScoreSystem = {2.0f, 1.5f}; // none of the four entries: offered as a fifth and kept
    const struct {
        const char *system, *rounds;
        bool flipRating;
        std::string alert;
        int storedSystem;
        WkObject* SettingsFields::*refused = nullptr; // where the user goes on
    } cases[] = {
        {"2: Round Robin S", "5", false, "Pairing system: This cannot be changed once the registration is closed.", 1,
         &SettingsFields::pairingSystem},
        {"1: Swiss Dubov", "5", true, "FIDE rating: This cannot be changed once the registration is closed.", 1,
         &SettingsFields::ratingChoice},
        {"3: Swiss Quon", "2", false, "Round 3 is paired already: the planned rounds cannot be fewer than 3.",
         1, &SettingsFields::rounds},
        {"6: Swiss Burstein", "3", false, "The swiss system you was using has been changed!", 6},
    };
    for (const auto& c : cases) {
        TournamentSettingsCommand();
        ASSERT_EQ(Text(SettingsDialog.rounds), "5");
        WkEditReplaceText(SettingsDialog.pairingSystem, c.system, 0, 0);
        WkEditReplaceText(SettingsDialog.rounds, c.rounds, 0, 0);
        if (c.flipRating) Click(SettingsDialog.ratingChoice);
        if (c.storedSystem == 6) SavePng(SettingsDialog.window, "modify.png");
        AnswerText(c.alert, 0);
        TournamentMatchesFile();
        Click(SettingsDialog.okButton);
        EXPECT_EQ(Settings.PairingSystem, c.storedSystem) << c.system;
        EXPECT_EQ(TournamentSaved, c.storedSystem == 6 ? 0 : 1) << c.system;
        if (c.refused) {
            EXPECT_EQ(WkFormGetFocus(SettingsDialog.window), SettingsDialog.*c.refused) << c.system;
        }
        if (SettingsDialog.window) Click(SettingsDialog.closeButton);
    }
    EXPECT_EQ(Settings.PlannedRounds, 3);
    EXPECT_EQ(Settings.RatingChoice, 1);
    EXPECT_EQ(Settings.ScoreSystem.win + Settings.ScoreSystem.draw, 3.5f);
}

// The registration reopened: the rounds go, the file is written and read
// back into the list, and the players page takes players again.
TEST_F(SettingsDialogTest, ReopenedRegistrationDropsTheRounds) {
    ASSERT_TRUE(Start());
    OpenTournament();
    for (const char* name : {"ALFA", "BETA", "GAMMA", "DELTA", "ECO", "FOX"}) AddTestPlayer(name, 2000);
    ClosedRegistration = IsPairingDone = 1;
    SetCurrentRound(1);
    for (int board = 1; board <= 3; ++board) SetTestBoard(1, board, board, board + 3, 1);
    WkObjectDisable(PlayersPage.closeRegistrationButton);
    WkEditReplaceText(PlayersPage.name, "HALF TYPED", 0, 0);
    ASSERT_TRUE(WriteTournamentFileAt(TournamentFilePath(0), Settings, {1, 2, 3, 4, 5, 6}));
    BackToOpenRegistration(0);
    EXPECT_EQ(Text(PlayersPage.name), "");
    EXPECT_EQ(CurrentRound + ClosedRegistration + IsPairingDone, 0);
    EXPECT_EQ(GameTable(1, 1), 0);
    EXPECT_EQ(PlayerCount, 6);
    EXPECT_EQ(WkListGetCount(PlayersPage.playerList), 6);
    EXPECT_TRUE(WkObjectIsSensitive(PlayersPage.closeRegistrationButton));
    EXPECT_EQ(Lines(ReadFileBytes(dataFolder + "open.qon"))[10], "6");
}

TEST_F(SettingsDialogTest, ExportTakesTheRatingRange) {
    ASSERT_TRUE(Start());
    OpenTournament();
    const struct {
        const char* name;
        int fide, national;
    } rated[] = {{"ALFA", 1800, 0}, {"BETA", 2000, 0}, {"GAMMA", 0, 1900}, {"DELTA", 2200, 1700}, {"ECO", 1500, 1500}};
    for (const auto& r : rated) {
        Player& p = Players[AddTestPlayer(r.name, r.fide)];
        p.nationalRating = r.national;
        WkListAddItem(PlayersPage.playerList, PlayerListRow(p, 0).c_str(), 0);
        p.fideRating = p.nationalRating = 0; // the list holds them until it is committed
    }
    const std::string before = Described();
    const struct {
        const char *base, *low, *high;
        int list, count;
    } cases[] = {
        {"fide", "1800", "2000", 1, 2},   // Alfa, Beta
        {"nat", "1800", "2000", 0, 1},    // Gamma
        {"either", "1800", "2000", 2, 3}, // Alfa, Beta, Gamma
        {"none", "2500", "3000", 2, 0},
    };
    for (const auto& c : cases) {
        ExportTournamentCommand();
        SettingsFields& f = SettingsDialog;
        ASSERT_EQ(Text(f.ratingList), "Either");
        WkEditReplaceText(f.baseName, c.base, 0, 0);
        WkEditReplaceText(f.name, c.base, 0, 0);
        WkEditReplaceText(f.lowestRating, c.low, 0, 0);
        WkEditReplaceText(f.highestRating, c.high, 0, 0);
        Choose(f.ratingList, c.list);
        if (c.count == 3) SavePng(f.window, "export.png");
        AnswerText("Exported\n" + std::to_string(c.count) + " players", 0);
        Click(f.okButton);
        EXPECT_EQ(SettingsDialog.window, nullptr) << c.base;
    }
    // A name taken, a folder that cannot be written: refused, nothing written.
    const auto files = Snapshot(dataFolder);
    ExportTournamentCommand();
    WkEditReplaceText(SettingsDialog.baseName, "fide", 0, 0);
    AnswerText(FileExistsText, 0);
    Click(SettingsDialog.okButton);
    WkEditReplaceText(SettingsDialog.dataFolder, (dataFolder + "gone/").c_str(), 0, 0);
    AnswerText(MessageText(MsgCannotWriteTournamentFile) + "\n" + dataFolder + "gone/fide.qon", 0);
    Click(SettingsDialog.okButton);
    ASSERT_NE(SettingsDialog.window, nullptr);
    Click(SettingsDialog.closeButton);
    EXPECT_EQ(Snapshot(dataFolder), files);
    EXPECT_EQ(Described(), before);
    EXPECT_EQ(PlayerCount, 5);

    ASSERT_TRUE(ReadTournamentFile(dataFolder + "either.qon"));
    EXPECT_STREQ(Settings.Name, "either");
    EXPECT_EQ(Settings.PlannedRounds, 9);
    ASSERT_EQ(PlayerCount, 3);
    for (int id = 1; id <= 3; ++id) EXPECT_EQ(std::string(Players[id].name).find(rated[id - 1].name), 0u);
    EXPECT_EQ(Snapshot(dataFolder).size(), 4u);
}

} // namespace
} // namespace tmt
