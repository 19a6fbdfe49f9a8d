#include "reports/report_file.h"

#include "tournament/settings.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

void AppendFormat(std::string& out, const char* format, ...) {
    char small[256];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int length = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (length < 0) {
        va_end(again);
        return;
    }
    if (static_cast<std::size_t>(length) < sizeof small) {
        out.append(small, static_cast<std::size_t>(length));
    } else {
        std::vector<char> big(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(big.data(), big.size(), format, again);
        out.append(big.data(), static_cast<std::size_t>(length));
    }
    va_end(again);
}

void AppendRule(std::string& out, char c, int count) {
    if (count > 0) out.append(static_cast<std::size_t>(count), c);
    out += '\n';
}

bool WriteReportFile(const std::string& path, const std::string& text) {
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') bytes += '\r';
        bytes += c;
    }
    const std::string temporary = path + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fflush(file) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    if (ok) ok = std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) std::remove(temporary.c_str());
    return ok;
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
