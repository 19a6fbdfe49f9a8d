#include "toolkit/widgets/picture.h"

#include "toolkit/core/inherit.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/drawing_area.h"

namespace {

WkObject* MakePicture(WkObject* parent, bool parentBackground) {
    WkObject* picture = WkCreateDrawingArea(parent, WK_PICTURE_EMPTY_SIZE, WK_PICTURE_EMPTY_SIZE);
    WkObjectInheritBackground(picture, parentBackground ? 1 : 0, 100);
    return picture;
}

bool IsPicture(const WkObject* picture) { return picture && picture->classCode == WK_CLASS_DRAWING_AREA; }

} // namespace

WkObject* WkCreatePicture(WkObject* parent, const char* file) {
    WkObject* picture = MakePicture(parent, true);
    WkPictureSetImageFile(picture, file);
    return picture;
}

WkObject* WkCreatePictureFromImage(WkObject* parent, WkImage* image) {
    WkObject* picture = MakePicture(parent, false);
    WkPictureSetImage(picture, image);
    return picture;
}

void WkPictureSetImage(WkObject* picture, WkImage* image) {
    if (IsPicture(picture)) WkObjectSetBackgroundImage(picture, image, WK_IMAGE_SIZE);
}

void WkPictureSetImageFile(WkObject* picture, const char* file) {
    if (IsPicture(picture) && file && *file) WkObjectSetBackgroundImageFile(picture, file, WK_IMAGE_SIZE);
}

WkImage* WkPictureGetImage(WkObject* picture) { return IsPicture(picture) ? WkObjectGetBackgroundImage(picture) : nullptr; }
