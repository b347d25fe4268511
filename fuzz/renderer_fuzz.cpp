// Image files and raw surface files are read from disk as they come: every byte is hostile.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "renderer/Renderer_Image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  Renderer::Image image;
  if (Renderer::DecodeImage(data, size, image, error)) {
    std::vector<uint8_t> pixels;
    Renderer::ToSurfacePixels(image, pixels);
    if (static_cast<uint64_t>(image.width) * image.height <= 65536) {
      Renderer::Image resized;
      Renderer::ResizeImage(image, Renderer::NearestPowerOfTwo(image.width), Renderer::NearestPowerOfTwo(image.height),
                            resized);
    }
  }
  uint32_t format = 0, width = 0, height = 0;
  std::vector<uint8_t> raw;
  if (Renderer::ReadRawSurface(data, size, format, width, height, raw, error)) {
    if (raw.size() != static_cast<size_t>(width) * height * 4) __builtin_trap();
  }
  return 0;
}
