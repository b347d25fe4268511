// The game object on a real window (skipped without a display): a test game over a two-level
// factory, driven frame by frame on a fake clock. The first level, dt, level switches at the next
// step, the order of the passes, the contact question, the network seam and the "Game" methods.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <lua.hpp>

#include "audio/Sound_Engine.h"
#include "collision/Collision_Actor.h"
#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_Engine.h"
#include "core/Core_File.h"
#include "framework/Quillon_Camera.h"
#include "framework/Quillon_CollisionBridge.h"
#include "framework/Quillon_Game.h"
#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_Layer.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_Viewport.h"
#include "physics/Physics_Contact.h"
#include "physics/Physics_Engine.h"
#include "physics/Physics_MassProperties.h"
#include "physics/Physics_RigidBody.h"
#include "platform/PAL_Services.h"
#include "platform/PAL_Window.h"
#include "scene/Engine_SceneGraph.h"
#include "script/Lua_Script.h"
#include "script/Lua_ScriptEngine.h"
#include "tests/framework/BoxLevelFactory.h"
#include "tests/support/GameSession.h"
#include "tests/support/TestSupport.h"

namespace {

using Core::SmartPointer;
using Math::Vector2D;

std::vector<std::string> g_log;
void Log(const std::string& entry) { g_log.push_back(entry); }

int g_liveLevels = 0;
int g_liveActors = 0;

class RecordingActor : public Collision2D::CollisionActor {
 public:
  RecordingActor() { ++g_liveActors; }
  ~RecordingActor() override { --g_liveActors; }
};

RecordingActor* MakeBoxActor(float half) {
  auto* actor = new RecordingActor();
  FrameworkTest::AddBoxAnimation(*actor, half);
  return actor;
}

class RecordingLevel : public Quillon::Level {
 public:
  explicit RecordingLevel(uint32_t index) : m_index(index) { ++g_liveLevels; }
  ~RecordingLevel() override {
    --g_liveLevels;
    Log("level" + std::to_string(m_index) + ".released");
  }
  void OnStart() override { Log("level" + std::to_string(m_index) + ".start"); }
  void OnEnd() override { Log("level" + std::to_string(m_index) + ".end"); }
  void Update(float) override {
    Log("level.update");
    if (onUpdate) onUpdate();
  }
  uint32_t GetIndex() const { return m_index; }
  std::function<void()> onUpdate;

 private:
  uint32_t m_index;
};

class RecordingObject : public Quillon::GameObject {
 public:
  void Update(float dt) override {
    Quillon::GameObject::Update(dt);
    Log("object.update");
  }
  void FirstFrameHook(float) override { Log("hook1"); }
  void SecondFrameHook(float) override { Log("hook2"); }
};

// What the factory left in each level, for the tests to reach.
struct Built {
  RecordingLevel* level = nullptr;
  RecordingObject* mover = nullptr;
  RecordingObject* target = nullptr;
};
Built g_built;
std::function<void(RecordingLevel&)> g_onCreate;
bool g_failCreate = false;
// A level number the factory answers with none (-1: none such).
int g_failIndex = -1;

class TestFactory : public Quillon::LevelFactory {
 public:
  uint32_t GetLevelCount() override { return 2; }
  bool GetLevelIndex(const std::string& name, uint32_t& index) override {
    if (name == "First") index = 0;
    else if (name == "Second") index = 1;
    else return false;
    return true;
  }
  void Reset() override { Log("factory.reset"); }
  SmartPointer<Quillon::Level> CreateLevel(uint32_t index) override {
    Log("factory.create" + std::to_string(index));
    if (index >= 2 || g_failCreate || static_cast<int>(index) == g_failIndex) return nullptr;
    Quillon::Game* game = Quillon::Game::GetInstance();
    game->AddCollisionAssets(MakeBoxActor(16.0f));
    SmartPointer<RecordingLevel> level(new RecordingLevel(index));
    level->SetName(index == 0 ? "First" : "Second");
    SmartPointer<Quillon::Layer> layer(new Quillon::Layer(0.0f));
    level->AddLayer(layer);
    g_built = Built();
    g_built.level = level.Get();
    g_built.mover = AddBox(*layer, Vector2D(0.0f, 0.0f));
    g_built.target = AddBox(*layer, Vector2D(30.0f, 0.0f));
    g_built.mover->SetVelocity(Vector2D(60.0f, 0.0f));

    // A body of no game object that says when physics integrates, and a node that says when the
    // scene graph updates.
    SmartPointer<Physics2D::RigidBody> probe(new Physics2D::RigidBody(
        Physics2D::MassProperties(1.0f, 1.0f, Vector2D()), 0, nullptr, nullptr, nullptr));
    probe->SetPosition(Vector2D(1000.0f, 1000.0f));
    game->GetPhysicsEngine()->AddRigidBody(probe);
    // Set once the body is in: adding it runs the callback too.
    probe->SetIntegrationCallback([](Physics2D::RigidBody*, void*) { Log("physics.update"); });
    SmartPointer<Engine::Node> node(new Engine::Node());
    node->SetUpdateHook([](Engine::Node*, float) { Log("scene.update"); });
    layer->GetNode()->AddChild(node);

    SmartPointer<Quillon::Camera> camera(new Quillon::Camera());
    camera->SetName("camera0");
    layer->AddGameObject(camera.Get());
    SmartPointer<Quillon::Viewport> viewport(new Quillon::Viewport(0, 0, 320, 240));
    viewport->SetCamera(camera.Get());
    level->AddViewport(viewport.Get());
    level->SetClearBackBuffer(true);
    if (g_onCreate) g_onCreate(*level);
    return SmartPointer<Quillon::Level>(level.Get());
  }

