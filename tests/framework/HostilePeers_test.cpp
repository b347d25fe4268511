// A hosting game on loopback that strangers, a hostile player and spoofers attack one after the
// other, while an honest client that discovered and joined it keeps exchanging messages. After each
// attack a new client discovers the host and joins it. Throughout: no update of the host's
// multiplayer layer is long, the honest client is never long without a message, the host's memory
// stays near where it was, and every hostile connection is cut off. The figures are printed at
// the end. Every wait has a deadline on the real clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "framework/Quillon_Game.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_QlnNet.h"
#include "platform/PAL_ThreadManager.h"
#include "tests/framework/MultiplayerFixture.h"
#include "tests/support/GameSession.h"
#include "tests/support/TestSupport.h"

// Under AddressSanitizer, freed blocks wait in a quarantine (256 MiB by default) before their
// memory is used again: the resident size would grow with every allocation the attacks churn
// through, whatever the host keeps. A small quarantine lets the figure show what the host holds
// (plus at most these few MiB); use-after-free is still caught for recently freed blocks.
#if defined(__SANITIZE_ADDRESS__)
#define HOSTILE_PEERS_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HOSTILE_PEERS_ASAN 1
#endif
#endif
#ifdef HOSTILE_PEERS_ASAN
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=4:thread_local_quarantine_size_kb=64"; }
#endif

namespace {

using namespace MultiplayerTesting;
using Core::SmartPointer;

constexpr const char* kSessionName = "velkor-hostile-peers";
constexpr uint32_t kMaxPlayers = 4;
// The bounds the host keeps under attack.
constexpr double kLongestUpdateMs = 50.0;
constexpr double kJoinAnsweredMs = 5000.0;
constexpr double kLongestGapMs = 250.0;
// Past this, a wait in real time is no passing hiccup of a busy machine (on one, under parallel
// tests, a single gap of about 1.1 s was seen in the datagram flood, with every update of the host
// short); the faults this test guards against held the host or the client for 5 s and more.
constexpr double kLongestWaitMs = 2000.0;
constexpr long kMemoryGrowthBytes = 32l << 20;
// How long a hostile connection may stay once its attack is over (the join time is 3 s).
constexpr int kCutOffMs = 8000;
constexpr uint32_t kHostBeat = 1;

long ResidentBytes() {
  FILE* file = std::fopen("/proc/self/statm", "r");
  if (file == nullptr) return 0;
  long pages = 0;
  long resident = 0;
  if (std::fscanf(file, "%ld %ld", &pages, &resident) != 2) resident = 0;
  std::fclose(file);
  return resident * sysconf(_SC_PAGESIZE);
}

// The game's multiplayer layer, its per-frame update timed.
// The processor time of the calling thread: what the update itself spent, not the time the
// machine gave to others meanwhile.
double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1.0e6;
}

// How late the machine wakes a thread that only sleeps: on a busy machine every thread of the
// test, the host's included, waits its turn this long now and then, whatever the host does.
class SchedulingCanary {
 public:
  SchedulingCanary() {
    m_thread = std::thread([this] {
      while (!m_stop) {
        RealClock slept;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const double late = slept.Elapsed() - 1.0;
        if (late > worst) worst = late;
      }
    });
  }
  ~SchedulingCanary() {
    m_stop = true;
    m_thread.join();
  }
  std::atomic<double> worst{0.0};

 private:
  std::atomic<bool> m_stop{false};
  std::thread m_thread;
};

class TimedNet : public QlnNet {
 public:
  void Update(float dt) override {
    RealClock took;
    const double cpu = ThreadCpuMs();
    QlnNet::Update(dt);
    const double wall = took.Elapsed();
    longest = std::max(longest, wall);
    longestCpu = std::max(longestCpu, ThreadCpuMs() - cpu);
    ++updates;
    if (wall > kLongestUpdateMs) ++overBound;
  }
  double longest = 0.0;
  double longestCpu = 0.0;
  uint64_t updates = 0;
  uint64_t overBound = 0;
};
std::unique_ptr<GameNetwork> MakeTimedNet() { return std::make_unique<TimedNet>(); }

