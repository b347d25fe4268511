// The datagram (announcement) check over hostile bytes, read as a socket delivers one datagram:
// the message header from byte 0. What it accepts must be a view of exactly the rest of the bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "network/Network_Message.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::uint32_t type = 0;
  const std::uint8_t* payload = nullptr;
  std::uint32_t payloadSize = 0;
  if (!Network::ParseDatagram(data, size, type, payload, payloadSize)) return 0;
  if (payload < data || payload + payloadSize != data + size) std::abort();
  if (Network::ReadMessageLength(data) != size || Network::ReadMessageType(data) != type) std::abort();
  // A found announcement is copied out the way a listener keeps it.
  std::vector<std::uint8_t> copy(payload, payload + payloadSize);
  if (!copy.empty() && copy.back() != data[size - 1]) std::abort();
  return 0;
}
