// The labelled-button core shared by the push button (class code 4), the
// toggle button (5) and the tab toggle (6): one class record (WkButtonData),
// creation (with the eight picture constructors each class has, written
// once here), the '&' mnemonic and its Alt key, six pictures chosen by state
// and hover, the colours of the pressed look, the preferred size, drawing,
// the colour, shadow and text messages, and the setters all three share.
//
// The record is owned by the object; it owns its text, its pictures when
// they were loaded from files (style bit WK_BUTTON_OWNS_IMAGES) or the
// copies it made of the caller's pictures, the pressed background and the
// hover colour references.
#pragma once

#include "toolkit/core/fonts.h"
#include "toolkit/core/object.h"

#include <cstdint>
#include <type_traits>

struct WkImage;

// Style bits.
inline constexpr std::uint8_t WK_BUTTON_OWNS_IMAGES = 0x1;
inline constexpr std::uint8_t WK_BUTTON_FLAT = 0x2;
inline constexpr std::uint8_t WK_BUTTON_OWN_HOVER = 0x4; // the hover colour was set explicitly

// Picture slots, in record order.
enum WkButtonImageSlot {
    WK_IMAGE_NORMAL,
    WK_IMAGE_HOVER,
    WK_IMAGE_PRESSED,
    WK_IMAGE_HOVER_PRESSED,
    WK_IMAGE_INSENSITIVE,
    WK_IMAGE_HOVER_INSENSITIVE,
    WK_BUTTON_IMAGES
};

// A push button's callback: (button, its class record, user data).
using WkButtonCallback = void (*)(WkObject* button, void* record, void* userData);

struct WkButtonData {
    char* text; // without the '&' markers; null for a picture-only button
    WkImage* images[WK_BUTTON_IMAGES];
    std::uint8_t imageGap;      // picture to label, and horizontal padding
    std::uint8_t edgeMargin;    // label to edge when aligned left or right, and vertical padding
    std::uint8_t lineSpacing;
    std::uint8_t textAlignment; // 0 left, 1 right, other centred
    std::uint8_t textPosition;  // 0 left of, 1 right of, 3 above, 4 below the picture, other over it
    std::uint8_t releasedShadow, pressedShadow;
    std::uint8_t style;
    WkColor colorBasis; // the background the shadow copies were taken from
    WkColor releasedDark, releasedLight;
    WkColor pressedBackground; // 85 percent of the background; -1 in toggles (room for the indicator)
    WkColor pressLight, pressDark;
    WkColor hoverColor;
    int mnemonicKey;      // registered in the window's key table; 0 none
    int mnemonicPosition; // index of the underlined character; -1 none
    WkButtonCallback callback;
    void* userData;
    // Push buttons only.
    int repeatTimeout, keyTimeout;
    std::uint16_t repeatDelay, repeatInterval;
    // The pictures that are this object's own copies of the caller's, by slot bit.
    std::uint8_t copiedImages;
    // 1 while the background shows the pressed one (the basis keeps the
    // object's own colour meanwhile).
    std::uint8_t pressedLook;
};

inline constexpr WkColor WK_NO_PRESSED_BACKGROUND = WkColor(0xFFFFFFFFu);

inline WkButtonData* WkButtonRecord(WkObject* object) { return static_cast<WkButtonData*>(object->classRecord); }

// Pictures in the constructors' order: normal, pressed, insensitive, hover,
// hover pressed, hover insensitive (missing ones null).
struct WkButtonImages {
    WkImage* normal = nullptr;
    WkImage* pressed = nullptr;
    WkImage* insensitive = nullptr;
    WkImage* hover = nullptr;
    WkImage* hoverPressed = nullptr;
    WkImage* hoverInsensitive = nullptr;
};

// How a class makes one object of its own: its templates copied and set
// for the pictures given, then WkButtonInit. fromFiles: the pictures were
// loaded from files and belong to the object.
using WkButtonMaker = WkObject* (*)(WkObject* parent, const char* label, WkFontSlot font,
                                    const WkButtonImages& images, bool fromFiles);

