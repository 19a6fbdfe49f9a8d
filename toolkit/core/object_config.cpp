#include "toolkit/core/object_config.h"

#include "toolkit/core/colors.h"
#include "toolkit/core/image.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/settings.h"

#include <cstdio>
#include <string>

namespace {

// The object whose appearance the setters read and change.
WkObject* AppearanceOf(WkObject* object) {
    WkObject* outer = object->outer ? object->outer : object;
    return (outer->layout & WK_LAYOUT_SELF_ATTRS) ? object : outer;
}

void WriteColor(const char* section, const char* key, WkColor color) {
    int r, g, b;
    WkColorToRGB(color, &r, &g, &b);
    char value[40];
    std::snprintf(value, sizeof value, "%d,%d,%d", r, g, b);
    WkWriteSetting(section, key, value);
}

WkTextConfigHandler textHandler = nullptr;

} // namespace

void WkSetTextConfigHandler(WkTextConfigHandler handler) { textHandler = handler; }

void WkObjectConfigure(WkObject* object, const char* name, WkConfigMask mask) {
    if (!object) return;
    WkObjectSetName(object, name);
    const char* section = object->name;
    bool shown = (object->state & WK_STATE_SHOWN) != 0;
    if (shown) WkObjectHide(object);
    if (section) {
        int mode = 0, r = 0, g = 0, b = 0;
        if (mask & WK_CONFIG_BG_IMAGE)
            if (const char* file = WkReadBgImageSetting(section, &mode)) {
                std::string path = file; // the read buffer is shared
                WkObjectSetBackgroundImageFile(object, path.c_str(), mode);
            }
        if ((mask & WK_CONFIG_FOREGROUND) && WkReadForegroundSetting(section, &r, &g, &b)) {
            if (r < 0)
                WkObjectInheritForeground(object, 1);
            else
                WkObjectSetForegroundRGB(object, r, g, b);
        }
        if ((mask & WK_CONFIG_BACKGROUND) && WkReadBackgroundSetting(section, &r, &g, &b)) {
            if (r < 0)
                WkObjectInheritBackground(object, 1, g);
            else
                WkObjectSetBackgroundRGB(object, r, g, b);
        }
        int level = 0;
        if ((mask & WK_CONFIG_TRANSPARENCY) && WkReadIntSetting(section, "transparency", &level))
            WkObjectSetTransparency(object, ((level % 256) + 256) % 256);
        int type = 0, width = 0, outer = 0;
        if ((mask & WK_CONFIG_SHADOW) && WkReadShadowSetting(section, &type, &width, &outer))
            WkObjectSetShadow(object, type, width, outer);
        int slot = 0;
        if ((mask & WK_CONFIG_FONT) && WkReadFontSetting(section, &slot) && slot != object->font)
            WkObjectSetFont(object, slot, 1);
        if ((mask & WK_CONFIG_TEXT) && !(textHandler && textHandler(object, 0)))
            if (const char* text = WkReadTextSetting(section)) {
                std::string copy = text;
                WkObjectSetText(object, copy.c_str());
            }
    }
    object->configMask = mask;
    if (shown) WkObjectShow(object);
}

void WkObjectSaveConfig(WkObject* object) {
    if (!object || !object->name) return;
    const char* section = object->name;
    WkConfigMask mask = object->configMask;
    WkObject* look = AppearanceOf(object);
    if ((mask & WK_CONFIG_FONT) && WkFontSlotName(object->font)) WkWriteFontSetting(section, object->font);
    if (mask & WK_CONFIG_FOREGROUND) {
        if (WkObjectInheritsForeground(object))
            WkWriteSetting(section, "foreground", "FromParent");
        else
            WriteColor(section, "foreground", WkObjectGetForegroundColor(object));
    }
    if (mask & WK_CONFIG_BACKGROUND) {
        int percent = 100;
        if (WkObjectInheritsBackground(object, &percent)) {
            char value[40];
            std::snprintf(value, sizeof value, "FromParent,%d", percent);
            WkWriteSetting(section, "background", value);
        } else {
            WriteColor(section, "background", WkObjectGetBackgroundColor(object));
        }
    }
    if (mask & WK_CONFIG_SHADOW) {
        int type = 0, width = 0, outer = 0;
        WkObjectGetShadow(object, &type, &width, &outer);
        WkWriteShadowSetting(section, type, width, outer);
    }
    if (mask & WK_CONFIG_TRANSPARENCY) WkWriteIntSetting(section, "transparency", look->transparency);
    if (mask & WK_CONFIG_BG_IMAGE) {
        WkImage* image = WkObjectGetBackgroundImage(object);
        if (image && image->path && *image->path)
            WkWriteBgImageSetting(section, image->path, WkObjectGetBackgroundImageMode(object));
    }
    if ((mask & WK_CONFIG_TEXT) && !(textHandler && textHandler(object, 1))) {
        char buffer[1024];
        const char* text = WkObjectGetText(object, buffer, sizeof buffer);
        WkWriteTextSetting(section, text ? text : "");
    }
    WkFlushSettings();
}

WkConfigMask WkObjectGetConfigMask(const WkObject* object) { return object ? object->configMask : 0; }
