#pragma once
// The process-wide millisecond clock and the stopwatch built on it.
#include <cstdint>

namespace Core {

using ClockFunction = double (*)();

// Milliseconds from an arbitrary origin; only differences matter. Monotonic.
double GetTime();
// Replaces the clock (tests install a fake one); null restores the monotonic clock.
void InstallClock(ClockFunction clock);

class Stopwatch {
 public:
  Stopwatch() = default;
  // Starts measuring; a second Start while running does not restart the measurement.
  void Start();
  void Stop();
  void Reset();
  // While running: now - start; otherwise stop - start.
  double GetElapsed() const;
  bool IsRunning() const { return m_running != 0; }

 private:
  double m_startTime = 0.0;
  double m_stopTime = 0.0;
  uint8_t m_running = 0;
};

}  // namespace Core
