#include "tournament/files/message_file.h"

#include "support/file_bytes.h"
#include "support/recording_message_box.h"
#include "tournament/message_table.h"
#include "tournament/run_options.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

class MessageFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearMessageTable();
        folder = std::string(TM_TEST_OUTPUT_DIR) + "/" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        ProgramFolder = folder;
    }
    void TearDown() override {
        ClearMessageTable();
        ProgramFolder.clear();
    }

    // Writes a message file with the given count line and texts (CR LF).
    std::string Write(const std::string& name, const std::string& count,
                      const std::vector<std::string>& texts) {
        std::string bytes = "title\r\nsecond line\r\n" + count + "\r\n";
        for (const std::string& text : texts)
            bytes += text + "\r\n";
        return WriteRaw(name, bytes);
    }
    std::string WriteRaw(const std::string& name, const std::string& bytes) {
        const std::string path = folder + name;
        WriteFileBytes(path, bytes);
        return path;
    }

    std::string folder;
    RecordingMessageBox boxes;
};

TEST_F(MessageFileTest, TheShippedEnglishFileFillsEveryEntry) {
    const std::string shipped = std::string(TM_TEST_SOURCE_DIR) + "/../tourman/data/messqnp.txt";
    const std::string bytes = ReadFileBytes(shipped);
    ASSERT_FALSE(bytes.empty()) << shipped;
    // CR LF line ends, Windows-1252 without any UTF-8 sequence, short texts.
    std::size_t lines = 0;
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        if (bytes[at] == '\n') {
            ++lines;
            EXPECT_TRUE(at > 0 && bytes[at - 1] == '\r') << "line " << lines;
        }
        const unsigned char c = static_cast<unsigned char>(bytes[at]);
        EXPECT_FALSE(c >= 0xC2 && c <= 0xF4 && at + 1 < bytes.size() &&
                     (static_cast<unsigned char>(bytes[at + 1]) & 0xC0) == 0x80)
            << "UTF-8 at byte " << at;
    }
    EXPECT_EQ(lines, 3u + MessageCount);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");

    ASSERT_TRUE(std::filesystem::copy_file(shipped, folder + MessageFileName));
    ASSERT_TRUE(LoadMessageFile());
    EXPECT_TRUE(boxes.alerts.empty());
    for (int k = 0; k < MessageCount; ++k) {
        ASSERT_NE(MessageTable[k], nullptr) << k;
        EXPECT_GT(std::string(MessageTable[k]).size(), 0u) << k;
        EXPECT_LE(std::string(MessageTable[k]).size(), 98u) << k;
    }
    EXPECT_EQ(MessageText(3), "Close");
    EXPECT_EQ(MessageText(0), "Yes");
    EXPECT_EQ(MessageText(1), "No");
}

TEST_F(MessageFileTest, CountsAndTexts) {
    // Count 2: lines 4 and 5 are messages 0 and 1; the rest are empty texts.
    Write(MessageFileName, "2", {"Yes", "No", "beyond the count"});
    ASSERT_TRUE(LoadMessageFile());
    EXPECT_EQ(MessageText(0), "Yes");
    EXPECT_EQ(MessageText(1), "No");
    EXPECT_EQ(MessageText(2), "");
    EXPECT_EQ(MessageText(223), "");

    // Count 0: no text at all; a second load replaces the first.
    Write(MessageFileName, "0", {"ignored"});
    ASSERT_TRUE(LoadMessageFile());
    EXPECT_EQ(MessageText(0), "");

    EXPECT_TRUE(boxes.alerts.empty());

    // A file shorter than its count leaves the rest empty and says so,
    // naming the file and both counts; LF alone works.
    WriteRaw(MessageFileName, "t\nt\n  5 \nfirst\nsecond");
    ASSERT_TRUE(LoadMessageFile());
    EXPECT_EQ(MessageText(0), "first");
    EXPECT_EQ(MessageText(1), "second");
    EXPECT_EQ(MessageText(2), "");
    ASSERT_EQ(boxes.alerts.size(), 1u);
    EXPECT_EQ(boxes.alerts[0].text, "The message file " + folder + MessageFileName +
                                        " announces 5 texts on line 3 but holds only 2.\n"
                                        "The texts from number 2 on are shown empty.");
    EXPECT_EQ(boxes.alerts[0].caption, "OK");
    boxes.alerts.clear();

    // A count above the table is cut at 224: nothing goes past entry 223.
    std::vector<std::string> many;
    for (int k = 0; k < 230; ++k)
        many.push_back("text " + std::to_string(k));
    Write(MessageFileName, "230", many);
    ASSERT_TRUE(LoadMessageFile());
    EXPECT_EQ(MessageText(223), "text 223");
    EXPECT_TRUE(boxes.alerts.empty());
}

