#include "toolkit/core/object_draw.h"

#include "toolkit/core/draw.h"
#include "toolkit/core/draw_image.h"
#include "toolkit/core/image.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

WkDrawTarget target;

void PlainBackground(WkObject* object);
WkBackgroundPainter painter = PlainBackground;

// Drawing that starts while another object is the target (a redraw or a
// setter called from an expose handler) gives that target back, clip and
// origin, when it ends; only drawing that started with no target ends the
// device. The saves are listed so that a destroyed object is dropped from
// them too.
class NestedDraw {
public:
    NestedDraw() : saved_(target) { open.push_back(this); }
    ~NestedDraw() {
        open.pop_back();
        if (!saved_.object) {
            WkEndDraw();
            return;
        }
        target = saved_;
        const WkRect& c = target.clip;
        if (target.window) WkNativeSetClip(target.window, c.x, c.y, c.width, c.height);
    }
    NestedDraw(const NestedDraw&) = delete;
    NestedDraw& operator=(const NestedDraw&) = delete;

    static void Forget(WkObject* object) {
        for (NestedDraw* save : open)
            if (save->saved_.object == object) save->saved_ = WkDrawTarget{};
    }

private:
    WkDrawTarget saved_;
    static inline std::vector<NestedDraw*> open;
};

int OriginX() { return target.originX; }
int OriginY() { return target.originY; }

bool MeetsClip(int x, int y, int width, int height) {
    const WkRect& c = target.clip;
    return width > 0 && height > 0 && x < c.x + c.width && x + width > c.x && y < c.y + c.height &&
           y + height > c.y;
}

// Draws the part of the image at (x, y) (object coordinates) that lies in
// the rectangle inside.
void DrawImageCut(WkImage* image, int x, int y, const WkRect& inside) {
    int x0 = std::max(x, inside.x), y0 = std::max(y, inside.y);
    int x1 = std::min(x + image->width, inside.x + inside.width);
    int y1 = std::min(y + image->height, inside.y + inside.height);
    if (x1 <= x0 || y1 <= y0 || !MeetsClip(OriginX() + x0, OriginY() + y0, x1 - x0, y1 - y0)) return;
    WkNativeDrawImage(image, x0 - x, y0 - y, x1 - x0, y1 - y0, OriginX() + x0, OriginY() + y0);
}

void Bevel(int x, int y, int width, int height, WkColor topLeft, WkColor bottomRight, int thickness) {
    if (thickness > 0) WkNative3DFrame(OriginX() + x, OriginY() + y, width, height, topLeft, bottomRight, thickness);
}

void PlainBackground(WkObject* object) {
    int b = WkObjectBorder(object);
    WkRect inside{b, b, object->width - 2 * b, object->height - 2 * b};
    if (object->transparency != WK_TRANSPARENT) {
        WkImage* image = object->image;
        if (!image || object->imageMode == WK_IMAGE_CENTERED)
            WkNativeFillRect(OriginX() + inside.x, OriginY() + inside.y, inside.width, inside.height,
                             object->background);
        if (image && image->width > 0 && image->height > 0) {
            WkImageMakeDeviceBitmap(image);
            int sx = 0, sy = 0;
            if (object->imageMode == WK_IMAGE_CENTERED) {
                sx = (object->width - image->width) / 2;
                sy = (object->height - image->height) / 2;
            }
            int dx, dy;
            if (WkFormScrollOffset(object, &dx, &dy)) {
                sx -= dx;
                sy -= dy;
            }
            if (object->imageMode != WK_IMAGE_TILED) {
                DrawImageCut(image, sx, sy, inside);
            } else if (!WkNativeDrawImageTiled(image, OriginX() + sx, OriginY() + sy,
                                               OriginX() + std::max(inside.x, sx), OriginY() + std::max(inside.y, sy),
                                               inside.x + inside.width - std::max(inside.x, sx),
                                               inside.y + inside.height - std::max(inside.y, sy))) {
                // Tiles keep their phase from the start offset; only those
                // that reach the inside of the border are drawn.
                int firstX = sx + (std::max(0, b - sx) / image->width) * image->width;
                int firstY = sy + (std::max(0, b - sy) / image->height) * image->height;
                for (int ty = firstY; ty < inside.y + inside.height; ty += image->height)
                    for (int tx = firstX; tx < inside.x + inside.width; tx += image->width)
                        DrawImageCut(image, tx, ty, inside);
            }
        }
    }
    int type = object->shadowType;
    if (type == WK_SHADOW_NONE) return;
    int o = object->outerShadowWidth;
    bool raised = type == WK_SHADOW_OUT || type == WK_SHADOW_ETCHED_IN;
    WkColor light = object->lightShadow, dark = object->darkShadow;
    Bevel(o, o, object->width - 2 * o, object->height - 2 * o, raised ? light : dark, raised ? dark : light,
          object->shadowWidth);
    const WkObject* around = object->parent ? object->parent : object;
    Bevel(0, 0, object->width, object->height, raised ? around->darkShadow : around->lightShadow,
          raised ? around->lightShadow : around->darkShadow, o);
}

WkMessage ExposeFor(WkObject* object, int originX, int originY, const WkRect& clip) {
    return WkExposeMessage(std::intptr_t(WkObjectGetNativeWindow(object)), originX, originY, clip);
}

