#pragma once
// The game's level factory: the level table (count, numbers by name) and the one builder that
// makes every screen from its rows (content/Velkor_LevelRows.h). Each build first makes the
// collision actors anew, then the level with its layers, camera "camera0", viewport and objects.
#include <cstdint>
#include <string>

#include "framework/Quillon_Level.h"
#include "framework/Quillon_LevelFactory.h"

namespace Content {
struct LevelRows;
}
namespace Collision2D {
class CollisionActor;
}
namespace Quillon {
class Camera;
class Layer;
class Level;
class Viewport;
}

class MyLevelFactory : public Quillon::LevelFactory {
 public:
  static constexpr uint32_t kLevelCount = 9;
  static constexpr uint32_t kCollisionActorCount = 105;
  static constexpr uint32_t kLayerSlotCount = 4;

  MyLevelFactory() = default;
  MyLevelFactory(const MyLevelFactory&) = delete;
  MyLevelFactory& operator=(const MyLevelFactory&) = delete;
  const char* GetClassName() const override { return "MyLevelFactory"; }
  uint32_t GetSize() const override { return static_cast<uint32_t>(sizeof(MyLevelFactory)); }

  uint32_t GetLevelCount() override { return kLevelCount; }
  // Null, with nothing built, for a number that names no level or a level whose content is not
  // there; otherwise the collision actors are made anew (and registered with the game once) and the
  // level is built from its rows.
  Core::SmartPointer<Quillon::Level> CreateLevel(uint32_t index) override;
  void OnLevelCreated(uint32_t index) override { (void)index; }
  // Forgets every object, layer, camera, viewport and level of the last build; the actor slots
  // stay until the next build overwrites them.
  void Reset() override;
  // Exact, case-sensitive match against the level table; the index is untouched on a miss.
  bool GetLevelIndex(const std::string& name, uint32_t& index) override;
  // Whether this build of the game has the content of that level.
  static bool IsLevelAvailable(uint32_t index);
  // The rows of that level; null when there are none.
  static const Content::LevelRows* GetLevelRows(uint32_t index);
  static const char* GetLevelName(uint32_t index);

  // Builds the collision actors anew (content/Velkor_CollisionActors.h), in index order, and
  // registers each with the running game, which owns it; each slot then refers to its actor. Without
  // a running game an actor cannot be registered: it is deleted and its slot left null.
  void CreateCollisionActors();

  // Builds level `number` from its rows (Content::LevelRows): the level object, its layers, camera
  // "camera0" on the last layer and viewport; then each layer's objects in row order followed by
  // the layer's static collision file; then the mounts; last the level-created hook.
  Quillon::Level* BuildLevel(uint32_t number, const Content::LevelRows& rows);

  // The slots describe the last build until the next reset; they own nothing (the game owns the
  // level and the actors, the level its layers and viewport, a layer its objects and camera).
  Collision2D::CollisionActor* collisionActors[kCollisionActorCount] = {};
  Quillon::Camera* cameras[kLevelCount] = {};
  Quillon::Viewport* viewport = nullptr;
  Quillon::Layer* layers[kLayerSlotCount] = {};
  Quillon::Level* levels[kLevelCount] = {};

 private:
  // The first object of that name in the layers of the build under way.
  Quillon::GameObject* FindBuiltObject(const std::string& name) const;
  // Reads "level<N>_layer<M>.txt" of the layer collision folder into layer slot M.
  void LoadLayerCollision(uint32_t level, uint32_t layer);
};
