#include "tournament/files/line_reader.h"

#include "tournament/files/host_files.h"

#include <cerrno>
#include <sys/types.h>
#include <climits>
#include <cstdlib>
#include <cstring>


LineReader::LineReader(const std::string& path) : name_(path) {
    owned_ = true;
    irregular_ = HostFileKindOf(path) == HostFileKind::Other;
    if (!irregular_) file_ = OpenHostFile(path, "rb");
}

LineReader::LineReader(std::FILE* stream, std::string name) : file_(stream), name_(std::move(name)) {}

LineReader::~LineReader() {
    if (owned_ && file_) std::fclose(file_);
    std::free(buffer_);
}

bool LineReader::next(std::string& line) {
    line.clear();
    if (!file_) return false;
    ended_ = false;
    // One line at a time from the stream's buffer (NUL bytes included),
    // rather than a character at a time: the large files have 100 000 lines.
    const ssize_t read = getline(&buffer_, &capacity_, file_);
    if (read <= 0) return false;
    std::size_t length = static_cast<std::size_t>(read);
    if (buffer_[length - 1] == '\n') {
        ended_ = true;
        --length;
    }
    line.assign(buffer_, length);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    ++line_;
    return true;
}

std::string LineReader::error(const std::string& what) const {
    return name_ + ", line " + std::to_string(line_) + ": " + what;
}

void CopyField(char* field, std::size_t size, const std::string& src) {
    if (size == 0) return;
    std::size_t n = src.size() < size - 1 ? src.size() : size - 1;
    std::memcpy(field, src.data(), n);
    field[n] = '\0';
}


std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    words.reserve(16);
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const std::size_t size = text.size();
    for (std::size_t at = 0; at < size;) {
        if (blank(text[at])) {
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < size && !blank(text[end])) ++end;
        words.emplace_back(text, at, end - at);
        at = end;
    }
    return words;
}

bool ParseInt(std::string_view text, int& value) {
    const std::size_t at = text.find_first_not_of(" \t");
    if (at == std::string_view::npos) return false;
    const char* p = text.data() + at;
    const char* end = text.data() + text.find_last_not_of(" \t") + 1;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    if (p == end) return false;
    // Digits only up to the end (a NUL byte or a blank inside is no number),
    // and the value within an int.
    long long v = 0;
    for (; p < end; ++p) {
        if (*p < '0' || *p > '9') return false;
        v = v * 10 + (*p - '0');
        if (v > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (negative) v = -v;
    if (v < INT_MIN || v > INT_MAX) return false;
    value = static_cast<int>(v);
    return true;
}

StrictLines::Fault StrictLines::take(std::string& text) {
    if (hasPending_) {
        hasPending_ = false;
        text = std::move(pending_);
        return Fault::None;
    }
    if (!reader_.next(text)) return Fault::EndsEarly;
    if (!reader_.lineEnded()) return Fault::EndsInLine;
    if (text.find('\0') != std::string::npos) return Fault::NulByte;
    return Fault::None;
}

void StrictLines::failLine(Fault fault, const std::string& expected) const {
    switch (fault) {
    case Fault::EndsEarly: throw BadFile{reader_.name() + ": the file ends early; expected " + expected};
    case Fault::EndsInLine: fail("the file ends in the middle of this line; expected " + expected);
    default: fail("a NUL byte in the line; expected " + expected);
    }
}

std::string StrictLines::line(const std::string& expected) {
    return lineFor([&] { return expected; });
}

void StrictLines::unread(std::string text) {
    pending_ = std::move(text);
    hasPending_ = true;
}

void StrictLines::fail(const std::string& what) const { throw BadFile{reader_.error(what)}; }

void StrictLines::end(const std::string& what) {
    std::string text;
    if (hasPending_ && pending_.find_first_not_of(" \t\r") != std::string::npos)
        fail("expected the end of the file after " + what);
    hasPending_ = false;
    while (reader_.next(text))
        if (text.find_first_not_of(" \t\r") != std::string::npos)
            fail("expected the end of the file after " + what);
}
