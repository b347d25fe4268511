#pragma once
// Starts and stops the foundation around the application's life: the allocator mutex and the clock.
#include <cstdint>

namespace Core {

// A stack object. Only the construction that finds no other initializer alive acts, and only the
// destruction of the last one does; Engine::Main makes exactly one.
class Initializer {
 public:
  Initializer();
  ~Initializer();
  Initializer(const Initializer&) = delete;
  Initializer& operator=(const Initializer&) = delete;

  // Always true on Linux: the clock is the monotonic one.
  bool IsHighResolutionClock() const { return m_highResolutionClock != 0; }
  // Initializers alive now.
  static std::uint32_t GetNestingCount();

 private:
  std::uint8_t m_highResolutionClock = 1;
};

}  // namespace Core
