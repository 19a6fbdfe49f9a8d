#include "toolkit/core/inherit.h"

#include "toolkit/core/draw_image.h"
#include "toolkit/core/image.h"
#include "toolkit/core/image_blend.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/shell_data.h"
#include "toolkit/core/window_system.h"

namespace {

constexpr WkColor kShadeFailed = WkColor(-1);

struct Defaults {
    int background[3] = {192, 192, 192};
    int foreground[3] = {0, 0, 0};
    bool backgroundSet = false, foregroundSet = false; // by the setters, not the settings
    bool made = false;
    WkColor bg = 0, fg = 0, light = 0, dark = 0;
};
Defaults defaults;

void MakeDefaultBackground() {
    defaults.bg = WkAllocColor(defaults.background[0], defaults.background[1], defaults.background[2]);
    defaults.light = WkShadeColor(defaults.bg, 140);
    defaults.dark = WkShadeColor(defaults.bg, 60);
}

void MakeDefaultForeground() {
    defaults.fg = WkAllocColor(defaults.foreground[0], defaults.foreground[1], defaults.foreground[2]);
}

// The first use makes the default references, from the settings' values
// when the program has not set its own.
void EnsureDefaults() {
    if (defaults.made) return;
    if (WkWindowSystemRunning()) {
        const WkStartColors& start = WkSettingsDefaultColors();
        if (start.haveBackground && !defaults.backgroundSet)
            for (int i = 0; i < 3; ++i) defaults.background[i] = start.background[i];
        if (start.haveForeground && !defaults.foregroundSet)
            for (int i = 0; i < 3; ++i) defaults.foreground[i] = start.foreground[i];
    }
    MakeDefaultBackground();
    MakeDefaultForeground();
    defaults.made = true;
}

// A top-level window lends the colours of the object that holds them.
WkObject* ColorSource(WkObject* parent) {
    if (WkShellData* data = WkShellRecord(parent))
        if (data->colorHolder) return data->colorHolder;
    return parent;
}

// The target of the appearance setters.
WkObject* AppearanceTarget(WkObject* object) {
    WkObject* outer = object->outer ? object->outer : object;
    return (outer->layout & WK_LAYOUT_SELF_ATTRS) ? object : outer;
}

// Applies a flag change to the target of the appearance setters and to
// every composite level above it; returns the last level reached.
template <class Change> WkObject* ApplyToLevels(WkObject* object, Change change) {
    WkObject* target = AppearanceTarget(object);
    change(target);
    while ((target->state & WK_STATE_PART) && target->parent) {
        target = target->parent;
        change(target);
    }
    return target;
}

bool Translucent(int level) { return level > 0 && level < 255; }

void ReplaceBackground(WkObject* object, WkColor background) {
    WkFreeColor(object->background);
    WkFreeColor(object->lightShadow);
    WkFreeColor(object->darkShadow);
    object->background = background;
    object->lightShadow = WkShadeColor(background, 140);
    object->darkShadow = WkShadeColor(background, 60);
}

void SendColors(WkObject* object) {
    WkMessage message;
    message.type = WK_MSG_COLORS;
    WkSetNewColors(&message, object->background, object->foreground);
    WkSendMessage(object, &message);
}

void FreeOwnImage(WkObject* object) {
    if (object->colorFlags & (WK_INHERIT_OWNS_IMAGE | WK_INHERIT_DERIVED_IMAGE)) {
        WkFreeImage(object->image);
        object->image = nullptr;
        object->colorFlags &= std::uint8_t(~(WK_INHERIT_OWNS_IMAGE | WK_INHERIT_DERIVED_IMAGE));
    }
}

void BlendOverColor(WkImage* image, WkColor color) {
    int r, g, b;
    WkColorToRGB(color, &r, &g, &b);
    WkImageBlendOverColor(image, r, g, b);
}

} // namespace

int WkImageHasTransparency(const WkImage* image) { return image && (image->mask || image->alpha) ? 1 : 0; }