// Defines, at namespace scope, the eight picture constructors that every
// class of the core has, all ending in the class's maker: from the caller's
// pictures WkCreate<Name>Images, ...ImagesOnly, ...Images3 and ...Images3Only,
// from picture files WkCreateImage<Name>, ...NoLabel, ...3 and ...3NoLabel.
// "Only" and "NoLabel" have no label; "3" has no hover pictures. The class's
// header declares them by their names; its module defines them with
// WK_BUTTON_PICTURE_CONSTRUCTORS(Name, maker); after its maker.
#define WK_BUTTON_PICTURE_CONSTRUCTORS(Name, make)                                                           \
    WkObject* WkCreate##Name##Images(WkObject* parent, const char* label, WkFontSlot font, WkImage* normal,  \
                                     WkImage* pressed, WkImage* insensitive, WkImage* hover,                 \
                                     WkImage* hoverPressed, WkImage* hoverInsensitive) {                     \
        return make(parent, label, font,                                                                     \
                    WkButtonImages{normal, pressed, insensitive, hover, hoverPressed, hoverInsensitive},     \
                    false);                                                                                  \
    }                                                                                                        \
    WkObject* WkCreate##Name##ImagesOnly(WkObject* parent, WkImage* normal, WkImage* pressed,                \
                                         WkImage* insensitive, WkImage* hover, WkImage* hoverPressed,        \
                                         WkImage* hoverInsensitive) {                                        \
        return WkCreate##Name##Images(parent, nullptr, 0, normal, pressed, insensitive, hover, hoverPressed, \
                                      hoverInsensitive);                                                     \
    }                                                                                                        \
    WkObject* WkCreate##Name##Images3(WkObject* parent, const char* label, WkFontSlot font, WkImage* normal, \
                                      WkImage* pressed, WkImage* insensitive) {                              \
        return WkCreate##Name##Images(parent, label, font, normal, pressed, insensitive, nullptr, nullptr,   \
                                      nullptr);                                                              \
    }                                                                                                        \
    WkObject* WkCreate##Name##Images3Only(WkObject* parent, WkImage* normal, WkImage* pressed,               \
                                          WkImage* insensitive) {                                            \
        return WkCreate##Name##Images(parent, nullptr, 0, normal, pressed, insensitive, nullptr, nullptr,    \
                                      nullptr);                                                              \
    }                                                                                                        \
    WkObject* WkCreateImage##Name(WkObject* parent, const char* label, WkFontSlot font, const char* normal,  \
                                  const char* pressed, const char* insensitive, const char* hover,           \
                                  const char* hoverPressed, const char* hoverInsensitive) {                  \
        return make(parent, label, font,                                                                     \
                    WkLoadButtonImages(normal, pressed, insensitive, hover, hoverPressed, hoverInsensitive), \
                    true);                                                                                   \
    }                                                                                                        \
    WkObject* WkCreateImage##Name##NoLabel(WkObject* parent, const char* normal, const char* pressed,        \
                                           const char* insensitive, const char* hover,                       \
                                           const char* hoverPressed, const char* hoverInsensitive) {         \
        return WkCreateImage##Name(parent, nullptr, 0, normal, pressed, insensitive, hover, hoverPressed,    \
                                   hoverInsensitive);                                                        \
    }                                                                                                        \
    WkObject* WkCreateImage##Name##3(WkObject* parent, const char* label, WkFontSlot font,                  \
                                     const char* normal, const char* pressed, const char* insensitive) {     \
        return WkCreateImage##Name(parent, label, font, normal, pressed, insensitive, nullptr, nullptr,      \
                                   nullptr);                                                                 \
    }                                                                                                        \
    WkObject* WkCreateImage##Name##3NoLabel(WkObject* parent, const char* normal, const char* pressed,      \
                                            const char* insensitive) {                                       \
        return WkCreateImage##Name(parent, nullptr, 0, normal, pressed, insensitive, nullptr, nullptr,       \
                                   nullptr);                                                                 \
    }                                                                                                        \
    static_assert(std::is_same_v<decltype(&make), WkButtonMaker>, "a class's maker is a WkButtonMaker")

// The class record's template the three classes start from: image gap 3,
// edge margin 2, line spacing 2, the label below a picture, no mnemonic,
// and the class's text alignment.
WkButtonData WkButtonTemplate(std::uint8_t textAlignment);
// A new object from the class's two templates, its creation ended with
// WkButtonInit; fromFiles: the pictures were loaded from files and are the
// object's own.
WkObject* WkButtonNew(WkObject* parent, const WkObject& base, WkButtonData record, const char* label,
                      WkFontSlot font, const WkButtonImages& images, bool fromFiles);