 private:
  static RecordingObject* AddBox(Quillon::Layer& layer, const Vector2D& at) {
    auto* object = new RecordingObject();
    SmartPointer<Quillon::GameObject> held(object);
    object->SetName("Box");
    object->SetPosition(at);
    auto* body = new Collision2D::DynamicObject();
    body->AddCollisionData(Quillon::Game::GetInstance()->GetCollisionAsset(0), 0, 0);
    body->SetCurrentCollisionFrame(0, 0, false, false);
    body->SetCollisionType(true);
    for (int z = 0; z < 255; ++z) body->SetCanCollid(static_cast<uint8_t>(z), true);
    EXPECT_TRUE(object->AddCollision(body, layer.GetCollisionLayerIndex()));
    EXPECT_TRUE(object->AddPhysicalProperties(Physics2D::MassProperties(1.0f, 1.0f, Vector2D()), 0));
    layer.AddGameObject(object);
    return object;
  }
};

class TestGame : public Quillon::Game {
 public:
  using Quillon::Game::Game;
  void OnGameStart() override { Log("game.start"); }
  void OnGameEnd() override { Log("game.end"); }
  void PreUpdate(float dt) override {
    Log("pre");
    dts.push_back(dt);
  }
  void OnCollisionsDetected(float) override { Log("collisions"); }
  bool GetContactCoefficients(Quillon::GameObject* a, Quillon::GameObject* b, float& restitution,
                              float& friction) override {
    if (g_log.empty() || g_log.back() != "contact") Log("contact");
    ++questions;
    defaultsSeen &= restitution == 0.3f && friction == 0.5f;
    (void)a;
    (void)b;
    restitution = answerRestitution;
    friction = answerFriction;
    return answerYes;
  }
  void OnSessionHosted() override { Log("net.hosted"); }
  void OnSessionEnded() override { Log("net.ended"); }
  bool OnPlayerJoinRequest(Quillon::QlnPlayer*) override { return acceptPlayers; }
  void OnJoinAnswer(int32_t code) override { joinAnswers.push_back(code); }
  void OnTextMessage(Quillon::QlnPlayer*, const std::string& text) override { Log("net.text:" + text); }

  std::vector<float> dts;
  int questions = 0;
  bool defaultsSeen = true;
  bool answerYes = true;
  float answerRestitution = 0.3f;
  float answerFriction = 0.5f;
  bool acceptPlayers = true;
  std::vector<int32_t> joinAnswers;
};

// The multiplayer layer as the game sees it, scripted by the tests.
struct FakeSession {
  std::string networkId;
  std::string hostName;
};

class FakeNetwork : public Quillon::GameNetwork {
 public:
  static FakeNetwork* instance;
  FakeNetwork() { instance = this; }
  ~FakeNetwork() override {
    if (instance == this) instance = nullptr;
  }

  bool StartSession(const Quillon::NetworkSessionSettings& settings, Quillon::NetworkEventHandler handler) override {
    if (active) return false;
    calls.push_back(std::string("start:") + (settings.host ? "host:" : "client:") + settings.sessionName + ":" +
                    std::to_string(settings.broadcastPort) + ":" + std::to_string(settings.syncRate));
    active = true;
    host = settings.host;
    this->handler = handler;
    return true;
  }
  bool StartHosting(const std::string& playerName, uint32_t maxPlayers, uint32_t scope, float interval) override {
    calls.push_back("hosting:" + playerName + ":" + std::to_string(maxPlayers) + ":" + std::to_string(scope) + ":" +
                    std::to_string(static_cast<int>(interval * 1000.0f)));
    networkGame = true;
    return true;
  }
  bool JoinSession(const std::string& playerName, const Quillon::QlnBroadcast& session, const std::string&) override {
    calls.push_back("join:" + playerName + ":" + reinterpret_cast<const FakeSession&>(session).hostName);
    return true;
  }
  bool Shutdown() override {
    calls.push_back("shutdown");
    const bool was = active;
    active = false;
    return was;
  }
  bool IsNetworkGame() const override { return networkGame; }
  bool IsServer() const override { return host; }
  void UpdatePlayerInput(float) override { Log("net.input"); }
  void Update(float) override { Log("net.update"); }
  void CopyDiscoveredSessions(const std::string& networkId,
                              std::vector<std::shared_ptr<const Quillon::QlnBroadcast>>& out) const override {
    for (const auto& session : sessions) {
      // The game never looks inside a session: it hands it back to this object.
      if (session->networkId == networkId) {
        out.emplace_back(session, reinterpret_cast<const Quillon::QlnBroadcast*>(session.get()));
      }
    }
  }
  void ClearNamedNetObjects() override { calls.push_back("clear-named"); }
  void DestroyNetObjects() override { calls.push_back("destroy-objects"); }
  void RestartDiscovery() override { calls.push_back("restart-discovery"); }
  void SendLevelSwitched() override { calls.push_back("level-switched"); }
  bool AddNetObject(Quillon::GameObject*, uint32_t, Quillon::QlnPlayer*) override { return false; }
  bool RemoveNetObject(Quillon::GameObject*) override { return false; }
  Quillon::GameObject* FindNetObjectByName(const std::string&) const override { return nullptr; }
  int PushToLua(lua_State* state) override {
    lua_pushstring(state, "network");
    return 1;
  }
  int PushSession(lua_State* state, const Quillon::QlnBroadcast& session) override {
    lua_pushstring(state, reinterpret_cast<const FakeSession&>(session).hostName.c_str());
    return 1;
  }
  const Quillon::QlnBroadcast* ToSession(lua_State* state, int index) const override {
    if (lua_type(state, index) != LUA_TSTRING) return nullptr;
    for (const auto& session : sessions) {
      if (session->hostName == lua_tostring(state, index)) {
        return reinterpret_cast<const Quillon::QlnBroadcast*>(session.get());
      }
    }
    return nullptr;
  }

