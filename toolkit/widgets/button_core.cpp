#include "toolkit/widgets/button_core.h"

#include "toolkit/core/draw_image.h"
#include "toolkit/core/grab.h"
#include "toolkit/core/image.h"
#include "toolkit/core/image_formats.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/mnemonics.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/object_primitives.h"
#include "toolkit/core/window_system.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/label.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// PC keyboard scan codes of the letters A to Z.
constexpr std::uint8_t kLetterScan[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                          0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                          0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};

bool IsLetter(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsLetterOrDigit(int c) { return IsLetter(c) || (c >= '0' && c <= '9'); }
int Upper(int c) { return c >= 'a' && c <= 'z' ? c - 32 : c; }

bool On(const WkObject* object) { return object->state & WK_STATE_ON; }
bool Over(const WkObject* object) { return object->state & WK_STATE_POINTER_OVER; }
bool HasPicture(const WkButtonData* d) { return d->images[WK_IMAGE_NORMAL] != nullptr; }
int LineHeight(const WkObject* object) { return WkFontHeight("A", object->font); }
// A toggle drawn with its check indicator (no pictures).
bool HasIndicator(const WkObject* object, const WkButtonData* d) {
    return d->pressedBackground == WK_NO_PRESSED_BACKGROUND && object->classCode != WK_CLASS_PUSH_BUTTON &&
           !HasPicture(d);
}

char* CopyWithoutMarkers(const char* label, int* position) {
    char* text = WkMallocText(std::strlen(label) + 1);
    *position = WkParseMnemonic(text, label);
    return text;
}

// Where the label's lines and the picture go.
struct Placement {
    int lines = 1, widest = 0;
    int labelX = 0, labelY = 0;
    int pictureX = 0, pictureY = 0;
    int pressOffset = 0, pictureOffset = 0;
};

Placement Place(WkObject* object, const WkButtonData* d) {
    Placement p;
    const bool on = On(object);
    p.pressOffset = on && (object->classCode == WK_CLASS_PUSH_BUTTON || HasPicture(d)) ? 1 : 0;
    p.pictureOffset = d->images[WK_IMAGE_PRESSED] ? 0 : p.pressOffset;
    const int frame = WkObjectBorder(object);
    const bool text = d->text != nullptr;
    if (text) {
        WkMeasureLines(d->text, object->font, &p.widest, &p.lines);
        switch (d->textAlignment) {
        case 0: p.labelX = d->edgeMargin; break;
        case 1: p.labelX = object->width - p.widest - d->edgeMargin; break;
        default: p.labelX = (object->width - p.widest) / 2; break;
        }
        p.labelX += p.pressOffset;
        p.labelY = (object->height - p.lines * LineHeight(object)) / 2 + p.pressOffset;
        if (HasIndicator(object, d)) p.labelX += 3 * LineHeight(object) / 2;
    }
    if (WkImage* picture = d->images[WK_IMAGE_NORMAL]) {
        const int iw = picture->width, ih = picture->height;
        p.pictureX = (object->width - iw) / 2 + p.pictureOffset;
        p.pictureY = (object->height - ih) / 2 + p.pictureOffset;
        if (text) switch (d->textPosition) {
            case 0:
                p.pictureX = object->width - iw - frame + p.pictureOffset;
                p.labelX = frame + p.pressOffset + d->imageGap;
                break;
            case 1:
                p.pictureX = frame + p.pictureOffset;
                p.labelX = iw + frame + p.pressOffset + d->imageGap;
                break;
            case 3:
                p.pictureY = object->height - frame - p.pictureOffset - ih;
                p.labelY = frame + p.pressOffset;
                break;
            case 4:
                p.pictureY = frame + p.pictureOffset;
                p.labelY = frame + p.pressOffset + ih;
                break;
            default: break;
            }
    }
    return p;
}

WkImage* ChoosePicture(const WkObject* object, const WkButtonData* d) {
    WkImage* const* im = d->images;
    if (!im[WK_IMAGE_NORMAL]) return nullptr;
    const bool over = Over(object);
    WkImage* chosen;
    if (!WkButtonUsable(object))
        chosen = over && im[WK_IMAGE_HOVER_INSENSITIVE] ? im[WK_IMAGE_HOVER_INSENSITIVE] : im[WK_IMAGE_INSENSITIVE];
    else if (On(object))
        chosen = over && im[WK_IMAGE_HOVER_PRESSED] ? im[WK_IMAGE_HOVER_PRESSED] : im[WK_IMAGE_PRESSED];
    else
        chosen = over ? im[WK_IMAGE_HOVER] : im[WK_IMAGE_NORMAL];
    if (!chosen) chosen = over && im[WK_IMAGE_HOVER] ? im[WK_IMAGE_HOVER] : im[WK_IMAGE_NORMAL];
    return chosen;
}

// Fills the band of the given width along the inside of the object's edges.
void FillBand(WkObject* object, int band, WkColor color) {
    const int w = object->width, h = object->height;
    WkObjectFillRect(object, 0, 0, w, band, color);
    WkObjectFillRect(object, 0, h - band, w, band, color);
    WkObjectFillRect(object, 0, band, band, h - 2 * band, color);
    WkObjectFillRect(object, w - band, band, band, h - 2 * band, color);
}

void DrawLabel(WkObject* object, const WkButtonData* d, const Placement& p) {
    if (!d->text) return;
    const bool usable = WkButtonUsable(object), on = On(object);
    const WkColor color = usable ? (Over(object) ? d->hoverColor : object->foreground)
                                 : (on ? object->lightShadow : object->darkShadow);
    const bool plain = usable || (on && p.pressOffset);
    const int h = LineHeight(object);
    const int alignment = d->textAlignment < 2 ? d->textAlignment : 2;
    int y = p.labelY;
    for (const char* line = d->text;;) {
        int n = 0;
        const char* end = WkLineEnd(line, object->font, &n);
        if (plain)
            WkObjectDrawTextN(object, p.labelX, y, p.widest, h, line, object->font, color, alignment, n);
        else
            WkObjectDrawShadowTextN(object, p.labelX, y, p.widest, h, line, object->font, 1, color,
                                    on ? object->darkShadow : object->lightShadow, alignment, n);
        const int start = static_cast<int>(line - d->text);
        if (d->mnemonicPosition >= start && d->mnemonicPosition < start + n) {
            const int k = d->mnemonicPosition - start;
            const int lineWidth = WkTextWidthN(line, object->font, n);
            const int lineX = p.labelX + (alignment == 0 ? 0 : alignment == 1 ? p.widest - lineWidth
                                                                                : (p.widest - lineWidth) / 2);
            const int x1 = lineX + WkTextWidthN(line, object->font, k);
            WkObjectDrawLine(object, x1, y + h - 1, x1 + WkCharWidth(static_cast<unsigned char>(line[k]), object->font),
                             y + h - 1, color);
        }
        y += h + d->lineSpacing;
        if (!*end) break;
        line = end + 1;
    }
}

// The released or the pressed look of the shadow colours.
void ApplyShadowPair(WkObject* object, const WkButtonData* d, bool pressed) {
    object->lightShadow = pressed ? d->pressDark : d->releasedLight;
    object->darkShadow = pressed ? d->pressLight : d->releasedDark;
}

void TakeShadowCopies(WkObject* object, WkButtonData* d) {
    d->colorBasis = object->background;
    d->releasedLight = d->pressLight = object->lightShadow;
    d->releasedDark = d->pressDark = object->darkShadow;
}

void FreePictures(WkButtonData* d) {
    for (int i = 0; i < WK_BUTTON_IMAGES; ++i) {
        if ((d->style & WK_BUTTON_OWNS_IMAGES) || (d->copiedImages & (1 << i))) WkFreeImage(d->images[i]);
        d->images[i] = nullptr;
    }
    d->copiedImages = 0;
    d->style &= static_cast<std::uint8_t>(~WK_BUTTON_OWNS_IMAGES);
}

// A picture with transparent pixels becomes a copy of the object's own, so
// that it can be blended with this object's background.
void StorePicture(WkButtonData* d, int slot, WkImage* image) {
    d->images[slot] = image;
    if (!image) return;
    if (image->bitsPerPixel > 2 && WkImageHasTransparency(image)) {
        if (WkImage* copy = WkCopyImage(image)) {
            d->images[slot] = copy;
            d->copiedImages |= static_cast<std::uint8_t>(1 << slot);
            return;
        }
    }
    WkImageMakeDeviceBitmap(image);
}

void Redraw(WkObject* object) { WkButtonDraw(object, nullptr, 1, 1); }

void ResizeKept(WkObject* object) {
    if (WkObjectDrawable(object)) WkResize(object, -1, -1);
}

WkImage* ReplacePicture(WkObject* object, int slot, WkImage* image) {
    WkButtonData* d = WkButtonRecord(object);
    if (d->style & WK_BUTTON_OWNS_IMAGES) return nullptr;
    WkImage* previous = d->images[slot];
    if (d->copiedImages & (1 << slot)) {
        // This object's copy goes; the picture it was made from stayed the
        // caller's all along.
        WkFreeImage(previous);
        previous = nullptr;
        d->copiedImages &= static_cast<std::uint8_t>(~(1 << slot));
    }
    StorePicture(d, slot, image);
    WkButtonRefresh(object, d);
    ResizeKept(object);
    return previous;
}

template <typename Fn>
void ForEachPicture(WkObject* object, Fn fn) {
    for (WkImage* image : WkButtonRecord(object)->images)
        if (image) fn(image);
    Redraw(object);
}

} // namespace

