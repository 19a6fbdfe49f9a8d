#include "tourman/dialogs/color_window.h"

#include "pairing/color_improvement.h"
#include "pairing/round_dispatcher.h"
#include "reports/board_cards.h"
#include "toolkit/core/object.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/shell.h"
#include "toolkit/widgets/button_core.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/header_table.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/push_button.h"
#include "tourman/dialogs/close_buttons.h"
#include "tourman/frame/window_frame.h"
#include "tournament/color_history.h"
#include "tournament/game_code.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/pairing_predicates.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/run_options.h"
#include "tournament/settings.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr WkFontSlot kFontFixed = 1, kFontHelvMedium = 5, kFontTimesMedium = 7;
constexpr int kMayNotMeet = 100000;
constexpr const char* kRoundClosed =
    "Colours can only be improved in the current round before any of its results is entered.";

struct Window {
    WkObject* shell = nullptr;
    int round = 0;
    std::vector<int> boards;        // working game codes, index 1..B
    std::vector<WkObject*> buttons; // by user data: 2k - 1 White of board k, 2k Black
    WkObject* selection[2] = {};    // "%3d (%d)": player id, board
    int turn = 0;                   // the selection the next pick fills
    int picks = 0;                  // 0 to 2
    WkObject* difference = nullptr;
};

Window State;

enum class Kind { None, WhiteWhite, WhiteBlack, BlackWhite, BlackBlack };

// The two selected players and the boards they sit on, read back from the
// selection labels.
struct Exchange {
    int first = 0, second = 0;
    int board1 = 0, board2 = 0;
    int a = 0, b = 0, c = 0, d = 0; // board 1 White, Black; board 2 White, Black
    Kind kind = Kind::None;
};

int BoardCount() {
    return int(State.boards.size()) - 1;
}

void Alert(const std::string& text) {
    ShowAlert(text, MessageText(MsgClose));
}

std::string Picture(int id) {
    const PairingState& s = StateRecord(id);
    const char* name = "nn";
    if (s.colorFlexible == 1 && s.dueColor == 1) name = "wg";
    else if (s.colorFlexible == 1 && s.dueColor == 0) name = "bg";
    else if (s.colorFlexible == 0 && s.dueColor == 0) name = "br";
    else if (s.colorFlexible == 0 && s.dueColor == 1) name = "wr";
    return ProgramFolder + "sys/" + name + ".bmp";
}

std::string ButtonText(int id) {
    char text[40];
    std::snprintf(text, sizeof text, "%3d: %4.1f, %4d", id, double(ScoreRecord(id).score), PlayerRecord(id).ratingUsed);
    return text;
}

// The player of one side of a working board: side 0 White, 1 Black.
int PlayerOn(int board, int side) {
    int white, black, digit;
    DecodeGameCode(State.boards[std::size_t(board)], white, black, digit);
    return side == 0 ? white : black;
}

void ShowBoardButtons(int board) {
    for (int side = 0; side < 2; ++side) {
        WkObject* button = State.buttons[std::size_t(2 * board - 1 + side)];
        const int id = PlayerOn(board, side);
        WkObjectSetText(button, ButtonText(id).c_str());
        WkButtonSetImageFiles(button, Picture(id).c_str(), nullptr, nullptr);
    }
}

// Done and Do AUTO write every board of the round as not played: they act
// only on the current round, still of the given board count, while none of
// its games has a result. Otherwise alerts and returns false.
bool RoundOpen(int round, int boards) {
    bool open = round == CurrentRound && boards == RoundBoardCount(round);
    for (int board = 1; open && board <= boards; ++board) {
        int white, black, digit;
        DecodeGameCode(GameTable(board, round), white, black, digit);
        open = white == 0 || black == 0 || digit == NotPlayed;
    }
    if (!open) Alert(kRoundClosed);
    return open;
}

bool MayWriteRound() {
    return RoundOpen(State.round, BoardCount());
}

