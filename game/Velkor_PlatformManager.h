#pragma once
// A ground segment with its platforms and its spawner.
#include <vector>

#include "framework/Quillon_Sprite.h"

class PlatformManager : public Quillon::Sprite {
 public:
  PlatformManager() = default;
  explicit PlatformManager(const std::vector<Quillon::SpriteAnimation*>& animations) : Quillon::Sprite(animations) {}
  PlatformManager(const PlatformManager& other) = default;
  VELKOR_DECLARE_CLASS(PlatformManager);
};
