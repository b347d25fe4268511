#include "tests/renderer/ImageFiles.h"

namespace TestImages {

namespace {

void PutLittleEndian(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

}  // namespace

std::string EncodeRawSurface(uint32_t format, uint32_t width, uint32_t height, uint32_t pitch,
                             const std::vector<uint8_t>& pixels) {
  std::string out;
  PutLittleEndian(out, format);
  PutLittleEndian(out, width);
  PutLittleEndian(out, height);
  PutLittleEndian(out, pitch);
  out.append(reinterpret_cast<const char*>(pixels.data()), pixels.size());
  return out;
}

std::vector<uint8_t> Solid(uint32_t width, uint32_t height, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  std::vector<uint8_t> pixels;
  pixels.reserve(static_cast<size_t>(width) * height * 4);
  for (uint32_t i = 0; i < width * height; ++i) {
    pixels.push_back(r);
    pixels.push_back(g);
    pixels.push_back(b);
    pixels.push_back(a);
  }
  return pixels;
}

}  // namespace TestImages
