// The system input backend: the key table filled by the event pump, and SDL's cursor.
#include <SDL.h>

#include <array>
#include <cstring>

#include "platform/PAL_Input.h"
#include "platform/sdl/PAL_SDLInternal.h"

namespace PAL {
namespace {

// Held bits by virtual key as this frame sees them (toggle bits come from SDL's own state). A key
// pressed and released within one drain of the events stays held here until the next drain, so
// a tap shorter than a frame is seen as pressed for one frame and released in the next.
std::array<std::uint8_t, 256> g_keys{};
// Held bits as the events last left them, and the keys that went down during the current drain.
std::array<std::uint8_t, 256> g_physical{};
std::array<bool, 256> g_wentDownThisDrain{};
std::int32_t g_cursorCount = 0;

void UpdateGenericKey(std::uint8_t generic, std::uint8_t left, std::uint8_t right) {
  g_keys[generic] = static_cast<std::uint8_t>((g_keys[left] | g_keys[right]) & kKeyHeldBit);
}

void UpdateGenericKeys() {
  UpdateGenericKey(VirtualKey::Shift, VirtualKey::LeftShift, VirtualKey::RightShift);
  UpdateGenericKey(VirtualKey::Control, VirtualKey::LeftControl, VirtualKey::RightControl);
  UpdateGenericKey(VirtualKey::Menu, VirtualKey::LeftMenu, VirtualKey::RightMenu);
}

std::uint8_t ToggleBit(std::uint8_t virtualKey) {
  if (!SDLBackend::IsVideoStarted()) return 0;
  const SDL_Keymod modifiers = SDL_GetModState();
  switch (virtualKey) {
    case VirtualKey::CapsLock: return (modifiers & KMOD_CAPS) ? kKeyToggledBit : 0;
    case VirtualKey::NumLock: return (modifiers & KMOD_NUM) ? kKeyToggledBit : 0;
    case VirtualKey::ScrollLock: return (modifiers & KMOD_SCROLL) ? kKeyToggledBit : 0;
    default: return 0;
  }
}

class SystemInputBackend : public InputBackend {
 public:
  void GetKeyboardState(std::uint8_t state[256]) override {
    std::memcpy(state, g_keys.data(), g_keys.size());
    for (std::uint8_t key : {VirtualKey::CapsLock, VirtualKey::NumLock, VirtualKey::ScrollLock}) {
      state[key] = static_cast<std::uint8_t>(state[key] | ToggleBit(key));
    }
  }

  bool IsKeyHeld(std::uint8_t virtualKey) override { return (g_keys[virtualKey] & kKeyHeldBit) != 0; }

  bool IsKeyToggled(std::uint8_t virtualKey) override { return ToggleBit(virtualKey) != 0; }

  void GetCursorPosition(std::int32_t& x, std::int32_t& y) override {
    int px = 0;
    int py = 0;
    if (SDLBackend::IsVideoStarted()) {
      // Over one of our windows, the motion events the pump has drained are the freshest answer:
      // SDL's global query can hold a cached position until a button changes (seen on X servers
      // without raw input events).
      if (SDL_Window* focus = SDL_GetMouseFocus()) {
        int windowX = 0;
        int windowY = 0;
        SDL_GetMouseState(&px, &py);
        SDL_GetWindowPosition(focus, &windowX, &windowY);
        px += windowX;
        py += windowY;
      } else {
        SDL_GetGlobalMouseState(&px, &py);
      }
    }
    x = px;
    y = py;
  }

  void SetCursorPosition(std::int32_t x, std::int32_t y) override {
    if (SDLBackend::IsVideoStarted()) SDL_WarpMouseGlobal(x, y);
  }

  bool GetClientArea(Window* window, std::int32_t& left, std::int32_t& top, std::int32_t& width,
                     std::int32_t& height) override {
    left = top = width = height = 0;
    if (window == nullptr || window->GetNative() == nullptr) return false;
    int x = 0, y = 0, w = 0, h = 0;
    SDL_GetWindowPosition(window->GetNative()->window, &x, &y);
    SDL_GetWindowSize(window->GetNative()->window, &w, &h);
    left = x;
    top = y;
    width = w;
    height = h;
    return true;
  }

  // SDL has only shown or hidden: the count is kept here, as the system would keep it.
  std::int32_t ShowCursor(bool show) override {
    const bool wasShowing = g_cursorCount >= 0;
    g_cursorCount += show ? 1 : -1;
    const bool showing = g_cursorCount >= 0;
    if (showing != wasShowing && SDLBackend::IsVideoStarted()) SDL_ShowCursor(showing ? SDL_ENABLE : SDL_DISABLE);
    return g_cursorCount;
  }

  bool IsCursorShowing() override { return g_cursorCount >= 0; }
};

}  // namespace

InputBackend& GetSystemInputBackend() {
  static SystemInputBackend backend;
  return backend;
}

namespace SDLBackend {

void BeginDrain() {
  // Taps of the last drain have had their frame: from now on each key is what the events say.
  g_keys = g_physical;
  g_wentDownThisDrain.fill(false);
  UpdateGenericKeys();
}

void SetKeyHeld(std::uint8_t virtualKey, bool held) {
  g_physical[virtualKey] = held ? kKeyHeldBit : 0;
  if (held) {
    g_wentDownThisDrain[virtualKey] = true;
    g_keys[virtualKey] = kKeyHeldBit;
  } else if (!g_wentDownThisDrain[virtualKey]) {
    g_keys[virtualKey] = 0;
  }
  UpdateGenericKeys();
}

void ReleaseAllKeys() {
  g_keys.fill(0);
  g_physical.fill(0);
  g_wentDownThisDrain.fill(false);
}

}  // namespace SDLBackend
}  // namespace PAL
