// The image-format table and loading a picture by whatever format it has.
// Six slots of a probe (which looks at a file's first 8 bytes) and a loader;
// slot 0 is BMP ("BM"), slots 1 to 5 take formats registered at run time.
#pragma once

#include "toolkit/core/image.h"

// Answers 1 when the first 8 bytes (zero past the end of a short file) are
// of its format.
using WkImageProbe = int (*)(const unsigned char* head);
// Reads the file into the image (a new one when null); null on failure.
using WkImageLoader = WkImage* (*)(WkImage* image, const char* path);

struct WkImageFormat {
    WkImageProbe probe;
    WkImageLoader loader;
};

inline constexpr int WK_IMAGE_FORMAT_SLOTS = 6;

// The first empty slot of 1 to 5 takes the pair; a probe already there, or
// a full table, changes nothing.
void WkRegisterImageFormat(WkImageProbe probe, WkImageLoader loader);
const WkImageFormat* WkImageFormatSlot(int slot); // null outside 0 to 5

// Opens the file (through the search path), asks the probes in slot order
// and calls the first accepting loader with the image and the path as given.
WkImage* WkLoadImageInto(WkImage* image, const char* path);
WkImage* WkLoadImage(const char* path);
