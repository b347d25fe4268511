// Closing a session's channels and connections: closes are requested from any thread and carried
// out by the session thread once nobody uses the record; the session's own close stops its threads
// and closes everything at once.
#include <algorithm>
#include <iterator>
#include <utility>

#include "network/Network_Session.h"

namespace Network {

bool Qln_Session::CloseClientChannel(bool wait) { return CloseChannels(kChannelDiscovery, wait); }

void Qln_Session::StopHosting() {
  std::shared_ptr<std::atomic<bool>> done;
  // The wait too is inside: a destruction on another thread waits for it, and a close ends it.
  Gate gate(*this);
  if (!gate) return;
  // The announcement goes with the hosting, so that the session can host (and announce) again.
  StopBroadcastThread();
  QueueCloseInside(kChannelBroadcast, nullptr, nullptr);
  if (PAL::ThreadManager::WriteLock(m_lock)) {
    // The listener is marked closed under the same lock as its connections are queued: the
    // session thread admits nothing more, so no connection outlives the hosting.
    if (Channel* listener = FindChannel(kChannelHostListen)) {
      done = std::make_shared<std::atomic<bool>>(false);
      QueueCloseLocked(listener, false, done);
    }
    for (auto& connection : m_connections) {
      if (connection->kind == kChannelHostListen) QueueCloseLocked(connection.get(), false, nullptr);
    }
    PAL::ThreadManager::UnlockRWLock(m_lock);
  }
  // Waited for: a fixed listening port is free again when hosting starts anew.
  if (done) WaitDone(done);
  m_hosting = 0;
}

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
    // A closing session closes everything itself, and may be waiting for this very thread (a
    // handler) to return first: waiting on would only hold both up.
    if (waited.GetElapsed() >= kCloseWaitMs || m_closing) return done->load(std::memory_order_acquire);
    PAL::ThreadManager::Sleep(1, nullptr);
  }
  return true;
}

bool Qln_Session::QueueCloseInside(std::uint32_t kind, const NetAddress* peer,
                                   std::shared_ptr<std::atomic<bool>>* done) {
  // The session thread never posts or delivers while it holds this lock, so waiting for it here
  // cannot deadlock against a handler: a close is never dropped because the lock was busy.
  if (!PAL::ThreadManager::WriteLock(m_lock)) return false;
  Channel* channel = peer != nullptr ? FindConnection(kind, *peer) : FindChannel(kind);
  if (channel != nullptr) {
    if (done != nullptr) *done = std::make_shared<std::atomic<bool>>(false);
    QueueCloseLocked(channel, false, done != nullptr ? *done : nullptr);
  }
  PAL::ThreadManager::UnlockRWLock(m_lock);
  return channel != nullptr;
}

bool Qln_Session::CloseChannels(std::uint32_t kind, bool wait) {
  // Waited for inside the gate, which the session's close ends; a wait that ran out is no success:
  // the channel may still be open.
  std::shared_ptr<std::atomic<bool>> done;
  Gate gate(*this);
  return gate && QueueCloseInside(kind, nullptr, wait ? &done : nullptr) && (!done || WaitDone(done));
}

bool Qln_Session::RequestClose(std::uint32_t kind, const NetAddress& peer, bool wait) {
  std::shared_ptr<std::atomic<bool>> done;
  Gate gate(*this);
  return gate && QueueCloseInside(kind, &peer, wait ? &done : nullptr) && (!done || WaitDone(done));
}

bool Qln_Session::ReleaseRecordLocked(Channel* channel, std::vector<NetEvent>& pending) {
  if (channel->released) return true;
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
  channel->released = 1;
  pending.push_back(std::move(event));
  return true;
}

bool Qln_Session::FreeRecordLocked(Channel* channel) {
  if (channel->GetDeliveryHolds() > 0) return false;
  channel->DestroyLocks(Threads());
  auto& list = channel->accepted ? m_connections : m_channels;
  list.erase(std::remove_if(list.begin(), list.end(), [channel](const std::unique_ptr<Channel>& item) {
               return item.get() == channel;
             }),
             list.end());
  return true;
}

void Qln_Session::ProcessCloseRequests(std::vector<NetEvent>& pending) {
  for (auto it = m_closeRequests.begin(); it != m_closeRequests.end();) {
    Channel* channel = it->related;
    const bool owned = channel != nullptr && OwnsRecord(channel);
    if (owned && !ReleaseRecordLocked(channel, pending)) {
      ++it;
      continue;
    }
    // The connection is closed: its waiter hears so now, even while a delivery keeps the record.
    if (it->done) {
      it->done->store(true, std::memory_order_release);
      it->done.reset();
    }
    if (owned && !FreeRecordLocked(channel)) {
      ++it;
      continue;
    }
    it = m_closeRequests.erase(it);
  }
}

