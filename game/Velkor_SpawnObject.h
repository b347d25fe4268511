#pragma once
// Base of every spawned actor: it remembers the ground segment that spawned it.
#include <vector>

#include "framework/Quillon_Sprite.h"

class SpawnObject : public Quillon::Sprite {
 public:
  SpawnObject() = default;
  explicit SpawnObject(const std::vector<Quillon::SpriteAnimation*>& animations) : Quillon::Sprite(animations) {}
  SpawnObject(const SpawnObject& other) = default;
  VELKOR_DECLARE_CLASS(SpawnObject);
};
