#include "toolkit/core/print.h"

#include "toolkit/core/draw.h"
#include "toolkit/core/draw_image.h"
#include "toolkit/core/log.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/object_draw.h"
#include "toolkit/core/object_layout.h"
#include "toolkit/core/shell_data.h"
#include "toolkit/platform/bitmap.h"
#include "toolkit/platform/print_job.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

using Choice = WkPrintChoice;

struct PrintState {
    bool chosen = false; // kept holds the chosen printer
    Choice kept;
    int answer = WK_PRINT_ANSWER_DEFAULT;
    std::string answerFile;
    WkPrintDialogHook dialog = nullptr;
};

PrintState state;

constexpr int kFailed = -1;

int Clamp(long long v, int low = INT_MIN) { return int(std::clamp(v, (long long)low, (long long)INT_MAX)); }
// A point times a scale, kept well inside int.
int Scaled(int v, double scale) { return int(std::clamp(v * scale, -1e9, 1e9)); }

plat::PaperSize PaperFor(int orientation) {
    plat::PaperSize paper = plat::SystemPaper();
    if (orientation == 2) {
        std::swap(paper.widthPixels, paper.heightPixels);
        std::swap(paper.widthMm, paper.heightMm);
    }
    return paper;
}

WkPrinter* MakeContext(const Choice& choice, bool information) {
    auto* printer = new WkPrinter{plat::PrintDevice(PaperFor(choice.orientation))};
    printer->information = information;
    printer->toFile = choice.toFile;
    printer->file = choice.file;
    printer->printer = choice.printer;
    return printer;
}

// The dialog, or where none can be shown the scripted answer applied to the
// settings it was opened with; false when cancelled.
bool Ask(Choice& choice, WkPageRange* range) {
    if (state.dialog) {
        int answer = state.dialog(&choice, range);
        if (answer >= 0) return answer == 1;
    }
    switch (state.answer) {
    case WK_PRINT_ANSWER_CANCEL:
        return false;
    case WK_PRINT_ANSWER_FILE:
        choice.toFile = true;
        choice.file = state.answerFile;
        return true;
    default:
        choice.toFile = false;
        choice.file.clear();
        choice.printer.clear();
        return true;
    }
}

void SetOrientation(int orientation) {
    if (orientation == 1 || orientation == 2) state.kept.orientation = orientation;
}

// The largest size of width x height's aspect ratio within the page,
// compared exactly so that the result is never wider or taller than the page.
void FitInto(int pageWidth, int pageHeight, int width, int height, long long* outWidth, long long* outHeight) {
    if ((long long)pageHeight * width > (long long)pageWidth * height) {
        *outWidth = pageWidth;
        *outHeight = (long long)height * pageWidth / width;
    } else {
        *outHeight = pageHeight;
        *outWidth = (long long)width * pageHeight / height;
    }
    *outWidth = std::max(1LL, *outWidth);
    *outHeight = std::max(1LL, *outHeight);
}

// The page's pixels as a top-down 24-bit dib over rows, which the caller keeps.
plat::Dib PageDib(const plat::Surface& page, std::vector<std::uint8_t>& rows) {
    std::size_t stride = plat::RowBytes(page.width(), 24);
    rows.assign(stride * std::size_t(page.height()), 0);
    for (int y = 0; y < page.height(); ++y) {
        std::uint8_t* row = rows.data() + stride * std::size_t(y);
        for (int x = 0; x < page.width(); ++x) {
            plat::Rgb c = page.colorAt(x, y);
            row[3 * x] = std::uint8_t(c & 0xFF);
            row[3 * x + 1] = std::uint8_t((c >> 8) & 0xFF);
            row[3 * x + 2] = std::uint8_t((c >> 16) & 0xFF);
        }
    }
    plat::Dib dib;
    dib.width = page.width();
    dib.height = -page.height();
    dib.bitsPerPixel = 24;
    dib.pixels = rows.data();
    dib.pixelBytes = rows.size();
    return dib;
}

