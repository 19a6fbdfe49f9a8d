// tourman's menus and pages at the mouse, through the server: the Extras
// menu worked by clicks alone (no button held while the pointer moves); the
// pairing page's buttons and rows whole; the file browser's selection.
#include "event_on_x.h"

#include "toolkit/core/fonts.h"
#include "toolkit/core/grab.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/shell_data.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/widgets/button_core.h"
#include "toolkit/widgets/file_browser.h"
#include "toolkit/widgets/form_pages.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/menu.h"
#include "toolkit/widgets/menu_bar.h"
#include "toolkit/widgets/tree.h"
#include "tourman/dialogs/settings_dialog.h"
#include "tourman/frame/window_frame.h"
#include "tourman/pages/pairing/pairing_widgets.h"
#include "tournament/message_table.h"


namespace xev {

namespace {

bool Shown(WkObject* menu) { return WkShellRecord(WkObjectGetShell(menu))->flags & WK_SHELL_SHOWN; }

} // namespace

class PointerOnX : public EventOnX {
  protected:
    // Clicks the bar's title; its pull-down, when open.
    WkObject* ClickTitle(const std::string& label) {
        PickMenu({label});
        const WkMenuBarData* d = WkMenuBarRecord(MainWindow.menuBar);
        return d->current >= 0 ? d->titles[d->current].menu : nullptr;
    }
    // The pointer moved onto the item, no button held; its index.
    int MoveTo(WkObject* menu, const std::string& label) {
        const WkMenuData* m = WkMenuRecord(menu);
        for (int i = 0; i < m->count; ++i) {
            const WkMenuItem* item = m->items[i];
            if (!item->label || label != item->label) continue;
            Reachable(menu);
            Xdo("mousemove " + At(menu, menu->width / 2, WkObjectBorder(menu) + 2 + item->offset + item->extent / 2));
            return i;
        }
        ADD_FAILURE() << "no item " << label;
        return -1;
    }
    // The browser's timeout: once it shows, its picture, then its close button.
    static void DriveBrowser(int, void* data) {
        auto* self = static_cast<PointerOnX*>(data);
        const WkBrowserParts& parts = WkFileBrowserParts();
        if (!parts.shell || WkListGetCount(static_cast<WkObject*>(parts.list)) < 2 ||
            !self->Mapped(static_cast<WkObject*>(parts.shell))) {
            WkAddTimeout(100, DriveBrowser, self);
            return;
        }
        self->browsed_ = WkListGetSelectedItem(static_cast<WkObject*>(parts.list))->text;
        // The folder tree (its view and bars) and the folder's path are the build's own: left out.
        self->Png(static_cast<WkObject*>(parts.shell), "pointer-file-browser.png",
                  {WkTreeGetVerticalScrollBar(static_cast<WkObject*>(parts.tree))->parent,
                   static_cast<WkObject*>(parts.folder)});
        self->Xdo("mousemove " + self->At(static_cast<WkObject*>(parts.close)) + " click 1", false);
    }
    std::string browsed_;
};

TEST_F(PointerOnX, ClickedMenusWholeCaptionsAndReadableSelections) {
    StartTourman("pointer-run");
    base_ = "pointer";
    NewEvent("4: Swiss USCF", base_, 5);
    TypePlayers(10);
    CloseRegistration(true);

    // Extras, then Tournament, then its settings item: clicks, and the
    // pointer moved in between with no button held.
    WkObject* extras = ClickTitle("Extras");
    ASSERT_NE(extras, nullptr);
    EXPECT_TRUE(Shown(extras));
    const int tournament = MoveTo(extras, MessageText(MsgTournamentMenu));
    EXPECT_EQ(WkMenuRecord(extras)->current, tournament) << "the highlight follows the pointer";
    WkObject* submenu = WkMenuRecord(extras)->items[tournament]->submenu;
    EXPECT_FALSE(Shown(submenu));
    Xdo("click 1");
    ASSERT_TRUE(WaitFor("the submenu to open", [&] { return Shown(submenu); }))
        << "the click opens the submenu and it stays";
    EXPECT_EQ(MoveTo(submenu, MessageText(MsgTournamentSettings)), WkMenuRecord(submenu)->current);
    Xdo("click 1");
    ASSERT_NE(SettingsDialog.window, nullptr) << unexpected;
    EXPECT_EQ(SettingsDialog.kind, ModifySettingsKind);
    EXPECT_FALSE(Shown(extras));
    EXPECT_EQ(WkGetGrab(), nullptr);
    Click(SettingsDialog.closeButton);
    EXPECT_EQ(SettingsDialog.window, nullptr) << unexpected;

    // The pairing page of the proposed round: each caption and each row whole.
    WkFormSetPage(MainWindow.notebook, 1);
    Settle();
    for (WkObject* button : {PairingPage.pairButton, PairingPage.manualPairingButton, PairingPage.acceptButton,
                             PairingPage.cancelButton, PairingPage.logsButton, PairingPage.printPairingsButton}) {
        const char* caption = WkButtonRecord(button)->text;
        EXPECT_GE(button->width, WkTextWidth(caption, button->font) + 2 * WkObjectBorder(button)) << caption;
    }
    const WkListData* rows = WkListRecord(PairingPage.pairingList);
    EXPECT_GE(PairingPage.pairingList->width - 2 * rows->border, 80 * rows->charWidth) << "the pairing rows cut";
    Png(MainWindow.window, "pointer-pairing-page.png");

    // The file browser of Select Language, over two message files: the
    // selected file and folder pictured.
    for (const char* name : {"english.qnp", "second.qnp"})
        fs::copy_file(program + "messqnp.txt", program + name, fs::copy_options::overwrite_existing);
    ClickTitle("Extras");
    MoveTo(extras, "Select Language");
    WkAddTimeout(100, DriveBrowser, this);
    Xdo("click 1");
    EXPECT_EQ(browsed_, "english.qnp") << "no file browser";
    EXPECT_EQ(WkFileBrowserParts().shell, nullptr);
}

} // namespace xev
