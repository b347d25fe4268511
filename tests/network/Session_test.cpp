// Sessions over loopback: hosting and joining, framed messages both ways, hostile peers, datagram
// channels, queued connects and sends, the announcement broadcast and shutting down with threads
// running. Every port is chosen by the kernel, so parallel runs cannot collide.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
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
using Network::Qln_Session;
using NetworkTest::EventLog;
using NetworkTest::Frame;
using NetworkTest::PumpUntil;
using NetworkTest::RawPeer;

std::string Pattern(std::size_t size, std::uint32_t seed) {
  std::string bytes(size, '\0');
  std::uint32_t value = seed;
  for (char& byte : bytes) {
    value = value * 1664525u + 1013904223u;
    byte = static_cast<char>(value >> 24);
  }
  return bytes;
}

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host = manager.CreateSession("host", "secret", true, hostLog.Handler(), 0, false, 0, 0, 1);
    client = manager.CreateSession("client", "", false, clientLog.Handler(), 0, false, 0, 0, 1);
    ASSERT_NE(host, nullptr);
    ASSERT_NE(client, nullptr);
  }

  bool Pump(const std::function<bool()>& condition, double timeoutMs = NetworkTest::kWaitMs) {
    return PumpUntil({host, client}, condition, timeoutMs);
  }

  // Hosts on a kernel-chosen loopback port, for eight players.
  void Listen() {
    ASSERT_TRUE(host->StartListening(NetAddress("127.0.0.1", 0), 8));
    ASSERT_TRUE(host->GetChannelAddress(Network::kChannelHostListen, hostAddress));
  }

  // Hosts on a kernel-chosen loopback port and joins it the way the framework does: a blocking
  // stream channel that the session thread watches once connected.
  void HostAndJoin() {
    ASSERT_NO_FATAL_FAILURE(Listen());
    ASSERT_NE(hostAddress.GetPort(), 0);
    ASSERT_NE(client->OpenChannel(Network::kChannelClientStream, Network::kStreamSocket, NetAddress("127.0.0.1", 0), 0, 0),
              nullptr);
    ASSERT_TRUE(client->Connect(Network::kChannelClientStream, hostAddress));
    ASSERT_TRUE(client->SetChannelMode(Network::kChannelClientStream, Network::kModeWatchRead));
    ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventConnectionAccepted) == 1; }));
    clientAddress = hostLog.OfKind(Network::kEventConnectionAccepted)[0].peer;
    ASSERT_TRUE(host->SetChannelJoined(Network::kChannelHostListen, clientAddress, true));
  }

  // Declared before the manager: the manager closes its sessions first, and their last events
  // still find the logs.
  EventLog hostLog;
  EventLog clientLog;
  Network::Qln_Network_Manager manager;
  Qln_Session* host = nullptr;
  Qln_Session* client = nullptr;
  NetAddress hostAddress;
  NetAddress clientAddress;
};

TEST_F(SessionTest, InitialisationAndFields) {
  EXPECT_EQ(hostLog.Count(Network::kEventSessionInitialised), 1u);
  EXPECT_TRUE(host->IsPasswordProtected());
  EXPECT_FALSE(client->IsPasswordProtected());
  EXPECT_NE(host->GetSessionId(), client->GetSessionId());
  // The session's own address is a real dotted address, never empty.
  std::uint32_t parsed = 0;
  EXPECT_TRUE(Network::Socket::ParseDotted(host->GetLocalAddressText().c_str(), parsed));
  EXPECT_TRUE(manager.StartWinsock());
  EXPECT_FALSE(manager.StartWinsock());
}

TEST_F(SessionTest, HostAndJoinExchangeMessagesBothWays) {
  HostAndJoin();
  EXPECT_TRUE(host->IsHosting());
  EXPECT_FALSE(host->StartListening(NetAddress("127.0.0.1", 0), 8)) << "already hosting";
  NetAddress clientLocal;
  ASSERT_TRUE(client->GetChannelAddress(Network::kChannelClientStream, clientLocal));
  EXPECT_TRUE(clientLocal == clientAddress);
  NetAddress remote;
  ASSERT_TRUE(client->GetChannelRemoteAddress(Network::kChannelClientStream, remote));
  EXPECT_TRUE(remote == hostAddress);

  for (std::uint32_t i = 0; i < 5; ++i) {
    std::string payload = "to host " + std::to_string(i);
    ASSERT_TRUE(client->Send(Network::kChannelClientStream, 100 + i, payload.data(),
                             static_cast<std::uint32_t>(payload.size()), hostAddress));
  }
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventMessageReceived) == 5; }));
  auto received = hostLog.OfKind(Network::kEventMessageReceived);
  for (std::uint32_t i = 0; i < 5; ++i) {
    EXPECT_EQ(received[i].messageType, 100 + i);
    EXPECT_EQ(received[i].payload, "to host " + std::to_string(i));
    EXPECT_EQ(received[i].channelKind, Network::kChannelHostListen);
    EXPECT_TRUE(received[i].peer == clientAddress);
  }

  std::uint32_t sent = 0;
  ASSERT_TRUE(host->Send(Network::kChannelHostListen, 7, "reply", 5, clientAddress, &sent));
  EXPECT_EQ(sent, 13u);
  ASSERT_TRUE(host->Send(Network::kChannelHostListen, 8, nullptr, 0, clientAddress));
  ASSERT_TRUE(Pump([&] { return clientLog.Count(Network::kEventMessageReceived) == 2; }));
  auto replies = clientLog.OfKind(Network::kEventMessageReceived);
  EXPECT_EQ(replies[0].messageType, 7u);
  EXPECT_EQ(replies[0].payload, "reply");
  EXPECT_EQ(replies[0].channelKind, Network::kChannelClientStream);
  EXPECT_TRUE(replies[0].peer == hostAddress);
  EXPECT_EQ(replies[1].messageType, 8u);
  EXPECT_EQ(replies[1].size, 8u);
  EXPECT_EQ(replies[1].payload, "");
}