// Draws the object's tree onto a page of its size, the object at the
// page's origin: its window and main form are moved so that it lands there.
void DrawOntoPage(WkObject* object, plat::Surface& page) {
    int ax, ay;
    WkObjectGetAbsolutePosition(object, &ax, &ay);
    WkObject* shell = WkObjectGetShell(object);
    WkShellData* data = WkShellRecord(shell);
    WkObject* form = data ? data->mainForm : nullptr;
    auto shift = [&](int dx, int dy) {
        if (!shell || !form) return;
        shell->width += dx;
        shell->height += dy;
        form->x += dx;
        form->y += dy;
    };
    shift(-ax, -ay);
    WkEndDraw();
    WkNativeSetPrintDevice(&page, 1.0, 1.0);
    WkObjectRedraw(object);
    shift(ax, ay);
    WkEndDraw();
    WkNativeSetPrintDevice(nullptr, 1.0, 1.0);
}

} // namespace

void WkSetPrintDialogAnswer(int answer, const char* file) {
    state.answer = answer;
    state.answerFile = file ? file : "";
}

void WkSetPrintDialogHook(WkPrintDialogHook hook) { state.dialog = hook; }

std::vector<std::string> WkListPrinters() { return plat::ListPrinters(); }

WkPrinter* WkPrinterDialog(int orientation, int flags, WkPageRange* range) {
    if (!state.chosen) {
        state.kept = Choice{};
        state.chosen = true;
    }
    SetOrientation(orientation);
    Choice choice = state.kept;
    if (!Ask(choice, range)) return nullptr;
    state.kept = choice;
    if (flags & WK_PRINTER_CONTEXT) return MakeContext(choice, false);
    if (flags & WK_PRINTER_INFORMATION) return MakeContext(choice, true);
    return nullptr;
}

WkPrinter* WkPrinterForOneJob() {
    Choice choice;
    return Ask(choice, nullptr) ? MakeContext(choice, false) : nullptr;
}

int WkPrinterCaps(int orientation, int* widthPixels, int* heightPixels, int* widthMm, int* heightMm, int* planes) {
    WkPrinter* printer = WkPrinterDialog(orientation, WK_PRINTER_INFORMATION, nullptr);
    if (!printer) return 0;
    const plat::PrintDevice& page = printer->device;
    if (widthPixels) *widthPixels = page.pageWidth();
    if (heightPixels) *heightPixels = page.pageHeight();
    if (widthMm) *widthMm = page.pageWidthMm();
    if (heightMm) *heightMm = page.pageHeightMm();
    if (planes) *planes = 3;
    WkDeletePrinter(printer);
    return 1;
}

int WkPrinterStartJob(WkPrinter* printer, const char* jobName) {
    if (!printer || printer->information || printer->inJob) return kFailed;
    printer->jobName = jobName ? jobName : "";
    if (!printer->device.startDocument(printer->jobName)) return kFailed;
    printer->inJob = true;
    return 1;
}

int WkPrinterStartPage(WkPrinter* printer) { return printer && printer->device.startPage() ? 1 : kFailed; }
int WkPrinterEndPage(WkPrinter* printer) { return printer && printer->device.endPage() ? 1 : kFailed; }

void WkPrinterEndJob(WkPrinter* printer) {
    if (!printer || !printer->inJob) return;
    printer->inJob = false;
    printer->device.endDocument();
    plat::PrintJobResult result =
        plat::SubmitPrintJob(printer->device.pdf(), printer->jobName, printer->toFile, printer->file,
                             printer->printer);
    printer->failure = result.ok ? std::string() : result.message;
    if (!result.ok) WkLog(WK_LOG_ERROR, "Error in EndDoc: %s", result.message.c_str());
}

void WkDeletePrinter(WkPrinter* printer) { delete printer; }

