#include "tournament/game_code.h"

#include "tournament/capacities.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"

namespace {

const char* const ResultTexts[10] = {
    "0 - 1",
    "1 - 0",
    "0F-0F",
    "1F- 0",
    "0 -1F",
    "\xBD - \xBD",
    ("\xBD" "F-F\xBD"), // split, as \xBDF would be one escape
    " adj ",
    "\xBD FNB",
    " ... ",
};

bool Packable(int id) {
    return id >= 0 && id <= MaxPlayers;
}

} // namespace

int EncodeGameCode(int white, int black, int digit) {
    if (!Packable(white) || !Packable(black) || digit < 0 || digit > 9) {
        ShowAlert(MessageText(MsgPlayerNumberTooHigh), MessageText(MsgClose));
        return EmptyGameCode;
    }
    return white * 10000 + black * 10 + digit;
}

int DecodeGameCode(int code, int& white, int& black, int& digit) {
    digit = code % 10;
    white = code / 10000;
    black = code / 10 - white * 1000;
    return white;
}

bool IsByeCode(int code) {
    int white, black, digit;
    DecodeGameCode(code, white, black, digit);
    return white == 0 || black == 0;
}

int ByeBoardResult(int white, int black, bool roundRobin) {
    if (white != 0 && black != 0) return -1;
    if (roundRobin) return BothForfeit;
    return black == 0 ? WhiteWinsForfeit : BlackWinsForfeit;
}

const char* ResultText(int digit) {
    if (digit < 0 || digit > 9) return ResultTexts[NotPlayed];
    return ResultTexts[digit];
}
