// Pictures compared with references kept beside the tests: a screenshot or a
// painted window is held against a PNG of a reference/ folder next to the
// test's sources. A mismatch fails the test and leaves, beside the test's
// other output, the picture taken and a difference picture (the reference
// faded, every differing pixel red), both named in the failure.
//
// Run the tests with TM_UPDATE_PICTURES=1 to write the references anew
// after a deliberate change of what a window shows; then look at each
// picture written before committing it. References are stored with a
// palette where the picture has at most 256 colours, as a window has, to
// keep them small.
#pragma once

#include "toolkit/platform/png.h"
#include "toolkit/platform/surface.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace refpic {

// How far a picture may stray from its reference. A pixel differs when one
// of its channels is off by more than `channel`; the picture still matches
// while no 8 x 8 patch holds more than `patch` differing pixels and all of
// them together are at most `share` of the picture. Glyphs rendered a pixel
// apart leave a few scattered pixels; a missing caption, a widget moved by
// a pixel or a wrong colour fill whole patches.
struct Tolerance {
    int channel;
    int patch;
    double share;
};
// Painted into memory by the offscreen display: every pixel as before.
inline constexpr Tolerance kExact{0, 0, 0.0};
// Shown by an X server: room for a glyph's stray pixels.
inline constexpr Tolerance kOnServer{16, 4, 0.001};

inline constexpr int kPatch = 8;
inline constexpr plat::Rgb kHiddenGrey = plat::MakeRgb(128, 128, 128);

// What a comparison found: the differing pixels, the fullest patch and its
// top left corner.
struct Difference {
    bool sameSize = true;
    long pixels = 0;
    int worstPatch = 0;
    int worstX = 0, worstY = 0;
};

inline bool Differs(plat::Rgb a, plat::Rgb b, int channel) {
    return std::abs(plat::RedOf(a) - plat::RedOf(b)) > channel ||
           std::abs(plat::GreenOf(a) - plat::GreenOf(b)) > channel ||
           std::abs(plat::BlueOf(a) - plat::BlueOf(b)) > channel;
}

inline Difference Compare(const plat::Surface& picture, const plat::Surface& reference, int channel) {
    Difference d;
    d.sameSize = picture.width() == reference.width() && picture.height() == reference.height();
    if (!d.sameSize) return d;
    const int columns = (picture.width() + kPatch - 1) / kPatch;
    std::vector<int> patches(std::size_t(columns) * std::size_t((picture.height() + kPatch - 1) / kPatch));
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            if (!Differs(picture.colorAt(x, y), reference.colorAt(x, y), channel)) continue;
            ++d.pixels;
            int& count = patches[std::size_t(y / kPatch) * std::size_t(columns) + std::size_t(x / kPatch)];
            if (++count > d.worstPatch) d.worstPatch = count, d.worstX = x / kPatch * kPatch, d.worstY = y / kPatch * kPatch;
        }
    return d;
}

inline bool Within(const Difference& d, const Tolerance& t, const plat::Surface& picture) {
    return d.sameSize && d.worstPatch <= t.patch &&
           double(d.pixels) <= t.share * double(picture.width()) * double(picture.height());
}

// The reference faded to a quarter of its contrast, with the pixels that
// differ in red; where only one of the two pictures reaches, red as well.
inline plat::Surface DifferencePicture(const plat::Surface& picture, const plat::Surface& reference, int channel) {
    const int w = std::max(picture.width(), reference.width()), h = std::max(picture.height(), reference.height());
    plat::Surface out(w, h);
    plat::Rgb* p = out.pixels();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool inBoth = x < picture.width() && y < picture.height() && x < reference.width() &&
                                y < reference.height();
            const plat::Rgb r = reference.colorAt(x, y);
            const auto fade = [](int c) { return 192 + c / 4; };
            p[std::size_t(y) * std::size_t(w) + std::size_t(x)] =
                !inBoth || Differs(picture.colorAt(x, y), r, channel)
                    ? plat::MakeRgb(255, 0, 0)
                    : plat::MakeRgb(fade(plat::RedOf(r)), fade(plat::GreenOf(r)), fade(plat::BlueOf(r)));
        }
    return out;
}

// The part of a picture inside the rectangle (clipped to the picture).
inline plat::Surface Crop(const plat::Surface& picture, const plat::Rect& area) {
    const plat::Rect r = plat::Intersect(area, picture.bounds());
    plat::Surface out(r.width(), r.height());
    plat::Rgb* p = out.pixels();
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x)
            p[std::size_t(y) * std::size_t(r.width()) + std::size_t(x)] = picture.colorAt(r.x0 + x, r.y0 + y);
    return out;
}

