// The session announcement: a framed datagram sent to the subnet's broadcast address at a fixed
// interval while a session is hosted.
#include <cstring>

#include "network/Network_Message.h"
#include "network/Network_Session.h"

namespace Network {

bool Qln_Session::StartBroadcast(std::uint16_t port, std::uint32_t scope, std::uint32_t intervalMs,
                                 std::uint32_t messageType, const void* data, std::uint32_t size,
                                 std::int32_t priority) {
  // The payload must fit one datagram with its header.
  if (size > kMaximumDatagramSize - 28 - kMessageHeaderSize || (size > 0 && data == nullptr)) return false;
  EventQueue::CallerDelivery call(m_queue);
  Channel* opened = nullptr;
  if (IsBroadcasting() || (opened = OpenChannel(call, kChannelBroadcast, kDatagramSocket, NetAddress(), 0,
                                                kOptionBroadcast | kOptionReuseAddress | kOptionNonBlocking)) == nullptr) {
    return false;
  }
  // A close that began after the open event's handler returned has shut the gate.
  Gate gate(*this);
  if (!gate) return false;
  SocketAddress raw;
  raw.port = Socket::HostToNetwork16(port);
  if (!PAL::ThreadManager::ReadLock(m_lock)) return false;
  raw.address = scope == 1 && m_interfaceBroadcast != 0 ? m_interfaceBroadcast
                                                        : MakeBroadcastAddress(m_address.GetAddress(), scope);
  PAL::ThreadManager::UnlockRWLock(m_lock);
  NetAddress target;
  target.SetSocketAddress(raw);
  target.UpdateText();

  // Under the session lock: the channel this call opened, while it is open. A handler of its open
  // event may have closed it, or started an announcement of its own on another channel.
  const auto stillOpen = [this, opened] {
    return OwnsRecord(opened) && opened->kind == kChannelBroadcast && opened->closed == 0;
  };
  Qln_Broadcast_Data* record = m_broadcast.Get();
  bool started = false;
  PAL::ThreadManager::LockMutex(m_controlMutex);
  const bool already = record->running;
  Channel* channel = nullptr;
  if (!already && PAL::ThreadManager::WriteLock(m_lock)) {
    channel = stillOpen() ? opened : nullptr;
    if (channel != nullptr) {
      channel->remoteAddress = target;
      // The thread's channel stays alive for as long as it runs.
      channel->RaiseUseCount();
    }
    PAL::ThreadManager::UnlockRWLock(m_lock);
  }
  if (channel != nullptr && PAL::ThreadManager::LockMutex(record->packetMutex)) {
    record->channel = channel;
    record->target = target;
    record->interval = intervalMs;
    record->packet.assign(size + kMessageHeaderSize, 0);
    WriteMessage(record->packet.data(), messageType, data, size);
    PAL::ThreadManager::UnlockMutex(record->packetMutex);
    m_broadcastThreadExited = false;
    m_broadcastThread = Threads().CreateThread(&Qln_Session::BroadcastThread, nullptr, record, priority, false);
    started = m_broadcastThread != nullptr;
  }
  if (channel != nullptr && !started) {
    ForgetBroadcastChannel();
    channel->LowerUseCount();
  }
  // An announcement another call started runs on, on its own channel.
  if (!already) record->running = started;
  PAL::ThreadManager::UnlockMutex(m_controlMutex);
  // The channel this call opened goes when nothing announces on it.
  if (!started && PAL::ThreadManager::WriteLock(m_lock)) {
    if (stillOpen()) QueueCloseLocked(opened, false, nullptr);
    PAL::ThreadManager::UnlockRWLock(m_lock);
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
                              record->target.GetSocketAddress(), status);
    }
    PAL::ThreadManager::UnlockMutex(record->packetMutex);
    PAL::ThreadManager::Sleep(record->interval == 0 ? 1 : record->interval, thread);
  }
  SignalThreadExit(session->m_mutex, session->m_condition, session->m_broadcastThreadExited);
}

Channel* Qln_Session::ForgetBroadcastChannel() {
  Qln_Broadcast_Data* record = m_broadcast.Get();
  Channel* channel = nullptr;
  if (PAL::ThreadManager::LockMutex(record->packetMutex)) {
    channel = record->channel;
    record->channel = nullptr;
    PAL::ThreadManager::UnlockMutex(record->packetMutex);
  }
  return channel;
}

void Qln_Session::StopBroadcastThread() {
  // Under the control mutex: the owner stopping the hosting and a handler closing the session may
  // both stop the thread.
  PAL::ThreadManager::LockMutex(m_controlMutex);
  if (m_broadcast->running) {
    // Waits for the thread to leave before its channel goes: it may be inside sendto.
    StopAndAwaitThreadExit(Threads(), m_broadcastThread, m_mutex, m_condition, m_broadcastThreadExited);
    m_broadcastThread = nullptr;
    if (Channel* channel = ForgetBroadcastChannel()) channel->LowerUseCount();
    m_broadcast->running = false;
  }
  PAL::ThreadManager::UnlockMutex(m_controlMutex);
}

bool Qln_Session::IsBroadcasting() const {
  Gate gate(*this);
  return gate && m_broadcast->running;
}

bool Qln_Session::SetBroadcastData(const void* data, std::uint32_t size) {
  if (size > kMaximumDatagramSize - 28 - kMessageHeaderSize || (size > 0 && data == nullptr)) return false;
  Gate gate(*this);
  Qln_Broadcast_Data* record = m_broadcast.Get();
  if (!gate || !PAL::ThreadManager::LockMutex(record->packetMutex)) return false;
  const bool sending = record->channel != nullptr;
  if (sending) {
    const std::uint32_t total = size + kMessageHeaderSize;
    const std::uint32_t type = ReadMessageType(record->packet.data());
    // A smaller payload reuses the block; the header's length tells how much of it is sent.
    if (total > record->packet.size()) record->packet.resize(total);
    WriteMessage(record->packet.data(), type, data, size);
  }
  PAL::ThreadManager::UnlockMutex(record->packetMutex);
  return sending;
}

bool Qln_Session::GetBroadcastAddress(NetAddress& address) const {
  Gate gate(*this);
  Qln_Broadcast_Data* record = m_broadcast.Get();
  if (!gate || !PAL::ThreadManager::LockMutex(record->packetMutex)) return false;
  const bool sending = record->channel != nullptr;
  if (sending) address = record->target;
  PAL::ThreadManager::UnlockMutex(record->packetMutex);
  return sending;
}

}  // namespace Network