void WkInheritColors(WkObject* parent, WkObject* object) {
    if (!object) return;
    EnsureDefaults();
    parent = ColorSource(parent);
    if (parent && (object->colorFlags & WK_INHERIT_BACKGROUND)) {
        if (object->backgroundPercent == 100) {
            object->background = WkAddColorRef(parent->background);
            object->lightShadow = WkAddColorRef(parent->lightShadow);
            object->darkShadow = WkAddColorRef(parent->darkShadow);
        } else {
            WkColor shaded = WkShadeColor(parent->background, object->backgroundPercent);
            object->background = shaded == kShadeFailed ? WkAddColorRef(defaults.bg) : shaded;
            object->lightShadow = WkShadeColor(object->background, 140);
            object->darkShadow = WkShadeColor(object->background, 60);
        }
    } else {
        object->background = WkAddColorRef(defaults.bg);
        object->lightShadow = WkAddColorRef(defaults.light);
        object->darkShadow = WkAddColorRef(defaults.dark);
    }
    object->baseBackground = WkAddColorRef(object->background);
    if (parent && (object->colorFlags & WK_INHERIT_FOREGROUND)) {
        WkColor fg = object->foregroundPercent == 100 ? kShadeFailed
                                                      : WkShadeColor(parent->foreground, object->foregroundPercent);
        object->foreground = fg == kShadeFailed ? WkAddColorRef(parent->foreground) : fg;
    } else {
        object->foreground = WkAddColorRef(defaults.fg);
    }
}

void WkObjectInheritBackground(WkObject* object, int on, int percent) {
    if (!object) return;
    WkObject* target = ApplyToLevels(object, [&](WkObject* o) {
        if (on) {
            o->colorFlags = std::uint8_t((o->colorFlags | WK_INHERIT_BACKGROUND) & ~WK_INHERIT_IMAGE_COLOR);
            o->backgroundPercent = std::uint8_t(percent < 0 ? 0 : percent > 255 ? 255 : percent);
        } else {
            o->colorFlags &= std::uint8_t(~WK_INHERIT_BACKGROUND);
        }
    });
    WkObject* parent = ColorSource(target->parent);
    if (!on || !parent) return;
    WkColor background = WkShadeColor(parent->background, target->backgroundPercent);
    if (background == kShadeFailed) background = WkAddColorRef(target->baseBackground);
    WkStoreColors(target, background, WkAddColorRef(target->foreground));
    SendColors(target);
    WkRedraw(target, 0);
}

void WkObjectInheritForeground(WkObject* object, int on) {
    if (!object) return;
    WkObject* target = ApplyToLevels(object, [&](WkObject* o) {
        if (on) {
            o->colorFlags |= WK_INHERIT_FOREGROUND;
            o->foregroundPercent = 100;
        } else {
            o->colorFlags &= std::uint8_t(~WK_INHERIT_FOREGROUND);
        }
    });
    WkObject* parent = ColorSource(target->parent);
    if (!on || !parent) return;
    WkStoreColors(target, WkAddColorRef(target->baseBackground), WkAddColorRef(parent->foreground));
    SendColors(target);
    WkRedraw(target, 0);
}

void WkStoreColors(WkObject* object, WkColor background, WkColor foreground) {
    if (!object) return;
    if (background != object->baseBackground) {
        WkFreeColor(object->baseBackground);
        object->baseBackground = WkAddColorRef(background);
    }
    // The caller's reference is kept or, for the colour already held, given back.
    if (foreground != object->foreground) {
        WkFreeColor(object->foreground);
        object->foreground = foreground;
    } else {
        WkFreeColor(foreground);
    }
    WkObject* parent = ColorSource(object->parent);
    bool blend = false;
    if (parent && Translucent(object->transparency) && !(object->colorFlags & WK_INHERIT_BACKGROUND)) {
        WkFreeColor(background);
        blend = true;
    } else if (parent && object->transparency == WK_TRANSPARENT) {
        WkFreeColor(background);
        background = WkAddColorRef(parent->background);
    }
    if (!blend) {
        if (background == object->background)
            WkFreeColor(background);
        else
            ReplaceBackground(object, background);
    }
    if (WkImageHasTransparency(object->image))
        WkBlendImageBackground(object, object->image, 0, 0);
    else if (Translucent(object->transparency))
        WkBlendTranslucent(object);
}

void WkBlendImageBackground(WkObject* object, WkImage* image, int xOffset, int yOffset) {
    if (!object || !WkImageHasTransparency(image)) return;
    WkObject* parent = object->parent;
    if (image != object->image && parent && parent->transparency != WK_TRANSPARENT && !parent->image) {
        BlendOverColor(image, object->baseBackground);
        return;
    }
    int x = xOffset, y = yOffset;
    bool realized = object->state & WK_STATE_REALIZED;
    for (WkObject *child = object, *p = parent; p; child = p, p = p->parent) {
        x += child->x;
        y += child->y;
        if (realized && p->image) {
            WkImageBlendOverImage(image, p->image, x, y);
            return;
        }
        if (p->transparency != WK_TRANSPARENT) {
            BlendOverColor(image, p->background);
            return;
        }
    }
    BlendOverColor(image, object->baseBackground);
}

