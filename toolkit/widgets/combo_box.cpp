#include "toolkit/widgets/combo_box.h"

#include "toolkit/core/grab.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/form_attach.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/push_button.h"

#include <string>

namespace {

constexpr int kEscape = 0x011B;
constexpr std::intptr_t kButtonsHeld = 0x100 | 0x200 | 0x400;

void ClosePopup(WkObject* field) {
    WkObject* popup = WkEditRecord(field)->popup;
    WkForgetGrab(WkFormOf(popup));
    WkShellHide(popup);
}

// A popup window forgotten by its field.
void PopupGone(WkObject*, WkMessage*, void* data, std::uint32_t) {
    WkEditData* d = WkEditRecord(static_cast<WkObject*>(data));
    d->popup = d->list = nullptr;
}

void DestroyPopup(int, void* popup) { WkShellDestroy(static_cast<WkObject*>(popup)); }

// A popup destroyed before its turn came (with every window) takes its
// pending destruction along.
void DropPendingDestroy(WkObject*, WkMessage*, void* id, std::uint32_t) {
    WkRemoveTimeout(int(reinterpret_cast<std::intptr_t>(id)));
}

// The field went while its selection callback ran. The popup's list and
// window are still at work below that call, so the popup is destroyed
// only once the dispatch has returned.
void FieldGoneWhileChoosing(WkObject* field, WkMessage*, void* gone, std::uint32_t) {
    *static_cast<bool*>(gone) = true;
    WkEditData* d = WkEditRecord(field);
    WkObject* popup = d->popup;
    if (!popup) return;
    d->popup = d->list = nullptr;
    WkObjectRemoveDestroyHandler(popup, PopupGone);
    const int id = WkAddTimeout(0, DestroyPopup, popup);
    WkObjectAddDestroyHandler(popup, DropPendingDestroy, reinterpret_cast<void*>(std::intptr_t(id)));
}

void Choose(WkObject*, WkListItem* item, void* data, std::intptr_t) {
    auto* field = static_cast<WkObject*>(data);
    WkEditData* d = WkEditRecord(field);
    // The callback may query the list, which refills the shared item.
    const std::string text = item->text ? item->text : "";
    ClosePopup(field);
    if (d->select) {
        // The callback may destroy the field (closing its dialog, say),
        // which is then left alone.
        bool gone = false;
        WkObjectAddDestroyHandler(field, FieldGoneWhileChoosing, &gone);
        d->select(field, item, d->selectData, d->popup);
        if (gone) return;
        WkObjectRemoveDestroyHandler(field, FieldGoneWhileChoosing);
    }
    WkEditReplaceText(field, text.c_str(), 1, 1);
}

void Escape(WkObject*, std::intptr_t, void* data) { ClosePopup(static_cast<WkObject*>(data)); }

void Open(WkObject*, void*, void* data) { WkEditOpenPopup(static_cast<WkObject*>(data)); }

// Pointer input of the popup's main form while it holds the grab.
void PopupPointer(WkObject* form, WkMessage* message, void* data, std::uint32_t) {
    auto* field = static_cast<WkObject*>(data);
    if (message->type == WK_MSG_PRESS) {
        const int x = WkPointerX(message), y = WkPointerY(message);
        if (x < 0 || y < 0 || x >= form->width || y >= form->height) ClosePopup(field);
        return;
    }
    if (message->type == WK_MSG_MOTION && !(WkPointerState(message) & kButtonsHeld)) return;
    WkObject* list = WkEditRecord(field)->list;
    int fx, fy, lx, ly;
    WkObjectGetAbsolutePosition(form, &fx, &fy);
    WkObjectGetAbsolutePosition(list, &lx, &ly);
    WkMessage moved = *message;
    WkOffsetPointer(&moved, 1 - (lx - fx), 1 - (ly - fy));
    WkSendMessage(list, &moved);
}

} // namespace

WkObject* WkCreateComboBox(WkObject* parent, const char* text, int length, int visible, int rows, int font) {
    WkObject* popup = WkCreateShell("", WK_SHELL_NO_ACTIVATE | WK_SHELL_BACKSTORE | WK_SHELL_POPUP);
    WkObjectSetShadow(popup, WK_SHADOW_NONE, 0, 0);
    WkFormSetSpacing(WkFormOf(popup), 0);

    WkObject* form = WkCreateHorizontalForm(parent);
    WkObjectHide(form);
    form->layout |= WK_LAYOUT_OUTER_WRAPPER;
    WkFormSetSpacing(form, 0);
    WkObjectSetShadow(form, WK_SHADOW_ETCHED_OUT, 2, 1);
    WkObjectSetResizable(form, length != visible ? 0 : 1, 1);
    // The field is a part and draws no focus frame of its own: the form
    // around field and arrow shows where the focus is.
    WkFormSetFocusFrame(form, 1);

    WkObject* field = WkCreateEditWithWidth(form, text, length, visible, font);
    WkObjectSetTransparency(field, WK_TRANSPARENT);
    WkObjectSetShadow(field, WK_SHADOW_NONE, 0, 0);
    field->layout |= WK_LAYOUT_GROW_X | WK_LAYOUT_GROW_Y | WK_LAYOUT_FOCUSABLE;
    field->state |= WK_STATE_PART;
    field->outer = form;

    WkImage* arrow = WkStockBitmap(WK_BMP_SCROLL_DOWN);
    WkObject* button = arrow ? WkCreateButtonImages3Only(form, arrow, nullptr, nullptr) : WkCreateButton(form, "", 1);
    WkObjectSetResizable(button, 1, 1);
    // Tab goes from the field to the next one, not onto its own arrow.
    WkObjectRefuseFocus(button);
    WkButtonSetCallback(button, Open, field);

    WkObject* list = WkCreateList(popup, font, length, rows, visible);
    WkObjectInheritBackground(list, 1, 100);
    WkObjectSetShadow(list, WK_SHADOW_IN, 1, 0);
    WkListSetActivateCallback(list, Choose, field);
    WkListSetClickCallback(list, Choose, field);
    WkAddAccelerator(WkFormOf(popup), kEscape, Escape, field);
    WkObjectAddEventHandler(WkFormOf(popup), PopupPointer,
                            WkMessageBit(WK_MSG_PRESS) | WkMessageBit(WK_MSG_MOTION) | WkMessageBit(WK_MSG_WHEEL),
                            field);

    // A popup destroyed on its own (with every window, say) is forgotten,
    // so the field never reaches it afterwards.
    WkObjectAddDestroyHandler(popup, PopupGone, field);
    WkEditData* d = WkEditRecord(field);
    d->popup = popup;
    d->list = list;
    d->arrowButton = button;

    WkObjectShow(form);
    if (form->state & WK_STATE_REALIZED) WkResize(form, -1, -1);
    return field;
}

WkObject* WkComboBoxGetList(WkObject* combo) { return WkEditRecord(combo)->list; }

void WkComboBoxSetCallback(WkObject* combo, WkComboCallback callback, void* data) {
    WkEditData* d = WkEditRecord(combo);
    d->select = callback;
    d->selectData = data;
}
