// Sessions that must neither crash nor hang: closing while handlers on worker threads send, a
// handler destroying its own session, blocking channels watched by the session thread, hosting
// again after stopping, a flooded queue, waits that run out and a host that never answers.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <cerrno>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/Core_Initializer.h"
#include "core/Core_Time.h"
#include "network/Network_Manager.h"
#include "network/Network_Message.h"
#include "network/Network_Socket.h"
#include "NetworkTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

// While set, every new thread is refused, as a system out of threads would.
std::atomic<bool> g_refuseThreads{false};

// The foundation started as every program that uses the engine starts it: sessions are made and
// dropped on handler threads at once, and the allocator takes its lock only once it is started.
class Foundation : public ::testing::Environment {
 public:
  void SetUp() override { m_core = std::make_unique<Core::Initializer>(); }
  void TearDown() override { m_core.reset(); }

 private:
  std::unique_ptr<Core::Initializer> m_core;
};
::testing::Environment* const g_foundation = ::testing::AddGlobalTestEnvironment(new Foundation);

}  // namespace

// The platform layer is linked into this program, so its thread creation comes here first.
extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes, void* (*run)(void*),
                              void* argument) noexcept {
  using Create = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);
  static const Create next = reinterpret_cast<Create>(dlsym(RTLD_NEXT, "pthread_create"));
  if (g_refuseThreads.load()) return EAGAIN;
  return next(thread, attributes, run, argument);
}

