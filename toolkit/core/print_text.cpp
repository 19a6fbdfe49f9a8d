#include "toolkit/core/print_text.h"

#include "toolkit/core/log.h"
#include "toolkit/core/print.h"
#include "toolkit/platform/files.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kJobName = "WOKU print job";
constexpr std::size_t kPiece = 255;
constexpr int kLinesPerPage = 60;
constexpr std::size_t kTabStop = 8;

// One printed row: a line, or a piece of a long one.
struct Row {
    std::string text;
    bool blockStart = false;
};

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

// The file's rows, or false when it cannot be opened as a plain file.
bool ReadRows(const char* path, const char* blockStart, std::vector<Row>& rows) {
    std::FILE* in = path && *path ? plat::OpenFile(path, "rb") : nullptr;
    struct stat status;
    if (in && (::fstat(fileno(in), &status) != 0 || !S_ISREG(status.st_mode))) {
        std::fclose(in);
        in = nullptr;
    }
    if (!in) return false;
    const std::size_t startLength = blockStart ? std::strlen(blockStart) : 0;
    std::string line;
    while (ReadLine(in, line)) {
        const bool starts = startLength > 0 && line.compare(0, startLength, blockStart) == 0;
        std::size_t at = 0;
        do {
            rows.push_back({line.substr(at, kPiece), starts && at == 0});
            at += kPiece;
        } while (at < line.size());
    }
    std::fclose(in);
    return true;
}

// The columns a row takes, its tabs gone to their stops.
std::size_t Columns(std::string_view row) {
    std::size_t columns = 0;
    for (char c : row) columns = c == '\t' ? (columns / kTabStop + 1) * kTabStop : columns + 1;
    return columns;
}

// Pica as high as 60 lines on the paper's long side, whatever the
// orientation, and no higher than lets the widest row fit the page's width.
void SelectPica(plat::PrintDevice& device, std::size_t widest) {
    plat::PrintFont pica;
    pica.face = plat::PrintFace::Courier;
    pica.height = std::max(1, std::max(device.pageWidth(), device.pageHeight()) / kLinesPerPage);
    device.selectFont(pica);
    const std::string sample(widest, 'M');
    const int width = device.textWidth(sample);
    if (width <= device.pageWidth()) return;
    pica.height = std::max(1, int(long(pica.height) * device.pageWidth() / width));
    device.selectFont(pica);
    while (pica.height > 1 && device.textWidth(sample) > device.pageWidth()) {
        --pica.height;
        device.selectFont(pica);
    }
}

void NextPage(WkPrinter* printer) {
    int result = WkPrinterEndPage(printer);
    if (result < 1) WkLog(WK_LOG_ERROR, "Error %d in EndPage", result);
    result = WkPrinterStartPage(printer);
    if (result < 1) WkLog(WK_LOG_ERROR, "Error %d in StartPage", result);
}

// The rows of the block that begins at row first.
std::size_t BlockLength(const std::vector<Row>& rows, std::size_t first) {
    std::size_t last = first + 1;
    while (last < rows.size() && !rows[last].blockStart) ++last;
    return last - first;
}

} // namespace

int WkPrintTextFile(const char* path, std::string* failure, const char* blockStart) {
    if (failure) failure->clear();
    std::vector<Row> rows;
    if (!ReadRows(path, blockStart, rows)) {
        const std::string text =
            std::string("Cannot open ") + (path && *path ? path : "(no file name)") + " to print it";
        WkLog(WK_LOG_ERROR, "%s", text.c_str());
        if (failure) *failure = text;
        return 0;
    }
    WkPrinter* printer = WkPrinterForOneJob();
    if (!printer) return 0;
    int result = WkPrinterStartJob(printer, kJobName);
    if (result < 1) WkLog(WK_LOG_ERROR, "Error %d in StartDoc", result);
    result = WkPrinterStartPage(printer);
    if (result < 1) WkLog(WK_LOG_ERROR, "Error %d in StartPage", result);

    plat::PrintDevice& device = printer->device;
    std::size_t widest = 0;
    for (const Row& row : rows) widest = std::max(widest, Columns(row.text));
    SelectPica(device, widest);
    const int lineHeight = device.textHeight();
    int linesPerPage = lineHeight >= 1 ? device.pageHeight() / lineHeight : 0;
    if (linesPerPage < 1) linesPerPage = kLinesPerPage;

    int used = 0; // rows printed on this page
    for (std::size_t i = 0; i < rows.size(); ++i) {
        // A block that would be cut, and fits on a page of its own, begins one.
        const bool moveBlock = rows[i].blockStart && used > 0 &&
                               used + BlockLength(rows, i) > std::size_t(linesPerPage) &&
                               BlockLength(rows, i) <= std::size_t(linesPerPage);
        if (used == linesPerPage || moveBlock) {
            NextPage(printer);
            used = 0;
        }
        device.textOut(0, used * lineHeight, rows[i].text);
        ++used;
    }

    result = WkPrinterEndPage(printer);
    if (result < 1) WkLog(WK_LOG_ERROR, "Error %d in EndPage", result);
    WkPrinterEndJob(printer);
    const std::string refused = printer->failure;
    WkDeletePrinter(printer);
    if (failure) *failure = refused;
    return refused.empty() ? 1 : 0;
}

int WkPrintFile(const char* path, std::string* failure, const char* blockStart) {
    WkPrintTextFile(path, failure, blockStart);
    return 0;
}

int WkPrintFileAndDelete(const char* path) {
    WkPrintTextFile(path);
    if (path) plat::RemoveFile(path);
    return 0;
}
