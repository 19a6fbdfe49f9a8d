// The toggle button (class code WK_CLASS_TOGGLE), the check box: a label
// after a small bevelled square, or a set of pictures, that is on or off.
// Every activation (a press of any pointer button, Enter, keypad Enter,
// space or its mnemonic key) flips it at once and tells the callback the
// new state. Built on the button core, whose record it shares; the core's
// pressed background is -1 here, which leaves room for the indicator.
//
// The toggle owns what the core's record owns. This module also holds the
// pieces the tab toggle shares: the state callback, turning the on look on
// and off, the creation from a template and the keys and press that move
// the focus.
#pragma once

#include "toolkit/widgets/button_core.h"

inline constexpr std::uint16_t WK_CLASS_TOGGLE_BUTTON = WK_CLASS_TOGGLE;

using WkToggleData = WkButtonData;
// Called as (toggle, 1 when just turned on or 0 when just turned off, data).
using WkToggleCallback = void (*)(WkObject* toggle, int state, void* userData);

WkObject* WkCreateToggle(WkObject* parent, const char* label, WkFontSlot font);
// Pictures in the order normal, pressed (shown while on), insensitive,
// hover, hover pressed, hover insensitive; missing ones null.
WkObject* WkCreateToggleImages(WkObject* parent, const char* label, WkFontSlot font, WkImage* normal,
                               WkImage* pressed, WkImage* insensitive, WkImage* hover, WkImage* hoverPressed,
                               WkImage* hoverInsensitive);
WkObject* WkCreateToggleImagesOnly(WkObject* parent, WkImage* normal, WkImage* pressed, WkImage* insensitive,
                                   WkImage* hover, WkImage* hoverPressed, WkImage* hoverInsensitive);
WkObject* WkCreateToggleImages3(WkObject* parent, const char* label, WkFontSlot font, WkImage* normal,
                                WkImage* pressed, WkImage* insensitive);
WkObject* WkCreateToggleImages3Only(WkObject* parent, WkImage* normal, WkImage* pressed, WkImage* insensitive);
// From picture files, which then belong to the toggle.
WkObject* WkCreateImageToggle(WkObject* parent, const char* label, WkFontSlot font, const char* normal,
                              const char* pressed, const char* insensitive, const char* hover,
                              const char* hoverPressed, const char* hoverInsensitive);
WkObject* WkCreateImageToggleNoLabel(WkObject* parent, const char* normal, const char* pressed,
                                     const char* insensitive, const char* hover, const char* hoverPressed,
                                     const char* hoverInsensitive);
WkObject* WkCreateImageToggle3(WkObject* parent, const char* label, WkFontSlot font, const char* normal,
                               const char* pressed, const char* insensitive);
WkObject* WkCreateImageToggle3NoLabel(WkObject* parent, const char* normal, const char* pressed,
                                      const char* insensitive);

int WkToggleHandler(WkObject* toggle, WkMessage* message);
void WkToggleSetCallback(WkObject* toggle, WkToggleCallback callback, void* userData);
// Turn on or off, redraw and call the callback, whatever the state was.
void WkToggleSetOn(WkObject* toggle);
void WkToggleSetOff(WkObject* toggle);
void WkToggleSetState(WkObject* toggle, int on);
int WkToggleGetState(WkObject* toggle);
// Only 2..10 are taken; then drawn again.
void WkToggleSetShadowWidth(WkObject* toggle, int width);
// Normal, pressed and insensitive pictures from files; hover pictures gone.
void WkToggleSetImages(WkObject* toggle, const char* normal, const char* pressed, const char* insensitive);
// The bevelled square in front of the label, as the state shows it; with an
// expose message inside its clip.
void WkToggleDrawIndicator(WkObject* toggle, const WkMessage* expose);

// Shared with the tab toggle.
struct WkToggleLook {
    WkButtonImages images;
    const char* label;
    WkFontSlot font;
    bool fromFiles;
    // Changes a class of its own makes to the two templates, or none.
    void (*adjust)(WkObject& base, WkButtonData& record) = nullptr;
};
// A toggle-like object of the class from the shared template (class record
// and base), given the picture look when it has a normal picture.
WkObject* WkToggleCreate(std::uint16_t classCode, WkClassHandler handler, WkObject* parent, const WkToggleLook& look);
void WkToggleStoreCallback(WkObject* object, WkToggleCallback callback, void* userData);
void WkToggleCall(WkObject* object, int state);
// The on bit with the swapped shadows and pressed width, or the released
// look; nothing drawn or called.
void WkToggleSwitch(WkObject* object, bool on);
// The keys every toggle-like object shares: arrows move the focus in the
// parent form, Tab by the switch policy (leaveAlways: Tab leaves the form
// whatever the policy). 1 when the key was taken.
int WkToggleFocusKey(WkObject* object, int key, int modifiers, bool leaveAlways);
// The key code with letters and digits below 128 in upper case.
int WkToggleKeyCode(const WkMessage* message);
// A press takes the focus for a focusable object without it, unless the
// old switch policy is on.
void WkTogglePressFocus(WkObject* object);
// Shadow message without pictures: only a width of 2..10 is taken.
bool WkToggleTakeWidth(WkObject* object, int width);
// Focus out for the plain and picture looks.
void WkToggleFocusOut(WkObject* object);
