#include "toolkit/widgets/scroll_bar.h"

#include "toolkit/core/draw.h"
#include "toolkit/core/grab.h"
#include "toolkit/core/image.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/keys.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/object_primitives.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr int kArrow = WK_SCROLL_ARROW;
constexpr int kPreferredLength = 68;
constexpr int kMinimumLength = 40;
constexpr unsigned kFirstDelay = 50, kSecondDelay = 400, kRepeatDelay = 80;

WkScrollBarData* Data(WkObject* bar) { return static_cast<WkScrollBarData*>(bar->classRecord); }

bool Vertical(const WkScrollBarData* d) { return d->orientation == WK_SCROLL_VERTICAL; }
int Length(WkObject* bar) { return Vertical(Data(bar)) ? bar->height : bar->width; }
// A coordinate of a point along the bar.
int Along(const WkScrollBarData* d, int x, int y) { return d->orientation == WK_SCROLL_VERTICAL ? y : x; }

bool Live(WkObject* bar) {
    const std::uint16_t bits = WK_STATE_SENSITIVE | WK_STATE_ACTIVE;
    return (bar->state & bits) == bits;
}

void PlaceBox(const WkScrollBarData* d, WkBox& box, int frame, int start, int length) {
    box.x = Vertical(d) ? frame : start;
    box.y = Vertical(d) ? start : frame;
    box.width = Vertical(d) ? kArrow : length;
    box.height = Vertical(d) ? length : kArrow;
}

// The thumb follows the value; the arrows sit at both ends.
void Layout(WkObject* bar) {
    WkScrollBarData* d = Data(bar);
    int frame = WkObjectBorder(bar);
    int length = Length(bar);
    d->track = length - 2 * frame - 2 * kArrow - 4;
    PlaceBox(d, d->first, frame, frame, kArrow);
    PlaceBox(d, d->second, frame, length - kArrow - frame, kArrow);
    // A squeezed bar has no room for a thumb: its length stays 0 or more.
    double track = std::max(d->track, 0);
    int thumbLength = int(track * d->view / d->maximum) + 4;
    int thumbStart = int(double(d->value) * track / d->maximum) + frame + kArrow;
    PlaceBox(d, d->thumb, frame, thumbStart, std::max(thumbLength, 0));
}

void DrawArrowMark(WkObject* bar, const WkBox& box, int which) {
    WkScrollBarData* d = Data(bar);
    WkImage* picture = WkStockBitmap((Vertical(d) ? WK_BMP_SCROLL_UP : WK_BMP_SCROLL_LEFT) + which);
    if (picture) {
        WkObjectDrawImage(bar, picture, 0, 0, std::min(picture->width, box.width - 4),
                          std::min(picture->height, box.height - 4), box.x + 2, box.y + 2);
        return;
    }
    // A triangle of five rows pointing away from the trough's middle.
    int cx = box.x + box.width / 2, cy = box.y + box.height / 2;
    for (int i = 0; i < 5; ++i) {
        int row = which == 0 ? i - 2 : 2 - i; // the tip comes first
        if (Vertical(d))
            WkObjectFillRect(bar, cx - i, cy + row, 2 * i + 1, 1, bar->foreground);
        else
            WkObjectFillRect(bar, cx + row, cy - i, 1, 2 * i + 1, bar->foreground);
    }
}

void DrawParts(WkObject* bar) {
    WkScrollBarData* d = Data(bar);
    WkObjectDrawBox(bar, &d->first);
    WkObjectDrawBox(bar, &d->second);
    DrawArrowMark(bar, d->first, 0);
    DrawArrowMark(bar, d->second, 1);
    if (d->thumb.width > 0 && d->thumb.height > 0) {
        WkObjectDrawBox(bar, &d->thumb);
        if (bar->state & WK_STATE_FOCUS)
            WkObjectDrawFrame(bar, d->thumb.x, d->thumb.y, d->thumb.width, d->thumb.height, WkBlackColor(), 1);
    }
}