WkPrinter* WkOpenPrinter(const char* jobName, int ask, int orientation, WkPageRange* range) {
    WkPrinter* printer;
    if (ask || !state.chosen) {
        printer = WkPrinterDialog(orientation, WK_PRINTER_CONTEXT, range);
    } else {
        SetOrientation(orientation);
        printer = MakeContext(state.kept, false);
    }
    if (!printer) return nullptr;
    int result = WkPrinterStartJob(printer, jobName);
    if (result < 1) {
        WkLog(WK_LOG_ERROR, "Error %d in StartDoc", result);
        WkDeletePrinter(printer);
        return nullptr;
    }
    result = WkPrinterStartPage(printer);
    if (result < 1) {
        WkLog(WK_LOG_ERROR, "Error %d in StartPage", result);
        WkDeletePrinter(printer);
        return nullptr;
    }
    return printer;
}

void WkNextPrinterPage(WkPrinter* printer) {
    int result = WkPrinterEndPage(printer);
    if (result <= 0) WkLog(WK_LOG_ERROR, "Error %d in WkNextPrinterPage (EndPage)", result);
    result = WkPrinterStartPage(printer);
    if (result <= 0) WkLog(WK_LOG_ERROR, "Error %d in WkNextPrinterPage (StartPage)", result);
}

void WkClosePrinter(WkPrinter* printer) {
    if (!printer) return;
    WkPrinterEndPage(printer);
    WkPrinterEndJob(printer);
    WkDeletePrinter(printer);
}

void WkMapPrinterPage(WkPrinter* printer, const WkPageMapping* mapping, int width, int height, int* xOffset,
                      int* yOffset, int* windowWidth, int* windowHeight) {
    if (!printer || !mapping) return;
    const plat::PrintDevice& page = printer->device;
    const long long H = page.pageWidth(), V = page.pageHeight();
    const long long w = std::max(1, width), h = std::max(1, height);
    long long unitW = H, unitH = V;
    if (mapping->mode == 1) {
        unitW = page.pageWidthMm();
        unitH = page.pageHeightMm();
    } else if (mapping->mode == 4) {
        unitW = unitH = 100;
    }
    long long x = 0, y = 0, ww, wh;
    if (mapping->mode == 0) {
        // Compared exactly: the page must fit the paper whole.
        if (V * w > H * h) {
            ww = w;
            wh = V * w / H;
        } else {
            wh = h;
            ww = H * h / V;
        }
    } else if (mapping->width >= 1) {
        ww = w * unitW / mapping->width;
        wh = V * ww / H;
        if (mapping->left > 0) x += w * mapping->left / mapping->width;
        if (mapping->top > 0) y += w * mapping->top / mapping->width;
    } else if (mapping->height >= 1) {
        wh = h * unitH / mapping->height;
        ww = H * wh / V;
        if (mapping->left > 0) x += h * mapping->left / mapping->height;
        if (mapping->top > 0) y += h * mapping->top / mapping->height;
    } else {
        ww = H;
        wh = V;
        if (mapping->left > 0) x += mapping->left;
        if (mapping->top > 0) y += mapping->top;
    }
    int windowW = Clamp(ww, 1), windowH = Clamp(wh, 1);
    printer->device.setIsotropicMapping(windowW, windowH, int(H), int(V));
    if (xOffset) *xOffset = Clamp(x);
    if (yOffset) *yOffset = Clamp(y);
    if (windowWidth) *windowWidth = windowW;
    if (windowHeight) *windowHeight = windowH;
}

