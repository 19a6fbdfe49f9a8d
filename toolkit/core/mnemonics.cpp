#include "toolkit/core/mnemonics.h"

#include "toolkit/core/letters.h"
#include "toolkit/core/memory.h"
#include "toolkit/core/shell_data.h"

#include <cctype>

namespace {

WkShellData* TableOf(WkObject* object) { return WkShellRecord(WkObjectGetShell(object)); }

bool IsAsciiLetter(int c) { return c >= 0 && c < 128 && std::isalpha(c); }

bool Matches(int registered, int key) {
    if (registered == key) return true;
    return IsAsciiLetter(key) && registered >= 0 && registered < 128 &&
           WkToUpper(registered) == WkToUpper(key);
}

void RemoveAt(WkShellData* d, int index) {
    for (int i = index; i + 1 < d->mnemonicCount; ++i) d->mnemonics[i] = d->mnemonics[i + 1];
    --d->mnemonicCount;
}

} // namespace

int WkShellAddMnemonic(WkObject* object, int key) {
    WkShellData* d = TableOf(object);
    if (!d) return 0;
    if (d->mnemonicCount >= d->mnemonicCapacity) {
        d->mnemonicCapacity = static_cast<std::int16_t>(d->mnemonicCapacity + 4);
        d->mnemonics = static_cast<WkMnemonic*>(
            WkRealloc(d->mnemonics, sizeof(WkMnemonic) * static_cast<std::size_t>(d->mnemonicCapacity)));
    }
    d->mnemonics[d->mnemonicCount++] = WkMnemonic{key, object};
    return key;
}

void WkShellRemoveMnemonic(WkObject* object, int key) {
    WkShellData* d = TableOf(object);
    if (!d) return;
    for (int i = 0; i < d->mnemonicCount; ++i)
        if (d->mnemonics[i].object == object && d->mnemonics[i].key == key) {
            RemoveAt(d, i);
            return;
        }
}

void WkShellRemoveMnemonics(WkObject* object) {
    WkShellData* d = TableOf(object);
    if (!d) return;
    for (int i = d->mnemonicCount - 1; i >= 0; --i)
        if (d->mnemonics[i].object == object) RemoveAt(d, i);
}

int WkShellDispatchMnemonic(WkMessage* message, WkObject* shell) {
    WkShellData* d = WkShellRecord(shell);
    if (!d) return 0;
    const int key = WkKeyCode(message);
    for (int i = d->mnemonicCount - 1; i >= 0; --i) {
        WkObject* target = d->mnemonics[i].object;
        if (WkObjectDrawable(target) && Matches(d->mnemonics[i].key, key)) {
            WkSendMessage(target, message);
            return 1;
        }
    }
    return 0;
}
