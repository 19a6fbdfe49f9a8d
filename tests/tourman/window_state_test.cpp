// The window shows the tournament's state whatever brought it there: each
// stage of a Swiss tournament and of a round robin, saved and opened by a
// fresh program, shows what the program that saved it showed, and so it
// does when opened by a program that had another stage open.
#include "support/tourman_driver.h"
#include "support/window_dump.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/menu.h"
#include "tourman/commands/extras_commands.h"
#include "tourman/commands/tournament_commands.h"
#include "tourman/frame/window_frame.h"
#include "tourman/main_window/show_tournament.h"
#include "tourman/pages/output/output_widgets.h"
#include "tourman/pages/output/text_viewers.h"
#include "tourman/pages/pairing/pairing_widgets.h"
#include "tourman/pages/players/players_widgets.h"
#include "tourman/pages/results/results_widgets.h"
#include "tournament/message_table.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tmt {
namespace {

enum Stage { RegistrationOpen, RoundZero, Proposed, Accepted, PartlyKeyed, RoundClosed, LastRoundClosed };

struct Saved {
    std::string base;
    std::string dump; // the window the tournament opens to
    bool incomplete;  // opened with the alert that its results are not complete
};

// An order of n stages in which every stage follows every other one once:
// an Euler circuit through every ordered pair, n * (n - 1) + 1 long.
std::vector<int> EveryPairOnce(int n) {
    std::vector<std::vector<int>> next(static_cast<std::size_t>(n));
    for (int a = 0; a < n; ++a)
        for (int b = n - 1; b >= 0; --b)
            if (a != b) next[std::size_t(a)].push_back(b);
    std::vector<int> stack{0}, path;
    while (!stack.empty()) {
        std::vector<int>& out = next[std::size_t(stack.back())];
        if (out.empty()) {
            path.push_back(stack.back());
            stack.pop_back();
        } else {
            stack.push_back(out.back());
            out.pop_back();
        }
    }
    std::reverse(path.begin(), path.end());
    return path;
}

class WindowStateTest : public TourmanTest {
  protected:
    // Ten players (Swiss, three rounds) or four (single round robin, three
    // rounds) typed into the form; the third one not available when asked.
    void Register(bool swiss, bool thirdAway) {
        for (int i = 0; i < (swiss ? 10 : 4); ++i) {
            Click(PlayersPage.clearButton);
            Fill(PlayersPage.name, "PLAYER " + std::string(1, char('A' + i)));
            Fill(PlayersPage.fideRating, std::to_string(2400 - 50 * i));
            if (thirdAway && i == 2) Click(PlayersPage.available);
            Click(PlayersPage.addButton);
        }
    }
    void Page(int page) {
        WkFormSetPage(MainWindow.notebook, page);
        Flush();
    }
    // The result entry opened and results keyed from board 1 on: White wins,
    // a draw, Black wins, ...
    void KeyResults(int boards) {
        Click(ResultsPage.resultsToggle);
        WkObjectSetFocus(ResultsPage.boardField);
        WkEditReplaceText(ResultsPage.boardField, "", 0, 0);
        Type("1");
        Press(0x1C, 0x0D);
        for (int b = 0; b < boards; ++b) {
            WkObjectSetFocus(ResultsPage.resultKeyField);
            Type(std::string(1, "1x0"[b % 3]));
        }
    }
    // Every board keyed and the entry closed: the round is saved.
    void PlayRound() {
        KeyResults(RoundBoardCount(CurrentRound));
        Click(ResultsPage.resultsToggle);
    }
    // The next round paired from the pairing page; a Swiss one accepted.
    void PairNext(bool swiss) {
        Page(1);
        Click(PairingPage.pairButton);
        if (swiss) Click(PairingPage.acceptButton);
    }

