// Pictures: the size follows the image, only a picture from a file follows
// its parent's colour, and the caller's images outlive their pictures (the
// sanitizer build checks that the picture's own ones are freed).
#include "toolkit/widgets/picture.h"

#include "toolkit/core/image_path.h"
#include "toolkit/core/object_attrs.h"
#include "input_fixture.h"

namespace {

const std::string kPictures = std::string(TM_TEST_SOURCE_DIR) + "/../toolkit/data";

WkImage* Square(int side) {
    WkImage* image = WkCreateImage(side, side, 8);
    WkImageSetPaletteEntry(image, 0, 30, 90, 200);
    return image;
}

using PictureTest = wt::InputTest;

TEST_F(PictureTest, PicturesTakeTheirImagesSizeAndOnlyOwnImagesAreFreed) {
    WkPushImagePath(kPictures.c_str());
    WkObject* shell = Window();
    WkObject* form = WkCreateHorizontalForm(shell);
    WkImage *big = Square(32), *small = Square(16);
    struct Case { const char* file; WkImage* image; WkImage* replacement; const char* fileAfter; int side; };
    const Case cases[] = {{nullptr, big, nullptr, nullptr, 32},          {"danger.bmp", nullptr, nullptr, nullptr, 32},
                          {"missing.bmp", nullptr, nullptr, nullptr, 10}, {"", nullptr, nullptr, nullptr, 10},
                          {nullptr, big, small, nullptr, 16},            {"question.bmp", nullptr, small, nullptr, 16},
                          {"danger.bmp", nullptr, nullptr, "question.bmp", 32}};
    std::vector<WkObject*> pictures;
    for (const Case& c : cases) {
        WkObject* p = c.file ? WkCreatePicture(form, c.file) : WkCreatePictureFromImage(form, c.image);
        if (c.replacement) WkPictureSetImage(p, c.replacement);
        if (c.fileAfter) WkPictureSetImageFile(p, c.fileAfter), WkPictureSetImageFile(p, "missing.bmp");
        pictures.push_back(p);
    }
    Show(shell);
    WkObjectSetBackgroundRGB(form, 40, 140, 90);
    WkFlushEvents();
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        EXPECT_EQ(pictures[i]->width, cases[i].side) << i;
        EXPECT_EQ(pictures[i]->height, cases[i].side) << i;
        EXPECT_EQ(Rgb(WkObjectGetBackgroundColor(pictures[i])) == plat::MakeRgb(40, 140, 90), cases[i].file != nullptr);
    }
    EXPECT_EQ(WkPictureGetImage(pictures[0]), big);
    EXPECT_EQ(WkPictureGetImage(pictures[2]), nullptr);
    EXPECT_NE(std::string(WkPictureGetImage(pictures[6])->path).find("question.bmp"), std::string::npos);
    SavePng(shell, "pictures.png");
    WkObjectDestroy(shell);
    owned.clear();
    EXPECT_EQ(WkImageGetPixelIndex(big, 31, 31) + WkImageGetPixelIndex(small, 15, 15), 0);
    WkFreeImage(big);
    WkFreeImage(small);
    WkPopImagePath(kPictures.c_str());
}

} // namespace
