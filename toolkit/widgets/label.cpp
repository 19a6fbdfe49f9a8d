#include "toolkit/widgets/label.h"

#include "toolkit/core/inherit.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/object_primitives.h"
#include "toolkit/widgets/form.h"

#include <cstring>

namespace {

WkLabelData* Data(WkObject* label) { return static_cast<WkLabelData*>(label->classRecord); }

// The text as its lines are shown: broken to the wrap width when one is set.
std::string Shown(WkObject* label) {
    const WkLabelData* d = Data(label);
    if (d->wrapWidth > 0) return WkWrapText(d->text, label->font, d->wrapWidth);
    return d->text ? d->text : "";
}


void Draw(WkObject* label, const WkMessage* expose) {
    if (!WkObjectDrawable(label)) return;
    WkLabelData* d = Data(label);
    if (!expose && label->transparency == WK_TRANSPARENT) WkObjectClear(label);
    WkBeginDraw(label, expose);
    WkObjectDrawBackground(label);
    const int h = WkFontHeight("A", label->font);
    const int inset = WkObjectBorder(label) + d->marginX;
    const bool plain = (label->state & (WK_STATE_SENSITIVE | WK_STATE_ACTIVE)) == (WK_STATE_SENSITIVE | WK_STATE_ACTIVE);
    int y = (label->height - h - (h + d->spacing) * (d->lines - 1)) / 2;
    const std::string shown = Shown(label);
    for (const char* line = shown.c_str(); *line;) {
        int n = 0;
        const char* end = WkLineEnd(line, label->font, &n);
        const int width = label->width - 2 * inset;
        if (plain)
            WkObjectDrawTextN(label, inset, y, width, h, line, label->font, label->foreground, d->alignment, n);
        else
            WkObjectDrawShadowTextN(label, inset, y, width, h, line, label->font, 1, label->darkShadow,
                                    label->lightShadow, d->alignment, n);
        y += h + d->spacing;
        line = *end ? end + 1 : end;
    }
    WkEndDraw();
}

void CountLines(WkObject* label, int* widest) {
    int lines = 1;
    WkMeasureLines(Shown(label).c_str(), label->font, widest, &lines);
    Data(label)->lines = static_cast<std::int16_t>(lines);
}

const WkLabelData kTemplate{nullptr, 3, 2, 2, 2, 0, 0};

} // namespace

const char* WkLineEnd(const char* text, WkFontSlot, int* length) {
    const char* end = text;
    while (*end && *end != '\n') ++end;
    *length = static_cast<int>(end - text);
    return end;
}

void WkMeasureLines(const char* text, WkFontSlot font, int* widest, int* lines) {
    *lines = 1;
    *widest = 0;
    if (!text || !*text) return;
    for (const char* line = text;;) {
        int n = 0;
        const char* end = WkLineEnd(line, font, &n);
        const int w = WkTextWidthN(line, font, n);
        if (w > *widest) *widest = w;
        if (!*end) break;
        ++*lines;
        line = end + 1;
    }
}

std::string WkWrapText(const char* text, WkFontSlot font, int width) {
    std::string wrapped;
    for (const char* line = text ? text : "";;) {
        int n = 0;
        const char* end = WkLineEnd(line, font, &n);
        while (n > 0 && WkTextWidthN(line, font, n) > width) {
            int fits = 1;
            while (fits < n && WkTextWidthN(line, font, fits + 1) <= width) ++fits;
            int cut = fits, skip = 0;
            for (int i = fits; i > 0; --i) {
                if (line[i] == ' ') {
                    cut = i, skip = 1;
                    break;
                }
                if (i > 1 && line[i - 1] == '/') {
                    cut = i;
                    break;
                }
            }
            wrapped.append(line, std::size_t(cut));
            line += cut + skip;
            n -= cut + skip;
            // A blank that went at the line's end leaves no empty line behind.
            if (n > 0) wrapped.push_back('\n');
        }
        wrapped.append(line, std::size_t(n));
        if (!*end) return wrapped;
        wrapped.push_back('\n');
        line = end + 1;
    }
}

WkObject* WkCreateLabel(WkObject* parent, const char* text, WkFontSlot font) {
    WkObject base = WkBaseTemplate(WK_CLASS_LABEL);
    base.handler = WkLabelHandler;
    WkObject* label = WkNewObject(base, &kTemplate, sizeof kTemplate);
    Data(label)->text = WkCopyText(text);
    label->font = font;
    label->outer = label;
    WkInheritColors(parent, label);
    WkAddChild(parent, label);
    return label;
}

int WkLabelHandler(WkObject* label, WkMessage* message) {
    WkLabelData* d = Data(label);
    switch (message->type) {
    case WK_MSG_EXPOSE:
        Draw(label, message);
        return 1;
    case WK_MSG_DESTROY:
        WkFree(d->text);
        d->text = nullptr;
        return 1;
    case WK_MSG_QUERY_SIZE: {
        int widest = 0;
        CountLines(label, &widest);
        const int h = WkFontHeight("A", label->font), frame = WkObjectBorder(label);
        label->height = d->lines * h + d->spacing * (d->lines - 1) + 2 * d->marginY + 2 * frame;
        label->width = 2 * frame + 2 * d->marginX + widest;
        return 1;
    }
    case WK_MSG_RESIZE:
        label->width = WkNewWidth(message);
        label->height = WkNewHeight(message);
        return 1;
    case WK_MSG_SHADOW:
        label->shadowType = static_cast<std::uint8_t>(WkNewShadowType(message));
        label->shadowWidth = static_cast<std::uint8_t>(WkNewShadowWidth(message));
        label->outerShadowWidth = static_cast<std::uint8_t>(WkNewOuterShadowWidth(message));
        Draw(label, nullptr);
        return 1;
    case WK_MSG_SET_TEXT: {
        char* text = WkCopyText(WkNewText(message));
        WkFree(d->text);
        d->text = text;
        int widest = 0;
        CountLines(label, &widest);
        Draw(label, nullptr);
        return 1;
    }
    case WK_MSG_GET_TEXT:
        WkMessageReturnText(message, d->text);
        return 1;
    default:
        return 0;
    }
}

void WkLabelSetAlignment(WkObject* label, int alignment) {
    Data(label)->alignment = static_cast<std::int16_t>(alignment);
    Draw(label, nullptr);
}

void WkLabelSetMargins(WkObject* label, int marginX, int marginY) {
    Data(label)->marginX = static_cast<std::int16_t>(marginX);
    Data(label)->marginY = static_cast<std::int16_t>(marginY);
    Draw(label, nullptr);
}

void WkLabelSetSpacing(WkObject* label, int spacing) {
    Data(label)->spacing = static_cast<std::int16_t>(spacing);
    Draw(label, nullptr);
}

void WkLabelSetWrapWidth(WkObject* label, int width) {
    Data(label)->wrapWidth = static_cast<std::int16_t>(width);
    int widest = 0;
    CountLines(label, &widest);
    Draw(label, nullptr);
}

const char* WkLabelGetText(WkObject* label) { return Data(label)->text; }
