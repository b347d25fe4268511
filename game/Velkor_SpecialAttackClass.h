#pragma once
// The car's rocket: launched on its second step toward the cursor, it bursts into a blast when its
// fuse has burnt.
#include <cstdint>

#include "framework/Quillon_Sprite.h"
#include "math/Math_Vector2D.h"

class SpecialAttackClass : public Quillon::Sprite {
 public:
  static constexpr int32_t kRocket = 0;

  using Quillon::Sprite::Sprite;
  VELKOR_DECLARE_CLASS(SpecialAttackClass);
  void OnStart() override;
  void Update(float dt) override;

  void SetUp(int32_t kind, float fuse);
  int32_t GetKind() const { return m_kind; }
  float GetTimer() const { return m_timer; }
  bool IsLaunchPending() const { return m_launchPending; }
  const Math::Vector2D& GetStoredVelocity() const { return m_velocity; }

 private:
  void Launch();
  void Burst();

  int32_t m_kind = 0;
  float m_timer = 0.0f;
  float m_fuse = 0.0f;
  bool m_launchPending = false;
  Math::Vector2D m_velocity;
};
