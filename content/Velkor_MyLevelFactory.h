#pragma once
// The game's level factory: the level table (count, numbers by name) and the builders of every
// screen. Each build first makes the collision actors anew, then the level with its layers,
// camera "camera0", viewport and objects.
#include <cstdint>
#include <string>

#include "framework/Quillon_Level.h"
#include "framework/Quillon_LevelFactory.h"

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
  // The collision actors are rebuilt on every call, also for a number that names no level (or
  // a level whose content is not there yet): then the result is null.
  Core::SmartPointer<Quillon::Level> CreateLevel(uint32_t index) override;
  void OnLevelCreated(uint32_t index) override { (void)index; }
  // Forgets every object, layer, camera, viewport and level of the last build; the actor slots
  // stay until the next build overwrites them.
  void Reset() override;
  // Exact, case-sensitive match against the level table; the index is untouched on a miss.
  bool GetLevelIndex(const std::string& name, uint32_t& index) override;
  // Whether this build of the game has the content of that level.
  static bool IsLevelAvailable(uint32_t index);
  static const char* GetLevelName(uint32_t index);

  // The collision actors, defined with the actors' data: CreateCollisionActors runs the ten groups
  // of ten, then the actors 100 to 104. Each builder stores its actor in its slot and registers
  // it with the game, which owns it.
  void CreateCollisionActors();
  void CreateCollisionActors0();
  void CreateCollisionActors1();
  void CreateCollisionActors2();
  void CreateCollisionActors3();
  void CreateCollisionActors4();
  void CreateCollisionActors5();
  void CreateCollisionActors6();
  void CreateCollisionActors7();
  void CreateCollisionActors8();
  void CreateCollisionActors9();

  // Level functions, layer builders and collision loaders of the screens built so far.
  Quillon::Level* BuildLevel0();
  void BuildLevel0Layer0();
  void BuildLevel0Layer1();
  void BuildLevel0Layer2();
  void LoadLevel0Layer0Collision();
  void LoadLevel0Layer1Collision();
  void LoadLevel0Layer2Collision();
  Quillon::Level* BuildLevel1();
  void BuildLevel1Layer0();
  void BuildLevel1Layer1();
  void BuildLevel1Layer2();
  void LoadLevel1Layer0Collision();
  void LoadLevel1Layer1Collision();
  void LoadLevel1Layer2Collision();
  Quillon::Level* BuildLevel2();
  void BuildLevel2Layer0();
  void BuildLevel2Layer1();
  void BuildLevel2Layer2();
  void LoadLevel2Layer0Collision();
  void LoadLevel2Layer1Collision();
  void LoadLevel2Layer2Collision();
  Quillon::Level* BuildLevel3();
  void BuildLevel3Layer0();
  void BuildLevel3Layer1();
  void BuildLevel3Layer2();
  void LoadLevel3Layer0Collision();
  void LoadLevel3Layer1Collision();
  void LoadLevel3Layer2Collision();
  Quillon::Level* BuildLevel4();
  void BuildLevel4Layer0();
  void BuildLevel4Layer1();
  void BuildLevel4Layer2();
  void LoadLevel4Layer0Collision();
  void LoadLevel4Layer1Collision();
  void LoadLevel4Layer2Collision();

  // The slots describe the last build until the next reset; they own nothing (the game owns the
  // level and the actors, the level its layers and viewport, a layer its objects and camera).
  Collision2D::CollisionActor* collisionActors[kCollisionActorCount] = {};
  Quillon::Camera* cameras[kLevelCount] = {};
  Quillon::Viewport* viewport = nullptr;
  Quillon::Layer* layers[kLayerSlotCount] = {};
  Quillon::Level* levels[kLevelCount] = {};

 private:
  // The recipe every level function follows; the level object is made by the caller.
  struct LayerLayout {
    const char* name;
    float zOrder;
    float originX;
    float originY;
    uint32_t width;
    uint32_t height;
  };
  void AssembleLevel(uint32_t number, Quillon::Level* level, const char* name, const LayerLayout* layouts,
                     uint32_t layerCount, float cameraX, float cameraY);
  // Reads "level<N>_layer<M>.txt" of the layer collision folder into layer slot M.
  void LoadLayerCollision(uint32_t level, uint32_t layer);
};