int WkButtonUsable(const WkObject* object) {
    return (object->state & (WK_STATE_SENSITIVE | WK_STATE_ACTIVE)) == (WK_STATE_SENSITIVE | WK_STATE_ACTIVE);
}

int WkParseMnemonic(char* destination, const char* label) {
    int position = -1, j = 0;
    for (int i = 0; label[i]; ++i) {
        char c = label[i];
        if (c == '&') {
            if (!label[i + 1]) break;
            c = label[++i];
            if (IsLetterOrDigit(static_cast<unsigned char>(c))) position = j;
        }
        destination[j++] = c;
    }
    destination[j] = 0;
    return position;
}

int WkAltKeyOfLetter(int letter) {
    if (!IsLetter(letter)) return 0;
    return kLetterScan[Upper(letter) - 'A'] * 256;
}

void WkButtonSetMnemonicKey(WkObject* object, int key) {
    WkButtonData* d = WkButtonRecord(object);
    if (d->mnemonicKey) WkShellRemoveMnemonic(object, d->mnemonicKey);
    int letter = 0;
    for (int i = 0; i < 26 && !letter; ++i) {
        const int alt = kLetterScan[i] * 256;
        if (key == alt || key == alt + i + 1 || (key < 128 && IsLetterOrDigit(key) && Upper(key) == 'A' + i))
            letter = 'A' + i;
    }
    if (key < 128 && IsLetterOrDigit(key)) key = Upper(key);
    d->mnemonicKey = key;
    WkShellAddMnemonic(object, key);
    if (letter && d->text)
        for (int i = 0; d->text[i]; ++i)
            if (Upper(static_cast<unsigned char>(d->text[i])) == letter) {
                d->mnemonicPosition = i;
                break;
            }
}

