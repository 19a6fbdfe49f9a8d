#include "toolkit/core/image.h"

#include <cstdlib>
#include <cstring>

#include "toolkit/core/draw_image.h"
#include "toolkit/core/memory.h"

namespace {

bool Inside(const WkImage* image, int x, int y) {
    return image && x >= 0 && y >= 0 && x < image->width && y < image->height;
}

std::uint8_t* Row(const WkImage* image, int y) {
    return image->pixels + std::size_t(y) * std::size_t(image->bytesPerRow);
}

std::size_t PixelBytes(const WkImage* image) {
    return std::size_t(image->height) * std::size_t(image->bytesPerRow);
}

void PaletteRgb(const WkImage* image, int index, int* r, int* g, int* b) {
    if (index < 0 || index >= image->paletteSize) {
        *r = *g = *b = 0;
        return;
    }
    const std::uint8_t* e = image->palette + 4 * index;
    *b = e[0];
    *g = e[1];
    *r = e[2];
}

// A 1-bit mask of the image's size, black and white, set where keep says so.
template <typename Keep>
WkImage* MakeMask(WkImage* image, Keep keep) {
    if (!image) return nullptr;
    WkImage* mask = WkCreateImage(image->width, image->height, 1);
    if (!mask) return nullptr;
    WkImageSetPaletteEntry(mask, 0, 0, 0, 0);
    WkImageSetPaletteEntry(mask, 1, 255, 255, 255);
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x) WkImageSetPixelIndex(mask, x, y, keep(x, y) ? 1 : 0);
    return mask;
}

void InstallMask(WkImage* image, WkImage* mask, bool owned) {
    if (image->mask && (image->flags & WK_IMAGE_OWNS_MASK) && image->mask != mask) WkFreeImage(image->mask);
    image->mask = mask;
    if (owned && mask)
        image->flags |= WK_IMAGE_OWNS_MASK;
    else
        image->flags &= ~WK_IMAGE_OWNS_MASK;
}

} // namespace

int WkImageRowBytes(int width, int bitsPerPixel) {
    if (width < 1 || width > WK_IMAGE_MAX_SIDE) return 0;
    long long bits;
    switch (bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 24:
        bits = (long long)width * bitsPerPixel;
        break;
    default:
        return 0;
    }
    return int((bits + 31) / 32 * 4);
}

WkImage* WkCreateImage(int width, int height, int bitsPerPixel) {
    return WkImageInit(nullptr, width, height, bitsPerPixel);
}

WkImage* WkImageInit(WkImage* image, int width, int height, int bitsPerPixel) {
    int rowBytes = WkImageRowBytes(width, bitsPerPixel);
    if (rowBytes == 0 || height < 1 || height > WK_IMAGE_MAX_SIDE) return nullptr;
    long long bytes = (long long)rowBytes * height;
    if (bytes > WK_IMAGE_MAX_BYTES) return nullptr;
    if (!image) image = static_cast<WkImage*>(WkMalloc(sizeof(WkImage)));
    std::memset(image, 0, sizeof(WkImage));
    image->bitsPerPixel = bitsPerPixel;
    image->width = width;
    image->height = height;
    image->bytesPerRow = rowBytes;
    image->paletteSize = bitsPerPixel == 24 ? 0 : 1 << bitsPerPixel;
    // Cleared, so that a file that fills only part of the picture leaves
    // index 0 (or black) behind rather than whatever the allocator had.
    image->pixels = static_cast<std::uint8_t*>(WkCalloc(std::size_t(bytes), 1));
    if (image->paletteSize) image->palette = static_cast<std::uint8_t*>(WkCalloc(std::size_t(image->paletteSize), 4));
    return image;
}

