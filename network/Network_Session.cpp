// A session's life and its channels: initialising, opening channels, listening, connecting, the
// look-ups every operation starts with, and dispatching its events. The session thread, channel
// I/O and closing have files of their own.
#include "network/Network_Session.h"

#include <algorithm>
#include <utility>

#include "network/Network_Message.h"

namespace Network {
namespace {

std::atomic<std::uint32_t> g_nextSessionId{0};

}  // namespace

Qln_Session::Qln_Session() : m_sessionId(g_nextSessionId.fetch_add(1)) {
  // The locks live as long as the session: the gate's mutex is taken by every call, even one that
  // a handler makes after it has closed the session.
  m_lock = Threads().CreateRWLock();
  m_mutex = Threads().CreateMutex(0);
  m_controlMutex = Threads().CreateMutex(0);
  m_condition = Threads().CreateCondition();
  m_broadcast = new ("Network_Engine", __LINE__) Qln_Broadcast_Data();
  m_broadcast->session = this;
  m_broadcast->packetMutex = Threads().CreateMutex(0);
}

Qln_Session::~Qln_Session() {
  Close();
  {
    // A handler on a delivery thread may be closing the session right now: that close ends first,
    // and must not wait for the delivery this destruction may run in.
    EventQueue::StandAside aside(&m_queue);
    while (m_closing && m_closingThread.load() != std::this_thread::get_id()) PAL::ThreadManager::Sleep(1, nullptr);
  }
  // Every handler but this thread's own returns, and every call leaves the gate, before anything
  // goes: a handler may go on calling its session after closing it.
  m_queue.Stop();
  WaitGateEmpty(-1.0);
  if (m_recordsKept) {
    // Nobody is left to hear of these closes.
    std::vector<NetEvent> closed;
    FreeAllRecords(closed, false);
  }
  for (NetEvent& event : m_unposted) event.FreeMessageData();
  Threads().DestroyCondition(m_condition);
  Threads().DestroyMutex(m_controlMutex);
  Threads().DestroyMutex(m_mutex);
  Threads().DestroyRWLock(m_lock);
  Threads().DestroyMutex(m_broadcast->packetMutex);
}

// ---- the gate ----

Qln_Session::Gate::Gate(const Qln_Session& session) : m_session(session) {
  if (!PAL::ThreadManager::LockMutex(session.m_mutex)) return;
  m_inside = session.m_initialised && !session.m_closing;
  if (m_inside) ++session.m_callsInside;
  PAL::ThreadManager::UnlockMutex(session.m_mutex);
}

Qln_Session::Gate::~Gate() {
  if (!m_inside) return;
  PAL::ThreadManager::LockMutex(m_session.m_mutex);
  --m_session.m_callsInside;
  PAL::ThreadManager::UnlockMutex(m_session.m_mutex);
}

bool Qln_Session::ShutGate() {
  if (!PAL::ThreadManager::LockMutex(m_mutex)) return false;
  const bool shut = m_initialised && !m_closing;
  if (shut) {
    m_closingThread = std::this_thread::get_id();
    m_closing = true;
  }
  PAL::ThreadManager::UnlockMutex(m_mutex);
  return shut;
}

bool Qln_Session::WaitGateEmpty(double limitMs) const {
  RealStopwatch waited;
  waited.Start();
  for (;;) {
    PAL::ThreadManager::LockMutex(m_mutex);
    const bool empty = m_callsInside == 0;
    PAL::ThreadManager::UnlockMutex(m_mutex);
    if (empty) return true;
    if (limitMs >= 0.0 && waited.GetElapsed() >= limitMs) return false;
    PAL::ThreadManager::Sleep(1, nullptr);
  }
}

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

std::vector<Channel*>& Qln_Session::RecordsHeldByDelivery() {
  thread_local std::vector<Channel*> held;
  return held;
}

Channel* Qln_Session::HoldAcceptedRecord(const NetEvent& event) {
  Gate gate(*this);
  if (!gate || !PAL::ThreadManager::ReadLock(m_lock)) return nullptr;
  Channel* record = nullptr;
  for (const auto& connection : m_connections) {
    if (connection.get() == event.related && connection->IsOpen() && connection->remoteAddress == event.peer) {
      record = connection.get();
      record->RaiseDeliveryHold();
    }
  }
  PAL::ThreadManager::UnlockRWLock(m_lock);
  return record;
}

void Qln_Session::Deliver(NetEvent& event) {
  if (event.kind == kEventConnectionAccepted && event.related != nullptr) {
    // The connection may have closed, and its record gone, since the accept was queued.
    event.related = event.session != nullptr ? event.session->HoldAcceptedRecord(event) : nullptr;
    std::vector<Channel*>& held = RecordsHeldByDelivery();
    held.push_back(event.related);
    if (event.handler) event.handler(event);
    Channel* record = held.back();
    held.pop_back();
    if (record != nullptr) record->LowerDeliveryHold();
    event.related = nullptr;
    return;
  }
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

  if (m_lock == nullptr || m_mutex == nullptr || m_controlMutex == nullptr || m_condition == nullptr ||
      m_broadcast->packetMutex == nullptr) {
    return false;
  }
  if (!m_queue.Start(&Qln_Session::Deliver, threaded, maximumHandlerThreads, priority, waitPeriodMs)) return false;

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
    m_queue.Stop();
    return false;
  }
  PAL::ThreadManager::LockMutex(m_mutex);
  m_initialised = 1;
  PAL::ThreadManager::UnlockMutex(m_mutex);
  DeliverDirect(kEventSessionInitialised, kNoKind);
  return true;
}

