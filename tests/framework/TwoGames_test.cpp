// Two running games on loopback, each in its own process with its own window: the host announces a
// session, the client finds it and joins, the host's sprites (with their animations), texts and
// sounds appear on the client and follow it while a sprite moves for ten seconds of game time,
// text and data messages go both ways, the host changes level and the client follows with only the
// new level's objects, then the client leaves and the host sees it go. Meanwhile a hostile peer
// throws random bytes, huge lengths, forged player ids and a flood of datagrams at the host, which
// keeps serving the honest client. Both games run on a fixed clock; every wait has a deadline.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <list>
#include <string>
#include <vector>

#include "framework/Quillon_Game.h"
#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_NetworkFile.h"
#include "framework/Quillon_QlnNet.h"
#include "framework/Quillon_SoundObject.h"
#include "framework/Quillon_Sprite.h"
#include "framework/Quillon_SpriteAnimation.h"
#include "framework/Quillon_Text.h"
#include "network/Network_Event.h"
#include "network/Network_Message.h"
#include "network/Network_Session.h"
#include "network/Network_Socket.h"
#include "platform/PAL_Input.h"
#include "tests/input/FakeInputBackend.h"
#include "platform/PAL_Services.h"
#include "tests/support/GameSession.h"
#include "tests/support/TestSupport.h"

extern char** environ;

// Read by the leak checker at exit (it looks the name up; without the checker nothing calls it).
// The client's process skips it: under a loaded machine the checker's own tracer crashes at the exit
// of that GL process after the client passed, failing a test whose host process, checked as usual,
// runs the same code.
bool g_skipLeakCheckAtExit = false;
extern "C" int __lsan_is_turned_off() { return g_skipLeakCheckAtExit ? 1 : 0; }

namespace {

using Core::SmartPointer;
using Quillon::QlnNet;

constexpr const char* kPipeVariable = "VELKOR_TWO_GAMES_PIPE";
constexpr const char* kSessionName = "velkor-two-games";
// Real-time deadline of the whole exchange; nothing waits for it unless something is broken.
constexpr double kDeadlineMs = 240000.0;
// The runner moves for this many steps of 1/60 s (ten seconds of game time), then holds still.
constexpr int kMovingSteps = 600;
constexpr float kSpeed = 20.0f;
// How far a replica may trail its host while moving (three seconds of motion), and once still.
constexpr float kMovingTolerance = 60.0f;
constexpr float kStillTolerance = 0.5f;

// Data message kinds of this test.
enum : uint32_t { kRunnerState = 1, kFinalState = 2, kClientData = 3, kClientProgress = 4 };

struct RunnerState {
  float x;
  float y;
  uint32_t animation;
  uint32_t frame;
  uint32_t step;
};
// The host moves on only this many steps ahead of the last state the client has compared: on a
// busy machine one game may run slower than the other, and the check is of the replication, not
// of the scheduler.
constexpr uint32_t kMostStepsAhead = 60;



QlnNet* Net() {
  Quillon::Game* game = Quillon::Game::GetInstance();
  return game != nullptr ? dynamic_cast<QlnNet*>(game->GetNetworkEngine()) : nullptr;
}

std::string Resource(const std::string& folder, const std::string& file) {
  return Quillon::Game::GetDirectory() + "\\Resources\\" + folder + "\\" + file;
}

// The test's levels, the same on both machines: an empty lobby, an arena with a running sprite, a
// banner and a sound, and a boss room with one sprite. Every shared object is a base registered
// with the multiplayer layer; only the host makes the level's copies, which reach the client.
class TwoGamesFactory : public Quillon::LevelFactory {
 public:
  static constexpr const char* kNames[3] = {"Lobby", "Arena", "Boss"};