void WkPrintObject(WkObject* object, WkPrinter* printer, const WkPageMapping* mapping) {
    if (!object || !printer || !mapping) return;
    WkObject* o = object->outer ? object->outer : object;
    if (o->classCode == WK_CLASS_SHELL) {
        WkShellData* data = WkShellRecord(o);
        if (!data || !data->mainForm) return;
        o = data->mainForm;
    }
    const std::uint16_t flags = o->state;
    const bool shown = flags & WK_STATE_SHOWN, realized = flags & WK_STATE_REALIZED;
    // Drawing needs both; an object lacking either is made ready for the
    // time of printing.
    const bool ready = shown && realized;
    if (!ready) WkResize(o, -1, -1);
    int x, y, ww, wh;
    WkMapPrinterPage(printer, mapping, o->width, o->height, &x, &y, &ww, &wh);
    if (!ready) {
        // Whatever the layout draws meanwhile goes nowhere.
        plat::Surface scratch(1, 1);
        WkNativeSetPrintDevice(&scratch, 1.0, 1.0);
        WkResize(o, -1, -1);
        o->state |= WK_STATE_REALIZED;
        WkNativeSetPrintDevice(nullptr, 1.0, 1.0);
        WkSendSimpleMessage(o, WK_MSG_REALIZE);
        WkObjectShow(o);
        WkMapPrinterPage(printer, mapping, o->width, o->height, &x, &y, &ww, &wh);
    }
    bool centreX = mapping->mode == 0 ? mapping->left != 0 : mapping->left < 0;
    bool centreY = mapping->mode == 0 ? mapping->top != 0 : mapping->top < 0;
    if (centreX) x += (ww - o->width) / 2;
    if (centreY) y += (wh - o->height) / 2;

    if (o->width > 0 && o->height > 0) {
        plat::Surface page(std::min(o->width, WK_IMAGE_MAX_SIDE), std::min(o->height, WK_IMAGE_MAX_SIDE));
        plat::Canvas(page).fillRect(page.bounds(), plat::MakeRgb(255, 255, 255));
        DrawOntoPage(o, page);
        std::vector<std::uint8_t> rows;
        std::string error;
        if (!printer->device.drawImage(PageDib(page, rows), x, y, page.width(), page.height(), &error))
            WkLog(WK_LOG_ERROR, "Error printing an object: %s", error.c_str());
    }

    if (!ready) {
        if (!shown) WkObjectHide(o);
        o->state = flags;
        if (!realized) WkSendSimpleMessage(o, WK_MSG_UNREALIZE);
        WkResize(o, -1, -1);
    }
}

void WkPrintImage(WkImage* image, int fit) {
    if (!image || image->width < 1 || image->height < 1) return;
    WkPrinter* printer = state.chosen ? MakeContext(state.kept, false)
                                      : WkPrinterDialog(0, WK_PRINTER_CONTEXT, nullptr);
    if (!printer) return;
    int result = WkPrinterStartJob(printer, "WOKU print image job");
    if (result < 1) WkLog(WK_LOG_ERROR, "Error %d in StartDoc", result);
    result = WkPrinterStartPage(printer);
    if (result < 1) WkLog(WK_LOG_ERROR, "Error %d in StartPage", result);
    const int pageWidth = printer->device.pageWidth(), pageHeight = printer->device.pageHeight();
    long long width = image->width, height = image->height;
    if (fit || width > pageWidth || height > pageHeight)
        FitInto(pageWidth, pageHeight, image->width, image->height, &width, &height);
    std::string error;
    if (!printer->device.drawImage(WkImageDib(image), 0, 0, int(width), int(height), &error))
        WkLog(WK_LOG_ERROR, "Error printing an image: %s", error.c_str());
    result = WkPrinterEndPage(printer);
    if (result < 1) WkLog(WK_LOG_ERROR, "Error %d in EndPage", result);
    WkPrinterEndJob(printer);
    WkDeletePrinter(printer);
}

void WkPrintDrawImage(WkImage* image, int sourceX, int sourceY, int width, int height, int x, int y) {
    plat::Surface* page = WkNativePrintDevice();
    if (!image || !page) return;
    plat::Surface pixels;
    if (!plat::MakeDeviceBitmap(WkImageDib(image), page->palette(), pixels)) return;
    double scaleX, scaleY;
    WkNativePrintScale(&scaleX, &scaleY);
    plat::Canvas canvas(*page, WkNativeCurrentWindow() ? WkNativeCurrentClip() : page->bounds());
    plat::Rect from{sourceX, sourceY, Clamp((long long)sourceX + width), Clamp((long long)sourceY + height)};
    plat::Blit(canvas, Scaled(x, scaleX), Scaled(y, scaleY), pixels, from);
}
