#include "tourman/dialogs/game_dialog.h"

#include "message_boxes/message_boxes.h"
#include "toolkit/core/draw.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/shell.h"
#include "toolkit/widgets/combo_box.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/push_button.h"
#include "tourman/dialogs/close_buttons.h"
#include "tournament/game_code.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_robin_scores.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/scores.h"
#include "tournament/settings.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

GameDialogFields GameDialog;

namespace {

constexpr int kFontHelvSmall = 4, kFontTimesSmall = 6;

struct PointsRow {
    const char* text;
    int withoutOpponent, withOpponent;
};
// In the drop-down's order.
constexpr PointsRow kPoints[] = {
    {"0", LossUnplayed, LossAtBoard},
    {"1", WinUnplayed, WinAtBoard},
    {"\xBD", HalfUnplayed, DrawAtBoard},
};

struct ColourRow {
    const char* text;
    int colour;
};
constexpr ColourRow kColours[] = {{"WHITE", 1}, {"BLACK", -1}, {"NOCOL", 0}, {"NO TB", 0}};
constexpr const char* kNoTieBreak = "NO TB";

void Forget(WkObject*, WkMessage*, void*, std::uint32_t) {
    GameDialog = GameDialogFields();
}

WkObject* NumberField(WkObject* table, const char* text, int length) {
    WkObject* field = WkCreateEdit(table, text, length, kFontHelvSmall);
    WkEditSetFilter(field, WK_FILTER_DIGITS, nullptr);
    return field;
}

WkObject* DropDown(WkObject* table, const char* text, int length, int rows) {
    WkObject* combo = WkCreateComboBox(table, text, length, length, rows, kFontHelvSmall);
    WkEditSetReadOnly(combo);
    return combo;
}

// The number a digits-only field holds, -1 when it is empty.
int FieldNumber(WkObject* field) {
    const char* text = WkEditGetText(field);
    return text && *text ? std::atoi(text) : -1;
}

std::string FieldText(WkObject* field) {
    const char* text = WkEditGetText(field);
    return text ? text : "";
}

// The user goes on at the refused field, when one is named, typing it over.
void Refuse(MessageNumber message, WkObject* field = nullptr) {
    RefuseFieldValue(field, MessageText(message), MessageText(MsgClose));
}

void RefuseText(const std::string& text) {
    ShowAlert(text, MessageText(MsgClose));
}

} // namespace

std::string GameDialogByeRefusal(int player, int round) {
    return "Player " + std::to_string(player) + " had the BYE in round " + std::to_string(round) +
           ": only the BYE's result can be recorded, opponent 0, points 1 and NOCOL.";
}

std::string GameDialogConflictRefusal(int round, const std::string& conflict) {
    return "This change would contradict the games of round " + std::to_string(round) + ":\n" + conflict +
           ".";
}

