#pragma once
// A barrier pick-up; also the barrier picture around the player (never spawned, so inert).
#include "game/Velkor_SpawnObject.h"

class ShieldConsume : public SpawnObject {
 public:
  using SpawnObject::SpawnObject;
  VELKOR_DECLARE_CLASS(ShieldConsume);
  // A spawned copy goes when the car touches it.
  void Update(float dt) override;
};
