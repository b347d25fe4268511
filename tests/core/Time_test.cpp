#include <gtest/gtest.h>

#include "core/Core_Random.h"
#include "core/Core_Time.h"

namespace {
double g_fakeNow = 0.0;
double FakeClock() { return g_fakeNow; }

class FakeClockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_fakeNow = 1000.0;
    Core::InstallClock(&FakeClock);
  }
  void TearDown() override { Core::InstallClock(nullptr); }
};
}  // namespace

TEST_F(FakeClockTest, StopwatchMeasuresFromTheFirstStart) {
  Core::Stopwatch watch;
  EXPECT_EQ(watch.GetElapsed(), 0.0);
  watch.Start();
  g_fakeNow += 5.0;
  watch.Start();  // must not restart
  g_fakeNow += 7.5;
  EXPECT_DOUBLE_EQ(watch.GetElapsed(), 12.5);
  watch.Stop();
  g_fakeNow += 100.0;
  EXPECT_DOUBLE_EQ(watch.GetElapsed(), 12.5);
  watch.Reset();
  EXPECT_EQ(watch.GetElapsed(), 0.0);
  EXPECT_FALSE(watch.IsRunning());
}

TEST(Clock, MonotonicMilliseconds) {
  double first = Core::GetTime();
  double second = Core::GetTime();
  EXPECT_GE(second, first);
  EXPECT_GT(first, 0.0);
}

TEST(Random, StaysInRangeAndRepeatsForASeed) {
  Core::SeedRandom(1234);
  std::vector<int> first;
  int low = Core::kRandomMaximum, high = 0;
  for (int i = 0; i < 100000; ++i) {
    int value = Core::Random();
    low = std::min(low, value);
    high = std::max(high, value);
    if (i < 16) first.push_back(value);
  }
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, Core::kRandomMaximum);
  Core::SeedRandom(1234);
  for (int value : first) EXPECT_EQ(Core::Random(), value);
}
