// Colour inheritance and transparency: keeps the colour fields of an object
// consistent. A new object's first colours (from its parent or the process
// defaults), inheritance turned on and off across the levels of a
// composite, installing a background and foreground with their two shadow
// shades, filling an image's transparent pixels with what lies behind, and
// blending a partly transparent object with its surroundings.
//
// Every colour field of an object holds one reference of its own; replacing
// a colour releases the old reference, WkReleaseColors releases them all.
// The light and dark shadows are always the background shaded to 140 and 60
// percent. The base background is the colour as set or inherited; the
// background is what is drawn (the same colour for an opaque object).
//
// This module also owns the process-wide default colours: their r, g, b
// (192, 192, 192 and 0, 0, 0 unless the settings' "DefaultColors" or the
// setters change them) and the references made from them on first use.
#pragma once

#include "toolkit/core/object.h"

// The new object's colours from its parent (null: the defaults), by its
// colour flags and percents. A top-level window as parent lends the colours
// of its colour holder.
void WkInheritColors(WkObject* parent, WkObject* object);
// Turn background inheritance (at the percent) or foreground inheritance on
// or off, for the outer object (the object itself with the self-attributes
// flag) and every composite level above it; when turned on the colours are
// taken at once, message 19 is sent and the object redrawn.
void WkObjectInheritBackground(WkObject* object, int on, int percent);
void WkObjectInheritForeground(WkObject* object, int on);
// Installs a background and a foreground; the caller hands over one
// reference to each. A transparent object takes what lies behind instead.
void WkStoreColors(WkObject* object, WkColor background, WkColor foreground);
// Fills the transparent pixels of the image with what lies behind the object
// at the offset; an image without transparency is left alone.
void WkBlendImageBackground(WkObject* object, WkImage* image, int xOffset, int yOffset);
// A partly transparent object takes the look of what lies behind it: a
// blended copy of the parent's image under it, or a blended colour.
void WkBlendTranslucent(WkObject* object);
// Blends an image with transparency again; otherwise a partly transparent
// object (with force any level) is blended again.
void WkRefreshBackground(WkObject* object, int force);
// Releases the owned or derived image and every colour reference of the object.
void WkReleaseColors(WkObject* object);

// 1 when the image has a mask or an alpha channel.
int WkImageHasTransparency(const WkImage* image);

// The process defaults. Once the default references exist, a change
// releases them and allocates them again.
void WkSetDefaultBackgroundRGB(int red, int green, int blue);
void WkSetDefaultForegroundRGB(int red, int green, int blue);
void WkGetDefaultBackgroundRGB(int* red, int* green, int* blue);
void WkGetDefaultForegroundRGB(int* red, int* green, int* blue);
// A new reference to a colour of the default background's r, g, b.
WkColor WkDefaultBackgroundColor();
// Releases the default references (the next use makes them again): for a
// palette that starts over.
void WkReleaseDefaultColors();
