// The record a top-level window keeps as its class record (WkShellData),
// its creation and run-time flags, and the native-window operations the
// object model calls on a top-level window (show, hide, place, destroy).
//
// The object model reads the main form and the colour holder from the
// record, and clears the pointer, focus and mnemonic entries of a destroyed
// object in every live window. The window's behaviour (creation, placement,
// input routing) lives with the top-level window class, which installs the
// operations with WkSetShellOperations; until it does, the plain display
// calls stand in.
#pragma once

#include "toolkit/core/object.h"

#include <cstdint>

// Creation flags.
inline constexpr std::uint16_t WK_SHELL_NO_ACTIVATE = 0x1;
inline constexpr std::uint16_t WK_SHELL_BACKSTORE = 0x2;
inline constexpr std::uint16_t WK_SHELL_DIALOG = 0x4;
inline constexpr std::uint16_t WK_SHELL_POPUP = 0x8;
inline constexpr std::uint16_t WK_SHELL_CLOSE_BEEPS = 0x10;
inline constexpr std::uint16_t WK_SHELL_CLOSE_HIDES = 0x20;
inline constexpr std::uint16_t WK_SHELL_NO_CLOSE = 0x40;
inline constexpr std::uint16_t WK_SHELL_NO_MAXIMISE = 0x80;
inline constexpr std::uint16_t WK_SHELL_NO_MINIMISE = 0x100;
inline constexpr std::uint16_t WK_SHELL_HOLD_SIZE = 0x200;
inline constexpr std::uint16_t WK_SHELL_HOLD_WIDTH = 0x400;
inline constexpr std::uint16_t WK_SHELL_HOLD_HEIGHT = 0x800;
// Run-time flags.
inline constexpr std::uint16_t WK_SHELL_SHOWN = 0x1000;
inline constexpr std::uint16_t WK_SHELL_GEOMETRY_APPLIED = 0x2000;
inline constexpr std::uint16_t WK_SHELL_PLACED = 0x4000;
inline constexpr std::uint16_t WK_SHELL_NATIVE_HIDDEN = 0x8000;

struct WkMnemonic {
    std::int32_t key;
    WkObject* object;
};

// Called on a close request as (window, 0, user data, message).
using WkCloseCallback = int (*)(WkObject* window, std::intptr_t value, void* userData, WkMessage* message);

struct WkShellData {
    std::uint16_t flags;
    std::int16_t mnemonicCount, mnemonicCapacity;
    std::int32_t cursor; // the pointer shape last set on the native window
    WkNativeWindow nativeWindow;
    WkObject* mainForm;
    WkObject* colorHolder;     // receives the window's children, colours, shadow and image
    WkObject* rememberedFocus; // had the focus when the window lost it
    WkObject* underPointer;    // the last receiver of enter, which gets leave
    WkMnemonic* mnemonics;     // owned, grown by 4 entries
    WkCloseCallback closeCallback;
    void* closeData;
};

// The record of a top-level window; null for any other object.
WkShellData* WkShellRecord(WkObject* object);

// The native-window side of a top-level window.
struct WkShellOperations {
    void (*show)(WkObject* shell);
    void (*hide)(WkObject* shell);
    // Stores the client geometry in the object and applies it.
    void (*setGeometry)(WkObject* shell, int x, int y, int width, int height);
    // Destroys the whole window (tree, native window, record).
    void (*destroy)(WkObject* shell);
};
// Copied; null restores the plain display calls.
void WkSetShellOperations(const WkShellOperations* operations);
const WkShellOperations& WkCurrentShellOperations();

// Every top-level window that exists now, oldest first; returns the count.
int WkLiveShells(WkObject* const** shells);
