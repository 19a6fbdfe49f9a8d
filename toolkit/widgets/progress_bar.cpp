#include "toolkit/widgets/progress_bar.h"

#include "toolkit/core/draw.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/object_primitives.h"
#include "toolkit/widgets/form.h"

#include <algorithm>
#include <cstring>

namespace {

WkProgressData* Data(WkObject* bar) { return static_cast<WkProgressData*>(bar->classRecord); }


void MakeStripColors(WkProgressData* d, WkColor color) {
    d->bar = WkAddColorRef(color);
    d->light = WkShadeColor(color, 140);
    d->dark = WkShadeColor(color, 60);
}

void FreeStripColors(WkProgressData* d) {
    for (WkColor c : {d->bar, d->light, d->dark}) WkFreeColor(c);
}

int FontHeight(WkObject* bar) { return WkFontHeight("A", bar->font); }

void Draw(WkObject* bar, const WkMessage* expose) {
    if (!WkObjectDrawable(bar)) return;
    WkProgressData* d = Data(bar);
    const int b = bar->shadowWidth, fill = WkProgressBarFill(bar);
    WkBeginDraw(bar, expose);
    WkObjectDrawBackground(bar);
    WkObjectDrawBevel(bar, b, b, fill + 4, bar->height - 2 * b, d->light, d->dark, 2);
    if (fill > 0) WkObjectFillRect(bar, b + 2, b + 2, fill, bar->height - 2 * b - 4, d->bar);
    WkObjectDrawText(bar, 0, 0, bar->width, bar->height, d->text, bar->font, bar->foreground, WK_ALIGN_CENTER);
    WkEndDraw();
}

// Redraws the columns x0 .. x1 (end excluded) of the bar, limited to what
// is visible of it.
void DrawSpan(WkObject* bar, int x0, int x1) {
    if (!WkObjectDrawable(bar)) return;
    WkRect visible;
    int ox = 0, oy = 0;
    WkObjectGetVisibleRect(bar, &visible, &ox, &oy);
    x0 = std::max(x0, visible.x);
    x1 = std::min(x1, visible.x + visible.width);
    if (x1 <= x0 || visible.height <= 0) return;
    WkMessage expose = WkExposeMessage(0, ox, oy, WkRect{x0, visible.y, x1 - x0, visible.height});
    Draw(bar, &expose);
}

// Where a text of that width starts when centred over the bar, one pixel
// wider on each side for the rounding of the centring.
void TextSpan(WkObject* bar, const char* text, int* x0, int* x1) {
    const int w = WkTextWidth(text, bar->font);
    *x0 = (bar->width - w) / 2 - 1;
    *x1 = *x0 + w + 2;
}

void SetText(WkObject* bar, const char* text) {
    WkProgressData* d = Data(bar);
    int oldX0, oldX1, newX0, newX1;
    TextSpan(bar, d->text, &oldX0, &oldX1);
    char* copy = WkCopyText(text);
    WkFree(d->text);
    d->text = copy;
    TextSpan(bar, d->text, &newX0, &newX1);
    if (!WkObjectDrawable(bar)) return;
    // Behind a transparent bar the old text beyond the strip shows what lies
    // behind once it is gone.
    const int stripEnd = bar->shadowWidth + WkProgressBarFill(bar) + 4;
    if (bar->transparency == WK_TRANSPARENT && oldX1 > stripEnd) {
        const int from = std::max(oldX0, stripEnd);
        WkObjectClearArea(bar, from, 0, oldX1 - from, bar->height);
    }
    DrawSpan(bar, std::min(oldX0, newX0), std::max(oldX1, newX1));
}

const WkProgressData kTemplate{nullptr, 0, 0, 0, 1, 0, 2, 2, WK_SHADOW_IN, 2};

} // namespace

int WkProgressBarFill(WkObject* bar) {
    const WkProgressData* d = Data(bar);
    const long long inside = bar->width - 2LL * bar->shadowWidth - 4;
    if (d->maximum <= 0 || inside <= 0 || d->value <= 0) return 0;
    return static_cast<int>(static_cast<long long>(d->value) * inside / d->maximum);
}

