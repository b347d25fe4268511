#pragma once
// The process's monotonic millisecond clock and the plain sleeps the engine's timing is built on.
#include <cstdint>

namespace PAL {

// Milliseconds since an arbitrary origin (the monotonic clock): only differences matter.
double GetMonotonicMilliseconds();

// Sleeps at least the given time, resuming after signal interruptions; 0 gives up the rest of
// the time slice instead.
void SleepMilliseconds(std::uint32_t milliseconds);

// Gives up the rest of the calling thread's time slice.
void YieldThread();

}  // namespace PAL