namespace {

using Network::NetAddress;
using Network::NetEvent;
using Network::Qln_Session;
using NetworkTest::EventLog;
using NetworkTest::HostOnLoopback;
using NetworkTest::OpenLoopbackDatagram;
using NetworkTest::SendDatagram;
using NetworkTest::PumpUntil;
using TestSupport::WaitFor;


TEST(SessionLifetime, CloseWaitsForHandlersSendingOnWorkerThreads) {
  // Delivery mode 1 (one worker) and 2 (a thread per handler): the handler keeps sending on its
  // session's channel while the owning thread destroys the session.
  for (std::uint32_t handlerThreads : {0u, 2u}) {
    Network::Qln_Network_Manager manager;
    std::atomic<Qln_Session*> self{nullptr};
    std::atomic<bool> sending{false};
    std::atomic<bool> handlerDone{false};
    std::atomic<bool> closedBeforeHandlerDone{false};
    NetAddress target;
    Qln_Session* session = manager.CreateSession(
        "worker", "", false,
        [&](NetEvent& event) {
          if (event.kind == Network::kEventSessionClosed && !handlerDone.load()) closedBeforeHandlerDone = true;
          Qln_Session* owner = self.load();
          if (owner == nullptr || event.kind != Network::kEventMessageReceived || sending.exchange(true)) return true;
          Core::Stopwatch sendingFor;
          sendingFor.Start();
          while (sendingFor.GetElapsed() < 300.0) {
            owner->Send(Network::kChannelHostDatagram, 2, "busy", 4, target);
            PAL::ThreadManager::Sleep(0, nullptr);
          }
          handlerDone = true;
          return true;
        },
        0, true, handlerThreads, 1, 1);
    ASSERT_NE(session, nullptr);
    target = OpenLoopbackDatagram(session, Network::kChannelHostDatagram, Network::kOptionNonBlocking);
    ASSERT_NE(target.GetPort(), 0);
    self = session;
    SendDatagram(target, 1, "start");
    ASSERT_TRUE(WaitFor([&] { return sending.load(); }));
    ASSERT_TRUE(manager.DestroySession(session));
    EXPECT_TRUE(handlerDone.load()) << "the session closed under a running handler (" << handlerThreads << ")";
    EXPECT_FALSE(closedBeforeHandlerDone.load());
  }
}

TEST(SessionLifetime, HandlerOnAWorkerThreadMayCloseOrDestroyItsSession) {
  // Delivery modes 1 and 2, and mode 2 with no thread to be had, so that the worker delivers
  // itself: the close must not wait for the very thread it runs on, not even for a moment.
  for (std::uint32_t mode : {0u, 2u, 3u}) {
    for (bool destroy : {false, true}) {
      // Declared before the manager: the closing handler may still set them while it goes.
      std::atomic<Qln_Session*> self{nullptr};
      std::atomic<bool> closed{false};
      std::atomic<double> closeMs{0.0};
      Network::Qln_Network_Manager manager;
      Qln_Session* session = manager.CreateSession(
          "self", "", false,
          [&](NetEvent& event) {
            Qln_Session* owner = event.kind == Network::kEventMessageReceived ? self.exchange(nullptr) : nullptr;
            if (owner != nullptr) {
              Core::Stopwatch closing;
              closing.Start();
              const bool done = destroy ? manager.DestroySession(owner) : owner->Close();
              closeMs = closing.GetElapsed();
              closed = done;
            }
            if (event.kind == Network::kEventChannelClosed && !destroy) {
              // Still inside the close while the owner (below) destroys the session.
              closed = true;
              PAL::ThreadManager::Sleep(100, nullptr);
            }
            return true;
          },
          0, true, mode == 0 ? 0 : 2, 1, 1);
      ASSERT_NE(session, nullptr);
      const NetAddress address = OpenLoopbackDatagram(session, Network::kChannelHostDatagram, Network::kOptionNonBlocking);
      self = session;
      g_refuseThreads = mode == 3;
      SendDatagram(address, 1, "x");
      const bool finished = WaitFor([&] { return closed.load(); });
      g_refuseThreads = false;
      ASSERT_TRUE(finished) << mode << " " << destroy;
      EXPECT_EQ(manager.GetSessionCount(), destroy ? 0u : 1u);
      if (!destroy) continue;
      ASSERT_TRUE(WaitFor([&] { return closeMs.load() > 0.0; }));
      EXPECT_LT(closeMs.load(), PAL::ThreadManager::kStopWaitLimit * 0.8) << mode;
    }
  }
}

// Every public call that touches the session's state, once each, as an owner or a handler would
// make them: hosting with the announcement, a connection the session makes to itself and closes,
// a second channel opened and closed with a wait. How many of them succeeded.
int CallEverything(Qln_Session* session, const NetAddress& datagram) {
  int succeeded = 0;
  const auto count = [&succeeded](bool ok) { succeeded += ok ? 1 : 0; };
  NetAddress address;
  std::vector<NetEvent> received;
  count(session->Send(Network::kChannelHostDatagram, 2, "y", 1, datagram));
  count(session->ReceiveNow(Network::kChannelHostDatagram, received, 0));
  for (NetEvent& event : received) event.FreeMessageData();
  count(session->StartListening(NetAddress("127.0.0.1", 0), 4));
  count(session->Listen(Network::kChannelHostListen, 4));
  count(session->StartBroadcast(datagram.GetPort(), 1, 1, 3, "here", 4, 0));
  count(session->SetBroadcastData("still", 5));
  count(session->GetBroadcastAddress(address));
  count(session->IsBroadcasting());
  count(session->SetLimits(session->GetLimits()));
  NetAddress listening;
  count(session->GetChannelAddress(Network::kChannelHostListen, listening));
  count(session->OpenChannel(Network::kChannelClientStream, Network::kStreamSocket, NetAddress("127.0.0.1", 0),
                             Network::kModeWatchRead, Network::kOptionNonBlocking) != nullptr);
  count(session->Connect(Network::kChannelClientStream, listening));
  count(session->SetChannelMode(Network::kChannelClientStream, Network::kModeWatchRead));
  NetAddress client;
  count(session->GetChannelAddress(Network::kChannelClientStream, client));
  count(session->GetChannelRemoteAddress(Network::kChannelClientStream, address));
  count(session->SetChannelJoined(Network::kChannelHostListen, client, true));
  count(session->RequestClose(Network::kChannelHostListen, client, true));
  count(session->CloseChannels(Network::kChannelClientStream, true));
  session->StopHosting();
  return succeeded;
}

TEST(SessionLifetime, EveryCallOutlivesAHandlerClosingOrDestroyingItsSession) {
  // Delivery modes 1 and 2. In the first rounds the owner makes every call in a loop while a
  // handler on a worker closes the session; in the others the handler goes on calling after its
  // own close while the owner destroys the session. Either way nothing is used after it is freed
  // (the sanitizers tell), the close ends in time and every call after it fails.
  for (std::uint32_t handlerThreads : {0u, 2u}) {
    for (int round = 0; round < 16; ++round) {
      const bool ownerDestroys = round % 2 == 1;
      std::atomic<Qln_Session*> self{nullptr};
      std::atomic<bool> closing{false};
      std::atomic<bool> closed{false};
      std::atomic<double> closeMs{0.0};
      std::atomic<int> succeededAfterClose{0};
      NetAddress datagram;
      {
        Network::Qln_Network_Manager manager;
        Qln_Session* session = manager.CreateSession(
            "race", "", false,
            [&](NetEvent& event) {
              Qln_Session* owner = event.kind == Network::kEventMessageReceived &&
                                           event.channelKind == Network::kChannelDiscovery
                                       ? self.exchange(nullptr)
                                       : nullptr;
              if (owner == nullptr) return true;
              // A few different moments in the owner's loop.
              PAL::ThreadManager::Sleep(static_cast<std::uint32_t>(round / 2 % 4), nullptr);
              closing = true;
              Core::Stopwatch closeTime;
              closeTime.Start();
              owner->Close();
              closeMs = closeTime.GetElapsed();
              closed = true;
              if (!ownerDestroys) return true;
              Core::Stopwatch after;
              after.Start();
              while (after.GetElapsed() < 20.0) succeededAfterClose += CallEverything(owner, datagram);
              return true;
            },
            0, true, handlerThreads, 1, 1);
        ASSERT_NE(session, nullptr);
        datagram = OpenLoopbackDatagram(session, Network::kChannelHostDatagram, Network::kOptionNonBlocking);
        const NetAddress trigger = OpenLoopbackDatagram(session, Network::kChannelDiscovery, Network::kOptionNonBlocking);
        ASSERT_NE(trigger.GetPort(), 0);
        session->SetLocalAddress(NetAddress("127.0.0.1", 0));
        self = session;
        SendDatagram(trigger, 1, "x");
        if (ownerDestroys) {
          // Destroyed while the handler closes, or goes on calling after its close.
          ASSERT_TRUE(WaitFor([&] { return round % 4 == 1 ? closing.load() : closed.load(); }));
          continue;
        }
        Core::Stopwatch calling;
        calling.Start();
        while (!closed.load() && calling.GetElapsed() < 10000.0) CallEverything(session, datagram);
        ASSERT_TRUE(closed.load()) << "the handler never closed the session";
        EXPECT_EQ(CallEverything(session, datagram), 0) << "a call succeeded on a closed session";
      }
      EXPECT_LT(closeMs.load(), 2000.0) << handlerThreads << " " << round;
      EXPECT_EQ(succeededAfterClose.load(), 0) << handlerThreads << " " << round;
    }
  }
}

TEST(SessionLifetime, AWaitedCloseDuringTheSessionsCloseDoesNotHoldIt) {
  // Mode 2: one handler closes the session while another asks for a channel's close and waits;
  // the session's close waits for that handler, so the handler must not wait for the close.
  std::atomic<bool> waiting{false};
  std::atomic<bool> closing{false};
  std::atomic<double> waitedMs{-1.0};
  Network::Qln_Network_Manager manager;
  Qln_Session* session = manager.CreateSession(
      "both", "", false,
      [&](NetEvent& event) {
        if (event.kind != Network::kEventMessageReceived) return true;
        if (event.messageType == 1) {
          waiting = true;
          WaitFor([&] { return closing.load(); });
          // The session thread has gone by now: nobody but the close can finish this.
          PAL::ThreadManager::Sleep(50, nullptr);
          Core::Stopwatch waited;
          waited.Start();
          event.session->CloseChannels(Network::kChannelHostDatagram, true);
          waitedMs = waited.GetElapsed();
        } else {
          WaitFor([&] { return waiting.load(); });
          closing = true;
          event.session->Close();
        }
        return true;
      },
      0, true, 2, 1, 1);
  ASSERT_NE(session, nullptr);
  const NetAddress address = OpenLoopbackDatagram(session, Network::kChannelHostDatagram, Network::kOptionNonBlocking);
  SendDatagram(address, 1, "wait");
  ASSERT_TRUE(WaitFor([&] { return waiting.load(); }));
  SendDatagram(address, 2, "close");
  ASSERT_TRUE(WaitFor([&] { return waitedMs.load() >= 0.0; }));
  EXPECT_LT(waitedMs.load(), Qln_Session::kCloseWaitMs / 2.0);
}

TEST(SessionLifetime, AnAcceptHandlerRefusesItsConnectionAtOnce) {
  EventLog log;
  std::vector<bool> refused;
  Network::EventHandler record = log.Handler();
  Network::Qln_Network_Manager manager;
  Qln_Session* host = manager.CreateSession(
      "host", "", false,
      [&](NetEvent& event) {
        if (event.kind == Network::kEventConnectionAccepted) {
          refused.push_back(event.session->RequestClose(Network::kChannelHostListen, event.peer, true));
          // The record the event names stays readable until the handler returns.
          refused.push_back(event.related != nullptr && event.related->remoteAddress == event.peer);
        }
        return record(event);
      },
      0, false, 0, 0, 1);
  ASSERT_NE(host, nullptr);
  const NetAddress listening = HostOnLoopback(host);
  ASSERT_NE(listening.GetPort(), 0);
  NetworkTest::RawPeer peer(listening);
  ASSERT_TRUE(PumpUntil({host}, [&] { return log.Count(Network::kEventConnectionClosed) == 1; }));
  EXPECT_EQ(refused, (std::vector<bool>{true, true}));
  EXPECT_TRUE(peer.WaitForClose());
}

TEST(SessionLifetime, AConnectionsCloseComesAfterItsAcceptHandlerReturns) {
  // Mode 2 runs handlers side by side: a peer that connects and leaves at once must still not be
  // reported gone while the handler that registers it runs.
  std::atomic<bool> acceptReturned{false};
  std::atomic<bool> closedEarly{false};
  std::atomic<int> closes{0};
  Network::Qln_Network_Manager manager;
  Qln_Session* host = manager.CreateSession(
      "host", "", false,
      [&](NetEvent& event) {
        if (event.kind == Network::kEventConnectionAccepted) {
          // Long enough for the close to arrive, were it let through.
          WaitFor([&] { return closes.load() > 0; }, 500.0);
          acceptReturned = true;
        }
        if (event.kind == Network::kEventConnectionClosed) {
          if (!acceptReturned.load()) closedEarly = true;
          ++closes;
        }
        return true;
      },
      0, true, 4, 1, 1);
  ASSERT_NE(host, nullptr);
  const NetAddress listening = HostOnLoopback(host);
  ASSERT_NE(listening.GetPort(), 0);
  { NetworkTest::RawPeer gone(listening); }
  ASSERT_TRUE(WaitFor([&] { return closes.load() == 1; }));
  EXPECT_FALSE(closedEarly.load());
}

TEST(SessionLifetime, CloseWaitsForCallsOnOtherThreadsToLetGoOfTheirChannels) {
  // A blocking receive on another thread holds its channel while the owner destroys the session.
  Network::Qln_Network_Manager manager;
  Qln_Session* session = manager.CreateSession("busy", "", false, nullptr, 0, false, 0, 0, 1);
  ASSERT_NE(session, nullptr);
  Network::Channel* channel =
      session->OpenChannel(Network::kChannelHostDatagram, Network::kDatagramSocket, NetAddress("127.0.0.1", 0), 0, 0);
  ASSERT_NE(channel, nullptr);
  std::vector<NetEvent> events;
  std::thread receiver([&] { session->ReceiveNow(Network::kChannelHostDatagram, events, 60000); });
  ASSERT_TRUE(WaitFor([&] { return channel->GetUseCount() > 0; }));
  EXPECT_TRUE(manager.DestroySession(session));
  receiver.join();
}

TEST(SessionLifetime, AcceptEventNamesItsConnectionOnlyWhileItIsOpen) {
  // The first peer hangs up before the host dispatches: its record is gone by then.
  std::vector<bool> named;
  Network::Qln_Network_Manager manager;
  Qln_Session* host = manager.CreateSession(
      "host", "", false,
      [&](NetEvent& event) {
        if (event.kind == Network::kEventConnectionAccepted) {
          named.push_back(event.related != nullptr && event.related->remoteAddress == event.peer);
        }
        return true;
      },
      0, false, 0, 0, 1);
  Network::SessionLimits limits;
  limits.joinTimeoutMs = 600000;
  host->SetLimits(limits);
  NetAddress listening;
  ASSERT_TRUE(host->StartListening(NetAddress("127.0.0.1", 0), 4));
  ASSERT_TRUE(host->GetChannelAddress(Network::kChannelHostListen, listening));
  { NetworkTest::RawPeer gone(listening); }
  // Accepted, then closed: the close is queued once the record has been freed.
  ASSERT_TRUE(WaitFor([&] { return host->GetEventQueue().GetCount() >= 2; }));
  NetworkTest::RawPeer stays(listening);
  ASSERT_TRUE(WaitFor([&] { return host->GetEventQueue().GetCount() >= 3; }));
  ASSERT_TRUE(PumpUntil({host}, [&] { return named.size() == 2; }));
  EXPECT_EQ(named, (std::vector<bool>{false, true}));
}

TEST(SessionLifetime, HandlerThreadsOutlastingAnyFixedWaitStillEndBeforeTheQueue) {
  // A handler thread that runs longer than ten seconds: the queue must not give up on it.
  Network::Qln_Network_Manager manager;
  std::atomic<bool> started{false};
  std::atomic<bool> finished{false};
  Qln_Session* session = manager.CreateSession(
      "slow", "", false,
      [&](NetEvent& event) {
        if (event.kind != Network::kEventMessageReceived || started.exchange(true)) return true;
        Core::Stopwatch busy;
        busy.Start();
        while (busy.GetElapsed() < 10500.0) PAL::ThreadManager::Sleep(5, nullptr);
        finished = true;
        return true;
      },
      0, true, 1, 1, 1);
  ASSERT_NE(session, nullptr);
  NetAddress address = OpenLoopbackDatagram(session, Network::kChannelHostDatagram, Network::kOptionNonBlocking);
  SendDatagram(address, 1, "slow");
  ASSERT_TRUE(WaitFor([&] { return started.load(); }));
  ASSERT_TRUE(manager.DestroySession(session));
  EXPECT_TRUE(finished.load());
}

TEST(SessionLifetime, HandlerMayDestroyItsOwnSessionDuringDispatch) {
  Network::Qln_Network_Manager manager;
  Qln_Session* self = nullptr;
  int delivered = 0;
  bool destroyed = false;
  Qln_Session* session = manager.CreateSession(
      "self", "", false,
      [&](NetEvent& event) {
        if (event.kind != Network::kEventMessageReceived) return true;
        ++delivered;
        if (!destroyed) destroyed = manager.DestroySession(self);
        return true;
      },
      0, false, 0, 0, 1);
  ASSERT_NE(session, nullptr);
  self = session;
  NetAddress address = OpenLoopbackDatagram(session, Network::kChannelHostDatagram, Network::kOptionNonBlocking);
  for (int i = 0; i < 3; ++i) SendDatagram(address, 1, "bye");
  ASSERT_TRUE(WaitFor([&] { return session->GetEventQueue().GetCount() >= 3; }));
  std::uint32_t count = 0;
  session->DispatchEvents(1000, 1000, &count, nullptr);
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(manager.GetSessionCount(), 0u);
  // The rest of the queue went out during the close, before the session was freed.
  EXPECT_EQ(delivered, 3);
}

TEST(SessionLifetime, BlockingChannelsNeverHoldTheSessionThread) {
  // A datagram channel and a listening channel opened without the non-blocking option: reading
  // them must not leave the session thread waiting (with the session lock held).
  EventLog log;
  Network::Qln_Network_Manager manager;
  Qln_Session* session = manager.CreateSession("blocking", "", false, log.Handler(), 0, false, 0, 0, 1);
  ASSERT_NE(session, nullptr);
  NetAddress datagram = OpenLoopbackDatagram(session, Network::kChannelHostDatagram, 0);
  ASSERT_NE(datagram.GetPort(), 0);
  ASSERT_NE(session->OpenChannel(Network::kChannelHostListen, Network::kStreamSocket, NetAddress("127.0.0.1", 0),
                                 Network::kModeWatchRead, 0),
            nullptr);
  ASSERT_TRUE(session->Listen(Network::kChannelHostListen, 4));
  NetAddress listening;
  ASSERT_TRUE(session->GetChannelAddress(Network::kChannelHostListen, listening));

  SendDatagram(datagram, 5, "one");
  Network::SocketHandle peer = Network::Socket::Create(Network::kStreamSocket);
  ASSERT_EQ(Network::Socket::Connect(peer, listening.GetSocketAddress()), Network::SocketStatus::Done);
  ASSERT_TRUE(PumpUntil({session}, [&] {
    return log.Count(Network::kEventMessageReceived) == 1 && log.Count(Network::kEventConnectionAccepted) == 1;
  }));
  // Every call takes the session lock: each answers at once.
  for (int i = 0; i < 20; ++i) {
    NetAddress address;
    ASSERT_TRUE(session->GetChannelAddress(Network::kChannelHostDatagram, address));
    PAL::ThreadManager::Sleep(2, nullptr);
  }
  SendDatagram(datagram, 6, "two");
  ASSERT_TRUE(PumpUntil({session}, [&] { return log.Count(Network::kEventMessageReceived) == 2; }));
  Network::Socket::Close(peer);
  EXPECT_TRUE(manager.DestroySession(session));
}

TEST(SessionLifetime, StoppingHostingStopsTheAnnouncementAndAllowsHostingAgain) {
  EventLog hostLog;
  EventLog listenerLog;
  Network::Qln_Network_Manager manager;
  Qln_Session* host = manager.CreateSession("host", "", false, hostLog.Handler(), 0, false, 0, 0, 1);
  Qln_Session* listener = manager.CreateSession("listener", "", false, listenerLog.Handler(), 0, false, 0, 0, 1);
  ASSERT_NE(host, nullptr);
  ASSERT_NE(listener, nullptr);
  host->SetLocalAddress(NetAddress("127.0.0.1", 0));
  ASSERT_TRUE(listener->OpenDiscoveryListener(0));
  NetAddress discovery;
  ASSERT_TRUE(listener->GetChannelAddress(Network::kChannelDiscovery, discovery));

  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(host->StartListening(NetAddress("127.0.0.1", 0), 4)) << round;
    ASSERT_TRUE(host->StartBroadcast(discovery.GetPort(), 1, 5, 0, "here", 4, 0)) << round;
    ASSERT_TRUE(PumpUntil({host, listener}, [&] { return listenerLog.Count(Network::kEventMessageReceived) > 0; }));
    host->StopHosting();
    EXPECT_FALSE(host->IsHosting());
    EXPECT_FALSE(host->IsBroadcasting()) << "the announcement outlived the hosting";
    // The announcement's channel is gone with it: nothing can be announced any more.
    NetAddress address;
    EXPECT_FALSE(host->GetChannelAddress(Network::kChannelBroadcast, address));
    EXPECT_FALSE(host->GetChannelAddress(Network::kChannelHostListen, address));
    listenerLog.Clear();
  }
}