  uint32_t GetLevelCount() override { return 3; }
  bool GetLevelIndex(const std::string& name, uint32_t& index) override {
    for (uint32_t i = 0; i < 3; ++i) {
      if (name == kNames[i]) {
        index = i;
        return true;
      }
    }
    return false;
  }
  SmartPointer<Quillon::Level> CreateLevel(uint32_t index) override {
    SmartPointer<Quillon::Level> level(new Quillon::Level());
    level->SetName(kNames[index < 3 ? index : 0]);
    SmartPointer<Quillon::Layer> layer(new Quillon::Layer(0.0f));
    level->AddLayer(layer);
    runner.Reset();
    banner.Reset();
    beep.Reset();
    QlnNet* net = Net();
    if (net == nullptr || index == 0) return level;
    const bool host = net->IsServer() && net->IsHosting();
    if (index == 1) {
      Register(*net, new Quillon::Sprite(Animations({{"walk", "Animation1.png", 4}, {"jump", "Animation10.png", 3}})),
               "Runner");
      Register(*net, new Quillon::Text("arena", Resource("Fonts", "BlueTxt\\BlueTxt")), "Banner");
      Register(*net, new Quillon::Sound(Resource("Sounds", "MouseClick.ogg"), 0, 1.0f, false, 0.0f, true), "Beep");
      if (host) {
        runner = dynamic_cast<Quillon::Sprite*>(layer->CreateNetworkGameObject("Runner", nullptr));
        banner = dynamic_cast<Quillon::Text*>(layer->CreateNetworkGameObject("Banner", nullptr));
        beep = dynamic_cast<Quillon::Sound*>(layer->CreateNetworkGameObject("Beep", nullptr));
        if (runner) runner->SetPosition(100.0f, 50.0f);
      }
    } else {
      Register(*net, new Quillon::Sprite(Animations({{"boss", "Animation1.png", 4}})), "BossShip");
      if (host) layer->CreateNetworkGameObject("BossShip", nullptr);
    }
    return level;
  }

  SmartPointer<Quillon::Sprite> runner;
  SmartPointer<Quillon::Text> banner;
  SmartPointer<Quillon::Sound> beep;

 private:
  struct AnimationRow {
    const char* name;
    const char* file;
    size_t frames;
  };
  // The sprite refers to its animations; the level's builder keeps them.
  std::vector<Quillon::SpriteAnimation*> Animations(const std::vector<AnimationRow>& rows) {
    std::vector<Quillon::SpriteAnimation*> animations;
    for (const AnimationRow& row : rows) {
      SmartPointer<Quillon::SpriteAnimation> animation(new Quillon::SpriteAnimation(
          Resource("Animations", row.file), 4, 1, std::vector<float>(row.frames, 0.1f)));
      animation->SetName(row.name);
      animations.push_back(animation.Get());
      m_animations.push_back(animation);
    }
    return animations;
  }
  std::vector<SmartPointer<Quillon::SpriteAnimation>> m_animations;
  void Register(QlnNet& net, Quillon::GameObject* base, const char* name) {
    SmartPointer<Quillon::GameObject> keep(base);
    base->SetName(name);
    EXPECT_TRUE(net.AddBaseNetObject(base, name)) << name;
    m_bases.push_back(keep);
  }
  std::vector<SmartPointer<Quillon::GameObject>> m_bases;
};

class TwoGamesGame : public Quillon::Game {
 public:
  using Quillon::Game::Game;
  void OnPlayerJoined(Quillon::QlnPlayer* player) override {
    joined.push_back(player->GetName());
    playersAtMost = std::max<size_t>(playersAtMost, Net()->GetDefaultGroup()->GetSize());
  }
  void OnPlayerLeft(Quillon::QlnPlayer* player) override { left.push_back(player->GetName()); }
  void OnTextMessage(Quillon::QlnPlayer* sender, const std::string& text) override {
    texts.push_back((sender != nullptr ? sender->GetName() : std::string("?")) + ":" + text);
  }
  void OnDataMessage(Quillon::QlnPlayer* sender, uint32_t kind, uint32_t size, const void* data) override {
    (void)sender;
    std::string bytes(static_cast<const char*>(data), data != nullptr ? size : 0);
    if (kind == kClientProgress && bytes.size() == sizeof(uint32_t)) {
      std::memcpy(&clientStep, bytes.data(), sizeof(uint32_t));
      return;
    }
    data_.push_back({kind, bytes});
  }
  struct Data {
    uint32_t kind;
    std::string bytes;
  };
  std::vector<std::string> joined;
  std::vector<std::string> left;
  std::vector<std::string> texts;
  std::vector<Data> data_;
  size_t playersAtMost = 0;
  uint32_t clientStep = 0;
};

bool SendData(uint32_t kind, const void* payload, uint32_t size) {
  QlnNet* net = Net();
  if (net == nullptr || net->GetLocalPlayer() == nullptr) return false;
  std::vector<uint8_t> message(16 + size);
  const uint32_t header[4] = {net->GetLocalPlayer()->GetID(), 1, kind, size};
  std::memcpy(message.data(), header, sizeof(header));
  if (size > 0) std::memcpy(message.data() + 16, payload, size);
  return net->SendMessage(Quillon::kQlnData, message.data(), static_cast<uint32_t>(message.size()), nullptr, true);
}

// The replicas of the current level, by their network name.
std::vector<Quillon::GameObject*> Replicas(const std::string& networkName = std::string()) {
  std::vector<Quillon::GameObject*> found;
  Quillon::Game* game = Quillon::Game::GetInstance();
  if (game == nullptr || !game->GetCurrentLevel()) return found;
  std::list<Quillon::GameObject*> objects;
  game->GetCurrentLevel()->GetGameObjects(objects);
  for (Quillon::GameObject* object : objects) {
    if (object->IsNetworkObject() && (networkName.empty() || object->GetNetworkName() == networkName)) {
      found.push_back(object);
    }
  }
  return found;
}

class TwoGamesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VELKOR_REQUIRE_DISPLAY();
    ASSERT_NO_FATAL_FAILURE(m_session.Open());
    // Neither game is played by hand: the pointer rests in the corner of a small window.
    m_input.CoverWindow(320, 240);
    m_input.SetCursorPosition(10, 10);
    m_factory = new TwoGamesFactory();
    m_game = m_session.Adopt(
        new TwoGamesGame(SmartPointer<Quillon::LevelFactory>(m_factory.Get()), TestSupport::SmallDisplay(), 0));
    m_game->SetNetworkId(kSessionName);
    ASSERT_NE(Net(), nullptr) << "the multiplayer layer is the game's network object";
    m_ready = true;
  }
  void TearDown() override {
    if (!m_ready) return;
    if (QlnNet* net = Net()) net->Shutdown();
    m_session.StopGame();
    m_game = nullptr;
    m_factory.Reset();
    m_session.Close();
  }

  // One frame of 1/60 s of game time; the real pause lets the other game run on a busy machine.
  void Frame() {
    m_session.Step(1000.0 / 60.0);
    PAL::ThreadManager::Sleep(1, nullptr);
  }
  // Runs frames until the condition holds; false when the whole test's deadline has passed.
  bool RunUntil(const std::function<bool()>& condition) {
    while (!condition()) {
      if (m_clock.GetElapsed() >= kDeadlineMs) return false;
      Frame();
    }
    return true;
  }

  TestInput::FakeInputBackend m_input;
  SmartPointer<TwoGamesFactory> m_factory;
  TwoGamesGame* m_game = nullptr;
  // Real time: the games run on a fixed clock.
  Network::RealStopwatch m_clock;
  bool m_ready = false;
  // Last, so that a test stopped half-way still has its game stopped before the rest goes.
  TestSupport::GameSession m_session;
};

