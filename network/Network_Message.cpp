#include "network/Network_Message.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace Network {
namespace {

// Past this, a message still incomplete is assembled in a block of its own.
constexpr std::uint32_t kOwnBlockSize = 64 * 1024;

}  // namespace

std::uint8_t* AllocateMessage(std::uint32_t size) { return new std::uint8_t[size == 0 ? 1 : size]; }

void FreeMessage(std::uint8_t* message) { delete[] message; }

void WriteMessage(std::uint8_t* block, std::uint32_t type, const void* data, std::uint32_t size) {
  const std::uint32_t total = size + kMessageHeaderSize;
  std::memcpy(block, &type, 4);
  std::memcpy(block + 4, &total, 4);
  if (size > 0 && data != nullptr) std::memcpy(block + kMessageHeaderSize, data, size);
}

std::uint8_t* FrameMessage(std::uint32_t type, const void* data, std::uint32_t size) {
  if (size > kMaximumMessageSize - kMessageHeaderSize) return nullptr;
  if (size > 0 && data == nullptr) return nullptr;
  std::uint8_t* block = AllocateMessage(size + kMessageHeaderSize);
  WriteMessage(block, type, data, size);
  return block;
}

std::uint32_t ReadMessageType(const std::uint8_t* message) {
  std::uint32_t value = 0;
  std::memcpy(&value, message, 4);
  return value;
}

std::uint32_t ReadMessageLength(const std::uint8_t* message) {
  std::uint32_t value = 0;
  std::memcpy(&value, message + 4, 4);
  return value;
}

bool ParseDatagram(const std::uint8_t* data, std::size_t size, std::uint32_t& type, const std::uint8_t*& payload,
                   std::uint32_t& payloadSize) {
  if (data == nullptr || size < kMessageHeaderSize || size > kMaximumDatagramSize) return false;
  const std::uint32_t total = ReadMessageLength(data);
  if (total != size) return false;
  type = ReadMessageType(data);
  payload = data + kMessageHeaderSize;
  payloadSize = total - kMessageHeaderSize;
  return true;
}

StreamBuffer::~StreamBuffer() { FreeMessage(m_block); }

void StreamBuffer::Clear() {
  FreeMessage(m_block);
  m_block = nullptr;
  m_blockFilled = 0;
  m_data.clear();
  m_data.shrink_to_fit();
  m_expectedLength = 0;
  m_headerSeen = false;
  m_malformed = false;
}

StreamBuffer::Result StreamBuffer::Append(const std::uint8_t* data, std::size_t size,
                                          std::vector<std::uint8_t*>& messages, std::uint32_t maximumSize) {
  if (m_malformed) return Result::Malformed;
  if (maximumSize < kMessageHeaderSize) maximumSize = kMessageHeaderSize;
  if (data == nullptr) size = 0;
  if (m_block != nullptr) {
    const std::size_t take = std::min<std::size_t>(size, m_expectedLength - m_blockFilled);
    if (take > 0) std::memcpy(m_block + m_blockFilled, data, take);
    m_blockFilled += static_cast<std::uint32_t>(take);
    data += take;
    size -= take;
    if (m_blockFilled < m_expectedLength) return Result::Ok;
    messages.push_back(m_block);
    m_block = nullptr;
    m_blockFilled = 0;
    m_headerSeen = false;
    m_expectedLength = 0;
  }
  if (size > 0) m_data.insert(m_data.end(), data, data + size);

  // Messages are cut from a cursor and the rest moved down once, so many small messages in one
  // read cost one move, not one each.
  std::size_t cursor = 0;
  const std::size_t held = m_data.size();
  for (;;) {
    if (!m_headerSeen) {
      if (held - cursor < kMessageHeaderSize) break;
      std::uint32_t total = ReadMessageLength(m_data.data() + cursor);
      if (total < kMessageHeaderSize || total > maximumSize) {
        m_malformed = true;
        m_data.clear();
        m_data.shrink_to_fit();
        return Result::Malformed;
      }
      m_expectedLength = total;
      m_headerSeen = true;
    }
    if (held - cursor < m_expectedLength) break;
    std::uint8_t* message = AllocateMessage(m_expectedLength);
    std::memcpy(message, m_data.data() + cursor, m_expectedLength);
    messages.push_back(message);
    cursor += m_expectedLength;
    m_headerSeen = false;
    m_expectedLength = 0;
  }
  if (m_headerSeen && m_expectedLength > kOwnBlockSize) {
    m_blockFilled = static_cast<std::uint32_t>(held - cursor);
    m_block = AllocateMessage(m_expectedLength);
    std::memcpy(m_block, m_data.data() + cursor, m_blockFilled);
    cursor = held;
  }
  if (cursor > 0) m_data.erase(m_data.begin(), m_data.begin() + static_cast<std::ptrdiff_t>(cursor));
  // A finished large message must not pin its buffer for the rest of the connection.
  if (m_data.empty() && m_data.capacity() > 65536) m_data.shrink_to_fit();
  return Result::Ok;
}

}  // namespace Network
