#include "platform/PAL_Input.h"

namespace PAL {

// The window layer's backend (platform/sdl/).
InputBackend& GetSystemInputBackend();

namespace {
InputBackend* g_installedBackend = nullptr;
}

InputBackend& GetInputBackend() {
  return g_installedBackend != nullptr ? *g_installedBackend : GetSystemInputBackend();
}

void SetInputBackend(InputBackend* backend) { g_installedBackend = backend; }

}  // namespace PAL