WkImage* WkLoadButtonImage(const char* file) {
    if (!file || !*file) return nullptr;
    WkImage* image = WkLoadImage(file);
    if (image) WkImageMakeDeviceBitmap(image);
    return image;
}

WkButtonImages WkLoadButtonImages(const char* normal, const char* pressed, const char* insensitive,
                                  const char* hover, const char* hoverPressed, const char* hoverInsensitive) {
    return WkButtonImages{WkLoadButtonImage(normal), WkLoadButtonImage(pressed), WkLoadButtonImage(insensitive),
                          WkLoadButtonImage(hover),  WkLoadButtonImage(hoverPressed),
                          WkLoadButtonImage(hoverInsensitive)};
}

WkButtonData WkButtonTemplate(std::uint8_t textAlignment) {
    WkButtonData t{};
    t.imageGap = 3;
    t.edgeMargin = 2;
    t.lineSpacing = 2;
    t.textAlignment = textAlignment;
    t.textPosition = 4;
    t.mnemonicPosition = -1;
    return t;
}

WkObject* WkButtonNew(WkObject* parent, const WkObject& base, WkButtonData record, const char* label,
                      WkFontSlot font, const WkButtonImages& images, bool fromFiles) {
    if (fromFiles) record.style |= WK_BUTTON_OWNS_IMAGES;
    WkObject* object = WkNewObject(base, &record, sizeof record);
    WkButtonInit(parent, object, label, font, images);
    // Loaded pictures are the object's own: no copies are kept of them.
    if (fromFiles) WkButtonRecord(object)->copiedImages = 0;
    return object;
}

