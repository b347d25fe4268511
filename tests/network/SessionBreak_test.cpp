// Sessions closed or destroyed at awkward moments: inside the handlers of events that a call
// delivers on its own thread, from an accept handler, and while calls on other threads read.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "network/Network_Manager.h"
#include "network/Network_Message.h"
#include "network/Network_Socket.h"
#include "NetworkTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using Network::NetAddress;
using Network::NetEvent;
using Network::Qln_Session;
using NetworkTest::HostOnLoopback;
using NetworkTest::OpenLoopbackDatagram;
using NetworkTest::PumpUntil;
using NetworkTest::SendDatagram;
using TestSupport::WaitFor;

TEST(SessionBreak, AnAcceptHandlerThatClosesItsSessionMayStillReadItsConnection) {
  // The accept event keeps its record readable for as long as its handler runs, whatever it closes.
  bool named = false;
  Network::Qln_Network_Manager manager;
  Qln_Session* host = manager.CreateSession(
      "host", "", false,
      [&](NetEvent& event) {
        if (event.kind == Network::kEventConnectionAccepted && event.related != nullptr) {
          event.session->Close();
          named = event.related->remoteAddress == event.peer;
        }
        return true;
      },
      0, false, 0, 0, 1);
  ASSERT_NE(host, nullptr);
  const NetAddress listening = HostOnLoopback(host);
  ASSERT_NE(listening.GetPort(), 0);
  NetworkTest::RawPeer peer(listening);
  ASSERT_TRUE(PumpUntil({host}, [&] { return !host->IsInitialised(); }));
  EXPECT_TRUE(named);
}

TEST(SessionBreak, AHandlerEndingTheSessionWaitsForTheOpenEventTheOwnersCallDelivers) {
  // Mode 1: StartListening delivers its channel's open event on the owner's thread while the
  // worker's handler closes, or destroys, the session.
  for (bool destroy : {false, true}) {
    // Shared: the handler that destroys its session runs on after the owner has moved on.
    const auto ended = std::make_shared<std::atomic<bool>>(false);
    std::atomic<bool> endedDuringOpen{false};
    NetAddress datagram;
    Network::Qln_Network_Manager manager;
    Qln_Session* session = manager.CreateSession(
        "opening", "", false,
        [&, ended, destroy](NetEvent& event) {
          if (event.kind == Network::kEventChannelOpened && event.channelKind == Network::kChannelHostListen) {
            SendDatagram(datagram, 1, "end");
            // Only a guard: an end that waits for this handler never comes while it waits.
            endedDuringOpen = WaitFor([&] { return ended->load(); }, 500.0);
          }
          if (event.kind == Network::kEventSessionClosed && !destroy) *ended = true;
          if (event.kind == Network::kEventMessageReceived) {
            if (destroy) {
              manager.DestroySession(event.session);
              *ended = true;
            } else {
              event.session->Close();
            }
          }
          return true;
        },
        0, true, 0, 1, 1);
    ASSERT_NE(session, nullptr);
    datagram = OpenLoopbackDatagram(session, Network::kChannelHostDatagram);
    ASSERT_NE(datagram.GetPort(), 0);
    EXPECT_FALSE(session->StartListening(NetAddress("127.0.0.1", 0), 4));
    EXPECT_FALSE(endedDuringOpen.load()) << destroy;
  }
}

