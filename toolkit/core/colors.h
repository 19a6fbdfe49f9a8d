// Colours and the toolkit palette.
//
// Every colour the toolkit draws with comes from here. On a true-colour
// screen a colour is an RGB value, red in the low byte, then green, then
// blue. On a screen with a hardware palette (at most 256 entries) it is the
// number of a slot of the toolkit's own palette, which this module owns
// together with one use counter per slot: every allocation and added
// reference counts one use, freeing counts one down, a slot without uses is
// free for the next new colour. Private cells are slots held by one owner for
// palette animation; they are not shared and not counted.
//
// The window-system start describes the screen with WkInitColors and gives
// a hook that writes toolkit palette entries into the screen's hardware
// palette; until then the module acts as on a true-colour screen.
#pragma once

#include <cstdint>

#include "toolkit/platform/surface.h"

using WkColor = std::uint32_t;

struct WkPaletteCell {
    std::uint8_t red, green, blue;
    std::uint8_t flags; // WK_PRIVATE_CELL for a private cell
};
inline constexpr std::uint8_t WK_PRIVATE_CELL = 1;

// Writes entries [first, first + count) of the toolkit palette into the
// screen's hardware palette, which shows them at once.
using WkHardwarePaletteHook = void (*)(int first, int count, const plat::Rgb* entries);

struct WkColorDisplay {
    bool palette = false; // the screen has a hardware palette
    int colorCount = 0;   // its size; only these slots are allocated (at most 256)
    WkHardwarePaletteHook setHardwareEntries = nullptr;
};

// Starts over for a screen: empty palette, every slot free.
void WkInitColors(const WkColorDisplay& display);

// The colour for red, green, blue (each 0 to 255): on a palette screen the
// slot already holding it, else the lowest free slot, else the nearest
// colour; one use more. The caller gives its reference back with WkFreeColor.
WkColor WkAllocColor(int red, int green, int blue);
// One use more of the colour's slot; returns the colour.
WkColor WkAddColorRef(WkColor color);
// One use less. A value that is no slot, or a slot without uses, is reported
// in the log and counts nothing down; private cells are not counted.
void WkFreeColor(WkColor color);

// A private cell set to the colour: its slot, or 0 when none is free or the
// screen has no palette.
WkColor WkAllocPrivateColor(int red, int green, int blue);
// Changes a private cell's colour on the screen at once, without drawing.
void WkSetPrivateColor(WkColor slot, int red, int green, int blue);
// Makes a private cell an ordinary free slot; other slots are left alone.
void WkFreePrivateColor(WkColor slot);

void WkColorToRGB(WkColor color, int* red, int* green, int* blue);
// A new colour of the components scaled by percent (140 light shadows, 60
// dark ones); what a component cannot take above 255 goes to the others, so
// that a saturated colour lightens toward white.
WkColor WkShadeColor(WkColor color, int percent);

// Maps an image's colour table into the toolkit palette. Each entry is four
// bytes, blue, green, red, and a byte that receives the slot; at most 256
// entries are taken. Returns how many entries were not already in the
// palette; 0 without doing anything on a true-colour screen.
int WkMapImageColors(std::uint8_t* entries, int count);

// The toolkit palette (256 cells) and the uses of a slot (0 for a value that
// is no slot), for the drawing layer and for checks.
const WkPaletteCell* WkToolkitPalette();
int WkColorUses(WkColor slot);
