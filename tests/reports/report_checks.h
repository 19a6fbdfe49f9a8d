// Checks of finished report files shared by the report tests: the byte for
// byte comparison with a golden file, and the validity of a web page as
// tidy sees it. Header only.
#pragma once

#include "report_tournament.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

// Compares the data-folder file with golden/<golden>; with TM_UPDATE_GOLDEN
// set it rewrites the golden file instead (read the difference before
// committing it).
inline void ExpectGolden(const std::string& file, const std::string& golden) {
    const std::string goldenDir = std::string(TM_TEST_SOURCE_DIR) + "/reports/golden/";
    const std::string actual = ReadBytes(DataFile(file));
    if (std::getenv("TM_UPDATE_GOLDEN")) {
        std::ofstream(goldenDir + golden, std::ios::binary) << actual;
        return;
    }
    EXPECT_EQ(actual, ReadBytes(goldenDir + golden)) << file << " differs from golden/" << golden;
}

// tidy exits with 2 when it finds errors. It only warns about misnested
// tags, so every warning is looked at too: the only ones allowed are a table
// without a summary and the bytes above 127, which tidy reads as UTF-8.
inline void ExpectTidy(const std::string& file) {
    CommandResult result = RunCommand("tidy -errors -q '" + DataFile(file) + "'");
    EXPECT_LT(result.status, 2) << file << ":\n" << result.output;
    std::istringstream lines(result.output);
    for (std::string line; std::getline(lines, line);) {
        const bool allowed = line.find("lacks \"summary\" attribute") != std::string::npos ||
                             line.find("replacing invalid UTF-8 bytes") != std::string::npos;
        EXPECT_TRUE(allowed) << file << ": " << line;
    }
}
