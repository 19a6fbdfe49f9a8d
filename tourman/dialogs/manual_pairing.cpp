#include "tourman/dialogs/manual_pairing.h"

#include "pairing/round_dispatcher.h"
#include "reports/board_cards.h"
#include "reports/pairing_lists.h"
#include "toolkit/core/colors.h"
#include "toolkit/core/letters.h"
#include "toolkit/core/object.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/shell.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/file_browser.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/progress_bar.h"
#include "toolkit/widgets/push_button.h"
#include "tourman/dialogs/close_buttons.h"
#include "tourman/frame/window_frame.h"
#include "tournament/capacities.h"
#include "tournament/color_history.h"
#include "tournament/files/atomic_file.h"
#include "tournament/game_code.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/pairing_predicates.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"


#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int ManualPairingMode = 0;

namespace {

constexpr WkFontSlot kFontFixed = 1, kFontHelvSmall = 4, kFontTimesSmall = 6, kFontTimesMedium = 7;
// An unpaired player's line: id, blank, the whole name; the column beside
// the pairs is as wide as the list's 24 columns, a longer name scrolls.
constexpr int kUnpairedLength = 4 + PlayerNameSize - 1, kUnpairedColumns = 24, kUnpairedWidth = 230;
// A pair's line holds both whole names and scores; 55 columns are seen.
constexpr int kPairLength = 12 + 2 * (PlayerNameSize - 1 + 5) + 3, kPairColumns = 55;

// Player marks: not available, available and unpaired, paired.
enum Mark { Absent = 0, Unpaired = 1, Paired = 2 };
using Marks = std::array<int, MaxPlayers + 1>;

struct Window {
    WkObject* shell = nullptr;
    WkObject *white = nullptr, *black = nullptr;
    WkObject *pairs = nullptr, *unpaired = nullptr;
    WkObject* status = nullptr;
    Marks marks{};
    int unpairedCount = 0;
    int pairCount = 0;
};

Window State;

void Alert(const std::string& text) {
    ShowAlert(text, MessageText(MsgClose));
}

// The round the pairs are checked for: a re-paired round must not count its
// own boards, which are being replaced, as games already played.
int PairedRound() {
    return ManualPairingMode == 2 ? CurrentRound : CurrentRound + 1;
}

// A BYE pair counts one player, any other two.
int PlayersIn(int white, int black) {
    return white == 0 || black == 0 ? 1 : 2;
}

// Whole names, unpadded: players whose names begin alike are told apart.
std::string PairLine(int white, int black) {
    char line[128];
    std::snprintf(line, sizeof line, "%3d - %3d : %s %.1f - %s %.1f", white, black, ShownName(white).c_str(),
                  double(ScoreRecord(white).score), ShownName(black).c_str(), double(ScoreRecord(black).score));
    return line;
}

std::string UnpairedLine(int id) {
    char line[64];
    std::snprintf(line, sizeof line, "%3d %s", id, ShownName(id).c_str());
    return line;
}

bool ReadPairLine(const char* line, int& white, int& black) {
    return std::sscanf(line, "%d - %d", &white, &black) == 2;
}

// Every available player unpaired, as at the window's start.
Marks FreshMarks(int& unpaired) {
    Marks marks{};
    unpaired = 0;
    for (int id = 1; id <= PlayerCount && id <= MaxPlayers; ++id) {
        marks[std::size_t(id)] = PlayerRecord(id).available ? Unpaired : Absent;
        if (marks[std::size_t(id)] == Unpaired) ++unpaired;
    }
    return marks;
}

void Restart() {
    State.marks = FreshMarks(State.unpairedCount);
    State.pairCount = 0;
    WkListClear(State.pairs);
    WkListClear(State.unpaired);
    for (int id = 1; id <= PlayerCount && id <= MaxPlayers; ++id)
        if (State.marks[std::size_t(id)] == Unpaired) WkListAddItem(State.unpaired, UnpairedLine(id).c_str(), id);
}

// The first rule a pair breaks: its message (0 for none) and the side it
// concerns (0 White, 1 Black; -1 the pair as a whole).
struct Fault {
    int message = 0;
    int side = -1;
};

Fault PairFault(int white, int black, const Marks& marks) {
    const int ids[2] = {white, black};
    for (int side : {0, 1})
        if (ids[side] < 0 || ids[side] > PlayerCount || ids[side] > MaxPlayers) return {MsgPlayerIdOutOfRange, side};
    for (int side : {0, 1})
        if (ids[side] != 0 && marks[std::size_t(ids[side])] == Absent) return {MsgPlayerNotAvailable, side};
    if (!CanPlayersMeet(white, black, PairedRound())) return {MsgMayNotBePaired, -1};
    if (white != 0 && marks[std::size_t(white)] == Paired) return {MsgWhiteAlreadyPaired, 0};
    if (black != 0 && marks[std::size_t(black)] == Paired) return {MsgBlackAlreadyPaired, 1};
    return {};
}

WkObject* SideField(int side) {
    return side == 1 ? State.black : State.white;
}

// The refusal names the field it concerns, unless its text does already,
// and that field takes the focus with its text selected, to be typed over.
void RefuseIds(const Fault& fault) {
    const bool named = fault.message == MsgWhiteAlreadyPaired || fault.message == MsgBlackAlreadyPaired ||
                       fault.message == MsgBlackNotAvailable;
    const std::string field = MessageText(fault.side == 1 ? MsgBlack : MsgWhite);
    Alert(fault.side >= 0 && !named ? field + ": " + MessageText(fault.message) : MessageText(fault.message));
    WkObject* focus = SideField(std::max(fault.side, 0));
    if (!focus) return;
    WkObjectSetFocus(focus);
    WkEditSelectAll(focus);
}

void MarkPaired(Marks& marks, int white, int black) {
    for (int id : {white, black})
        if (id != 0) marks[std::size_t(id)] = Paired;
}

void AddPair(int white, int black) {
    WkListAddItem(State.pairs, PairLine(white, black).c_str(), 0);
    State.unpairedCount -= PlayersIn(white, black);
    ++State.pairCount;
    MarkPaired(State.marks, white, black);
    for (int id : {white, black})
        if (id != 0) WkListDeleteText(State.unpaired, UnpairedLine(id).c_str());
}

// The two id fields: false, after alert MsgEnterBothPlayers naming the
// first empty one, when either is empty.
bool ReadIds(int& white, int& black) {
    const char* w = WkEditGetText(State.white);
    const char* b = WkEditGetText(State.black);
    const bool noWhite = !w || *w == '\0';
    if (noWhite || !b || *b == '\0') {
        RefuseIds({MsgEnterBothPlayers, noWhite ? 0 : 1});
        return false;
    }
    white = std::atoi(w), black = std::atoi(b);
    return true;
}

void Forget(WkObject*, WkMessage*, void*, std::uint32_t) {
    State = Window();
}

WkObject* Form(WkObject* parent, bool vertical, int red, int green, int blue) {
    WkObject* form = vertical ? WkCreateVerticalForm(parent) : WkCreateHorizontalForm(parent);
    WkObjectSetBackgroundRGB(form, red, green, blue);
    return form;
}

WkObject* Fixed(WkObject* form, int width, int height) {
    WkObjectSetResizable(form, 0, 0);
    WkObjectSetSize(form, width, height);
    return form;
}

WkObject* Button(WkObject* parent, MessageNumber message, WkFontSlot font, int width,
                 WkButtonCallback callback) {
    WkObject* button = WkCreateButton(parent, MessageText(message).c_str(), font);
    WkObjectSetSize(button, width, 35);
    WkButtonSetCallback(button, callback, nullptr);
    return button;
}

// A labelled id field in its fixed box.
WkObject* IdField(WkObject* row, MessageNumber message, int width, const char* name) {
    WkObject* box = Fixed(WkCreateHorizontalForm(row), width, 35);
    WkCreateLabel(box, MessageText(message).c_str(), kFontHelvSmall);
    WkObject* field = WkCreateEdit(box, "", 3, kFontFixed);
    WkEditSetFilter(field, WK_FILTER_DIGITS, nullptr);
    WkObjectSetName(field, name);
    return field;
}

void Open(int mode) {
    if (IsRoundRobin()) {
        Alert(MessageText(MsgNotInRoundRobin));
        return;
    }
    if (mode == 0 && RoundLimitReached()) return;
    ManualPairingMode = mode;
    // The colour dues and BYE rights of the round to be paired: from the
    // rounds before it (never from the boards a re-pairing replaces); in the
    // first two rounds nobody has a colour preference yet.
    const int rounds = PairedRound() - 1;
    if (rounds >= 1) UpdateColorHistory(rounds, PlayerCount);
    if (CurrentRound <= 1)
        for (int id = 0; id <= PlayerCount && id <= MaxPlayers; ++id) PairingStates[id].colorFlexible = 1;
    WkShellRealize(OpenManualPairing());
}

} // namespace