TEST(SessionBreak, ZeroTimeReceivesOnABlockingStreamNeverHoldTheClose) {
  // Two threads read one blocking stream at once, one message at a time: neither may be left
  // waiting inside the call for bytes the other took, which would hold the session's close.
  NetAddress server;
  Network::SocketHandle listener = NetworkTest::ListenOnLoopback(4, server);
  ASSERT_NE(server.GetPort(), 0);
  Network::Qln_Network_Manager manager;
  Qln_Session* client = manager.CreateSession("client", "", false, nullptr, 0, false, 0, 0, 1);
  ASSERT_NE(client, nullptr);
  ASSERT_NE(client->OpenChannel(Network::kChannelClientStream, Network::kStreamSocket, NetAddress("127.0.0.1", 0), 0, 0),
            nullptr);
  ASSERT_TRUE(client->Connect(Network::kChannelClientStream, server));
  Network::SocketStatus status;
  Network::SocketAddress raw;
  Network::SocketHandle peer = Network::Socket::Accept(listener, raw, status);
  ASSERT_NE(peer, Network::kInvalidSocket);

  std::atomic<bool> stop{false};
  std::atomic<int> received{0};
  std::atomic<int> passes[2] = {{0}, {0}};
  std::vector<std::thread> readers;
  for (int i = 0; i < 2; ++i) {
    readers.emplace_back([&, i] {
      while (!stop.load()) {
        std::vector<NetEvent> events;
        client->ReceiveNow(Network::kChannelClientStream, events, 0);
        for (NetEvent& event : events) event.FreeMessageData();
        received += static_cast<int>(events.size());
        ++passes[i];
      }
    });
  }
  bool stalled = false;
  const std::string message = NetworkTest::Frame(1, "x");
  for (int i = 0; i < 200 && !stalled; ++i) {
    Network::Socket::Send(peer, message.data(), message.size(), status);
    const int before[2] = {passes[0].load(), passes[1].load()};
    stalled = !WaitFor([&] { return received.load() == i + 1; }, 5000.0) ||
              !WaitFor([&] { return passes[0].load() > before[0] + 1 && passes[1].load() > before[1] + 1; }, 5000.0);
  }
  stop = true;
  std::atomic<bool> closed{false};
  std::thread closer([&] {
    client->Close();
    closed = true;
  });
  const bool inTime = WaitFor([&] { return closed.load(); }, 2000.0);
  // Lets a reader left waiting go, so that the test can end either way.
  Network::Socket::Close(peer);
  closer.join();
  for (std::thread& reader : readers) reader.join();
  Network::Socket::Close(listener);
  EXPECT_FALSE(stalled) << "a zero-time receive waited for the peer";
  EXPECT_TRUE(inTime) << "the session's close waited for the peer";
}

TEST(SessionBreak, AConnectionsCloseWaitsForItsAcceptHandlerWhileThatClosesAnotherSession) {
  // Mode 2: the accept handler closes another session, whose worker is still busy, while the
  // owner, another of the host's handlers, or the handler of a third session's open event closes
  // the host. None of these closes is one the accept handler's wait can depend on.
  for (const int closer : {0, 1, 2}) {
    std::atomic<bool> busy{false};
    std::atomic<bool> release{false};
    std::atomic<bool> inAccept{false};
    std::atomic<bool> acceptReturned{false};
    std::atomic<bool> closedEarly{false};
    Network::Qln_Network_Manager manager;
    Qln_Session* other = manager.CreateSession(
        "other", "", false,
        [&](NetEvent& event) {
          if (event.kind == Network::kEventMessageReceived) {
            busy = true;
            // Only a guard: the host's close, which sets it, should wait for all of this.
            WaitFor([&] { return release.load(); }, 500.0);
          }
          return true;
        },
        0, true, 0, 1, 1);
    ASSERT_NE(other, nullptr);
    Qln_Session* host = manager.CreateSession(
        "host", "", false,
        [&](NetEvent& event) {
          if (event.kind == Network::kEventConnectionAccepted) {
            inAccept = true;
            other->Close();
            acceptReturned = true;
          }
          if (event.kind == Network::kEventMessageReceived) event.session->Close();
          if ((event.kind == Network::kEventConnectionClosed || event.kind == Network::kEventSessionClosed) &&
              !acceptReturned.load()) {
            closedEarly = true;
          }
          if (event.kind == Network::kEventSessionClosed) release = true;
          return true;
        },
        0, true, 2, 1, 1);
    ASSERT_NE(host, nullptr);
    NetAddress datagrams[2];
    for (int i = 0; i < 2; ++i) {
      Qln_Session* session = i == 0 ? other : host;
      datagrams[i] = OpenLoopbackDatagram(session, Network::kChannelHostDatagram);
      ASSERT_NE(datagrams[i].GetPort(), 0);
    }
    SendDatagram(datagrams[0], 1, "hold");
    ASSERT_TRUE(WaitFor([&] { return busy.load(); }));
    const NetAddress listening = HostOnLoopback(host);
    ASSERT_NE(listening.GetPort(), 0);
    NetworkTest::RawPeer peer(listening);
    ASSERT_TRUE(WaitFor([&] { return inAccept.load(); }));
    if (closer == 0) host->Close();
    if (closer == 1) SendDatagram(datagrams[1], 1, "close");
    Qln_Session* third = manager.CreateSession(
        "third", "", false,
        [host, closer](NetEvent& event) {
          if (event.kind == Network::kEventChannelOpened && closer == 2) host->Close();
          return true;
        },
        0, false, 0, 0, 1);
    ASSERT_NE(third, nullptr);
    OpenLoopbackDatagram(third, Network::kChannelHostDatagram);
    ASSERT_TRUE(WaitFor([&] { return acceptReturned.load() && !host->IsInitialised(); }));
    EXPECT_FALSE(closedEarly.load()) << closer;
  }
}

