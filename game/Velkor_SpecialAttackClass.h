#pragma once
// The player's rocket.
#include <vector>

#include "framework/Quillon_Sprite.h"

class SpecialAttackClass : public Quillon::Sprite {
 public:
  SpecialAttackClass() = default;
  explicit SpecialAttackClass(const std::vector<Quillon::SpriteAnimation*>& animations) : Quillon::Sprite(animations) {}
  SpecialAttackClass(const SpecialAttackClass& other) = default;
  VELKOR_DECLARE_CLASS(SpecialAttackClass);
};
