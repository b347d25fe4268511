#pragma once
// Image helpers under the textures and surfaces: decoding and rescaling (the image backend), the
// power-of-two sizes, the row order and transparent-colour bleed of uploaded pictures, the raw
// surface file and the fallback pattern. Every file read here is treated as hostile.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Renderer {

// Largest picture accepted from any file: 16384 pixels a side and 32 M pixels (128 MiB of RGBA).
constexpr uint32_t kMaxImageSide = 16384;
#ifdef VELKOR_FUZZING
constexpr uint64_t kMaxImagePixels = 1024ull * 1024;  // keeps each fuzzing run quick
#else
constexpr uint64_t kMaxImagePixels = 32ull * 1024 * 1024;
#endif
// Largest file read whole.
constexpr uint64_t kMaxImageFileBytes = 256ull * 1024 * 1024;

// RGBA bytes, four per pixel, top row first (as decoded).
struct Image {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> pixels;
};

bool IsPowerOfTwo(uint32_t x);
// 0 gives 1; a power of two gives its double; with bit 31 set, 0x80000000.
uint32_t NextPowerOfTwo(uint32_t x);
// 0 and 1 give 1; a power of two gives its half.
uint32_t PreviousPowerOfTwo(uint32_t x);
// x when a power of two; else the closer neighbour, a tie going up (3 -> 4, 5 -> 4, 6 -> 8).
uint32_t NearestPowerOfTwo(uint32_t x);

// Whether the upper-cased name ends in ".PNG", ".BMP" or ".JPG".
bool HasImageFileSuffix(const std::string& name);

// Reads a whole file through the path mapping; false with the reason when it cannot.
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);

// PNG, BMP or JPEG bytes to RGBA; false with the reason for anything else, or a picture over the limits.
bool DecodeImage(const uint8_t* data, size_t size, Image& image, std::string& error);
// A new picture of the given size drawn from the whole source, colour and alpha kept right.
bool ResizeImage(const Image& source, uint32_t width, uint32_t height, Image& resized);

// Surface rows from a decoded picture: bottom row first; every fully transparent pixel takes the
// rounded average colour of its visible neighbours (of eight) so filtering does not pull in a
// stray colour at sprite edges; alpha stays 0.
void ToSurfacePixels(const Image& image, std::vector<uint8_t>& pixels);

// The raw surface file: u32 format, width, height, pitch (little-endian), then width x height x 4
// bytes. A header that does not describe the data that follows is refused.
bool ReadRawSurface(const uint8_t* data, size_t size, uint32_t& format, uint32_t& width, uint32_t& height,
                    std::vector<uint8_t>& pixels, std::string& error);

// The 256 x 256 grey pattern that stands in for an unreadable file: (c ^ r, c ^ r, c ^ r, 255).
constexpr uint32_t kFallbackSide = 256;
void MakeFallbackPixels(std::vector<uint8_t>& pixels);

}  // namespace Renderer
