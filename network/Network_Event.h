#pragma once
// What happens in a session reaches its owner as events: a record per happening, queued by the
// session thread and delivered on the thread that drains the queue (or on worker threads).
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "platform/PAL_Clock.h"
#include "network/Network_Address.h"
#include "network/Network_Message.h"
#include "platform/PAL_ThreadManager.h"

namespace Network {

class Channel;
class Qln_Session;
struct NetEvent;
class EventQueue;

enum EventKind : std::uint32_t {
  kEventSessionInitialised = 0,
  kEventConnectionAccepted = 1,
  kEventConnectFinished = 2,
  kEventMessageReceived = 3,
  kEventSendFinished = 4,
  kEventChannelOpened = 5,
  kEventChannelClosed = 6,
  kEventConnectionClosed = 7,
  kEventSessionClosed = 8,
  kEventConnectRequest = 9,
  kEventSendRequest = 10,
  kEventCloseRequest = 11,
};

constexpr std::uint32_t kNoKind = 0xFFFFFFFFu;

// Answers true when the engine may free a received message's buffer, false when the handler has
// taken it (it then frees it with FreeMessage).
using EventHandler = std::function<bool(NetEvent& event)>;

struct NetEvent {
  EventHandler handler;
  // The whole message (header included) and its total length; owned by the event until delivery.
  std::uint8_t* data = nullptr;
  std::uint32_t size = 0;
  std::uint32_t kind = kNoKind;
  Qln_Session* session = nullptr;
  std::uint32_t channelKind = kNoKind;
  // Kind 1: the accepted connection. Requests: the channel they concern.
  Channel* related = nullptr;
  NetAddress peer;
  std::uint32_t messageType = kNoKind;
  std::uint8_t* payload = nullptr;
  std::uint32_t payloadSize = 0;
  // Kinds 1, 2 and 4: the accept, connect or send failed. Kinds 6 and 7: the channel was closed
  // because of an error (a malformed stream, a send that could not finish), not by its peer.
  std::uint8_t failed = 0;
  // Close requests: set by the session thread once the close is done; shared so that a waiter who
  // gave up does not leave the thread writing into a dead frame.
  std::shared_ptr<std::atomic<bool>> done;
  bool hasPeer = false;
  // A received datagram: the queue may drop it when full (a stream is read no faster than the
  // queue drains instead, so a reliable message is never lost).
  bool droppable = false;
  // A received stream message: the queued bytes of the connection it came from, which the queue
  // keeps up to date, so that the session reads that connection again once they have gone.
  std::shared_ptr<std::atomic<std::size_t>> sourceQueued;

  // Takes a whole message block: the type, the payload view and the length come from its header.
  void SetMessage(std::uint8_t* message, std::uint32_t totalLength);
  // Frees the message block (if any) and clears the views on it.
  void FreeMessageData();
};

// Time limits of the network engine run on the real monotonic clock: the game's clock may be a
// test's fixed one or a replay's, under which a wait for a peer would never run out.
class RealStopwatch {
 public:
  void Start() { m_start = PAL::GetMonotonicMilliseconds(); }
  void Reset() { m_start = PAL::GetMonotonicMilliseconds(); }
  double GetElapsed() const { return PAL::GetMonotonicMilliseconds() - m_start; }

 private:
  double m_start = PAL::GetMonotonicMilliseconds();
};

// Tells the thread to stop and waits until it has set exited (under the mutex, with
// SignalThreadExit). The one way this engine waits for one of its threads to leave.
void StopAndAwaitThreadExit(PAL::ThreadManager& manager, PAL::Thread* thread, PAL::MutexHandle mutex,
                            PAL::ConditionHandle condition, const bool& exited);
// The leaving thread's side: sets exited and wakes the waiter.
void SignalThreadExit(PAL::MutexHandle mutex, PAL::ConditionHandle condition, bool& exited);

// What a delivery thread knows of the delivery it is running: a handler may close its session, and
// so stop (or destroy) the queue, from inside it.
struct DeliveryContext {
  EventQueue* queue = nullptr;
  bool handlerThread = false;
  // A polled delivery (Dispatch, or an event a call delivers on its caller's thread), which any
  // thread may run.
  bool polled = false;
  // The delivery this one runs inside, if any (a handler may dispatch again).
  DeliveryContext* outer = nullptr;
  // Set when the queue was destroyed during the delivery: the thread must not touch it again.
  bool queueGone = false;
  // Set while the thread waits for other deliveries (EventQueue::StandAside), with the queue
  // whose close it waits for.
  bool aside = false;
  const EventQueue* waitsFor = nullptr;
  // A delivery the session's close makes itself once the queue has stopped: no close waits for it,
  // but the thread running it is the one a delivery standing aside for that close waits for (and
  // it stands aside in turn when it waits itself).
  bool byClose = false;
};

class EventQueue {
 public:
  // A peer can send faster than a game drains: received messages are held to both bounds, each
  // checked as the message is queued. Bytes count every event's record as well as its message, so
  // that floods of empty messages are bounded too. The byte bound holds one message of the largest
  // size with room beside it for the other connections' messages. A refused stream message stays
  // with its connection, which the session thread does not read again until it has got in (the
  // stream cannot go on without it). Datagrams are dropped (and counted) once the queue holds their
  // own, smaller bounds: a datagram flood never crowds out a stream, nor puts more than a few
  // frames' worth of a game's datagram traffic ahead of a player's next message. Other events
  // (connections, closes) always get in: they are bounded by the connections.
  static constexpr std::size_t kMaximumEvents = 8192;
  static constexpr std::size_t kMaximumBytes = kMaximumMessageSize + 4u * 1024u * 1024u;
  static constexpr std::size_t kMaximumEventsForDatagrams = kMaximumEvents / 8;
  static constexpr std::size_t kMaximumBytesForDatagrams = 2u * 1024u * 1024u;
  static constexpr std::size_t kEventOverheadBytes = sizeof(NetEvent) + 32;