bool Qln_Session::Close() {
  // A handler delivered during the close may ask for it again.
  if (!ShutGate()) return false;
  // Every call inside is bounded and gives up its waits now; one that outlasts the limit keeps the
  // records from being freed under it.
  const bool emptied = WaitGateEmpty(kCloseWaitMs);
  StopBroadcastThread();
  StopAndAwaitThreadExit(Threads(), m_sessionThread, m_mutex, m_condition, m_sessionThreadExited);
  m_sessionThread = nullptr;
  // Deliveries on other threads end before any channel goes, and none begins after: the session
  // closed event comes last. (A delivery whose thread waits in a close itself stands aside.)
  m_queue.StopForClose();

  std::vector<NetEvent> closed;
  if (emptied) {
    FreeAllRecords(closed, true);
  } else if (PAL::ThreadManager::WriteLock(m_lock)) {
    for (auto* list : {&m_connections, &m_channels}) {
      for (auto& channel : *list) channel->closed = 1;
    }
    m_recordsKept = true;
    PAL::ThreadManager::UnlockRWLock(m_lock);
  }
  // What was queued first, then what the session thread could no longer post, then the closes,
  // on this thread. A handler may destroy the session meanwhile (the owner dropping it as it hears
  // of the close): from then on the close touches nothing of it.
  EventQueue::CloseDeliveries delivery(m_queue);
  const bool& sessionGone = delivery.QueueGone();
  m_queue.DeliverAll(sessionGone);
  if (sessionGone) return true;
  std::vector<NetEvent> unposted = std::move(m_unposted);
  m_unposted.clear();
  unposted.insert(unposted.end(), std::make_move_iterator(closed.begin()), std::make_move_iterator(closed.end()));
  for (NetEvent& event : unposted) {
    if (!sessionGone) {
      Deliver(event);
    } else {
      event.FreeMessageData();
    }
  }
  if (sessionGone) return true;

  PAL::ThreadManager::LockMutex(m_mutex);
  m_hosting = 0;
  m_initialised = 0;
  PAL::ThreadManager::UnlockMutex(m_mutex);
  DeliverDirect(kEventSessionClosed, kNoKind);
  if (sessionGone) return true;
  // The last touch of the session: its destruction on another thread waits for this.
  m_closing = false;
  return true;
}

void Qln_Session::FreeAllRecords(std::vector<NetEvent>& closed, bool keepHeld) {
  std::vector<Channel*> kept;
  // Every delivery that has not stood aside has ended: an accept handler that closes the session
  // from inside, or one on a thread that stood aside, may still read the record its event names.
  std::vector<Channel*>& heldHere = RecordsHeldByDelivery();
  if (!PAL::ThreadManager::WriteLock(m_lock)) return;
  for (auto* list : {&m_connections, &m_channels}) {
    for (auto& channel : *list) {
      channel->closed = 1;
      // The last messages (a goodbye) go as far as the socket takes them without waiting; the rest
      // fail with the session, reported as a channel's own close reports them.
      std::vector<SendOutcome> outcomes;
      if (!channel->released && PAL::ThreadManager::LockMutex(channel->sendMutex)) {
        if (channel->connected) channel->FlushOutgoingLocked(outcomes);
        channel->DropOutgoingLocked(outcomes);
        PAL::ThreadManager::UnlockMutex(channel->sendMutex);
      }
      PostSendOutcomes(channel->kind, outcomes, &closed);
      // A released record's close has been reported already.
      if (!channel->released) {
        NetEvent event = MakeEvent(channel->accepted ? kEventConnectionClosed : kEventChannelClosed, channel->kind);
        if (channel->accepted) event.peer = channel->remoteAddress;
        closed.push_back(std::move(event));
      }
      channel->CloseSocket();
      channel->DestroyLocks(Threads());
      channel->released = 1;
      // Such a record waits for the destructor; the destructor's own freeing tells this thread's
      // deliveries that their record has gone.
      if (keepHeld && channel->GetDeliveryHolds() > 0) {
        kept.push_back(channel.get());
      } else {
        std::replace(heldHere.begin(), heldHere.end(), channel.get(), static_cast<Channel*>(nullptr));
      }
    }
    list->erase(std::remove_if(list->begin(), list->end(),
                               [&kept](const std::unique_ptr<Channel>& channel) {
                                 return std::find(kept.begin(), kept.end(), channel.get()) == kept.end();
                               }),
                list->end());
  }
  m_recordsKept = !kept.empty();
  m_connectRequests.clear();
  for (NetEvent& request : m_closeRequests) {
    if (request.done) request.done->store(true, std::memory_order_release);
  }
  m_closeRequests.clear();
  PAL::ThreadManager::UnlockRWLock(m_lock);
}

}  // namespace Network
