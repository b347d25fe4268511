#pragma once
// A laser beam.
#include <vector>

#include "framework/Quillon_Sprite.h"

class LaserClass : public Quillon::Sprite {
 public:
  LaserClass() = default;
  explicit LaserClass(const std::vector<Quillon::SpriteAnimation*>& animations) : Quillon::Sprite(animations) {}
  LaserClass(const LaserClass& other) = default;
  VELKOR_DECLARE_CLASS(LaserClass);
};
