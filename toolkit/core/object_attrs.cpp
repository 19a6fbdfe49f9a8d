#include "toolkit/core/object_attrs.h"

#include "toolkit/core/image.h"
#include "toolkit/core/image_blend.h"
#include "toolkit/core/image_formats.h"
#include "toolkit/core/draw_image.h"
#include "toolkit/core/grab.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/shell_data.h"

#include <algorithm>
#include <cstring>

namespace {

WkObject* Outer(WkObject* object) { return object->outer ? object->outer : object; }

WkObject* OuterOrSelf(WkObject* object) {
    WkObject* outer = Outer(object);
    return (outer->layout & WK_LAYOUT_SELF_ATTRS) ? object : outer;
}

// A top-level window's colours, shadow and image live in its colour holder.
WkObject* ColorHolder(WkObject* object) {
    if (WkShellData* shell = WkShellRecord(object))
        if (shell->colorHolder) return shell->colorHolder;
    return object;
}

WkObject* ImageTarget(WkObject* object) { return OuterOrSelf(ColorHolder(object)); }

void SendColors(WkObject* object) {
    WkSendSimpleMessage(object, WK_MSG_COLORS, std::intptr_t(object->background),
                        std::intptr_t(object->foreground));
}

// After a size or position changed: the parent lays itself out again.
void LayOutAround(WkObject* object) {
    if (WkObjectDrawable(object)) WkResize(object->parent ? object->parent : object, -1, -1);
}

void SetWidthOf(WkObject* o, int width) {
    if (width <= 0) return;
    o->fixedWidth = WkClampSize16(width);
    o->width = o->fixedWidth;
    o->layout = std::uint16_t((o->layout | WK_LAYOUT_FIXED_WIDTH) & ~WK_LAYOUT_GROW_X);
}

void SetHeightOf(WkObject* o, int height) {
    if (height <= 0) return;
    o->fixedHeight = WkClampSize16(height);
    o->height = o->fixedHeight;
    o->layout = std::uint16_t((o->layout | WK_LAYOUT_FIXED_HEIGHT) & ~WK_LAYOUT_GROW_Y);
}

void SetSensitiveState(WkObject* object, int on) {
    if (on)
        object->state |= WK_STATE_SENSITIVE;
    else
        object->state &= std::uint16_t(~WK_STATE_SENSITIVE);
    WkSendSimpleMessage(object, WK_MSG_SENSITIVE, on ? 1 : 0);
    // Only what is seen has anything behind it to show again: a hidden page
    // shares its place with the page on show.
    if (object->transparency == WK_TRANSPARENT && WkObjectDrawable(object)) WkObjectClearBehind(object);
    WkRedraw(Outer(object), 0);
}

void SetTransparencyOf(WkObject* object, int level) {
    if (!object || WkShellRecord(object)) return;
    WkObject* target = OuterOrSelf(object);
    level = std::clamp(level, 0, 255);
    if (target->transparency == level) return;
    target->transparency = std::uint8_t(level);
    WkRefreshBackground(target, 1);
    WkSendSimpleMessage(target, WK_MSG_TRANSPARENCY, level);
    WkRedraw(Outer(object), level == WK_TRANSPARENT);
}

void FreeOwnedImage(WkObject* object) {
    if (object->image && (object->colorFlags & (WK_INHERIT_OWNS_IMAGE | WK_INHERIT_DERIVED_IMAGE))) {
        WkImageFreeDeviceBitmap(object->image);
        WkFreeImage(object->image);
    }
    object->image = nullptr;
    object->colorFlags &= std::uint8_t(~(WK_INHERIT_OWNS_IMAGE | WK_INHERIT_DERIVED_IMAGE));
}

void TakeImageColor(WkObject* object) {
    int r, g, b;
    WkImageAverageColor(object->image, &r, &g, &b);
    WkApplyColorsOrKeep(object, WkAllocColor(r, g, b), WK_COLOR_KEEP);
}

void InstallBackgroundImage(WkObject* object, WkImage* image, int mode, bool owned) {
    if (mode < WK_IMAGE_TILED || mode > WK_IMAGE_SIZE) mode = WK_IMAGE_TILED;
    int oldMode = object->imageMode;
    FreeOwnedImage(object);
    bool transparent = image && WkImageHasTransparency(image);
    if (transparent && !owned) {
        // The copy is blended with the surroundings; the caller's image stays as it is.
        object->image = WkCopyImage(image);
        object->colorFlags |= WK_INHERIT_DERIVED_IMAGE;
    } else {
        object->image = image;
    }
    object->imageMode = std::uint8_t(mode);
    if (owned && image) object->colorFlags |= WK_INHERIT_OWNS_IMAGE;
    object->transparency = 0;
    if (oldMode == WK_IMAGE_SIZE && mode != WK_IMAGE_SIZE)
        object->layout &= std::uint16_t(~(WK_LAYOUT_FIXED_WIDTH | WK_LAYOUT_FIXED_HEIGHT));
    if (mode == WK_IMAGE_SIZE && object->image) {
        object->layout = std::uint16_t((object->layout & ~(WK_LAYOUT_GROW_X | WK_LAYOUT_GROW_Y)) |
                                       WK_LAYOUT_FIXED_WIDTH | WK_LAYOUT_FIXED_HEIGHT);
        object->fixedWidth = WkClampSize16(object->image->width);
        object->fixedHeight = WkClampSize16(object->image->height);
        if (WkObjectDrawable(object))
            WkResize(object, object->image->width, object->image->height);
        else {
            object->width = object->image->width;
            object->height = object->image->height;
        }
    }
    if (object->image) {
        if (transparent)
            WkBlendImageBackground(object, object->image, 0, 0);
        else
            WkImageMakeDeviceBitmap(object->image);
    }
    WkSendSimpleMessage(object, WK_MSG_IMAGE, std::intptr_t(object->image), mode);
    if (object->image && (object->colorFlags & WK_INHERIT_IMAGE_COLOR)) {
        object->colorFlags &= std::uint8_t(~WK_INHERIT_BACKGROUND);
        TakeImageColor(object);
    }
    WkRedraw(object, 0);
}

WkImage* BackgroundImageOf(WkObject* object) { return Outer(ColorHolder(object))->image; }

} // namespace