WkImage* WkCopyImage(WkImage* image) {
    if (!image) return nullptr;
    WkImage* copy = static_cast<WkImage*>(WkMalloc(sizeof(WkImage)));
    *copy = *image;
    copy->deviceBitmap = nullptr;
    copy->deviceBitmapMade = 0;
    copy->mergeColors = nullptr;
    copy->mergeColorCount = 0;
    copy->flags = (image->flags & ~(WK_IMAGE_OWNS_MASK | WK_IMAGE_MERGED)) | WK_IMAGE_COPY;
    if (image->unblended) {
        copy->unblended = static_cast<std::uint8_t*>(WkMalloc(PixelBytes(image)));
        std::memcpy(copy->unblended, image->unblended, PixelBytes(image));
    }
    return copy;
}

WkImage* WkImageClone(WkImage* image) {
    if (!image) return nullptr;
    WkImage* clone = WkCreateImage(image->width, image->height, image->bitsPerPixel);
    if (!clone) return nullptr;
    std::memcpy(clone->pixels, image->pixels, PixelBytes(image));
    if (image->paletteSize) std::memcpy(clone->palette, image->palette, std::size_t(image->paletteSize) * 4);
    return clone;
}

void WkImageFreeContents(WkImage* image) {
    if (!image) return;
    if (image->mask && (image->flags & WK_IMAGE_OWNS_MASK)) WkFreeImage(image->mask);
    WkImageFreeDeviceBitmap(image);
    if (!(image->flags & WK_IMAGE_COPY)) {
        WkFree(image->pixels);
        WkFree(image->alpha);
        WkFree(image->palette);
        WkFree(image->path);
    }
    WkFree(image->unblended);
    std::memset(image, 0, sizeof(WkImage));
}

void WkFreeImage(WkImage* image) {
    WkImageFreeContents(image);
    WkFree(image);
}

void WkImageAddAlpha(WkImage* image) {
    if (!image) return;
    if (!image->alpha) image->alpha = static_cast<std::uint8_t*>(WkCalloc(std::size_t(image->width), std::size_t(image->height)));
    if (!image->unblended) image->unblended = static_cast<std::uint8_t*>(WkCalloc(PixelBytes(image), 1));
}

void WkImageGetInfo(WkImage* image, int* width, int* height, int* bitsPerPixel) {
    if (!image) return;
    if (width) *width = image->width;
    if (height) *height = image->height;
    if (bitsPerPixel) *bitsPerPixel = image->bitsPerPixel;
}

void WkImageGetPaletteEntry(WkImage* image, int index, int* red, int* green, int* blue) {
    if (!image || index < 0 || index >= image->paletteSize) return;
    PaletteRgb(image, index, red, green, blue);
}

void WkImageSetPaletteEntry(WkImage* image, int index, int red, int green, int blue) {
    if (!image || index < 0 || index >= image->paletteSize) return;
    std::uint8_t* e = image->palette + 4 * index;
    e[0] = std::uint8_t(blue);
    e[1] = std::uint8_t(green);
    e[2] = std::uint8_t(red);
}

int WkImageGetPixelIndex(WkImage* image, int x, int y) {
    if (!Inside(image, x, y)) return -1;
    const std::uint8_t* row = Row(image, y);
    switch (image->bitsPerPixel) {
    case 1:
        return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4:
        return x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 15;
    case 8:
        return row[x];
    default:
        return -1;
    }
}

void WkImageSetPixelIndex(WkImage* image, int x, int y, int index) {
    if (!Inside(image, x, y) || index < 0 || index >= image->paletteSize) return;
    std::uint8_t* row = Row(image, y);
    switch (image->bitsPerPixel) {
    case 1: {
        std::uint8_t bit = std::uint8_t(0x80 >> (x % 8));
        row[x / 8] = index ? std::uint8_t(row[x / 8] | bit) : std::uint8_t(row[x / 8] & ~bit);
        break;
    }
    case 4:
        if (x % 2 == 0)
            row[x / 2] = std::uint8_t((row[x / 2] & 0x0F) | (index << 4));
        else
            row[x / 2] = std::uint8_t((row[x / 2] & 0xF0) | index);
        break;
    case 8:
        row[x] = std::uint8_t(index);
        break;
    default:
        break;
    }
}

