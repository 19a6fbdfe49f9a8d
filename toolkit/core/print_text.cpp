#include "toolkit/core/print_text.h"

#include "toolkit/core/log.h"
#include "toolkit/core/print.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

constexpr const char* kJobName = "WOKU print job";
constexpr std::size_t kPiece = 255;
constexpr int kLinesPerPage = 60;

// The next line without its line end (CR LF or LF); false at the end of the
// file. A last line without line end is returned whole.
bool ReadLine(std::FILE* in, std::string& line) {
    line.clear();
    int c;
    while ((c = std::getc(in)) != EOF) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return true;
        }
        line += char(c);
    }
    return !line.empty();
}

void NextPage(WkPrinter* printer) {
    int result = WkPrinterEndPage(printer);
    if (result < 1) WkLog(WK_LOG_ERROR, "Error %d in EndPage", result);
    result = WkPrinterStartPage(printer);
    if (result < 1) WkLog(WK_LOG_ERROR, "Error %d in StartPage", result);
}

} // namespace

int WkPrintTextFile(const char* path) {
    std::FILE* in = path && *path ? std::fopen(path, "rb") : nullptr;
    if (!in) {
        WkLog(WK_LOG_ERROR, "Cannot open %s to print it", path && *path ? path : "(no file name)");
        return 0;
    }
    WkPrinter* printer = WkPrinterForOneJob();
    if (!printer) {
        std::fclose(in);
        return 0;
    }
    int result = WkPrinterStartJob(printer, kJobName);
    if (result < 1) WkLog(WK_LOG_ERROR, "Error %d in StartDoc", result);
    result = WkPrinterStartPage(printer);
    if (result < 1) WkLog(WK_LOG_ERROR, "Error %d in StartPage", result);

    plat::PrintDevice& device = printer->device;
    const int pageHeight = device.pageHeight();
    plat::PrintFont pica;
    pica.face = plat::PrintFace::Courier;
    pica.height = std::max(1, pageHeight / kLinesPerPage);
    device.selectFont(pica);
    const int lineHeight = device.textHeight();
    int linesPerPage = lineHeight >= 1 ? pageHeight / lineHeight : 0;
    if (linesPerPage < 1) linesPerPage = kLinesPerPage;

    std::string line;
    int rows = 0; // printed on this page
    bool first = true;
    while (ReadLine(in, line)) {
        std::size_t at = 0;
        do {
            if (!first && rows == linesPerPage) {
                NextPage(printer);
                rows = 0;
            }
            first = false;
            device.textOut(0, rows * lineHeight, std::string_view(line).substr(at, kPiece));
            ++rows;
            at += kPiece;
        } while (at < line.size());
    }
    std::fclose(in);

    result = WkPrinterEndPage(printer);
    if (result < 1) WkLog(WK_LOG_ERROR, "Error %d in EndPage", result);
    WkPrinterEndJob(printer);
    WkDeletePrinter(printer);
    return 1;
}

int WkPrintFile(const char* path) {
    WkPrintTextFile(path);
    return 0;
}

int WkPrintFileAndDelete(const char* path) {
    WkPrintTextFile(path);
    if (path) std::remove(path);
    return 0;
}