TEST(SessionBreak, TheManagersDestructionWaitsForAHandlerThatDestroysItsSessionsThroughIt) {
  // Mode 1: a handler lets go of every session while the owner destroys the manager; the handler's
  // close of its own session is still delivering when the owner's destruction begins.
  std::atomic<bool> inClose{false};
  std::atomic<bool> managerGone{false};
  std::atomic<bool> goneDuringClose{false};
  std::atomic<bool> handlerReturned{false};
  auto* manager = new Network::Qln_Network_Manager();
  Qln_Session* session = manager->CreateSession(
      "self", "", false,
      [&, manager](NetEvent& event) {
        if (event.kind == Network::kEventMessageReceived) {
          manager->DestroySessions();
          handlerReturned = true;
        }
        if (event.kind == Network::kEventChannelClosed) {
          inClose = true;
          // Only a guard: the manager's destruction should wait for this close.
          goneDuringClose = WaitFor([&] { return managerGone.load(); }, 500.0);
        }
        return true;
      },
      0, true, 0, 1, 1);
  ASSERT_NE(session, nullptr);
  const NetAddress datagram = OpenLoopbackDatagram(session, Network::kChannelHostDatagram);
  ASSERT_NE(datagram.GetPort(), 0);
  SendDatagram(datagram, 1, "go");
  ASSERT_TRUE(WaitFor([&] { return inClose.load(); }));
  delete manager;
  managerGone = true;
  ASSERT_TRUE(WaitFor([&] { return handlerReturned.load(); }));
  EXPECT_FALSE(goneDuringClose.load());
}

TEST(SessionBreak, AHandlerOfAClosingSessionMayCloseOneWhoseHandlerDestroysIt) {
  // The owner closes a polled session; the handler of its last event closes a second session,
  // whose worker meanwhile lets go of every session, the closing one included: that destruction
  // waits for the first close, which waits for the second. On a hang everything is left behind
  // (the threads stuck in it still use it) and the test fails.
  struct Shared {
    Network::Qln_Network_Manager manager;
    std::atomic<Qln_Session*> worker{nullptr};
    std::atomic<bool> inHandler{false};
    std::atomic<bool> closing{false};
    std::atomic<int> finished{0};
  };
  auto* shared = new Shared();
  Qln_Session* worker = shared->manager.CreateSession(
      "worker", "", false,
      [shared](NetEvent& event) {
        if (event.kind != Network::kEventMessageReceived) return true;
        shared->inHandler = true;
        WaitFor([shared] { return shared->closing.load(); });
        shared->manager.DestroySessions();
        ++shared->finished;
        return true;
      },
      0, true, 0, 1, 1);
  ASSERT_NE(worker, nullptr);
  shared->worker = worker;
  // Made last, so that the worker's handler lets go of it first.
  Qln_Session* polled = shared->manager.CreateSession(
      "polled", "", false,
      [shared](NetEvent& event) {
        if (event.kind == Network::kEventSessionClosed) {
          shared->closing = true;
          shared->worker.load()->Close();
        }
        return true;
      },
      0, false, 0, 0, 1);
  ASSERT_NE(polled, nullptr);
  const NetAddress datagram = OpenLoopbackDatagram(worker, Network::kChannelHostDatagram);
  ASSERT_NE(datagram.GetPort(), 0);
  SendDatagram(datagram, 1, "go");
  ASSERT_TRUE(WaitFor([shared] { return shared->inHandler.load(); }));
  std::thread closer([shared, polled] {
    polled->Close();
    ++shared->finished;
  });
  if (!WaitFor([shared] { return shared->finished.load() == 2; }, 20000.0)) {
    closer.detach();
    ADD_FAILURE() << "a close whose handler closes a session that destroys the first never ends";
    return;
  }
  closer.join();
  delete shared;
}

