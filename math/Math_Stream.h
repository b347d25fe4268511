#pragma once

#include "core/Core_File.h"

// Stream items are raw little-endian values; the engine only targets little-endian hosts.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "math stream forms assume a little-endian host");

namespace Math {
// Every math component travels as its own 4-byte float item.
inline void WriteFloat(Core::File& file, const float& value) { file.Write(&value, sizeof(float)); }
inline void ReadFloat(Core::File& file, float& value) { file.Read(&value, sizeof(float)); }
}  // namespace Math
