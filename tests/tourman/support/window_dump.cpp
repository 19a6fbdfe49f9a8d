#include "window_dump.h"

#include "support/widget_input.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/button_core.h"
#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/menu.h"
#include "toolkit/widgets/menu_bar.h"
#include "tourman/frame/window_frame.h"
#include "tourman/pages/results/results_widgets.h"

#include <sstream>

namespace tmt {
namespace {

void DumpMenu(std::ostringstream& out, WkObject* menu, const std::string& path) {
    const WkMenuData* d = WkMenuRecord(menu);
    for (int i = 0; i < d->count; ++i) {
        const WkMenuItem* item = d->items[i];
        if (!item->label) continue;
        const std::string name = path + " > " + item->label;
        out << "menu " << name << ": " << (item->disabled ? "off" : "on") << "\n";
        if (item->submenu) DumpMenu(out, item->submenu, name);
    }
}

} // namespace

std::string WindowStateDump() {
    std::ostringstream out;
    const MainWindowWidgets& w = MainWindow;
    for (int page = 0; page < 4; ++page)
        out << "tab " << page << ": " << (WkObjectIsSensitive(w.pages[page]) ? "on" : "off") << "\n";
    int index = 0;
    for (WkObject* o : WidgetsUnder(w.window)) {
        ++index;
        const char* on = WkObjectIsSensitive(o) ? "on" : "off";
        switch (o->classCode) {
        case WK_CLASS_PUSH_BUTTON: {
            const char* caption = WkButtonRecord(o)->text;
            out << "button " << index << " " << (caption ? caption : "") << ": " << on << "\n";
            break;
        }
        case WK_CLASS_TOGGLE:
            out << "toggle " << index << ": " << on << "\n";
            break;
        case WK_CLASS_EDIT:
            out << "field " << index << ": " << on;
            if (o == ResultsPage.roundField) out << " round " << WkEditGetText(o);
            out << "\n";
            break;
        case WK_CLASS_LIST: {
            const char* name = WkObjectGetName(o);
            out << "list " << index << " " << (name ? name : "") << ": " << on << "\n";
            for (int row = 0; row < WkListGetCount(o); ++row) out << "  | " << WkListGetItem(o, row)->text << "\n";
            break;
        }
        default:
            break;
        }
    }
    char text[256];
    out << "status: " << WkObjectGetText(w.statusLine, text, sizeof text) << "\n";
    for (WkObject* counter : {w.playerCounter, w.availableCounter})
        out << "counter: " << (WkLabelGetText(counter) ? WkLabelGetText(counter) : "") << "\n";
    const WkMenuBarData* bar = WkMenuBarRecord(w.menuBar);
    for (int i = 0; i < bar->count; ++i) DumpMenu(out, bar->titles[i].menu, bar->titles[i].label);
    return out.str();
}

} // namespace tmt