void WkBlendTranslucent(WkObject* object) {
    if (!object) return;
    int level = object->transparency;
    FreeOwnImage(object);
    bool realized = object->state & WK_STATE_REALIZED;
    int x = 0, y = 0;
    WkColor behind = object->baseBackground;
    for (WkObject *child = object, *p = object->parent; p; child = p, p = p->parent) {
        x += child->x;
        y += child->y;
        if (realized && p->image && Translucent(level)) {
            int r, g, b;
            WkColorToRGB(object->baseBackground, &r, &g, &b);
            WkImage* blended = WkImageBlendRegion(p->image, x, y, object->width, object->height, r, g, b, level);
            if (blended) {
                WkImageMakeDeviceBitmap(blended);
                object->image = blended;
                object->colorFlags |= WK_INHERIT_DERIVED_IMAGE;
                object->imageMode = WK_IMAGE_TILED;
                WkMessage message;
                message.type = WK_MSG_IMAGE;
                WkSetNewImage(&message, blended, 0);
                WkSendMessage(object, &message);
                return;
            }
        }
        if (p->transparency == 0 || p->image) {
            behind = p->baseBackground;
            break;
        }
    }
    int own[3], back[3], mixed[3];
    WkColorToRGB(object->baseBackground, &own[0], &own[1], &own[2]);
    WkColorToRGB(behind, &back[0], &back[1], &back[2]);
    for (int i = 0; i < 3; ++i) mixed[i] = (back[i] * level + own[i] * (255 - level)) / 255;
    ReplaceBackground(object, WkAllocColor(mixed[0], mixed[1], mixed[2]));
    SendColors(object);
}

void WkRefreshBackground(WkObject* object, int force) {
    if (!object) return;
    if (WkImageHasTransparency(object->image))
        WkBlendImageBackground(object, object->image, 0, 0);
    else if (force || Translucent(object->transparency))
        WkBlendTranslucent(object);
}

void WkReleaseColors(WkObject* object) {
    if (!object) return;
    FreeOwnImage(object);
    WkFreeColor(object->baseBackground);
    WkFreeColor(object->foreground);
    WkFreeColor(object->background);
    WkFreeColor(object->lightShadow);
    WkFreeColor(object->darkShadow);
    object->baseBackground = object->foreground = object->background = 0;
    object->lightShadow = object->darkShadow = 0;
}

void WkSetDefaultBackgroundRGB(int red, int green, int blue) {
    defaults.background[0] = red;
    defaults.background[1] = green;
    defaults.background[2] = blue;
    defaults.backgroundSet = true;
    if (!defaults.made) return;
    WkFreeColor(defaults.bg);
    WkFreeColor(defaults.light);
    WkFreeColor(defaults.dark);
    MakeDefaultBackground();
}

void WkSetDefaultForegroundRGB(int red, int green, int blue) {
    defaults.foreground[0] = red;
    defaults.foreground[1] = green;
    defaults.foreground[2] = blue;
    defaults.foregroundSet = true;
    if (!defaults.made) return;
    WkFreeColor(defaults.fg);
    MakeDefaultForeground();
}

void WkGetDefaultBackgroundRGB(int* red, int* green, int* blue) {
    EnsureDefaults();
    *red = defaults.background[0];
    *green = defaults.background[1];
    *blue = defaults.background[2];
}

void WkGetDefaultForegroundRGB(int* red, int* green, int* blue) {
    EnsureDefaults();
    *red = defaults.foreground[0];
    *green = defaults.foreground[1];
    *blue = defaults.foreground[2];
}

WkColor WkDefaultBackgroundColor() {
    EnsureDefaults();
    return WkAllocColor(defaults.background[0], defaults.background[1], defaults.background[2]);
}

void WkReleaseDefaultColors() {
    if (!defaults.made) return;
    WkFreeColor(defaults.bg);
    WkFreeColor(defaults.light);
    WkFreeColor(defaults.dark);
    WkFreeColor(defaults.fg);
    defaults.made = false;
}
