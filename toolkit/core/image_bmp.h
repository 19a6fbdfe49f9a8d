// BMP files: reading Windows bitmap files of 1, 4, 8 and 24 bits per pixel,
// uncompressed or run-length encoded (8 and 4 bits), with information
// headers of 40 bytes or more (the 108- and 124-byte headers of newer
// tools), and the little-endian byte helpers the reader stands on.
//
// A file is read whole and checked before anything is trusted: a depth,
// compression or header the reader does not know, a top-down picture, a
// side beyond the image limits, pixels said to start inside the headers,
// and a file cut short are refused with a message naming the file (in the
// log, and kept for WkImageLoadError); the caller gets null and nothing
// stays allocated. Run-length data never writes outside the picture; pixels
// it does not reach keep index 0.
#pragma once

#include <cstdint>
#include <cstdio>

#include "toolkit/core/image.h"

// The next byte (255 at the end), 2 or 4 bytes as a little-endian value.
int WkGetByte(std::FILE* file);
unsigned WkGetWord16(std::FILE* file);
std::uint32_t WkGetDword32(std::FILE* file);
void WkPutByte(std::FILE* file, int value);
void WkPutWord16(std::FILE* file, unsigned value);
void WkPutDword32(std::FILE* file, std::uint32_t value);

// WkReadBmpInto without an image.
WkImage* WkLoadBmpFile(const char* path);
// Reads the file (found through the image search path when it is not there
// and the name is not absolute) into image, or a new image when null. A
// given record must be all zero or hold a picture: that picture is freed
// (WkImageFreeContents) and replaced once the file has been read. On failure
// null, and a given record keeps what it held.
WkImage* WkReadBmpInto(WkImage* image, const char* path);

// Why the last picture file was refused ("" after a success).
const char* WkImageLoadError();
// Records a refusal: into the log and for WkImageLoadError.
void WkImageLoadFailed(const char* path, const char* why);