class ArenaFactory : public LevelFactory {
 public:
  uint32_t GetLevelCount() override { return 1; }
  bool GetLevelIndex(const std::string& name, uint32_t& index) override {
    index = 0;
    return name == "Arena";
  }
  SmartPointer<Level> CreateLevel(uint32_t) override {
    SmartPointer<Level> level(new Level());
    level->SetName("Arena");
    level->AddLayer(SmartPointer<Layer>(new Layer(0.0f)));
    return level;
  }
};

class HostGame : public Game {
 public:
  using Game::Game;
  void OnTextMessage(QlnPlayer* sender, const std::string& text) override {
    if (sender == nullptr) return;
    if (sender->GetName() == "Honest") {
      if (honestTexts > 0) longestHonestGap = std::max(longestHonestGap, sinceHonest.Elapsed());
      sinceHonest = RealClock();
      ++honestTexts;
    }
    if (sender->GetName() == "Groups" && text == "groups sent") groupsSent = true;
  }
  void OnPlayerLeft(QlnPlayer* player) override { left.push_back(player->GetName()); }
  size_t honestTexts = 0;
  RealClock sinceHonest;
  double longestHonestGap = 0.0;
  std::atomic<bool> groupsSent{false};
  std::vector<std::string> left;
};

// A client of its own thread: it discovers the host on the discovery port, joins, and then lives
// until told to stop (the honest client), or leaves at once (a probe).
class Client {
 public:
  Client(const std::string& name, uint16_t discoveryPort) : m_name(name), m_port(discoveryPort) {
    machine.onEvent = [this](const NetworkEvent& event) {
      if (event.type != kQlnEventData || event.dataKind != kHostBeat) return;
      if (m_beats > 0) {
        const double gap = m_sinceBeat.Elapsed();
        longestGap = std::max(longestGap.load(), gap);
        if (gap > kLongestGapMs) ++gapsOverBound;
        ++gaps;
      }
      m_sinceBeat = RealClock();
      ++m_beats;
    };
    started = machine.net->StartSession(false, machine.Callback(), kSessionName, "", 5, 0, 60, m_port, 0);
    if (started && m_port == 0) {
      Network::NetAddress discovery;
      machine.net->GetTransportSession()->GetChannelAddress(Network::kChannelDiscovery, discovery);
      m_port = discovery.GetPort();
    }
  }
  ~Client() { Stop(); }
  uint16_t Port() const { return m_port; }

  void Start(bool stay) {
    m_thread = std::thread([this, stay] { Run(stay); });
  }
  void Stop() {
    stop = true;
    if (m_thread.joinable()) m_thread.join();
  }
  // Once the thread is over: the thread's own records may be read.
  bool Finished() const { return finished; }

  Machine machine;
  std::atomic<bool> started{false};
  std::atomic<bool> stop{false};
  std::atomic<bool> finished{false};
  std::atomic<bool> joined{false};
  std::atomic<double> longestGap{0.0};
  std::atomic<uint64_t> gapsOverBound{0};
  std::atomic<uint64_t> gaps{0};
  // From the moment the probe was told to go (the end of an attack) to its accepted join.
  double joinMs = -1.0;
  bool sawAnotherMachine = false;
  RealClock since;

 private:
  void Run(bool stay) {
    RealClock frame;
    auto update = [&] {
      machine.net->Update(static_cast<float>(std::min(frame.Elapsed(), 100.0) / 1000.0));
      frame = RealClock();
      for (const QlnBroadcast& session : machine.net->GetSessionsFound()) {
        sawAnotherMachine = sawAnotherMachine || session.address.GetText() != "127.0.0.1";
      }
    };
    // Each session of the name is tried in turn: a spoofer may announce some that are not there.
    while (!stop && !joined && since.Elapsed() < 2 * kJoinAnsweredMs) {
      update();
      std::vector<QlnBroadcast> candidates;
      for (const QlnBroadcast& session : machine.net->GetSessionsFound()) {
        if (session.networkId == kSessionName) candidates.push_back(session);
      }
      for (const QlnBroadcast& session : candidates) {
        bool accepted = machine.net->JoinSession(m_name, session, "pw");
        // A host that answers after the join returned is joined by the updates.
        while (!accepted && machine.net->IsJoining()) {
          PAL::ThreadManager::Sleep(1, nullptr);
          update();
          accepted = machine.net->IsConnected();
        }
        if (accepted) {
          joined = true;
          break;
        }
      }
      PAL::ThreadManager::Sleep(2, nullptr);
    }
    if (joined) joinMs = since.Elapsed();
    RealClock sinceText;
    while (stay && joined && !stop) {
      update();
      if (sinceText.Elapsed() >= 50.0) {
        machine.net->SendTextMessage(true, "tick", false);
        sinceText = RealClock();
      }
      PAL::ThreadManager::Sleep(2, nullptr);
    }
    machine.net->Shutdown();
    finished = true;
  }

