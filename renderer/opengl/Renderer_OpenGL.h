#pragma once
// The OpenGL backend's own header: the library headers, the extension entry points loaded from the
// current context, and the extension lists. Only renderer/opengl/ includes it.
#include <GL/gl.h>
#include <GL/glu.h>

#include <string>
#include <vector>

#ifndef GL_TEXTURE0_ARB
#define GL_TEXTURE0_ARB 0x84C0
#endif
#ifndef GL_MAX_TEXTURE_UNITS_ARB
#define GL_MAX_TEXTURE_UNITS_ARB 0x84E2
#endif
#ifndef GL_SECONDARY_COLOR_ARRAY
#define GL_SECONDARY_COLOR_ARRAY 0x845E
#endif
#ifndef GL_LIGHT_MODEL_COLOR_CONTROL
#define GL_LIGHT_MODEL_COLOR_CONTROL 0x81F8
#endif
#ifndef GL_SEPARATE_SPECULAR_COLOR
#define GL_SEPARATE_SPECULAR_COLOR 0x81FA
#endif
#ifndef GL_CLAMP_TO_BORDER
#define GL_CLAMP_TO_BORDER 0x812D
#endif
#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif

namespace Renderer {

// Entry points beyond OpenGL 1.1, reloaded whenever a context is made current; missing ones are null.
struct OpenGLEntryPoints {
  void (*activeTexture)(GLenum) = nullptr;
  void (*clientActiveTexture)(GLenum) = nullptr;
  void (*secondaryColorPointer)(GLint, GLenum, GLsizei, const void*) = nullptr;
  void (*fogCoordPointer)(GLenum, GLsizei, const void*) = nullptr;
  void (*secondaryColorPointerEXT)(GLint, GLenum, GLsizei, const void*) = nullptr;
  void (*bindBuffer)(GLenum, GLuint) = nullptr;
  void (*bufferData)(GLenum, ptrdiff_t, const void*, GLenum) = nullptr;
  void (*bufferSubData)(GLenum, ptrdiff_t, ptrdiff_t, const void*) = nullptr;
  void (*deleteBuffers)(GLsizei, const GLuint*) = nullptr;
  void (*genBuffers)(GLsizei, GLuint*) = nullptr;
  void* (*mapBuffer)(GLenum, GLenum) = nullptr;
  GLboolean (*unmapBuffer)(GLenum) = nullptr;
};

OpenGLEntryPoints& GetEntryPoints();
void LoadEntryPoints();

// Cuts an extension string at single spaces; tokens longer than 255 characters are cut there.
std::vector<std::string> SplitExtensionString(const char* text);
// The window system's (GLX) extension string of the current context; empty when there is none.
std::string GetWindowSystemExtensionString();

}  // namespace Renderer