TEST_F(SessionTest, SendRefusals) {
  HostAndJoin();
  // No channel of the kind; a client's reliable send goes only to its host; an unknown player.
  EXPECT_FALSE(client->Send(Network::kChannelClientDatagram, 1, "x", 1, hostAddress));
  EXPECT_FALSE(client->Send(Network::kChannelClientStream, 1, "x", 1, NetAddress("127.0.0.1", 9)));
  EXPECT_FALSE(host->Send(Network::kChannelHostListen, 1, "x", 1, NetAddress("127.0.0.1", 9)));
  EXPECT_FALSE(client->Send(Network::kChannelClientStream, 1, nullptr, 4, hostAddress));
  EXPECT_FALSE(client->Send(Network::kChannelClientStream, 1, "x", Network::kMaximumMessageSize, hostAddress));

  // Once the player has gone, the host's send finds no connection.
  ASSERT_TRUE(client->CloseChannels(Network::kChannelClientStream, true));
  EXPECT_EQ(clientLog.Count(Network::kEventChannelClosed), 0u) << "events wait for dispatch";
  ASSERT_TRUE(Pump([&] {
    return hostLog.Count(Network::kEventConnectionClosed) == 1 && clientLog.Count(Network::kEventChannelClosed) == 1;
  }));
  auto closed = hostLog.OfKind(Network::kEventConnectionClosed)[0];
  EXPECT_TRUE(closed.peer == clientAddress);
  EXPECT_EQ(closed.failed, 0);
  EXPECT_FALSE(host->Send(Network::kChannelHostListen, 1, "x", 1, clientAddress));
  EXPECT_FALSE(client->CloseChannels(Network::kChannelClientStream, false)) << "nothing left to close";
}

TEST_F(SessionTest, SmallWritesAndBatchedMessagesAreReassembled) {
  ASSERT_NO_FATAL_FAILURE(Listen());
  RawPeer peer(hostAddress);
  ASSERT_TRUE(peer.IsConnected());
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventConnectionAccepted) == 1; }));
  ASSERT_TRUE(host->SetChannelJoined(Network::kChannelHostListen, peer.LocalAddress(), true));

  // One message in writes of one to three bytes, each given time to arrive on its own.
  std::string split = Frame(1, "assembled from many small writes");
  for (std::size_t offset = 0; offset < split.size();) {
    std::size_t length = std::min<std::size_t>(1 + offset % 3, split.size() - offset);
    ASSERT_TRUE(peer.Write(split.substr(offset, length)));
    offset += length;
    host->DispatchEvents(2, 1, nullptr, nullptr);
  }
  // Ten messages and the first half of an eleventh in one write, the rest in another.
  std::string batch;
  for (std::uint32_t i = 0; i < 10; ++i) batch += Frame(10 + i, "batched " + std::to_string(i));
  std::string last = Frame(20, "straddling");
  ASSERT_TRUE(peer.Write(batch + last.substr(0, 11)));
  ASSERT_TRUE(peer.Write(last.substr(11)));

  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventMessageReceived) == 12; }));
  auto received = hostLog.OfKind(Network::kEventMessageReceived);
  EXPECT_EQ(received[0].payload, "assembled from many small writes");
  for (std::uint32_t i = 0; i < 10; ++i) {
    EXPECT_EQ(received[1 + i].messageType, 10 + i);
    EXPECT_EQ(received[1 + i].payload, "batched " + std::to_string(i));
  }
  EXPECT_EQ(received[11].payload, "straddling");
  EXPECT_TRUE(received[11].peer == peer.LocalAddress());
}

