#include "reports/report_file.h"

#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/settings.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

// One conversion of the formats the reports use: flags '-' and '0', a width
// and a precision in digits, no length or l or ll, and d i u s c f or %.
struct Conversion {
    const char* at;  // its '%'
    const char* end; // past its letter
    bool left, zero;
    int width, precision; // precision -1: none
    int longs;            // l count
    char kind;
};

constexpr int kMaxConversions = 32;
constexpr int kMaxField = 4096;

int Digits(const char*& p) {
    int n = 0;
    while (*p >= '0' && *p <= '9') {
        n = n * 10 + (*p++ - '0');
        if (n > kMaxField) n = kMaxField;
    }
    return n;
}

// Reads the conversion at its '%'; false for one the fast path leaves to
// the C library (other flags, '*', other lengths and kinds, undefined mixes).
bool ReadConversion(const char* p, Conversion& c) {
    c.at = p++;
    c.left = c.zero = false;
    for (;; ++p) {
        if (*p == '-') c.left = true;
        else if (*p == '0') c.zero = true;
        else break;
    }
    c.width = Digits(p);
    c.precision = -1;
    if (*p == '.') {
        ++p;
        c.precision = Digits(p);
    }
    c.longs = 0;
    while (*p == 'l' && c.longs < 2) ++c.longs, ++p;
    c.kind = *p;
    c.end = *p ? p + 1 : p;
    switch (c.kind) {
    case 'd':
    case 'i':
    case 'u': return c.precision < 0;
    case 's': return !c.zero && c.longs == 0;
    case 'c': return !c.zero && c.longs == 0 && c.precision < 0;
    case 'f': return c.longs <= 1;
    case '%': return c.end == c.at + 2;
    default: return false;
    }
}

// The body padded to the width; zeros go between the sign and the digits.
void Pad(std::string& out, const Conversion& c, bool minus, const char* body, std::size_t length) {
    const std::size_t used = length + (minus ? 1 : 0);
    const std::size_t fill = static_cast<std::size_t>(c.width) > used ? static_cast<std::size_t>(c.width) - used : 0;
    // A short field, as nearly every one is, goes into the report in one append.
    char field[64];
    if (used + fill <= sizeof field) {
        char* p = field;
        if (!c.left && !c.zero) p = std::fill_n(p, fill, ' ');
        if (minus) *p++ = '-';
        if (!c.left && c.zero) p = std::fill_n(p, fill, '0');
        p = std::copy_n(body, length, p);
        if (c.left) p = std::fill_n(p, fill, ' ');
        out.append(field, static_cast<std::size_t>(p - field));
        return;
    }
    if (fill && !c.left && !c.zero) out.append(fill, ' ');
    if (minus) out += '-';
    if (fill && !c.left && c.zero) out.append(fill, '0');
    out.append(body, length);
    if (fill && c.left) out.append(fill, ' ');
}

void Decimal(std::string& out, const Conversion& c, bool minus, unsigned long long value) {
    char digits[24];
    char* end = digits + sizeof digits;
    char* p = end;
    do {
        *--p = char('0' + value % 10);
        value /= 10;
    } while (value);
    Pad(out, c, minus, p, static_cast<std::size_t>(end - p));
}

// What the C library prints for one conversion, for the values the fast
// path does not take on (not finite, too large, too precise, a null text).
template <class T> void ByLibrary(std::string& out, const Conversion& c, T value) {
    const std::string one(c.at, c.end);
    const int length = std::snprintf(nullptr, 0, one.c_str(), value);
    if (length <= 0) return;
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    std::snprintf(text.data(), text.size(), one.c_str(), value);
    out.append(text.data(), static_cast<std::size_t>(length));
}

