// What a host holds strangers and players to: floods of tiny messages, the largest messages,
// oversized messages and silence before a join, more connections than players, running out of
// descriptors; and two games on one machine listening for announcements on the same port.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "network/Network_Manager.h"
#include "network/Network_Message.h"
#include "NetworkTestSupport.h"
#include "platform/PAL_Clock.h"
#include "tests/support/TestSupport.h"

namespace {

using Network::NetAddress;
using Network::Qln_Session;
using NetworkTest::EventLog;
using NetworkTest::Frame;
using NetworkTest::PumpUntil;
using NetworkTest::RawPeer;

class SessionLimitsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host = manager.CreateSession("host", "", false, hostLog.Handler(), 0, false, 0, 0, 1);
    ASSERT_NE(host, nullptr);
  }

  void Host(std::uint32_t players) {
    ASSERT_TRUE(host->StartListening(NetAddress("127.0.0.1", 0), players));
    ASSERT_TRUE(host->GetChannelAddress(Network::kChannelHostListen, hostAddress));
  }

  bool Pump(const std::function<bool()>& condition, double timeoutMs = NetworkTest::kWaitMs) {
    return PumpUntil({host}, condition, timeoutMs);
  }

  bool WasClosedFailed(const NetAddress& peer) {
    for (const auto& closed : hostLog.OfKind(Network::kEventConnectionClosed)) {
      if (closed.peer == peer) return closed.failed == 1;
    }
    return false;
  }

  EventLog hostLog;
  Network::Qln_Network_Manager manager;
  Qln_Session* host = nullptr;
  NetAddress hostAddress;
};

TEST_F(SessionLimitsTest, ABurstOfTinyMessagesIsHeldToItsShareOfTheQueueAndLosesNothing) {
  Network::SessionLimits limits;
  limits.joinTimeoutMs = 60000;
  host->SetLimits(limits);
  Host(8);
  auto emptyMessages = [](std::size_t count) {
    const std::string empty = Frame(7, "");
    std::string bytes;
    for (std::size_t i = 0; i < count; ++i) bytes += empty;
    return bytes;
  };
  // Players' messages wait in the queue of a host that is not dispatching.
  RawPeer quiet(hostAddress);
  RawPeer burst(hostAddress);
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventConnectionAccepted) == 2; }));
  ASSERT_TRUE(host->SetChannelJoined(Network::kChannelHostListen, quiet.LocalAddress(), true));
  ASSERT_TRUE(host->SetChannelJoined(Network::kChannelHostListen, burst.LocalAddress(), true));
  ASSERT_TRUE(quiet.Write(emptyMessages(512)));
  ASSERT_TRUE(TestSupport::WaitFor([&] { return host->GetEventQueue().GetCount() == 512; }))
      << host->GetEventQueue().GetCount();
  // Another bursts more empty messages than its share of the queue holds: the bound is checked as
  // each is queued, and the host reads no more of that stream until they are dispatched.
  const std::size_t share = limits.queueShareBytes / (8 + Network::EventQueue::kEventOverheadBytes);
  const std::size_t count = 8 * 1024;
  ASSERT_GT(count, share);
  ASSERT_TRUE(burst.Write(emptyMessages(count)));
  ASSERT_TRUE(TestSupport::WaitFor([&] { return host->GetEventQueue().GetCount() == 512 + share; }))
      << host->GetEventQueue().GetCount();
  // The other connection is still read.
  ASSERT_TRUE(quiet.Write(Frame(9, "after")));
  ASSERT_TRUE(TestSupport::WaitFor([&] { return host->GetEventQueue().GetCount() == 512 + share + 1; }))
      << host->GetEventQueue().GetCount();

  // The burst's sender hangs up before the host dispatches: once it does, the rest of the burst
  // still comes in, and then the end of that connection; nobody is hung up on.
  const NetAddress burstAddress = burst.LocalAddress();
  burst.Close();
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventConnectionClosed) == 1; }, 20000.0));
  const auto events = hostLog.Snapshot();
  std::size_t fromBurst = 0;
  for (const auto& event : events) fromBurst += event.kind == Network::kEventMessageReceived && event.peer == burstAddress;
  EXPECT_EQ(fromBurst, count);
  EXPECT_EQ(events.back().kind, Network::kEventConnectionClosed);
  EXPECT_EQ(events.back().failed, 0);
}

