#include "framework/Quillon_Game.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "audio/Sound_Engine.h"
#include "collision/Collision_Actor.h"
#include "collision/Collision_Engine.h"
#include "core/Core_Time.h"
#include "framework/Quillon_CollisionBridge.h"
#include "framework/Quillon_GameObject.h"
#include "framework/Quillon_Level.h"
#include "framework/Quillon_Saves.h"
#include "gui/Gui_HUD.h"
#include "input/Internal_Keyboard.h"
#include "input/Internal_Mouse.h"
#include "physics/Physics_Engine.h"
#include "platform/PAL_Services.h"
#include "scene/Engine_SceneGraph.h"

namespace Quillon {

namespace {
Game* g_game = nullptr;
GameNetworkFactory g_networkFactory = nullptr;
// Whole-game saves and replays are on unless a game or test installs its own (or none).
GameSavesFactory g_savesFactory = &CreateGameSaves;
}  // namespace

void SetGameNetworkFactory(GameNetworkFactory factory) { g_networkFactory = factory; }
GameNetworkFactory GetGameNetworkFactory() { return g_networkFactory; }
void SetGameSavesFactory(GameSavesFactory factory) { g_savesFactory = factory; }
GameSavesFactory GetGameSavesFactory() { return g_savesFactory; }

// What the framework's objects reach through GetGameServices while the game runs.
class Game::Services : public GameServices {
 public:
  explicit Services(Game& game) : m_game(game) {}
  std::string GetDirectory() const override { return Game::GetDirectory(); }
  Level* GetCurrentLevel() const override { return m_game.GetCurrentLevel(); }
  Engine::SceneGraph* GetSceneGraph() const override { return m_game.GetSceneGraph(); }
  Physics2D::PhysicsEngine* GetPhysicsEngine() const override { return m_game.GetPhysicsEngine(); }
  Collision2D::CollisionEngine* GetCollisionEngine() const override { return m_game.GetCollisionEngine(); }
  Sound::SoundEngine* GetSoundEngine() const override { return m_game.GetSoundEngine(); }
  Collision2D::CollisionActor* GetCollisionAsset(int32_t index) const override {
    return index >= 0 ? m_game.GetCollisionAsset(static_cast<uint32_t>(index)) : nullptr;
  }
  bool IsNetworkGame() const override { return m_game.m_network && m_game.m_network->IsNetworkGame(); }
  bool IsServer() const override { return m_game.m_network && m_game.m_network->IsServer(); }
  QlnPlayer* FindNetworkPlayer(uint32_t id) const override {
    return m_game.m_network ? m_game.m_network->FindNetworkPlayer(id) : nullptr;
  }
  QlnPlayer* GetLocalNetworkPlayer() const override {
    return m_game.m_network ? m_game.m_network->GetLocalNetworkPlayer() : nullptr;
  }
  bool AddNetObject(GameObject* object, uint32_t layerIndex, QlnPlayer* owner) override {
    return m_game.m_network && m_game.m_network->AddNetObject(object, layerIndex, owner);
  }
  bool RemoveNetObject(GameObject* object) override {
    return m_game.m_network && m_game.m_network->RemoveNetObject(object);
  }
  GameObject* FindNetObjectByName(const std::string& name) const override {
    return m_game.m_network ? m_game.m_network->FindNetObjectByName(name) : nullptr;
  }