void WkObjectSetColors(WkObject* object, WkColor background, WkColor foreground) {
    if (!object) return;
    // A top-level window's colours are its colour holder's, where the
    // getters read them.
    WkObject* target = OuterOrSelf(ColorHolder(object));
    if (background != WK_COLOR_KEEP)
        target->colorFlags &= std::uint8_t(~(WK_INHERIT_BACKGROUND | WK_INHERIT_IMAGE_COLOR));
    if (foreground != WK_COLOR_KEEP) target->colorFlags &= std::uint8_t(~WK_INHERIT_FOREGROUND);
    WkStoreColors(target, WkAddColorRef(background == WK_COLOR_KEEP ? target->baseBackground : background),
                  WkAddColorRef(foreground == WK_COLOR_KEEP ? target->foreground : foreground));
    SendColors(target);
    WkRedraw(Outer(object), 0);
}

void WkObjectSetBackgroundRGB(WkObject* object, int red, int green, int blue) {
    if (!object) return;
    WkColor color = WkAllocColor(red, green, blue);
    WkObjectSetColors(object, color, WK_COLOR_KEEP);
    WkFreeColor(color);
}

void WkObjectSetForegroundRGB(WkObject* object, int red, int green, int blue) {
    if (!object) return;
    WkColor color = WkAllocColor(red, green, blue);
    WkObjectSetColors(object, WK_COLOR_KEEP, color);
    WkFreeColor(color);
}

void WkObjectSetBackgroundColor(WkObject* object, WkColor color) { WkObjectSetColors(object, color, WK_COLOR_KEEP); }
void WkObjectSetForegroundColor(WkObject* object, WkColor color) { WkObjectSetColors(object, WK_COLOR_KEEP, color); }

void WkApplyColors(WkObject* object, WkColor background, WkColor foreground) {
    if (!object) return;
    WkStoreColors(object, WkAddColorRef(background), WkAddColorRef(foreground));
    SendColors(object);
}

