#include "toolkit/platform/font.h"

#include "toolkit/platform/font_charset.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace plat {

namespace {

// One FreeType instance serves every font of the process for its whole life.
FT_Library Library() {
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
        return lib;
    }();
    return library;
}

int ClampToInt(long long v) { return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : int(v); }

void PutPixel(Surface& surface, int x, int y, Rgb colour) {
    std::size_t i = std::size_t(y) * std::size_t(surface.width()) + std::size_t(x);
    if (surface.paletted())
        surface.indices()[i] = static_cast<std::uint8_t>(colour & 0xFF);
    else
        surface.pixels()[i] = colour;
}

} // namespace

struct Font::Face {
    FT_Face face = nullptr;
    ~Face() {
        if (face) FT_Done_Face(face);
    }
};

struct Font::Glyph {
    bool ready = false;         // the advance is known
    bool drawn = false;         // the bitmap is made
    int advance = 0;
    int left = 0, top = 0;      // bitmap origin: right of the pen, above the baseline
    int width = 0, rows = 0;
    std::vector<std::uint8_t> ink; // width * rows, 1 where the glyph is drawn
    FT_Glyph outline = nullptr;    // the hinted outline, kept until the bitmap is made

    Glyph() = default;
    Glyph(const Glyph&) = delete;
    Glyph& operator=(const Glyph&) = delete;
    ~Glyph() {
        if (outline) FT_Done_Glyph(outline);
    }
    // The ink of a rendered slot or glyph bitmap.
    void take(const FT_Bitmap& bm, int bitmapLeft, int bitmapTop);
};

void Font::Glyph::take(const FT_Bitmap& bm, int bitmapLeft, int bitmapTop) {
    left = bitmapLeft;
    top = bitmapTop;
    width = int(bm.width);
    rows = int(bm.rows);
    ink.assign(std::size_t(width) * std::size_t(rows), 0);
    for (int r = 0; r < rows; ++r) {
        const unsigned char* row = bm.buffer + (bm.pitch >= 0 ? r : r - rows + 1) * bm.pitch;
        for (int col = 0; col < width; ++col) {
            bool on = bm.pixel_mode == FT_PIXEL_MODE_MONO ? (row[col >> 3] >> (7 - (col & 7))) & 1 : row[col] >= 128;
            ink[std::size_t(r) * std::size_t(width) + std::size_t(col)] = on ? 1 : 0;
        }
    }
}

Font::Font(std::unique_ptr<Face> face, FaceFile file, const FontMetrics& metrics, bool emboldened, bool slanted)
    : face_handle_(std::move(face)), face_(std::move(file)), metrics_(metrics), embolden_(emboldened),
      slant_(slanted), glyphs_(new Glyph[256]) {}

Font::~Font() = default;

const Font::Glyph& Font::glyph(unsigned char c) const {
    Glyph& g = glyphs_[c];
    if (g.ready) return g;
    g.ready = true;
    FT_Face face = face_handle_->face;
    const FT_Int32 flags = FT_LOAD_TARGET_MONO | FT_LOAD_NO_BITMAP;
    FT_UInt index = FT_Get_Char_Index(face, Cp1252ToUnicode(c));
    // A character the face lacks shows as the face's missing-glyph box.
    if (FT_Load_Glyph(face, index, flags) != 0 && (index == 0 || FT_Load_Glyph(face, 0, flags) != 0)) {
        g.drawn = true;
        return g;
    }
    FT_GlyphSlot slot = face->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (slant_) FT_GlyphSlot_Oblique(slot);
        if (embolden_) FT_GlyphSlot_Embolden(slot);
    }
    g.advance = int((slot->advance.x + 32) >> 6);
    // Measuring needs only the advance: the bitmap is made when the glyph
    // is first drawn, from a copy of the hinted outline (a window measures
    // many texts that it does not show yet).
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE && FT_Get_Glyph(slot, &g.outline) == 0) return g;
    g.drawn = true;
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) == 0) g.take(slot->bitmap, slot->bitmap_left, slot->bitmap_top);
    return g;
}

const Font::Glyph& Font::drawnGlyph(unsigned char c) const {
    Glyph& g = const_cast<Glyph&>(glyph(c));
    if (g.drawn) return g;
    g.drawn = true;
    FT_Glyph image = g.outline;
    g.outline = nullptr;
    if (FT_Glyph_To_Bitmap(&image, FT_RENDER_MODE_MONO, nullptr, 1) == 0) {
        const auto* bitmap = reinterpret_cast<FT_BitmapGlyph>(image);
        g.take(bitmap->bitmap, bitmap->left, bitmap->top);
    }
    FT_Done_Glyph(image);
    return g;
}