// Posts that many messages of that payload (droppable ones as datagrams); the number the queue took.
std::size_t PostMessages(Network::EventQueue& queue, std::size_t count, const void* payload, std::uint32_t size,
                         bool droppable) {
  std::size_t accepted = 0;
  for (std::size_t i = 0; i < count; ++i) {
    NetEvent event;
    event.kind = Network::kEventMessageReceived;
    event.droppable = droppable;
    event.SetMessage(Network::FrameMessage(1, payload, size), size + 8);
    if (queue.Post(event)) {
      ++accepted;
    } else {
      event.FreeMessageData();
    }
  }
  return accepted;
}

TEST(SessionLifetime, QueueDropsDatagramsPastItsBoundsAndCountsThem) {
  Network::EventQueue queue;
  ASSERT_TRUE(queue.Start(&Qln_Session::Deliver, false, 0, 0, 0));
  const std::size_t extra = 100;
  const std::size_t share = Network::EventQueue::kMaximumEventsForDatagrams;
  EXPECT_EQ(PostMessages(queue, share + extra, "x", 1, true), share);
  EXPECT_EQ(queue.GetDroppedCount(), extra);
  // What may not be lost (a close, a stream's message) still gets in: datagrams leave it room.
  NetEvent closed;
  closed.kind = Network::kEventChannelClosed;
  EXPECT_TRUE(queue.Post(closed));
  NetEvent streamed;
  streamed.kind = Network::kEventMessageReceived;
  streamed.SetMessage(Network::FrameMessage(2, "y", 1), 9);
  EXPECT_TRUE(queue.Post(streamed));
  std::uint32_t delivered = 0;
  queue.Dispatch(100000, 0, &delivered, nullptr);
  EXPECT_EQ(delivered, share + 2);
  EXPECT_FALSE(queue.IsFull());

  // The byte bound: a few large datagrams fill it long before the count does.
  const std::uint32_t large = 60000;
  std::vector<std::uint8_t> payload(large, 7);
  const std::size_t bytes = PostMessages(queue, 400, payload.data(), large, true) * (large + 8);
  EXPECT_LE(bytes, Network::EventQueue::kMaximumBytesForDatagrams);
  EXPECT_GT(queue.GetDroppedCount(), extra);
}

