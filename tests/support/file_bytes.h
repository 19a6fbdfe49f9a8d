// Whole files as bytes, for tests that check what a writer put on disk or
// hand a reader crafted input. Header only.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// The file's bytes; empty when it cannot be read.
inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Replaces the file with exactly these bytes.
inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The lines of bytes written with CR LF line ends, without them; a last
// line without one is kept whole.
inline std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t end = bytes.find("\r\n", at);
        if (end == std::string::npos) end = bytes.size();
        lines.push_back(bytes.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}
