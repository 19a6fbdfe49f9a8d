#include "toolkit/core/image_bmp.h"

#include <cstring>
#include <string>
#include <vector>

#include "toolkit/core/image_path.h"
#include "toolkit/core/log.h"
#include "toolkit/core/memory.h"

namespace {

std::string lastError;

constexpr std::size_t kFileHeader = 14;
constexpr std::uint32_t kRle8 = 1, kRle4 = 2;

// Little-endian reads from the file's bytes; the caller checks the bounds.
std::uint32_t U16(const std::vector<std::uint8_t>& d, std::size_t at) { return d[at] | (d[at + 1] << 8); }
std::uint32_t U32(const std::vector<std::uint8_t>& d, std::size_t at) {
    return std::uint32_t(d[at]) | (std::uint32_t(d[at + 1]) << 8) | (std::uint32_t(d[at + 2]) << 16) |
           (std::uint32_t(d[at + 3]) << 24);
}

bool ReadWhole(std::FILE* file, std::vector<std::uint8_t>& out) {
    std::uint8_t buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        if (out.size() + n > std::size_t(WK_IMAGE_MAX_BYTES) + 65536) return false;
        out.insert(out.end(), buffer, buffer + n);
    }
    return !std::ferror(file);
}

// Run-length data of 8 or 4 bits, rows from the bottom up. Returns false
// for a literal run that the data cuts short.
bool DecodeRle(WkImage* image, const std::uint8_t* data, std::size_t size, bool eightBits) {
    long long x = 0, row = 0;
    auto put = [&](int index) {
        if (x < image->width && row < image->height) WkImageSetPixelIndex(image, int(x), int(image->height - 1 - row), index);
        ++x;
    };
    std::size_t at = 0;
    while (at + 1 < size && row < image->height) {
        int count = data[at], value = data[at + 1];
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i) put(eightBits ? value : (i % 2 == 0 ? value >> 4 : value & 15));
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++row;
        } else if (value == 1) { // end of bitmap
            return true;
        } else if (value == 2) { // move right and up
            if (at + 1 >= size) return false;
            x += data[at];
            row += data[at + 1];
            at += 2;
        } else { // literal pixels, padded to an even count of bytes
            std::size_t bytes = eightBits ? std::size_t(value) : std::size_t(value + 1) / 2;
            if (at + bytes > size) return false;
            for (int i = 0; i < value; ++i) {
                int b = eightBits ? data[at + std::size_t(i)] : data[at + std::size_t(i / 2)];
                put(eightBits ? b : (i % 2 == 0 ? b >> 4 : b & 15));
            }
            at += bytes + (bytes & 1);
        }
    }
    return true;
}

// A refusal frees the picture read so far.
WkImage* Refuse(WkImage* image, const char* path, const char* why) {
    WkFreeImage(image);
    WkImageLoadFailed(path, why);
    return nullptr;
}

