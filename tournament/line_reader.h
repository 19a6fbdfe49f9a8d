// Line reader shared by every text-file reader of the system.
//
// Reads a file one line at a time, accepting CR LF or LF line ends (the CR is
// stripped), keeps count of the line number so that a reader can name the bad
// line in its error, and never overruns a caller's buffer: a line longer than
// the caller allows is reported as too long rather than cut silently.
#pragma once

#include <cstdio>
#include <string>


class LineReader {
public:
    // Opens path for reading; ok() tells whether that worked.
    explicit LineReader(const std::string& path);
    // Reads from an already opened stream, which the reader does not close.
    LineReader(std::FILE* stream, std::string name);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    bool ok() const { return file_ != nullptr; }
    // Reads the next line without its line end into line. Returns false at
    // the end of the file (line is then empty).
    bool next(std::string& line);
    // Number of the line last returned by next(), counting from 1.
    int lineNumber() const { return line_; }
    // False when the line last returned by next() ran into the end of the
    // file without a line end: the last line of a file that was cut short.
    bool lineEnded() const { return ended_; }
    const std::string& name() const { return name_; }
    // "name, line N: what", the text readers give to the user for a bad line.
    std::string error(const std::string& what) const;

private:
    std::FILE* file_ = nullptr;
    bool owned_ = false;
    int line_ = 0;
    bool ended_ = true;
    std::string name_;
};

// Copies src into a fixed field of size bytes (terminator included), cut to
// fit; the field is always terminated. Every fixed-size text field of the
// tournament records is filled through this.
void CopyField(char* field, std::size_t size, const std::string& src);
template <std::size_t N> void CopyField(char (&field)[N], const std::string& src) { CopyField(field, N, src); }

