#include "report_tournament.h"

#include "reports/report_file.h"

#include <filesystem>
#include <limits>

namespace {

TEST(ReportFile, WritesLineEndsAsCrLfAndBytesUnchanged) {
    const std::string folder = UseDataFolder("report_file_bytes");
    ASSERT_TRUE(WriteReportFile(folder + "a.txt", "one\n\xBD two\n\nend"));
    EXPECT_EQ(ReadBytes(folder + "a.txt"), "one\r\n\xBD two\r\n\r\nend");
    EXPECT_FALSE(FileExists(folder + "a.txt.tmp"));
}

TEST(ReportFile, ReplacesAnEarlierFileWhole) {
    const std::string folder = UseDataFolder("report_file_replace");
    ASSERT_TRUE(WriteReportFile(folder + "a.txt", std::string(1000, 'x')));
    ASSERT_TRUE(WriteReportFile(folder + "a.txt", "short\n"));
    EXPECT_EQ(ReadBytes(folder + "a.txt"), "short\r\n");
}

TEST(ReportFile, FailureIsReportedAndLeavesNothingBehind) {
    const std::string folder = UseDataFolder("report_file_fail");
    EXPECT_FALSE(WriteReportFile(folder + "no such folder/a.txt", "x\n"));
    // A folder in the way of the target: the copy is written but cannot
    // replace it, and must not be left lying about.
    std::filesystem::create_directories(folder + "busy.txt/inside");
    EXPECT_FALSE(WriteReportFile(folder + "busy.txt", "x\n"));
    EXPECT_FALSE(FileExists(folder + "busy.txt.tmp"));
}

TEST(ReportFile, FormatsTextsOfAnyLength) {
    std::string out = "head ";
    const std::string longText(1000, 'n');
    AppendFormat(out, "[%s] %d", longText.c_str(), 42);
    EXPECT_EQ(out, "head [" + longText + "] 42");
    std::string rule;
    AppendRule(rule, '=', 3);
    EXPECT_EQ(rule, "===\n");
}

// The reports' own formatting must print every field as the C library
// does: the exact binary value rounded to the nearest, a tie to the even
// digit, the sign kept on a value that rounds to zero.
TEST(ReportFile, FixedPointFieldsRoundAsTheCLibraryDoes) {
    struct Case {
        const char* format;
        double value;
        const char* expected;
    };
    const Case cases[] = {
        {"%4.1f", 0.25, " 0.2"},           {"%5.2f", 0.125, " 0.12"},
        {"%4.1f", 0.35, " 0.3"},           {"%4.1f", 2.25, " 2.2"},
        {"%4.1f", 2.35, " 2.4"},           {"%.0f", 2.5, "2"},
        {"%.0f", 1.5, "2"},                {"%4.1f", -0.04, "-0.0"},
        {"%05.1f", -2.5, "-02.5"},         {"%-6.2f|", 1.005, "1.00  |"},
        {"%6.2f", double(0.675f), "  0.68"}, {"%f", 3.0, "3.000000"},
        {"%5.1f", double(9.5f), "  9.5"},  {"%.1f", 1e17, "100000000000000000.0"},
        {"%5.2f", -std::numeric_limits<double>::infinity(), " -inf"},
    };
    for (const Case& c : cases) {
        std::string out;
        AppendFormat(out, c.format, c.value);
        EXPECT_EQ(out, c.expected) << c.format << " of " << c.value;
    }
}

TEST(ReportFile, WholeNumbersTextsAndOtherConversions) {
    struct Case {
        void (*format)(std::string&);
        const char* expected;
    };
    const Case cases[] = {
        {[](std::string& o) { AppendFormat(o, "%03d|%-4d|%5d|%d", -7, 12, -345, -2147483647 - 1); },
         "-07|12  | -345|-2147483648"},
        {[](std::string& o) { AppendFormat(o, "%-20.20s|%3.3s|%5s|%-3s|", "a name longer than twenty", "abcdef", "ab", "x"); },
         "a name longer than t|abc|   ab|x  |"},
        {[](std::string& o) { AppendFormat(o, "%c%3c%-3c|%%|%4lld|%lu", 'a', 'b', 'c', -5LL, 7UL); }, "a  bc  |%|  -5|7"},
        {[](std::string& o) { AppendFormat(o, "%g|%x", 0.5, 255); }, "0.5|ff"},
        {[](std::string& o) { AppendFormat(o, "\xBD%s\xBD", "x"); }, "\xBDx\xBD"},
    };
    for (const Case& c : cases) {
        std::string out = "<";
        c.format(out);
        EXPECT_EQ(out, std::string("<") + c.expected);
    }
}

// The single fields print as their printf conversions do.
TEST(ReportFile, SingleFieldsPrintAsTheirConversions) {
    struct Case {
        void (*append)(std::string&);
        const char* expected;
    };
    const Case cases[] = {
        {[](std::string& o) { AppendInt(o, -7, 3); }, " -7"},               // %3d
        {[](std::string& o) { AppendInt(o, 42, 4, true); }, "42  "},        // %-4d
        {[](std::string& o) { AppendInt(o, -2147483648LL); }, "-2147483648"}, // %d
        {[](std::string& o) { AppendFixed(o, 0.125, 5, 2); }, " 0.12"},     // %5.2f
        {[](std::string& o) { AppendFixed(o, -0.04, 4, 1); }, "-0.0"},      // %4.1f
        {[](std::string& o) { AppendFixed(o, 1e17, 3, 1); }, "100000000000000000.0"},
        {[](std::string& o) { AppendText(o, "a name longer than twenty", 20, 20, true); }, "a name longer than t"},
        {[](std::string& o) { AppendText(o, "W ", 2); }, "W "},
        {[](std::string& o) { AppendText(o, "ab", 5); }, "   ab"},          // the last: %5s
    };
    for (const Case& c : cases) {
        std::string out = "<";
        c.append(out);
        EXPECT_EQ(out, std::string("<") + c.expected);
    }
}

TEST(ReportFile, FieldTextStopsAtTheFieldsEnd) {
    char field[4] = {'A', 'B', 'C', 'D'}; // no terminator
    EXPECT_EQ(FieldText(field), "ABCD");
    char shorter[4] = {'A', 0, 'C', 'D'};
    EXPECT_EQ(FieldText(shorter), "A");
}

} // namespace