  std::vector<std::shared_ptr<FakeSession>> sessions;
  std::vector<std::string> calls;
  Quillon::NetworkEventHandler handler = nullptr;
  bool active = false;
  bool host = false;
  bool networkGame = false;
};
FakeNetwork* FakeNetwork::instance = nullptr;

std::unique_ptr<Quillon::GameNetwork> MakeFakeNetwork() { return std::make_unique<FakeNetwork>(); }

// The saves side as the game sees it: it says what it was asked and when.
class FakeSaves : public Quillon::GameSaves {
 public:
  static FakeSaves* instance;
  FakeSaves() { instance = this; }
  ~FakeSaves() override {
    if (instance == this) instance = nullptr;
  }
  void ProcessRequests(Quillon::Game&) override {
    Log("saves.process");
    if (onProcess) onProcess();
  }
  bool IsReplayPlaying() const override { return playing; }
  bool IsReplayRecording() const override { return recording; }
  void PlayReplayFrame(Quillon::Game&, float& dt) override {
    Log("saves.play");
    dt = recordedDt;
  }
  void RecordReplayFrame(Quillon::Game&, float dt) override {
    Log("saves.record");
    recordedDts.push_back(dt);
  }
  void RequestSave(const std::string& name) override { calls.push_back("save:" + name); }
  void RequestLoad(const std::string& name) override { calls.push_back("load:" + name); }
  void StartReplayRecording(const std::string& name) override { calls.push_back("record:" + name); }
  void StopReplayRecording() override { calls.push_back("stop-record"); }
  void StartReplay(const std::string& name) override { calls.push_back("replay:" + name); }
  void StopReplay() override { calls.push_back("stop-replay"); }
  void GetSavedGameNames(std::vector<std::string>& names) override { names = savedGames; }
  void GetReplayNames(std::vector<std::string>& names) override { names.clear(); }
  void SaveGame(Quillon::Game&, Core::File&) override { calls.push_back("save-game"); }
  void LoadGame(Quillon::Game&, Core::File&) override { calls.push_back("load-game"); }
  void FreeReplayFrames() override { calls.push_back("free"); }

  std::function<void()> onProcess;
  std::vector<std::string> calls;
  std::vector<std::string> savedGames;
  std::vector<float> recordedDts;
  bool playing = false;
  bool recording = false;
  float recordedDt = 0.5f;
};
FakeSaves* FakeSaves::instance = nullptr;

std::unique_ptr<Quillon::GameSaves> MakeFakeSaves() { return std::make_unique<FakeSaves>(); }

class GameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VELKOR_REQUIRE_DISPLAY();
    ASSERT_NO_FATAL_FAILURE(m_session.Open());
    // The library installs the real multiplayer and saves sides by default; these tests start
    // with neither, whatever ran before them, and install fakes where they look at the seams.
    Quillon::SetGameNetworkFactory(nullptr);
    Quillon::SetGameSavesFactory(nullptr);
    g_log.clear();
    g_onCreate = nullptr;
    g_failCreate = false;
    g_failIndex = -1;
    g_built = Built();
    m_ready = true;
  }
  void TearDown() override {
    if (!m_ready) return;
    m_session.StopGame();
    m_game = nullptr;
    Quillon::SetGameNetworkFactory(nullptr);
    Quillon::SetGameSavesFactory(nullptr);
    Quillon::SetOneSidedContact(false);
    m_session.Close();
  }

  void MakeGame(uint32_t startingLevel) {
    m_game = m_session.Adopt(
        new TestGame(SmartPointer<Quillon::LevelFactory>(new TestFactory()), TestSupport::SmallDisplay(), startingLevel));
  }
  // One pass of the main loop at the given clock time.
  void Frame(double now) {
    m_session.SetNow(now);
    m_session.Step(0.0);
  }
  // Runs frames 16 ms apart from the current time until a step has run.
  void StepOnce() {
    const size_t before = m_game->dts.size();
    for (int i = 0; i < 3 && m_game->dts.size() == before; ++i) Frame(m_session.Now() + 16.0);
    ASSERT_GT(m_game->dts.size(), before);
  }
  size_t Find(const std::string& entry, size_t from = 0) const {
    auto it = std::find(g_log.begin() + static_cast<std::ptrdiff_t>(std::min(from, g_log.size())), g_log.end(), entry);
    return static_cast<size_t>(it - g_log.begin());
  }
  bool Logged(const std::string& entry) const { return Find(entry) < g_log.size(); }

  // Runs a chunk on the main state with the game as its global "game"; a chunk that raises fails
  // the test.
  void Run(const std::string& source) {
    lua_State* state = Lua::GetMainState();
    m_game->PushToLua(state);
    lua_setglobal(state, "game");
    ASSERT_EQ(luaL_dostring(state, source.c_str()), 0) << lua_tostring(state, -1);
  }
  // The value of a Lua expression on the main state: a number, a truth or a text ("" for none).
  template <typename Read>
  static auto Value(const std::string& expression, Read read) {
    lua_State* state = Lua::GetMainState();
    const int top = lua_gettop(state);
    EXPECT_EQ(luaL_dostring(state, ("return " + expression).c_str()), 0) << expression;
    const auto value = read(state);
    lua_settop(state, top);
    return value;
  }
  static double Number(const std::string& expression) {
    return Value(expression, [](lua_State* state) { return lua_tonumber(state, -1); });
  }
  static bool Truth(const std::string& expression) {
    return Value(expression, [](lua_State* state) { return lua_toboolean(state, -1) != 0; });
  }
  static std::string Text(const std::string& expression) {
    return Value(expression, [](lua_State* state) {
      const char* text = lua_tostring(state, -1);
      return std::string(text != nullptr ? text : "");
    });
  }

  TestGame* m_game = nullptr;
  bool m_ready = false;
  TestSupport::GameSession m_session;
};

}  // namespace

