#include "toolkit/widgets/tooltip.h"

#include "toolkit/core/memory.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/shell.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/widgets/label.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr WkFontSlot kTooltipFont = 4; // the small sans-serif font
constexpr std::uint16_t kPopupFlags = WK_SHELL_NO_ACTIVATE | WK_SHELL_BACKSTORE | WK_SHELL_POPUP;

WkTooltip* records = nullptr;

const char* OrEmpty(const char* text) { return text ? text : ""; }


bool Shown(const WkTooltip* t) {
    const WkShellData* d = t->popup ? WkShellRecord(t->popup) : nullptr;
    return d && (d->flags & WK_SHELL_SHOWN);
}

void HideTimeout(int, void* data) {
    auto* t = static_cast<WkTooltip*>(data);
    t->timer = 0;
    if (t->popup) WkShellHide(t->popup);
}

void ShowTimeout(int, void* data) {
    auto* t = static_cast<WkTooltip*>(data);
    t->timer = 0;
    if (!t->popup) return;
    WkShellRealizeAt(t->popup, t->pointerX + WK_TOOLTIP_OFFSET_X, t->pointerY + WK_TOOLTIP_OFFSET_Y);
    t->timer = WkAddTimeout(unsigned(t->duration), HideTimeout, t);
}

void OnPointer(WkObject*, WkMessage* m, void* data, std::uint32_t) {
    auto* t = static_cast<WkTooltip*>(data);
    switch (m->type) {
    case WK_MSG_MOTION:
        // Only a rest of the full delay shows the tooltip.
        if (!t->timer || Shown(t)) return;
        [[fallthrough]];
    case WK_MSG_ENTER:
        t->pointerX = WkPointerScreenX(m);
        t->pointerY = WkPointerScreenY(m);
        WkRestartTimeout(&t->timer, unsigned(t->delay), ShowTimeout, t);
        return;
    default: // leave and press
        WkClearTimeout(&t->timer);
        if (t->popup) WkShellHide(t->popup);
    }
}

void OnHint(WkObject*, WkMessage* m, void* data, std::uint32_t) {
    auto* t = static_cast<WkTooltip*>(data);
    if (t->statusTarget) WkObjectSetText(t->statusTarget, m->type == WK_MSG_ENTER ? t->statusText : "");
}

bool Named(const WkObject* target) {
    for (WkTooltip* t = records; t; t = t->next)
        if (t->statusTarget == target) return true;
    return false;
}

// A destroyed target is forgotten by every hint that names it.
void OnTargetDestroyed(WkObject* target, WkMessage*, void*, std::uint32_t) {
    for (WkTooltip* t = records; t; t = t->next)
        if (t->statusTarget == target) t->statusTarget = nullptr;
}

void SetTarget(WkTooltip* t, WkObject* target) {
    WkObject* old = t->statusTarget;
    if (old == target) return;
    t->statusTarget = nullptr;
    // A target going away has its handlers freed by its own destruction.
    if (old && !Named(old) && !(old->state & WK_STATE_DESTROYING))
        WkObjectRemoveDestroyHandler(old, OnTargetDestroyed);
    if (target && !Named(target)) WkObjectAddDestroyHandler(target, OnTargetDestroyed, nullptr);
    t->statusTarget = target;
}

// The popup may be destroyed before the object (with every window at the
// end of the program): the record forgets it.
void OnPopupDestroyed(WkObject*, WkMessage*, void* data, std::uint32_t) {
    auto* t = static_cast<WkTooltip*>(data);
    WkClearTimeout(&t->timer);
    t->popup = t->label = nullptr;
}

