#pragma once
// A health pot.
#include <vector>

#include "game/Velkor_SpawnObject.h"

class HealthConsume : public SpawnObject {
 public:
  HealthConsume() = default;
  explicit HealthConsume(const std::vector<Quillon::SpriteAnimation*>& animations) : SpawnObject(animations) {}
  HealthConsume(const HealthConsume& other) = default;
  VELKOR_DECLARE_CLASS(HealthConsume);
};
