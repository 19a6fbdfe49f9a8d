#include "toolkit/platform/print_job.h"

#include "toolkit/platform/files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace plat {

namespace {

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += std::size_t(n);
    }
    return true;
}

bool WriteFile(const std::string& path, const std::string& bytes, std::string& message) {
    int fd = ::open(HostPath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) {
        message = "Cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    bool ok = WriteAll(fd, bytes);
    if (::close(fd) != 0) ok = false;
    if (!ok) message = "Cannot write " + path + ": " + std::strerror(errno);
    return ok;
}

// What a program run by RunProgram did.
struct Run {
    bool started = false; // false: failure says why
    bool exited = false;  // ended by itself (else failure tells the signal or the lost track)
    int status = 0;       // its exit status
    std::string output;   // what it wrote on the stream captured
    std::string failure;
};

// Runs args[0] with the arguments (never through a shell) and waits for it;
// what it writes on the stream captured (1 standard output, 2 standard
// error) is read into the result, the other stream goes to /dev/null.
Run RunProgram(std::vector<std::string> args, int captured) {
    Run run;
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        run.failure = std::strerror(errno);
        return run;
    }
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], captured);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addopen(&actions, captured == 1 ? 2 : 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    char buffer[4096];
    while (rc == 0) {
        ssize_t n = ::read(pipeEnds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        run.output.append(buffer, std::size_t(n));
    }
    ::close(pipeEnds[0]);
    if (rc != 0) {
        run.failure = std::strerror(rc);
        return run;
    }
    run.started = true;
    int status = 0;
    pid_t w;
    do {
        w = ::waitpid(pid, &status, 0);
    } while (w < 0 && errno == EINTR);
    if (w < 0)
        run.failure = "was lost track of: " + std::string(std::strerror(errno));
    else if (WIFEXITED(status)) {
        run.exited = true;
        run.status = WEXITSTATUS(status);
    } else
        run.failure = "was stopped by signal " + std::to_string(WTERMSIG(status));
    return run;
}

// ": " and the first line of what a program said, or "" when it said nothing.
std::string FirstLine(const std::string& text) {
    const std::size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos) return "";
    const std::size_t end = text.find_first_of("\r\n", begin);
    return ": " + text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

std::string DefaultOutputFile(const std::string& jobName) {
    const char* home = std::getenv("HOME");
    std::string folder = home && *home ? FromHostPath(home) : std::string(".");
    if (folder.back() != '/') folder += '/';
    std::string name = jobName.empty() ? std::string("print") : jobName;
    for (char& c : name)
        if (c == '/') c = '_';
    return folder + name + ".pdf";
}

} // namespace

std::string FindOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string list = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t colon = list.find(':', start);
        std::string dir = list.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
        if (dir.empty()) dir = ".";
        std::string candidate = dir + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
        if (colon == std::string::npos) break;
        start = colon + 1;
    }
    return "";
}

PrintJobResult SubmitPrintJob(const std::string& pdf, const std::string& jobName, bool toFile,
                              const std::string& outputFile, const std::string& printer) {
    PrintJobResult result;
    if (toFile) {
        result.toFile = true;
        result.file = outputFile.empty() ? DefaultOutputFile(jobName) : outputFile;
        result.ok = WriteFile(result.file, pdf, result.message);
        return result;
    }
    // Without a spooler the job reaches no printer. A file the arbiter did
    // not ask for would pass for a printed page, so none is written.
    const std::string lp = FindOnPath("lp");
    if (lp.empty()) {
        result.message = "No printer can be reached: the print spooler (lp) was not found.\n"
                         "Choose \"PDF file\" to keep the document as a file.";
        return result;
    }

    // The spooler copies the document, so a temporary file is enough.
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/woku-print-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) {
        result.message = "Cannot make a temporary file for printing: " + std::string(std::strerror(errno));
        return result;
    }
    std::string file(name.data());
    bool written = WriteAll(fd, pdf);
    if (::close(fd) != 0) written = false;
    if (!written) {
        result.message = "Cannot write " + file + ": " + std::strerror(errno);
        ::unlink(file.c_str());
        return result;
    }

    std::vector<std::string> args = {lp, "-t", jobName};
    if (!printer.empty()) args.insert(args.end(), {"-d", printer});
    args.insert(args.end(), {"--", file});
    // lp tells its request id on standard output, which the caller has no
    // use for, and why it refuses a job on standard error.
    const Run run = RunProgram(args, 2);
    if (!run.started)
        result.message = "Cannot start " + lp + ": " + run.failure;
    else if (!run.exited)
        result.message = lp + " " + run.failure;
    else if (run.status == 0)
        result.ok = true;
    else
        result.message = lp + " failed with exit status " + std::to_string(run.status) + FirstLine(run.output);
    ::unlink(file.c_str());
    return result;
}

std::vector<std::string> ListPrinters() {
    std::vector<std::string> printers;
    std::string lpstat = FindOnPath("lpstat");
    if (lpstat.empty()) return printers;
    const Run run = RunProgram({lpstat, "-e"}, 1);
    if (!run.exited || run.status != 0) return printers;
    const std::string& out = run.output;
    std::size_t start = 0;
    while (start < out.size()) {
        std::size_t end = out.find('\n', start);
        if (end == std::string::npos) end = out.size();
        std::string name = out.substr(start, end - start);
        while (!name.empty() && (name.back() == '\r' || name.back() == ' ')) name.pop_back();
        if (!name.empty()) printers.push_back(name);
        start = end + 1;
    }
    return printers;
}

} // namespace plat
