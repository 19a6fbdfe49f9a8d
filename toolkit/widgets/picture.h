// The picture: one image shown at its natural size. A picture is a drawing
// area whose background image is the picture, in the mode in which the
// object takes the image's size; it starts 10 x 10 and stays so without an
// image.
//
// An image read from a file belongs to the picture and is freed when it is
// replaced and with the picture; an image given by the caller stays the
// caller's and is never freed by the picture. A picture made from a file
// takes its background from its parent (for what the picture leaves
// transparent), one made from an image keeps its own.
#pragma once

#include "toolkit/core/image.h"
#include "toolkit/core/object.h"

inline constexpr int WK_PICTURE_EMPTY_SIZE = 10;

// An empty or unreadable file leaves a 10 x 10 picture.
WkObject* WkCreatePicture(WkObject* parent, const char* file);
WkObject* WkCreatePictureFromImage(WkObject* parent, WkImage* image);
void WkPictureSetImage(WkObject* picture, WkImage* image);
// An empty or unreadable file leaves the picture as it is.
void WkPictureSetImageFile(WkObject* picture, const char* file);
WkImage* WkPictureGetImage(WkObject* picture);
