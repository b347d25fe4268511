#pragma once
// The application of every graphical program: owns the main window, the mouse, the keyboard and the
// renderer, and brackets each frame with a stopwatch, the buffer swap and an optional frame cap.
#include <functional>
#include <map>
#include <string>

#include "app/Engine_Application.h"
#include "core/Core_String.h"
#include "core/Core_Time.h"
#include "input/Internal_Keyboard.h"
#include "input/Internal_Mouse.h"
#include "platform/PAL_Window.h"
#include "renderer/Renderer_IRenderer.h"
#include "renderer/opengl/Renderer_Adapter.h"

namespace Engine {

class RenderingWindow : public PAL::Window {
 public:
  RenderingWindow(int32_t clientWidth, int32_t clientHeight, const PAL::WindowVisual& visual)
      : PAL::Window(clientWidth, clientHeight, visual) {}
  ~RenderingWindow() override;
};

// Fonts shared by every text node, by font name. The scene graph stores its bitmap fonts here.
using FontCache = std::map<std::string, Core::SmartPointer<Core::Object>>;
FontCache* GetFontCache();

// Waits until the frame stopwatch reads at least the minimum frame time: sleeps whole milliseconds
// while more than one remains, then yields for the last one (a cap made only of yields keeps a core
// busy). Returns at once when the time has already passed.
void WaitForFrameEnd(const Core::Stopwatch& frame, double minimumMilliseconds,
                     const std::function<void(uint32_t)>& sleep, const std::function<void()>& yield);

class RenderingApplication : public Application {
 public:
  explicit RenderingApplication(const DisplaySettings& settings);
  ~RenderingApplication() override;
  const char* GetClassName() const override { return "Engine::RenderingApplication"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(RenderingApplication)); }

  static RenderingApplication* GetInstance();

  // Starts the frame stopwatch unless it runs.
  void BeginFrame() override;
  // Present, the frame cap when locked, then the measured frame rate.
  void EndFrame() override;
  // Gives up the processor once.
  virtual bool Idle();

  RenderingWindow* GetWindow() { return &m_window; }
  Renderer::IRenderer* GetRenderer() const { return m_renderer.Get(); }
  Input::Mouse* GetMouse() const { return m_mouse.Get(); }
  Input::Keyboard* GetKeyboard() const { return m_keyboard.Get(); }

  // The longest frame, in milliseconds, that the cap waits for (rates below 1 fps cap at 1 fps).
  static constexpr double kLongestCappedFrame = 1000.0;

  // A rate of 0 or less means no cap at all.
  void SetDesiredFrameRate(double framesPerSecond);
  double GetDesiredFrameRate() const { return m_desiredFrameRate; }
  double GetCurrentFrameRate() const { return m_currentFrameRate; }
  double GetMinimumFrameTime() const { return m_minimumFrameTime; }
  void LockFrameRate(bool locked) { m_frameRateLocked = locked ? 1 : 0; }
  bool IsFrameRateLocked() const { return m_frameRateLocked != 0; }
  void SetVSync(bool enabled);
  bool IsVSync() const;
  // Switches only when the renderer's mode differs from the one asked for.
  void ToggleFullScreen(bool fullScreen);
  bool IsFullScreen() const;
  void AutoToggleFullScreen();

  const Core::String& GetTextureDirectory() const { return m_textureDirectory; }
  void SetTextureDirectory(const Core::String& directory) { m_textureDirectory = directory; }
  double GetUptime() const { return m_uptime.GetElapsed(); }

  static void OnWindowClose(PAL::Window* window, bool* cancel);

 private:
  Renderer::AdapterUser m_adapterUser;
  Core::Stopwatch m_uptime;
  Core::Stopwatch m_frame;
  RenderingWindow m_window;
  FontCache m_fontCache;
  Core::SmartPointer<Input::Mouse> m_mouse;
  Core::SmartPointer<Input::Keyboard> m_keyboard;
  Core::SmartPointer<Renderer::IRenderer> m_renderer;
  Core::String m_textureDirectory;
  double m_minimumFrameTime = 1.0;
  double m_desiredFrameRate = 1000.0;
  double m_currentFrameRate = 0.0;
  uint8_t m_frameRateLocked = 0;
  uint8_t m_fullScreen = 0;
  uint8_t m_windowed = 1;
};

}  // namespace Engine
