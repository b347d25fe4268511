// The session thread: one pass carries out the queued connects and closes and lists the sockets to
// wait on under the session lock, waits, then reads, writes and accepts without the lock, and
// settles what it found (new connections, closes, finished connects) under the lock again. The
// lock is never held while a peer's bytes are read or written, so a flood on one socket never
// holds up a caller.
#include <algorithm>
#include <utility>

#include "network/Network_Session.h"
#include "platform/PAL_Clock.h"

namespace Network {
namespace {

constexpr std::size_t kAcceptsPerPass = 16;

struct AcceptedSocket {
  Channel* listener = nullptr;
  SocketHandle socket = kInvalidSocket;
  SocketAddress peer;
};

}  // namespace

struct Qln_Session::PassResults {
  std::vector<std::pair<Channel*, bool>> closes;  // the channel and whether it failed
  std::vector<std::pair<Channel*, bool>> connects;  // the channel and whether the socket reported an error
  std::vector<AcceptedSocket> accepted;
  // Connections with received messages the queue had no room for: not read, only retried.
  std::vector<Channel*> held;
  // The limits as the pass began.
  SessionLimits limits;

  void Clear() {
    closes.clear();
    connects.clear();
    accepted.clear();
    held.clear();
  }
};

void Qln_Session::SessionThread(PAL::Thread* thread) {
  Qln_Session* session = static_cast<Qln_Session*>(thread->GetUserData());
  std::vector<Watch> watches;
  std::vector<PollEntry> entries;
  std::vector<NetEvent> pending;
  PassResults results;
  for (;;) {
    if (!session->PreparePass(thread, watches, pending, results)) break;
    // Posting happens outside the lock: a handler running under the queue never waits on us.
    session->PostAll(pending, thread);
    for (Channel* channel : results.held) session->PostHeld(channel, results.limits, thread);
    if (watches.empty()) {
      PAL::ThreadManager::Sleep(session->m_selectTimeout, thread);
      continue;
    }
    entries.resize(watches.size());
    for (std::size_t i = 0; i < watches.size(); ++i) {
      entries[i].socket = watches[i].channel->socket;
      entries[i].wanted = watches[i].wanted;
    }
    // Records are freed only by this thread, so the pointers stay valid across the wait.
    std::int32_t ready = Socket::Poll(entries.data(), entries.size(), static_cast<std::int32_t>(session->m_selectTimeout));
    if (ready < 0) PAL::ThreadManager::Sleep(session->m_selectTimeout, thread);
    if (ready <= 0) continue;
    for (std::size_t i = 0; i < watches.size(); ++i) watches[i].returned = entries[i].returned;

    session->ServeReady(watches, thread, results);
    if (!PAL::ThreadManager::WriteLock(session->m_lock)) break;
    session->FinishPass(results, pending);
    PAL::ThreadManager::UnlockRWLock(session->m_lock);
    session->PostAll(pending, thread);
  }
  // What was gathered but could no longer be posted (a close the owner must hear of) is the
  // session's close to deliver.
  for (NetEvent& event : pending) session->m_unposted.push_back(std::move(event));
  SignalThreadExit(session->m_mutex, session->m_condition, session->m_sessionThreadExited);
}

bool Qln_Session::PreparePass(PAL::Thread* thread, std::vector<Watch>& watches, std::vector<NetEvent>& pending,
                              PassResults& results) {
  if (!PAL::ThreadManager::WriteLock(m_lock)) return false;
  if (!thread->IsRunning()) {
    PAL::ThreadManager::UnlockRWLock(m_lock);
    return false;
  }
  watches.clear();
  results.Clear();
  results.limits = m_limits;
  const double now = PAL::GetMonotonicMilliseconds();
  ProcessCloseRequests(pending);
  CheckDeadlines(now);
  ProcessConnectRequests(watches, pending);
  WatchOutgoing(watches);
  const bool accepting = now >= m_acceptResumesAt;
  auto watchRead = [&](Channel* channel) {
    for (Watch& watch : watches) {
      if (watch.channel == channel) {
        watch.wanted |= kPollRead;
        return;
      }
    }
    Watch watch;
    watch.channel = channel;
    watch.wanted = kPollRead;
    watches.push_back(std::move(watch));
  };
  // The owner drains the queue: until it has, a stream whose messages fill the queue, or its
  // share of it, is left unread and its peer's kernel holds the peer back.
  const std::size_t queueBytes = m_queue.GetQueuedBytes();
  for (auto* list : {&m_channels, &m_connections}) {
    for (auto& channel : *list) {
      if (!channel->IsOpen() || (channel->mode & kModeWatchRead) == 0 || channel->connectStarted) continue;
      // A stream that is neither listening nor connected reports a hang-up, not data: it is
      // watched only once it has a peer.
      const bool ready = channel->socketType != kStreamSocket || (channel->listening ? accepting : channel->connected != 0);
      if (!ready) continue;
      if (!channel->held.empty()) {
        results.held.push_back(channel.get());
      } else if (ReadsMore(channel.get(), queueBytes)) {
        watchRead(channel.get());
      }
    }
  }
  for (Watch& watch : watches) {
    watch.peer = watch.channel->remoteAddress;
    watch.listening = watch.channel->listening != 0;
    watch.connecting = watch.channel->connectStarted != 0;
  }
  PAL::ThreadManager::UnlockRWLock(m_lock);
  return true;
}

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
    Watch watch;
    watch.channel = channel;
    watch.wanted = kPollWrite;
    watches.push_back(std::move(watch));
    ++it;
  }
}

