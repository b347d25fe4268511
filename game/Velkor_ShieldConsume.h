#pragma once
// A barrier pick-up; also the barrier picture around the player (never spawned, so inert).
#include <vector>

#include "game/Velkor_SpawnObject.h"

class ShieldConsume : public SpawnObject {
 public:
  ShieldConsume() = default;
  explicit ShieldConsume(const std::vector<Quillon::SpriteAnimation*>& animations) : SpawnObject(animations) {}
  ShieldConsume(const ShieldConsume& other) = default;
  VELKOR_DECLARE_CLASS(ShieldConsume);
  // A spawned copy goes when the car touches it.
  void Update(float dt) override;
};