TEST_F(SessionTest, LargeMessagesBothWays) {
  Network::SessionLimits limits;
  limits.joinedMessageSize = Network::kMaximumMessageSize;
  host->SetLimits(limits);
  HostAndJoin();
  const std::string up = Pattern(3 * 1024 * 1024 + 17, 1);
  const std::string down = Pattern(5 * 1024 * 1024 + 3, 2);
  ASSERT_TRUE(client->Send(Network::kChannelClientStream, 1, up.data(), static_cast<std::uint32_t>(up.size()), hostAddress));
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventMessageReceived) == 1; }, 20000));
  EXPECT_TRUE(hostLog.OfKind(Network::kEventMessageReceived)[0].payload == up);
  ASSERT_TRUE(host->Send(Network::kChannelHostListen, 2, down.data(), static_cast<std::uint32_t>(down.size()), clientAddress));
  ASSERT_TRUE(Pump([&] { return clientLog.Count(Network::kEventMessageReceived) == 1; }, 20000));
  auto received = clientLog.OfKind(Network::kEventMessageReceived)[0];
  EXPECT_EQ(received.messageType, 2u);
  EXPECT_TRUE(received.payload == down);
  // The connection is still usable afterwards.
  ASSERT_TRUE(client->Send(Network::kChannelClientStream, 3, "after", 5, hostAddress));
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventMessageReceived) == 2; }));
}

TEST_F(SessionTest, HostileLengthHeaderClosesOnlyThatConnection) {
  ASSERT_NO_FATAL_FAILURE(Listen());
  const std::uint32_t lengths[] = {4, 0xFFFFFFFFu, Network::kMaximumMessageSize + 1};
  std::uint32_t index = 0;
  for (std::uint32_t length : lengths) {
    RawPeer peer(hostAddress);
    ASSERT_TRUE(peer.IsConnected());
    std::string bytes = Frame(1, "fine");
    std::string header(8, '\0');
    std::memcpy(&header[4], &length, 4);
    ASSERT_TRUE(peer.Write(bytes + header + std::string(64, 'z')));
    ++index;
    ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventConnectionClosed) == index; })) << length;
    auto closed = hostLog.OfKind(Network::kEventConnectionClosed).back();
    EXPECT_EQ(closed.failed, 1) << "closed because of the stream, not by the peer";
    EXPECT_TRUE(closed.peer == peer.LocalAddress());
    EXPECT_TRUE(peer.WaitForClose()) << "the host hangs up on a hostile stream";
  }
  // The sound message before each bad header was still delivered.
  EXPECT_EQ(hostLog.Count(Network::kEventMessageReceived), 3u);

  // The host goes on serving others.
  RawPeer good(hostAddress);
  ASSERT_TRUE(good.Write(Frame(2, "still here")));
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventMessageReceived) == 4; }));
  EXPECT_EQ(hostLog.OfKind(Network::kEventMessageReceived).back().payload, "still here");
}

TEST_F(SessionTest, PeersThatNeverReadNeitherStallTheSenderNorCostTheOthers) {
  Network::SessionLimits limits;
  limits.sendStallMs = 300;
  host->SetLimits(limits);
  HostAndJoin();
  RawPeer sleeper(hostAddress);
  RawPeer stalled(hostAddress);
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventConnectionAccepted) == 3; }));
  const NetAddress sleeperAddress = sleeper.LocalAddress();
  const NetAddress stalledAddress = stalled.LocalAddress();
  ASSERT_TRUE(host->SetChannelJoined(Network::kChannelHostListen, sleeperAddress, true));
  ASSERT_TRUE(host->SetChannelJoined(Network::kChannelHostListen, stalledAddress, true));
  EXPECT_FALSE(host->SetChannelJoined(Network::kChannelHostListen, hostAddress, true)) << "no such connection";

  // More than the loopback socket buffers hold: only part of it can leave, and the caller does not
  // wait for the rest; neither do the sends queued behind it, until their bound cuts the peer off.
  const std::string flood(Network::kMaximumMessageSize - 8, 'f');
  const std::string block(64 * 1024, 'b');
  Core::Stopwatch watch;
  watch.Start();
  ASSERT_TRUE(host->Send(Network::kChannelHostListen, 1, flood.data(), static_cast<std::uint32_t>(flood.size()),
                         sleeperAddress));
  int accepted = 0;
  while (accepted < 64 && host->Send(Network::kChannelHostListen, 2, block.data(),
                                     static_cast<std::uint32_t>(block.size()), sleeperAddress)) {
    ++accepted;
  }
  EXPECT_LT(accepted, 64) << "the queue behind a peer that does not read is bounded";
  ASSERT_TRUE(host->Send(Network::kChannelHostListen, 1, flood.data(), static_cast<std::uint32_t>(flood.size()),
                         stalledAddress));
  EXPECT_LT(watch.GetElapsed(), 2000.0) << "sends waited on peers that do not read";
  EXPECT_FALSE(host->Send(Network::kChannelHostListen, 3, "x", 1, sleeperAddress)) << "cut off";

  // The peer reads again: it gets the head of the cut frame and then the end of the stream, never
  // the bytes of the messages queued after it.
  std::string received = sleeper.ReadUntilClosed();
  ASSERT_GT(received.size(), 8u);
  EXPECT_LT(received.size(), flood.size() + 8);
  EXPECT_EQ(received.find_first_not_of('f', 8), std::string::npos);
  // The one whose bytes stopped moving goes too, once its stall time has passed.
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventConnectionClosed) == 2; }));
  for (const auto& closed : hostLog.OfKind(Network::kEventConnectionClosed)) {
    EXPECT_EQ(closed.failed, 1);
    EXPECT_TRUE(closed.peer == sleeperAddress || closed.peer == stalledAddress);
  }
  // The joined client is served throughout.
  ASSERT_TRUE(host->Send(Network::kChannelHostListen, 4, "still here", 10, clientAddress));
  ASSERT_TRUE(Pump([&] { return clientLog.Count(Network::kEventMessageReceived) == 1; }));
  ASSERT_TRUE(client->Send(Network::kChannelClientStream, 5, "and here", 8, hostAddress));
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventMessageReceived) == 1; }));
}

