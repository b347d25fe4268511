#include "renderer/opengl/Renderer_RenderingContext.h"

#include "platform/PAL_Window.h"
#include "platform/PAL_WindowGL.h"
#include "renderer/opengl/Renderer_OpenGL.h"

namespace Renderer {

void OpenGLExtensions::Fill() { windowSystem = SplitExtensionString(GetWindowSystemExtensionString().c_str()); }

RenderingContext::RenderingContext(PAL::Window* window) : m_window(window) {
  if (m_window == nullptr) return;
  m_pixelFormat = m_window->GetPixelFormat();
  m_context = PAL::CreateGLContext(*m_window);
}

RenderingContext::~RenderingContext() {
  if (m_context == nullptr) return;
  PAL::DeleteGLContext(m_context);  // releases it first when current
  m_context = nullptr;
}

bool RenderingContext::MakeCurrent(PAL::Window* window) {
  if (window != nullptr) m_window = window;
  if (m_window == nullptr || m_context == nullptr) return false;
  if (!PAL::MakeGLContextCurrent(m_window, m_context)) return false;
  LoadEntryPoints();
  m_extensions.gl.clear();
  m_extensions.windowSystem.clear();
  m_extensions.Fill();
  return true;
}

}  // namespace Renderer
