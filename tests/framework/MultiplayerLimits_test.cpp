// What a stranger, a hostile host or a hostile player can make the multiplayer layer hold, wait for
// or build: each fault found in the framework's multiplayer layer has its test here. Every wait
// has a deadline.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "core/Core_File.h"
#include "core/Core_Object.h"
#include "core/Core_Time.h"
#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_NetworkFile.h"
#include "framework/Quillon_QlnNet.h"
#include "tests/framework/MultiplayerFixture.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace MultiplayerTesting;

// ---- 5: relays are bounded ------------------------------------------------------------------------

// A data message from the client to everybody, as a game's sender would make it.
std::string DataMessage(uint32_t senderId, uint32_t kind, const std::string& data) {
  return Bytes(senderId) + Bytes(uint32_t{1}) + Bytes(kind) + Bytes(static_cast<uint32_t>(data.size())) + data;
}

TEST_F(MultiplayerTest, TheHostRelaysNoMessageLargerThanItsBound) {
  ASSERT_TRUE(Join("pw"));
  const uint32_t id = client.net->GetLocalPlayer()->GetID();
  const std::string huge = DataMessage(id, 7, std::string(QlnNet::kMaximumRelayedMessage, 'x'));
  const std::string small = DataMessage(id, 8, "small");
  ASSERT_TRUE(client.net->SendMessage(kQlnData, huge.data(), static_cast<uint32_t>(huge.size()), nullptr, true));
  ASSERT_TRUE(client.net->SendMessage(kQlnData, small.data(), static_cast<uint32_t>(small.size()), nullptr, true));
  // The stream keeps the order: once the small one is in, the large one has been dealt with.
  ASSERT_TRUE(Pump([&] { return host.Count(kQlnEventData) > 0; }));
  for (const NetworkEvent& event : host.events) {
    if (event.type == kQlnEventData) {
      EXPECT_EQ(event.dataKind, 8u) << "a message past the bound is not taken on";
    }
  }
  // A client's own text past the bound is refused before it leaves.
  EXPECT_FALSE(client.net->SendTextMessage(true, std::string(QlnNet::kMaximumRelayedMessage, 't'), false));
  EXPECT_TRUE(client.net->SendTextMessage(true, "fits", false));
}

// A session of three: room for a raw player beside the client.
class ThreePlayerTest : public MultiplayerTest {
 protected:
  uint32_t MaxPlayers() const override { return 3; }
};

// Joins the host by hand; the connection, or -1. The answer is read, nothing after it.
int JoinByHand(const Network::NetAddress& host, const std::string& name, uint32_t& id, int receiveBuffer = 0) {
  const int fd = ConnectStream(host, receiveBuffer);
  if (fd < 0) return -1;
  SendSome(fd, Framed(kQlnJoinRequest, JoinRequestBytes("pw", name)));
  uint32_t type = 0;
  std::string answer;
  int32_t code = 0;
  // The host answers in its frames: the caller pumps it meanwhile.
  if (!ReadFramed(fd, type, answer) || type != kQlnJoinReply || answer.size() != 4) {
    close(fd);
    return -1;
  }
  std::memcpy(&code, answer.data(), 4);
  id = static_cast<uint32_t>(code);
  return fd;
}

TEST_F(ThreePlayerTest, ARelayToAPlayerThatDoesNotReadHoldsNobodyUp) {
  ASSERT_TRUE(Join("pw"));
  // A player that stops reading once it is in, with little room to receive.
  std::atomic<int> silent{-1};
  uint32_t silentId = 0;
  std::thread joiner([&] { silent = JoinByHand(host.net->GetServerAddress(), "Silent", silentId, 4096); });
  ASSERT_TRUE(Pump([&] { return host.net->GetDefaultGroup()->GetSize() == 3; }));
  joiner.join();
  ASSERT_GE(silent.load(), 0);

  // The client sends several megabytes to everybody, each message within the relay's bound.
  const uint32_t id = client.net->GetLocalPlayer()->GetID();
  const std::string chunk = DataMessage(id, 9, std::string(QlnNet::kMaximumRelayedMessage - 64, 'r'));
  double longest = 0.0;
  int sent = 0;
  Core::Stopwatch waited;
  waited.Start();
  while ((sent < 100 || host.net->GetDefaultGroup()->GetSize() == 3) && waited.GetElapsed() < 4 * kWaitMs) {
    if (sent < 100 && client.net->SendMessage(kQlnData, chunk.data(), static_cast<uint32_t>(chunk.size()), nullptr, true)) ++sent;
    Core::Stopwatch update;
    update.Start();
    host.net->Update(kStep);
    longest = std::max(longest, update.GetElapsed());
    client.net->Update(kStep);
  }
  EXPECT_EQ(sent, 100);
  EXPECT_EQ(host.net->GetDefaultGroup()->GetSize(), 2u) << "the player that does not read is cut off";
  EXPECT_TRUE(client.net->IsConnected()) << "only that player goes";
  EXPECT_LT(longest, 500.0) << "the host waited on a player that does not read";
  close(silent);
}

