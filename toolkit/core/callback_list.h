// Callback lists: an object's event handlers, the key accelerators of forms
// and edit fields, the value callbacks of edit fields.
//
// A list is held by a pointer to its first node; nodes are appended at the
// tail, so callbacks run in the order they were registered. The list owns its
// nodes (allocated through the memory wrappers).
//
// In an event-handler list the key field is a message mask, bit (type - 1)
// for each message type the handler wants, and the callback is a
// WkEventCallback; the dispatcher of the object model walks such lists. In an
// accelerator or value list the key field is a key code and the callback is a
// WkValueCallback, called through WkInvokeCallbacks.
#pragma once

#include <cstdint>

struct WkObject;
struct WkMessage;

using WkEventCallback = void (*)(WkObject* object, WkMessage* message, void* userData,
                                 std::uint32_t matched);
using WkValueCallback = void (*)(WkObject* object, std::intptr_t value, void* userData);
// The stored form of either kind; it is cast back to its own kind to be called.
using WkAnyCallback = void (*)();

struct WkEventHandler {
    WkAnyCallback callback;
    void* userData;
    std::uint32_t maskOrKey;
    WkEventHandler* next;
};

inline WkAnyCallback WkAsAnyCallback(WkEventCallback f) { return reinterpret_cast<WkAnyCallback>(f); }
inline WkAnyCallback WkAsAnyCallback(WkValueCallback f) { return reinterpret_cast<WkAnyCallback>(f); }
inline WkEventCallback WkAsEventCallback(WkAnyCallback f) { return reinterpret_cast<WkEventCallback>(f); }
inline WkValueCallback WkAsValueCallback(WkAnyCallback f) { return reinterpret_cast<WkValueCallback>(f); }

// Appends a new node at the tail.
void WkAppendCallback(WkEventHandler** first, WkAnyCallback callback, void* userData,
                      std::uint32_t maskOrKey);
inline void WkAppendCallback(WkEventHandler** first, WkEventCallback callback, void* userData,
                             std::uint32_t mask) {
    WkAppendCallback(first, WkAsAnyCallback(callback), userData, mask);
}
inline void WkAppendCallback(WkEventHandler** first, WkValueCallback callback, void* userData,
                             std::uint32_t key) {
    WkAppendCallback(first, WkAsAnyCallback(callback), userData, key);
}

// Unlinks and frees the first node with this callback; nothing when none has.
void WkRemoveCallback(WkEventHandler** first, WkAnyCallback callback);
inline void WkRemoveCallback(WkEventHandler** first, WkEventCallback callback) {
    WkRemoveCallback(first, WkAsAnyCallback(callback));
}
inline void WkRemoveCallback(WkEventHandler** first, WkValueCallback callback) {
    WkRemoveCallback(first, WkAsAnyCallback(callback));
}

// Calls callback(object, value, node's user data) for every node in list
// order, or with matchOnly set for every node whose key equals key. The next
// node is read before each call, so a callback may remove itself (but no other
// node of the list). Returns the number of calls.
int WkInvokeCallbacks(WkEventHandler* first, WkObject* object, std::intptr_t value,
                      std::uint32_t key, int matchOnly);

// Frees every node and sets *first to null; a null address is ignored.
void WkFreeCallbacks(WkEventHandler** first);