TEST_F(SessionTest, ChannelAddressMayBeAskedFromSeveralThreadsAtOnce) {
  ASSERT_NO_FATAL_FAILURE(Listen());
  // Each look-up refreshes the record's address: a handler thread and the game may ask together.
  auto ask = [&] {
    for (int i = 0; i < 300; ++i) {
      NetAddress address;
      ASSERT_TRUE(host->GetChannelAddress(Network::kChannelHostListen, address));
      ASSERT_TRUE(address == hostAddress);
      ASSERT_EQ(address.GetText(), hostAddress.GetText());
    }
  };
  std::thread other(ask);
  ask();
  other.join();
}

TEST_F(SessionTest, DirectSendFailingAfterQueuedSendsOnTheSameStreamClosesItWithoutDeadlock) {
  ASSERT_NO_FATAL_FAILURE(Listen());
  ASSERT_NE(client->OpenChannel(Network::kChannelClientStream, Network::kStreamSocket, NetAddress("127.0.0.1", 0), 0, 0),
            nullptr);
  ASSERT_TRUE(client->Connect(Network::kChannelClientStream, hostAddress));
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventConnectionAccepted) == 1; }));
  clientAddress = hostLog.OfKind(Network::kEventConnectionAccepted)[0].peer;
  // The session thread sends the queued message under its session lock, then the stream's send mutex.
  ASSERT_TRUE(client->SetChannelMode(Network::kChannelClientStream, Network::kModeQueueSends));
  ASSERT_TRUE(client->Send(Network::kChannelClientStream, 1, "queued", 6, hostAddress));
  ASSERT_TRUE(Pump([&] { return clientLog.Count(Network::kEventSendFinished) == 1; }));
  EXPECT_EQ(clientLog.OfKind(Network::kEventSendFinished)[0].failed, 0);

  // The host hangs up; the client's direct sends soon fail and the failure closes the stream.
  ASSERT_TRUE(host->RequestClose(Network::kChannelHostListen, clientAddress, true));
  ASSERT_TRUE(client->SetChannelMode(Network::kChannelClientStream, 0));
  bool failed = false;
  for (int i = 0; i < 500 && !failed; ++i) {
    failed = !client->Send(Network::kChannelClientStream, 2, "direct", 6, hostAddress);
    if (!failed) PAL::ThreadManager::Sleep(1, nullptr);
  }
  ASSERT_TRUE(failed);
  ASSERT_TRUE(Pump([&] { return clientLog.Count(Network::kEventChannelClosed) == 1; }));
  auto closed = clientLog.OfKind(Network::kEventChannelClosed)[0];
  EXPECT_EQ(closed.channelKind, Network::kChannelClientStream);
  EXPECT_EQ(closed.failed, 1);
  EXPECT_FALSE(client->Send(Network::kChannelClientStream, 3, "x", 1, hostAddress));
}

TEST_F(SessionTest, ChannelInUseIsClosedOnlyOnceReleased) {
  Network::Channel* channel = host->OpenChannel(Network::kChannelHostDatagram, Network::kDatagramSocket,
                                                NetAddress("127.0.0.1", 0), Network::kModeWatchRead,
                                                Network::kOptionNonBlocking);
  ASSERT_NE(channel, nullptr);
  // Binding again keeps the socket it has.
  Network::SocketHandle socket = channel->socket;
  EXPECT_TRUE(channel->CreateAndBind(Network::kDatagramSocket, NetAddress("127.0.0.1", 0)));
  EXPECT_EQ(channel->socket, socket);

  channel->RaiseUseCount();
  ASSERT_TRUE(host->CloseChannels(Network::kChannelHostDatagram, false));
  // Closed for look-ups at once, but the socket stays while the record is in use.
  EXPECT_FALSE(host->Send(Network::kChannelHostDatagram, 1, "x", 1, NetAddress("127.0.0.1", 9)));
  EXPECT_FALSE(Pump([&] { return hostLog.Count(Network::kEventChannelClosed) > 0; }, 100));
  EXPECT_EQ(channel->socket, socket);
  channel->LowerUseCount();
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventChannelClosed) == 1; }));
  EXPECT_EQ(hostLog.OfKind(Network::kEventChannelClosed)[0].channelKind, Network::kChannelHostDatagram);
}

