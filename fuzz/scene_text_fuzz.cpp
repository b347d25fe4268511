// Text measuring and layout with a hostile font, read as the engine reads one: the ".fbf" metrics
// file from byte 0. A font the reader accepts must measure and lay out every text to finite sizes.
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "scene/Engine_BitmapFont.h"
#include "scene/Engine_Text.h"

namespace {

std::string EveryByte() {
  std::string text;
  for (int code = 1; code < 256; ++code) text.push_back(static_cast<char>(code));
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string base = "/tmp/velkor_text_fuzz_" + std::to_string(getpid());
  FILE* file = std::fopen((base + ".fbf").c_str(), "wb");
  if (file == nullptr) return 0;
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);
  Core::SmartPointer<Engine::BitmapFont> font(new Engine::BitmapFont(base));
  if (!font->HasMetrics()) return 0;

  const std::string texts[] = {"Score: 1234", "two\nlines\r\nand\ttabs", std::string(300, 'W'), EveryByte(), " \t\n"};
  for (const std::string& text : texts) {
    float width = 0.0f, height = 0.0f;
    font->MeasureText(text, width, height);
    if (!std::isfinite(width) || !std::isfinite(height)) std::abort();
    Core::SmartPointer<Engine::Text> laidOut(new Engine::Text(text, false));
    laidOut->SetFont(font);
    Math::Vector2D minimum, maximum;
    laidOut->Layout(minimum, maximum);
    if (!std::isfinite(minimum.x) || !std::isfinite(minimum.y) || !std::isfinite(maximum.x) ||
        !std::isfinite(maximum.y))
      std::abort();
  }
  return 0;
}