WkImage* Parse(const char* path, const std::vector<std::uint8_t>& d) {
    const std::size_t size = d.size();
    if (size < kFileHeader + 4) return Refuse(nullptr, path, "the file ends inside its header");
    const std::uint32_t pixelOffset = U32(d, 10);
    const std::uint32_t headerSize = U32(d, 14);
    if (headerSize < 40 || headerSize > 1024) return Refuse(nullptr, path, "its information header is not of a known size");
    if (kFileHeader + headerSize > size) return Refuse(nullptr, path, "the file ends inside its header");
    // Pixels read from where the headers lie would be the headers' bytes.
    if (pixelOffset < kFileHeader + headerSize) return Refuse(nullptr, path, "its pixels would start inside its headers");
    const std::int32_t width = std::int32_t(U32(d, 18));
    const std::int32_t height = std::int32_t(U32(d, 22));
    const std::uint32_t bits = U16(d, 28);
    const std::uint32_t compression = U32(d, 30);
    const std::uint32_t imageSize = U32(d, 34);
    const std::uint32_t colorsUsed = U32(d, 46);
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24)
        return Refuse(nullptr, path, "only 1, 4, 8 and 24 bits per pixel are read");
    if (height < 0) return Refuse(nullptr, path, "top-down pictures are not read");
    if (width < 1 || height < 1) return Refuse(nullptr, path, "the picture has no pixels");
    bool rle = compression == kRle8 || compression == kRle4;
    if (compression > kRle4 || (compression == kRle8 && bits != 8) || (compression == kRle4 && bits != 4))
        return Refuse(nullptr, path, "its compression is not one that is read");

    WkImage* image = WkImageInit(nullptr, width, height, int(bits));
    if (!image) return Refuse(nullptr, path, "the picture is too large");

    // The palette follows the header, whatever its size; a file may store
    // fewer entries than the depth allows, the rest stay black.
    std::size_t entries = std::size_t(image->paletteSize);
    if (colorsUsed > 0 && colorsUsed < entries) entries = colorsUsed;
    std::size_t paletteAt = kFileHeader + headerSize;
    // Nor does a palette reach into the pixels that the offset points at.
    if ((pixelOffset - paletteAt) / 4 < entries) entries = (pixelOffset - paletteAt) / 4;
    if (paletteAt + 4 * entries > size) return Refuse(image, path, "the file ends inside its palette");
    for (std::size_t i = 0; i < entries; ++i) {
        std::memcpy(image->palette + 4 * i, &d[paletteAt + 4 * i], 3);
        image->palette[4 * i + 3] = 0;
    }

    if (pixelOffset > size) return Refuse(image, path, "the file ends before its pixels");
    const std::size_t available = size - pixelOffset;
    if (rle) {
        std::size_t length = imageSize ? imageSize : available;
        if (length > available) return Refuse(image, path, "the file ends inside its pixels");
        if (!DecodeRle(image, d.data() + pixelOffset, length, compression == kRle8))
            return Refuse(image, path, "its run-length data is cut short");
    } else {
        const std::size_t row = std::size_t(image->bytesPerRow);
        if (row * std::size_t(height) > available) return Refuse(image, path, "the file ends inside its pixels");
        for (int y = 0; y < height; ++y)
            std::memcpy(image->pixels + std::size_t(height - 1 - y) * row, &d[pixelOffset + std::size_t(y) * row], row);
    }
    std::size_t n = std::strlen(path) + 1;
    image->path = WkMallocText(n);
    std::memcpy(image->path, path, n);
    lastError.clear();
    return image;
}

} // namespace

int WkGetByte(std::FILE* file) {
    int c = std::fgetc(file);
    return c == EOF ? 255 : c;
}

unsigned WkGetWord16(std::FILE* file) {
    unsigned lo = unsigned(WkGetByte(file));
    return lo | (unsigned(WkGetByte(file)) << 8);
}

std::uint32_t WkGetDword32(std::FILE* file) {
    std::uint32_t lo = WkGetWord16(file);
    return lo | (std::uint32_t(WkGetWord16(file)) << 16);
}

void WkPutByte(std::FILE* file, int value) { std::fputc(value & 255, file); }

void WkPutWord16(std::FILE* file, unsigned value) {
    WkPutByte(file, int(value & 255));
    WkPutByte(file, int((value >> 8) & 255));
}

void WkPutDword32(std::FILE* file, std::uint32_t value) {
    WkPutWord16(file, value & 0xFFFF);
    WkPutWord16(file, value >> 16);
}

WkImage* WkLoadBmpFile(const char* path) { return WkReadBmpInto(nullptr, path); }

WkImage* WkReadBmpInto(WkImage* image, const char* path) {
    if (!path) return nullptr;
    std::FILE* file = WkOpenImageFile(path);
    if (!file) {
        WkImageLoadFailed(path, "the file cannot be opened");
        return nullptr;
    }
    std::vector<std::uint8_t> bytes;
    bool read = ReadWhole(file, bytes);
    std::fclose(file);
    if (!read) {
        WkImageLoadFailed(path, "the file cannot be read or is too large");
        return nullptr;
    }
    WkImage* picture = Parse(path, bytes);
    if (!picture || !image) return picture;
    // The given record's picture is replaced: freed first, not leaked.
    WkImageFreeContents(image);
    *image = *picture;
    WkFree(picture);
    return image;
}

const char* WkImageLoadError() { return lastError.c_str(); }

void WkImageLoadFailed(const char* path, const char* why) {
    lastError = std::string("Picture \"") + (path ? path : "") + "\" not loaded: " + why;
    WkLog(WK_LOG_ERROR, "%s", lastError.c_str());
}
