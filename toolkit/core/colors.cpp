#include "toolkit/core/colors.h"

#include <algorithm>

#include "toolkit/core/log.h"

namespace {

constexpr int kSlots = 256;

WkColorDisplay display;
WkPaletteCell cells[kSlots];
int uses[kSlots];

int Clamp255(int v) { return std::clamp(v, 0, 255); }

WkColor PackRgb(int r, int g, int b) {
    return WkColor(Clamp255(r)) | (WkColor(Clamp255(g)) << 8) | (WkColor(Clamp255(b)) << 16);
}

bool PaletteScreen() { return display.palette; }

// Slots taking part in allocation.
int SlotCount() { return display.colorCount; }

bool IsSlot(WkColor c) { return c < WkColor(kSlots); }
bool IsPrivate(int slot) { return cells[slot].flags & WK_PRIVATE_CELL; }
bool Holds(int slot, int r, int g, int b) {
    return cells[slot].red == r && cells[slot].green == g && cells[slot].blue == b;
}
bool FreeForColor(int slot) { return uses[slot] == 0 && !IsPrivate(slot); }

void SetCell(int slot, int r, int g, int b) {
    cells[slot].red = std::uint8_t(r);
    cells[slot].green = std::uint8_t(g);
    cells[slot].blue = std::uint8_t(b);
}

// Shows slots [first, last] on the screen.
void ShowCells(int first, int last) {
    if (!display.setHardwareEntries || first > last) return;
    plat::Rgb rgb[kSlots];
    for (int s = first; s <= last; ++s) rgb[s] = plat::MakeRgb(cells[s].red, cells[s].green, cells[s].blue);
    display.setHardwareEntries(first, last - first + 1, rgb + first);
}

// The shared slot in use nearest to the colour (private cells animate and so
// are never handed out); -1 when there is none.
int NearestSlot(int r, int g, int b) {
    int best = -1;
    long bestDistance = 0;
    for (int s = 0; s < SlotCount(); ++s) {
        if (IsPrivate(s) || uses[s] == 0) continue;
        long dr = cells[s].red - r, dg = cells[s].green - g, db = cells[s].blue - b;
        long d = dr * dr + dg * dg + db * db;
        if (best < 0 || d < bestDistance) {
            best = s;
            bestDistance = d;
        }
    }
    return best;
}

WkColor TakeNearest(int r, int g, int b) {
    int s = NearestSlot(r, g, b);
    if (s < 0) return 0;
    ++uses[s];
    return WkColor(s);
}

} // namespace

void WkInitColors(const WkColorDisplay& d) {
    display = d;
    display.colorCount = std::clamp(d.colorCount, 0, kSlots);
    std::fill(std::begin(cells), std::end(cells), WkPaletteCell{});
    std::fill(std::begin(uses), std::end(uses), 0);
}

WkColor WkAllocColor(int red, int green, int blue) {
    red = Clamp255(red);
    green = Clamp255(green);
    blue = Clamp255(blue);
    if (!PaletteScreen()) return PackRgb(red, green, blue);
    int freeSlot = -1;
    for (int s = 0; s < SlotCount(); ++s) {
        if (IsPrivate(s)) continue;
        if (uses[s] > 0 && Holds(s, red, green, blue)) {
            ++uses[s];
            return WkColor(s);
        }
        if (uses[s] == 0 && freeSlot < 0) freeSlot = s;
    }
    if (freeSlot < 0) return TakeNearest(red, green, blue);
    SetCell(freeSlot, red, green, blue);
    uses[freeSlot] = 1;
    ShowCells(freeSlot, freeSlot);
    return WkColor(freeSlot);
}

WkColor WkAddColorRef(WkColor color) {
    if (PaletteScreen() && IsSlot(color) && !IsPrivate(int(color))) ++uses[color];
    return color;
}

void WkFreeColor(WkColor color) {
    if (!PaletteScreen()) return;
    if (IsSlot(color) && IsPrivate(int(color))) return;
    if (IsSlot(color) && uses[color] > 0) {
        --uses[color];
        return;
    }
    // Reported, not shown in a box: this happens in the middle of drawing.
    int r, g, b;
    WkColorToRGB(color, &r, &g, &b);
    WkLog(WK_LOG_ERROR, "Error in FreeColor: %d\nRed: %d\nGreen: %d\nBlue: %d", int(color), r, g,
          b);
}