    // A fresh program with the files saved so far makes the tournament of
    // the stage and saves it with the File menu. It opens to the window of
    // the program that saved it; a proposed round is not saved, so that one
    // opens to the window as it was before the round was paired.
    Saved Make(bool swiss, Stage stage) {
        const std::string base = std::string(swiss ? "sw" : "rr") + std::to_string(int(stage));
        NewClubCup(base, swiss ? nullptr : "2: Round Robin S");
        Register(swiss, stage == RegistrationOpen);
        if (stage != RegistrationOpen) {
            Answer(MsgCloseRegistrationQuestion, 1);
            Answer(MsgPairingNumbersQuestion, 0);
            if (swiss) Answer(MsgTopSeedWhiteQuestion, 1);
            Click(PlayersPage.closeRegistrationButton); // a Swiss round 1 proposed, a round robin's accepted
        }
        if (stage == RoundZero) {
            Answer(swiss ? MsgCancelLastPairingQuestion : MsgDeleteLastRoundQuestion, 1);
            if (swiss) Click(PairingPage.cancelButton);
            else TournamentMenuCommand(3);
        }
        if (stage >= Proposed && swiss) Click(PairingPage.acceptButton);
        std::string unpaired;
        if (stage == Proposed) {
            PlayRound();
            Page(1);
            unpaired = WindowStateDump();
            Click(PairingPage.pairButton);
        }
        if (stage == PartlyKeyed) KeyResults(2);
        if (stage == RoundClosed) PlayRound();
        if (stage == LastRoundClosed) {
            for (int round = 1; round < 3; ++round) {
                PlayRound();
                PairNext(swiss);
            }
            PlayRound();
        }
        if (stage == Proposed && swiss) AnswerText(ProposedRoundQuestion, 1); // saved without it
        WkMenuActivateItem(MainWindow.saveItem);
        Flush();
        return {base, stage == Proposed ? unpaired : WindowStateDump(), stage == Accepted || stage == PartlyKeyed};
    }

