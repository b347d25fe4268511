#include "network/Network_Event.h"

#include <algorithm>
#include <mutex>
#include <utility>

#include "network/Network_Message.h"

namespace Network {

void NetEvent::SetMessage(std::uint8_t* message, std::uint32_t totalLength) {
  data = message;
  size = totalLength;
  if (message != nullptr && totalLength >= kMessageHeaderSize) {
    messageType = ReadMessageType(message);
    payload = message + kMessageHeaderSize;
    payloadSize = totalLength - kMessageHeaderSize;
  } else {
    messageType = kNoKind;
    payload = nullptr;
    payloadSize = 0;
  }
}

void NetEvent::FreeMessageData() {
  FreeMessage(data);
  data = nullptr;
  size = 0;
  payload = nullptr;
  payloadSize = 0;
}

void StopAndAwaitThreadExit(PAL::ThreadManager& manager, PAL::Thread* thread, PAL::MutexHandle mutex,
                            PAL::ConditionHandle condition, const bool& exited) {
  if (thread == nullptr || !PAL::ThreadManager::LockMutex(mutex)) return;
  // A thread that has left has freed its record: asked again, it is not looked for.
  if (!exited) manager.StopThread(thread, false);
  while (!exited) {
    if (!PAL::ThreadManager::WaitCondition(condition, mutex)) {
      PAL::ThreadManager::UnlockMutex(mutex);
      PAL::ThreadManager::Sleep(1, nullptr);
      PAL::ThreadManager::LockMutex(mutex);
    }
  }
  PAL::ThreadManager::UnlockMutex(mutex);
}

void SignalThreadExit(PAL::MutexHandle mutex, PAL::ConditionHandle condition, bool& exited) {
  PAL::ThreadManager::LockMutex(mutex);
  exited = true;
  PAL::ThreadManager::SignalCondition(condition, true);
  PAL::ThreadManager::UnlockMutex(mutex);
}

struct EventQueue::HandlerRecord {
  NetEvent event;
  EventQueue* queue = nullptr;
  // Copied as the record is made: the handler may change its event while the worker reads these.
  bool accept = false;
  std::uint32_t channelKind = kNoKind;
  NetAddress peer;
};

namespace {

thread_local DeliveryContext* t_delivery = nullptr;
// Guards every queue's record of the deliveries standing aside: a close follows them from queue to
// queue. Taken after a queue's own mutexes, never before.
std::mutex g_asideMutex;

// Delivers on a worker or handler thread with its context set; true when the queue is still there.
bool DeliverFromThread(EventQueue* queue, bool handlerThread, const EventQueue::DeliverFunction& deliver,
                       NetEvent& event, bool polled = false) {
  DeliveryContext context;
  context.queue = queue;
  context.handlerThread = handlerThread;
  context.polled = polled;
  context.outer = t_delivery;
  t_delivery = &context;
  deliver(event);
  t_delivery = context.outer;
  return !context.queueGone;
}

}  // namespace

EventQueue::EventQueue() = default;

EventQueue::~EventQueue() {
  Stop();
  for (DeliveryContext* context = t_delivery; context != nullptr; context = context->outer) {
    if (context->queue == this) context->queueGone = true;
  }
  // Nobody will deliver these any more: their buffers are ours to free.
  for (NetEvent& event : m_events) event.FreeMessageData();
  m_events.clear();
  m_threadManager.DestroyCondition(m_exitCondition);
  m_threadManager.DestroyMutex(m_exitMutex);
  m_threadManager.DestroyMutex(m_queueMutex);
}

bool EventQueue::Start(DeliverFunction deliver, bool threaded, std::uint32_t maximumHandlerThreads,
                       std::int32_t priority, std::uint32_t waitPeriodMs) {
  if (!deliver || m_queueMutex != nullptr) return false;
  m_queueMutex = m_threadManager.CreateMutex(0);
  m_exitMutex = m_queueMutex != nullptr ? m_threadManager.CreateMutex(0) : nullptr;
  m_exitCondition = m_exitMutex != nullptr ? m_threadManager.CreateCondition() : nullptr;
  if (m_exitCondition == nullptr) {
    m_threadManager.DestroyMutex(m_exitMutex);
    m_threadManager.DestroyMutex(m_queueMutex);
    m_exitMutex = nullptr;
    m_queueMutex = nullptr;
    return false;
  }
  m_deliver = std::move(deliver);
  m_waitPeriod = waitPeriodMs;
  m_priority = priority;
  m_maximumHandlers = maximumHandlerThreads;
  m_stopping.store(false, std::memory_order_release);
  if (!threaded) {
    m_mode = kPolled;
    return true;
  }
  m_mode = maximumHandlerThreads == 0 ? kWorker : kWorkerWithHandlerThreads;
  m_workerExited = false;
  m_worker = m_threadManager.CreateThread(&EventQueue::WorkerThread, nullptr, this, priority, false);
  return m_worker != nullptr;
}

bool EventQueue::Post(const NetEvent& event, PAL::Thread* poster) {
  if (m_queueMutex == nullptr || !PAL::ThreadManager::LockMutex(m_queueMutex)) return false;
  bool accepted = !IsStopping() && (poster == nullptr || poster->IsRunning());
  const std::size_t cost = Cost(event);
  if (accepted && event.kind == kEventMessageReceived) {
    const std::size_t events = event.droppable ? kMaximumEventsForDatagrams : kMaximumEvents;
    const std::size_t bytes = event.droppable ? kMaximumBytesForDatagrams : kMaximumBytes;
    if (m_events.size() >= events || (!m_events.empty() && m_queuedBytes + cost > bytes)) {
      accepted = false;
      if (event.droppable) ++m_dropped;
    }
  }
  if (accepted) {
    m_events.push_back(event);
    m_queuedBytes += cost;
    m_peakBytes = std::max(m_peakBytes, m_queuedBytes);
    if (event.sourceQueued) event.sourceQueued->fetch_add(cost, std::memory_order_acq_rel);
  }
  PAL::ThreadManager::UnlockMutex(m_queueMutex);
  return accepted;
}

bool EventQueue::IsFull() {
  if (m_queueMutex == nullptr || !PAL::ThreadManager::LockMutex(m_queueMutex)) return false;
  bool full = m_events.size() >= kMaximumEvents || m_queuedBytes >= kMaximumBytes;
  PAL::ThreadManager::UnlockMutex(m_queueMutex);
  return full;
}

std::size_t EventQueue::GetQueuedBytes() {
  if (m_queueMutex == nullptr || !PAL::ThreadManager::LockMutex(m_queueMutex)) return 0;
  std::size_t bytes = m_queuedBytes;
  PAL::ThreadManager::UnlockMutex(m_queueMutex);
  return bytes;
}

std::size_t EventQueue::GetPeakQueuedBytes() {
  if (m_queueMutex == nullptr || !PAL::ThreadManager::LockMutex(m_queueMutex)) return 0;
  std::size_t bytes = m_peakBytes;
  PAL::ThreadManager::UnlockMutex(m_queueMutex);
  return bytes;
}

void EventQueue::Unqueued(const NetEvent& event) {
  const std::size_t cost = Cost(event);
  m_queuedBytes -= std::min(m_queuedBytes, cost);
  if (event.sourceQueued) event.sourceQueued->fetch_sub(cost, std::memory_order_acq_rel);
}

std::uint64_t EventQueue::GetDroppedCount() {
  if (m_queueMutex == nullptr || !PAL::ThreadManager::LockMutex(m_queueMutex)) return 0;
  std::uint64_t dropped = m_dropped;
  PAL::ThreadManager::UnlockMutex(m_queueMutex);
  return dropped;
}

bool EventQueue::PopFront(NetEvent& event, bool whileRunning) {
  if (m_queueMutex == nullptr || !PAL::ThreadManager::LockMutex(m_queueMutex)) return false;
  bool found = !m_events.empty() && !(whileRunning && IsStopping());
  if (found) {
    event = std::move(m_events.front());
    m_events.pop_front();
    Unqueued(event);
  }
  PAL::ThreadManager::UnlockMutex(m_queueMutex);
  return found;
}

std::size_t EventQueue::GetCount() {
  if (m_queueMutex == nullptr || !PAL::ThreadManager::LockMutex(m_queueMutex)) return 0;
  std::size_t count = m_events.size();
  PAL::ThreadManager::UnlockMutex(m_queueMutex);
  return count;
}

std::uint32_t EventQueue::GetRunningHandlerCount() {
  if (m_queueMutex == nullptr || !PAL::ThreadManager::LockMutex(m_queueMutex)) return 0;
  std::uint32_t count = m_runningHandlers;
  PAL::ThreadManager::UnlockMutex(m_queueMutex);
  return count;
}

void EventQueue::Dispatch(double timeLimitMs, double idleLimitMs, std::uint32_t* delivered,
                          std::uint32_t* remaining) {
  // Each call's own: a handler that dispatches again must not restart its caller's budget.
  RealStopwatch dispatchTime;
  dispatchTime.Start();
  RealStopwatch pacing;
  pacing.Start();
  double allowedOversleep = 0.0;
  std::uint32_t count = 0;
  if (remaining != nullptr) *remaining = static_cast<std::uint32_t>(GetCount());
  // A handler may close the session (and so stop this queue) from inside the loop.
  while (dispatchTime.GetElapsed() < timeLimitMs && !IsStopping()) {
    NetEvent event;
    // The event leaves the queue before it is delivered, so a handler that calls back into its
    // session (which may post) cannot deadlock on the queue mutex; one drainer keeps the order.
    if (PopForDispatch(event)) {
      // Counted while it runs: a close on another thread waits for it.
      if (!DeliverFromThread(this, false, m_deliver, event, true)) {
        if (delivered != nullptr) *delivered = count + 1;
        return;
      }
      DispatchEnded();
      ++count;
      if (remaining != nullptr) *remaining = static_cast<std::uint32_t>(GetCount());
      continue;
    }
    if (dispatchTime.GetElapsed() >= idleLimitMs) break;
    if (pacing.GetElapsed() > allowedOversleep) {
      pacing.Reset();
      pacing.Start();
      PAL::ThreadManager::Sleep(m_waitPeriod, nullptr);
      allowedOversleep = pacing.GetElapsed() - m_waitPeriod;
    } else {
      PAL::ThreadManager::Sleep(0, nullptr);
    }
  }
  if (delivered != nullptr) *delivered = count;
}

bool EventQueue::PopForDispatch(NetEvent& event) {
  if (m_queueMutex == nullptr || !PAL::ThreadManager::LockMutex(m_queueMutex)) return false;
  // Never once the queue stops: Stop counts the deliveries under way as it sets the flag.
  bool found = !m_events.empty() && !IsStopping();
  if (found) {
    event = std::move(m_events.front());
    m_events.pop_front();
    Unqueued(event);
    ++m_dispatching;
  }
  PAL::ThreadManager::UnlockMutex(m_queueMutex);
  return found;
}

void EventQueue::DispatchEnded() {
  PAL::ThreadManager::LockMutex(m_exitMutex);
  PAL::ThreadManager::LockMutex(m_queueMutex);
  --m_dispatching;
  PAL::ThreadManager::UnlockMutex(m_queueMutex);
  PAL::ThreadManager::SignalCondition(m_exitCondition, true);
  PAL::ThreadManager::UnlockMutex(m_exitMutex);
}

void EventQueue::DeliverAll(const bool& stop) {
  // A copy: the function goes with the queue.
  const DeliverFunction deliver = m_deliver;
  NetEvent event;
  while (PopFront(event)) {
    deliver(event);
    event = NetEvent();
    if (stop) return;
  }
}

void EventQueue::SleepWaitPeriod(PAL::Thread* thread) {
  // Never a busy loop: a zero period still waits a millisecond between looks at an empty queue.
  PAL::ThreadManager::Sleep(m_waitPeriod == 0 ? 1 : m_waitPeriod, thread);
}

void EventQueue::WorkerThread(PAL::Thread* thread) {
  EventQueue* queue = static_cast<EventQueue*>(thread->GetUserData());
  // A copy: a handler may destroy the queue, and with it the function, while it runs.
  const DeliverFunction deliver = queue->m_deliver;
  while (thread->IsRunning()) {
    if (queue->m_mode == kWorker) {
      NetEvent event;
      if (queue->PopFront(event, true)) {
        if (!DeliverFromThread(queue, false, deliver, event)) return;
        continue;
      }
    } else if (PAL::ThreadManager::LockMutex(queue->m_queueMutex)) {
      HandlerRecord* record = nullptr;
      const bool room = queue->m_runningHandlers < queue->m_maximumHandlers && !queue->IsStopping();
      const auto next = room ? queue->NextReady() : queue->m_events.end();
      if (next != queue->m_events.end()) {
        record = new HandlerRecord();
        record->event = std::move(*next);
        record->queue = queue;
        record->accept = record->event.kind == kEventConnectionAccepted;
        record->channelKind = record->event.channelKind;
        record->peer = record->event.peer;
        queue->m_events.erase(next);
        queue->Unqueued(record->event);
        ++queue->m_runningHandlers;
        queue->m_running.push_back(record);
      }
      PAL::ThreadManager::UnlockMutex(queue->m_queueMutex);
      if (record != nullptr) {
        if (queue->m_threadManager.CreateThread(&EventQueue::HandlerThread, &EventQueue::HandlerThreadExit, record,
                                                queue->m_priority, false) == nullptr) {
          // No thread for it: the worker delivers it itself, as a worker and not as a handler
          // thread, so that a handler closing its session here is not waited for by its own Stop.
          queue->HandlerEnded(record);
          const bool queueLeft = DeliverFromThread(queue, false, deliver, record->event);
          delete record;
          if (!queueLeft) return;
        }
        continue;
      }
    }
    queue->SleepWaitPeriod(thread);
  }
  SignalThreadExit(queue->m_exitMutex, queue->m_exitCondition, queue->m_workerExited);
}

void EventQueue::HandlerThread(PAL::Thread* thread) {
  HandlerRecord* record = static_cast<HandlerRecord*>(thread->GetUserData());
  const DeliverFunction deliver = record->queue->m_deliver;
  if (!DeliverFromThread(record->queue, true, deliver, record->event)) record->queue = nullptr;
}

void EventQueue::HandlerThreadExit(PAL::Thread* thread) {
  HandlerRecord* record = static_cast<HandlerRecord*>(thread->GetUserData());
  // Stop waits for the running count to reach zero, so the queue outlives every handler but one
  // that destroyed it itself.
  EventQueue* queue = record->queue;
  if (queue != nullptr) queue->HandlerEnded(record);
  delete record;
}

bool EventQueue::WaitsForItsAccept(const NetEvent& event) const {
  if (event.kind != kEventConnectionClosed) return false;
  for (const HandlerRecord* running : m_running) {
    if (running->accept && running->channelKind == event.channelKind && running->peer == event.peer) return true;
  }
  return false;
}

std::deque<NetEvent>::iterator EventQueue::NextReady() {
  std::vector<const NetEvent*> held;
  for (auto it = m_events.begin(); it != m_events.end(); ++it) {
    bool behindHeld = false;
    for (const NetEvent* close : held) {
      behindHeld = behindHeld || (close->channelKind == it->channelKind && close->peer == it->peer);
    }
    if (!behindHeld && !WaitsForItsAccept(*it)) return it;
    held.push_back(&*it);
  }
  return m_events.end();
}

void EventQueue::HandlerEnded(const HandlerRecord* record) {
  // The count drops under the exit mutex: once Stop, holding it, sees the count low enough, the
  // handler has let go of the queue's locks and the queue may go.
  PAL::ThreadManager::LockMutex(m_exitMutex);
  PAL::ThreadManager::LockMutex(m_queueMutex);
  --m_runningHandlers;
  m_running.erase(std::remove(m_running.begin(), m_running.end(), record), m_running.end());
  PAL::ThreadManager::UnlockMutex(m_queueMutex);
  PAL::ThreadManager::SignalCondition(m_exitCondition, true);
  PAL::ThreadManager::UnlockMutex(m_exitMutex);
}

void EventQueue::WaitForExits(const std::function<bool()>& done, bool poll) {
  if (!PAL::ThreadManager::LockMutex(m_exitMutex)) return;
  while (!done()) {
    if (poll || !PAL::ThreadManager::WaitCondition(m_exitCondition, m_exitMutex)) {
      PAL::ThreadManager::UnlockMutex(m_exitMutex);
      PAL::ThreadManager::Sleep(1, nullptr);
      PAL::ThreadManager::LockMutex(m_exitMutex);
    }
  }
  PAL::ThreadManager::UnlockMutex(m_exitMutex);
}

void EventQueue::Stop() { StopAndWait(false); }

void EventQueue::StopForClose() { StopAndWait(true); }

void EventQueue::StopAndWait(bool forClose) {
  if (m_queueMutex == nullptr) return;
  PAL::ThreadManager::LockMutex(m_queueMutex);
  m_stopping.store(true, std::memory_order_release);
  PAL::ThreadManager::UnlockMutex(m_queueMutex);
  // The deliveries this thread is inside: it cannot wait for those (a handler may dispatch again).
  // Those of other queues tell which deliveries standing aside may be waiting for this thread.
  bool onWorker = false;
  std::uint32_t own = 0;
  std::vector<const EventQueue*> running;
  for (const DeliveryContext* context = t_delivery; context != nullptr; context = context->outer) {
    if (context->queue != this) {
      if (!context->queueGone) running.push_back(context->queue);
      continue;
    }
    if (context->byClose) continue;
    if (context->handlerThread || context->polled) {
      ++own;
    } else {
      onWorker = true;
    }
  }
  // For a close, this thread's own deliveries stand aside with the rest: none of them is waited for.
  StandAside aside(this);
  if (m_worker != nullptr) {
    if (forClose) {
      PAL::ThreadManager::LockMutex(m_exitMutex);
      if (!m_workerExited) m_threadManager.StopThread(m_worker, false);
      PAL::ThreadManager::UnlockMutex(m_exitMutex);
      WaitForExits(
          [this, &running] {
            if (m_workerExited) return true;
            std::lock_guard<std::mutex> registry(g_asideMutex);
            return m_workerAsideFor != nullptr && ReachesCloser(m_workerAsideFor, running);
          },
          true);
    } else if (onWorker) {
      // A handler that closes its session stops the queue from a delivery thread: that thread
      // cannot wait for itself, and leaves once its handler returns.
      m_threadManager.StopThread(m_worker, false);
    } else {
      StopAndAwaitThreadExit(m_threadManager, m_worker, m_exitMutex, m_exitCondition, m_workerExited);
    }
  }
  // Handler threads finish the event they carry and touch the queue on their way out, so the
  // queue waits for every one of them: a handler that sends on its session is never left
  // running on a freed session. Polled deliveries on other threads too: a thread that dispatches
  // is a handler thread of its own.
  WaitForExits(
      [this, forClose, own, &running] {
        PAL::ThreadManager::LockMutex(m_queueMutex);
        const std::uint32_t busy = m_runningHandlers + m_dispatching;
        PAL::ThreadManager::UnlockMutex(m_queueMutex);
        std::uint32_t waived = own;
        if (forClose) {
          std::lock_guard<std::mutex> registry(g_asideMutex);
          waived = static_cast<std::uint32_t>(std::count_if(
              m_asideFor.begin(), m_asideFor.end(),
              [this, &running](const EventQueue* waitsFor) { return ReachesCloser(waitsFor, running); }));
        }
        return busy <= waived;
      },
      forClose);
}

bool EventQueue::ReachesCloser(const EventQueue* waitsFor, const std::vector<const EventQueue*>& running) const {
  // A queue stays alive while a delivery stands aside waiting for its close, so every queue met
  // here is still there.
  std::vector<const EventQueue*> seen;
  std::vector<const EventQueue*> next = {waitsFor};
  while (!next.empty()) {
    const EventQueue* queue = next.back();
    next.pop_back();
    if (queue == this || std::find(running.begin(), running.end(), queue) != running.end()) return true;
    if (std::find(seen.begin(), seen.end(), queue) != seen.end()) continue;
    seen.push_back(queue);
    next.insert(next.end(), queue->m_asideFor.begin(), queue->m_asideFor.end());
    for (const EventQueue* further : {queue->m_workerAsideFor, queue->m_closerAsideFor}) {
      if (further != nullptr) next.push_back(further);
    }
  }
  return false;
}

void EventQueue::SetAside(DeliveryContext& context, bool aside, const EventQueue* waitsFor) {
  PAL::ThreadManager::LockMutex(m_exitMutex);
  {
    std::lock_guard<std::mutex> registry(g_asideMutex);
    if (context.byClose) {
      m_closerAsideFor = aside ? waitsFor : nullptr;
    } else if (context.handlerThread || context.polled) {
      if (aside) {
        m_asideFor.push_back(waitsFor);
      } else {
        auto found = std::find(m_asideFor.begin(), m_asideFor.end(), context.waitsFor);
        if (found != m_asideFor.end()) m_asideFor.erase(found);
      }
    } else {
      m_workerAsideFor = aside ? waitsFor : nullptr;
    }
  }
  context.aside = aside;
  context.waitsFor = aside ? waitsFor : nullptr;
  PAL::ThreadManager::SignalCondition(m_exitCondition, true);
  PAL::ThreadManager::UnlockMutex(m_exitMutex);
}

EventQueue::StandAside::StandAside(const EventQueue* waitsFor) {
  for (DeliveryContext* context = t_delivery; context != nullptr; context = context->outer) {
    if (context->aside || context->queueGone) continue;
    context->queue->SetAside(*context, true, waitsFor);
    m_contexts.push_back(context);
  }
}

EventQueue::StandAside::~StandAside() {
  // A queue destroyed meanwhile (by this thread) has nobody left to tell.
  for (DeliveryContext* context : m_contexts) {
    if (!context->queueGone) context->queue->SetAside(*context, false, nullptr);
  }
}

EventQueue::CloseDeliveries::CloseDeliveries(EventQueue& queue) {
  m_context.queue = &queue;
  m_context.byClose = true;
  m_context.outer = t_delivery;
  t_delivery = &m_context;
}

EventQueue::CloseDeliveries::~CloseDeliveries() { t_delivery = m_context.outer; }

bool EventQueue::CallerDelivery::Begin() {
  if (m_counted || m_queue.m_queueMutex == nullptr || !PAL::ThreadManager::LockMutex(m_queue.m_queueMutex)) {
    return false;
  }
  // Never once the queue stops: Stop counts the deliveries under way as it sets the flag.
  m_counted = !m_queue.IsStopping();
  if (m_counted) ++m_queue.m_dispatching;
  PAL::ThreadManager::UnlockMutex(m_queue.m_queueMutex);
  if (!m_counted) return false;
  m_context.queue = &m_queue;
  m_context.polled = true;
  m_context.outer = t_delivery;
  t_delivery = &m_context;
  return true;
}

EventQueue::CallerDelivery::~CallerDelivery() {
  if (!m_counted) return;
  t_delivery = m_context.outer;
  if (!m_context.queueGone) m_queue.DispatchEnded();
}

}  // namespace Network
