// The commands that change several files at once, stopped at each of their
// steps on disk, killed, with the step refused or by a power cut: the close of the
// registration, the acceptance of a round, the close of its results and the
// save of a late entry (its tournament file and round-state file). A
// fresh program opens every folder they leave as it was before the command
// or as it is after it. And an open of a tournament saved at any stage
// writes nothing.
#include "support/tourman_driver.h"
#include "tests/support/file_bytes.h"
#include "tests/support/file_steps.h"
#include "tests/support/power_cut.h"

#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/toggle.h"
#include "tourman/commands/round_commands.h"
#include "tourman/commands/save_tournament.h"
#include "tourman/commands/tournament_commands.h"
#include "tourman/frame/window_frame.h"
#include "tourman/pages/players/players_widgets.h"
#include "tourman/pages/results/results_widgets.h"
#include "tournament/files/line_reader.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <set>

namespace fs = std::filesystem;

namespace tmt {
namespace {

using Files = std::vector<std::pair<std::string, std::string>>;
constexpr const char* RoundRobin = "2: Round Robin S";

class OneStepTest : public TourmanTest {
  protected:
    // "cup", ten players typed in and saved, the registration open.
    void Registered(const char* system = nullptr) {
        ASSERT_TRUE(Start());
        NewClubCup("cup", system);
        for (int i = 0; i < 10; ++i)
            TypedIn(i);
        ASSERT_TRUE(SaveTournament());
    }
    // "PLAYER <letter i>" typed in and added.
    void TypedIn(int i) {
        Click(PlayersPage.clearButton);
        WkEditReplaceText(PlayersPage.name, ("PLAYER " + std::string(1, char('A' + i))).c_str(), 0, 0);
        WkEditReplaceText(PlayersPage.fideRating, std::to_string(1500 + i * 7 % 10 * 50).c_str(), 0, 0);
        Click(PlayersPage.addButton);
    }
    void CloseAnswers() {
        Answer(MsgCloseRegistrationQuestion, 1);
        Answer(MsgPairingNumbersQuestion, 0);
        if (!IsRoundRobin()) Answer(MsgTopSeedWhiteQuestion, 1);
    }
    void CloseRegistrationClicked() {
        CloseAnswers();
        Click(PlayersPage.closeRegistrationButton);
    }
    // Every board of the current round given a result (the entry open), not saved.
    void Keyed() {
        if (!WkToggleGetState(ResultsPage.resultsToggle)) Click(ResultsPage.resultsToggle);
        for (int b = 1; b <= RoundBoardCount(CurrentRound); ++b)
            GameTable(b, CurrentRound) = GameTable(b, CurrentRound) / 10 * 10 + b % 2;
    }
    void CloseResults() { Click(ResultsPage.resultsToggle); }
    void Accept() {
        if (!IsRoundRobin()) AcceptPairing();
        Flush();
    }
    // A fresh program opens the folder's "cup.qon" (saying so of a round
    // waiting for its results, and of nothing else); what it then holds.
    std::string Opened(const Files& files) {
        Restart(files);
        ChooseFile(dataFolder + "cup.qon");
        // A change whose record stands whole is finished, and said so.
        for (const auto& [name, bytes] : files)
            if (name == "cup.journal" && bytes.find("\nwhole\t") != std::string::npos)
                AnswerText("A change of the files that was stopped has been finished:\n", 0);
        Answer(MsgResultsNotComplete, 0);
        OpenTournamentCommand();
        Flush();
        script.clear();
        std::string held = std::to_string(ClosedRegistration) + std::to_string(CurrentRound) +
                           std::to_string(IsPairingDone) + std::to_string(IsGetResultDone);
        for (int id = 1; id <= PlayerCount; ++id) held += " " + ShownName(id);
        for (int round = 1; round <= CurrentRound; ++round)
            for (int board = 0; board <= RoundBoardCount(round); ++board) held += " " + std::to_string(GameTable(board, round));
        return held;
    }

