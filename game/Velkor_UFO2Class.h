#pragma once
// The second UFO: single aimed shots of its own look, and five times the first one's health.
#include "game/Velkor_BossObject.h"

class UFO2Class : public BossObject {
 public:
  using BossObject::BossObject;
  VELKOR_DECLARE_CLASS(UFO2Class);
  void OnStart() override;
  void Update(float dt) override;
};