void WkButtonInit(WkObject* parent, WkObject* object, const char* label, WkFontSlot font,
                  const WkButtonImages& images) {
    WkButtonData* d = WkButtonRecord(object);
    d->mnemonicPosition = -1;
    if (label) {
        d->text = CopyWithoutMarkers(label, &d->mnemonicPosition);
        object->font = font;
    }
    WkInheritColors(parent, object);
    if (d->pressedBackground != WK_NO_PRESSED_BACKGROUND) d->pressedBackground = WkShadeColor(object->background, 85);
    d->hoverColor = WkAddColorRef(object->foreground);
    TakeShadowCopies(object, d);
    StorePicture(d, WK_IMAGE_NORMAL, images.normal);
    StorePicture(d, WK_IMAGE_PRESSED, images.pressed);
    StorePicture(d, WK_IMAGE_INSENSITIVE, images.insensitive);
    StorePicture(d, WK_IMAGE_HOVER, images.hover);
    StorePicture(d, WK_IMAGE_HOVER_PRESSED, images.hoverPressed);
    StorePicture(d, WK_IMAGE_HOVER_INSENSITIVE, images.hoverInsensitive);
    object->outer = object;
    WkAddChild(parent, object);
    // A mnemonic on a digit is underlined only: Alt+digit composes characters.
    if (d->mnemonicPosition >= 0)
        if (const int key = WkAltKeyOfLetter(static_cast<unsigned char>(d->text[d->mnemonicPosition])))
            d->mnemonicKey = WkShellAddMnemonic(object, key);
    WkButtonRefresh(object, d);
}

void WkButtonPreferredSize(WkObject* object) {
    WkButtonData* d = WkButtonRecord(object);
    const int h = LineHeight(object), frame = WkObjectBorder(object);
    int w = 0, t = 0;
    const bool text = d->text && *d->text;
    if (text) {
        int lines = 1, widest = 0;
        WkMeasureLines(d->text, object->font, &widest, &lines);
        w = widest + 2 * d->imageGap;
        t = lines * h + (lines - 1) * d->lineSpacing + 2 * d->edgeMargin;
    }
    if (WkImage* picture = d->images[WK_IMAGE_NORMAL]) {
        if (d->textPosition == 0 || d->textPosition == 1) w += picture->width;
        if (d->textPosition == 3 || d->textPosition == 4) t += picture->height;
        w = std::max(w, picture->width);
        t = std::max(t, picture->height);
    } else if (!text) {
        t = h + 2 * d->edgeMargin;
        w = t + 2 * d->imageGap;
    }
    if (HasIndicator(object, d)) w += 3 * h / 2;
    object->width = w + 2 * frame;
    object->height = t + 2 * frame;
    // A fixed width never cuts the label: it widens to the label's measure
    // in the font in use.
    if ((object->layout & WK_LAYOUT_FIXED_WIDTH) && object->fixedWidth < object->width)
        object->fixedWidth = WkClampSize16(object->width);
}