void StartManualPairing() {
    Open(0);
}

void RepairShownRound() {
    Open(2);
}

WkObject* ManualPairingWindow() {
    return State.shell;
}

void ShowPairingCounts(int unpaired, int pairs) {
    char text[160];
    std::snprintf(text, sizeof text, "%s = %d  -  %s = %d", MessageText(MsgUnpaired).c_str(), unpaired,
                  MessageText(MsgPairs).c_str(), pairs);
    if (State.status) WkObjectSetText(State.status, text);
}

WkObject* OpenManualPairing() {
    if (State.shell) return State.shell; // one window at a time
    Window& w = State;
    // A dialog without a close box: Cancel asks before the pairs are lost.
    w.shell = WkCreateShell(MessageText(MsgManualPairing).c_str(), WK_SHELL_DIALOG | WK_SHELL_NO_CLOSE);
    WkObjectAddDestroyHandler(w.shell, Forget, nullptr);

    WkObject* columns = Form(w.shell, false, 197, 197, 144);
    WkObject* left = Form(columns, true, 197, 197, 144);
    WkObjectSetShadow(left, WK_SHADOW_NONE, 0, 0);
    WkObject* row = WkCreateHorizontalForm(left);
    WkObjectSetResizable(row, 1, 1);
    w.white = IdField(row, MsgWhite, 169, "white");
    w.black = IdField(row, MsgBlack, 166, "black");
    Button(row, MsgAddPair, kFontTimesSmall, 120, OnAddPair);
    w.pairs = WkCreateList(left, kFontFixed, kPairLength, 17, kPairColumns);
    WkObjectSetName(w.pairs, "pairs");
    WkObjectSetColors(w.pairs, WkAllocColor(53, 112, 112), WkAllocColor(255, 255, 255));
    WkObjectSetShadow(w.pairs, WK_SHADOW_NONE, 0, 0);

    WkObject* right = Fixed(Form(columns, true, 197, 197, 144), kUnpairedWidth, 408);
    WkObject* holder = WkCreateVerticalForm(right);
    WkObjectSetHeight(holder, 140);
    WkObjectSetTransparency(holder, 255);
    w.unpaired = WkCreateList(holder, kFontFixed, kUnpairedLength, 6, kUnpairedColumns);
    WkObjectSetName(w.unpaired, "unpaired");
    WkObjectSetShadow(w.unpaired, WK_SHADOW_NONE, 0, 0);
    WkListSetTitle(w.unpaired, MessageText(MsgUnpaired).c_str());
    WkObjectSetTransparency(w.unpaired, 155);
    WkListSetCompareFunction(w.unpaired, WkCompareTextNoCase);
    Restart();
    Button(right, MsgCheckPair, kFontTimesSmall, 110, OnCheckPair);
    Button(right, MsgRemovePair, kFontTimesSmall, 110, OnRemovePair);
    Button(right, MsgLoadPairs, kFontTimesSmall, 110, OnLoadPairs);
    Button(right, MsgSavePairs, kFontTimesSmall, 110, OnSavePairs);

    WkObject* lower = Form(w.shell, false, 192, 176, 160);
    WkObjectSetResizable(lower, 1, 1);
    Button(lower, MsgClose, kFontTimesMedium, 110, OnConfirmClose);
    Button(lower, MsgOk, kFontTimesMedium, 110, OnConfirmPairs);

    w.status = WkCreateProgressBar(w.shell, MessageText(MsgEnterPairs).c_str(), 100, kFontTimesMedium);
    WkObjectSetName(w.status, "status");
    return w.shell;
}

