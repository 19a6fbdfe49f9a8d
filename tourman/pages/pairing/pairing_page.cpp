#include "tourman/pages/pairing/pairing_page.h"

#include "pairing/color_improvement.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/push_button.h"
#include "toolkit/widgets/toggle.h"
#include "tourman/commands/extras_commands.h"
#include "tourman/commands/round_commands.h"
#include "tourman/dialogs/manual_pairing.h"
#include "tourman/frame/window_frame.h"
#include "tourman/pages/output/output_page.h"
#include "tourman/pages/page_parts.h"
#include "tourman/pages/pairing/pairing_widgets.h"
#include "tournament/message_table.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

// The pairing list's title (90 characters).
constexpr const char* kPairingListTitle =
    "Table WHITE PLAYER                      BLACK PLAYER                                      ";

// The proposal stands: its acceptance is the arbiter's next step, so the
// keys go to Accept pairing rather than on past the greyed pair buttons.
void PairRoundPressed(WkObject*, void*, void*) {
    PairRoundCommand();
    if (CurrentStage() == TournamentStage::RoundProposed) WkObjectSetFocus(PairingPage.acceptButton);
}

} // namespace

void BuildPairingPage(WkObject* page) {
    PairingPageWidgets& w = PairingPage;
    w = PairingPageWidgets();
    WkObject* listForm = WkCreateVerticalForm(page);
    WkObjectSetWidth(listForm, 610);
    WkObjectSetTransparent(listForm);
    w.pairingList = PageList(listForm, 80, 20, kPairingListTitle, "List Pairing", 100);
    WkObject* row = WkCreateTableForm(page, 4);
    WkObjectSetHeight(row, 100);
    WkObjectSetTransparent(row);
    WkObject* toggles = WkCreateVerticalForm(row);
    WkObjectSetTransparent(toggles);
    w.pairingToggles[0] = WkCreateToggle(toggles, MessageText(MsgPairingTrace).c_str(), PageFontHelvSmall);
    w.pairingToggles[1] = WkCreateToggle(toggles, MessageText(MsgRelaxedColours).c_str(), PageFontHelvSmall);
    WkObject* columns[3];
    for (WkObject*& column : columns) {
        column = WkCreateVerticalForm(row);
        WkObjectSetTransparent(column);
    }
    w.pairButton = PageButton(columns[0], MessageText(MsgPairNextRound), PageFontHelvMedium, 110, 0);
    w.manualPairingButton = PageButton(columns[0], MessageText(MsgManualPairing), PageFontHelvMedium, 110, 0);
    w.acceptButton = PageButton(columns[1], MessageText(MsgAcceptPairing), PageFontHelvMedium, 110, 0);
    w.cancelButton = PageButton(columns[1], MessageText(MsgCancelPairing), PageFontHelvMedium, 110, 0);
    WkObjectSetForegroundRGB(w.cancelButton, 255, 10, 10);
    w.logsButton = PageButton(columns[2], MessageText(MsgLogs), PageFontHelvMedium, 110, 0);
    w.printPairingsButton = PageButton(columns[2], MessageText(MsgPrintPairings), PageFontHelvMedium, 110, 0);
}

void ConnectPairingPage() {
    const PairingPageWidgets& w = PairingPage;
    if (w.pairButton) WkButtonSetCallback(w.pairButton, PairRoundPressed, nullptr);
    if (w.acceptButton) WkButtonSetCallback(w.acceptButton, [](WkObject*, void*, void*) { AcceptPairing(); }, nullptr);
    if (w.cancelButton)
        WkButtonSetCallback(w.cancelButton, [](WkObject*, void*, void*) { CancelPairingCommand(); }, nullptr);
    if (w.pairingList)
        WkListSetActivateCallback(
            w.pairingList,
            [](WkObject* list, WkListItem* item, void*, std::intptr_t) {
                if (item) SwapPairingColours(list, item->position);
            },
            nullptr);
    if (w.manualPairingButton)
        WkButtonSetCallback(w.manualPairingButton, [](WkObject*, void*, void*) { StartManualPairing(); }, nullptr);
    for (std::intptr_t option = 1; option <= 2; ++option)
        if (WkObject* toggle = w.pairingToggles[option - 1])
            WkToggleSetCallback(toggle, OptionToggle, reinterpret_cast<void*>(option));
    // The print button prints the round's pairing list as the output page's
    // print does; the logs show the round's trace beside its score groups.
    if (w.printPairingsButton)
        WkButtonSetCallback(w.printPairingsButton, [](WkObject* button, void*, void*) { ShowOutputFile(button, 15); },
                            nullptr);
    if (w.logsButton) WkButtonSetCallback(w.logsButton, [](WkObject*, void*, void*) { LogsCommand(); }, nullptr);
}

void ShowPairingPageState() {
    const PairingPageWidgets& w = PairingPage;
    const TournamentStage stage = CurrentStage();
    const bool waiting = stage == TournamentStage::WaitingForPairing, proposed = stage == TournamentStage::RoundProposed;
    for (WkObject* button : {w.pairButton, w.manualPairingButton}) SetSensitive(button, waiting);
    for (WkObject* button : {w.acceptButton, w.cancelButton}) SetSensitive(button, proposed);
    // The boards stay listed once accepted, until the round's results are
    // closed; a round robin's rounds are never listed here.
    const bool listed = proposed || (stage == TournamentStage::RoundAccepted && !IsRoundRobin());
    std::vector<std::string> rows;
    for (int board = 1; listed && board <= RoundBoardCount(CurrentRound); ++board)
        rows.push_back(PairingBoardLine(board));
    ShowListRows(w.pairingList, rows);
}