void WkButtonDraw(WkObject* object, const WkMessage* expose, int clearLabel, int clearFrame) {
    if (!WkObjectDrawable(object)) return;
    WkButtonData* d = WkButtonRecord(object);
    const Placement p = Place(object, d);
    const int frame = WkObjectBorder(object);
    const bool transparent = object->transparency == WK_TRANSPARENT;
    const std::uint8_t shadowType = object->shadowType;
    if ((d->style & WK_BUTTON_FLAT) && !On(object) && !Over(object)) object->shadowType = WK_SHADOW_NONE;
    // What lies behind first: these repaints leave the object the target
    // again only with an expose message.
    if (clearFrame && transparent && frame > 0)
        WkObjectClearAreaEx(object, expose, 0, 0, object->width, object->height, frame);
    if (clearLabel && (transparent || !expose)) {
        if (d->text)
            WkObjectClearAreaEx(object, expose, p.labelX - 1, p.labelY - 1, p.widest + 2,
                                p.lines * LineHeight(object) + 2, -1);
        if (HasPicture(d) && !d->images[WK_IMAGE_PRESSED])
            WkObjectClearAreaEx(object, expose, p.pictureX - p.pictureOffset, p.pictureY - p.pictureOffset,
                                d->images[WK_IMAGE_NORMAL]->width, d->images[WK_IMAGE_NORMAL]->height, -1);
    }
    WkBeginDraw(object, expose);
    if (clearFrame && !transparent && frame > 0) FillBand(object, frame, object->background);
    if (HasPicture(d)) {
        if (!transparent)
            WkObjectFillRect(object, frame, frame, object->width - 2 * frame, object->height - 2 * frame,
                             object->background);
        WkObjectDrawShadow(object);
    } else {
        WkObjectDrawBackground(object);
    }
    if (WkImage* picture = ChoosePicture(object, d))
        WkObjectDrawImage(object, picture, 0, 0, picture->width - 2 * p.pictureOffset,
                          picture->height - 2 * p.pictureOffset, p.pictureX, p.pictureY);
    if (object->state & WK_STATE_FOCUS)
        WkObjectDrawFrame(object, 0, 0, object->width, object->height, WkBlackColor(),
                          object->shadowType != WK_SHADOW_NONE ? 2 : 1);
    DrawLabel(object, d, p);
    WkEndDraw();
    object->shadowType = shadowType;
}

void WkButtonRefresh(WkObject* object, WkButtonData* d) {
    const bool on = On(object);
    if (!on && object->background != d->colorBasis) TakeShadowCopies(object, d);
    ApplyShadowPair(object, d, on);
    const Placement p = Place(object, d);
    for (int i = 0; i < WK_BUTTON_IMAGES; ++i)
        if (d->images[i]) WkBlendImageBackground(object, d->images[i], p.pictureX, p.pictureY);
}

void WkButtonColorsChanged(WkObject* object, WkColor, WkColor) {
    WkButtonData* d = WkButtonRecord(object);
    // A push button held down shows its pressed background: the colour
    // store released that one's reference, the basis still holds its own.
    const bool armedLook = d->pressedLook;
    const WkColor oldBasis = d->colorBasis;
    TakeShadowCopies(object, d);
    ApplyShadowPair(object, d, On(object));
    if (!(d->style & WK_BUTTON_OWN_HOVER)) {
        WkFreeColor(d->hoverColor);
        d->hoverColor = WkAddColorRef(object->foreground);
    }
    if (d->pressedBackground != WK_NO_PRESSED_BACKGROUND) {
        WkFreeColor(armedLook ? oldBasis : d->pressedBackground);
        d->pressedBackground = WkShadeColor(object->background, 85);
        if (armedLook) object->background = d->pressedBackground;
    }
    WkButtonRefresh(object, d);
}

