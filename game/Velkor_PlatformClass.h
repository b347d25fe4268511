#pragma once
// A floating platform of a ground segment.
#include <vector>

#include "framework/Quillon_Sprite.h"

class PlatformClass : public Quillon::Sprite {
 public:
  PlatformClass() = default;
  explicit PlatformClass(const std::vector<Quillon::SpriteAnimation*>& animations) : Quillon::Sprite(animations) {}
  PlatformClass(const PlatformClass& other) = default;
  VELKOR_DECLARE_CLASS(PlatformClass);
};