// Fixed-point digits of the value, rounded as the C library rounds: the
// exact binary value to the nearest, a tie to the even digit.
bool Fixed(std::string& out, const Conversion& c, double value) {
    const int precision = c.precision < 0 ? 6 : c.precision;
    if (!std::isfinite(value) || precision > 9) return false;
    static const double kScale[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    const double scale = kScale[precision];
    const double magnitude = std::fabs(value);
    const double scaled = magnitude * scale;
    if (scaled >= 4503599627370496.0) return false; // 2^52: whole numbers only from here
    auto rest = static_cast<unsigned long long>(scaled); // the whole part: the product is not negative
    const double part = scaled - static_cast<double>(rest);
    if (part > 0.5) {
        ++rest;
    } else if (part == 0.5) {
        // The product's rounding error, exactly: where the product fell on
        // a half, it tells which way the exact value lies.
        const double error = std::fma(magnitude, scale, -scaled);
        if (error > 0 || (error == 0 && rest % 2 != 0)) ++rest;
    }
    // Digits from the right: the fraction's, the point, the whole part's.
    char body[48];
    char* end = body + sizeof body;
    char* q = end;
    for (int i = 0; i < precision; ++i, rest /= 10) *--q = char('0' + rest % 10);
    if (precision > 0) *--q = '.';
    do {
        *--q = char('0' + rest % 10);
        rest /= 10;
    } while (rest);
    Pad(out, c, std::signbit(value), q, static_cast<std::size_t>(end - q));
    return true;
}

void FormatConversion(std::string& out, const Conversion& c, va_list& args) {
    switch (c.kind) {
    case 'd':
    case 'i': {
        const long long v = c.longs == 2 ? va_arg(args, long long)
                            : c.longs == 1 ? va_arg(args, long)
                                           : va_arg(args, int);
        Decimal(out, c, v < 0, v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v));
        return;
    }
    case 'u':
        Decimal(out, c, false, c.longs == 2 ? va_arg(args, unsigned long long)
                               : c.longs == 1 ? va_arg(args, unsigned long)
                                              : va_arg(args, unsigned));
        return;
    case 'c': {
        const char ch = static_cast<char>(va_arg(args, int));
        Pad(out, c, false, &ch, 1);
        return;
    }
    case 's': {
        const char* text = va_arg(args, const char*);
        if (!text) return ByLibrary(out, c, text);
        const std::size_t length =
            c.precision < 0 ? std::strlen(text) : strnlen(text, static_cast<std::size_t>(c.precision));
        Pad(out, c, false, text, length);
        return;
    }
    case 'f': {
        const double v = va_arg(args, double);
        if (!Fixed(out, c, v)) ByLibrary(out, c, v);
        return;
    }
    default: out += '%'; return;
    }
}

void ByLibrary(std::string& out, const char* format, va_list args) {
    char small[256];
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(small, sizeof small, format, args);
    if (length >= 0 && static_cast<std::size_t>(length) < sizeof small) {
        out.append(small, static_cast<std::size_t>(length));
    } else if (length >= 0) {
        std::vector<char> big(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(big.data(), big.size(), format, again);
        out.append(big.data(), static_cast<std::size_t>(length));
    }
    va_end(again);
}

} // namespace

void AppendFormat(std::string& out, const char* format, ...) {
    va_list args;
    va_start(args, format);
    // Reports format hundreds of thousands of fields: the conversions they
    // use are done here, the C library's general machinery only for others.
    Conversion conversions[kMaxConversions];
    int count = 0;
    bool simple = true;
    for (const char* p = format; (p = std::strchr(p, '%')); p = conversions[count++].end) {
        if (count == kMaxConversions || !ReadConversion(p, conversions[count])) {
            simple = false;
            break;
        }
    }
    if (!simple) {
        ByLibrary(out, format, args);
        va_end(args);
        return;
    }
    const char* text = format;
    for (int i = 0; i < count; ++i) {
        out.append(text, static_cast<std::size_t>(conversions[i].at - text));
        FormatConversion(out, conversions[i], args);
        text = conversions[i].end;
    }
    out.append(text);
    va_end(args);
}

void AppendInt(std::string& out, long long value, int width, bool left) {
    Conversion c{};
    c.width = width;
    c.left = left;
    Decimal(out, c, value < 0, value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value));
}

void AppendFixed(std::string& out, double value, int width, int precision) {
    Conversion c{};
    c.width = width;
    c.precision = precision;
    if (Fixed(out, c, value)) return;
    const std::string one = "%" + std::to_string(width) + "." + std::to_string(precision) + "f";
    c.at = one.c_str();
    c.end = c.at + one.size();
    ByLibrary(out, c, value);
}

