#pragma once
// Shared by the SDL backend's files only: the native window record, video start-up and the key
// table that the event pump fills.
#include <SDL.h>

#include <cstdint>

#include "platform/PAL_Window.h"

namespace PAL {

struct Window::Native {
  SDL_Window* window = nullptr;
};

namespace SDLBackend {

// Starts SDL's video once per process (and installs the SDL message box); false when no display
// can be opened. Later calls answer the first result.
bool StartVideo();
bool IsVideoStarted();

// The engine window behind an SDL window, or null (a window not ours, or already destroyed).
Window* FindWindow(SDL_Window* window);

// Key table updates from the pump: BeginDrain before each drain of the event queue.
void BeginDrain();
void SetKeyHeld(std::uint8_t virtualKey, bool held);
// Focus left the program's windows: nothing may stay held.
void ReleaseAllKeys();

}  // namespace SDLBackend
}  // namespace PAL