// The trough: what lies between and beside the parts is painted from behind.
void Expose(WkObject* bar, WkMessage* expose) {
    WkScrollBarData* d = Data(bar);
    int frame = WkObjectBorder(bar);
    int inside = Length(bar) - 2 * frame;
    int across = (Vertical(d) ? bar->width : bar->height) - 2 * frame;
    int firstEnd = frame + kArrow;
    int thumbStart = Along(d, d->thumb.x, d->thumb.y);
    int thumbEnd = thumbStart + Along(d, d->thumb.width, d->thumb.height);
    int secondStart = Along(d, d->second.x, d->second.y);
    auto clear = [&](int start, int length, int side, int thickness) {
        if (length <= 0 || thickness <= 0) return;
        if (Vertical(d))
            WkObjectClearAreaExposed(bar, expose, side, start, thickness, length);
        else
            WkObjectClearAreaExposed(bar, expose, start, side, length, thickness);
    };
    clear(firstEnd, std::min(thumbStart, secondStart) - firstEnd, frame, kArrow);
    clear(thumbEnd, secondStart - thumbEnd, frame, kArrow);
    clear(frame, inside, frame + kArrow, across - kArrow);
    WkObjectDrawShadow(bar);
    DrawParts(bar);
}

void SetPressedLook(WkScrollBarData* d, bool pressed) {
    WkBox* arrow = d->pressedPart == WK_SCROLL_PART_FIRST    ? &d->first
                   : d->pressedPart == WK_SCROLL_PART_SECOND ? &d->second
                                                             : nullptr;
    if (arrow) arrow->shadowType = pressed ? WK_SHADOW_IN : WK_SHADOW_OUT;
}

// value + by without leaving the int range: a maximum may lie near the limit.
int Moved(int value, std::int64_t by) {
    return int(std::clamp<std::int64_t>(std::int64_t(value) + by, INT32_MIN, INT32_MAX));
}

void Notify(WkObject* bar) {
    WkScrollBarData* d = Data(bar);
    if (d->callback) d->callback(bar, d->value, d->userData);
}

void MoveThumb(WkObject* bar) {
    Layout(bar);
    WkRedraw(bar, 0);
}

void Repeat(int, void* data);

void EndPress(WkObject* bar) {
    WkScrollBarData* d = Data(bar);
    if (WkGetGrab() == bar) WkPopGrab(bar);
    bar->state &= std::uint16_t(~WK_STATE_ON);
    WkClearTimeout(&d->timer);
    SetPressedLook(d, false);
    d->pressedPart = WK_SCROLL_PART_NONE;
    d->pending = -1;
    WkRedraw(bar, 0);
}

void Repeat(int, void* data) {
    auto* bar = static_cast<WkObject*>(data);
    WkScrollBarData* d = Data(bar);
    d->timer = 0;
    if (d->pending >= 0) {
        int value = d->pending;
        d->pending = -1;
        if (d->pressedPart != WK_SCROLL_PART_THUMB) d->timer = WkAddTimeout(kSecondDelay, Repeat, bar);
        WkScrollBarSetValue(bar, value);
        return;
    }
    int change = 0;
    switch (d->pressedPart) {
    case WK_SCROLL_PART_FIRST: change = -d->step; break;
    case WK_SCROLL_PART_SECOND: change = d->step; break;
    case WK_SCROLL_PAGE_FORWARD: change = d->view; break;
    case WK_SCROLL_PAGE_BACK: change = -d->view; break;
    default: return;
    }
    d->timer = WkAddTimeout(kRepeatDelay, Repeat, bar);
    WkScrollBarSetValue(bar, Moved(d->value, change));
}

// The value whose thumb starts at that point less the offset; the thumb's
// own start includes the frame, so the thumb stays under the pointer.
int ValueAt(WkObject* bar, int along, int offset) {
    WkScrollBarData* d = Data(bar);
    double position = along - WkObjectBorder(bar) - kArrow - offset;
    return int(std::clamp(double(d->maximum) * position / d->track, 0.0, double(INT32_MAX)));
}

