#include "toolkit/core/log.h"

#include <algorithm>
#include <cstring>

#include "toolkit/core/memory.h"
#include "toolkit/platform/files.h"

namespace {

constexpr int kPrefixBytes = 64;

WkLogSettings settings;
std::uint32_t mask = 0;
char* timeFormat = nullptr;
std::FILE* logFile = nullptr;
WkItemList* lines = nullptr;
WkLogWindowHooks windowHooks;
WkLocalTimeSource timeSource = nullptr;

void HostLocalTime(std::tm* now) {
    std::time_t t = std::time(nullptr);
    localtime_r(&t, now);
}

bool ThresholdFinal() { return settings.threshold < 0 || settings.threshold > 99; }

// The time prefix followed by the formatted message, in a buffer of the
// wrappers that the caller frees; as long as the message needs.
char* ComposeLine(const char* format, va_list args) {
    char prefix[kPrefixBytes] = "";
    if (timeFormat) {
        std::tm now{};
        (timeSource ? timeSource : HostLocalTime)(&now);
        // strftime gives 0 and leaves the buffer undefined when the prefix
        // does not fit: no prefix then.
        if (std::strftime(prefix, sizeof prefix, timeFormat, &now) == 0) prefix[0] = '\0';
    }
    std::size_t prefixLength = std::strlen(prefix);

    int n = 0;
    if (format) {
        va_list measure;
        va_copy(measure, args);
        n = std::vsnprintf(nullptr, 0, format, measure);
        va_end(measure);
    }
    std::size_t messageLength = n > 0 ? std::size_t(n) : 0;

    char* line = WkMallocText(prefixLength + messageLength + 1);
    std::memcpy(line, prefix, prefixLength);
    if (format && n >= 0)
        std::vsnprintf(line + prefixLength, messageLength + 1, format, args);
    else
        line[prefixLength] = '\0';
    return line;
}

// Lines go to the file with CR LF line ends, also those inside a message.
void WriteToFile(const char* line) {
    for (const char* p = line; *p; ++p) {
        if (*p == '\n' && (p == line || p[-1] != '\r')) std::fputc('\r', logFile);
        std::fputc(*p, logFile);
    }
    std::fputs("\r\n", logFile);
    std::fflush(logFile);
}

void Output(const char* format, va_list args) {
    char* line = ComposeLine(format, args);
    if (logFile) WriteToFile(line);
    if (!lines) WkMakeLogWindow();
    if (windowHooks.beginUpdate) windowHooks.beginUpdate();
    WkItemListRemove(lines, 0);
    WkItemListAdd(lines, line, 0);
    if (windowHooks.endUpdate) windowHooks.endUpdate();
    WkFree(line);
}

int Capped(int value, int current, int cap) { return value >= 2 ? std::min(value, cap) : current; }

} // namespace

void WkLogV(int level, const char* format, va_list args) {
    if (level > settings.threshold) return;
    Output(format, args);
}

void WkLogMaskedV(int level, std::uint32_t bits, const char* format, va_list args) {
    if (level > settings.threshold || (bits & mask) == 0) return;
    Output(format, args);
}

void WkLog(int level, const char* format, ...) {
    va_list args;
    va_start(args, format);
    WkLogV(level, format, args);
    va_end(args);
}

void WkLogMasked(int level, std::uint32_t bits, const char* format, ...) {
    va_list args;
    va_start(args, format);
    WkLogMaskedV(level, bits, format, args);
    va_end(args);
}

void WkOpenLog(int level, int lineCount, int visibleRows, int columns, int visibleColumns,
               const char* path) {
    if (path && *path) WkSetLogFile(plat::OpenFile(path, "wb"));
    if (!ThresholdFinal()) settings.threshold = level;
    if (lines) return;
    settings.lines = Capped(lineCount, settings.lines, 500);
    settings.visibleRows = Capped(visibleRows, settings.visibleRows, 50);
    settings.columns = Capped(columns, settings.columns, 500);
    settings.visibleColumns = Capped(visibleColumns, settings.visibleColumns, 200);
    WkMakeLogWindow();
}

void WkSetLogLevel(int level) {
    if (!ThresholdFinal()) settings.threshold = level;
}

void WkSetLogTimeFormat(const char* format) {
    WkFree(timeFormat);
    timeFormat = nullptr;
    if (format) {
        std::size_t n = std::strlen(format) + 1;
        timeFormat = WkMallocText(n);
        std::memcpy(timeFormat, format, n);
    }
}

void WkSetLogFile(std::FILE* file) {
    // Handing over the file already held must not close it under the log.
    if (file == logFile) return;
    if (logFile) std::fclose(logFile);
    logFile = file;
}

void WkSetLogMask(std::uint32_t bits) { mask = bits; }
std::uint32_t WkGetLogMask() { return mask; }
void WkAddLogMask(std::uint32_t bits) { mask |= bits; }
void WkRemoveLogMask(std::uint32_t bits) { mask &= ~bits; }

const WkLogSettings& WkGetLogSettings() { return settings; }

void WkApplyLogManager(int visibleRows, int visibleColumns, int threshold) {
    if (visibleRows <= settings.lines) settings.visibleRows = std::max(visibleRows, 2);
    if (visibleColumns <= settings.columns) settings.visibleColumns = std::max(visibleColumns, 2);
    settings.threshold = threshold;
    if (!lines) WkMakeLogWindow();
}

void WkMakeLogWindow() {
    if (lines) return;
    lines = WkCreateItemList(settings.columns, 0, nullptr);
    for (int i = 0; i < settings.lines; ++i) WkItemListAdd(lines, "", 0);
    if (windowHooks.make) windowHooks.make();
}

WkItemList* WkLogLines() { return lines; }

void WkDropLogLines() {
    if (lines) WkFreeItemList(lines);
    lines = nullptr;
}

void WkSetLogWindowHooks(const WkLogWindowHooks* hooks) {
    windowHooks = hooks ? *hooks : WkLogWindowHooks{};
}

void WkSetLogTimeSource(WkLocalTimeSource source) { timeSource = source; }