TEST_F(SessionTest, HostingStateMayBeReadFromAHandlerThread) {
  // Delivery on a worker thread: its handler keeps asking the session's state while the owning
  // thread starts and stops hosting.
  std::atomic<Qln_Session*> self{nullptr};
  std::atomic<bool> watching{false};
  std::atomic<bool> finished{false};
  std::atomic<int> asked{0};
  std::atomic<int> uninitialised{0};
  std::atomic<int> sawHosting{0};
  Qln_Session* worker = manager.CreateSession(
      "worker", "", false,
      [&](Network::NetEvent& event) {
        Qln_Session* session = self.load();
        if (session == nullptr || event.kind != Network::kEventChannelClosed || watching.exchange(true)) return true;
        while (!finished.load()) {
          if (!session->IsInitialised()) ++uninitialised;
          if (session->IsHosting()) ++sawHosting;
          ++asked;
          std::this_thread::yield();
        }
        return true;
      },
      0, true, 0, 1, 1);
  ASSERT_NE(worker, nullptr);
  self = worker;
  ASSERT_TRUE(worker->StartListening(NetAddress("127.0.0.1", 0), 8));
  worker->StopHosting();
  ASSERT_TRUE(TestSupport::WaitFor([&] { return asked.load() > 0; })) << "the handler never ran on the worker";
  for (int round = 0; round < 20; ++round) {
    ASSERT_TRUE(worker->StartListening(NetAddress("127.0.0.1", 0), 8));
    EXPECT_TRUE(worker->IsHosting());
    EXPECT_FALSE(worker->StartListening(NetAddress("127.0.0.1", 0), 8)) << "already hosting";
    worker->StopHosting();
    EXPECT_FALSE(worker->IsHosting());
  }
  finished = true;
  EXPECT_EQ(uninitialised.load(), 0);
  self = nullptr;
  EXPECT_TRUE(manager.DestroySession(worker));
}

TEST_F(SessionTest, HandlerMayCloseAndWaitFromInsideDispatch) {
  ASSERT_NO_FATAL_FAILURE(Listen());
  // A handler that waits for its own close while being dispatched: the session thread must
  // still be able to finish the close and post its events.
  Qln_Session* self = nullptr;
  bool closedInside = false;
  EventLog log;
  Network::EventHandler record = log.Handler();
  Qln_Session* player = manager.CreateSession(
      "player", "", false,
      [&](Network::NetEvent& event) {
        record(event);
        if (event.kind == Network::kEventMessageReceived && self != nullptr) {
          closedInside = self->CloseChannels(Network::kChannelClientStream, true);
        }
        return true;
      },
      0, false, 0, 0, 1);
  ASSERT_NE(player, nullptr);
  self = player;
  ASSERT_NE(player->OpenChannel(Network::kChannelClientStream, Network::kStreamSocket, NetAddress("127.0.0.1", 0), 0, 0),
            nullptr);
  ASSERT_TRUE(player->Connect(Network::kChannelClientStream, hostAddress));
  ASSERT_TRUE(player->SetChannelMode(Network::kChannelClientStream, Network::kModeWatchRead));
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventConnectionAccepted) == 1; }));
  NetAddress peer = hostLog.OfKind(Network::kEventConnectionAccepted)[0].peer;
  ASSERT_TRUE(host->Send(Network::kChannelHostListen, 1, "bye", 3, peer));
  Core::Stopwatch watch;
  watch.Start();
  ASSERT_TRUE(PumpUntil({player}, [&] { return log.Count(Network::kEventChannelClosed) == 1; }));
  EXPECT_TRUE(closedInside);
  EXPECT_LT(watch.GetElapsed(), 3000.0) << "the close completed instead of timing out";
  EXPECT_TRUE(manager.DestroySession(player));
}

TEST_F(SessionTest, PeerThatVanishesMidMessageIsAnEvent) {
  ASSERT_NO_FATAL_FAILURE(Listen());
  {
    RawPeer peer(hostAddress);
    std::string message = Frame(1, std::string(1000, 'h'));
    ASSERT_TRUE(peer.Write(message.substr(0, 500)));
    ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventConnectionAccepted) == 1; }));
  }
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventConnectionClosed) == 1; }));
  EXPECT_EQ(hostLog.Count(Network::kEventMessageReceived), 0u);
  EXPECT_EQ(hostLog.OfKind(Network::kEventConnectionClosed)[0].failed, 0);
}