TEST(SessionLifetime, QueueBoundsCountEveryEventAndRefuseStreamMessagesPastThem) {
  Network::EventQueue queue;
  ASSERT_TRUE(queue.Start(&Qln_Session::Deliver, false, 0, 0, 0));
  // Empty messages: the count bound holds, and each costs its record as well as its 8 bytes.
  std::size_t accepted = PostMessages(queue, Network::EventQueue::kMaximumEvents + 50, nullptr, 0, false);
  EXPECT_EQ(accepted, Network::EventQueue::kMaximumEvents);
  EXPECT_EQ(queue.GetQueuedBytes(), accepted * (8 + Network::EventQueue::kEventOverheadBytes));
  EXPECT_EQ(queue.GetDroppedCount(), 0u) << "stream messages are refused, not counted as dropped datagrams";
  NetEvent closed;
  closed.kind = Network::kEventConnectionClosed;
  EXPECT_TRUE(queue.Post(closed)) << "a close always gets in";
  queue.Dispatch(100000, 0, nullptr, nullptr);
  EXPECT_EQ(queue.GetQueuedBytes(), 0u);

  // Middling messages: the byte bound, records included, is reached long before the count.
  const std::uint32_t middling = 4096;
  std::vector<std::uint8_t> payload(middling, 3);
  EXPECT_LT(PostMessages(queue, 9000, payload.data(), middling, false), Network::EventQueue::kMaximumEvents);
  EXPECT_LE(queue.GetQueuedBytes(), Network::EventQueue::kMaximumBytes);
  EXPECT_GT(queue.GetQueuedBytes() + middling + 8 + Network::EventQueue::kEventOverheadBytes,
            Network::EventQueue::kMaximumBytes);
  queue.Dispatch(100000, 0, nullptr, nullptr);
  // A message as large as allowed still gets into an empty queue.
  NetEvent largest;
  largest.kind = Network::kEventMessageReceived;
  std::vector<std::uint8_t> big(Network::kMaximumMessageSize - 8, 1);
  largest.SetMessage(Network::FrameMessage(1, big.data(), static_cast<std::uint32_t>(big.size())),
                     Network::kMaximumMessageSize);
  ASSERT_TRUE(queue.Post(largest));
}

