#include "toolkit/core/object_layout.h"

#include "toolkit/core/object_draw.h"
#include "toolkit/core/shell_data.h"

namespace {

void ShowShell(WkObject* shell) {
    if (auto show = WkCurrentShellOperations().show) return show(shell);
    WkShellData* data = WkShellRecord(shell);
    if (data && WkDisplay() && data->nativeWindow) WkDisplay()->show(data->nativeWindow, true);
}

void HideShell(WkObject* shell) {
    if (auto hide = WkCurrentShellOperations().hide) return hide(shell);
    WkShellData* data = WkShellRecord(shell);
    if (data && WkDisplay() && data->nativeWindow) WkDisplay()->hide(data->nativeWindow);
}

void PlaceShell(WkObject* shell, int x, int y, int width, int height) {
    if (auto place = WkCurrentShellOperations().setGeometry) return place(shell, x, y, width, height);
    shell->x = x;
    shell->y = y;
    shell->width = width;
    shell->height = height;
    WkShellData* data = WkShellRecord(shell);
    if (data && WkDisplay() && data->nativeWindow)
        WkDisplay()->setGeometry(data->nativeWindow, plat::Rect{x, y, x + width, y + height});
}

void RelayoutShell(WkObject* shell) {
    WkShellData* data = WkShellRecord(shell);
    WkObject* form = data ? data->mainForm : nullptr;
    if (!form) return;
    int b = WkObjectBorder(shell);
    int width = (shell->layout & WK_LAYOUT_FIXED_WIDTH) ? shell->fixedWidth : form->width + 2 * b;
    int height = (shell->layout & WK_LAYOUT_FIXED_HEIGHT) ? shell->fixedHeight : form->height + 2 * b;
    if (width != shell->width || height != shell->height) {
        data->flags &= std::uint16_t(~WK_SHELL_GEOMETRY_APPLIED);
        PlaceShell(shell, shell->x, shell->y, width, height);
    }
    if (form->width != width - 2 * b || form->height != height - 2 * b)
        WkSendSimpleMessage(form, WK_MSG_RESIZE, 0, width - 2 * b, height - 2 * b);
    shell->minWidth = WkClampSize16(form->minWidth + 2 * b);
    shell->minHeight = WkClampSize16(form->minHeight + 2 * b);
}

void ApplyPolicy(WkObject* object, int policy, std::uint16_t grow, std::uint16_t fixed, std::uint8_t* byte) {
    if (policy > 0) {
        object->layout = std::uint16_t((object->layout | grow) & ~fixed);
        *byte = WK_POLICY_GROW;
    } else if (policy == 0) {
        object->layout &= std::uint16_t(~grow);
        *byte = WK_POLICY_FIXED;
    }
}

} // namespace

void WkResize(WkObject* object, int width, int height) {
    if (!object) return;
    if (object->classCode == WK_CLASS_SHELL) {
        WkShellData* data = WkShellRecord(object);
        if (!data || !data->mainForm) return;
        int b = WkObjectBorder(object);
        if (object->layout & WK_LAYOUT_FIXED_WIDTH) width = object->fixedWidth - 2 * b;
        if (object->layout & WK_LAYOUT_FIXED_HEIGHT) height = object->fixedHeight - 2 * b;
        object = data->mainForm;
    }
    WkObject* outer = object->outer ? object->outer : object;
    bool shown = outer->state & WK_STATE_SHOWN;
    if (shown) WkUnmapObject(outer, 0);
    int oldWidth = object->width, oldHeight = object->height;
    bool fixedWidth = object->layout & WK_LAYOUT_FIXED_WIDTH, fixedHeight = object->layout & WK_LAYOUT_FIXED_HEIGHT;
    if (fixedWidth) width = object->fixedWidth;
    if (fixedHeight) height = object->fixedHeight;
    if (width < 0 || height < 0 || fixedWidth || fixedHeight) WkObjectQuerySize(object);
    if (width > 0 || height > 0)
        WkSendSimpleMessage(object, WK_MSG_RESIZE, 0, width < 0 ? object->width : width,
                            height < 0 ? object->height : height);
    if ((object->width != oldWidth || object->height != oldHeight) && object->parent) WkRelayout(object->parent);
    if (shown) WkMapObject(outer);
}

void WkRelayout(WkObject* object) {
    if (!object) return;
    if (object->classCode == WK_CLASS_SHELL) return RelayoutShell(object);
    if (WkFormHasTableBody(object)) return;
    WkObject* outer = object->outer ? object->outer : object;
    int oldWidth = outer->width, oldHeight = outer->height;
    WkObjectQuerySize(outer);
    if ((outer->width != oldWidth || outer->height != oldHeight) && outer->parent) {
        bool shown = outer->state & WK_STATE_SHOWN;
        if (shown) WkUnmapObject(outer, 0);
        WkRelayout(outer->parent);
        if (shown) WkMapObject(outer);
    }
    WkRedraw(object, 0);
}

void WkMapObject(WkObject* object) {
    if (!object) return;
    if (object->classCode == WK_CLASS_SHELL) return ShowShell(object);
    if (object->state & WK_STATE_SHOWN) return;
    object->state |= WK_STATE_SHOWN;
    WkSendSimpleMessage(object, WK_MSG_MAP);
    WkRedraw(object, 0);
}

void WkUnmapObject(WkObject* object, int repaint) {
    if (!object) return;
    if (object->classCode == WK_CLASS_SHELL) return HideShell(object);
    if (!(object->state & WK_STATE_SHOWN)) return;
    bool wasDrawable = WkObjectDrawable(object);
    object->state &= std::uint16_t(~WK_STATE_SHOWN);
    WkSendSimpleMessage(object, WK_MSG_UNMAP);
    WkObject* parent = object->parent;
    if (repaint && wasDrawable && parent && (parent->state & WK_STATE_SHOWN)) WkObjectClearBehind(object);
}

void WkObjectSetResizable(WkObject* object, int xPolicy, int yPolicy) {
    if (!object) return;
    if ((object->state & WK_STATE_PART) && object->parent) WkObjectSetResizable(object->parent, xPolicy, yPolicy);
    ApplyPolicy(object, xPolicy, WK_LAYOUT_GROW_X, WK_LAYOUT_FIXED_WIDTH, &object->policyX);
    ApplyPolicy(object, yPolicy, WK_LAYOUT_GROW_Y, WK_LAYOUT_FIXED_HEIGHT, &object->policyY);
}

void WkObjectQuerySize(WkObject* object) {
    if (object && object->handler) WkSendSimpleMessage(object, WK_MSG_QUERY_SIZE);
}
