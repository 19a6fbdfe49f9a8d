// Reopening the registration as one step on disk, killed or refused at each
// of its steps; a round file kept aside taken in again only onto the players
// it was played by; the question before a round file under the tournament's
// name is written over; no player deleted that the form does not show.
#include "support/tourman_driver.h"
#include "support/tournament_state.h"
#include "tests/support/file_bytes.h"
#include "tests/support/file_steps.h"
#include "tests/support/power_cut.h"
#include "tests/support/recording_message_box.h"

#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/list.h"
#include "tourman/commands/extras_commands.h"
#include "tourman/commands/round_commands.h"
#include "tourman/commands/save_tournament.h"
#include "tourman/commands/tournament_commands.h"
#include "tourman/pages/players/players_widgets.h"
#include "tourman/pages/results/result_entry.h"
#include "tournament/files/host_files.h"
#include "tournament/game_code.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"
#include "tournament/start_tournament.h"

#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>

namespace fs = std::filesystem;

namespace tmt {
namespace {

using Files = std::map<std::string, std::string>;

class ReopenRegistrationTest : public TourmanTest {
  protected:
    // "cup": ten players, FIDE Dubov of four rounds, the given rounds
    // closed (White wins every board) and the tournament saved.
    void ClosedRounds(int rounds) {
        ASSERT_TRUE(Start());
        Settings.PairingSystem = FideDubovSystem;
        Settings.PlannedRounds = 4;
        std::strcpy(Settings.BaseName, "cup");
        for (int i = 0; i < 10; ++i) AddTestPlayer("PLAYER " + std::string(1, char('A' + i)), 2400 - 50 * i);
        ClosedRegistration = 1;
        TournamentChanged();
        Answer(MsgPairingNumbersQuestion, 0);
        Answer(MsgTopSeedWhiteQuestion, 1);
        ASSERT_TRUE(StartTournament(PlayerCount));
        for (int round = 1; round <= rounds; ++round) {
            if (round > 1) PairRoundCommand();
            AcceptPairing();
            ResultEntryToggle(true);
            for (int board = 1; board <= RoundBoardCount(round); ++board)
                GameTable(board, round) = GameTable(board, round) / 10 * 10 + WhiteWins;
            ResultEntryToggle(false);
            Flush();
        }
        ASSERT_TRUE(CurrentRound == rounds && IsGetResultDone == 1 && SaveTournament());
    }

    Files Folder() {
        const auto files = Snapshot(dataFolder);
        return Files(files.begin(), files.end());
    }
    // The data folder holds these files and no other.
    void PutFolder(const Files& files) {
        for (const fs::directory_entry& e : fs::directory_iterator(dataFolder)) fs::remove(e.path());
        for (const auto& [name, bytes] : files) WriteFileBytes(dataFolder + name, bytes);
    }

    // Where the tournament stands as it is opened from the folder, by the
    // open of a program that had none open.
    std::string Opened() {
        RecordingMessageBox boxes;
        if (!OpenTournament(dataFolder + "cup.qon"))
            return "refused: " + (boxes.alerts.empty() ? std::string() : boxes.alerts[0].text);
        std::string state = "closed " + std::to_string(ClosedRegistration) + " round " + std::to_string(CurrentRound);
        if (PlayerCount != 10) state += " players " + std::to_string(PlayerCount);
        for (const auto& alert : boxes.alerts) state += " | " + alert.text;
        return state;
    }