TEST(SessionLifetime, AStreamThatFillsItsShareOfTheQueueIsHeldBackAndLosesNothing) {
  EventLog hostLog;
  EventLog clientLog;
  Network::Qln_Network_Manager manager;
  Qln_Session* host = manager.CreateSession("host", "", false, hostLog.Handler(), 0, false, 0, 0, 1);
  Qln_Session* client = manager.CreateSession("client", "", false, clientLog.Handler(), 0, false, 0, 0, 1);
  ASSERT_TRUE(host->StartListening(NetAddress("127.0.0.1", 0), 4));
  NetAddress hostAddress;
  ASSERT_TRUE(host->GetChannelAddress(Network::kChannelHostListen, hostAddress));
  ASSERT_NE(client->OpenChannel(Network::kChannelClientStream, Network::kStreamSocket, NetAddress("127.0.0.1", 0),
                                Network::kModeWatchRead, Network::kOptionNonBlocking),
            nullptr);
  ASSERT_TRUE(client->Connect(Network::kChannelClientStream, hostAddress));
  ASSERT_TRUE(PumpUntil({host, client}, [&] {
    NetAddress remote;
    return hostLog.Count(Network::kEventConnectionAccepted) == 1 &&
           client->GetChannelRemoteAddress(Network::kChannelClientStream, remote);
  }));
  ASSERT_TRUE(host->SetChannelJoined(Network::kChannelHostListen, hostLog.OfKind(Network::kEventConnectionAccepted)[0].peer,
                                     true));
  const std::uint32_t total = static_cast<std::uint32_t>(Network::EventQueue::kMaximumEvents) * 3;
  std::uint32_t queued = 0;
  while (queued < total && client->Send(Network::kChannelClientStream, queued, &queued, sizeof(queued), hostAddress)) {
    ++queued;
  }
  ASSERT_EQ(queued, total);
  // The host does not dispatch: it reads the stream until the connection's share of its queue is
  // full, and no further while the share stays full.
  const std::size_t share = host->GetLimits().queueShareBytes / (12 + Network::EventQueue::kEventOverheadBytes);
  ASSERT_TRUE(PumpUntil({client}, [&] { return host->GetEventQueue().GetCount() == share; }, 20000.0))
      << host->GetEventQueue().GetCount();
  PumpUntil({client}, [] { return false; }, 200.0);
  EXPECT_EQ(host->GetEventQueue().GetCount(), share);
  // Once it dispatches, everything arrives in order and nobody is cut off.
  ASSERT_TRUE(PumpUntil({host, client}, [&] { return hostLog.Count(Network::kEventMessageReceived) == total; }, 20000.0));
  auto received = hostLog.OfKind(Network::kEventMessageReceived);
  for (std::uint32_t i = 0; i < received.size(); ++i) ASSERT_EQ(received[i].messageType, i);
  EXPECT_EQ(hostLog.Count(Network::kEventConnectionClosed) + clientLog.Count(Network::kEventChannelClosed), 0u);
  EXPECT_EQ(host->GetEventQueue().GetDroppedCount(), 0u);
}