// ---- The hostile peer (run by the client's process) --------------------------------------------

std::string Framed(uint32_t type, const std::string& payload) {
  std::string bytes(8 + payload.size(), '\0');
  Network::WriteMessage(reinterpret_cast<uint8_t*>(&bytes[0]), type, payload.data(), static_cast<uint32_t>(payload.size()));
  return bytes;
}

void Attack(const Network::NetAddress& host, uint32_t honestId) {
  uint32_t seed = 12345;
  auto random = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<char>(seed >> 24);
  };
  auto stream = [&host](const std::string& bytes) {
    Network::SocketHandle socket = Network::Socket::Create(Network::kStreamSocket);
    if (Network::Socket::Connect(socket, host.GetSocketAddress()) == Network::SocketStatus::Done) {
      Network::SocketStatus status;
      Network::Socket::Send(socket, bytes.data(), bytes.size(), status);
    }
    Network::Socket::Close(socket);
  };
  std::string noise(4096, '\0');
  for (char& byte : noise) byte = random();
  stream(noise);
  // A header announcing a message of almost 4 GiB.
  std::string huge = Framed(Quillon::kQlnText, "x");
  const uint32_t length = 0xFFFFFFF0u;
  std::memcpy(&huge[4], &length, 4);
  stream(huge);
  // The honest player's id in a text, a group and a removal, from a stranger's connection.
  std::string forged(8, '\0');
  const uint32_t everybody = 1;
  std::memcpy(&forged[0], &honestId, 4);
  std::memcpy(&forged[4], &everybody, 4);
  stream(Framed(Quillon::kQlnText, forged + "forged" + std::string(1, '\0')) +
         Framed(Quillon::kQlnRemoveObject, forged) + Framed(Quillon::kQlnRequestObjects, forged.substr(0, 4)));
  // A flood of datagrams, well-formed and not, with the honest player's id.
  Network::SocketHandle datagrams = Network::Socket::Create(Network::kDatagramSocket);
  Network::SocketStatus status;
  const std::string keyboard = Framed(Quillon::kQlnKeyboardState, forged.substr(0, 4) + std::string(256, '\1'));
  for (int i = 0; i < 20000; ++i) {
    const std::string& bytes = (i % 2 == 0) ? keyboard : noise.substr(0, 64 + i % 512);
    Network::Socket::SendTo(datagrams, bytes.data(), bytes.size(), host.GetSocketAddress(), status);
  }
  Network::Socket::Close(datagrams);
}

