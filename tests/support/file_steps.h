// Stops a command at a chosen step on disk, as a crash or a refused write
// would. Every file the model opens, renames, removes or looks at spells its
// path for the host first (tournament/files/host_files.h), so counting those
// spellings counts the command's steps on disk.
//
// KilledAt runs the command in a child process that ends at once, without
// flushing anything, just before its n'th step (a kill or a power cut);
// the caller's own process is untouched and can look at the folder after.
// FailingStep runs it in this process with the n'th step refused (the path
// spelled into a folder that does not exist: an open, rename or remove
// fails, a look finds nothing). CountSteps tells how many steps a command
// takes, so that a test can stop it at each one. Steps may be taken on
// worker threads (reports are written in parallel): each takes its number
// from one atomic count, so exactly one step is the n'th.
#pragma once

#include "tournament/files/host_files.h"

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <string>

namespace file_steps {

// stopAt, kill and below are set before the command runs and only read
// while it runs.
struct Counter {
    std::atomic<long> count{0};
    long stopAt = -1;
    bool kill = false;
    HostNames below;
};

inline Counter& Steps() {
    static Counter counter;
    return counter;
}

inline std::string CountedToHost(const std::string& path) {
    Counter& steps = Steps();
    const std::string spelled = steps.below.toHost ? steps.below.toHost(path) : path;
    if (steps.count.fetch_add(1) != steps.stopAt) return spelled;
    if (steps.kill) _exit(77);
    return "/nonexistent-folder-of-a-failing-step" + spelled;
}

// Counts the steps while alive and gives back the spelling installed before.
class Counting {
  public:
    Counting(long stopAt, bool kill) {
        Counter& steps = Steps();
        steps.count.store(0);
        steps.stopAt = stopAt;
        steps.kill = kill;
        steps.below = SetHostNames({});
        HostNames installed = steps.below;
        installed.toHost = CountedToHost;
        SetHostNames(installed);
    }
    ~Counting() { SetHostNames(Steps().below); }
    Counting(const Counting&) = delete;
    Counting& operator=(const Counting&) = delete;
    long count() const { return Steps().count.load(); }
};

// The number of steps the command takes (it is run once, in this process).
template <typename Command> long CountSteps(Command&& command) {
    Counting counting(-1, false);
    command();
    return counting.count();
}

// True when the child was killed before its n'th step (0 is the first), false
// when the command ended before it had taken that many.
template <typename Command> bool KilledAt(long step, Command&& command) {
    const pid_t child = fork();
    if (child == 0) {
        {
            Counting counting(step, true);
            command();
        }
        _exit(0);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) std::abort();
    return WIFEXITED(status) && WEXITSTATUS(status) == 77;
}

// Runs the command with its n'th step refused; false when it took fewer.
template <typename Command> bool FailingStep(long step, Command&& command) {
    Counting counting(step, false);
    command();
    return counting.count() > step;
}

} // namespace file_steps
