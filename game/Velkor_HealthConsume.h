#pragma once
// A health pot: it goes when the car touches it (the car does the healing).
#include <vector>

#include "game/Velkor_SpawnObject.h"

class HealthConsume : public SpawnObject {
 public:
  HealthConsume() = default;
  explicit HealthConsume(const std::vector<Quillon::SpriteAnimation*>& animations) : SpawnObject(animations) {}
  HealthConsume(const HealthConsume& other) = default;
  VELKOR_DECLARE_CLASS(HealthConsume);
  // Also while paused: the car's contacts of a paused frame still count.
  void Update(float dt) override;
};
