#include "tourman/pages/results/results_list.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/list.h"
#include "tourman/pages/results/results_widgets.h"
#include "tournament/game_code.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"

#include <cstdio>
#include <cstdlib>

std::string BoardRow(int board, int gameCode) {
    int white, black, digit;
    DecodeGameCode(gameCode, white, black, digit);
    char row[128];
    std::snprintf(row, sizeof row, "%3d: %3d %-20.20s (%4.1f) - %3d %-20.20s (%4.1f) = [%s]", board, white,
                  PlayerRecord(white).name, double(ScoreRecord(white).score), black, PlayerRecord(black).name,
                  double(ScoreRecord(black).score), ResultText(digit));
    return row;
}

std::string ResultRow(int board, int round) {
    return BoardRow(board, GameTable(board, round));
}

bool ShowRound(const std::string& text) {
    // Only digits reach the field; anything else is no round at all.
    char* end = nullptr;
    const long round = std::strtol(text.c_str(), &end, 10);
    const bool number = end != text.c_str() && *end == '\0';
    if (ShowRound(number && round >= 1 && round <= CurrentRound ? int(round) : 0)) return true;
    // The field goes back to the round the list shows, not the one refused.
    if (ResultsPage.roundField) WkEditReplaceText(ResultsPage.roundField, std::to_string(ShownRound).c_str(), 0, 0);
    return false;
}

void ForgetChosenBoard() {
    if (ResultsPage.boardLabel) WkObjectSetText(ResultsPage.boardLabel, MessageText(MsgChooseBoard).c_str());
}

bool ShowRound(int round) {
    if (round < 1 || round > CurrentRound) {
        ShowAlert(MessageText(MsgNoSuchRound), MessageText(MsgClose));
        return false;
    }
    // Listed anew, with no board chosen.
    if (ResultsPage.resultsList) WkListClear(ResultsPage.resultsList);
    RoundListed(round);
    return true;
}
