#pragma once
// The renderer's OpenGL context on the game window.
#include <string>
#include <vector>

#include "core/Core_Object.h"

namespace PAL {
class Window;
}

namespace Renderer {

struct OpenGLExtensions {
  std::vector<std::string> gl;
  std::vector<std::string> windowSystem;
  void Fill();  // the window-system list of the current context; the GL list stays as it is
};

class RenderingContext : public Core::Object {
 public:
  // Creates a context for the window's visual (a failure ends the process with the "Error" box).
  explicit RenderingContext(PAL::Window* window);
  ~RenderingContext() override;
  const char* GetClassName() const override { return "Renderer::RenderingContext"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(RenderingContext)); }

  // Makes the context current, on `window` when one is given (it must share the visual); reloads
  // the entry points and the window-system extension list.
  bool MakeCurrent(PAL::Window* window);
  const OpenGLExtensions& GetExtensions() const { return m_extensions; }
  PAL::Window* GetWindow() const { return m_window; }

 private:
  OpenGLExtensions m_extensions;
  PAL::Window* m_window = nullptr;
  void* m_context = nullptr;
  int32_t m_pixelFormat = 0;
};

}  // namespace Renderer
