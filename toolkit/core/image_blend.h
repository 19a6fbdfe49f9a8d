// Blending images with colours and with other images: the average colour of
// a picture, a tinted region of a picture, and an image laid over a
// background picture or colour (through its mask or its alpha channel).
// Forms and buttons use these to suit their colours and transparency to a
// background image.
#pragma once

#include "toolkit/core/image.h"

// The average colour of the top-left area of at most 64 x 64 pixels (each
// sum divided by the area's width, then by its height).
void WkImageAverageColor(WkImage* image, int* red, int* green, int* blue);

// A new image of the image's depth, width x height (0 or more than the
// image's: the image's), whose pixel x, y is the image's pixel
// ((xOffset + x) mod width, (yOffset + y) mod height) blended with the
// colour at level (255 keeps the image, 0 gives the colour). Palette images
// blend their palette and copy the indices.
WkImage* WkImageBlendRegion(WkImage* image, int xOffset, int yOffset, int width, int height, int red, int green,
                            int blue, int level);

// A masked image takes the background into its device bitmap; a 24-bit image
// with an alpha channel blends its unblended pixels over the background
// (tiled from the offsets) and makes its device bitmap again. Other images
// stay as they are.
void WkImageBlendOverImage(WkImage* image, WkImage* background, int xOffset, int yOffset);
void WkImageBlendOverColor(WkImage* image, int red, int green, int blue);