TEST(SessionLifetime, WaitedClosesThatRunOutAreNotSuccess) {
  EventLog log;
  Network::Qln_Network_Manager manager;
  Qln_Session* session = manager.CreateSession("closing", "", false, log.Handler(), 0, false, 0, 0, 1);
  ASSERT_NE(session, nullptr);
  Network::Channel* channel =
      session->OpenChannel(Network::kChannelHostDatagram, Network::kDatagramSocket, NetAddress("127.0.0.1", 0),
                           Network::kModeWatchRead, Network::kOptionNonBlocking);
  ASSERT_NE(channel, nullptr);
  // A record in use cannot be freed within the wait.
  channel->RaiseUseCount();
  EXPECT_FALSE(session->CloseChannels(Network::kChannelHostDatagram, true));
  channel->LowerUseCount();
  ASSERT_TRUE(PumpUntil({session}, [&] { return log.Count(Network::kEventChannelClosed) == 1; }));
  EXPECT_FALSE(session->CloseChannels(Network::kChannelHostDatagram, true)) << "no such channel any more";
}

TEST(SessionLifetime, BlockingConnectToAHostThatNeverAnswersGivesUp) {
  // A listener whose backlog is full drops new connection attempts: the client hears nothing.
  NetAddress busy;
  Network::SocketHandle listener = NetworkTest::ListenOnLoopback(0, busy);
  ASSERT_NE(busy.GetPort(), 0);
  std::vector<Network::SocketHandle> fillers;
  for (int i = 0; i < 8; ++i) {
    Network::SocketHandle filler = Network::Socket::Create(Network::kStreamSocket);
    Network::Socket::SetNonBlocking(filler, true);
    Network::Socket::Connect(filler, busy.GetSocketAddress());
    fillers.push_back(filler);
  }
  EventLog log;
  Network::Qln_Network_Manager manager;
  Qln_Session* client = manager.CreateSession("client", "", false, log.Handler(), 0, false, 0, 0, 1);
  ASSERT_NE(client, nullptr);
  ASSERT_NE(client->OpenChannel(Network::kChannelClientStream, Network::kStreamSocket, NetAddress("127.0.0.1", 0), 0, 0),
            nullptr);
  Core::Stopwatch waited;
  waited.Start();
  // The kernel may still let the attempt through on a retry; either way the caller is back in time.
  client->Connect(Network::kChannelClientStream, busy);
  const double elapsed = waited.GetElapsed();
  EXPECT_LT(elapsed, Qln_Session::kConnectTimeoutMs + 5000.0);
  for (Network::SocketHandle filler : fillers) Network::Socket::Close(filler);
  Network::Socket::Close(listener);
}

