#include "network/Network_Channel.h"

#include "network/Network_Event.h"
#include "platform/PAL_Clock.h"

namespace Network {

Channel::~Channel() {
  CloseSocket();
  for (OutgoingMessage& message : m_outgoing) FreeMessage(message.frame);
  for (NetEvent& event : held) event.FreeMessageData();
}

bool Channel::CreateAndBind(std::int32_t type, const NetAddress& address, std::uint32_t bindOptions) {
  if (socket != kInvalidSocket) return true;
  SocketHandle created = Socket::Create(type);
  if (created == kInvalidSocket) return false;
  // Two games on one machine listen for announcements on the same port: reuse has to be allowed
  // before the first of them binds it.
  if ((bindOptions & kOptionReuseAddress) && !Socket::ApplyOption(created, type, kOptionReuseAddress)) {
    Socket::Close(created);
    return false;
  }
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
  // Never waits, even on a blocking socket: it is read only once a poll found it readable, and
  // another reader (a ReceiveNow on another thread) may have taken what the poll saw.
  return Socket::Receive(socket, buffer, static_cast<std::size_t>(length), status, true);
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

bool Channel::QueueOutgoingLocked(std::uint8_t* frame, std::uint32_t size, const NetAddress& target, bool report,
                                  std::size_t backlogLimit) {
  if (frame == nullptr || size == 0 || sendBroken) {
    FreeMessage(frame);
    return false;
  }
  if (!m_outgoing.empty()) {
    const OutgoingMessage& head = m_outgoing.front();
    const std::size_t behindHead = m_outgoingBytes - (head.size - head.written);
    if (behindHead + size > backlogLimit) {
      FreeMessage(frame);
      return false;
    }
  } else {
    m_lastOutgoingProgress = PAL::GetMonotonicMilliseconds();
  }
  OutgoingMessage message;
  message.frame = frame;
  message.size = size;
  message.target = target;
  message.report = report;
  m_outgoing.push_back(std::move(message));
  m_outgoingBytes += size;
  m_outgoingWaiting.store(true, std::memory_order_release);
  return true;
}

bool Channel::FlushOutgoingLocked(std::vector<SendOutcome>& outcomes) {
  while (!m_outgoing.empty()) {
    OutgoingMessage& head = m_outgoing.front();
    SocketStatus status = SocketStatus::Error;
    bool failed = false;
    if (socketType == kDatagramSocket) {
      // A datagram goes whole or not at all; one the system will not take now is lost, as a
      // datagram may be.
      failed = SendTo(head.frame, head.size, head.target.GetSocketAddress(), status) != head.size;
    } else {
      // Never blocks, even on a blocking socket: a peer that stops reading leaves the rest queued.
      std::int64_t count = socket == kInvalidSocket ? -1
                                                    : Socket::Send(socket, head.frame + head.written,
                                                                   head.size - head.written, status, true);
      if (count <= 0) {
        if (status == SocketStatus::WouldBlock) return true;
        // Part of a frame may have left: the peer could no longer tell where the next one starts.
        sendBroken = 1;
        DropOutgoingLocked(outcomes);
        return false;
      }
      head.written += static_cast<std::uint32_t>(count);
      m_outgoingBytes -= static_cast<std::size_t>(count);
      m_lastOutgoingProgress = PAL::GetMonotonicMilliseconds();
      if (head.written < head.size) continue;
    }
    m_outgoingBytes -= head.size - head.written;
    if (head.report) outcomes.push_back({head.target, failed});
    FreeMessage(head.frame);
    m_outgoing.pop_front();
  }
  m_outgoingWaiting.store(false, std::memory_order_release);
  return true;
}

void Channel::DropOutgoingLocked(std::vector<SendOutcome>& outcomes) {
  for (OutgoingMessage& message : m_outgoing) {
    if (message.report) outcomes.push_back({message.target, true});
    FreeMessage(message.frame);
  }
  m_outgoing.clear();
  m_outgoingBytes = 0;
  m_outgoingWaiting.store(false, std::memory_order_release);
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
