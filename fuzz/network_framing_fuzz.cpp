// Stream reassembly and the datagram (announcement) check over hostile bytes. The first byte picks
// the reader. Reassembly must not depend on how the stream was cut into reads, and every message it
// produces must be exactly as long as its own header says.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "network/Network_Message.h"

namespace {

// A small limit, so the fuzzer also reaches the refusal of oversized headers.
constexpr std::uint32_t kFuzzMaximum = 4096;

struct Messages {
  std::vector<std::uint8_t*> blocks;
  ~Messages() {
    for (std::uint8_t* block : blocks) Network::FreeMessage(block);
  }
};

void CheckMessages(const Messages& messages) {
  for (const std::uint8_t* block : messages.blocks) {
    std::uint32_t length = Network::ReadMessageLength(block);
    if (length < Network::kMessageHeaderSize || length > kFuzzMaximum) std::abort();
    // Touch every byte: ASan reports a block shorter than its header claims.
    volatile std::uint8_t sum = 0;
    for (std::uint32_t i = 0; i < length; ++i) sum = static_cast<std::uint8_t>(sum + block[i]);
  }
}

void FuzzStream(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return;
  // The first byte seeds the read sizes; the rest is the stream.
  std::uint8_t seed = data[0];
  const std::uint8_t* stream = data + 1;
  const std::size_t length = size - 1;

  Network::StreamBuffer whole;
  Messages wholeMessages;
  Network::StreamBuffer::Result wholeResult = whole.Append(stream, length, wholeMessages.blocks, kFuzzMaximum);
  CheckMessages(wholeMessages);

  Network::StreamBuffer pieces;
  Messages pieceMessages;
  Network::StreamBuffer::Result pieceResult = Network::StreamBuffer::Result::Ok;
  std::size_t offset = 0;
  std::uint32_t state = seed | 1u;
  while (offset < length) {
    state = state * 1103515245u + 12345u;
    std::size_t piece = 1 + (state >> 16) % 23;
    if (piece > length - offset) piece = length - offset;
    pieceResult = pieces.Append(stream + offset, piece, pieceMessages.blocks, kFuzzMaximum);
    offset += piece;
  }
  CheckMessages(pieceMessages);

  if (wholeResult != pieceResult) std::abort();
  if (wholeMessages.blocks.size() != pieceMessages.blocks.size()) std::abort();
  for (std::size_t i = 0; i < wholeMessages.blocks.size(); ++i) {
    std::uint32_t a = Network::ReadMessageLength(wholeMessages.blocks[i]);
    if (a != Network::ReadMessageLength(pieceMessages.blocks[i])) std::abort();
    if (std::memcmp(wholeMessages.blocks[i], pieceMessages.blocks[i], a) != 0) std::abort();
  }
  if (wholeResult == Network::StreamBuffer::Result::Ok && whole.GetPendingBytes() != pieces.GetPendingBytes()) {
    std::abort();
  }
}

void FuzzDatagram(const std::uint8_t* data, std::size_t size) {
  std::uint32_t type = 0;
  const std::uint8_t* payload = nullptr;
  std::uint32_t payloadSize = 0;
  if (!Network::ParseDatagram(data, size, type, payload, payloadSize)) return;
  if (payload < data || payload + payloadSize != data + size) std::abort();
  // A found announcement is copied out the way a listener keeps it.
  std::vector<std::uint8_t> copy(payload, payload + payloadSize);
  if (!copy.empty() && copy.back() != data[size - 1]) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  if ((data[0] & 1) == 0) {
    FuzzStream(data + 1, size - 1);
  } else {
    FuzzDatagram(data + 1, size - 1);
  }
  return 0;
}
