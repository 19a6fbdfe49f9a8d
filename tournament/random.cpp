#include "tournament/random.h"

#include <chrono>

namespace {
std::uint32_t Seed = 0;
bool Seeded = false;
} // namespace

void SeedRandom(std::uint32_t seed) {
    Seed = seed;
    Seeded = true;
}

void SeedRandomFromClock() {
    auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    SeedRandom(static_cast<std::uint32_t>(ticks ^ (ticks >> 32)));
}

int NextRandom() {
    if (!Seeded) SeedRandomFromClock();
    Seed = Seed * 214013u + 2531011u;
    return static_cast<int>((Seed >> 16) & 0x7FFF);
}
