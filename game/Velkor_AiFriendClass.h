#pragma once
// The AI friend that follows the player and fires blasts.
#include <vector>

#include "framework/Quillon_Sprite.h"

class AiFriendClass : public Quillon::Sprite {
 public:
  AiFriendClass() = default;
  explicit AiFriendClass(const std::vector<Quillon::SpriteAnimation*>& animations) : Quillon::Sprite(animations) {}
  AiFriendClass(const AiFriendClass& other) = default;
  VELKOR_DECLARE_CLASS(AiFriendClass);
};
