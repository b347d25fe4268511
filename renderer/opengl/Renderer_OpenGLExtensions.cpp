#include <GL/glx.h>

#include "platform/PAL_WindowGL.h"
#include "renderer/opengl/Renderer_OpenGL.h"

namespace Renderer {

OpenGLEntryPoints& GetEntryPoints() {
  static OpenGLEntryPoints entryPoints;
  return entryPoints;
}

namespace {
template <typename Function>
void Load(Function& slot, const char* name) {
  slot = reinterpret_cast<Function>(PAL::GetGLProcAddress(name));
}
}  // namespace

void LoadEntryPoints() {
  OpenGLEntryPoints& e = GetEntryPoints();
  Load(e.activeTexture, "glActiveTextureARB");
  Load(e.clientActiveTexture, "glClientActiveTextureARB");
  Load(e.secondaryColorPointer, "glSecondaryColorPointer");
  Load(e.fogCoordPointer, "glFogCoordPointer");
  Load(e.secondaryColorPointerEXT, "glSecondaryColorPointerEXT");
  Load(e.bindBuffer, "glBindBufferARB");
  Load(e.bufferData, "glBufferDataARB");
  Load(e.bufferSubData, "glBufferSubDataARB");
  Load(e.deleteBuffers, "glDeleteBuffersARB");
  Load(e.genBuffers, "glGenBuffersARB");
  Load(e.mapBuffer, "glMapBufferARB");
  Load(e.unmapBuffer, "glUnmapBufferARB");
}

std::vector<std::string> SplitExtensionString(const char* text) {
  std::vector<std::string> list;
  if (text == nullptr) return list;
  std::string token;
  for (const char* p = text;; ++p) {
    if (*p == ' ' || *p == '\0') {
      if (!token.empty()) list.push_back(token);
      token.clear();
      if (*p == '\0') break;
    } else if (token.size() < 255) {
      token.push_back(*p);
    }
  }
  return list;
}

std::string GetWindowSystemExtensionString() {
  Display* display = glXGetCurrentDisplay();
  if (display == nullptr) return std::string();
  const char* text = glXQueryExtensionsString(display, 0);
  return text ? std::string(text) : std::string();
}

}  // namespace Renderer
