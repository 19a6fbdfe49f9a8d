#include "tournament/line_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<std::string> ReadAll(const std::string& bytes, int* lastLine = nullptr) {
    std::FILE* f = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::rewind(f);
    LineReader r(f, "mem");
    std::vector<std::string> lines;
    std::string line;
    while (r.next(line)) lines.push_back(line);
    if (lastLine) *lastLine = r.lineNumber();
    std::fclose(f);
    return lines;
}

TEST(LineReader, AcceptsCrLfAndLfAndAMissingLastLineEnd) {
    int last = 0;
    auto lines = ReadAll("one\r\ntwo\nthree", &last);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "one");
    EXPECT_EQ(lines[1], "two");
    EXPECT_EQ(lines[2], "three");
    EXPECT_EQ(last, 3);
}

TEST(LineReader, KeepsEmptyLinesAndWindows1252Bytes) {
    auto lines = ReadAll("\r\n\xBD\r\n\r\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "\xBD");
    EXPECT_EQ(lines[2], "");
}

TEST(LineReader, NamesFileAndLineInErrors) {
    std::FILE* f = std::tmpfile();
    std::fputs("a\nb\n", f);
    std::rewind(f);
    LineReader r(f, "x.qon");
    std::string line;
    r.next(line);
    r.next(line);
    EXPECT_EQ(r.error("a number was expected"), "x.qon, line 2: a number was expected");
    std::fclose(f);
}

TEST(LineReader, MissingFileIsNotOk) {
    LineReader r("/nonexistent/dir/file.txt");
    EXPECT_FALSE(r.ok());
    std::string line;
    EXPECT_FALSE(r.next(line));
}

TEST(CopyField, CutsToTheFieldAndAlwaysTerminates) {
    char name[5];
    CopyField(name, "abcdefgh");
    EXPECT_STREQ(name, "abcd");
    CopyField(name, "ab");
    EXPECT_STREQ(name, "ab");
}

} // namespace