WkColor WkAllocPrivateColor(int red, int green, int blue) {
    if (!PaletteScreen()) return 0;
    for (int s = 0; s < SlotCount(); ++s) {
        if (uses[s] != 0) continue;
        cells[s].flags = WK_PRIVATE_CELL;
        uses[s] = 1;
        SetCell(s, Clamp255(red), Clamp255(green), Clamp255(blue));
        ShowCells(s, s);
        return WkColor(s);
    }
    return 0;
}

void WkSetPrivateColor(WkColor slot, int red, int green, int blue) {
    // Only a private cell: changing a shared slot would change every user's colour.
    if (!PaletteScreen() || !IsSlot(slot) || !IsPrivate(int(slot))) return;
    SetCell(int(slot), Clamp255(red), Clamp255(green), Clamp255(blue));
    ShowCells(int(slot), int(slot));
}

void WkFreePrivateColor(WkColor slot) {
    if (!PaletteScreen() || !IsSlot(slot) || !IsPrivate(int(slot))) return;
    cells[slot].flags = 0;
    uses[slot] = 0;
}

void WkColorToRGB(WkColor color, int* red, int* green, int* blue) {
    if (PaletteScreen() && IsSlot(color)) {
        *red = cells[color].red;
        *green = cells[color].green;
        *blue = cells[color].blue;
        return;
    }
    // True colour, or a value that is no slot: the bytes of the value.
    *red = int(color & 255);
    *green = int((color >> 8) & 255);
    *blue = int((color >> 16) & 255);
}

WkColor WkShadeColor(WkColor color, int percent) {
    int rgb[3];
    WkColorToRGB(color, &rgb[0], &rgb[1], &rgb[2]);
    long s[3], c[3];
    for (int i = 0; i < 3; ++i) {
        s[i] = std::max(0L, long(percent) * rgb[i] / 100);
        c[i] = std::min(s[i], 255L);
    }
    int out[3];
    for (int i = 0; i < 3; ++i) {
        int j = (i + 1) % 3, k = (i + 2) % 3;
        long excess = s[j] + s[k] - c[j] - c[k];
        out[i] = int(std::min(255L, c[i] + excess * (255 - c[i]) / 255));
    }
    return WkAllocColor(out[0], out[1], out[2]);
}

int WkMapImageColors(std::uint8_t* entries, int count) {
    if (!PaletteScreen() || !entries) return 0;
    count = std::clamp(count, 0, kSlots);
    int todo[kSlots];
    int todoCount = 0;
    for (int e = 0; e < count; ++e) {
        std::uint8_t* entry = entries + 4 * e;
        int b = entry[0], g = entry[1], r = entry[2];
        int match = -1;
        for (int s = 0; s < SlotCount() && match < 0; ++s)
            if (uses[s] > 0 && !IsPrivate(s) && Holds(s, r, g, b)) match = s;
        if (match < 0) {
            todo[todoCount++] = e;
            continue;
        }
        ++uses[match];
        entry[3] = std::uint8_t(match);
    }

    int filledFirst = kSlots, filledLast = -1;
    int slot = 0, done = 0;
    for (; done < todoCount; ++done) {
        while (slot < SlotCount() && !FreeForColor(slot)) ++slot;
        if (slot >= SlotCount()) break;
        std::uint8_t* entry = entries + 4 * todo[done];
        SetCell(slot, entry[2], entry[1], entry[0]);
        uses[slot] = 1;
        entry[3] = std::uint8_t(slot);
        filledFirst = std::min(filledFirst, slot);
        filledLast = std::max(filledLast, slot);
    }
    ShowCells(filledFirst, filledLast);

    for (; done < todoCount; ++done) {
        std::uint8_t* entry = entries + 4 * todo[done];
        entry[3] = std::uint8_t(TakeNearest(entry[2], entry[1], entry[0]));
    }
    return todoCount;
}

const WkPaletteCell* WkToolkitPalette() { return cells; }

int WkColorUses(WkColor slot) { return IsSlot(slot) ? uses[slot] : 0; }