TEST_F(GameTest, FirstUpdateBuildsTheStartingLevelAndLaterUpdatesStepWithThePreviousFrame) {
  MakeGame(1);
  EXPECT_EQ(Quillon::Game::GetInstance(), m_game);
  EXPECT_EQ(m_game->GetCurrentLevel(), nullptr);  // nothing before the first update
  EXPECT_EQ(m_game->GetStartingLevelIndex(), 1u);
  // The game's engines are what the framework's objects reach.
  EXPECT_EQ(Quillon::GetGameServices().GetPhysicsEngine(), m_game->GetPhysicsEngine());
  EXPECT_EQ(Quillon::GetGameServices().GetSceneGraph(), m_game->GetSceneGraph());

  Frame(0.0);
  EXPECT_EQ(g_log, (std::vector<std::string>{"factory.create1", "game.start", "level1.start"}));
  ASSERT_NE(m_game->GetCurrentLevel(), nullptr);
  EXPECT_EQ(m_game->GetCurrentLevel()->GetName(), "Second");
  EXPECT_TRUE(m_game->dts.empty());  // the first update runs no step

  Frame(16.0);  // the previous frame lasted 0 ms: still no step
  EXPECT_TRUE(m_game->dts.empty());
  Frame(40.0);
  Frame(50.0);
  ASSERT_EQ(m_game->dts.size(), 2u);
  EXPECT_FLOAT_EQ(m_game->dts[0], 0.016f);  // the frame from 0 to 16 ms
  EXPECT_FLOAT_EQ(m_game->dts[1], 0.024f);
  EXPECT_EQ(std::count(g_log.begin(), g_log.end(), "game.start"), 1);
  EXPECT_EQ(std::count(g_log.begin(), g_log.end(), "factory.create1"), 1);

  m_game->Shutdown();
  // The level ends before the game, and is released.
  EXPECT_LT(Find("level1.end"), Find("game.end"));
  EXPECT_LT(Find("game.end"), Find("level1.released"));
  EXPECT_EQ(g_liveLevels, 0);
  EXPECT_EQ(g_liveActors, 0);
  EXPECT_EQ(m_game->GetCurrentLevel(), nullptr);
  m_game->Update();  // nothing after shutdown
  EXPECT_EQ(m_game->GetCurrentLevel(), nullptr);
}

TEST_F(GameTest, AStartingLevelThatNamesNoLevelStartsAtTheFirst) {
  MakeGame(2);
  EXPECT_EQ(m_game->GetStartingLevelIndex(), 0u);
  Frame(0.0);
  EXPECT_EQ(g_log.front(), "factory.create0");
}

TEST_F(GameTest, PassesOfAStepRunInOrder) {
  MakeGame(0);
  Frame(0.0);
  Frame(16.0);
  g_log.clear();
  StepOnce();
  // Consecutive repeats (two boxes, several bodies) count once.
  std::vector<std::string> order;
  for (const std::string& entry : g_log) {
    if (order.empty() || order.back() != entry) order.push_back(entry);
  }
  const std::vector<std::string> expected = {"pre",  "level.update", "object.update", "hook1",  "hook2",
                                             "physics.update", "collisions", "contact", "scene.update"};
  EXPECT_EQ(order, expected);
}