void WkButtonShadowMessage(WkObject* object, WkButtonData* d, const WkMessage* message) {
    d->releasedShadow = d->pressedShadow = object->shadowWidth =
        static_cast<std::uint8_t>(WkNewShadowWidth(message));
    object->outerShadowWidth = static_cast<std::uint8_t>(WkNewOuterShadowWidth(message));
    object->shadowType = static_cast<std::uint8_t>(WkNewShadowType(message));
    Redraw(object);
}

void WkButtonTextMessage(WkObject* object, WkButtonData* d, const WkMessage* message) {
    const char* label = WkNewText(message);
    if (WkObjectDrawable(object) && d->text) {
        // The old label's place, for a shorter new one.
        const Placement p = Place(object, d);
        WkObjectClearArea(object, p.labelX - 1, p.labelY - 1, p.widest + 2, p.lines * LineHeight(object) + 2);
    }
    // Copied before the old text goes: the new one may be the old one.
    int position = -1;
    char* text = label ? CopyWithoutMarkers(label, &position) : nullptr;
    WkFree(d->text);
    d->text = text;
    d->mnemonicPosition = position;
    if (d->mnemonicKey) WkShellRemoveMnemonic(object, d->mnemonicKey);
    d->mnemonicKey = 0;
    if (d->mnemonicPosition >= 0)
        if (const int key = WkAltKeyOfLetter(static_cast<unsigned char>(d->text[d->mnemonicPosition])))
            d->mnemonicKey = WkShellAddMnemonic(object, key);
    WkButtonDraw(object, nullptr, 1, 0);
}

void WkButtonGetTextMessage(WkObject*, WkButtonData* d, WkMessage* message) {
    // A literal '&' is doubled so that the text set back reads the same.
    std::string label;
    if (d->text)
        for (int i = 0; d->text[i]; ++i) {
            if (i == d->mnemonicPosition || d->text[i] == '&') label += '&';
            label += d->text[i];
        }
    WkMessageReturnText(message, label.c_str());
}

void WkButtonResizeMessage(WkObject* object, int width, int height) {
    object->width = width;
    object->height = height;
}

void WkButtonFreeData(WkObject* object) {
    WkButtonData* d = WkButtonRecord(object);
    if (WkGetGrab() == object) WkPopGrab(object);
    if (d->pressedLook) object->background = d->colorBasis;
    d->pressedLook = 0;
    if (d->pressedBackground != WK_NO_PRESSED_BACKGROUND) WkFreeColor(d->pressedBackground);
    WkFreeColor(d->hoverColor);
    d->pressedBackground = d->hoverColor = 0;
    WkFree(d->text);
    d->text = nullptr;
    FreePictures(d);
    if (d->mnemonicKey) WkShellRemoveMnemonic(object, d->mnemonicKey);
    d->mnemonicKey = 0;
}

void WkButtonArm(WkObject* object) {
    WkButtonData* d = WkButtonRecord(object);
    object->state |= WK_STATE_ON;
    if (object->shadowType != WK_SHADOW_NONE) {
        if (!HasPicture(d) && d->pressedBackground != WK_NO_PRESSED_BACKGROUND && !d->pressedLook) {
            object->background = d->pressedBackground;
            d->pressedLook = 1;
        }
        ApplyShadowPair(object, d, true);
        object->shadowWidth = d->pressedShadow;
        WkObjectClearFrame(object, 0, 0, object->width, object->height, d->releasedShadow + object->outerShadowWidth);
    }
    WkButtonDraw(object, nullptr, 1, 1);
}

void WkButtonDisarm(WkObject* object) {
    WkButtonData* d = WkButtonRecord(object);
    object->state &= static_cast<std::uint16_t>(~WK_STATE_ON);
    if (d->pressedLook) object->background = d->colorBasis;
    d->pressedLook = 0;
    ApplyShadowPair(object, d, false);
    object->shadowWidth = d->releasedShadow;
    WkButtonDraw(object, nullptr, 1, 1);
}

