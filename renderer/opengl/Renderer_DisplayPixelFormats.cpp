// The pixel formats an X display offers: its GLX frame-buffer configurations. Kept apart from the
// adapter: the X11 headers' macros (None, Bool, Status) clash with engine names.
#include <algorithm>

#include "renderer/opengl/Renderer_Adapter.h"
#include "renderer/opengl/Renderer_OpenGL.h"

// Last: its macros must not meet the engine's headers.
#include <GL/glx.h>

#ifndef GLX_SWAP_METHOD_OML
#define GLX_SWAP_METHOD_OML 0x8060
#define GLX_SWAP_EXCHANGE_OML 0x8061
#define GLX_SWAP_COPY_OML 0x8062
#define GLX_SWAP_UNDEFINED_OML 0x8063
#endif

namespace Renderer {

namespace {

int Attribute(Display* display, GLXFBConfig config, int name) {
  int value = 0;
  return glXGetFBConfigAttrib(display, config, name, &value) == Success ? value : 0;
}

uint32_t Bits(Display* display, GLXFBConfig config, int name) {
  return static_cast<uint32_t>(std::max(0, Attribute(display, config, name)));
}

}  // namespace

bool ReadDisplayPixelFormats(void* x11Display, std::vector<PixelFormatRecord>& formats,
                             std::vector<std::string>& extensions) {
  formats.clear();
  extensions.clear();
  Display* display = static_cast<Display*>(x11Display);
  int errorBase = 0, eventBase = 0, major = 0, minor = 0;
  if (display == nullptr || !glXQueryExtension(display, &errorBase, &eventBase)) return false;
  // Frame-buffer configurations came with GLX 1.3.
  if (!glXQueryVersion(display, &major, &minor) || (major == 1 && minor < 3)) return false;
  const int screen = DefaultScreen(display);
  extensions = SplitExtensionString(glXQueryExtensionsString(display, screen));
  const bool swapMethods = std::find(extensions.begin(), extensions.end(), "GLX_OML_swap_method") != extensions.end();

  int count = 0;
  GLXFBConfig* configs = glXGetFBConfigs(display, screen, &count);
  for (int i = 0; i < count; ++i) {
    const GLXFBConfig config = configs[i];
    // Kept: RGBA, double buffered, able to draw to a window, not marked slow, and on a visual of
    // the screen's own depth (a deeper visual with alpha would let a compositor show through).
    if (!(Attribute(display, config, GLX_RENDER_TYPE) & GLX_RGBA_BIT)) continue;
    if (!(Attribute(display, config, GLX_DRAWABLE_TYPE) & GLX_WINDOW_BIT)) continue;
    if (!Attribute(display, config, GLX_DOUBLEBUFFER) || !Attribute(display, config, GLX_X_RENDERABLE)) continue;
    if (Attribute(display, config, GLX_CONFIG_CAVEAT) == GLX_SLOW_CONFIG) continue;
    const int visualType = Attribute(display, config, GLX_X_VISUAL_TYPE);
    if (visualType != GLX_TRUE_COLOR && visualType != GLX_DIRECT_COLOR) continue;
    XVisualInfo* visual = glXGetVisualFromFBConfig(display, config);
    if (visual == nullptr) continue;
    const bool screenDepth = visual->depth == DefaultDepth(display, screen);
    const VisualID visualId = visual->visualid;
    XFree(visual);
    if (!screenDepth) continue;

    PixelFormatRecord record;
    record.index = Attribute(display, config, GLX_FBCONFIG_ID);
    record.colorBits = Bits(display, config, GLX_BUFFER_SIZE);
    record.redBits = Bits(display, config, GLX_RED_SIZE);
    record.greenBits = Bits(display, config, GLX_GREEN_SIZE);
    record.blueBits = Bits(display, config, GLX_BLUE_SIZE);
    record.alphaBits = Bits(display, config, GLX_ALPHA_SIZE);
    record.depthBits = Bits(display, config, GLX_DEPTH_SIZE);
    record.stencilBits = Bits(display, config, GLX_STENCIL_SIZE);
    record.multisampling = Attribute(display, config, GLX_SAMPLE_BUFFERS) > 0;
    record.samples = record.multisampling ? Bits(display, config, GLX_SAMPLES) : 0;
    if (swapMethods) {
      switch (Attribute(display, config, GLX_SWAP_METHOD_OML)) {
        case GLX_SWAP_EXCHANGE_OML: record.swapMethod = 1; break;
        case GLX_SWAP_COPY_OML: record.swapMethod = 2; break;
        case GLX_SWAP_UNDEFINED_OML: record.swapMethod = 3; break;
        default: record.swapMethod = 0; break;
      }
    }
    record.visual = static_cast<uint64_t>(visualId);
    if (record.index != 0) formats.push_back(record);
  }
  if (configs != nullptr) XFree(configs);
  return true;
}

uint64_t GetWindowVisualId(void* x11Display, uint64_t windowId) {
  Display* display = static_cast<Display*>(x11Display);
  if (display == nullptr || windowId == 0) return 0;
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display, static_cast<::Window>(windowId), &attributes) || attributes.visual == nullptr)
    return 0;
  return static_cast<uint64_t>(XVisualIDFromVisual(attributes.visual));
}

}  // namespace Renderer
