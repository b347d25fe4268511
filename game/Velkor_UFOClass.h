#pragma once
// The first UFO: single aimed shots.
#include "game/Velkor_BossObject.h"

class UFOClass : public BossObject {
 public:
  using BossObject::BossObject;
  VELKOR_DECLARE_CLASS(UFOClass);
  void OnStart() override;
  void Update(float dt) override;
};
