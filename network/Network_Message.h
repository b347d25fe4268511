#pragma once
// The wire form of a message (u32 type, u32 total length with the 8-byte header, payload; machine
// order) and the reassembly of a byte stream into messages. Every length read here comes from the
// wire and is checked before anything is allocated for it.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Network {

constexpr std::uint32_t kMessageHeaderSize = 8;
// The largest message either side accepts; a header announcing more closes the connection.
constexpr std::uint32_t kMaximumMessageSize = 16u * 1024u * 1024u;
// The largest datagram a socket can deliver.
constexpr std::uint32_t kMaximumDatagramSize = 65536;

// Message blocks are plain heap blocks: whoever ends up owning one frees it with FreeMessage.
std::uint8_t* AllocateMessage(std::uint32_t size);
void FreeMessage(std::uint8_t* message);

// A new block of size + 8 bytes: type, size + 8, then the data. Null when the message would exceed
// kMaximumMessageSize.
std::uint8_t* FrameMessage(std::uint32_t type, const void* data, std::uint32_t size);
// Writes the header and the data into a caller's block of at least size + 8 bytes.
void WriteMessage(std::uint8_t* block, std::uint32_t type, const void* data, std::uint32_t size);

std::uint32_t ReadMessageType(const std::uint8_t* message);
std::uint32_t ReadMessageLength(const std::uint8_t* message);

// Checks one datagram as a whole message: at least a header, and a total length that is exactly the
// datagram's size. Fills the type and the payload view when it is sound.
bool ParseDatagram(const std::uint8_t* data, std::size_t size, std::uint32_t& type, const std::uint8_t*& payload,
                   std::uint32_t& payloadSize);

// The reassembly state of one stream connection.
class StreamBuffer {
 public:
  enum class Result : std::uint8_t { Ok, Malformed };

  StreamBuffer() = default;
  ~StreamBuffer();
  StreamBuffer(const StreamBuffer&) = delete;
  StreamBuffer& operator=(const StreamBuffer&) = delete;

  // Takes the next bytes of the stream and appends every message they complete to messages (new
  // blocks, owned by the caller). A header whose length is below 8 or above maximumSize makes the
  // stream Malformed: nothing after it can be framed again, and every later call fails too.
  Result Append(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t*>& messages,
                std::uint32_t maximumSize = kMaximumMessageSize);

  // Bytes held that do not yet form a whole message.
  std::size_t GetPendingBytes() const { return m_data.size() + m_blockFilled; }
  // The total length of the message being assembled, 0 while its header is incomplete.
  std::uint32_t GetExpectedLength() const { return m_headerSeen ? m_expectedLength : 0; }
  bool IsMalformed() const { return m_malformed; }
  void Clear();

 private:
  std::vector<std::uint8_t> m_data;
  // A large message is assembled in its own block as its bytes come: each read costs a copy of
  // what it brought, never one of the whole message, so one peer's large message holds up the
  // reading of the others no longer than its smallest.
  std::uint8_t* m_block = nullptr;
  std::uint32_t m_blockFilled = 0;
  std::uint32_t m_expectedLength = 0;
  bool m_headerSeen = false;
  bool m_malformed = false;
};

}  // namespace Network
