// Writes BMP files for the reader's tests with the toolkit's own byte
// writers: any header size, depth, compression, palette and pixel bytes, so
// that each test states exactly the file it means.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/core/image_bmp.h"

struct BmpSpec {
    std::int32_t width = 1, height = 1;
    int bits = 8;
    std::uint32_t compression = 0;
    std::uint32_t headerSize = 40;
    std::uint32_t colorsUsed = 0;
    std::vector<std::uint32_t> palette; // 0x00RRGGBB, written blue, green, red, 0
    std::vector<std::uint8_t> pixels;   // as stored: bottom row first, rows padded
    std::uint32_t imageSize = 0;        // 0: the pixel bytes' count
    std::optional<std::uint32_t> pixelOffset; // none: right behind the palette
};

inline std::vector<std::uint8_t> BmpBytes(const BmpSpec& s) {
    std::string path = std::string(TM_TEST_OUTPUT_DIR) + "/bmp_writer_scratch.bmp";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::uint32_t offset = 14 + s.headerSize + 4 * std::uint32_t(s.palette.size());
    std::uint32_t image = s.imageSize ? s.imageSize : std::uint32_t(s.pixels.size());
    WkPutByte(f, 'B');
    WkPutByte(f, 'M');
    WkPutDword32(f, offset + std::uint32_t(s.pixels.size()));
    WkPutWord16(f, 0);
    WkPutWord16(f, 0);
    WkPutDword32(f, s.pixelOffset.value_or(offset));
    WkPutDword32(f, s.headerSize);
    WkPutDword32(f, std::uint32_t(s.width));
    WkPutDword32(f, std::uint32_t(s.height));
    WkPutWord16(f, 1);
    WkPutWord16(f, unsigned(s.bits));
    WkPutDword32(f, s.compression);
    WkPutDword32(f, image);
    WkPutDword32(f, 2835);
    WkPutDword32(f, 2835);
    WkPutDword32(f, s.colorsUsed);
    WkPutDword32(f, 0);
    for (std::uint32_t i = 40; i < s.headerSize; ++i) WkPutByte(f, int(i * 7)); // colour-space fields: noise
    for (std::uint32_t c : s.palette) {
        WkPutByte(f, int(c & 255));
        WkPutByte(f, int((c >> 8) & 255));
        WkPutByte(f, int((c >> 16) & 255));
        WkPutByte(f, 0);
    }
    for (std::uint8_t b : s.pixels) WkPutByte(f, b);
    std::fclose(f);
    std::vector<std::uint8_t> bytes;
    f = std::fopen(path.c_str(), "rb");
    for (int c; (c = std::fgetc(f)) != EOF;) bytes.push_back(std::uint8_t(c));
    std::fclose(f);
    return bytes;
}

inline std::string WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    std::string path = std::string(TM_TEST_OUTPUT_DIR) + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
}

inline std::string WriteBmp(const std::string& name, const BmpSpec& s) { return WriteFile(name, BmpBytes(s)); }
