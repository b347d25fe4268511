#pragma once
// Byte-level helpers for the stream forms of the collision records.
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/Core_File.h"

namespace CollisionTest {

inline std::vector<unsigned char> BytesOf(const Core::MemoryFile& file) {
  const auto& buffer = file.GetBuffer();
  return std::vector<unsigned char>(buffer.GetData(), buffer.GetData() + buffer.GetSize());
}

template <typename Record>
std::vector<unsigned char> Saved(const Record& record) {
  Core::MemoryFile file;
  record.Write(file);
  return BytesOf(file);
}

// The same for the objects that store themselves with Save rather than Write.
template <typename Object>
std::vector<unsigned char> Stored(const Object& object) {
  Core::MemoryFile file;
  object.Save(file);
  return BytesOf(file);
}

// A stream built word by word, for hand-made (and hostile) inputs.
class StreamBuilder {
 public:
  StreamBuilder& U32(uint32_t value) { return Raw(&value, 4); }
  StreamBuilder& I32(int32_t value) { return Raw(&value, 4); }
  StreamBuilder& F32(float value) { return Raw(&value, 4); }
  StreamBuilder& U8(uint8_t value) { return Raw(&value, 1); }
  StreamBuilder& Zeros(size_t count) {
    bytes_.insert(bytes_.end(), count, 0);
    return *this;
  }
  StreamBuilder& Raw(const void* data, size_t count) {
    const auto* begin = static_cast<const unsigned char*>(data);
    bytes_.insert(bytes_.end(), begin, begin + count);
    return *this;
  }
  StreamBuilder& Bytes(const std::vector<unsigned char>& more) {
    bytes_.insert(bytes_.end(), more.begin(), more.end());
    return *this;
  }
  Core::MemoryFile File() const { return Core::MemoryFile(bytes_.data(), static_cast<uint32_t>(bytes_.size())); }
  const std::vector<unsigned char>& Get() const { return bytes_; }

 private:
  std::vector<unsigned char> bytes_;
};

inline uint32_t WordAt(const std::vector<unsigned char>& bytes, size_t offset) {
  uint32_t value = 0;
  std::memcpy(&value, bytes.data() + offset, 4);
  return value;
}

}  // namespace CollisionTest