    // File > Open of the saved tournament, with the questions it asks.
    void Open(const Saved& saved) {
        if (ClosedRegistration != 0 || TournamentSaved == 0) Answer(MsgLeaveOpenTournament, 1);
        ChooseFile(dataFolder + saved.base + ".qon");
        if (saved.incomplete) Answer(MsgResultsNotComplete, 0);
        const std::size_t seen = boxes.size();
        OpenTournamentCommand();
        Flush();
        // The alert is given over the tournament opened, not the one before.
        for (std::size_t i = seen; i < boxes.size(); ++i) {
            if (boxes[i].text == MessageText(MsgResultsNotComplete)) {
                EXPECT_EQ(boxes[i].statusLine, StatusLineText()) << saved.base;
            }
        }
    }
};

TEST_F(WindowStateTest, OpenedStagesShowWhatTheSavingProgramShowed) {
    const Stage stages[] = {RegistrationOpen, RoundZero,   Proposed,       Accepted,
                            PartlyKeyed,      RoundClosed, LastRoundClosed};
    for (const bool swiss : {true, false}) {
        std::vector<Saved> saved;
        for (const Stage stage : stages) {
            // A round robin accepts each round as it pairs it: none is proposed.
            if (!swiss && stage == Proposed) continue;
            Restart(Snapshot(dataFolder));
            saved.push_back(Make(swiss, stage));
            const Saved& made = saved.back();
            Restart(Snapshot(dataFolder));
            Open(made);
            EXPECT_EQ(WindowStateDump(), made.dump) << made.base;
        }
        // The last round's status says so, in a round robin too.
        EXPECT_NE(saved.back().dump.find(std::string("status: ") + (swiss ? "sw6 [swiss Dubov]" : "rr6 [single RR]") +
                                         ": Last round (3) - STATUS: tournament finished\n"),
                  std::string::npos)
            << saved.back().dump;
        // Each opened from a program that had each other stage open.
        const std::vector<int> order = EveryPairOnce(int(saved.size()));
        EXPECT_EQ(order.size(), saved.size() * (saved.size() - 1) + 1);
        for (std::size_t i = 1; i < order.size(); ++i) {
            const Saved &before = saved[std::size_t(order[i - 1])], &after = saved[std::size_t(order[i])];
            if (i == 1) Open(before);
            Open(after);
            EXPECT_EQ(WindowStateDump(), after.dump) << before.base << " then " << after.base;
        }
    }
}

// New and Open with the registration open, from the result entry, show
// the players page with the focus in Name: the players typed next go into
// the form, not to the greyed results page.
TEST_F(WindowStateTest, NewAndOpenFromTheResultEntryShowThePlayersPageWithNameFocused) {
    ASSERT_TRUE(Start());
    const Saved registering = Make(true, RegistrationOpen);
    Restart(Snapshot(dataFolder));
    const Saved keyed = Make(true, PartlyKeyed);
    for (const bool open : {true, false}) {
        if (open) {
            Open(registering);
        } else {
            Open(keyed);
            Page(2);
            Click(ResultsPage.resultsToggle);
            NewClubCup("fresh");
            Flush();
        }
        EXPECT_EQ(WkFormGetPage(MainWindow.notebook), 0) << open;
        EXPECT_EQ(WkFormGetFocus(MainWindow.window), PlayersPage.name) << open;
        Type("ROSSI");
        EXPECT_STREQ(WkEditGetText(PlayersPage.name), "ROSSI") << open;
    }
}

// Each command that changes the tournament's stage leaves the window showing
// it, with no show of its own: the page on show, the pairing and results
// tabs, the pair, accept and close-registration buttons and the round field.
TEST_F(WindowStateTest, EachCommandShowsTheStageItLeaves) {
    ASSERT_TRUE(Start());
    const auto on = [](WkObject* o) { return WkObjectIsSensitive(o) ? '+' : '-'; };
    const auto shown = [&] {
        return std::string("page ") + std::to_string(WkFormGetPage(MainWindow.notebook)) + " tabs " +
               on(MainWindow.pages[1]) + on(MainWindow.pages[2]) + " pair " + on(PairingPage.pairButton) +
               " accept " + on(PairingPage.acceptButton) + " close " + on(PlayersPage.closeRegistrationButton) +
               " round " + WkEditGetText(ResultsPage.roundField) + " viewer " +
               (ViewedFilePath(OutputPage.fileViewer).empty() ? '-' : '+');
    };
    const std::string kept = dataFolder + "kept.rnd";
    const struct {
        const char* command;
        std::function<void()> run;
        const char* shown;
    } steps[] = {
        {"New", [&] { NewClubCup("cup"); }, "page 0 tabs -- pair - accept - close + round 0 viewer -"},
        {"Close registration",
         [&] {
             Register(true, false);
             Answer(MsgCloseRegistrationQuestion, 1);
             Answer(MsgPairingNumbersQuestion, 0);
             Answer(MsgTopSeedWhiteQuestion, 1);
             Click(PlayersPage.closeRegistrationButton);
         },
         "page 1 tabs +- pair - accept + close - round 1 viewer -"},
        {"Cancel",
         [&] {
             Answer(MsgCancelLastPairingQuestion, 1);
             Click(PairingPage.cancelButton);
         },
         "page 1 tabs ++ pair + accept - close - round 0 viewer -"},
        {"Pair",
         [&] {
             Answer(MsgTopSeedWhiteQuestion, 1);
             Click(PairingPage.pairButton);
         },
         "page 1 tabs +- pair - accept + close - round 1 viewer -"},
        {"Accept", [&] { Click(PairingPage.acceptButton); },
         "page 2 tabs -+ pair - accept - close - round 1 viewer -"},
        {"Close results",
         [&] {
             PlayRound();
             std::filesystem::copy_file(dataFolder + "cup.rnd", kept);
             SetViewedFile(OutputPage.fileViewer, kept, "kept.rnd");
         },
         "page 2 tabs ++ pair + accept - close - round 1 viewer +"},
        {"Open",
         [&] {
             Page(0);
             Answer(MsgLeaveOpenTournament, 1);
             ChooseFile(dataFolder + "cup.qon");
             OpenTournamentCommand();
         },
         "page 0 tabs ++ pair + accept - close - round 1 viewer -"},
        {"Delete last round",
         [&] {
             Answer(MsgDeleteLastRoundQuestion, 1);
             TournamentMenuCommand(3);
         },
         "page 0 tabs ++ pair + accept - close - round 0 viewer -"},
        {"Load round file",
         [&] {
             Answer(MsgLeaveOpenTournament, 1);
             ChooseFile(kept);
             LoadRoundFileCommand();
             SetViewedFile(OutputPage.fileViewer, kept, "kept.rnd");
         },
         "page 0 tabs ++ pair + accept - close - round 1 viewer +"},
        {"Reopen the registration",
         [&] {
             Page(2);
             ReopenRegistration();
         },
         "page 0 tabs -- pair - accept - close + round 0 viewer +"},
    };
    for (const auto& step : steps) {
        step.run();
        Flush();
        EXPECT_EQ(shown(), step.shown) << step.command;
    }
}

} // namespace
} // namespace tmt
