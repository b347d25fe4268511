#pragma once
// The OpenGL context of a window, buffer swaps, the swap interval, entry points, and the display
// modes with full-screen switching: everything the renderer needs of the window system.
//
// Typical use by the renderer:
//   PAL::Window window(1280, 720, visual);           // the visual is fixed here
//   PAL::GLContextHandle context = PAL::CreateGLContext(window);   // fatal on failure
//   PAL::MakeGLContextCurrent(&window, context);
//   auto clear = reinterpret_cast<void (*)(unsigned)>(PAL::GetGLProcAddress("glClear"));
//   ... draw ...; PAL::SwapGLBuffers(window);
//   PAL::MakeGLContextCurrent(nullptr, nullptr); PAL::DeleteGLContext(context);
#include <cstdint>
#include <vector>

namespace PAL {

class Window;

using GLContextHandle = void*;

// A context for the window's visual, made current on it. A failure is reported in the "Error"
// box and ends the process.
GLContextHandle CreateGLContext(Window& window);
// Makes the context current on the window; (null, null) releases the current one. False when
// the system refuses (the previous context stays current).
bool MakeGLContextCurrent(Window* window, GLContextHandle context);
// Releases the context first when it is current. Null is ignored.
void DeleteGLContext(GLContextHandle context);
// The window whose context is current on this thread, or null.
Window* GetCurrentGLWindow();
void SwapGLBuffers(Window& window);
// 0 off, 1 synchronised with the display. False when refused, which is normal on virtual
// displays and never fatal.
bool SetGLSwapInterval(std::int32_t interval);
std::int32_t GetGLSwapInterval();
// Any OpenGL or extension entry point of the current context's library; null when missing.
void* GetGLProcAddress(const char* name);
// The X11 display connection (an Xlib Display*) the window lives on; null when the window is not
// on X11 (Wayland) or the display is lost. For the renderer's backend, which reads the display's
// frame-buffer configurations.
void* GetX11Display(const Window& window);

// What the window's visual actually has (read with its context current).
struct GLPixelFormat {
  std::uint32_t redBits = 0, greenBits = 0, blueBits = 0, alphaBits = 0;
  std::uint32_t depthBits = 0, stencilBits = 0;
  std::uint32_t sampleBuffers = 0, samples = 0;
  std::uint32_t doubleBuffer = 0;
};
// False when no context is current.
bool GetCurrentGLPixelFormat(GLPixelFormat& format);

struct DisplayMode {
  std::uint32_t width = 0, height = 0, colorBits = 0, refreshRate = 0;
};
// Every mode of the primary display, as the system lists them (at least the current one).
std::vector<DisplayMode> GetDisplayModes();
DisplayMode GetCurrentDisplayMode();
// The mode the display offers closest to `wanted` (at least as large, then the nearest depth and
// rate); false when it offers none that large or there is no display.
bool GetClosestDisplayMode(const DisplayMode& wanted, DisplayMode& closest);
// Where exactly this mode (size, colour bits and rate) stands in a list of modes; -1 when it is
// not there.
int FindDisplayMode(const std::vector<DisplayMode>& modes, const DisplayMode& mode);
// Whether the display, asked now, offers exactly this mode: what the full-screen switch would take.
bool IsDisplayModeOffered(const DisplayMode& mode);
// Switches the window to exactly this display mode in full screen, or back to a window. False
// when the display does not offer that mode or the system refuses (the window stays as it was).
bool SetFullScreen(Window& window, bool fullScreen, const DisplayMode& mode);

}  // namespace PAL