TEST_F(GameTest, ALevelSwitchAskedForDuringAFrameHappensAtTheNextStep) {
  MakeGame(0);
  Frame(0.0);
  Frame(16.0);
  StepOnce();
  RecordingLevel* oldLevel = g_built.level;
  ASSERT_EQ(m_game->GetCollisionAssetCount(), 1u);

  // Two requests in one frame: the later one wins; an unknown name changes nothing.
  oldLevel->onUpdate = [this] {
    EXPECT_TRUE(m_game->GoToLevel("First"));
    EXPECT_TRUE(m_game->GoToLevel("Second"));
    EXPECT_FALSE(m_game->GoToLevel("Nowhere"));
    EXPECT_FALSE(m_game->GoToLevel(2u));
  };
  g_log.clear();
  StepOnce();
  oldLevel->onUpdate = nullptr;
  // The rest of that step ran on the old level, which is still there.
  EXPECT_TRUE(Logged("scene.update"));
  EXPECT_FALSE(Logged("level0.end"));
  EXPECT_EQ(m_game->GetCurrentLevel(), oldLevel);
  EXPECT_TRUE(m_game->IsLevelSwitchRequested());
  EXPECT_EQ(m_game->GetRequestedLevelIndex(), 1u);

  g_log.clear();
  StepOnce();
  // The old level ends and goes before the factory builds the new one, all before the step's input.
  const std::vector<std::string> head(g_log.begin(), g_log.begin() + std::min<size_t>(6, g_log.size()));
  EXPECT_EQ(head, (std::vector<std::string>{"level0.end", "level0.released", "factory.reset", "factory.create1",
                                            "level1.start", "pre"}));
  EXPECT_FALSE(Logged("game.start"));  // only for the first level
  EXPECT_EQ(g_liveLevels, 1);
  EXPECT_EQ(m_game->GetCurrentLevelIndex(), 1u);
  EXPECT_FALSE(m_game->IsLevelSwitchRequested());
  // Engines hold only the new level: one collision layer, its bodies, one actor; ids restart.
  EXPECT_EQ(m_game->GetCollisionEngine()->GetLayerCount(), 1u);
  EXPECT_EQ(m_game->GetCollisionAssetCount(), 1u);
  EXPECT_EQ(g_liveActors, 1);
  EXPECT_EQ(g_built.mover->GetID(), 0u);
  uint32_t bodies = 0;
  for (uint32_t h = 1; h <= m_game->GetPhysicsEngine()->GetRigidBodySlotCount(); ++h) {
    bodies += m_game->GetPhysicsEngine()->GetRigidBody(h) ? 1 : 0;
  }
  EXPECT_EQ(bodies, 3u);

  // The frame that built the level does not count: the next pass sees 0 ms and runs no step.
  const size_t steps = m_game->dts.size();
  Frame(m_session.Now() + 16.0);
  EXPECT_EQ(m_game->dts.size(), steps);
  Frame(m_session.Now() + 16.0);
  EXPECT_EQ(m_game->dts.size(), steps + 1);
}

TEST_F(GameTest, ARequestMadeWhileTheNewLevelStartsIsKeptForTheNextStep) {
  MakeGame(0);
  Frame(0.0);
  Frame(16.0);
  StepOnce();
  // Level 1 asks for level 0 as soon as it is built.
  g_onCreate = [this](RecordingLevel& level) {
    if (level.GetIndex() == 1) m_game->GoToLevel(0u);
  };
  m_game->GoToLevel(1u);
  g_log.clear();
  StepOnce();
  EXPECT_EQ(m_game->GetCurrentLevelIndex(), 1u);
  EXPECT_TRUE(m_game->IsLevelSwitchRequested());
  g_onCreate = nullptr;
  StepOnce();
  EXPECT_EQ(m_game->GetCurrentLevelIndex(), 0u);
}

TEST_F(GameTest, TheContactQuestionDecidesWhetherPhysicsGetsContactsAndWithWhichCoefficients) {
  MakeGame(0);
  Frame(0.0);
  Frame(16.0);
  // The mover starts 30 units from the target at 60 units a second: both boxes (half 16) overlap.
  m_game->answerYes = false;
  StepOnce();
  EXPECT_GT(m_game->questions, 0);
  EXPECT_TRUE(m_game->defaultsSeen);
  EXPECT_TRUE(m_game->GetPhysicsEngine()->GetContacts().empty());

  m_game->answerYes = true;
  m_game->answerRestitution = 0.75f;
  m_game->answerFriction = 0.125f;
  m_game->questions = 0;
  StepOnce();
  EXPECT_GT(m_game->questions, 0);
  EXPECT_TRUE(m_game->defaultsSeen);
  const auto& contacts = m_game->GetPhysicsEngine()->GetContacts();
  ASSERT_FALSE(contacts.empty());
  size_t fresh = 0;
  for (const auto& contact : contacts) {
    if (contact->WasKept()) continue;
    ++fresh;
    EXPECT_FLOAT_EQ(contact->GetRestitution(), 0.75f);
    EXPECT_FLOAT_EQ(contact->GetFriction(), 0.125f);
  }
  EXPECT_EQ(fresh, static_cast<size_t>(m_game->questions));
  // A data word that is not the game's installs nothing of it.
  Quillon::Game::UpdateContactList(m_game->GetPhysicsEngine(), 0);
}

