#include "reports/writers_aside.h"

#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace {

struct Writers {
    std::vector<std::thread> running;
    std::atomic<bool> failed{false};
    ~Writers() { AwaitWritersAside(); }
};
Writers Aside;

} // namespace

void WriteAside(std::function<bool()> writer) {
    try {
        Aside.running.emplace_back([writer] {
            if (!writer()) Aside.failed = true;
        });
    } catch (const std::system_error&) {
        if (!writer()) Aside.failed = true;
    }
}

bool AwaitWritersAside() {
    for (std::thread& t : Aside.running)
        t.join();
    Aside.running.clear();
    return !Aside.failed.exchange(false);
}