  using DeliverFunction = std::function<void(NetEvent& event)>;
  enum Mode : std::uint32_t { kPolled = 0, kWorker = 1, kWorkerWithHandlerThreads = 2 };

  EventQueue();
  // Stops the workers and frees the buffers of the events still waiting (without delivering them).
  ~EventQueue();
  EventQueue(const EventQueue&) = delete;
  EventQueue& operator=(const EventQueue&) = delete;

  bool Start(DeliverFunction deliver, bool threaded, std::uint32_t maximumHandlerThreads, std::int32_t priority,
             std::uint32_t waitPeriodMs);
  // Appends a copy unless the queue is stopping, the posting thread has been told to stop, or the
  // event is a received message that would pass a bound (a droppable one is then counted as
  // dropped). An empty queue takes a message of any allowed size.
  bool Post(const NetEvent& event, PAL::Thread* poster = nullptr);
  // Polled delivery: hands events to the deliver function until timeLimitMs have passed, or
  // idleLimitMs have passed with the queue empty.
  void Dispatch(double timeLimitMs, double idleLimitMs, std::uint32_t* delivered, std::uint32_t* remaining);
  // Hands every waiting event to the deliver function (the session's close), until a handler sets
  // stop: it destroyed the queue with its session.
  void DeliverAll(const bool& stop);
  // Stops the worker (if any) and waits for it, every handler thread and every polled delivery
  // (Dispatch's, or a call's own) on another thread to leave, except the calling thread's own when
  // a handler on it stops the queue. What the queue's destruction waits for.
  void Stop();
  // The session's close: stops the queue as Stop does, but does not wait for the deliveries that
  // stand aside from it (StandAside); none is taken after it.
  void StopForClose();

  // For as long as it lives, the deliveries the calling thread is inside (of any queue) stand
  // aside: the thread is about to wait for the close of the session whose queue waitsFor is, and
  // may be waited for itself. A close passes by a delivery standing aside only when that delivery
  // may be waiting, directly or through others standing aside, for the closing thread: it waits
  // for this very close, or for the close of a session the closing thread runs a delivery of.
  // Handlers that close each other's sessions, or one that destroys the session another is closing,
  // would otherwise wait for each other for good; any other close still waits for every handler,
  // so a connection's close never comes while its accept handler runs.
  class StandAside {
   public:
    explicit StandAside(const EventQueue* waitsFor);
    ~StandAside();
    StandAside(const StandAside&) = delete;
    StandAside& operator=(const StandAside&) = delete;

   private:
    std::vector<DeliveryContext*> m_contexts;
  };
  // The deliveries a session's close makes itself once the queue has stopped, for as long as it
  // lives (see DeliveryContext::byClose).
  class CloseDeliveries {
   public:
    explicit CloseDeliveries(EventQueue& queue);
    ~CloseDeliveries();
    CloseDeliveries(const CloseDeliveries&) = delete;
    CloseDeliveries& operator=(const CloseDeliveries&) = delete;
    // Set once a handler has destroyed the queue, with its session: the close touches it no more.
    const bool& QueueGone() const { return m_context.queueGone; }

