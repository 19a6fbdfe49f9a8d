#include "tourman/dialogs/close_buttons.h"

#include "toolkit/core/shell.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"

void OnCloseDialog(WkObject* button, void*, void*) {
    WkShellDestroy(button);
}

int OnCloseRequest(WkObject* window, std::intptr_t, void*, WkMessage*) {
    WkShellDestroy(window);
    return 1;
}

void OnConfirmClose(WkObject* button, void*, void*) {
    if (AskQuestion(MessageText(MsgCloseWithoutSaving), MessageText(MsgNo), MessageText(MsgYes)) == 1)
        WkShellDestroy(button);
}

int OnConfirmCloseRequest(WkObject* window, std::intptr_t, void*, WkMessage*) {
    OnConfirmClose(window, nullptr, nullptr);
    return 1;
}
