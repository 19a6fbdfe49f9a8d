// The program's own random numbers.
//
// One generator serves the draw of pairing numbers and every other random
// choice: the classic 15-bit linear congruential sequence, seed = seed x
// 214013 + 2531011 (32 bits, wrapping), result (seed >> 16) & 0x7FFF, so
// 0..32767. The host's rand() gives another sequence, so it is not used. The
// generator seeds itself from the clock on first use; tests fix the seed.
#pragma once

#include <cstdint>

constexpr int RandomMax = 32767;

void SeedRandom(std::uint32_t seed);
// Seeds from the clock (the default at start).
void SeedRandomFromClock();
// Next value 0..32767.
int NextRandom();