void WkImageGetPixelRGB(WkImage* image, int x, int y, int* red, int* green, int* blue) {
    if (!Inside(image, x, y)) return;
    if (image->bitsPerPixel == 24) {
        const std::uint8_t* p = Row(image, y) + 3 * x;
        *blue = p[0];
        *green = p[1];
        *red = p[2];
        return;
    }
    PaletteRgb(image, WkImageGetPixelIndex(image, x, y), red, green, blue);
}

void WkImageSetPixelRGB(WkImage* image, int x, int y, int red, int green, int blue) {
    if (!Inside(image, x, y)) return;
    if (image->bitsPerPixel == 24) {
        std::uint8_t* p = Row(image, y) + 3 * x;
        p[0] = std::uint8_t(blue);
        p[1] = std::uint8_t(green);
        p[2] = std::uint8_t(red);
        return;
    }
    int best = 0, bestDistance = -1;
    for (int i = 0; i < image->paletteSize; ++i) {
        int r, g, b;
        PaletteRgb(image, i, &r, &g, &b);
        int d = std::abs(r - red) + std::abs(g - green) + std::abs(b - blue);
        if (bestDistance < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    WkImageSetPixelIndex(image, x, y, best);
}

int WkImageGetAlpha(WkImage* image, int x, int y) {
    if (!Inside(image, x, y)) return -1;
    if (image->mask) return WkImageGetPixelIndex(image->mask, x, y) > 0 ? 255 : 0;
    if (image->alpha) return image->alpha[std::size_t(y) * std::size_t(image->width) + std::size_t(x)];
    return -1;
}

void WkImageSetAlpha(WkImage* image, int x, int y, int value) {
    if (!Inside(image, x, y) || !image->alpha) return;
    image->alpha[std::size_t(y) * std::size_t(image->width) + std::size_t(x)] = std::uint8_t(value);
}

void WkImagePaste(WkImage* destination, WkImage* source, int x, int y, int transparentIndex) {
    if (!destination || !source || x < 0 || y < 0 || x > destination->width || y > destination->height) return;
    if (source->paletteSize == 0 || source->paletteSize != destination->paletteSize) return;
    for (int sy = 0; sy < source->height && y + sy < destination->height; ++sy)
        for (int sx = 0; sx < source->width && x + sx < destination->width; ++sx) {
            int index = WkImageGetPixelIndex(source, sx, sy);
            if (index != transparentIndex) WkImageSetPixelIndex(destination, x + sx, y + sy, index);
        }
}

WkImage* WkImageMaskFromIndex(WkImage* image, int index) {
    return MakeMask(image, [&](int x, int y) { return WkImageGetPixelIndex(image, x, y) != index; });
}

WkImage* WkImageMaskFromRGB(WkImage* image, int red, int green, int blue) {
    return MakeMask(image, [&](int x, int y) {
        int r = 0, g = 0, b = 0;
        WkImageGetPixelRGB(image, x, y, &r, &g, &b);
        return r != red || g != green || b != blue;
    });
}

WkImage* WkImageMaskFromPixel(WkImage* image, int x, int y) {
    if (!Inside(image, x, y)) return nullptr;
    if (image->bitsPerPixel != 24) return WkImageMaskFromIndex(image, WkImageGetPixelIndex(image, x, y));
    int r = 0, g = 0, b = 0;
    WkImageGetPixelRGB(image, x, y, &r, &g, &b);
    return WkImageMaskFromRGB(image, r, g, b);
}

void WkImageSetTransparentIndex(WkImage* image, int index) {
    if (image) InstallMask(image, WkImageMaskFromIndex(image, index), true);
}

void WkImageSetTransparentRGB(WkImage* image, int red, int green, int blue) {
    if (image) InstallMask(image, WkImageMaskFromRGB(image, red, green, blue), true);
}

void WkImageSetTransparentAt(WkImage* image, int x, int y) {
    if (Inside(image, x, y)) InstallMask(image, WkImageMaskFromPixel(image, x, y), true);
}

void WkImageSetMask(WkImage* image, WkImage* mask) {
    if (image) InstallMask(image, mask, false);
}
