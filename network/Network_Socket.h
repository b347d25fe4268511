#pragma once
// The socket calls of the network engine, one operation per call. Implemented by the POSIX backend
// (network/posix/); nothing outside it sees a system socket header.
#include <cstddef>
#include <cstdint>
#include <string>

#include "network/Network_Address.h"

namespace Network {

using SocketHandle = std::intptr_t;
constexpr SocketHandle kInvalidSocket = -1;

// Every system error is told through this one status (see the backend's errno table).
enum class SocketStatus : std::uint8_t {
  Done,
  WouldBlock,    // non-blocking call that has nothing to do yet
  InProgress,    // a non-blocking connect that is under way
  Disconnected,  // the peer closed, aborted or reset the connection
  Refused,       // nobody listens there
  Error,
};

enum SocketType : std::int32_t { kStreamSocket = 1, kDatagramSocket = 2 };

// Option bits of a channel, applied in rising order.
enum SocketOption : std::uint32_t {
  kOptionBroadcast = 1,
  kOptionDebug = 2,
  kOptionDontRoute = 4,
  kOptionKeepAlive = 8,
  kOptionReuseAddress = 16,
  kOptionNoDelay = 32,
  kOptionNonBlocking = 64,
  kOptionNoLinger = 128,
};

enum PollFlag : std::uint16_t { kPollRead = 1, kPollWrite = 2, kPollError = 4 };

struct PollEntry {
  SocketHandle socket = kInvalidSocket;
  std::uint16_t wanted = 0;
  std::uint16_t returned = 0;
};

namespace Socket {

SocketHandle Create(std::int32_t socketType);
void Close(SocketHandle socket);
bool Bind(SocketHandle socket, const SocketAddress& address);
bool GetLocalAddress(SocketHandle socket, SocketAddress& address);
// Applies one option bit (a value of SocketOption); false when the system refuses it.
bool ApplyOption(SocketHandle socket, std::int32_t socketType, std::uint32_t option);
bool SetNonBlocking(SocketHandle socket, bool nonBlocking);
bool IsNonBlocking(SocketHandle socket);
bool Listen(SocketHandle socket, std::int32_t backlog);
bool IsListening(SocketHandle socket);
// kInvalidSocket with the status when nothing could be accepted. With noWait a blocking socket
// answers WouldBlock instead of waiting for a connection.
SocketHandle Accept(SocketHandle socket, SocketAddress& peer, SocketStatus& status, bool noWait = false);
SocketStatus Connect(SocketHandle socket, const SocketAddress& address);
// The outcome of a non-blocking connect once the socket reported writable or failed.
SocketStatus GetConnectResult(SocketHandle socket);
// Byte counts, or -1 with the status. Sends never raise SIGPIPE. With noWait a blocking socket
// answers WouldBlock instead of waiting for room.
std::int64_t Send(SocketHandle socket, const void* data, std::size_t size, SocketStatus& status,
                  bool noWait = false);
// Never waits for room: a datagram the system cannot take now fails with WouldBlock.
std::int64_t SendTo(SocketHandle socket, const void* data, std::size_t size, const SocketAddress& target,
                    SocketStatus& status);
// With noWait a blocking socket answers WouldBlock instead of waiting for bytes.
std::int64_t Receive(SocketHandle socket, void* data, std::size_t size, SocketStatus& status, bool noWait = false);
// With noWait a blocking socket answers WouldBlock instead of waiting for a datagram.
std::int64_t ReceiveFrom(SocketHandle socket, void* data, std::size_t size, SocketAddress& sender,
                         SocketStatus& status, bool noWait = false);
// Bytes waiting to be read (for a datagram socket: the size of the next datagram); 0 on error.
std::size_t GetPendingBytes(SocketHandle socket);
// Waits up to timeoutMs (negative: no limit) for the wanted events; the number of entries with a
// returned event, 0 on time-out, -1 on error.
std::int32_t Poll(PollEntry* entries, std::size_t count, std::int32_t timeoutMs);

// Dotted IPv4 text to a network-order address; false when the text is no dotted address.
bool ParseDotted(const char* text, std::uint32_t& networkOrderAddress);
std::string FormatDotted(std::uint32_t networkOrderAddress);
// The first IPv4 address of a host name; false when it does not resolve.
bool ResolveHost(const char* name, std::uint32_t& networkOrderAddress);
bool GetHostName(std::string& name);
// The first IPv4 interface that is up and not loopback, with its broadcast address (0 when the
// interface has none). False when there is no such interface.
bool GetLocalInterface(std::uint32_t& networkOrderAddress, std::uint32_t& networkOrderBroadcast);

std::uint16_t HostToNetwork16(std::uint16_t value);
std::uint16_t NetworkToHost16(std::uint16_t value);
std::uint32_t HostToNetwork32(std::uint32_t value);
std::uint32_t NetworkToHost32(std::uint32_t value);

// The errno-to-status table, exposed for tests.
SocketStatus StatusFromError(int error);

}  // namespace Socket
}  // namespace Network
