#pragma once
// The second UFO: single aimed shots of its own look, and five times the first one's health.
#include <vector>

#include "game/Velkor_BossObject.h"

class UFO2Class : public BossObject {
 public:
  UFO2Class() = default;
  explicit UFO2Class(const std::vector<Quillon::SpriteAnimation*>& animations) : BossObject(animations) {}
  UFO2Class(const UFO2Class& other) = default;
  VELKOR_DECLARE_CLASS(UFO2Class);
  void OnStart() override;
  void Update(float dt) override;
};
