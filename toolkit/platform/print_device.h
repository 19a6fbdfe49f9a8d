// The print device: a printer that writes a PDF document instead of talking
// to a printer driver. It offers what the toolkit's printing needs of a
// printer: its page size in device pixels and millimetres at 300 dots per
// inch, documents and pages, text in the standard PDF fonts (Courier,
// Helvetica, Times, plain, bold, italic) with Windows-1252 text, rectangles
// and lines, device-independent bitmaps, and an isotropic mapping from
// logical units to device pixels.
//
// Device coordinates are pixels from the top-left corner of the printable
// area, y down. Printers cannot print to the sheet's very edge, so that
// area lies kPrintEdgePixels (1/6 inch, about 4 mm) inside every edge of the
// paper, and what a printer reports as its page (pageWidth, pageHeight and
// their millimetres) is that area, not the whole sheet.
// The device owns the document being built; Pdf() hands out its bytes once
// the document is ended.
#pragma once

#include "toolkit/platform/bitmap.h"
#include "toolkit/platform/font.h"

#include <memory>

#include <string>
#include <string_view>
#include <vector>

namespace plat {

constexpr int kPrintDotsPerInch = 300;
constexpr int kPrintEdgePixels = kPrintDotsPerInch / 6;

// The whole sheet.
struct PaperSize {
    std::string name;   // "a4" or "letter"
    int widthPixels = 0;
    int heightPixels = 0;
    int widthMm = 0;
    int heightMm = 0;
};

// The paper of the given name ("a4", "letter", any case); A4 for any other.
PaperSize PaperNamed(std::string_view name);
// The paper the system names in the file (first word that is not a
// comment); A4 when the file is missing or names none.
PaperSize SystemPaper(const std::string& papersizeFile = "/etc/papersize");

enum class PrintFace { Courier, Helvetica, Times };

struct PrintFont {
    PrintFace face = PrintFace::Courier;
    bool bold = false;
    bool italic = false;
    int height = 50;    // character cell height in device pixels; below 1: 50 (12 points)
};

class PrintDevice {
public:
    explicit PrintDevice(PaperSize paper = SystemPaper());

    const PaperSize& paper() const { return paper_; }
    int dotsPerInch() const { return kPrintDotsPerInch; }
    // The printable area in device pixels and in whole millimetres.
    int pageWidth() const;
    int pageHeight() const;
    int pageWidthMm() const;
    int pageHeightMm() const;

    // Document and pages. Each returns false when called out of order
    // (a page outside a document, a document inside another, ...).
    bool startDocument(std::string_view title);
    bool startPage();
    bool endPage();
    bool endDocument();
    int pageCount() const { return int(pages_.size()); }
    bool inPage() const { return inPage_; }

    void selectFont(const PrintFont& font);
    const PrintFont& font() const { return font_; }
    // Height of a line of the selected font and width of a text in it, in
    // logical units. Widths come from the installed metric-compatible face
    // (Liberation Mono, Sans, Serif); an average width per face without one.
    int textHeight() const;
    int textWidth(std::string_view text) const;

    // Draws text (Windows-1252 bytes) with its cell's top-left corner at
    // (x, y) in logical units. Tabs go to the next stop of 8 average
    // character widths. Nothing is drawn outside a page.
    void textOut(int x, int y, std::string_view text);
    // Outline of a rectangle (filled with the grey level 0..255 when
    // fill >= 0), and a straight line, in logical units.
    void rectangle(int left, int top, int right, int bottom, int fill = -1);
    void line(int x0, int y0, int x1, int y1);
    // Draws the dib stretched to width x height logical units at (x, y).
    // False, with a message, when the dib is unusable.
    bool drawImage(const Dib& dib, int x, int y, int width, int height, std::string* error = nullptr);

    // Isotropic mapping: the logical window (wx, wy) is shown in the device
    // viewport (vx, vy), with one scale in both directions that fits the
    // window whole. Extents below 1 reset to one logical unit per pixel.
    void setIsotropicMapping(int windowWidth, int windowHeight, int viewportWidth, int viewportHeight);
    double scale() const { return scale_; }
    int toDeviceX(int x) const;
    int toDeviceY(int y) const;

    // The finished document; empty until endDocument succeeded.
    const std::string& pdf() const { return pdf_; }

private:
    struct Image {
        int width = 0, height = 0;
        std::string compressed; // RGB rows, top row first, zlib
    };
    void useFont(int index);
    std::string pointsX(double deviceX) const;
    std::string pointsY(double deviceY) const;

    PaperSize paper_;
    PrintFont font_;
    // Each face's widths, made when first selected; none without the face.
    std::unique_ptr<Font> measures_[12];
    bool measureTried_[12] = {};
    std::string title_;
    bool inDocument_ = false, inPage_ = false;
    std::string content_;               // the current page's content stream
    std::vector<std::string> pages_;    // content of each finished page
    std::vector<std::vector<int>> pageFonts_, pageImages_;
    std::vector<int> fontsUsed_, imagesUsed_; // of the current page
    std::vector<Image> images_;
    double scale_ = 1.0;
    std::string pdf_;
};

} // namespace plat