TEST_F(SessionTest, DatagramChannelsDropMalformedDatagrams) {
  ASSERT_NE(host->OpenChannel(Network::kChannelHostDatagram, Network::kDatagramSocket, NetAddress("127.0.0.1", 0),
                              Network::kModeWatchRead, Network::kOptionNonBlocking),
            nullptr);
  ASSERT_NE(client->OpenChannel(Network::kChannelClientDatagram, Network::kDatagramSocket, NetAddress("127.0.0.1", 0),
                                Network::kModeWatchRead, Network::kOptionNonBlocking),
            nullptr);
  EXPECT_EQ(hostLog.Count(Network::kEventChannelOpened), 1u);
  NetAddress hostUdp;
  NetAddress clientUdp;
  ASSERT_TRUE(host->GetChannelAddress(Network::kChannelHostDatagram, hostUdp));
  ASSERT_TRUE(client->GetChannelAddress(Network::kChannelClientDatagram, clientUdp));

  // Empty, short, and lying datagrams from a stranger: dropped, and the channel stays open.
  Network::SocketHandle stranger = Network::Socket::Create(Network::kDatagramSocket);
  Network::SocketStatus status;
  std::string lying = Frame(3, "abc");
  lying[4] = 99;
  char nothing = 0;
  Network::Socket::SendTo(stranger, &nothing, 0, hostUdp.GetSocketAddress(), status);
  Network::Socket::SendTo(stranger, "short", 5, hostUdp.GetSocketAddress(), status);
  Network::Socket::SendTo(stranger, lying.data(), lying.size(), hostUdp.GetSocketAddress(), status);
  Network::Socket::Close(stranger);

  ASSERT_TRUE(client->Send(Network::kChannelClientDatagram, 42, "ping", 4, hostUdp));
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventMessageReceived) == 1; }));
  auto ping = hostLog.OfKind(Network::kEventMessageReceived)[0];
  EXPECT_EQ(ping.messageType, 42u);
  EXPECT_EQ(ping.payload, "ping");
  EXPECT_EQ(ping.channelKind, Network::kChannelHostDatagram);
  EXPECT_TRUE(ping.peer == clientUdp);
  EXPECT_EQ(hostLog.Count(Network::kEventChannelClosed), 0u);

  ASSERT_TRUE(host->Send(Network::kChannelHostDatagram, 43, "pong", 4, ping.peer));
  ASSERT_TRUE(Pump([&] { return clientLog.Count(Network::kEventMessageReceived) == 1; }));
  EXPECT_EQ(clientLog.OfKind(Network::kEventMessageReceived)[0].payload, "pong");

  // Queued sends go out through the session thread and report back.
  ASSERT_TRUE(client->SetChannelMode(Network::kChannelClientDatagram, Network::kModeWatchRead | Network::kModeQueueSends));
  ASSERT_TRUE(client->Send(Network::kChannelClientDatagram, 44, "queued", 6, hostUdp));
  ASSERT_TRUE(Pump([&] {
    return clientLog.Count(Network::kEventSendFinished) == 1 && hostLog.Count(Network::kEventMessageReceived) == 2;
  }));
  EXPECT_EQ(clientLog.OfKind(Network::kEventSendFinished)[0].failed, 0);
  EXPECT_EQ(hostLog.OfKind(Network::kEventMessageReceived)[1].payload, "queued");
}

TEST_F(SessionTest, QueuedConnectReportsSuccessAndRefusal) {
  ASSERT_NO_FATAL_FAILURE(Listen());
  ASSERT_NE(client->OpenChannel(Network::kChannelClientStream, Network::kStreamSocket, NetAddress("127.0.0.1", 0),
                                Network::kModeWatchRead, Network::kOptionNonBlocking),
            nullptr);
  ASSERT_TRUE(client->Connect(Network::kChannelClientStream, hostAddress));
  ASSERT_TRUE(Pump([&] { return clientLog.Count(Network::kEventConnectFinished) == 1; }));
  EXPECT_EQ(clientLog.OfKind(Network::kEventConnectFinished)[0].failed, 0);
  ASSERT_TRUE(client->Send(Network::kChannelClientStream, 5, "hello", 5, hostAddress));
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventMessageReceived) == 1; }));

  // A port nobody listens on: take one from the kernel and give it back.
  Network::SocketHandle probe = Network::Socket::Create(Network::kStreamSocket);
  ASSERT_TRUE(Network::Socket::Bind(probe, NetAddress("127.0.0.1", 0).GetSocketAddress()));
  Network::SocketAddress unused;
  ASSERT_TRUE(Network::Socket::GetLocalAddress(probe, unused));
  Network::Socket::Close(probe);
  NetAddress nobody;
  nobody.SetSocketAddress(unused);

  ASSERT_NE(host->OpenChannel(Network::kChannelClientStream, Network::kStreamSocket, NetAddress("127.0.0.1", 0), 0,
                              Network::kOptionNonBlocking),
            nullptr);
  ASSERT_TRUE(host->Connect(Network::kChannelClientStream, nobody));
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventConnectFinished) == 1; }));
  EXPECT_EQ(hostLog.OfKind(Network::kEventConnectFinished)[0].failed, 1);
  // A blocking connect to the same place fails at once.
  ASSERT_NE(client->OpenChannel(Network::kChannelHostDatagram + 10, Network::kStreamSocket, NetAddress("127.0.0.1", 0), 0, 0),
            nullptr);
  EXPECT_FALSE(client->Connect(Network::kChannelHostDatagram + 10, nobody));
  EXPECT_FALSE(client->Connect(99, hostAddress)) << "no channel of that kind";
}

