// Stream reassembly over hostile bytes, read as a connection delivers them: framed messages from
// byte 0. Reassembly must not depend on how the stream was cut into reads, and every message it
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

void FuzzStream(const std::uint8_t* stream, std::size_t length) {
  // The read sizes follow from the bytes themselves, so the whole input stays the stream.
  std::uint32_t seed = 2166136261u;
  for (std::size_t i = 0; i < length; ++i) seed = (seed ^ stream[i]) * 16777619u;

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzStream(data, size);
  return 0;
}
