#include "toolkit/platform/profile.h"

#include "toolkit/platform/files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace plat {
namespace {

enum class LineKind { Blank, Comment, Section, Key, Unknown };

struct ParsedLine {
    LineKind kind = LineKind::Blank;
    std::string_view name;  // section or key
    std::string_view value; // key lines
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

ParsedLine Parse(std::string_view line) {
    ParsedLine p;
    std::string_view t = Trim(line);
    if (t.empty()) return p;
    if (t.front() == ';' || t.front() == '#') {
        p.kind = LineKind::Comment;
        return p;
    }
    if (t.front() == '[') {
        std::size_t close = t.find(']');
        if (close == std::string_view::npos || Trim(t.substr(1, close - 1)).empty()) {
            p.kind = LineKind::Unknown;
            return p;
        }
        p.kind = LineKind::Section;
        p.name = Trim(t.substr(1, close - 1));
        return p;
    }
    std::size_t eq = t.find('=');
    if (eq == std::string_view::npos || Trim(t.substr(0, eq)).empty()) {
        p.kind = LineKind::Unknown;
        return p;
    }
    p.kind = LineKind::Key;
    p.name = Trim(t.substr(0, eq));
    p.value = Trim(t.substr(eq + 1));
    return p;
}

bool SameName(std::string_view a, std::string_view b) { return CompareNoCase(a, b) == 0 && a.size() == b.size(); }

bool HoldsLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

} // namespace

bool Profile::load(const std::string& path, std::string* error) {
    lines_.clear();
    problems_.clear();
    std::FILE* f = OpenFile(path, "rb");
    if (!f) {
        if (errno == ENOENT || errno == ENOTDIR) return true;
        if (error) *error = path + ": cannot be read (" + std::strerror(errno) + ")";
        return false;
    }
    std::string text;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) {
        if (error) *error = path + ": cannot be read";
        lines_.clear();
        return false;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::size_t stop = end == std::string::npos ? text.size() : end;
        std::string line = text.substr(start, stop - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines_.push_back(std::move(line));
        start = stop + 1;
    }
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        ParsedLine p = Parse(lines_[i]);
        std::string where = path + ", line " + std::to_string(i + 1) + ": ";
        if (p.kind == LineKind::Section) inSection = true;
        if (p.kind == LineKind::Unknown)
            problems_.push_back(where + "expected [section], key=value, a comment or a blank line");
        else if (p.kind == LineKind::Key && !inSection)
            problems_.push_back(where + "expected a [section] line before the first key");
    }
    return true;
}

bool Profile::save(const std::string& path, std::string* error) const {
    std::string temp = path + "." + std::to_string(::getpid()) + ".tmp";
    std::FILE* f = OpenFile(temp, "wb");
    if (!f) {
        if (error) *error = path + ": cannot be written (" + std::strerror(errno) + ")";
        return false;
    }
    bool ok = true;
    for (const std::string& line : lines_) {
        ok = ok && std::fwrite(line.data(), 1, line.size(), f) == line.size();
        ok = ok && std::fwrite("\r\n", 1, 2, f) == 2;
    }
    ok = std::fflush(f) == 0 && ok;
    ok = ::fsync(::fileno(f)) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    if (ok && RenameFile(temp, path) != 0) ok = false;
    if (!ok) {
        if (error) *error = path + ": cannot be written (" + std::strerror(errno) + ")";
        RemoveFile(temp);
    }
    return ok;
}

std::optional<std::string> Profile::value(std::string_view section, std::string_view key) const {
    bool found = false, inside = false;
    for (const std::string& line : lines_) {
        ParsedLine p = Parse(line);
        if (p.kind == LineKind::Section) {
            if (inside) return std::nullopt; // only the first occurrence counts
            inside = !found && SameName(p.name, section);
            found = found || inside;
        } else if (inside && p.kind == LineKind::Key && SameName(p.name, key)) {
            return std::string(p.value);
        }
    }
    return std::nullopt;
}

bool Profile::set(std::string_view section, std::string_view key, std::string_view value) {
    section = Trim(section);
    key = Trim(key);
    if (section.empty() || key.empty() || HoldsLineBreak(section) || HoldsLineBreak(key) ||
        HoldsLineBreak(value) || section.find(']') != std::string_view::npos ||
        key.find('=') != std::string_view::npos)
        return false;
    std::string newLine = std::string(key) + "=" + std::string(Trim(value));
    std::size_t header = lines_.size(), insertAt = 0;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        ParsedLine p = Parse(lines_[i]);
        if (p.kind == LineKind::Section) {
            if (header != lines_.size()) break;
            if (SameName(p.name, section)) header = insertAt = i;
        } else if (header != lines_.size() && p.kind == LineKind::Key) {
            if (SameName(p.name, key)) { // the key keeps the spelling the file gave it
                lines_[i] = std::string(p.name) + "=" + std::string(Trim(value));
                return true;
            }
            insertAt = i;
        }
    }
    if (header != lines_.size()) {
        lines_.insert(lines_.begin() + std::ptrdiff_t(insertAt + 1), newLine);
        return true;
    }
    if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(newLine);
    return true;
}

std::vector<std::string> Profile::sections() const {
    std::vector<std::string> names;
    for (const std::string& line : lines_) {
        ParsedLine p = Parse(line);
        if (p.kind != LineKind::Section) continue;
        bool seen = false;
        for (const std::string& n : names) seen = seen || SameName(n, p.name);
        if (!seen) names.emplace_back(p.name);
    }
    return names;
}

std::optional<std::string> ReadProfileString(const std::string& path, std::string_view section,
                                             std::string_view key) {
    Profile p;
    if (!p.load(path)) return std::nullopt;
    return p.value(section, key);
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value, std::string* error) {
    Profile p;
    if (!p.load(path, error)) return false;
    if (!p.set(section, key, value)) {
        if (error) *error = path + ": a section or key name that cannot be stored";
        return false;
    }
    return p.save(path, error);
}

std::vector<std::string> ProfileSectionNames(const std::string& path) {
    Profile p;
    p.load(path);
    return p.sections();
}

} // namespace plat
