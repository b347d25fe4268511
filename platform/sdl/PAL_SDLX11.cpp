// What the SDL backend does with Xlib itself: window ids, the display for the renderer, and our own
// X error handling. Kept apart: the X11 headers' macros (None, Bool, Status) clash with engine
// names elsewhere.
#include <SDL.h>
#include <SDL_syswm.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

#include "platform/PAL_WindowGL.h"
#include "platform/sdl/PAL_SDLInternal.h"

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xlib.h>
#endif

namespace PAL {
namespace {

bool GetX11Info(SDL_Window* window, SDL_SysWMinfo& info) {
  if (window == nullptr) return false;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE) return false;
#if defined(SDL_VIDEO_DRIVER_X11)
  return info.subsystem == SDL_SYSWM_X11;
#else
  return false;
#endif
}

#if defined(SDL_VIDEO_DRIVER_X11)
std::atomic<bool> g_displayLost{false};
int g_reportedErrors = 0;

// Xlib calls this from inside its own request path, holding its display lock: any Xlib request
// made here deadlocks (SDL's default handler restores display modes through XRandR and hangs the
// process when a window vanishes under a buffer swap). So nothing here speaks to the server.
int OnXError(Display*, XErrorEvent* error) {
  // A window or drawable that is gone: the pump learns of the loss from the window's destroy
  // notice and ends the program with one clear line. Other errors are reported, a few at most.
  if (error->error_code == BadWindow || error->error_code == BadDrawable) return 0;
  if (g_reportedErrors < 8) {
    ++g_reportedErrors;
    std::fprintf(stderr, "%s: X error %d on request %d.%d (resource 0x%lx)\n", program_invocation_short_name,
                 error->error_code, error->request_code, error->minor_code, error->resourceid);
  }
  return 0;
}

// The connection is gone. Xlib's default would end the process on the spot, without the game's
// shutdown; returning from both handlers leaves the display marked dead, so Xlib calls on it
// return at once and the pump ends the main loop.
int OnXIOError(Display*) {
  g_displayLost = true;
  return 0;
}

void OnXIOErrorExit(Display*, void*) { g_displayLost = true; }
#endif

}  // namespace

std::uint64_t Window::GetNativeId() const {
  if (m_native == nullptr) return 0;
  SDL_SysWMinfo info;
  if (!GetX11Info(m_native->window, info)) return 0;
#if defined(SDL_VIDEO_DRIVER_X11)
  return static_cast<std::uint64_t>(info.info.x11.window);
#else
  return 0;
#endif
}

void* GetX11Display(const Window& window) {
  SDL_SysWMinfo info;
  if (window.GetNative() == nullptr || SDLBackend::IsDisplayLost() || !GetX11Info(window.GetNative()->window, info))
    return nullptr;
#if defined(SDL_VIDEO_DRIVER_X11)
  return info.info.x11.display;
#else
  return nullptr;
#endif
}

namespace SDLBackend {

void InstallX11ErrorHandlers() {
#if defined(SDL_VIDEO_DRIVER_X11)
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr || SDL_strcmp(driver, "x11") != 0) return;
  XSetErrorHandler(&OnXError);
  XSetIOErrorHandler(&OnXIOError);
#endif
}

void WatchX11Display(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  if (GetX11Info(window, info)) XSetIOErrorExitHandler(info.info.x11.display, &OnXIOErrorExit, nullptr);
#else
  (void)window;
#endif
}

bool IsDisplayLost() {
#if defined(SDL_VIDEO_DRIVER_X11)
  return g_displayLost;
#else
  return false;
#endif
}

std::uint64_t GetDestroyedX11Window(const SDL_SysWMmsg* message) {
#if defined(SDL_VIDEO_DRIVER_X11)
  if (message != nullptr && message->subsystem == SDL_SYSWM_X11 && message->msg.x11.event.type == DestroyNotify)
    return static_cast<std::uint64_t>(message->msg.x11.event.xdestroywindow.window);
#else
  (void)message;
#endif
  return 0;
}

}  // namespace SDLBackend
}  // namespace PAL