void WkButtonHoverRedraw(WkObject* object) {
    WkButtonData* d = WkButtonRecord(object);
    if (!(d->style & WK_BUTTON_FLAT) && !d->images[WK_IMAGE_HOVER] && d->hoverColor == object->foreground) return;
    WkButtonDraw(object, nullptr, 0, 1);
}

void WkButtonFocusIn(WkObject* object) {
    object->state |= WK_STATE_FOCUS;
    if (WkObjectDrawable(object))
        WkObjectDrawFrame(object, 0, 0, object->width, object->height, WkBlackColor(),
                          object->shadowWidth < 2 ? 1 : 2);
}

void WkButtonSensitiveChanged(WkObject* object, int on) {
    // A greyed button takes no key: the focus it held goes on as by Tab.
    if (!on && (object->state & WK_STATE_FOCUS)) WkFocusNext(object->parent);
}

void WkButtonFocusOut(WkObject* object) {
    object->state &= static_cast<std::uint16_t>(~WK_STATE_FOCUS);
    if (!WkObjectDrawable(object)) return;
    if (WkObjectBorder(object) < 2) WkObjectClearFrame(object, 0, 0, object->width, object->height, 2);
    WkObjectDrawShadow(object);
}

void WkButtonSetTextMargins(WkObject* object, int imageGap, int edgeMargin) {
    WkButtonData* d = WkButtonRecord(object);
    d->imageGap = static_cast<std::uint8_t>(imageGap);
    d->edgeMargin = static_cast<std::uint8_t>(edgeMargin);
    Redraw(object);
}

void WkButtonSetLineSpacing(WkObject* object, int spacing) {
    WkButtonRecord(object)->lineSpacing = static_cast<std::uint8_t>(spacing);
    Redraw(object);
}

void WkButtonSetTextAlignment(WkObject* object, int alignment) {
    WkButtonRecord(object)->textAlignment = static_cast<std::uint8_t>(alignment);
    Redraw(object);
}

void WkButtonSetTextPosition(WkObject* object, int position) {
    WkButtonRecord(object)->textPosition = static_cast<std::uint8_t>(position);
    ResizeKept(object);
}

void WkButtonSetHoverColor(WkObject* object, WkColor color) {
    WkButtonData* d = WkButtonRecord(object);
    const WkColor old = d->hoverColor;
    d->hoverColor = WkAddColorRef(color);
    WkFreeColor(old);
    d->style |= WK_BUTTON_OWN_HOVER;
    Redraw(object);
}

void WkButtonSetHoverColorRGB(WkObject* object, int red, int green, int blue) {
    const WkColor color = WkAllocColor(red, green, blue);
    WkButtonSetHoverColor(object, color);
    WkFreeColor(color);
}

void WkButtonResetHoverColor(WkObject* object) {
    WkButtonData* d = WkButtonRecord(object);
    WkFreeColor(d->hoverColor);
    d->hoverColor = WkAddColorRef(object->foreground);
    d->style &= static_cast<std::uint8_t>(~WK_BUTTON_OWN_HOVER);
    Redraw(object);
}

void WkButtonSetImageFiles(WkObject* object, const char* normal, const char* pressed, const char* insensitive) {
    WkButtonSetAllImageFiles(object, normal, pressed, insensitive, nullptr, nullptr, nullptr);
}

