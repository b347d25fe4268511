#pragma once
// The engine's one random number source. It is deterministic for a seed, so that replays and
// network peers that seed it alike see the same sequence.
#include <cstdint>

namespace Core {

constexpr int kRandomMaximum = 32767;

// The next number in 0..32767.
int Random();
void SeedRandom(uint32_t seed);

}  // namespace Core