// ---- 6: a departed player's groups go -------------------------------------------------------------

TEST_F(MultiplayerTest, APlayerOwnsItsShareOfTheGroupsAndTheyGoWithIt) {
  ASSERT_TRUE(Join("pw"));
  ASSERT_TRUE(Pump([&] { return client.net->GetDefaultGroup()->GetSize() == 2; }));
  QlnPlayer* hostOnClient = client.net->FindPlayer("Hoster");
  ASSERT_NE(hostOnClient, nullptr);
  for (int i = 0; i < 256; ++i) {
    Core::SmartPointer<QlnGroup> group(new QlnGroup("g" + std::to_string(i), nullptr));
    group->AddPlayer(hostOnClient);
    ASSERT_TRUE(client.net->CreateGroup(group.Get()));
  }
  // The stream keeps the order: the text comes after every group.
  ASSERT_TRUE(client.net->SendTextMessage(true, "after the groups", false));
  ASSERT_TRUE(Pump([&] { return !host.texts.empty(); }));
  // Two players in this session: each may own half of the table.
  EXPECT_EQ(host.net->GetGroupsCount(), QlnNet::kMaximumGroups / 2);

  Core::SmartPointer<QlnPlayer> visitor(host.net->FindPlayer("Visitor"));
  ASSERT_TRUE(visitor);
  client.net->Shutdown();
  ASSERT_TRUE(Pump([&] { return host.net->GetDefaultGroup()->GetSize() == 1; }));
  EXPECT_EQ(host.net->GetGroupsCount(), 0u) << "the departed owner's groups stay";
  EXPECT_EQ(visitor->GetReferenceCount(), 1u) << "something still holds the departed player";
}

// ---- 7: discovery takes the host's address from the datagram ---------------------------------------

TEST_F(MultiplayerTest, AnAnnouncementNamesTheMachineItCameFrom) {
  Network::NetAddress discovery;
  ASSERT_TRUE(client.net->GetTransportSession()->GetChannelAddress(Network::kChannelDiscovery, discovery));
  const int sender = DatagramSocket();
  ASSERT_GE(sender, 0);
  // It claims to be a host at another machine.
  const Network::NetAddress elsewhere("10.9.8.7", 4321);
  const std::string spoofed = Framed(kQlnAnnouncement, AnnouncementBytes(elsewhere.GetSocketAddress(), 4, 1, "velkor", "Fake"));
  const auto fake = [&]() -> const QlnBroadcast* {
    for (const QlnBroadcast& session : client.net->GetSessionsFound()) {
      if (session.hostName == "Fake") return &session;
    }
    return nullptr;
  };
  ASSERT_TRUE(Pump([&] {
    SendDatagram(sender, discovery, spoofed);
    return fake() != nullptr;
  }));
  EXPECT_EQ(fake()->address.GetPort(), 4321) << "the port is the announcement's word";
  EXPECT_EQ(fake()->address.GetText(), "127.0.0.1") << "the machine is where the datagram came from";

  // One machine cannot fill the list: a flood of announcements of ever new ports keeps a few.
  for (int i = 0; i < 200; ++i) {
    Network::NetAddress port("127.0.0.1", 20000 + i);
    SendDatagram(sender, discovery, Framed(kQlnAnnouncement, AnnouncementBytes(port.GetSocketAddress(), 4, 1, "velkor", "Flood")));
  }
  for (int i = 0; i < 20; ++i) client.net->Update(kStep);
  EXPECT_LE(client.net->GetSessionsFound().size(), QlnNet::kMaximumSessionsPerMachine);
  close(sender);
}