int Font::charWidth(unsigned char c) const { return glyph(c).advance; }

int Font::textWidth(std::string_view text) const {
    long long w = 0;
    for (char ch : text) {
        w += glyph(static_cast<unsigned char>(ch)).advance;
        if (w > INT_MAX) return INT_MAX;
    }
    return int(w);
}

void Font::drawText(Surface& surface, const Rect& clip, int x, int y, std::string_view text, Rgb colour) const {
    const Rect area = Intersect(clip, surface.bounds());
    if (area.empty()) return;
    // No glyph reaches this far left of its pen, so once the pen is past the
    // area by it nothing more can show.
    const long long reach = 2LL * (metrics_.height + metrics_.maxWidth);
    const long long baseline = (long long)y + metrics_.ascent;
    long long pen = x;
    for (char ch : text) {
        if (pen - reach >= area.x1) break;
        const Glyph& g = drawnGlyph(static_cast<unsigned char>(ch));
        const long long gx = pen + g.left, gy = baseline - g.top;
        pen += g.advance;
        const long long c0 = std::max<long long>(0, area.x0 - gx), c1 = std::min<long long>(g.width, area.x1 - gx);
        const long long r0 = std::max<long long>(0, area.y0 - gy), r1 = std::min<long long>(g.rows, area.y1 - gy);
        for (long long r = r0; r < r1; ++r)
            for (long long c = c0; c < c1; ++c)
                if (g.ink[std::size_t(r * g.width + c)]) PutPixel(surface, int(gx + c), int(gy + r), colour);
    }
}

void Font::drawTextOpaque(Surface& surface, const Rect& clip, int x, int y, std::string_view text, Rgb background,
                          Rgb colour) const {
    const Rect cell{x, y, ClampToInt((long long)x + textWidth(text)), ClampToInt((long long)y + metrics_.height)};
    const Rect fill = Intersect(Intersect(clip, surface.bounds()), cell);
    for (int py = fill.y0; py < fill.y1; ++py)
        for (int px = fill.x0; px < fill.x1; ++px) PutPixel(surface, px, py, background);
    drawText(surface, clip, x, y, text, colour);
}

std::unique_ptr<Font> CreateFont(const FontRequest& request, const FontCatalog& catalog) {
    if (request.height == 0 || request.height > kMaxFontHeight || request.height < -kMaxFontHeight) return nullptr;
    const bool bold = request.weight >= 600;
    std::optional<FaceFile> file = catalog.find(request.face, bold, request.italic);
    if (!file || !Library()) return nullptr;
    auto face = std::make_unique<Font::Face>();
    if (FT_New_Face(Library(), file->path.c_str(), file->index, &face->face) != 0) {
        face->face = nullptr;
        return nullptr;
    }
    FT_Face ft = face->face;
    if (!FT_IS_SCALABLE(ft) || ft->units_per_EM == 0) return nullptr;

    // The cell is the face's Windows ascent and descent, the lines every glyph
    // of the face keeps within; a face without them uses its typographic ones.
    const double em = ft->units_per_EM;
    double up = ft->ascender, down = -double(ft->descender);
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        up = os2->usWinAscent;
        down = os2->usWinDescent;
    }
    if (up + down <= 0) up = 0.8 * em, down = 0.2 * em;

    FontMetrics m;
    long ppem = 0;
    if (request.height > 0) {
        m.height = request.height;
        ppem = std::max(1L, std::lround(request.height * em / (up + down)));
        m.ascent = int(std::lround(request.height * up / (up + down)));
    } else {
        ppem = -request.height;
        m.height = std::max(1, int(std::lround(ppem * (up + down) / em)));
        m.ascent = int(std::lround(ppem * up / em));
    }
    m.ascent = std::clamp(m.ascent, 0, m.height);
    m.descent = m.height - m.ascent;
    if (FT_Set_Pixel_Sizes(ft, 0, FT_UInt(ppem)) != 0) return nullptr;

    const bool embolden = bold && !file->bold;
    const bool slant = request.italic && !file->italic;
    m.maxWidth = int((ft->size->metrics.max_advance + 63) >> 6) + (embolden ? int((ppem + 23) / 24) : 0);
    if (os2 && os2->version != 0xFFFF && os2->xAvgCharWidth > 0) m.averageWidth = int(std::lround(os2->xAvgCharWidth * ppem / em));

    std::unique_ptr<Font> font(new Font(std::move(face), std::move(*file), m, embolden, slant));
    if (font->metrics_.averageWidth == 0) font->metrics_.averageWidth = font->charWidth('x');
    return font;
}

} // namespace plat
