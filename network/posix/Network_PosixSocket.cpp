// The socket calls over POSIX sockets. The only file of the engine that includes socket headers.
#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <strings.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "network/Network_Socket.h"

namespace Network {
namespace Socket {
namespace {

static_assert(sizeof(sockaddr_in) == sizeof(SocketAddress), "the address record mirrors sockaddr_in");

sockaddr_in ToSystem(const SocketAddress& address) {
  sockaddr_in result{};
  result.sin_family = AF_INET;
  result.sin_port = address.port;
  result.sin_addr.s_addr = address.address;
  return result;
}

SocketAddress FromSystem(const sockaddr_in& address) {
  SocketAddress result;
  result.family = AF_INET;
  result.port = address.sin_port;
  result.address = address.sin_addr.s_addr;
  return result;
}

int Native(SocketHandle socket) { return static_cast<int>(socket); }

bool SetIntOption(SocketHandle socket, int level, int name, int value) {
  return setsockopt(Native(socket), level, name, &value, sizeof(value)) == 0;
}

}  // namespace

SocketStatus StatusFromError(int error) {
  switch (error) {
    case 0:
      return SocketStatus::Done;
    case EAGAIN:
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
    case EINTR:
      return SocketStatus::WouldBlock;
    case EINPROGRESS:
    case EALREADY:
      return SocketStatus::InProgress;
    case ECONNRESET:
    case ECONNABORTED:
    case EPIPE:
    case ENOTCONN:
    case ESHUTDOWN:
    case ETIMEDOUT:
    case ENETRESET:
    case EHOSTUNREACH:
    case ENETUNREACH:
      return SocketStatus::Disconnected;
    case ECONNREFUSED:
      return SocketStatus::Refused;
    default:
      return SocketStatus::Error;
  }
}

SocketHandle Create(std::int32_t socketType) {
  int type = socketType == kStreamSocket ? SOCK_STREAM : socketType == kDatagramSocket ? SOCK_DGRAM : -1;
  if (type < 0) return kInvalidSocket;
  // Close-on-exec: a child process must not keep a session's port open.
  int socket = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
  return socket < 0 ? kInvalidSocket : static_cast<SocketHandle>(socket);
}

void Close(SocketHandle socket) {
  if (socket != kInvalidSocket) ::close(Native(socket));
}

bool Bind(SocketHandle socket, const SocketAddress& address) {
  if (socket == kInvalidSocket) return false;
  sockaddr_in system = ToSystem(address);
  return ::bind(Native(socket), reinterpret_cast<const sockaddr*>(&system), sizeof(system)) == 0;
}

bool GetLocalAddress(SocketHandle socket, SocketAddress& address) {
  if (socket == kInvalidSocket) return false;
  sockaddr_in system{};
  socklen_t length = sizeof(system);
  if (getsockname(Native(socket), reinterpret_cast<sockaddr*>(&system), &length) != 0) return false;
  address = FromSystem(system);
  return true;
}

bool ApplyOption(SocketHandle socket, std::int32_t socketType, std::uint32_t option) {
  if (socket == kInvalidSocket) return false;
  switch (option) {
    case kOptionBroadcast:
      return SetIntOption(socket, SOL_SOCKET, SO_BROADCAST, 1);
    case kOptionDebug:
      // Needs privileges on Linux and only feeds kernel tracing: a refusal is no failure.
      SetIntOption(socket, SOL_SOCKET, SO_DEBUG, 1);
      return true;
    case kOptionDontRoute:
      return SetIntOption(socket, SOL_SOCKET, SO_DONTROUTE, 1);
    case kOptionKeepAlive:
      return SetIntOption(socket, SOL_SOCKET, SO_KEEPALIVE, 1);
    case kOptionReuseAddress:
      return SetIntOption(socket, SOL_SOCKET, SO_REUSEADDR, 1);
    case kOptionNoDelay:
      if (socketType != kStreamSocket) return true;
      return SetIntOption(socket, IPPROTO_TCP, TCP_NODELAY, 1);
    case kOptionNonBlocking:
      return SetNonBlocking(socket, true);
    case kOptionNoLinger: {
      if (socketType != kStreamSocket) return true;
      linger value{};
      value.l_onoff = 0;
      return setsockopt(Native(socket), SOL_SOCKET, SO_LINGER, &value, sizeof(value)) == 0;
    }
    default:
      return false;
  }
}

bool SetNonBlocking(SocketHandle socket, bool nonBlocking) {
  if (socket == kInvalidSocket) return false;
  int flags = fcntl(Native(socket), F_GETFL, 0);
  if (flags < 0) return false;
  flags = nonBlocking ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
  return fcntl(Native(socket), F_SETFL, flags) == 0;
}

bool IsNonBlocking(SocketHandle socket) {
  if (socket == kInvalidSocket) return false;
  int flags = fcntl(Native(socket), F_GETFL, 0);
  return flags >= 0 && (flags & O_NONBLOCK) != 0;
}

bool Listen(SocketHandle socket, std::int32_t backlog) {
  if (socket == kInvalidSocket) return false;
  return ::listen(Native(socket), backlog > 0 ? backlog : SOMAXCONN) == 0;
}

bool IsListening(SocketHandle socket) {
  if (socket == kInvalidSocket) return false;
  int value = 0;
  socklen_t length = sizeof(value);
  if (getsockopt(Native(socket), SOL_SOCKET, SO_ACCEPTCONN, &value, &length) != 0) return false;
  return value != 0;
}

SocketHandle Accept(SocketHandle socket, SocketAddress& peer, SocketStatus& status, bool noWait) {
  status = SocketStatus::Error;
  if (socket == kInvalidSocket) return kInvalidSocket;
  sockaddr_in system{};
  socklen_t length = sizeof(system);
  // accept has no per-call no-wait flag: the listening socket is made non-blocking for the call
  // (a poll first would still block when the peer resets in between).
  const int flags = noWait ? fcntl(Native(socket), F_GETFL, 0) : 0;
  const bool switched = noWait && flags >= 0 && (flags & O_NONBLOCK) == 0 &&
                        fcntl(Native(socket), F_SETFL, flags | O_NONBLOCK) == 0;
  if (noWait && flags >= 0 && (flags & O_NONBLOCK) == 0 && !switched) return kInvalidSocket;
  int accepted = accept4(Native(socket), reinterpret_cast<sockaddr*>(&system), &length, SOCK_CLOEXEC);
  const int error = errno;
  if (switched) fcntl(Native(socket), F_SETFL, flags);
  if (accepted < 0) {
    status = StatusFromError(error);
    return kInvalidSocket;
  }
  peer = FromSystem(system);
  status = SocketStatus::Done;
  return static_cast<SocketHandle>(accepted);
}

SocketStatus Connect(SocketHandle socket, const SocketAddress& address) {
  if (socket == kInvalidSocket) return SocketStatus::Error;
  sockaddr_in system = ToSystem(address);
  if (::connect(Native(socket), reinterpret_cast<const sockaddr*>(&system), sizeof(system)) == 0) {
    return SocketStatus::Done;
  }
  return StatusFromError(errno);
}

SocketStatus GetConnectResult(SocketHandle socket) {
  if (socket == kInvalidSocket) return SocketStatus::Error;
  int error = 0;
  socklen_t length = sizeof(error);
  if (getsockopt(Native(socket), SOL_SOCKET, SO_ERROR, &error, &length) != 0) return StatusFromError(errno);
  return StatusFromError(error);
}

std::int64_t Send(SocketHandle socket, const void* data, std::size_t size, SocketStatus& status, bool noWait) {
  status = SocketStatus::Error;
  if (socket == kInvalidSocket || data == nullptr || size < 1) return -1;
  ssize_t sent = ::send(Native(socket), data, size, MSG_NOSIGNAL | (noWait ? MSG_DONTWAIT : 0));
  if (sent < 0) {
    status = StatusFromError(errno);
    return -1;
  }
  status = SocketStatus::Done;
  return sent;
}

std::int64_t SendTo(SocketHandle socket, const void* data, std::size_t size, const SocketAddress& target,
                    SocketStatus& status) {
  status = SocketStatus::Error;
  if (socket == kInvalidSocket || data == nullptr) return -1;
  sockaddr_in system = ToSystem(target);
  // Never waits, even on a blocking socket: a datagram the system has no room for is lost, as any
  // datagram may be, rather than holding the caller.
  ssize_t sent = ::sendto(Native(socket), data, size, MSG_NOSIGNAL | MSG_DONTWAIT,
                          reinterpret_cast<const sockaddr*>(&system), sizeof(system));
  if (sent < 0) {
    status = StatusFromError(errno);
    return -1;
  }
  status = SocketStatus::Done;
  return sent;
}

std::int64_t Receive(SocketHandle socket, void* data, std::size_t size, SocketStatus& status, bool noWait) {
  status = SocketStatus::Error;
  if (socket == kInvalidSocket || data == nullptr || size < 1) return -1;
  ssize_t received = ::recv(Native(socket), data, size, noWait ? MSG_DONTWAIT : 0);
  if (received < 0) {
    status = StatusFromError(errno);
    return -1;
  }
  status = received == 0 ? SocketStatus::Disconnected : SocketStatus::Done;
  return received;
}

std::int64_t ReceiveFrom(SocketHandle socket, void* data, std::size_t size, SocketAddress& sender,
                         SocketStatus& status, bool noWait) {
  status = SocketStatus::Error;
  if (socket == kInvalidSocket || data == nullptr || size < 1) return -1;
  sockaddr_in system{};
  socklen_t length = sizeof(system);
  ssize_t received = ::recvfrom(Native(socket), data, size, noWait ? MSG_DONTWAIT : 0, reinterpret_cast<sockaddr*>(&system), &length);
  if (received < 0) {
    status = StatusFromError(errno);
    return -1;
  }
  sender = FromSystem(system);
  status = SocketStatus::Done;
  return received;
}

std::size_t GetPendingBytes(SocketHandle socket) {
  if (socket == kInvalidSocket) return 0;
  int count = 0;
  if (ioctl(Native(socket), FIONREAD, &count) != 0 || count < 0) return 0;
  return static_cast<std::size_t>(count);
}

std::int32_t Poll(PollEntry* entries, std::size_t count, std::int32_t timeoutMs) {
  std::vector<pollfd> descriptors(count);
  for (std::size_t i = 0; i < count; ++i) {
    descriptors[i].fd = Native(entries[i].socket);
    descriptors[i].events = static_cast<short>(((entries[i].wanted & kPollRead) ? POLLIN : 0) |
                                               ((entries[i].wanted & kPollWrite) ? POLLOUT : 0));
    descriptors[i].revents = 0;
    entries[i].returned = 0;
  }
  int result = ::poll(descriptors.data(), static_cast<nfds_t>(count), timeoutMs < 0 ? -1 : timeoutMs);
  if (result < 0) return errno == EINTR ? 0 : -1;
  std::int32_t ready = 0;
  for (std::size_t i = 0; i < count; ++i) {
    short events = descriptors[i].revents;
    std::uint16_t returned = 0;
    // A hang-up or error makes a watched socket readable: the read itself tells what happened.
    if ((entries[i].wanted & kPollRead) && (events & (POLLIN | POLLHUP | POLLERR))) returned |= kPollRead;
    if ((entries[i].wanted & kPollWrite) && (events & POLLOUT)) returned |= kPollWrite;
    if (events & (POLLERR | POLLHUP | POLLNVAL)) returned |= kPollError;
    entries[i].returned = returned;
    if (returned != 0) ++ready;
  }
  return ready;
}

bool ParseDotted(const char* text, std::uint32_t& networkOrderAddress) {
  if (text == nullptr) return false;
  in_addr address{};
  if (inet_pton(AF_INET, text, &address) != 1) return false;
  networkOrderAddress = address.s_addr;
  return true;
}

std::string FormatDotted(std::uint32_t networkOrderAddress) {
  in_addr address{};
  address.s_addr = networkOrderAddress;
  char text[INET_ADDRSTRLEN] = {};
  if (inet_ntop(AF_INET, &address, text, sizeof(text)) == nullptr) return std::string();
  return text;
}

bool ResolveHost(const char* name, std::uint32_t& networkOrderAddress) {
  if (name == nullptr || *name == '\0') return false;
  // "localhost" is always the loopback address, even on a system without a hosts file, where the
  // resolver would ask the network for it.
  if (strcasecmp(name, "localhost") == 0) {
    networkOrderAddress = htonl(INADDR_LOOPBACK);
    return true;
  }
  addrinfo hints{};
  hints.ai_family = AF_INET;
  addrinfo* results = nullptr;
  if (getaddrinfo(name, nullptr, &hints, &results) != 0 || results == nullptr) return false;
  bool found = false;
  for (addrinfo* item = results; item != nullptr; item = item->ai_next) {
    if (item->ai_family == AF_INET && item->ai_addr != nullptr) {
      networkOrderAddress = reinterpret_cast<const sockaddr_in*>(item->ai_addr)->sin_addr.s_addr;
      found = true;
      break;
    }
  }
  freeaddrinfo(results);
  return found;
}

bool GetHostName(std::string& name) {
  char buffer[256] = {};
  if (gethostname(buffer, sizeof(buffer) - 1) != 0) return false;
  name = buffer;
  return true;
}

bool GetLocalInterface(std::uint32_t& networkOrderAddress, std::uint32_t& networkOrderBroadcast) {
  ifaddrs* interfaces = nullptr;
  if (getifaddrs(&interfaces) != 0) return false;
  bool found = false;
  for (ifaddrs* item = interfaces; item != nullptr && !found; item = item->ifa_next) {
    if (item->ifa_addr == nullptr || item->ifa_addr->sa_family != AF_INET) continue;
    if ((item->ifa_flags & IFF_UP) == 0 || (item->ifa_flags & IFF_LOOPBACK) != 0) continue;
    networkOrderAddress = reinterpret_cast<const sockaddr_in*>(item->ifa_addr)->sin_addr.s_addr;
    networkOrderBroadcast = 0;
    if ((item->ifa_flags & IFF_BROADCAST) != 0 && item->ifa_broadaddr != nullptr &&
        item->ifa_broadaddr->sa_family == AF_INET) {
      networkOrderBroadcast = reinterpret_cast<const sockaddr_in*>(item->ifa_broadaddr)->sin_addr.s_addr;
    }
    found = true;
  }
  freeifaddrs(interfaces);
  return found;
}

std::uint16_t HostToNetwork16(std::uint16_t value) { return htons(value); }
std::uint16_t NetworkToHost16(std::uint16_t value) { return ntohs(value); }
std::uint32_t HostToNetwork32(std::uint32_t value) { return htonl(value); }
std::uint32_t NetworkToHost32(std::uint32_t value) { return ntohl(value); }

}  // namespace Socket
}  // namespace Network