void Qln_Session::WatchOutgoing(std::vector<Watch>& watches) {
  for (auto* list : {&m_channels, &m_connections}) {
    for (auto& channel : *list) {
      // A stream still connecting keeps its messages until it is connected (or fails).
      const bool ready = channel->socketType == kDatagramSocket || (channel->connected && !channel->connectStarted);
      if (!channel->IsOpen() || !ready || !channel->HasOutgoing()) continue;
      Watch watch;
      watch.channel = channel.get();
      watch.wanted = kPollWrite;
      watches.push_back(std::move(watch));
    }
  }
}

void Qln_Session::CheckDeadlines(double now) {
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

void Qln_Session::ServeReady(std::vector<Watch>& watches, PAL::Thread* thread, PassResults& results) {
  for (Watch& watch : watches) {
    if (watch.returned == 0) continue;
    Channel* channel = watch.channel;
    if ((watch.wanted & kPollWrite) && (watch.returned & (kPollWrite | kPollError))) {
      if (watch.connecting) {
        results.connects.emplace_back(channel, false);
      } else if (!FlushOutgoing(channel, thread)) {
        results.closes.emplace_back(channel, true);
      }
    }
    if ((watch.wanted & kPollRead) == 0 || (watch.returned & kPollRead) == 0) continue;
    if (watch.listening) {
      for (std::size_t count = 0; count < kAcceptsPerPass; ++count) {
        AcceptedSocket accepted;
        accepted.listener = channel;
        SocketStatus status;
        accepted.socket = Socket::Accept(channel->socket, accepted.peer, status, true);
        if (accepted.socket != kInvalidSocket) {
          results.accepted.push_back(accepted);
          continue;
        }
        // A connection reset before it was taken costs nothing; anything else (no descriptors
        // left) would fail again at once while the socket stays readable: accepting pauses.
        if (status == SocketStatus::Disconnected) continue;
        if (status != SocketStatus::WouldBlock) m_acceptResumesAt = PAL::GetMonotonicMilliseconds() + results.limits.acceptBackoffMs;
        break;
      }
      continue;
    }
    ReadEnd end = ReadAndPost(channel, watch, results.limits, thread);
    if (end != ReadEnd::Open) results.closes.emplace_back(channel, end == ReadEnd::Failed);
  }
}

void Qln_Session::FinishPass(PassResults& results, std::vector<NetEvent>& pending) {
  for (const auto& connect : results.connects) FinishConnect(connect.first, connect.second, pending);
  AdmitConnections(results, pending);
  for (const auto& close : results.closes) QueueCloseLocked(close.first, close.second, nullptr);
}

void Qln_Session::FinishConnect(Channel* channel, bool failed, std::vector<NetEvent>& pending) {
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
}

void Qln_Session::AdmitConnections(PassResults& results, std::vector<NetEvent>& pending) {
  const std::size_t cap = m_maximumPlayers == 0 ? static_cast<std::size_t>(-1)
                                                : static_cast<std::size_t>(m_maximumPlayers) + m_limits.connectionMargin;
  for (const AcceptedSocket& accepted : results.accepted) {
    Channel* listener = accepted.listener;
    std::size_t open = 0;
    for (const auto& connection : m_connections) open += connection->kind == listener->kind && connection->closed == 0;
    // Past the cap a connection is refused at once: it never gets a record, a buffer or an event.
    if (listener->closed || open >= cap) {
      Socket::Close(accepted.socket);
      continue;
    }
    auto record = std::make_unique<Channel>();
    record->socket = accepted.socket;
    record->socketType = kStreamSocket;
    record->kind = listener->kind;
    record->mode = listener->mode;
    record->options = listener->options;
    record->accepted = 1;
    record->connected = 1;
    record->acceptedAt = PAL::GetMonotonicMilliseconds();
    record->remoteAddress.SetSocketAddress(accepted.peer);
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

void Qln_Session::PostAll(std::vector<NetEvent>& pending, PAL::Thread* poster) {
  // A datagram the queue refuses is dropped; anything else is refused only as the thread stops,
  // and stays in pending for the session's close.
  std::vector<NetEvent> refused;
  for (NetEvent& event : pending) {
    if (m_queue.Post(event, poster)) continue;
    if (event.droppable) {
      event.FreeMessageData();
    } else {
      refused.push_back(std::move(event));
    }
  }
  pending = std::move(refused);
}

}  // namespace Network