bool ReadSelections(Exchange& x) {
    int* ids[2] = {&x.first, &x.second};
    int* boards[2] = {&x.board1, &x.board2};
    for (int i = 0; i < 2; ++i) {
        const char* text = WkLabelGetText(State.selection[i]);
        if (std::sscanf(text, "%d (%d", ids[i], boards[i]) != 2 || *boards[i] < 1 || *boards[i] > BoardCount()) {
            Alert(MessageText(MsgEnterBothPlayers));
            return false;
        }
    }
    x.a = PlayerOn(x.board1, 0), x.b = PlayerOn(x.board1, 1);
    x.c = PlayerOn(x.board2, 0), x.d = PlayerOn(x.board2, 1);
    const bool firstWhite = x.first == x.a, firstBlack = x.first == x.b;
    const bool secondWhite = x.second == x.c, secondBlack = x.second == x.d;
    if (firstWhite && secondWhite) x.kind = Kind::WhiteWhite;
    else if (firstWhite && secondBlack) x.kind = Kind::WhiteBlack;
    else if (firstBlack && secondWhite) x.kind = Kind::BlackWhite;
    else if (firstBlack && secondBlack) x.kind = Kind::BlackBlack;
    return true;
}

bool IsTransposition(Kind kind) {
    return kind == Kind::WhiteWhite || kind == Kind::BlackBlack;
}

int Difference(const Exchange& x) {
    if (IsTransposition(x.kind)) return TranspositionDifference(x.a, x.b, x.c, x.d);
    return InterchangeDifference(x.a, x.b, x.c, x.d, x.kind == Kind::WhiteBlack ? 1 : 0);
}

// The rule question of an exchange: its text by kind and rule (0 the
// 80-point rule, 1 the 200-point rule). True to go on.
bool AskRule(const Exchange& x, int rule, int difference) {
    static const char* const texts[2][3] = {
        {"Contrast with 80 points rule. Do you want to proceede anyway?",
         "This interchange do not met the 80 points rule\nDo you want to proceede anyway?",
         "This transposition do not met the 80 points rule\nDo you want to proceede anyway?"},
        {"Contrast with 200 points rule. Do you want to proceede anyway?",
         "This interchange do not met the 200 points rule\nDo you want to proceede anyway?",
         "This transposition do not met the 200 points rule\nDo you want to proceede anyway?"},
    };
    const int which = x.kind == Kind::WhiteWhite ? 0 : x.kind == Kind::BlackBlack ? 2 : 1;
    char title[32];
    std::snprintf(title, sizeof title, "D = %d", difference);
    return AskYesNo(title, texts[rule][which]) == 1;
}

// Writes a working board; a board that holds the BYE keeps the BYE's result
// and has it as Black, so that it stays a BYE board for the colour
// allocation and the result entry.
void WriteWorking(int board, int white, int black, int byeDigit) {
    int& code = State.boards[std::size_t(board)];
    if (white == 0 || black == 0) code = EncodeGameCode(white == 0 ? black : white, 0, byeDigit);
    else code = EncodeGameCode(white, black, NotPlayed);
}

void CloseWindowOf(void* button) {
    WkShellDestroy(static_cast<WkObject*>(button));
}

// The round's board cards and the window follow the new boards.
void ShowNewBoards() {
    WriteBoardCards(CurrentRound);
    // The results page lists the current round's boards anew.
    SetCurrentRound(CurrentRound);
}

void OnDoAuto(WkObject* button, void*, void*) {
    if (!MayWriteRound()) return;
    AutoColorImprovement(button, 0, reinterpret_cast<void*>(std::intptr_t(1)));
    ShowNewBoards();
}

void Forget(WkObject*, WkMessage*, void*, std::uint32_t) {
    State = Window();
}

WkObject* Form(WkObject* parent, bool vertical, int red, int green, int blue) {
    WkObject* form = vertical ? WkCreateVerticalForm(parent) : WkCreateHorizontalForm(parent);
    WkObjectSetBackgroundRGB(form, red, green, blue);
    return form;
}

WkObject* EtchedLabel(WkObject* parent, const char* text, WkFontSlot font, int width, int outer) {
    WkObject* label = WkCreateLabel(parent, text, font);
    WkObjectSetShadow(label, WK_SHADOW_ETCHED_IN, width, outer);
    return label;
}

WkObject* Button(WkObject* parent, const char* caption, int width, WkButtonCallback callback) {
    WkObject* button = WkCreateButton(parent, caption, kFontTimesMedium);
    WkObjectSetSize(button, width, 35);
    WkButtonSetCallback(button, callback, nullptr);
    return button;
}

