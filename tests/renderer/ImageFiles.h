#pragma once
// Builds small test pictures: raw surface files and solid RGBA pictures (PNG files come from
// TestSupport::EncodePng).
#include <cstdint>
#include <string>
#include <vector>

namespace TestImages {

// The raw surface format: four little-endian words, then the pixel bytes.
std::string EncodeRawSurface(uint32_t format, uint32_t width, uint32_t height, uint32_t pitch,
                             const std::vector<uint8_t>& pixels);
// A width x height picture of one colour.
std::vector<uint8_t> Solid(uint32_t width, uint32_t height, uint8_t r, uint8_t g, uint8_t b, uint8_t a);

}  // namespace TestImages
