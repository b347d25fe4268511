#pragma once
// The engine's demo program until the game exists: a 1280 x 720 window titled "Velkor" that runs
// frames, polls mouse and keyboard, and quits on Escape or when the window is closed.
#include <memory>

#include "app/Engine_Application.h"
#include "core/Core_Time.h"
#include "input/Internal_Keyboard.h"
#include "input/Internal_Mouse.h"
#include "platform/PAL_Window.h"
#include "platform/PAL_WindowGL.h"

namespace Engine {

class DemoApplication : public Application {
 public:
  static constexpr double kMinimumFrameMilliseconds = 1000.0 / 60.0;

  DemoApplication();
  ~DemoApplication() override;

  void BeginFrame() override;
  void Update() override;
  void EndFrame() override;
  void Shutdown() override;

 private:
  static void OnWindowClose(PAL::Window* window, bool* cancel);

  std::unique_ptr<PAL::Window> m_window;
  PAL::GLContextHandle m_context = nullptr;
  Core::SmartPointer<Input::Mouse> m_mouse;
  Core::SmartPointer<Input::Keyboard> m_keyboard;
  Core::Stopwatch m_frame;
  void (*m_clearColor)(float, float, float, float) = nullptr;
  void (*m_clear)(unsigned int) = nullptr;
};

}  // namespace Engine
