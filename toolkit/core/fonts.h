// The font table: 32 font slots (WkFontSlot) that every toolkit object names
// its font by, and the measuring questions layout asks of them.
//
// Slots 0 to 9 are filled when the window system starts, from the settings
// section chosen by the screen height ("Fonts640x480" up to 480 pixels,
// "Fonts800x600" up to 600, "Fonts1024x768" above), each key falling back to
// its row's default font; slot 0 ("DEFAULT") shares slot 2's font. The
// settings are read then; each font is made when its slot is first used.
// Slots 10 to 31 take fonts a program adds. The table owns its fonts.
//
// Measuring with a slot above 31, below 0 or without a font measures with
// slot 0 instead; with no font at all the answers are 0.
#pragma once

#include "toolkit/platform/font.h"

#include <memory>

using WkFontSlot = int;
using WkNativeFont = std::unique_ptr<plat::Font>;

inline constexpr int WK_FONT_SLOTS = 32;
inline constexpr int WK_FONT_NAME_LIMIT = 255;

// The section name for a screen height.
const char* WkFontSectionFor(int screenHeight);

// Builds slots 0 to 9 from the section for the screen height; an existing
// table is deleted first.
void WkLoadFonts(int screenHeight);
// Deletes every font of the table (slot 0's shared font once).
void WkDeleteFonts();

// A new font (not in a slot; the caller owns it): height in pixels, weight
// 700 when bold and 400 otherwise. The character set is accepted and not
// needed: every font serves Windows-1252. Null when it cannot be made.
WkNativeFont WkCreateFont(int height, const char* face, int bold, int italic, int charset);
// The font described by a settings key ("face,height,bold"); null when the
// key is missing, a part is missing or the font cannot be made.
WkNativeFont WkLoadFontSetting(const char* section, const char* key);

// Puts a new font into the first empty slot and returns it; 0 when every
// slot is taken or the font cannot be made (slot 0 is never free).
WkFontSlot WkAddFont(const char* face, int height, int bold, int italic);
// Deletes a slot's font. Slot 0 is not emptied on its own: it shows slot
// 2's font, and is empty while slot 2 is.
void WkDeleteFont(WkFontSlot slot);

// The font a slot measures and draws with (after the fallback); null when
// the table is empty.
const plat::Font* WkSlotFont(WkFontSlot slot);
// The slot's own font, without the fallback (null when empty).
const plat::Font* WkSlotFontExact(WkFontSlot slot);

int WkFontHeight(const char* text, WkFontSlot slot);
int WkTextWidthN(const char* text, WkFontSlot slot, int n);
int WkTextWidth(const char* text, WkFontSlot slot);
int WkCharWidth(int character, WkFontSlot slot);
int WkCharHeight(int character, WkFontSlot slot);
int WkWideCharWidth(WkFontSlot slot);
// How many characters from the start fit into width, each measured alone,
// never past the first newline.
int WkTextFitCount(const char* text, WkFontSlot slot, int width);

// The installed font families, read once: the first name (and the walk
// starts over), then the next ones; null at the end or past entry 255.
const char* WkFirstFontName();
const char* WkNextFontName();
int WkFontSlotCount();
int WkFontNameLimit();