TEST_F(MessageFileTest, LongLinesAreCutAndLaterTextsKeepTheirNumbers) {
    const std::string exact(98, 'a');
    Write(MessageFileName, "4", {exact, std::string(98, 'b') + "rest", std::string(300, 'c'), "after"});
    ASSERT_TRUE(LoadMessageFile());
    EXPECT_EQ(MessageText(0), exact);
    EXPECT_EQ(MessageText(1), std::string(98, 'b'));
    EXPECT_EQ(MessageText(2), std::string(98, 'c'));
    EXPECT_EQ(MessageText(3), "after");

    // A negative count is refused and the table stays as it was.
    Write(MessageFileName, "-3", {"x"});
    EXPECT_FALSE(LoadMessageFile());
    ASSERT_EQ(boxes.alerts.size(), 1u);
    EXPECT_NE(boxes.alerts[0].text.find("line 3: the count of texts -3 is below 0"), std::string::npos);
    EXPECT_EQ(MessageText(3), "after");
}

TEST_F(MessageFileTest, AMissingOrBrokenFileIsNamedAndChangesNothing) {
    SetMessageText(5, "kept");
    EXPECT_FALSE(LoadMessageFile());
    ASSERT_EQ(boxes.alerts.size(), 1u);
    EXPECT_NE(boxes.alerts[0].text.find(folder + MessageFileName), std::string::npos) << boxes.alerts[0].text;
    EXPECT_EQ(boxes.alerts[0].caption, "OK");

    const std::string cut = WriteRaw(MessageFileName, "title\r\nsecond\r\n");
    EXPECT_FALSE(LoadMessageFileFrom(cut));
    Write(MessageFileName, "many", {"a"});
    EXPECT_FALSE(LoadMessageFile());
    ASSERT_EQ(boxes.alerts.size(), 3u);
    EXPECT_NE(boxes.alerts[2].text.find(", line 3:"), std::string::npos) << boxes.alerts[2].text;
    EXPECT_EQ(MessageText(5), "kept");
}

TEST_F(MessageFileTest, InstallingCopiesTheFileForTheNextStart) {
    SetMessageText(MsgClose, "OK");
    SetMessageText(MsgCannotReadMessageFile, "cannot read");
    SetMessageText(MsgCannotReplaceMessageFile, "cannot replace");
    SetMessageText(MsgLanguageAtNextStart, "installed");
    const std::string old = Write(MessageFileName, "1", {"old"});
    const std::string chosen = WriteRaw("italiano.qnp", "Titolo\nriga\n1\n");

    ASSERT_TRUE(InstallMessageFile(chosen));
    EXPECT_EQ(ReadFileBytes(old), "Titolo\r\nriga\r\n1\r\n\r\n"); // the three lines and one empty line
    ASSERT_EQ(boxes.alerts.size(), 1u);
    EXPECT_EQ(boxes.alerts[0].text, "installed");
    EXPECT_EQ(MessageText(MsgClose), "OK"); // the table in memory stays

    // A file that cannot be read, or is not a message file, is not installed.
    EXPECT_FALSE(InstallMessageFile(folder + "missing.qnp"));
    EXPECT_FALSE(InstallMessageFile(WriteRaw("bad.qnp", "only one line\n")));
    ASSERT_EQ(boxes.alerts.size(), 3u);
    EXPECT_EQ(boxes.alerts[1].text.rfind("cannot read", 0), 0u);
    EXPECT_EQ(boxes.alerts[2].text.rfind("cannot read", 0), 0u);

    // When the copy cannot be written the old file stays as it was.
    std::filesystem::create_directory(old + ".tmp");
    EXPECT_FALSE(InstallMessageFile(chosen));
    EXPECT_EQ(boxes.alerts.back().text.rfind("cannot replace", 0), 0u);
    EXPECT_EQ(ReadFileBytes(old), "Titolo\r\nriga\r\n1\r\n\r\n");
}

} // namespace
