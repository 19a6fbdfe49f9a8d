// Settings files of the ini kind ("profile" files): sections in brackets,
// key=value lines, comments starting with ';' or '#'.
//
// Section and key names are compared without regard to case (ASCII letters).
// When a section stands twice in a file, only its first occurrence counts,
// for reading and for writing; within a section the first of a repeated key
// wins. Values are kept whole, of any length, with the blanks around them
// removed; bytes are Windows-1252 and passed through untouched.
//
// A Profile holds one file's lines as they stand, so that writing a key
// changes that one line (or adds one) and keeps every comment, blank line,
// unknown line and the order of the rest. Files are read accepting CR LF or
// LF and written whole with CR LF, atomically: into a temporary file beside
// the target, then renamed over it, so a failed write leaves the old file.
// Lines the reader cannot place are kept and reported in problems(), each
// naming the file and the line.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

class Profile {
public:
    // Reads the file. A missing file gives an empty profile and true; false
    // (with the reason in error) when the file exists but cannot be read.
    bool load(const std::string& path, std::string* error = nullptr);
    // Writes every line, CR LF, atomically. False with the reason in error.
    bool save(const std::string& path, std::string* error = nullptr) const;

    // The value of the key in the first section of that name.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // Sets the key in the first section of that name: its line is rewritten
    // in place, or a new line follows the section's last key line, or the
    // section is added at the end of the file. False (nothing changed) when a
    // name is empty or holds a line break, the section a ']' or the key a '='.
    bool set(std::string_view section, std::string_view key, std::string_view value);
    // The section names in file order, each once, spelled as first found.
    std::vector<std::string> sections() const;

    const std::vector<std::string>& lines() const { return lines_; }
    // "path, line N: expected ..." for every line that is not a section, a
    // key line, a comment or blank.
    const std::vector<std::string>& problems() const { return problems_; }

private:
    std::vector<std::string> lines_;
    std::vector<std::string> problems_;
};

// One-call forms over a file. A missing file, section or key reads as nothing.
std::optional<std::string> ReadProfileString(const std::string& path, std::string_view section,
                                             std::string_view key);
// Reads the file (missing: empty), sets the key and writes the file back.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value, std::string* error = nullptr);
std::vector<std::string> ProfileSectionNames(const std::string& path);

} // namespace plat
