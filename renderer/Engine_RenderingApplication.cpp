#include "renderer/Engine_RenderingApplication.h"

#include <algorithm>
#include <cmath>

#include "platform/PAL_Clock.h"

namespace Engine {

namespace {
RenderingApplication* g_renderingApplication = nullptr;
FontCache* g_fontCache = nullptr;
}  // namespace

RenderingWindow::~RenderingWindow() = default;

FontCache* GetFontCache() { return g_fontCache; }

void WaitForFrameEnd(const Core::Stopwatch& frame, double minimumMilliseconds,
                     const std::function<void(uint32_t)>& sleep, const std::function<void()>& yield) {
  for (;;) {
    const double remaining = minimumMilliseconds - frame.GetElapsed();
    if (!(remaining > 0.0)) return;  // also ends on a NaN minimum
    const double wholeMilliseconds = std::floor(remaining - 1.0);
    if (wholeMilliseconds >= 1.0) {
      sleep(static_cast<uint32_t>(std::min(wholeMilliseconds, 1000.0)));
    } else {
      yield();
    }
  }
}

namespace {
// Everything of the renderer's descriptor but the window, which is made for it.
Renderer::RendererDescriptor DescribeRenderer(const DisplaySettings& settings) {
  Renderer::RendererDescriptor descriptor(settings.width, settings.height);
  descriptor.refreshRate = settings.refreshRate;
  descriptor.samples = settings.multisampleCount;
  descriptor.fullScreen = settings.fullScreen;
  descriptor.verticalSync = settings.verticalSync;
  return descriptor;
}
}  // namespace

// The adapter user is made first: the window's visual is the pixel format the display offers for
// the descriptor, and it can only be chosen before the window exists.
RenderingApplication::RenderingApplication(const DisplaySettings& settings)
    : m_window(static_cast<int32_t>(settings.width), static_cast<int32_t>(settings.height),
               Renderer::IRenderer::GetWindowVisual(DescribeRenderer(settings))) {
  m_uptime.Reset();
  m_frame.Reset();
  g_renderingApplication = this;
  g_fontCache = &m_fontCache;
  m_uptime.Start();

  if (settings.fullScreen) {
    m_window.SetBorder(false);
    m_window.SetPosition(0, 0);
    m_window.SetClientSize(static_cast<int32_t>(settings.width), static_cast<int32_t>(settings.height));
    m_window.SetTopMost(true);
    m_fullScreen = 1;
    m_windowed = 0;
  }
  m_window.SetResizable(false);
  m_window.SetMaximizeBox(false);
  m_window.SetVisible(true);
  m_window.SetCloseCallback(&RenderingApplication::OnWindowClose);

  m_mouse = Input::MouseImp::CreateInstance();
  if (m_mouse) m_mouse->SetWindow(&m_window);
  m_keyboard = Input::KeyboardImp::CreateInstance();

  Renderer::RendererDescriptor descriptor = DescribeRenderer(settings);
  descriptor.window = &m_window;
  m_renderer = Renderer::IRenderer::Create(descriptor);
}

RenderingApplication::~RenderingApplication() {
  m_fontCache.clear();
  m_textureDirectory.clear();
  m_renderer.Reset();
  m_keyboard.Reset();
  m_mouse.Reset();
  if (g_fontCache == &m_fontCache) g_fontCache = nullptr;
  if (g_renderingApplication == this) g_renderingApplication = nullptr;
}

RenderingApplication* RenderingApplication::GetInstance() { return g_renderingApplication; }

void RenderingApplication::BeginFrame() {
  if (!m_frame.IsRunning()) m_frame.Start();
}

void RenderingApplication::EndFrame() {
  if (m_renderer) m_renderer->Present();
  if (m_frameRateLocked && m_desiredFrameRate > 0.0) {
    WaitForFrameEnd(
        m_frame, m_minimumFrameTime, [](uint32_t milliseconds) { PAL::SleepMilliseconds(milliseconds); },
        [this] { Idle(); });
  }
  m_currentFrameRate = 1000.0 / m_frame.GetElapsed();
  m_frame.Stop();
  m_frame.Reset();
}

bool RenderingApplication::Idle() {
  PAL::YieldThread();
  return true;
}

void RenderingApplication::SetDesiredFrameRate(double framesPerSecond) {
  m_desiredFrameRate = framesPerSecond;
  // Zero or a negative rate would make the wait endless or meaningless: it means no cap. A tiny
  // positive rate from a script must not freeze the window between two pumps either, so the cap
  // never waits longer than its longest frame.
  m_minimumFrameTime = framesPerSecond > 0.0 ? std::min(1000.0 / framesPerSecond, kLongestCappedFrame) : 0.0;
}

void RenderingApplication::SetVSync(bool enabled) {
  if (m_renderer) m_renderer->SetVSync(enabled);
}

bool RenderingApplication::IsVSync() const { return m_renderer && m_renderer->IsVSync(); }

void RenderingApplication::ToggleFullScreen(bool fullScreen) {
  if (!m_renderer) return;
  if ((m_renderer->GetDescriptor().fullScreen != 0) != fullScreen) m_renderer->ToggleFullScreen();
}

bool RenderingApplication::IsFullScreen() const {
  return m_renderer && m_renderer->GetDescriptor().fullScreen != 0;
}

void RenderingApplication::AutoToggleFullScreen() {
  if (m_renderer) m_renderer->ToggleFullScreen();
}

void RenderingApplication::OnWindowClose(PAL::Window*, bool*) {
  if (Application* application = Application::GetInstance()) application->Quit();
}

}  // namespace Engine