WkObject* OpenGameDialog(int player, const char* name) {
    if (GameDialog.window) WkShellDestroy(GameDialog.window);
    GameDialogFields& g = GameDialog;
    std::string title = name ? name : "";
    title.erase(title.find_last_not_of(' ') + 1);
    title = std::to_string(player) + ": " + title;
    g.window = WkCreateShell(title.c_str(), WK_SHELL_DIALOG);
    WkFormSetSpacing(WkFormOf(g.window), 10);
    WkObjectSetBackgroundImageFile(WkFormOf(g.window), "tile6.bmp", WK_IMAGE_TILED);
    WkObjectAddDestroyHandler(g.window, Forget, nullptr);

    WkObject* table = WkCreateTableForm(g.window, 4);
    WkObjectSetTransparency(table, 255);
    WkObjectSetSize(table, 300, 70);
    for (int message : {MsgRound, MsgOpponent, MsgPoints, MsgColour})
        WkCreateLabel(table, MessageText(message).c_str(), kFontHelvSmall);
    g.round = NumberField(table, "", 2);
    g.opponent = NumberField(table, "0", 3);
    WkEditSetPreset(g.opponent, 1); // the 0 of no opponent, typed over
    g.points = DropDown(table, "\xBD", 2, 3);
    for (const PointsRow& row : kPoints) WkListAddItem(WkComboBoxGetList(g.points), row.text, 0);
    g.colour = DropDown(table, "NOCOL", 6, 4);
    for (const ColourRow& row : kColours) WkListAddItem(WkComboBoxGetList(g.colour), row.text, 0);

    WkObject* buttons = WkCreateHorizontalForm(g.window);
    WkObjectSetTransparency(buttons, 255);
    WkObjectSetShadow(buttons, 0, 0, 0);
    g.closeButton = WkCreateButton(buttons, MessageText(MsgClose).c_str(), kFontTimesSmall);
    WkButtonSetCallback(g.closeButton, OnCloseDialog, nullptr);
    g.okButton = WkCreateButton(buttons, MessageText(MsgOk).c_str(), kFontTimesSmall);
    WkButtonSetCallback(g.okButton, OnGameDialogOk, reinterpret_cast<void*>(std::intptr_t(player)));
    return g.window;
}

void OnGameDialogOk(WkObject* button, void*, void* data) {
    const GameDialogFields& g = GameDialog;
    const int player = int(reinterpret_cast<std::intptr_t>(data));
    const int round = FieldNumber(g.round);
    if (round < 1 || round > CurrentRound) return Refuse(MsgRoundOutOfRange, g.round);
    const int opponent = FieldNumber(g.opponent);
    if (opponent < 0 || opponent > PlayerCount || opponent == player)
        return Refuse(MsgPlayerIdOutOfRange, g.opponent);

    const std::string points = FieldText(g.points), colour = FieldText(g.colour);
    int result = LossUnplayed;
    for (const PointsRow& row : kPoints)
        if (points == row.text) result = opponent == 0 ? row.withoutOpponent : row.withOpponent;
    int played = 0;
    for (const ColourRow& row : kColours)
        if (colour == row.text) played = row.colour;
    if (colour == kNoTieBreak) result = HalfNoGameCode;

    // What the edit leaves must still agree with the round's games and the
    // other players' cells, or the round-state file saved next would be
    // refused when the tournament is opened again.
    std::vector<int> games;
    bool bye = false;
    for (int board = 1; board <= RoundBoardCount(round); ++board) {
        int white, black, digit;
        DecodeGameCode(GameTable(board, round), white, black, digit);
        bye = bye || ((white == player || black == player) && ByeBoardResult(white, black, false) >= 0);
        games.push_back(GameTable(board, round));
    }
    if (bye && (opponent != 0 || result != WinUnplayed || played != 0))
        return RefuseText(GameDialogByeRefusal(player, round));
    const OpponentConflict conflict = FindOpponentConflict(
        PlayerCount, games, [&](int id) { return id == player ? opponent : int(OpponentTable(id, round)); });
    if (conflict.player != 0) return RefuseText(GameDialogConflictRefusal(round, conflict.what));

    OpponentTable(player, round) = opponent;
    PlayerResultTable(player, round) = std::uint16_t(result);
    ColorHistory(player, round) = std::int16_t(played);
    if (IsRoundRobin()) ComputeRoundRobinTieBreaks(CurrentRound, PlayerCount);
    else ComputeScores(CurrentRound, PlayerCount);
    WkShellDestroy(button);
}

void EditPlayerGames(int player) {
    if (ClosedRegistration == 0) return Refuse(MsgRegistrationStillOpen);
    if (IsRoundRobin()) return Refuse(MsgNotInRoundRobin);
    if (AskQuestion(MessageText(MsgChangePlayerGamesQuestion), MessageText(MsgNo), MessageText(MsgYes)) == 0)
        return;
    if (!IsRegisteredId(player)) {
        WkBeep();
        return;
    }
    WkShellRealize(OpenGameDialog(player, Players[player].name));
}
