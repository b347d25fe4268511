#include "core/Core_File.h"

#include <memory>

#include "platform/PAL_Path.h"

namespace Core {

bool File::CheckCount(uint64_t count, uint64_t minimumElementSize) {
  if (HasFailed()) return false;
  uint64_t remaining = GetRemaining();
  if (minimumElementSize != 0 && count > remaining / minimumElementSize) {
    Fail();
    return false;
  }
  return true;
}

void File::ClearObjectTable() {
  m_idsByObject.clear();
  m_objectsById.clear();
  m_lastId = 0;
  m_discarded.clear();
}

void File::DiscardCreatedObject(Object* object) {
  if (object != nullptr && object->GetReferenceCount() == 0) m_discarded.emplace_back(object);
}

void File::WriteObject(Object* object) {
  if (object == nullptr) {
    WriteValue<uint8_t>(*this, 0);
    return;
  }
  WriteValue<uint8_t>(*this, 1);
  const std::string className = object->GetClassName();
  auto found = m_idsByObject.find(object);
  if (found != m_idsByObject.end()) {
    *this << className;
    WriteValue<uint32_t>(*this, found->second);
    return;
  }
  const uint32_t id = ++m_lastId;
  // Entered before Save runs, so the object's own data can refer back to it.
  m_idsByObject.emplace(object, id);
  m_objectsById.emplace(id, object);
  *this << className;
  WriteValue<uint32_t>(*this, id);
  object->Save(*this);
}

Object* File::ReadObject() {
  m_lastReadCreated = false;
  if (HasFailed()) return nullptr;
  if (ReadValue<uint8_t>(*this) == 0 || HasFailed()) return nullptr;
  std::string className;
  *this >> className;
  const uint32_t id = ReadValue<uint32_t>(*this);
  if (HasFailed()) return nullptr;
  auto found = m_objectsById.find(id);
  if (found != m_objectsById.end()) return found->second;

  Object* object = CreateObject(className.c_str());
  if (object == nullptr || m_readDepth >= kMaximumObjectDepth) {
    // Nothing tells how long the unknown object's data are: the rest of the stream is unreadable.
    if (object != nullptr) SmartPointer<Object> discard(object);
    Fail();
    return nullptr;
  }
  m_idsByObject.emplace(object, id);
  m_objectsById.emplace(id, object);
  // Held while its data are read: a reference inside them may take the object and drop it again
  // (a child naming its parent, then discarded) before anything else owns it.
  object->AddReference();
  ++m_readDepth;
  object->Load(*this);
  --m_readDepth;
  if (HasFailed()) {
    // A half-read object is never handed out: it goes, with whatever it already holds. The table
    // may name objects freed with it, and no later read may find them.
    ClearObjectTable();
    object->Release();
    return nullptr;
  }
  object->DropReferenceKeepingObject();
  m_lastReadCreated = true;
  return object;
}

File& operator<<(File& file, const std::string& text) {
  WriteValue<uint32_t>(file, static_cast<uint32_t>(text.size()));
  if (!text.empty()) file.Write(text.data(), static_cast<uint32_t>(text.size()));
  return file;
}

File& operator>>(File& file, std::string& text) {
  const uint32_t length = ReadValue<uint32_t>(file);
  if (file.HasFailed()) {
    text.clear();
    return file;
  }
  if (length == 0) return file;
  if (!file.CheckCount(length, 1)) {
    text.clear();
    return file;
  }
  std::string bytes(length, '\0');
  file.Read(bytes.data(), length);
  if (file.HasFailed()) {
    text.clear();
    return file;
  }
  // The text ends at the first zero byte, as a C string would.
  text.assign(bytes.c_str());
  return file;
}

File& operator>>(File& file, Object*& object) {
  object = file.ReadObject();
  return file;
}

File& ReadObjectPointer(File& file, SmartPointer<Object>& pointer) {
  pointer = file.ReadObject();
  return file;
}

MemoryBuffer::MemoryBuffer(const void* data, uint32_t size) { Append(data, size); }

void MemoryBuffer::Append(const void* data, uint32_t count) {
  if (count == 0 || data == nullptr) return;
  const auto* bytes = static_cast<const unsigned char*>(data);
  m_bytes.insert(m_bytes.end(), bytes, bytes + count);
}

bool MemoryBuffer::Take(void* data, uint32_t count) {
  if (count > GetSize() - m_readPosition) return false;
  if (count != 0) std::memcpy(data, m_bytes.data() + m_readPosition, count);
  m_readPosition += count;
  return true;
}

void MemoryBuffer::Clear() {
  m_bytes.clear();
  m_readPosition = 0;
}

MemoryFile::MemoryFile(const void* data, uint32_t size) : m_buffer(data, size) {}

void MemoryFile::Write(const void* data, uint32_t count) { m_buffer.Append(data, count); }

void MemoryFile::Read(void* data, uint32_t count) {
  if (count == 0) return;
  if (HasFailed() || !m_buffer.Take(data, count)) {
    std::memset(data, 0, count);
    Fail();
  }
}

uint64_t MemoryFile::GetRemaining() const { return m_buffer.GetSize() - m_buffer.GetReadPosition(); }

DiskFile::DiskFile(const std::string& path, uint32_t mode) {
  const std::string systemPath = PAL::MapPath(path);
  if (mode == ReadMode) {
    m_stream.open(systemPath, std::ios::in | std::ios::binary);
    if (m_stream.is_open()) {
      m_stream.seekg(0, std::ios::end);
      std::streamoff end = m_stream.tellg();
      m_stream.seekg(0, std::ios::beg);
      m_size = end > 0 ? static_cast<uint64_t>(end) : 0;
    }
  } else if (mode == WriteMode) {
    m_stream.open(systemPath, std::ios::out | std::ios::binary | std::ios::trunc);
    m_writing = true;
  }
  m_open = m_stream.is_open();
}

DiskFile::~DiskFile() { Close(); }

void DiskFile::Write(const void* data, uint32_t count) {
  if (!m_open || !m_writing || count == 0) {
    if (count != 0) Fail();
    return;
  }
  m_stream.write(static_cast<const char*>(data), count);
  if (!m_stream.good()) Fail();
}

void DiskFile::Read(void* data, uint32_t count) {
  if (count == 0) return;
  if (!m_open || m_writing || HasFailed() || count > m_size - m_position) {
    std::memset(data, 0, count);
    Fail();
    return;
  }
  m_stream.read(static_cast<char*>(data), count);
  std::streamsize got = m_stream.gcount();
  if (got != static_cast<std::streamsize>(count)) {
    std::memset(static_cast<char*>(data) + got, 0, count - static_cast<size_t>(got));
    Fail();
  }
  m_position += static_cast<uint64_t>(got);
}

uint64_t DiskFile::GetRemaining() const { return m_writing ? UINT64_MAX : m_size - m_position; }

bool DiskFile::HasFailed() const { return !m_open || File::HasFailed() || !m_stream.good(); }

void DiskFile::Close() {
  if (m_stream.is_open()) {
    m_stream.close();
    if (m_stream.fail()) Fail();
  }
  m_open = false;
  ClearObjectTable();
}

}  // namespace Core
