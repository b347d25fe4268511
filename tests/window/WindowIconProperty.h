#pragma once
// Reading a window's properties back from the X server (kept apart: Xlib's macros clash with engine names).
#include <cstdint>
#include <vector>

namespace WindowIconProbe {

// The window's _NET_WM_ICON: width, height, then width x height ARGB words; empty when unset or
// when no display opens.
std::vector<unsigned long> ReadWindowIconProperty(std::uint64_t windowId);

}  // namespace WindowIconProbe