void WkApplyColorsOrKeep(WkObject* object, WkColor background, WkColor foreground) {
    if (!object) return;
    if (background == WK_COLOR_KEEP) background = WkAddColorRef(object->baseBackground);
    if (foreground == WK_COLOR_KEEP) foreground = WkAddColorRef(object->foreground);
    WkStoreColors(object, background, foreground);
    SendColors(object);
}

void WkAssignColors(WkObject* object, WkColor background, WkColor foreground) {
    if (object) WkStoreColors(object, WkAddColorRef(background), WkAddColorRef(foreground));
}

void WkObjectEnable(WkObject* object) {
    if (object && !(object->state & WK_STATE_SENSITIVE)) SetSensitiveState(object, 1);
}
void WkObjectDisable(WkObject* object) {
    if (object && (object->state & WK_STATE_SENSITIVE)) SetSensitiveState(object, 0);
}
void WkObjectSetSensitive(WkObject* object, int on) {
    if (object) SetSensitiveState(object, on);
}
int WkObjectIsSensitive(const WkObject* object) { return object && (object->state & WK_STATE_SENSITIVE) ? 1 : 0; }

void WkObjectAcceptFocus(WkObject* object) {
    if (object) object->layout |= WK_LAYOUT_FOCUSABLE;
}
void WkObjectRefuseFocus(WkObject* object) {
    if (object) object->layout &= std::uint16_t(~WK_LAYOUT_FOCUSABLE);
}

void WkObjectSetText(WkObject* object, const char* text) {
    if (object) WkSendSimpleMessage(object, WK_MSG_SET_TEXT, std::intptr_t(text ? text : ""));
}

void WkObjectSetShadow(WkObject* object, int type, int width, int outerWidth) {
    if (!object) return;
    WkObject* target = (object->state & WK_STATE_PART) ? Outer(object) : object;
    target = ColorHolder(target);
    if (type < WK_SHADOW_NONE || type > WK_SHADOW_ETCHED_OUT) return;
    width = type == WK_SHADOW_NONE ? 0 : std::clamp(width, 0, WK_SHADOW_MAX_WIDTH);
    outerWidth = unsigned(type) < WK_SHADOW_ETCHED_IN ? 0 : std::clamp(outerWidth, 0, WK_SHADOW_MAX_WIDTH);
    // Stored here for every class; the class hears of it to lay itself out again.
    target->shadowType = std::uint8_t(type);
    target->shadowWidth = std::uint8_t(width);
    target->outerShadowWidth = std::uint8_t(outerWidth);
    WkSendSimpleMessage(target, WK_MSG_SHADOW, type, width, outerWidth);
}

void WkObjectGetShadow(WkObject* object, int* type, int* width, int* outerWidth) {
    if (!object) return;
    WkObject* source = ColorHolder((object->state & WK_STATE_PART) ? Outer(object) : object);
    if (type) *type = source->shadowType;
    if (width) *width = source->shadowWidth;
    if (outerWidth) *outerWidth = source->outerShadowWidth;
}

void WkObjectRedraw(WkObject* object) {
    if (object) WkRedraw(Outer(object), 0);
}

void WkObjectShow(WkObject* object) {
    if (!object) return;
    WkMapObject(Outer(object));
}

void WkObjectHide(WkObject* object) {
    if (!object) return;
    WkObject* outer = Outer(object);
    WkUnmapObject(outer, 1);
    // The focus does not stay on what cannot be seen.
    if (WkFormFocusedChild(outer) || (object->state & WK_STATE_FOCUS)) WkFormAccessFocusPrevious(outer);
}

void WkObjectSetUserData(WkObject* object, void* data) {
    if (object) object->userData = data;
}
void* WkObjectGetUserData(const WkObject* object) { return object ? object->userData : nullptr; }
int WkObjectGetClass(const WkObject* object) { return object ? object->classCode : 0; }
WkObject* WkObjectGetParent(const WkObject* object) { return object ? object->parent : nullptr; }

void WkObjectSetName(WkObject* object, const char* name) {
    if (!object || !name) return;
    std::size_t length = std::strlen(name);
    char* copy = WkMallocText(length + 1);
    std::memcpy(copy, name, length + 1);
    WkFree(object->name);
    object->name = copy;
}
const char* WkObjectGetName(const WkObject* object) { return object ? object->name : nullptr; }

