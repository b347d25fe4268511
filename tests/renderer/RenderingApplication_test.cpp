#include <gtest/gtest.h>

#include "core/Core_Time.h"
#include "platform/PAL_Window.h"
#include "renderer/Engine_RenderingApplication.h"
#include "tests/support/TestSupport.h"

namespace {

double g_now = 0.0;
double FakeClock() { return g_now; }

struct FakeClockScope {
  FakeClockScope() {
    g_now = 0.0;
    Core::InstallClock(&FakeClock);
  }
  ~FakeClockScope() { Core::InstallClock(nullptr); }
};

struct WaitLog {
  int sleeps = 0;
  int yields = 0;
  double largestRemainingAtYield = 0.0;
  double sleepOvershoot = 0.05;
};

void Wait(const Core::Stopwatch& frame, double minimum, WaitLog& log) {
  Engine::WaitForFrameEnd(
      frame, minimum,
      [&](uint32_t milliseconds) {
        ++log.sleeps;
        g_now += milliseconds + log.sleepOvershoot;
      },
      [&] {
        ++log.yields;
        log.largestRemainingAtYield = std::max(log.largestRemainingAtYield, minimum - frame.GetElapsed());
        g_now += 0.01;
      });
}

}  // namespace

TEST(FrameCap, WaitsUntilTheMinimumFrameTimeSleepingAllButTheLastMillisecond) {
  FakeClockScope clock;
  const double minimum = 1000.0 / 60.0;
  for (double work : {0.0, 3.2, 9.99, 14.0, 15.9, 16.6}) {
    SCOPED_TRACE(work);
    Core::Stopwatch frame;
    frame.Start();
    g_now += work;
    WaitLog log;
    Wait(frame, minimum, log);
    EXPECT_GE(frame.GetElapsed(), minimum);
    EXPECT_LT(frame.GetElapsed(), minimum + 0.1);  // no sleep runs past the end
    EXPECT_LE(log.largestRemainingAtYield, 2.0);   // yields only near the end
    EXPECT_LE(log.sleeps, 3);
    g_now += 100.0;
  }
}

TEST(FrameCap, AFrameAlreadyLongEnoughDoesNotWaitAndSlowSleepsStillEnd) {
  FakeClockScope clock;
  Core::Stopwatch frame;
  frame.Start();
  g_now = 20.0;
  WaitLog log;
  Wait(frame, 1000.0 / 60.0, log);
  EXPECT_EQ(log.sleeps + log.yields, 0);

  Core::Stopwatch late;
  late.Start();
  WaitLog oversleeping;
  oversleeping.sleepOvershoot = 4.0;  // a busy machine wakes late
  Wait(late, 1000.0 / 60.0, oversleeping);
  EXPECT_GE(late.GetElapsed(), 1000.0 / 60.0);
  EXPECT_EQ(oversleeping.sleeps, 1);

  Core::Stopwatch none;
  none.Start();
  WaitLog nothing;
  Wait(none, 0.0, nothing);
  Wait(none, -5.0, nothing);
  EXPECT_EQ(nothing.sleeps + nothing.yields, 0);
}

namespace {

class RenderingApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VELKOR_REQUIRE_DISPLAY();
    Engine::DisplaySettings settings;
    settings.width = 320;
    settings.height = 240;
    settings.refreshRate = 85;
    settings.verticalSync = 1;
    m_application = new TestApplication(settings);
    m_holder = m_application;
  }
  void TearDown() override { m_holder.Reset(); }
  void RunFrame() {
    m_application->BeginFrame();
    m_application->Update();
    m_application->EndFrame();
  }

  class TestApplication : public Engine::RenderingApplication {
   public:
    using RenderingApplication::RenderingApplication;
  };
  TestApplication* m_application = nullptr;
  Core::SmartPointer<Engine::Application> m_holder;
};

}  // namespace

TEST_F(RenderingApplicationTest, OwnsWindowDevicesAndRenderer) {
  EXPECT_EQ(Engine::RenderingApplication::GetInstance(), m_application);
  EXPECT_EQ(Engine::Application::GetInstance(), m_application);
  EXPECT_NE(Engine::GetFontCache(), nullptr);
  EXPECT_NE(m_application->GetRenderer(), nullptr);
  EXPECT_NE(m_application->GetMouse(), nullptr);
  EXPECT_NE(m_application->GetKeyboard(), nullptr);
  EXPECT_TRUE(m_application->GetWindow()->IsVisible());
  EXPECT_FALSE(m_application->GetWindow()->IsResizable());
  const Renderer::RendererDescriptor descriptor = m_application->GetRenderer()->GetDescriptor();
  EXPECT_EQ(descriptor.width, 320u);
  EXPECT_EQ(descriptor.refreshRate, 85u);
  EXPECT_TRUE(m_application->IsVSync());  // kept although a virtual display refuses it
  EXPECT_EQ(m_application->GetDesiredFrameRate(), 1000.0);
  EXPECT_FALSE(m_application->IsFrameRateLocked());
  m_application->ToggleFullScreen(false);  // already windowed: nothing
  EXPECT_FALSE(m_application->IsFullScreen());
}

TEST_F(RenderingApplicationTest, CappedFramesNeverRunFasterThanTheDesiredRate) {
  m_application->SetDesiredFrameRate(60.0);
  m_application->LockFrameRate(true);
  const double start = Core::GetTime();
  for (int frame = 0; frame < 120; ++frame) {
    RunFrame();
    ASSERT_LE(m_application->GetCurrentFrameRate(), 60.0 + 1e-9);
  }
  EXPECT_GE(Core::GetTime() - start, 2000.0 - 1e-6);
}

TEST_F(RenderingApplicationTest, ARateOfZeroOrLessIsUncappedAndATinyOneWaitsNoLongerThanTheLongestCappedFrame) {
  m_application->LockFrameRate(true);
  for (double rate : {0.0, -30.0}) {
    m_application->SetDesiredFrameRate(rate);
    EXPECT_EQ(m_application->GetMinimumFrameTime(), 0.0);
    for (int frame = 0; frame < 5; ++frame) RunFrame();  // would never end if the cap waited
    EXPECT_GT(m_application->GetCurrentFrameRate(), 0.0);
  }
  // A tiny rate waits no longer than the longest capped frame.
  for (double rate : {0.0001, 1e-300, 0.5}) {
    m_application->SetDesiredFrameRate(rate);
    EXPECT_EQ(m_application->GetDesiredFrameRate(), rate);
    EXPECT_EQ(m_application->GetMinimumFrameTime(), Engine::RenderingApplication::kLongestCappedFrame);
  }
  m_application->SetDesiredFrameRate(2.0);
  EXPECT_EQ(m_application->GetMinimumFrameTime(), 500.0);
}

TEST_F(RenderingApplicationTest, ClosingTheWindowPostsTheQuitRequest) {
  while (PAL::ProcessMessages()) {
    static int passes = 0;
    if (++passes > 3) break;
  }
  Engine::RenderingApplication::OnWindowClose(m_application->GetWindow(), nullptr);
  EXPECT_FALSE(PAL::ProcessMessages());
  EXPECT_TRUE(m_application->GetWindow()->IsOpen());  // the callback destroys nothing
}