void Press(WkObject* bar, WkMessage* m) {
    WkScrollBarData* d = Data(bar);
    if (WkGetGrab() == bar) return;
    if ((bar->layout & WK_LAYOUT_FOCUSABLE) && !(bar->state & WK_STATE_FOCUS)) WkObjectSetFocus(bar);
    if (!Live(bar)) return;
    int frame = WkObjectBorder(bar);
    int x = std::clamp(WkPointerX(m), frame, bar->width - frame - 1);
    int y = std::clamp(WkPointerY(m), frame, bar->height - frame - 1);
    int p = Along(d, x, y);
    int button = WkPointerButton(m);
    int thumbStart = Along(d, d->thumb.x, d->thumb.y);
    int thumbLength = Along(d, d->thumb.width, d->thumb.height);
    bool onThumb = p >= thumbStart && p < thumbStart + thumbLength;
    if (button == 1 && p < frame + kArrow) {
        d->pressedPart = WK_SCROLL_PART_FIRST;
        d->pending = std::max(d->value - d->step, 0);
    } else if (button == 1 && p >= Length(bar) - frame - kArrow) {
        d->pressedPart = WK_SCROLL_PART_SECOND;
        d->pending = Moved(d->value, d->step);
    } else if (onThumb || button != 1) {
        // Without a track there is nothing to drag along.
        if (d->track <= 0) return;
        d->pressedPart = WK_SCROLL_PART_THUMB;
        if (button == 1) {
            d->grabOffset = std::int16_t(p - thumbStart);
            d->pending = d->value;
        } else {
            d->grabOffset = std::int16_t(thumbLength / 2);
            d->pending = ValueAt(bar, p, d->grabOffset);
        }
    } else {
        bool forward = thumbStart < p;
        d->pressedPart = forward ? WK_SCROLL_PAGE_FORWARD : WK_SCROLL_PAGE_BACK;
        d->pending = std::max(forward ? d->value + d->view : d->value - d->view, 0);
    }
    SetPressedLook(d, true);
    bar->state |= WK_STATE_ON;
    WkPushGrab(bar);
    d->pressedButton = std::uint8_t(button);
    WkRestartTimeout(&d->timer, kFirstDelay, Repeat, bar);
    if (d->pressedPart != WK_SCROLL_PART_THUMB) WkRedraw(bar, 0);
}

void Release(WkObject* bar, WkMessage* m) {
    WkScrollBarData* d = Data(bar);
    if (WkGetGrab() != bar || WkPointerButton(m) != d->pressedButton) return;
    // A click shorter than the first delay still takes its step.
    int pending = d->pending;
    EndPress(bar);
    if (pending >= 0) WkScrollBarSetValue(bar, pending);
}

void Motion(WkObject* bar, WkMessage* m) {
    WkScrollBarData* d = Data(bar);
    const int buttons = 0x100 | 0x200 | 0x400;
    if (d->pressedPart != WK_SCROLL_PART_THUMB || !(bar->state & WK_STATE_ON) ||
        !(WkPointerState(m) & buttons) || d->pending >= 0 || d->track <= 0 || !Live(bar))
        return;
    WkScrollBarSetValue(bar, ValueAt(bar, Along(d, WkPointerX(m), WkPointerY(m)), d->grabOffset));
}

void Key(WkObject* bar, WkMessage* m) {
    WkScrollBarData* d = Data(bar);
    int key = WkKeyCode(m);
    if (key == WK_KEY_TAB) {
        if (WkKeyModifiers(m) & WK_MOD_SHIFT)
            WkFocusPrevious(bar);
        else
            WkFocusNext(bar);
        return;
    }
    if (!Live(bar)) {
        WkBeep();
        return;
    }
    if (key == WK_KEY_UP || key == WK_KEY_LEFT) WkScrollBarSetValue(bar, d->value - d->step);
    if (key == WK_KEY_DOWN || key == WK_KEY_RIGHT) WkScrollBarSetValue(bar, Moved(d->value, d->step));
}

void ReleasePartColors(WkScrollBarData* d) {
    WkFreeColor(d->first.background);
    WkFreeColor(d->first.lightShadow);
    WkFreeColor(d->first.darkShadow);
}