void OnAddPair(WkObject*, void*, void*) {
    int white, black;
    if (!ReadIds(white, black)) return;
    if (const Fault fault = PairFault(white, black, State.marks); fault.message) {
        RefuseIds(fault);
        return;
    }
    AddPair(white, black);
    ShowPairingCounts(State.unpairedCount, State.pairCount);
    WkEditReplaceText(State.white, "", 0, 0);
    WkEditReplaceText(State.black, "", 0, 0);
    // The next pair is typed at once, White first.
    WkObjectSetFocus(State.white);
}

void OnCheckPair(WkObject*, void*, void*) {
    int white, black;
    if (!ReadIds(white, black)) return;
    const bool whiteOut = white < 0 || white > PlayerCount, blackOut = black < 0 || black > PlayerCount;
    Fault fault{MsgMayNotBePaired, -1};
    if (whiteOut || blackOut) fault = {MsgPlayerIdOutOfRange, whiteOut ? 0 : 1};
    else if (white != 0 && State.marks[std::size_t(white)] == Absent) fault = {MsgPlayerNotAvailable, 0};
    else if (black != 0 && State.marks[std::size_t(black)] == Absent) fault = {MsgBlackNotAvailable, 1};
    else if (CanPlayersMeet(white, black, PairedRound())) fault = {MsgMayBePaired, -1};
    RefuseIds(fault);
}