void Qln_Session::SetLocalAddress(const NetAddress& address) {
  // Under the lock: an announcement starting on another thread reads them.
  if (!PAL::ThreadManager::WriteLock(m_lock)) return;
  m_address = address;
  m_address.SetPort(0);
  m_address.UpdateText();
  m_addressText = m_address.GetText();
  // The interface's own broadcast address belongs to the address it was found with.
  m_interfaceBroadcast = 0;
  PAL::ThreadManager::UnlockRWLock(m_lock);
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
  EventQueue::CallerDelivery call(m_queue);
  return OpenChannel(call, kind, socketType, address, mode, options);
}

Channel* Qln_Session::OpenChannel(EventQueue::CallerDelivery& call, std::uint32_t kind, std::int32_t socketType,
                                  const NetAddress& address, std::uint32_t mode, std::uint32_t options) {
  Channel* channel = nullptr;
  {
    Gate gate(*this);
    // Begun inside the gate, so that a close, which stops the queue only once the gate is empty,
    // waits for the delivery and the rest of the call.
    if (!gate || (channel = OpenChannelInside(kind, socketType, address, mode, options)) == nullptr || !call.Begin()) {
      return nullptr;
    }
  }
  // Out of the gate: the handler may close the channel or the session, or destroy the session
  // (then the call must not go on with it).
  DeliverDirect(kEventChannelOpened, kind);
  if (call.QueueGone()) return nullptr;
  Gate gate(*this);
  if (!gate || !PAL::ThreadManager::ReadLock(m_lock)) return nullptr;
  if (!OwnsRecord(channel) || channel->closed != 0) channel = nullptr;
  PAL::ThreadManager::UnlockRWLock(m_lock);
  return channel;
}

Channel* Qln_Session::OpenChannelInside(std::uint32_t kind, std::int32_t socketType, const NetAddress& address,
                                        std::uint32_t mode, std::uint32_t options) {
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
  return channel;
}

bool Qln_Session::Listen(std::uint32_t kind, std::uint32_t backlog) {
  Gate gate(*this);
  return gate && ListenInside(kind, backlog);
}

bool Qln_Session::ListenInside(std::uint32_t kind, std::uint32_t backlog) {
  if (!PAL::ThreadManager::ReadLock(m_lock)) return false;
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
  EventQueue::CallerDelivery call(m_queue);
  if (m_hosting || OpenChannel(call, kChannelHostListen, kStreamSocket, address, kModeWatchRead, kOptionNonBlocking) == nullptr) {
    return false;
  }
  // A close that began after the open event's handler returned has shut the gate.
  Gate gate(*this);
  if (!gate) return false;
  std::uint32_t backlog = 0;
  if (PAL::ThreadManager::WriteLock(m_lock)) {
    m_maximumPlayers = maximumPlayers;
    backlog = m_limits.listenBacklog;
    PAL::ThreadManager::UnlockRWLock(m_lock);
  }
  if (!ListenInside(kChannelHostListen, backlog)) {
    QueueCloseInside(kChannelHostListen, nullptr, nullptr);
    return false;
  }
  // Inside the gate: a close cannot have cleared it before.
  m_hosting = 1;
  return true;
}

bool Qln_Session::OpenDiscoveryListener(std::uint16_t port) {
  return OpenChannel(kChannelDiscovery, kDatagramSocket, NetAddress(nullptr, port), kModeWatchRead,
                     kOptionBroadcast | kOptionReuseAddress | kOptionNonBlocking) != nullptr;
}

bool Qln_Session::GetChannelAddress(std::uint32_t kind, NetAddress& address) {
  // The write lock: refreshing the record's address writes it, and two readers could do so at once.
  Gate gate(*this);
  if (!gate || !PAL::ThreadManager::WriteLock(m_lock)) return false;
  Channel* channel = FindChannel(kind);
  if (channel != nullptr) address = channel->GetLocalAddress();
  PAL::ThreadManager::UnlockRWLock(m_lock);
  return channel != nullptr;
}

bool Qln_Session::GetChannelRemoteAddress(std::uint32_t kind, NetAddress& address) {
  Gate gate(*this);
  if (!gate || !PAL::ThreadManager::ReadLock(m_lock)) return false;
  Channel* channel = FindChannel(kind);
  if (channel != nullptr) address = channel->remoteAddress;
  PAL::ThreadManager::UnlockRWLock(m_lock);
  return channel != nullptr;
}

bool Qln_Session::SetChannelMode(std::uint32_t kind, std::uint32_t mode) {
  Gate gate(*this);
  if (!gate || !PAL::ThreadManager::WriteLock(m_lock)) return false;
  Channel* channel = FindChannel(kind);
  if (channel != nullptr) channel->mode = mode;
  PAL::ThreadManager::UnlockRWLock(m_lock);
  return channel != nullptr;
}

// ---- connecting and sending ----

bool Qln_Session::Connect(std::uint32_t kind, const NetAddress& server) {
  Gate gate(*this);
  if (!gate || !PAL::ThreadManager::WriteLock(m_lock)) return false;
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
      // In short steps: a closing session waits for this call to leave the gate.
      while (ready == 0 && waited.GetElapsed() < kConnectTimeoutMs && !m_closing) {
        ready = Socket::Poll(&entry, 1, std::min(static_cast<std::int32_t>(kConnectTimeoutMs - waited.GetElapsed()) + 1, 20));
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

}  // namespace Network
