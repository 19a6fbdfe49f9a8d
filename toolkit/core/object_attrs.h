// The setters and getters the application and the widgets change and read
// objects through: colours, sensitivity, focus, text, shadow, showing,
// names, fonts, sizes and positions, transparency and background images.
//
// Most setters change one field, tell the class by one message and redraw.
// Appearance setters act on the outer object (the composite as a whole)
// unless it carries WK_LAYOUT_SELF_ATTRS; a top-level window hands its
// colours, shadow and background image to its colour holder. Geometry
// setters act on the outer object and have the parent lay itself out again.
// An image installed from a file is the object's own and freed with it; an
// image given by the caller stays the caller's.
#pragma once

#include "toolkit/core/object.h"

// Keeps the colour in WkObjectSetColors and WkApplyColorsOrKeep.
inline constexpr WkColor WK_COLOR_KEEP = WkColor(0xFFFFFFFFu);
// Keeps the coordinate in WkObjectSetPosition.
inline constexpr int WK_KEEP_POSITION = -32768;
inline constexpr int WK_SHADOW_MAX_WIDTH = 12;

// Colours. The setters take their own references; the caller keeps its.
void WkObjectSetColors(WkObject* object, WkColor background, WkColor foreground);
void WkObjectSetBackgroundRGB(WkObject* object, int red, int green, int blue);
void WkObjectSetForegroundRGB(WkObject* object, int red, int green, int blue);
void WkObjectSetBackgroundColor(WkObject* object, WkColor color);
void WkObjectSetForegroundColor(WkObject* object, WkColor color);
// On the object itself, inheritance flags untouched, no redraw.
void WkApplyColors(WkObject* object, WkColor background, WkColor foreground);
// Takes over the caller's references; WK_COLOR_KEEP keeps the base colour.
void WkApplyColorsOrKeep(WkObject* object, WkColor background, WkColor foreground);
// No message, no redraw.
void WkAssignColors(WkObject* object, WkColor background, WkColor foreground);

void WkObjectEnable(WkObject* object);
void WkObjectDisable(WkObject* object);
void WkObjectSetSensitive(WkObject* object, int on);
int WkObjectIsSensitive(const WkObject* object);
void WkObjectAcceptFocus(WkObject* object);
void WkObjectRefuseFocus(WkObject* object);

void WkObjectSetText(WkObject* object, const char* text);
// Type 0..4, widths 0..12 (cut to that range).
void WkObjectSetShadow(WkObject* object, int type, int width, int outerWidth);
void WkObjectGetShadow(WkObject* object, int* type, int* width, int* outerWidth);

void WkObjectRedraw(WkObject* object);
void WkObjectShow(WkObject* object);
void WkObjectHide(WkObject* object);

void WkObjectSetUserData(WkObject* object, void* data);
void* WkObjectGetUserData(const WkObject* object);
// The class code (0 for null) and the parent (null for a top-level window).
int WkObjectGetClass(const WkObject* object);
WkObject* WkObjectGetParent(const WkObject* object);
void WkObjectSetName(WkObject* object, const char* name);
const char* WkObjectGetName(const WkObject* object);
void WkObjectSetFont(WkObject* object, int font, int relayout);
int WkObjectGetFont(const WkObject* object);
// The pointer shape over the object (0: the enclosing objects'); a
// top-level window sets its main form's. Shown at once while the object
// holds the pointer grab.
void WkObjectSetCursor(WkObject* object, int slot);

// Sizes of the outer object (the part setters: of the object itself); 0 or less ignored.
void WkObjectSetWidth(WkObject* object, int width);
void WkObjectSetHeight(WkObject* object, int height);
void WkObjectSetSize(WkObject* object, int width, int height);
void WkObjectSetPartWidth(WkObject* object, int width);
void WkObjectSetPartHeight(WkObject* object, int height);
void WkObjectSetPartSize(WkObject* object, int width, int height);
int WkObjectGetWidth(WkObject* object);
int WkObjectGetHeight(WkObject* object);
int WkObjectGetPartWidth(const WkObject* object);
int WkObjectGetPartHeight(const WkObject* object);
// A coordinate below -32767 is kept.
void WkObjectSetPosition(WkObject* object, int x, int y);
void WkObjectSetX(WkObject* object, int x);
void WkObjectSetY(WkObject* object, int y);
int WkObjectGetX(const WkObject* object);
int WkObjectGetY(const WkObject* object);
// A negative value clears that minimum.
void WkObjectSetMinimumSize(WkObject* object, int width, int height);

// 0 opaque .. 255 fully transparent; a top-level window is left alone.
void WkObjectSetTransparency(WkObject* object, int level);
void WkObjectSetTransparent(WkObject* object);
void WkObjectSetOpaque(WkObject* object);
int WkObjectGetTransparency(WkObject* object);

// Null removes the image. The image stays the caller's.
void WkObjectSetBackgroundImage(WkObject* object, WkImage* image, int mode);
// Loads and installs the file's image, owned; an empty name or an
// unreadable file changes nothing. Returns 1 when installed.
int WkObjectSetBackgroundImageFile(WkObject* object, const char* file, int mode);
WkImage* WkObjectGetBackgroundImage(WkObject* object);
int WkObjectGetBackgroundImageMode(WkObject* object);
// The background becomes the image's average colour (and follows it).
void WkObjectColorFromImage(WkObject* object);
void WkObjectSetBackgroundTransparentIndex(WkObject* object, int index);
// The same under its shorter name.
inline void WkObjectSetBgTransparentIndex(WkObject* object, int index) {
    WkObjectSetBackgroundTransparentIndex(object, index);
}
void WkObjectSetBackgroundTransparentAt(WkObject* object, int x, int y);
void WkObjectSetBackgroundTransparentRGB(WkObject* object, int red, int green, int blue);

// No new references.
WkColor WkObjectGetBackgroundColor(WkObject* object);
WkColor WkObjectGetForegroundColor(WkObject* object);
int WkObjectInheritsBackground(WkObject* object, int* percent);
int WkObjectInheritsForeground(WkObject* object);
int WkObjectTakesImageColor(WkObject* object);
// A new colour (the caller frees it): the background tinted for scroll
// bars and arrows.
WkColor WkObjectAllocTintColor(WkObject* object);
