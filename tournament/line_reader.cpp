#include "tournament/line_reader.h"

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

