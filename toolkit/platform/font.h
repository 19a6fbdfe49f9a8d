// Fonts: a face at a pixel size, its metrics, text widths and text drawing.
//
// A Font is made from a request (face name, height, weight, italic) through
// the font catalogue and renders its glyphs with FreeType: hinted and
// monochrome, so every pixel is either the text colour or untouched. That
// keeps the result the same on every machine with the same font files and
// lets paletted surfaces take the colour as a palette index exactly. Texts are
// Windows-1252 bytes; each byte is converted to Unicode only to find its glyph.
// A Font owns its font file handle and the glyphs it has loaded so far:
// measured ones keep their hinted outline, drawn ones their bitmap.
//
// Widths are the sum of the characters' advances, without kerning, the same
// whether measured or drawn. Text is drawn with the top-left corner of its cell
// at (x, y): the baseline lies ascent pixels below y.
#pragma once

#include "toolkit/platform/font_catalog.h"
#include "toolkit/platform/surface.h"

#include <memory>
#include <string>
#include <string_view>

namespace plat {

struct FontRequest {
    std::string face;  // Windows-1252, any case; see FontCatalog for the names served
    // Positive: the cell height (ascent plus descent) in pixels, which the
    // font then reports exactly. Negative: the character (em) height, the cell
    // growing to fit. Zero and heights beyond kMaxFontHeight are refused.
    int height = 0;
    int weight = 400;  // 700 is bold; 600 and above count as bold
    bool italic = false;
};

inline constexpr int kMaxFontHeight = 1000;

struct FontMetrics {
    int height = 0;       // cell height: ascent + descent
    int ascent = 0;       // from the cell's top to the baseline
    int descent = 0;      // from the baseline to the cell's bottom
    int averageWidth = 0; // the face's average character width at this size
    int maxWidth = 0;     // the widest advance of the face at this size
};

class Font {
public:
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    const FontMetrics& metrics() const { return metrics_; }
    int height() const { return metrics_.height; }
    // The family and file that serve this font.
    const FaceFile& face() const { return face_; }

    // The advance of one character.
    int charWidth(unsigned char c) const;
    // The width of a text: the sum of its advances (at most INT_MAX).
    int textWidth(std::string_view text) const;

    // Draws the glyphs, leaving the pixels between them alone. Only pixels
    // inside clip and the surface change. On a paletted surface colour is the
    // palette index (its low 8 bits).
    void drawText(Surface& surface, const Rect& clip, int x, int y, std::string_view text, Rgb colour) const;
    // The same on the text's cell (its width by the font's height) filled first
    // with background.
    void drawTextOpaque(Surface& surface, const Rect& clip, int x, int y, std::string_view text, Rgb background,
                        Rgb colour) const;

private:
    struct Glyph;
    struct Face;
    Font(std::unique_ptr<Face> face, FaceFile file, const FontMetrics& metrics, bool emboldened, bool slanted);
    friend std::unique_ptr<Font> CreateFont(const FontRequest& request, const FontCatalog& catalog);
    const Glyph& glyph(unsigned char c) const;      // its advance known
    const Glyph& drawnGlyph(unsigned char c) const; // its bitmap made too

    std::unique_ptr<Face> face_handle_;
    FaceFile face_;
    FontMetrics metrics_;
    bool embolden_ = false; // bold asked for, the file is not
    bool slant_ = false;    // italic asked for, the file is upright
    mutable std::unique_ptr<Glyph[]> glyphs_; // one per byte, rendered on first use
};

// A font for the request, or nothing when the height is refused, no font is
// installed or the font file cannot be read.
std::unique_ptr<Font> CreateFont(const FontRequest& request, const FontCatalog& catalog = FontCatalog::System());

} // namespace plat
