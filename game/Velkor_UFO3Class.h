#pragma once
// The mothership.
#include <vector>

#include "game/Velkor_BossObject.h"

class UFO3Class : public BossObject {
 public:
  UFO3Class() = default;
  explicit UFO3Class(const std::vector<Quillon::SpriteAnimation*>& animations) : BossObject(animations) {}
  UFO3Class(const UFO3Class& other) = default;
  VELKOR_DECLARE_CLASS(UFO3Class);
};
