// The X11 id of a window. Kept apart: the X11 headers' macros (None, Bool, Status) clash with
// engine names elsewhere.
#include <SDL.h>
#include <SDL_syswm.h>

#include "platform/sdl/PAL_SDLInternal.h"

std::uint64_t PAL::Window::GetNativeId() const {
  if (m_native == nullptr) return 0;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(m_native->window, &info) != SDL_TRUE) return 0;
#if defined(SDL_VIDEO_DRIVER_X11)
  if (info.subsystem == SDL_SYSWM_X11) return static_cast<std::uint64_t>(info.info.x11.window);
#endif
  return 0;
}