  std::string m_name;
  uint16_t m_port;
  std::thread m_thread;
  RealClock m_sinceBeat;
  uint64_t m_beats = 0;
};

class HostilePeersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VELKOR_REQUIRE_DISPLAY();
    QlnNet::SetSessionLimit(3);
    SetGameNetworkFactory(&MakeTimedNet);
    ASSERT_NO_FATAL_FAILURE(m_session.Open());
    m_game = m_session.Adopt(new HostGame(SmartPointer<LevelFactory>(new ArenaFactory()), TestSupport::SmallDisplay(), 0));
    m_game->SetNetworkId(kSessionName);
    m_net = dynamic_cast<TimedNet*>(m_game->GetNetworkEngine());
    ASSERT_NE(m_net, nullptr);
    m_ready = true;
  }
  void TearDown() override {
    if (m_ready) {
      m_net->Shutdown();
      m_session.StopGame();
      m_session.Close();
    }
    InstallMultiplayer();
    QlnNet::SetSessionLimit(1);
  }

  // One frame of the host; its heart beat to every player; the memory looked at.
  void Frame() {
    m_session.Step(1000.0 / 60.0);
    if (m_net->IsHosting() && m_net->GetLocalPlayer() != nullptr) {
      const uint32_t beat[4] = {m_net->GetLocalPlayer()->GetID(), 1, kHostBeat, 0};
      m_net->SendMessage(kQlnData, beat, sizeof(beat), nullptr, true);
    }
    if (m_baseline > 0) m_highest = std::max(m_highest, ResidentBytes());
    PAL::ThreadManager::Sleep(1, nullptr);
  }
  bool RunUntil(const std::function<bool()>& condition, double deadlineMs) {
    RealClock waited;
    while (!condition()) {
      if (waited.Elapsed() >= deadlineMs) return false;
      Frame();
    }
    return true;
  }
  // Runs the host while an attack runs on a thread of its own.
  void Attack(const std::string& name, const std::function<void()>& attack) {
    std::atomic<bool> done{false};
    std::thread attacker([&] {
      attack();
      done = true;
    });
    EXPECT_TRUE(RunUntil([&] { return done.load(); }, 30000.0)) << name << " did not end";
    attacker.join();
  }
  // A new client discovers the host and joins; the time from now to the accepted join.
  double Probe(const std::string& after, std::unique_ptr<Client> probe = nullptr) {
    if (!probe) probe = std::make_unique<Client>("Probe", m_discoveryPort);
    EXPECT_TRUE(probe->started) << after;
    probe->since = RealClock();
    probe->Start(false);
    EXPECT_TRUE(RunUntil([&] { return probe->Finished(); }, 3 * kJoinAnsweredMs)) << after;
    probe->Stop();
    EXPECT_TRUE(probe->joined) << "no new join was answered after " << after;
    EXPECT_LE(probe->joinMs, kJoinAnsweredMs) << after;
    EXPECT_FALSE(probe->sawAnotherMachine) << "a session was announced for another machine, after " << after;
    m_joins.push_back({after, probe->joinMs});
    // The probe's player leaves before the next attack.
    EXPECT_TRUE(RunUntil([&] { return m_net->GetDefaultGroup()->GetSize() == 2; }, kJoinAnsweredMs)) << after;
    return probe->joinMs;
  }
  // Peers that connect at once and send, all from one thread without waiting on any, what the
  // host takes of the bytes within a few seconds; their connections, left open.
  std::vector<int> ManyPeers(const std::string& name, size_t count, const Network::NetAddress& host,
                             const std::string& bytes) {
    std::vector<int> connections(count, -1);
    Attack(name, [&] {
      std::vector<size_t> sent(count, 0);
      for (int& fd : connections) fd = ConnectStream(host);
      RealClock waited;
      bool sending = true;
      while (sending && waited.Elapsed() < 3000.0) {
        sending = false;
        for (size_t i = 0; i < count; ++i) {
          if (connections[i] < 0 || sent[i] >= bytes.size()) continue;
          const ssize_t put = send(connections[i], bytes.data() + sent[i], std::min<size_t>(bytes.size() - sent[i], 65536),
                                   MSG_NOSIGNAL | MSG_DONTWAIT);
          if (put > 0) sent[i] += static_cast<size_t>(put);
          // A peer the host has cut off sends no more.
          if (put > 0 || errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) sending = sending || sent[i] < bytes.size();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    });
    return connections;
  }
  void ExpectCutOff(const std::string& name, const std::vector<int>& connections) {
    size_t open = 0;
    RealClock waited;
    for (int fd : connections) {
      if (fd < 0) continue;
      // The host runs meanwhile on this thread: the sockets are looked at between its frames.
      bool ended = false;
      while (!ended && waited.Elapsed() < kCutOffMs) {
        ended = StreamEnds(fd, 1);
        if (!ended) Frame();
      }
      if (!ended) ++open;
      close(fd);
    }
    EXPECT_EQ(open, 0u) << name << ": hostile connections still open";
  }

  TestSupport::GameSession m_session;
  HostGame* m_game = nullptr;
  TimedNet* m_net = nullptr;
  bool m_ready = false;
  uint16_t m_discoveryPort = 0;
  long m_baseline = 0;
  long m_highest = 0;
  std::vector<std::pair<std::string, double>> m_joins;
  // Per attack: the longest update of the host and the highest memory, for the report.
  struct Figures {
    std::string name;
    double longestUpdate;
    double longestGap;
    double lateness;
    double memoryGrowthMiB;
  };
  std::vector<Figures> m_phases;
  double m_longestOverall = 0.0;
  double m_longestGap = 0.0;
  double m_lateness = 0.0;
  Client* m_honest = nullptr;
  std::unique_ptr<SchedulingCanary> m_canary;
  void EndPhase(const std::string& name) {
    const double gap = m_honest->longestGap.exchange(0.0);
    const double late = m_canary->worst.exchange(0.0);
    m_phases.push_back({name, m_net->longest, gap, late, (m_highest - m_baseline) / 1048576.0});
    m_longestOverall = std::max(m_longestOverall, m_net->longest);
    m_longestGap = std::max(m_longestGap, gap);
    m_lateness = std::max(m_lateness, late);
    m_net->longest = 0.0;
  }
};

TEST_F(HostilePeersTest, TheHostServesItsPlayersWhileStrangersAttack) {
  RealClock whole;
  // The honest client listens first, on a port of its own; the host announces to it.
  Client honest("Honest", 0);
  ASSERT_TRUE(honest.started);
  m_discoveryPort = honest.Port();
  NetworkSessionSettings settings;
  settings.host = true;
  settings.sessionName = kSessionName;
  settings.password = "pw";
  settings.broadcastPort = m_discoveryPort;
  ASSERT_TRUE(m_net->StartSession(settings, &Game::OnNetworkEvent));
  m_net->GetTransportSession()->SetLocalAddress(Network::NetAddress("127.0.0.1", 0));
  ASSERT_TRUE(m_net->StartHosting("Hoster", kMaxPlayers, 1, 0.05f));
  const Network::NetAddress host = m_net->GetServerAddress();
  honest.Start(true);
  ASSERT_TRUE(RunUntil([&] { return honest.joined && m_game->honestTexts >= 5; }, 3 * kJoinAnsweredMs))
      << "the honest client did not discover, join and talk";

  // What the attackers send is made before the memory is first looked at: it is the test's, not
  // the host's.
  std::string refused;
  for (int i = 0; i < 20000; ++i) refused += Framed(kQlnJoinRequest, JoinRequestBytes("wrong", "Silent"));
  std::string burst;
  for (int i = 0; i < 131072; ++i) burst += Framed(99, std::string());
  std::string large = Framed(kQlnText, std::string(1 << 20, 'm'));
  const uint32_t claimed = 16u << 20;
  std::memcpy(&large[4], &claimed, 4);
  std::string noise(600, '\0');
  uint32_t seed = 7;
  for (char& byte : noise) byte = static_cast<char>((seed = seed * 1664525u + 1013904223u) >> 24);
  const std::string shortAnnouncement = Framed(kQlnAnnouncement, std::string(28, '\1'));
  const std::string forged = Framed(kQlnKeyboardState, Bytes(uint32_t{2}) + std::string(256, '\1'));

  // A quiet while first: the host's own growth, for comparison.
  RunUntil([] { return false; }, 500.0);
  m_honest = &honest;
  m_canary = std::make_unique<SchedulingCanary>();
  m_net->longest = 0.0;
  m_net->overBound = 0;
  honest.longestGap = 0.0;
  honest.gapsOverBound = 0;
  honest.gaps = 0;
  m_game->longestHonestGap = 0.0;
  m_baseline = ResidentBytes();
  m_highest = m_baseline;
  RunUntil([] { return false; }, 1000.0);
  EndPhase("quiet");

  // A silent peer asks to join with a wrong password again and again, and never reads.
  std::vector<int> silent;
  Attack("refused joins", [&] {
    const int fd = ConnectStream(host, 4096);
    SendSome(fd, refused, 3000);
    silent.push_back(fd);
  });
  Probe("refused joins");
  ExpectCutOff("refused joins", silent);
  EndPhase("refused joins");

  // Twenty peers burst empty messages.
  std::vector<int> bursts = ManyPeers("bursts of tiny messages", 20, host, burst);
  Probe("bursts of tiny messages");
  ExpectCutOff("bursts of tiny messages", bursts);
  EndPhase("bursts of tiny messages");

  // Sixteen peers each begin a message of 16 MiB.
  std::vector<int> beginners = ManyPeers("large messages", 16, host, large);
  Probe("large messages");
  ExpectCutOff("large messages", beginners);
  EndPhase("large messages");

  // Datagrams: to the discovery port while a new client listens there, and to the host's own.
  {
    auto probe = std::make_unique<Client>("Probe", m_discoveryPort);
    Attack("datagrams", [&] {
      const int fd = DatagramSocket();
      const Network::NetAddress discovery("127.0.0.1", m_discoveryPort);
      for (int i = 0; i < 200000; ++i) {
        SendDatagram(fd, discovery, i % 3 == 0 ? shortAnnouncement : noise.substr(0, 16 + i % 580));
        if (i % 4 == 0) SendDatagram(fd, host, forged);
        // A flood comes over a link, at its pace, from another machine: the sender here does not
        // take a processor of the host's for itself.
        if (i % 1000 == 999) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      close(fd);
    });
    Probe("datagrams", std::move(probe));
  }
  EndPhase("datagrams");

  // A player joins, makes every group it may and more, and leaves.
  std::atomic<bool> leave{false};
  std::thread grouper([&] {
    uint32_t id = 0;
    const int fd = ConnectStream(host);
    SendSome(fd, Framed(kQlnJoinRequest, JoinRequestBytes("pw", "Groups")));
    uint32_t type = 0;
    std::string payload;
    while (ReadFramed(fd, type, payload, 5000) && type != kQlnJoinReply) {
    }
    if (payload.size() == 4) std::memcpy(&id, payload.data(), 4);
    std::string groups;
    for (uint32_t i = 0; i < 256; ++i) {
      groups += Framed(kQlnCreateGroup, Bytes(id) + Bytes(1000 + i) + "g" + std::to_string(i) + std::string(1, '\0') + Bytes(id));
    }
    groups += Framed(kQlnText, Bytes(id) + Bytes(uint32_t{1}) + "groups sent" + std::string(1, '\0'));
    SendSome(fd, groups, 3000);
    // It reads what the host sends it until it leaves.
    RealClock waited;
    while (!leave && waited.Elapsed() < 20000.0) StreamEnds(fd, 10);
    close(fd);
  });
  EXPECT_TRUE(RunUntil([&] { return m_game->groupsSent.load(); }, kJoinAnsweredMs)) << "the player's groups never came";
  EXPECT_EQ(m_net->GetGroupsCount(), QlnNet::kMaximumGroups / kMaxPlayers) << "one player took more than its share";
  leave = true;
  grouper.join();
  EXPECT_TRUE(RunUntil([&] { return !m_game->left.empty() && m_game->left.back() == "Groups"; }, kJoinAnsweredMs));
  EXPECT_EQ(m_net->GetGroupsCount(), 0u) << "the departed player's groups stayed";
  Probe("groups");
  EndPhase("groups");

  // Spoofed announcements, while a new client listens: they claim other machines and ports.
  {
    auto probe = std::make_unique<Client>("Probe", m_discoveryPort);
    Attack("spoofed announcements", [&] {
      const int fd = DatagramSocket();
      const Network::NetAddress discovery("127.0.0.1", m_discoveryPort);
      for (int i = 0; i < 2000; ++i) {
        const Network::NetAddress claimed("10.0." + std::to_string(i % 200) + ".1", 40000 + i % 3);
        SendDatagram(fd, discovery,
                     Framed(kQlnAnnouncement, AnnouncementBytes(claimed.GetSocketAddress(), 64, 1, kSessionName, "Spoof")));
      }
      close(fd);
    });
    Probe("spoofed announcements", std::move(probe));
  }
  EndPhase("spoofed announcements");

  // The honest client went on all along.
  EXPECT_TRUE(honest.joined);
  EXPECT_TRUE(honest.machine.net->IsConnected()) << "the honest client lost its session";
  honest.Stop();
  const long growth = m_highest - m_baseline;
  std::printf("hostile peers, %.1f s in all: host updates %llu, longest %.1f ms (processor %.1f ms), %llu over %.0f ms; "
              "longest gap of the honest client %.1f ms, %llu of %llu gaps over %.0f ms (of the host, between the client's texts: "
              "%.1f ms); a sleeping thread woken up to %.1f ms late; memory growth %.1f MiB\n",
              whole.Elapsed() / 1000.0, static_cast<unsigned long long>(m_net->updates), m_longestOverall,
              m_net->longestCpu, static_cast<unsigned long long>(m_net->overBound), kLongestUpdateMs, m_longestGap,
              static_cast<unsigned long long>(honest.gapsOverBound.load()),
              static_cast<unsigned long long>(honest.gaps.load()), kLongestGapMs, m_game->longestHonestGap,
              m_lateness, growth / 1048576.0);
  for (const Figures& phase : m_phases) {
    std::printf("  %-24s longest update %6.1f ms, longest gap %6.1f ms, woken late %6.1f ms, memory growth so far %5.1f MiB\n",
                phase.name.c_str(), phase.longestUpdate, phase.longestGap, phase.lateness, phase.memoryGrowthMiB);
  }
  for (const auto& join : m_joins) std::printf("  join after %s answered in %.0f ms\n", join.first.c_str(), join.second);
  // The host's own work in a frame stays within the bound whatever comes.
  EXPECT_LE(m_net->longestCpu, kLongestUpdateMs);
  // In real time a busy machine now and then keeps a thread of the test, or the session thread
  // while it holds a lock the host's update takes, from running for a while (the sleeping thread
  // measures how long): a rare update or gap past its bound is the machine's. A host that waits
  // on a peer is past it in every such frame, and by seconds.
  EXPECT_LE(m_net->overBound * 100, m_net->updates) << "more than 1 % of the host's updates took over 50 ms";
  EXPECT_LE(honest.gapsOverBound.load() * 100, std::max<uint64_t>(honest.gaps.load(), 100))
      << "the honest client went without a message for over 250 ms more than 1 % of the time";
  EXPECT_LE(m_longestOverall, kLongestWaitMs);
  EXPECT_LE(m_longestGap, kLongestWaitMs);
  EXPECT_LT(growth, kMemoryGrowthBytes);
}

}  // namespace
