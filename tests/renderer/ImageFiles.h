#pragma once
// Writes small test pictures as real PNG files (stored, uncompressed deflate) and raw surfaces.
#include <cstdint>
#include <string>
#include <vector>

namespace TestImages {

// RGBA bytes, top row first, to PNG file bytes.
std::string EncodePng(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgba);
// The raw surface format: four little-endian words, then the pixel bytes.
std::string EncodeRawSurface(uint32_t format, uint32_t width, uint32_t height, uint32_t pitch,
                             const std::vector<uint8_t>& pixels);
// A width x height picture of one colour.
std::vector<uint8_t> Solid(uint32_t width, uint32_t height, uint8_t r, uint8_t g, uint8_t b, uint8_t a);

}  // namespace TestImages