// ---- The client's process ------------------------------------------------------------------------

TEST_F(TwoGamesTest, ClientRole) {
  const char* pipeText = std::getenv(kPipeVariable);
  if (pipeText == nullptr) GTEST_SKIP() << "run by TwoGamesTest.HostAndClientStayInStep in a process of its own";
  g_skipLeakCheckAtExit = true;
  const int pipe = std::atoi(pipeText);
  QlnNet* net = Net();
  Quillon::NetworkSessionSettings settings;
  settings.host = false;
  settings.sessionName = kSessionName;
  settings.broadcastPort = 0;
  ASSERT_TRUE(net->StartSession(settings, &Quillon::Game::OnNetworkEvent));
  Network::NetAddress discovery;
  ASSERT_TRUE(net->GetTransportSession()->GetChannelAddress(Network::kChannelDiscovery, discovery));
  const std::string port = std::to_string(discovery.GetPort()) + "\n";
  ASSERT_EQ(write(pipe, port.data(), port.size()), static_cast<ssize_t>(port.size()));

  // Discovery, then the join.
  ASSERT_TRUE(RunUntil([&] { return m_game->GetOnlineSessionCount() > 0; })) << "no announcement heard";
  const Quillon::QlnBroadcast session = *m_game->GetOnlineSession(0);
  EXPECT_EQ(session.hostName, "Hoster");
  // A busy machine's host may answer after the join has returned: the frames read on for it.
  if (!net->JoinSession("Visitor", session, "pw")) {
    ASSERT_TRUE(RunUntil([&] { return !net->IsJoining(); }));
  }
  ASSERT_TRUE(net->IsConnected()) << "the host refused or never answered";

  // The host's level is built here and its objects arrive, the runner with its animations.
  ASSERT_TRUE(RunUntil([&] {
    return m_game->GetCurrentLevel() && m_game->GetCurrentLevel()->GetName() == "Arena" && Replicas().size() == 3;
  })) << "the arena's objects never arrived";
  ASSERT_EQ(Replicas("Runner").size(), 1u);
  auto* runner = dynamic_cast<Quillon::Sprite*>(Replicas("Runner")[0]);
  auto* banner = dynamic_cast<Quillon::Text*>(Replicas("Banner").empty() ? nullptr : Replicas("Banner")[0]);
  auto* beep = dynamic_cast<Quillon::Sound*>(Replicas("Beep").empty() ? nullptr : Replicas("Beep")[0]);
  ASSERT_NE(runner, nullptr);
  ASSERT_NE(banner, nullptr);
  ASSERT_NE(beep, nullptr);
  EXPECT_TRUE(runner->IsNetworkReplica());
  EXPECT_EQ(runner->GetAnimationsCount(), 2u);
  ASSERT_TRUE(net->SendTextMessage(true, "ready", false));

  // While the hostile peer does its worst, the runner's states are compared as they come.
  Attack(net->GetServerAddress(), net->GetLocalPlayer()->GetID());
  size_t checked = 0;
  float worst = 0.0f;
  size_t seen = 0;
  ASSERT_TRUE(RunUntil([&] {
    for (; seen < m_game->data_.size(); ++seen) {
      const auto& data = m_game->data_[seen];
      if (data.kind != kRunnerState || data.bytes.size() != sizeof(RunnerState)) continue;
      RunnerState state;
      std::memcpy(&state, data.bytes.data(), sizeof(state));
      worst = std::max(worst, std::fabs(runner->GetPositionX() - state.x));
      ++checked;
      SendData(kClientProgress, &state.step, sizeof(state.step));
    }
    for (const auto& data : m_game->data_) {
      if (data.kind == kFinalState) return true;
    }
    return false;
  })) << "the host never finished moving";
  EXPECT_GE(checked, 10u);
  EXPECT_LE(worst, kMovingTolerance) << "the replica fell behind its host";

  // Once the host holds still, its final state is reached exactly.
  RunnerState final{};
  for (const auto& data : m_game->data_) {
    if (data.kind == kFinalState && data.bytes.size() == sizeof(RunnerState)) std::memcpy(&final, data.bytes.data(), sizeof(final));
  }
  EXPECT_TRUE(RunUntil([&] {
    return std::fabs(runner->GetPositionX() - final.x) <= kStillTolerance &&
           std::fabs(runner->GetPositionY() - final.y) <= kStillTolerance &&
           runner->GetCurrentAnimationIndex() == final.animation && runner->GetCurrentFrameIndex() == final.frame &&
           runner->GetFlipHorizontal() && banner->GetText() == "finish" && beep->GetLooping() &&
           std::fabs(beep->GetVolume() - 0.5f) < 1e-6f;
  })) << "replica at " << runner->GetPositionX() << " animation " << runner->GetCurrentAnimationIndex()
      << " frame " << runner->GetCurrentFrameIndex() << " text " << banner->GetText();
  EXPECT_EQ(runner->GetCurrentAnimationName(), "jump");
  EXPECT_FALSE(runner->IsPlaying()) << "a replica shows the host's frames";

  bool hello = false;
  for (const std::string& text : m_game->texts) hello = hello || text == "Hoster:hello client";
  EXPECT_TRUE(hello) << "the host's text message";
  const char clientData[] = "client data";
  ASSERT_TRUE(SendData(kClientData, clientData, sizeof(clientData)));
  ASSERT_TRUE(net->SendTextMessage(true, "final ok", false));

  // The host changes level: only the new level's object is here.
  ASSERT_TRUE(RunUntil([&] {
    return m_game->GetCurrentLevel() && m_game->GetCurrentLevel()->GetName() == "Boss" && Replicas().size() == 1;
  })) << "the client did not follow the host to the boss room";
  EXPECT_EQ(Replicas("BossShip").size(), 1u);
  EXPECT_EQ(net->GetReplicatedObjectsCount(), 1u);
  // A few more frames: nothing of the arena comes back.
  for (int i = 0; i < 30; ++i) Frame();
  EXPECT_EQ(Replicas().size(), 1u);

  // The client leaves.
  EXPECT_TRUE(net->Shutdown());
  for (int i = 0; i < 5; ++i) Frame();
}

