// Framing, stream reassembly, datagram checks, addresses and the error table: the parts of the
// engine that read bytes from the wire.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "network/Network_Address.h"
#include "network/Network_Message.h"
#include "network/Network_Socket.h"

namespace {

using Network::StreamBuffer;

std::string Frame(std::uint32_t type, const std::string& payload) {
  std::uint8_t* block = Network::FrameMessage(type, payload.data(), static_cast<std::uint32_t>(payload.size()));
  std::string bytes(reinterpret_cast<const char*>(block), payload.size() + 8);
  Network::FreeMessage(block);
  return bytes;
}

std::string Header(std::uint32_t type, std::uint32_t total) {
  std::string bytes(8, '\0');
  std::memcpy(&bytes[0], &type, 4);
  std::memcpy(&bytes[4], &total, 4);
  return bytes;
}

struct Cut {
  std::vector<std::uint8_t*> messages;
  ~Cut() {
    for (std::uint8_t* message : messages) Network::FreeMessage(message);
  }
  StreamBuffer::Result Feed(StreamBuffer& stream, const std::string& bytes) {
    return stream.Append(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), messages);
  }
  std::string Payload(std::size_t index) const {
    const std::uint8_t* message = messages[index];
    return std::string(reinterpret_cast<const char*>(message + 8), Network::ReadMessageLength(message) - 8);
  }
};

TEST(NetworkMessage, FrameLaysOutTypeTotalLengthAndPayload) {
  std::string bytes = Frame(0x01020304, "abc");
  ASSERT_EQ(bytes.size(), 11u);
  const std::uint8_t expected[] = {0x04, 0x03, 0x02, 0x01, 11, 0, 0, 0, 'a', 'b', 'c'};
  EXPECT_EQ(0, std::memcmp(bytes.data(), expected, sizeof(expected)));
  // Nothing larger than the maximum is ever framed, and a missing payload is refused.
  EXPECT_EQ(Network::FrameMessage(1, nullptr, 4), nullptr);
  std::vector<char> big(Network::kMaximumMessageSize - 7);
  EXPECT_EQ(Network::FrameMessage(1, big.data(), static_cast<std::uint32_t>(big.size())), nullptr);
  EXPECT_EQ(Network::FrameMessage(1, nullptr, 0xFFFFFFFFu), nullptr);
}

TEST(NetworkMessage, ReassemblesSplitAndBatchedMessages) {
  StreamBuffer stream;
  Cut cut;
  // Two messages in one read come out as two, in order.
  ASSERT_EQ(cut.Feed(stream, Frame(1, "first") + Frame(2, "second")), StreamBuffer::Result::Ok);
  ASSERT_EQ(cut.messages.size(), 2u);
  EXPECT_EQ(cut.Payload(0), "first");
  EXPECT_EQ(cut.Payload(1), "second");
  EXPECT_EQ(Network::ReadMessageType(cut.messages[1]), 2u);

  // A message split over three reads is produced once, after the third.
  std::string third = Frame(3, "split-over-three");
  ASSERT_EQ(cut.Feed(stream, third.substr(0, 5)), StreamBuffer::Result::Ok);
  ASSERT_EQ(cut.Feed(stream, third.substr(5, 6)), StreamBuffer::Result::Ok);
  EXPECT_EQ(cut.messages.size(), 2u);
  EXPECT_EQ(stream.GetExpectedLength(), third.size());
  ASSERT_EQ(cut.Feed(stream, third.substr(11)), StreamBuffer::Result::Ok);
  ASSERT_EQ(cut.messages.size(), 3u);
  EXPECT_EQ(cut.Payload(2), "split-over-three");
  EXPECT_EQ(stream.GetPendingBytes(), 0u);

  // Byte by byte, with the next message's start in the same write as the previous one's end.
  std::string stream2 = Frame(4, "") + Frame(5, "x") + Frame(6, std::string(300, 'q'));
  for (char byte : stream2) ASSERT_EQ(cut.Feed(stream, std::string(1, byte)), StreamBuffer::Result::Ok);
  ASSERT_EQ(cut.messages.size(), 6u);
  // A message of total length 8 has an empty payload.
  EXPECT_EQ(Network::ReadMessageLength(cut.messages[3]), 8u);
  EXPECT_EQ(cut.Payload(3), "");
  EXPECT_EQ(cut.Payload(4), "x");
  EXPECT_EQ(cut.Payload(5), std::string(300, 'q'));

  // A large message over uneven reads, the last of which begins the next message.
  std::string large(200000, '\0');
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i % 251);
  const std::string stream3 = Frame(7, large) + Frame(8, "next");
  for (std::size_t at = 0; at < stream3.size(); at += 70001) ASSERT_EQ(cut.Feed(stream, stream3.substr(at, 70001)), StreamBuffer::Result::Ok);
  ASSERT_EQ(cut.messages.size(), 8u);
  EXPECT_TRUE(cut.Payload(6) == large);
  EXPECT_EQ(cut.Payload(7), "next");
  EXPECT_EQ(stream.GetPendingBytes(), 0u);
}

