#pragma once
// The first UFO: single aimed shots.
#include <vector>

#include "game/Velkor_BossObject.h"

class UFOClass : public BossObject {
 public:
  UFOClass() = default;
  explicit UFOClass(const std::vector<Quillon::SpriteAnimation*>& animations) : BossObject(animations) {}
  UFOClass(const UFOClass& other) = default;
  VELKOR_DECLARE_CLASS(UFOClass);
  void OnStart() override;
  void Update(float dt) override;
};
