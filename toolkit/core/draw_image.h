// Images on the drawing device: the device bitmap an image is drawn from
// (made once, with the image's colours taken into the toolkit palette on a
// palette display and given back with it), drawing part of an image through
// its transparency mask, and merging a background colour or tiled picture
// into the transparent part of an image so that it is drawn without mask.
//
// The device bitmap is a platform surface owned by the image: true colour
// on a true-colour display, indices into the display's palette on a palette
// display (the image's palette entries record the slots they were given).
// A merged background holds one use of every palette slot it painted with
// until the device bitmap is given back, so those slots cannot change
// colour under it.
#pragma once

#include "toolkit/core/image.h"
#include "toolkit/platform/bitmap.h"

// The image's pixels and palette as a device-independent bitmap (top row
// first); it points into the image.
plat::Dib WkImageDib(const WkImage* image);

// Makes the device bitmap once: nothing for null, an image already marked or
// one without pixels.
void WkImageMakeDeviceBitmap(WkImage* image);
// Deletes it and, when marked, gives the palette uses of its entries (and of
// a merged background) back.
void WkImageFreeDeviceBitmap(WkImage* image);

// Copies part of the image's device bitmap to (x, y) of the current device:
// through the mask unless merged, so the device shows where the mask is
// clear. Nothing without device bitmap. On the print page the part goes to
// WkPrintDrawImage (print.h).
void WkNativeDrawImage(WkImage* image, int sourceX, int sourceY, int width, int height, int x, int y);

// The image's device bitmap repeated over the rectangle (x, y, width,
// height) of the current device, copies of it with their top-left corners at
// (originX, originY) and steps of its size. False, drawing nothing, where it
// must be drawn copy by copy (a mask, a palette display, the print page).
bool WkNativeDrawImageTiled(WkImage* image, int originX, int originY, int x, int y, int width, int height);

// For a masked image: the colour, or the tile repeated from (xOffset mod
// tile width, yOffset mod tile height), painted into the device bitmap where
// the mask is clear; from then on the image is drawn without mask.
void WkImageMergeBackgroundColor(WkImage* image, int red, int green, int blue);
void WkImageMergeBackgroundImage(WkImage* image, WkImage* tile, int xOffset, int yOffset);