// A report of megabytes goes out a piece at a time: a line end on the
// border of two pieces keeps its CR LF whole, and the end of the text,
// with or without a line end, is written.
TEST(ReportFile, LargeReportsKeepEveryLineEndAcrossTheirPieces) {
    const std::string folder = UseDataFolder("report_file_large");
    struct Case {
        std::size_t xs; // the text starts with this many 'x'
        const char* tail;
        const char* written; // the file after its 'x'
    };
    const Case cases[] = {
        {65535, "\n", "\r\n"},
        {65534, "\n\n", "\r\n\r\n"},
        {65536, "\nend", "\r\nend"},
        {131070, "\n", "\r\n"},
        {200000, "\nlast line\n", "\r\nlast line\r\n"}, // the last ends with its line end
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteReportFile(folder + "big.txt", std::string(c.xs, 'x') + c.tail));
        const std::string bytes = ReadBytes(folder + "big.txt");
        EXPECT_EQ(bytes.find_first_not_of('x'), c.xs) << c.xs;
        EXPECT_EQ(bytes.substr(std::min(c.xs, bytes.size())), c.written) << c.xs;
    }
}

// Fields are built aside when they are short; wider ones are padded in the
// report itself, alike.
TEST(ReportFile, WideFieldsPadAsShortOnes) {
    struct Case {
        void (*append)(std::string&);
        std::size_t spaces, zeros;
        const char* body;
    };
    const Case cases[] = {
        {[](std::string& o) { AppendInt(o, -5, 64); }, 62, 0, "-5"},
        {[](std::string& o) { AppendInt(o, -5, 65); }, 63, 0, "-5"},
        {[](std::string& o) { AppendFormat(o, "%070d", 7); }, 0, 69, "7"},
        {[](std::string& o) { AppendFixed(o, 2.5, 66, 1); }, 63, 0, "2.5"},
        {[](std::string& o) { AppendText(o, "ab", 100); }, 98, 0, "ab"}, // the last: %100s
    };
    for (const Case& c : cases) {
        std::string out;
        c.append(out);
        EXPECT_EQ(out, std::string(c.spaces, ' ') + std::string(c.zeros, '0') + c.body);
    }
}

// A report written while it is made is the file WriteReportFile writes, and
// only once committed: until then, and when it is dropped, the earlier file
// stands and no temporary file is left.
TEST(ReportFile, AStreamedReportReplacesTheFileOnlyWhenCommitted) {
    const std::string folder = UseDataFolder("report_file_stream");
    struct Case {
        int pieces;
        const char* piece;
        bool commit;
        std::size_t size; // of the file afterwards
        const char* end;  // its last bytes
    };
    const Case cases[] = {
        {0, "", true, 0, ""},
        {3, "one\n", true, 15, "one\r\none\r\n"},
        {2, "dropped\n", false, 5, "old\r\n"},
        {20000, "0123456789\n", true, 240000, "9\r\n0123456789\r\n"}, // written a piece at a time
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteReportFile(folder + "r.txt", "old\n"));
        {
            ReportStream stream(folder + "r.txt");
            for (int i = 0; i < c.pieces; ++i) {
                stream.text() += c.piece;
                stream.pass();
            }
            EXPECT_EQ(ReadBytes(folder + "r.txt"), "old\r\n");
            if (c.commit) {
                EXPECT_TRUE(stream.commit());
            }
        }
        const std::string bytes = ReadBytes(folder + "r.txt");
        const std::string end = c.end;
        EXPECT_EQ(bytes.size(), c.size) << c.pieces;
        EXPECT_EQ(bytes.substr(bytes.size() - std::min(bytes.size(), end.size())), end) << c.pieces;
        EXPECT_FALSE(FileExists(folder + "r.txt.tmp")) << c.pieces;
    }
    ReportStream nowhere(folder + "no such folder/r.txt");
    nowhere.text() = "x\n";
    EXPECT_FALSE(nowhere.commit());
}
