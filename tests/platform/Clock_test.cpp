#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <pthread.h>
#include <thread>

#include "platform/PAL_Clock.h"

namespace {

std::atomic<int> g_signalsSeen{0};
void CountSignal(int) { g_signalsSeen.fetch_add(1); }

TEST(Clock, MonotonicAndSleepsAtLeastTheTimeAsked) {
  double previous = PAL::GetMonotonicMilliseconds();
  for (int i = 0; i < 1000; ++i) {
    const double now = PAL::GetMonotonicMilliseconds();
    ASSERT_GE(now, previous);
    previous = now;
  }
  const double start = PAL::GetMonotonicMilliseconds();
  PAL::SleepMilliseconds(25);
  EXPECT_GE(PAL::GetMonotonicMilliseconds() - start, 25.0);
  PAL::SleepMilliseconds(0);  // yields, returns at once
  PAL::YieldThread();
}

TEST(Clock, SleepResumesAfterASignal) {
  struct sigaction action {};
  struct sigaction previous {};
  action.sa_handler = &CountSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: nanosleep is cut short with EINTR
  ASSERT_EQ(sigaction(SIGUSR1, &action, &previous), 0);

  // The interrupter signals for as long as the sleep lasts, so signals land inside it however the
  // two threads are scheduled; a round in which none landed (a very busy machine) is tried again.
  const pthread_t sleeper = pthread_self();
  bool interrupted = false;
  for (int round = 0; round < 50 && !interrupted; ++round) {
    std::atomic<bool> sleeping{true};
    const int before = g_signalsSeen.load();
    std::thread interrupter([sleeper, &sleeping] {
      while (sleeping.load()) {
        pthread_kill(sleeper, SIGUSR1);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
    });
    const double start = PAL::GetMonotonicMilliseconds();
    PAL::SleepMilliseconds(120);
    const double elapsed = PAL::GetMonotonicMilliseconds() - start;
    const int after = g_signalsSeen.load();
    sleeping = false;
    interrupter.join();
    EXPECT_GE(elapsed, 120.0);
    interrupted = after > before;
  }
  sigaction(SIGUSR1, &previous, nullptr);
  EXPECT_TRUE(interrupted);
}

}  // namespace