void OnObjectDestroyed(WkObject* object, WkMessage*, void* data, std::uint32_t) {
    auto* t = static_cast<WkTooltip*>(data);
    WkClearTimeout(&t->timer);
    if (WkObject* popup = t->popup) {
        WkObjectRemoveDestroyHandler(popup, OnPopupDestroyed);
        t->popup = t->label = nullptr;
        WkShellDestroy(popup);
    }
    SetTarget(t, nullptr);
    WkTooltip** link = &records;
    while (*link != t) link = &(*link)->next;
    *link = t->next;
    WkFree(t->statusText);
    WkFree(t);
    object->tooltip = nullptr;
}

WkTooltip* Record(WkObject* object) {
    if (!object->tooltip) {
        auto* t = static_cast<WkTooltip*>(WkCalloc(1, sizeof(WkTooltip)));
        t->delay = WK_TOOLTIP_MIN_DELAY;
        t->duration = WK_TOOLTIP_MIN_DURATION;
        t->next = records;
        records = t;
        object->tooltip = t;
    }
    WkTooltip* t = object->tooltip;
    if (!t->destroyHandler) {
        WkObjectAddDestroyHandler(object, OnObjectDestroyed, t);
        t->destroyHandler = true;
    }
    return t;
}

void SetPopupText(WkTooltip* t, const char* text) {
    if (t->label) WkObjectSetText(t->label, OrEmpty(text));
}

void SetStatusText(WkTooltip* t, const char* text) {
    if (!t->statusTarget) return;
    WkFree(t->statusText);
    t->statusText = WkCopyText(text);
}

WkObject* MakePopup(WkTooltip* t, const char* text) {
    WkObject* popup = WkCreateShell(nullptr, kPopupFlags);
    popup->shadowWidth = 1;
    WkObjectSetBackgroundRGB(popup, 255, 255, 255);
    WkObjectSetForegroundRGB(popup, 0, 0, 0);
    t->label = WkCreateLabel(popup, OrEmpty(text), kTooltipFont);
    WkObjectSetBackgroundRGB(t->label, 255, 255, 255);
    WkObjectSetForegroundRGB(t->label, 0, 0, 0);
    WkObjectAddDestroyHandler(popup, OnPopupDestroyed, t);
    return popup;
}

} // namespace

void WkObjectSetTooltip(WkObject* object, const char* text, int delay, int duration) {
    if (!object) return;
    WkTooltip* t = Record(object);
    if (t->popup) {
        SetPopupText(t, text);
    } else {
        const std::uint32_t mask = WkMessageBit(WK_MSG_PRESS) | WkMessageBit(WK_MSG_MOTION) |
                                   WkMessageBit(WK_MSG_ENTER) | WkMessageBit(WK_MSG_LEAVE);
        if (!t->pointerHandler) WkObjectAddEventHandler(object, OnPointer, mask, t);
        t->pointerHandler = true;
        t->popup = MakePopup(t, text);
    }
    t->delay = std::clamp(delay, WK_TOOLTIP_MIN_DELAY, WK_TOOLTIP_MAX_TIME);
    t->duration = std::clamp(duration, WK_TOOLTIP_MIN_DURATION, WK_TOOLTIP_MAX_TIME);
}

void WkObjectSetStatusHint(WkObject* object, const char* text, WkObject* target) {
    if (!object) return;
    WkTooltip* t = Record(object);
    if (!t->hintHandler) {
        WkObjectAddEventHandler(object, OnHint, WkMessageBit(WK_MSG_ENTER) | WkMessageBit(WK_MSG_LEAVE), t);
        t->hintHandler = true;
    }
    WkFree(t->statusText);
    t->statusText = WkCopyText(text);
    SetTarget(t, target);
}

void WkObjectSetHintTexts(WkObject* object, const char* text) {
    WkObjectSetTooltipText(object, text);
    WkObjectSetStatusHintText(object, text);
}

void WkObjectSetTooltipText(WkObject* object, const char* text) {
    if (object && object->tooltip) SetPopupText(object->tooltip, text);
}

void WkObjectSetStatusHintText(WkObject* object, const char* text) {
    if (object && object->tooltip) SetStatusText(object->tooltip, text);
}