// A player sends three messages of the largest size while another talks with the host every 100 ms.
// The one that fills the queue is the one held back: the other is never cut off, nor long without
// its answer, and the queue stays within its bound. Under the default limits, a message that large
// from a player closes that player's connection alone.
TEST(SessionLargestMessages, APlayersLargestMessagesHoldBackOnlyThatPlayer) {
  constexpr std::uint32_t kText = 10;
  constexpr std::uint32_t kLarge = 11;
  constexpr double kLongestGapMs = 250.0;
  // The handler runs on this thread, in PumpUntil: time stamps at the host, as a player sees it.
  // Declared before the manager, whose close delivers the last events.
  std::vector<double> textsAt;
  std::size_t large = 0;
  std::size_t intact = 0;
  std::size_t accepted = 0;
  std::vector<Network::NetEvent> closed;
  std::string payload(Network::kMaximumMessageSize - 8, '\0');
  for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<char>(i % 251);
  const std::string frame = NetworkTest::Frame(kLarge, payload);
  Qln_Session* host = nullptr;
  Network::Qln_Network_Manager manager;
  host = manager.CreateSession("host", "", false, [&](Network::NetEvent& event) {
    accepted += event.kind == Network::kEventConnectionAccepted;
    if (event.kind == Network::kEventConnectionClosed) closed.push_back(event);
    if (event.kind != Network::kEventMessageReceived) return true;
    if (event.messageType == kText) {
      textsAt.push_back(PAL::GetMonotonicMilliseconds());
      host->Send(Network::kChannelHostListen, kText, event.payload, event.payloadSize, event.peer);
    } else if (event.messageType == kLarge) {
      ++large;
      // A sample of its bytes: the check must not hold up the host it measures.
      bool same = event.size == frame.size();
      for (std::size_t at = 0; same && at < frame.size(); at += 4093) same = event.data[at] == static_cast<std::uint8_t>(frame[at]);
      intact += same && event.data[frame.size() - 1] == static_cast<std::uint8_t>(frame.back());
    }
    return true;
  }, 0, false, 0, 0, 1);
  ASSERT_NE(host, nullptr);
  Network::SessionLimits limits;
  limits.joinTimeoutMs = 60000;
  host->SetLimits(limits);
  ASSERT_TRUE(host->StartListening(NetAddress("127.0.0.1", 0), 4));
  NetAddress hostAddress;
  ASSERT_TRUE(host->GetChannelAddress(Network::kChannelHostListen, hostAddress));
  RawPeer honest(hostAddress);
  RawPeer oversized(hostAddress);
  ASSERT_TRUE(PumpUntil({host}, [&] { return accepted == 2; }));
  ASSERT_TRUE(host->SetChannelJoined(Network::kChannelHostListen, honest.LocalAddress(), true));
  ASSERT_TRUE(host->SetChannelJoined(Network::kChannelHostListen, oversized.LocalAddress(), true));

  // The honest player's cadence is its own clock's: a text every 100 ms, each once the last one is
  // answered.
  std::atomic<bool> stop{false};
  std::atomic<bool> honestFailed{false};
  std::thread player([&] {
    for (std::uint32_t i = 0; !stop; ++i) {
      const double sentAt = PAL::GetMonotonicMilliseconds();
      const std::string text = std::to_string(i);
      std::uint32_t type = 0;
      std::string answer;
      if (!honest.Write(NetworkTest::Frame(kText, text)) || !honest.ReadMessage(type, answer) || answer != text) {
        honestFailed = true;
        return;
      }
      while (!stop && PAL::GetMonotonicMilliseconds() < sentAt + 100.0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  auto textsAfter = [&](std::size_t count) { return [&textsAt, count] { return textsAt.size() >= count; }; };
  EXPECT_TRUE(PumpUntil({host}, textsAfter(3)));

  // Under the default limits the largest message ends its sender's connection, and only that one.
  ASSERT_TRUE(oversized.Write(frame.substr(0, 65536)));
  EXPECT_TRUE(oversized.WaitForClose());
  EXPECT_TRUE(PumpUntil({host}, [&] { return !closed.empty(); }));
  ASSERT_EQ(closed.size(), 1u);
  EXPECT_TRUE(closed[0].peer == oversized.LocalAddress());
  EXPECT_EQ(closed[0].failed, 1);

  // A host that allows its players the largest messages: the queue's share holds the sender back.
  limits.joinedMessageSize = Network::kMaximumMessageSize;
  host->SetLimits(limits);
  RawPeer sender(hostAddress);
  ASSERT_TRUE(PumpUntil({host}, [&] { return accepted == 3; }));
  ASSERT_TRUE(host->SetChannelJoined(Network::kChannelHostListen, sender.LocalAddress(), true));
  std::atomic<bool> sent{false};
  std::thread flood([&] { sent = sender.Write(frame) && sender.Write(frame) && sender.Write(frame); });
  EXPECT_TRUE(PumpUntil({host}, [&] { return large == 3; }, 60000.0));
  flood.join();
  EXPECT_TRUE(sent);
  EXPECT_EQ(intact, 3u);
  EXPECT_TRUE(PumpUntil({host}, textsAfter(textsAt.size() + 3)));
  stop = true;
  player.join();

  EXPECT_FALSE(honestFailed);
  EXPECT_EQ(closed.size(), 1u);
  double longest = 0.0;
  for (std::size_t i = 1; i < textsAt.size(); ++i) longest = std::max(longest, textsAt[i] - textsAt[i - 1]);
  EXPECT_LE(longest, kLongestGapMs);
  const std::size_t peak = host->GetEventQueue().GetPeakQueuedBytes();
  EXPECT_LE(peak, Network::EventQueue::kMaximumBytes);
  std::printf("[ figures  ] peak queued bytes %zu of %zu; longest gap between the honest player's texts %.1f ms over %zu\n",
              peak, Network::EventQueue::kMaximumBytes, longest, textsAt.size());
}

TEST_F(SessionLimitsTest, BeforeJoiningAPeerMaySendOnlySmallMessagesForAShortTimeAndConnectionsAreCapped) {
  Network::SessionLimits limits;
  limits.connectionMargin = 1;
  limits.joinTimeoutMs = 60000;
  host->SetLimits(limits);
  Host(2);  // at most three connections

  RawPeer joined(hostAddress);
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventConnectionAccepted) == 1; }));
  ASSERT_TRUE(host->SetChannelJoined(Network::kChannelHostListen, joined.LocalAddress(), true));
  RawPeer large(hostAddress);
  RawPeer silent(hostAddress);
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventConnectionAccepted) == 3; }));
  // Past the cap, connections are accepted and closed at once, with no event and no record.
  for (int i = 0; i < 4; ++i) {
    RawPeer refused(hostAddress);
    ASSERT_TRUE(refused.IsConnected());
    EXPECT_TRUE(refused.WaitForClose(5000)) << i;
  }
  EXPECT_EQ(hostLog.Count(Network::kEventConnectionAccepted), 3u);

  // A message that fits a join request is read; one beyond it, before the join, ends the stream.
  ASSERT_TRUE(large.Write(Frame(1, std::string(limits.preJoinMessageSize - 8, 'j'))));
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventMessageReceived) == 1; }));
  ASSERT_TRUE(large.Write(Frame(2, std::string(limits.preJoinMessageSize, 'k'))));
  EXPECT_TRUE(large.WaitForClose());
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventConnectionClosed) == 1; }));
  EXPECT_TRUE(WasClosedFailed(large.LocalAddress()));
  // A stranger may send a join request and a few retries, not a flood.
  RawPeer chatty(hostAddress);
  std::string messages;
  for (std::uint32_t i = 0; i <= limits.preJoinMessages; ++i) messages += Frame(5, "again");
  ASSERT_TRUE(chatty.Write(messages));
  EXPECT_TRUE(chatty.WaitForClose());
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventConnectionClosed) == 2; }));
  EXPECT_TRUE(WasClosedFailed(chatty.LocalAddress()));
  EXPECT_EQ(hostLog.Count(Network::kEventMessageReceived), 1u + limits.preJoinMessages);
  const std::size_t beforeJoined = hostLog.Count(Network::kEventMessageReceived);
  // A joined peer sends what a player may.
  const std::string big(limits.joinedMessageSize - 8, 'b');
  ASSERT_TRUE(joined.Write(Frame(3, big)));
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventMessageReceived) == beforeJoined + 1; }));
  EXPECT_TRUE(hostLog.OfKind(Network::kEventMessageReceived).back().payload == big);

  // The join time runs out for the silent one only; its place is free again.
  limits.joinTimeoutMs = 200;
  host->SetLimits(limits);
  EXPECT_TRUE(silent.WaitForClose(5000));
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventConnectionClosed) == 3; }));
  EXPECT_TRUE(WasClosedFailed(silent.LocalAddress()));
  limits.joinTimeoutMs = 60000;
  host->SetLimits(limits);
  RawPeer later(hostAddress);
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventConnectionAccepted) == 5; }));
  ASSERT_TRUE(joined.Write(Frame(4, "still joined")));
  ASSERT_TRUE(Pump([&] { return hostLog.Count(Network::kEventMessageReceived) == beforeJoined + 2; }));
}

