#include "tournament/files/line_reader.h"

#include <gtest/gtest.h>

#include <climits>
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

TEST(LineReader, KeepsNulBytesAndLongLinesAndTellsACutLastLine) {
    const std::string longLine(5000, 'x');
    std::FILE* f = std::tmpfile();
    const std::string bytes = std::string("a\0b\n", 4) + longLine + "\r\nend";
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::rewind(f);
    LineReader r(f, "mem");
    std::string line;
    ASSERT_TRUE(r.next(line));
    EXPECT_EQ(line, std::string("a\0b", 3));
    EXPECT_TRUE(r.lineEnded());
    ASSERT_TRUE(r.next(line));
    EXPECT_EQ(line, longLine);
    ASSERT_TRUE(r.next(line));
    EXPECT_EQ(line, "end");
    EXPECT_FALSE(r.lineEnded());
    EXPECT_FALSE(r.next(line));
    std::fclose(f);
}

TEST(ParseInt, TakesOneWholeDecimalNumberThatFitsAnInt) {
    struct Case {
        std::string text;
        bool ok;
        int value;
    };
    const Case cases[] = {
        {" 12 ", true, 12},          {"\t-7\t", true, -7},          {"+5", true, 5},
        {"0012", true, 12},          {"-2147483648", true, INT_MIN}, {"2147483647", true, INT_MAX},
        {"2147483648", false, 0},    {"99999999999999999999", false, 0}, {"+", false, 0},
        {"-+5", false, 0},           {"1 2", false, 0},               {"5x", false, 0},
        {"", false, 0},              {" \t ", false, 0},              {std::string("7\0", 2), false, 0},
    };
    for (const Case& c : cases) {
        int value = 0;
        EXPECT_EQ(ParseInt(c.text, value), c.ok) << "[" << c.text << "]";
        EXPECT_EQ(value, c.value) << "[" << c.text << "]";
    }
}

TEST(Words, SplitAtBlanksAndTabs) {
    struct Case {
        const char* text;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {"  a\tbb  c ", {"a", "bb", "c"}}, {"", {}}, {" \t ", {}}, {"[001] 1 -1", {"[001]", "1", "-1"}}, {"last", {"last"}},
    };
    for (const Case& c : cases) EXPECT_EQ(Words(c.text), c.words) << "[" << c.text << "]";
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
