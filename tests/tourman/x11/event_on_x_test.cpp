// A round robin of six players and a USCF Swiss of thirty, each carried by
// tourman on an X server through all its rounds, in a data folder of its
// own that the cases after them reopen and report. The files each leaves
// are checked: CR LF line ends only, each result list shows the round's
// game codes, and the standings add the results up.
#include "event_on_x.h"

#include "pairing/color_improvement.h"
#include "pairing/round_check.h"
#include "support/widget_input.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/widgets/button_core.h"
#include "toolkit/widgets/dir_tree.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/file_browser.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/menu.h"
#include "toolkit/widgets/toggle.h"
#include "tourman/commands/tournament_commands.h"
#include "tourman/dialogs/bye_dialog.h"
#include "tourman/dialogs/color_window.h"
#include "tourman/dialogs/manual_pairing.h"
#include "tourman/dialogs/settings_dialog.h"
#include "tourman/frame/window_frame.h"
#include "tourman/pages/pairing/pairing_widgets.h"
#include "tourman/pages/players/players_widgets.h"
#include "tourman/pages/results/results_widgets.h"
#include "tournament/game_code.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <tuple>
#include <vector>

namespace xev {

EventOnX::Result EventOnX::ResultKey(int round, int board) {
    // Seeded by the board, so that any board's result is known without a replay.
    std::mt19937 generator(std::uint32_t(round * 1000 + board));
    static constexpr int kDigits[] = {WhiteWins, WhiteWins, WhiteWins, BlackWins, BlackWins,        BlackWins,
                                      Draw,      Draw,      Draw,      WhiteWinsForfeit, BlackWinsForfeit, BothForfeit};
    const int digit = kDigits[generator() % std::size(kDigits)];
    return {digit, generator() % 2 == 0};
}

void EventOnX::NewEvent(const char* system, const std::string& base, int rounds) {
    const std::string data = EventFolder(base);
    fs::remove_all(data);
    fs::create_directories(data);
    if (TournamentOpen != 0) Answer(MsgLeaveOpenTournament, 1); // an event before is left
    NewTournamentCommand();
    Settle();
    ASSERT_NE(SettingsDialog.window, nullptr);
    for (auto [field, text] : {std::pair{SettingsDialog.name, "Club Event"}, {SettingsDialog.place, "Pisa"},
                               {SettingsDialog.beginDate, "01052026"}, {SettingsDialog.endDate, "03052026"},
                               {SettingsDialog.arbiter, "Neri"},
                               {SettingsDialog.baseName, base.c_str()}})
        Fill(field, text);
    WkEditReplaceText(SettingsDialog.dataFolder, data.c_str(), 0, 0);
    WkEditReplaceText(SettingsDialog.pairingSystem, system, 0, 0);
    WkEditReplaceText(SettingsDialog.rounds, std::to_string(rounds).c_str(), 0, 0);
    Png(SettingsDialog.window, base + "-settings.png", {SettingsDialog.dataFolder}); // the build's own folder
    Click(SettingsDialog.okButton);
    ASSERT_EQ(Settings.PairingSystem, system[0] - '0') << unexpected;
}

void EventOnX::TypePlayers(int players) {
    WkFormSetPage(MainWindow.notebook, 0);
    Settle();
    for (int i = 0; i < players; ++i) {
        Fill(PlayersPage.name, "PLAYER " + std::string(1, char('A' + i % 26)) + std::string(i / 26, 'A'));
        Fill(PlayersPage.fideRating, std::to_string(2400 - 20 * i));
        Click(PlayersPage.addButton);
    }
    ASSERT_EQ(PlayerCount, players);
}

void EventOnX::CloseRegistration(bool swiss) {
    Answer(MsgCloseRegistrationQuestion, 1);
    Answer(MsgPairingNumbersQuestion, 0);
    if (swiss) Answer(MsgTopSeedWhiteQuestion, 1);
    Click(PlayersPage.closeRegistrationButton);
}

namespace {

// The buttons under a window, by caption.
std::vector<WkObject*> Buttons(WkObject* window) {
    std::vector<WkObject*> found;
    for (WkObject* o : tmt::WidgetsUnder(window))
        if (o->classCode == WK_CLASS_PUSH_BUTTON && WkButtonRecord(o)->text) found.push_back(o);
    return found;
}
WkObject* Button(WkObject* window, const std::string& caption) {
    for (WkObject* o : Buttons(window))
        if (caption == WkButtonRecord(o)->text) return o;
    ADD_FAILURE() << "no button \"" << caption << "\"";
    return window;
}

std::set<std::pair<int, int>> Pairs(int round) {
    std::set<std::pair<int, int>> pairs;
    for (int board = 1; board <= RoundBoardCount(round); ++board) {
        int white, black, digit;
        DecodeGameCode(GameTable(board, round), white, black, digit);
        pairs.insert(std::minmax(white, black));
    }
    return pairs;
}

void CheckRound(int round, const char* after) {
    const RoundCheck check = CheckPairedRound(round, PlayerCount);
    EXPECT_TRUE(check.ok) << "round " << round << " " << after << ": " << check.problem;
}

} // namespace

std::string EventOnX::RowAt(WkObject* list, int row) {
    Reachable(list);
    const WkListData* d = WkListRecord(list);
    EXPECT_TRUE(row >= d->firstRow && row < d->firstRow + d->visibleRows) << "row " << row << " out of sight";
    int x = 0, y = 0;
    std::istringstream(At(list)) >> x >> y;
    y += WkObjectBorder(list) - list->height / 2 + (row - d->firstRow) * d->rowHeight + d->rowHeight / 2;
    return std::to_string(x) + " " + std::to_string(y);
}

void EventOnX::PairRound(int round, bool swiss, const std::function<void()>& proposal) {
    WkFormSetPage(MainWindow.notebook, 1);
    Settle();
    if (round > 1) Click(PairingPage.pairButton);
    ASSERT_EQ(CurrentRound, round) << unexpected;
    if (!swiss) return;
    CheckRound(round, "as paired");
    if (proposal) proposal();
    Click(PairingPage.acceptButton);
    ASSERT_EQ(IsPairingDone, 1) << "round " << round << unexpected;
}

void EventOnX::EnterResults(int round) {
    static constexpr int kButtonDigits[9] = {1, 0, 5, 3, 4, 2, 6, 7, 8};
    WkFormSetPage(MainWindow.notebook, 2);
    Settle();
    Click(ResultsPage.resultsToggle);
    int first = 1;
    while (IsByeCode(GameTable(first, round))) ++first;
    WkEditReplaceText(ResultsPage.boardField, "", 0, 0);
    Click(ResultsPage.boardField);
    Key(std::to_string(first) + " Return");
    bool keying = false; // the key field has the focus
    for (int board = first; board <= RoundBoardCount(round); ++board) {
        if (IsByeCode(GameTable(board, round))) continue;
        const Result r = ResultKey(round, board);
        if (r.button) {
            Click(ResultsPage.resultButtons[std::find(kButtonDigits, kButtonDigits + 9, r.digit) - kButtonDigits]);
        } else {
            if (!keying) Click(ResultsPage.resultKeyField);
            Key(r.digit == Draw && board % 2 ? "x" : std::to_string(r.digit));
        }
        keying = !r.button;
    }
    Click(ResultsPage.resultsToggle);
    EXPECT_TRUE(fs::exists(Data() + Base() + std::to_string(round) + ".rnd")) << "round " << round << unexpected;
    for (int board = 1; board <= RoundBoardCount(round); ++board) {
        if (IsByeCode(GameTable(board, round))) continue;
        EXPECT_EQ(GameTable(board, round) % 10, ResultKey(round, board).digit)
                << "round " << round << ", board " << board << ": the result entered";
    }
}

void EventOnX::GiveBye(int player, const char* result, double points) {
    WkFormSetPage(MainWindow.notebook, 0);
    Settle();
    Xdo("mousemove " + RowAt(PlayersPage.playerList, player - 1) + " click 1");
    WaitFor("the player list's double-click time to pass",
            [] { return !WkListRecord(PlayersPage.playerList)->doubleClickOpen; });
    Xdo("click 3");
    WkObject* menu = PlayersPage.playerListMenu;
    ASSERT_TRUE(WkMenuRecord(menu)->poppedUp) << unexpected;
    Reachable(menu);
    const WkMenuItem* item = WkMenuRecord(menu)->items[1];
    int x = 0, y = 0;
    std::istringstream(At(menu)) >> x >> y;
    y += WkObjectBorder(menu) + 2 - menu->height / 2 + item->offset + item->extent / 2;
    Xdo("mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1");
    ASSERT_NE(ByeDialog.window, nullptr) << unexpected;
    EXPECT_STREQ(WkEditGetText(ByeDialog.id), std::to_string(player).c_str()) << "the BYE dialog's id";
    WkEditReplaceText(ByeDialog.result, result, 0, 0);
    Click(ByeDialog.okButton);
    EXPECT_EQ(ByeDialog.window, nullptr) << unexpected;
    EXPECT_EQ(Players[player].available, 0) << "player " << player << " after his BYE";
    offBoard_[CurrentRound + 1][player] = points;
}

void EventOnX::SetAvailable(int player, bool on) {
    WkFormSetPage(MainWindow.notebook, 0);
    Settle();
    Xdo("mousemove " + RowAt(PlayersPage.playerList, player - 1) + " click 1");
    ASSERT_EQ(WkToggleGetState(PlayersPage.available), !on) << "player " << player << " in the form";
    Click(PlayersPage.available);
    Click(PlayersPage.changeButton);
    EXPECT_EQ(Players[player].available, on ? 1 : 0) << "player " << player << unexpected;
    // Out of the rounds to come, until he is back.
    for (int round = CurrentRound + 1; !on && round <= Settings.PlannedRounds; ++round) offBoard_[round][player] = 0;
}

void EventOnX::ImproveColours() {
    const int round = CurrentRound;
    Click(ResultsPage.colorImprovementButton);
    WkObject* window = ColorImprovementDialog();
    ASSERT_NE(window, nullptr) << unexpected;
    // The player buttons, White and Black of each board: two Whites of
    // boards in sight whose exchange keeps within 80 points, so that no rule
    // asks. The two Whites change boards.
    std::vector<WkObject*> players;
    for (WkObject* o : Buttons(window))
        if (std::isdigit(static_cast<unsigned char>(WkButtonRecord(o)->text[2]))) players.push_back(o);
    ASSERT_EQ(players.size(), std::size_t(2 * RoundBoardCount(round)));
    int i = 0, j = 0, a, b, c, d, digit;
    for (int upper = 1; upper < 8 && !j; ++upper)
        for (int lower = upper + 1; lower <= 8 && !j; ++lower) {
            DecodeGameCode(GameTable(upper, round), a, b, digit);
            DecodeGameCode(GameTable(lower, round), c, d, digit);
            if (a && b && c && d && TranspositionDifference(a, b, c, d) <= 80) i = upper, j = lower;
        }
    ASSERT_NE(j, 0) << "round " << round << ": no two boards to exchange";
    DecodeGameCode(GameTable(i, round), a, b, digit);
    DecodeGameCode(GameTable(j, round), c, d, digit);
    Click(players[std::size_t(2 * i - 2)]);
    Click(players[std::size_t(2 * j - 2)]);
    Click(Button(window, "Exchange Players"));
    Png(window, base_ + "-colour-improvement.png");
    Click(Button(window, "Done"));
    EXPECT_EQ(ColorImprovementDialog(), nullptr) << unexpected;
    const std::set<std::pair<int, int>> pairs = Pairs(round);
    EXPECT_TRUE(pairs.count(std::minmax(c, b)) && pairs.count(std::minmax(a, d)))
        << "round " << round << ", boards " << i << " and " << j << ": the exchange of " << a << " and " << c;
    CheckRound(round, "after the colour window");
}

void EventOnX::ExchangeColours() {
    const int round = CurrentRound;
    // A board of two players without an absolute colour, else board 1.
    int board = 1, white, black, digit;
    for (int k = 1; k <= 10; ++k) {
        DecodeGameCode(GameTable(k, round), white, black, digit);
        if (white && black && StateRecord(white).colorFlexible && StateRecord(black).colorFlexible) {
            board = k;
            break;
        }
    }
    DecodeGameCode(GameTable(board, round), white, black, digit);
    Answer(StateRecord(white).colorFlexible && StateRecord(black).colorFlexible ? 39 : 40, 1);
    DoubleClick(RowAt(PairingPage.pairingList, board - 1));
    EXPECT_EQ(GameTable(board, round), EncodeGameCode(black, white, NotPlayed))
        << "round " << round << ", board " << board << ": the colours exchanged" << unexpected;
}

void EventOnX::PairByHand() {
    const int round = CurrentRound;
    const std::set<std::pair<int, int>> proposed = Pairs(round);
    Answer(MsgCancelLastPairingQuestion, 1);
    Click(PairingPage.cancelButton);
    ASSERT_EQ(CurrentRound, round - 1) << unexpected;
    Click(PairingPage.manualPairingButton);
    WkObject* window = ManualPairingWindow();
    ASSERT_NE(window, nullptr) << unexpected;
    // The file browser runs its own loop: a timeout chooses the file.
    const std::string file = Data() + "pairs" + std::to_string(round) + ".man";
    browse_ = file;
    WkAddTimeout(100, Browse, this);
    Click(Button(window, MessageText(MsgLoadPairs)));
    EXPECT_EQ(browse_, "") << "no file browser";
    Png(window, base_ + "-manual-pairing.png");
    Click(Button(window, MessageText(MsgOk)));
    EXPECT_EQ(ManualPairingWindow(), nullptr) << unexpected;
    ASSERT_EQ(CurrentRound, round) << unexpected;
    EXPECT_EQ(Pairs(round), proposed) << "round " << round << ": paired by hand from " << file;
    CheckRound(round, "paired by hand");
}

void EventOnX::Browse(int, void* data) {
    auto* self = static_cast<EventOnX*>(data);
    const WkBrowserParts& parts = WkFileBrowserParts();
    // A click before the window manager maps it is lost.
    if (!parts.shell || !self->Mapped(static_cast<WkObject*>(parts.shell))) {
        if (!self->browse_.empty()) WkAddTimeout(100, Browse, self);
        return;
    }
    self->ChooseInBrowser(self->browse_);
    self->browse_.clear();
}

void EventOnX::ChooseInBrowser(const std::string& path) {
    const WkBrowserParts& parts = WkFileBrowserParts();
    const std::size_t slash = path.rfind('/');
    WkDirTreeSetPath(static_cast<WkObject*>(parts.tree), path.substr(0, slash).c_str(), 1);
    WkEditReplaceText(static_cast<WkObject*>(parts.name), path.c_str() + slash + 1, 0, 0);
    Xdo("mousemove " + At(static_cast<WkObject*>(parts.ok)) + " click 1", false);
}

void EventOnX::PagesPng(const std::string& base) {
    for (int page = 0; page < 4; ++page) {
        WkFormSetPage(MainWindow.notebook, page);
        Settle();
        Png(MainWindow.window, base + "-page" + std::to_string(page) + ".png");
    }
}

void EventOnX::CheckFiles(int players, int rounds) {
    const std::string data = Data();
    // Each board of each result list as its game code ("½" as 0xBD); the
    // standings give each player the sum of his results, with the points of
    // a round he spent on no board.
    static constexpr double kWhitePoints[10] = {0, 1, 0, 1, 0, 0.5, 0.5, 0, 0.5, 0};
    static constexpr double kBlackPoints[10] = {1, 0, 0, 0, 1, 0.5, 0.5, 0, 0.5, 0};
    std::map<int, double> sums;
    for (int round = 1; round <= rounds; ++round) {
        const std::string file = "result" + std::to_string(round) + ".txt";
        std::istringstream lines(Bytes(data + file));
        int boards = 0;
        std::set<int> seated;
        for (std::string line; std::getline(lines, line);) {
            int board = 0, white = 0, black = 0, digit = 0;
            if (line.size() < 67 || std::sscanf(line.c_str(), "%d = %d", &board, &white) != 2) continue;
            ++boards;
            black = std::atoi(line.c_str() + 33);
            const std::string shown = line.substr(61, 5);
            int w, b;
            DecodeGameCode(GameTable(board, round), w, b, digit);
            EXPECT_EQ(std::tuple(board, white, black, shown), std::tuple(boards, w, b, std::string(ResultText(digit))))
                << file << ", round " << round << ", board " << boards << ": the list against the game code";
            sums[white] += kWhitePoints[digit];
            sums[black] += kBlackPoints[digit];
            seated.insert({white, black});
        }
        EXPECT_EQ(boards, RoundBoardCount(round)) << file << ", round " << round << ": boards";
        for (int id = 1; id <= players; ++id) {
            if (seated.count(id)) continue;
            const auto off = offBoard_[round].find(id);
            if (off == offBoard_[round].end()) ADD_FAILURE() << file << ", round " << round << ": player " << id << " on no board";
            else sums[id] += off->second;
        }
    }
    std::istringstream standings(Bytes(data + "tblscore.txt"));
    int rows = 0;
    for (std::string line; std::getline(standings, line);) {
        int position = 0, id = 0;
        double score = 0;
        if (line.find('|') == std::string::npos || std::sscanf(line.c_str(), "%d %lf %d", &position, &score, &id) != 3)
            continue;
        ++rows;
        EXPECT_EQ(score, sums[id]) << "tblscore.txt, player " << id;
    }
    EXPECT_EQ(rows, players) << "tblscore.txt";
}

void EventOnX::FinishEvent(int players, int rounds) {
    OutputsAndReports();
    PagesPng(base_);
    CheckFiles(players, rounds);
    PickMenu({"File", MessageText(MsgSave)}); // left saved, as the close question's save leaves it
}

TEST_F(EventOnX, RoundRobinOfSix) {
    StartTourman("robin-run");
    base_ = "robin";
    NewEvent("2: Round Robin S", base_, 5);
    TypePlayers(6);
    CloseRegistration(false);
    for (int round = 1; round <= 5; ++round) {
        PairRound(round, false);
        EnterResults(round);
    }
    FinishEvent(6, 5);
}

// Player 5 has a BYE (half a point) in round 2 and is back for round 3;
// player 12 withdraws after round 3. Round 4's colours are improved by
// hand, a board of round 5 has its colours exchanged, round 6 is paired by
// hand from the file of its cancelled proposal.
TEST_F(EventOnX, UscfSwissOfThirty) {
    StartTourman("swiss-run");
    base_ = "swiss";
    NewEvent("4: Swiss USCF", base_, 7);
    TypePlayers(30);
    CloseRegistration(true);
    for (int round = 1; round <= 7; ++round) {
        if (round == 2) GiveBye(5, "\xBD" "F", 0.5);
        if (round == 3) SetAvailable(5, true);
        if (round == 4) SetAvailable(12, false);
        std::function<void()> proposal;
        if (round == 5) proposal = [this] { ExchangeColours(); };
        if (round == 6) proposal = [this] { PairByHand(); };
        PairRound(round, true, proposal);
        if (round == 4) ImproveColours();
        EnterResults(round);
    }
    FinishEvent(30, 7);
}

} // namespace xev