TEST_F(SessionLimitsTest, TwoDiscoveryListenersShareOnePortAndBothHearTheAnnouncement) {
  EventLog otherLog;
  Qln_Session* first = manager.CreateSession("first", "", false, otherLog.Handler(), 0, false, 0, 0, 1);
  EventLog secondLog;
  Qln_Session* second = manager.CreateSession("second", "", false, secondLog.Handler(), 0, false, 0, 0, 1);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  ASSERT_TRUE(first->OpenDiscoveryListener(0));
  NetAddress listening;
  ASSERT_TRUE(first->GetChannelAddress(Network::kChannelDiscovery, listening));
  ASSERT_TRUE(second->OpenDiscoveryListener(listening.GetPort())) << "a second game on the same machine";

  // Scope 3 around 127.0.0.1 is 127.255.255.255, the loopback's own broadcast address: delivered
  // to every socket bound to the port, as a subnet's broadcast is.
  host->SetLocalAddress(NetAddress("127.0.0.1", 0));
  ASSERT_TRUE(host->StartBroadcast(listening.GetPort(), 3, 10, 0, "here", 4, 0));
  EXPECT_TRUE(PumpUntil({first, second}, [&] {
    return otherLog.Count(Network::kEventMessageReceived) > 0 && secondLog.Count(Network::kEventMessageReceived) > 0;
  })) << otherLog.Count(Network::kEventMessageReceived) << " " << secondLog.Count(Network::kEventMessageReceived);
  if (secondLog.Count(Network::kEventMessageReceived) > 0) {
    EXPECT_EQ(secondLog.OfKind(Network::kEventMessageReceived)[0].payload, "here");
  }
  // Their logs go before the fixture's manager would close them.
  EXPECT_TRUE(manager.DestroySession(first));
  EXPECT_TRUE(manager.DestroySession(second));
}

