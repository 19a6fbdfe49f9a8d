// Runs a step that must end at once (a reader refusing a FIFO or a device
// unopened) in a child process that an alarm ends after the given seconds,
// so that a reader that blocks fails its test rather than hangs it. True
// when the child ended in time with no test failure of its own. A blocked
// reader never ends: the alarm is a ceiling, as long as a busy machine may
// need, not a measure of "at once".
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

// The alarm of a step that must not block.
inline constexpr unsigned kBlockedStepSeconds = 60;

template <typename Step> bool EndsWithin(unsigned seconds, Step&& step) {
    const pid_t child = fork();
    if (child == 0) {
        alarm(seconds);
        step();
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
