#pragma once
// The player's hovering, armed car.
#include <vector>

#include "framework/Quillon_Sprite.h"

class PlayerClass : public Quillon::Sprite {
 public:
  PlayerClass() = default;
  explicit PlayerClass(const std::vector<Quillon::SpriteAnimation*>& animations) : Quillon::Sprite(animations) {}
  PlayerClass(const PlayerClass& other) = default;
  VELKOR_DECLARE_CLASS(PlayerClass);
};
