#include "toolkit/core/draw_image.h"

#include <cstring>

#include "toolkit/core/draw.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/print.h"
#include "toolkit/core/window_system.h"
#include "toolkit/platform/bitmap.h"

plat::Dib WkImageDib(const WkImage* image) {
    plat::Dib dib;
    dib.width = image->width;
    dib.height = -image->height; // row 0 is the top one
    dib.bitsPerPixel = image->bitsPerPixel;
    dib.palette = image->palette;
    dib.paletteSize = image->paletteSize;
    dib.pixels = image->pixels;
    dib.pixelBytes = std::size_t(image->height) * std::size_t(image->bytesPerRow);
    return dib;
}

namespace {

bool PaletteScreen() { return WkIsPaletteDisplay() && WkDisplay(); }

// A palette image on the palette display: each pixel the slot its palette
// entry was given, exactly, rather than whichever screen entry looks alike.
plat::Surface* SlotBitmap(WkImage* image, const plat::Palette* screen) {
    auto* out = new plat::Surface(image->width, image->height, screen);
    std::uint8_t* to = out->indices();
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x)
            *to++ = image->palette[4 * WkImageGetPixelIndex(image, x, y) + 3];
    return out;
}

void ReleaseMergeColors(WkColor* colors, int count) {
    for (int i = 0; i < count; ++i) WkFreeColor(colors[i]);
    WkFree(colors);
}

// Hands the image the palette uses of its new background, then gives back
// those of the one it replaces.
void HoldMergeColors(WkImage* image, WkColor* colors, int count) {
    WkColor* old = image->mergeColors;
    int oldCount = image->mergeColorCount;
    image->mergeColors = colors;
    image->mergeColorCount = count;
    ReleaseMergeColors(old, oldCount);
}

// Device bitmaps of the image and its mask; false when either is missing.
bool MergeReady(WkImage* image) {
    if (!image || !image->mask) return false;
    WkImageMakeDeviceBitmap(image);
    WkImageMakeDeviceBitmap(image->mask);
    return image->deviceBitmap && image->mask->deviceBitmap;
}

} // namespace

void WkImageMakeDeviceBitmap(WkImage* image) {
    if (!image || image->deviceBitmapMade || !image->pixels) return;
    const plat::Palette* screen = PaletteScreen() ? &WkDisplay()->palette() : nullptr;
    if (screen && image->paletteSize) {
        WkMapImageColors(image->palette, image->paletteSize);
        image->deviceBitmap = SlotBitmap(image, screen);
    } else {
        auto* out = new plat::Surface();
        if (!plat::MakeDeviceBitmap(WkImageDib(image), screen, *out)) {
            delete out;
            return;
        }
        image->deviceBitmap = out;
    }
    image->deviceBitmapMade = 1;
}

void WkImageFreeDeviceBitmap(WkImage* image) {
    if (!image) return;
    delete image->deviceBitmap;
    image->deviceBitmap = nullptr;
    image->flags &= ~WK_IMAGE_MERGED;
    ReleaseMergeColors(image->mergeColors, image->mergeColorCount);
    image->mergeColors = nullptr;
    image->mergeColorCount = 0;
    if (!image->deviceBitmapMade) return;
    image->deviceBitmapMade = 0;
    if (!WkIsPaletteDisplay()) return;
    for (int i = 0; i < image->paletteSize; ++i) WkFreeColor(image->palette[4 * i + 3]);
}

void WkNativeDrawImage(WkImage* image, int sourceX, int sourceY, int width, int height, int x, int y) {
    plat::Surface* surface = WkNativeDrawSurface();
    if (!image || !image->deviceBitmap || !surface || (!WkNativeCurrentWindow() && !WkNativePrintDevice())) return;
    if (WkNativePrintDevice()) {
        WkPrintDrawImage(image, sourceX, sourceY, width, height, x, y);
        return;
    }
    plat::Canvas canvas(*surface, WkNativeCurrentClip());
    plat::Rect from{sourceX, sourceY, sourceX + width, sourceY + height};
    if (image->mask && !(image->flags & WK_IMAGE_MERGED)) {
        WkImageMakeDeviceBitmap(image->mask);
        if (image->mask->deviceBitmap) {
            plat::BlitMasked(canvas, x, y, *image->deviceBitmap, from, *image->mask->deviceBitmap);
            return;
        }
    }
    plat::Blit(canvas, x, y, *image->deviceBitmap, from);
}

bool WkNativeDrawImageTiled(WkImage* image, int originX, int originY, int x, int y, int width, int height) {
    plat::Surface* surface = WkNativeDrawSurface();
    if (!image || !image->deviceBitmap || !surface || !WkNativeCurrentWindow() || WkNativePrintDevice()) return false;
    if (image->mask && !(image->flags & WK_IMAGE_MERGED)) return false;
    plat::Canvas canvas(*surface, WkNativeCurrentClip());
    return plat::BlitTiled(canvas, originX, originY, *image->deviceBitmap, plat::Rect{x, y, x + width, y + height});
}

void WkImageMergeBackgroundColor(WkImage* image, int red, int green, int blue) {
    if (!MergeReady(image)) return;
    plat::Surface& bitmap = *image->deviceBitmap;
    plat::Pixel pixel = plat::MakeRgb(red, green, blue);
    WkColor* held = nullptr;
    int heldCount = 0;
    if (bitmap.paletted()) {
        WkColor slot = WkAllocColor(red, green, blue);
        pixel = slot & 255;
        held = static_cast<WkColor*>(WkMalloc(sizeof(WkColor)));
        held[heldCount++] = slot;
    }
    plat::MergeColour(bitmap, *image->mask->deviceBitmap, pixel);
    HoldMergeColors(image, held, heldCount);
    image->flags |= WK_IMAGE_MERGED;
}

void WkImageMergeBackgroundImage(WkImage* image, WkImage* tile, int xOffset, int yOffset) {
    if (!tile || tile == image || !MergeReady(image)) return;
    WkImageMakeDeviceBitmap(tile);
    if (!tile->deviceBitmap) return;
    plat::Surface& bitmap = *image->deviceBitmap;
    plat::MergeTile(bitmap, *image->mask->deviceBitmap, *tile->deviceBitmap, xOffset, yOffset);
    WkColor* held = nullptr;
    int heldCount = 0;
    if (bitmap.paletted() && tile->deviceBitmap->paletted()) {
        // One use of every slot the tile painted with: the tile may be freed
        // before this image.
        bool seen[256] = {};
        const plat::Surface& t = *tile->deviceBitmap;
        const std::uint8_t* p = t.indices();
        for (std::size_t i = 0, n = std::size_t(t.width()) * std::size_t(t.height()); i < n; ++i) seen[p[i]] = true;
        held = static_cast<WkColor*>(WkMalloc(sizeof(WkColor) * 256));
        for (int s = 0; s < 256; ++s)
            if (seen[s]) held[heldCount++] = WkAddColorRef(WkColor(s));
    }
    HoldMergeColors(image, held, heldCount);
    image->flags |= WK_IMAGE_MERGED;
}
