#pragma once
// The sign shown before a UFO wave or a boss.
#include <vector>

#include "framework/Quillon_Sprite.h"

class WarningSign : public Quillon::Sprite {
 public:
  WarningSign() = default;
  explicit WarningSign(const std::vector<Quillon::SpriteAnimation*>& animations) : Quillon::Sprite(animations) {}
  WarningSign(const WarningSign& other) = default;
  VELKOR_DECLARE_CLASS(WarningSign);
};
