#pragma once
// Byte streams through which objects save and load themselves: raw little-endian values, strings as
// a u32 length and bytes, and object references that carry their class name and a per-stream id.
// A reader treats its bytes as hostile: any length or count that the stream cannot hold marks the
// stream failed, and every later read yields zeros and empty values.
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "core/Core_Object.h"

namespace Core {

class File {
 public:
  File() = default;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  virtual ~File() = default;

  virtual void Write(const void* data, uint32_t count) = 0;
  // Fills data with count bytes; on a short read the stream fails and data is zero-filled.
  virtual void Read(void* data, uint32_t count) = 0;
  virtual void WriteObject(Object* object);
  // The object read (owned by the caller, no references taken), or null for a null reference or a
  // failure (an unknown class name fails the stream: its data cannot be skipped). An object whose
  // data the stream could not hold whole is released, never handed out.
  virtual Object* ReadObject();

  // True when the last ReadObject created its object rather than finding it in the table.
  bool LastReadCreatedObject() const { return m_lastReadCreated; }
  // Drops an object this stream created that no reader took, where the stream reads on. The
  // table may name it again, or objects it holds, so it lives on, out of the readers' reach, until
  // the table is cleared or the stream goes: freed now, a later reference would dangle.
  void DiscardCreatedObject(Object* object);

  virtual bool HasFailed() const { return m_failed; }
  void Fail() { m_failed = true; }
  // Bytes a reader can still take; UINT64_MAX when the stream cannot tell.
  virtual uint64_t GetRemaining() const { return UINT64_MAX; }
  // Checks a count read from the stream against what it still holds (each element at least
  // minimumElementSize bytes); fails the stream and answers false when it cannot be right.
  bool CheckCount(uint64_t count, uint64_t minimumElementSize);

  // Deepest nesting of object references a reader follows before it gives up.
  static constexpr uint32_t kMaximumObjectDepth = 256;

 protected:
  void ClearObjectTable();

 private:
  std::unordered_map<const Object*, uint32_t> m_idsByObject;
  std::unordered_map<uint32_t, Object*> m_objectsById;
  std::vector<SmartPointer<Object>> m_discarded;
  uint32_t m_lastId = 0;
  uint32_t m_readDepth = 0;
  bool m_failed = false;
  bool m_lastReadCreated = false;
};

// Raw values: the value's own bytes.
template <typename T>
inline void WriteValue(File& file, const T& value) {
  static_assert(std::is_trivially_copyable<T>::value, "raw values only");
  file.Write(&value, sizeof(T));
}
template <typename T>
inline T ReadValue(File& file) {
  static_assert(std::is_trivially_copyable<T>::value, "raw values only");
  T value;
  file.Read(&value, sizeof(T));
  return value;
}
template <typename T>
inline void ReadValue(File& file, T& value) {
  value = ReadValue<T>(file);
}

File& operator<<(File& file, const std::string& text);
// A length of 0 leaves the target as it was; a length the stream cannot hold fails it and empties
// the target.
File& operator>>(File& file, std::string& text);
File& operator>>(File& file, Object*& object);

// Reads a reference whose slot takes only objects of class T; null for a null reference or a
// failure. Another class is a hostile or corrupt stream, which stops reading here. Only an object
// this very read created, and that nothing holds, is freed: a repeated id can name one that is
// still being loaded further up.
template <typename T>
T* ReadTypedObject(File& file) {
  Object* object = file.ReadObject();
  T* typed = dynamic_cast<T*>(object);
  if (object != nullptr && typed == nullptr) {
    file.Fail();
    if (file.LastReadCreatedObject() && object->GetReferenceCount() == 0) SmartPointer<Object> discard(object);
  }
  return typed;
}

File& ReadObjectPointer(File& file, SmartPointer<Object>& pointer);
template <typename T>
File& ReadObjectPointer(File& file, SmartPointer<T>& pointer) {
  pointer = ReadTypedObject<T>(file);
  return file;
}

template <typename T>
File& ReadObjectVector(File& file, std::vector<SmartPointer<T>>& objects) {
  uint32_t count = ReadValue<uint32_t>(file);
  if (!file.CheckCount(count, 1)) count = 0;
  objects.resize(count);
  for (uint32_t i = 0; i < count; ++i) ReadObjectPointer(file, objects[i]);
  return file;
}

template <typename T>
File& WriteObjectVector(File& file, const std::vector<SmartPointer<T>>& objects) {
  WriteValue<uint32_t>(file, static_cast<uint32_t>(objects.size()));
  for (const auto& object : objects) file.WriteObject(object.Get());
  return file;
}

// A growing byte array with a read position.
class MemoryBuffer {
 public:
  MemoryBuffer() = default;
  MemoryBuffer(const void* data, uint32_t size);

  uint32_t GetSize() const { return static_cast<uint32_t>(m_bytes.size()); }
  const unsigned char* GetData() const { return m_bytes.data(); }
  uint32_t GetReadPosition() const { return m_readPosition; }
  void SetReadPosition(uint32_t position) { m_readPosition = position > GetSize() ? GetSize() : position; }

  void Append(const void* data, uint32_t count);
  // Copies count bytes from the read position; false (nothing read) when fewer are held.
  bool Take(void* data, uint32_t count);
  void Clear();

 private:
  std::vector<unsigned char> m_bytes;
  uint32_t m_readPosition = 0;
};

class MemoryFile : public File {
 public:
  MemoryFile() = default;
  MemoryFile(const void* data, uint32_t size);

  void Write(const void* data, uint32_t count) override;
  void Read(void* data, uint32_t count) override;
  uint64_t GetRemaining() const override;

  MemoryBuffer& GetBuffer() { return m_buffer; }
  const MemoryBuffer& GetBuffer() const { return m_buffer; }

 private:
  MemoryBuffer m_buffer;
};

class DiskFile : public File {
 public:
  enum Mode : uint32_t { ReadMode = 0, WriteMode = 1 };

  // The path may use the system's backslashes; mode 0 reads, 1 writes (truncating), others open nothing.
  DiskFile(const std::string& path, uint32_t mode);
  ~DiskFile() override;

  void Write(const void* data, uint32_t count) override;
  void Read(void* data, uint32_t count) override;
  uint64_t GetRemaining() const override;
  // True when the file is not open, or a read, write or check has failed.
  bool HasFailed() const override;
  // Closes the file and empties the object table (ids start again at 1).
  void Close();

 private:
  std::fstream m_stream;
  uint64_t m_size = 0;
  uint64_t m_position = 0;
  bool m_open = false;
  bool m_writing = false;
};

}  // namespace Core
