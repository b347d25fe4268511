// A small program on the engine for the outside-input test: it opens a 320 x 240 window, reports
// on stdout what its mouse and keyboard see, refuses the first close request and accepts the
// second. It gives up by itself after 60 s so that a broken test never hangs.
#include <cstdio>
#include <memory>

#include "app/Engine_Application.h"
#include "app/Engine_Main.h"
#include "core/Core_Time.h"
#include "input/Internal_Keyboard.h"
#include "input/Internal_Mouse.h"
#include "platform/PAL_Clock.h"
#include "platform/PAL_Window.h"
#include "platform/PAL_WindowGL.h"

namespace {

void Report(const char* format, long a = 0, long b = 0, long c = 0) {
  std::printf(format, a, b, c);
  std::printf("\n");
  std::fflush(stdout);
}

class ProbeApplication : public Engine::Application {
 public:
  ProbeApplication() {
    m_window = std::make_unique<PAL::Window>(320, 240);
    m_window->SetTitle("Velkor window probe");
    m_window->SetPosition(16, 16);
    m_window->SetVisible(true);
    m_window->SetCloseCallback(&ProbeApplication::OnClose);
    m_context = PAL::CreateGLContext(*m_window);
    m_mouse = Input::MouseImp::CreateInstance();
    m_mouse->SetWindow(m_window.get());
    m_keyboard = Input::KeyboardImp::CreateInstance();
    m_started.Start();
  }

  void Update() override {
    m_mouse->Update();
    m_keyboard->Update();
    if (++m_frames == 3) Report("window %ld", static_cast<long>(m_window->GetNativeId()));
    if (m_keyboard->IsTriggered(Input::Key::A)) Report("key A down");
    if (m_keyboard->IsUp(Input::Key::A)) Report("key A up");
    if (m_mouse->IsTriggered(0)) Report("button 0 down at %ld %ld", m_mouse->GetPositionX(), m_mouse->GetPositionY());
    if (m_mouse->IsUp(0)) Report("button 0 up");
    if (m_started.GetElapsed() > 60000.0) {
      Report("timeout");
      Quit();
    }
  }

  void EndFrame() override {
    PAL::SwapGLBuffers(*m_window);
    PAL::SleepMilliseconds(5);
  }

  void Shutdown() override {
    PAL::DeleteGLContext(m_context);
    m_context = nullptr;
    Report("shutdown");
  }

 private:
  static void OnClose(PAL::Window*, bool* cancel) {
    static int requests = 0;
    if (++requests == 1) {
      *cancel = true;
      Report("close cancelled");
    } else {
      Report("close accepted");
    }
  }

  std::unique_ptr<PAL::Window> m_window;
  PAL::GLContextHandle m_context = nullptr;
  Core::SmartPointer<Input::Mouse> m_mouse;
  Core::SmartPointer<Input::Keyboard> m_keyboard;
  Core::Stopwatch m_started;
  int m_frames = 0;
};

}  // namespace

Core::SmartPointer<Engine::Application> CreateApplication(const char*) {
  return Core::SmartPointer<Engine::Application>(new (__FILE__, __LINE__) ProbeApplication());
}

int main() { return Engine::Main(""); }
