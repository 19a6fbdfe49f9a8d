#include "toolkit/core/object_primitives.h"

#include "toolkit/core/draw_image.h"
#include "toolkit/core/image.h"
#include "toolkit/core/object_draw.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

int OriginX() { return WkCurrentDrawTarget().originX; }
int OriginY() { return WkCurrentDrawTarget().originY; }

int AlignedLeft(int x, int width, int textWidth, int alignment) {
    if (alignment == WK_ALIGN_RIGHT) return x + width - textWidth;
    if (alignment == WK_ALIGN_CENTER) return x + (width - textWidth) / 2;
    return x;
}

int DrawTextPart(WkObject* object, int x, int y, int width, int height, const char* text, WkFontSlot font,
                 WkColor color, int alignment, int n) {
    if (!WkSelectDrawTarget(object) || !text) return 0;
    int textWidth = WkTextWidthN(text, font, n);
    int left = AlignedLeft(x, width, textWidth, alignment);
    // Drawn left-aligned in a box of the text's own width, so that the
    // placement is this module's rule whatever the device does with boxes.
    WkNativeDrawTextN(OriginX() + left, OriginY() + y, textWidth, height, text, font, color, WK_ALIGN_LEFT, n);
    return 1;
}

void MovePoints(WkPoint* points, int count, int dx, int dy) {
    for (int i = 0; i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
}

void Bevel(int x, int y, int width, int height, WkColor topLeft, WkColor bottomRight, int thickness) {
    if (thickness > 0 && width > 0 && height > 0)
        WkNative3DFrame(x, y, width, height, topLeft, bottomRight, thickness);
}

} // namespace

int WkSelectDrawTarget(WkObject* object) {
    if (!object || !WkObjectDrawable(object)) return 0;
    if (WkCurrentDrawTarget().object != object) WkBeginDraw(object, nullptr);
    return 1;
}

int WkObjectDrawText(WkObject* object, int x, int y, int width, int height, const char* text, WkFontSlot font,
                     WkColor color, int alignment) {
    return DrawTextPart(object, x, y, width, height, text, font, color, alignment,
                        text ? int(std::strlen(text)) : 0);
}

int WkObjectDrawTextN(WkObject* object, int x, int y, int width, int height, const char* text, WkFontSlot font,
                      WkColor color, int alignment, int n) {
    if (text) n = std::clamp(n, 0, int(std::strlen(text)));
    return DrawTextPart(object, x, y, width, height, text, font, color, alignment, n);
}

int WkObjectDrawShadowTextN(WkObject* object, int x, int y, int width, int height, const char* text,
                            WkFontSlot font, int offset, WkColor color, WkColor shadowColor, int alignment, int n) {
    if (!WkObjectDrawTextN(object, x + offset, y + offset, width, height, text, font, shadowColor, alignment, n))
        return 0;
    return WkObjectDrawTextN(object, x, y, width, height, text, font, color, alignment, n);
}

int WkObjectDrawShadowText(WkObject* object, int x, int y, int width, int height, const char* text,
                           WkFontSlot font, int offset, WkColor color, WkColor shadowColor, int alignment) {
    return WkObjectDrawShadowTextN(object, x, y, width, height, text, font, offset, color, shadowColor, alignment,
                                   text ? int(std::strlen(text)) : 0);
}

int WkObjectDrawTextOpaqueN(WkObject* object, int x, int y, int width, int height, const char* text,
                            WkFontSlot font, WkColor background, WkColor color, int alignment, int n) {
    if (!WkSelectDrawTarget(object) || !text) return 0;
    n = std::clamp(n, 0, int(std::strlen(text)));
    int textWidth = WkTextWidthN(text, font, n);
    int fontHeight = WkFontHeight(text, font);
    int left = AlignedLeft(x, width, textWidth, alignment);
    int top = y + (height - fontHeight) / 2;
    WkNativeFillRect(OriginX() + left, OriginY() + top, textWidth, fontHeight, background);
    return DrawTextPart(object, x, y, width, height, text, font, color, alignment, n);
}

