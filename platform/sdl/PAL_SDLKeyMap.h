#pragma once
// The one fixed table from SDL scancodes (USB usage numbers) to the virtual-key codes the engine
// keeps its key state in. No SDL header here, so tests can check the table directly.
#include <cstdint>

namespace PAL {

// 0 for a scancode that no virtual key stands for (or outside SDL's range).
std::uint8_t MapScancodeToVirtualKey(std::int32_t scancode);

}  // namespace PAL
