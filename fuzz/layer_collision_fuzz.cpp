// Layer collision text files: whatever parses must print back to text that parses to the same
// records, and nothing may crash, overrun or allocate from a count alone.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/Quillon_LayerCollisionFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Quillon::LayerCollisionData parsed;
  std::string error;
  if (!Quillon::ParseLayerCollisionText(reinterpret_cast<const char*>(data), size, parsed, error)) {
    if (!parsed.segments.empty() || !parsed.circles.empty() || error.empty()) std::abort();
    return 0;
  }
  std::string text = "Segments " + std::to_string(parsed.segments.size()) + "\n";
  char line[256];
  for (const auto& s : parsed.segments) {
    std::snprintf(line, sizeof line, "%.9g,%.9g,%.9g,%.9g,%u,%u\n", s.a.x, s.a.y, s.b.x, s.b.y,
                  static_cast<unsigned>(s.zCollision), static_cast<unsigned>(s.userId));
    text += line;
  }
  text += "Circles " + std::to_string(parsed.circles.size()) + "\n";
  for (const auto& c : parsed.circles) {
    std::snprintf(line, sizeof line, "%.9g,%.9g,%.9g,%u,%u\n", c.center.x, c.center.y, c.radius,
                  static_cast<unsigned>(c.zCollision), static_cast<unsigned>(c.userId));
    text += line;
  }
  Quillon::LayerCollisionData again;
  if (!Quillon::ParseLayerCollisionText(text.data(), text.size(), again, error)) std::abort();
  if (again.segments.size() != parsed.segments.size() || again.circles.size() != parsed.circles.size()) std::abort();
  for (size_t i = 0; i < parsed.segments.size(); ++i) {
    const auto& a = parsed.segments[i];
    const auto& b = again.segments[i];
    if (a.a != b.a || a.b != b.b || a.zCollision != b.zCollision || a.userId != b.userId) std::abort();
  }
  for (size_t i = 0; i < parsed.circles.size(); ++i) {
    const auto& a = parsed.circles[i];
    const auto& b = again.circles[i];
    if (a.center != b.center || a.radius != b.radius || a.zCollision != b.zCollision || a.userId != b.userId) {
      std::abort();
    }
  }
  return 0;
}
