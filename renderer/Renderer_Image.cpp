#include "renderer/Renderer_Image.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/PAL_ByteOrder.h"
#include "platform/PAL_Path.h"

namespace Renderer {

bool IsPowerOfTwo(uint32_t x) { return x != 0 && (x & (x - 1)) == 0; }

namespace {
uint32_t HighestBit(uint32_t x) {
  uint32_t bit = 0x80000000u;
  while ((x & bit) == 0) bit >>= 1;
  return bit;
}
}  // namespace

uint32_t NextPowerOfTwo(uint32_t x) {
  if (x == 0) return 1;
  const uint32_t highest = HighestBit(x);
  return highest == 0x80000000u ? highest : highest << 1;
}

uint32_t PreviousPowerOfTwo(uint32_t x) {
  if (x <= 1) return 1;
  const uint32_t highest = HighestBit(x);
  return highest != x ? highest : x >> 1;
}

uint32_t NearestPowerOfTwo(uint32_t x) {
  if (IsPowerOfTwo(x)) return x;
  const uint32_t previous = PreviousPowerOfTwo(x);
  const uint32_t next = NextPowerOfTwo(x);
  const uint64_t below = x > previous ? x - previous : previous - x;
  const uint64_t above = next > x ? next - x : x - next;
  return below < above ? previous : next;
}

bool HasImageFileSuffix(const std::string& name) {
  if (name.size() < 4) return false;
  std::string suffix = name.substr(name.size() - 4);
  for (char& c : suffix) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return suffix == ".PNG" || suffix == ".BMP" || suffix == ".JPG";
}

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
  bytes.clear();
  if (path.empty()) {
    error = "empty file name";
    return false;
  }
  const std::string mapped = PAL::MapPath(path);
  std::FILE* file = std::fopen(mapped.c_str(), "rb");
  if (!file) {
    error = "cannot open \"" + mapped + "\"";
    return false;
  }
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  const long length = ok ? std::ftell(file) : -1;
  ok = ok && length >= 0 && static_cast<uint64_t>(length) <= kMaxImageFileBytes && std::fseek(file, 0, SEEK_SET) == 0;
  if (ok) {
    bytes.resize(static_cast<size_t>(length));
    ok = length == 0 || std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
  }
  std::fclose(file);
  if (!ok) {
    bytes.clear();
    error = "cannot read \"" + mapped + "\" (unreadable or larger than the limit)";
  }
  return ok;
}

void ToSurfacePixels(const Image& image, std::vector<uint8_t>& pixels) {
  const size_t width = image.width, height = image.height;
  pixels.assign(width * height * 4, 0);
  if (image.pixels.size() < pixels.size()) return;
  const size_t rowBytes = width * 4;
  for (size_t row = 0; row < height; ++row)
    std::memcpy(&pixels[row * rowBytes], &image.pixels[(height - 1 - row) * rowBytes], rowBytes);

  const std::vector<uint8_t> source = pixels;  // bled pixels stay transparent, so order does not matter
  for (size_t row = 0; row < height; ++row) {
    for (size_t column = 0; column < width; ++column) {
      uint8_t* pixel = &pixels[(row * width + column) * 4];
      if (pixel[3] != 0) continue;
      uint32_t sum[3] = {0, 0, 0}, visible = 0;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          if (dx == 0 && dy == 0) continue;
          const long r = static_cast<long>(row) + dy, c = static_cast<long>(column) + dx;
          if (r < 0 || c < 0 || r >= static_cast<long>(height) || c >= static_cast<long>(width)) continue;
          const uint8_t* neighbour = &source[(static_cast<size_t>(r) * width + static_cast<size_t>(c)) * 4];
          if (neighbour[3] == 0) continue;
          for (int k = 0; k < 3; ++k) sum[k] += neighbour[k];
          ++visible;
        }
      }
      if (visible == 0) continue;
      for (int k = 0; k < 3; ++k) pixel[k] = static_cast<uint8_t>((sum[k] + visible / 2) / visible);
    }
  }
}

bool ReadRawSurface(const uint8_t* data, size_t size, uint32_t& format, uint32_t& width, uint32_t& height,
                    std::vector<uint8_t>& pixels, std::string& error) {
  if (data == nullptr || size < 16) {
    error = "raw surface shorter than its header";
    return false;
  }
  const uint32_t fileFormat = PAL::ReadU32LE(data), fileWidth = PAL::ReadU32LE(data + 4), fileHeight = PAL::ReadU32LE(data + 8),
                 pitch = PAL::ReadU32LE(data + 12);
  if (fileWidth == 0 || fileHeight == 0 || fileWidth > kMaxImageSide || fileHeight > kMaxImageSide ||
      static_cast<uint64_t>(fileWidth) * fileHeight > kMaxImagePixels) {
    error = "raw surface size out of range";
    return false;
  }
  if (static_cast<uint64_t>(pitch) != static_cast<uint64_t>(fileWidth) * 4) {
    error = "raw surface pitch does not match its width";
    return false;
  }
  const uint64_t pixelBytes = static_cast<uint64_t>(fileWidth) * fileHeight * 4;
  if (static_cast<uint64_t>(size) - 16 < pixelBytes) {
    error = "raw surface shorter than its pixels";
    return false;
  }
  format = fileFormat;
  width = fileWidth;
  height = fileHeight;
  pixels.assign(data + 16, data + 16 + pixelBytes);
  return true;
}

void MakeFallbackPixels(std::vector<uint8_t>& pixels) {
  pixels.resize(kFallbackSide * kFallbackSide * 4);
  for (uint32_t row = 0; row < kFallbackSide; ++row) {
    for (uint32_t column = 0; column < kFallbackSide; ++column) {
      uint8_t* pixel = &pixels[(row * kFallbackSide + column) * 4];
      const auto grey = static_cast<uint8_t>(column ^ row);
      pixel[0] = pixel[1] = pixel[2] = grey;
      pixel[3] = 255;
    }
  }
}

}  // namespace Renderer
