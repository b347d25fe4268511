#pragma once
// One network endpoint: its channels (UDP and TCP sockets), the connections accepted on its
// listening channel, the requests its session thread carries out, the event queue and, while
// hosting, the announcement broadcast.
#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/Core_Object.h"
#include "network/Network_Address.h"
#include "network/Network_Channel.h"
#include "network/Network_Event.h"
#include "network/Network_Limits.h"

namespace Network {

// The roles of a session's channels.
enum ChannelKind : std::uint32_t {
  kChannelBroadcast = 0,        // the announcement sender
  kChannelDiscovery = 1,        // the announcement listener on the broadcast port
  kChannelHostListen = 2,       // the host's listening channel and the connections it accepts
  kChannelClientStream = 3,     // the client's connection to the host
  kChannelHostDatagram = 4,     // the host's datagram data channel
  kChannelClientDatagram = 5,   // the client's datagram data channel
};

class Qln_Broadcast_Data;

class Qln_Session : public Core::Object {
 public:
  // How long ReceiveNow waits on a blocking channel.
  static constexpr std::uint32_t kReceiveTimeoutMs = 5000;
  // How long a closing call waits for the session thread to confirm the close.
  static constexpr std::uint32_t kCloseWaitMs = 5000;
  // How long Connect on a blocking channel waits for the host to answer.
  static constexpr std::uint32_t kConnectTimeoutMs = 5000;

  Qln_Session();
  ~Qln_Session() override;

  // Initialize, StartListening and StopHosting run on the thread that owns the session (never two
  // at once); Close also on a handler's thread. Every other call may come from any thread.
  //
  // The lifetime rule: every call that touches the channels, the connections, the requests, the
  // announcement or the limits passes the session's gate. It gets in, under the session mutex, only
  // while the session is initialised and not closing (otherwise it fails at once), and it counts
  // itself out when it returns; a wait it makes (for a close) is inside, and ends once the session
  // is closing. The open event a call delivers on its own thread goes out after it has left the
  // gate, and from then until the call returns the call counts as a delivery. Close shuts the gate
  // under that mutex and frees nothing while a call is inside: every call inside is bounded and
  // gives up its waits once the session is closing. A handler therefore never calls Close from
  // inside, and whatever it calls after a close fails without touching freed state. Close then lets
  // every delivery on another thread return (unless that thread itself waits in a close or a
  // destruction that may be waiting for this one; a record such a delivery names is kept), so the
  // session-closed event comes last. The destructor lets every handler but its own thread's
  // return, and every call leave, before it destroys anything.
  bool Initialize(const std::string& name, const std::string& password, bool passwordFlag, EventHandler handler,
                  std::int32_t priority, bool threaded, std::uint32_t maximumHandlerThreads,
                  std::uint32_t waitPeriodMs, std::uint32_t selectTimeoutMs);

  // The channel-opened event goes out on the caller's thread before it returns; null also when its
  // handler closed the channel or the session, or destroyed the session.
  Channel* OpenChannel(std::uint32_t kind, std::int32_t socketType, const NetAddress& address, std::uint32_t mode,
                       std::uint32_t options);
  // Hosts for up to maximumPlayers: it sets the cap on accepted connections (with the limits'
  // margin); the listen backlog is the limits' own.
  bool StartListening(const NetAddress& address, std::uint32_t maximumPlayers);
  bool Listen(std::uint32_t kind, std::uint32_t backlog);
  // Stops the announcement, closes the listening channel and the connections it accepted.
  void StopHosting();
  bool CloseClientChannel(bool wait);
  bool Connect(std::uint32_t kind, const NetAddress& server);
  // Never waits on the peer. A stream message is queued for its connection (the caller writes at
  // once what the socket takes, unless the channel's mode queues sends) and the session thread
  // writes the rest; true once queued. A connection whose queue passes the limits' bound, or that
  // fails, is closed (kind 6 or 7, failed) and the send returns false. A datagram is sent at once,
  // or dropped when the system has no room for it.
  bool Send(std::uint32_t kind, std::uint32_t messageType, const void* data, std::uint32_t size,
            const NetAddress& target, std::uint32_t* sent = nullptr);
  // Marks the accepted connection of the kind to the peer as joined (or not): the owner says so
  // once it accepts the peer's join, before it answers. Until then the connection may send only a
  // few messages of the limits' pre-join size, and is closed when the join time runs out. False when
  // there is no such connection.
  bool SetChannelJoined(std::uint32_t kind, const NetAddress& peer, bool joined);
  // The limits this session holds its peers to (Network_Limits.h); set before hosting. False, and
  // the defaults read back, while the session is not open.
  bool SetLimits(const SessionLimits& limits);
  SessionLimits GetLimits();
  // With wait, false also when the close did not finish within kCloseWaitMs, or before the
  // session's own close began (which then closes it). A handler may close the connection its own
  // accept event names: the event keeps the record readable, not the connection open.
  bool CloseChannels(std::uint32_t kind, bool wait);
  bool RequestClose(std::uint32_t kind, const NetAddress& peer, bool wait);