TEST(SessionLifetime, AnOpenHandlerMayDestroyItsSessionInsideTheCallThatOpened) {
  // The channel-opened event is delivered on the caller's thread, inside StartListening or
  // StartBroadcast: what its handler destroys, the call must not touch again.
  for (bool broadcast : {false, true}) {
    Network::Qln_Network_Manager manager;
    Qln_Session* self = nullptr;
    Qln_Session* session = manager.CreateSession(
        "opened", "", false,
        [&](NetEvent& event) {
          if (event.kind == Network::kEventChannelOpened && self != nullptr) manager.DestroySession(std::exchange(self, nullptr));
          return true;
        },
        0, false, 0, 0, 1);
    ASSERT_NE(session, nullptr);
    self = session;
    EXPECT_FALSE(broadcast ? session->StartBroadcast(0, 1, 5, 0, "x", 1, 0)
                           : session->StartListening(NetAddress("127.0.0.1", 0), 4));
    EXPECT_EQ(manager.GetSessionCount(), 0u) << broadcast;
  }
}

TEST(SessionLifetime, CloseWaitsForAHandlerThatAnotherThreadDispatches) {
  // Mode 0 drained on a thread of its own: the owner's close neither frees the connection an accept
  // handler there reads nor reports the session closed before that handler has returned.
  std::atomic<bool> inAccept{false};
  std::atomic<bool> sessionClosed{false};
  std::atomic<bool> closedUnderHandler{false};
  std::atomic<bool> named{false};
  Network::Qln_Network_Manager manager;
  Qln_Session* host = manager.CreateSession(
      "polled", "", false,
      [&](NetEvent& event) {
        if (event.kind == Network::kEventSessionClosed) sessionClosed = true;
        if (event.kind == Network::kEventConnectionAccepted) {
          inAccept = true;
          // Only a guard: a close that waits for this handler never comes while it waits.
          closedUnderHandler = WaitFor([&] { return sessionClosed.load(); }, 2000.0);
          named = event.related != nullptr && event.related->remoteAddress == event.peer;
        }
        return true;
      },
      0, false, 0, 0, 1);
  ASSERT_NE(host, nullptr);
  const NetAddress listening = HostOnLoopback(host);
  ASSERT_NE(listening.GetPort(), 0);
  NetworkTest::RawPeer peer(listening);
  std::thread pump([&] { PumpUntil({host}, [&] { return inAccept.load(); }); });
  ASSERT_TRUE(WaitFor([&] { return inAccept.load(); }));
  EXPECT_TRUE(manager.DestroySession(host));
  pump.join();
  EXPECT_FALSE(closedUnderHandler.load());
  EXPECT_TRUE(named.load());
}

TEST(SessionLifetime, AHeldBackCloseHoldsBackNoOtherEvent) {
  // Mode 2: a connection's close waits for its accept handler, the events queued behind it do not;
  // the accept handler itself may wait for one of them.
  std::atomic<bool> inAccept{false};
  std::atomic<bool> acceptReturned{false};
  std::atomic<bool> messageSeen{false};
  std::atomic<bool> seenInAccept{false};
  Network::Qln_Network_Manager manager;
  Qln_Session* host = manager.CreateSession(
      "host", "", false,
      [&](NetEvent& event) {
        if (event.kind == Network::kEventMessageReceived) messageSeen = true;
        if (event.kind == Network::kEventConnectionAccepted) {
          inAccept = true;
          seenInAccept = WaitFor([&] { return messageSeen.load(); }, 5000.0);
          acceptReturned = true;
        }
        return true;
      },
      0, true, 4, 1, 1);
  ASSERT_NE(host, nullptr);
  const NetAddress datagram = OpenLoopbackDatagram(host, Network::kChannelHostDatagram, Network::kOptionNonBlocking);
  const NetAddress listening = HostOnLoopback(host);
  ASSERT_NE(listening.GetPort(), 0);
  { NetworkTest::RawPeer gone(listening); }
  ASSERT_TRUE(WaitFor([&] { return inAccept.load(); }));
  // The close waits at the front of the queue; the message comes after it.
  ASSERT_TRUE(WaitFor([&] { return host->GetEventQueue().GetCount() == 1; }));
  SendDatagram(datagram, 1, "later");
  ASSERT_TRUE(WaitFor([&] { return acceptReturned.load(); }));
  EXPECT_TRUE(seenInAccept.load());
}

TEST(SessionLifetime, HandlersOfTwoSessionsMayCloseEachOther) {
  // Mode 1: each session's worker closes the other session while both are delivering. A close
  // that waits for the other's worker, which waits for this one's, never ends: on a hang the
  // sessions are left behind (the threads stuck in them still use them) and the test fails.
  struct Pair {
    Network::Qln_Network_Manager manager;
    std::atomic<Qln_Session*> sessions[2] = {{nullptr}, {nullptr}};
    std::atomic<int> inside{0};
    std::atomic<int> closed{0};
  };
  auto* pair = new Pair();
  NetAddress addresses[2];
  for (int i = 0; i < 2; ++i) {
    Qln_Session* session = pair->manager.CreateSession(
        "pair", "", false,
        [pair, i](NetEvent& event) {
          if (event.kind != Network::kEventMessageReceived) return true;
          Qln_Session* other = pair->sessions[1 - i].exchange(nullptr);
          if (other == nullptr) return true;
          ++pair->inside;
          WaitFor([pair] { return pair->inside.load() == 2; }, 2000.0);
          other->Close();
          ++pair->closed;
          return true;
        },
        0, true, 0, 1, 1);
    ASSERT_NE(session, nullptr);
    addresses[i] = OpenLoopbackDatagram(session, Network::kChannelHostDatagram, Network::kOptionNonBlocking);
    pair->sessions[i] = session;
  }
  SendDatagram(addresses[0], 1, "close the other");
  SendDatagram(addresses[1], 1, "close the other");
  if (!WaitFor([pair] { return pair->closed.load() == 2; }, 20000.0)) {
    ADD_FAILURE() << "two sessions closing each other from their handlers never finish";
    return;
  }
  delete pair;
}