void WkButtonSetAllImageFiles(WkObject* object, const char* normal, const char* pressed, const char* insensitive,
                              const char* hover, const char* hoverPressed, const char* hoverInsensitive) {
    WkButtonData* d = WkButtonRecord(object);
    const bool had = HasPicture(d);
    FreePictures(d);
    d->images[WK_IMAGE_NORMAL] = WkLoadButtonImage(normal);
    d->images[WK_IMAGE_PRESSED] = WkLoadButtonImage(pressed);
    d->images[WK_IMAGE_INSENSITIVE] = WkLoadButtonImage(insensitive);
    d->images[WK_IMAGE_HOVER] = WkLoadButtonImage(hover);
    d->images[WK_IMAGE_HOVER_PRESSED] = WkLoadButtonImage(hoverPressed);
    d->images[WK_IMAGE_HOVER_INSENSITIVE] = WkLoadButtonImage(hoverInsensitive);
    d->style |= WK_BUTTON_OWNS_IMAGES;
    if (HasPicture(d) && !had) {
        object->shadowWidth = d->releasedShadow = d->pressedShadow = 2;
        object->layout &= static_cast<std::uint16_t>(~WK_LAYOUT_GROW_X);
        object->outerShadowWidth = 1;
        object->shadowType = WK_SHADOW_ETCHED_IN;
        object->transparency = 0;
    } else if (!HasPicture(d) && had) {
        if (object->classCode == WK_CLASS_PUSH_BUTTON) {
            d->pressedShadow = 1;
            object->shadowWidth = d->releasedShadow = 3;
            object->outerShadowWidth = 1;
            object->shadowType = WK_SHADOW_ETCHED_IN;
        } else {
            d->releasedShadow = d->pressedShadow = 0;
            object->layout |= WK_LAYOUT_GROW_X;
            object->shadowType = WK_SHADOW_NONE;
            object->shadowWidth = object->outerShadowWidth = 0;
            object->transparency = WK_TRANSPARENT;
        }
    }
    WkButtonRefresh(object, d);
    WkButtonDraw(object, nullptr, 0, 0);
}

WkImage* WkButtonSetNormalImage(WkObject* o, WkImage* image) { return ReplacePicture(o, WK_IMAGE_NORMAL, image); }
WkImage* WkButtonSetPressedImage(WkObject* o, WkImage* image) { return ReplacePicture(o, WK_IMAGE_PRESSED, image); }
WkImage* WkButtonSetInsensitiveImage(WkObject* o, WkImage* image) {
    return ReplacePicture(o, WK_IMAGE_INSENSITIVE, image);
}
WkImage* WkButtonSetHoverImage(WkObject* o, WkImage* image) { return ReplacePicture(o, WK_IMAGE_HOVER, image); }
WkImage* WkButtonSetHoverPressedImage(WkObject* o, WkImage* image) {
    return ReplacePicture(o, WK_IMAGE_HOVER_PRESSED, image);
}
WkImage* WkButtonSetHoverInsensitiveImage(WkObject* o, WkImage* image) {
    return ReplacePicture(o, WK_IMAGE_HOVER_INSENSITIVE, image);
}

void WkButtonSetFlat(WkObject* object, int width) {
    WkButtonData* d = WkButtonRecord(object);
    width = std::min(width, 6);
    d->style |= WK_BUTTON_FLAT;
    d->releasedShadow = d->pressedShadow = static_cast<std::uint8_t>(width);
    object->layout &= static_cast<std::uint16_t>(~WK_LAYOUT_FOCUSABLE);
    object->shadowType = WK_SHADOW_OUT;
    object->shadowWidth = static_cast<std::uint8_t>(width);
    object->outerShadowWidth = 0;
    Redraw(object);
}

void WkButtonSetRaised(WkObject* object) {
    WkButtonData* d = WkButtonRecord(object);
    d->style &= static_cast<std::uint8_t>(~WK_BUTTON_FLAT);
    d->releasedShadow = d->pressedShadow = 2;
    object->layout |= WK_LAYOUT_FOCUSABLE;
    object->shadowType = WK_SHADOW_ETCHED_IN;
    object->shadowWidth = 2;
    object->outerShadowWidth = 1;
    Redraw(object);
}

void WkButtonSetTransparentIndex(WkObject* object, int index) {
    ForEachPicture(object, [&](WkImage* image) { WkImageSetTransparentIndex(image, index); });
}

void WkButtonSetTransparentAt(WkObject* object, int x, int y) {
    ForEachPicture(object, [&](WkImage* image) { WkImageSetTransparentAt(image, x, y); });
}

void WkButtonSetTransparentRGB(WkObject* object, int red, int green, int blue) {
    ForEachPicture(object, [&](WkImage* image) { WkImageSetTransparentRGB(image, red, green, blue); });
}
