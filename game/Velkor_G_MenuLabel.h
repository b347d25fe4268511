#pragma once
// One item label of the garage shop.
#include <vector>

#include "framework/Quillon_Sprite.h"

class G_MenuLabel : public Quillon::Sprite {
 public:
  G_MenuLabel() = default;
  explicit G_MenuLabel(const std::vector<Quillon::SpriteAnimation*>& animations) : Quillon::Sprite(animations) {}
  G_MenuLabel(const G_MenuLabel& other) = default;
  VELKOR_DECLARE_CLASS(G_MenuLabel);
};