void WkObjectSetFont(WkObject* object, int font, int relayout) {
    if (!object) return;
    object->font = font;
    if (relayout)
        WkResize(object, -1, -1);
    else
        WkRedraw(object, 1);
}
int WkObjectGetFont(const WkObject* object) { return object ? object->font : 0; }

void WkObjectSetCursor(WkObject* object, int slot) {
    if (!object) return;
    if (WkShellData* shell = WkShellRecord(object)) {
        if (!shell->mainForm) return;
        object = shell->mainForm;
    }
    object->cursor = slot;
    if (WkGetGrab() != object) return;
    WkNativeSetCursor(WkObjectGetNativeWindow(object), slot);
    if (WkShellData* shell = WkShellRecord(WkObjectGetShell(object))) shell->cursor = slot;
}

void WkObjectSetWidth(WkObject* object, int width) {
    if (!object || width <= 0) return;
    SetWidthOf(Outer(object), width);
    LayOutAround(Outer(object));
}
void WkObjectSetHeight(WkObject* object, int height) {
    if (!object || height <= 0) return;
    SetHeightOf(Outer(object), height);
    LayOutAround(Outer(object));
}
void WkObjectSetSize(WkObject* object, int width, int height) {
    if (!object || (width <= 0 && height <= 0)) return;
    SetWidthOf(Outer(object), width);
    SetHeightOf(Outer(object), height);
    LayOutAround(Outer(object));
}
void WkObjectSetPartWidth(WkObject* object, int width) {
    if (!object || width <= 0) return;
    SetWidthOf(object, width);
    LayOutAround(object);
}
void WkObjectSetPartHeight(WkObject* object, int height) {
    if (!object || height <= 0) return;
    SetHeightOf(object, height);
    LayOutAround(object);
}
void WkObjectSetPartSize(WkObject* object, int width, int height) {
    if (!object || (width <= 0 && height <= 0)) return;
    SetWidthOf(object, width);
    SetHeightOf(object, height);
    LayOutAround(object);
}
int WkObjectGetWidth(WkObject* object) { return object ? Outer(object)->width : 0; }
int WkObjectGetHeight(WkObject* object) { return object ? Outer(object)->height : 0; }
int WkObjectGetPartWidth(const WkObject* object) { return object ? object->width : 0; }
int WkObjectGetPartHeight(const WkObject* object) { return object ? object->height : 0; }

void WkObjectSetPosition(WkObject* object, int x, int y) {
    if (!object) return;
    WkObject* o = Outer(object);
    int border = o->parent ? WkObjectBorder(o->parent) : 0;
    bool changed = false;
    if (x > WK_KEEP_POSITION) {
        o->requestedX = WkClampPosition16(x);
        o->layout |= WK_LAYOUT_FIXED_X;
        o->attachLeft = WK_ATTACH_EDGE;
        o->offsetLeft = WkClampPosition16(x - border);
        changed = true;
    }
    if (y > WK_KEEP_POSITION) {
        o->requestedY = WkClampPosition16(y);
        o->layout |= WK_LAYOUT_FIXED_Y;
        o->attachTop = WK_ATTACH_EDGE;
        o->offsetTop = WkClampPosition16(y - border);
        changed = true;
    }
    if (changed) LayOutAround(o);
}
void WkObjectSetX(WkObject* object, int x) { WkObjectSetPosition(object, x, WK_KEEP_POSITION); }
void WkObjectSetY(WkObject* object, int y) { WkObjectSetPosition(object, WK_KEEP_POSITION, y); }
int WkObjectGetX(const WkObject* object) { return object ? object->x : 0; }
int WkObjectGetY(const WkObject* object) { return object ? object->y : 0; }

