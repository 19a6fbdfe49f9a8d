// ScratchFolder: an empty folder of its own under the tests' output folder,
// made fresh for each test, with small helpers to lay out files in it and
// read them back as bytes.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace scratch {

class ScratchFolder {
public:
    // A folder named after the running test, emptied first.
    ScratchFolder() {
        const ::testing::TestInfo* t = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::string(TM_TEST_OUTPUT_DIR) + "/" + t->test_suite_name() + "." + t->name();
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

    // Writes the bytes as given (no line-end translation), making folders on the way.
    std::string write(const std::string& name, const std::string& bytes) const {
        std::string file = *this / name;
        std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        std::FILE* f = std::fopen(file.c_str(), "wb");
        EXPECT_NE(f, nullptr) << file;
        if (f) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        return file;
    }
    std::string folder(const std::string& name) const {
        std::filesystem::create_directories(*this / name);
        return *this / name;
    }

    static std::string read(const std::string& file) {
        std::string bytes;
        std::FILE* f = std::fopen(file.c_str(), "rb");
        if (!f) return bytes;
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
        std::fclose(f);
        return bytes;
    }

private:
    std::string path_;
};

} // namespace scratch