// The parts take over the caller's references, one for all three.
void SetPartColors(WkScrollBarData* d, WkColor background, WkColor light, WkColor dark) {
    for (WkBox* box : {&d->first, &d->second, &d->thumb}) {
        box->background = box->baseBackground = background;
        box->lightShadow = light;
        box->darkShadow = dark;
    }
}

void RecolorParts(WkObject* bar, WkColor color) {
    WkScrollBarData* d = Data(bar);
    ReleasePartColors(d);
    SetPartColors(d, color, WkShadeColor(color, 140), WkShadeColor(color, 60));
}

void ShadeParts(WkObject* bar, int percent) {
    // The colour as set or inherited: a transparent bar draws what lies behind it.
    WkColor color = WkShadeColor(bar->baseBackground, percent);
    RecolorParts(bar, color);
}

int Handler(WkObject* bar, WkMessage* m) {
    WkScrollBarData* d = Data(bar);
    switch (m->type) {
    case WK_MSG_KEY: Key(bar, m); return 1;
    case WK_MSG_PRESS: Press(bar, m); return 1;
    case WK_MSG_RELEASE: Release(bar, m); return 1;
    case WK_MSG_MOTION: Motion(bar, m); return 1;
    case WK_MSG_EXPOSE:
        if (WkObjectDrawable(bar)) Expose(bar, m);
        return 1;
    case WK_MSG_DESTROY:
        if (WkGetGrab() == bar) WkPopGrab(bar);
        WkClearTimeout(&d->timer);
        ReleasePartColors(d);
        SetPartColors(d, 0, 0, 0);
        return 1;
    case WK_MSG_QUERY_SIZE: {
        int across = 2 * WkObjectBorder(bar) + kArrow;
        bool vertical = Vertical(d);
        if (!(bar->layout & WK_LAYOUT_FIXED_WIDTH)) bar->width = vertical ? across : kPreferredLength;
        if (!(bar->layout & WK_LAYOUT_FIXED_HEIGHT)) bar->height = vertical ? kPreferredLength : across;
        if (vertical && !(bar->layout & WK_LAYOUT_MIN_HEIGHT)) bar->minHeight = kMinimumLength;
        if (!vertical && !(bar->layout & WK_LAYOUT_MIN_WIDTH)) bar->minWidth = kMinimumLength;
        return 1;
    }
    case WK_MSG_RESIZE:
        bar->width = WkNewWidth(m);
        bar->height = WkNewHeight(m);
        Layout(bar);
        return 1;
    case WK_MSG_FOCUS_IN:
        bar->state |= WK_STATE_FOCUS;
        WkRedraw(bar, 0);
        return 1;
    case WK_MSG_FOCUS_OUT:
        bar->state &= std::uint16_t(~WK_STATE_FOCUS);
        WkRedraw(bar, 0);
        return 1;
    case WK_MSG_COLORS:
        if (d->shade) ShadeParts(bar, d->shade);
        return 1;
    case WK_MSG_POP_DOWN:
        if (WkGetGrab() == bar) EndPress(bar);
        return 1;
    case WK_MSG_WHEEL:
        if (Live(bar)) WkScrollBarSetValue(bar, Moved(d->value, std::int64_t(d->step) * WkWheelLines(m)));
        return 1;
    default: return 0;
    }
}

// The nearest multiple of the step (halves up) within 0 .. maximum - view,
// in 64 bits so that no value near the integer limits overflows.
int RuleValue(const WkScrollBarData* d, int value) {
    std::int64_t step = d->step;
    std::int64_t v = std::max<std::int64_t>(value, 0);
    v = step * ((v + step / 2) / step);
    return int(std::min<std::int64_t>(v, d->maximum - d->view));
}

WkObject* Checked(WkObject* bar) { return bar && bar->classCode == WK_CLASS_SCROLL_BAR ? bar : nullptr; }

} // namespace

WkScrollBarData* WkScrollBarRecord(WkObject* bar) { return Checked(bar) ? Data(bar) : nullptr; }

