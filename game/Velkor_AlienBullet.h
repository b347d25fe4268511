#pragma once
// An alien's shot.
#include <vector>

#include "framework/Quillon_Sprite.h"

class AlienBullet : public Quillon::Sprite {
 public:
  AlienBullet() = default;
  explicit AlienBullet(const std::vector<Quillon::SpriteAnimation*>& animations) : Quillon::Sprite(animations) {}
  AlienBullet(const AlienBullet& other) = default;
  VELKOR_DECLARE_CLASS(AlienBullet);
};