TEST_F(GameTest, NetworkEventsSessionsAndSwitchesGoThroughTheNetworkObject) {
  Quillon::SetGameNetworkFactory(&MakeFakeNetwork);
  MakeGame(0);
  FakeNetwork* network = FakeNetwork::instance;
  ASSERT_NE(network, nullptr);
  ASSERT_EQ(m_game->GetNetworkEngine(), network);
  Frame(0.0);
  Frame(16.0);

  // Hosting needs the session that "NetworkStart" opened.
  Run("hosted = game:HostNetworkGame('Arena', 'Ann', '', 4)");
  EXPECT_FALSE(Truth("hosted"));
  EXPECT_EQ(network->calls, (std::vector<std::string>{"shutdown"}));

  network->sessions.push_back(std::make_shared<FakeSession>(FakeSession{"Velkor", "hostA"}));
  network->sessions.push_back(std::make_shared<FakeSession>(FakeSession{"Other", "hostB"}));
  network->sessions.push_back(std::make_shared<FakeSession>(FakeSession{"Velkor", "hostC"}));
  Run("game:NetworkStart('Velkor')");
  EXPECT_EQ(m_game->GetNetworkId(), "Velkor");
  EXPECT_EQ(m_game->GetOnlineSessionCount(), 0u);  // refreshed by the next step
  g_log.clear();
  StepOnce();
  EXPECT_LT(Find("collisions"), Find("net.input"));
  EXPECT_LT(Find("net.input"), Find("net.update"));
  EXPECT_LT(Find("net.update"), Find("scene.update"));
  EXPECT_EQ(m_game->GetOnlineSessionCount(), 2u);
  Run("count = game:GetOnlineSessionsCount(); first = game:GetOnlineSession(0); second = game:GetOnlineSession(1)\n"
      "none = select('#', game:GetOnlineSession(2))\n"
      "joined = game:JoinNetworkGame('Bob', second, '')");
  EXPECT_EQ(Number("count"), 2.0);
  EXPECT_EQ(Text("second"), "hostC");
  EXPECT_EQ(Number("none"), 0.0);
  EXPECT_TRUE(Truth("joined"));
  EXPECT_EQ(network->calls.back(), "join:Bob:hostC");

  network->calls.clear();
  Run("hosted = game:HostNetworkGame('Arena', 'Ann', 'pw', 4)");
  EXPECT_TRUE(Truth("hosted"));
  EXPECT_EQ(network->calls,
            (std::vector<std::string>{"shutdown", "start:host:Arena:3000:60", "hosting:Ann:4:1:250"}));

  // Events: a join request takes the hook's answer, every other event is handled.
  Quillon::NetworkEvent event;
  event.type = 2;
  m_game->acceptPlayers = false;
  EXPECT_FALSE(Quillon::Game::OnNetworkEvent(event));
  m_game->acceptPlayers = true;
  EXPECT_TRUE(Quillon::Game::OnNetworkEvent(event));
  event.type = 3;
  const int32_t accepted = 7, refused = -2;
  event.data = &accepted;
  event.size = 4;
  EXPECT_TRUE(Quillon::Game::OnNetworkEvent(event));
  event.data = &refused;
  EXPECT_TRUE(Quillon::Game::OnNetworkEvent(event));
  event.size = 2;  // too short to hold a code
  EXPECT_TRUE(Quillon::Game::OnNetworkEvent(event));
  EXPECT_EQ(m_game->joinAnswers, (std::vector<int32_t>{0, -2, -1}));
  const std::string text = "hello";
  event = Quillon::NetworkEvent();
  event.type = 6;
  event.text = &text;
  EXPECT_TRUE(Quillon::Game::OnNetworkEvent(event));
  EXPECT_TRUE(Logged("net.text:hello"));
  event.type = 42;
  EXPECT_TRUE(Quillon::Game::OnNetworkEvent(event));

  // On a client, the end of a session destroys the replicas around the hook and listens again.
  network->host = false;
  network->calls.clear();
  event.type = 8;
  EXPECT_TRUE(Quillon::Game::OnNetworkEvent(event));
  EXPECT_EQ(network->calls, (std::vector<std::string>{"destroy-objects", "restart-discovery"}));
  EXPECT_TRUE(Logged("net.ended"));

  // Every level switch of a client clears the named objects and tells the server.
  network->calls.clear();
  m_game->GoToLevel(1u);
  StepOnce();
  EXPECT_EQ(network->calls, (std::vector<std::string>{"clear-named", "level-switched"}));
  network->host = true;
  network->calls.clear();
  m_game->GoToLevel(0u);
  StepOnce();
  EXPECT_EQ(network->calls, (std::vector<std::string>{"clear-named"}));

  m_game->Shutdown();
  EXPECT_EQ(FakeNetwork::instance, nullptr);
  EXPECT_FALSE(Quillon::Game::OnNetworkEvent(event) && Quillon::Game::GetInstance() == nullptr);
}

