#include "report_tournament.h"

#include "reports/report_file.h"

#include <filesystem>

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

TEST(ReportFile, FieldTextStopsAtTheFieldsEnd) {
    char field[4] = {'A', 'B', 'C', 'D'}; // no terminator
    EXPECT_EQ(FieldText(field), "ABCD");
    char shorter[4] = {'A', 0, 'C', 'D'};
    EXPECT_EQ(FieldText(shorter), "A");
}

} // namespace
