#include "toolkit/core/image_bmp.h"

#include <gtest/gtest.h>

#include <malloc.h>

#include <cstring>
#include <string>


#include "toolkit/core/bmp_writer.h"

namespace {

std::vector<std::uint32_t> Grey16() {
    std::vector<std::uint32_t> p;
    for (int i = 0; i < 16; ++i) p.push_back(std::uint32_t(i * 0x111111));
    return p;
}

struct Loaded {
    WkImage* image = nullptr;
    explicit Loaded(const std::string& path) : image(WkLoadBmpFile(path.c_str())) {}
    ~Loaded() { WkFreeImage(image); }
};

std::string Row(WkImage* image, int y) {
    std::string s;
    for (int x = 0; x < image->width; ++x) s += "0123456789ABCDEF"[WkImageGetPixelIndex(image, x, y)];
    return s;
}

BmpSpec OneBit() {
    BmpSpec s;
    s.width = 10;
    s.height = 2;
    s.bits = 1;
    s.palette = {0x000000, 0xFF0000};
    s.pixels = {0xA0, 0x40, 0, 0, 0xFF, 0xC0, 0, 0}; // bottom row, then top row
    return s;
}

BmpSpec FourBitWidthFive() {
    BmpSpec s;
    s.width = 5;
    s.height = 2;
    s.bits = 4;
    s.palette = Grey16();
    s.pixels = {0x12, 0x34, 0x50, 0xEE, 0xAB, 0xCD, 0xE0, 0xEE};
    return s;
}

BmpSpec EightBitThreeColours(std::uint32_t headerSize) {
    BmpSpec s;
    s.width = 3;
    s.height = 2;
    s.bits = 8;
    s.headerSize = headerSize;
    s.colorsUsed = 3;
    s.palette = {0x102030, 0x405060, 0x708090};
    s.pixels = {0, 1, 2, 0, 2, 1, 0, 0};
    return s;
}

BmpSpec Rle8WithDelta() {
    BmpSpec s;
    s.width = 4;
    s.height = 3;
    s.bits = 8;
    s.compression = 1;
    s.palette = std::vector<std::uint32_t>(10, 0x00FF00);
    s.pixels = {3, 5, 0, 0,          // bottom row: 5 5 5, end of line
                0, 2, 1, 1,          // one right, one up: the top row at x 1
                0, 3, 7, 8, 9, 0,    // three literal pixels, padded
                0, 1};
    return s;
}

BmpSpec Rle4() {
    BmpSpec s;
    s.width = 5;
    s.height = 2;
    s.bits = 4;
    s.compression = 2;
    s.palette = Grey16();
    s.pixels = {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 1};
    return s;
}

TEST(BmpFiles, EveryDepthLoadsWithItsPixelsTopRowFirst) {
    {
        Loaded one(WriteBmp("one.bmp", OneBit()));
        ASSERT_NE(one.image, nullptr);
        EXPECT_EQ(one.image->bytesPerRow, 4);
        EXPECT_EQ(Row(one.image, 0), "1111111111");
        EXPECT_EQ(Row(one.image, 1), "1010000001");
        int r = 0, g = 0, b = 0;
        WkImageGetPixelRGB(one.image, 0, 0, &r, &g, &b);
        EXPECT_EQ(r, 255);
        EXPECT_EQ(g + b, 0);
    }
    {
        // 3 bytes of pixels in 4 a row: each row starts where the last ended.
        Loaded four(WriteBmp("four.bmp", FourBitWidthFive()));
        ASSERT_NE(four.image, nullptr);
        EXPECT_EQ(Row(four.image, 0), "ABCDE");
        EXPECT_EQ(Row(four.image, 1), "12345");
    }
    {
        BmpSpec s;
        s.width = 2;
        s.height = 2;
        s.bits = 24;
        s.pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
        Loaded rgb(WriteBmp("rgb.bmp", s));
        ASSERT_NE(rgb.image, nullptr);
        EXPECT_EQ(rgb.image->paletteSize, 0);
        int r = 0, g = 0, b = 0;
        WkImageGetPixelRGB(rgb.image, 1, 0, &r, &g, &b);
        EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{12, 11, 10}));
        WkImageGetPixelRGB(rgb.image, 0, 1, &r, &g, &b);
        EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{3, 2, 1}));
        EXPECT_STREQ(rgb.image->path, (std::string(TM_TEST_OUTPUT_DIR) + "/rgb.bmp").c_str());
    }
}

