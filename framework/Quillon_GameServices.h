#pragma once
// What the framework's objects need of the running game: its directory, its engines, its current
// level and its network role. The game object installs its own services when it starts; until then
// (and in tests) a default answers "no engine", "no level" and "no network game".
#include <cstdint>
#include <string>

namespace Collision2D {
class CollisionEngine;
class CollisionActor;
}
namespace Physics2D {
class PhysicsEngine;
}
namespace Engine {
class SceneGraph;
}
namespace Sound {
class SoundEngine;
}

namespace Quillon {

class GameObject;
class Level;
class QlnPlayer;

class GameServices {
 public:
  virtual ~GameServices() = default;

  // The running executable's directory without a trailing separator.
  virtual std::string GetDirectory() const;
  virtual Level* GetCurrentLevel() const { return nullptr; }
  virtual Engine::SceneGraph* GetSceneGraph() const { return nullptr; }
  virtual Physics2D::PhysicsEngine* GetPhysicsEngine() const { return nullptr; }
  virtual Collision2D::CollisionEngine* GetCollisionEngine() const { return nullptr; }
  virtual Sound::SoundEngine* GetSoundEngine() const { return nullptr; }
  // The collision actor at that position of the game's collision assets; null when there is none.
  virtual Collision2D::CollisionActor* GetCollisionAsset(int32_t index) const {
    (void)index;
    return nullptr;
  }

  // The multiplayer layer answers these once it exists.
  virtual bool IsNetworkGame() const { return false; }
  virtual bool IsServer() const { return false; }
  // Registers a network object with the multiplayer layer; false refuses the addition.
  virtual bool AddNetObject(GameObject* object, uint32_t layerIndex, QlnPlayer* owner) {
    (void)object;
    (void)layerIndex;
    (void)owner;
    return false;
  }
  // Withdraws a network object from its peers; false refuses the removal.
  virtual bool RemoveNetObject(GameObject* object) {
    (void)object;
    return false;
  }
  // The network session's player of that id, and this machine's own player; null without one.
  virtual QlnPlayer* FindNetworkPlayer(uint32_t id) const {
    (void)id;
    return nullptr;
  }
  virtual QlnPlayer* GetLocalNetworkPlayer() const { return nullptr; }
  // The registered network template of that name, or null.
  virtual GameObject* FindNetObjectByName(const std::string& name) const {
    (void)name;
    return nullptr;
  }
};

// Whether a script name read from a saved game or a network record names a file inside the game's
// resource script folder: relative, no drive, no ".." step (with either separator). The empty
// name (no script) passes.
bool IsScriptNameInsideScripts(const std::string& name);

// The installed services, or the default ones. Never null.
GameServices& GetGameServices();
// Installs services (null puts the default back); the caller keeps them alive while installed.
void SetGameServices(GameServices* services);

}  // namespace Quillon
