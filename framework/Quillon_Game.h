#pragma once
// The application object of every game written against the framework: it owns the engines (scene
// graph, collision, physics, sound, the multiplayer layer and the GUI root), holds the level factory
// and the current level, and runs one frame step per pass of the main loop. Exactly one exists; a
// game derives its own class and overrides the hooks.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Core_Object.h"
#include "framework/Quillon_GameNetwork.h"
#include "framework/Quillon_GameSaves.h"
#include "framework/Quillon_GameServices.h"
#include "framework/Quillon_LevelFactory.h"
#include "renderer/Engine_RenderingApplication.h"

namespace Collision2D {
class CollisionActor;
class CollisionEngine;
}
namespace Engine {
class SceneGraph;
}
namespace GUI {
class HUD;
}
namespace Physics2D {
class PhysicsEngine;
}
namespace Sound {
class SoundEngine;
}

namespace Quillon {

class GameObject;
class Level;
class QlnPlayer;

class Game : public Engine::RenderingApplication {
 public:
  static constexpr const char* ScriptClassName = "Game";
  // The physics engine's contact-list data word while the game's bridge is installed (a 32-bit word
  // cannot carry the game's address; there is only one game).
  static constexpr uint32_t kContactListData = 1;
  // The refill period of the sound engine's thread.
  static constexpr uint32_t kSoundUpdatePeriod = 30;

  Game(const Core::SmartPointer<LevelFactory>& levelFactory, const Engine::DisplaySettings& settings,
       uint32_t startingLevelIndex);
  ~Game() override;
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;
  const char* GetClassName() const override { return "Quillon::Game"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(Game)); }

  // The one game; null before construction and after destruction.
  static Game* GetInstance();

  LuaScript* GetScript() override { return m_script; }
  // The script that "ObjectFunction" calls into; the game does not own it (the caller destroys it
  // after handing the game another or null).
  void SetScript(LuaScript* script) { m_script = script; }
  int PushToLua(lua_State* state) override;
  // The whole-game save and load (through the saves side; nothing without it).
  void Save(Core::File& file) override;
  void Load(Core::File& file) override;

  // The frame driver: builds the first level on the first call, then steps with the previous
  // frame's duration whenever it is not zero.
  void Update() override;
  // Releases everything; runs once (the destructor runs it when nobody did).
  void Shutdown() override;

  // Hooks.
  virtual void OnGameStart() {}
  virtual void OnGameEnd() {}
  virtual void PreUpdate(float dt) { (void)dt; }
  // Whether a touching pair responds, and how (b is null for static geometry). The default makes
  // every pair respond with the given defaults.
  virtual bool GetContactCoefficients(GameObject* a, GameObject* b, float& restitution, float& friction);
  virtual void OnCollisionsDetected(float dt) { (void)dt; }
  // Network hooks, called only by OnNetworkEvent.
  virtual bool OnPlayerJoinRequest(QlnPlayer* player) {
    (void)player;
    return true;
  }
  virtual void OnJoinAnswer(int32_t code) { (void)code; }
  virtual void OnSessionJoined() {}
  virtual void OnSessionHosted() {}
  virtual void OnSessionEnded() {}
  virtual void OnPlayerJoined(QlnPlayer* player) { (void)player; }
  virtual void OnPlayerLeft(QlnPlayer* player) { (void)player; }
  virtual void OnTextMessage(QlnPlayer* sender, const std::string& text) {
    (void)sender;
    (void)text;
  }
  virtual void OnDataMessage(QlnPlayer* sender, uint32_t dataKind, uint32_t size, const void* data) {
    (void)sender;
    (void)dataKind;
    (void)size;
    (void)data;
  }

  // Engines and level.
  Collision2D::CollisionEngine* GetCollisionEngine() const { return m_collision.Get(); }
  Physics2D::PhysicsEngine* GetPhysicsEngine() const { return m_physics.Get(); }
  Sound::SoundEngine* GetSoundEngine() const { return m_sound.get(); }
  GameNetwork* GetNetworkEngine() const { return m_network.get(); }
  GameSaves* GetSaves() const { return m_saves.get(); }
  Engine::SceneGraph* GetSceneGraph() const { return m_sceneGraph.Get(); }
  GUI::HUD* GetHUD() const { return m_hud.get(); }
  LevelFactory* GetLevelFactory() const { return m_levelFactory.Get(); }
  Level* GetCurrentLevel() const { return m_currentLevel.Get(); }
  uint32_t GetCurrentLevelIndex() const { return m_currentLevelIndex; }
  uint32_t GetStartingLevelIndex() const { return m_startingLevelIndex; }
  uint32_t GetLevelCount() const;

  static std::string GetDirectory();
  // The folder of the whole-game saves and replays. A framework program keeps them in "Saves" beside
  // the executable; a game installed for players overrides this with a folder in the user's data
  // directory. Empty when there is nowhere to keep them: saves and replays are then refused.
  virtual std::string GetSaveDirectory() const;
  static std::string GetExecutableName();
  static std::string GetExecutableNameNoExtension();
  void SetTitle(const std::string& title);
  std::string GetTitle();
  void SetIcon(const std::string& path);
  std::string GetIcon();
  // Clamped to 0..10.
  void SetMasterVolume(float gain);
  float GetMasterVolume() const;
  uint32_t GetResolutionWidth() const { return m_resolutionWidth; }
  uint32_t GetResolutionHeight() const { return m_resolutionHeight; }

