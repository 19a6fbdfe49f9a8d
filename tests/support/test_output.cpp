#include "support/test_output.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// The first folder of the program's whose lock file this run can lock. The
// lock is an flock on "<folder>/.run-lock", held open (and not inherited by
// programs the tests start) until the process ends, when the system lets go
// of it whatever way the run ended.
std::string TakeFolder(const std::string& programFolder) {
    for (int n = 1; n <= 64; ++n) {
        const std::string folder = n == 1 ? programFolder : programFolder + "." + std::to_string(n);
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        const int fd = open((folder + "/.run-lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) continue;
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) return folder;
        close(fd);
    }
    std::fprintf(stderr, "no output folder of %s is free: 64 runs hold one\n", programFolder.c_str());
    std::exit(1);
}

} // namespace

// The program's folder for this run. The cases of the x11 events take up
// the data folders the cases before them left, each case in a process of
// its own: two runs side by side, each on its own X server, keep apart by
// the server's number, so that no case finds another run's folder.
std::string RunFolder(const char* programFolder) {
    const char* display = std::getenv("DISPLAY");
    std::string number;
    for (const char* c = display ? display : ""; *c != '\0' && *c != '.'; ++c)
        if (*c >= '0' && *c <= '9') number += *c;
    return number.empty() ? std::string(programFolder) : std::string(programFolder) + "-x" + number;
}

const char* TmTestOutputDir(const char* programFolder) {
    static const std::string folder = TakeFolder(RunFolder(programFolder));
    return folder.c_str();
}