TEST_F(GameTest, ScriptMethodsOfTheGame) {
  MakeGame(0);
  Frame(0.0);
  Frame(16.0);
  Run(R"(
    results = {}
    results.count = game:GetLevelsCount()
    results.index = game:GetCurrentLevelIndex()
    results.levelName = game:GetCurrentLevel():GetName()
    game:GoToPreviousLevel()                 -- at level 0: nothing
    results.afterPrevious = game:GetCurrentLevelIndex()
    game:GoToLevel(5)                        -- not a level
    game:GoToLevel(-1)
    game:GoToLevel('Nowhere')
    game:GoToLevel()
    game:GoToLevel('1')                      -- a numeric string is a number
    results.width = game:GetResolutionWidth()
    results.height = game:GetResolutionHeight()
    game:SetTitle('Velkor test')
    results.title = game:GetTitle()
    results.sound = select('#', game:GetSoundEngine())
    results.scene = select('#', game:GetSceneGraph())
    results.network = select('#', game:GetNetworkEngine())
    results.saved = select('#', game:GetSavedGames())
    results.replays = select('#', game:GetReplayFiles())
    results.hosted = game:HostNetworkGame('a', 'b', '', 2)
    results.isNetwork = game:IsNetworkGame()
    results.sessions = game:GetOnlineSessionsCount()
    results.noSession = select('#', game:GetOnlineSession(0))
    results.assets = #game:GetCollisionAssets()
    results.hasCollision = game:GetCollisionEngine() ~= nil
    results.hasPhysics = game:GetPhysicsEngine() ~= nil
    results.hasKeyboard = game:GetKeyboard() ~= nil
    results.hasMouse = game:GetMouse() ~= nil
    game:SetDesiredFrameRate(60)
    game:LockFrameRate(true)
    results.rate = game:GetDesiredFrameRate()
    results.locked = game:IsFrameRateLocked()
    game:AddManagedObject(game:GetCurrentLevel(), 'kept')
    game:SetMasterVolume(12)
    results.loud = game:GetMasterVolume()
    game:SetMasterVolume(-1)
    results.quiet = game:GetMasterVolume()
    game:SetMasterVolume(0.5)
    results.half = game:GetMasterVolume()
  )");
  auto number = [](const char* key) { return Number(std::string("results.") + key); };
  auto boolean = [](const char* key) { return Truth(std::string("results.") + key); };
  auto string = [](const char* key) { return Text(std::string("results.") + key); };
  EXPECT_EQ(number("count"), 2.0);
  EXPECT_EQ(number("index"), 0.0);
  EXPECT_EQ(string("levelName"), "First");
  EXPECT_EQ(number("afterPrevious"), 0.0);
  EXPECT_TRUE(m_game->IsLevelSwitchRequested());
  EXPECT_EQ(m_game->GetRequestedLevelIndex(), 1u);
  EXPECT_EQ(number("width"), 320.0);
  EXPECT_EQ(number("height"), 240.0);
  EXPECT_EQ(string("title"), "Velkor test");
  EXPECT_EQ(number("sound"), 0.0);
  EXPECT_EQ(number("scene"), 0.0);
  EXPECT_EQ(number("network"), 0.0);  // no multiplayer layer installed
  EXPECT_EQ(number("saved"), 0.0);
  EXPECT_EQ(number("replays"), 0.0);
  EXPECT_FALSE(boolean("hosted"));
  EXPECT_FALSE(boolean("isNetwork"));
  EXPECT_EQ(number("sessions"), 0.0);
  EXPECT_EQ(number("noSession"), 0.0);
  EXPECT_EQ(number("assets"), 1.0);
  EXPECT_TRUE(boolean("hasCollision"));
  EXPECT_TRUE(boolean("hasPhysics"));
  EXPECT_TRUE(boolean("hasKeyboard"));
  EXPECT_TRUE(boolean("hasMouse"));
  EXPECT_EQ(number("rate"), 60.0);
  EXPECT_TRUE(boolean("locked"));
  m_game->LockFrameRate(false);  // the cap would wait on the fake clock for ever
  EXPECT_EQ(m_game->GetManagedObjectCount(), 1u);
  if (m_game->GetSoundEngine()->IsInitialized()) {
    EXPECT_FLOAT_EQ(static_cast<float>(number("loud")), 10.0f);
    EXPECT_FLOAT_EQ(static_cast<float>(number("quiet")), 0.0f);
    EXPECT_FLOAT_EQ(static_cast<float>(number("half")), 0.5f);
  }

  // The next step carries the script's last valid request out.
  StepOnce();
  EXPECT_EQ(m_game->GetCurrentLevelIndex(), 1u);
  Run("game:GoToNextLevel(); game:RestartLevel(); game:GoToFirstLevel(); game:GoToLastLevel()");
  EXPECT_EQ(m_game->GetRequestedLevelIndex(), 1u);
  Run("game:GoToFirstLevel()");
  EXPECT_EQ(m_game->GetRequestedLevelIndex(), 0u);

  // The managed level outlives its switch (the game holds it) and goes at shutdown.
  StepOnce();
  EXPECT_EQ(g_liveLevels, 2);
  Run("game:Exit()");
  EXPECT_FALSE(PAL::ProcessMessages());
  m_game->Shutdown();
  EXPECT_EQ(g_liveLevels, 0);
}

