#include "toolkit/core/clipboard.h"

#include "toolkit/core/draw.h"

#include <string>

namespace {

std::string kept;
bool haveKept = false;
bool owner = false;

void DropKept() {
    kept.clear();
    kept.shrink_to_fit();
    haveKept = false;
}

} // namespace

void WkSetClipboardText(WkNativeWindow window, const char* text, int length) {
    DropKept();
    if (window == 0) {
        owner = false;
        return;
    }
    plat::Display* display = WkDisplay();
    if (!display || display->window(window) == nullptr || length < 0 || (text == nullptr && length > 0)) {
        WkBeep();
        return;
    }
    kept.assign(text ? text : "", static_cast<std::size_t>(length));
    haveKept = true;
    std::string block;
    block.reserve(kept.size() + 16);
    for (char c : kept) {
        if (c == '\n')
            block += '\r';
        block += c;
    }
    if (!display->setClipboardText(window, block)) {
        DropKept();
        WkBeep();
        return;
    }
    owner = true;
}

const char* WkGetClipboardText(WkNativeWindow window) {
    (void)window;
    plat::Display* display = WkDisplay();
    if (owner && haveKept && display && display->clipboardOwner() != 0)
        return kept.c_str();
    owner = false;
    DropKept();
    std::string text;
    if (!display || !display->clipboardText(text)) {
        WkBeep();
        return nullptr;
    }
    for (char c : text)
        if (c != '\r')
            kept += c;
    haveKept = true;
    return kept.c_str();
}

int WkOwnsClipboard() { return owner ? 1 : 0; }