TEST(NetworkMessage, PartialHeaderWaitsForMoreBytes) {
  StreamBuffer stream;
  Cut cut;
  std::string message = Frame(9, "payload");
  ASSERT_EQ(cut.Feed(stream, message.substr(0, 7)), StreamBuffer::Result::Ok);
  EXPECT_TRUE(cut.messages.empty());
  EXPECT_EQ(stream.GetPendingBytes(), 7u);
  EXPECT_EQ(stream.GetExpectedLength(), 0u);
  ASSERT_EQ(cut.Feed(stream, message.substr(7)), StreamBuffer::Result::Ok);
  ASSERT_EQ(cut.messages.size(), 1u);
  EXPECT_EQ(cut.Payload(0), "payload");
}

TEST(NetworkMessage, HostileLengthsMakeTheStreamMalformedWithoutAllocating) {
  for (std::uint32_t total : {0u, 1u, 7u, Network::kMaximumMessageSize + 1, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
    StreamBuffer stream;
    Cut cut;
    // A sound message first: it is still delivered, the hostile header after it is not.
    EXPECT_EQ(cut.Feed(stream, Frame(1, "ok") + Header(2, total) + "trailing"), StreamBuffer::Result::Malformed)
        << total;
    ASSERT_EQ(cut.messages.size(), 1u);
    EXPECT_EQ(cut.Payload(0), "ok");
    EXPECT_TRUE(stream.IsMalformed());
    EXPECT_EQ(stream.GetPendingBytes(), 0u);
    // Nothing after a broken frame can be trusted.
    EXPECT_EQ(cut.Feed(stream, Frame(3, "later")), StreamBuffer::Result::Malformed);
    EXPECT_EQ(cut.messages.size(), 1u);
  }
  // The exact maximum is accepted, and a smaller caller limit is honoured.
  StreamBuffer stream;
  Cut cut;
  std::string header = Header(1, 64);
  EXPECT_EQ(stream.Append(reinterpret_cast<const std::uint8_t*>(header.data()), 8, cut.messages, 63),
            StreamBuffer::Result::Malformed);
  StreamBuffer atLimit;
  std::string limit = Header(1, Network::kMaximumMessageSize);
  EXPECT_EQ(cut.Feed(atLimit, limit), StreamBuffer::Result::Ok);
  EXPECT_EQ(atLimit.GetExpectedLength(), Network::kMaximumMessageSize);
}

TEST(NetworkMessage, DatagramMustBeExactlyOneMessage) {
  std::string good = Frame(7, "hello");
  std::uint32_t type = 0;
  const std::uint8_t* payload = nullptr;
  std::uint32_t size = 0;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(good.data());
  ASSERT_TRUE(Network::ParseDatagram(bytes, good.size(), type, payload, size));
  EXPECT_EQ(type, 7u);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(payload), size), "hello");
  // Shorter than a header, a length that disagrees with the datagram either way, null data.
  EXPECT_FALSE(Network::ParseDatagram(bytes, 7, type, payload, size));
  EXPECT_FALSE(Network::ParseDatagram(bytes, good.size() - 1, type, payload, size));
  std::string longer = good + "x";
  EXPECT_FALSE(Network::ParseDatagram(reinterpret_cast<const std::uint8_t*>(longer.data()), longer.size(), type,
                                      payload, size));
  EXPECT_FALSE(Network::ParseDatagram(nullptr, 8, type, payload, size));
  std::string empty = Frame(0, "");
  EXPECT_TRUE(Network::ParseDatagram(reinterpret_cast<const std::uint8_t*>(empty.data()), 8, type, payload, size));
  EXPECT_EQ(size, 0u);
}