TEST_F(GameTest, ObjectFunctionCallsIntoTheGamesOwnScriptWhenItHasOne) {
  MakeGame(0);
  Frame(0.0);
  Run("");  // the game becomes the global "game"
  // How many results the call gives.
  const int base = lua_gettop(Lua::GetMainState());
  auto results = [base](const char* call) {
    return Value(call, [](lua_State* state) { return lua_gettop(state); }) - base;
  };
  EXPECT_EQ(results("game:ObjectFunction('Pair', 2)"), 0);  // no script by default

  const std::string file = TestSupport::MakeTempDirectory("game-script") + "/game.lua";
  ASSERT_TRUE(TestSupport::WriteWholeFile(file, "function Pair(a) return a, 'second' end function Fail() error('no') end"));
  LuaScript* script = LuaScript::Create();
  script->Load(file.c_str());
  m_game->SetScript(script);
  Run("first, second = game:ObjectFunction('Pair', 2, 'given')");
  EXPECT_EQ(Text("first"), "given");
  EXPECT_EQ(Text("second"), "second");
  EXPECT_EQ(results("game:ObjectFunction('Pair', 2147483647)"), 256);
  EXPECT_EQ(results("game:ObjectFunction('Missing', 2)"), 0);
  EXPECT_EQ(results("game:ObjectFunction('Fail', 1)"), 0);
  EXPECT_EQ(results("game:ObjectFunction(7, 1)"), 0);
  m_game->SetScript(nullptr);
  LuaScript::Destroy(script);
}

TEST_F(GameTest, ALevelTheFactoryCannotBuildIsAskedForOnceAndThePlayerStaysWhereTheyWere) {
  MakeGame(0);
  Frame(0.0);
  Frame(16.0);
  StepOnce();
  auto count = [](const char* entry) { return std::count(g_log.begin(), g_log.end(), entry); };
  g_failIndex = 1;
  m_game->GoToLevel(1u);
  StepOnce();
  // Refused once: the level the player was on is built afresh and started, its actor registered once.
  ASSERT_NE(m_game->GetCurrentLevel(), nullptr);
  EXPECT_EQ(m_game->GetCurrentLevel()->GetName(), "First");
  EXPECT_EQ(m_game->GetCurrentLevelIndex(), 0u);
  EXPECT_EQ(m_game->GetCollisionAssetCount(), 1u);
  EXPECT_NE(m_game->GetLevelError().find("Level 1"), std::string::npos);
  const auto asked = count("factory.create1");
  for (int i = 0; i < 10; ++i) StepOnce();
  EXPECT_EQ(count("factory.create1"), asked);
  EXPECT_EQ(count("game.start"), 1);

  // With nothing to fall back on the game runs on without a level, and is not asked every frame.
  g_failCreate = true;
  m_game->GoToLevel(1u);
  StepOnce();
  EXPECT_EQ(m_game->GetCurrentLevel(), nullptr);
  EXPECT_EQ(g_liveLevels, 0);
  const auto attempts = count("factory.create0") + count("factory.create1");
  for (int i = 0; i < 10; ++i) StepOnce();
  EXPECT_EQ(count("factory.create0") + count("factory.create1"), attempts);
  // A later request is carried out as usual.
  g_failCreate = false;
  g_failIndex = -1;
  m_game->GoToLevel(1u);
  StepOnce();
  ASSERT_NE(m_game->GetCurrentLevel(), nullptr);
  EXPECT_EQ(m_game->GetCurrentLevel()->GetName(), "Second");
  EXPECT_EQ(count("game.start"), 1);
}

TEST_F(GameTest, SavesAndReplaysGoThroughTheSavesSideAtTheirPlacesInTheStep) {
  Quillon::SetGameSavesFactory(&MakeFakeSaves);
  MakeGame(0);
  FakeSaves* saves = FakeSaves::instance;
  ASSERT_NE(saves, nullptr);
  Frame(0.0);
  Frame(16.0);

  // Requests are carried out before a level switch of the same step.
  m_game->GoToLevel(1u);
  saves->recording = true;
  g_log.clear();
  StepOnce();
  EXPECT_EQ(g_log.front(), "saves.process");
  EXPECT_LT(Find("saves.process"), Find("level0.end"));
  EXPECT_LT(Find("level1.start"), Find("saves.record"));
  EXPECT_LT(Find("saves.record"), Find("pre"));
  EXPECT_FALSE(Logged("saves.play"));
  ASSERT_FALSE(saves->recordedDts.empty());
  EXPECT_FLOAT_EQ(saves->recordedDts.back(), m_game->dts.back());

  // While a replay plays, its frame's dt is the step's dt from then on, and nothing records.
  saves->playing = true;
  const size_t recorded = saves->recordedDts.size();
  g_log.clear();
  StepOnce();
  EXPECT_LT(Find("saves.play"), Find("pre"));
  EXPECT_FLOAT_EQ(m_game->dts.back(), 0.5f);
  EXPECT_EQ(saves->recordedDts.size(), recorded);
  saves->playing = false;
  saves->recording = false;

  saves->savedGames = {"level1"};
  Run("game:Save('slot'); game:Load('slot'); game:ReplayRecordingStart('r'); game:ReplayRecordingStop(); "
      "game:ReplayStart('r'); game:ReplayStop(); game:Save(); names = game:GetSavedGames()");
  EXPECT_EQ(saves->calls, (std::vector<std::string>{"save:slot", "load:slot", "record:r", "stop-record", "replay:r",
                                                    "stop-replay"}));
  EXPECT_EQ(Text("type(names) == 'table' and names[1]"), "level1");

  Core::MemoryFile file;
  m_game->Save(file);
  m_game->Load(file);
  m_game->Shutdown();
  EXPECT_EQ(FakeSaves::instance, nullptr);
}
