// The labels and push buttons of the screenshot and of the X server
// comparison: one window with every look side by side.
#pragma once

#include "toolkit/core/image.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/shell.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/push_button.h"

namespace wt {

struct ButtonsWindow {
    WkObject* shell;
    WkObject *multiLine, *right, *etched;
    WkObject *normal, *focused, *pressed, *insensitive, *picture, *mnemonic;
    WkImage* image; // the caller frees it after the window
};

// A 16 x 12 picture: red with a white diagonal.
inline WkImage* MakePicture() {
    WkImage* image = WkCreateImage(16, 12, 8);
    WkImageSetPaletteEntry(image, 0, 200, 40, 40);
    WkImageSetPaletteEntry(image, 1, 255, 255, 255);
    for (int i = 0; i < 12; ++i) WkImageSetPixelIndex(image, i, i, 1);
    return image;
}

// Built and shown; the pressed and focused looks are set after the show.
inline ButtonsWindow MakeButtonsWindow() {
    ButtonsWindow w{};
    w.shell = WkCreateShell("Buttons", 0);
    WkObject* labels = WkCreateHorizontalForm(w.shell);
    w.multiLine = WkCreateLabel(labels, "Two lines\nof text", 0);
    w.right = WkCreateLabel(labels, "Right\naligned text", 0);
    WkLabelSetAlignment(w.right, 1);
    w.etched = WkCreateLabel(labels, "Etched", 0);
    WkObjectSetSensitive(w.etched, 0);
    WkObject* buttons = WkCreateHorizontalForm(w.shell);
    w.normal = WkCreateButton(buttons, "Normal", 0);
    w.focused = WkCreateButton(buttons, "Focused", 0);
    w.pressed = WkCreateButton(buttons, "Pressed", 0);
    w.insensitive = WkCreateButton(buttons, "Insensitive", 0);
    WkObjectSetSensitive(w.insensitive, 0);
    w.image = MakePicture();
    w.picture = WkCreateButtonImages3(buttons, "Picture", 0, w.image, nullptr, nullptr);
    w.mnemonic = WkCreateButton(buttons, "&Mnemonic", 0);
    WkShellRealize(w.shell);
    return w;
}

// After the window has been drawn once.
inline void PressAndFocus(ButtonsWindow& w) {
    WkButtonArm(w.pressed);
    WkObjectSetFocus(w.focused);
}

} // namespace wt
