#include "toolkit/core/image_path.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "toolkit/core/bmp_writer.h"
#include "toolkit/core/image_formats.h"

namespace {

namespace fs = std::filesystem;
const std::string kRoot = std::string(TM_TEST_OUTPUT_DIR) + "/image_path";

class ImagePath : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(kRoot);
        fs::create_directories(kRoot + "/home/woku/images/tiles");
        fs::create_directories(kRoot + "/kit/Images");
        setenv("HOME", (kRoot + "/home").c_str(), 1);
        setenv("WOKUDIR", (kRoot + "/kit").c_str(), 1); // read once per process
        unsetenv("WOKU_IMAGE_PATH");
        WkResetImagePath();
    }
    std::vector<std::string> Entries() {
        std::vector<std::string> out;
        for (int i = 0; i < WkImagePathCount(); ++i) out.push_back(WkImagePathEntry(i));
        return out;
    }
};

TEST_F(ImagePath, TheEnvironmentComesFirstThenEachBaseWithItsImageFolders) {
    // The host's names are UTF-8: "Zürich" comes in as the code page's.
    setenv("WOKU_IMAGE_PATH", "C:\\pics;/a:/Z\xC3\xBCrich", 1);
    std::vector<std::string> e = Entries();
    ASSERT_GE(e.size(), 7u);
    EXPECT_EQ(e[0], "C");
    EXPECT_EQ(e[1], "/pics");
    EXPECT_EQ(e[2], "/a");
    EXPECT_EQ(e[3], "/Z\xFCrich");
    EXPECT_EQ(e[4], kRoot + "/home/woku/images/tiles");
    EXPECT_EQ(e[5], kRoot + "/home/woku/images");
    EXPECT_EQ(e[6], kRoot + "/home/woku");
    // The toolkit folder's "Images" is found whatever its case, after the home's.
    auto kit = std::find(e.begin(), e.end(), kRoot + "/kit/Images");
    EXPECT_NE(kit, e.end());
    EXPECT_EQ(e.back(), kRoot + "/kit");
    EXPECT_EQ(WkImagePathBuiltinCount(), int(e.size()));
    // So is a home whose name is UTF-8 on disk.
    fs::create_directories(kRoot + "/Z\xC3\xBCrich/woku");
    setenv("HOME", (kRoot + "/Z\xC3\xBCrich").c_str(), 1);
    WkResetImagePath();
    e = Entries();
    EXPECT_NE(std::find(e.begin(), e.end(), kRoot + "/Z\xFCrich/woku"), e.end());
}

TEST_F(ImagePath, PicturesAreFoundInTheFirstFolderHoldingThem) {
    WriteFile("image_path/kit/Images/Tile1.BMP", {'B', 'M'});
    WriteFile("image_path/home/woku/tile1.bmp", {'B', 'M'});
    EXPECT_EQ(std::string(WkFindImageFolder("tile1.bmp")), kRoot + "/home/woku");
    EXPECT_EQ(std::string(WkFindImageFolder("TILE1.bmp")), kRoot + "/home/woku");
    fs::remove(kRoot + "/home/woku/tile1.bmp");
    EXPECT_EQ(std::string(WkFindImageFolder("tile1.bmp")), kRoot + "/kit/Images");
    EXPECT_EQ(WkFindImageFolder("missing.bmp"), nullptr);
    EXPECT_EQ(WkFindImageFolder("c:tile1.bmp"), nullptr);
    EXPECT_EQ(WkFindImageFolder("\\tile1.bmp"), nullptr);
    EXPECT_EQ(WkFindImageFolder("/tile1.bmp"), nullptr);
}

TEST_F(ImagePath, OnlyPushedFoldersArePoppedAndThePathHoldsThirtyTwo) {
    int builtin = WkImagePathBuiltinCount();
    WkPushImagePath("/x/one");
    WkPushImagePath("/x/two");
    WkPushImagePath("/x/one");
    WkPopImagePath("/X/ONE");
    EXPECT_EQ(WkImagePathCount(), builtin + 2);
    EXPECT_EQ(std::string(WkImagePathEntry(builtin)), "/x/one");
    EXPECT_EQ(std::string(WkImagePathEntry(builtin + 1)), "/x/two");
    WkPopImagePath((kRoot + "/kit").c_str());
    WkPopImagePath("/not/there");
    EXPECT_EQ(WkImagePathCount(), builtin + 2);
    for (int i = 0; i < 40; ++i) WkPushImagePath("/x/more");
    EXPECT_EQ(WkImagePathCount(), WK_IMAGE_PATH_SLOTS);
}

int probed = 0;
int IsTest(const unsigned char* head) { return ++probed, head[0] == 'T' && head[1] == 'X'; }
WkImage* LoadTest(WkImage*, const char*) { return WkCreateImage(3, 3, 24); }

TEST_F(ImagePath, PicturesLoadByTheFormatTheirFirstBytesShow) {
    BmpSpec s;
    s.palette = std::vector<std::uint32_t>(256, 0x123456);
    s.pixels = {7, 0, 0, 0};
    WriteBmp("image_path/home/woku/images/dot.bmp", s);
    WkImage* dot = WkLoadImage("dot.bmp");
    ASSERT_NE(dot, nullptr);
    EXPECT_EQ(WkImageGetPixelIndex(dot, 0, 0), 7);
    WkFreeImage(dot);

    WriteFile("image_path/home/woku/odd.pic", {'T', 'X'});
    EXPECT_EQ(WkLoadImage("odd.pic"), nullptr);
    WkRegisterImageFormat(IsTest, LoadTest);
    WkRegisterImageFormat(IsTest, LoadTest);
    EXPECT_EQ(WkImageFormatSlot(2)->probe, nullptr);
    WkImage* odd = WkLoadImage("odd.pic");
    ASSERT_NE(odd, nullptr);
    EXPECT_EQ(odd->width, 3);
    WkFreeImage(odd);
    EXPECT_EQ(WkLoadImage("nowhere.bmp"), nullptr);
    // A file that no probe accepts is not loaded.
    WriteFile("image_path/home/woku/unsigned.bmp", std::vector<std::uint8_t>(40, 0));
    EXPECT_EQ(WkLoadImage("unsigned.bmp"), nullptr);
}

} // namespace
