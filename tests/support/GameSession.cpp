#include "tests/support/GameSession.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/Core_Time.h"
#include "math/Math_Module.h"
#include "platform/PAL_Services.h"
#include "platform/PAL_Window.h"
#include "script/Lua_ScriptEngine.h"
#include "tests/support/TestSupport.h"

namespace TestSupport {
namespace {

// The clock takes a plain function, so the time it answers lives here.
double g_now = 0.0;
double FakeClock() { return g_now; }

}  // namespace

void GameSession::Open(const std::string& folderPrefix, double startMilliseconds) {
  // No test may wait on a sound device.
  setenv("ALSOFT_DRIVERS", "null", 0);
  PAL::SetMessageBoxHook([](const PAL::MessageBoxRequest&, std::uint32_t& answer) {
    answer = PAL::MessageBoxButton::OK;
    return true;
  });
  m_hooked = true;
  if (!folderPrefix.empty()) {
    m_folder = MakeTempDirectory(folderPrefix);
    const char* home = std::getenv("XDG_DATA_HOME");
    m_hadDataHome = home != nullptr;
    if (home != nullptr) m_previousDataHome = home;
    setenv("XDG_DATA_HOME", m_folder.c_str(), 1);
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof(here)), nullptr);
    m_previousDirectory = here;
    ASSERT_EQ(chdir(m_folder.c_str()), 0) << m_folder;
  }
  Math::Initialize();
  m_mathStarted = true;
  std::string error;
  m_scriptsStarted = Lua::Initialize(&error);
  ASSERT_TRUE(m_scriptsStarted) << error;
  g_now = startMilliseconds;
  Core::InstallClock(&FakeClock);
  m_clockInstalled = true;
}

void GameSession::StopGame() {
  if (!m_game) return;
  m_game->Shutdown();
  m_game.Reset();
}

void GameSession::Close() {
  StopGame();
  if (m_clockInstalled) Core::InstallClock(nullptr);
  m_clockInstalled = false;
  if (m_hooked) {
    while (!PAL::ProcessMessages()) {
    }
  }
  if (m_scriptsStarted) Lua::Shutdown();
  m_scriptsStarted = false;
  if (m_mathStarted) Math::Shutdown();
  m_mathStarted = false;
  if (m_hooked) PAL::SetMessageBoxHook(nullptr);
  m_hooked = false;
  if (!m_previousDirectory.empty()) (void)chdir(m_previousDirectory.c_str());
  m_previousDirectory.clear();
  if (!m_folder.empty()) {
    if (m_hadDataHome) {
      setenv("XDG_DATA_HOME", m_previousDataHome.c_str(), 1);
    } else {
      unsetenv("XDG_DATA_HOME");
    }
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
    m_folder.clear();
  }
}

void GameSession::Step(double milliseconds, const std::function<void()>& beforeShow) {
  g_now += milliseconds;
  m_game->BeginFrame();
  m_game->Update();
  if (beforeShow) beforeShow();
  m_game->EndFrame();
}

double GameSession::Now() const { return g_now; }

void GameSession::SetNow(double milliseconds) { g_now = milliseconds; }

Engine::DisplaySettings SmallDisplay(std::uint32_t refreshRate) {
  Engine::DisplaySettings settings;
  settings.width = 320;
  settings.height = 240;
  settings.refreshRate = refreshRate;
  return settings;
}

}  // namespace TestSupport
