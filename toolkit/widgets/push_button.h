// The push button (class code WK_CLASS_BUTTON): a labelled button on the
// shared button core that calls its callback once per activation (a click,
// Enter, space or its mnemonic key) or, when set to repeat, again and again
// while it is held down.
//
// A pointer press arms the button and takes the pointer grab; leaving while
// grabbed disarms it, entering again re-arms it; the release activates only
// an armed button. A key arms it for 160 ms and activates it at the end. The
// button owns its two pending timeouts (repeat and key) and cancels them
// when destroyed.
#pragma once

#include "toolkit/widgets/button_core.h"

inline constexpr std::uint16_t WK_CLASS_BUTTON = WK_CLASS_PUSH_BUTTON;
// How long a key keeps the button pressed before it acts.
inline constexpr int WK_BUTTON_KEY_MS = 160;

WkObject* WkCreateButton(WkObject* parent, const char* label, WkFontSlot font);
// Pictures in the order normal, pressed, insensitive, hover, hover pressed,
// hover insensitive; missing ones null.
WkObject* WkCreateButtonImages(WkObject* parent, const char* label, WkFontSlot font, WkImage* normal,
                               WkImage* pressed, WkImage* insensitive, WkImage* hover, WkImage* hoverPressed,
                               WkImage* hoverInsensitive);
WkObject* WkCreateButtonImagesOnly(WkObject* parent, WkImage* normal, WkImage* pressed, WkImage* insensitive,
                                   WkImage* hover, WkImage* hoverPressed, WkImage* hoverInsensitive);
WkObject* WkCreateButtonImages3(WkObject* parent, const char* label, WkFontSlot font, WkImage* normal,
                                WkImage* pressed, WkImage* insensitive);
WkObject* WkCreateButtonImages3Only(WkObject* parent, WkImage* normal, WkImage* pressed, WkImage* insensitive);
// From picture files, which then belong to the button.
WkObject* WkCreateImageButton(WkObject* parent, const char* label, WkFontSlot font, const char* normal,
                              const char* pressed, const char* insensitive, const char* hover,
                              const char* hoverPressed, const char* hoverInsensitive);
WkObject* WkCreateImageButtonNoLabel(WkObject* parent, const char* normal, const char* pressed,
                                     const char* insensitive, const char* hover, const char* hoverPressed,
                                     const char* hoverInsensitive);
WkObject* WkCreateImageButton3(WkObject* parent, const char* label, WkFontSlot font, const char* normal,
                               const char* pressed, const char* insensitive);
WkObject* WkCreateImageButton3NoLabel(WkObject* parent, const char* normal, const char* pressed,
                                      const char* insensitive);

int WkButtonHandler(WkObject* button, WkMessage* message);
void WkButtonSetCallback(WkObject* button, WkButtonCallback callback, void* userData);
// Both values must lie in 20..2000 ms, else nothing changes. No redraw.
void WkButtonSetRepeat(WkObject* button, int delay, int interval);