   private:
    DeliveryContext m_context;
  };
  // An event a call delivers on its caller's thread, outside the queue (a channel's open event).
  // From Begin, which fails once the queue stops, until it goes (when the call returns) it counts
  // as a polled delivery: a stop on another thread waits for the whole rest of the call, one on
  // this thread does not, and a handler destroying the queue marks it gone.
  class CallerDelivery {
   public:
    explicit CallerDelivery(EventQueue& queue) : m_queue(queue) {}
    ~CallerDelivery();
    CallerDelivery(const CallerDelivery&) = delete;
    CallerDelivery& operator=(const CallerDelivery&) = delete;
    bool Begin();
    bool QueueGone() const { return m_context.queueGone; }

   private:
    EventQueue& m_queue;
    DeliveryContext m_context;
    bool m_counted = false;
  };
  // At or past a bound.
  bool IsFull();
  // The bytes the bounds count (messages and event records), now and at most since the start.
  std::size_t GetQueuedBytes();
  std::size_t GetPeakQueuedBytes();
  std::uint64_t GetDroppedCount();
  bool IsStopping() const { return m_stopping.load(std::memory_order_acquire); }
  std::uint32_t GetMode() const { return m_mode; }
  std::size_t GetCount();
  std::uint32_t GetRunningHandlerCount();

  PAL::ThreadManager& GetThreadManager() { return m_threadManager; }
  static std::size_t Cost(const NetEvent& event) { return event.size + kEventOverheadBytes; }

 private:
  struct HandlerRecord;
  static void WorkerThread(PAL::Thread* thread);
  static void HandlerThread(PAL::Thread* thread);
  static void HandlerThreadExit(PAL::Thread* thread);
  void HandlerEnded(const HandlerRecord* record);
  // Under the queue mutex: a connection's close waits while a handler thread runs its accept, so
  // that an owner never hears of the close before its accept handler has returned.
  bool WaitsForItsAccept(const NetEvent& event) const;
  // Under the queue mutex: the first event a handler thread may take now. A close held back for its
  // accept holds back only what follows it from the same peer (a new connection from its address),
  // never the rest of the queue: an accept handler may be waiting for one of those events.
  std::deque<NetEvent>::iterator NextReady();
  // With whileRunning, nothing once the queue stops (a worker's pop).
  bool PopFront(NetEvent& event, bool whileRunning = false);
  void SetAside(DeliveryContext& context, bool aside, const EventQueue* waitsFor);
  // Under the aside lock: whether a delivery standing aside for the close of waitsFor may be
  // waiting, through the deliveries standing aside in turn, for this queue's closing thread, which
  // runs deliveries of the queues running.
  bool ReachesCloser(const EventQueue* waitsFor, const std::vector<const EventQueue*>& running) const;
  // Stop and StopForClose.
  void StopAndWait(bool forClose);
  // Under the exit mutex, waits on the exit condition until done holds.
  // With poll, it looks again every millisecond instead: what it waits for may change in another
  // queue, which does not signal this one.
  void WaitForExits(const std::function<bool()>& done, bool poll = false);
  // Dispatch's pop: none once the queue stops; one that is taken counts as under way until
  // DispatchEnded.
  bool PopForDispatch(NetEvent& event);
  void DispatchEnded();
  // Under the queue mutex: the event has left the queue.
  void Unqueued(const NetEvent& event);
  void SleepWaitPeriod(PAL::Thread* thread);

  // Declared first: destroyed last, after everything that uses its locks.
  PAL::ThreadManager m_threadManager;
  std::deque<NetEvent> m_events;
  std::size_t m_queuedBytes = 0;
  std::size_t m_peakBytes = 0;
  std::uint64_t m_dropped = 0;
  std::uint32_t m_mode = kPolled;
  std::atomic<bool> m_stopping{false};
  PAL::MutexHandle m_queueMutex = nullptr;
  PAL::MutexHandle m_exitMutex = nullptr;
  PAL::ConditionHandle m_exitCondition = nullptr;
  PAL::Thread* m_worker = nullptr;
  bool m_workerExited = false;
  DeliverFunction m_deliver;
  std::uint32_t m_runningHandlers = 0;
  // Polled deliveries under way, on any thread; under the queue mutex.
  std::uint32_t m_dispatching = 0;
  // The queues whose close the handler and polled deliveries standing aside wait for, one entry
  // each, and the worker's (null while it does not); under the aside lock, which every queue's
  // close reads them under.
  std::vector<const EventQueue*> m_asideFor;
  const EventQueue* m_workerAsideFor = nullptr;
  // The same for the thread running the deliveries of this queue's close: a close that waits for
  // it goes on waiting through it.
  const EventQueue* m_closerAsideFor = nullptr;
  // The handler threads' records, under the queue mutex.
  std::vector<const HandlerRecord*> m_running;
  std::uint32_t m_maximumHandlers = 0;
  std::uint32_t m_waitPeriod = 0;
  std::int32_t m_priority = 0;
};

}  // namespace Network
