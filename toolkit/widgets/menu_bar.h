// The menu bar (class code WK_CLASS_MENU_BAR): the row of titles at the top
// of a window, each owning a pull-down menu. It opens and closes the
// pull-downs with the pointer, moves between them with the arrows, opens on
// its activation key, and answers for the whole window the Alt keys of its
// titles, the typed mnemonic letters of the open pull-down and the
// accelerators of every item, all through the window's key table. Titles
// and item labels can be saved to and loaded from the bar's section.
//
// The bar owns its class record (WkMenuBarData), its titles with their
// texts, the windows of its pull-downs, its keys in the window's key table
// and its highlight colour references.
#pragma once

#include "toolkit/core/fonts.h"
#include "toolkit/core/object.h"

#include <cstdint>

struct WkMenuBarEntry {
    char* label; // without markers
    int x;       // from the bar's inner left edge
    std::int16_t padding;
    int width, height;
    WkObject* menu;
    int mnemonicKey; // an Alt key code; 0 none
    int mnemonicPosition; // -1 none
};

struct WkMenuBarData {
    std::int16_t reserved;
    std::int16_t titlePadding;    // p: before the first title and around each
    std::int16_t verticalPadding; // v: above and below the titles
    std::int16_t count, capacity;
    std::int16_t current; // the open title, -1 none
    std::int16_t pointerFlag;
    int activationKey;
    WkMenuBarEntry* titles;
    WkColor highlightBackground, highlightText;
};

inline WkMenuBarData* WkMenuBarRecord(WkObject* bar) { return static_cast<WkMenuBarData*>(bar->classRecord); }
inline bool WkIsMenuBar(const WkObject* object) { return object && object->classCode == WK_CLASS_MENU_BAR; }

WkObject* WkCreateMenuBar(WkObject* parent, WkFontSlot font);
int WkMenuBarHandler(WkObject* bar, WkMessage* message);
// A new pull-down under a new title; the bar is resized.
WkObject* WkMenuBarAddMenu(WkObject* bar, const char* title);
void WkMenuBarAddEntry(WkObject* bar, WkObject* menu, const char* title);
// A pull-down's bar title, or a submenu's item label.
void WkMenuSetTitle(WkObject* menu, const char* title);
void WkMenuBarSetKey(WkObject* bar, int key);
void WkMenuBarSetHighlightColors(WkObject* bar, WkColor background, WkColor text);
void WkMenuBarSetHighlightTextColor(WkObject* bar, WkColor text);
void WkMenuBarSaveItems(WkObject* bar);
void WkMenuBarLoadItems(WkObject* bar);
// The title index of a pull-down, or -1.
int WkMenuBarIndexOf(WkObject* bar, WkObject* menu);
// Closes the open title, drops the grab and gives the window the focus.
void WkMenuBarDeactivate(WkObject* bar);
