#pragma once
// A power-up pick-up.
#include <vector>

#include "game/Velkor_SpawnObject.h"

class PowerConsume : public SpawnObject {
 public:
  PowerConsume() = default;
  explicit PowerConsume(const std::vector<Quillon::SpriteAnimation*>& animations) : SpawnObject(animations) {}
  PowerConsume(const PowerConsume& other) = default;
  VELKOR_DECLARE_CLASS(PowerConsume);
};
