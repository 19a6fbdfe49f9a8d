#include "tourman/frame/window_frame.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/menu.h"
#include "toolkit/widgets/message_dialog.h"
#include "tournament/message_table.h"

#include <string>

MainWindowWidgets MainWindow;

void SetSensitive(WkObject* object, bool on) {
    if (object) on ? WkObjectEnable(object) : WkObjectDisable(object);
}

void SetSensitive(WkMenuItem* item, bool on) {
    if (item) on ? WkMenuItemEnable(item) : WkMenuItemDisable(item);
}

int AskYesNo(const char* title, const char* text) {
    const std::string no = MessageText(MsgNo), yes = MessageText(MsgYes);
    return WkMessageDialog(title, text, no.c_str(), yes.c_str(), nullptr) == 1 ? 1 : 0;
}