// ---- 8: a hook may shut the session down ----------------------------------------------------------

TEST_F(MultiplayerTest, TheHostsJoinHookMayShutTheSessionDown) {
  host.onEvent = [&](const NetworkEvent& event) {
    if (event.type == kQlnEventJoinRequest) host.net->Shutdown();
  };
  EXPECT_FALSE(Join("pw"));
  EXPECT_EQ(host.net->GetTransportSession(), nullptr);
  EXPECT_FALSE(host.net->IsNetworkGame());
  host.net->Update(kStep);
}

TEST_F(MultiplayerTest, TheClientsHooksMayShutTheSessionDown) {
  client.onEvent = [&](const NetworkEvent& event) {
    if (event.type == kQlnEventJoinAnswer) client.net->Shutdown();
  };
  EXPECT_FALSE(Join("pw"));
  EXPECT_EQ(client.net->GetTransportSession(), nullptr);
  client.net->Update(kStep);
  // Its own player's arrival, before the request leaves.
  ASSERT_TRUE(client.net->StartSession(false, client.Callback(), "velkor", "", 5, 0, 60, 0, 0));
  client.onEvent = [&](const NetworkEvent& event) {
    if (event.type == kQlnEventPlayerJoined) client.net->Shutdown();
  };
  EXPECT_FALSE(Join("pw"));
  EXPECT_EQ(client.net->GetTransportSession(), nullptr);
}

// ---- A hostile host, played by hand ----------------------------------------------------------------

// Listens on loopback, answers one join with the id 5 (after a while, when asked), then does what
// the test asks.
class FakeHost {
 public:
  explicit FakeHost(std::function<void(int)> afterAnswer, bool answer = true, int answerAfterMs = 0)
      : m_afterAnswer(std::move(afterAnswer)), m_answer(answer), m_answerAfterMs(answerAfterMs) {
    m_listener = ListenStream(m_address);
    m_thread = std::thread([this] { Run(); });
  }
  ~FakeHost() {
    m_stop = true;
    m_thread.join();
    if (m_listener >= 0) close(m_listener);
  }
  const Network::NetAddress& Address() const { return m_address; }
  bool Done() const { return m_done; }
  bool Stopping() const { return m_stop; }

 private:
  void Run() {
    pollfd entry{m_listener, POLLIN, 0};
    Core::Stopwatch waited;
    waited.Start();
    while (!m_stop && poll(&entry, 1, 10) <= 0 && waited.GetElapsed() < 10000.0) {
    }
    const int connection = m_stop ? -1 : accept(m_listener, nullptr, nullptr);
    if (connection >= 0) {
      uint32_t type = 0;
      std::string payload;
      if (m_answer && ReadFramed(connection, type, payload) && type == kQlnJoinRequest) {
        std::this_thread::sleep_for(std::chrono::milliseconds(m_answerAfterMs));
        const int32_t id = 5;
        SendSome(connection, Framed(kQlnJoinReply, Bytes(id)));
        m_afterAnswer(connection);
      }
      m_done = true;
      while (!m_stop) std::this_thread::sleep_for(std::chrono::milliseconds(5));
      close(connection);
    }
    m_done = true;
  }

  std::function<void(int)> m_afterAnswer;
  bool m_answer;
  int m_answerAfterMs;
  int m_listener = -1;
  Network::NetAddress m_address;
  std::atomic<bool> m_stop{false};
  std::atomic<bool> m_done{false};
  std::thread m_thread;
};

// Player records of ids 100, 101, ... as one block of bytes.
std::string PlayerRecords(uint32_t count) {
  std::string bytes;
  for (uint32_t i = 0; i < count; ++i) bytes += Framed(kQlnPlayerRecord, PlayerRecordBytes(100 + i, false, "p"));
  return bytes;
}

class HostileHostTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(client.net->StartSession(false, client.Callback(), "velkor", "", 5, 0, 60, 0, 0)); }
  void TearDown() override { client.net->Shutdown(); }
  Machine client;
};