TEST(NetworkAddress, PortsTextAndEquality) {
  Network::NetAddress announce("127.0.0.1", 3000);
  const auto* raw = reinterpret_cast<const std::uint8_t*>(&announce.GetSocketAddress());
  EXPECT_EQ(announce.GetSocketAddress().family, 2);
  EXPECT_EQ(raw[2], 0x0B);
  EXPECT_EQ(raw[3], 0xB8);
  EXPECT_EQ(raw[4], 127);
  EXPECT_EQ(raw[7], 1);
  EXPECT_EQ(announce.GetPort(), 3000);
  EXPECT_EQ(Network::NetAddress("127.0.0.1", 0).GetPort(), 0);
  EXPECT_EQ(Network::NetAddress("127.0.0.1", -5).GetPort(), 0);
  EXPECT_EQ(Network::NetAddress("127.0.0.1", 70000).GetPort(), 0);
  Network::NetAddress any;
  EXPECT_EQ(any.GetAddress(), 0u);
  EXPECT_TRUE(any.GetText().empty());

  // Equal port and address compare equal whatever their text says.
  Network::NetAddress copy = announce;
  Network::NetAddress other("127.0.0.1", 3000);
  other.UpdateText();
  EXPECT_EQ(other.GetText(), "127.0.0.1");
  EXPECT_TRUE(copy == other);
  EXPECT_FALSE(Network::NetAddress("127.0.0.1", 3001) == announce);
  EXPECT_FALSE(Network::NetAddress("127.0.0.2", 3000) == announce);
  // 255.255.255.255 is a real address, not a parse failure.
  EXPECT_EQ(Network::NetAddress("255.255.255.255", 1).GetAddress(), 0xFFFFFFFFu);
  // A host name goes through resolution and keeps its text.
  Network::NetAddress local("localhost", 80);
  EXPECT_EQ(local.GetText(), "localhost");
  EXPECT_EQ(local.GetAddress(), Network::NetAddress("127.0.0.1", 80).GetAddress());
}

TEST(NetworkAddress, BroadcastScopes) {
  std::uint32_t own = Network::NetAddress("192.168.1.23", 0).GetAddress();
  auto text = [](std::uint32_t address) { return Network::Socket::FormatDotted(address); };
  EXPECT_EQ(text(Network::MakeBroadcastAddress(own, 1)), "192.168.1.255");
  EXPECT_EQ(text(Network::MakeBroadcastAddress(own, 2)), "192.168.255.255");
  EXPECT_EQ(text(Network::MakeBroadcastAddress(own, 3)), "192.255.255.255");
  EXPECT_EQ(text(Network::MakeBroadcastAddress(own, 0)), "255.255.255.255");
  EXPECT_EQ(text(Network::MakeBroadcastAddress(own, 9)), "255.255.255.255");
}

TEST(NetworkSocket, ErrorTableAndGuards) {
  using Network::SocketStatus;
  using Network::Socket::StatusFromError;
  EXPECT_EQ(StatusFromError(EAGAIN), SocketStatus::WouldBlock);
  EXPECT_EQ(StatusFromError(EINPROGRESS), SocketStatus::InProgress);
  EXPECT_EQ(StatusFromError(ECONNRESET), SocketStatus::Disconnected);
  EXPECT_EQ(StatusFromError(EPIPE), SocketStatus::Disconnected);
  EXPECT_EQ(StatusFromError(ECONNREFUSED), SocketStatus::Refused);
  EXPECT_EQ(StatusFromError(EBADF), SocketStatus::Error);
  SocketStatus status = SocketStatus::Done;
  char byte = 0;
  EXPECT_EQ(Network::Socket::Send(Network::kInvalidSocket, &byte, 1, status), -1);
  EXPECT_EQ(Network::Socket::Receive(Network::kInvalidSocket, &byte, 1, status), -1);

  Network::SocketHandle socket = Network::Socket::Create(Network::kDatagramSocket);
  ASSERT_NE(socket, Network::kInvalidSocket);
  // Null buffers and empty lengths never reach the system.
  EXPECT_EQ(Network::Socket::Send(socket, nullptr, 4, status), -1);
  EXPECT_EQ(Network::Socket::Receive(socket, &byte, 0, status), -1);
  Network::Socket::Close(socket);
}

}  // namespace