// ---- The host's process --------------------------------------------------------------------------

TEST_F(TwoGamesTest, HostAndClientStayInStep) {
  if (std::getenv(kPipeVariable) != nullptr) GTEST_SKIP() << "the client's process";
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  fcntl(fds[0], F_SETFD, FD_CLOEXEC);
  // The client: this same program, running the client's test in a process of its own.
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) environment.emplace_back(*entry);
  environment.push_back(std::string(kPipeVariable) + "=" + std::to_string(fds[1]));
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(&entry[0]);
  envp.push_back(nullptr);
  std::string program = "/proc/self/exe";
  std::string filter = "--gtest_filter=TwoGamesTest.ClientRole";
  char* argv[] = {&program[0], &filter[0], nullptr};
  pid_t client = 0;
  ASSERT_EQ(posix_spawn(&client, "/proc/self/exe", nullptr, nullptr, argv, envp.data()), 0);
  close(fds[1]);
  struct ClientGuard {
    pid_t pid;
    ~ClientGuard() {
      if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
      }
    }
  } guard{client};

  // The client's discovery port, then hosting announced to it.
  std::string line;
  while (line.find('\n') == std::string::npos) {
    pollfd entry{fds[0], POLLIN, 0};
    ASSERT_GT(poll(&entry, 1, 60000), 0) << "the client never said where it listens";
    char buffer[64];
    const ssize_t count = read(fds[0], buffer, sizeof(buffer));
    ASSERT_GT(count, 0) << "the client ended before it listened";
    line.append(buffer, static_cast<size_t>(count));
  }
  close(fds[0]);
  QlnNet* net = Net();
  Quillon::NetworkSessionSettings settings;
  settings.host = true;
  settings.sessionName = kSessionName;
  settings.password = "pw";
  settings.broadcastPort = static_cast<uint16_t>(std::stoi(line));
  ASSERT_TRUE(net->StartSession(settings, &Quillon::Game::OnNetworkEvent));
  net->GetTransportSession()->SetLocalAddress(Network::NetAddress("127.0.0.1", 0));
  ASSERT_TRUE(net->StartHosting("Hoster", 2, 1, 0.05f));
  m_game->GoToLevel("Arena");
  ASSERT_TRUE(RunUntil([&] { return m_game->joined.size() == 2; })) << "nobody joined";
  EXPECT_EQ(m_game->joined[1], "Visitor");
  ASSERT_TRUE(RunUntil([&] {
    for (const std::string& text : m_game->texts) {
      if (text == "Visitor:ready") return true;
    }
    return false;
  }));
  ASSERT_TRUE(net->SendTextMessage(true, "hello client", false));

  // Ten seconds of game time: the runner moves, changes animation and frame, the banner counts.
  Quillon::Sprite* runner = m_factory->runner.Get();
  ASSERT_NE(runner, nullptr);
  for (int step = 0; step <= kMovingSteps; ++step) {
    // A step runs only while the client keeps up; meanwhile the runner holds still.
    ASSERT_TRUE(RunUntil([&] { return static_cast<uint32_t>(step) <= m_game->clientStep + kMostStepsAhead; }))
        << "the client stopped comparing at step " << m_game->clientStep;
    const float time = static_cast<float>(step) / 60.0f;
    runner->SetPosition(100.0f + kSpeed * time, 50.0f + 10.0f * std::sin(time));
    if (step % 60 == 0) {
      runner->SetCurrentAnimationName(step % 120 == 0 ? "walk" : "jump", true);
      m_factory->banner->SetText("lap " + std::to_string(step / 60));
    }
    runner->SetCurrentFrameIndex(static_cast<uint32_t>(step / 10) % 3, true);
    if (step % 10 == 0) {
      const RunnerState state{runner->GetPositionX(), runner->GetPositionY(), runner->GetCurrentAnimationIndex(),
                              runner->GetCurrentFrameIndex(), static_cast<uint32_t>(step)};
      SendData(kRunnerState, &state, sizeof(state));
    }
    Frame();
    ASSERT_LT(m_clock.GetElapsed(), kDeadlineMs);
  }
  runner->SetCurrentAnimationName("jump", true);
  runner->SetCurrentFrameIndex(2, true);
  runner->SetFlipHorizontal(true);
  m_factory->banner->SetText("finish");
  m_factory->beep->SetVolume(0.5f);
  m_factory->beep->SetLooping(true);
  const RunnerState final{runner->GetPositionX(), runner->GetPositionY(), runner->GetCurrentAnimationIndex(),
                          runner->GetCurrentFrameIndex(), static_cast<uint32_t>(kMovingSteps)};
  ASSERT_TRUE(SendData(kFinalState, &final, sizeof(final)));
  ASSERT_TRUE(RunUntil([&] {
    for (const std::string& text : m_game->texts) {
      if (text == "Visitor:final ok") return true;
    }
    return false;
  })) << "the client never reached the final state";
  bool clientData = false;
  for (const auto& data : m_game->data_) {
    clientData = clientData || (data.kind == kClientData && data.bytes == std::string("client data", 12));
  }
  EXPECT_TRUE(clientData) << "the client's data message";

  // Off to the boss room; the client follows, then leaves.
  m_game->GoToLevel("Boss");
  ASSERT_TRUE(RunUntil([&] { return !m_game->left.empty(); })) << "the client's leaving was never seen";
  EXPECT_EQ(m_game->left[0], "Visitor");
  EXPECT_EQ(net->GetReplicatedObjectsCount(), 1u) << "the host holds only the boss room's object";
  EXPECT_EQ(net->GetDefaultGroup()->GetSize(), 1u);
  // The hostile peer made no player and said nothing that arrived.
  EXPECT_EQ(m_game->joined.size(), 2u);
  EXPECT_LE(m_game->playersAtMost, 2u);
  for (const std::string& text : m_game->texts) EXPECT_TRUE(text == "Visitor:ready" || text == "Visitor:final ok") << text;

  int status = 0;
  Network::RealStopwatch waited;
  pid_t ended = 0;
  while ((ended = waitpid(client, &status, WNOHANG)) == 0 && waited.GetElapsed() < 60000.0) {
    PAL::ThreadManager::Sleep(10, nullptr);
  }
  ASSERT_EQ(ended, client) << "the client's process did not end";
  guard.pid = 0;
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the client's own checks failed (its output is above)";
}

}  // namespace
