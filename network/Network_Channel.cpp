#include "network/Network_Channel.h"

#include "core/Core_Time.h"
#include "network/Network_Event.h"

namespace Network {

Channel::~Channel() { CloseSocket(); }

bool Channel::CreateAndBind(std::int32_t type, const NetAddress& address) {
  if (socket != kInvalidSocket) return true;
  SocketHandle created = Socket::Create(type);
  if (created == kInvalidSocket) return false;
  if (!Socket::Bind(created, address.GetSocketAddress())) {
    Socket::Close(created);
    return false;
  }
  socket = created;
  socketType = type;
  GetLocalAddress();
  return true;
}

bool Channel::ApplyOptions(std::uint32_t mask) {
  for (std::uint32_t bit = 1; bit <= kOptionNoLinger; bit <<= 1) {
    if ((mask & bit) == 0) continue;
    if (!Socket::ApplyOption(socket, socketType, bit)) return false;
  }
  return true;
}

bool Channel::CreateLocks(PAL::ThreadManager& manager) {
  receiveMutex = manager.CreateMutex(0);
  sendMutex = manager.CreateMutex(0);
  if (receiveMutex == nullptr || sendMutex == nullptr) {
    DestroyLocks(manager);
    return false;
  }
  return true;
}

void Channel::DestroyLocks(PAL::ThreadManager& manager) {
  manager.DestroyMutex(receiveMutex);
  manager.DestroyMutex(sendMutex);
  receiveMutex = nullptr;
  sendMutex = nullptr;
}

void Channel::CloseSocket() {
  Socket::Close(socket);
  socket = kInvalidSocket;
}

std::int64_t Channel::Receive(void* buffer, std::int64_t length, SocketStatus& status) {
  status = SocketStatus::Error;
  if (socket == kInvalidSocket || buffer == nullptr || length < 1) return -1;
  return Socket::Receive(socket, buffer, static_cast<std::size_t>(length), status);
}

std::int64_t Channel::Send(const void* buffer, std::int64_t length, SocketStatus& status) {
  status = SocketStatus::Error;
  if (socket == kInvalidSocket || buffer == nullptr || length < 1) return -1;
  return Socket::Send(socket, buffer, static_cast<std::size_t>(length), status);
}

std::int64_t Channel::SendTo(const void* buffer, std::int64_t length, const SocketAddress& target,
                             SocketStatus& status) {
  status = SocketStatus::Error;
  if (socket == kInvalidSocket || buffer == nullptr || length < 1) return -1;
  return Socket::SendTo(socket, buffer, static_cast<std::size_t>(length), target, status);
}

bool Channel::SendAll(const std::uint8_t* data, std::size_t size, std::uint32_t timeoutMs) {
  // A sender that found the stream before its close was queued must not follow a cut frame.
  if (socket == kInvalidSocket || data == nullptr || size == 0 || sendBroken) return false;
  RealStopwatch waited;
  waited.Start();
  std::size_t sent = 0;
  while (sent < size) {
    SocketStatus status = SocketStatus::Error;
    // Never blocks, even on a blocking socket: a peer that stops reading cannot hold the caller
    // past the time limit.
    std::int64_t count = Socket::Send(socket, data + sent, size - sent, status, true);
    if (count > 0) {
      sent += static_cast<std::size_t>(count);
      continue;
    }
    if (status != SocketStatus::WouldBlock) break;
    double left = timeoutMs - waited.GetElapsed();
    if (left <= 0.0) break;
    PollEntry entry;
    entry.socket = socket;
    entry.wanted = kPollWrite;
    if (Socket::Poll(&entry, 1, static_cast<std::int32_t>(left) + 1) < 0) break;
  }
  if (sent == size) return true;
  sendBroken = 1;
  return false;
}

const NetAddress& Channel::GetLocalAddress() {
  SocketAddress address;
  if (socket != kInvalidSocket && Socket::GetLocalAddress(socket, address)) {
    localAddress.SetSocketAddress(address);
    localAddress.UpdateText();
  }
  return localAddress;
}

bool Channel::EnsureBuffer(std::uint32_t size, bool receive) {
  std::vector<std::uint8_t>& buffer = receive ? receiveBuffer : sendBuffer;
  if (buffer.size() >= size) return true;
  try {
    std::vector<std::uint8_t>().swap(buffer);
    buffer.resize(size);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

}  // namespace Network
