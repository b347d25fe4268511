#pragma once
// Builds icon files for the tests: PNG and bitmap entries of chosen sizes and colours.
#include <cstdint>
#include <string>
#include <vector>

namespace IconTest {

// width x height pixels of one RGBA colour, top row first.
std::vector<uint8_t> Solid(uint32_t width, uint32_t height, uint8_t r, uint8_t g, uint8_t b, uint8_t a);
// An icon bitmap entry (info header, colour rows bottom-up, AND mask bottom-up) of 24 or 32 bits.
// transparent[i] sets pixel i's mask bit; the 32-bit colour keeps each pixel's alpha byte.
std::string EncodeBitmapEntry(uint32_t width, uint32_t height, uint16_t bitCount, const std::vector<uint8_t>& rgba,
                              const std::vector<bool>& transparent);

struct Entry {
  uint32_t width = 0;   // written as 0 for 256
  uint32_t height = 0;
  uint16_t bitCount = 32;
  std::string bytes;
};
// The directory and the images, laid out one after another behind it.
std::string MakeIcon(const std::vector<Entry>& entries);
// A PNG-entry icon with one solid square per size; size s gets colour (s, 255 - s, 7 * s).
std::string MakePngIcon(const std::vector<uint32_t>& sizes);

}  // namespace IconTest
