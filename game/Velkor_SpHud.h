#pragma once
// The special-attack panel of the HUD.
#include <vector>

#include "framework/Quillon_Sprite.h"

class SpHud : public Quillon::Sprite {
 public:
  SpHud() = default;
  explicit SpHud(const std::vector<Quillon::SpriteAnimation*>& animations) : Quillon::Sprite(animations) {}
  SpHud(const SpHud& other) = default;
  VELKOR_DECLARE_CLASS(SpHud);
};
