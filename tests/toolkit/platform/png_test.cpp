#include "toolkit/platform/png.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

std::string Out(const char* name) { return std::string(TM_TEST_OUTPUT_DIR) + "/" + name; }

TEST(Png, RoundTripKeepsEveryColour) {
    plat::Surface s(5, 3);
    for (int i = 0; i < 15; ++i) s.pixels()[i] = plat::MakeRgb(i * 17, 255 - i, i * 3);
    std::string path = Out("roundtrip.png"), error;
    ASSERT_TRUE(plat::SavePng(s, path, &error)) << error;
    plat::Surface back;
    ASSERT_TRUE(plat::LoadPng(path, back, &error)) << error;
    ASSERT_EQ(back.width(), 5);
    ASSERT_EQ(back.height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(back.colorAt(x, y), s.colorAt(x, y)) << x << "," << y;
}

TEST(Png, BadFilesGiveAnErrorNamingTheFile) {
    std::string error;
    plat::Surface back;
    EXPECT_FALSE(plat::SavePng(plat::Surface(), Out("empty.png"), &error));
    EXPECT_FALSE(plat::SavePng(plat::Surface(2, 2), Out("no-dir/x.png"), &error));
    EXPECT_NE(error.find("no-dir/x.png"), std::string::npos);

    std::string missing = Out("no-such.png");
    std::remove(missing.c_str());
    EXPECT_FALSE(plat::LoadPng(missing, back, &error));
    EXPECT_NE(error.find("no-such.png"), std::string::npos);

    std::string notPng = Out("not.png");
    std::ofstream(notPng, std::ios::binary) << "hello, this is text";
    EXPECT_FALSE(plat::LoadPng(notPng, back, &error));
    EXPECT_NE(error.find("not.png"), std::string::npos);

    // A real PNG cut short at every length must fail cleanly.
    plat::Surface s(8, 8);
    for (int i = 0; i < 64; ++i) s.pixels()[i] = plat::MakeRgb(i, i * 3, i * 7);
    std::string good = Out("good.png");
    ASSERT_TRUE(plat::SavePng(s, good));
    std::ifstream in(good, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string cut = Out("cut.png");
    for (std::size_t n = 8; n + 12 < bytes.size(); n += 5) {
        std::ofstream(cut, std::ios::binary | std::ios::trunc) << bytes.substr(0, n);
        EXPECT_FALSE(plat::LoadPng(cut, back, &error)) << n;
    }
    // A flipped byte inside the image data is caught by the checksums.
    std::string bad = bytes;
    bad[bad.size() / 2] = char(bad[bad.size() / 2] ^ 0x55);
    std::ofstream(cut, std::ios::binary | std::ios::trunc) << bad;
    EXPECT_FALSE(plat::LoadPng(cut, back, &error));
}

} // namespace
