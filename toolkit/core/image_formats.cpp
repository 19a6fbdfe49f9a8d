#include "toolkit/core/image_formats.h"

#include <cstdio>

#include "toolkit/core/image_bmp.h"
#include "toolkit/core/image_path.h"

namespace {

int IsBmp(const unsigned char* head) { return head[0] == 'B' && head[1] == 'M' ? 1 : 0; }

WkImageFormat formats[WK_IMAGE_FORMAT_SLOTS] = {{IsBmp, WkReadBmpInto}};

} // namespace

void WkRegisterImageFormat(WkImageProbe probe, WkImageLoader loader) {
    if (!probe || !loader) return;
    for (int slot = 1; slot < WK_IMAGE_FORMAT_SLOTS; ++slot) {
        if (formats[slot].probe == probe) return;
        if (!formats[slot].probe) {
            formats[slot] = WkImageFormat{probe, loader};
            return;
        }
    }
}

const WkImageFormat* WkImageFormatSlot(int slot) {
    return slot >= 0 && slot < WK_IMAGE_FORMAT_SLOTS ? &formats[slot] : nullptr;
}

WkImage* WkLoadImageInto(WkImage* image, const char* path) {
    std::FILE* file = WkOpenImageFile(path);
    if (!file) {
        WkImageLoadFailed(path, "the file cannot be opened");
        return nullptr;
    }
    unsigned char head[8] = {};
    std::size_t got = std::fread(head, 1, sizeof head, file);
    (void)got; // a short file leaves zeros for the probes
    std::fclose(file);
    for (const WkImageFormat& format : formats)
        if (format.probe && format.probe(head)) return format.loader(image, path);
    WkImageLoadFailed(path, "its format is not known");
    return nullptr;
}

WkImage* WkLoadImage(const char* path) { return WkLoadImageInto(nullptr, path); }