// The common end of every constructor, after the templates are copied.
void WkButtonInit(WkObject* parent, WkObject* object, const char* label, WkFontSlot font,
                  const WkButtonImages& images);
// Copies the label without markers into destination (room for the label's
// length plus one); returns the mnemonic position or -1.
int WkParseMnemonic(char* destination, const char* label);
// The Alt key code of a letter (either case), else 0.
int WkAltKeyOfLetter(int letter);
// Registers a key for the object in its window, replacing the one before.
void WkButtonSetMnemonicKey(WkObject* object, int key);
// Null for a null or empty name or an unreadable file.
WkImage* WkLoadButtonImage(const char* file);
// The six pictures of the constructors made from files, in their order.
WkButtonImages WkLoadButtonImages(const char* normal, const char* pressed, const char* insensitive,
                                  const char* hover, const char* hoverPressed, const char* hoverInsensitive);
void WkButtonPreferredSize(WkObject* object);
void WkButtonDraw(WkObject* object, const WkMessage* expose, int clearLabel, int clearFrame);
void WkButtonRefresh(WkObject* object, WkButtonData* data);
void WkButtonColorsChanged(WkObject* object, WkColor background, WkColor foreground);
void WkButtonShadowMessage(WkObject* object, WkButtonData* data, const WkMessage* message);
void WkButtonTextMessage(WkObject* object, WkButtonData* data, const WkMessage* message);
void WkButtonGetTextMessage(WkObject* object, WkButtonData* data, WkMessage* message);
void WkButtonResizeMessage(WkObject* object, int width, int height);
// The destroy work: the grab, the colour references, the text, the owned
// pictures and the mnemonic key.
void WkButtonFreeData(WkObject* object);
// 1 when the object is sensitive and its window active.
int WkButtonUsable(const WkObject* object);
// Draws again without expose message, when the hover look differs.
void WkButtonHoverRedraw(WkObject* object);
// The black focus frame and its removal (messages 14 and 15).
void WkButtonFocusIn(WkObject* object);
void WkButtonFocusOut(WkObject* object);
// The button greyed (on 0) or usable again; greyed with the focus, it
// passes the focus on to the next control.
void WkButtonSensitiveChanged(WkObject* object, int on);

// The look of a pressed or on object and the released one again: the
// shadow colours swapped, the pressed shadow width and, for a push button
// without pictures, the pressed background; then drawn with both clears.
void WkButtonArm(WkObject* object);
void WkButtonDisarm(WkObject* object);

// Setters shared by the three classes; each redraws unless said otherwise.
void WkButtonSetTextMargins(WkObject* object, int imageGap, int edgeMargin);
void WkButtonSetLineSpacing(WkObject* object, int spacing);
void WkButtonSetTextAlignment(WkObject* object, int alignment);
// Resizes (sizes kept) when shown and realized; no redraw otherwise.
void WkButtonSetTextPosition(WkObject* object, int position);
void WkButtonSetHoverColor(WkObject* object, WkColor color);
void WkButtonSetHoverColorRGB(WkObject* object, int red, int green, int blue);
void WkButtonResetHoverColor(WkObject* object);
void WkButtonSetImageFiles(WkObject* object, const char* normal, const char* pressed, const char* insensitive);
void WkButtonSetAllImageFiles(WkObject* object, const char* normal, const char* pressed, const char* insensitive,
                              const char* hover, const char* hoverPressed, const char* hoverInsensitive);
// Replace one picture and return the previous one (now the caller's); null
// and nothing changed when the pictures came from files.
WkImage* WkButtonSetNormalImage(WkObject* object, WkImage* image);
WkImage* WkButtonSetPressedImage(WkObject* object, WkImage* image);
WkImage* WkButtonSetInsensitiveImage(WkObject* object, WkImage* image);
WkImage* WkButtonSetHoverImage(WkObject* object, WkImage* image);
WkImage* WkButtonSetHoverPressedImage(WkObject* object, WkImage* image);
WkImage* WkButtonSetHoverInsensitiveImage(WkObject* object, WkImage* image);
void WkButtonSetFlat(WkObject* object, int width);
void WkButtonSetRaised(WkObject* object);
void WkButtonSetTransparentIndex(WkObject* object, int index);
void WkButtonSetTransparentAt(WkObject* object, int x, int y);
void WkButtonSetTransparentRGB(WkObject* object, int red, int green, int blue);