int WkObjectDrawTextOpaque(WkObject* object, int x, int y, int width, int height, const char* text,
                           WkFontSlot font, WkColor background, WkColor color, int alignment) {
    return WkObjectDrawTextOpaqueN(object, x, y, width, height, text, font, background, color, alignment,
                                   text ? int(std::strlen(text)) : 0);
}

int WkObjectDrawPoint(WkObject* object, int x, int y, WkColor color) {
    if (!WkSelectDrawTarget(object)) return 0;
    WkNativeSetPixel(OriginX() + x, OriginY() + y, color);
    return 1;
}

int WkObjectDrawLine(WkObject* object, int x1, int y1, int x2, int y2, WkColor color) {
    if (!WkSelectDrawTarget(object)) return 0;
    WkNativeDrawLine(OriginX() + x1, OriginY() + y1, OriginX() + x2, OriginY() + y2, color);
    return 1;
}

int WkObjectFillCircle(WkObject* object, int x, int y, int radius, WkColor color) {
    if (!WkSelectDrawTarget(object)) return 0;
    WkNativeFillCircle(OriginX() + x, OriginY() + y, radius, color);
    return 1;
}

int WkObjectDrawArc(WkObject* object, int x, int y, int radius, int start, int end, WkColor color) {
    if (!WkSelectDrawTarget(object)) return 0;
    WkNativeDrawArc(OriginX() + x, OriginY() + y, radius, start, end, color);
    return 1;
}

int WkObjectFillPie(WkObject* object, int x, int y, int radius, int start, int end, WkColor color) {
    if (!WkSelectDrawTarget(object)) return 0;
    WkNativeFillPie(OriginX() + x, OriginY() + y, radius, start, end, color);
    return 1;
}

int WkObjectDrawPolyline(WkObject* object, WkPoint* points, int count, WkColor color) {
    if (!WkSelectDrawTarget(object) || !points || count < 1) return 0;
    int dx = OriginX(), dy = OriginY();
    MovePoints(points, count, dx, dy);
    WkNativePolyline(points, count, color);
    MovePoints(points, count, -dx, -dy);
    return 1;
}

int WkObjectFillPolygon(WkObject* object, WkPoint* points, int count, WkColor color) {
    if (!WkSelectDrawTarget(object) || !points || count < 1) return 0;
    int dx = OriginX(), dy = OriginY();
    MovePoints(points, count, dx, dy);
    WkNativePolygon(points, count, color);
    MovePoints(points, count, -dx, -dy);
    return 1;
}

int WkObjectDrawRect(WkObject* object, int x, int y, int width, int height, WkColor color) {
    return WkObjectDrawBevel(object, x, y, width, height, color, color, 1);
}

int WkObjectFillRect(WkObject* object, int x, int y, int width, int height, WkColor color) {
    if (!WkSelectDrawTarget(object)) return 0;
    WkNativeFillRect(OriginX() + x, OriginY() + y, width, height, color);
    return 1;
}

int WkObjectDrawImage(WkObject* object, WkImage* image, int sourceX, int sourceY, int width, int height, int x,
                      int y) {
    if (!WkSelectDrawTarget(object) || !image) return 0;
    WkImageMakeDeviceBitmap(image);
    WkNativeDrawImage(image, sourceX, sourceY, width, height, OriginX() + x, OriginY() + y);
    return 1;
}

int WkObjectDrawBevel(WkObject* object, int x, int y, int width, int height, WkColor topLeft,
                      WkColor bottomRight, int thickness) {
    if (!WkSelectDrawTarget(object)) return 0;
    Bevel(OriginX() + x, OriginY() + y, width, height, topLeft, bottomRight, thickness);
    return 1;
}

int WkObjectDrawFrame(WkObject* object, int x, int y, int width, int height, WkColor color, int thickness) {
    return WkObjectDrawBevel(object, x, y, width, height, color, color, thickness);
}

