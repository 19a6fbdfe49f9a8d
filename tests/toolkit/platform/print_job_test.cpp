// Print jobs: a fake `lp` first on PATH records its arguments and the
// document; the document goes to a file only when asked; failures (no
// spooler among them) are reported.
#include "toolkit/platform/print_job.h"

#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <sys/stat.h>

namespace {

// Puts a folder first on PATH (or alone, with only) for the test's length.
class PathGuard {
public:
    PathGuard(const std::string& folder, bool only) {
        const char* old = std::getenv("PATH");
        had_ = old != nullptr;
        if (old) old_ = old;
        std::string path = only ? folder : folder + ":" + old_;
        setenv("PATH", path.c_str(), 1);
    }
    ~PathGuard() {
        if (had_)
            setenv("PATH", old_.c_str(), 1);
        else
            unsetenv("PATH");
    }

private:
    bool had_ = false;
    std::string old_;
};

// A fake lp that writes each argument on a line of args and copies the last
// argument (the document) to doc; it ends with the given status.
std::string FakeLp(const scratch::ScratchFolder& dir, int status) {
    std::string bin = dir.folder("bin");
    std::string script = "#!/bin/sh\n"
                         "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + (dir / "args") + "'\n"
                         "for a in \"$@\"; do last=\"$a\"; done\n"
                         "/bin/cat \"$last\" > '" + (dir / "doc") + "'\n"
                         "echo 'request id is fake-1'\n"
                         "exit " + std::to_string(status) + "\n";
    std::string lp = dir.write("bin/lp", script);
    ::chmod(lp.c_str(), 0755);
    return bin;
}

const std::string kPdf = "%PDF-1.4\n(a $(touch x); `b`)\n%%EOF\n";

TEST(PrintJob, SpoolerGetsTitleAndDocumentAsArguments) {
    scratch::ScratchFolder dir;
    PathGuard path(FakeLp(dir, 0), false);
    plat::PrintJobResult r = plat::SubmitPrintJob(kPdf, "WOKU print job; rm -rf x");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_FALSE(r.toFile);
    std::string args = scratch::ScratchFolder::read(dir / "args");
    std::istringstream lines(args);
    std::string opt, title, dashes, file;
    std::getline(lines, opt);
    std::getline(lines, title);
    std::getline(lines, dashes);
    std::getline(lines, file);
    EXPECT_EQ(opt, "-t");
    EXPECT_EQ(title, "WOKU print job; rm -rf x"); // one argument, never run by a shell
    EXPECT_EQ(dashes, "--");
    EXPECT_EQ(scratch::ScratchFolder::read(dir / "doc"), kPdf);
    EXPECT_FALSE(std::filesystem::exists(file)) << "the temporary document is removed";
}

TEST(PrintJob, SpoolerFailureIsReported) {
    scratch::ScratchFolder dir;
    PathGuard path(FakeLp(dir, 3), false);
    plat::PrintJobResult r = plat::SubmitPrintJob(kPdf, "WOKU print image job");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("exit status 3"), std::string::npos) << r.message;
}

TEST(PrintJob, NoSpoolerFailsWithoutAFileAndAFileOnlyWhenAsked) {
    scratch::ScratchFolder dir;
    {
        PathGuard path(dir.folder("empty"), true);
        EXPECT_EQ(plat::FindOnPath("lp"), "");
        // Not even the file named for the job: the arbiter asked for paper.
        plat::PrintJobResult r = plat::SubmitPrintJob(kPdf, "WOKU print job", false, dir / "out.pdf");
        EXPECT_FALSE(r.ok);
        EXPECT_FALSE(r.toFile);
        EXPECT_EQ(r.message, "No printer can be reached: the print spooler (lp) was not found.\n"
                             "Choose \"PDF file\" to keep the document as a file.");
        EXPECT_FALSE(std::filesystem::exists(dir / "out.pdf"));

        plat::PrintJobResult file = plat::SubmitPrintJob(kPdf, "WOKU print job", true, dir / "out.pdf");
        ASSERT_TRUE(file.ok) << file.message;
        EXPECT_TRUE(file.toFile);
        EXPECT_EQ(file.file, dir / "out.pdf");
        EXPECT_EQ(scratch::ScratchFolder::read(dir / "out.pdf"), kPdf);

        plat::PrintJobResult bad = plat::SubmitPrintJob(kPdf, "WOKU print job", true, dir / "no/such/out.pdf");
        EXPECT_FALSE(bad.ok);
        EXPECT_NE(bad.message.find("no/such/out.pdf"), std::string::npos) << bad.message;
    }
    PathGuard path(FakeLp(dir, 0), false);
    plat::PrintJobResult r = plat::SubmitPrintJob(kPdf, "WOKU print job", true, dir / "asked.pdf");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_TRUE(r.toFile);
    EXPECT_EQ(scratch::ScratchFolder::read(dir / "asked.pdf"), kPdf);
    EXPECT_FALSE(std::filesystem::exists(dir / "args")) << "the spooler was not used";
}

} // namespace
