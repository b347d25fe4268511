#pragma once
// A boss's shot.
#include <vector>

#include "framework/Quillon_Sprite.h"

class BulletClass : public Quillon::Sprite {
 public:
  BulletClass() = default;
  explicit BulletClass(const std::vector<Quillon::SpriteAnimation*>& animations) : Quillon::Sprite(animations) {}
  BulletClass(const BulletClass& other) = default;
  VELKOR_DECLARE_CLASS(BulletClass);
};
