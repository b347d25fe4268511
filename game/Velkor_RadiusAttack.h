#pragma once
// The blast of a rocket, fading over its life time.
#include <vector>

#include "framework/Quillon_Sprite.h"

class RadiusAttack : public Quillon::Sprite {
 public:
  RadiusAttack() = default;
  explicit RadiusAttack(const std::vector<Quillon::SpriteAnimation*>& animations) : Quillon::Sprite(animations) {}
  RadiusAttack(const RadiusAttack& other) = default;
  VELKOR_DECLARE_CLASS(RadiusAttack);
};
