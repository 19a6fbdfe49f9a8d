// Memory wrappers of the toolkit.
//
// Every allocation of the toolkit goes through these wrappers, which never
// hand a failure back: when the C allocator refuses, the toolkit is shut down
// and the process ends with status -1 (WkFatalExit). Blocks from any of them
// are released with WkFree.
//
// The shut-down routine belongs to the window-system layer, which installs it
// with WkSetShutdownHook when it starts; until then a fatal exit only ends the
// process. Tests replace the final exit with WkSetExitHook to watch a fatal
// exit happen without ending the test program.
#pragma once

#include <cstddef>

void* WkCalloc(std::size_t count, std::size_t size);
void* WkMalloc(std::size_t size);
// A null block behaves as WkMalloc.
void* WkRealloc(void* block, std::size_t size);
// Text buffers; the same as WkMalloc and WkRealloc.
char* WkMallocText(std::size_t size);
char* WkReallocText(char* block, std::size_t size);
// A copy of a text in a new text buffer; a null text copies as "".
char* WkCopyText(const char* text);
void WkFree(void* block);

// Shuts the toolkit down and ends the process with status -1.
[[noreturn]] void WkFatalExit();

using WkShutdownHook = void (*)();
using WkExitHook = void (*)(int status);
// The routine run by WkFatalExit before the process ends (null: none).
void WkSetShutdownHook(WkShutdownHook hook);
// What ends the process (null restores std::exit). A hook that returns does
// not make WkFatalExit return: the process is then ended with std::exit.
void WkSetExitHook(WkExitHook hook);
