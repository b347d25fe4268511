#pragma once
// Reading the generated Resources tree back: path mapping, PNG decoding and little-endian fields.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace AssetsTest {

// The game writes paths with backslashes under the executable's folder; the tests run in that folder.
inline std::string MapGamePath(const std::string& gamePath) {
  std::string p = "." + gamePath;
  for (char& c : p)
    if (c == '\\') c = '/';
  return p;
}

struct Picture {
  int width = 0, height = 0;
  int bitDepth = 0, colourType = 0, interlace = -1;
  std::vector<uint8_t> rgba;  // top row first
  bool ok = false;
  std::string error;
  const uint8_t* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
  uint8_t Alpha(int x, int y) const { return At(x, y)[3]; }
};

// Decodes a PNG file and keeps the header fields the engine relies on.
Picture LoadPicture(const std::string& path);
Picture DecodePicture(const std::string& bytes);

inline uint32_t U32(const std::string& b, size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}
inline uint16_t U16(const std::string& b, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}
inline int32_t I32(const std::string& b, size_t at) { return static_cast<int32_t>(U32(b, at)); }
inline float F32(const std::string& b, size_t at) {
  uint32_t bits = U32(b, at);
  float f;
  std::memcpy(&f, &bits, 4);
  return f;
}
inline uint32_t BigU32(const std::string& b, size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) << 24 | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 8 | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3]));
}

}  // namespace AssetsTest