// A join of the fake host: on a busy machine its answer may come after the join returned.
bool JoinFake(QlnNet& net, const QlnBroadcast& session) {
  if (net.JoinSession("Visitor", session, "")) return true;
  Core::Stopwatch waited;
  waited.Start();
  while (net.IsJoining() && waited.GetElapsed() < 2 * QlnNet::kJoinAnswerMs) net.Update(kStep);
  return net.IsConnected();
}

QlnBroadcast FakeSession(const FakeHost& fake, uint32_t maxPlayers) {
  QlnBroadcast session;
  session.address = fake.Address();
  session.maxPlayers = maxPlayers;
  return session;
}

// ---- 9: the client keeps no more players than the session holds ------------------------------------

TEST_F(HostileHostTest, TheClientKeepsNoMorePlayersThanTheSessionHolds) {
  FakeHost fake([](int connection) { SendSome(connection, PlayerRecords(3000), 10000); });
  ASSERT_TRUE(JoinFake(*client.net, FakeSession(fake, 8)));
  Core::Stopwatch waited;
  waited.Start();
  while (!fake.Done() && waited.GetElapsed() < 10000.0) client.net->Update(kStep);
  // The records arrive through the session thread: until the session is full, then a while more.
  Core::Stopwatch filling;
  filling.Start();
  while (client.net->GetDefaultGroup()->GetSize() < 8 && filling.GetElapsed() < 5000.0) client.net->Update(kStep);
  Core::Stopwatch more;
  more.Start();
  while (more.GetElapsed() < 300.0) client.net->Update(kStep);
  EXPECT_LE(client.net->GetDefaultGroup()->GetSize(), 8u);
  EXPECT_NE(client.net->FindPlayer(100), nullptr) << "the first records fill the session";
}

// ---- 10: a session's end does not handle what a peer queued ---------------------------------------

TEST_F(HostileHostTest, AShutdownDropsWhatThePeerQueued) {
  std::atomic<bool> joined{false};
  FakeHost fake([&joined](int connection) {
    // Once the client's join is over, so that the records wait in its queue.
    TestSupport::WaitFor([&joined] { return joined.load(); });
    SendSome(connection, PlayerRecords(17000), 10000);
  });
  ASSERT_TRUE(JoinFake(*client.net, FakeSession(fake, 0)));
  joined = true;
  Network::EventQueue& queue = client.net->GetTransportSession()->GetEventQueue();
  TestSupport::WaitFor([&] { return fake.Done() && queue.GetCount() >= 1000; });
  ASSERT_GE(queue.GetCount(), 1000u) << "the records never waited in the queue";
  const size_t before = client.events.size();
  Core::Stopwatch shutdown;
  shutdown.Start();
  ASSERT_TRUE(client.net->Shutdown());
  const double took = shutdown.GetElapsed();
  EXPECT_EQ(client.events.size(), before) << "the game heard of players the session no longer has";
  EXPECT_LT(took, 1000.0) << "the shutdown handled what the peer queued";
}

// ---- 1: a join does not hold the frame for a host that never answers ------------------------------

TEST_F(HostileHostTest, AJoinToAHostThatNeverAnswersHoldsTheFrameBriefly) {
  FakeHost fake([](int) {}, false);
  Core::Stopwatch waited;
  waited.Start();
  EXPECT_FALSE(client.net->JoinSession("Visitor", fake.Address(), "secret"));
  // A busy machine may add a little to the join's own second; the fault held the frame for five.
  EXPECT_LE(waited.GetElapsed(), QlnNet::kJoinWaitMs + 1000.0);
  EXPECT_LT(QlnNet::kJoinWaitMs, 2000.0) << "a frame held for seconds";
  // The frames read on for the answer a while, each without waiting, then give up.
  EXPECT_TRUE(client.net->IsJoining());
  double longest = 0.0;
  while (client.net->IsJoining() && waited.GetElapsed() < 2 * QlnNet::kJoinAnswerMs) {
    Core::Stopwatch frame;
    frame.Start();
    client.net->Update(kStep);
    longest = std::max(longest, frame.GetElapsed());
  }
  EXPECT_FALSE(client.net->IsJoining());
  EXPECT_LT(longest, QlnNet::kJoinWaitMs);
  EXPECT_FALSE(client.net->IsConnected());
  EXPECT_EQ(client.net->GetLocalPlayer(), nullptr);
  EXPECT_EQ(client.Count(kQlnEventJoined), 0u);

  // Where nothing listens, the refusal ends the join at once.
  Network::NetAddress closed;
  close(ListenStream(closed));
  Core::Stopwatch refused;
  refused.Start();
  EXPECT_FALSE(client.net->JoinSession("Visitor", closed, "secret"));
  EXPECT_LT(refused.GetElapsed(), QlnNet::kJoinWaitMs);
  EXPECT_FALSE(client.net->IsJoining()) << "the refusal, not the clock, ended the join";
}

