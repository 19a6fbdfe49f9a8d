#include "toolkit/platform/png.h"

#include "toolkit/platform/files.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace plat {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// libpng reports errors through longjmp; the message is kept here first.
struct ErrorSink {
    std::string message;
};

void OnPngError(png_structp png, png_const_charp msg) {
    auto* sink = static_cast<ErrorSink*>(png_get_error_ptr(png));
    if (sink) sink->message = msg ? msg : "unknown error";
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

bool Fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

} // namespace

bool SavePng(const Surface& surface, const std::string& path, std::string* error) {
    const int w = surface.width(), h = surface.height();
    if (w <= 0 || h <= 0) return Fail(error, path + ": cannot save an empty surface");
    File file(OpenFile(path, "wb"));
    if (!file) return Fail(error, path + ": cannot open for writing");

    // Rows are prepared before libpng runs so that nothing with a destructor
    // lives across its longjmp.
    std::vector<png_byte> rgb(std::size_t(w) * std::size_t(h) * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Rgb c = surface.colorAt(x, y);
            png_byte* p = &rgb[(std::size_t(y) * std::size_t(w) + std::size_t(x)) * 3];
            p[0] = png_byte(RedOf(c));
            p[1] = png_byte(GreenOf(c));
            p[2] = png_byte(BlueOf(c));
        }
    std::vector<png_bytep> rows(static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) rows[std::size_t(y)] = &rgb[std::size_t(y) * std::size_t(w) * 3];

    ErrorSink sink;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, OnPngError, OnPngWarning);
    if (!png) return Fail(error, path + ": out of memory");
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return Fail(error, path + ": out of memory");
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return Fail(error, path + ": " + sink.message);
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fflush(file.get()) != 0 || std::ferror(file.get()))
        return Fail(error, path + ": write failed");
    return true;
}

namespace {

// The longjmp-exposed part of reading; returns false with sink filled.
// Only plain data lives in this frame across setjmp.
bool ReadPngRows(png_structp png, png_infop info, std::FILE* file, std::vector<png_byte>& rgba,
                 std::vector<png_bytep>& rows, png_uint_32& width, png_uint_32& height) {
    // Images larger than this are not ours; refuse them before allocating.
    const png_uint_32 kMaxSide = 16384;
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_set_user_limits(png, kMaxSide, kMaxSide);
    png_read_info(png, info);
    width = png_get_image_width(png, info);
    height = png_get_image_height(png, info);
    int bitDepth = png_get_bit_depth(png, info);
    int colorType = png_get_color_type(png, info);
    if (bitDepth == 16) png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    rgba.resize(std::size_t(width) * std::size_t(height) * 4);
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = &rgba[std::size_t(y) * std::size_t(width) * 4];
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    return true;
}

} // namespace

bool LoadPng(const std::string& path, Surface& out, std::string* error) {
    File file(OpenFile(path, "rb"));
    if (!file) return Fail(error, path + ": cannot open");
    png_byte signature[8];
    if (std::fread(signature, 1, 8, file.get()) != 8 || png_sig_cmp(signature, 0, 8) != 0)
        return Fail(error, path + ": not a PNG file");
    ErrorSink sink;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &sink, OnPngError, OnPngWarning);
    if (!png) return Fail(error, path + ": out of memory");
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return Fail(error, path + ": out of memory");
    }
    png_set_sig_bytes(png, 8);
    std::vector<png_byte> rgba;
    std::vector<png_bytep> rows;
    png_uint_32 width = 0, height = 0;
    bool ok = ReadPngRows(png, info, file.get(), rgba, rows, width, height);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok) return Fail(error, path + ": " + sink.message);
    out.resize(int(width), int(height));
    Rgb* dst = out.pixels();
    for (std::size_t i = 0; i < std::size_t(width) * std::size_t(height); ++i)
        dst[i] = MakeRgb(rgba[i * 4], rgba[i * 4 + 1], rgba[i * 4 + 2]);
    return true;
}

} // namespace plat
