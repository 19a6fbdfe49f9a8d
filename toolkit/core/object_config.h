// Per-object appearance from the settings files: an object's name is its
// section, and a mask (WkConfigMask) chooses the keys it takes there: font,
// colours, shadow, text, background image and transparency. Configuring
// applies them and keeps the mask in the object; saving writes the object's
// present appearance back under the same keys.
#pragma once

#include "toolkit/core/object.h"

#include <cstdint>

using WkConfigMask = std::uint32_t;
inline constexpr WkConfigMask WK_CONFIG_FONT = 0x01;
inline constexpr WkConfigMask WK_CONFIG_FOREGROUND = 0x02;
inline constexpr WkConfigMask WK_CONFIG_BACKGROUND = 0x04;
inline constexpr WkConfigMask WK_CONFIG_SHADOW = 0x08;
inline constexpr WkConfigMask WK_CONFIG_TEXT = 0x10;
inline constexpr WkConfigMask WK_CONFIG_BG_IMAGE = 0x20;
inline constexpr WkConfigMask WK_CONFIG_TRANSPARENCY = 0x40;

// Classes whose texts live under keys of their own (the menus' item
// labels) install a handler for the text bit: it loads (save 0) or saves
// (save 1) them and returns 1, or returns 0 for an object it leaves to the
// plain text key.
using WkTextConfigHandler = int (*)(WkObject* object, int save);
void WkSetTextConfigHandler(WkTextConfigHandler handler);

// Names the object and applies the selected keys that hold valid values
// (a shown object is hidden meanwhile); invalid values are skipped key by key.
void WkObjectConfigure(WkObject* object, const char* name, WkConfigMask mask);
// Writes the object's appearance for every key of its mask; nothing
// without a name.
void WkObjectSaveConfig(WkObject* object);
WkConfigMask WkObjectGetConfigMask(const WkObject* object);
