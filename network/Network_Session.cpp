#include "network/Network_Session.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/Core_Time.h"
#include "network/Network_Message.h"
#include "platform/PAL_Clock.h"

namespace Network {
namespace {

std::atomic<std::uint32_t> g_nextSessionId{0};

// A single pass never reads more than this from one stream, so one busy peer cannot starve others.
constexpr std::size_t kReadChunk = 256 * 1024;
constexpr std::size_t kDatagramsPerPass = 64;
constexpr std::size_t kAcceptsPerPass = 16;

}  // namespace

struct Qln_Session::Watch {
  Channel* channel;
  std::uint16_t wanted;
};

Qln_Session::Qln_Session() : m_sessionId(g_nextSessionId.fetch_add(1)) {}

Qln_Session::~Qln_Session() { Close(); }

NetEvent Qln_Session::MakeEvent(std::uint32_t kind, std::uint32_t channelKind) const {
  NetEvent event;
  event.handler = m_handler;
  event.kind = kind;
  event.session = const_cast<Qln_Session*>(this);
  event.channelKind = channelKind;
  return event;
}

void Qln_Session::DeliverDirect(std::uint32_t kind, std::uint32_t channelKind) {
  NetEvent event = MakeEvent(kind, channelKind);
  Deliver(event);
}

void Qln_Session::Deliver(NetEvent& event) {
  if (event.kind == kEventMessageReceived) {
    bool release = true;
    if (event.handler) release = event.handler(event);
    if (release) {
      event.FreeMessageData();
    } else {
      // The handler keeps the block; the event only forgets it.
      event.data = nullptr;
      event.payload = nullptr;
      event.size = 0;
      event.payloadSize = 0;
    }
    return;
  }
  if (event.handler) event.handler(event);
}

bool Qln_Session::Initialize(const std::string& name, const std::string& password, bool passwordFlag,
                             EventHandler handler, std::int32_t priority, bool threaded,
                             std::uint32_t maximumHandlerThreads, std::uint32_t waitPeriodMs,
                             std::uint32_t selectTimeoutMs) {
  if (m_initialised) return false;
  Socket::GetHostName(m_hostName);
  // The host name resolves to a loopback address on many systems; the first real interface is the
  // address other machines can reach, and its broadcast address is the subnet's.
  std::uint32_t own = 0;
  std::uint32_t broadcast = 0;
  if (!Socket::GetLocalInterface(own, broadcast)) {
    broadcast = 0;
    if (!Socket::ResolveHost(m_hostName.c_str(), own)) Socket::ParseDotted("127.0.0.1", own);
  }
  m_address = NetAddress();
  m_address.SetAddress(own);
  m_address.UpdateText();
  m_addressText = m_address.GetText();
  m_interfaceBroadcast = broadcast;

  if (!m_queue.Start(&Qln_Session::Deliver, threaded, maximumHandlerThreads, priority, waitPeriodMs)) return false;

  m_lock = Threads().CreateRWLock();
  m_mutex = m_lock != nullptr ? Threads().CreateMutex(0) : nullptr;
  m_condition = m_mutex != nullptr ? Threads().CreateCondition() : nullptr;
  if (m_condition == nullptr) {
    Threads().DestroyMutex(m_mutex);
    Threads().DestroyRWLock(m_lock);
    m_mutex = nullptr;
    m_lock = nullptr;
    m_queue.Stop();
    return false;
  }

  m_handler = std::move(handler);
  m_priority = priority;
  m_name = name;
  m_password = password;
  // A zero time-out would make the session thread spin.
  m_selectTimeout = selectTimeoutMs == 0 ? 1 : selectTimeoutMs;
  m_passwordFlag = passwordFlag ? 1 : 0;
  m_sessionThreadExited = false;
  m_sessionThread = Threads().CreateThread(&Qln_Session::SessionThread, nullptr, this, priority, false);
  if (m_sessionThread == nullptr) {
    Threads().DestroyCondition(m_condition);
    Threads().DestroyMutex(m_mutex);
    Threads().DestroyRWLock(m_lock);
    m_condition = nullptr;
    m_mutex = nullptr;
    m_lock = nullptr;
    m_queue.Stop();
    return false;
  }
  m_initialised = 1;
  DeliverDirect(kEventSessionInitialised, kNoKind);
  return true;
}

void Qln_Session::SetLocalAddress(const NetAddress& address) {
  m_address = address;
  m_address.SetPort(0);
  m_address.UpdateText();
  m_addressText = m_address.GetText();
  // The interface's own broadcast address belongs to the address it was found with.
  m_interfaceBroadcast = 0;
}

// ---- look-ups (under the session lock) ----

Channel* Qln_Session::FindChannel(std::uint32_t kind) {
  for (auto& channel : m_channels) {
    if (channel->kind == kind && channel->closed == 0) return channel.get();
  }
  return nullptr;
}

Channel* Qln_Session::FindConnection(std::uint32_t kind, const NetAddress& peer) {
  for (auto& connection : m_connections) {
    if (connection->kind == kind && connection->closed == 0 && connection->remoteAddress == peer) {
      return connection.get();
    }
  }
  return nullptr;
}

bool Qln_Session::OwnsRecord(const Channel* channel) const {
  for (const auto& item : m_channels) {
    if (item.get() == channel) return true;
  }
  for (const auto& item : m_connections) {
    if (item.get() == channel) return true;
  }
  return false;
}

// ---- channels ----

Channel* Qln_Session::OpenChannel(std::uint32_t kind, std::int32_t socketType, const NetAddress& address,
                                  std::uint32_t mode, std::uint32_t options) {
  if (!m_initialised) return nullptr;
  if (!PAL::ThreadManager::WriteLock(m_lock)) return nullptr;
  auto record = std::make_unique<Channel>();
  record->kind = kind;
  bool ready = record->CreateAndBind(socketType, address, options) && record->CreateLocks(Threads());
  if (ready) {
    record->mode = mode;
    record->options = options;
    ready = record->ApplyOptions(options);
  }
  Channel* channel = nullptr;
  if (ready) {
    channel = record.get();
    m_channels.push_back(std::move(record));
  } else {
    // Only the record that failed goes: an open channel of the same kind stays as it was.
    record->DestroyLocks(Threads());
    record->CloseSocket();
  }
  PAL::ThreadManager::UnlockRWLock(m_lock);
  if (channel != nullptr) DeliverDirect(kEventChannelOpened, kind);
  return channel;
}

bool Qln_Session::Listen(std::uint32_t kind, std::uint32_t backlog) {
  if (!m_initialised || !PAL::ThreadManager::ReadLock(m_lock)) return false;
  Channel* channel = FindChannel(kind);
  if (channel != nullptr) channel->RaiseUseCount();
  PAL::ThreadManager::UnlockRWLock(m_lock);
  if (channel == nullptr) return false;
  bool listening = channel->socketType == kStreamSocket &&
                   Socket::Listen(channel->socket, static_cast<std::int32_t>(std::min<std::uint32_t>(backlog, 4096)));
  if (listening && PAL::ThreadManager::WriteLock(m_lock)) {
    channel->listening = 1;
    PAL::ThreadManager::UnlockRWLock(m_lock);
  }
  channel->LowerUseCount();
  return listening;
}

bool Qln_Session::StartListening(const NetAddress& address, std::uint32_t maximumPlayers) {
  if (!m_initialised || m_hosting) return false;
  if (OpenChannel(kChannelHostListen, kStreamSocket, address, kModeWatchRead, kOptionNonBlocking) == nullptr) {
    return false;
  }
  m_maximumPlayers = maximumPlayers;
  if (!Listen(kChannelHostListen, GetLimits().listenBacklog)) {
    CloseChannels(kChannelHostListen, false);
    return false;
  }
  m_hosting = 1;
  return true;
}

void Qln_Session::StopHosting() {
  // The announcement goes with the hosting, so that the session can host (and announce) again.
  StopBroadcastThread();
  CloseChannels(kChannelBroadcast, false);
  if (m_initialised && PAL::ThreadManager::WriteLock(m_lock)) {
    for (auto& connection : m_connections) {
      if (connection->kind == kChannelHostListen) QueueCloseLocked(connection.get(), false, nullptr);
    }
    PAL::ThreadManager::UnlockRWLock(m_lock);
  }
  // Waited for: a fixed listening port is free again when hosting starts anew.
  CloseChannels(kChannelHostListen, true);
  m_hosting = 0;
}

bool Qln_Session::CloseClientChannel(bool wait) { return CloseChannels(kChannelDiscovery, wait); }

bool Qln_Session::OpenDiscoveryListener(std::uint16_t port) {
  return OpenChannel(kChannelDiscovery, kDatagramSocket, NetAddress(nullptr, port), kModeWatchRead,
                     kOptionBroadcast | kOptionReuseAddress | kOptionNonBlocking) != nullptr;
}

bool Qln_Session::GetChannelAddress(std::uint32_t kind, NetAddress& address) {
  // The write lock: refreshing the record's address writes it, and two readers could do so at once.
  if (!m_initialised || !PAL::ThreadManager::WriteLock(m_lock)) return false;
  Channel* channel = FindChannel(kind);
  if (channel != nullptr) address = channel->GetLocalAddress();
  PAL::ThreadManager::UnlockRWLock(m_lock);
  return channel != nullptr;
}

bool Qln_Session::GetChannelRemoteAddress(std::uint32_t kind, NetAddress& address) {
  if (!m_initialised || !PAL::ThreadManager::ReadLock(m_lock)) return false;
  Channel* channel = FindChannel(kind);
  if (channel != nullptr) address = channel->remoteAddress;
  PAL::ThreadManager::UnlockRWLock(m_lock);
  return channel != nullptr;
}

bool Qln_Session::SetChannelMode(std::uint32_t kind, std::uint32_t mode) {
  if (!m_initialised || !PAL::ThreadManager::WriteLock(m_lock)) return false;
  Channel* channel = FindChannel(kind);
  if (channel != nullptr) channel->mode = mode;
  PAL::ThreadManager::UnlockRWLock(m_lock);
  return channel != nullptr;
}

// ---- connecting and sending ----

bool Qln_Session::Connect(std::uint32_t kind, const NetAddress& server) {
  if (!m_initialised || !PAL::ThreadManager::WriteLock(m_lock)) return false;
  Channel* channel = FindChannel(kind);
  if (channel == nullptr || channel->socketType != kStreamSocket) {
    PAL::ThreadManager::UnlockRWLock(m_lock);
    return false;
  }
  channel->RaiseUseCount();
  if (channel->IsNonBlocking()) {
    bool waiting = false;
    for (const NetEvent& request : m_connectRequests) waiting = waiting || request.channelKind == kind;
    if (!waiting) {
      NetEvent request = MakeEvent(kEventConnectRequest, kind);
      request.peer = server;
      request.related = channel;
      m_connectRequests.push_back(std::move(request));
    }
    channel->LowerUseCount();
    PAL::ThreadManager::UnlockRWLock(m_lock);
    return true;
  }
  PAL::ThreadManager::UnlockRWLock(m_lock);
  // A blocking connect runs without the session lock; the use count keeps the record alive. It
  // waits at most kConnectTimeoutMs: a host that never answers must not freeze the caller.
  bool connected = false;
  if (Socket::SetNonBlocking(channel->socket, true)) {
    SocketStatus status = Socket::Connect(channel->socket, server.GetSocketAddress());
    if (status == SocketStatus::InProgress || status == SocketStatus::WouldBlock) {
      PollEntry entry;
      entry.socket = channel->socket;
      entry.wanted = kPollWrite;
      RealStopwatch waited;
      waited.Start();
      std::int32_t ready = 0;
      while (ready == 0 && waited.GetElapsed() < kConnectTimeoutMs) {
        ready = Socket::Poll(&entry, 1, static_cast<std::int32_t>(kConnectTimeoutMs - waited.GetElapsed()) + 1);
      }
      status = ready > 0 ? Socket::GetConnectResult(channel->socket) : SocketStatus::Error;
    }
    connected = status == SocketStatus::Done && Socket::SetNonBlocking(channel->socket, false);
  }
  if (connected && PAL::ThreadManager::WriteLock(m_lock)) {
    channel->connected = 1;
    channel->remoteAddress = server;
    PAL::ThreadManager::UnlockRWLock(m_lock);
  }
  channel->LowerUseCount();
  return connected;
}

bool Qln_Session::Send(std::uint32_t kind, std::uint32_t messageType, const void* data, std::uint32_t size,
                       const NetAddress& target, std::uint32_t* sent) {
  if (!m_initialised) return false;
  if (size > kMaximumMessageSize - kMessageHeaderSize || (size > 0 && data == nullptr)) return false;
  if (!PAL::ThreadManager::ReadLock(m_lock)) return false;
  Channel* channel = FindChannel(kind);
  // The record actually written: the channel itself, or the host's connection to the target.
  Channel* writer = nullptr;
  if (channel != nullptr) {
    if (channel->socketType == kDatagramSocket || (channel->connected && channel->remoteAddress == target)) {
      writer = channel;
    } else if (channel->listening) {
      writer = FindConnection(kind, target);
    } else if (!channel->connected) {
      // A queued connect to the target under way: its messages wait for the connection.
      for (const NetEvent& request : m_connectRequests) {
        if (request.channelKind == kind && request.peer == target) writer = channel;
      }
    }
  }
  if (writer != nullptr) writer->RaiseUseCount();
  const bool writerConnected = writer != nullptr && writer->connected;
  const std::size_t backlogLimit = m_limits.outgoingQueueBytes;
  PAL::ThreadManager::UnlockRWLock(m_lock);
  if (writer == nullptr) return false;

  const std::uint32_t total = size + kMessageHeaderSize;
  const bool queued = (writer->mode & kModeQueueSends) != 0;
  bool ok = false;
  bool broken = false;
  std::vector<SendOutcome> outcomes;
  if (writer->socketType == kDatagramSocket && !queued) {
    if (PAL::ThreadManager::LockMutex(writer->sendMutex)) {
      if (writer->EnsureBuffer(total, false)) {
        WriteMessage(writer->sendBuffer.data(), messageType, data, size);
        SocketStatus status;
        ok = writer->SendTo(writer->sendBuffer.data(), total, target.GetSocketAddress(), status) == total;
      }
      PAL::ThreadManager::UnlockMutex(writer->sendMutex);
    }
  } else {
    std::uint8_t* frame = FrameMessage(messageType, data, size);
    if (frame != nullptr && PAL::ThreadManager::LockMutex(writer->sendMutex)) {
      ok = writer->QueueOutgoingLocked(frame, total, target, queued, backlogLimit);
      // A peer that has stopped reading must not hold the caller: what the socket takes now goes
      // now, the rest is the session thread's to write.
      broken = !ok && writer->socketType == kStreamSocket;
      if (ok && !queued && writerConnected) broken = !writer->FlushOutgoingLocked(outcomes);
      PAL::ThreadManager::UnlockMutex(writer->sendMutex);
    } else {
      FreeMessage(frame);
    }
  }
  // Only once the send mutex is released: the session thread takes the session lock first, then
  // the send mutex. A connection that cannot take more, or failed, goes; nothing else does.
  if (broken && PAL::ThreadManager::WriteLock(m_lock)) {
    QueueCloseLocked(writer, true, nullptr);
    PAL::ThreadManager::UnlockRWLock(m_lock);
  }
  PostSendOutcomes(writer->kind, outcomes, nullptr);
  if (ok && sent != nullptr) *sent = total;
  writer->LowerUseCount();
  return ok && !broken;
}

void Qln_Session::PostSendOutcomes(std::uint32_t kind, const std::vector<SendOutcome>& outcomes,
                                   std::vector<NetEvent>* pending) {
  for (const SendOutcome& outcome : outcomes) {
    NetEvent finished = MakeEvent(kEventSendFinished, kind);
    finished.peer = outcome.target;
    finished.failed = outcome.failed ? 1 : 0;
    if (pending != nullptr) {
      pending->push_back(std::move(finished));
    } else {
      m_queue.Post(finished);
    }
  }
}

bool Qln_Session::SetChannelJoined(std::uint32_t kind, const NetAddress& peer, bool joined) {
  if (!m_initialised || !PAL::ThreadManager::WriteLock(m_lock)) return false;
  Channel* connection = FindConnection(kind, peer);
  if (connection != nullptr) connection->joined = joined ? 1 : 0;
  PAL::ThreadManager::UnlockRWLock(m_lock);
  return connection != nullptr;
}

void Qln_Session::SetLimits(const SessionLimits& limits) {
  if (m_lock == nullptr || !PAL::ThreadManager::WriteLock(m_lock)) {
    m_limits = limits;
    return;
  }
  m_limits = limits;
  PAL::ThreadManager::UnlockRWLock(m_lock);
}

SessionLimits Qln_Session::GetLimits() {
  if (m_lock == nullptr || !PAL::ThreadManager::ReadLock(m_lock)) return m_limits;
  SessionLimits limits = m_limits;
  PAL::ThreadManager::UnlockRWLock(m_lock);
  return limits;
}

// ---- closing ----

void Qln_Session::QueueCloseLocked(Channel* channel, bool onError, const std::shared_ptr<std::atomic<bool>>& done) {
  if (channel->closed == 0) {
    channel->closed = 1;
    if (onError) channel->closedOnError = 1;
  }
  for (NetEvent& request : m_closeRequests) {
    if (request.related == channel) {
      // Already on its way out: a second waiter waits for the same close.
      if (done) {
        if (!request.done) {
          request.done = done;
        } else {
          NetEvent extra = MakeEvent(kEventCloseRequest, channel->kind);
          extra.related = channel;
          extra.done = done;
          m_closeRequests.push_back(std::move(extra));
        }
      }
      return;
    }
  }
  NetEvent request = MakeEvent(kEventCloseRequest, channel->kind);
  request.related = channel;
  request.done = done;
  if (channel->accepted) {
    request.peer = channel->remoteAddress;
    request.hasPeer = true;
  }
  m_closeRequests.push_back(std::move(request));
}

bool Qln_Session::WaitDone(const std::shared_ptr<std::atomic<bool>>& done) {
  RealStopwatch waited;
  waited.Start();
  while (!done->load(std::memory_order_acquire)) {
    if (waited.GetElapsed() >= kCloseWaitMs) return false;
    PAL::ThreadManager::Sleep(1, nullptr);
  }
  return true;
}

bool Qln_Session::CloseChannels(std::uint32_t kind, bool wait) {
  if (!m_initialised) return false;
  // The session thread never posts or delivers while it holds this lock, so waiting for it here
  // cannot deadlock against a handler: a close is never dropped because the lock was busy.
  if (!PAL::ThreadManager::WriteLock(m_lock)) return false;
  Channel* channel = FindChannel(kind);
  std::shared_ptr<std::atomic<bool>> done;
  if (channel != nullptr) {
    if (wait) done = std::make_shared<std::atomic<bool>>(false);
    QueueCloseLocked(channel, false, done);
  }
  PAL::ThreadManager::UnlockRWLock(m_lock);
  if (channel == nullptr) return false;
  // A wait that ran out is no success: the channel may still be open.
  return !done || WaitDone(done);
}

bool Qln_Session::RequestClose(std::uint32_t kind, const NetAddress& peer, bool wait) {
  if (!m_initialised || !PAL::ThreadManager::WriteLock(m_lock)) return false;
  Channel* connection = FindConnection(kind, peer);
  std::shared_ptr<std::atomic<bool>> done;
  if (connection != nullptr) {
    if (wait) done = std::make_shared<std::atomic<bool>>(false);
    QueueCloseLocked(connection, false, done);
  }
  PAL::ThreadManager::UnlockRWLock(m_lock);
  if (connection == nullptr) return false;
  return !done || WaitDone(done);
}

bool Qln_Session::TryFreeRecordLocked(Channel* channel, std::vector<NetEvent>& pending) {
  // A record in use outside the lock keeps its socket: closing it under a sender would let the
  // descriptor be reused by an unrelated socket.
  if (channel->GetUseCount() > 0) return false;
  NetEvent event = MakeEvent(channel->accepted ? kEventConnectionClosed : kEventChannelClosed, channel->kind);
  if (channel->accepted) event.peer = channel->remoteAddress;
  event.failed = channel->closedOnError;
  // A polite close still hands the peer what the socket takes now (a refusal, a goodbye); what
  // it cannot take, and everything after an error, fails with the record.
  std::vector<SendOutcome> outcomes;
  if (PAL::ThreadManager::LockMutex(channel->sendMutex)) {
    if (!channel->closedOnError && (channel->connected || channel->socketType == kDatagramSocket)) {
      channel->FlushOutgoingLocked(outcomes);
    }
    channel->DropOutgoingLocked(outcomes);
    PAL::ThreadManager::UnlockMutex(channel->sendMutex);
  }
  PostSendOutcomes(channel->kind, outcomes, &pending);
  // Requests that still name the record fail with it.
  for (auto it = m_connectRequests.begin(); it != m_connectRequests.end();) {
    if (it->related == channel) {
      NetEvent failed = MakeEvent(kEventConnectFinished, it->channelKind);
      failed.peer = it->peer;
      failed.failed = 1;
      pending.push_back(std::move(failed));
      it = m_connectRequests.erase(it);
    } else {
      ++it;
    }
  }
  channel->CloseSocket();
  channel->DestroyLocks(Threads());
  auto& list = channel->accepted ? m_connections : m_channels;
  list.erase(std::remove_if(list.begin(), list.end(), [channel](const std::unique_ptr<Channel>& item) {
               return item.get() == channel;
             }),
             list.end());
  pending.push_back(std::move(event));
  return true;
}

void Qln_Session::ProcessCloseRequests(std::vector<NetEvent>& pending) {
  for (auto it = m_closeRequests.begin(); it != m_closeRequests.end();) {
    Channel* channel = it->related;
    bool finished = true;
    if (channel != nullptr && OwnsRecord(channel)) finished = TryFreeRecordLocked(channel, pending);
    if (!finished) {
      ++it;
      continue;
    }
    if (it->done) it->done->store(true, std::memory_order_release);
    it = m_closeRequests.erase(it);
  }
}

// ---- the session thread ----

void Qln_Session::ProcessConnectRequests(std::vector<Watch>& watches, std::vector<NetEvent>& pending) {
  for (auto it = m_connectRequests.begin(); it != m_connectRequests.end();) {
    Channel* channel = FindChannel(it->channelKind);
    NetEvent finished = MakeEvent(kEventConnectFinished, it->channelKind);
    finished.peer = it->peer;
    if (channel == nullptr) {
      finished.failed = 1;
      pending.push_back(std::move(finished));
      it = m_connectRequests.erase(it);
      continue;
    }
    if (!channel->connectStarted) {
      channel->connectStarted = 1;
      it->related = channel;
      SocketStatus status = Socket::Connect(channel->socket, it->peer.GetSocketAddress());
      if (status == SocketStatus::Done) {
        channel->connectStarted = 0;
        channel->connected = 1;
        channel->remoteAddress = it->peer;
        pending.push_back(std::move(finished));
        it = m_connectRequests.erase(it);
        continue;
      }
      if (status != SocketStatus::InProgress && status != SocketStatus::WouldBlock) {
        channel->connectStarted = 0;
        finished.failed = 1;
        FailOutgoing(channel, pending);
        pending.push_back(std::move(finished));
        it = m_connectRequests.erase(it);
        continue;
      }
    }
    watches.push_back({channel, kPollWrite});
    ++it;
  }
}

void Qln_Session::FailOutgoing(Channel* channel, std::vector<NetEvent>& pending) {
  if (!PAL::ThreadManager::LockMutex(channel->sendMutex)) return;
  std::vector<SendOutcome> outcomes;
  channel->DropOutgoingLocked(outcomes);
  PAL::ThreadManager::UnlockMutex(channel->sendMutex);
  PostSendOutcomes(channel->kind, outcomes, &pending);
}

void Qln_Session::WatchOutgoing(std::vector<Watch>& watches) {
  for (auto* list : {&m_channels, &m_connections}) {
    for (auto& channel : *list) {
      // A stream still connecting keeps its messages until it is connected (or fails).
      const bool ready = channel->socketType == kDatagramSocket || (channel->connected && !channel->connectStarted);
      if (channel->IsOpen() && ready && channel->HasOutgoing()) watches.push_back({channel.get(), kPollWrite});
    }
  }
}

void Qln_Session::CheckDeadlines(std::vector<NetEvent>& pending) {
  (void)pending;
  const double now = PAL::GetMonotonicMilliseconds();
  for (auto* list : {&m_channels, &m_connections}) {
    for (auto& channel : *list) {
      if (!channel->IsOpen()) continue;
      // A stranger who never joins would hold a connection, and its buffers, for good.
      if (channel->accepted && !channel->joined && now - channel->acceptedAt > m_limits.joinTimeoutMs) {
        QueueCloseLocked(channel.get(), true, nullptr);
        continue;
      }
      if (!channel->HasOutgoing() || !channel->connected || !PAL::ThreadManager::LockMutex(channel->sendMutex)) continue;
      const bool stalled = now - channel->GetLastOutgoingProgressLocked() > m_limits.sendStallMs;
      PAL::ThreadManager::UnlockMutex(channel->sendMutex);
      if (stalled) QueueCloseLocked(channel.get(), true, nullptr);
    }
  }
}

void Qln_Session::AcceptConnections(Channel* listener, std::vector<NetEvent>& pending) {
  for (std::size_t count = 0; count < kAcceptsPerPass; ++count) {
    SocketAddress peer;
    SocketStatus status;
    SocketHandle accepted = Socket::Accept(listener->socket, peer, status, true);
    if (accepted == kInvalidSocket) return;
    auto record = std::make_unique<Channel>();
    record->socket = accepted;
    record->socketType = kStreamSocket;
    record->kind = listener->kind;
    record->mode = listener->mode;
    record->options = listener->options;
    record->accepted = 1;
    record->connected = 1;
    record->acceptedAt = PAL::GetMonotonicMilliseconds();
    record->remoteAddress.SetSocketAddress(peer);
    record->remoteAddress.UpdateText();
    record->GetLocalAddress();
    // Accepted sockets do not inherit the listener's options on Linux; the session thread must
    // never block on one.
    record->ApplyOptions(record->options & ~(kOptionBroadcast | kOptionReuseAddress));
    NetEvent event = MakeEvent(kEventConnectionAccepted, listener->kind);
    event.peer = record->remoteAddress;
    if (!record->CreateLocks(Threads())) {
      record->CloseSocket();
      event.failed = 1;
    } else {
      event.related = record.get();
      m_connections.push_back(std::move(record));
    }
    pending.push_back(std::move(event));
  }
}

bool Qln_Session::ReadStream(Channel* channel, const NetAddress& peer, std::vector<NetEvent>& pending,
                             bool& onError) {
  onError = false;
  std::size_t waiting = Socket::GetPendingBytes(channel->socket);
  // A readable socket with nothing waiting has reached its end (or an error): one recv tells.
  std::size_t want = std::min(std::max<std::size_t>(waiting, 1), kReadChunk);
  if (!channel->EnsureBuffer(static_cast<std::uint32_t>(std::max<std::size_t>(want, 4096)), true)) return false;
  SocketStatus status;
  std::int64_t received = channel->Receive(channel->receiveBuffer.data(), static_cast<std::int64_t>(want), status);
  if (received == 0) return false;
  if (received < 0) {
    if (status == SocketStatus::WouldBlock) return true;
    onError = status != SocketStatus::Disconnected;
    return false;
  }
  std::vector<std::uint8_t*> messages;
  StreamBuffer::Result result =
      channel->stream.Append(channel->receiveBuffer.data(), static_cast<std::size_t>(received), messages);
  for (std::uint8_t* message : messages) {
    NetEvent event = MakeEvent(kEventMessageReceived, channel->kind);
    event.SetMessage(message, ReadMessageLength(message));
    event.peer = peer;
    pending.push_back(std::move(event));
  }
  if (result == StreamBuffer::Result::Malformed) {
    onError = true;
    return false;
  }
  return true;
}

void Qln_Session::ReceiveDatagrams(Channel* channel, std::vector<NetEvent>& pending, std::size_t limit) {
  if (!channel->EnsureBuffer(kMaximumDatagramSize, true)) return;
  for (std::size_t count = 0; count < limit; ++count) {
    SocketAddress sender;
    SocketStatus status;
    // Never waits, even on a blocking socket: the session lock is held here.
    std::int64_t received = Socket::ReceiveFrom(channel->socket, channel->receiveBuffer.data(), kMaximumDatagramSize,
                                                sender, status, true);
    // Errors on a datagram socket (a stray ICMP report, nothing waiting) never close it: an
    // empty or forged datagram must not be able to shut a listener down.
    if (received < 0) return;
    std::uint32_t type = 0;
    const std::uint8_t* payload = nullptr;
    std::uint32_t payloadSize = 0;
    if (!ParseDatagram(channel->receiveBuffer.data(), static_cast<std::size_t>(received), type, payload,
                       payloadSize)) {
      continue;
    }
    std::uint8_t* message = AllocateMessage(static_cast<std::uint32_t>(received));
    std::memcpy(message, channel->receiveBuffer.data(), static_cast<std::size_t>(received));
    NetEvent event = MakeEvent(kEventMessageReceived, channel->kind);
    event.SetMessage(message, static_cast<std::uint32_t>(received));
    event.peer.SetSocketAddress(sender);
    event.peer.UpdateText();
    event.droppable = true;
    pending.push_back(std::move(event));
  }
}

void Qln_Session::HandleReadable(Channel* channel, std::vector<NetEvent>& pending) {
  if (channel->closed) return;
  if (channel->listening) {
    AcceptConnections(channel, pending);
    return;
  }
  if (!PAL::ThreadManager::LockMutex(channel->receiveMutex)) return;
  if (channel->socketType == kDatagramSocket) {
    ReceiveDatagrams(channel, pending, kDatagramsPerPass);
    PAL::ThreadManager::UnlockMutex(channel->receiveMutex);
    return;
  }
  bool onError = false;
  bool open = ReadStream(channel, channel->remoteAddress, pending, onError);
  PAL::ThreadManager::UnlockMutex(channel->receiveMutex);
  if (!open) QueueCloseLocked(channel, onError, nullptr);
}

void Qln_Session::HandleWritable(Channel* channel, bool failed, std::vector<NetEvent>& pending) {
  if (channel->connectStarted) {
    SocketStatus status = Socket::GetConnectResult(channel->socket);
    if (status == SocketStatus::InProgress || status == SocketStatus::WouldBlock) return;
    channel->connectStarted = 0;
    for (auto it = m_connectRequests.begin(); it != m_connectRequests.end();) {
      if (it->related != channel) {
        ++it;
        continue;
      }
      NetEvent finished = MakeEvent(kEventConnectFinished, it->channelKind);
      finished.peer = it->peer;
      if (status == SocketStatus::Done && !failed) {
        channel->connected = 1;
        channel->remoteAddress = it->peer;
      } else {
        channel->connected = 0;
        finished.failed = 1;
        FailOutgoing(channel, pending);
      }
      pending.push_back(std::move(finished));
      it = m_connectRequests.erase(it);
    }
    return;
  }
  if (channel->closed || !PAL::ThreadManager::LockMutex(channel->sendMutex)) return;
  std::vector<SendOutcome> outcomes;
  const bool ok = channel->FlushOutgoingLocked(outcomes);
  PAL::ThreadManager::UnlockMutex(channel->sendMutex);
  PostSendOutcomes(channel->kind, outcomes, &pending);
  if (!ok) QueueCloseLocked(channel, true, nullptr);
}

void Qln_Session::PostAll(std::vector<NetEvent>& pending, PAL::Thread* poster) {
  for (NetEvent& event : pending) {
    if (!m_queue.Post(event, poster)) event.FreeMessageData();
  }
  pending.clear();
}

void Qln_Session::SessionThread(PAL::Thread* thread) {
  Qln_Session* session = static_cast<Qln_Session*>(thread->GetUserData());
  std::vector<Watch> watches;
  std::vector<PollEntry> entries;
  std::vector<Channel*> entryChannels;
  std::vector<NetEvent> pending;
  for (;;) {
    if (!PAL::ThreadManager::WriteLock(session->m_lock)) break;
    if (!thread->IsRunning()) {
      PAL::ThreadManager::UnlockRWLock(session->m_lock);
      break;
    }
    watches.clear();
    // A full queue is drained before more is read from a stream: its peer then waits on the
    // transport's own flow control, and no reliable message is dropped.
    const bool queueFull = session->m_queue.IsFull();
    session->ProcessCloseRequests(pending);
    session->ProcessConnectRequests(watches, pending);
    session->CheckDeadlines(pending);
    session->WatchOutgoing(watches);
    for (auto& channel : session->m_channels) {
      // A stream that is neither listening nor connected reports a hang-up, not data: it is
      // watched only once it has a peer.
      bool ready = channel->socketType != kStreamSocket || channel->listening || (channel->connected && !queueFull);
      if (channel->IsOpen() && (channel->mode & kModeWatchRead) && !channel->connectStarted && ready) {
        watches.push_back({channel.get(), kPollRead});
      }
    }
    for (auto& connection : session->m_connections) {
      if (connection->IsOpen() && (connection->mode & kModeWatchRead) && !queueFull) {
        watches.push_back({connection.get(), kPollRead});
      }
    }
    // One entry per socket, with every event wanted of it.
    entries.clear();
    entryChannels.clear();
    for (const Watch& watch : watches) {
      auto found = std::find(entryChannels.begin(), entryChannels.end(), watch.channel);
      if (found != entryChannels.end()) {
        entries[static_cast<std::size_t>(found - entryChannels.begin())].wanted |= watch.wanted;
        continue;
      }
      PollEntry entry;
      entry.socket = watch.channel->socket;
      entry.wanted = watch.wanted;
      entries.push_back(entry);
      entryChannels.push_back(watch.channel);
    }
    PAL::ThreadManager::UnlockRWLock(session->m_lock);
    // Posting happens outside the lock: a handler running under the queue never waits on us.
    session->PostAll(pending, thread);

    if (entries.empty()) {
      PAL::ThreadManager::Sleep(session->m_selectTimeout, thread);
      continue;
    }
    // Records are freed only by this thread, so the pointers stay valid across the wait.
    std::int32_t ready =
        Socket::Poll(entries.data(), entries.size(), static_cast<std::int32_t>(session->m_selectTimeout));
    if (ready < 0) PAL::ThreadManager::Sleep(session->m_selectTimeout, thread);
    if (ready <= 0) continue;

    if (!PAL::ThreadManager::WriteLock(session->m_lock)) break;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].returned == 0) continue;
      Channel* channel = entryChannels[i];
      if ((entries[i].wanted & kPollWrite) && (entries[i].returned & (kPollWrite | kPollError))) {
        session->HandleWritable(channel, false, pending);
      }
      if ((entries[i].wanted & kPollRead) && (entries[i].returned & kPollRead)) {
        session->HandleReadable(channel, pending);
      }
    }
    PAL::ThreadManager::UnlockRWLock(session->m_lock);
    session->PostAll(pending, thread);
  }
  // Whatever was gathered but could not be posted is freed here.
  for (NetEvent& event : pending) event.FreeMessageData();
  SignalThreadExit(session->m_mutex, session->m_condition, session->m_sessionThreadExited);
}

