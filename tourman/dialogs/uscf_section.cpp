#include "tourman/dialogs/uscf_section.h"

#include "message_boxes/message_boxes.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/shell.h"
#include "toolkit/widgets/combo_box.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/push_button.h"
#include "toolkit/widgets/tooltip.h"
#include "tourman/dialogs/close_buttons.h"
#include "tournament/calendar_date.h"
#include "tournament/files/atomic_file.h"
#include "tournament/game_code.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <algorithm>
#include <cstdio>
#include <string>

UscfSectionWidgets UscfSection;

namespace {

constexpr int kFontDefault = 0, kFontFixedMedium = 2, kFontHelvMedium = 5, kFontTimesMedium = 7, kFontHelvLarge = 8;

enum FieldKind { FreeText, Choice, Shown, Digits };

struct FieldSpec {
    const char* label;
    FieldKind kind;
    int length;
    const char* initial; // null: taken from the tournament
    const char* choices; // one character each
    const char* tooltip;
};

const FieldSpec kFields[UscfFieldCount] = {
    {"Section Name", FreeText, 30, nullptr, nullptr, nullptr},
    {"Rating System", Choice, 1, "R", "RDQ", "R regular\nD dual\nQ quick"},
    {"K Factor", Choice, 1, "F", "FHQ", "F full\nH half\nQ quick"},
    {"Time Control", FreeText, 24, "Game/xx", nullptr, nullptr},
    {"ID Chief TD", FreeText, 8, "0", nullptr, nullptr},
    {"ID Assistant TD", FreeText, 8, "0", nullptr, nullptr},
    {"Tournament Type", Choice, 1, nullptr, "SMRD", "S swiss system\nM match\nR round robin\nD double round robin"},
    {"Rounds", Shown, 2, nullptr, nullptr, nullptr},
    {"Number of Players", Shown, 4, nullptr, nullptr, nullptr},
    {"Begin Date", Digits, 8, nullptr, nullptr, nullptr},
    {"End Date", Digits, 8, nullptr, nullptr, nullptr},
    {"Section Type", Choice, 1, "N", "NPJSF", "N non scholastic\nP primary\nJ in-school jtp\nS scholastic\nF fide"},
    {"Gran Prix Status", Choice, 1, "N", "NGE", "N non scholastic\nG grand prix\nE enhanced grand prix"},
    {"Gran Prix Points", Digits, 3, "0", nullptr, nullptr},
};
constexpr int kChiefTd = 4, kAssistantTd = 5, kTournamentType = 6, kBeginDate = 9, kEndDate = 10;

// The dialog's three rows of labels over fields: first index and columns.
constexpr int kRows[3][2] = {{0, 4}, {4, 5}, {9, 5}};

constexpr const char* kEmptyFieldText = "There can't be empty fields!\nPlease fill all fields with some value";
constexpr const char* kCannotSaveText = "Cannot save the USCF report file";

// The tournament's own date as the section file writes it; empty when the
// settings hold no date.
std::string TournamentDate(const char* stored) {
    CalendarDate date;
    return ParseDate(stored, DateForm::DayFirst, date) ? UscfDateText(date) : "";
}

std::string InitialValue(int index) {
    switch (index) {
    case 0:
        return Settings.Name;
    case kTournamentType:
        return Settings.PairingSystem == SingleRoundRobinSystem ? "R"
               : Settings.PairingSystem == DoubleRoundRobinSystem ? "D"
                                                                   : "S";
    case 7:
        return std::to_string(CurrentRound);
    case 8:
        return std::to_string(PlayerCount);
    case kBeginDate:
    case kEndDate:
        return TournamentDate(index == kBeginDate ? Settings.BeginDate : Settings.EndDate);
    default:
        return kFields[index].initial;
    }
}

WkObject* MakeField(WkObject* table, int index) {
    const FieldSpec& spec = kFields[index];
    const std::string text = InitialValue(index);
    if (spec.kind != Choice) {
        WkObject* field = WkCreateEdit(table, text.c_str(), spec.length, kFontFixedMedium);
        if (spec.kind == Digits) WkEditSetFilter(field, WK_FILTER_DIGITS, nullptr);
        if (spec.kind == Shown) WkEditSetReadOnly(field);
        // The fixed texts the dialog opens with are samples or a 0 that
        // stands for none, and a text that fills its field leaves nothing
        // to add: typed over, clicked into or not. The section's name is
        // the tournament's, to be kept or corrected.
        else if (spec.initial || int(text.size()) == spec.length)
            WkEditSetPreset(field, 1);
        return field;
    }
    const std::string choices = spec.choices;
    const int font = index == kTournamentType ? kFontDefault : kFontFixedMedium;
    WkObject* combo = WkCreateComboBox(table, text.c_str(), 1, 1, int(choices.size()), font);
    WkEditSetReadOnly(combo);
    WkObjectSetShadow(combo, WK_SHADOW_ETCHED_IN, 2, 1);
    WkObjectSetResizable(combo, 0, 0); // one character wide, not the cell's width
    for (char choice : choices) WkListAddItem(WkComboBoxGetList(combo), std::string(1, choice).c_str(), 0);
    WkObjectSetTooltip(combo, spec.tooltip, 0, 10000);
    return combo;
}

WkObject* MakeButton(WkObject* row, const char* caption) {
    WkObject* button = WkCreateButton(row, caption, kFontTimesMedium);
    WkObjectSetSize(button, 130, 35);
    WkObjectSetShadow(button, WK_SHADOW_ETCHED_IN, 2, 1);
    return button;
}

void Forget(WkObject* window, WkMessage*, void*, std::uint32_t) {
    if (UscfSection.window == window) UscfSection = UscfSectionWidgets();
}

// A player's cell of one round: every round has one, so that the n-th cell
// is round n. A round without a game and without a point (not paired,
// withdrawn, a round robin's scheduled BYE, whose opponent is the BYE and
// whose result a loss without play) is USCF's unpaired round, never a loss
// to nobody or a forfeit the player never had. A forfeit is never a game
// won or lost: written W or L, USCF would rate it.
std::string RoundCell(int opponent, int result, bool roundRobin) {
    if (result == HalfUnplayed || result == HalfNoGameCode) return "\tZ0";
    if (opponent == 0) {
        if (result == WinUnplayed) return "\tX0";
        if (result == LossUnplayed && !roundRobin) return "\tF0";
        if (result == LossUnplayed || result == LossAtBoard) return "\tU0";
    }
    const std::string id = std::to_string(opponent);
    switch (result) {
    case LossAtBoard:
        return "\tL" + id;
    case LossUnplayed:
        return "\tF" + id;
    case WinAtBoard:
        return "\tW" + id;
    case WinUnplayed:
        return "\tX" + id;
    case DrawAtBoard:
        return "\tD" + id;
    default:
        return "\tU0";
    }
}

// The player's opponent in the round. A Swiss keeps no opponent for a
// forfeit, so that the two may still be paired: the round's board names
// him (the BYE, id 0, on a BYE board).
int RoundOpponent(int id, int round) {
    const int opponent = OpponentTable(id, round);
    const int result = PlayerResultTable(id, round);
    if (opponent != 0 || (result != WinUnplayed && result != LossUnplayed)) return opponent;
    for (int board = 1; board <= RoundBoardCount(round); ++board) {
        int white, black, digit;
        DecodeGameCode(GameTable(board, round), white, black, digit);
        const bool forfeit = digit == BothForfeit || digit == WhiteWinsForfeit || digit == BlackWinsForfeit;
        if (forfeit && (white == id || black == id)) return white == id ? black : white;
    }
    return 0;
}

// The whole file from the fields' texts and the tournament's tables (the
// active instance is the family's: Swiss or round robin).
std::string SectionText(const std::string (&texts)[UscfFieldCount]) {
    std::string out = texts[kBeginDate] + "  " + texts[kEndDate] + "  " + std::to_string(PlayerCount) + "\r\n";
    for (const std::string& text : texts) out += text + "\t";
    out += "\r\n\r\n";
    for (int id = 1; id <= PlayerCount && id <= MaxPlayers; ++id) {
        const Player& p = Players[id];
        char columns[128];
        std::snprintf(columns, sizeof columns, "%4d\t%8d\t%-30.30s\t%2.2s\t%4d", id, p.nationalId, p.name, p.country,
                      p.nationalRating);
        out += columns;
        for (int round = 1; round <= CurrentRound; ++round)
            out += RoundCell(RoundOpponent(id, round), PlayerResultTable(id, round), IsRoundRobin());
        out += "\r\n";
    }
    return out;
}

void Refuse(const std::string& text) {
    ShowAlert(text, MessageText(MsgClose));
}

// The first refusal of the fields' texts, or "" when all pass; refused is
// the field it names. USCF knows a director by his id: the 0 the dialog
// opens with names nobody. A tab or a line break would split the file's
// lines; the report generator compares the dates as numbers, which only
// works with real dates of all eight digits.
std::string Refusal(const std::string (&texts)[UscfFieldCount], int& refused) {
    for (refused = 0; refused < UscfFieldCount; ++refused)
        if (texts[refused].empty()) return kEmptyFieldText;
    for (refused = kChiefTd; refused <= kAssistantTd; ++refused)
        if (texts[refused].find_first_not_of('0') == std::string::npos)
            return std::string("\"") + kFields[refused].label +
                   "\" can't stay 0!\nPlease fill it with the real USCF ID";
    for (refused = 0; refused < UscfFieldCount; ++refused)
        if (texts[refused].find_first_of("\t\r\n") != std::string::npos)
            return std::string("\"") + kFields[refused].label + "\" cannot hold a tab or a line break";
    const std::string refusal = DateFieldsRefusal(kFields[kBeginDate].label, texts[kBeginDate],
                                                  kFields[kEndDate].label, texts[kEndDate], DateForm::UscfForm);
    refused = RefusesBeginDate(refusal, kFields[kBeginDate].label) ? kBeginDate : kEndDate;
    return refusal;
}

// Refuses, with an alert, while the last round is paired and its results
// are not closed: its players' cells do not hold its games until the
// results are closed, and the file would report the round as unplayed.
bool RefusedWhileRoundOpen() {
    const int round = CurrentRound;
    bool open = round >= 1 && IsPairingDone != 0;
    for (int board = 1; round >= 1 && board <= RoundBoardCount(round) && !open; ++board)
        open = GameTable(board, round) % 10 == NotPlayed;
    if (open)
        Refuse("The results of round " + std::to_string(round) +
               " are not closed!\nClose them before the USCF report");
    return open;
}

} // namespace

