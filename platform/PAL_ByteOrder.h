#pragma once
// Little-endian values read from file bytes, whatever the machine's own order: fonts, images,
// icons and sounds store theirs this way. The caller has checked that the bytes are there.
#include <cstdint>
#include <cstring>

namespace PAL {

inline std::uint16_t ReadU16LE(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

inline std::uint32_t ReadU32LE(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

inline std::int32_t ReadI32LE(const std::uint8_t* p) { return static_cast<std::int32_t>(ReadU32LE(p)); }

inline float ReadF32LE(const std::uint8_t* p) {
  const std::uint32_t bits = ReadU32LE(p);
  float value;
  std::memcpy(&value, &bits, sizeof(value));
  return value;
}

}  // namespace PAL
