#pragma once
// Base of the three UFO bosses.
#include <vector>

#include "framework/Quillon_Sprite.h"

class BossObject : public Quillon::Sprite {
 public:
  BossObject() = default;
  explicit BossObject(const std::vector<Quillon::SpriteAnimation*>& animations) : Quillon::Sprite(animations) {}
  BossObject(const BossObject& other) = default;
  VELKOR_DECLARE_CLASS(BossObject);
};