    // The reopen's command with both questions answered Yes, every box recorded; the folder as the first
    // alert found it, in seen.
    std::string Reopen(const std::function<void(const std::function<void()>&)>& run, Files* seen = nullptr) {
        struct Boxes : RecordingMessageBox {
            std::function<void()> first;
            void alert(const std::string& text, const std::string& caption) override {
                if (alerts.empty() && first) first();
                RecordingMessageBox::alert(text, caption);
            }
        } boxes;
        if (seen) boxes.first = [&] { *seen = Folder(); };
        boxes.answers = {1, 1};
        run([] { TournamentMenuCommand(4); });
        std::string said = "closed " + std::to_string(ClosedRegistration) + " round " + std::to_string(CurrentRound) +
                           " rows " + std::to_string(WkListGetCount(PlayersPage.playerList));
        for (const auto& alert : boxes.alerts) said += "\n" + alert.text;
        return said;
    }
};

// Killed before each of its steps on disk, with that step refused, or cut off
// there by a power cut (the folder as the disk then holds it), the reopen
// leaves a folder that opens as before it (round 2, its round file and
// snapshots in place) or as after it (the registration open, the rounds and
// their snapshots kept aside, no round file left beside): never refused for a
// missing file, every file as one state or the other has it, nothing of the
// change left once opened. A refusal says so, and the folder is back as it was
// before any box shows.
TEST_F(ReopenRegistrationTest, KilledOrRefusedAtEveryStepOpensAsBeforeOrAfter) {
    ClosedRounds(2);
    const Files before = Folder();
    const auto reopen = [this] { return Reopen([](const std::function<void()>& command) { command(); }); };
    std::string done;
    // Every new file is synced before it is put in place, and the folder after.
    const std::vector<std::string> unsynced =
        power_cut::SyncFaults(dataFolder, power_cut::Recorded([&] { done = reopen(); }), "cup");
    EXPECT_TRUE(unsynced.empty()) << unsynced.front();
    const Files after = Folder();
    ASSERT_EQ(done, "closed 0 round 0 rows 10\nThe rounds played are kept in the round file \"cup-reopened.rnd\";\n"
                    "opening the tournament no longer reads them.\n"
                    "The round files \"cup<round>.rnd\" are kept as \"cup-reopened-round<round>.rnd\".");
    const std::string record = after.at("cup-reopened.players");
    EXPECT_EQ(record.substr(0, record.find("PLAYER B")),
              "Players of the rounds kept aside in \"cup-reopened.rnd\", by number\r\n10\r\n"
              "PLAYER A;ITA;00.00.00;M;   ;       0; 2400;       0;    0; 0;1\r\n");
    const std::pair<const char*, const char*> kept[] = {{"cup.rnd", "cup-reopened.rnd"},
                                                        {"cup1.rnd", "cup-reopened-round1.rnd"},
                                                        {"cup2.rnd", "cup-reopened-round2.rnd"}};

    // "before", "after", or what is wrong, once opened (a change found
    // standing finished, or dropped when its files were not whole, and said
    // so); temporary files of a report cut short aside (no reader takes them).
    const auto stands = [&] {
        std::string opened = Opened();
        const std::size_t said = opened.find(" | A change of the files that was stopped ");
        const std::string told = said == std::string::npos ? "" : opened.substr(said + 42);
        opened = opened.substr(0, said);
        if (!told.empty() && !told.starts_with(opened == "closed 1 round 2" ? "could not be finished:" : "has been finished:"))
            return opened + told;
        Files now = Folder();
        std::erase_if(now, [](const auto& file) { return file.first.ends_with(".tmp") && !file.first.starts_with("cup"); });
        const bool wasBefore = opened == "closed 1 round 2";
        if (!wasBefore && opened != "closed 0 round 0") return opened;
        for (const auto& [name, bytes] : now)
            if ((!before.count(name) || before.at(name) != bytes) && (!after.count(name) || after.at(name) != bytes))
                return "mixed: " + name;
        for (const auto& [own, aside] : kept)
            if (now.count(own) != wasBefore || now.count(aside) == wasBefore) return "round file " + std::string(own);
        if (now.count("cup-reopened.players") == wasBefore) return std::string("the players' record");
        return std::string(wasBefore ? "before" : "after");
    };

    int befores = 0, afters = 0;
    for (long step = 0;; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        PutFolder(before);
        ASSERT_EQ(Opened(), "closed 1 round 2");
        if (!file_steps::KilledAt(step, reopen)) break;
        const std::string killed = stands();
        EXPECT_TRUE(killed == "before" || killed == "after") << killed;
        befores += killed == "before";
        afters += killed == "after";

        PutFolder(before);
        ASSERT_EQ(Opened(), "closed 1 round 2");
        Files seen;
        const std::string refused =
            Reopen([step](const auto& command) { file_steps::FailingStep(step, command); }, &seen);
        if (refused.starts_with("closed 0 round 0 rows 10\n")) {
            // A step done another way (a copy where no link is taken, a step tried again) leaves what the
            // reopen leaves.
            EXPECT_TRUE(refused != done || Folder() == after) << "a step refused without a word";
            EXPECT_EQ(refused.find("opened next"), std::string::npos) << "a step refused once is tried again";
            EXPECT_EQ(stands(), "after");
        } else {
            EXPECT_TRUE(refused.starts_with("closed 1 round 2 rows 10\n") && refused.ends_with("nothing changed."))
                << refused;
            EXPECT_TRUE(Folder() == before) << "a refused reopen left the folder changed";
            EXPECT_TRUE(seen == before) << "the folder was put back after the box";
        }
    }
    EXPECT_TRUE(befores > 3 && afters > 10) << befores << " " << afters;

    std::set<Files> cut;
    for (long step = 0;; ++step) {
        SCOPED_TRACE("cut at step " + std::to_string(step));
        PutFolder(before);
        std::optional<power_cut::Cut> disk;
        ASSERT_EQ(Opened(), "closed 1 round 2");
        if (!power_cut::CutAt(dataFolder, step, reopen, disk)) break;
        for (int pass = 0; pass < disk->passes(); ++pass) {
            disk->leave(pass);
            if (!cut.insert(Folder()).second) continue;
            const std::string left = stands();
            EXPECT_TRUE(left == "before" || left == "after") << left << "\n" << disk->pending();
        }
    }
    EXPECT_GT(cut.size(), 100u);
}

// A reopen whose tournament file cannot be put in place once its change
// stands (tried again at once, in vain) says that the change is finished at
// the next open, which finishes it.
TEST_F(ReopenRegistrationTest, AChangeLeftStandingIsFinishedAtTheNextOpen) {
    ClosedRounds(2);
    static std::string refused;
    refused = dataFolder + "cup.qon";
    const HostNames spelling = SetHostNames({[](const std::string& path) {
        return path == refused ? "/nonexistent-folder-of-a-failing-step" + path : path;
    }});
    const std::string said = Reopen([](const std::function<void()>& command) { command(); });
    SetHostNames(spelling);
    EXPECT_NE(said.find("\n" + MessageText(MsgCannotWriteTournamentFile) + "\n" + refused +
                        ": No such file or directory\nThe change is finished when the tournament is opened next.\n"),
              std::string::npos) << said;
    EXPECT_TRUE(Opened().starts_with("closed 0 round 0 | A change of the files that was stopped has been finished:"));
    const Files now = Folder();
    EXPECT_TRUE(!now.count("cup.journal") && !now.count("cup.rnd") && now.count("cup-reopened.rnd"));
}

// A round file kept aside is taken in again only onto the players it was
// played by, the tournament unchanged otherwise; after a reopen the form
// shows no one and no row is selected, so that Delete takes no one.
TEST_F(ReopenRegistrationTest, KeptRoundFileTakenOnlyOntoItsPlayers) {
    ClosedRounds(2);
    ReopenRegistration();
    EXPECT_EQ(WkListGetSelectedItem(PlayersPage.playerList), nullptr);
    Click(PlayersPage.deleteButton);
    EXPECT_TRUE(PlayerCount == 10 && WkListGetCount(PlayersPage.playerList) == 10);

    // The round file chosen, and the reason of its refusal when one is given.
    const auto load = [&](const std::string& name, const std::string& refused = "") {
        const auto files = Snapshot(dataFolder);
        Answer(MsgLeaveOpenTournament, 1);
        ChooseFile(dataFolder + name);
        if (!refused.empty())
            AnswerText(MessageText(MsgCannotReadRoundFile) + "\n" + dataFolder + refused + "\nNothing was loaded.", 0);
        LoadRoundFileCommand();
        EXPECT_TRUE(refused.empty() || (CurrentRound == 0 && OpponentTable(1, 1) == 0 && Snapshot(dataFolder) == files));
    };
    const std::string record = ReadFileBytes(dataFolder + "cup-reopened.players"), other = " were played by ";
    const Player kept[] = {Players[10], Players[11]};
    const struct {
        const char* file;
        void (*change)(std::string& record);
        std::string reason;
    } cases[] = {
        {"cup-reopened.rnd", [](std::string&) { AddTestPlayer("PLAYER K"); },
         "cup-reopened.rnd: its rounds" + other + "10 players, as \"" + dataFolder +
             "cup-reopened.players\" lists them; the tournament has 11"},
        {"cup-reopened-round2.rnd", [](std::string&) { std::strcpy(Players[10].name, "PLAYER Z"); },
         "cup-reopened-round2.rnd: its rounds" + other + "another list of players: player 10 was \"PLAYER J\" (" +
             dataFolder + "cup-reopened.players, line 12), the tournament's player 10 is \"PLAYER Z\""},
        {"cup-reopened.rnd", [](std::string& bytes) { bytes.erase(bytes.rfind("PLAYER J") + 8); },
         "cup-reopened.players, line 12: expected the line of player 10, fields split by ';'"},
        {"cup-reopened-round2.rnd", nullptr, "cup-reopened.players: the file cannot be opened: it is not a regular file"},
    }; // the last: a folder in the record's place
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        std::string bytes = record;
        if (c.change) c.change(bytes), WriteFileBytes(dataFolder + "cup-reopened.players", bytes + "\r\n");
        else fs::remove(dataFolder + "cup-reopened.players"), fs::create_directory(dataFolder + "cup-reopened.players");
        load(c.file, c.reason);
        std::copy(std::begin(kept), std::end(kept), Players + 10);
        PlayerCount = 10;
        fs::remove_all(dataFolder + "cup-reopened.players");
        WriteFileBytes(dataFolder + "cup-reopened.players", record);
    }
    load("cup-reopened.rnd"); // the same players: the rounds come back, also to an open after the save
    EXPECT_TRUE(CurrentRound == 2 && ClosedRegistration == 1 && OpponentTable(1, 1) != 0);
    ASSERT_TRUE(SaveTournament());
    EXPECT_EQ(Opened(), "closed 1 round 2");