void WkDrawShadowFrame(WkObject* object, const WkBox* box, int x, int y) {
    if (!box) return;
    int type = box->shadowType;
    if (type == WK_SHADOW_NONE || type > WK_SHADOW_ETCHED_OUT) return;
    int o = box->outerShadowWidth;
    bool raised = type == WK_SHADOW_OUT || type == WK_SHADOW_ETCHED_IN;
    Bevel(x + o, y + o, box->width - 2 * o, box->height - 2 * o, raised ? box->lightShadow : box->darkShadow,
          raised ? box->darkShadow : box->lightShadow, box->shadowWidth);
    const WkBox* around = object && object->parent ? static_cast<const WkBox*>(object->parent) : box;
    Bevel(x, y, box->width, box->height, raised ? around->darkShadow : around->lightShadow,
          raised ? around->lightShadow : around->darkShadow, o);
}

int WkObjectDrawShadow(WkObject* object) {
    if (!WkSelectDrawTarget(object)) return 0;
    WkDrawShadowFrame(object, object, OriginX(), OriginY());
    return 1;
}

int WkObjectDrawBox(WkObject* object, const WkBox* box) {
    if (!box || !WkSelectDrawTarget(object)) return 0;
    int b = box->shadowWidth + box->outerShadowWidth;
    WkNativeFillRect(OriginX() + box->x + b, OriginY() + box->y + b, box->width - 2 * b, box->height - 2 * b,
                     box->background);
    WkDrawShadowFrame(object, box, OriginX() + box->x, OriginY() + box->y);
    return 1;
}

int WkObjectDrawBackground(WkObject* object) {
    if (!WkSelectDrawTarget(object)) return 0;
    // The object layer's painter already fills the inside of the border,
    // places the image by its mode and draws the shadow frame.
    WkPaintObjectBackground(object);
    return 1;
}

int WkObjectDrawCircle(WkObject* object, int x, int y, int radius, WkColor color) {
    if (!WkSelectDrawTarget(object)) return 0;
    WkNativeDrawCircle(OriginX() + x, OriginY() + y, radius, color);
    return 1;
}

int WkObjectXorLine(WkObject* object, int x1, int y1, int x2, int y2) {
    if (!WkSelectDrawTarget(object)) return 0;
    WkNativeXorLine(OriginX() + x1, OriginY() + y1, OriginX() + x2, OriginY() + y2);
    return 1;
}

int WkObjectXorRect(WkObject* object, int x, int y, int width, int height) {
    if (!WkSelectDrawTarget(object)) return 0;
    // The device's rectangle ends before x + width; this outline passes through it.
    WkNativeXorRect(OriginX() + x, OriginY() + y, width + 1, height + 1);
    return 1;
}

namespace {

// Relative luminance, 0 black to 1 white, through the usual screen curve.
double Luminance(WkColor color) {
    int rgb[3];
    WkColorToRGB(color, &rgb[0], &rgb[1], &rgb[2]);
    double sum = 0;
    const double weights[3] = {0.2126, 0.7152, 0.0722};
    for (int i = 0; i < 3; ++i) {
        const double v = rgb[i] / 255.0;
        sum += weights[i] * (v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
    }
    return sum;
}

double Contrast(WkColor a, WkColor b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

int Brightest(WkColor color) {
    int r, g, b;
    WkColorToRGB(color, &r, &g, &b);
    return std::max({r, g, b});
}

} // namespace

WkColor WkHighlightColor(WkColor background, WkColor foreground) {
    int br, bg, bb, fr, fg, fb;
    WkColorToRGB(background, &br, &bg, &bb);
    WkColorToRGB(foreground, &fr, &fg, &fb);
    bool darker = fr * fr + fg * fg + fb * fb < br * br + bg * bg + bb * bb;
    if (darker) {
        // A background too light to be lightened visibly (white) is
        // darkened a little instead: the highlight must show.
        const WkColor lighter = WkShadeColor(background, 115);
        if (Brightest(lighter) - Brightest(background) >= 12) return lighter;
        WkFreeColor(lighter);
        return WkShadeColor(background, 80);
    }
    // Light text: darkened until the text reads on it (a contrast of 4.5).
    for (int percent = 72;; percent -= 4) {
        const WkColor shaded = WkShadeColor(background, percent);
        if (percent <= 0 || Contrast(shaded, foreground) >= 4.5) return shaded;
        WkFreeColor(shaded);
    }
}
