#include "toolkit/core/image_blend.h"

#include <algorithm>

#include "toolkit/core/draw_image.h"

namespace {

int Wrap(long long value, int size) {
    long long m = value % size;
    return int(m < 0 ? m + size : m);
}

int Mix(int level, int image, int colour) { return (level * image + colour * (255 - level)) / 255; }

} // namespace

void WkImageAverageColor(WkImage* image, int* red, int* green, int* blue) {
    if (!image) return;
    int w = std::min(image->width, 64), h = std::min(image->height, 64);
    long long sum[3] = {0, 0, 0};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int r = 0, g = 0, b = 0;
            WkImageGetPixelRGB(image, x, y, &r, &g, &b);
            sum[0] += r;
            sum[1] += g;
            sum[2] += b;
        }
    *red = int(sum[0] / w / h);
    *green = int(sum[1] / w / h);
    *blue = int(sum[2] / w / h);
}

WkImage* WkImageBlendRegion(WkImage* image, int xOffset, int yOffset, int width, int height, int red, int green,
                            int blue, int level) {
    if (!image) return nullptr;
    if (width <= 0 || width > image->width) width = image->width;
    if (height <= 0 || height > image->height) height = image->height;
    level = std::clamp(level, 0, 255);
    WkImage* out = WkCreateImage(width, height, image->bitsPerPixel);
    if (!out) return nullptr;
    if (image->paletteSize) {
        for (int i = 0; i < image->paletteSize; ++i) {
            int r = 0, g = 0, b = 0;
            WkImageGetPaletteEntry(image, i, &r, &g, &b);
            WkImageSetPaletteEntry(out, i, Mix(level, r, red), Mix(level, g, green), Mix(level, b, blue));
        }
    }
    for (int y = 0; y < height; ++y) {
        int sy = Wrap((long long)yOffset + y, image->height);
        for (int x = 0; x < width; ++x) {
            int sx = Wrap((long long)xOffset + x, image->width);
            if (image->paletteSize) {
                WkImageSetPixelIndex(out, x, y, WkImageGetPixelIndex(image, sx, sy));
                continue;
            }
            int r = 0, g = 0, b = 0;
            WkImageGetPixelRGB(image, sx, sy, &r, &g, &b);
            WkImageSetPixelRGB(out, x, y, Mix(level, r, red), Mix(level, g, green), Mix(level, b, blue));
        }
    }
    return out;
}

namespace {

// A 24-bit image with alpha: each pixel its unblended colour over what
// background gives for that pixel.
template <typename Background>
void BlendAlpha(WkImage* image, Background background) {
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x) {
            const std::uint8_t* u = image->unblended + std::size_t(y) * std::size_t(image->bytesPerRow) + 3 * x;
            int a = image->alpha[std::size_t(y) * std::size_t(image->width) + std::size_t(x)];
            int br = 0, bg = 0, bb = 0;
            background(x, y, &br, &bg, &bb);
            WkImageSetPixelRGB(image, x, y, ((255 - a) * br + a * u[2]) / 255, ((255 - a) * bg + a * u[1]) / 255,
                               ((255 - a) * bb + a * u[0]) / 255);
        }
    WkImageFreeDeviceBitmap(image);
    WkImageMakeDeviceBitmap(image);
}

bool BlendsByAlpha(const WkImage* image) {
    return image->bitsPerPixel == 24 && image->alpha && image->unblended;
}

} // namespace

void WkImageBlendOverImage(WkImage* image, WkImage* background, int xOffset, int yOffset) {
    if (!image || !background) return;
    if (image->mask) {
        WkImageMergeBackgroundImage(image, background, xOffset, yOffset);
        return;
    }
    if (!BlendsByAlpha(image)) return;
    BlendAlpha(image, [&](int x, int y, int* r, int* g, int* b) {
        WkImageGetPixelRGB(background, Wrap((long long)xOffset + x, background->width),
                           Wrap((long long)yOffset + y, background->height), r, g, b);
    });
}

void WkImageBlendOverColor(WkImage* image, int red, int green, int blue) {
    if (!image) return;
    if (image->mask) {
        WkImageMergeBackgroundColor(image, red, green, blue);
        return;
    }
    if (!BlendsByAlpha(image)) return;
    BlendAlpha(image, [&](int, int, int* r, int* g, int* b) {
        *r = red;
        *g = green;
        *b = blue;
    });
}