void OpenUscfSectionDialog() {
    if (RefusedWhileRoundOpen()) return;
    if (UscfSection.window) {
        WkShellRealize(UscfSection.window);
        return;
    }
    UscfSectionWidgets& d = UscfSection;
    d.window = WkCreateShell(UscfSectionTitle, WK_SHELL_DIALOG | WK_SHELL_NO_MAXIMISE | WK_SHELL_NO_MINIMISE | WK_SHELL_HOLD_SIZE);
    WkFormSetSpacing(WkFormOf(d.window), 2);
    WkObjectAddDestroyHandler(d.window, Forget, nullptr);
    // The close box and Escape ask before the typed data goes, as Cancel does.
    WkShellSetCloseCallback(d.window, OnConfirmCloseRequest, nullptr);

    WkObject* form = WkCreateVerticalForm(d.window);
    WkFormSetSpacing(form, 5);
    WkObjectSetShadow(form, WK_SHADOW_NONE, 0, 0);
    WkCreateLabel(form, "Report to USCF: Insert the data for this section", kFontHelvLarge);
    for (const auto& [first, columns] : kRows) {
        WkObject* table = WkCreateTableForm(form, columns);
        for (int i = first; i < first + columns; ++i) WkCreateLabel(table, kFields[i].label, kFontHelvMedium);
        for (int i = first; i < first + columns; ++i) d.fields[i] = MakeField(table, i);
    }
    WkObject* buttons = WkCreateHorizontalForm(form);
    WkObjectSetShadow(buttons, WK_SHADOW_NONE, 0, 0);
    d.cancelButton = MakeButton(buttons, "Cancel");
    WkButtonSetCallback(d.cancelButton, OnConfirmClose, nullptr);
    d.doneButton = MakeButton(buttons, "Done");
    WkButtonSetCallback(d.doneButton, WriteUscfSectionFile, nullptr);
    // Fixed at 773 x 308, or larger where the fonts make the rows wider, so
    // that no field is cut; the window takes the form's size plus its border.
    WkObjectQuerySize(form);
    WkObjectSetSize(form, std::max(773, form->width), std::max(308, form->height));
    WkObjectSetResizable(form, 0, 0);
    WkShellRealize(d.window);
}

void WriteUscfSectionFile(WkObject*, void*, void*) {
    if (!UscfSection.window || RefusedWhileRoundOpen()) return;
    std::string texts[UscfFieldCount];
    for (int i = 0; i < UscfFieldCount; ++i) {
        const char* text = WkEditGetText(UscfSection.fields[i]);
        texts[i] = text ? text : "";
    }
    int refused = 0;
    if (const std::string refusal = Refusal(texts, refused); !refusal.empty())
        // The user goes on where the value is to be mended, typing it over.
        return RefuseFieldValue(UscfSection.fields[refused], refusal, MessageText(MsgClose));
    const std::string bytes = SectionText(texts);
    AtomicFileWriter file(std::string(Settings.DataFolder) + UscfSectionFileName);
    if (!file.ok() || std::fwrite(bytes.data(), 1, bytes.size(), file.stream()) != bytes.size() || !file.commit())
        return Refuse(kCannotSaveText);
    WkShellDestroy(UscfSection.window);
}