TEST_F(HostileHostTest, AHostThatAnswersLateIsJoinedByTheFrames) {
  FakeHost slow([](int) {}, true, static_cast<int>(QlnNet::kJoinWaitMs) + 500);
  EXPECT_FALSE(client.net->JoinSession("Visitor", slow.Address(), ""));
  ASSERT_TRUE(client.net->IsJoining());
  Core::Stopwatch waited;
  waited.Start();
  while (client.net->IsJoining() && waited.GetElapsed() < 2 * QlnNet::kJoinAnswerMs) client.net->Update(kStep);
  EXPECT_TRUE(client.net->IsConnected());
  ASSERT_NE(client.net->GetLocalPlayer(), nullptr);
  EXPECT_EQ(client.net->GetLocalPlayer()->GetID(), 5u);
  EXPECT_EQ(client.Count(kQlnEventJoined), 1u);
  ASSERT_EQ(client.answers.size(), 1u);
  EXPECT_EQ(client.answers[0], 5);
}

// ---- 12: a network object's class is checked before it is built -----------------------------------

int g_probesBuilt = 0;

// A registered class that is no game object; building one has an effect that can be seen.
class Probe : public Core::Object {
 public:
  VELKOR_DECLARE_CLASS(Probe);
  Probe() { ++g_probesBuilt; }
};
VELKOR_IMPLEMENT_CLASS(Probe, "MultiplayerLimits::Probe");

// A game object class this machine never wrote to a stream.
class DerivedObject : public GameObject {
 public:
  VELKOR_DECLARE_CLASS(DerivedObject);
};
VELKOR_IMPLEMENT_CLASS(DerivedObject, "MultiplayerLimits::DerivedObject");

std::string ObjectRecord(const std::string& className) {
  NetworkFile file;
  Core::WriteValue<uint8_t>(file, 1);
  file.WriteString(className);
  Core::SmartPointer<GameObject> body(new GameObject());
  body->NetworkSave(file);
  return std::string(reinterpret_cast<const char*>(file.GetData()), file.GetSize());
}

TEST(NetworkObjectClassTest, APeerNamedClassIsCheckedBeforeItIsBuilt) {
  const int before = g_probesBuilt;
  const std::string probe = ObjectRecord("MultiplayerLimits::Probe");
  NetworkFile probeIn(probe.data(), static_cast<uint32_t>(probe.size()));
  EXPECT_EQ(probeIn.ReadNetworkObject().Get(), nullptr);
  EXPECT_TRUE(probeIn.HasFailed());
  EXPECT_EQ(g_probesBuilt, before) << "a class that is no game object was built on a peer's word";

  // Any registered game object class is built, whether or not this machine made one before.
  const std::string derived = ObjectRecord("MultiplayerLimits::DerivedObject");
  NetworkFile derivedIn(derived.data(), static_cast<uint32_t>(derived.size()));
  Core::SmartPointer<GameObject> back = derivedIn.ReadNetworkObject();
  ASSERT_NE(back.Get(), nullptr);
  EXPECT_NE(dynamic_cast<DerivedObject*>(back.Get()), nullptr);
  // The base game object is always known.
  const std::string base = ObjectRecord("Quillon::GameObject");
  NetworkFile baseIn(base.data(), static_cast<uint32_t>(base.size()));
  EXPECT_NE(baseIn.ReadNetworkObject().Get(), nullptr);
}

}  // namespace
