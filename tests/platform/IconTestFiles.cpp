#include "tests/platform/IconTestFiles.h"

#include "tests/support/TestSupport.h"

namespace IconTest {
namespace {
void Put16(std::string& out, uint32_t v) {
  out.push_back(static_cast<char>(v & 255));
  out.push_back(static_cast<char>((v >> 8) & 255));
}
void Put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 255));
}
}  // namespace

std::vector<uint8_t> Solid(uint32_t width, uint32_t height, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
  for (size_t i = 0; i < pixels.size(); i += 4) {
    pixels[i] = r;
    pixels[i + 1] = g;
    pixels[i + 2] = b;
    pixels[i + 3] = a;
  }
  return pixels;
}

std::string EncodeBitmapEntry(uint32_t width, uint32_t height, uint16_t bitCount, const std::vector<uint8_t>& rgba,
                              const std::vector<bool>& transparent) {
  std::string out;
  Put32(out, 40);
  Put32(out, width);
  Put32(out, height * 2);
  Put16(out, 1);
  Put16(out, bitCount);
  for (int i = 0; i < 6; ++i) Put32(out, 0);
  const uint32_t colourStride = (width * bitCount + 31) / 32 * 4;
  const uint32_t maskStride = (width + 31) / 32 * 4;
  for (uint32_t row = 0; row < height; ++row) {
    const uint32_t y = height - 1 - row;
    std::string line;
    for (uint32_t x = 0; x < width; ++x) {
      const uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
      line.push_back(static_cast<char>(p[2]));
      line.push_back(static_cast<char>(p[1]));
      line.push_back(static_cast<char>(p[0]));
      if (bitCount == 32) line.push_back(static_cast<char>(p[3]));
    }
    line.resize(colourStride, '\0');
    out += line;
  }
  for (uint32_t row = 0; row < height; ++row) {
    const uint32_t y = height - 1 - row;
    std::string line(maskStride, '\0');
    for (uint32_t x = 0; x < width; ++x) {
      const size_t i = static_cast<size_t>(y) * width + x;
      if (i < transparent.size() && transparent[i]) line[x / 8] = static_cast<char>(line[x / 8] | (0x80 >> (x % 8)));
    }
    out += line;
  }
  return out;
}

std::string MakeIcon(const std::vector<Entry>& entries) {
  std::string out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(entries.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * entries.size());
  for (const Entry& e : entries) {
    out.push_back(static_cast<char>(e.width >= 256 ? 0 : e.width));
    out.push_back(static_cast<char>(e.height >= 256 ? 0 : e.height));
    out.push_back(0);
    out.push_back(0);
    Put16(out, 1);
    Put16(out, e.bitCount);
    Put32(out, static_cast<uint32_t>(e.bytes.size()));
    Put32(out, offset);
    offset += static_cast<uint32_t>(e.bytes.size());
  }
  for (const Entry& e : entries) out += e.bytes;
  return out;
}

std::string MakePngIcon(const std::vector<uint32_t>& sizes) {
  std::vector<Entry> entries;
  for (uint32_t s : sizes) {
    Entry e;
    e.width = e.height = s;
    e.bytes = TestSupport::EncodePng(s, s, Solid(s, s, static_cast<uint8_t>(s), static_cast<uint8_t>(255 - s),
                                    static_cast<uint8_t>(7 * s), 255));
    entries.push_back(e);
  }
  return MakeIcon(entries);
}

}  // namespace IconTest
