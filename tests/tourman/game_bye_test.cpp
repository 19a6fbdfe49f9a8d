// The player list's popup items from the registration on: the game edit
// dialog on a played round, the BYE dialog before the next pairing, and
// their refusals.
#include "support/tourman_driver.h"
#include "support/tournament_state.h"

#include "toolkit/core/native_windows.h"
#include "toolkit/core/shell.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/menu.h"
#include "tourman/commands/round_commands.h"
#include "tourman/commands/save_tournament.h"
#include "tourman/dialogs/bye_dialog.h"
#include "tourman/dialogs/game_dialog.h"
#include "tourman/frame/window_frame.h"
#include "tourman/pages/players/players_widgets.h"
#include "tournament/files/round_state_file.h"
#include "tournament/game_code.h"
#include "tournament/round_save.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/scores.h"
#include "tournament/settings.h"
#include "tournament/start_tournament.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace tmt {
namespace {

class GameByeTest : public TourmanTest {
  protected:
    // The right button pops the menu up over the row selected (the list's
    // middle when none is), on the players page, where the list is seen;
    // then one of its items (0 game edit, 1 BYE).
    void Popup(int item, int system = FideDubovSystem) {
        Settings.PairingSystem = system;
        WkFormSetPage(MainWindow.notebook, 0);
        WkObject* list = PlayersPage.playerList;
        const WkListData* d = WkListRecord(list);
        const WkListItem* row = WkListGetSelectedItem(list);
        int x, y;
        WkObjectGetAbsolutePosition(list, &x, &y);
        x += WkObjectGetShell(list)->x + list->width / 2;
        y += WkObjectGetShell(list)->y +
             (row ? WkObjectBorder(list) + (row->position - d->firstRow) * d->rowHeight + d->rowHeight / 2 : list->height / 2);
        display->injectButton(x, y, plat::kRightButton, true);
        display->injectButton(x, y, plat::kRightButton, false);
        Flush();
        EXPECT_TRUE(WkMenuRecord(PlayersPage.playerListMenu)->poppedUp);
        WkMenuPopDown(PlayersPage.playerListMenu);
        WkMenuActivateItem(WkMenuRecord(PlayersPage.playerListMenu)->items[item]);
        Settings.PairingSystem = FideDubovSystem;
    }
    static void Fill(WkObject* field, const std::string& text) { WkEditReplaceText(field, text.c_str(), 0, 0); }
};

// The name comes padded to its field; the title shows it whole and unpadded.
TEST_F(GameByeTest, TitleNamesThePlayerWholeAndUnpadded) {
    ASSERT_TRUE(Start());
    const struct {
        int player;
        const char *name, *title;
    } cases[] = {
        {1, "ROSSI MARIO         ", "1: ROSSI MARIO"},
        {100, "ABCDEFGHIJKLMNOPQRSTU", "100: ABCDEFGHIJKLMNOPQRSTU"},
        {999, "O'NEILL ANNE-MARIE  ", "999: O'NEILL ANNE-MARIE"},
    };
    for (const auto& c : cases) {
        char title[256];
        WkShellGetTitle(OpenGameDialog(c.player, c.name), title);
        EXPECT_STREQ(title, c.title);
        WkShellDestroy(GameDialog.window);
    }
}

TEST_F(GameByeTest, EditAGameThenGiveByes) {
    ASSERT_TRUE(Start());
    Settings.PlannedRounds = 5;
    std::strcpy(Settings.BaseName, "open");
    for (int id = 1; id <= 10; ++id) AddTestPlayer("PLAYER " + std::to_string(id), 2400 - 10 * id);
    Answer(MsgRegistrationStillOpen, 0);
    Popup(0);
    AnswerText(ByeWhileRegisteringText, 0);
    Popup(1);
    // Closed (the start fills the player list); rounds 1 and 2 paired, accepted and won by White.
    ClosedRegistration = 1;
    Answer(MsgPairingNumbersQuestion, 0);
    Answer(MsgTopSeedWhiteQuestion, 1);
    ASSERT_TRUE(StartTournament(PlayerCount));
    for (int round = 1; round <= 2; ++round) {
        if (round > 1) PairRoundCommand();
        AcceptPairing();
        AnswerText(ByeBeforeResultsText, 0);
        Popup(1);
        for (int board = 1; board <= RoundBoardCount(round); ++board) GameTable(board, round) = GameTable(board, round) / 10 * 10 + WhiteWins;
        ASSERT_TRUE(SaveRound(round));
        ComputeScores(round, PlayerCount);
        ResultsClosed(true);
    }
    for (int item : {0, 1}) {
        Answer(MsgNotInRoundRobin, 0);
        Popup(item, SingleRoundRobinSystem);
    }

    // Player 3's round 2: refusals (the message) or the code and colour stored. His opponent stays the
    // one the game table and the opponent's cells give him (nullptr below); another would contradict them.
    WkListSelectItem(PlayersPage.playerList, 2);
    Answer(MsgChangePlayerGamesQuestion, 0); // stop
    Popup(0);
    EXPECT_EQ(GameDialog.window, nullptr);
    const int opponent = OpponentTable(3, 2), theirs = PlayerResultTable(opponent, 2), game = GameTable(1, 2),
              mine = PlayerResultTable(3, 2);
    const std::string real = std::to_string(opponent);
    const std::string contradiction = "This change would contradict the games of round 2:\nplayer " + real +
                                      "'s opponent is 3, but player 3's is 0.";
    float scores[10] = {};
    struct {
        const char *round, *opponent, *points, *colour;
        int message;
        bool contradicts;
        int code, colour_;
    } const cases[] = {
        {"", "0", "1", "NOCOL", MsgRoundOutOfRange},
        {"0", "0", "1", "NOCOL", MsgRoundOutOfRange},
        {"3", "0", "1", "NOCOL", MsgRoundOutOfRange},
        {"2", "3", "1", "NOCOL", MsgPlayerIdOutOfRange},
        {"2", "11", "1", "NOCOL", MsgPlayerIdOutOfRange},
        {"2", "0", "1", "WHITE", 0, true},
        {"2", nullptr, "1", "WHITE", 0, false, 1, 1},
        {"2", nullptr, "\xBD", "BLACK", 0, false, 2, -1},
        {"2", nullptr, "1", "NO TB", 0, false, 8, 0},
        {"2", nullptr, "0", "BLACK", 0, false, 0, -1},
    };
    for (const auto& c : cases) {
        const std::string typed = c.opponent ? c.opponent : real;
        SCOPED_TRACE(std::string(c.round) + "/" + typed + "/" + c.points + "/" + c.colour);
        if (!GameDialog.window) {
            Answer(MsgChangePlayerGamesQuestion, 1);
            Popup(0);
        }
        Fill(GameDialog.round, c.round);
        Fill(GameDialog.opponent, typed);
        Fill(GameDialog.points, c.points);
        Fill(GameDialog.colour, c.colour);
        const bool refused = c.message || c.contradicts;
        if (c.message) Answer(c.message, 0);
        if (c.contradicts) AnswerText(contradiction, 0);
        Click(GameDialog.okButton);
        ASSERT_EQ(GameDialog.window == nullptr, !refused);
        if (c.message) { // the refused field typed over, its text selected
            Type("7");
            EXPECT_EQ(WkEditGetText(c.message == MsgRoundOutOfRange ? GameDialog.round : GameDialog.opponent),
                      std::string("7"));
        }
        EXPECT_EQ(OpponentTable(3, 2), opponent);
        if (refused) continue;
        EXPECT_EQ(PlayerResultTable(3, 2), c.code);
        EXPECT_EQ(ColorHistory(3, 2), c.colour_);
        scores[c.code] = PlayerScores[3].score;
    }
    EXPECT_EQ(scores[WinAtBoard] - scores[LossAtBoard], 1.0f);
    EXPECT_EQ(PlayerResultTable(opponent, 2), theirs);
    EXPECT_EQ(GameTable(1, 2), game);
    // The next save holds the edit; saving the round again rebuilds it from the games.
    TournamentChanged();
    ASSERT_TRUE(SaveTournament());
    ColorHistory(3, 2) = 0;
    ASSERT_TRUE(ReadRoundStateFile(RoundStatePath()));
    EXPECT_EQ(ColorHistory(3, 2), -1);
    EXPECT_EQ(PlayerResultTable(3, 2), LossAtBoard);
    ASSERT_TRUE(SaveRound(2));
    EXPECT_EQ(PlayerResultTable(3, 2), mine);

    // BYEs for round 3, typed while the form shows player 2: the refusal, or the code stored.
    struct {
        const char *id, *result, *refusal;
        int code;
    } const byes[] = {
        {"0", "1F", ByeInvalidIdText}, {"11", "1F", ByeInvalidIdText},       {"", "1F", ByeInvalidIdText},
        {"4", "\xBD" "FN", nullptr, 8}, {"4", "1F", ByeUnavailableText},     {"5", "\xBD" "F", nullptr, 6},
    };
    for (const auto& b : byes) {
        SCOPED_TRACE(b.id);
        WkListSelectItem(PlayersPage.playerList, 1);
        if (!ByeDialog.window) {
            Popup(1);
            EXPECT_EQ(std::string(WkEditGetText(ByeDialog.id)), "2");
        }
        Fill(ByeDialog.id, b.id);
        Fill(ByeDialog.result, b.result);
        TournamentChanged();
        if (b.refusal) AnswerText(b.refusal, 0);
        Click(ByeDialog.okButton);
        ASSERT_EQ(ByeDialog.window == nullptr, b.refusal == nullptr);
        if (b.refusal) continue;
        EXPECT_EQ(PlayerResultTable(std::atoi(b.id), 3), b.code);
        EXPECT_EQ(Players[std::atoi(b.id)].available, 0);
        EXPECT_EQ(Players[2].available, 1);
        EXPECT_EQ(TournamentSaved, 1);
    }
    // The next pairing leaves both out; their cells keep the BYE.
    PairRoundCommand();
    AcceptPairing();
    ASSERT_EQ(RoundBoardCount(3), 4);
    for (int board = 1; board <= 4; ++board) {
        int white, black, digit;
        DecodeGameCode(GameTable(board, 3), white, black, digit);
        EXPECT_TRUE(white != 4 && white != 5 && black != 4 && black != 5) << board;
    }
    EXPECT_EQ(PlayerResultTable(4, 3), HalfNoGameCode);
    EXPECT_EQ(PlayerResultTable(5, 3), HalfUnplayed);
}

// The player who had the BYE of a round takes in the game dialog only the BYE's result: no opponent,
// the point, no colour. Anything else is refused with the reason and changes nothing.
TEST_F(GameByeTest, TheByesPlayerTakesOnlyTheByesResult) {
    ASSERT_TRUE(Start());
    Settings.PlannedRounds = 3;
    std::strcpy(Settings.BaseName, "odd");
    for (int id = 1; id <= 9; ++id) AddTestPlayer("PLAYER " + std::to_string(id), 2400 - 10 * id);
    Answer(MsgRegistrationStillOpen, 0); // refused while registering
    Popup(0);
    ClosedRegistration = 1;
    Answer(MsgPairingNumbersQuestion, 0);
    Answer(MsgTopSeedWhiteQuestion, 1);
    ASSERT_TRUE(StartTournament(PlayerCount));
    AcceptPairing();
    for (int board = 1; board <= 4; ++board) GameTable(board, 1) = GameTable(board, 1) / 10 * 10 + WhiteWins;
    ASSERT_TRUE(SaveRound(1));
    const int bye = GameTable(5, 1) / 10000;
    ASSERT_EQ(GameTable(5, 1), EncodeGameCode(bye, 0, WhiteWinsForfeit));
    const std::string other = bye == 1 ? "2" : "1";
    const std::string refusal = "Player " + std::to_string(bye) +
                                " had the BYE in round 1: only the BYE's result can be recorded, opponent 0, "
                                "points 1 and NOCOL.";
    struct {
        std::string opponent, points, colour;
    } const cases[] = {
        {"0", "0", "NOCOL"}, {"0", "\xBD", "NOCOL"}, {"0", "1", "WHITE"}, {"0", "1", "BLACK"},
        {"0", "1", "NO TB"}, {other, "1", "NOCOL"},   {"0", "1", "NOCOL"},
    };
    WkListSelectItem(PlayersPage.playerList, bye - 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.opponent + "/" + c.points + "/" + c.colour);
        if (!GameDialog.window) {
            Answer(MsgChangePlayerGamesQuestion, 1);
            Popup(0);
        }
        Fill(GameDialog.round, "1");
        Fill(GameDialog.opponent, c.opponent);
        Fill(GameDialog.points, c.points);
        Fill(GameDialog.colour, c.colour);
        const bool taken = c.opponent == "0" && c.points == "1" && c.colour == "NOCOL";
        if (!taken) AnswerText(refusal, 0);
        Click(GameDialog.okButton);
        EXPECT_EQ(GameDialog.window == nullptr, taken);
        EXPECT_EQ(OpponentTable(bye, 1), 0);
        EXPECT_EQ(PlayerResultTable(bye, 1), WinUnplayed);
        EXPECT_EQ(ColorHistory(bye, 1), 0);
    }
}

} // namespace
} // namespace tmt