// ---- receiving on the caller's thread ----

bool Qln_Session::ReceiveNow(std::uint32_t kind, std::vector<NetEvent>& events, std::uint32_t timeoutMs) {
  if (!m_initialised || !PAL::ThreadManager::ReadLock(m_lock)) return false;
  Channel* channel = FindChannel(kind);
  std::vector<Channel*> sources;
  if (channel != nullptr) {
    channel->RaiseUseCount();
    if (channel->listening) {
      for (auto& connection : m_connections) {
        if (connection->kind == kind && connection->IsOpen()) {
          connection->RaiseUseCount();
          sources.push_back(connection.get());
        }
      }
    } else {
      sources.push_back(channel);
    }
  }
  PAL::ThreadManager::UnlockRWLock(m_lock);
  if (channel == nullptr) return false;

  const double limit = channel->IsNonBlocking() ? 0.0 : static_cast<double>(timeoutMs);
  RealStopwatch waited;
  waited.Start();
  std::vector<NetEvent> received;
  std::vector<Channel*> ended;
  std::vector<Channel*> failed;
  // The session thread completes a queued connect and writes the remote address under the session
  // lock, so each pass copies the addresses there; the lock is never taken under a receive mutex.
  std::vector<std::uint8_t> connected(sources.size(), 0);
  std::vector<NetAddress> peers(sources.size());
  for (;;) {
    if (!PAL::ThreadManager::ReadLock(m_lock)) break;
    for (std::size_t i = 0; i < sources.size(); ++i) {
      connected[i] = sources[i]->connected;
      if (connected[i]) peers[i] = sources[i]->remoteAddress;
    }
    PAL::ThreadManager::UnlockRWLock(m_lock);
    for (std::size_t i = 0; i < sources.size(); ++i) {
      Channel* source = sources[i];
      if (std::find(ended.begin(), ended.end(), source) != ended.end()) continue;
      // A stream without its peer yet reports a hang-up, not data: reading it would close it.
      if (source->socketType == kStreamSocket && !connected[i]) continue;
      PollEntry entry;
      entry.socket = source->socket;
      entry.wanted = kPollRead;
      if (Socket::Poll(&entry, 1, 0) <= 0 || (entry.returned & kPollRead) == 0) continue;
      if (!PAL::ThreadManager::LockMutex(source->receiveMutex)) continue;
      if (source->socketType == kDatagramSocket) {
        ReceiveDatagrams(source, received, kDatagramsPerPass);
      } else {
        bool onError = false;
        if (!ReadStream(source, peers[i], received, onError)) {
          ended.push_back(source);
          if (onError) failed.push_back(source);
        }
      }
      PAL::ThreadManager::UnlockMutex(source->receiveMutex);
    }
    if (!received.empty() || ended.size() == sources.size() || waited.GetElapsed() >= limit) break;
    PAL::ThreadManager::Sleep(1, nullptr);
  }
  if (!ended.empty() && PAL::ThreadManager::WriteLock(m_lock)) {
    for (Channel* source : ended) {
      QueueCloseLocked(source, std::find(failed.begin(), failed.end(), source) != failed.end(), nullptr);
    }
    PAL::ThreadManager::UnlockRWLock(m_lock);
  }
  for (Channel* source : sources) {
    if (source != channel) source->LowerUseCount();
  }
  channel->LowerUseCount();
  for (NetEvent& event : received) events.push_back(std::move(event));
  return true;
}