// The child's side of the descriptor test; its exit code tells the parent what failed.
int HostWithoutDescriptors(int report) {
  EventLog log;
  Network::Qln_Network_Manager manager;
  Qln_Session* host = manager.CreateSession("host", "", false, log.Handler(), 0, false, 0, 0, 1);
  if (host == nullptr || !host->StartListening(NetAddress("127.0.0.1", 0), 8)) return 10;
  NetAddress address;
  if (!host->GetChannelAddress(Network::kChannelHostListen, address)) return 11;
  // Every descriptor left is taken, as a process that has run out of them would have it.
  rlimit limit{};
  getrlimit(RLIMIT_NOFILE, &limit);
  limit.rlim_cur = std::min<rlim_t>(limit.rlim_cur, 256);
  if (setrlimit(RLIMIT_NOFILE, &limit) != 0) return 12;
  std::vector<int> held;
  for (int descriptor = dup(report); descriptor >= 0; descriptor = dup(report)) held.push_back(descriptor);
  if (errno != EMFILE) return 13;
  const std::uint16_t port = address.GetPort();
  if (write(report, &port, sizeof(port)) != static_cast<ssize_t>(sizeof(port))) return 14;
  char ready = 0;
  if (read(report, &ready, 1) != 1) return 15;

  // Connections wait that cannot be accepted: the session thread must not spin on them.
  rusage before{};
  getrusage(RUSAGE_SELF, &before);
  Core::Stopwatch wall;
  wall.Start();
  PAL::ThreadManager::Sleep(2000, nullptr);
  rusage after{};
  getrusage(RUSAGE_SELF, &after);
  auto seconds = [](const timeval& value) { return static_cast<double>(value.tv_sec) + value.tv_usec / 1e6; };
  const double cpu = seconds(after.ru_utime) + seconds(after.ru_stime) - seconds(before.ru_utime) - seconds(before.ru_stime);
  const double share = cpu / (wall.GetElapsed() / 1000.0);
  if (write(report, &share, sizeof(share)) != static_cast<ssize_t>(sizeof(share))) return 16;
  if (log.Count(Network::kEventConnectionAccepted) != 0) return 17;

  // Descriptors come free: the waiting connections are accepted.
  for (int descriptor : held) close(descriptor);
  if (!PumpUntil({host}, [&] { return log.Count(Network::kEventConnectionAccepted) == 3; }, 10000.0)) return 18;
  return 0;
}

