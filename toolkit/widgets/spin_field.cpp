#include "toolkit/widgets/spin_field.h"

#include "toolkit/core/image.h"
#include "toolkit/core/inherit.h"
#include "toolkit/core/log.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/form.h"
#include "toolkit/widgets/form_attach.h"
#include "toolkit/widgets/push_button.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr int kRepeatDelay = 300, kRepeatInterval = 150;

int Clamp16(int value, const char* what) {
    const int clamped = std::clamp(value, int(INT16_MIN), int(INT16_MAX));
    if (clamped != value) WkLog(1, "Spin field: %s %d taken as %d", what, value, clamped);
    return clamped;
}

void Step(WkObject* field, int step) {
    WkEditData* d = WkEditRecord(field);
    if (d->step) d->step(field, step, d->stepData);
}
void Up(WkObject*, void*, void* field) { Step(static_cast<WkObject*>(field), 1); }
void Down(WkObject*, void*, void* field) { Step(static_cast<WkObject*>(field), -1); }

// A two-colour picture: index 0 the mark in the given grey, index 1 the
// transparent rest.
WkImage* TwoColour(int width, int height, int grey) {
    WkImage* image = WkCreateImage(width, height, 1);
    WkImageSetPaletteEntry(image, 0, grey, grey, grey);
    WkImageSetPaletteEntry(image, 1, 255, 255, 255);
    return image;
}

// The arrow mark for a button of that size and frame when the toolkit has
// no picture for it: a triangle as wide as twice its height less one.
WkImage* Triangle(int width, int height, int frame, bool up, int grey) {
    const int rows = std::max(2, std::min((height - 2 * frame) / 2, (width - 2 * frame + 1) / 2));
    const int across = 2 * rows - 1;
    WkImage* image = TwoColour(across, rows, grey);
    for (int y = 0; y < rows; ++y) {
        const int half = up ? y : rows - 1 - y; // the tip points away from the other arrow
        for (int x = 0; x < across; ++x)
            WkImageSetPixelIndex(image, x, y, x >= rows - 1 - half && x <= rows - 1 + half ? 0 : 1);
    }
    WkImageSetTransparentIndex(image, 1);
    return image;
}

// The insensitive look of a picture: its index-0 colour greyed.
WkImage* Greyed(WkImage* picture) {
    WkImage* grey = WkImageClone(picture);
    if (!grey) return nullptr;
    if (grey->paletteSize > 0) WkImageSetPaletteEntry(grey, 0, 128, 128, 128);
    if (picture->mask) WkImageSetTransparentIndex(grey, WkImageGetPixelIndex(picture, 0, 0));
    return grey;
}

WkObject* Arrow(WkObject* form, WkObject* field, int slot, bool up, int width, int height, int frame) {
    WkImage* stock = WkStockBitmap(slot);
    WkImage* normal = stock ? stock : Triangle(width, height, frame, up, 0);
    WkImage* insensitive = stock ? Greyed(stock) : Triangle(width, height, frame, up, 128);
    WkObject* button = WkCreateButtonImages3Only(form, normal, nullptr, insensitive);
    // The pictures made here are the button's own copies, freed with it.
    WkButtonData* d = WkButtonRecord(button);
    if (!stock) d->copiedImages |= 1 << WK_IMAGE_NORMAL;
    if (insensitive) d->copiedImages |= 1 << WK_IMAGE_INSENSITIVE;
    WkButtonSetRepeat(button, kRepeatDelay, kRepeatInterval);
    WkButtonSetCallback(button, up ? Up : Down, field);
    WkObjectRefuseFocus(button);
    WkObjectSetShadow(button, WK_SHADOW_OUT, frame, 0);
    WkObjectSetSize(button, width, height);
    return button;
}

} // namespace

WkObject* WkCreateSpinField(WkObject* parent, const char* text, int length, int visible, int font,
                            WkEditStepCallback callback, void* userData) {
    length = Clamp16(length, "length");
    visible = Clamp16(visible, "visible length");
    font = Clamp16(font, "font");
    WkInitFormClass();
    WkObject* form = WkCreateHorizontalForm(parent);
    WkFormSetSpacing(form, 0);
    WkObjectSetShadow(form, WK_SHADOW_ETCHED_OUT, 2, 1);
    WkObjectSetResizable(form, visible != length ? 1 : 0, 0);
    WkFormSetFocusFrame(form, 1);

    WkObject* field = WkCreateEditWithWidth(form, text, length, visible, font);
    field->state |= WK_STATE_PART;
    field->outer = form;
    field->colorFlags |= WK_INHERIT_BACKGROUND | WK_INHERIT_FOREGROUND;
    field->transparency = WK_TRANSPARENT;
    WkStoreColors(field, WkAddColorRef(form->background), WkAddColorRef(form->foreground));
    field->shadowType = WK_SHADOW_NONE;
    field->shadowWidth = field->outerShadowWidth = 0;
    WkEditSetStepCallback(field, callback, userData);
    WkObjectQuerySize(field);

    const int h = field->height;
    const int frame = h >= 21 ? 2 : 1;
    WkObject* up = Arrow(form, field, WK_BMP_SPIN_UP, true, h - h / 3, h / 2, frame);
    WkObject* down = Arrow(form, field, WK_BMP_SPIN_DOWN, false, h - h / 3, h / 2, frame);
    WkObjectAttachRight(up, WK_ATTACH_EDGE, 0, nullptr);
    WkObjectAttachBottom(up, WK_ATTACH_SIBLING, 0, down);
    WkObjectAttachBottom(down, WK_ATTACH_EDGE, 0, nullptr);
    WkObjectAttachLeft(down, WK_ATTACH_NONE, 0, nullptr);

    WkEditData* d = WkEditRecord(field);
    d->arrows[0] = up;
    d->arrows[1] = down;
    if (WkObjectDrawable(form)) WkResize(form, -1, -1);
    return field;
}