bool Intersect(const WkRect& a, const WkRect& b, WkRect* out) {
    WkIntersection cut;
    if (!WkIntersectRect(a, b, &cut)) return false;
    *out = cut.overlap;
    return true;
}

} // namespace

void WkBeginDraw(WkObject* object, const WkMessage* expose) {
    if (!object) return;
    WkRect clip;
    int x, y;
    if (expose) {
        x = WkExposeOriginX(expose);
        y = WkExposeOriginY(expose);
        clip = WkExposeClip(expose);
    } else {
        WkObjectGetVisibleRect(object, &clip, &x, &y);
    }
    clip.x += x;
    clip.y += y;
    target.object = object;
    target.window = WkObjectGetNativeWindow(object);
    target.originX = x;
    target.originY = y;
    target.clip = clip;
    if (target.window) WkNativeSetClip(target.window, clip.x, clip.y, clip.width, clip.height);
}

void WkEndDraw() {
    target = WkDrawTarget{};
    WkNativeEndDraw();
}

const WkDrawTarget& WkCurrentDrawTarget() { return target; }

void WkForgetDrawTarget(WkObject* object) {
    if (!object) return;
    NestedDraw::Forget(object);
    if (target.object == object) WkEndDraw();
}

void WkRedraw(WkObject* object, int clear) {
    if (!object || !WkObjectDrawable(object)) return;
    if (clear && object->transparency == WK_TRANSPARENT)
        WkObjectClearAreaEx(object, nullptr, 0, 0, object->width, object->height, -1);
    WkRect visible;
    int x, y;
    WkObjectGetVisibleRect(object, &visible, &x, &y);
    WkMessage expose = ExposeFor(object, x, y, visible);
    NestedDraw nested;
    WkBeginDraw(object, &expose);
    WkSendMessage(object, &expose);
}

void WkObjectClearAreaEx(WkObject* object, const WkMessage* expose, int x, int y, int width, int height,
                         int frame) {
    if (!object || !WkObjectDrawable(object)) return;
    // Without an expose message the caller's target (if any) comes back at
    // the end; with one, the object is made the target for it again.
    std::optional<NestedDraw> nested;
    if (!expose) nested.emplace();
    WkRect clip;
    if (expose) {
        clip = WkExposeClip(expose);
    } else {
        int ox, oy;
        WkObjectGetVisibleRect(object, &clip, &ox, &oy);
    }
    // The painter: the nearest object, from this one up, that is not fully
    // transparent; a top-level window always ends the walk.
    WkObject* paint = object;
    int dx = 0, dy = 0;
    while (paint->transparency == WK_TRANSPARENT && paint->classCode != WK_CLASS_SHELL && paint->parent) {
        dx += paint->x;
        dy += paint->y;
        int sx, sy;
        if (WkFormScrollOffset(paint->parent, &sx, &sy)) {
            dx -= sx;
            dy -= sy;
        }
        paint = paint->parent;
    }
    WkRect painterVisible;
    int px, py;
    WkObjectGetVisibleRect(paint, &painterVisible, &px, &py);
    clip.x += dx;
    clip.y += dy;
    if (!Intersect(clip, painterVisible, &clip)) return;
    WkRect area{x + dx, y + dy, width, height};
    WkRect pieces[4];
    int count = 0;
    if (frame < 0) {
        pieces[count++] = area;
    } else {
        pieces[count++] = WkRect{area.x, area.y, area.width, frame};
        pieces[count++] = WkRect{area.x, area.y + area.height - frame, area.width, frame};
        pieces[count++] = WkRect{area.x, area.y, frame, area.height};
        pieces[count++] = WkRect{area.x + area.width - frame, area.y, frame, area.height};
    }
    for (int i = 0; i < count; ++i) {
        WkRect piece;
        if (!Intersect(pieces[i], clip, &piece)) continue;
        WkMessage pieceExpose = ExposeFor(paint, px, py, piece);
        WkBeginDraw(paint, &pieceExpose);
        painter(paint);
    }
    if (expose) WkBeginDraw(object, expose);
}

void WkObjectClearAreaExposed(WkObject* object, const WkMessage* expose, int x, int y, int width, int height) {
    WkObjectClearAreaEx(object, expose, x, y, width, height, -1);
}

void WkObjectClearExposed(WkObject* object, const WkMessage* expose) {
    if (object) WkObjectClearAreaEx(object, expose, 0, 0, object->width, object->height, -1);
}

void WkObjectClearFrame(WkObject* object, int x, int y, int width, int height, int frame) {
    WkObjectClearAreaEx(object, nullptr, x, y, width, height, frame);
}

void WkObjectClearArea(WkObject* object, int x, int y, int width, int height) {
    WkObjectClearAreaEx(object, nullptr, x, y, width, height, -1);
}

void WkObjectClear(WkObject* object) {
    if (object) WkObjectClearAreaEx(object, nullptr, 0, 0, object->width, object->height, -1);
}

void WkObjectClearBehind(WkObject* object) {
    if (!object || !object->parent || !(object->parent->state & WK_STATE_SHOWN)) return;
    int sx, sy;
    WkFormScrollOffset(object->parent, &sx, &sy);
    WkObjectClearAreaEx(object->parent, nullptr, object->x - sx, object->y - sy, object->width, object->height,
                        -1);
}

void WkSetBackgroundPainter(WkBackgroundPainter newPainter) { painter = newPainter ? newPainter : PlainBackground; }

void WkPaintObjectBackground(WkObject* object) {
    if (object) painter(object);
}
