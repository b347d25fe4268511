// Reading and writing a session's channels, held to the session's limits: sends are queued per
// connection and never wait on the peer; reads are cut into messages no larger than the peer may
// send yet and queued one by one against the event queue's bounds.
#include <algorithm>
#include <cstring>
#include <utility>

#include "network/Network_Message.h"
#include "network/Network_Session.h"

namespace Network {
namespace {

constexpr std::size_t kDatagramsPerPass = 64;

}  // namespace

// ---- sending ----

bool Qln_Session::Send(std::uint32_t kind, std::uint32_t messageType, const void* data, std::uint32_t size,
                       const NetAddress& target, std::uint32_t* sent) {
  if (size > kMaximumMessageSize - kMessageHeaderSize || (size > 0 && data == nullptr)) return false;
  Gate gate(*this);
  if (!gate || !PAL::ThreadManager::ReadLock(m_lock)) return false;
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
  const bool queued = writer != nullptr && (writer->mode & kModeQueueSends) != 0;
  const std::size_t backlogLimit = m_limits.outgoingQueueBytes;
  PAL::ThreadManager::UnlockRWLock(m_lock);
  if (writer == nullptr) return false;

  const std::uint32_t total = size + kMessageHeaderSize;
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

bool Qln_Session::FlushOutgoing(Channel* channel, PAL::Thread* poster) {
  if (!PAL::ThreadManager::LockMutex(channel->sendMutex)) return true;
  std::vector<SendOutcome> outcomes;
  const bool ok = channel->FlushOutgoingLocked(outcomes);
  PAL::ThreadManager::UnlockMutex(channel->sendMutex);
  std::vector<NetEvent> finished;
  PostSendOutcomes(channel->kind, outcomes, &finished);
  PostAll(finished, poster);
  // Refused only as the session thread stops (this is its own call): the close reports them.
  for (NetEvent& event : finished) m_unposted.push_back(std::move(event));
  return ok;
}

void Qln_Session::FailOutgoing(Channel* channel, std::vector<NetEvent>& pending) {
  if (!PAL::ThreadManager::LockMutex(channel->sendMutex)) return;
  std::vector<SendOutcome> outcomes;
  channel->DropOutgoingLocked(outcomes);
  PAL::ThreadManager::UnlockMutex(channel->sendMutex);
  PostSendOutcomes(channel->kind, outcomes, &pending);
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

// ---- the limits of a peer ----

bool Qln_Session::SetChannelJoined(std::uint32_t kind, const NetAddress& peer, bool joined) {
  Gate gate(*this);
  if (!gate || !PAL::ThreadManager::WriteLock(m_lock)) return false;
  Channel* connection = FindConnection(kind, peer);
  if (connection != nullptr) connection->joined = joined;
  PAL::ThreadManager::UnlockRWLock(m_lock);
  return connection != nullptr;
}

bool Qln_Session::SetLimits(const SessionLimits& limits) {
  Gate gate(*this);
  if (!gate || !PAL::ThreadManager::WriteLock(m_lock)) return false;
  m_limits = limits;
  PAL::ThreadManager::UnlockRWLock(m_lock);
  return true;
}

SessionLimits Qln_Session::GetLimits() {
  Gate gate(*this);
  // A session that is not open holds nobody to anything: it answers with the defaults.
  if (!gate || !PAL::ThreadManager::ReadLock(m_lock)) return SessionLimits();
  SessionLimits limits = m_limits;
  PAL::ThreadManager::UnlockRWLock(m_lock);
  return limits;
}

std::uint32_t Qln_Session::MessageLimit(const Channel* channel, const SessionLimits& limits) {
  // A connection this session made chose its peer; an accepted one is held to a player's sizes,
  // a stranger's smaller still.
  if (!channel->accepted) return kMaximumMessageSize;
  return std::min(channel->joined ? limits.joinedMessageSize : limits.preJoinMessageSize, kMaximumMessageSize);
}

std::uint32_t Qln_Session::MessageBudget(const Channel* channel, const SessionLimits& limits) {
  if (!channel->accepted || channel->joined) return kNoKind;
  return limits.preJoinMessages > channel->receivedBeforeJoin ? limits.preJoinMessages - channel->receivedBeforeJoin : 0;
}

// ---- receiving ----

Qln_Session::ReadEnd Qln_Session::ReadStream(Channel* channel, std::uint32_t maximumMessage, std::size_t readLimit,
                                             std::vector<std::uint8_t*>& messages) {
  std::size_t waiting = Socket::GetPendingBytes(channel->socket);
  // A readable socket with nothing waiting has reached its end (or an error): one recv tells.
  std::size_t want = std::min(std::max<std::size_t>(waiting, 1), std::max<std::size_t>(readLimit, 1));
  if (!channel->EnsureBuffer(static_cast<std::uint32_t>(std::max<std::size_t>(want, 4096)), true)) return ReadEnd::Failed;
  SocketStatus status;
  std::int64_t received = channel->Receive(channel->receiveBuffer.data(), static_cast<std::int64_t>(want), status);
  if (received == 0) return ReadEnd::Ended;
  if (received < 0) {
    if (status == SocketStatus::WouldBlock) return ReadEnd::Open;
    return status == SocketStatus::Disconnected ? ReadEnd::Ended : ReadEnd::Failed;
  }
  StreamBuffer::Result result = channel->stream.Append(channel->receiveBuffer.data(), static_cast<std::size_t>(received),
                                                       messages, maximumMessage);
  return result == StreamBuffer::Result::Malformed ? ReadEnd::Failed : ReadEnd::Open;
}

NetEvent Qln_Session::MakeMessageEvent(std::uint8_t* message, std::uint32_t channelKind, const NetAddress& peer) const {
  NetEvent event = MakeEvent(kEventMessageReceived, channelKind);
  event.SetMessage(message, ReadMessageLength(message));
  event.peer = peer;
  return event;
}

void Qln_Session::ReceiveDatagrams(Channel* channel, std::vector<NetEvent>& received, std::size_t limit) {
  if (!channel->EnsureBuffer(kMaximumDatagramSize, true)) return;
  for (std::size_t count = 0; count < limit; ++count) {
    SocketAddress sender;
    SocketStatus status;
    // Never waits, even on a blocking socket.
    std::int64_t size = Socket::ReceiveFrom(channel->socket, channel->receiveBuffer.data(), kMaximumDatagramSize,
                                            sender, status, true);
    // Errors on a datagram socket (a stray ICMP report, nothing waiting) never close it: an
    // empty or forged datagram must not be able to shut a listener down.
    if (size < 0) return;
    std::uint32_t type = 0;
    const std::uint8_t* payload = nullptr;
    std::uint32_t payloadSize = 0;
    if (!ParseDatagram(channel->receiveBuffer.data(), static_cast<std::size_t>(size), type, payload, payloadSize)) {
      continue;
    }
    std::uint8_t* message = AllocateMessage(static_cast<std::uint32_t>(size));
    std::memcpy(message, channel->receiveBuffer.data(), static_cast<std::size_t>(size));
    NetAddress peer;
    peer.SetSocketAddress(sender);
    peer.UpdateText();
    NetEvent event = MakeMessageEvent(message, channel->kind, peer);
    event.droppable = true;
    received.push_back(std::move(event));
  }
}

Qln_Session::ReadEnd Qln_Session::ReadAndPost(Channel* channel, const Watch& watch, const SessionLimits& limits,
                                              PAL::Thread* poster) {
  if (!PAL::ThreadManager::LockMutex(channel->receiveMutex)) return ReadEnd::Open;
  if (channel->socketType == kDatagramSocket) {
    std::vector<NetEvent> received;
    ReceiveDatagrams(channel, received, kDatagramsPerPass);
    PAL::ThreadManager::UnlockMutex(channel->receiveMutex);
    // A datagram the queue refuses is dropped and counted there.
    PostAll(received, poster);
    return ReadEnd::Open;
  }
  std::vector<std::uint8_t*> messages;
  const std::uint32_t budget = MessageBudget(channel, limits);
  ReadEnd end = ReadStream(channel, MessageLimit(channel, limits), limits.readChunkBytes, messages);
  PAL::ThreadManager::UnlockMutex(channel->receiveMutex);
  std::size_t kept = messages.size();
  // A stranger past its budget is only flooding: it goes.
  if (budget != kNoKind && kept > budget) {
    kept = budget;
    end = ReadEnd::Failed;
  }
  if (budget != kNoKind) channel->receivedBeforeJoin += static_cast<std::uint32_t>(kept);
  for (std::size_t i = 0; i < messages.size(); ++i) {
    if (i >= kept) {
      FreeMessage(messages[i]);
      continue;
    }
    NetEvent event = MakeMessageEvent(messages[i], channel->kind, watch.peer);
    event.sourceQueued = channel->queued;
    channel->held.push_back(std::move(event));
  }
  // What the queue has no room for yet waits with the connection: nothing a peer sent is lost to
  // another's flood, and the peer that fills the queue is the one that waits. (A connection with
  // held messages is not read, so its end is seen only once they are in.)
  PostHeld(channel, limits, poster);
  return end;
}

bool Qln_Session::PostHeld(Channel* channel, const SessionLimits& limits, PAL::Thread* poster) {
  while (!channel->held.empty()) {
    NetEvent& event = channel->held.front();
    const std::size_t queued = channel->queued->load(std::memory_order_acquire);
    if (channel->accepted && queued > 0 && queued + EventQueue::Cost(event) > limits.queueShareBytes) return false;
    // The queue took a copy and owns its buffer now.
    if (!m_queue.Post(event, poster)) return false;
    channel->held.pop_front();
  }
  return true;
}

bool Qln_Session::ReadsMore(const Channel* channel, std::size_t queueBytes) const {
  if (channel->socketType != kStreamSocket || channel->listening) return true;
  if (queueBytes >= EventQueue::kMaximumBytes) return false;
  return !channel->accepted || channel->queued->load(std::memory_order_acquire) < m_limits.queueShareBytes;
}

// ---- receiving on the caller's thread ----

bool Qln_Session::ReceiveNow(std::uint32_t kind, std::vector<NetEvent>& events, std::uint32_t timeoutMs) {
  Gate gate(*this);
  if (!gate || !PAL::ThreadManager::ReadLock(m_lock)) return false;
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
  const SessionLimits limits = m_limits;
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
  std::vector<std::uint8_t*> messages;
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
        messages.clear();
        ReadEnd end = ReadStream(source, MessageLimit(source, limits), limits.readChunkBytes, messages);
        for (std::uint8_t* message : messages) received.push_back(MakeMessageEvent(message, source->kind, peers[i]));
        if (end != ReadEnd::Open) {
          ended.push_back(source);
          if (end == ReadEnd::Failed) failed.push_back(source);
        }
      }
      PAL::ThreadManager::UnlockMutex(source->receiveMutex);
    }
    // A closing session waits for this call to leave the gate: the wait ends with it.
    if (!received.empty() || ended.size() == sources.size() || waited.GetElapsed() >= limit || m_closing) break;
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

}  // namespace Network
