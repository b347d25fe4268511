#pragma once
// Shared by the SDL backend's files only: the native window record, video start-up and the key
// table that the event pump fills.
#include <SDL.h>

#include <cstdint>

#include "platform/PAL_Window.h"

namespace PAL {

struct Window::Native {
  SDL_Window* window = nullptr;
  // Destroyed by another program: SDL must not touch it any more.
  bool lost = false;
};

namespace SDLBackend {

// Starts SDL's video once per process (and installs the SDL message box); false when no display
// can be opened. Later calls answer the first result.
bool StartVideo();
bool IsVideoStarted();

// The engine window behind an SDL window, or null (a window not ours, or already destroyed).
Window* FindWindow(SDL_Window* window);

// X11 only (nothing elsewhere): our own X error and I/O error handlers, installed once video has
// started. A window destroyed from outside or a lost display must end the program as a close does,
// never hang it inside Xlib's error path or end it without the program's shutdown.
void InstallX11ErrorHandlers();
// The I/O error of the window's display connection marks the display lost instead of exiting.
void WatchX11Display(SDL_Window* window);
bool IsDisplayLost();
// The X11 id of the window that a window-system event reports destroyed, or 0.
std::uint64_t GetDestroyedX11Window(const SDL_SysWMmsg* message);

// Key table updates from the pump: BeginDrain before each drain of the event queue.
void BeginDrain();
void SetKeyHeld(std::uint8_t virtualKey, bool held);
// Focus left the program's windows: nothing may stay held.
void ReleaseAllKeys();

}  // namespace SDLBackend
}  // namespace PAL
