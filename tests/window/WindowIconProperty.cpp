#include "tests/window/WindowIconProperty.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <thread>

namespace WindowIconProbe {

std::vector<unsigned long> ReadWindowIconProperty(std::uint64_t windowId) {
  std::vector<unsigned long> values;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return values;
  const Atom icon = XInternAtom(display, "_NET_WM_ICON", False);
  // The window's own connection has flushed its request; give the server a moment to apply it.
  for (int attempt = 0; attempt < 50 && values.empty(); ++attempt) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, static_cast<Window>(windowId), icon, 0, 1 << 20, False, XA_CARDINAL, &type,
                           &format, &count, &after, &data) == Success &&
        data != nullptr && format == 32 && count >= 2) {
      // Format-32 properties come back as one long per value.
      const unsigned long* longs = reinterpret_cast<const unsigned long*>(data);
      values.assign(longs, longs + count);
    }
    if (data != nullptr) XFree(data);
    if (values.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  XCloseDisplay(display);
  return values;
}

}  // namespace WindowIconProbe
