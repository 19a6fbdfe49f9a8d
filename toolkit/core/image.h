// Images: the in-memory rasters every picture of the toolkit is held in, of
// 1, 4, 8 or 24 bits per pixel with a palette (1 to 8 bits), an optional
// 1-bit transparency mask and an optional alpha channel; their records,
// pixels and palettes, masks and transparency.
//
// Pixel layout: rows of bytesPerRow bytes (rounded up to a multiple of 4),
// row 0 the top one. 1 bit: bit 7 - (x mod 8) of byte x / 8; 4 bits: the high
// nibble of byte x / 2 for even x, the low one for odd x; 8 bits: byte x;
// 24 bits: blue, green, red at 3 x. Palette entries are 4 bytes: blue,
// green, red, and the toolkit palette slot the colour was mapped to when the
// device bitmap was made (see draw_image.h).
//
// An image owns its pixels, palette, alpha, unblended pixels and path, and
// its mask when flag WK_IMAGE_OWNS_MASK is set. A copy (WK_IMAGE_COPY) shares
// all of them but the unblended pixels with the image it copies and must be
// freed first. Every point outside the image is ignored by the setters and
// answered as "none" by the getters.
#pragma once

#include <cstdint>

#include "toolkit/core/colors.h"

namespace plat {
class Surface;
}

inline constexpr int WK_IMAGE_OWNS_MASK = 1;
inline constexpr int WK_IMAGE_COPY = 2;
inline constexpr int WK_IMAGE_MERGED = 4; // the background is in the device bitmap: drawn without mask

struct WkImage {
    int deviceBitmapMade;  // 1 once the device bitmap is made and its palette colours taken
    int paletteSize;       // 2, 16 or 256 entries for 1, 4, 8 bits; 0 for 24
    int bitsPerPixel;      // 1, 4, 8 or 24
    int width, height;     // at least 1
    int bytesPerRow;
    plat::Surface* deviceBitmap; // the display's copy of the pixels, or none
    std::uint8_t* palette;       // paletteSize entries of 4 bytes
    std::uint8_t* pixels;        // height rows of bytesPerRow bytes
    std::uint8_t* unblended;     // with an alpha channel: the pixels before blending
    std::uint8_t* alpha;         // width x height bytes, 255 opaque, 0 transparent
    char* path;                  // the file it was read from, or none
    WkImage* mask;               // 1-bit, same size: set bits opaque
    int flags;                   // WK_IMAGE_OWNS_MASK, WK_IMAGE_COPY, WK_IMAGE_MERGED
    // The palette uses the merged background holds while the device bitmap
    // shows it (palette displays only); given back with the device bitmap.
    WkColor* mergeColors;
    int mergeColorCount;
};

// Bytes of one row of an image of that width and depth; 0 for a width
// below 1, a depth other than 1, 4, 8, 24, or a row beyond the largest image.
int WkImageRowBytes(int width, int bitsPerPixel);

// Largest side and largest pixel store of an image; bigger ones are refused.
inline constexpr int WK_IMAGE_MAX_SIDE = 16384;
inline constexpr long long WK_IMAGE_MAX_BYTES = 256LL * 1024 * 1024;

WkImage* WkCreateImage(int width, int height, int bitsPerPixel);
// Fills in image (a new record when null): null for a side below 1 or above
// the limit, a depth other than 1, 4, 8, 24 or too many pixel bytes; a given
// record is then left as it was. Pixels and palette start all zero.
WkImage* WkImageInit(WkImage* image, int width, int height, int bitsPerPixel);
// A copy sharing pixels, alpha, mask and palette, with its own unblended pixels.
WkImage* WkCopyImage(WkImage* image);
// A new image of the same size and depth with its own pixels and palette.
WkImage* WkImageClone(WkImage* image);
void WkFreeImage(WkImage* image);
// Frees what the record holds, as WkFreeImage does, and leaves it all zero;
// the record itself stays the caller's.
void WkImageFreeContents(WkImage* image);
// An alpha channel and an unblended-pixels buffer, when the image has none.
void WkImageAddAlpha(WkImage* image);

void WkImageGetInfo(WkImage* image, int* width, int* height, int* bitsPerPixel);
void WkImageGetPaletteEntry(WkImage* image, int index, int* red, int* green, int* blue);
void WkImageSetPaletteEntry(WkImage* image, int index, int red, int green, int blue);

// The palette index of a pixel; -1 for 24 bits or outside the image.
int WkImageGetPixelIndex(WkImage* image, int x, int y);
void WkImageSetPixelIndex(WkImage* image, int x, int y, int index);
void WkImageGetPixelRGB(WkImage* image, int x, int y, int* red, int* green, int* blue);
// 24 bits directly; else the nearest palette entry (smallest sum of absolute
// differences, lowest index among equals).
void WkImageSetPixelRGB(WkImage* image, int x, int y, int red, int green, int blue);

// With a mask 255 (opaque) or 0; else the alpha value; -1 without either or outside.
int WkImageGetAlpha(WkImage* image, int x, int y);
void WkImageSetAlpha(WkImage* image, int x, int y, int value);

// Copies the source's indices with its top-left at x, y, skipping the
// transparent index; only for x, y from 0 to the destination's size and
// images of the same non-zero palette size; cut at the destination's edges.
void WkImagePaste(WkImage* destination, WkImage* source, int x, int y, int transparentIndex);

// New 1-bit masks (palette black, white) set wherever the pixel's index or
// colour differs from the one given; null for a null image.
WkImage* WkImageMaskFromIndex(WkImage* image, int index);
WkImage* WkImageMaskFromRGB(WkImage* image, int red, int green, int blue);
WkImage* WkImageMaskFromPixel(WkImage* image, int x, int y);

// Builds such a mask and installs it as the image's own.
void WkImageSetTransparentIndex(WkImage* image, int index);
void WkImageSetTransparentRGB(WkImage* image, int red, int green, int blue);
void WkImageSetTransparentAt(WkImage* image, int x, int y);
// Installs a mask that stays the caller's (null removes the mask).
void WkImageSetMask(WkImage* image, WkImage* mask);
