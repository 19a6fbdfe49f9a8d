// A fresh data folder per test for the tests that write tournament files.
// Header only.
#pragma once

#include "tournament/files/line_reader.h"
#include "tournament/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// Empties TM_TEST_OUTPUT_DIR/<first 12 letters of the test's name>/, makes
// it the data folder and returns it with its trailing '/'. The data folder
// holds at most 127 characters, hence the short name.
inline std::string UseScratchDataFolder() {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string folder = std::string(TM_TEST_OUTPUT_DIR) + "/" + name.substr(0, 12) + "/";
    EXPECT_LT(folder.size(), sizeof Settings.DataFolder);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    CopyField(Settings.DataFolder, folder);
    return folder;
}