WkObject* PlayerButton(WkObject* table, int board, int side) {
    const int id = PlayerOn(board, side);
    WkObject* button = WkCreateImageButton(table, ButtonText(id).c_str(), kFontFixed, Picture(id).c_str(), "", "",
                                           "", "", "");
    WkObjectSetSize(button, 160, 33);
    WkButtonSetTextPosition(button, side);
    if (side == 0) WkObjectSetShadow(button, WK_SHADOW_ETCHED_IN, 2, 1);
    const std::intptr_t data = 2 * board - 1 + side;
    WkButtonSetCallback(button, OnPickPlayerForExchange, reinterpret_cast<void*>(data));
    return button;
}

} // namespace

WkObject* ColorImprovementDialog() {
    return State.shell;
}

int ColorWorkingBoard(int board) {
    return board >= 1 && board <= BoardCount() ? State.boards[std::size_t(board)] : EmptyGameCode;
}

void ColorImprovementCommand() {
    if (IsRoundRobin()) {
        Alert(MessageText(MsgNotInRoundRobin));
        return;
    }
    if (!RoundOpen(CurrentRound, RoundBoardCount(CurrentRound))) return;
    // One window over the round: opened again, it only comes forward.
    WkShellRealize(State.shell ? State.shell : OpenColorImprovementDialog());
}

void InstallColorImprovementHooks() {
    // The board list is left empty: the pairing page lists a proposed
    // round's boards from the round's table whenever the window shows the
    // round's state.
    ColorImprovementWindow.closeDialog = CloseWindowOf;
}

WkObject* OpenColorImprovementDialog() {
    if (State.shell) {
        WkObject* old = State.shell;
        WkObjectRemoveDestroyHandler(old, Forget);
        State = Window();
        WkShellDestroy(old);
    }
    Window& w = State;
    w.round = CurrentRound;
    const int boards = RoundBoardCount(CurrentRound);
    w.boards.assign(std::size_t(boards) + 1, 0);
    for (int k = 1; k <= boards; ++k) w.boards[std::size_t(k)] = GameTable(k, CurrentRound);
    w.buttons.assign(std::size_t(2 * boards) + 1, nullptr);

    // A dialog without a close box: it closes through its own buttons.
    w.shell = WkCreateShell("Color Improvement", WK_SHELL_DIALOG | WK_SHELL_NO_CLOSE);
    WkFormSetSpacing(w.shell, 0);
    WkObjectAddDestroyHandler(w.shell, Forget, nullptr);

    WkObject* upper = Form(w.shell, false, 197, 197, 144);
    WkObject* left = Form(upper, true, 197, 197, 144);
    WkObjectSetShadow(left, WK_SHADOW_NONE, 0, 0);
    WkObject* table = WkCreateHeaderTableForm(left, 3, 400, 420, 1, 0);
    for (const char* heading : {"Table", "White", "Black"}) EtchedLabel(table, heading, kFontHelvMedium, 1, 1);
    for (int k = 1; k <= boards; ++k) {
        char number[16];
        std::snprintf(number, sizeof number, "% 3d: ", k);
        WkObjectSetHeight(WkCreateLabel(table, number, kFontFixed), 29);
        for (int side = 0; side < 2; ++side) w.buttons[std::size_t(2 * k - 1 + side)] = PlayerButton(table, k, side);
    }
    WkObject* selections = WkCreateHorizontalForm(left);
    for (WkObject*& label : w.selection) {
        label = EtchedLabel(selections, "", kFontHelvMedium, 0, 2);
        WkObjectSetSize(label, 90, 30);
    }

    WkObject* right = Form(upper, true, 197, 197, 144);
    WkObjectSetResizable(right, 0, 0);
    WkObjectSetSize(right, 160, 350);
    WkObjectSetShadow(right, WK_SHADOW_NONE, 0, 0);
    Button(right, "Do AUTO", 140, OnDoAuto);
    Button(right, "Verify Pair", 140, OnVerifyPair);
    Button(right, "Exchange Players", 140, OnExchangePlayers);
    w.difference = EtchedLabel(right, "", kFontTimesMedium, 0, 2);
    WkObjectSetSize(w.difference, 140, 40);

    WkObject* lower = Form(w.shell, false, 192, 176, 160);
    WkObjectSetResizable(lower, 1, 1);
    Button(lower, "Close", 110, OnConfirmClose);
    Button(lower, "Done", 110, OnColorImprovementDone);
    return w.shell;
}