void AppendText(std::string& out, const char* text, int width, int precision, bool left) {
    Conversion c{};
    c.width = width;
    c.left = left;
    const std::size_t length = precision < 0 ? std::strlen(text) : strnlen(text, static_cast<std::size_t>(precision));
    Pad(out, c, false, text, length);
}

void AppendRule(std::string& out, char c, int count) {
    if (count > 0) out.append(static_cast<std::size_t>(count), c);
    out += '\n';
}

namespace {

// The text with each "\n" as CR LF, through a buffer of its own: a report
// of megabytes is not copied whole first.
bool WriteWithCrLf(std::FILE* file, const std::string& text) {
    constexpr std::size_t kChunk = 1 << 16;
    char chunk[kChunk];
    std::size_t used = 0;
    const auto flush = [&] {
        const bool written = std::fwrite(chunk, 1, used, file) == used;
        used = 0;
        return written;
    };
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const char* line = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const char* const stop = line ? line : end;
        while (p < stop) {
            if (used == kChunk && !flush()) return false;
            const std::size_t n = std::min(static_cast<std::size_t>(stop - p), kChunk - used);
            std::memcpy(chunk + used, p, n);
            used += n;
            p += n;
        }
        if (line) {
            if (used + 2 > kChunk && !flush()) return false;
            chunk[used++] = '\r';
            chunk[used++] = '\n';
            p = line + 1;
        }
    }
    return flush();
}

// The reports not written since the last take; the writers aside note too.
std::mutex NotWrittenLock;
std::vector<std::string> NotWritten;

bool Noted(bool written, const std::string& path) {
    if (!written) {
        const std::lock_guard<std::mutex> hold(NotWrittenLock);
        // Each file once, however often it failed before it was taken.
        if (std::find(NotWritten.begin(), NotWritten.end(), path) == NotWritten.end()) NotWritten.push_back(path);
    }
    return written;
}

} // namespace

bool WriteReportFile(const std::string& path, const std::string& text) {
    AtomicFileWriter file(path);
    return Noted(file.ok() && WriteWithCrLf(file.stream(), text) && file.commit(), path);
}

void NoteReportNotWritten(const std::string& path) {
    Noted(false, path);
}

std::vector<std::string> TakeReportsNotWritten() {
    std::vector<std::string> paths;
    {
        const std::lock_guard<std::mutex> hold(NotWrittenLock);
        paths.swap(NotWritten);
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

bool AlertReportsNotWritten() {
    const std::vector<std::string> paths = TakeReportsNotWritten();
    if (paths.empty()) return false;
    std::string text = MessageText(MsgCannotCreateFile);
    for (const std::string& path : paths) text += "\n" + path;
    ShowAlert(text, MessageText(MsgClose));
    return true;
}

bool WriteReportsOrAlert(const std::function<bool()>& write) {
    TakeReportsNotWritten();
    if (write()) return true;
    if (!AlertReportsNotWritten()) ShowAlert(MessageText(MsgCannotCreateFile), MessageText(MsgClose));
    return false;
}

ReportStream::ReportStream(const std::string& path) : file_(path), ok_(file_.ok()) {}

void ReportStream::pass() {
    if (text_.size() < (1u << 16)) return;
    if (ok_) ok_ = WriteWithCrLf(file_.stream(), text_);
    text_.clear();
}

bool ReportStream::commit() {
    const bool written = ok_ && WriteWithCrLf(file_.stream(), text_);
    text_.clear();
    ok_ = false;
    return Noted(written && file_.commit(), file_.path());
}

std::string DataFolderFile(const char* name) {
    return FieldText(Settings.DataFolder) + name;
}

std::string DataFolderFile(const char* pattern, int round) {
    std::string name;
    AppendFormat(name, pattern, round);
    return DataFolderFile(name.c_str());
}

std::string FieldText(const char* field, std::size_t size) {
    return std::string(field, strnlen(field, size));
}
