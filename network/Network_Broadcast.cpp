// The session announcement: a framed datagram sent to the subnet's broadcast address at a fixed
// interval while a session is hosted.
#include <cstring>

#include "network/Network_Message.h"
#include "network/Network_Session.h"

namespace Network {

bool Qln_Session::StartBroadcast(std::uint16_t port, std::uint32_t scope, std::uint32_t intervalMs,
                                 std::uint32_t messageType, const void* data, std::uint32_t size,
                                 std::int32_t priority) {
  if (!m_initialised || m_broadcast != nullptr) return false;
  // The payload must fit one datagram with its header.
  if (size > kMaximumDatagramSize - 28 - kMessageHeaderSize || (size > 0 && data == nullptr)) return false;
  Channel* channel = OpenChannel(kChannelBroadcast, kDatagramSocket, NetAddress(), 0,
                                 kOptionBroadcast | kOptionReuseAddress | kOptionNonBlocking);
  if (channel == nullptr) return false;

  SocketAddress target;
  target.port = Socket::HostToNetwork16(port);
  target.address = scope == 1 && m_interfaceBroadcast != 0 ? m_interfaceBroadcast
                                                           : MakeBroadcastAddress(m_address.GetAddress(), scope);
  Core::SmartPointer<Qln_Broadcast_Data> record = new ("Network_Engine", __LINE__) Qln_Broadcast_Data();
  record->channel = channel;
  record->interval = intervalMs;
  record->session = this;
  record->packet.resize(size + kMessageHeaderSize);
  WriteMessage(record->packet.data(), messageType, data, size);
  record->packetMutex = Threads().CreateMutex(0);

  bool started = false;
  if (record->packetMutex != nullptr && PAL::ThreadManager::WriteLock(m_lock)) {
    channel->remoteAddress.SetSocketAddress(target);
    channel->remoteAddress.UpdateText();
    // The thread's channel stays alive for as long as it runs.
    channel->RaiseUseCount();
    PAL::ThreadManager::UnlockRWLock(m_lock);
    m_broadcast = record;
    m_broadcastThreadExited = false;
    m_broadcastThread = Threads().CreateThread(&Qln_Session::BroadcastThread, nullptr, record.Get(), priority, false);
    started = m_broadcastThread != nullptr;
    if (!started) {
      channel->LowerUseCount();
      m_broadcast.Reset();
    }
  }
  if (!started) {
    Threads().DestroyMutex(record->packetMutex);
    record->packetMutex = nullptr;
    CloseChannels(kChannelBroadcast, false);
  }
  return started;
}

void Qln_Session::BroadcastThread(PAL::Thread* thread) {
  Qln_Broadcast_Data* record = static_cast<Qln_Broadcast_Data*>(thread->GetUserData());
  Qln_Session* session = record->session;
  while (thread->IsRunning()) {
    if (!PAL::ThreadManager::LockMutex(record->packetMutex)) break;
    if (!thread->IsRunning()) {
      PAL::ThreadManager::UnlockMutex(record->packetMutex);
      break;
    }
    if (record->channel->socket != kInvalidSocket && record->packet.size() >= kMessageHeaderSize) {
      SocketStatus status;
      record->channel->SendTo(record->packet.data(), ReadMessageLength(record->packet.data()),
                              record->channel->remoteAddress.GetSocketAddress(), status);
    }
    PAL::ThreadManager::UnlockMutex(record->packetMutex);
    PAL::ThreadManager::Sleep(record->interval == 0 ? 1 : record->interval, thread);
  }
  SignalThreadExit(session->m_mutex, session->m_condition, session->m_broadcastThreadExited);
}

void Qln_Session::StopBroadcastThread() {
  if (m_broadcast == nullptr) return;
  // Waits for the thread to leave before its record and channel go: it may be inside sendto.
  StopAndAwaitThreadExit(Threads(), m_broadcastThread, m_mutex, m_condition, m_broadcastThreadExited);
  m_broadcastThread = nullptr;
  m_broadcast->channel->LowerUseCount();
  Threads().DestroyMutex(m_broadcast->packetMutex);
  m_broadcast->packetMutex = nullptr;
  m_broadcast.Reset();
}

bool Qln_Session::SetBroadcastData(const void* data, std::uint32_t size) {
  if (m_broadcast == nullptr) return false;
  if (size > kMaximumDatagramSize - 28 - kMessageHeaderSize || (size > 0 && data == nullptr)) return false;
  Qln_Broadcast_Data* record = m_broadcast.Get();
  if (!PAL::ThreadManager::LockMutex(record->packetMutex)) return false;
  const std::uint32_t total = size + kMessageHeaderSize;
  const std::uint32_t type = ReadMessageType(record->packet.data());
  // A smaller payload reuses the block; the header's length tells how much of it is sent.
  if (total > record->packet.size()) record->packet.resize(total);
  WriteMessage(record->packet.data(), type, data, size);
  PAL::ThreadManager::UnlockMutex(record->packetMutex);
  return true;
}

bool Qln_Session::GetBroadcastAddress(NetAddress& address) const {
  if (m_broadcast == nullptr) return false;
  address = m_broadcast->channel->remoteAddress;
  return true;
}

}  // namespace Network
