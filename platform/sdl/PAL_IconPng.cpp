// PNG icon entries, decoded with the same PNG reader the renderer uses.
#include <stb/stb_image.h>

#include <limits>

#include "platform/PAL_IconFile.h"

namespace PAL {

bool DecodeIconPng(const std::uint8_t* data, std::size_t size, IconImage& image, std::string& error) {
  image = IconImage();
  if (data == nullptr || size == 0 || size > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    error = "icon PNG size out of range";
    return false;
  }
  const int length = static_cast<int>(size);
  int width = 0;
  int height = 0;
  int channels = 0;
  // The declared size is checked before the decoder may allocate for it.
  if (!stbi_info_from_memory(data, length, &width, &height, &channels)) {
    error = std::string("icon PNG unreadable: ") + (stbi_failure_reason() ? stbi_failure_reason() : "unknown");
    return false;
  }
  if (width <= 0 || height <= 0 || static_cast<std::uint32_t>(width) > kMaxIconSide ||
      static_cast<std::uint32_t>(height) > kMaxIconSide) {
    error = "icon PNG size out of range";
    return false;
  }
  stbi_uc* pixels = stbi_load_from_memory(data, length, &width, &height, &channels, 4);
  if (pixels == nullptr) {
    error = std::string("icon PNG corrupt: ") + (stbi_failure_reason() ? stbi_failure_reason() : "unknown");
    return false;
  }
  image.width = static_cast<std::uint32_t>(width);
  image.height = static_cast<std::uint32_t>(height);
  image.rgba.assign(pixels, pixels + static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  stbi_image_free(pixels);
  return true;
}

}  // namespace PAL
