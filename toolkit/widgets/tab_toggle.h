// The tab toggle (class code WK_CLASS_TAB_TOGGLE), the one-of-many choice:
// the tab toggles on one page of a form are a radio group, and turning one
// on turns the others off. Two looks: a label after a round indicator (the
// radio button) and the notebook page tab, drawn raised and joined to the
// page below while selected, from which the tabbed forms build their rows.
// Activation only turns a tab toggle on; it goes off only when another of
// its group is selected or the application turns it off.
//
// Built on the button core and the toggle's shared pieces; the core's
// pressed background tells the looks apart: -1 for the radio button, the
// colour of unselected tabs for a page tab. The object owns what the core's
// record owns.
#pragma once

#include "toolkit/widgets/toggle.h"

using WkTabToggleCallback = WkToggleCallback;

WkObject* WkCreateTabToggle(WkObject* parent, const char* label, WkFontSlot font);
WkObject* WkCreatePageTab(WkObject* parent, const char* label, WkFontSlot font);
// Pictures in the order normal, pressed, insensitive, hover, hover pressed,
// hover insensitive; missing ones null.
WkObject* WkCreateTabToggleImages(WkObject* parent, const char* label, WkFontSlot font, WkImage* normal,
                                  WkImage* pressed, WkImage* insensitive, WkImage* hover, WkImage* hoverPressed,
                                  WkImage* hoverInsensitive);
WkObject* WkCreateTabToggleImagesOnly(WkObject* parent, WkImage* normal, WkImage* pressed, WkImage* insensitive,
                                      WkImage* hover, WkImage* hoverPressed, WkImage* hoverInsensitive);
WkObject* WkCreateTabToggleImages3(WkObject* parent, const char* label, WkFontSlot font, WkImage* normal,
                                   WkImage* pressed, WkImage* insensitive);
WkObject* WkCreateTabToggleImages3Only(WkObject* parent, WkImage* normal, WkImage* pressed, WkImage* insensitive);
// From picture files, which then belong to the tab toggle.
WkObject* WkCreateImageTabToggle(WkObject* parent, const char* label, WkFontSlot font, const char* normal,
                                 const char* pressed, const char* insensitive, const char* hover,
                                 const char* hoverPressed, const char* hoverInsensitive);
WkObject* WkCreateImageTabToggleNoLabel(WkObject* parent, const char* normal, const char* pressed,
                                        const char* insensitive, const char* hover, const char* hoverPressed,
                                        const char* hoverInsensitive);
WkObject* WkCreateImageTabToggle3(WkObject* parent, const char* label, WkFontSlot font, const char* normal,
                                  const char* pressed, const char* insensitive);
WkObject* WkCreateImageTabToggle3NoLabel(WkObject* parent, const char* normal, const char* pressed,
                                         const char* insensitive);

int WkTabToggleHandler(WkObject* tab, WkMessage* message);
void WkTabToggleSetCallback(WkObject* tab, WkTabToggleCallback callback, void* userData);
// The radio rule: every tab toggle of the current page of the tab's form
// that is on (the tab itself included) is turned off and told 0, in child
// order; then the tab is turned on and told 1.
void WkTabToggleSelect(WkObject* tab);
// A tab toggle that is on goes off and is told 0; anything else is ignored.
void WkTabToggleTurnOff(WkObject* object);
int WkTabToggleGetState(WkObject* tab);
// 1 for a tab toggle, whatever its look.
int WkIsTabToggle(const WkObject* object);
// Only 2..10 are taken; then drawn again.
void WkTabToggleSetShadowWidth(WkObject* tab, int width);
void WkTabToggleSetImages(WkObject* tab, const char* normal, const char* pressed, const char* insensitive);
