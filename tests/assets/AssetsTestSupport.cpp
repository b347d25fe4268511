#include "AssetsTestSupport.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

#include "tests/support/TestSupport.h"

namespace AssetsTest {

Picture DecodePicture(const std::string& bytes) {
  Picture p;
  static const char kSignature[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n'};
  if (bytes.size() < 33 || std::memcmp(bytes.data(), kSignature, 8) != 0 || bytes.compare(12, 4, "IHDR") != 0) {
    p.error = "not a PNG";
    return p;
  }
  p.width = static_cast<int>(BigU32(bytes, 16));
  p.height = static_cast<int>(BigU32(bytes, 20));
  p.bitDepth = static_cast<uint8_t>(bytes[24]);
  p.colourType = static_cast<uint8_t>(bytes[25]);
  p.interlace = static_cast<uint8_t>(bytes[28]);
  int w = 0, h = 0, channels = 0;
  stbi_uc* data = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()), static_cast<int>(bytes.size()),
                                        &w, &h, &channels, 4);
  if (data == nullptr) {
    p.error = stbi_failure_reason();
    return p;
  }
  if (w != p.width || h != p.height) {
    p.error = "decoded size differs from the header";
  } else {
    p.rgba.assign(data, data + static_cast<size_t>(w) * h * 4);
    p.ok = true;
  }
  stbi_image_free(data);
  return p;
}

Picture LoadPicture(const std::string& path) {
  std::string bytes = TestSupport::ReadWholeFile(path);
  Picture p = DecodePicture(bytes);
  if (!p.ok) p.error = path + ": " + (bytes.empty() ? std::string("missing or empty") : p.error);
  return p;
}

}  // namespace AssetsTest
