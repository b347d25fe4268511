#include "platform/PAL_Clock.h"

#include <cerrno>
#include <ctime>
#include <sched.h>

namespace PAL {

double GetMonotonicMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1000000.0;
}

void SleepMilliseconds(std::uint32_t milliseconds) {
  if (milliseconds == 0) {
    sched_yield();
    return;
  }
  timespec remaining{};
  remaining.tv_sec = static_cast<time_t>(milliseconds / 1000);
  remaining.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
  // A signal cuts nanosleep short; the rest of the wait is still owed.
  while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
  }
}

void YieldThread() { sched_yield(); }

}  // namespace PAL