  bool GetChannelAddress(std::uint32_t kind, NetAddress& address);
  bool GetChannelRemoteAddress(std::uint32_t kind, NetAddress& address);
  bool SetChannelMode(std::uint32_t kind, std::uint32_t mode);

  // Reads at once on the channel of the kind and appends a kind-3 event per complete message. A
  // blocking channel waits up to timeoutMs for a message; a non-blocking one returns at once. The
  // caller owns the buffers of the events (Deliver frees them unless the handler keeps them).
  bool ReceiveNow(std::uint32_t kind, std::vector<NetEvent>& events, std::uint32_t timeoutMs = kReceiveTimeoutMs);
  void DispatchEvents(std::uint32_t timeLimitMs, std::uint32_t idleLimitMs, std::uint32_t* delivered,
                      std::uint32_t* remaining);
  // Hands one event to its handler; a received message's buffer is freed unless the handler keeps it.
  static void Deliver(NetEvent& event);

  // Stops the threads, closes every channel and connection, delivers what is left in the queue and
  // finally a kind-8 event. False when the session is not initialised or already closing. A handler
  // may call it on any delivery thread; it waits for the calls inside the gate to leave (at most
  // kCloseWaitMs; a call still inside then keeps the records, which the destructor frees).
  bool Close();

  bool StartBroadcast(std::uint16_t port, std::uint32_t scope, std::uint32_t intervalMs, std::uint32_t messageType,
                      const void* data, std::uint32_t size, std::int32_t priority);
  bool SetBroadcastData(const void* data, std::uint32_t size);
  bool IsBroadcasting() const;
  // The address the announcement goes to; false while no broadcast runs.
  bool GetBroadcastAddress(NetAddress& address) const;
  bool OpenDiscoveryListener(std::uint16_t port);

  const std::string& GetLocalAddressText() const { return m_addressText; }
  const NetAddress& GetLocalAddress() const { return m_address; }
  // Chooses the address the session calls its own (and broadcasts around), for hosts with several
  // interfaces; Initialize takes the first interface that is up and not loopback.
  void SetLocalAddress(const NetAddress& address);
  const std::string& GetHostName() const { return m_hostName; }
  const std::string& GetSessionName() const { return m_name; }
  bool IsPasswordProtected() const { return m_passwordFlag != 0; }
  const std::string& GetPassword() const { return m_password; }
  bool IsHosting() const { return m_hosting != 0; }
  bool IsInitialised() const { return m_initialised != 0; }
  std::uint32_t GetSessionId() const { return m_sessionId; }
  EventQueue& GetEventQueue() { return m_queue; }

 private:
  friend class Qln_Broadcast_Data;
  // One socket a pass of the session thread waits on, with what the pass needs of its record once
  // the session lock is released: copies taken under the lock.
  struct Watch {
    Channel* channel = nullptr;
    std::uint16_t wanted = 0;
    std::uint16_t returned = 0;
    // The messages' sender.
    NetAddress peer;
    bool listening = false;
    bool connecting = false;
  };
  // What a pass found outside the lock and settles under it.
  struct PassResults;
  enum class ReadEnd : std::uint8_t { Open, Ended, Failed };

  // The session thread and its requests (Network_SessionThread.cpp).
  static void SessionThread(PAL::Thread* thread);
  // Under the session lock: carries out the requests, checks the deadlines and lists the sockets
  // the pass waits on. False once the thread is told to stop.
  bool PreparePass(PAL::Thread* thread, std::vector<Watch>& watches, std::vector<NetEvent>& pending,
                   PassResults& results);
  void ProcessConnectRequests(std::vector<Watch>& watches, std::vector<NetEvent>& pending);
  void CheckDeadlines(double now);
  // Without the session lock: reads, writes and accepts on the sockets that are ready.
  void ServeReady(std::vector<Watch>& watches, PAL::Thread* thread, PassResults& results);
  // Under the session lock: finished connects, new connections (within the cap) and closes.
  void FinishPass(PassResults& results, std::vector<NetEvent>& pending);
  void FinishConnect(Channel* channel, bool failed, std::vector<NetEvent>& pending);
  void AdmitConnections(PassResults& results, std::vector<NetEvent>& pending);
  void PostAll(std::vector<NetEvent>& pending, PAL::Thread* poster);