    // Runs the command stopped before each of its steps on disk, killed,
    // with the step refused and cut off by a power cut (the
    // folder then as the disk holds it: only what was synced, then with each
    // subset of the name steps not yet synced), in child processes (a few at
    // once, each in a copy of the folder of its own) whose output goes
    // nowhere (their boxes are not this test's); then whole here. Every
    // folder left must open as the one before or the one after, its own
    // files (the tournament file, the round-state file and the snapshots)
    // then those of that state, nothing of the change left beside them; one
    // that opens as before holds the reports of before (the copies of killed
    // writers aside): no report shows what the tournament's files do not
    // hold.
    enum class Stop { Kill, Refuse, PowerCut };
    void OpensAsBeforeOrAfter(const std::function<void()>& queueAnswers, const std::function<void()>& command) {
        const Files before = Snapshot(dataFolder);
        std::vector<Files> left;
        long cuts = 0;
        for (Stop stop : {Stop::Kill, Stop::Refuse, Stop::PowerCut}) {
            const int stopped = stop == Stop::Refuse ? 78 : 77;
            bool more = true;
            for (long first = 0; more; first += 4) {
                std::vector<std::pair<pid_t, std::string>> children;
                std::vector<std::unique_ptr<power_cut::Log>> logs;
                for (long step = first; step < first + 4; ++step) {
                    const std::string folder = dataFolder.substr(0, dataFolder.size() - 5) + std::to_string(step) + "/";
                    fs::remove_all(folder);
                    fs::create_directory(folder);
                    for (const auto& [name, bytes] : before) std::ofstream(folder + name, std::ios::binary) << bytes;
                    queueAnswers();
                    logs.push_back(std::make_unique<power_cut::Log>());
                    const pid_t child = fork();
                    if (child == 0) {
                        const int null = open("/dev/null", O_WRONLY);
                        dup2(null, 1);
                        dup2(null, 2);
                        CopyField(Settings.DataFolder, folder);
                        if (stop != Stop::Refuse) {
                            if (stop == Stop::PowerCut) logs.back()->record();
                            file_steps::Counting counting(step, true); // ends the child with 77 at the step
                            command();
                            _exit(0);
                        }
                        _exit(file_steps::FailingStep(step, command) ? 78 : 0);
                    }
                    script.clear();
                    children.emplace_back(child, folder);
                }
                for (std::size_t i = 0; i < children.size(); ++i) {
                    const auto& [child, folder] = children[i];
                    int status = 0;
                    ASSERT_EQ(waitpid(child, &status, 0), child);
                    if (!WIFEXITED(status) || WEXITSTATUS(status) != stopped) {
                        more = false;
                    } else if (stop != Stop::PowerCut) {
                        left.push_back(Snapshot(folder));
                    } else {
                        const power_cut::Cut cut(folder, power_cut::Files(before.begin(), before.end()),
                                                 logs[i]->events());
                        for (int pass = 0; pass < cut.passes(); ++pass) {
                            cut.leave(pass);
                            left.push_back(Snapshot(folder));
                        }
                        cuts += cut.passes() - 1;
                    }
                    fs::remove_all(folder);
                }
            }
        }
        EXPECT_GT(cuts, 0);
        EXPECT_GT(left.size(), 6u);
        queueAnswers();
        // Every new file of the tournament's is synced before it is put in place, and the folder after.
        const std::vector<power_cut::Event> steps = power_cut::Recorded([&] {
            command();
            Flush();
        });
        EXPECT_TRUE(power_cut::SyncFaults(dataFolder, steps, "cup").empty())
            << power_cut::SyncFaults(dataFolder, steps, "cup").front();
        EXPECT_TRUE(script.empty());
        const Files after = Snapshot(dataFolder);
        const std::string was = Opened(before), is = Opened(after);
        ASSERT_NE(was, is);
        std::set<std::pair<Files, bool>> opened;
        for (const Files& files : left) {
            const bool asBefore = Kept(files, false) == Kept(before, false);
            if (!opened.insert({Kept(files, true), asBefore}).second) continue;
            const std::string held = Opened(files);
            const Files own = Kept(Snapshot(dataFolder), true);
            EXPECT_TRUE((held == was && asBefore && own == Kept(before, true)) || (held == is && own == Kept(after, true)))
                << held;
        }
    }
    // The tournament's own files of a folder ("cup.qon", "cup.rnd", the snapshots "cup<n>.rnd", the record of
    // a change and the temporary files of these), or every other file but temporary ones (the reports, and
    // the round files aside, which the open reads only as the tournament file says).
    static Files Kept(const Files& files, bool own) {
        const auto endsWith = [](const std::string& name, const std::string& end) {
            return name.size() >= end.size() && name.compare(name.size() - end.size(), end.size(), end) == 0;
        };
        Files kept;
        for (const auto& file : files) {
            const bool temporary = endsWith(file.first, ".tmp");
            const std::string name = temporary ? file.first.substr(0, file.first.size() - 4) : file.first;
            const bool tournament = name == "cup.qon" || name == "cup.journal" ||
                                    (name.rfind("cup", 0) == 0 && endsWith(name, ".rnd") &&
                                     std::all_of(name.begin() + 3, name.end() - 4, [](char c) { return c >= '0' && c <= '9'; }));
            if (own ? tournament : !tournament && !temporary) kept.push_back(file);
        }
        return kept;
    }
};

// The three commands, each in a Swiss (FIDE Dubov) and in a round robin (a round robin's round is
// accepted as it is paired); and in a Swiss the save of a late entry, made by its add or, with the add's
// save refused, by File > Save: it writes the tournament file with one player more and the round-state
// file with one row more.
enum class Command { CloseRegistration, Accept, CloseResults, LateEntry, SaveAfterLateEntry };

class StoppedCommandTest : public OneStepTest {
  protected:
    void Stopped(Command command, const char* system = nullptr) {
        Registered(system);
        const bool swiss = !IsRoundRobin();
        if (command == Command::CloseRegistration)
            return OpensAsBeforeOrAfter([this] { CloseAnswers(); }, [this] { Click(PlayersPage.closeRegistrationButton); });
        CloseRegistrationClicked();
        if (!swiss) {
            Keyed();
            CloseResults();
        }
        const std::function<void()> accept = [swiss] { swiss ? (void)AcceptPairing() : PairRoundCommand(); };
        if (command == Command::Accept) return OpensAsBeforeOrAfter([] {}, accept);
        accept();
        Flush();
        ASSERT_TRUE(IsPairingDone == 1 && CurrentRound == (swiss ? 1 : 2));
        // The results keyed after the last save (a folder mixing a late entry's two files would show him beside
        // the games of before).
        Keyed();
        if (command == Command::CloseResults) return OpensAsBeforeOrAfter([] {}, [this] { CloseResults(); });
        WkFormSetPage(MainWindow.notebook, 0); // the form is typed in where it is seen
        const auto lateEntryAnswer = [this] { Answer(MsgAddLateEntryQuestion, 1); };
        if (command == Command::LateEntry) return OpensAsBeforeOrAfter(lateEntryAnswer, [this] { TypedIn(10); });
        // A non-empty folder in the place of the temporary file refuses the add's save.
        fs::create_directories(dataFolder + "cup.qon.tmp/in the way");
        lateEntryAnswer();
        AnswerText(MessageText(MsgCannotWriteTournamentFile) + "\n" + dataFolder + "cup.qon\nThe tournament's "
                   "files are as they were.", 0);
        TypedIn(10);
        Flush();
        fs::remove_all(dataFolder + "cup.qon.tmp");
        ASSERT_TRUE(PlayerCount == 11 && TournamentSaved == 0);
        OpensAsBeforeOrAfter([] {}, [] { SaveTournamentCommand(); });
    }
};

TEST_F(StoppedCommandTest, CloseRegistrationOfASwiss) { Stopped(Command::CloseRegistration); }
TEST_F(StoppedCommandTest, CloseRegistrationOfARoundRobin) { Stopped(Command::CloseRegistration, RoundRobin); }
TEST_F(StoppedCommandTest, AcceptInASwiss) { Stopped(Command::Accept); }
TEST_F(StoppedCommandTest, PairAndAcceptInARoundRobin) { Stopped(Command::Accept, RoundRobin); }
TEST_F(StoppedCommandTest, CloseResultsInASwiss) { Stopped(Command::CloseResults); }
TEST_F(StoppedCommandTest, CloseResultsInARoundRobin) { Stopped(Command::CloseResults, RoundRobin); }
TEST_F(StoppedCommandTest, LateEntryInASwiss) { Stopped(Command::LateEntry); }
TEST_F(StoppedCommandTest, SaveAfterALateEntryInASwiss) { Stopped(Command::SaveAfterLateEntry); }

// A tournament saved at each of its stages, opened by a fresh program: the folder stays byte for byte as
// the saving program left it.
TEST_F(OneStepTest, AnOpenWritesNothing) {
    std::vector<std::pair<Files, int>> stages; // the folder and the round it opens at
    Registered(RoundRobin);
    CloseRegistrationClicked();
    // The rounds put in place leave no row chosen for Delete player to take.
    EXPECT_EQ(WkListRecord(PlayersPage.playerList)->current, -1);
    stages.emplace_back(Snapshot(dataFolder), 1);
    TearDown();
    SetUp();
    Registered();
    CloseRegistrationClicked();
    ASSERT_TRUE(SaveTournament());
    stages.emplace_back(Snapshot(dataFolder), 0); // round 1 proposed
    Accept();
    stages.emplace_back(Snapshot(dataFolder), 1);
    Keyed();
    ASSERT_TRUE(SaveTournament());
    stages.emplace_back(Snapshot(dataFolder), 1);
    for (int round = 1; round <= 3; ++round) {
        if (round > 1) {
            PairRoundCommand();
            Accept();
            Keyed();
        }
        CloseResults();
        if (round == 1) stages.emplace_back(Snapshot(dataFolder), 1);
    }
    stages.emplace_back(Snapshot(dataFolder), 3); // finished
    for (std::size_t stage = 0; stage < stages.size(); ++stage) {
        Opened(stages[stage].first);
        EXPECT_EQ(Snapshot(dataFolder), stages[stage].first) << stage;
        EXPECT_EQ(CurrentRound, stages[stage].second) << stage;
    }
}

// Accept on a disk that takes none of the acceptance's files: the round is accepted and saved, and one
// alert names every file not written, in name order; the old files stay. A round that cannot be saved is
// not accepted, and no file shows it.
TEST_F(OneStepTest, AcceptNamesEveryFileNotWritten) {
    Registered();
    CloseRegistrationClicked();
    std::string alert = MessageText(MsgCannotCreateFile);
    for (const char* name : {"boardcrd.txt", "eloprev.txt", "index.html"}) {
        std::ofstream(dataFolder + name, std::ios::binary) << "the last one\r\n";
        fs::create_directory(dataFolder + name + ".tmp");
        alert += "\n" + dataFolder + name;
    }
    fs::create_directory(dataFolder + "cup.rnd.tmp");
    AnswerText(MessageText(MsgCannotWriteRoundFile) + "\n" + dataFolder + "cup.rnd\nThe tournament's files are as they were.", 0);
    EXPECT_FALSE(AcceptPairing());
    Flush();
    EXPECT_TRUE(IsPairingDone == 0 && CurrentStage() == TournamentStage::RoundProposed);
    fs::remove(dataFolder + "cup.rnd.tmp");
    AnswerText(alert, 0);
    ASSERT_TRUE(AcceptPairing());
    Flush();
    EXPECT_EQ(IsPairingDone, 1);
    for (const char* name : {"boardcrd.txt", "eloprev.txt", "index.html"})
        EXPECT_EQ(ReadFileBytes(dataFolder + name), "the last one\r\n") << name;
}

} // namespace
} // namespace tmt