void Qln_Session::DispatchEvents(std::uint32_t timeLimitMs, std::uint32_t idleLimitMs, std::uint32_t* delivered,
                                 std::uint32_t* remaining) {
  if (delivered != nullptr) *delivered = 0;
  if (remaining != nullptr) *remaining = 0;
  if (!m_initialised) return;
  // A handler may destroy this session while it is being dispatched: the reference keeps it whole
  // until the dispatch is over (a session nobody holds by reference is the caller's to keep).
  Core::SmartPointer<Qln_Session> keep(GetReferenceCount() > 0 ? this : nullptr);
  m_queue.Dispatch(timeLimitMs, idleLimitMs, delivered, remaining);
}

// ---- lifetime ----

bool Qln_Session::Close() {
  // A handler delivered during the close may ask for it again.
  if (!m_initialised || m_closing.exchange(true)) return false;
  StopBroadcastThread();
  StopAndAwaitThreadExit(Threads(), m_sessionThread, m_mutex, m_condition, m_sessionThreadExited);
  m_sessionThread = nullptr;
  // Delivery threads end before any channel goes: a handler on a worker thread may be sending on
  // one right now.
  m_queue.Stop();

  std::vector<NetEvent> closed;
  if (PAL::ThreadManager::WriteLock(m_lock)) {
    for (auto* list : {&m_connections, &m_channels}) {
      for (auto& channel : *list) {
        NetEvent event = MakeEvent(channel->accepted ? kEventConnectionClosed : kEventChannelClosed, channel->kind);
        if (channel->accepted) event.peer = channel->remoteAddress;
        closed.push_back(std::move(event));
        // The last messages (a goodbye) go as far as the socket takes them without waiting.
        std::vector<SendOutcome> outcomes;
        if (channel->connected && PAL::ThreadManager::LockMutex(channel->sendMutex)) {
          channel->FlushOutgoingLocked(outcomes);
          PAL::ThreadManager::UnlockMutex(channel->sendMutex);
        }
        channel->CloseSocket();
        channel->DestroyLocks(Threads());
      }
      list->clear();
    }
    m_connectRequests.clear();
    for (NetEvent& request : m_closeRequests) {
      if (request.done) request.done->store(true, std::memory_order_release);
    }
    m_closeRequests.clear();
    PAL::ThreadManager::UnlockRWLock(m_lock);
  }
  // What was queued first, then the closes, on this thread.
  m_queue.DeliverAll();
  for (NetEvent& event : closed) Deliver(event);

  Threads().DestroyCondition(m_condition);
  Threads().DestroyMutex(m_mutex);
  Threads().DestroyRWLock(m_lock);
  m_condition = nullptr;
  m_mutex = nullptr;
  m_lock = nullptr;
  m_hosting = 0;
  m_initialised = 0;
  m_closing = false;
  DeliverDirect(kEventSessionClosed, kNoKind);
  return true;
}

}  // namespace Network
