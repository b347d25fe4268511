#pragma once
// The HUD root: bars, icons and texts mounted on it.
#include <vector>

#include "framework/Quillon_Sprite.h"

class HUD_Manager : public Quillon::Sprite {
 public:
  HUD_Manager() = default;
  explicit HUD_Manager(const std::vector<Quillon::SpriteAnimation*>& animations) : Quillon::Sprite(animations) {}
  HUD_Manager(const HUD_Manager& other) = default;
  VELKOR_DECLARE_CLASS(HUD_Manager);
};
