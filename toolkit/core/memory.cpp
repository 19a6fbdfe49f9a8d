#include "toolkit/core/memory.h"

#include <cstdlib>
#include <cstring>

namespace {

WkShutdownHook shutdownHook = nullptr;
WkExitHook exitHook = nullptr;
bool exiting = false;

// A request for 0 bytes may legitimately give a null pointer (and realloc to
// 0 frees the block), which must not be taken for lack of memory.
std::size_t AtLeastOne(std::size_t size) { return size == 0 ? 1 : size; }

void* Checked(void* block) {
    if (!block) WkFatalExit();
    return block;
}

} // namespace

void* WkCalloc(std::size_t count, std::size_t size) {
    if (count == 0 || size == 0) count = size = 1;
    return Checked(std::calloc(count, size));
}

void* WkMalloc(std::size_t size) { return Checked(std::malloc(AtLeastOne(size))); }

void* WkRealloc(void* block, std::size_t size) {
    return Checked(std::realloc(block, AtLeastOne(size)));
}

char* WkMallocText(std::size_t size) { return static_cast<char*>(WkMalloc(size)); }

char* WkReallocText(char* block, std::size_t size) {
    return static_cast<char*>(WkRealloc(block, size));
}

char* WkCopyText(const char* text) {
    if (!text) text = "";
    const std::size_t n = std::strlen(text) + 1;
    return static_cast<char*>(std::memcpy(WkMallocText(n), text, n));
}

void WkFree(void* block) { std::free(block); }

void WkFatalExit() {
    // A shut-down that itself runs out of memory comes back here: end at once.
    if (!exiting) {
        exiting = true;
        if (shutdownHook) shutdownHook();
    }
    exiting = false;
    if (exitHook) exitHook(-1);
    std::exit(-1);
}

void WkSetShutdownHook(WkShutdownHook hook) { shutdownHook = hook; }

void WkSetExitHook(WkExitHook hook) { exitHook = hook; }