TEST_F(SessionTest, ReceiveNowWaitsForTheHostsAnswerWithinItsLimit) {
  HostAndJoin();
  // As during a join: the client's stream is not watched by its session thread yet.
  ASSERT_TRUE(client->SetChannelMode(Network::kChannelClientStream, 0));
  std::vector<Network::NetEvent> events;
  Core::Stopwatch watch;
  watch.Start();
  ASSERT_TRUE(client->ReceiveNow(Network::kChannelClientStream, events, 100));
  EXPECT_TRUE(events.empty());
  EXPECT_LT(watch.GetElapsed(), 3000.0) << "a silent host must not hang the join";

  std::string answer = Pattern(200000, 3);
  ASSERT_TRUE(host->Send(Network::kChannelHostListen, 9, answer.data(), static_cast<std::uint32_t>(answer.size()),
                         clientAddress));
  ASSERT_TRUE(client->ReceiveNow(Network::kChannelClientStream, events, 5000));
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].messageType, 9u);
  EXPECT_EQ(events[0].kind, Network::kEventMessageReceived);
  ASSERT_EQ(events[0].payloadSize, answer.size());
  EXPECT_EQ(0, std::memcmp(events[0].payload, answer.data(), answer.size()));
  for (Network::NetEvent& event : events) Qln_Session::Deliver(event);
  EXPECT_EQ(clientLog.Count(Network::kEventMessageReceived), 1u);
  EXPECT_FALSE(client->ReceiveNow(77, events, 10));
}

TEST_F(SessionTest, ReceiveNowRightAfterAQueuedConnectWaitsForTheConnectionAndNamesTheHost) {
  ASSERT_TRUE(host->StartListening(NetAddress("127.0.0.1", 0), 64));
  ASSERT_TRUE(host->GetChannelAddress(Network::kChannelHostListen, hostAddress));
  // Many rounds: the session thread completes each connect while the caller is already receiving.
  for (std::size_t round = 0; round < 40; ++round) {
    SCOPED_TRACE(round);
    ASSERT_NE(client->OpenChannel(Network::kChannelClientStream, Network::kStreamSocket, NetAddress("127.0.0.1", 0), 0,
                                  Network::kOptionNonBlocking),
              nullptr);
    ASSERT_TRUE(client->Connect(Network::kChannelClientStream, hostAddress));
    // Before the connect is even started the socket reports a hang-up: it must be left alone.
    std::vector<Network::NetEvent> events;
    NetAddress peer;
    bool answered = false;
    Core::Stopwatch waited;
    waited.Start();
    while (events.empty() && waited.GetElapsed() < NetworkTest::kWaitMs) {
      ASSERT_TRUE(client->ReceiveNow(Network::kChannelClientStream, events));
      host->DispatchEvents(5, 0, nullptr, nullptr);
      if (!answered && hostLog.Count(Network::kEventConnectionAccepted) == round + 1) {
        peer = hostLog.OfKind(Network::kEventConnectionAccepted)[round].peer;
        ASSERT_TRUE(host->Send(Network::kChannelHostListen, 4, "welcome", 7, peer));
        answered = true;
      }
    }
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].payloadSize, 7u);
    EXPECT_TRUE(events[0].peer == hostAddress);
    EXPECT_EQ(events[0].peer.GetText(), hostAddress.GetText());
    for (Network::NetEvent& event : events) event.FreeMessageData();
    ASSERT_TRUE(client->CloseChannels(Network::kChannelClientStream, true));
    ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventConnectionClosed) == round + 1; }));
  }
  ASSERT_TRUE(Pump([&] { return clientLog.Count(Network::kEventChannelClosed) == 40; }));
  for (const auto& finished : clientLog.OfKind(Network::kEventConnectFinished)) EXPECT_EQ(finished.failed, 0);
  for (const auto& closed : clientLog.OfKind(Network::kEventChannelClosed)) EXPECT_EQ(closed.failed, 0);
}

