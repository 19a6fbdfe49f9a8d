#include "tourman/pages/results/results_page.h"

#include "toolkit/core/colors.h"
#include "toolkit/core/draw.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/push_button.h"
#include "toolkit/widgets/toggle.h"
#include "tourman/dialogs/color_window.h"
#include "tourman/dialogs/manual_pairing.h"
#include "tourman/frame/window_frame.h"
#include "tourman/pages/page_parts.h"
#include "tourman/pages/results/result_entry.h"
#include "tourman/pages/results/results_file.h"
#include "tourman/pages/results/results_list.h"
#include "tourman/pages/results/results_widgets.h"
#include "tournament/message_table.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

// The results list's title (89 characters).
constexpr const char* kResultsListTitle =
    "Table WHITE PLAYER                      BLACK PLAYER                                     ";

// The result buttons, in the order of their row; the digit in brackets is
// the result each one enters.
constexpr const char* kResultCaptions[] = {
    "1 - 0 [1]", "0 - 1 [0]", "\xBD - \xBD [5]", "1F- 0 [3]", "0 -1F [4]", "0F-0F [2]", "\xBD" "F-\xBD" "F [6]",
    " adj [7]", "\xBD FNB [8]",
};
// The digit each button enters, in the order of their captions.
constexpr int kButtonDigits[9] = {1, 0, 5, 3, 4, 2, 6, 7, 8};

} // namespace

void BuildResultsPage(WkObject* page) {
    ResultsPageWidgets& w = ResultsPage;
    w = ResultsPageWidgets();
    w.roundStateLoads = RoundStateLoads;
    WkObject* top = WkCreateHorizontalForm(page);
    WkObjectSetTransparency(top, 155);
    WkCreateLabel(top, MessageText(MsgRoundLabel).c_str(), PageFontHelvSmall);
    w.roundField = PageEdit(top, 2, PageFontHelvSmall, WK_FILTER_DIGITS);
    // Enter lists the round typed and leaves the field ready for another:
    // the buttons after it are for the current round only, and the list
    // may have just disabled them.
    WkEditSetEnterStays(w.roundField, 1);
    // The round and board shown are typed over by the one to go to.
    WkEditSetPreset(w.roundField, 1);
    w.repairButton = WkCreateButton(top, MessageText(MsgRepairRound).c_str(), PageFontHelvSmall);
    w.colorImprovementButton = WkCreateButton(top, MessageText(MsgColours).c_str(), PageFontHelvSmall);
    w.loadResultsButton = WkCreateButton(top, MessageText(MsgLoadResults).c_str(), PageFontHelvSmall);
    w.resultsToggle = WkCreateToggle(top, MessageText(MsgEnterResults).c_str(), PageFontHelvSmall);
    WkObjectSetWidth(w.resultsToggle, 140);
    WkObjectSetOpaque(w.resultsToggle);
    WkObjectSetColors(w.resultsToggle, WkAllocColor(255, 0, 0), WkWhiteColor());

    w.resultsList = PageList(page, 80, 15, kResultsListTitle, "List Result", 155);
    WkObjectSetHeight(w.resultsList, 345);

    WkObject* board = WkCreateHorizontalForm(page);
    WkObjectSetHeight(board, 40);
    WkObjectSetTransparency(board, 100);
    WkObject* table = WkCreateLabel(board, "Table", PageFontHelvSmall);
    WkLabelSetAlignment(table, WK_ALIGN_RIGHT);
    w.boardField = PageEdit(board, 3, PageFontHelvSmall, WK_FILTER_DIGITS);
    WkEditSetPreset(w.boardField, 1);
    w.boardLabel = WkCreateLabel(board, MessageText(MsgChooseBoard).c_str(), PageFontHelvSmall);
    WkLabelSetAlignment(w.boardLabel, WK_ALIGN_LEFT);
    WkObjectSetWidth(w.boardLabel, 500);
    WkObjectSetForegroundColor(w.boardLabel, WkBlackColor());
    w.resultKeyField = PageEdit(board, 2, PageFontHelvSmall, WK_FILTER_DIGITS | WK_FILTER_SPACE, "x");

    WkObject* results = WkCreateHorizontalForm(page);
    WkObjectSetTransparent(results);
    int i = 0;
    for (const char* caption : kResultCaptions) {
        w.resultButtons[i++] = WkCreateButton(results, caption, PageFontHelvSmall);
    }
    WkObjectSetBackgroundRGB(w.resultButtons[8], 255, 50, 50);
}