 private:
  Game& m_game;
};

Game::Game(const Core::SmartPointer<LevelFactory>& levelFactory, const Engine::DisplaySettings& settings,
           uint32_t startingLevelIndex)
    : Engine::RenderingApplication(settings) {
  m_hud = std::make_unique<GUI::HUD>();
  g_game = this;
  m_services = std::make_unique<Services>(*this);
  SetGameServices(m_services.get());
  m_levelFactory = levelFactory;
  m_frameStartTime = Core::GetTime();
  m_previousFrameDuration = 0.0;
  m_sceneGraph = new (__FILE__, __LINE__) Engine::SceneGraph(GetRenderer());
  m_startingLevelIndex = startingLevelIndex < GetLevelCount() ? startingLevelIndex : 0;
  m_currentLevelIndex = m_startingLevelIndex;
  m_collision = new (__FILE__, __LINE__) Collision2D::CollisionEngine();
  m_physics = new (__FILE__, __LINE__) Physics2D::PhysicsEngine();
  m_physics->SetContactListUpdate(&Game::UpdateContactList);
  m_physics->SetContactListUpdateData(kContactListData);
  m_sound = std::make_unique<Sound::SoundEngine>();
  // Without an output device the engine stays silent and the game runs on.
  m_sound->Initialize(-1, kSoundUpdatePeriod);
  m_sound->SetDistanceModel(Sound::SoundEngine::kDistanceInverseClamped);
  if (g_networkFactory != nullptr) m_network = g_networkFactory();
  if (g_savesFactory != nullptr) m_saves = g_savesFactory();
  m_resolutionWidth = settings.width;
  m_resolutionHeight = settings.height;
}

Game::~Game() {
  Shutdown();
  m_sceneGraph.Reset();
  if (&GetGameServices() == m_services.get()) SetGameServices(nullptr);
  m_services.reset();
  if (g_game == this) g_game = nullptr;
}

Game* Game::GetInstance() { return g_game; }

int Game::PushToLua(lua_State* state) { return Core::PushObjectToLua(state, this, ScriptClassName); }

void Game::Save(Core::File& file) {
  if (m_saves) m_saves->SaveGame(*this, file);
}

void Game::Load(Core::File& file) {
  if (m_saves) m_saves->LoadGame(*this, file);
}

uint32_t Game::GetLevelCount() const { return m_levelFactory ? m_levelFactory->GetLevelCount() : 0; }

// ---- Frame driver -------------------------------------------------------------------------------

void Game::Update() {
  if (m_shutDown != 0) return;
  if (!m_currentLevel && m_levelBuildFailed == 0) {
    if (m_levelFactory) m_currentLevel = m_levelFactory->CreateLevel(m_currentLevelIndex);
    // A level the factory cannot build is reported once; asking again every frame would only
    // register its collision actors again and again.
    if (!m_currentLevel) ReportLevelFailure(m_currentLevelIndex, nullptr);
    // Once only: a level that a failed load left missing is rebuilt here without a second start.
    if (m_gameStarted == 0) {
      m_gameStarted = 1;
      OnGameStart();
    }
    if (Core::SmartPointer<Level> level = m_currentLevel) level->OnStart();
    m_frameStartTime = Core::GetTime();
  }
  const float dt = static_cast<float>(m_previousFrameDuration / 1000.0);
  if (dt != 0.0f) Step(dt);
  const double now = Core::GetTime();
  m_previousFrameDuration = now - m_frameStartTime;
  m_frameStartTime = now;
}

void Game::Step(float dt) {
  if (m_saves) m_saves->ProcessRequests(*this);
  SwitchLevel();

  const bool replaying = m_saves && m_saves->IsReplayPlaying();
  if (Input::Mouse* mouse = GetMouse(); mouse != nullptr && !replaying) mouse->Update();
  if (Input::Keyboard* keyboard = GetKeyboard()) keyboard->Update();
  if (replaying) m_saves->PlayReplayFrame(*this, dt);
  if (m_hud) m_hud->Update(dt);
  if (m_saves && m_saves->IsReplayRecording() && !m_saves->IsReplayPlaying()) m_saves->RecordReplayFrame(*this, dt);
  PreUpdate(dt);

  // Held for the whole step: nothing inside it may take the level away (switches wait).
  Core::SmartPointer<Level> level = m_currentLevel;
  Core::SmartPointer<Physics2D::PhysicsEngine> physics = m_physics;
  if (level) {
    level->UpdatePass(dt);
    level->FirstHookPass(dt);
    level->SecondHookPass(dt);
  }
  if (physics) physics->Update(dt);
  if (m_collision) m_collision->Update(dt);
  OnCollisionsDetected(dt);
  if (physics) physics->PostCollisionUpdate(dt);
  if (m_network) {
    m_network->UpdatePlayerInput(dt);
    m_network->Update(dt);
  }
  RefreshOnlineSessions();
  if (level) level->TransformPass();
  if (m_sceneGraph) {
    m_sceneGraph->Update(dt);
    if (level && level->GetClearBackBuffer()) m_sceneGraph->ClearScreen(level->GetClearColor());
  }
  if (level) level->RenderPass(dt);
  GUI::FlushRenderQueue();
}

void Game::RefreshOnlineSessions() {
  m_onlineSessions.clear();
  if (m_network) m_network->CopyDiscoveredSessions(m_networkId, m_onlineSessions);
}

// ---- Levels -------------------------------------------------------------------------------------

void Game::RequestLevel(uint32_t index) {
  m_requestedLevelIndex = index;
  m_levelSwitchRequested = 1;
}

bool Game::GoToLevel(const std::string& name) {
  uint32_t index = 0;
  if (!m_levelFactory || !m_levelFactory->GetLevelIndex(name, index)) return false;
  return GoToLevel(index);
}

bool Game::GoToLevel(uint32_t index) {
  if (index >= GetLevelCount()) return false;
  RequestLevel(index);
  return true;
}

void Game::SetLevelIndices(uint32_t current, uint32_t starting, uint32_t requested, bool switchRequested) {
  m_currentLevelIndex = current;
  m_startingLevelIndex = starting;
  m_requestedLevelIndex = requested;
  m_levelSwitchRequested = switchRequested ? 1 : 0;
}

void Game::EndCurrentLevel(bool callGameEnd) {
  Core::SmartPointer<Level> level = m_currentLevel;
  if (level) {
    level->EndPass();
    level->OnEnd();
  }
  if (callGameEnd) OnGameEnd();
  if (level) level->Destroy();
  m_currentLevel.Reset();
}

void Game::ResetEnginesForNewLevel() {
  if (m_collision) m_collision->Clear();
  if (m_physics) m_physics->Clear();
  if (m_sound) m_sound->Reset();
  if (Input::Keyboard* keyboard = GetKeyboard()) keyboard->Reset();
  if (Input::Mouse* mouse = GetMouse()) mouse->Reset();
}

void Game::SwitchLevel() {
  if (m_levelSwitchRequested == 0) return;
  const uint32_t previousIndex = m_currentLevelIndex;
  const bool hadLevel = static_cast<bool>(m_currentLevel);
  if (m_hud) m_hud->Reset();
  EndCurrentLevel(false);
  ResetEnginesForNewLevel();
  ClearCollisionAssets();
  m_currentLevelIndex = m_requestedLevelIndex;
  if (m_levelFactory) m_levelFactory->Reset();
  const bool networkGame = m_network && m_network->IsNetworkGame();
  if (networkGame) m_network->ClearNamedNetObjects();
  GameObject::ResetIdCounter();
  // Cleared before the new level is built, so that a request its building or start makes is kept
  // for the next step instead of being forgotten.
  m_levelSwitchRequested = 0;
  m_levelBuildFailed = 0;
  if (m_levelFactory) m_currentLevel = m_levelFactory->CreateLevel(m_currentLevelIndex);
  if (!m_currentLevel && hadLevel && previousIndex != m_currentLevelIndex && m_levelFactory) {
    // The player stays on the level they were on, built afresh, rather than on an empty window.
    ReportLevelFailure(m_currentLevelIndex, &previousIndex);
    ResetEnginesForNewLevel();
    ClearCollisionAssets();
    m_levelFactory->Reset();
    GameObject::ResetIdCounter();
    m_currentLevelIndex = previousIndex;
    m_currentLevel = m_levelFactory->CreateLevel(m_currentLevelIndex);
  }
  if (!m_currentLevel) ReportLevelFailure(m_currentLevelIndex, nullptr);
  if (Core::SmartPointer<Level> level = m_currentLevel) level->OnStart();
  if (networkGame && !m_network->IsServer()) m_network->SendLevelSwitched();
  m_frameStartTime = Core::GetTime();
}

void Game::ReportLevelFailure(uint32_t index, const uint32_t* fallback) {
  m_levelError = "Level " + std::to_string(index) + " could not be built: the level factory has no such level";
  m_levelError += fallback != nullptr ? "; staying on level " + std::to_string(*fallback) : "; running without a level";
  if (fallback == nullptr) m_levelBuildFailed = 1;
  std::fprintf(stderr, "%s\n", m_levelError.c_str());
  std::fflush(stderr);
}

void Game::ResetBeforeLoad() {
  m_levelBuildFailed = 0;
  if (m_hud) m_hud->Reset();
  EndCurrentLevel(false);
  ResetEnginesForNewLevel();
  ClearCollisionAssets();
  if (m_levelFactory) m_levelFactory->Reset();
  GameObject::ResetIdCounter();
  RestartFrameClock();
}

void Game::RestartFrameClock() { m_frameStartTime = Core::GetTime(); }

void Game::ReplacePhysicsEngine(const Core::SmartPointer<Physics2D::PhysicsEngine>& physics) { m_physics = physics; }

// ---- Collision assets ---------------------------------------------------------------------------

bool Game::AddCollisionAssets(Collision2D::CollisionActor* actor) {
  if (actor == nullptr) return false;
  for (const auto& asset : m_collisionAssets) {
    if (asset.get() == actor) return false;
  }
  m_collisionAssets.emplace_back(actor);
  return true;
}

void Game::ClearCollisionAssets() { m_collisionAssets.clear(); }

Collision2D::CollisionActor* Game::GetCollisionAsset(uint32_t index) const {
  return index < m_collisionAssets.size() ? m_collisionAssets[index].get() : nullptr;
}

// ---- Settings -----------------------------------------------------------------------------------

std::string Game::GetDirectory() {
  const char* directory = PAL::GetExecutableDirectory();
  return directory ? directory : "";
}

std::string Game::GetSaveDirectory() const { return GetDirectory() + "\\Saves"; }

std::string Game::GetExecutableName() {
  const char* name = PAL::GetExecutableName();
  return name ? name : "";
}

std::string Game::GetExecutableNameNoExtension() {
  std::string name = GetExecutableName();
  if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".exe") == 0) name.resize(name.size() - 4);
  return name;
}