TEST_F(SessionTest, AnnouncementIsBroadcastAndDiscovered) {
  // Loopback stands in for the subnet: the session's own address 127.0.0.1 broadcasts to
  // 127.0.0.255, which the loopback interface delivers to the listener's kernel-chosen port.
  host->SetLocalAddress(NetAddress("127.0.0.1", 0));
  ASSERT_TRUE(client->OpenDiscoveryListener(0));
  NetAddress listener;
  ASSERT_TRUE(client->GetChannelAddress(Network::kChannelDiscovery, listener));
  ASSERT_NE(listener.GetPort(), 0);

  const std::string first = "session one, 1 of 4 players";
  ASSERT_TRUE(host->StartBroadcast(listener.GetPort(), 1, 20, 0, first.data(), static_cast<std::uint32_t>(first.size()), 0));
  EXPECT_TRUE(host->IsBroadcasting());
  NetAddress target;
  ASSERT_TRUE(host->GetBroadcastAddress(target));
  EXPECT_EQ(target.GetText(), "127.0.0.255");
  EXPECT_EQ(target.GetPort(), listener.GetPort());
  // A second start leaves the running broadcast alone.
  EXPECT_FALSE(host->StartBroadcast(listener.GetPort(), 2, 20, 5, "x", 1, 0));

  ASSERT_TRUE(Pump([&] { return clientLog.Count(Network::kEventMessageReceived) >= 2; }));
  auto announcement = clientLog.OfKind(Network::kEventMessageReceived)[0];
  EXPECT_EQ(announcement.channelKind, Network::kChannelDiscovery);
  EXPECT_EQ(announcement.messageType, 0u);
  EXPECT_EQ(announcement.payload, first);
  EXPECT_EQ(announcement.size, first.size() + 8);

  // Shrinking and growing the payload while it runs; the type stays.
  for (const std::string& payload : {std::string("short"), Pattern(3000, 4)}) {
    ASSERT_TRUE(host->SetBroadcastData(payload.data(), static_cast<std::uint32_t>(payload.size())));
    ASSERT_TRUE(Pump([&] {
      auto received = clientLog.OfKind(Network::kEventMessageReceived);
      return !received.empty() && received.back().payload == payload;
    }));
    auto latest = clientLog.OfKind(Network::kEventMessageReceived).back();
    EXPECT_EQ(latest.messageType, 0u);
    EXPECT_EQ(latest.size, payload.size() + 8);
  }
  EXPECT_FALSE(client->SetBroadcastData("x", 1)) << "no broadcast runs there";

  ASSERT_TRUE(client->CloseClientChannel(true));
  ASSERT_TRUE(Pump([&] { return clientLog.Count(Network::kEventChannelClosed) == 1; }));
  EXPECT_EQ(clientLog.OfKind(Network::kEventChannelClosed)[0].channelKind, Network::kChannelDiscovery);
}

TEST_F(SessionTest, CloseWithThreadsRunningEndsCleanly) {
  HostAndJoin();
  host->SetLocalAddress(NetAddress("127.0.0.1", 0));
  ASSERT_TRUE(client->OpenDiscoveryListener(0));
  NetAddress listener;
  ASSERT_TRUE(client->GetChannelAddress(Network::kChannelDiscovery, listener));
  ASSERT_TRUE(host->StartBroadcast(listener.GetPort(), 1, 5, 0, "busy", 4, 0));
  for (std::uint32_t i = 0; i < 50; ++i) ASSERT_TRUE(client->Send(Network::kChannelClientStream, i, "load", 4, hostAddress));
  // Some arrive, some wait undelivered in the queue while the host goes away.
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventMessageReceived) >= 1; }));

  Core::Stopwatch watch;
  watch.Start();
  EXPECT_FALSE(manager.DestroySession(nullptr));
  Network::Qln_Session stranger;
  EXPECT_FALSE(manager.DestroySession(&stranger));
  ASSERT_TRUE(manager.DestroySession(host));
  host = nullptr;
  EXPECT_LT(watch.GetElapsed(), 3000.0);

  auto events = hostLog.Snapshot();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().kind, Network::kEventSessionClosed);
  // What had been read was delivered, before or by the close; nothing was made up.
  EXPECT_LE(hostLog.Count(Network::kEventMessageReceived), 50u);
  EXPECT_EQ(hostLog.Count(Network::kEventConnectionClosed), 1u);
  EXPECT_GE(hostLog.Count(Network::kEventChannelClosed), 2u);

  // The client notices its host has gone.
  ASSERT_TRUE(PumpUntil({client}, [&] {
    for (const auto& event : clientLog.OfKind(Network::kEventChannelClosed)) {
      if (event.channelKind == Network::kChannelClientStream) return true;
    }
    return false;
  }));
  EXPECT_EQ(manager.GetSessionCount(), 1u);
}

}  // namespace