  // Channel I/O with its buffers and limits (Network_ChannelIO.cpp).
  // The largest message the channel may receive now, and how many more (kNoKind: no limit).
  static std::uint32_t MessageLimit(const Channel* channel, const SessionLimits& limits);
  static std::uint32_t MessageBudget(const Channel* channel, const SessionLimits& limits);
  // Reads what waits on a stream (under its receive mutex) and cuts it into message blocks, each at
  // most maximumMessage bytes. The stream ended: Ended; it broke a limit or failed: Failed.
  ReadEnd ReadStream(Channel* channel, std::uint32_t maximumMessage, std::size_t readLimit,
                     std::vector<std::uint8_t*>& messages);
  void ReceiveDatagrams(Channel* channel, std::vector<NetEvent>& received, std::size_t limit);
  // The session thread's read of one ready channel: every message is queued as it is made; a stream
  // message the queue refuses is held with its connection (PostHeld); one past a stranger's message
  // budget ends its connection (Failed); a refused datagram is dropped.
  ReadEnd ReadAndPost(Channel* channel, const Watch& watch, const SessionLimits& limits, PAL::Thread* poster);
  // Queues the channel's held messages, oldest first, while the queue and the connection's share of
  // it have room; true when none is left.
  bool PostHeld(Channel* channel, const SessionLimits& limits, PAL::Thread* poster);
  // Under the session lock: whether the session thread reads the channel in this pass, given the
  // queue's bytes: a stream is not read while the queue, or its connection's share, is full.
  bool ReadsMore(const Channel* channel, std::size_t queueBytes) const;
  // Writes what the channel's socket takes; false when it failed.
  bool FlushOutgoing(Channel* channel, PAL::Thread* poster);
  void WatchOutgoing(std::vector<Watch>& watches);
  // Messages queued on a stream whose connect failed fail with it.
  void FailOutgoing(Channel* channel, std::vector<NetEvent>& pending);
  void PostSendOutcomes(std::uint32_t kind, const std::vector<SendOutcome>& outcomes, std::vector<NetEvent>* pending);
  NetEvent MakeMessageEvent(std::uint8_t* message, std::uint32_t channelKind, const NetAddress& peer) const;

  // A public call's pass through the gate; false (and nothing touched) once it is shut.
  class Gate {
   public:
    explicit Gate(const Qln_Session& session);
    ~Gate();
    Gate(const Gate&) = delete;
    Gate& operator=(const Gate&) = delete;
    explicit operator bool() const { return m_inside; }

   private:
    const Qln_Session& m_session;
    bool m_inside = false;
  };
  // Shuts the gate: false when it already was, or the session is not initialised.
  bool ShutGate();
  // Waits for the calls inside the gate to leave, at most limitMs (unbounded below zero); true
  // once none is left.
  bool WaitGateEmpty(double limitMs) const;

  // What the public calls do once inside the gate; the open event is the caller's to deliver.
  Channel* OpenChannelInside(std::uint32_t kind, std::int32_t socketType, const NetAddress& address, std::uint32_t mode,
                             std::uint32_t options);
  bool ListenInside(std::uint32_t kind, std::uint32_t backlog);
  // Queues the close of the channel (or, with a peer, the connection) of the kind; given done, its
  // waiter is set there. False when there is none.
  bool QueueCloseInside(std::uint32_t kind, const NetAddress* peer, std::shared_ptr<std::atomic<bool>>* done);

  // Closing (Network_SessionClose.cpp); the first three under the session lock.
  void QueueCloseLocked(Channel* channel, bool onError, const std::shared_ptr<std::atomic<bool>>& done);
  // Closes the record's socket and reports the close once nobody uses it (false until then).
  bool ReleaseRecordLocked(Channel* channel, std::vector<NetEvent>& pending);
  // Frees a released record once no delivery names it (false until then).
  bool FreeRecordLocked(Channel* channel);
  void ProcessCloseRequests(std::vector<NetEvent>& pending);
  bool WaitDone(const std::shared_ptr<std::atomic<bool>>& done);