WkObject* WkCreateProgressBar(WkObject* parent, const char* text, int maximum, WkFontSlot font) {
    WkObject base = WkBaseTemplate(WK_CLASS_PROGRESS);
    base.handler = WkProgressBarHandler;
    WkObject* bar = WkNewObject(base, &kTemplate, sizeof kTemplate);
    WkProgressData* d = Data(bar);
    d->text = WkCopyText(text);
    d->maximum = maximum;
    d->frameType = bar->shadowType;
    d->frameWidth = bar->shadowWidth;
    bar->font = font;
    bar->outer = bar;
    WkInheritColors(parent, bar);
    MakeStripColors(d, bar->background);
    const int frame = WkObjectBorder(bar);
    bar->width = 2 * frame + 2 * d->marginX + WkTextWidth(d->text, font);
    bar->height = FontHeight(bar) + 2 * frame + 2 * d->marginY;
    WkAddChild(parent, bar);
    return bar;
}

int WkProgressBarHandler(WkObject* bar, WkMessage* message) {
    WkProgressData* d = Data(bar);
    switch (message->type) {
    case WK_MSG_EXPOSE: Draw(bar, message); return 1;
    case WK_MSG_DESTROY:
        FreeStripColors(d);
        WkFree(d->text);
        d->text = nullptr;
        return 1;
    case WK_MSG_QUERY_SIZE:
        bar->height = FontHeight(bar) + 2 * d->marginY + 2 * WkObjectBorder(bar);
        bar->width = 80;
        return 1;
    case WK_MSG_RESIZE:
        // The bar keeps a size its text or font does not fit into.
        if (WkTextWidth(d->text, bar->font) < WkNewWidth(message)) bar->width = WkNewWidth(message);
        if (FontHeight(bar) < WkNewHeight(message)) bar->height = WkNewHeight(message);
        return 1;
    case WK_MSG_COLORS:
        if (bar->transparency == 0) {
            FreeStripColors(d);
            MakeStripColors(d, bar->background);
        }
        return 1;
    case WK_MSG_SHADOW:
        if (const int width = WkNewShadowWidth(message); width >= 1 && width <= 6)
            d->frameWidth = static_cast<std::uint8_t>(width);
        bar->shadowType = d->frameType;
        bar->shadowWidth = d->frameWidth;
        bar->outerShadowWidth = 0;
        WkRedraw(bar, 1);
        return 1;
    case WK_MSG_SET_TEXT: SetText(bar, WkNewText(message)); return 1;
    case WK_MSG_GET_TEXT: WkMessageReturnText(message, d->text); return 1;
    default: return 0;
    }
}

void WkProgressBarSetValue(WkObject* bar, int value) {
    WkProgressData* d = Data(bar);
    if (value < 0) return;
    const int oldFill = WkProgressBarFill(bar);
    d->value = d->maximum > 0 ? std::min(value, d->maximum) : value;
    const int newFill = WkProgressBarFill(bar);
    if (newFill == oldFill || !WkObjectDrawable(bar)) return;
    const int b = bar->shadowWidth;
    const int x0 = std::min(oldFill, newFill), x1 = std::max(oldFill, newFill) + 2 * b + 4;
    if (newFill < oldFill && bar->transparency == WK_TRANSPARENT) WkObjectClearArea(bar, x0, 0, x1 - x0, bar->height);
    DrawSpan(bar, x0, x1);
}

void WkProgressBarSetMaximum(WkObject* bar, int maximum) {
    if (maximum <= 0) return;
    WkProgressData* d = Data(bar);
    d->maximum = maximum;
    d->value = std::min(d->value, maximum);
    WkRedraw(bar, 1);
}

void WkProgressBarSetColor(WkObject* bar, WkColor color) {
    FreeStripColors(Data(bar));
    MakeStripColors(Data(bar), color);
    WkRedraw(bar, 1);
}

void WkProgressBarSetColorRGB(WkObject* bar, int red, int green, int blue) {
    const WkColor color = WkAllocColor(red, green, blue);
    WkProgressBarSetColor(bar, color);
    WkFreeColor(color);
}
