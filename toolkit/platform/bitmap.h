// Device bitmaps: images turned into Surfaces of the display's format, and
// the copies between surfaces that draw them (plain, with a raster operation,
// through a transparency mask, stretched), plus merging a background into
// the transparent part of an image.
//
// A device bitmap is a Surface: true colour on a true-colour display, 8-bit
// indices into the display's palette on a palette display. Masks are
// Surfaces too, made from the 1-bit mask image like any other bitmap: a mask
// pixel is set (the image shows) where its colour is not black.
//
// Copies convert between formats: palette to true colour through the source
// palette, true colour to palette by the nearest entry, palette to palette
// by index when both use the same palette, else by nearest colour. All
// writes go through the destination canvas's clip; source rectangles are cut
// to the source surface.
#pragma once

#include "toolkit/platform/raster.h"
#include "toolkit/platform/surface.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace plat {

// A device-independent bitmap as images hold it.
struct Dib {
    int width = 0;
    int height = 0;      // > 0: the first row in memory is the bottom one; < 0: the top one
    int bitsPerPixel = 0; // 1, 4, 8 or 24
    // Entries of 4 bytes: blue, green, red, spare. Indices at or beyond
    // paletteSize show black.
    const std::uint8_t* palette = nullptr;
    int paletteSize = 0;
    // Rows of RowBytes(width, bitsPerPixel) bytes each. 1 bit: the leftmost
    // pixel in the highest bit; 4 bits: the high nibble first; 24 bits:
    // blue, green, red.
    const std::uint8_t* pixels = nullptr;
    std::size_t pixelBytes = 0;
};

// Bytes of one row: the row's bits rounded up to a multiple of 32. 0 for a
// depth other than 1, 4, 8, 24 or a width below 1.
std::size_t RowBytes(int width, int bitsPerPixel);

// The entry among the first count of palette nearest to colour (smallest sum
// of squared differences; the lowest index among equals).
int NearestIndex(const Palette& palette, Rgb colour, int count = 256);

// Makes out a device bitmap of the dib: true colour when display is null, else
// indices into *display. False, with a message in *error, for a depth other
// than 1, 4, 8, 24, a size below 1 or above 16384 a side, or too few pixel
// or palette bytes; out is left as it was then.
bool MakeDeviceBitmap(const Dib& dib, const Palette* display, Surface& out, std::string* error = nullptr);

// A true-colour copy of what the surface shows, as a palette display presents it.
Surface ToTrueColour(const Surface& surface);

// How a copied pixel meets the destination: the raster operations that
// image masks are built from. On palette surfaces they combine indices.
enum class RasterOp { Copy, Xor, And };

// Copies from (the part inside source of) from, with its top-left at (x, y).
void Blit(Canvas& to, int x, int y, const Surface& source, const Rect& from, RasterOp op = RasterOp::Copy);

// Fills area (cut to the clip) with the source repeated: copies of it have
// their top-left corners at (x + i * width, y + j * height). True colour to
// true colour only; false, drawing nothing, for any other pair.
bool BlitTiled(Canvas& to, int x, int y, const Surface& source, const Rect& area);

// The image where the mask is set, the destination elsewhere. The mask is
// read at the same offsets as the image; pixels outside it count as clear.
void BlitMasked(Canvas& to, int x, int y, const Surface& image, const Rect& from, const Surface& mask);

// Scales from onto the rectangle into (nearest pixel: destination pixel
// centres are mapped into the source rectangle).
void StretchBlit(Canvas& to, const Rect& into, const Surface& source, const Rect& from);

// Paints colour (a Pixel of the image's format) into the image wherever the
// mask (of the image's size) is clear.
void MergeColour(Surface& image, const Surface& mask, Pixel colour);

// The same with the tile repeated over the image, the image's top-left pixel
// taking the tile's pixel (xOffset mod tile width, yOffset mod tile height).
void MergeTile(Surface& image, const Surface& mask, const Surface& tile, int xOffset, int yOffset);

} // namespace plat