void ConnectResultsPage() {
    const ResultsPageWidgets& w = ResultsPage;
    if (w.roundField)
        WkEditSetActivateCallback(
            w.roundField,
            [](WkObject* field, char* text, void*) {
                ShowRound(text ? text : "");
                WkEditSelectAll(field);
            },
            nullptr);
    WkToggleSetCallback(
        w.resultsToggle, [](WkObject*, int state, void*) { ResultEntryToggle(state != 0); }, nullptr);
    WkEditSetValueCallback(
        w.resultKeyField,
        [](WkObject*, char* text, void*) {
            if (text && *text) EnterResultKey(text);
        },
        nullptr);
    WkEditSetActivateCallback(
        w.boardField, [](WkObject*, char* text, void*) { GoToBoard(text); }, nullptr);
    WkListSetSelectCallback(
        w.resultsList,
        [](WkObject*, WkListItem* item, void*, std::intptr_t) {
            if (item && WkListGetCount(ResultsPage.resultsList) > 0) SelectResultRow(item->position);
        },
        nullptr);
    WkListSetActivateCallback(
        w.resultsList,
        [](WkObject*, WkListItem* item, void*, std::intptr_t) {
            if (item) SwapResultColours(item->position);
        },
        nullptr);
    WkButtonSetCallback(
        w.loadResultsButton, [](WkObject*, void*, void*) { LoadResultsFile(); }, nullptr);
    for (int i = 0; i < 9; ++i)
        WkButtonSetCallback(
            w.resultButtons[i],
            [](WkObject*, void*, void* digit) { EnterResultButton(int(reinterpret_cast<std::intptr_t>(digit))); },
            reinterpret_cast<void*>(std::intptr_t(kButtonDigits[i])));
    WkButtonSetCallback(
        w.colorImprovementButton, [](WkObject*, void*, void*) { ColorImprovementCommand(); }, nullptr);
    if (w.repairButton)
        WkButtonSetCallback(
            w.repairButton,
            [](WkObject*, void*, void*) {
                // The boards chosen so far go with the round re-paired.
                if (!IsRoundRobin()) ForgetChosenBoard();
                RepairShownRound();
            },
            nullptr);
}

void ShowResultsPageState() {
    const ResultsPageWidgets& w = ResultsPage;
    // A tournament made, opened or reopened, or a round file loaded: no
    // entry open, nothing typed or chosen of the rounds before.
    if (w.roundStateLoads != RoundStateLoads) {
        ResultsPage.roundStateLoads = RoundStateLoads;
        ResetResultsFields();
    }
    const int round = ShownRound >= 1 && ShownRound <= CurrentRound ? ShownRound : CurrentRound;
    if (w.roundField) {
        const std::string number = std::to_string(round);
        const char* shown = WkEditGetText(w.roundField);
        if (!shown || number != shown) WkEditReplaceText(w.roundField, number.c_str(), 0, 0);
    }
    SetSensitive(w.roundField, CurrentStage() == TournamentStage::WaitingForPairing && !ResultEntryOpen());
    for (WkObject* button : {w.repairButton, w.colorImprovementButton, w.loadResultsButton})
        SetSensitive(button, CurrentRound >= 1 && round == CurrentRound);
    std::vector<std::string> rows;
    for (int board = 1; round >= 1 && board <= RoundBoardCount(round); ++board) rows.push_back(ResultRow(board, round));
    if (ShowListRows(w.resultsList, rows) && w.boardLabel)
        WkObjectSetText(w.boardLabel, MessageText(MsgChooseBoard).c_str());
}