    // Reopened again, one player deleted and one added: every game would
    // move one player along.
    Answer(MsgDeleteAllRoundsQuestion, 1);
    Answer(MsgAreYouSure, 1);
    AnswerText("The rounds played are kept in the round file \"cup-reopened2.rnd\";\n"
               "opening the tournament no longer reads them.", 0);
    TournamentMenuCommand(4);
    WkListSelectItem(PlayersPage.playerList, 0);
    Click(PlayersPage.deleteButton);
    WkEditReplaceText(PlayersPage.name, "NEWCOMER", 0, 0);
    Click(PlayersPage.addButton);
    load("cup-reopened2.rnd", "cup-reopened2.rnd: its rounds" + other + "another list of players: player 1 was "
                              "\"PLAYER A\" (" + dataFolder + "cup-reopened2.players, line 3), the tournament's player 1 "
                              "is \"NEWCOMER\"");
}

// The tournament file's saved-round flag lost (1 to 0): the tournament opens
// with its registration open, as its file says; closing it asks before the
// round file is written over, saying what the file holds and that the
// tournament file does not take it in, and claims no other event.
TEST_F(ReopenRegistrationTest, QuestionBeforeTheRoundFileSaysWhatIsKnown) {
    ClosedRounds(2);
    std::string qon = ReadFileBytes(dataFolder + "cup.qon");
    WriteFileBytes(dataFolder + "cup.qon", qon.replace(qon.find("\r\n1\r\n10\r\n") + 2, 1, "0"));
    Answer(MsgLeaveOpenTournament, 1);
    ChooseFile(dataFolder + "cup.qon");
    OpenTournamentCommand();
    ASSERT_TRUE(ClosedRegistration == 0 && CurrentRound == 0 && PlayerCount == 10);
    const struct {
        std::string bytes, held;
    } cases[] = {
        {ReadFileBytes(dataFolder + "cup.rnd"), " with rounds 1 to 2"},
        {" 1 # current round\r\n", " with round 1"},
        {" 0 # current round\r\n", " with no round paired"},
        {"not a round file\r\n", ", which cannot be read as a round file"},
    };
    for (const auto& c : cases) {
        WriteFileBytes(dataFolder + "cup.rnd", c.bytes);
        Answer(MsgCloseRegistrationQuestion, 1);
        AnswerText("The folder already holds the round file \"cup.rnd\"" + c.held +
                       ".\nThis tournament file does not take it in: it says that no round was saved with it.\n"
                       "Closing the registration writes over the round file. Go on?", 0);
        Click(PlayersPage.closeRegistrationButton);
        EXPECT_TRUE(ClosedRegistration == 0 && ReadFileBytes(dataFolder + "cup.rnd") == c.bytes) << c.held;
    }
}

} // namespace
} // namespace tmt
