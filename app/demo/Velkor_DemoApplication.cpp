#include "app/demo/Velkor_DemoApplication.h"

#include "platform/PAL_Clock.h"

namespace Engine {
namespace {
constexpr unsigned int kColorBufferBit = 0x00004000;  // GL_COLOR_BUFFER_BIT
}

DemoApplication::DemoApplication() {
  m_window = std::make_unique<PAL::Window>(1280, 720);
  m_window->SetTitle("Velkor");
  m_window->SetResizable(false);
  m_window->SetMaximizeBox(false);
  m_window->SetVisible(true);
  m_window->SetCloseCallback(&DemoApplication::OnWindowClose);

  m_mouse = Input::MouseImp::CreateInstance();
  m_mouse->SetWindow(m_window.get());
  m_keyboard = Input::KeyboardImp::CreateInstance();

  m_context = PAL::CreateGLContext(*m_window);
  PAL::MakeGLContextCurrent(m_window.get(), m_context);
  PAL::SetGLSwapInterval(1);  // refused on virtual displays; the frame cap below still holds
  // No drawing code lives here (that is the renderer's): two entry points colour the window.
  m_clearColor = reinterpret_cast<void (*)(float, float, float, float)>(PAL::GetGLProcAddress("glClearColor"));
  m_clear = reinterpret_cast<void (*)(unsigned int)>(PAL::GetGLProcAddress("glClear"));
}

DemoApplication::~DemoApplication() { Shutdown(); }

void DemoApplication::OnWindowClose(PAL::Window*, bool*) { Application::GetInstance()->Quit(); }

void DemoApplication::BeginFrame() {
  if (!m_frame.IsRunning()) m_frame.Start();
}

void DemoApplication::Update() {
  m_mouse->Update();
  m_keyboard->Update();
  if (m_keyboard->IsTriggered(Input::Key::Escape)) Quit();

  if (m_clearColor != nullptr && m_clear != nullptr) {
    // A held button lightens the window, so input is visible without a renderer.
    const float light = m_mouse->IsPressed(0) || m_mouse->IsPressed(2) ? 0.35f : 0.1f;
    m_clearColor(light * 0.5f, light, light * 1.8f, 1.0f);
    m_clear(kColorBufferBit);
  }
}

void DemoApplication::EndFrame() {
  if (m_window) PAL::SwapGLBuffers(*m_window);
  // Sleep most of the remaining frame time and yield through the last millisecond.
  for (;;) {
    const double remaining = kMinimumFrameMilliseconds - m_frame.GetElapsed();
    if (remaining <= 0.0) break;
    if (remaining > 1.5) {
      PAL::SleepMilliseconds(static_cast<std::uint32_t>(remaining - 1.0));
    } else {
      PAL::YieldThread();
    }
  }
  m_frame.Stop();
  m_frame.Reset();
}

void DemoApplication::Shutdown() {
  if (m_context != nullptr) {
    PAL::DeleteGLContext(m_context);
    m_context = nullptr;
  }
  m_keyboard.Reset();
  m_mouse.Reset();
  m_window.reset();
}

}  // namespace Engine

Core::SmartPointer<Engine::Application> CreateApplication(const char*) {
  return Core::SmartPointer<Engine::Application>(new ("Velkor_DemoApplication", __LINE__) Engine::DemoApplication());
}
