// The step counter the kill and failed-write tests stop commands with
// (tests/support/file_steps.h): steps taken on worker threads at once, as
// reports are written in parallel, are numbered one by one, so that every
// step is counted and exactly one of them is the one stopped.
#include "tests/support/file_steps.h"

#include "tournament/files/host_files.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

TEST(FileSteps, StepsOnWorkerThreadsAreNumberedOneByOne) {
    constexpr long threads = 8, each = 20000;
    std::atomic<long> refused{0};
    const auto command = [&] {
        std::vector<std::thread> workers;
        for (long t = 0; t < threads; ++t)
            workers.emplace_back([&] {
                for (long i = 0; i < each; ++i)
                    if (HostFileName("report.txt") != "report.txt") ++refused;
            });
        for (std::thread& worker : workers) worker.join();
    };
    EXPECT_EQ(file_steps::CountSteps(command), threads * each);
    for (const long step : {0L, threads * each / 2, threads * each - 1}) {
        refused = 0;
        EXPECT_TRUE(file_steps::FailingStep(step, command)) << step;
        EXPECT_EQ(refused.load(), 1) << step;
    }
}

} // namespace