void OnRemovePair(WkObject*, void*, void*) {
    if (State.pairCount == 0) return;
    const WkListItem* item = WkListGetSelectedItem(State.pairs);
    int white, black;
    if (!item || !ReadPairLine(item->text, white, black)) return;
    const int position = item->position;
    State.unpairedCount += PlayersIn(white, black);
    --State.pairCount;
    for (int id : {white, black}) {
        if (id == 0) continue;
        WkListAddItem(State.unpaired, UnpairedLine(id).c_str(), id);
        State.marks[std::size_t(id)] = Unpaired;
    }
    ShowPairingCounts(State.unpairedCount, State.pairCount);
    WkListDeleteItem(State.pairs, position);
}

void OnLoadPairs(WkObject*, void*, void*) {
    std::string file, folder;
    if (!WkFileBrowser(MessageText(MsgLoadPairsTitle).c_str(), "*.man", file, folder, 1)) return;
    const std::string path = folder + file;
    std::vector<PairFileBoard> boards;
    std::string error;
    if (!ReadPairFile(path, boards, error)) {
        Alert(MessageText(MsgCannotOpenFile) + "\n" + error);
        return;
    }
    // The whole file is checked as the add button checks a pair before the
    // window changes: a bad file leaves the pairs typed so far.
    int unpaired = 0;
    Marks marks = FreshMarks(unpaired);
    for (std::size_t i = 0; i < boards.size(); ++i) {
        const PairFileBoard& p = boards[i];
        if (const int fault = PairFault(p.white, p.black, marks).message) {
            char where[64];
            std::snprintf(where, sizeof where, "pair %d: %d - %d", int(i) + 1, p.white, p.black);
            Alert(MessageText(fault) + "\n" + path + ", " + where);
            return;
        }
        MarkPaired(marks, p.white, p.black);
    }
    Restart();
    for (const PairFileBoard& p : boards) AddPair(p.white, p.black);
    ShowPairingCounts(State.unpairedCount, State.pairCount);
}

void OnSavePairs(WkObject*, void*, void*) {
    std::string file, folder;
    if (!WkFileBrowser(MessageText(MsgSaveAs).c_str(), "", file, folder, 1)) return;
    // Nothing to save leaves a file of that name as it was.
    if (State.pairCount == 0) {
        Alert(MessageText(MsgNoPlayerRegistered));
        return;
    }
    AtomicFileWriter out(folder + file);
    if (out.ok()) {
        std::fprintf(out.stream(), "%d\r\n", State.pairCount);
        const int count = WkListGetCount(State.pairs);
        for (int i = 0; i < count; ++i) {
            int white, black;
            if (ReadPairLine(WkListGetItem(State.pairs, i)->text, white, black))
                std::fprintf(out.stream(), "%3d  %3d\r\n", white, black);
        }
    }
    if (!out.ok() || !out.commit()) Alert(MessageText(MsgCannotCreateFile) + "\n" + out.path());
}

void OnConfirmPairs(WkObject* button, void*, void*) {
    if (State.unpairedCount > 0) {
        Alert(MessageText(MsgPlayersNotPaired));
        return;
    }
    if (State.pairCount > SwissMaxBoards) {
        Alert("A round holds at most " + std::to_string(SwissMaxBoards) + " boards.");
        return;
    }
    SetCurrentRound(ManualPairingMode == 0 ? CurrentRound + 1 : CurrentRound);
    const int round = CurrentRound;
    // The boards in the order of the pairs, the BYE boards last as the
    // pairing engines place them: the board order keeps a BYE board where it
    // stands. The BYE has no colour: its board is the player's free point.
    std::vector<int> codes, byes;
    for (int i = 0; i < State.pairCount; ++i) {
        int white = 0, black = 0;
        ReadPairLine(WkListGetItem(State.pairs, i)->text, white, black);
        if (white == 0 || black == 0) byes.push_back(EncodeGameCode(white + black, 0, WhiteWinsForfeit));
        else codes.push_back(EncodeGameCode(white, black, NotPlayed));
    }
    codes.insert(codes.end(), byes.begin(), byes.end());
    GameTable(0, round) = int(codes.size());
    for (std::size_t i = 0; i < codes.size(); ++i) GameTable(int(i) + 1, round) = codes[i];
    if (round >= 2) AllocateColors(round);
    SortRoundBoards(round);
    if (ManualPairingMode == 0) {
        ListProposedRound();
    } else {
        WritePairingLists(round);
        // The new boards are unplayed: the round is open for results again,
        // with its own board cards, and the next round waits for them.
        WriteBoardCards(round);
        RoundAccepted();
    }
    WkShellDestroy(button);
}
