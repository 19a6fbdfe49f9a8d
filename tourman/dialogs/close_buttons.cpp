#include "tourman/dialogs/close_buttons.h"

#include "toolkit/core/shell.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"

void OnCloseDialog(WkObject* button, void*, void*) {
    WkShellDestroy(button);
}

void OnConfirmClose(WkObject* button, void*, void*) {
    if (AskQuestion(MessageText(4), MessageText(1), MessageText(0)) == 1) WkShellDestroy(button);
}
