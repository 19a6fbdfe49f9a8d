// The toolkit's diagnostic log, without its window.
//
// A message is a printf-style line with a level; it is kept when its level is
// at or below the threshold (and, for the masked forms, when its category
// bits share a bit with the category mask), prefixed by the local time when a
// time format is set, written to the log file when one is open (CR LF line
// ends, flushed), and appended to the queue of the last lines that the Log
// window shows, dropping the oldest. Lines are composed without a length
// limit; the queue keeps them cut to the columns setting.
//
// The module owns the time-format copy, the log file once handed over, and
// the line queue (a WkItemList of `lines` items, made with the window). The
// Log window, which comes with the widgets, hooks in with WkSetLogWindowHooks.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <ctime>

#include "toolkit/core/item_list.h"

inline constexpr int WK_LOG_ERROR = 1;

void WkLog(int level, const char* format, ...) __attribute__((format(printf, 2, 3)));
void WkLogMasked(int level, std::uint32_t bits, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
void WkLogV(int level, const char* format, va_list args) __attribute__((format(printf, 2, 0)));
void WkLogMaskedV(int level, std::uint32_t bits, const char* format, va_list args)
    __attribute__((format(printf, 3, 0)));

// Opens the log: a given path replaces the log file (opened truncated; none
// when it cannot be opened); the threshold becomes level unless it is final;
// before the window is made, each size of 2 or more is taken (capped at 500
// lines, 50 rows, 500 columns, 200 visible columns); then the window is made.
void WkOpenLog(int level, int lines, int visibleRows, int columns, int visibleColumns,
               const char* path);
// Sets the threshold while the current one is between 0 and 99; a threshold of
// 100 or more (or below 0) is final here and in WkOpenLog.
void WkSetLogLevel(int level);
// A copy of the strftime format of the line prefix; null removes it.
void WkSetLogTimeFormat(const char* format);
// Closes the current log file and takes file (which may be null).
void WkSetLogFile(std::FILE* file);
void WkSetLogMask(std::uint32_t bits);
std::uint32_t WkGetLogMask();
void WkAddLogMask(std::uint32_t bits);
void WkRemoveLogMask(std::uint32_t bits);

struct WkLogSettings {
    int threshold = 1;
    int lines = 10;
    int visibleRows = 3;
    int columns = 80;
    int visibleColumns = 80;
};
const WkLogSettings& WkGetLogSettings();

// The Log Manager's Ok: visible rows taken when not above the lines, visible
// columns when not above the columns (values below 2 count as 2); the
// threshold as typed, also when it was final.
void WkApplyLogManager(int visibleRows, int visibleColumns, int threshold);

// Making the window: the line queue is filled with `lines` empty items and
// the make hook builds the (hidden) window around WkLogLines(). Done by the
// first kept line and by WkOpenLog; the show key does it too.
void WkMakeLogWindow();
// The line queue, oldest first; null until the window is made.
WkItemList* WkLogLines();
// Frees the line queue: the next line makes the window again (for a
// toolkit started again in the same process).
void WkDropLogLines();

struct WkLogWindowHooks {
    void (*make)() = nullptr;        // build the window around WkLogLines()
    void (*beginUpdate)() = nullptr; // before a line enters the queue
    void (*endUpdate)() = nullptr;   // after it
};
// Null removes the hooks; the hooks are copied.
void WkSetLogWindowHooks(const WkLogWindowHooks* hooks);

// The local time of the line prefix; the host's unless replaced (null restores it).
using WkLocalTimeSource = void (*)(std::tm* now);
void WkSetLogTimeSource(WkLocalTimeSource source);
