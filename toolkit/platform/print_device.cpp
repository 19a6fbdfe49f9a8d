#include "toolkit/platform/print_device.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <fstream>

namespace plat {

namespace {

constexpr double kPointsPerPixel = 72.0 / kPrintDotsPerInch;
constexpr int kMeasureEm = 250;

const char* const kFontNames[12] = {
    "Courier", "Courier-Bold", "Courier-Oblique", "Courier-BoldOblique",
    "Helvetica", "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique",
    "Times-Roman", "Times-Bold", "Times-Italic", "Times-BoldItalic",
};

// Scaled coordinates stay well inside int, whatever the caller passes.
int Scaled(double v) { return int(std::clamp(v, -1e9, 1e9)); }

int FontIndex(const PrintFont& f) {
    return int(f.face) * 4 + (f.bold ? 1 : 0) + (f.italic ? 2 : 0);
}

// A PDF literal string: the delimiters and the backslash escaped, control
// and high bytes as octal so the file stays plain ASCII.
std::string Literal(std::string_view text) {
    std::string out = "(";
    for (unsigned char c : text) {
        if (c == '(' || c == ')' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\%03o", unsigned(c));
            out += buf;
        } else {
            out += char(c);
        }
    }
    out += ')';
    return out;
}

std::string Num(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    return buf;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

PaperSize PaperNamed(std::string_view name) {
    if (Lower(name) == "letter") return PaperSize{"letter", 2550, 3300, 216, 279};
    return PaperSize{"a4", 2480, 3508, 210, 297};
}

PaperSize SystemPaper(const std::string& papersizeFile) {
    std::ifstream in(papersizeFile);
    std::string line;
    while (std::getline(in, line)) {
        std::size_t b = line.find_first_not_of(" \t\r");
        if (b == std::string::npos || line[b] == '#') continue;
        std::size_t e = line.find_first_of(" \t\r", b);
        return PaperNamed(line.substr(b, e == std::string::npos ? std::string::npos : e - b));
    }
    return PaperNamed("a4");
}

PrintDevice::PrintDevice(PaperSize paper) : paper_(std::move(paper)) { selectFont(font_); }

int PrintDevice::pageWidth() const { return std::max(1, paper_.widthPixels - 2 * kPrintEdgePixels); }
int PrintDevice::pageHeight() const { return std::max(1, paper_.heightPixels - 2 * kPrintEdgePixels); }
int PrintDevice::pageWidthMm() const { return std::max(1, int(pageWidth() * 25.4 / kPrintDotsPerInch + 0.5)); }
int PrintDevice::pageHeightMm() const { return std::max(1, int(pageHeight() * 25.4 / kPrintDotsPerInch + 0.5)); }

bool PrintDevice::startDocument(std::string_view title) {
    if (inDocument_) return false;
    inDocument_ = true;
    title_ = std::string(title);
    pages_.clear();
    pageFonts_.clear();
    pageImages_.clear();
    images_.clear();
    pdf_.clear();
    return true;
}

bool PrintDevice::startPage() {
    if (!inDocument_ || inPage_) return false;
    inPage_ = true;
    content_ = Num(kPointsPerPixel) + " w\n";
    fontsUsed_.clear();
    imagesUsed_.clear();
    return true;
}

bool PrintDevice::endPage() {
    if (!inPage_) return false;
    inPage_ = false;
    pages_.push_back(std::move(content_));
    pageFonts_.push_back(fontsUsed_);
    pageImages_.push_back(imagesUsed_);
    content_.clear();
    return true;
}

void PrintDevice::selectFont(const PrintFont& font) {
    font_ = font;
    if (font_.height < 1) font_.height = 50;
    static const char* const kFaces[3] = {"courier", "helvetica", "times"};
    FontRequest request;
    request.face = kFaces[int(font_.face)];
    // Measured at a large em, where hinting hardly rounds the advances, and
    // scaled to the size drawn: the widths of the page itself.
    int index = FontIndex(font_);
    if (measureTried_[index]) return;
    measureTried_[index] = true;
    request.height = -kMeasureEm;
    request.weight = font_.bold ? 700 : 400;
    request.italic = font_.italic;
    measures_[index] = CreateFont(request);
}

int PrintDevice::textHeight() const {
    return std::max(1, int(font_.height / scale_));
}

int PrintDevice::textWidth(std::string_view text) const {
    if (const Font* measure = measures_[FontIndex(font_)].get())
        return int(double(measure->textWidth(text)) * font_.height * 0.8 / kMeasureEm / scale_ + 0.5);
    // Courier is 600/1000 of the size for every glyph; the proportional
    // faces use their average glyph width.
    static const double kAverage[3] = {0.6, 0.52, 0.47};
    double perChar = font_.height * 0.8 * kAverage[int(font_.face)];
    return int(perChar * double(text.size()) / scale_ + 0.5);
}

std::string PrintDevice::pointsX(double deviceX) const {
    return Num((deviceX + kPrintEdgePixels) * kPointsPerPixel);
}
std::string PrintDevice::pointsY(double deviceY) const {
    return Num((paper_.heightPixels - kPrintEdgePixels - deviceY) * kPointsPerPixel);
}

void PrintDevice::useFont(int index) {
    if (std::find(fontsUsed_.begin(), fontsUsed_.end(), index) == fontsUsed_.end()) fontsUsed_.push_back(index);
}

void PrintDevice::textOut(int x, int y, std::string_view text) {
    if (!inPage_) return;
    int index = FontIndex(font_);
    useFont(index);
    // The cell holds the glyphs in 0.8 of its height, the baseline at 0.8.
    double size = font_.height * 0.8 * kPointsPerPixel;
    double baseline = toDeviceY(y) + font_.height * 0.8;
    int stop = std::max(1, textWidth("        "));
    long long cx = x;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t tab = text.find('\t', start);
        std::string_view segment = text.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
        if (!segment.empty()) {
            content_ += "BT /F" + std::to_string(index) + " " + Num(size) + " Tf " + pointsX(Scaled(cx * scale_)) + " " +
                        pointsY(baseline) + " Td " + Literal(segment) + " Tj ET\n";
        }
        if (tab == std::string_view::npos) break;
        cx += textWidth(segment);
        cx = x + ((cx - x) / stop + 1) * stop;
        if (cx > INT_MAX) break; // the rest lies far off the page
        start = tab + 1;
    }
}

void PrintDevice::rectangle(int left, int top, int right, int bottom, int fill) {
    if (!inPage_) return;
    double l = toDeviceX(std::min(left, right)), r = toDeviceX(std::max(left, right));
    double t = toDeviceY(std::min(top, bottom)), b = toDeviceY(std::max(top, bottom));
    std::string path = pointsX(l) + " " + pointsY(b) + " " + Num((r - l) * kPointsPerPixel) + " " +
                       Num((b - t) * kPointsPerPixel) + " re ";
    if (fill >= 0)
        content_ += "q " + Num(std::min(fill, 255) / 255.0) + " g " + path + "B Q\n";
    else
        content_ += path + "S\n";
}

void PrintDevice::line(int x0, int y0, int x1, int y1) {
    if (!inPage_) return;
    content_ += pointsX(toDeviceX(x0)) + " " + pointsY(toDeviceY(y0)) + " m " + pointsX(toDeviceX(x1)) + " " +
                pointsY(toDeviceY(y1)) + " l S\n";
}

bool PrintDevice::drawImage(const Dib& dib, int x, int y, int width, int height, std::string* error) {
    if (!inPage_) {
        if (error) *error = "no page is open";
        return false;
    }
    Surface surface;
    if (!MakeDeviceBitmap(dib, nullptr, surface, error)) return false;
    std::string rgb;
    rgb.reserve(std::size_t(surface.width()) * std::size_t(surface.height()) * 3);
    for (int row = 0; row < surface.height(); ++row)
        for (int col = 0; col < surface.width(); ++col) {
            Rgb c = surface.colorAt(col, row);
            rgb += char((c >> 16) & 0xFF);
            rgb += char((c >> 8) & 0xFF);
            rgb += char(c & 0xFF);
        }
    Image image;
    image.width = surface.width();
    image.height = surface.height();
    uLongf size = compressBound(uLong(rgb.size()));
    image.compressed.resize(size);
    if (compress2(reinterpret_cast<Bytef*>(image.compressed.data()), &size,
                  reinterpret_cast<const Bytef*>(rgb.data()), uLong(rgb.size()), Z_BEST_COMPRESSION) != Z_OK) {
        if (error) *error = "the image could not be compressed";
        return false;
    }
    image.compressed.resize(size);
    int index = int(images_.size());
    images_.push_back(std::move(image));
    imagesUsed_.push_back(index);
    double l = toDeviceX(x), t = toDeviceY(y);
    double w = Scaled((double(x) + width) * scale_) - l, h = Scaled((double(y) + height) * scale_) - t;
    content_ += "q " + Num(w * kPointsPerPixel) + " 0 0 " + Num(h * kPointsPerPixel) + " " + pointsX(l) + " " +
                pointsY(t + h) + " cm /Im" + std::to_string(index) + " Do Q\n";
    return true;
}

void PrintDevice::setIsotropicMapping(int windowWidth, int windowHeight, int viewportWidth, int viewportHeight) {
    if (windowWidth < 1 || windowHeight < 1 || viewportWidth < 1 || viewportHeight < 1) {
        scale_ = 1.0;
        return;
    }
    scale_ = std::min(double(viewportWidth) / windowWidth, double(viewportHeight) / windowHeight);
}

int PrintDevice::toDeviceX(int x) const { return Scaled(x * scale_); }
int PrintDevice::toDeviceY(int y) const { return Scaled(y * scale_); }

bool PrintDevice::endDocument() {
    if (!inDocument_) return false;
    if (inPage_) endPage();
    inDocument_ = false;

    // Objects: 1 catalog, 2 page tree, 3 document information, then the
    // twelve fonts, the images, and a page and its content for each page.
    std::vector<std::string> objects;
    const int firstFont = 4, firstImage = firstFont + 12;
    const int firstPage = firstImage + int(images_.size());
    std::string kids;
    for (std::size_t p = 0; p < pages_.size(); ++p)
        kids += std::to_string(firstPage + 2 * int(p)) + " 0 R ";
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    objects.push_back("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages_.size()) + " >>");
    objects.push_back("<< /Title " + Literal(title_) + " /Producer (WOKU) >>");
    for (const char* name : kFontNames)
        objects.push_back(std::string("<< /Type /Font /Subtype /Type1 /BaseFont /") + name +
                          " /Encoding /WinAnsiEncoding >>");
    for (const Image& image : images_)
        objects.push_back("<< /Type /XObject /Subtype /Image /Width " + std::to_string(image.width) + " /Height " +
                          std::to_string(image.height) +
                          " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /FlateDecode /Length " +
                          std::to_string(image.compressed.size()) + " >>\nstream\n" + image.compressed +
                          "\nendstream");
    std::string media = "[0 0 " + Num(paper_.widthPixels * kPointsPerPixel) + " " +
                        Num(paper_.heightPixels * kPointsPerPixel) + "]";
    for (std::size_t p = 0; p < pages_.size(); ++p) {
        std::string resources = "/Font <<";
        for (int f : pageFonts_[p])
            resources += " /F" + std::to_string(f) + " " + std::to_string(firstFont + f) + " 0 R";
        resources += " >> /XObject <<";
        for (int i : pageImages_[p])
            resources += " /Im" + std::to_string(i) + " " + std::to_string(firstImage + i) + " 0 R";
        resources += " >>";
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox " + media + " /Resources << " + resources +
                          " >> /Contents " + std::to_string(firstPage + 2 * int(p) + 1) + " 0 R >>");
        objects.push_back("<< /Length " + std::to_string(pages_[p].size()) + " >>\nstream\n" + pages_[p] +
                          "endstream");
    }

    std::string out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(out.size());
        out += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    std::size_t xref = out.size();
    out += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (std::size_t offset : offsets) {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        out += entry;
    }
    out += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R /Info 3 0 R >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    pdf_ = std::move(out);
    images_.clear();
    return true;
}

} // namespace plat