WkObject* WkCreateScrollBar(WkObject* parent, int orientation, int view, int maximum) {
    WkObject base = WkBaseTemplate(WK_CLASS_SCROLL_BAR);
    base.handler = Handler;
    WkScrollBarData record{};
    record.orientation = orientation == WK_SCROLL_VERTICAL ? WK_SCROLL_VERTICAL : WK_SCROLL_HORIZONTAL;
    record.view = std::max(view, 1);
    record.maximum = std::max(maximum, record.view);
    record.pending = -1;
    record.step = 1;
    record.arrowLength = kArrow;
    for (WkBox* box : {&record.first, &record.second, &record.thumb}) {
        box->shadowType = WK_SHADOW_OUT;
        box->shadowWidth = 2;
    }
    WkObject* bar = WkNewObject(base, &record, sizeof record);
    WkInheritColors(parent, bar);
    SetPartColors(Data(bar), WkAddColorRef(bar->background), WkAddColorRef(bar->lightShadow),
                  WkAddColorRef(bar->darkShadow));
    if (record.orientation == WK_SCROLL_VERTICAL)
        WkObjectSetResizable(bar, -1, 1);
    else
        WkObjectSetResizable(bar, 1, -1);
    WkObjectQuerySize(bar);
    Layout(bar);
    WkAddChild(parent, bar);
    return bar;
}

void WkScrollBarSetValue(WkObject* bar, int value) {
    if (!Checked(bar)) return;
    WkScrollBarData* d = Data(bar);
    int v = RuleValue(d, value);
    if (v == d->value) return;
    d->value = v;
    MoveThumb(bar);
    Notify(bar);
}

void WkScrollBarSetValues(WkObject* bar, int maximum, int view, int value) {
    if (!Checked(bar)) return;
    WkScrollBarData* d = Data(bar);
    int old = d->value;
    if (maximum > 0) d->maximum = maximum;
    if (view > 0) d->view = view;
    d->view = std::min(d->view, d->maximum);
    d->value = RuleValue(d, value < 0 ? d->value : value);
    MoveThumb(bar);
    if (d->value != old) Notify(bar);
}

void WkScrollBarSetView(WkObject* bar, int view) {
    if (!Checked(bar) || view <= 0) return;
    WkScrollBarData* d = Data(bar);
    d->view = std::min(view, d->maximum);
    if (d->value > d->maximum - d->view) {
        WkScrollBarSetValue(bar, d->maximum - d->view);
        return;
    }
    WkBox before = d->thumb;
    Layout(bar);
    if (before.x != d->thumb.x || before.y != d->thumb.y || before.width != d->thumb.width ||
        before.height != d->thumb.height)
        WkRedraw(bar, 0);
}

void WkScrollBarSetMaximum(WkObject* bar, int maximum) {
    if (!Checked(bar) || maximum <= 0) return;
    WkScrollBarData* d = Data(bar);
    d->maximum = maximum;
    WkScrollBarSetView(bar, std::min(d->view, maximum));
}

int WkScrollBarGetValue(WkObject* bar) { return Checked(bar) ? Data(bar)->value : 0; }
int WkScrollBarGetView(WkObject* bar) { return Checked(bar) ? Data(bar)->view : 0; }
int WkScrollBarGetMaximum(WkObject* bar) { return Checked(bar) ? Data(bar)->maximum : 0; }

void WkScrollBarSetStep(WkObject* bar, int step) {
    if (Checked(bar)) Data(bar)->step = std::uint16_t(std::clamp(step, 1, 0xFFFF));
}

void WkScrollBarSetCallback(WkObject* bar, WkValueCallback callback, void* userData) {
    if (!Checked(bar)) return;
    Data(bar)->callback = callback;
    Data(bar)->userData = userData;
}

void WkScrollBarSetColor(WkObject* bar, WkColor color) {
    if (!Checked(bar)) return;
    RecolorParts(bar, WkAddColorRef(color));
    WkRedraw(bar, 0);
}

void WkScrollBarSetShade(WkObject* bar, int percent) {
    if (!Checked(bar)) return;
    percent = std::clamp(percent, 0, 255);
    Data(bar)->shade = std::uint8_t(percent);
    ShadeParts(bar, percent ? percent : 100);
    WkRedraw(bar, 0);
}