TEST(SessionLifetime, AStartBroadcastThatFindsTheAnnouncementRunningLeavesItStoppable) {
  // Two StartBroadcast calls at once, made deterministic: the handler of the first call's open
  // event makes the second. The first must neither mark the running announcement stopped (its
  // thread would outlive the session) nor leave its own channel open behind the hosting.
  Network::Qln_Network_Manager manager;
  bool nested = false;
  bool nestedStarted = false;
  Qln_Session* host = manager.CreateSession(
      "host", "", false,
      [&](NetEvent& event) {
        if (event.kind == Network::kEventChannelOpened && event.channelKind == Network::kChannelBroadcast &&
            !std::exchange(nested, true)) {
          nestedStarted = event.session->StartBroadcast(0, 1, 5, 0, "in", 2, 0);
        }
        return true;
      },
      0, false, 0, 0, 1);
  ASSERT_NE(host, nullptr);
  host->SetLocalAddress(NetAddress("127.0.0.1", 0));
  host->StartBroadcast(0, 1, 5, 0, "out", 3, 0);
  ASSERT_TRUE(nestedStarted);
  EXPECT_TRUE(host->IsBroadcasting());
  host->StopHosting();
  NetAddress address;
  EXPECT_FALSE(host->GetChannelAddress(Network::kChannelBroadcast, address)) << "a broadcast channel outlived the hosting";
}

TEST(SessionLifetime, SendsLeftQueuedAtTheSessionsCloseAreReported) {
  // A connection whose peer never reads keeps queued sends; the session's close reports each (as
  // failed when it could not go), as closing the connection alone would.
  NetAddress server;
  Network::SocketHandle listener = NetworkTest::ListenOnLoopback(4, server);
  ASSERT_NE(server.GetPort(), 0);
  EventLog log;
  Network::Qln_Network_Manager manager;
  Qln_Session* client = manager.CreateSession("client", "", false, log.Handler(), 0, false, 0, 0, 1);
  ASSERT_NE(client, nullptr);
  Network::SessionLimits limits;
  limits.outgoingQueueBytes = 64u * 1024u * 1024u;
  ASSERT_TRUE(client->SetLimits(limits));
  Network::Channel* channel = client->OpenChannel(Network::kChannelClientStream, Network::kStreamSocket,
                                                  NetAddress("127.0.0.1", 0), Network::kModeQueueSends, 0);
  ASSERT_NE(channel, nullptr);
  ASSERT_TRUE(client->Connect(Network::kChannelClientStream, server));
  // Far more than the kernel's buffers on both sides hold.
  std::vector<std::uint8_t> payload(60000, 1);
  std::size_t sent = 0;
  for (int i = 0; i < 600; ++i) {
    sent += client->Send(Network::kChannelClientStream, 1, payload.data(), static_cast<std::uint32_t>(payload.size()),
                         server) ? 1 : 0;
  }
  ASSERT_EQ(sent, 600u);
  ASSERT_TRUE(PumpUntil({client}, [&] { return !channel->HasOutgoing() || log.Count(Network::kEventSendFinished) > 0; }));
  ASSERT_TRUE(channel->HasOutgoing());
  EXPECT_TRUE(manager.DestroySession(client));
  EXPECT_EQ(log.Count(Network::kEventSendFinished), sent);
  Network::Socket::Close(listener);
}

TEST(SessionLifetime, AHandlerMayDestroyTheSessionAnotherHandlerIsClosing) {
  // Mode 2: one handler closes the session while another destroys it through the manager. The
  // close waits for the other handler to return, which must not wait for the close in turn. On a
  // hang the session is left behind (the threads stuck in it still use it) and the test fails.
  struct Shared {
    Network::Qln_Network_Manager manager;
    std::atomic<Qln_Session*> session{nullptr};
    std::atomic<bool> closing{false};
    std::atomic<int> finished{0};
  };
  auto* shared = new Shared();
  Qln_Session* session = shared->manager.CreateSession(
      "both", "", false,
      [shared](NetEvent& event) {
        if (event.kind != Network::kEventMessageReceived) return true;
        if (event.messageType == 1) {
          shared->closing = true;
          event.session->Close();
        } else {
          // Once the close has shut the gate, and so waits for this handler.
          WaitFor([shared] { return shared->closing.load() && !shared->session.load()->SetLimits(Network::SessionLimits()); });
          shared->manager.DestroySessions();
        }
        ++shared->finished;
        return true;
      },
      0, true, 2, 1, 1);
  ASSERT_NE(session, nullptr);
  shared->session = session;
  const NetAddress address = OpenLoopbackDatagram(session, Network::kChannelHostDatagram, Network::kOptionNonBlocking);
  SendDatagram(address, 2, "destroy");
  SendDatagram(address, 1, "close");
  if (!WaitFor([shared] { return shared->finished.load() == 2; }, 20000.0)) {
    ADD_FAILURE() << "a handler destroying the session another handler closes never returns";
    return;
  }
  delete shared;
}

TEST(SessionLifetime, TheSessionClosedHandlerMayDestroyItsSession) {
  // The owner closes the session, or lets go of every session; the handler of its last event lets
  // the manager drop them too, which destroys the session inside that close.
  for (const bool ownerDestroys : {false, true}) {
    Network::Qln_Network_Manager manager;
    Qln_Session* session = manager.CreateSession(
        "last", "", false,
        [&](NetEvent& event) {
          if (event.kind == Network::kEventSessionClosed) manager.DestroySessions();
          return true;
        },
        0, false, 0, 0, 1);
    ASSERT_NE(session, nullptr);
    if (ownerDestroys) {
      manager.DestroySessions();
    } else {
      EXPECT_TRUE(session->Close());
    }
    EXPECT_EQ(manager.GetSessionCount(), 0u);
  }
}

}  // namespace
