#pragma once
// A health pot: it goes when the car touches it (the car does the healing).
#include "game/Velkor_SpawnObject.h"

class HealthConsume : public SpawnObject {
 public:
  using SpawnObject::SpawnObject;
  VELKOR_DECLARE_CLASS(HealthConsume);
  // Also while paused: the car's contacts of a paused frame still count.
  void Update(float dt) override;
};
