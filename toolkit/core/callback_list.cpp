#include "toolkit/core/callback_list.h"

#include "toolkit/core/memory.h"

void WkAppendCallback(WkEventHandler** first, WkAnyCallback callback, void* userData,
                      std::uint32_t maskOrKey) {
    auto* node = static_cast<WkEventHandler*>(WkCalloc(1, sizeof(WkEventHandler)));
    node->callback = callback;
    node->userData = userData;
    node->maskOrKey = maskOrKey;
    node->next = nullptr;
    WkEventHandler** link = first;
    while (*link) link = &(*link)->next;
    *link = node;
}

void WkRemoveCallback(WkEventHandler** first, WkAnyCallback callback) {
    for (WkEventHandler** link = first; *link; link = &(*link)->next) {
        if ((*link)->callback == callback) {
            WkEventHandler* node = *link;
            *link = node->next;
            WkFree(node);
            return;
        }
    }
}

int WkInvokeCallbacks(WkEventHandler* first, WkObject* object, std::intptr_t value,
                      std::uint32_t key, int matchOnly) {
    int calls = 0;
    for (WkEventHandler* node = first; node;) {
        WkEventHandler* next = node->next;
        if (!matchOnly || node->maskOrKey == key) {
            ++calls;
            WkAsValueCallback(node->callback)(object, value, node->userData);
        }
        node = next;
    }
    return calls;
}

void WkFreeCallbacks(WkEventHandler** first) {
    if (!first) return;
    for (WkEventHandler* node = *first; node;) {
        WkEventHandler* next = node->next;
        WkFree(node);
        node = next;
    }
    *first = nullptr;
}
