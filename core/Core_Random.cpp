#include "core/Core_Random.h"

namespace Core {

namespace {
uint32_t g_state = 1;
}  // namespace

int Random() {
  // A linear congruential generator whose upper bits give 15 well-mixed bits.
  g_state = g_state * 214013u + 2531011u;
  return static_cast<int>((g_state >> 16) & 0x7FFFu);
}

void SeedRandom(uint32_t seed) { g_state = seed; }

}  // namespace Core
