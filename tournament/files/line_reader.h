// Line reader shared by every text-file reader of the system.
//
// Reads a file one line at a time, accepting CR LF or LF line ends (the CR is
// stripped), and keeps count of the line number so that a reader can name the
// bad line in its error. A line is returned whole, however long: the reader
// decides what to do with it, and the fixed text fields of the tournament
// records are filled through CopyField, which cuts an over-long text at its
// field width. StrictLines and the word helpers below serve the readers that
// refuse a whole file at its first bad line.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>


class LineReader {
public:
    // Opens path for reading; ok() tells whether that worked. What is not a
    // regular file (a FIFO, a device) is not opened at all: reading it could
    // block or never end.
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
    // True when path was left unopened for not being a regular file.
    bool irregular() const { return irregular_; }
    // The file's name for a box saying it could not be opened, with the
    // reason when it is known (": not a regular file").
    std::string unopened() const { return irregular_ ? name_ + ": not a regular file" : name_; }
    // "name, line N: what", the text readers give to the user for a bad line.
    std::string error(const std::string& what) const;

private:
    std::FILE* file_ = nullptr;
    bool owned_ = false;
    bool irregular_ = false;
    char* buffer_ = nullptr; // the line being read, grown as needed
    std::size_t capacity_ = 0;
    int line_ = 0;
    bool ended_ = true;
    std::string name_;
};

// Copies src into a fixed field of size bytes (terminator included), cut to
// fit; the field is always terminated. Every fixed-size text field of the
// tournament records is filled through this.
void CopyField(char* field, std::size_t size, const std::string& src);
template <std::size_t N> void CopyField(char (&field)[N], const std::string& src) { CopyField(field, N, src); }


// A reading failure: the text for the user, naming the file, the line and
// what was expected there.
struct BadFile {
    std::string what;
};

// The blank- or tab-separated words of text.
std::vector<std::string> Words(const std::string& text);

// text, blanks and tabs around it ignored, as a whole decimal number with an
// optional sign; false when it is not one (a NUL byte included) or does not
// fit an int.
bool ParseInt(std::string_view text, int& value);

// The lines of a file for a strict reader: every failure throws BadFile.
class StrictLines {
public:
    explicit StrictLines(LineReader& reader) : reader_(reader) {}

    // The next line, whole: a file that ends before it, or in the middle of
    // it, is cut short, and a NUL byte is refused (a text or a number
    // holding one would be cut at it without a word).
    std::string line(const std::string& expected);
    // As line(), with what was expected spelled by expected() only when the
    // line fails: readers of a row per player spell it once, not per row.
    template <class Expected> std::string lineFor(const Expected& expected) {
        std::string text;
        if (const Fault fault = take(text); fault != Fault::None) failLine(fault, expected());
        return text;
    }
    // Hands text back: the next line() returns it again.
    void unread(std::string text);
    [[noreturn]] void fail(const std::string& what) const;
    // Only blank lines may follow; what names what they follow.
    void end(const std::string& what);

protected:
    enum class Fault { None, EndsEarly, EndsInLine, NulByte };
    // The next line into text, and what refuses it.
    Fault take(std::string& text);
    [[noreturn]] void failLine(Fault fault, const std::string& expected) const;

    LineReader& reader_;
    std::string pending_;
    bool hasPending_ = false;
};