TEST(SessionBreak, TheManagerLetsGoOfASessionThatWasClosedFirst) {
  // An owner, or a handler, may close a session before letting the manager drop it.
  Network::Qln_Network_Manager manager;
  Qln_Session* session = manager.CreateSession("closed", "", false, nullptr, 0, false, 0, 0, 1);
  ASSERT_NE(session, nullptr);
  ASSERT_TRUE(session->Close());
  EXPECT_TRUE(manager.DestroySession(session));
  EXPECT_EQ(manager.GetSessionCount(), 0u);
}

TEST(SessionBreak, TwoClosesWhoseLastEventsCloseSessionsWhoseHandlersDestroyTheOtherEnd) {
  // The owner's threads close two polled sessions; the handler of each one's last event closes a
  // worker session, whose busy worker lets the manager drop the other polled session. Each close
  // waits for a worker that waits for the other close. On a hang everything is left behind (the
  // threads stuck in it still use it) and the test fails.
  struct Shared {
    Network::Qln_Network_Manager manager;
    std::atomic<Qln_Session*> closed[2] = {{nullptr}, {nullptr}};
    std::atomic<Qln_Session*> workers[2] = {{nullptr}, {nullptr}};
    std::atomic<bool> closing[2] = {{false}, {false}};
    std::atomic<int> inside{0};
    std::atomic<int> finished{0};
  };
  auto* shared = new Shared();
  NetAddress addresses[2];
  for (int i = 0; i < 2; ++i) {
    Qln_Session* worker = shared->manager.CreateSession(
        "worker", "", false,
        [shared, i](NetEvent& event) {
          if (event.kind != Network::kEventMessageReceived) return true;
          ++shared->inside;
          WaitFor([shared, i] { return shared->closing[1 - i].load(); });
          shared->manager.DestroySession(shared->closed[1 - i].load());
          ++shared->finished;
          return true;
        },
        0, true, 0, 1, 1);
    ASSERT_NE(worker, nullptr);
    shared->workers[i] = worker;
    addresses[i] = OpenLoopbackDatagram(worker, Network::kChannelHostDatagram);
    ASSERT_NE(addresses[i].GetPort(), 0);
    Qln_Session* polled = shared->manager.CreateSession(
        "polled", "", false,
        [shared, i](NetEvent& event) {
          if (event.kind == Network::kEventSessionClosed) {
            shared->closing[i] = true;
            shared->workers[i].load()->Close();
          }
          return true;
        },
        0, false, 0, 0, 1);
    ASSERT_NE(polled, nullptr);
    shared->closed[i] = polled;
  }
  for (const NetAddress& address : addresses) SendDatagram(address, 1, "destroy");
  ASSERT_TRUE(WaitFor([shared] { return shared->inside.load() == 2; }));
  std::thread closers[2];
  for (int i = 0; i < 2; ++i) {
    closers[i] = std::thread([shared, i] {
      shared->closed[i].load()->Close();
      ++shared->finished;
    });
  }
  if (!WaitFor([shared] { return shared->finished.load() == 4; }, 20000.0)) {
    for (std::thread& closer : closers) closer.detach();
    ADD_FAILURE() << "closes whose last events close sessions whose handlers destroy the other never end";
    return;
  }
  for (std::thread& closer : closers) closer.join();
  delete shared;
}

}  // namespace