  static void BroadcastThread(PAL::Thread* thread);
  void StopBroadcastThread();
  // Closes and frees every record (the session's close, once no call is inside); the closes to
  // report. With keepHeld, a record that a delivery on another thread still names is kept (closed)
  // for the destructor.
  void FreeAllRecords(std::vector<NetEvent>& closed, bool keepHeld);
  // Takes the broadcast channel out of the record (under its mutex) and returns it.
  Channel* ForgetBroadcastChannel();
  PAL::ThreadManager& Threads() { return m_queue.GetThreadManager(); }
  // Under the session lock.
  Channel* FindChannel(std::uint32_t kind);
  Channel* FindConnection(std::uint32_t kind, const NetAddress& peer);
  bool OwnsRecord(const Channel* channel) const;
  // The accepted connection an accept event names, held (a delivery hold) while its handler runs;
  // null once it has closed or gone since the event was queued. The hold keeps the record, so the
  // handler may read it, but never keeps the connection from closing, even by the handler itself.
  Channel* HoldAcceptedRecord(const NetEvent& event);
  // The records the calling thread's deliveries hold, innermost last: a handler may close the
  // session, which then does not wait for those. A record freed by that close is nulled here.
  static std::vector<Channel*>& RecordsHeldByDelivery();
  NetEvent MakeEvent(std::uint32_t kind, std::uint32_t channelKind) const;
  void DeliverDirect(std::uint32_t kind, std::uint32_t channelKind);
  // OpenChannel, delivering the open event as the caller's call, which the caller keeps until it
  // returns; null when the handler closed the channel or the session, or destroyed the session.
  Channel* OpenChannel(EventQueue::CallerDelivery& call, std::uint32_t kind, std::int32_t socketType,
                       const NetAddress& address, std::uint32_t mode, std::uint32_t options);

  EventQueue m_queue;
  // Written only by Initialize, Close, StartListening and StopHosting, which belong to the session's
  // owning thread; atomic because every operation, and handlers on worker threads, read them.
  std::atomic<std::uint8_t> m_initialised{0};
  std::uint8_t m_passwordFlag = 0;
  std::atomic<std::uint8_t> m_hosting{0};
  // Set under m_mutex by Close, which shuts the gate with it; polled by the calls that wait.
  std::atomic<bool> m_closing{false};
  // The thread running Close while m_closing is set.
  std::atomic<std::thread::id> m_closingThread{};
  // The calls inside the gate, under m_mutex.
  mutable std::uint32_t m_callsInside = 0;
  // Set by a close that a call inside outlasted, or that left a record a delivery still names:
  // those records wait for the destructor.
  bool m_recordsKept = false;
  // Events the session thread had gathered but could no longer post as it stopped: the close
  // delivers them (its own thread's, read after the thread has left).
  std::vector<NetEvent> m_unposted;
  std::int32_t m_priority = 0;
  // Both under the session lock; no player count (0) means no cap on connections.
  std::uint32_t m_maximumPlayers = 0;
  SessionLimits m_limits;
  // The session thread's own: a failed accept pauses accepting until then (real milliseconds).
  double m_acceptResumesAt = 0.0;
  std::string m_hostName;
  std::string m_addressText;
  NetAddress m_address;
  std::uint32_t m_interfaceBroadcast = 0;
  std::uint32_t m_sessionId = 0;
  std::string m_name;
  std::string m_password;
  std::vector<std::unique_ptr<Channel>> m_channels;
  std::vector<std::unique_ptr<Channel>> m_connections;
  std::list<NetEvent> m_closeRequests;
  std::list<NetEvent> m_connectRequests;
  PAL::Thread* m_sessionThread = nullptr;
  PAL::Thread* m_broadcastThread = nullptr;
  // Made with the session and destroyed with it, never in between. m_mutex guards the gate and the
  // threads' exits; m_controlMutex orders starting and stopping the announcement.
  PAL::RWLockHandle m_lock = nullptr;
  PAL::MutexHandle m_mutex = nullptr;
  PAL::MutexHandle m_controlMutex = nullptr;
  PAL::ConditionHandle m_condition = nullptr;
  bool m_sessionThreadExited = false;
  bool m_broadcastThreadExited = false;
  std::uint32_t m_selectTimeout = 1;
  EventHandler m_handler;
  Core::SmartPointer<Qln_Broadcast_Data> m_broadcast;
};

// The broadcast thread's record, made with the session and kept as long as it lives: the channel
// sent on (null while nothing is announced), where to, the packet and the interval, all under the
// mutex.
class Qln_Broadcast_Data : public Core::Object {
 public:
  Qln_Broadcast_Data() = default;
  ~Qln_Broadcast_Data() override = default;

  Channel* channel = nullptr;
  NetAddress target;
  PAL::MutexHandle packetMutex = nullptr;
  std::vector<std::uint8_t> packet;
  std::uint32_t interval = 0;
  Qln_Session* session = nullptr;
  // Set while the broadcast thread runs. Started by the owner, stopped by the owner or the close.
  std::atomic<bool> running{false};
};

}  // namespace Network
