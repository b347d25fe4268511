#pragma once
// The player's shot.
#include <vector>

#include "framework/Quillon_Sprite.h"

class CharBullet : public Quillon::Sprite {
 public:
  CharBullet() = default;
  explicit CharBullet(const std::vector<Quillon::SpriteAnimation*>& animations) : Quillon::Sprite(animations) {}
  CharBullet(const CharBullet& other) = default;
  VELKOR_DECLARE_CLASS(CharBullet);
};