void Game::SetTitle(const std::string& title) { GetWindow()->SetTitle(title.c_str()); }

std::string Game::GetTitle() { return GetWindow()->GetTitle(); }

void Game::SetIcon(const std::string& path) { GetWindow()->SetIcon(path.c_str()); }

std::string Game::GetIcon() { return GetWindow()->GetIcon(); }

void Game::SetMasterVolume(float gain) {
  // A NaN would pass both comparisons: it counts as silence.
  const float clamped = gain > 10.0f ? 10.0f : (gain >= 0.0f ? gain : 0.0f);
  if (m_sound) m_sound->SetMasterVolume(clamped);
}

float Game::GetMasterVolume() const { return m_sound ? m_sound->GetMasterVolume() : 0.0f; }

void Game::AddManagedObject(Core::Object* object, const std::string& name) {
  if (object == nullptr) return;
  m_managedObjects.emplace_back(object);
  m_managedObjectNames.push_back(name);
}

// ---- Collision response and network events -------------------------------------------------------

bool Game::GetContactCoefficients(GameObject* a, GameObject* b, float& restitution, float& friction) {
  (void)a;
  (void)b;
  restitution = kDefaultContactRestitution;
  friction = kDefaultContactFriction;
  return true;
}

void Game::UpdateContactList(Physics2D::PhysicsEngine* engine, uint32_t data) {
  Game* game = g_game;
  if (engine == nullptr || game == nullptr || data != kContactListData) return;
  BuildContacts(*engine, [game](GameObject* a, GameObject* b, float& restitution, float& friction) {
    return game->GetContactCoefficients(a, b, restitution, friction);
  });
}