void WkObjectSetMinimumSize(WkObject* object, int width, int height) {
    if (!object) return;
    if (width < 0) {
        object->layout &= std::uint16_t(~WK_LAYOUT_MIN_WIDTH);
        object->minWidth = 0;
    } else {
        object->layout |= WK_LAYOUT_MIN_WIDTH;
        object->minWidth = WkClampSize16(width);
    }
    if (height < 0) {
        object->layout &= std::uint16_t(~WK_LAYOUT_MIN_HEIGHT);
        object->minHeight = 0;
    } else {
        object->layout |= WK_LAYOUT_MIN_HEIGHT;
        object->minHeight = WkClampSize16(height);
    }
    if ((object->state & WK_STATE_SHOWN) && (object->width < width || object->height < height))
        WkResize(object, std::max(int(object->width), width), std::max(int(object->height), height));
}

void WkObjectSetTransparency(WkObject* object, int level) { SetTransparencyOf(object, level); }
void WkObjectSetTransparent(WkObject* object) { SetTransparencyOf(object, WK_TRANSPARENT); }
void WkObjectSetOpaque(WkObject* object) { SetTransparencyOf(object, 0); }
int WkObjectGetTransparency(WkObject* object) { return object ? OuterOrSelf(object)->transparency : 0; }

void WkObjectSetBackgroundImage(WkObject* object, WkImage* image, int mode) {
    if (object) InstallBackgroundImage(ImageTarget(object), image, mode, false);
}

int WkObjectSetBackgroundImageFile(WkObject* object, const char* file, int mode) {
    if (!object || !file || !*file) return 0;
    WkImage* image = WkLoadImage(file);
    if (!image) return 0;
    InstallBackgroundImage(ImageTarget(object), image, mode, true);
    return 1;
}

WkImage* WkObjectGetBackgroundImage(WkObject* object) { return object ? BackgroundImageOf(object) : nullptr; }
int WkObjectGetBackgroundImageMode(WkObject* object) { return object ? Outer(ColorHolder(object))->imageMode : 0; }

void WkObjectColorFromImage(WkObject* object) {
    if (!object) return;
    WkObject* target = Outer(ColorHolder(object));
    if (!target->image) return;
    target->colorFlags |= WK_INHERIT_IMAGE_COLOR;
    TakeImageColor(target);
    WkRedraw(target, 0);
}

void WkObjectSetBackgroundTransparentIndex(WkObject* object, int index) {
    if (WkImage* image = WkObjectGetBackgroundImage(object)) WkImageSetTransparentIndex(image, index);
}
void WkObjectSetBackgroundTransparentAt(WkObject* object, int x, int y) {
    if (WkImage* image = WkObjectGetBackgroundImage(object)) WkImageSetTransparentAt(image, x, y);
}
void WkObjectSetBackgroundTransparentRGB(WkObject* object, int red, int green, int blue) {
    if (WkImage* image = WkObjectGetBackgroundImage(object)) WkImageSetTransparentRGB(image, red, green, blue);
}

WkColor WkObjectGetBackgroundColor(WkObject* object) {
    return object ? OuterOrSelf(ColorHolder(object))->baseBackground : 0;
}
WkColor WkObjectGetForegroundColor(WkObject* object) { return object ? ColorHolder(object)->foreground : 0; }

int WkObjectInheritsBackground(WkObject* object, int* percent) {
    if (!object) return 0;
    WkObject* source = OuterOrSelf(object);
    if (percent) *percent = source->backgroundPercent;
    return (source->colorFlags & WK_INHERIT_BACKGROUND) ? 1 : 0;
}
int WkObjectInheritsForeground(WkObject* object) {
    return object && (OuterOrSelf(object)->colorFlags & WK_INHERIT_FOREGROUND) ? 1 : 0;
}
int WkObjectTakesImageColor(WkObject* object) {
    return object && (Outer(object)->colorFlags & WK_INHERIT_IMAGE_COLOR) ? 1 : 0;
}

WkColor WkObjectAllocTintColor(WkObject* object) {
    int c[3] = {0, 0, 0};
    if (object) WkColorToRGB(OuterOrSelf(object)->background, &c[0], &c[1], &c[2]);
    int sum = 0;
    for (int& v : c) {
        v = std::max(v, 80);
        sum += v;
    }
    for (int& v : c) v = std::min(v * 576 / sum, 220);
    return WkAllocColor(c[0], c[1], c[2]);
}
