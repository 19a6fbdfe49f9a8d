#include "uscfreport/report_window.h"

#include "message_boxes/message_boxes.h"
#include "toolkit/core/event_loop.h"
#include "toolkit/core/folders.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/startup.h"
#include "toolkit/core/window_system.h"
#include "toolkit/widgets/dir_tree.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/menu.h"
#include "toolkit/widgets/menu_bar.h"
#include "toolkit/widgets/message_dialog.h"
#include "toolkit/widgets/push_button.h"
#include "toolkit/widgets/tooltip.h"
#include "tournament/files/host_files.h"
#include "tournament/message_box.h"
#include "uscfreport/header_form.h"
#include "uscfreport/section_list.h"
#include "uscfreport/uscf_exports.h"

#include <cstdlib>

ReportWindowWidgets ReportWindow;

namespace {

constexpr WkFontSlot kFontFixedMedium = 2, kFontTimesMedium = 7;

void OnOpen(WkMenuItem*, int, void*) {
    LoadTemplate();
}

void OnSave(WkMenuItem*, int, void*) {
    SaveTemplate();
}

void ExitItem(WkMenuItem*, int, void* window) {
    ConfirmExit(static_cast<WkObject*>(window), 0, nullptr, nullptr);
}

WkObject* Button(WkObject* parent, const char* caption, WkButtonCallback callback, void* data) {
    WkObject* button = WkCreateButton(parent, caption, kFontTimesMedium);
    WkObjectSetWidth(button, 170);
    WkButtonSetCallback(button, callback, data);
    return button;
}

} // namespace

WkObject* BuildReportWindow() {
    ReportWindowWidgets& w = ReportWindow;
    w.window = WkCreateShell(ReportProgramTitle, 0);
    w.menuBar = WkCreateMenuBar(w.window, kFontFixedMedium);
    w.fileMenu = WkMenuBarAddMenu(w.menuBar, "File  ");
    w.openItem = WkMenuAddItem(w.fileMenu, "Open", OnOpen, nullptr);
    w.saveItem = WkMenuAddItem(w.fileMenu, "Save", OnSave, nullptr);
    WkMenuAddSeparator(w.fileMenu);
    w.exitItem = WkMenuAddItem(w.fileMenu, "Exit", ExitItem, w.window);

    WkObject* row = WkCreateHorizontalForm(w.window);
    w.dirTree = WkCreateDirTree(row, nullptr, kFontTimesMedium, 200, 150, WK_DIRTREE_NEW);
    WkObject* buttons = WkCreateVerticalForm(row);
    w.addButton = Button(buttons, "Add Section", AddSection, w.dirTree);
    WkObjectSetTooltip(w.addButton, "Select a tournament section\nand press this button", 0, 10000);
    w.removeButton = Button(buttons, "Remove Section", RemoveSection, nullptr);
    w.reportButton = Button(buttons, "Do USCF Report", DoUscfReport, nullptr);
    SectionList = WkCreateList(row, kFontFixedMedium, kMaxSectionPath, 12, 40);
    WkObjectSetResizable(SectionList, 1, 1);
    return w.window;
}

void StartReportApplication() {
    WkInstallEventLoop();
    WkInitFormClass();
    InstallMessageBoxes(ReportProgramTitle);
    SetHostNames({WkHostPath, WkFromHostPath});
    WkObject* window = BuildReportWindow();
    WkShellRealize(window);
    // Exports a kill or a power cut left between their old and new set are
    // made one set, and the user is told which.
    const std::string told = RecoverExports(WkGetCurrentDir());
    if (!told.empty()) ShowAlert(told, "Close");
    WkShellSetCloseCallback(window, ConfirmExit, nullptr);
}

int ReportAppMain(int, char**) {
    StartReportApplication();
    return WkMainLoop();
}

int AskThreeWay(const char* title, const char* text) {
    int answer = WkMessageDialog(title, text, " Not ", " Yes ", " Save before ", nullptr);
    return answer == 0 || answer == 1 ? answer : 2;
}

int ConfirmExit(WkObject* window, std::intptr_t, void*, WkMessage*) {
    int answer = AskThreeWay("Warning: Exit Program", "Are you sure do you want to quit?\n");
    if (answer == 0) return 1;
    // The list stays on screen when it could not be written: leaving now would lose it.
    if (answer == 2 && !SaveTemplate()) return 1;
    WkShellHide(window);
    WkShellDestroy(window);
    ReportWindow = ReportWindowWidgets();
    SectionList = nullptr;
    WkShutdown();
    std::exit(0);
}