bool Game::OnNetworkEvent(const NetworkEvent& event) {
  Game* game = g_game;
  if (game == nullptr) return false;
  switch (event.type) {
    case 0:
      game->OnSessionHosted();
      return true;
    case 1:
      game->OnSessionJoined();
      return true;
    case 2:
      return game->OnPlayerJoinRequest(event.player);
    case 3: {
      // An answer too short to hold its code is taken as a refusal, never as an acceptance.
      int32_t code = -1;
      if (event.data != nullptr && event.size >= sizeof(code)) std::memcpy(&code, event.data, sizeof(code));
      game->OnJoinAnswer(code > 0 ? 0 : code);
      return true;
    }
    case 4:
      game->OnPlayerJoined(event.player);
      return true;
    case 5:
      game->OnPlayerLeft(event.player);
      return true;
    case 6:
      game->OnTextMessage(event.player, event.text ? *event.text : std::string());
      return true;
    case 7:
      game->OnDataMessage(event.player, event.dataKind, event.size, event.data);
      return true;
    case 8: {
      const bool client = game->m_network && !game->m_network->IsServer();
      if (client) game->m_network->DestroyNetObjects();
      game->OnSessionEnded();
      if (client && game->m_network) game->m_network->RestartDiscovery();
      return true;
    }
    default:
      return true;
  }
}

// ---- Shutdown -----------------------------------------------------------------------------------

void Game::Shutdown() {
  if (m_shutDown != 0) return;
  m_shutDown = 1;
  m_hud.reset();
  if (m_network) m_network->Shutdown();
  if (m_currentLevel) EndCurrentLevel(true);
  ClearCollisionAssets();
  m_levelFactory.Reset();
  m_onlineSessions.clear();
  m_network.reset();
  if (m_sound) m_sound->Shutdown();
  m_sound.reset();
  m_physics.Reset();
  m_collision.Reset();
  if (m_saves) m_saves->FreeReplayFrames();
  m_saves.reset();
  m_managedObjects.clear();
  m_managedObjectNames.clear();
}

}  // namespace Quillon