  // The collision actors the level content builds; the game owns them until the next level
  // switch. An actor already in the list (or null) is refused, so that none is deleted twice.
  bool AddCollisionAssets(Collision2D::CollisionActor* actor);
  void ClearCollisionAssets();
  uint32_t GetCollisionAssetCount() const { return static_cast<uint32_t>(m_collisionAssets.size()); }
  Collision2D::CollisionActor* GetCollisionAsset(uint32_t index) const;

  // Level requests: recorded only (a later one replaces an earlier one) and carried out at the
  // start of the next frame step. False when the name or index names no level.
  bool GoToLevel(const std::string& name);
  bool GoToLevel(uint32_t index);
  bool IsLevelSwitchRequested() const { return m_levelSwitchRequested != 0; }
  // Why the last level the factory could not build is missing; empty while every build succeeded.
  const std::string& GetLevelError() const { return m_levelError; }
  uint32_t GetRequestedLevelIndex() const { return m_requestedLevelIndex; }

  // Objects a script handed to the game, released at shutdown.
  void AddManagedObject(Core::Object* object, const std::string& name);
  uint32_t GetManagedObjectCount() const { return static_cast<uint32_t>(m_managedObjects.size()); }

  // Network: the session event dispatcher, the network ID of the sessions looked for, and the
  // sessions found with it (rebuilt every frame step).
  static bool OnNetworkEvent(const NetworkEvent& event);
  void SetNetworkId(const std::string& id) { m_networkId = id; }
  const std::string& GetNetworkId() const { return m_networkId; }
  uint32_t GetOnlineSessionCount() const { return static_cast<uint32_t>(m_onlineSessions.size()); }
  const QlnBroadcast* GetOnlineSession(uint32_t index) const {
    return index < m_onlineSessions.size() ? m_onlineSessions[index].get() : nullptr;
  }
  void RefreshOnlineSessions();

  // The physics engine's contact-list callback: the collision-response bridge asking this game.
  static void UpdateContactList(Physics2D::PhysicsEngine* engine, uint32_t data);

  // For the saves side: the state a whole-game save writes and a load restores.
  double GetPreviousFrameDuration() const { return m_previousFrameDuration; }
  void SetPreviousFrameDuration(double milliseconds) { m_previousFrameDuration = milliseconds; }
  void SetResolution(uint32_t width, uint32_t height) {
    m_resolutionWidth = width;
    m_resolutionHeight = height;
  }
  void SetLevelIndices(uint32_t current, uint32_t starting, uint32_t requested, bool switchRequested);
  // Replaces the current level without starting or ending anything.
  void SetCurrentLevel(const Core::SmartPointer<Level>& level) { m_currentLevel = level; }
  // Replaces the physics engine (a load reads a saved one); the bridge is not installed on it.
  void ReplacePhysicsEngine(const Core::SmartPointer<Physics2D::PhysicsEngine>& physics);
  // Tears the running game down as a level switch does, without building a level.
  void ResetBeforeLoad();
  // The frame in progress does not count towards the next dt.
  void RestartFrameClock();

 protected:
  // One frame step with dt in seconds.
  void Step(float dt);
  // Carries out a requested level switch.
  void SwitchLevel();

 private:
  class Services;

  // The current level's end pass, "OnEnd" and destroy, then its release.
  void EndCurrentLevel(bool callGameEnd);
  // Collision, physics, sound and the input devices lose everything of the old level.
  void ResetEnginesForNewLevel();
  void RequestLevel(uint32_t index);
  // Records and prints that the factory answered with no level; with a fallback the game goes on
  // with that level, without one it runs on no level until the next request.
  void ReportLevelFailure(uint32_t index, const uint32_t* fallback);

  LuaScript* m_script = nullptr;
  std::vector<Core::SmartPointer<Core::Object>> m_managedObjects;
  std::vector<std::string> m_managedObjectNames;
  Core::SmartPointer<LevelFactory> m_levelFactory;
  std::vector<std::shared_ptr<const QlnBroadcast>> m_onlineSessions;
  std::string m_networkId;
  Core::SmartPointer<Engine::SceneGraph> m_sceneGraph;
  Core::SmartPointer<Collision2D::CollisionEngine> m_collision;
  Core::SmartPointer<Physics2D::PhysicsEngine> m_physics;
  std::unique_ptr<Sound::SoundEngine> m_sound;
  std::unique_ptr<GameNetwork> m_network;
  std::unique_ptr<GameSaves> m_saves;
  Core::SmartPointer<Level> m_currentLevel;
  double m_frameStartTime = 0.0;
  double m_previousFrameDuration = 0.0;
  uint32_t m_resolutionWidth = 0;
  uint32_t m_resolutionHeight = 0;
  uint32_t m_currentLevelIndex = 0;
  uint32_t m_startingLevelIndex = 0;
  uint32_t m_requestedLevelIndex = 0;
  uint8_t m_levelSwitchRequested = 0;
  uint8_t m_gameStarted = 0;
  // Set when the factory answered with no level: the frame driver does not ask again every frame.
  uint8_t m_levelBuildFailed = 0;
  std::string m_levelError;
  uint8_t m_shutDown = 0;
  std::vector<std::unique_ptr<Collision2D::CollisionActor>> m_collisionAssets;
  std::unique_ptr<GUI::HUD> m_hud;
  std::unique_ptr<Services> m_services;
};

}  // namespace Quillon