// The picture with each area filled flat grey: what is left out of a
// comparison, as the reference shows it.
inline plat::Surface Hidden(const plat::Surface& picture, const std::vector<plat::Rect>& areas) {
    plat::Surface out = picture;
    if (areas.empty()) return out;
    plat::Rgb* p = out.pixels();
    for (const plat::Rect& area : areas) {
        const plat::Rect r = plat::Intersect(area, out.bounds());
        for (int y = r.y0; y < r.y1; ++y)
            for (int x = r.x0; x < r.x1; ++x) p[std::size_t(y) * std::size_t(out.width()) + std::size_t(x)] = kHiddenGrey;
    }
    return out;
}

namespace detail {

// The rows libpng writes, made before it runs: nothing with a destructor
// may live across its longjmp.
struct Rows {
    int colorType = PNG_COLOR_TYPE_RGB;
    std::vector<png_color> palette;
    std::vector<png_byte> bytes;
    std::vector<png_bytep> rows;
};

inline Rows MakeRows(const plat::Surface& picture) {
    Rows r;
    const std::size_t w = std::size_t(picture.width()), h = std::size_t(picture.height());
    std::map<plat::Rgb, png_byte> index;
    for (std::size_t i = 0; i < w * h && index.size() <= 256; ++i)
        index.emplace(picture.colorAt(int(i % w), int(i / w)), 0);
    const bool paletted = index.size() <= 256;
    if (paletted) {
        r.colorType = PNG_COLOR_TYPE_PALETTE;
        for (auto& [color, i] : index) {
            i = png_byte(r.palette.size());
            r.palette.push_back(png_color{png_byte(plat::RedOf(color)), png_byte(plat::GreenOf(color)),
                                          png_byte(plat::BlueOf(color))});
        }
    }
    const std::size_t stride = paletted ? w : w * 3;
    r.bytes.resize(stride * h);
    for (std::size_t y = 0; y < h; ++y) {
        png_byte* row = &r.bytes[y * stride];
        r.rows.push_back(row);
        for (std::size_t x = 0; x < w; ++x) {
            const plat::Rgb c = picture.colorAt(int(x), int(y));
            if (paletted) row[x] = index[c];
            else row[3 * x] = png_byte(plat::RedOf(c)), row[3 * x + 1] = png_byte(plat::GreenOf(c)),
                 row[3 * x + 2] = png_byte(plat::BlueOf(c));
        }
    }
    return r;
}

inline bool WriteRows(std::FILE* file, int width, int height, Rows& r) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, r.colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!r.palette.empty()) png_set_PLTE(png, info, r.palette.data(), int(r.palette.size()));
    png_write_info(png, info);
    png_write_image(png, r.rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace detail

// Writes a reference: with a palette when the picture has at most 256 colours.
inline bool SaveReference(const plat::Surface& picture, const std::string& path) {
    if (picture.width() <= 0 || picture.height() <= 0) return false;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    detail::Rows rows = detail::MakeRows(picture);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = detail::WriteRows(file, picture.width(), picture.height(), rows);
    return std::fclose(file) == 0 && written;
}

// The picture against the reference PNG at `reference`. `output` is where
// the picture taken goes (the screenshot's own place); on a mismatch it is
// written there and the difference picture beside it ("-diff.png"). The
// hidden areas (what differs from one machine or build tree to another,
// such as a folder's path) are left out.
inline ::testing::AssertionResult MatchesReference(const plat::Surface& taken, const std::string& reference,
                                                   const std::string& output, const Tolerance& tolerance,
                                                   const std::vector<plat::Rect>& hidden = {}) {
    const plat::Surface picture = Hidden(taken, hidden);
    if (std::getenv("TM_UPDATE_PICTURES")) {
        if (SaveReference(picture, reference)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << reference << ": cannot be written";
    }
    plat::Surface expected;
    std::string error;
    if (!plat::LoadPng(reference, expected, &error)) {
        plat::SavePng(taken, output);
        return ::testing::AssertionFailure() << "no reference picture: " << error << "; the picture taken is " << output
                                             << " (TM_UPDATE_PICTURES=1 writes the references)";
    }
    const Difference d = Compare(picture, expected, tolerance.channel);
    if (Within(d, tolerance, picture)) return ::testing::AssertionSuccess();
    const std::string diff = output.substr(0, output.size() - (output.ends_with(".png") ? 4 : 0)) + "-diff.png";
    plat::SavePng(taken, output);
    plat::SavePng(DifferencePicture(picture, expected, tolerance.channel), diff);
    std::ostringstream why;
    if (!d.sameSize)
        why << "it is " << picture.width() << " x " << picture.height() << ", the reference " << expected.width()
            << " x " << expected.height();
    else
        why << d.pixels << " pixels differ, " << d.worstPatch << " of them in the " << kPatch << " x " << kPatch
            << " patch at (" << d.worstX << ", " << d.worstY << ")";
    return ::testing::AssertionFailure() << "the picture is not its reference: " << why.str() << "; the picture "
                                         << output << ", the reference " << reference << ", the difference " << diff;
}

} // namespace refpic
