// Engine::Main with an application this test supplies; no window is opened.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>

#include "core/Core_Initializer.h"
#include "app/Engine_Application.h"
#include "app/Engine_Main.h"
#include "core/Core_MemoryManager.h"
#include "math/Math_Module.h"
#include "platform/PAL_Services.h"
#include "platform/PAL_Window.h"

namespace {

// What the next CreateApplication does, and what the application saw.
struct Scenario {
  bool quitInConstructor = false;
  bool throwInFactory = false;
  bool outOfMemoryInFactory = false;
  int quitAfterFrames = 3;
  std::string calls;
  std::string commandLine;
  bool foundationRunningInConstructor = false;
  bool mathRunningInConstructor = false;
  int destroyed = 0;
} g_scenario;

class TestApplication : public Engine::Application {
 public:
  TestApplication() {
    g_scenario.foundationRunningInConstructor = Core::GetAllocatorMutex() != nullptr;
    g_scenario.mathRunningInConstructor = Math::GetMergeScratch() != nullptr;
    if (g_scenario.quitInConstructor) Quit();
  }
  ~TestApplication() override { ++g_scenario.destroyed; }
  void BeginFrame() override { g_scenario.calls += 'B'; }
  void Update() override { g_scenario.calls += 'U'; }
  void EndFrame() override {
    g_scenario.calls += 'E';
    if (++m_frames == g_scenario.quitAfterFrames) Quit();
  }
  void Shutdown() override { g_scenario.calls += 'S'; }

 private:
  int m_frames = 0;
};

}  // namespace

Core::SmartPointer<Engine::Application> CreateApplication(const char* commandLine) {
  g_scenario.commandLine = commandLine;
  if (g_scenario.throwInFactory) throw std::runtime_error("factory failed");
  if (g_scenario.outOfMemoryInFactory) throw std::bad_alloc();
  return Core::SmartPointer<Engine::Application>(new (__FILE__, __LINE__) TestApplication());
}

class EngineMainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_scenario = Scenario();
    while (!PAL::ProcessMessages()) {
    }
  }
};

TEST_F(EngineMainTest, RunsFramesInOrderUntilQuitThenShutsDownAndReleases) {
  EXPECT_EQ(Engine::Main("-level 3"), 0);
  EXPECT_EQ(g_scenario.calls, "BUEBUEBUES");
  EXPECT_EQ(g_scenario.commandLine, "-level 3");
  EXPECT_EQ(g_scenario.destroyed, 1);
  EXPECT_TRUE(g_scenario.foundationRunningInConstructor);
  EXPECT_TRUE(g_scenario.mathRunningInConstructor);
  // Everything started is stopped again.
  EXPECT_EQ(Core::GetAllocatorMutex(), nullptr);
  EXPECT_EQ(Math::GetMergeScratch(), nullptr);
  EXPECT_EQ(Core::Initializer::GetNestingCount(), 0u);
}

TEST_F(EngineMainTest, QuitDuringConstructionSkipsEveryFrameButNotShutdown) {
  g_scenario.quitInConstructor = true;
  EXPECT_EQ(Engine::Main(""), 0);
  EXPECT_EQ(g_scenario.calls, "S");
  EXPECT_EQ(g_scenario.destroyed, 1);
}

TEST_F(EngineMainTest, InstancePointsAtTheLastApplicationEvenAfterItIsGone) {
  g_scenario.quitAfterFrames = 1;
  EXPECT_EQ(Engine::Main(nullptr), 0);
  EXPECT_EQ(g_scenario.calls, "BUES");
  // Not reset on destruction (the object is gone; only the pointer's value is compared).
  EXPECT_NE(Engine::Application::GetInstance(), nullptr);
}

TEST_F(EngineMainTest, FactoryExceptionUnwindsTheStartUp) {
  g_scenario.throwInFactory = true;
  EXPECT_THROW(Engine::Main(""), std::runtime_error);
  EXPECT_EQ(Core::GetAllocatorMutex(), nullptr);
  EXPECT_EQ(Math::GetMergeScratch(), nullptr);
  EXPECT_EQ(Core::Initializer::GetNestingCount(), 0u);
  EXPECT_EQ(g_scenario.calls, "");
}

TEST_F(EngineMainTest, OutOfMemoryAtStartUpIsToldOnStderrAndInTheBoxAndFails) {
  g_scenario.outOfMemoryInFactory = true;
  std::string box;
  PAL::SetMessageBoxHook([&box](const PAL::MessageBoxRequest& request, std::uint32_t&) {
    box = request.caption + ": " + request.text;
    return true;
  });
  testing::internal::CaptureStderr();
  EXPECT_EQ(Engine::Main(""), Engine::kExitOutOfMemory);
  const std::string written = testing::internal::GetCapturedStderr();
  PAL::SetMessageBoxHook(nullptr);
  EXPECT_NE(Engine::kExitOutOfMemory, 0);
  EXPECT_EQ(written, "Error: app_tests cannot start: there is not enough memory.\n");
  EXPECT_EQ(box + "\n", written);
  EXPECT_EQ(Core::Initializer::GetNestingCount(), 0u);
}

TEST(InitializerTest, OnlyTheOutermostInitializerActs) {
  ASSERT_EQ(Core::GetAllocatorMutex(), nullptr);
  {
    Core::Initializer outer;
    void* mutex = Core::GetAllocatorMutex();
    ASSERT_NE(mutex, nullptr);
    EXPECT_TRUE(outer.IsHighResolutionClock());
    {
      Core::Initializer inner;
      EXPECT_EQ(Core::GetAllocatorMutex(), mutex);
      EXPECT_EQ(Core::Initializer::GetNestingCount(), 2u);
    }
    EXPECT_EQ(Core::GetAllocatorMutex(), mutex);
    // Allocation works under the lock (the mutex is not recursive: a lock leak would hang here).
    for (int i = 0; i < 100; ++i) delete new (__FILE__, __LINE__) Core::Object();
  }
  EXPECT_EQ(Core::GetAllocatorMutex(), nullptr);
}

TEST(PumpTest, QuitRequestIsAnsweredOnceWithoutAnyWindow) {
  EXPECT_TRUE(PAL::ProcessMessages());
  PAL::PostQuit();
  PAL::PostQuit();
  EXPECT_FALSE(PAL::ProcessMessages());
  EXPECT_TRUE(PAL::ProcessMessages());
}
