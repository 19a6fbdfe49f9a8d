#include "tourman/pages/output/text_viewers.h"

#include "reports/board_cards.h"
#include "toolkit/core/draw.h"
#include "toolkit/core/keys.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/print_text.h"
#include "toolkit/core/shell.h"
#include "toolkit/widgets/button_core.h"
#include "toolkit/widgets/file_viewer.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/push_button.h"
#include "tourman/dialogs/close_buttons.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/settings.h"

#include <cstdint>
#include <map>
#include <vector>

namespace {

constexpr int kFontFixedSmall = 1, kFontTimesMedium = 7;

std::map<WkObject*, std::string> ViewedPaths;

void ForgetViewer(WkObject* viewer, WkMessage*, void*, std::uint32_t) {
    ViewedPaths.erase(viewer);
}

void OnPrintButton(WkObject*, void*, void* viewer) {
    PrintViewedFile(static_cast<WkObject*>(viewer));
}

// The window's close button; Escape presses it, and the window system's
// close request (Alt+F4, a close box a window manager draws though the
// window asks for none) does what it does.
WkObject* CloseButton(WkObject* parent) {
    WkObject* button = WkCreateButton(parent, MessageText(MsgClose).c_str(), kFontTimesMedium);
    WkButtonSetCallback(button, OnCloseDialog, nullptr);
    WkButtonSetMnemonicKey(button, WK_KEY_ESC);
    WkShellSetCloseCallback(WkObjectGetShell(parent), OnCloseRequest, nullptr);
    return button;
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' '), last = text.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

} // namespace

void SetViewedFile(WkObject* viewer, const std::string& path, const std::string& title) {
    if (!viewer) return;
    if (!ViewedPaths.count(viewer)) WkObjectAddDestroyHandler(viewer, ForgetViewer, nullptr);
    ViewedPaths[viewer] = path;
    WkListSetTitle(viewer, title.c_str());
    WkFileViewerLoad(viewer, path.c_str());
}

void ClearViewedFile(WkObject* viewer) {
    SetViewedFile(viewer, "", "");
}

std::string ViewedFilePath(WkObject* viewer) {
    const auto found = ViewedPaths.find(viewer);
    if (found != ViewedPaths.end()) return found->second;
    std::vector<char> title(std::size_t(WkListRecord(viewer)->itemLength) + 1);
    WkListGetTitle(viewer, title.data());
    return Settings.DataFolder + Trimmed(title.data());
}

void PrintViewedFile(WkObject* viewer) {
    if (!viewer) return;
    const std::string path = ViewedFilePath(viewer);
    if (path.empty()) return WkBeep(); // no file shown
    // A board card is cut out whole: it never runs over a page break.
    const bool isCards = path.substr(path.rfind('/') + 1) == BoardCardsFileName;
    std::string failure;
    WkPrintFile(path.c_str(), &failure, isCards ? BoardCardStart : nullptr);
    if (!failure.empty()) ShowAlert(failure, MessageText(MsgClose));
}

WkObject* OpenFileViewer(const std::string& path) {
    WkObject* window = WkCreateShell(MessageText(MsgFileViewer).c_str(), WK_SHELL_NO_CLOSE);
    WkFormSetSpacing(WkFormOf(window), 0);
    WkObject* viewer = WkCreateFileViewer(window, "", kFontFixedSmall, 15, 40);
    SetViewedFile(viewer, path, path);
    WkObjectSetTransparency(viewer, 155);
    WkObjectSetResizable(viewer, 1, 1);
    WkObjectSetSize(viewer, 650, 500);
    WkObject* buttons = WkCreateHorizontalForm(window);
    WkObjectSetBackgroundRGB(buttons, 192, 176, 160);
    WkObjectSetResizable(buttons, 1, 0);
    CloseButton(buttons);
    WkObject* print = WkCreateButton(buttons, MessageText(MsgPrint).c_str(), kFontTimesMedium);
    WkButtonSetCallback(print, OnPrintButton, viewer);
    return window;
}

WkObject* OpenTwoFileViewer(const std::string& title, const std::string& first, const std::string& second) {
    WkObject* window = WkCreateShell(title.c_str(), WK_SHELL_NO_CLOSE);
    WkObject* column = WkCreateVerticalForm(window);
    WkObject* row = WkCreateHorizontalForm(column);
    WkObjectSetResizable(row, 1, 1);
    WkObjectSetSize(row, 750, 500);
    for (const std::string* path : {&first, &second}) {
        WkObject* viewer = WkCreateFileViewer(row, "", kFontFixedSmall, 34, 45);
        // Half the row each, however long the paths in the titles are.
        WkObjectSetWidth(viewer, 370);
        WkObjectSetResizable(viewer, 1, 1);
        WkObjectSetBackgroundRGB(viewer, 53, 112, 112);
        WkObjectSetForegroundRGB(viewer, 255, 255, 255);
        SetViewedFile(viewer, *path, *path);
    }
    CloseButton(column);
    WkShellRealize(window);
    return window;
}
