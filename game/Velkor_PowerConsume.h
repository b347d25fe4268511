#pragma once
// A power-up that a shot-down alien leaves behind: touched by the car, it hands its kind over.
#include <cstdint>

#include "game/Velkor_SpawnObject.h"

class PowerConsume : public SpawnObject {
 public:
  // The kinds, as the car keeps them.
  static constexpr int32_t kBarrier = 0;
  static constexpr int32_t kMultiBullet = 1;
  static constexpr int32_t kSpeedBoost = 2;

  using SpawnObject::SpawnObject;
  VELKOR_DECLARE_CLASS(PowerConsume);
  void Update(float dt) override;

  // Stores the kind and shows its picture.
  void SetType(int32_t type);
  int32_t GetType() const { return m_type; }

 private:
  int32_t m_type = 0;
};
