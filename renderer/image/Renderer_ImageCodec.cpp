// The image backend: decoding and rescaling through stb_image. Nothing else includes stb.
#include <stb/stb_image.h>
#include <stb/stb_image_resize.h>

#include <cstring>
#include <limits>

#include "renderer/Renderer_Image.h"

namespace Renderer {

bool DecodeImage(const uint8_t* data, size_t size, Image& image, std::string& error) {
  image = Image();
  if (data == nullptr || size == 0) {
    error = "empty image file";
    return false;
  }
  if (size > static_cast<size_t>(std::numeric_limits<int>::max())) {
    error = "image file too large";
    return false;
  }
  const int length = static_cast<int>(size);
  int width = 0, height = 0, channels = 0;
  // Check the declared size first so a hostile header cannot make the decoder allocate gigabytes.
  if (!stbi_info_from_memory(data, length, &width, &height, &channels)) {
    error = std::string("not a readable image: ") + (stbi_failure_reason() ? stbi_failure_reason() : "unknown");
    return false;
  }
  if (width <= 0 || height <= 0 || static_cast<uint32_t>(width) > kMaxImageSide ||
      static_cast<uint32_t>(height) > kMaxImageSide ||
      static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kMaxImagePixels) {
    error = "image size out of range";
    return false;
  }
  stbi_uc* decoded = stbi_load_from_memory(data, length, &width, &height, &channels, 4);
  if (decoded == nullptr) {
    error = std::string("corrupt image: ") + (stbi_failure_reason() ? stbi_failure_reason() : "unknown");
    return false;
  }
  image.width = static_cast<uint32_t>(width);
  image.height = static_cast<uint32_t>(height);
  image.pixels.assign(decoded, decoded + static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  stbi_image_free(decoded);
  return true;
}

bool ResizeImage(const Image& source, uint32_t width, uint32_t height, Image& resized) {
  resized = Image();
  if (source.width == 0 || source.height == 0 || width == 0 || height == 0 || width > kMaxImageSide ||
      height > kMaxImageSide || source.pixels.size() < static_cast<size_t>(source.width) * source.height * 4)
    return false;
  resized.width = width;
  resized.height = height;
  resized.pixels.resize(static_cast<size_t>(width) * height * 4);
  if (width == source.width && height == source.height) {
    std::memcpy(resized.pixels.data(), source.pixels.data(), resized.pixels.size());
    return true;
  }
  // sRGB-aware, alpha-weighted filtering: transparent pixels do not darken their neighbours.
  if (!stbir_resize_uint8_srgb(source.pixels.data(), static_cast<int>(source.width), static_cast<int>(source.height), 0,
                               resized.pixels.data(), static_cast<int>(width), static_cast<int>(height), 0, 4, 3, 0)) {
    resized = Image();
    return false;
  }
  return true;
}

}  // namespace Renderer
