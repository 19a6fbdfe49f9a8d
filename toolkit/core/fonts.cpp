#include "toolkit/core/fonts.h"

#include "toolkit/core/settings.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

struct DefaultFont {
    int slot;
    const char* key;
    const char* face;
    int height;
};

// In the order the table is built.
const DefaultFont kDefaults[] = {
    {1, "fixedSmall", "courier new", 15}, {2, "fixedMedium", "courier new", 18}, {3, "fixedLarge", "courier", 22},
    {6, "timesSmall", "times", 16},       {7, "timesMedium", "times", 20},       {9, "timesLarge", "times", 24},
    {4, "helvSmall", "arial", 16},        {5, "helvMedium", "arial", 20},        {8, "helvLarge", "arial", 24},
};

// Slot 0 holds no font of its own: it shows slot 2's.
WkNativeFont table[WK_FONT_SLOTS];

// A slot's font as the settings gave it at the start, made when the slot is
// first used: opening a font file takes time, and a window uses few slots.
struct Pending {
    bool waiting = false;
    bool fromSettings = false; // face, height and bold came from the settings
    std::string face;
    int height = 0, bold = 0;
    const DefaultFont* row = nullptr;
};
Pending pending[WK_FONT_SLOTS];

void Make(int slot) {
    Pending& p = pending[slot];
    if (!p.waiting) return;
    p.waiting = false;
    WkNativeFont font = p.fromSettings ? WkCreateFont(p.height, p.face.c_str(), p.bold, 0, 1) : nullptr;
    if (!font) font = WkCreateFont(p.row->height, p.row->face, 0, 0, 1);
    table[slot] = std::move(font);
}

std::vector<std::string> fontNames;
bool namesRead = false;
std::size_t nameCursor = 0;

const plat::Font* Own(int slot) {
    if (slot < 0 || slot >= WK_FONT_SLOTS) return nullptr;
    if (slot == 0) slot = 2;
    Make(slot);
    return table[slot].get();
}

} // namespace

const char* WkFontSectionFor(int screenHeight) {
    if (screenHeight <= 480) return "Fonts640x480";
    if (screenHeight <= 600) return "Fonts800x600";
    return "Fonts1024x768";
}

WkNativeFont WkCreateFont(int height, const char* face, int bold, int italic, int /*charset*/) {
    plat::FontRequest request;
    request.face = face ? face : "";
    request.height = height;
    request.weight = bold ? 700 : 400;
    request.italic = italic != 0;
    return plat::CreateFont(request);
}

WkNativeFont WkLoadFontSetting(const char* section, const char* key) {
    std::string face;
    int height = 0, bold = 0;
    if (!WkParseFontValue(WkReadSetting(section, key), &face, &height, &bold)) return nullptr;
    return WkCreateFont(height, face.c_str(), bold, 0, 1);
}

void WkLoadFonts(int screenHeight) {
    WkDeleteFonts();
    const char* section = WkFontSectionFor(screenHeight);
    for (const DefaultFont& d : kDefaults) {
        Pending& p = pending[d.slot];
        p.waiting = true;
        p.row = &d;
        p.fromSettings = WkParseFontValue(WkReadSetting(section, d.key), &p.face, &p.height, &p.bold) != 0;
    }
}

void WkDeleteFonts() {
    for (WkNativeFont& f : table) f.reset();
    for (Pending& p : pending) p.waiting = false;
}

WkFontSlot WkAddFont(const char* face, int height, int bold, int italic) {
    // Slot 0 is taken by slot 2's font, so the search starts at 1.
    for (int slot = 1; slot < WK_FONT_SLOTS; ++slot) {
        Make(slot);
        if (table[slot]) continue;
        WkNativeFont font = WkCreateFont(height, face, bold, italic, 1);
        if (!font) return 0;
        table[slot] = std::move(font);
        return slot;
    }
    return 0;
}

void WkDeleteFont(WkFontSlot slot) {
    if (slot <= 0 || slot >= WK_FONT_SLOTS) return;
    pending[slot].waiting = false;
    table[slot].reset();
}

const plat::Font* WkSlotFontExact(WkFontSlot slot) { return Own(slot); }

const plat::Font* WkSlotFont(WkFontSlot slot) {
    const plat::Font* f = Own(slot);
    return f ? f : Own(0);
}

int WkFontHeight(const char* /*text*/, WkFontSlot slot) {
    const plat::Font* f = WkSlotFont(slot);
    return f ? f->height() : 0;
}

int WkTextWidthN(const char* text, WkFontSlot slot, int n) {
    const plat::Font* f = WkSlotFont(slot);
    if (!f || !text || n <= 0) return 0;
    std::size_t length = std::strlen(text);
    return f->textWidth(std::string_view(text, std::size_t(n) < length ? std::size_t(n) : length));
}

int WkTextWidth(const char* text, WkFontSlot slot) {
    const plat::Font* f = WkSlotFont(slot);
    return f && text ? f->textWidth(text) : 0;
}

int WkCharWidth(int character, WkFontSlot slot) {
    const plat::Font* f = WkSlotFont(slot);
    return f ? f->charWidth(static_cast<unsigned char>(character)) : 0;
}

int WkCharHeight(int /*character*/, WkFontSlot slot) { return WkFontHeight(nullptr, slot); }

int WkWideCharWidth(WkFontSlot slot) { return WkCharWidth('W', slot); }

int WkTextFitCount(const char* text, WkFontSlot slot, int width) {
    const plat::Font* f = WkSlotFont(slot);
    if (!f || !text) return 0;
    long long total = 0;
    int count = 0;
    for (const char* p = text; *p && *p != '\n'; ++p) {
        total += f->charWidth(static_cast<unsigned char>(*p));
        if (total > width) break;
        ++count;
    }
    return count;
}

const char* WkFirstFontName() {
    if (!namesRead) {
        namesRead = true;
        for (const std::string& name : plat::FontCatalog::System().families()) {
            if (name.empty()) continue;
            if (fontNames.size() == WK_FONT_NAME_LIMIT + 1) break;
            fontNames.push_back(name);
        }
    }
    nameCursor = 0;
    if (fontNames.empty()) return nullptr;
    nameCursor = 1;
    return fontNames[0].c_str();
}

const char* WkNextFontName() {
    if (nameCursor == 0 || nameCursor >= fontNames.size()) return nullptr;
    return fontNames[nameCursor++].c_str();
}

int WkFontSlotCount() { return WK_FONT_SLOTS; }
int WkFontNameLimit() { return WK_FONT_NAME_LIMIT; }
