#pragma once
// Base of every spawned actor: it remembers the ground segment that spawned it, so that a segment
// removes exactly its own spawns when it moves on.
#include <cstdint>
#include <string>

#include "framework/Quillon_Sprite.h"
#include "math/Math_Vector2D.h"

class SpawnObject : public Quillon::Sprite {
 public:
  using Quillon::Sprite::Sprite;
  VELKOR_DECLARE_CLASS(SpawnObject);

  // Tags the object with its segment and gives it its spawn name, sets its collision z and moves
  // it there. Called before the object joins its layer: starting it keeps what is set here.
  void Spawn(int32_t ownerTag, const std::string& name, uint8_t zCollision, const Math::Vector2D& position);
  int32_t GetOwnerTag() const { return m_ownerTag; }
  const std::string& GetSpawnName() const { return m_spawnName; }
  // Only a spawned copy reacts; the archetype the level holds stays inert.
  bool IsSpawned() const { return !m_spawnName.empty() && GetName() == m_spawnName; }

 private:
  int32_t m_ownerTag = -1;
  std::string m_spawnName;
};
