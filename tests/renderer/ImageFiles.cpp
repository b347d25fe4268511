#include "tests/renderer/ImageFiles.h"

#include <algorithm>

namespace TestImages {

namespace {

uint32_t Crc32(const std::string& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char byte : bytes) {
    crc ^= byte;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return crc ^ 0xFFFFFFFFu;
}

void PutBigEndian(std::string& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void PutLittleEndian(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
  PutBigEndian(out, static_cast<uint32_t>(data.size()));
  std::string typed = std::string(type, 4) + data;
  out += typed;
  PutBigEndian(out, Crc32(typed));
}

}  // namespace

std::string EncodePng(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgba) {
  std::string raw;
  for (uint32_t row = 0; row < height; ++row) {
    raw.push_back('\0');  // filter: none
    raw.append(reinterpret_cast<const char*>(&rgba[static_cast<size_t>(row) * width * 4]), width * 4);
  }
  std::string zlib = "\x78\x01";
  uint32_t a = 1, b = 0;
  for (unsigned char byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  size_t offset = 0;
  do {
    const size_t length = std::min<size_t>(65535, raw.size() - offset);
    zlib.push_back(offset + length == raw.size() ? '\x01' : '\x00');
    zlib.push_back(static_cast<char>(length & 0xFF));
    zlib.push_back(static_cast<char>(length >> 8));
    zlib.push_back(static_cast<char>(~length & 0xFF));
    zlib.push_back(static_cast<char>((~length >> 8) & 0xFF));
    zlib.append(raw, offset, length);
    offset += length;
  } while (offset < raw.size());
  PutBigEndian(zlib, (b << 16) | a);

  std::string png = "\x89PNG\r\n\x1a\n";
  std::string header;
  PutBigEndian(header, width);
  PutBigEndian(header, height);
  header += std::string("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", zlib);
  PutChunk(png, "IEND", "");
  return png;
}

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
