#include "tournament/line_reader.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>


LineReader::LineReader(const std::string& path) : name_(path) {
    file_ = std::fopen(path.c_str(), "rb");
    owned_ = true;
}

LineReader::LineReader(std::FILE* stream, std::string name) : file_(stream), name_(std::move(name)) {}

LineReader::~LineReader() {
    if (owned_ && file_) std::fclose(file_);
}

bool LineReader::next(std::string& line) {
    line.clear();
    if (!file_) return false;
    int c;
    bool any = false;
    ended_ = false;
    while ((c = std::fgetc(file_)) != EOF) {
        any = true;
        if (c == '\n') {
            ended_ = true;
            break;
        }
        line.push_back(static_cast<char>(c));
    }
    if (!any) return false;
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
    std::size_t at = 0;
    while ((at = text.find_first_not_of(" \t", at)) != std::string::npos) {
        std::size_t end = text.find_first_of(" \t", at);
        if (end == std::string::npos) end = text.size();
        words.push_back(text.substr(at, end - at));
        at = end;
    }
    return words;
}

bool ParseInt(const std::string& text, int& value) {
    const std::size_t at = text.find_first_not_of(" \t");
    if (at == std::string::npos || text.find('\0') != std::string::npos) return false;
    const std::string word = text.substr(at, text.find_last_not_of(" \t") - at + 1);
    if (!(word[0] == '-' || word[0] == '+' || (word[0] >= '0' && word[0] <= '9'))) return false;
    char* stop = nullptr;
    errno = 0;
    const long long v = std::strtoll(word.c_str(), &stop, 10);
    if (errno != 0 || *stop != '\0' || stop == word.c_str() || v < INT_MIN || v > INT_MAX) return false;
    value = static_cast<int>(v);
    return true;
}

std::string StrictLines::line(const std::string& expected) {
    if (hasPending_) {
        hasPending_ = false;
        return std::move(pending_);
    }
    std::string text;
    if (!reader_.next(text)) throw BadFile{reader_.name() + ": the file ends early; expected " + expected};
    if (!reader_.lineEnded()) fail("the file ends in the middle of this line; expected " + expected);
    if (text.find('\0') != std::string::npos) fail("a NUL byte in the line; expected " + expected);
    return text;
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