TEST(BmpFiles, ShortPalettesAndLongHeadersAreReadWhereTheyLie) {
    for (std::uint32_t header : {40u, 108u, 124u}) {
        SCOPED_TRACE(header);
        Loaded eight(WriteBmp("eight.bmp", EightBitThreeColours(header)));
        ASSERT_NE(eight.image, nullptr);
        EXPECT_EQ(eight.image->paletteSize, 256);
        EXPECT_EQ(Row(eight.image, 0), "210");
        EXPECT_EQ(Row(eight.image, 1), "012");
        int r = -1, g = -1, b = -1;
        WkImageGetPaletteEntry(eight.image, 2, &r, &g, &b);
        EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{0x70, 0x80, 0x90}));
        // Entries the file does not hold are black, not the pixel bytes behind the palette.
        WkImageGetPaletteEntry(eight.image, 3, &r, &g, &b);
        EXPECT_EQ(r + g + b, 0);
    }
}

TEST(BmpFiles, RunLengthDataWithJumpsFillsOnlyWhatItNames) {
    {
        Loaded rle(WriteBmp("rle8.bmp", Rle8WithDelta()));
        ASSERT_NE(rle.image, nullptr);
        EXPECT_EQ(Row(rle.image, 2), "5550");
        EXPECT_EQ(Row(rle.image, 1), "0000");
        EXPECT_EQ(Row(rle.image, 0), "0789");
    }
    {
        Loaded rle(WriteBmp("rle4.bmp", Rle4()));
        ASSERT_NE(rle.image, nullptr);
        EXPECT_EQ(Row(rle.image, 1), "12121");
        EXPECT_EQ(Row(rle.image, 0), "34500");
    }
    {
        // Runs past the right edge, jumps far beyond the picture and a
        // missing end: nothing is written outside the 4 x 2 pixels.
        BmpSpec s = Rle8WithDelta();
        s.height = 2;
        s.pixels = {255, 3, 0, 2, 200, 0, 0, 0, 0, 250, 0, 0, 0, 2, 255, 255, 4, 6};
        for (int i = 0; i < 250; ++i) s.pixels.insert(s.pixels.begin() + 10, 1);
        Loaded rle(WriteBmp("rle_wild.bmp", s));
        ASSERT_NE(rle.image, nullptr);
        EXPECT_EQ(Row(rle.image, 1), "3333");
        EXPECT_EQ(Row(rle.image, 0), "1111");
    }
}

// Every cut of a good file is refused, with a message naming it.
void ExpectEveryCutRefused(const std::string& name, const BmpSpec& spec) {
    std::vector<std::uint8_t> bytes = BmpBytes(spec);
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        std::string path = WriteFile(name, std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + long(cut)));
        WkImage* image = WkLoadBmpFile(path.c_str());
        EXPECT_EQ(image, nullptr) << name << " cut at " << cut;
        WkFreeImage(image);
        EXPECT_NE(std::string(WkImageLoadError()).find(name), std::string::npos);
    }
}

TEST(BmpFiles, TruncatedFilesAreRefused) {
    ExpectEveryCutRefused("cut1.bmp", OneBit());
    ExpectEveryCutRefused("cut4.bmp", FourBitWidthFive());
    ExpectEveryCutRefused("cut8.bmp", EightBitThreeColours(124));
    ExpectEveryCutRefused("cutrle8.bmp", Rle8WithDelta());
    ExpectEveryCutRefused("cutrle4.bmp", Rle4());
}