TEST(SessionDescriptors, AHostOutOfDescriptorsBacksOffAndAcceptsOnceTheyComeFree) {
  int channel[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, channel), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(channel[0]);
    _exit(HostWithoutDescriptors(channel[1]));
  }
  close(channel[1]);
  std::uint16_t port = 0;
  ASSERT_EQ(read(channel[0], &port, sizeof(port)), static_cast<ssize_t>(sizeof(port)));
  std::vector<std::unique_ptr<RawPeer>> peers;
  for (int i = 0; i < 3; ++i) {
    peers.push_back(std::make_unique<RawPeer>(NetAddress("127.0.0.1", port)));
    EXPECT_TRUE(peers.back()->IsConnected());
  }
  char go = 1;
  ASSERT_EQ(write(channel[0], &go, 1), 1);
  double share = -1.0;
  EXPECT_EQ(read(channel[0], &share, sizeof(share)), static_cast<ssize_t>(sizeof(share)));
  EXPECT_GE(share, 0.0);
  EXPECT_LT(share, 0.10) << "the session thread spun on a failing accept";
  RecordProperty("cpuShare", std::to_string(share));
  // The child ends by itself; it is stopped only when it overstays every deadline it has.
  int status = 0;
  Core::Stopwatch waited;
  waited.Start();
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (waited.GetElapsed() > 30000.0) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      break;
    }
    PAL::ThreadManager::Sleep(10, nullptr);
  }
  close(channel[0]);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
