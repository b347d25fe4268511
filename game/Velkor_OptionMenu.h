#pragma once
// The in-game options overlay.
#include <vector>

#include "framework/Quillon_Sprite.h"

class OptionMenu : public Quillon::Sprite {
 public:
  OptionMenu() = default;
  explicit OptionMenu(const std::vector<Quillon::SpriteAnimation*>& animations) : Quillon::Sprite(animations) {}
  OptionMenu(const OptionMenu& other) = default;
  VELKOR_DECLARE_CLASS(OptionMenu);
};