TEST(BmpFiles, FilesThatCannotBeReadRightAreRefused) {
    struct Case {
        const char* what;
        void (*change)(BmpSpec&);
    };
    const Case cases[] = {
        {"16 bits", [](BmpSpec& s) { s.bits = 16; }},
        {"32 bits", [](BmpSpec& s) { s.bits = 32; }},
        {"top-down", [](BmpSpec& s) { s.height = -2; }},
        {"no width", [](BmpSpec& s) { s.width = 0; }},
        {"no height", [](BmpSpec& s) { s.height = 0; }},
        {"huge", [](BmpSpec& s) { s.width = 0x7FFFFFFF; s.height = 0x7FFFFFFF; }},
        {"too wide for memory", [](BmpSpec& s) { s.width = 16384; s.height = 16384; s.bits = 24; }},
        {"4-bit run length on 8 bits", [](BmpSpec& s) { s.compression = 2; }},
        {"bit fields", [](BmpSpec& s) { s.compression = 3; }},
        {"embedded PNG", [](BmpSpec& s) { s.compression = 5; }},
        {"old 12-byte header", [](BmpSpec& s) { s.headerSize = 12; }},
        {"literal run past the data", [](BmpSpec& s) { s.compression = 1; s.pixels = {0, 9, 1, 2}; }},
        {"run-length size beyond the file", [](BmpSpec& s) { s.compression = 1; s.imageSize = 9999; }},
        {"no pixel offset", [](BmpSpec& s) { s.pixelOffset = 0; }},
        {"pixels inside the headers", [](BmpSpec& s) { s.pixelOffset = 14 + 39; }},
    };
    for (const Case& c : cases) {
        BmpSpec s = EightBitThreeColours(40);
        c.change(s);
        std::string path = WriteBmp("bad.bmp", s);
        WkImage* image = WkLoadBmpFile(path.c_str());
        EXPECT_EQ(image, nullptr) << c.what;
        WkFreeImage(image);
        EXPECT_NE(std::string(WkImageLoadError()).find("bad.bmp"), std::string::npos) << c.what;
    }
    EXPECT_EQ(WkLoadBmpFile((std::string(TM_TEST_OUTPUT_DIR) + "/no such picture.bmp").c_str()), nullptr);
}

TEST(BmpFiles, AGivenRecordHasItsPictureReplacedOrKept) {
    WkImage record;
    std::memset(&record, 0, sizeof record);
    BmpSpec big = EightBitThreeColours(40);
    big.width = big.height = 256;
    big.pixels.assign(256 * 256, 1);
    const std::string good = WriteBmp("given.bmp", big);
    ASSERT_EQ(WkReadBmpInto(&record, good.c_str()), &record);
    // Reading again frees the picture it replaces.
    const std::size_t before = mallinfo2().uordblks;
    for (int i = 0; i < 4; ++i) ASSERT_EQ(WkReadBmpInto(&record, good.c_str()), &record);
    EXPECT_LT(mallinfo2().uordblks, before + 256 * 256);
    EXPECT_EQ(WkImageGetPixelIndex(&record, 255, 255), 1);

    BmpSpec cut = FourBitWidthFive();
    cut.pixels.resize(5);
    EXPECT_EQ(WkReadBmpInto(&record, WriteBmp("given_cut.bmp", cut).c_str()), nullptr);
    EXPECT_EQ(record.width, 256); // a file that cannot be read takes nothing away
    WkImageFreeContents(&record);
}

TEST(BmpFiles, ByteHelpersAreLittleEndianAndGiveFFAtTheEnd) {
    std::string path = std::string(TM_TEST_OUTPUT_DIR) + "/bytes.bin";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    WkPutDword32(f, 0x11223344u);
    WkPutWord16(f, 0xABCD);
    WkPutByte(f, 0x1FE);
    std::fclose(f);
    f = std::fopen(path.c_str(), "rb");
    EXPECT_EQ(WkGetByte(f), 0x44);
    EXPECT_EQ(WkGetWord16(f), 0x2233u);
    EXPECT_EQ(WkGetByte(f), 0x11);
    EXPECT_EQ(WkGetWord16(f), 0xABCDu);
    EXPECT_EQ(WkGetByte(f), 0xFE);
    EXPECT_EQ(WkGetByte(f), 255);
    EXPECT_EQ(WkGetDword32(f), 0xFFFFFFFFu);
    std::fclose(f);
}

} // namespace