void OnPickPlayerForExchange(WkObject*, void*, void* data) {
    const int d = int(reinterpret_cast<std::intptr_t>(data));
    const int board = d % 2 == 1 ? (d - 1) / 2 + 1 : (d - 2) / 2 + 1;
    if (board < 1 || board > BoardCount()) return;
    const int id = PlayerOn(board, d % 2 == 1 ? 0 : 1);
    if (State.picks < 2) ++State.picks;
    char text[32];
    std::snprintf(text, sizeof text, "%3d (%d)", id, board);
    WkObjectSetText(State.selection[State.turn], text);
    State.turn = 1 - State.turn;
    if (State.picks == 2) ShowExchangeDifference();
}

void ShowExchangeDifference() {
    Exchange x;
    if (!ReadSelections(x)) return;
    char text[112];
    if (x.board1 == x.board2) {
        std::snprintf(text, sizeof text, "0");
    } else if (x.kind != Kind::None) {
        const int difference = Difference(x);
        if (difference == kMayNotMeet)
            std::snprintf(text, sizeof text, "%s", MessageText(MsgNotAllowed).c_str());
        else std::snprintf(text, sizeof text, "%d %s", difference, IsTransposition(x.kind) ? "trans." : "inter.");
    } else {
        return;
    }
    WkObjectSetText(State.difference, text);
}

void OnVerifyPair(WkObject*, void*, void*) {
    Exchange x;
    if (!ReadSelections(x)) return;
    Alert(MessageText(CanPlayersMeet(x.first, x.second, CurrentRound) ? MsgMayBePaired : MsgMayNotBePaired));
}

void OnExchangePlayers(WkObject*, void*, void*) {
    Exchange x;
    if (!ReadSelections(x)) return;
    if (x.first == x.second) {
        Alert("Please don't loose time :-)");
        return;
    }
    if (x.board1 == x.board2) {
        Alert(MessageText(MsgSameBoard));
        return;
    }
    if (x.kind == Kind::None) return;

    const PairingState &sa = StateRecord(x.a), &sb = StateRecord(x.b), &sc = StateRecord(x.c), &sd = StateRecord(x.d);
    const int s1 = sa.dueColor + sb.dueColor, s2 = sc.dueColor + sd.dueColor;
    const int da = sa.colorDifference, db = sb.colorDifference, dc = sc.colorDifference, dd = sd.colorDifference;
    const bool opposed = s1 * s2 < 0;
    const bool r200 = (da * db > 0 || dc * dd > 0) && opposed;
    const bool r80 = da + db == 0 && dc + dd == 0 && opposed;
    const int difference = Difference(x);
    if (difference == kMayNotMeet) {
        Alert(MessageText(MsgMayNotBePaired));
        return;
    }
    if (difference > 200 && r200) {
        if (!AskRule(x, 1, difference)) return;
    } else if (difference > 80 && r80 && !AskRule(x, 0, difference)) {
        return;
    }

    int byeDigit = WhiteWinsForfeit;
    for (int board : {x.board1, x.board2}) {
        const int code = State.boards[std::size_t(board)];
        if (IsByeCode(code)) byeDigit = code % 10;
    }
    int one[2] = {x.a, x.b}, two[2] = {x.c, x.d};
    int& mine = x.kind == Kind::WhiteWhite || x.kind == Kind::WhiteBlack ? one[0] : one[1];
    int& theirs = x.kind == Kind::WhiteWhite || x.kind == Kind::BlackWhite ? two[0] : two[1];
    std::swap(mine, theirs);
    WriteWorking(x.board1, one[0], one[1], byeDigit);
    WriteWorking(x.board2, two[0], two[1], byeDigit);
    // The buttons follow the boards (a BYE board shows the BYE as Black).
    ShowBoardButtons(x.board1);
    ShowBoardButtons(x.board2);

    for (WkObject* label : {State.selection[0], State.selection[1], State.difference}) WkObjectSetText(label, " ");
    State.picks = 0;
}

void OnColorImprovementDone(WkObject* button, void*, void*) {
    if (!MayWriteRound()) return;
    const int round = CurrentRound;
    for (int k = 1; k <= BoardCount(); ++k) GameTable(k, round) = State.boards[std::size_t(k)];
    if (round > 1) AllocateColors(round);
    SortRoundBoards(round);
    ListProposedRound(); // the board list filled again, the pairing lists written
    WkShellDestroy(button);
    ShowNewBoards();
}
